#!/usr/bin/env python3
"""Soak, fault and slow-client run against a running server (see soak.sh).

One continuous load of N clients (reads and uploads of a tenant), with, at
the same time:
  - slow clients: connections that send their request head a byte at a time,
    connections that send a head and then a body a byte at a time (both
    steadily, below the read timeout), and connections that stall halfway
    through their head;
  - after the soak phase, the database stopped and started again while the
    load goes on.

It checks, and prints as a report:
  - no 5xx (nor 4xx) but the over-limit answer outside the outage, no socket
    errors, no request left hanging;
  - resident memory growth below 5 % between the early sample and the end of
    the soak phase; the server's descriptors back to their idle value
    afterwards (client sockets gone, pooled database sockets apart);
  - during the outage only database errors; the first success within 2 s of
    the database answering again, with the same server process; every upload
    answered with success present in the database afterwards;
  - stalled connections cut off within the read timeout (plus a margin), and
    the other clients served all along.

Only 127.0.0.1; every loop is bounded in time. Standard library only.
"""
import argparse
import asyncio
import json
import os
import re
import statistics
import subprocess
import sys
import time

OVER_LIMIT = b"Maximum number of concurrent connections exceeded.  Please try again later"
DB_ERROR = re.compile(rb"Can&#39;t connect|Can't connect|Lost connection|has gone away|"
                      rb"Connection refused|shutdown|Connection was killed", re.I)
REQUEST_TIMEOUT_S = 10.0  # longer than any answer may take: a hang
FIRST_CODE = 500000  # upload codes of this run start here


class Stats:
    def __init__(self):
        self.start = time.monotonic()
        self.per_second = {}  # second -> [ok, over_limit, db_errors, unexpected, errors]
        self.latencies = []  # (t, seconds) of answered requests
        self.over_limit = 0
        self.unexpected = []  # (t, status, body head): 4xx/5xx outside the outage
        self.db_errors = 0
        self.socket_errors = []  # (t, what)
        self.hangs = 0
        self.acknowledged = set()
        self.first_success_after = {}  # mark -> t
        self.marks = {}

    def now(self):
        return time.monotonic() - self.start

    def bucket(self, t):
        return self.per_second.setdefault(int(t), [0, 0, 0, 0, 0])


def build_request(method, target, headers, body=b""):
    lines = [f"{method} {target} HTTP/1.1", "Host: 127.0.0.1"]
    lines += [f"{k}: {v}" for k, v in headers.items()]
    if body:
        lines.append(f"Content-Length: {len(body)}")
    return ("\r\n".join(lines) + "\r\n\r\n").encode() + body


async def send(port, raw):
    """One request on a fresh connection; (status, body) or an exception."""
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    try:
        writer.write(raw)
        await writer.drain()
        data = await reader.read()  # the server closes after each answer
    finally:
        writer.close()
    head, _, body = data.partition(b"\r\n\r\n")
    m = re.match(rb"HTTP/1\.[01] (\d{3})", head)
    if not m:
        raise ConnectionError(f"no status line in {data[:80]!r}")
    return int(m.group(1)), body


async def client(i, args, stats, headers, stop_at, in_outage, codes):
    reads = ["/v1/cidade?limit=50", "/v1/produto?limit=20", "/v1/cliente?limit=20",
             "/v1/banco/conta", "/v1/cartao"]
    n = 0
    while stats.now() < stop_at:
        n += 1
        write = n % 4 == 0  # one upload in four requests
        if write:
            code = next(codes)
            body = json.dumps({"codigo": code, "cidade": f"Soak {code}", "estado": "SP"}).encode()
            raw = build_request("POST", "/v1/cidade",
                                dict(headers, **{"Content-Type": "application/json"}), body)
        else:
            raw = build_request("GET", reads[(i + n) % len(reads)], headers)
        t0 = stats.now()
        try:
            status, body = await asyncio.wait_for(send(args.port, raw), REQUEST_TIMEOUT_S)
        except asyncio.TimeoutError:
            stats.hangs += 1
            stats.bucket(t0)[4] += 1
            continue
        except (OSError, ConnectionError, asyncio.IncompleteReadError) as e:
            stats.socket_errors.append((round(t0, 3), repr(e)))
            stats.bucket(t0)[4] += 1
            await asyncio.sleep(0.01)
            continue
        t1 = stats.now()
        b = stats.bucket(t1)
        if status == 500 and OVER_LIMIT in body:
            stats.over_limit += 1
            b[1] += 1
            await asyncio.sleep(0.002)  # the server protects itself; try again
            continue
        if status >= 400 and status != 422:  # 422: a read without rows
            if in_outage(t0, t1) and DB_ERROR.search(body):
                stats.db_errors += 1  # 500, or 400 for an upload the database refused
                b[2] += 1
            else:
                stats.unexpected.append((round(t0, 3), status, body[:200].decode("latin-1")))
                b[3] += 1
            continue
        b[0] += 1
        stats.latencies.append((t1, t1 - t0))
        if write and status in (200, 204):
            stats.acknowledged.add(code)
        for mark, t_mark in list(stats.marks.items()):
            if t0 >= t_mark and mark not in stats.first_success_after:
                stats.first_success_after[mark] = t1


async def slow_head(port, stats, stop_at, results, read_timeout):
    """A head sent a byte at a time, steadily; it must not stop others from
    being served. The server gives a request head read_timeout seconds in
    all (the slowloris defence), so the connection may be cut then, never
    sooner."""
    raw = build_request("GET", "/v1/cidade?limit=1", {"x-schema": "x", "X-Padding": "p" * 4000})
    try:
        reader, writer = await asyncio.open_connection("127.0.0.1", port)
    except OSError as e:
        results["errors"].append(repr(e))
        return
    sent = 0
    t0 = stats.now()
    try:
        while stats.now() < stop_at and sent < len(raw) - 4:
            writer.write(raw[sent:sent + 1])
            await writer.drain()
            sent += 1
            await asyncio.sleep(1.0)
        results["bytes"] += sent
        results["open_at_end"] += 1
    except (OSError, ConnectionError) as e:
        if stats.now() - t0 >= read_timeout - 1:
            results["cut_at_read_timeout"] += 1
        else:
            results["closed_early"] += 1
            results["errors"].append(f"{stats.now():.1f}s {e!r}")
    finally:
        writer.close()


async def slow_body(port, stats, stop_at, results):
    body_len = 100000
    head = build_request("POST", "/v1/cidade", {"Content-Type": "application/json",
                                                "Content-Length": str(body_len)})
    try:
        reader, writer = await asyncio.open_connection("127.0.0.1", port)
    except OSError as e:
        results["errors"].append(repr(e))
        return
    try:
        writer.write(head)
        await writer.drain()
        while stats.now() < stop_at:
            writer.write(b" ")
            await writer.drain()
            await asyncio.sleep(1.0)
        results["open_at_end"] += 1
    except (OSError, ConnectionError) as e:
        results["closed_early"] += 1
        results["errors"].append(f"{stats.now():.1f}s {e!r}")
    finally:
        writer.close()


async def stalled(port, stats, partial, results, limit_s):
    """Sends part of a request, then nothing: the server must cut it off."""
    try:
        reader, writer = await asyncio.open_connection("127.0.0.1", port)
    except OSError as e:
        results["errors"].append(repr(e))
        return
    t0 = stats.now()
    try:
        writer.write(partial)
        await writer.drain()
        data = await asyncio.wait_for(reader.read(), limit_s)
        results["cut_after"].append(stats.now() - t0)
        if data:
            results["answered"] += 1
    except asyncio.TimeoutError:
        results["still_open"] += 1
    except (OSError, ConnectionError):
        results["cut_after"].append(stats.now() - t0)
    finally:
        writer.close()


def listen_overflows():
    """The kernel's count of connections dropped because an accept queue was
    full (machine-wide)."""
    with open("/proc/net/netstat") as f:
        lines = f.read().splitlines()
    for names, values in zip(lines[::2], lines[1::2]):
        if names.startswith("TcpExt:"):
            table = dict(zip(names.split()[1:], values.split()[1:]))
            return int(table.get("ListenOverflows", 0))
    return 0


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def socket_ports():
    """inode -> (local port, remote port) of every TCP socket."""
    table = {}
    for name in ("/proc/net/tcp", "/proc/net/tcp6"):
        try:
            with open(name) as f:
                next(f)
                for line in f:
                    parts = line.split()
                    local = int(parts[1].rsplit(":", 1)[1], 16)
                    remote = int(parts[2].rsplit(":", 1)[1], 16)
                    table[parts[9]] = (local, remote)
        except FileNotFoundError:
            pass
    return table


def descriptors(pid, server_port, db_port):
    """Counts of the server's descriptors by kind."""
    ports = socket_ports()
    counts = {"total": 0, "clients": 0, "database": 0, "listen": 0, "other": 0}
    for fd in os.listdir(f"/proc/{pid}/fd"):
        counts["total"] += 1
        try:
            target = os.readlink(f"/proc/{pid}/fd/{fd}")
        except OSError:
            continue
        m = re.match(r"socket:\[(\d+)\]", target)
        if not m or m.group(1) not in ports:
            counts["other"] += 1
            continue
        local, remote = ports[m.group(1)]
        if remote == db_port:
            counts["database"] += 1
        elif local == server_port and remote == 0:
            counts["listen"] += 1
        elif local == server_port:
            counts["clients"] += 1
        else:
            counts["other"] += 1
    return counts


def db_env(args):
    env = dict(os.environ)
    env.update({"QUORVANE_TEST_DB_DIR": args.db_dir, "QUORVANE_TEST_DB_PORT": str(args.db_port),
                "QUORVANE_TEST_DB_SOCKET": args.db_socket})
    return env


def db_query(args, sql):
    out = subprocess.run(["mariadb", "--protocol=TCP", "-h127.0.0.1", f"-P{args.db_port}",
                          "-uroot", "-pvortexpin", "-N", "-B", "-e", sql],
                         capture_output=True, text=True, check=True)
    return out.stdout.split()


def alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except OSError:
        return False


async def run(args):
    stats = Stats()
    headers = {"x-schema": args.schema, "x-filial": "1", "x-user": args.user,
               "x-pass": args.password, "Authorization": f"Bearer {args.token}"}
    soak_end = args.soak
    outage_start = soak_end + args.outage_after
    total = outage_start + args.outage + args.after_outage
    outage = {"stop_sent": None, "stopped": None, "start_sent": None, "answering": None}

    def in_outage(t0, t1):
        if outage["stop_sent"] is None or t1 < outage["stop_sent"]:
            return False
        end = outage["answering"]
        return end is None or t0 <= end + 0.5

    codes = iter(range(FIRST_CODE, FIRST_CODE + 10_000_000))
    overflows_before = listen_overflows()
    idle = descriptors(args.pid, args.port, args.db_port)
    samples = []  # (t, rss kB, descriptors)

    slow = {"bytes": 0, "open_at_end": 0, "cut_at_read_timeout": 0, "closed_early": 0,
            "errors": []}
    bodies = {"open_at_end": 0, "closed_early": 0, "errors": []}
    stall = {"cut_after": [], "answered": 0, "still_open": 0, "errors": []}
    stall_limit = args.read_timeout + 3
    partials = [b"", b"GET /v1/cidade HTTP/1.1\r\nHost:",
                b"POST /v1/cidade HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc"]
    # The slow and stalled connections go first, so that the server has
    # accepted them before the load starts: under load the listen queue
    # (15) overflows and the kernel itself delays new connections, which
    # would blur when the server's read timeout starts.
    # They connect 10 ms apart for the same reason.
    async def staggered(i, coroutine):
        await asyncio.sleep(i * 0.01)
        await coroutine

    slow_ones = [slow_head(args.port, stats, total, slow, args.read_timeout)
                 for _ in range(args.slow)]
    slow_ones += [slow_body(args.port, stats, total, bodies) for _ in range(args.slow // 4)]
    slow_ones += [stalled(args.port, stats, partials[i % 3], stall, stall_limit)
                  for i in range(args.stalled)]
    tasks = [asyncio.create_task(staggered(i, c)) for i, c in enumerate(slow_ones)]
    await asyncio.sleep(len(slow_ones) * 0.01 + 0.5)
    tasks += [asyncio.create_task(client(i, args, stats, headers, total, in_outage, codes))
              for i in range(args.clients)]

    async def monitor():
        while stats.now() < total:
            samples.append((stats.now(), rss_kb(args.pid),
                            descriptors(args.pid, args.port, args.db_port)))
            await asyncio.sleep(1.0)

    async def fault():
        await asyncio.sleep(max(0.0, outage_start - stats.now()))
        loop = asyncio.get_running_loop()
        outage["stop_sent"] = stats.now()
        await loop.run_in_executor(None, lambda: subprocess.run(
            [args.test_db, "stop"], env=db_env(args), capture_output=True, check=True))
        outage["stopped"] = stats.now()
        await asyncio.sleep(max(0.0, outage_start + args.outage - stats.now()))
        outage["start_sent"] = stats.now()
        await loop.run_in_executor(None, lambda: subprocess.run(
            [args.test_db, "start"], env=db_env(args), capture_output=True, check=True))
        # test-db.sh start returns once a login over TCP works.
        outage["answering"] = stats.now()
        stats.marks["db_answering"] = outage["answering"]

    tasks += [asyncio.create_task(monitor()), asyncio.create_task(fault())]
    await asyncio.gather(*tasks)

    # Idle again: client sockets must all be gone.
    after = descriptors(args.pid, args.port, args.db_port)
    deadline = time.monotonic() + 10
    while (after["clients"] or after["other"] != idle["other"]) and time.monotonic() < deadline:
        await asyncio.sleep(0.2)
        after = descriptors(args.pid, args.port, args.db_port)

    overflows = listen_overflows() - overflows_before
    rows = set(int(c) for c in db_query(
        args, f"SELECT codigo FROM `{args.schema}`.cidades WHERE codigo >= {FIRST_CODE}"))
    lost = sorted(stats.acknowledged - rows)
    db_query(args, f"DELETE FROM `{args.schema}`.cidades WHERE codigo >= {FIRST_CODE}")

    def rss_at(t):
        return min(samples, key=lambda s: abs(s[0] - t))[1]

    early_t = min(10.0, soak_end / 2)
    rss_early, rss_end = rss_at(early_t), rss_at(soak_end)
    growth = (rss_end - rss_early) / rss_early * 100 if rss_early else 0.0
    soak_lat = sorted(d for t, d in stats.latencies if t <= soak_end)
    p = (lambda q: soak_lat[min(len(soak_lat) - 1, int(q * len(soak_lat)))] * 1000
         if soak_lat else float("nan"))
    first_ok = stats.first_success_after.get("db_answering")
    recovery = (first_ok - outage["answering"]) if first_ok and outage["answering"] else None
    per_sec = [stats.per_second.get(s, [0] * 5) for s in range(int(total))]
    soak_seconds = per_sec[1:int(soak_end)]

    report = {
        "clients": args.clients, "soak_s": soak_end, "total_s": round(total, 1),
        "requests_ok": len(stats.latencies), "over_limit_500": stats.over_limit,
        "unexpected_4xx_5xx": len(stats.unexpected), "db_errors_in_outage": stats.db_errors,
        "socket_errors": len(stats.socket_errors), "hangs": stats.hangs,
        "listen_queue_overflows": overflows,
        "soak_req_per_s": {"min": min(s[0] for s in soak_seconds) if soak_seconds else 0,
                           "mean": round(statistics.mean(s[0] for s in soak_seconds), 1)
                           if soak_seconds else 0,
                           "max": max(s[0] for s in soak_seconds) if soak_seconds else 0},
        "req_per_s_by_second": [s[0] for s in per_sec],
        "latency_ms": {"p50": round(p(0.50), 2), "p99": round(p(0.99), 2),
                       "max": round(p(1.0), 2)},
        "rss_kb": {"at_%gs" % early_t: rss_early, "at_%gs" % soak_end: rss_end,
                   "growth_pct": round(growth, 2)},
        "descriptors": {"idle_before": idle, "peak_total": max(s[2]["total"] for s in samples),
                        "after": after},
        "outage": {k: (round(v, 3) if v is not None else None) for k, v in outage.items()},
        "first_success_after_db_answering_s": round(recovery, 3) if recovery is not None else None,
        "server_alive": alive(args.pid),
        "writes_acknowledged": len(stats.acknowledged), "writes_lost": len(lost),
        "slow_head": dict(slow, errors=slow["errors"][:3]),
        "slow_body": dict(bodies, errors=bodies["errors"][:3]),
        "stalled": {"count": args.stalled, "cut_after_max_s":
                    round(max(stall["cut_after"]), 2) if stall["cut_after"] else None,
                    "still_open": stall["still_open"], "answered": stall["answered"]},
    }
    failures = []
    if stats.unexpected:
        failures.append(f"errors outside the outage: {stats.unexpected[:3]}")
    if stats.socket_errors:
        failures.append(f"socket errors: {stats.socket_errors[:3]}")
    if stats.hangs:
        failures.append(f"{stats.hangs} request(s) hung for {REQUEST_TIMEOUT_S}s")
    if growth >= args.max_rss_growth:
        failures.append(f"RSS grew {growth:.1f}% between {early_t}s and {soak_end}s")
    if after["clients"] or after["other"] != idle["other"] or after["listen"] != idle["listen"]:
        failures.append(f"descriptors not back to idle: before {idle}, after {after}")
    if not report["server_alive"]:
        failures.append("the server process died")
    if recovery is None or recovery > 2.0:
        failures.append(f"no success within 2 s of the database answering ({recovery})")
    if lost:
        failures.append(f"{len(lost)} acknowledged write(s) missing, e.g. {lost[:5]}")
    if stall["still_open"] or (stall["cut_after"] and max(stall["cut_after"]) > stall_limit):
        failures.append(f"stalled connections not cut off within {stall_limit}s: {stall}")
    if slow["closed_early"] or bodies["closed_early"]:
        failures.append(f"steady slow clients were cut off early: {slow} {bodies}")
    if any(s[0] == 0 for s in soak_seconds):
        failures.append("a second of the soak phase without any answered request")
    report["failures"] = failures
    return report


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--port", type=int, required=True)
    ap.add_argument("--pid", type=int, required=True)
    ap.add_argument("--token", required=True)
    ap.add_argument("--schema", required=True)
    ap.add_argument("--user", default="demo")
    ap.add_argument("--password", default="demo")
    ap.add_argument("--clients", type=int, default=64)
    ap.add_argument("--soak", type=float, default=60, help="seconds of load before the outage")
    ap.add_argument("--outage-after", type=float, default=3)
    ap.add_argument("--outage", type=float, default=5, help="seconds the database is down")
    ap.add_argument("--after-outage", type=float, default=5)
    ap.add_argument("--slow", type=int, default=40, help="steady slow-head connections")
    ap.add_argument("--stalled", type=int, default=40)
    ap.add_argument("--read-timeout", type=float, default=30)
    ap.add_argument("--test-db", required=True)
    ap.add_argument("--db-port", type=int, required=True)
    ap.add_argument("--db-dir", required=True)
    ap.add_argument("--db-socket", required=True)
    ap.add_argument("--max-rss-growth", type=float, default=5.0,
                    help="percent of RSS growth allowed over the soak phase")
    ap.add_argument("--report", help="also write the report as JSON to this file")
    args = ap.parse_args()
    report = asyncio.run(run(args))
    text = json.dumps(report, indent=1)
    if args.report:
        with open(args.report, "w") as f:
            f.write(text + "\n")
    print(text)
    if report["failures"]:
        print("SOAK FAILED:\n  " + "\n  ".join(report["failures"]), file=sys.stderr)
        return 1
    print("soak: all criteria met")
    return 0


if __name__ == "__main__":
    sys.exit(main())

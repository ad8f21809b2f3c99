#!/usr/bin/env bash
# Soak, fault and slow-client run of the real server binary (soak.py says
# what is checked). The server talks to a MariaDB of its own, made for this
# run (a fresh data folder and a free port), so that stopping and starting
# the database mid-run disturbs no one else, not even another run of this
# script; both are stopped and the folder removed at the end.
#
#   tests/reliability/soak.sh            # short form (about 35 s), as scripts/test.sh runs it
#   tests/reliability/soak.sh --long     # 64 clients for 60 s, then the outage
#   tests/reliability/soak.sh --build build-asan --report /tmp/soak.json -- --max-rss-growth 50
#
# Arguments after "--" go to soak.py (a sanitizer build's allocator keeps
# freed memory in quarantine, so its RSS grows by design).
#
# Needs a build with app/quorvane and tools/quorvane-token (default: build/).
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build
form=short
report=""
while (($#)); do
  case "$1" in
    --long) form=long; shift ;;
    --short) form=short; shift ;;
    --build) build="$2"; shift 2 ;;
    --report) report="$2"; shift 2 ;;
    --) shift; break ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done

server_bin="$build/app/quorvane"
token_bin="$build/tools/quorvane-token"
for bin in "$server_bin" "$token_bin"; do
  [ -x "$bin" ] || { echo "soak: $bin not built" >&2; exit 2; }
done

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

readonly SCHEMA=qv_soak
db_dir=$(mktemp -d /tmp/quorvane-soak-db.XXXXXX)
export QUORVANE_TEST_DB_DIR="$db_dir"
QUORVANE_TEST_DB_PORT=$(free_port)
export QUORVANE_TEST_DB_PORT
export QUORVANE_TEST_DB_SOCKET="$db_dir/mariadbd.sock"

server_pid=""
log="$db_dir/server.log"
cleanup() {
  if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
    kill -TERM "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  scripts/test-db.sh stop >/dev/null 2>&1 || true
  rm -rf "$db_dir"
}
trap cleanup EXIT

scripts/test-db.sh start
QUORVANE_DB_HOST=127.0.0.1 QUORVANE_DB_PORT="$QUORVANE_TEST_DB_PORT" \
  scripts/load-db.sh "$SCHEMA" --demo

port=$(free_port)
QUORVANE_PORT="$port" QUORVANE_DB_HOST=127.0.0.1 QUORVANE_DB_PORT="$QUORVANE_TEST_DB_PORT" \
  "$server_bin" </dev/null >"$log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  curl -s -o /dev/null "http://127.0.0.1:$port/status" && break
  sleep 0.1
done
curl -s -o /dev/null "http://127.0.0.1:$port/status" || { echo "soak: server did not start"; cat "$log"; exit 1; }
token=$("$token_bin" --sub soak --exp 3600)

if [ "$form" = long ]; then
  timing=(--soak 60 --outage-after 3 --outage 5 --after-outage 5 --slow 40 --stalled 40)
else
  timing=(--soak 15 --outage-after 2 --outage 3 --after-outage 4 --slow 24 --stalled 24)
fi
echo "=== soak ($form) against $server_bin (pid $server_pid, port $port)"
status=0
python3 tests/reliability/soak.py --port "$port" --pid "$server_pid" --token "$token" \
  --schema "$SCHEMA" --clients 64 "${timing[@]}" --test-db scripts/test-db.sh \
  --db-port "$QUORVANE_TEST_DB_PORT" --db-dir "$QUORVANE_TEST_DB_DIR" \
  --db-socket "$QUORVANE_TEST_DB_SOCKET" ${report:+--report "$report"} "$@" || status=$?

# A clean stop: SIGTERM ends the server with status 0.
kill -TERM "$server_pid"
server_rc=0
wait "$server_pid" || server_rc=$?
server_pid=""
if ((server_rc != 0)); then
  echo "soak: the server ended with status $server_rc" >&2
  tail -n 20 "$log" >&2
  status=1
fi
exit "$status"

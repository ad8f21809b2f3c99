#!/usr/bin/env bash
# Load test of the HTTP provider alone: starts router_bench_server (one
# trivial route) and runs wrk against GET /ping at 32 and 64 connections.
# Reports requests/s, p99 latency and the non-2xx answers (refusals with 500
# once more than 32 requests are in flight).
#
#   bench/wrk_trivial.sh [path/to/router_bench_server] [seconds]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
server="${1:-$here/../build-core-rel/bench/router_bench_server}"
seconds="${2:-10}"
threads=2

if [[ ! -x "$server" ]]; then
  echo "build it first: cmake -S . -B build-core-rel -G Ninja -DCMAKE_BUILD_TYPE=Release" \
       "&& ninja -C build-core-rel router_bench_server" >&2
  exit 1
fi

out="$(mktemp)"
"$server" > "$out" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -f "$out"' EXIT
for _ in $(seq 50); do
  [[ -s "$out" ]] && break
  sleep 0.1
done
port="$(head -n1 "$out")"
url="http://127.0.0.1:$port/ping"

run() {
  local connections="$1"
  local report
  report="$(wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency "$url")"
  local rps p99 non2xx errors
  rps="$(awk '/^Requests\/sec/ {print $2}' <<<"$report")"
  p99="$(awk '$1 == "99%" {print $2}' <<<"$report")"
  non2xx="$(awk '/Non-2xx or 3xx responses/ {print $5}' <<<"$report")"
  errors="$(grep -E '^ +Socket errors' <<<"$report" | sed 's/^ *//' || true)"
  printf 'c=%-3s req/s=%-10s p99=%-9s non-2xx=%s %s\n' \
         "$connections" "$rps" "$p99" "${non2xx:-0}" "${errors}"
}

echo "wrk ${seconds}s, $threads threads, $url"
run 32
run 64

#!/usr/bin/env bash
# End-to-end load through the server's whole chain (tracker, compression,
# JSON, CORS, validation with its tenant and login checks, JWT, ETag, the
# controller and the data service on MariaDB): wrk at 32 connections against
# the real server binary, for a page of 30 cities and for one answer of 500
# cities, once with database connection pooling on and once with it off
# (QUORVANE_DB_POOL=0: every statement connects and disconnects).
#
# Prints successful (2xx) answers per second, p50 and p99 latency (of all
# answers), the non-2xx answers and the server's peak RSS (VmHWM) per run;
# the server is restarted for every run so each peak is its own. Non-2xx
# answers at 32 connections are the provider's 500 for a 33rd request in
# flight: a client reconnects before the server has counted its previous
# connection out.
#
#   bench/e2e_load.sh [seconds]
#
# Builds quorvane and quorvane-token in Release into $BUILD_DIR
# (build-e2e-bench), uses the test MariaDB (scripts/test-db.sh start) and the
# tenant qv_bench (created with 500 cities), and serves on $QV_BENCH_PORT
# (9101).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-10}"
build="${BUILD_DIR:-build-e2e-bench}"
port="${QV_BENCH_PORT:-9101}"
tenant=qv_bench
connections=32
threads=2
# Long enough for the pool to fill and the caches to warm.
warmup_seconds=2

scripts/test-db.sh start >/dev/null
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF \
  -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 --target quorvane quorvane_token >/dev/null

scripts/load-db.sh "$tenant" >/dev/null
export MYSQL_PWD="${QUORVANE_DB_PASSWORD:-vortexpin}"
mariadb -h127.0.0.1 -uroot "$tenant" -e "
  DELETE FROM cidades;
  INSERT INTO cidades (codigo, cidade, estado, codibge, codpais, nomepais)
    SELECT seq, CONCAT('Cidade ', seq), 'PR', 4100000 + seq, 1058, 'Brasil' FROM seq_1_to_500;
  DELETE FROM login WHERE login = 'bench';
  INSERT INTO login (login, senha, ativo) VALUES ('bench', 'bench', 1);"

token="$("$build/tools/quorvane-token" --sub bench --exp 3600)"
headers=(-H "x-schema: $tenant" -H "x-filial: 1" -H "x-user: bench" -H "x-pass: bench"
         -H "Authorization: Bearer $token")

pid=""
log="$(mktemp)"
stop_server() {
  if [[ -n "$pid" ]]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
  fi
}
trap 'stop_server; rm -f "$log"' EXIT

start_server() {
  local pool="$1"
  QUORVANE_PORT="$port" QUORVANE_DB_POOL="$pool" "$build/app/quorvane" </dev/null >"$log" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    curl -s -o /dev/null "http://127.0.0.1:$port/status" && return 0
    sleep 0.1
  done
  echo "server did not start:" >&2
  cat "$log" >&2
  exit 1
}

run() {
  local pool="$1" target="$2"
  local url="http://127.0.0.1:$port$target"
  start_server "$pool"
  local status bytes
  read -r status bytes < <(curl -s -o /dev/null -w '%{http_code} %{size_download}\n' \
                                "${headers[@]}" "$url")
  if [[ "$status" != 200 ]]; then
    echo "GET $target answered $status; check the tenant $tenant" >&2
    exit 1
  fi
  wrk -t"$threads" -c"$connections" -d"${warmup_seconds}s" "${headers[@]}" "$url" >/dev/null
  local report total duration rps p50 p99 non2xx errors rss
  report="$(wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency "${headers[@]}" "$url")"
  total="$(awk '/ requests in / {print $1}' <<<"$report")"
  duration="$(awk '/ requests in / {sub(/s,$/, "", $4); print $4}' <<<"$report")"
  p50="$(awk '$1 == "50%" {print $2}' <<<"$report")"
  p99="$(awk '$1 == "99%" {print $2}' <<<"$report")"
  non2xx="$(awk '/Non-2xx or 3xx responses/ {print $5}' <<<"$report")"
  rps="$(awk -v t="$total" -v n="${non2xx:-0}" -v d="$duration" 'BEGIN {printf "%.0f", (t - n) / d}')"
  errors="$(grep -E '^ +Socket errors' <<<"$report" | sed 's/^ *//' || true)"
  rss="$(awk '/^VmHWM/ {printf "%.1f MiB", $2 / 1024}' "/proc/$pid/status")"
  stop_server
  printf '%-8s %-26s %7s B  %10s  %9s  %9s  %7s  %10s  %s\n' "$([[ $pool == 1 ]] && echo on || echo off)" \
    "$target" "$bytes" "$rps" "$p50" "$p99" "${non2xx:-0}" "$rss" "$errors"
}

echo "wrk ${seconds}s, $threads threads, $connections connections, full chain, $(nproc) cores"
printf '%-8s %-26s %9s  %10s  %9s  %9s  %7s  %10s\n' pool target answer 2xx/s p50 p99 non-2xx "peak RSS"
for pool in 1 0; do
  run "$pool" "/v1/cidade?limit=30"
  run "$pool" "/v1/cidade?limit=500"
done

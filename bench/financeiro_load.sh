#!/usr/bin/env bash
# End-to-end load on the customer credit situation,
# GET /v1/cliente/financeiro/:ID, through the server's whole chain, for a
# customer with 50 open titles (half of them partly paid), 10 open collection
# bills and 10 open cheques, among 200 customers with 20 titles each, and on
# the defaulters list. wrk at 32 connections against the real server binary.
#
# Prints requests/s, p50 and p99 latency and non-2xx answers, then what one
# request costs the database: statements (SELECTs) and connections, counted
# per request over a fixed batch. The server runs under an account of its own
# (qv_bench_fin) whose counters MariaDB keeps per user (userstat, switched on
# for the count and back to its former value afterwards), so other clients of
# the same MariaDB do not blur the figures. The batch runs twice: with the
# connection pool (connections per request should be 0 once warm) and without
# (QUORVANE_DB_POOL=0: every lease is a connect, so connections per request =
# leases per request).
#
#   bench/financeiro_load.sh [seconds]
#
# Builds quorvane and quorvane-token in Release into $BUILD_DIR
# (build-financeiro-bench), uses the test MariaDB (scripts/test-db.sh start),
# the tenant qv_bench_fin, and serves on $QV_BENCH_PORT (9102).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-10}"
build="${BUILD_DIR:-build-financeiro-bench}"
port="${QV_BENCH_PORT:-9102}"
tenant=qv_bench_fin
account=qv_bench_fin
account_password=qv-bench-fin
connections=32
threads=2
warmup_seconds=2
batch=400  # requests per counted batch

scripts/test-db.sh start >/dev/null
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF \
  -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 --target quorvane quorvane_token >/dev/null

scripts/load-db.sh "$tenant" >/dev/null
export MYSQL_PWD="${QUORVANE_DB_PASSWORD:-vortexpin}"
sql() { mariadb -h127.0.0.1 -uroot "$@"; }

# Customer 1 is the one asked for. Branch 1 and 2 share their receivables;
# branch 3 shares neither, so its rows are read and left out.
sql "$tenant" -e "
  DELETE FROM filiais; DELETE FROM clientes; DELETE FROM crduplicatas;
  DELETE FROM crduplicatasbaixado; DELETE FROM bloquetoscobranca; DELETE FROM crcheques;
  DELETE FROM negativados;
  INSERT INTO filiais (codigo, nome, consultarduplicatas, consultarcheques) VALUES
    (1, 'Matriz', 'S', 'S'), (2, 'Centro', 'S', 'S'), (3, 'Norte', 'N', 'N');
  INSERT INTO clientes (codigo, nome, cnpj_cpf, limite, vendaduplicata, vendacheque)
    SELECT seq, CONCAT('Cliente ', seq), LPAD(seq, 11, '0'), 5000, 'S', 'S' FROM seq_1_to_200;
  -- 20 titles for every customer but 1; customer 1 gets 50 open ones.
  INSERT INTO crduplicatas (codigo, codfilial, codcliente, tipo, nrtitulo, dtemissao,
                            dtvencimento, valor)
    SELECT seq, 1 + seq % 3, 2 + seq % 199, 'D', CONCAT('NF-', seq), '2026-01-01',
           '2026-01-01' + INTERVAL seq % 180 DAY, 100 + seq % 50
    FROM seq_1_to_3980;
  INSERT INTO crduplicatas (codigo, codfilial, codcliente, tipo, nrtitulo, dtemissao,
                            dtvencimento, valor)
    SELECT 10000 + seq, 1 + seq % 2, 1, IF(seq % 10 = 0, 'C', 'D'), CONCAT('NF-1-', seq),
           '2026-01-01', '2026-02-01' + INTERVAL seq DAY, 80 + seq
    FROM seq_1_to_50;
  -- Half of customer 1's titles are partly paid, with discount and interest.
  INSERT INTO crduplicatasbaixado (codcrduplicata, valor, desconto, juros, dtbaixa)
    SELECT 10000 + seq, 20, 1.5, 0.75, '2026-02-15' FROM seq_1_to_50 WHERE seq % 2 = 0;
  INSERT INTO crduplicatasbaixado (codcrduplicata, valor, desconto, juros, dtbaixa)
    SELECT seq, 10, 0, 0, '2026-02-15' FROM seq_1_to_3980 WHERE seq % 4 = 0;
  INSERT INTO bloquetoscobranca (codcliente, codfilial, status, documento, nossonumero, valor,
                                 taxaboleto, dtvencimento, dtemissao)
    SELECT IF(seq <= 10, 1, 2 + seq % 199), 1, IF(seq <= 10, 1 + seq % 2, 1 + seq % 3),
           CONCAT('B-', seq), LPAD(seq, 10, '0'), 250, 3.5, '2026-03-01' + INTERVAL seq DAY,
           '2026-02-01'
    FROM seq_1_to_600;
  INSERT INTO crcheques (codcliente, codfilial, baixado, numero, conta, banco, emitente,
                         dtemissao, dtvencimento, valor)
    SELECT IF(seq <= 10, 1, 2 + seq % 199), 1 + seq % 2, 'N', LPAD(seq, 6, '0'), '4455', '001',
           'Emitente', '2026-02-01', '2026-04-01' + INTERVAL seq DAY, 120
    FROM seq_1_to_600;
  INSERT INTO negativados (cnpj, motivo) SELECT LPAD(seq, 11, '0'), 'Cheque devolvido'
    FROM seq_1_to_50;
  DELETE FROM login WHERE login = 'bench';
  INSERT INTO login (login, senha, ativo) VALUES ('bench', 'bench', 1);"

# The server's own account, so that its statements can be counted apart.
sql -e "
  CREATE USER IF NOT EXISTS '$account'@'127.0.0.1' IDENTIFIED BY '$account_password';
  CREATE USER IF NOT EXISTS '$account'@'localhost' IDENTIFIED BY '$account_password';
  GRANT SELECT, INSERT, UPDATE, DELETE ON \`$tenant\`.* TO '$account'@'127.0.0.1', '$account'@'localhost';
  GRANT SELECT, INSERT, UPDATE ON \`_stru\`.* TO '$account'@'127.0.0.1', '$account'@'localhost';"

token="$("$build/tools/quorvane-token" --sub bench --exp 3600)"
headers=(-H "x-schema: $tenant" -H "x-filial: 1" -H "x-user: bench" -H "x-pass: bench"
         -H "Authorization: Bearer $token")
target=/v1/cliente/financeiro/1
url="http://127.0.0.1:$port$target"

pid=""
log="$(mktemp)"
# wrk script: the answers by status, with the first body of each other status.
statuses=bench/wrk_statuses.lua
userstat_before="$(sql -N -e "SELECT @@global.userstat")"
stop_server() {
  if [[ -n "$pid" ]]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
  fi
}
cleanup() {
  stop_server
  rm -f "$log"
  sql -e "SET GLOBAL userstat = $userstat_before" || true
}
trap cleanup EXIT

start_server() {
  local pool="$1"
  # Another server on the port would answer in this one's place.
  if curl -s -o /dev/null "http://127.0.0.1:$port/status"; then
    echo "port $port is already served; set QV_BENCH_PORT to a free one" >&2
    exit 1
  fi
  QUORVANE_PORT="$port" QUORVANE_DB_POOL="$pool" QUORVANE_DB_USER="$account" \
    QUORVANE_DB_PASSWORD="$account_password" "$build/app/quorvane" </dev/null >"$log" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    curl -s -o /dev/null "http://127.0.0.1:$port/status" && return 0
    sleep 0.1
  done
  echo "server did not start:" >&2
  cat "$log" >&2
  exit 1
}

check_answer() {
  local status bytes
  read -r status bytes < <(curl -s -o /dev/null -w '%{http_code} %{size_download}\n' \
                                "${headers[@]}" "$url")
  if [[ "$status" != 200 ]]; then
    echo "GET $target answered $status; check the tenant $tenant" >&2
    exit 1
  fi
  echo "$bytes"
}

# SELECT_COMMANDS, OTHER_COMMANDS and TOTAL_CONNECTIONS of the server's account.
counters() {
  sql -N -e "SELECT COALESCE(SUM(SELECT_COMMANDS), 0), COALESCE(SUM(OTHER_COMMANDS), 0),
                    COALESCE(SUM(TOTAL_CONNECTIONS), 0)
             FROM information_schema.USER_STATISTICS WHERE USER = '$account'"
}

# $batch requests, 8 at a time; prints statements and connections per request.
count_batch() {
  local pool="$1"
  start_server "$pool"
  check_answer >/dev/null
  local s0 o0 c0 s1 o1 c1
  read -r s0 o0 c0 < <(counters)
  seq "$batch" | xargs -P 8 -I{} curl -s -o /dev/null "${headers[@]}" "$url"
  read -r s1 o1 c1 < <(counters)
  stop_server
  awk -v n="$batch" -v s=$((s1 - s0)) -v o=$((o1 - o0)) -v c=$((c1 - c0)) -v p="$pool" \
    'BEGIN { printf "pool %-3s  SELECTs/request %5.2f  other commands/request %5.2f  connections/request %5.2f\n",
             (p == 1 ? "on" : "off"), s / n, o / n, c / n }'
}

start_server 1
bytes="$(check_answer)"
wrk -t"$threads" -c"$connections" -d"${warmup_seconds}s" "${headers[@]}" "$url" >/dev/null
# wrk ends the warm-up by dropping its connections with requests in flight;
# the server finishes those first, and until it has, new requests beyond its
# 32 would be refused.
sleep 1
report="$(wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency -s "$statuses" "${headers[@]}" "$url")"
stop_server
rps="$(awk '/^Requests\/sec/ {print $2}' <<<"$report")"
p50="$(awk '$1 == "50%" {print $2}' <<<"$report")"
p99="$(awk '$1 == "99%" {print $2}' <<<"$report")"
non2xx="$(awk '/Non-2xx or 3xx responses/ {print $5}' <<<"$report")"
errors="$(grep -E '^ +Socket errors' <<<"$report" | sed 's/^ *//' || true)"

echo "GET $target: 50 titles, 10 bills, 10 cheques; answer $bytes bytes (uncompressed)"
echo "wrk ${seconds}s, $threads threads, $connections connections, full chain, $(nproc) cores"
printf 'req/s %s  p50 %s  p99 %s  non-2xx %s %s\n' "$rps" "$p50" "$p99" "${non2xx:-0}" "$errors"
grep '^status ' <<<"$report" || true

sql -e "SET GLOBAL userstat = 1"
echo "database work per request, over $batch requests:"
count_batch 1
count_batch 0

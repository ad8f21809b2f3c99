#!/usr/bin/env bash
# End-to-end load of the two heaviest product downloads through the server's
# whole chain (tracker, compression, JSON, CORS, validation, JWT, ETag, the
# controller and the data service on MariaDB), with wrk at 32 connections
# against the real server binary:
#
#   GET /v1/produto?limit=500     500 products of 72 columns: the tenant
#                                 synchronises taxation and inactive records
#   GET /v1/produto/estoque/1     one product stocked in 20 branches, priced
#                                 in 5 tables in each: 21 statements on the
#                                 request's one database lease
#
# Prints requests/s, p50 and p99 latency, non-2xx answers and the server's
# peak RSS (VmHWM) per run; the server is restarted for every run so each
# peak is its own. With ACCEPT_ENCODING set (for example gzip) the requests
# carry that header, so large answers are compressed as branch systems get
# them.
#
#   bench/produto_load.sh [seconds]
#
# Builds quorvane and quorvane-token in Release into $BUILD_DIR
# (build-produto-bench), uses the test MariaDB (scripts/test-db.sh start) and
# the tenant qv_bench_produto, and serves on $QV_BENCH_PORT (9109).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-10}"
build="${BUILD_DIR:-build-produto-bench}"
port="${QV_BENCH_PORT:-9109}"
tenant=qv_bench_produto
connections=32
threads=2
# Long enough for the pool to fill and the caches to warm.
warmup_seconds=2
products=1000
branches=20
price_tables=5

scripts/test-db.sh start >/dev/null
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF \
  -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 --target quorvane quorvane_token >/dev/null

scripts/load-db.sh "$tenant" >/dev/null
export MYSQL_PWD="${QUORVANE_DB_PASSWORD:-vortexpin}"
mariadb -h127.0.0.1 -uroot "$tenant" -e "
  DELETE FROM produtos;
  INSERT INTO produtos (codigo, codbarras, servico, descricao, unidade, codgrupo, codsubgrupo,
      codfornecedor, codfabricante, dtcadastro, referencia, validade, observacao,
      arredondamentotruncamento, producaopropriaterceiro, descontomaximo, anvisa, usocontinuo,
      semcomissao, comissao, fracaocompra, fracaovenda, codgrade, tipograde, fator, farinsumo,
      farusoprolongado, farregistroms, fartipouso, farunidademedida, farunidademedicamento,
      farunidadefarmaceutica, farclasse, farquantidade, farprincipioativo, atualizarprecosonline,
      participafidelidade, farnrdbc, fartipoclasse, farapresentacao, codreferencia,
      parcelasetiquetas, fatormetro, farmaciapopular, embalagem, corgrade, comissaoprofissional,
      desconto, inativo, codaliquota, ipi, proicms, propis, procstipi, procodigoenq, provaloripi,
      piscofins, pisaliquota, cofinsaliquota, codplanocontas, mvadentrouf, mvaforauf,
      perctransparenciafiscal, perctransparenciafiscalest, perctransparenciafiscalmun,
      codbeneficio, motdesonicms, codservico, codigoncm, genero, origem, cest)
    SELECT seq, LPAD(7890000000000 + seq, 13, '0'), 'N', CONCAT('Produto de teste ', seq), 'UN',
      1 + seq % 5, 1 + seq % 9, 1 + seq % 7, 1 + seq % 3, '2024-01-15', CONCAT('REF', seq), 365,
      'Armazenar em local seco e arejado', 'A', 'T', 10.00, '1.0235.0044', 'N', 'N', 1.50,
      1.000, 1.000, NULL, NULL, 1.0000, 'N', 'N', '1.0235.0044.001-1', 'O', 'MG', 'CP', 'CX', 'A',
      10.000, 'Dipirona monoidratada', 'S', 'S', NULL, 'A', 'Caixa com 10 comprimidos', NULL,
      1, 1.0000, 'N', 1.000, NULL, 0.00, 0.00, IF(seq % 10 = 0, 'S', 'N'), 1 + seq % 4, 0.00,
      18.00, 1.65, '99', '999', 0.00, '01', 1.6500, 7.6000, 31101, 35.00, 35.00, 31.45, 18.00,
      0.00, NULL, NULL, NULL, '30049099', '30', 0, '1300100'
    FROM seq_1_to_${products};
  DELETE FROM filiais;
  INSERT INTO filiais (codigo, nome, consultarestoque)
    SELECT seq, CONCAT('Loja ', LPAD(seq, 2, '0')), 'S' FROM seq_1_to_${branches};
  DELETE FROM produtosfiliais;
  INSERT INTO produtosfiliais (codproduto, codfilial, quantidade, precocusto, precovenda)
    SELECT p.seq, f.seq, 10 * f.seq + p.seq % 7, 3.10, 6.90
    FROM seq_1_to_${products} p, seq_1_to_${branches} f;
  DELETE FROM tabelaprecos;
  INSERT INTO tabelaprecos (codigo, descricao)
    SELECT seq, CONCAT('Tabela ', seq) FROM seq_1_to_${price_tables};
  DELETE FROM tabelaprecositens;
  INSERT INTO tabelaprecositens (codtabelaprecos, codproduto, codfilial, preco, precoanterior)
    SELECT t.seq, p.seq, f.seq, 5 + t.seq + f.seq / 100, 5
    FROM seq_1_to_${price_tables} t, seq_1_to_${products} p, seq_1_to_${branches} f;
  DELETE FROM login WHERE login = 'bench';
  INSERT INTO login (login, senha, ativo) VALUES ('bench', 'bench', 1);
  UPDATE _stru._schemas SET sincronizar_tributacao = 1, sincronizar_inativo = 1
    WHERE name_schema = '${tenant}';"

token="$("$build/tools/quorvane-token" --sub bench --exp 3600)"
headers=(-H "x-schema: $tenant" -H "x-filial: 1" -H "x-user: bench" -H "x-pass: bench"
         -H "Authorization: Bearer $token")
if [[ -n "${ACCEPT_ENCODING:-}" ]]; then
  headers+=(-H "Accept-Encoding: $ACCEPT_ENCODING")
fi

pid=""
log="$(mktemp)"
# wrk script: the answers by status, with the first body of each other status.
statuses=bench/wrk_statuses.lua
stop_server() {
  if [[ -n "$pid" ]]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
  fi
}
trap 'stop_server; rm -f "$log"' EXIT

start_server() {
  # Another server on the port would be measured instead of ours.
  if curl -s -o /dev/null "http://127.0.0.1:$port/status"; then
    echo "port $port is in use; set QV_BENCH_PORT" >&2
    exit 1
  fi
  QUORVANE_PORT="$port" "$build/app/quorvane" </dev/null >"$log" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    curl -s -o /dev/null "http://127.0.0.1:$port/status" && return 0
    sleep 0.1
  done
  echo "server did not start:" >&2
  cat "$log" >&2
  exit 1
}

# Checks what one answer holds before loading the server with it.
check() {
  local target="$1" want="$2"
  local body
  body="$(curl -s --compressed "${headers[@]}" "http://127.0.0.1:$port$target")"
  if ! python3 -c "import json,sys; $want" <<<"$body"; then
    echo "GET $target does not answer as expected ($want): ${body:0:300}" >&2
    exit 1
  fi
}

run() {
  local target="$1" want="$2"
  local url="http://127.0.0.1:$port$target"
  start_server
  check "$target" "$want"
  local bytes
  bytes="$(curl -s -o /dev/null -w '%{size_download}' "${headers[@]}" "$url")"
  wrk -t"$threads" -c"$connections" -d"${warmup_seconds}s" "${headers[@]}" "$url" >/dev/null
  # wrk ends the warm-up by dropping its connections with requests in
  # flight; until the server has finished those, new requests beyond its 32
  # would be refused.
  sleep 1
  local report rps p50 p99 non2xx errors rss
  report="$(wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency -s "$statuses" \
                "${headers[@]}" "$url")"
  rps="$(awk '/^Requests\/sec/ {print $2}' <<<"$report")"
  p50="$(awk '$1 == "50%" {print $2}' <<<"$report")"
  p99="$(awk '$1 == "99%" {print $2}' <<<"$report")"
  non2xx="$(awk '/Non-2xx or 3xx responses/ {print $5}' <<<"$report")"
  errors="$(grep -E '^ +Socket errors' <<<"$report" | sed 's/^ *//' || true)"
  rss="$(awk '/^VmHWM/ {printf "%.1f MiB", $2 / 1024}' "/proc/$pid/status")"
  stop_server
  printf '%-28s %9s B  %10s  %9s  %9s  %7s  %10s  %s\n' "$target" "$bytes" "$rps" "$p50" \
    "$p99" "${non2xx:-0}" "$rss" "$errors"
  grep '^status ' <<<"$report" | sed 's/^/    /' || true
}

echo "wrk ${seconds}s, $threads threads, $connections connections, full chain, $(nproc) cores," \
  "Accept-Encoding: ${ACCEPT_ENCODING:-none}"
printf '%-28s %11s  %10s  %9s  %9s  %7s  %10s\n' target answer req/s p50 p99 non-2xx "peak RSS"
run "/v1/produto?limit=500" \
  "d = json.load(sys.stdin); assert len(d) == 500 and all(len(r) == 72 for r in d)"
run "/v1/produto/estoque/1" \
  "d = json.load(sys.stdin); assert len(d) == $branches and all(len(b['precos']) == $price_tables for b in d)"

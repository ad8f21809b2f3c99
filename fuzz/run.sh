#!/usr/bin/env bash
# Builds the libFuzzer entry points (clang, QV_FUZZ=ON) and runs each one for
# as long as asked, starting from its seed folder fuzz/corpus/<target>/.
#
#   fuzz/run.sh                          # every target, QUORVANE_FUZZ_SECONDS (60) each
#   fuzz/run.sh --seconds 3600 sql_fuzz  # one target for an hour
#   fuzz/run.sh --runs 10000000          # every target for ten million executions
#
# Inputs that libFuzzer finds interesting go to <build>/fuzz-work/<target>/
# (never into the source tree); crashes, leaks, timeouts and broken
# properties to <build>/fuzz-findings/<target>/. A finding is kept as a seed
# by copying it into fuzz/corpus/<target>/ with a name that says what it is.
# Exit status: 0 when no target found anything, 1 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${QUORVANE_FUZZ_SECONDS:-60}"
runs=""
build=build-fuzz
targets=()
while (($#)); do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --runs) runs="$2"; seconds=""; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
((${#targets[@]})) || targets=(http_request_fuzz json_fuzz jose_fuzz sql_fuzz)

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQV_FUZZ=ON -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target "${targets[@]}" -j "${QUORVANE_BUILD_JOBS:-$(nproc)}"

# A finding must be reported, not hidden by the sanitizers' own recovery.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
summary=()
for target in "${targets[@]}"; do
  work="$build/fuzz-work/$target"
  findings="$build/fuzz-findings/$target"
  mkdir -p "$work" "$findings"
  limits=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1)
  [ -n "$seconds" ] && limits+=(-max_total_time="$seconds")
  [ -n "$runs" ] && limits+=(-runs="$runs")
  log="$build/fuzz-findings/$target.log"
  echo "=== $target: ${seconds:+$seconds s}${runs:+$runs runs}"
  before=$(find "$findings" -type f | wc -l)
  set +e
  "$build/fuzz/$target" "${limits[@]}" -artifact_prefix="$findings/" \
    "$work" "fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  set -e
  after=$(find "$findings" -type f | wc -l)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  new=$((after - before))
  line="$target: ${execs:-?} executions (${rate:-?}/s), $new new finding(s), exit $rc"
  summary+=("$line")
  if ((rc != 0 || new > 0)); then
    status=1
    grep -a -E -A6 "property failed|ERROR: |runtime error|SUMMARY" "$log" | head -n 40 || true
    echo "see $log and $findings/"
  fi
done
echo "=== fuzz summary"
printf '%s\n' "${summary[@]}"
exit "$status"

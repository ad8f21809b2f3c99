#!/usr/bin/env bash
# Installs what is missing, starts the test MariaDB, then builds and runs every
# test: the normal build (unit, integration, end-to-end, then the short soak,
# database-outage and slow-client run of the server binary), the ASan+UBSan
# build, the ThreadSanitizer build, and each fuzz entry point for
# QUORVANE_FUZZ_SECONDS (60) seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/test-db.sh start

jobs=$(nproc)

build_and_test() {
  local dir=$1
  shift
  echo "=== $dir: configure and build"
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "=== $dir: tests"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "=== build: soak, database outage and slow clients (short form)"
tests/reliability/soak.sh --build build
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=address,undefined -DQV_BUILD_BENCH=OFF
build_and_test build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=thread -DQV_BUILD_BENCH=OFF
echo "=== build-fuzz: every fuzz entry point for ${QUORVANE_FUZZ_SECONDS:-60} s"
fuzz/run.sh --build build-fuzz

#!/usr/bin/env bash
# Installs what is missing, starts the test MariaDB, then builds and runs every
# test: the normal build (unit, integration, end-to-end) and the ASan+UBSan
# build.
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
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=address,undefined -DQV_BUILD_BENCH=OFF

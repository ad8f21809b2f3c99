#!/usr/bin/env bash
# Installs what is missing, builds the server and runs it in the foreground on
# port 9001. Arguments are passed to the server (for example -track).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/test-db.sh start
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quorvane
exec build/app/quorvane "$@"

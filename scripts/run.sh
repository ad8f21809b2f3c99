#!/usr/bin/env bash
# Installs what is missing, starts a local MariaDB if none answers, creates the
# control schema and the demo tenant "demo" (db/, with demo data), builds the
# server and the token tool and runs the server in the foreground on port
# 9001. Arguments are passed to the server (for example -track).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/test-db.sh start
scripts/load-db.sh demo --demo
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quorvane quorvane_token
exec build/app/quorvane "$@"

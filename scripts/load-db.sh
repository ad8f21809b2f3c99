#!/usr/bin/env bash
# Creates a tenant on the local MariaDB and registers it with the server.
#
#   scripts/load-db.sh SCHEMA [--demo]
#
# 1. creates the control schema `_stru` and its table `_schemas` if missing
#    (db/stru.sql; existing tenants are kept);
# 2. creates the tenant schema SCHEMA and its tables if missing
#    (db/tenant.sql; existing tables and rows are kept);
# 3. registers SCHEMA in `_stru`.`_schemas` in the normal state (manutencao 0;
#    the switches of an existing row are kept);
# 4. with --demo, loads the demo data (db/demo.sql) into SCHEMA; running it
#    again puts the demo rows back to their demo values.
#
# Connection: 127.0.0.1:3306, root / "vortexpin", or QUORVANE_DB_HOST,
# QUORVANE_DB_PORT, QUORVANE_DB_USER and QUORVANE_DB_PASSWORD where set.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 SCHEMA [--demo]" >&2
  exit 2
}

schema=""
demo=0
for arg in "$@"; do
  case "$arg" in
    --demo) demo=1 ;;
    -*) usage ;;
    *) [ -z "$schema" ] || usage; schema=$arg ;;
  esac
done
[ -n "$schema" ] || usage
# The name goes into SQL text below, so only plain identifiers are accepted.
if ! [[ "$schema" =~ ^[A-Za-z0-9_]{1,64}$ ]]; then
  echo "$0: schema name must be 1-64 letters, digits or underscores: '$schema'" >&2
  exit 2
fi
if [ "$schema" = "_stru" ]; then
  echo "$0: _stru is the control schema, not a tenant" >&2
  exit 2
fi

readonly CONTROL_SCHEMA=_stru
host=${QUORVANE_DB_HOST:-127.0.0.1}
port=${QUORVANE_DB_PORT:-3306}
user=${QUORVANE_DB_USER:-root}
# Passed through the environment rather than the command line, where any
# process listing would show it.
export MYSQL_PWD=${QUORVANE_DB_PASSWORD:-vortexpin}

sql() {
  mariadb -h"$host" -P"$port" -u"$user" --default-character-set=utf8mb4 "$@"
}

sql -e "CREATE DATABASE IF NOT EXISTS \`$CONTROL_SCHEMA\` CHARACTER SET utf8mb4"
sql "$CONTROL_SCHEMA" <db/stru.sql

sql -e "CREATE DATABASE IF NOT EXISTS \`$schema\` CHARACTER SET utf8mb4"
sql "$schema" <db/tenant.sql

sql "$CONTROL_SCHEMA" -e "INSERT INTO _schemas (name_schema, manutencao) VALUES ('$schema', 0)
  ON DUPLICATE KEY UPDATE manutencao = 0"

if ((demo)); then
  sql "$schema" <db/demo.sql
fi

echo "tenant $schema ready$( ((demo)) && echo ' with demo data')"

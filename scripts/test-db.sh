#!/usr/bin/env bash
# A throwaway MariaDB for tests and the demo: root / "vortexpin" on
# 127.0.0.1:3306 and the default socket. There is no systemd on these
# machines, so the server runs as a plain background process.
#
#   scripts/test-db.sh start    # idempotent: reuses a server that answers
#   scripts/test-db.sh stop     # stops the server this script started
#   scripts/test-db.sh status
#
# QUORVANE_TEST_DB_DIR, QUORVANE_TEST_DB_PORT and QUORVANE_TEST_DB_SOCKET give
# a second, independent server (data folder, TCP port, socket), for tests that
# stop and restart the database without disturbing the one others use.
set -euo pipefail

readonly DATADIR="${QUORVANE_TEST_DB_DIR:-/tmp/quorvane-mariadb}"
readonly PORT="${QUORVANE_TEST_DB_PORT:-3306}"
readonly SOCKET="${QUORVANE_TEST_DB_SOCKET:-/run/mysqld/mysqld.sock}"
readonly PIDFILE="$DATADIR/mariadbd.pid"
readonly PASSWORD=vortexpin
# The server is ready in well under a second; allow for a slow first start.
readonly READY_TIMEOUT_S=60

# "ping" succeeds even when the login is refused, so logins are checked with a query.
login_tcp() { mariadb --protocol=TCP -h127.0.0.1 -P"$PORT" -uroot -p"$PASSWORD" -e 'SELECT 1' >/dev/null 2>&1; }
ping_any() { mariadb-admin --socket="$SOCKET" ping >/dev/null 2>&1 || mariadb-admin --protocol=TCP -h127.0.0.1 -P"$PORT" ping >/dev/null 2>&1; }

start() {
  if login_tcp; then
    echo "mariadb: already running on 127.0.0.1:$PORT"
    return 0
  fi
  mkdir -p "$(dirname "$SOCKET")" "$DATADIR"
  if [ ! -d "$DATADIR/mysql" ]; then
    mariadb-install-db --user=root --datadir="$DATADIR" \
      --auth-root-authentication-method=normal --skip-test-db >"$DATADIR/install.log" 2>&1
  fi
  nohup mariadbd --user=root --datadir="$DATADIR" --port="$PORT" --bind-address=127.0.0.1 \
    --socket="$SOCKET" --pid-file="$PIDFILE" --skip-log-bin \
    --max-connections=500 --log-error="$DATADIR/error.log" >/dev/null 2>&1 &
  local waited=0
  until ping_any; do
    sleep 0.2
    waited=$((waited + 1))
    if ((waited > READY_TIMEOUT_S * 5)); then
      echo "mariadb: not ready after ${READY_TIMEOUT_S}s; see $DATADIR/error.log" >&2
      tail -n 20 "$DATADIR/error.log" >&2 || true
      exit 1
    fi
  done
  if ! login_tcp; then
    mariadb --socket="$SOCKET" -uroot \
      -e "ALTER USER 'root'@'localhost' IDENTIFIED BY '$PASSWORD';
          CREATE USER IF NOT EXISTS 'root'@'127.0.0.1' IDENTIFIED BY '$PASSWORD';
          GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION;
          FLUSH PRIVILEGES;"
  fi
  login_tcp || { echo "mariadb: TCP login as root failed" >&2; exit 1; }
  echo "mariadb: running (pid $(cat "$PIDFILE"), data in $DATADIR)"
}

stop() {
  if [ -f "$PIDFILE" ]; then
    local pid
    pid=$(cat "$PIDFILE")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 150); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    echo "mariadb: stopped"
  else
    echo "mariadb: not started by this script"
  fi
}

case "${1:-start}" in
  start) start ;;
  stop) stop ;;
  status) if login_tcp; then echo "mariadb: running"; else echo "mariadb: not running"; exit 1; fi ;;
  *) echo "usage: $0 start|stop|status" >&2; exit 2 ;;
esac

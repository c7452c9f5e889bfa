#!/usr/bin/env bash
# Runs a command with a private MariaDB server for the tests: its own data folder, 127.0.0.1 only, an ODBC
# data source in a private odbc.ini, two empty databases (vantle_trn, vantle_mst) and a user for them.
# The command runs under a private CUPS server too (with-test-cups.sh). The servers are stopped when the
# command ends, whatever its result. The tests that use the server fail,
# rather than skip, when they cannot reach it (VANTLE_TEST_SERVER_REQUIRED).
#
#   cd build && ../scripts/with-test-server.sh ctest -R test_database --output-on-failure
#
# VANTLE_TEST_SERVER_DIR names a folder for the server that is kept (and reused next time); without it a
# folder of its own is made in the temporary folder and removed at the end. A server that does not start
# leaves its folder and logs where they are, and the script says where. VANTLE_TEST_SERVER_PORT is the first
# port tried (3307); a port taken by another server is passed over.
set -euo pipefail
if [ -n "${VANTLE_TEST_SERVER_DIR:-}" ]; then
  D=$VANTLE_TEST_SERVER_DIR
  made=0
  mkdir -p "$D"
else
  D=$(mktemp -d "${TMPDIR:-/tmp}/vantle-mdb.XXXXXX")
  made=1
fi
PORT=${VANTLE_TEST_SERVER_PORT:-3307}
started=0
stop() {
  if [ -f "$D/pid" ] && kill -0 "$(cat "$D/pid")" 2>/dev/null; then
    kill -TERM "$(cat "$D/pid")"
    while kill -0 "$(cat "$D/pid")" 2>/dev/null; do sleep 0.1; done
  fi
  if [ "$started" = 0 ]; then
    echo "with-test-server.sh: the test server did not start; its logs are in $D" >&2
  elif [ "$made" = 1 ]; then
    rm -rf "$D"
  fi
}
trap stop EXIT
user=$(id -un)
[ -d "$D/data/mysql" ] || mariadb-install-db --no-defaults --user="$user" --datadir="$D/data" \
  --auth-root-authentication-method=socket --skip-test-db >"$D/install.log" 2>&1
ping() { mariadb-admin --no-defaults --socket="$D/mysqld.sock" -uroot ping >/dev/null 2>&1; }
for _ in 1 2 3 4 5; do
  # Another server (a developer's, another run's) may hold the port: take the next free one. One that takes
  # it between this look and the start makes the start fail; then the next port is tried.
  while (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; do PORT=$((PORT + 1)); done
  : >"$D/error.log"
  mariadbd --no-defaults --user="$user" --datadir="$D/data" --bind-address=127.0.0.1 --port="$PORT" \
    --socket="$D/mysqld.sock" --log-error="$D/error.log" --character-set-server=utf8mb4 \
    --collation-server=utf8mb4_general_ci --skip-log-bin --innodb-flush-log-at-trx-commit=2 &
  echo $! >"$D/pid"
  for _ in $(seq 300); do
    ping && break
    kill -0 "$(cat "$D/pid")" 2>/dev/null || break
    sleep 0.1
  done
  ping && { started=1; break; }
  if kill -0 "$(cat "$D/pid")" 2>/dev/null || ! grep -q "Address already in use" "$D/error.log"; then
    tail "$D/error.log" >&2
    exit 1
  fi
  PORT=$((PORT + 1))
done
[ "$started" = 1 ] || { tail "$D/error.log" >&2; exit 1; }
mariadb --no-defaults --socket="$D/mysqld.sock" -uroot <<'SQL'
CREATE DATABASE IF NOT EXISTS vantle_trn CHARACTER SET utf8mb4;
CREATE DATABASE IF NOT EXISTS vantle_mst CHARACTER SET utf8mb4;
CREATE USER IF NOT EXISTS 'vantle'@'127.0.0.1' IDENTIFIED BY 'vantle-test';
GRANT ALL ON vantle_trn.* TO 'vantle'@'127.0.0.1';
GRANT ALL ON vantle_mst.* TO 'vantle'@'127.0.0.1';
SQL
driver=$(find /usr/lib -name libmaodbc.so 2>/dev/null | head -n 1)
cat >"$D/odbcinst.ini" <<INI
[MariaDB Unicode]
Driver=$driver
INI
cat >"$D/odbc.ini" <<INI
[vantle_test]
Driver=MariaDB Unicode
SERVER=127.0.0.1
PORT=$PORT
INI
export ODBCSYSINI="$D" ODBCINI="$D/odbc.ini"
export VANTLE_TEST_MARIADB_DSN=vantle_test VANTLE_TEST_MARIADB_USER=vantle VANTLE_TEST_MARIADB_PASSWORD=vantle-test
export VANTLE_TEST_SERVER_REQUIRED=1
"$(dirname "$0")/with-test-cups.sh" "$@"

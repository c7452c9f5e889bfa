#!/usr/bin/env bash
# Runs a command with a private MariaDB server for the tests: its own data folder, 127.0.0.1 only, an ODBC
# data source in a private odbc.ini, two empty databases (vantle_trn, vantle_mst) and a user for them; and
# with a private CUPS server (with-test-cups.sh). The servers are stopped when the command ends, whatever its result.
set -euo pipefail
D=${VANTLE_TEST_SERVER_DIR:-/tmp/vantle-mdb-$$}
PORT=${VANTLE_TEST_SERVER_PORT:-3307}
# Another server (a developer's, another run's) may hold the port: take the next free one.
while (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; do PORT=$((PORT + 1)); done
mkdir -p "$D"
stop() {
  if [ -f "$D/pid" ] && kill -0 "$(cat "$D/pid")" 2>/dev/null; then
    kill -TERM "$(cat "$D/pid")"
    while kill -0 "$(cat "$D/pid")" 2>/dev/null; do sleep 0.1; done
  fi
  rm -rf "$D"
}
trap stop EXIT
user=$(id -un)
[ -d "$D/data/mysql" ] || mariadb-install-db --no-defaults --user="$user" --datadir="$D/data" \
  --auth-root-authentication-method=socket --skip-test-db >"$D/install.log" 2>&1
mariadbd --no-defaults --user="$user" --datadir="$D/data" --bind-address=127.0.0.1 --port="$PORT" \
  --socket="$D/mysqld.sock" --log-error="$D/error.log" --character-set-server=utf8mb4 \
  --collation-server=utf8mb4_general_ci --skip-log-bin --innodb-flush-log-at-trx-commit=2 &
echo $! >"$D/pid"
for _ in $(seq 300); do
  mariadb-admin --no-defaults --socket="$D/mysqld.sock" -uroot ping >/dev/null 2>&1 && break
  kill -0 "$(cat "$D/pid")" 2>/dev/null || { tail "$D/error.log"; exit 1; }
  sleep 0.1
done
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
"$(dirname "$0")/with-test-cups.sh" "$@"

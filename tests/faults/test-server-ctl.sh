#!/usr/bin/env bash
# Stops or starts again the private test server of scripts/with-test-server.sh, for the tests that need the
# server to go away under a running register. The server's folder is the one holding the ODBC data source
# (ODBCINI); it is started again with the command line it ran with, and its pid file is kept up to date so
# that with-test-server.sh stops the new one at the end.
#   test-server-ctl.sh check|stop|start
set -euo pipefail
[ -n "${ODBCINI:-}" ] || { echo "ODBCINI is not set: no private test server" >&2; exit 2; }
D=$(dirname "$ODBCINI")
running() { # a zombie is gone as far as the database is concerned
  local pid=$1
  [ -r "/proc/$pid/stat" ] || return 1
  [ "$(cut -d' ' -f3 "/proc/$pid/stat")" != Z ]
}
ping() { mariadb-admin --no-defaults --socket="$D/mysqld.sock" -uroot ping >/dev/null 2>&1; }
case "${1:-}" in
check)
  [ -f "$D/pid" ] && running "$(cat "$D/pid")" && [ -r "/proc/$(cat "$D/pid")/cmdline" ]
  ;;
stop)
  pid=$(cat "$D/pid")
  running "$pid" || { echo "server $pid is not running" >&2; exit 1; }
  tr '\0' '\n' <"/proc/$pid/cmdline" >"$D/cmdline"
  kill -TERM "$pid"
  for _ in $(seq 600); do
    running "$pid" || exit 0
    sleep 0.05
  done
  echo "server $pid did not stop within 30 s" >&2
  exit 1
  ;;
start)
  [ -s "$D/cmdline" ] || { echo "no saved command line: stop the server first" >&2; exit 1; }
  mapfile -t cmd <"$D/cmdline"
  setsid "${cmd[@]}" </dev/null >/dev/null 2>&1 &
  echo $! >"$D/pid"
  for _ in $(seq 300); do
    ping && exit 0
    running "$(cat "$D/pid")" || { tail -n 5 "$D/error.log" >&2; exit 1; }
    sleep 0.1
  done
  echo "server did not answer within 30 s" >&2
  exit 1
  ;;
*)
  echo "usage: $0 check|stop|start" >&2
  exit 2
  ;;
esac

#!/usr/bin/env bash
# Runs a command with a private CUPS server for the printing tests: its own configuration, spool, cache and log
# folders under one temporary folder, a local socket there and 127.0.0.1 on a free port, no sharing, no discovery,
# no web pages. The command (and lp, lpadmin, lpstat, cupsenable ... started from it) reach it through
# CUPS_SERVER and a private client configuration (CUPS_SERVERROOT); a CUPS server the machine runs itself is
# never touched. The tests add their queues themselves. The server is stopped when the command ends, whatever
# its result.
set -euo pipefail
D=$(mktemp -d /tmp/vantle-cups-XXXXXX)
PORT=${VANTLE_TEST_CUPS_PORT:-8631}
while (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; do PORT=$((PORT + 1)); done
stop() {
  if [ -f "$D/pid" ] && kill -0 "$(cat "$D/pid")" 2>/dev/null; then
    kill -TERM "$(cat "$D/pid")"
    while kill -0 "$(cat "$D/pid")" 2>/dev/null; do sleep 0.05; done
  fi
  rm -rf "$D"
}
trap stop EXIT
if [ ! -x /usr/lib/cups/backend/socket ]; then
  echo "CUPS's socket backend is missing (/usr/lib/cups/backend/socket): install the package cups." >&2
  exit 1
fi
mkdir -p "$D/etc/ppd" "$D/spool/tmp" "$D/cache" "$D/run/certs" "$D/log" "$D/out"
# As root, cupsd runs filters and backends as lp, who must reach the spool and the output folder.
chmod 755 "$D" "$D/out"
if [ "$(id -u)" -eq 0 ]; then
  users=$'User lp\nGroup lp\nSystemGroup root'
else
  users="SystemGroup $(id -gn)"
fi
cat >"$D/etc/cups-files.conf" <<CONF
$users
ServerRoot $D/etc
RequestRoot $D/spool
TempDir $D/spool/tmp
CacheDir $D/cache
StateDir $D/run
AccessLog $D/log/access_log
ErrorLog $D/log/error_log
PageLog $D/log/page_log
# The tests' report queue writes its output into a file.
FileDevice Yes
CONF
cat >"$D/etc/cupsd.conf" <<CONF
LogLevel warn
Listen $D/cups.sock
Listen 127.0.0.1:$PORT
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
echo "ServerName $D/cups.sock" >"$D/etc/client.conf"
cupsd -f -c "$D/etc/cupsd.conf" -s "$D/etc/cups-files.conf" &
echo $! >"$D/pid"
export CUPS_SERVER="$D/cups.sock" CUPS_SERVERROOT="$D/etc"
unset PRINTER LPDEST
for _ in $(seq 200); do
  lpstat -r >/dev/null 2>&1 && break
  kill -0 "$(cat "$D/pid")" 2>/dev/null || { tail "$D/log/error_log"; exit 1; }
  sleep 0.05
done
export VANTLE_TEST_CUPS_DIR="$D"
"$@"

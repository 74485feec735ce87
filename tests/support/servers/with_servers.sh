#!/bin/sh
# Runs a command with the loopback HTTP and FTP test servers listening,
# for test programs that cannot start them themselves (Windows programs
# under Wine): the ports and the served directory reach the program in
# PELLMORE_TEST_HTTP_PORT, PELLMORE_TEST_FTP_PORT and PELLMORE_TEST_NET_ROOT
# (the directory as Wine's drive Z: shows it). Both servers are stopped
# and the directory removed afterwards, whatever the command's outcome.
here=$(cd "$(dirname "$0")" && pwd)
python=${PELLMORE_TEST_PYTHON:-/usr/bin/python3}
work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-net-XXXXXX") || exit 1
mkdir "$work/served"
"$python" "$here/http_server.py" --root "$work/served" --port-file "$work/http-port" &
http_pid=$!
"$python" "$here/ftp_server.py" --root "$work/served" --port-file "$work/ftp-port" &
ftp_pid=$!
stop() {
  kill "$http_pid" "$ftp_pid" 2>/dev/null
  wait "$http_pid" "$ftp_pid" 2>/dev/null
  rm -rf "$work"
}
trap 'stop; exit 130' INT TERM
tries=0
while [ ! -s "$work/http-port" ] || [ ! -s "$work/ftp-port" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 500 ]; then
    echo "with_servers.sh: the test servers did not listen within ten seconds" >&2
    stop
    exit 1
  fi
  sleep 0.02
done
PELLMORE_TEST_HTTP_PORT=$(cat "$work/http-port")
PELLMORE_TEST_FTP_PORT=$(cat "$work/ftp-port")
PELLMORE_TEST_NET_ROOT="Z:$work/served"
export PELLMORE_TEST_HTTP_PORT PELLMORE_TEST_FTP_PORT PELLMORE_TEST_NET_ROOT
"$@"
rc=$?
stop
exit $rc

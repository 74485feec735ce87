#!/usr/bin/env bash
# Benchmarks one HTTP download by the setup's net install location
# (net_fetch: 8192-byte blocks, progress to the copy dialog, into a fresh
# simulated machine) against `curl -s -o FILE URL` of the same URL, in the
# same run, from a loopback server. Each run gets a fresh machine, made
# before the clock starts. Warm cache, best of RUNS (environment, default
# 5). Prints both times, MB/s (10^6 bytes) and the ratio (target: within
# 1.2x), and checks that both copies hold the served bytes.
#
#   bench/net_bench.sh [BUILD_DIR] [MIB]   (build/bench 200)
#
# SERVER=nginx (the default when /usr/sbin/nginx exists; Debian's package,
# installed by hand, not by CI) or SERVER=python (python3 -m http.server).
# Both serve 200 MiB to curl in about 0.2-0.3 s here; nginx takes about
# 60% of Python's CPU per download, which leaves more of a small machine
# to the clients being timed. nginx copies through 256 KiB buffers instead
# of using sendfile: on loopback, sendfile made every client slower
# (0.42 s against 0.21 s for the same 200 MiB, see README-net.md).
set -euo pipefail

build=$(realpath "${1:-build/bench}")
mib=${2:-200}
((mib >= 1 && mib <= 4096)) || { echo "MIB must be 1 to 4096" >&2; exit 2; }
fetch=${NET_FETCH:-$build/bench/net_fetch}  # NET_FETCH: another build of it, to compare
machine_tool=$build/tools/machine/pellmore-machine
for p in "$fetch" "$machine_tool"; do
  [[ -x $p ]] || { echo "missing $p: cmake --preset bench && cmake --build --preset bench" >&2; exit 2; }
done
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 2; }
server=${SERVER:-$([[ -x /usr/sbin/nginx ]] && echo nginx || echo python)}
RUNS=${RUNS:-5}

work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-net-bench.XXXXXX")
server_pid=
cleanup() {
  [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# nginx's workers drop to an unprivileged user: they must reach the files.
chmod 755 "$work"

# The served file: the installer named Bench downloads "Bench.1".
mkdir -p "$work/www/dist"
head -c "${mib}M" /dev/urandom >"$work/www/dist/Bench.1"
bytes=$(stat -c %s "$work/www/dist/Bench.1")
chmod -R a+rX "$work/www"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
url=http://127.0.0.1:$port/dist/Bench.1

case $server in
  nginx)
    mkdir -p "$work/nginx/logs"
    cat >"$work/nginx/nginx.conf" <<EOF
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile off;
  output_buffers 2 256k;
  default_type application/octet-stream;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
  }
}
EOF
    /usr/sbin/nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -g 'daemon off;' \
      2>"$work/server.log" &
    ;;
  python)
    python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/www" \
      >"$work/server.log" 2>&1 &
    ;;
  *) echo "SERVER must be nginx or python" >&2; exit 2 ;;
esac
server_pid=$!
for ((i = 0; i < 100; i++)); do
  curl -s -o /dev/null -r 0-0 "$url" && break
  sleep 0.1
done
curl -s -o /dev/null -r 0-0 "$url" || { echo "the $server server did not start:" >&2; cat "$work/server.log" >&2; exit 1; }

TIMEFORMAT=%R
run_curl() { rm -f "$work/curl.out"; sync; t=$( { time curl -s -o "$work/curl.out" "$url"; } 2>&1 ); }
run_fetch() {
  rm -rf "$work/machine"
  "$machine_tool" create "$work/machine" >/dev/null
  sync
  t=$( { time "$fetch" "$work/machine" "$url" >"$work/fetch.out"; } 2>&1 )
}

# Both in every round, so both see the same machine load.
t_curl= t_fetch= t_inner=
for ((r = 0; r < RUNS; r++)); do
  run_curl
  t_curl=$(python3 -c "print(min($t, ${t_curl:-$t}))")
  run_fetch
  if [[ -z $t_fetch ]] || python3 -c "import sys; sys.exit(0 if $t < $t_fetch else 1)"; then
    t_fetch=$t
    t_inner=$(sed -n '1s/.* in \([0-9.]*\) s.*/\1/p' "$work/fetch.out")
  fi
done

landed=$(sed -n 3p "$work/fetch.out")
cmp -s "$landed" "$work/www/dist/Bench.1" || { echo "net_fetch's copy differs from the served file" >&2; exit 1; }
cmp -s "$work/curl.out" "$work/www/dist/Bench.1" || { echo "curl's copy differs from the served file" >&2; exit 1; }

mbs() { python3 -c "print(f'{$bytes / $1 / 1e6:8.1f}')"; }
printf '%d bytes from %s on loopback, best of %d\n' "$bytes" "$server" "$RUNS"
printf 'curl -s -o       %7.3f s  %s MB/s\n' "$t_curl" "$(mbs "$t_curl")"
printf 'net_fetch        %7.3f s  %s MB/s   (download alone %.3f s)\n' \
  "$t_fetch" "$(mbs "$t_fetch")" "$t_inner"
printf 'ratio            %s\n' "$(python3 -c "print(f'{$t_fetch / $t_curl:.2f}x')")"
echo "both copies are byte-identical to the served file"

#!/usr/bin/env bash
# Throughput of the libcurl engines against their peers, on loopback:
#   CCurlDownloader  (bench-download-engine 1) vs  curl -s -o   + md5sum
#   CMTCurlDownloader (bench-download-engine 3) vs aria2c -x2 -s2 + md5sum
# nginx serves one random file of SIZE_MIB MiB (default 256) at
# /pkg/<md5>/pkg.exe from a throwaway prefix. Five interleaved runs each;
# prints median seconds, the ratio engine/peer throughput (>= 0.9 wanted)
# and the engines' peak RSS (< 32 MiB wanted, flat in the size).
# usage: run_download_bench.sh [SIZE_MIB] [RUNS]   (env BIN: folder of bench-download-engine)
set -euo pipefail
SIZE_MIB=${1:-256}
RUNS=${2:-5}
HERE=$(cd "$(dirname "$0")" && pwd)
BIN=${BIN:-${VELMORA_BIN_DIR:-$HERE/../../build/bin}}
DRIVER="$BIN/bench-download-engine"
[ -x "$DRIVER" ] || { echo "no $DRIVER (build target bench-download-engine)" >&2; exit 1; }

WORK=$(mktemp -d /tmp/velmora-dl-bench.XXXXXX)
NGINX_PID=""
cleanup() {
  if [ -n "$NGINX_PID" ]; then kill "$NGINX_PID" 2>/dev/null || true; wait "$NGINX_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

mkdir -p "$WORK/www" "$WORK/logs" "$WORK/out"
head -c $((SIZE_MIB * 1048576)) /dev/urandom > "$WORK/pkg.exe"
MD5=$(md5sum "$WORK/pkg.exe" | cut -d' ' -f1)
mkdir -p "$WORK/www/pkg/$MD5"
mv "$WORK/pkg.exe" "$WORK/www/pkg/$MD5/pkg.exe"

PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
USER_LINE=""
[ "$(id -u)" = 0 ] && USER_LINE="user root;"
cat > "$WORK/nginx.conf" <<CONF
$USER_LINE
worker_processes 1;
daemon off;
pid $WORK/nginx.pid;
error_log $WORK/logs/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  client_body_temp_path $WORK/logs;
  proxy_temp_path $WORK/logs;
  fastcgi_temp_path $WORK/logs;
  uwsgi_temp_path $WORK/logs;
  scgi_temp_path $WORK/logs;
  server {
    listen 127.0.0.1:$PORT;
    root $WORK/www;
  }
}
CONF
nginx -p "$WORK" -c "$WORK/nginx.conf" &
NGINX_PID=$!
URL="http://127.0.0.1:$PORT/pkg/$MD5/pkg.exe"
for _ in $(seq 50); do curl -sfI "$URL" >/dev/null 2>&1 && break; sleep 0.1; done

now() { date +%s.%N; }
declare -a T_ENGINE1 T_CURL T_ENGINE3 T_ARIA RSS1 RSS3
for run in $(seq "$RUNS"); do
  rm -f "$WORK/out/"*
  t0=$(now); out=$("$DRIVER" 1 "$URL" "$WORK/out/e1.exe" 2>/dev/null); t1=$(now)
  T_ENGINE1+=("$(echo "$t1 - $t0" | bc -l)"); RSS1+=("$(echo "$out" | sed 's/.*peak_rss_kib=//')")
  rm -f "$WORK/out/"*
  t0=$(now); curl -s -o "$WORK/out/c.exe" "$URL"; md5sum "$WORK/out/c.exe" >/dev/null; t1=$(now)
  T_CURL+=("$(echo "$t1 - $t0" | bc -l)")
  rm -f "$WORK/out/"*
  t0=$(now); out=$("$DRIVER" 3 "$URL" "$WORK/out/e3.exe" 2>/dev/null); t1=$(now)
  T_ENGINE3+=("$(echo "$t1 - $t0" | bc -l)"); RSS3+=("$(echo "$out" | sed 's/.*peak_rss_kib=//')")
  rm -f "$WORK/out/"*
  t0=$(now); aria2c -q -x2 -s2 --allow-overwrite=true --auto-file-renaming=false -d "$WORK/out" -o a.exe "$URL"
  md5sum "$WORK/out/a.exe" >/dev/null; t1=$(now)
  T_ARIA+=("$(echo "$t1 - $t0" | bc -l)")
  echo "run $run: engine1 ${T_ENGINE1[-1]}s curl ${T_CURL[-1]}s engine3 ${T_ENGINE3[-1]}s aria2c ${T_ARIA[-1]}s" >&2
done

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
max() { printf '%s\n' "$@" | sort -g | tail -1; }
M1=$(median "${T_ENGINE1[@]}"); MC=$(median "${T_CURL[@]}")
M3=$(median "${T_ENGINE3[@]}"); MA=$(median "${T_ARIA[@]}")
rate() { echo "scale=1; $SIZE_MIB / $1" | bc -l; }
echo "size ${SIZE_MIB} MiB, ${RUNS} runs, medians (download + MD5):"
echo "  CCurlDownloader   ${M1}s ($(rate "$M1") MiB/s)  curl -o + md5sum  ${MC}s ($(rate "$MC") MiB/s)  ratio $(echo "scale=3; $MC / $M1" | bc -l)"
echo "  CMTCurlDownloader ${M3}s ($(rate "$M3") MiB/s)  aria2c -x2 -s2 + md5sum ${MA}s ($(rate "$MA") MiB/s)  ratio $(echo "scale=3; $MA / $M3" | bc -l)"
echo "  peak RSS: CCurlDownloader $(( $(max "${RSS1[@]}") / 1024 )) MiB, CMTCurlDownloader $(( $(max "${RSS3[@]}") / 1024 )) MiB"

#!/usr/bin/env bash
# A 200 MB download on loopback through the launcher's update download path
# (`kvstool update download`: QNetworkAccessManager, streamed to a temporary file, renamed
# into place) against `curl -o` of the same URL from the same local server, alternating,
# in one run. Also the peak memory of both, and of kvstool for a 20 MB file, to show that
# memory does not grow with the file. Budget: kvstool at least 0.8x curl's throughput.
#
#   bench/update/download_vs_curl.sh [BUILD_DIR] [ROUNDS]    (default build/release, 3)
#
# BUILD_DIR must hold a Release build of kvstool. The server is Python's http.server on a
# free port; everything lives in one folder under /tmp that is deleted at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
rounds=${2:-3}
kvstool=$build/tools/kvstool/kvstool
[ -x "$kvstool" ] || { echo "missing $kvstool: build it first" >&2; exit 2; }
command -v curl >/dev/null || { echo "curl is not installed" >&2; exit 2; }

work=$(mktemp -d /tmp/update-download-bench.XXXXXX)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www" "$work/out"
head -c $((200 << 20)) /dev/urandom >"$work/www/big.bin"
head -c $((20 << 20)) /dev/urandom >"$work/www/small.bin"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/www" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/small.bin" && break; sleep 0.1; done

# Runs a command; prints "seconds peak_rss_kb".
measure() {
    python3 - "$@" <<'PY'
import os, subprocess, sys, time
t = time.perf_counter()
p = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL)
_, status, usage = os.wait4(p.pid, 0)
if status != 0:
    sys.exit("failed: " + " ".join(sys.argv[1:]))
print("%.3f %d" % (time.perf_counter() - t, usage.ru_maxrss))
PY
}

url=http://127.0.0.1:$port/big.bin
bytes=$(stat -c %s "$work/www/big.bin")
echo "file: $bytes bytes from $url"
printf '%-6s %-8s %10s %10s %12s\n' round tool seconds MB/s peak_KB
k_total=0 c_total=0
for r in $(seq "$rounds"); do
    rm -f "$work/out/"*
    read -r ks km < <(measure "$kvstool" update download "$url" "$work/out/k.bin")
    cmp -s "$work/www/big.bin" "$work/out/k.bin" || { echo "kvstool file differs" >&2; exit 1; }
    rm -f "$work/out/"*
    read -r cs cm < <(measure curl -sf -o "$work/out/c.bin" "$url")
    k_total=$(python3 -c "print($k_total + $ks)")
    c_total=$(python3 -c "print($c_total + $cs)")
    printf '%-6s %-8s %10s %10.1f %12s\n' "$r" kvstool "$ks" "$(python3 -c "print($bytes/1048576/$ks)")" "$km"
    printf '%-6s %-8s %10s %10.1f %12s\n' "$r" curl "$cs" "$(python3 -c "print($bytes/1048576/$cs)")" "$cm"
done
read -r ss sm < <(measure "$kvstool" update download "http://127.0.0.1:$port/small.bin" "$work/out/s.bin")
echo "kvstool peak memory: $sm KB for 20 MB, $km KB for 200 MB"
python3 -c "
k = $bytes * $rounds / 1048576 / $k_total
c = $bytes * $rounds / 1048576 / $c_total
print('mean throughput: kvstool %.1f MB/s, curl %.1f MB/s, ratio %.2f (budget 0.80)' % (k, c, k / c))"

#!/usr/bin/env bash
# Builds the debug monitor benchmark (Release) and runs it against the stand-in game on a
# private Xvfb display. Usage: bench/debugmon/run_update_bench.sh [benchmark options]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target debugmon_bench kv_standin_game >/dev/null

display=""
for n in $(seq 130 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "no free X display in :130-:199" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done
DISPLAY="$display" "$build/bench/debugmon/debugmon_bench" "$@"

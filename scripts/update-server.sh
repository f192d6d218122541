#!/usr/bin/env bash
# Serves the demo's update server folder (build/<build>/demo/update-server, written by
# kvdemo) on http://127.0.0.1:8966, with the current launcher and renamer as the "newer"
# launcher and its renamer. Start the launcher with
#   KVS_UPDATE_URL=http://127.0.0.1:8966/Config.ini ./run
# and choose Tools > Check for updates.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=OFF >/dev/null
cmake --build "$build" --target kvdemo kvstarter Renamer >&2
"$build/tools/demo/kvdemo" "$PWD/$build/demo" >/dev/null
server="$PWD/$build/demo/update-server"
cp -f "$build/app/kvstarter" "$server/KVStarter.exe"
cp -f "$build/tools/renamer/Renamer" "$server/Renamer"
echo "Serving $server on http://127.0.0.1:8966 (Ctrl+C stops it)"
exec python3 -m http.server 8966 --bind 127.0.0.1 --directory "$server"

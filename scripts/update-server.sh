#!/usr/bin/env bash
# Serves the demo's update server folder (build/<build>/demo/update-server, written by
# kvdemo) on http://127.0.0.1:8966, with the current launcher and renamer as the "newer"
# launcher and its renamer. The configuration is signed with the demo's own key
# (<build>/demo/update-key, made once), which the demo launcher's settings name. Start the launcher with
#   KVS_UPDATE_URL=http://127.0.0.1:8966/Config.ini ./run
# and choose Tools > Check for updates.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=OFF >/dev/null
cmake --build "$build" --target kvdemo kvstarter Renamer kvstool >&2
"$build/tools/demo/kvdemo" "$PWD/$build/demo" >/dev/null
server="$PWD/$build/demo/update-server"
cp -f "$build/app/kvstarter" "$server/KVStarter.exe"
cp -f "$build/tools/renamer/Renamer" "$server/Renamer"
kvstool="$build/tools/kvstool/kvstool"
keys="$PWD/$build/demo/update-key"
[ -f "$keys/update-key.sec" ] || "$kvstool" update keygen "$keys" >/dev/null
# The launcher and the Renamer run as programs: a signed configuration names their SHA256.
launcher_sha=$(sha256sum "$server/KVStarter.exe" | cut -d' ' -f1)
renamer_sha=$(sha256sum "$server/Renamer" | cut -d' ' -f1)
for config in "$server/Config.ini" "$server/KVS/Config.ini"; do
    sed -i -e "s|^\( *\)URL = \".*/KVStarter.exe\"\r\$|&\n\1SHA256 = \"$launcher_sha\"\r|" \
        -e "s|^\( *\)SloURL = \".*/Renamer\"\r\$|&\n\1SHA256 = \"$renamer_sha\"\r|" "$config"
    "$kvstool" update sign "$keys/update-key.sec" "$config"
done
settings="$build/demo/launcher/Settings/starter.ini"
if [ -f "$settings" ] && ! grep -q '^UpdateKey=' "$settings"; then
    printf 'UpdateKey=%s\r\n' "$(cat "$keys/update-key.pub")" >>"$settings"
fi
echo "Serving $server on http://127.0.0.1:8966 (Ctrl+C stops it)"
exec python3 -m http.server 8966 --bind 127.0.0.1 --directory "$server"

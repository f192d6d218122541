# Sourced by ./run: writes the demo world into the build folder, puts the launcher
# executable into its launcher folder (the launcher's folder is its executable's folder)
# and the stand-in game into the game folder as its korvane.exe. Prints the executable to
# start.
kv_prepare_demo_world() {
    local build="$1"
    cmake --build "$build" --target kvdemo kv_standin_game >&2
    local launcher_folder
    launcher_folder=$("$build/tools/demo/kvdemo" "$PWD/$build/demo") || return 1
    cp -f "$build/app/kvstarter" "$launcher_folder/kvstarter"
    # kvdemo writes root/launcher and root/game side by side.
    local game_folder="${launcher_folder%/}"
    game_folder="${game_folder%/*}/game"
    cp -f "$(kv_demo_game "$build")" "$game_folder/korvane.exe"
    echo "$launcher_folder/kvstarter"
}

# The game the demo world gets: the native stand-in, or with KV_DEMO_WINE=1 (and Wine
# and MinGW-w64 installed) the Windows stand-in, which the launcher then runs through
# Wine. Opt-in: the cross build and a first Wine prefix add a minute or more to ./run.
# WINEDEBUG=-all keeps Wine's own messages off the terminal.
kv_demo_game() {
    local build="$1"
    if [ "${KV_DEMO_WINE:-}" = 1 ] && command -v wine >/dev/null &&
        command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
        if cmake -S tests/win32/cross -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" >&2 &&
            cmake --build "$build/win32" --target kv_standin_win32 >&2; then
            echo "$build/win32/bin/korvane.exe"
            return
        fi
        echo "The Windows stand-in could not be built; the demo uses the native one" >&2
    fi
    echo "$build/tools/standin-game/korvane.exe"
}

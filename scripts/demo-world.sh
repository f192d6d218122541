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
    cp -f "$build/tools/standin-game/korvane.exe" "$game_folder/korvane.exe"
    echo "$launcher_folder/kvstarter"
}

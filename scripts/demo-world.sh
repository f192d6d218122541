# Sourced by ./run: writes the demo world into the build folder and puts the launcher
# executable into its launcher folder (the launcher's folder is its executable's folder).
# Prints the executable to start.
kv_prepare_demo_world() {
    local build="$1"
    cmake --build "$build" --target kvdemo >&2
    local launcher_folder
    launcher_folder=$("$build/tools/demo/kvdemo" "$PWD/$build/demo") || return 1
    cp -f "$build/app/kvstarter" "$launcher_folder/kvstarter"
    echo "$launcher_folder/kvstarter"
}

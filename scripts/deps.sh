# Sourced by ./test and ./run: makes sure the Debian packages the build needs are here.
# As root it installs what is missing; otherwise it prints the one line to run and stops.

KV_PACKAGES_BUILD="cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libssl-dev libgl-dev libvulkan-dev libx11-dev libgtest-dev libgmock-dev libbenchmark-dev"
KV_PACKAGES_DISPLAY="xvfb xauth"
# The package test checks the .deb with Debian's own checker.
KV_PACKAGES_PACKAGING="lintian"
# The Windows cross build and Wine: `wine` brings the wine/wineboot/wineserver commands,
# `wine64` the 64-bit loader they start (32-bit Wine does not install here).
KV_PACKAGES_WINE="wine wine64 g++-mingw-w64-x86-64 googletest"

kv_missing_packages() {
    local missing=""
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $pkg"
        fi
    done
    echo "$missing"
}

kv_ensure_packages() {
    local missing
    missing=$(kv_missing_packages "$@")
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Please run:"
        echo "  sudo apt-get install -y$missing"
        exit 1
    fi
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    if ! apt-get install -y --no-install-recommends $missing; then
        apt-get update
        apt-get install -y --no-install-recommends $missing
    fi
}

# Starts Xvfb on a free display number and exports DISPLAY; the caller stops it with
# kv_stop_xvfb.
kv_start_xvfb() {
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        # -noreset: without it the server resets whenever its last client leaves, and a
        # client connecting meanwhile waits or is refused.
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        KV_XVFB_PID=$!
        for _ in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if kill -0 "$KV_XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
    done
    echo "Could not start Xvfb" >&2
    return 1
}

kv_stop_xvfb() {
    [ -n "${KV_XVFB_PID:-}" ] && kill "$KV_XVFB_PID" 2>/dev/null
    KV_XVFB_PID=""
}

#!/usr/bin/env bash
# install_test.sh BUILD prefix: installs the build into a temporary prefix, as a user
# would with `cmake --install`, and uses what was installed: kvstool on a map, the
# launcher's first start for a new user (its folder filled from the shipped files) and,
# under the test display, the launcher and the map viewer in real windows.
# install_test.sh BUILD package: the Debian package, its files and its dependencies.
# Two tests, as only the first needs the display.
set -euo pipefail
build="$1" part="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The Debian package: our programs and data under /usr, Debian's Qt as dependencies.
package() {
    (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null) ||
        fail "cpack -G DEB"
    deb=$(ls "$work"/korvane-starter_*.deb)
    contents=$(dpkg-deb -c "$deb")
    for file in ./usr/bin/kvstarter ./usr/bin/kvstool ./usr/bin/kvmapview \
        ./usr/share/man/man1/kvstool.1.gz ./usr/share/bash-completion/completions/kvstool \
        ./usr/share/doc/korvane-starter/copyright ./usr/share/doc/korvane-starter/changelog.gz \
        ./usr/share/applications/korvane-starter.desktop \
        ./usr/share/korvane-starter/launcher/Settings/KVS/OriginalKDGs.ini; do
        grep -q " $file\$" <<<"$contents" || fail "not in the package: $file"
    done
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6core6 libqt6widgets6 libqt6network6 qt6-qpa-plugins; do
        grep -q "$package" <<<"$depends" || fail "the package does not depend on $package: $depends"
    done
    dpkg-deb -x "$deb" "$work/unpacked"
    "$work/unpacked/usr/bin/kvstool" --help >/dev/null || fail "the packaged kvstool"
    # Debian's package checker finds no error (as root it warns about that; not an error).
    if command -v lintian >/dev/null; then
        errors=$(lintian "$deb" 2>&1 | grep '^E:' || true)
        [ -z "$errors" ] || fail "lintian: $errors"
    fi
    echo "packaged: $(basename "$deb")"
}
[ "$part" = package ] && { package; exit 0; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/kvstarter bin/kvmapview bin/kvstool lib/korvane-starter/Renamer \
    share/korvane-starter/launcher/Settings/KVS/OriginalKDGs.ini \
    share/applications/korvane-starter.desktop share/applications/korvane-starter-maps.desktop \
    share/icons/hicolor/scalable/apps/korvane-starter.svg \
    share/icons/hicolor/scalable/apps/korvane-starter-maps.svg \
    share/man/man1/kvstool.1.gz share/man/man1/kvstarter.1.gz share/man/man1/kvmapview.1.gz \
    share/bash-completion/completions/kvstool share/doc/korvane-starter/copyright; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
done
# The manual page and the completion say what the installed kvstool's help says.
zgrep -q 'kvstool map render' "$prefix/share/man/man1/kvstool.1.gz" || fail "man page without map render"
(source "$prefix/share/bash-completion/completions/kvstool" && COMP_WORDS=(kvstool map r) &&
    COMP_CWORD=2 && _kvstool && [ "${COMPREPLY[*]}" = render ]) || fail "bash completion of map r"
[ -d "$prefix/share/korvane-starter/launcher/Mods" ] || fail "no shipped Mods folder"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix"/share/applications/*.desktop
fi

# The installed kvstool works on its own.
"$prefix/bin/kvstool" --help | grep -q "usage: kvstool" || fail "kvstool --help"
"$build/tools/demo/kvdemo" "$work/demo" >/dev/null
map=$(ls "$work"/demo/launcher/Maps/*.lnd | head -n 1)
"$prefix/bin/kvstool" map info "$map" >/dev/null || fail "installed kvstool map info"

# A user's first start: their launcher folder comes from the shipped files, and a file
# they already have is kept. The leak checker would only report the GUI libraries.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
export ASAN_OPTIONS=detect_leaks=0
user="$XDG_DATA_HOME/KorvaneStarter"
mkdir -p "$user/Settings/KVS"
printf 'mine.kdg\r\n' > "$user/Settings/KVS/OriginalKDGs.ini"
cp "$work/demo/launcher/Settings/starter.ini" "$user/Settings/starter.ini"
if [ -n "${DISPLAY:-}" ]; then
    KV_SCREENSHOT="$work/launcher.png" timeout 60 "$prefix/bin/kvstarter" ||
        fail "the installed launcher did not start"
    [ -s "$work/launcher.png" ] || fail "no picture of the installed launcher"
    KV_SCREENSHOT="$work/viewer.png" timeout 60 "$prefix/bin/kvmapview" "$map" ||
        fail "the installed map viewer did not start"
    [ -s "$work/viewer.png" ] || fail "no picture of the installed map viewer"
    [ -d "$user/Mods" ] || fail "the user's launcher folder was not filled"
    grep -q mine.kdg "$user/Settings/KVS/OriginalKDGs.ini" || fail "a user's file was replaced"
    if [ -e "$prefix/bin/Mods" ] || [ -e "$prefix/bin/Settings" ]; then
        fail "the launcher wrote into the installed program folder"
    fi
else
    echo "no display: the installed windows were not started"
fi
# kvstool finds the launcher folder as kvstarter does, with the shipped list of the
# game's own archives: nothing else needs to be given.
"$prefix/bin/kvstool" kdg conflicts "$work/demo/game" >/dev/null ||
    fail "installed kvstool kdg conflicts GAME_FOLDER"
echo "installed into a prefix"

#!/usr/bin/env bash
# Wine prefixes for the tests. A fresh prefix costs many seconds and ~700 MB, so one
# template is made with "wineboot -i" and every test runs in a copy of it.
#   wine-prefix.sh prepare TEMPLATE          make the template unless it is current
#   wine-prefix.sh copy TEMPLATE PREFIX      make PREFIX a throw-away copy of it
#   wine-prefix.sh run TEMPLATE COMMAND...   run COMMAND in a throw-away copy
set -euo pipefail

export WINEDEBUG=-all LANG=C.UTF-8 WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="

prepare() {
    local template=$1 version
    version=$(wine --version)
    mkdir -p "$(dirname "$template")"
    exec 9>"$template.lock"
    flock 9
    if [ -f "$template/.kv-wine-version" ] && [ "$(cat "$template/.kv-wine-version")" = "$version" ]; then
        return 0
    fi
    rm -rf "$template"
    WINEPREFIX="$template" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$template" wineserver -w
    echo "$version" >"$template/.kv-wine-version"
}

# The system folder is nine tenths of a prefix and Wine only reads it once the prefix is
# current, so a copy links its files instead of copying them; the registry and the rest
# are copied, as a test may change them.
copy() {
    local template=$1 prefix=$2 system=drive_c/windows/system32
    mkdir -p "$prefix"
    tar -C "$template" --exclude="./$system" -cf - . | tar -C "$prefix" -xf -
    cp -al "$template/$system" "$prefix/$system"
}

run() {
    local template=$1 prefix rc=0
    shift
    prepare "$template"
    prefix=$(mktemp -d "${TMPDIR:-/tmp}/kv-wine-XXXXXX")
    copy "$template" "$prefix"
    WINEPREFIX="$prefix" "$@" || rc=$?
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    return $rc
}

case "${1:-}" in
prepare) prepare "$2" ;;
copy) copy "$2" "$3" ;;
run) shift; run "$@" ;;
*) echo "usage: wine-prefix.sh prepare TEMPLATE | copy TEMPLATE PREFIX | run TEMPLATE COMMAND..." >&2; exit 2 ;;
esac

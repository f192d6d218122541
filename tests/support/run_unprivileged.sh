#!/usr/bin/env bash
# Runs a test program as an unprivileged user. Root may write into read-only folders, so a
# test of what a player without those rights sees would only skip itself under root.
# A skipped test fails here: the point is that it runs.
set -euo pipefail
run() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
    scratch=$(mktemp -d)
    chmod 1777 "$scratch"
    trap 'rm -rf "$scratch"' EXIT
    run() { setpriv --reuid=nobody --regid=nogroup --clear-groups \
                env HOME="$scratch" TMPDIR="$scratch" "$@"; }
fi
output=$(run "$@" 2>&1) && status=0 || status=$?
printf '%s\n' "$output"
if grep -q '^\[  SKIPPED \]' <<<"$output"; then
    echo "the test skipped itself: it did not run without privileges" >&2
    exit 1
fi
exit "$status"

#!/usr/bin/env bash
# Times `kvstool kdg extract` against GNU `tar -xf` on the same 2000 files (1 GiB): both
# inputs are built from one folder of generated files, both outputs go to the same file
# system, and the two extractions alternate so that neither gets a warmer machine.
# Budget: kvstool within 1.25x of tar.
#
#   bench/kdg/extract_vs_tar.sh [BUILD_DIR] [ROUNDS] [BASELINE_KVSTOOL]
#                                                        (default build/rel, 5 rounds)
#
# kvstool makes the extracted files durable before they take their names, which tar does
# not; "tar+sync" (tar -xf, then sync) is timed as well, as the reference that writes the
# same data to disk. BASELINE_KVSTOOL, another build's kvstool, joins the alternation so
# that a change is measured against the code before it on the same machine load.
#
# BUILD_DIR must hold a Release build of kvstool and kdg_make_bench_archive. Everything
# generated lives in one folder under /tmp and is deleted at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/rel}" && pwd)
rounds=${2:-5}
baseline=${3:-}
kvstool=$build/tools/kvstool/kvstool
maker=$build/bench/kdg/kdg_make_bench_archive
for tool in "$kvstool" "$maker"; do
    [ -x "$tool" ] || { echo "missing $tool: build it first" >&2; exit 2; }
done

work=$(mktemp -d /tmp/kdg-extract-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/tables"

# 2000 files in 10 folders, 1 GiB in all, sizes spread between 0.5x and 1.5x the mean.
python3 - "$work/src" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(1)
pool = rng.randbytes(8 << 20)
total, count = 1 << 30, 2000
weights = [rng.uniform(0.5, 1.5) for _ in range(count)]
scale = total / sum(weights)
sizes = [int(w * scale) for w in weights]
sizes[-1] += total - sum(sizes)
for i, size in enumerate(sizes):
    folder = os.path.join(root, "group%02d" % (i % 10))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%04d.bin" % i), "wb") as f:
        start = rng.randrange(len(pool) // 2)
        while size > 0:
            piece = pool[start:start + min(size, len(pool) - start)]
            f.write(piece)
            size -= len(piece)
            start = 0
PY
tar -cf "$work/files.tar" -C "$work/src" .
"$maker" "$work/files.kdg" "$work/tables" "$work/src" >/dev/null
echo "inputs: $(du -b "$work/files.tar" | cut -f1) bytes tar, $(du -b "$work/files.kdg" | cut -f1) bytes kdg"

# The first kvstool run also proves the output: the same tree as the tar's.
mkdir "$work/check"
"$kvstool" kdg extract "$work/files.kdg" "$work/check" --tables "$work/tables" >/dev/null
diff -r "$work/src" "$work/check" >/dev/null || { echo "extracted files differ" >&2; exit 1; }
rm -rf "$work/src" "$work/check"

# Wall-clock and CPU (user + system) seconds of one run; pending writes of the previous run
# are flushed first so that neither pays for the other's.
timed() {
    local TIMEFORMAT='%R %U %S' out
    sync
    out=$( { time "$@" >/dev/null; } 2>&1 )
    read -r wall user sys <<<"$out"
    echo "$wall $(echo "$user + $sys" | bc -l)"
}

tar_wall=() kdg_wall=() tar_cpu=() kdg_cpu=() tarsync_wall=() old_wall=()
run_tar() {
    rm -rf "$work/out"; mkdir "$work/out"
    read -r w c < <(timed tar -xf "$work/files.tar" -C "$work/out")
    tar_wall+=("$w"); tar_cpu+=("$c")
}
run_tarsync() {
    rm -rf "$work/out"; mkdir "$work/out"
    read -r w c < <(timed sh -c 'tar -xf "$1" -C "$2" && sync' sh "$work/files.tar" "$work/out")
    tarsync_wall+=("$w")
}
run_kdg() {
    rm -rf "$work/out"; mkdir "$work/out"
    read -r w c < <(timed "$kvstool" kdg extract "$work/files.kdg" "$work/out" --tables "$work/tables")
    kdg_wall+=("$w"); kdg_cpu+=("$c")
}
run_old() {
    rm -rf "$work/out"; mkdir "$work/out"
    read -r w c < <(timed "$baseline" kdg extract "$work/files.kdg" "$work/out" --tables "$work/tables")
    old_wall+=("$w")
}
runs=(run_tar run_tarsync run_kdg)
[ -n "$baseline" ] && runs+=(run_old)
# Rotating order evens out drifting machine load.
for ((r = 1; r <= rounds; r++)); do
    for ((i = 0; i < ${#runs[@]}; i++)); do
        "${runs[(i + r) % ${#runs[@]}]}"
    done
    printf 'round %d: tar %.3f s (cpu %.3f), tar+sync %.3f s, kvstool %.3f s (cpu %.3f)' "$r" \
        "${tar_wall[-1]}" "${tar_cpu[-1]}" "${tarsync_wall[-1]}" "${kdg_wall[-1]}" "${kdg_cpu[-1]}"
    [ -n "$baseline" ] && printf ', baseline kvstool %.3f s' "${old_wall[-1]}"
    echo
done
rm -rf "$work/out"

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
tar_median=$(median "${tar_wall[@]}")
kdg_median=$(median "${kdg_wall[@]}")
ratio=$(echo "$kdg_median / $tar_median" | bc -l)
cpu_ratio=$(echo "$(median "${kdg_cpu[@]}") / $(median "${tar_cpu[@]}")" | bc -l)
printf 'median: tar %.3f s, kvstool %.3f s, ratio %.2f (budget 1.25); cpu ratio %.2f\n' \
    "$tar_median" "$kdg_median" "$ratio" "$cpu_ratio"
tarsync_median=$(median "${tarsync_wall[@]}")
printf 'median: tar+sync %.3f s, kvstool / tar+sync %.2f\n' "$tarsync_median" \
    "$(echo "$kdg_median / $tarsync_median" | bc -l)"
if [ -n "$baseline" ]; then
    old_median=$(median "${old_wall[@]}")
    printf 'median: baseline kvstool %.3f s, baseline / tar %.2f\n' "$old_median" \
        "$(echo "$old_median / $tar_median" | bc -l)"
fi
[ "$(echo "$ratio <= 1.25" | bc -l)" = 1 ]

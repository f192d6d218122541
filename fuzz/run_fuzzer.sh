#!/bin/sh
# Runs one fuzz target from its kept corpus plus the build folder's own, where new finds
# go, so that each run starts where the last left off.
#   run_fuzzer.sh TARGET RUNS WORK_CORPUS KEPT_CORPUS
# KV_FUZZ_SECONDS=N runs the target for N seconds (random seed) instead of RUNS inputs.
set -eu
target=$1 runs=$2 work=$3 kept=$4
mkdir -p "$work"
[ -d "$kept" ] || kept=
if [ -n "${KV_FUZZ_SECONDS:-}" ]; then
    exec "$target" -max_total_time="$KV_FUZZ_SECONDS" -timeout=25 "$work" $kept
fi
# Realistic seeds make each input slower; the short run stops at half a minute as well.
exec "$target" -runs="$runs" -max_total_time=30 -seed=1 -timeout=25 "$work" $kept

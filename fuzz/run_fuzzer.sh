#!/bin/sh
# Runs one fuzz target from its kept corpus plus the build folder's own, where new finds
# go, so that each run starts where the last left off.
#   run_fuzzer.sh TARGET RUNS SECONDS WORK_CORPUS KEPT_CORPUS
# The short run replays both corpora whole, then fuzzes until RUNS inputs or SECONDS have
# passed, whichever comes first: the suite's share of the fuzzing time.
# KV_FUZZ_SECONDS=N runs the target for N seconds (random seed) instead.
set -eu
target=$1 runs=$2 seconds=$3 work=$4 kept=$5
mkdir -p "$work"
[ -d "$kept" ] || kept=
if [ -n "${KV_FUZZ_SECONDS:-}" ]; then
    exec "$target" -max_total_time="$KV_FUZZ_SECONDS" -timeout=25 "$work" $kept
fi
exec "$target" -runs="$runs" -max_total_time="$seconds" -seed=1 -timeout=25 "$work" $kept

#!/usr/bin/env bash
# One short fuzz run for CTest: TARGET over a fresh scratch copy of SEEDS in WORK for SECONDS seconds. New inputs
# and any crash go to WORK, never into the committed seeds; a crash or a broken invariant fails the test.
# Usage: fuzz/run-bounded.sh TARGET SEEDS WORK SECONDS
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4
rm -rf "$work"
mkdir -p "$work/corpus"
cp "$seeds"/* "$work/corpus/"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
exec "$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus"

#!/usr/bin/env bash
# Open-ended fuzzing, only when asked (./test.sh --fuzz SECONDS): TARGET mutates the inputs of CORPUS and
# CRASHES for SECONDS seconds (default $TD_FUZZ_SECONDS). It finds new inputs in the scratch folder WORK; those
# that add coverage to CORPUS are merged into it afterwards (named by their SHA-1, as libFuzzer names them), and
# a crash, leak or timeout is written straight into CRASHES, so that a find is committed with its fix and every
# later test run replays it. A find fails the run.
# Usage: fuzz/run-bounded.sh TARGET CORPUS CRASHES WORK [SECONDS [LIBFUZZER_FLAG...]]
# Without SECONDS and TD_FUZZ_SECONDS it does nothing and exits with 77, which CTest counts as skipped; every
# failure ends with 1.
set -euo pipefail
target=$1 corpus=$2 crashes=$3 work=$4 seconds=${5:-${TD_FUZZ_SECONDS:-0}}
shift $(($# < 5 ? $# : 5))
if [[ $seconds == 0 ]]; then
  echo "open-ended fuzzing runs only when asked: ./test.sh --fuzz SECONDS, or TD_FUZZ_SECONDS=N"
  exit 77
fi
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "run-bounded: SECONDS must be a number, not \"$seconds\"" >&2; exit 2; }
rm -rf "$work"
mkdir -p "$work/new" "$corpus" "$crashes"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
known_crashes=$(find "$crashes" -maxdepth 1 -type f | wc -l)
status=0
# libFuzzer writes new inputs into the first folder only and reads all of them.
"$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$crashes/" "$@" "$work/new" "$corpus" "$crashes" || status=$?

# What the run found before it ended, crash or not, is kept where it adds coverage.
before=$(find "$corpus" -maxdepth 1 -type f | wc -l)
if ! "$target" -merge=1 -timeout=5 -rss_limit_mb=2048 -artifact_prefix="$work/" "$corpus" "$work/new" \
  >"$work/merge.log" 2>&1; then
  echo "run-bounded: merging into $corpus failed (see $work/merge.log)" >&2
  [[ $status -ne 0 ]] || status=1
fi
after=$(find "$corpus" -maxdepth 1 -type f | wc -l)
echo "run-bounded: $((after - before)) new corpus files in $corpus"
found_crashes=$(( $(find "$crashes" -maxdepth 1 -type f | wc -l) - known_crashes ))
if [[ $status -ne 0 ]]; then
  echo "run-bounded: FAILED (libFuzzer ended with $status); $found_crashes new crash files in $crashes" >&2
  echo "run-bounded: commit each with its fix; every test run replays them" >&2
  # libFuzzer reports a find with 77 by default, which CTest would take for the skip below.
  exit 1
fi

#!/usr/bin/env bash
# The fuzz stage of every test run: TARGET executes each file in the FOLDERs once (its corpus and the crash
# files kept for it), with no mutation, so the verdict depends only on the tree. A crash, a sanitizer report, a
# broken invariant, a leak or a timeout on any input fails it; the last "Running:" line names that input.
# Usage: fuzz/replay.sh TARGET FOLDER...   (a missing FOLDER holds nothing)
set -euo pipefail
target=$1
shift
inputs=()
for folder in "$@"; do
  [[ -d $folder ]] || continue
  # Hidden files are not inputs (an editor's or a file manager's leftovers).
  mapfile -t -O "${#inputs[@]}" inputs < <(find "$folder" -maxdepth 1 -type f ! -name '.*' | LC_ALL=C sort)
done
if [[ ${#inputs[@]} -eq 0 ]]; then
  echo "replay: no inputs in $*" >&2
  exit 1
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# Given files rather than folders, libFuzzer runs each once and writes nothing anywhere.
if "$target" -timeout=5 -rss_limit_mb=2048 "${inputs[@]}"; then
  echo "replay: ${#inputs[@]} inputs passed"
else
  status=$?
  echo "replay FAILED with status $status on the input of the last \"Running:\" line above" >&2
  exit "$status"
fi

#!/usr/bin/env bash
# Checks the fuzz scripts with PROBE, a target that aborts on inputs beginning with "!!", in the scratch folder
# WORK: an open-ended run fails with 1 (not the skip code), keeps the crash file and merges the inputs that led
# there into the corpus; the replay then fails naming that file, and passes over every corpus file once the crash
# file is gone; without a time the open-ended run is skipped.
# Usage: fuzz/harness/check-harness.sh PROBE WORK
set -euo pipefail
probe=$1 work=$2
scripts=$(cd "$(dirname "$0")/.." && pwd)
fail() {
  [[ -f $work/log ]] && cat "$work/log"
  echo "check-harness: $*" >&2
  exit 1
}
count() { find "$1" -maxdepth 1 -type f | wc -l; }

rm -rf "$work"
mkdir -p "$work/corpus"
printf 'seed' >"$work/corpus/seed"

# A fixed seed makes the probe's run the same every time.
status=0
"$scripts/run-bounded.sh" "$probe" "$work/corpus" "$work/crashes" "$work/scratch" 120 -seed=1 >"$work/log" 2>&1 ||
  status=$?
[[ $status -eq 1 ]] || fail "the open-ended run ended with $status, not 1, although the probe crashed"
crash=$(find "$work/crashes" -maxdepth 1 -name 'crash-*' | head -n 1)
[[ -n $crash && $(head -c 2 "$crash") == '!!' ]] || fail "no crash file beginning with !! was kept"
[[ $(count "$work/corpus") -gt 1 ]] || fail "nothing the run found was merged into the corpus"

if "$scripts/replay.sh" "$probe" "$work/corpus" "$work/crashes" >"$work/log" 2>&1; then
  fail "the replay passed over a crash file"
fi
grep -qxF "Running: $crash" "$work/log" || fail "the replay did not name the crash file"

rm "$crash"
"$scripts/replay.sh" "$probe" "$work/corpus" "$work/crashes" "$work/missing" >"$work/log" 2>&1 ||
  fail "the replay failed without a crash file"
[[ $(grep -c '^Running: ' "$work/log") -eq $(count "$work/corpus") ]] || fail "the replay left out corpus files"

status=0
env -u TD_FUZZ_SECONDS "$scripts/run-bounded.sh" "$probe" "$work/corpus" "$work/crashes" "$work/scratch" \
  >"$work/log" 2>&1 || status=$?
[[ $status -eq 77 ]] || fail "the open-ended run without a time ended with $status instead of being skipped"
echo "check-harness: the scripts keep, replay and skip as they should"

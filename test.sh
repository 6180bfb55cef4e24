#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer configuration, and runs every test; then builds
# the fuzz targets with clang and replays each over its corpus and the crash files kept in fuzz/ (no new random
# inputs, so a run's verdict depends only on the tree).
# Usage: ./test.sh [--fuzz SECONDS]
#   --fuzz SECONDS  afterwards fuzzes each target open-ended for SECONDS seconds; new inputs that add coverage
#                   join fuzz/corpus/<target>/ and crash files land in fuzz/crashes/<target>/, ready to commit
#                   with the fix.
set -euo pipefail
cd "$(dirname "$0")"

fuzz_seconds=0
while [[ $# -gt 0 ]]; do
  case $1 in
    --fuzz)
      [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || { echo "test.sh: --fuzz needs a number of seconds" >&2; exit 2; }
      fuzz_seconds=$2
      shift 2
      ;;
    *) echo "usage: ./test.sh [--fuzz SECONDS]" >&2; exit 2 ;;
  esac
done

# The tests compare what tools print (gammu's names, its English words); without a UTF-8 locale a fresh machine
# prints "?" for every character beyond ASCII, and a language of the user's would translate the words.
export LC_ALL=C.UTF-8
unset LANGUAGE

./scripts/install-deps.sh
# An include against the layers fails the run before anything is built.
./scripts/check-layers.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
for cfg in build:OFF:RelWithDebInfo build-asan:ON:Debug; do
  IFS=: read -r dir san type <<<"$cfg"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DTD_SANITIZE="$san" >/dev/null
  cmake --build "$dir" -j "$jobs"
done
# The fuzz configuration: clang with libFuzzer, only the fuzz targets and the libraries they link.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTD_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_targets
status=0
for dir in build build-asan; do
  echo "== tests in $dir"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" || status=1
done
echo "== fuzz targets in build-fuzz: replay of the corpus and the kept crash files"
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j "$jobs" || status=1
if [[ $fuzz_seconds -gt 0 ]]; then
  echo "== fuzz targets in build-fuzz: open-ended for $fuzz_seconds seconds each"
  started=build-fuzz/fuzz/open-ended.started
  touch "$started"
  TD_FUZZ_SECONDS=$fuzz_seconds ctest --test-dir build-fuzz -L open-ended --output-on-failure -j "$jobs" \
    --timeout $((fuzz_seconds + 600)) || status=1
  echo "== new files from the open-ended runs (a crash file is committed with its fix):"
  { find fuzz/corpus fuzz/crashes -type f -newer "$started" -printf '%h\n' 2>/dev/null || true; } | sort | uniq -c
fi
exit $status

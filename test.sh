#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer configuration, and runs every test; then builds
# the fuzz targets with clang and runs each briefly over its seeds.
set -euo pipefail
cd "$(dirname "$0")"
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
echo "== fuzz targets in build-fuzz"
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j "$jobs" || status=1
exit $status

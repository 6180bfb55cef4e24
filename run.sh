#!/usr/bin/env bash
# Installs what is missing, builds, and starts Telephone Directory; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target telephone-directory telephone-emulator telephone-link
exec ./build/telephone-directory "$@"

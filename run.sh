#!/usr/bin/env bash
# Installs what is missing, builds, and starts Telephone Directory; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
# Without a UTF-8 locale (a fresh machine often has none set) the tools print "?" for every character beyond
# ASCII; a UTF-8 locale of the user's stays, so that the program keeps the user's language and formats.
[[ $(locale charmap 2>/dev/null) == UTF-8 ]] || export LC_ALL=C.UTF-8
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target telephone-directory telephone-emulator telephone-link
exec ./build/telephone-directory "$@"

#!/bin/sh
# Makes the README's and the software catalogue's screenshots, light and dark, from a build (default build/):
#   scripts/make-screenshots.sh [build-folder]
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target telephone-directory-screenshot
LC_ALL=C.UTF-8 "$build/telephone-directory-screenshot" docs/screenshot.png
LC_ALL=C.UTF-8 "$build/telephone-directory-screenshot" --dark docs/screenshot-dark.png

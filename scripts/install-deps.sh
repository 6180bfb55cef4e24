#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
set -euo pipefail
# clang and libclang-rt-14-dev (libFuzzer and the sanitizer runtimes) build the fuzz targets.
# librsvg2-bin renders the program's PNG icons from its SVG; desktop-file-utils and appstream validate the
# launcher and the catalogue entry; python3-vobject reads the vCards the program writes, independently of it.
# qtkeychain-qt6-dev keeps the synchronization's password in the desktop keyring.
# radicale is the real CardDAV server the tests of the CardDAV client start on 127.0.0.1; vdirsyncer is an
# independent CardDAV client that checks what the program leaves on such a server; openssl makes the
# self-signed certificate of the server the tests reach over https.
packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libsqlite3-dev sqlite3 gammu qtkeychain-qt6-dev
          fonts-dejavu-core clang libclang-rt-14-dev
          librsvg2-bin desktop-file-utils appstream python3-vobject radicale vdirsyncer openssl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

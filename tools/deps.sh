#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and run (and, with
# "tests", what the test suite needs too). Safe to run again.
set -euo pipefail
packages=(cmake g++ make pkg-config libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
          libogg-dev libtheora-dev libpng-dev)
if [ "${1:-}" = tests ]; then
  packages+=(googletest libgtest-dev ffmpeg python3 libsdl1.2-compat
                desktop-file-utils appstream groff-base binutils
                debhelper dpkg-dev lintian clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages only.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev   # host build and unit tests
  g++-mingw-w64-x86-64-win32                      # the Windows cross-compiler
  wine wine64                                     # running the program and its tests
  xvfb xauth x11-utils imagemagick                # a virtual display and screenshots
  fonts-wqy-microhei                              # Chinese glyphs for 宋体 under Wine
  zip python3                                     # the release zip (scripts/package.sh), the docs check
  clang libclang-rt-14-dev                        # the fuzzers (scripts/fuzz.sh): libFuzzer and the sanitizers
  ntfs-3g ntfs-3g-dev libfsntfs-utils             # NTFS test images (mkntfs, libntfs-3g) and an independent reader
  rifiuti2                                        # rifiuti-vista: an independent reader of the Recycle Bin's records
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"

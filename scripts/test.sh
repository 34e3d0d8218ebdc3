#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the host unit tests
# and the fuzz targets' saved inputs under the sanitizers,
# then the Windows tests under Wine and the end-to-end window tests twice,
# once as Wine's default Windows and once as Windows XP x64 (NT 5.2).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh host-sanitized windows   # the build checks the program's imports
# The benchmark is built only when it runs, but it drives the window with the end-to-end tests'
# ProgramDriver: build it here too, so that a change to the driver cannot leave it broken.
cmake --build --preset windows --target cc_bench

echo "== the release zip: the suite's build and a clean one give the same bytes"
scripts/check-reproducible.sh

echo "== host unit tests and fuzz-corpus replays, under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --preset host-sanitized

source scripts/with-display.sh
rm -rf build/screenshots
status=0
# $1: the prefix, $2: the Windows version Wine plays there (empty: its default).
wine_suite() {
  export CC_WINEPREFIX="$PWD/build/$1"
  source scripts/wine-env.sh
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"   # a fresh, throw-away prefix every run
  scripts/wine-prefix.sh
  if [ -n "$2" ]; then
    "$CC_WINE" winecfg -v "$2" >/dev/null 2>&1
    wineserver -w
  fi
  echo "== Windows and end-to-end tests under Wine as $("$CC_WINE" cmd /c ver 2>/dev/null | tr -d '\r' | grep -v '^$')"
  wineserver -w   # drives change below: the next start must see them
  scripts/test-fixtures.sh
  ctest --preset windows || status=$?
  wineserver -k 2>/dev/null || true
}
wine_suite wine-test-prefix ""
wine_suite wine-xp-test-prefix winxp64
exit $status

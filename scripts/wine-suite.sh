#!/usr/bin/env bash
# Runs the Windows and end-to-end tests under Wine in a fresh, throw-away prefix,
# with the test drives of scripts/test-fixtures.sh. Needs a display: source
# scripts/with-display.sh first.
# $1: the prefix's folder under build/, $2: the Windows version Wine plays there (empty: its default).
set -euo pipefail
cd "$(dirname "$0")/.."
export CC_WINEPREFIX="$PWD/build/$1"
source scripts/wine-env.sh
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
scripts/wine-prefix.sh
if [ -n "$2" ]; then
  "$CC_WINE" winecfg -v "$2" >/dev/null 2>&1
  wineserver -w
fi
echo "== Windows and end-to-end tests under Wine as $("$CC_WINE" cmd /c ver 2>/dev/null | tr -d '\r' | grep -v '^$')"
wineserver -w   # drives change below: the next start must see them
scripts/test-fixtures.sh
status=0
ctest --preset windows || status=$?
wineserver -k 2>/dev/null || true
exit $status

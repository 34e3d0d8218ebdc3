#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the host unit tests,
# the Windows tests under Wine and the end-to-end window tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh host windows

echo "== host unit tests"
ctest --preset host

echo "== Windows and end-to-end tests under Wine"
unset CC_WINEPREFIX
source scripts/wine-env.sh
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX" build/screenshots   # a fresh, throw-away prefix every run
source scripts/with-display.sh
scripts/wine-prefix.sh
scripts/test-fixtures.sh
status=0
ctest --preset windows || status=$?
wineserver -k 2>/dev/null || true
exit $status

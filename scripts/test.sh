#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the release zip's and the
# docs' checks, the host unit tests and the fuzz targets' saved inputs under the
# sanitizers, then the Windows tests under Wine and the end-to-end window tests twice,
# once as Wine's default Windows (then the README's pictures are held against its
# screenshots) and once as Windows XP x64 (NT 5.2).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh host-sanitized windows   # the build checks the program's imports
# The benchmark is built only when it runs, but it drives the window with the end-to-end tests'
# ProgramDriver: build it here too, so that a change to the driver cannot leave it broken.
cmake --build --preset windows --target cc_bench

echo "== the release zip: the suite's build and a clean one give the same bytes"
scripts/check-reproducible.sh

echo "== the docs: every link, path and script they name is there"
scripts/check-docs.sh

echo "== host unit tests and fuzz-corpus replays, under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --preset host-sanitized

source scripts/with-display.sh
rm -rf build/screenshots
status=0
wine_suite() { scripts/wine-suite.sh "$@" || status=$?; }
wine_suite wine-test-prefix ""
echo "== the README's pictures are what the program draws"
scripts/screenshots.sh --check || status=$?   # before the XP run draws over them
wine_suite wine-xp-test-prefix winxp64
exit $status

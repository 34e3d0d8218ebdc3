#!/usr/bin/env bash
# Builds and runs the junk-scan benchmark under Wine, in a prefix of its own
# whose drive T: holds the synthetic tree (built once, then reused).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh windows
cmake --build --preset windows --target cc_bench_junk
export CC_WINEPREFIX="$PWD/build/wine-bench-prefix"
source scripts/wine-env.sh
source scripts/with-display.sh
scripts/wine-prefix.sh
drive="$WINEPREFIX/drive_t"
mkdir -p "$drive"
ln -sfn "$drive" "$WINEPREFIX/dosdevices/t:"
scripts/wine-run.sh "$PWD/build/windows/cc_bench_junk.exe"

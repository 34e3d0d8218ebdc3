#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program under Wine: on the
# real display when there is one, else on a virtual one, leaving a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh windows
export CC_WINEPREFIX="${CC_WINEPREFIX:-$PWD/build/wine-prefix}"
source scripts/with-display.sh
scripts/wine-prefix.sh
exe="$PWD/build/windows/ChengchuanCleaner.exe"
mkdir -p build/screenshots
if [ "$CC_VIRTUAL_DISPLAY" = 1 ]; then
  scripts/wine-run.sh "$exe" &
  program=$!
  sleep "${CC_SCREENSHOT_AFTER:-8}"
  import -window root build/screenshots/start.png
  echo "start: the program is running on a virtual display; screenshot: build/screenshots/start.png"
  source scripts/wine-env.sh
  wineserver -k || true
  wait "$program" 2>/dev/null || true
else
  scripts/wine-run.sh "$exe"
fi

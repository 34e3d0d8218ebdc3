#!/usr/bin/env bash
# Fails unless the release zip made from the suite's build and the one made
# from a clean build folder are the same bytes: anyone can check a published
# zip against the sources it was made from.
set -euo pipefail
cd "$(dirname "$0")/.."
CC_BUILD_DIR=build/windows scripts/package.sh >/dev/null
clean=build/reproduce
rm -rf "$clean"
cmake --preset windows -B "$clean" >/dev/null
cmake --build "$clean" --target ChengchuanCleaner -j "$(nproc)" >/dev/null
CC_BUILD_DIR="$clean" CC_RELEASE_DIR=build/release-reproduced scripts/package.sh >/dev/null
for dir in build/release build/release-reproduced; do cat "$dir"/*.zip.sha256; done
if cmp -s build/release/*.zip build/release-reproduced/*.zip; then
  echo "reproducible: the clean build gives the same zip"
else
  echo "reproducible: FAILED, the clean build gives another zip" >&2
  exit 1
fi

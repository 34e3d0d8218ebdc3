#!/usr/bin/env bash
# Makes the pictures the README shows (docs/images/) from the end-to-end run:
# builds, runs the Windows and end-to-end tests under Wine as scripts/test.sh does,
# and copies the screenshots they took.
# scripts/screenshots.sh --check [FOLDER] makes nothing: it fails when a picture in
# docs/images/ no longer matches the screenshot of the run in FOLDER (default
# build/screenshots): another size, or more than a few pixels that differ.
set -euo pipefail
cd "$(dirname "$0")/.."
# docs/images/<name>.png  from  <screenshots>/<screenshot>.png
pictures=(junk-found:junk_found shortcuts-found:shortcuts_found repair-found:repair_found patterns-192dpi:192dpi_junk2)
# A pixel differs when a channel is off by more than FUZZ of its range (antialiasing may
# shade glyph edges a little otherwise); a picture matches while at most MAX_PIXELS
# differ (the border of the one button under the pointer may be lit or not): why these values is in docs/testing.md.
fuzz=10% max_pixels=300

if [ "${1:-}" = --check ]; then
  shots="${2:-build/screenshots}" failed=0
  for pair in "${pictures[@]}"; do
    committed="docs/images/${pair%%:*}.png" drawn="$shots/${pair#*:}.png"
    if [ ! -f "$drawn" ]; then
      echo "pictures: $drawn was not taken" >&2; failed=1; continue
    fi
    size_committed="$(identify -format %wx%h "$committed")" size_drawn="$(identify -format %wx%h "$drawn")"
    if [ "$size_committed" != "$size_drawn" ]; then
      echo "pictures: $committed is $size_committed, the program draws $size_drawn" >&2; failed=1; continue
    fi
    differing="$(compare -metric AE -fuzz "$fuzz" "$committed" "$drawn" null: 2>&1 || true)"
    if [ "${differing%%[!0-9]*}" != "$differing" ] || [ "$differing" -gt "$max_pixels" ]; then
      echo "pictures: $committed differs from $drawn in $differing pixels (at most $max_pixels allowed)" >&2; failed=1
    else
      echo "pictures: $committed matches ($differing pixels differ)"
    fi
  done
  [ "$failed" = 0 ] || echo "pictures: run scripts/screenshots.sh to make them again, and look at them" >&2
  exit "$failed"
fi

scripts/install-deps.sh
scripts/build.sh windows
# scripts/test-fixtures.sh makes the test drives' NTFS image with the host build's ntfs_fixture.
[ -f build/host-sanitized/build.ninja ] || cmake --preset host-sanitized
cmake --build --preset host-sanitized --target ntfs_fixture
source scripts/with-display.sh
rm -rf build/screenshots
scripts/wine-suite.sh wine-test-prefix "" || { echo "pictures: the tests failed, no picture made" >&2; exit 1; }
mkdir -p docs/images
for pair in "${pictures[@]}"; do
  # Lossless: the check compares the committed pixels with what the program draws.
  convert "build/screenshots/${pair#*:}.png" -strip -define png:compression-level=9 "docs/images/${pair%%:*}.png"
done
ls -l docs/images

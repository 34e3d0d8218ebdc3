#!/usr/bin/env bash
# Makes an NTFS image of SIZE bytes and the same tree as a folder, both from one list on standard input
# (tests/fixtures/NtfsFixture.c says what a list holds): TOOL is that program, built by the host presets.
# Usage: scripts/ntfs-image.sh TOOL IMAGE FOLDER SIZE < LIST
set -euo pipefail
tool="$1" image="$2" folder="$3" size="$4"
rm -rf "$image" "$folder"
mkdir -p "$folder" "$(dirname "$image")"
truncate -s "$size" "$image"
mkntfs --fast --force --quiet --label cc-test "$image" >/dev/null 2>&1
"$tool" "$image" "$folder"

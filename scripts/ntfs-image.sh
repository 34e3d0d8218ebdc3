#!/usr/bin/env bash
# Makes an NTFS image of SIZE bytes and the same tree as a folder, both from one list on standard input
# (tests/fixtures/NtfsFixture.c says what a list holds): TOOL is that program, built by the host presets.
# Any further arguments go to mkntfs: a geometry ("-s 4096 -c 65536": sectors, clusters; records follow the sectors).
# Usage: scripts/ntfs-image.sh TOOL IMAGE FOLDER SIZE [MKNTFS-OPTION...] < LIST
set -euo pipefail
tool="$1" image="$2" folder="$3" size="$4"
shift 4
rm -rf "$image" "$folder"
mkdir -p "$folder" "$(dirname "$image")"
truncate -s "$size" "$image"
mkntfs --fast --force --quiet --label cc-test "$@" "$image" >/dev/null 2>&1
"$tool" "$image" "$folder"

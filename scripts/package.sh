#!/usr/bin/env bash
# Builds the program and leaves the release in build/release/: a zip holding
# ChengchuanCleaner.exe, the user guide 使用说明.txt and SHA256SUMS.txt (the exe's
# sum), with the zip's own sum beside it. The same sources give the same zip, byte for byte:
# the exe's header and every time stamp in the zip carry the last commit's time.
# CC_BUILD_DIR: the Windows build to take the program from (default build/windows,
# built here with the windows preset); CC_RELEASE_DIR: where the release goes.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${CC_BUILD_DIR:-build/windows}"
if [ -z "${CC_BUILD_DIR:-}" ]; then
  scripts/install-deps.sh
  scripts/build.sh windows   # the build checks the program's imports
fi
version="$(sed -n 's/^project(ChengchuanCleaner VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="ChengchuanCleaner-$version-x64"
out="$PWD/${CC_RELEASE_DIR:-build/release}"
stamp="$(git log -1 --format=%ct 2>/dev/null || echo 0)"
rm -rf "${out:?}/$name" "$out/$name.zip" "$out/$name.zip.sha256"
mkdir -p "$out/$name"
cp "$build/ChengchuanCleaner.exe" "$out/$name/"
# The user guide as Notepad on XP x64 reads Unicode: UTF-8 with a BOM, CRLF line ends.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' docs/使用说明.txt; } > "$out/$name/使用说明.txt"
# No symbols: a quarter of the size. strip writes a time into the header: the commit's.
SOURCE_DATE_EPOCH="$stamp" x86_64-w64-mingw32-strip "$out/$name/ChengchuanCleaner.exe"
cd "$out/$name"
sha256sum ChengchuanCleaner.exe > SHA256SUMS.txt
chmod 644 ./*
chmod 755 .
touch -d "@$stamp" . ./*
cd "$out"
# Names in a fixed order, no extra fields (owners, Unix times), times in UTC.
mapfile -t files < <(find "$name" -type f | LC_ALL=C sort)
TZ=UTC zip -X -q "$name.zip" "$name/" "${files[@]}"
# zip stores the names' UTF-8 bytes without saying so; set the flag that says they are UTF-8
# (general purpose bit 11), in each entry of the central directory and in its local header.
python3 - "$name.zip" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
end = data.rfind(b"PK\x05\x06")
count, _, start = struct.unpack_from("<HII", data, end + 10)
for _ in range(count):
    assert data[start:start + 4] == b"PK\x01\x02"
    data[start + 9] |= 0x08   # bit 11: bit 3 of the flags' high byte
    local = struct.unpack_from("<I", data, start + 42)[0]
    data[local + 7] |= 0x08
    start += 46 + sum(struct.unpack_from("<HHH", data, start + 28))
open(sys.argv[1], "wb").write(data)
PY
sha256sum "$name.zip" > "$name.zip.sha256"
echo "package: $out/$name.zip"
cat "$out/$name.zip.sha256"

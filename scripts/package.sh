#!/usr/bin/env bash
# Builds the program and leaves the release in build/release/: a zip holding
# ChengchuanCleaner.exe, README.md and SHA256SUMS.txt (the exe's sum), with the
# zip's own sum beside it. Same sources, same zip: every time stamp is the
# last commit's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh windows   # the build checks the program's imports
version="$(sed -n 's/^project(ChengchuanCleaner VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="ChengchuanCleaner-$version-x64"
out="$PWD/build/release"
rm -rf "${out:?}/$name" "$out/$name.zip" "$out/$name.zip.sha256"
mkdir -p "$out/$name"
cp build/windows/ChengchuanCleaner.exe README.md "$out/$name/"
x86_64-w64-mingw32-strip "$out/$name/ChengchuanCleaner.exe"   # no symbols: a quarter of the size
cd "$out/$name"
sha256sum ChengchuanCleaner.exe > SHA256SUMS.txt
stamp="$(git -C "$OLDPWD" log -1 --format=%ct 2>/dev/null || date +%s)"
touch -d "@$stamp" . ./*
cd "$out"
TZ=UTC zip -X -q -r "$name.zip" "$name"
sha256sum "$name.zip" > "$name.zip.sha256"
echo "package: $out/$name.zip"
cat "$out/$name.zip.sha256"

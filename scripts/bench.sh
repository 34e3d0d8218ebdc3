#!/usr/bin/env bash
# Benchmarks the real program in its real window under Wine, in a prefix of
# its own (build/wine-bench-prefix): T: holds a tree of 200,000 files in
# 20,220 folders, U: one folder of 200,000 files and 5,000 broken shortcuts,
# V: the tree's 100,000 junk files again, to be deleted directly, W: nothing
# (a scan of it is the fixed cost of a click, subtracted from the others).
# Then R: and M:, NTFS images of 200,000 and 1,000,000 files with their trees
# as folders, and S:, R:'s folder walked, for the scans through a file table.
# The drives are built once and reused; the program and the benchmark are
# reached through Y:, and there is no Z:, so the shortcut scan of every drive
# never walks the machine itself.
#
# scripts/bench.sh --start-up [--rounds N] [EARLIER.exe ...] times only the
# start of the program against notepad's, at 96 and 192 DPI, and needs none
# of the drives (an earlier build to compare: its absolute path, under
# build/windows/).
#
# scripts/bench.sh --table runs only the scans through a file table (R:, Q:, M:), the images built once.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
start_up=() table_only=
if [ "${1:-}" = --table ]; then table_only=1; shift; fi
if [ "${1:-}" = --start-up ]; then
  start_up=(--start-up)
  shift
  if [ "${1:-}" = --rounds ]; then start_up+=(--rounds "$2"); shift 2; fi
  [ -f build/windows/build.ninja ] || cmake --preset windows
  cmake --build --preset windows --target ChengchuanCleaner cc_bench
else
  scripts/build.sh windows
  cmake --build --preset windows --target cc_bench
fi
export CC_WINEPREFIX="$PWD/build/wine-bench-prefix"
source scripts/wine-env.sh
source scripts/with-display.sh
scripts/wine-prefix.sh

# Builds the drives once; later runs only put back the junk files deleted.
lay_out_drives() {
  python3 - "$WINEPREFIX" <<'PY'
import os, sys
prefix = sys.argv[1]
tree, flat, copy = (os.path.join(prefix, d) for d in ("drive_t", "drive_u/flat", "drive_v"))
names = ["report.docx", "photo.jpg", "notes.txt", "setup.log", "cache.tmp",
         "data.bin", "~lock.doc", "old.bak", "readme.md", "Thumbs.db"]   # 5 of 10 are junk
whole = os.path.exists(os.path.join(tree, "tree-complete"))
if not whole: print("building the tree on T: (once)...", flush=True)
for a in range(20):
    for b in range(10):
        for c in range(100):
            for root, wanted in ((tree, names), (copy, names[3:5] + names[6:8] + names[9:])):
                leaf = os.path.join(root, f"top{a}", f"mid{b}", f"leaf{c}")
                os.makedirs(leaf, exist_ok=True)
                for name in wanted:
                    path = os.path.join(leaf, name)
                    if not os.path.exists(path):
                        with open(path, "w") as f: f.write("x")
open(os.path.join(tree, "tree-complete"), "w").close()
if not os.path.exists(os.path.join(flat, "f199999.dat")):
    os.makedirs(flat, exist_ok=True)
    for i in range(200000):   # 20,000 of them *.tmp
        with open(os.path.join(flat, f"f{i}.tmp" if i % 10 == 0 else f"f{i}.dat"), "w") as f: f.write("x")
PY
}

dev="$WINEPREFIX/dosdevices"
io="$CC_ROOT/build/wine-bench-io"
mkdir -p "$io"
ln -sfn ../windows "$io/windows"
ln -sfn "$io" "$dev/y:"
rm -f "$dev/z:"
if [ ${#start_up[@]} -gt 0 ]; then
  cd "$io"   # Y:\, a folder the prefix reaches
  exec "$CC_ROOT/scripts/wine-run.sh" "$CC_ROOT/build/windows/cc_bench.exe" "${start_up[@]}" \
    "$CC_ROOT/build/windows/ChengchuanCleaner.exe" "$@"
fi

ln -sfn "$WINEPREFIX/drive_t" "$dev/t:"
ln -sfn "$WINEPREFIX/drive_u" "$dev/u:"
ln -sfn "$WINEPREFIX/drive_v" "$dev/v:"
mkdir -p "$WINEPREFIX/drive_w"
ln -sfn "$WINEPREFIX/drive_w" "$dev/w:"
rm -f "$dev/r:" "$dev/r::" "$dev/s:" "$dev/m:" "$dev/m::" "$dev/p:" "$dev/q:" "$dev/q::"   # the cases above walk every drive: none of these
if [ -z "$table_only" ]; then
  lay_out_drives
  scripts/wine-run.sh "$PWD/build/windows/cc_bench.exe" "$PWD/build/windows/ChengchuanCleaner.exe"
fi

# NTFS drives read through their file table (cc_bench --table): R: a tree of 200,000 files in 2,000 folders as
# an image (its raw volume, r::) and as the same tree in a folder (r:), S: that folder alone, M: 1,000,000 files
# as R:. 1% are junk, ten files in every tenth folder, as junk gathers in temporary and cache folders.
[ -f build/host-sanitized/build.ninja ] || cmake --preset host-sanitized >/dev/null
cmake --build --preset host-sanitized --target ntfs_fixture
ntfs_tree() {   # $1: its name in the prefix, $2: the image's size, $3: top folders of 100 folders of 100 files
  [ -f "$WINEPREFIX/$1.complete" ] && return
  echo "building $1 as an NTFS image and a folder (once)..."
  python3 - "$3" <<'PY' | scripts/ntfs-image.sh build/host-sanitized/ntfs_fixture "$WINEPREFIX/$1.ntfs" "$WINEPREFIX/$1" "$2"
import sys
out = sys.stdout
for a in range(int(sys.argv[1])):
    out.write(f"folder\ttop{a}\n")
    for b in range(100):
        out.write(f"folder\ttop{a}/leaf{b}\n")
        junk = 10 if b % 10 == 0 else 0
        for c in range(100 - junk): out.write(f"file\ttop{a}/leaf{b}/f{c}.dat\t1\n")
        for c in range(junk): out.write(f"file\ttop{a}/leaf{b}/cache{c}.tmp\t1\n")
PY
  touch "$WINEPREFIX/$1.complete"
}
ntfs_wide() {   # $1: its name in the prefix: 60 folders of 1,000 files, ten of them *.tmp in each
  [ -f "$WINEPREFIX/$1.complete" ] && return
  echo "building $1 as an NTFS image and a folder (once)..."
  python3 - <<'PY' | scripts/ntfs-image.sh build/host-sanitized/ntfs_fixture "$WINEPREFIX/$1.ntfs" "$WINEPREFIX/$1" 512M
import sys
out = sys.stdout
for a in range(60):
    out.write(f"folder\tfolder{a}\n")
    for c in range(1000): out.write(f"file\tfolder{a}/" + (f"cache{c}.tmp" if c % 100 == 0 else f"f{c}.dat") + "\t1\n")
PY
  touch "$WINEPREFIX/$1.complete"
}
ntfs_wide table-wide
ntfs_tree table-200k 1G 20
ntfs_tree table-1m 4G 100
wineserver -w   # the drives change: the next start must see them
ln -sfn "$WINEPREFIX/table-200k" "$dev/r:"
ln -sfn "$WINEPREFIX/table-200k.ntfs" "$dev/r::"
ln -sfn "$WINEPREFIX/table-200k" "$dev/s:"
ln -sfn "$WINEPREFIX/table-1m" "$dev/m:"
ln -sfn "$WINEPREFIX/table-1m.ntfs" "$dev/m::"
ln -sfn "$WINEPREFIX/table-wide" "$dev/q:"
ln -sfn "$WINEPREFIX/table-wide.ntfs" "$dev/q::"
ln -sfn "$WINEPREFIX/table-wide" "$dev/p:"
scripts/wine-run.sh "$PWD/build/windows/cc_bench.exe" --table "$PWD/build/windows/ChengchuanCleaner.exe"

#!/usr/bin/env bash
# Lays out what the Wine tests need inside the test prefix: a drive T: of
# their own (a folder of the prefix), symbolic-link loops, which Wine shows
# as reparse points and which the Windows API here cannot create, and an
# NTFS volume N:.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

fixtures="$WINEPREFIX/drive_c/cc-fixtures"
rm -rf "$fixtures"
mkdir -p "$fixtures/tree/inner" "$fixtures/links"
# The shortcut corpus and its table, which the reader's Wine test holds against the shell.
cp "$CC_ROOT"/tests/fuzz/corpus/ShellLinkFuzz/*.lnk "$CC_ROOT/tests/host/LinkCorpus.tsv" "$fixtures/links/"
ln -s .. "$fixtures/tree/inner/loop"          # leads back up: endless if followed

drive="$WINEPREFIX/drive_t"
rm -rf "$drive"
mkdir -p "$drive"
ln -sfn "$drive" "$WINEPREFIX/dosdevices/t:"
ln -s . "$drive/loop"                          # T:\loop is T:\ again

# Folder swaps, as a standard user would make them after a scan listed a
# file of theirs: T:\swap\<set>\alt\user is a link to the "privileged"
# folder C:\cc-fixtures\priv-<set>; a test renames cur away and alt into its
# place. Links to plant as shortcuts: T:\planted\link.lnk leads to a real
# shortcut beside it (made by the test), pipe.lnk is a named pipe.
for set in platform recycle; do
  mkdir -p "$drive/swap/$set/alt" "$fixtures/priv-$set"
  ln -s "$fixtures/priv-$set" "$drive/swap/$set/alt/user"
done
# The backup's folders: T:\backup\<case>\cur\base stands for the machine's
# application data, and level n of the backup below it (0 the base itself,
# 1 澄川清理助手, 2 备份, 3 the test's user, 4 the folder of a start-page
# repair at 2026-12-08 09:05:07) is a link to C:\cc-fixtures\priv-backup:
# planted beforehand in cur for the cases planted-n, in alt for the cases
# swapped-n, which a test swaps in while the backup is being written.
levels=(base 澄川清理助手 备份 S-1-5-21-7-7-7-1001 20261208-090507-IE首页修改)
mkdir -p "$fixtures/priv-backup"
for n in 0 1 2 3 4; do
  for kind in planted swapped; do
    set="$drive/backup/$kind-$n"
    side=cur; [ "$kind" = swapped ] && side=alt && mkdir -p "$set/cur/base"
    parent="$set/$side"
    for ((i = 0; i < n; i++)); do parent="$parent/${levels[i]}"; done
    mkdir -p "$parent"
    ln -s "$fixtures/priv-backup" "$parent/${levels[n]}"
  done
done
# A profile moved to another drive with a link, as an administrator does it:
# T:\moved\Users leads to C:\cc-fixtures\moved-users.
mkdir -p "$fixtures/moved-users" "$drive/moved"
ln -s "$fixtures/moved-users" "$drive/moved/Users"
mkdir -p "$drive/planted"
ln -s real.lnk "$drive/planted/link.lnk"
mkfifo "$drive/planted/pipe.lnk"

# U: holds a Recycle Bin that is a link to the privileged folder C:\cc-fixtures\priv-bin, as a user could plant it.
bin="$WINEPREFIX/drive_u"
rm -rf "$bin"
mkdir -p "$bin" "$fixtures/priv-bin"
ln -s "$fixtures/priv-bin" "$bin/\$Recycle.Bin"
ln -sfn "$bin" "$WINEPREFIX/dosdevices/u:"

# N: is an NTFS volume twice: the image that ntfs_fixture (tests/fixtures/NtfsFixture.c, built by the host
# presets) writes with libntfs-3g is its raw volume (\\.\N:, the dosdevice n::), and the same tree as a folder
# is the drive (N:\), so that a scan through the volume's file table and the folder walk read one tree.
"$CC_ROOT/tests/fixtures/ntfs-tree.sh" |
  "$CC_ROOT/scripts/ntfs-image.sh" "$CC_ROOT/build/host-sanitized/ntfs_fixture" "$WINEPREFIX/drive_n.ntfs" "$WINEPREFIX/drive_n" 64M
ln -sfn "$WINEPREFIX/drive_n" "$WINEPREFIX/dosdevices/n:"
ln -sfn "$WINEPREFIX/drive_n.ntfs" "$WINEPREFIX/dosdevices/n::"

# No Z: drive: the shortcut scan walks every drive, and Z: would be the whole
# machine. The test programs reach their files through Y: instead, a folder
# of links that the scans do not follow.
io="$CC_ROOT/build/wine-io"
mkdir -p "$io" "$CC_ROOT/build/screenshots"
ln -sfn ../windows "$io/windows"
ln -sfn ../screenshots "$io/screenshots"
ln -sfn /proc "$io/proc"                      # what Linux reports, for the system-query comparisons
ln -sfn /sys "$io/sys"
ln -sfn "$io" "$WINEPREFIX/dosdevices/y:"
rm -f "$WINEPREFIX/dosdevices/z:"

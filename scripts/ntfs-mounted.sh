#!/usr/bin/env bash
# Runs a command (a Wine test) with N: as one NTFS volume read two ways, as on Windows: a copy of the image that
# scripts/test-fixtures.sh made, mounted with ntfs-3g (FUSE) as the drive's folder (N:\) and read raw as its volume
# (\\.\N:). ntfs-3g gives each file its record number as its inode number, so the walk, the deletion and the file
# table agree on numbers. Where FUSE cannot mount, N: stays the image with its twin folder; which ran is said.
# The copy is unmounted and N: put back however the command ends.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
dev="$WINEPREFIX/dosdevices" image="$WINEPREFIX/drive_n-mounted.ntfs" mount="$WINEPREFIX/drive_n-mounted"
# The server is stopped, and then its end awaited: a console host that a test's child left behind can keep it
# up for good, so waiting alone may never end.
put_back() {
  wineserver -k 2>/dev/null; wineserver -w
  if mountpoint -q "$mount"; then umount "$mount" 2>/dev/null || fusermount -u "$mount"; fi
  ln -sfn "$WINEPREFIX/drive_n" "$dev/n:"
  ln -sfn "$WINEPREFIX/drive_n.ntfs" "$dev/n::"
  rmdir "$mount" 2>/dev/null
  rm -f "$image"
}
trap put_back EXIT
wineserver -k 2>/dev/null; wineserver -w   # the drive changes: the next start must see it
mkdir -p "$mount"
cp "$WINEPREFIX/drive_n.ntfs" "$image"
if [ -e /dev/fuse ] && ntfs-3g "$image" "$mount" 2>/dev/null; then
  ln -sfn "$mount" "$dev/n:"
  ln -sfn "$image" "$dev/n::"
  echo "N: is the NTFS image mounted with ntfs-3g"
else
  echo "N: is the NTFS image and its twin folder: ntfs-3g could not mount here"
fi
"$@"

#!/usr/bin/env bash
# Remakes the shortcut corpus in tests/fuzz/corpus/ShellLinkFuzz/: shell-*.lnk
# saved by Wine's shell link object (scripts/link-corpus/wine-links.js, in a
# throw-away prefix) and form-*.lnk built byte by byte for the forms Wine does
# not write (scripts/link-corpus/forms.py). Then run scripts/link-oracle.py
# and compare its lnkinfo column with tests/host/LinkCorpus.tsv.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
corpus="$root/tests/fuzz/corpus/ShellLinkFuzz"
export CC_WINEPREFIX="$root/build/link-corpus-prefix"
source "$root/scripts/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || { mkdir -p "$WINEPREFIX"; "$CC_WINE" wineboot -i >/dev/null 2>&1 || true; wineserver -w; }
out="$(mktemp -d)"
"$CC_WINE" wscript "$(cc_windows_path "$root/scripts/link-corpus/wine-links.js")" "$(cc_windows_path "$out")"
wineserver -w
rm -f "$corpus"/shell-*.lnk "$corpus"/form-*.lnk
cp "$out"/shell-*.lnk "$corpus"/
rm -rf "$out"
python3 "$root/scripts/link-corpus/forms.py" "$corpus"
ls "$corpus"

#!/usr/bin/env bash
# Fails when the exe imports a function that cmake/xp64-imports.txt does not
# list, imports a library that cmake/allowed-dlls.txt does not list, lacks
# the Terminal Server, DEP or ASLR marks, or when its header asks for a
# Windows later than NT 5.2 (XP x64).
# Run after every link of the program; usage: check-imports.sh EXE [LIST [DLLS]]
set -euo pipefail
exe="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
list="${2:-$root/cmake/xp64-imports.txt}"
dlls="${3:-$root/cmake/allowed-dlls.txt}"
objdump="${CC_OBJDUMP:-x86_64-w64-mingw32-objdump}"
header="$("$objdump" -p "$exe")"

# "dll function" per import, DLL names in lower case; by ordinal: "dll #N".
imports="$(awk '
  /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
  /^[[:space:]]*$/ { dll = "" }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, (NF >= 3 ? $3 : "#" $2) }
' <<<"$header" | sort -u)"
allowed="$(sed 's/#.*//' "$list" | awk 'NF == 2 { print tolower($1), $2 }' | sort -u)"
[ -n "$imports" ] || { echo "check-imports: no imports read from $exe" >&2; exit 1; }

status=0
unlisted="$(comm -23 <(echo "$imports") <(echo "$allowed"))"
if [ -n "$unlisted" ]; then
  echo "check-imports: $exe imports what Windows XP x64 may not export (not in $list):" >&2
  sed 's/^/  /' <<<"$unlisted" >&2
  status=1
fi
unknown="$(comm -23 <(cut -d' ' -f1 <<<"$imports" | sort -u) <(sed 's/#.*//' "$dlls" | awk 'NF { print tolower($1) }' | sort -u))"
if [ -n "$unknown" ]; then
  echo "check-imports: $exe imports libraries Windows may take from the program's folder (not in $dlls):" >&2
  sed 's/^/  /' <<<"$unknown" >&2
  status=1
fi
for mark in TERMINAL_SERVICE_AWARE NX_COMPAT DYNAMIC_BASE; do
  if ! awk '/^DllCharacteristics/ { on = 1; next } on && NF == 1 { print $1; next } { on = 0 }' <<<"$header" | grep -qx "$mark"; then
    echo "check-imports: $exe lacks the $mark mark" >&2
    status=1
  fi
done
for field in OSystem Subsystem; do
  major="$(awk -v f="Major${field}Version" '$1 == f { print $2 }' <<<"$header")"
  minor="$(awk -v f="Minor${field}Version" '$1 == f { print $2 }' <<<"$header")"
  if [ $((major * 100 + minor)) -gt 502 ]; then
    echo "check-imports: $exe asks for ${field} version $major.$minor; NT 5.2 loads 5.2 at most" >&2
    status=1
  fi
done
[ $status -ne 0 ] || echo "check-imports: $(wc -l <<<"$imports") imports, all exported by Windows XP x64, from known system libraries"
exit $status

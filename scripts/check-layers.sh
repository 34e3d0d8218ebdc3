#!/usr/bin/env bash
# Fails when a source of the program includes a header from its own layer's
# neighbour or from a layer above it: an include only goes down.
# The layers, top to bottom; folders on one line are peers and never include
# each other. A folder missing here fails the check until it is given a layer.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(
  "app"                               # start-up and the wiring of every handler
  "junk shortcuts sysinfo repair"     # the four features
  "files"                             # the file work both scans share
  "ui"                                # the control layer and the window
  "platform"                          # Windows behind interfaces: the seams, and win32/ behind them
  "formats"                           # pure decoders of byte formats: the standard library only
  "state resources"                   # the shared state and records; resource numbers
)
declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

status=0
while IFS= read -r line; do
  file="${line%%:*}"
  target="$(sed -E 's/.*#include "([^"]*)".*/\1/' <<<"$line")"
  from="${file%%/*}"
  to="${target%%/*}"
  [ "$target" != "$to" ] || continue    # a header of the same folder, no path
  [ "$from" != "$to" ] || continue
  for folder in "$from" "$to"; do
    if [ -z "${rank[$folder]+set}" ]; then
      echo "check-layers: $file: folder $folder/ has no layer in $0" >&2
      status=1
      continue 2
    fi
  done
  if [ "${rank[$to]}" -le "${rank[$from]}" ]; then
    echo "check-layers: $file includes $target, which is not below $from/" >&2
    status=1
  fi
done < <(find . \( -path ./build -o -path ./tests -o -path ./bench -o -path ./.git \) -prune -o \
           \( -name '*.h' -o -name '*.cpp' \) -print | sed 's#^\./##' | sort |
         xargs grep -H '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' || true)
exit $status

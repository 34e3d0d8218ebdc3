#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix; absolute Unix paths among
# the arguments are handed over as Wine paths.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$CC_ROOT/scripts/wine-prefix.sh"
args=()
for a in "$@"; do
  if [[ $a == /* ]]; then args+=("$(cc_windows_path "$a")"); else args+=("$a"); fi
done
exec "$CC_WINE" "${args[@]}"

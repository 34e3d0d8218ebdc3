# Sourced by the scripts that run Wine: one place for its settings.
# CC_WINEPREFIX chooses the prefix; the default is the throw-away test prefix.
CC_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${CC_WINEPREFIX:-$CC_ROOT/build/wine-test-prefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -x /usr/lib/wine/wine64 ]; then CC_WINE=/usr/lib/wine/wine64; else CC_WINE=wine; fi

# A Unix path as Wine sees it through its Z: drive.
cc_windows_path() {
  local p="$1"
  printf 'Z:%s' "${p//\//\\}"
}

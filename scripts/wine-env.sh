# Sourced by the scripts that run Wine: one place for its settings.
# CC_WINEPREFIX chooses the prefix; the default is the throw-away test prefix.
CC_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${CC_WINEPREFIX:-$CC_ROOT/build/wine-test-prefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -x /usr/lib/wine/wine64 ]; then CC_WINE=/usr/lib/wine/wine64; else CC_WINE=wine; fi

# A Unix path as Wine sees it: the build's programs and screenshots through
# Y: in the test prefix (which has no Z:), anything else through Z:.
cc_windows_path() {
  local p="$1" rest
  if [ -e "$WINEPREFIX/dosdevices/y:" ]; then
    for dir in windows screenshots; do
      case "$p" in
        "$CC_ROOT/build/$dir"|"$CC_ROOT/build/$dir"/*)
          rest="${p#"$CC_ROOT/build/"}"
          printf 'Y:\\%s' "${rest//\//\\}"
          return ;;
      esac
    done
  fi
  printf 'Z:%s' "${p//\//\\}"
}

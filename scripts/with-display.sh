# Sourced: uses the real display when there is one, else starts Xvfb.
# Sets CC_VIRTUAL_DISPLAY=1 when it started one (stopped on exit).
CC_VIRTUAL_DISPLAY=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  CC_XVFB_PID=$!
  trap 'kill $CC_XVFB_PID 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  CC_VIRTUAL_DISPLAY=1
fi

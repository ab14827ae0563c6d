# X display for the GUI tests and the demo; sourced.
# shellcheck shell=bash
_xvfb_pid=""

# Starts a private Xvfb when no DISPLAY is set; stop_display ends it.
need_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; echo "[display] Xvfb on :$n"; return 0; }
      kill -0 "$_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "[display] could not start Xvfb" >&2
  return 1
}

stop_display() {
  if [ -n "$_xvfb_pid" ]; then
    kill "$_xvfb_pid" 2>/dev/null || true
    wait "$_xvfb_pid" 2>/dev/null || true
    _xvfb_pid=""
  fi
}

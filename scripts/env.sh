# Shared settings of the project's scripts: where caches and the Wine prefix live,
# and helpers that start the Xvfb display and a persistent Wine server.
# Sourced, never run.

VX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VX_CACHE=${VX_CACHE:-$HOME/.cache/vexlo}
export WINEPREFIX=${VX_WINEPREFIX:-$VX_CACHE/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
VX_BUILD_WIN=${VX_BUILD_WIN:-$VX_ROOT/build/win}
VX_BUILD_NATIVE=${VX_BUILD_NATIVE:-$VX_ROOT/build/native}
VX_JOBS=${VX_JOBS:-$(nproc)}

vx_log() { printf '[vexlo] %s\n' "$*" >&2; }

# Start an Xvfb display unless one is already usable. Sets DISPLAY.
vx_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 91 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  VX_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  vx_log "Xvfb did not start on $DISPLAY"; return 1
}

# Keep one Wine server alive for the whole run, so each Wine process starts fast.
# The first program also starts Wine's services and the virtual desktop; it runs here,
# with its output going nowhere, so that no later program's output pipe is held open
# by those long-lived processes.
# A server of this prefix left from an earlier run is ended first: its virtual desktop
# lives on that run's display, which may be gone, and every window made through it
# would fail. One prefix serves one run at a time; parallel runs set VX_WINEPREFIX.
vx_start_wineserver() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 || true
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

vx_stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${VX_XVFB_PID:-}" ]; then kill "$VX_XVFB_PID" 2>/dev/null || true; fi
}

# Saves the Wine virtual desktop (the whole Xvfb screen, cropped to the desktop's
# size) as a PNG.
vx_capture() {
  local out=$1
  mkdir -p "$(dirname "$out")"
  import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$out"
}

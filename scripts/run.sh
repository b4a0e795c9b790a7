#!/usr/bin/env bash
# The one command that sets up a fresh machine, builds the program, stages the
# distribution folder and starts the program under Wine.
# With no display set, it starts an Xvfb display, shows the program in the Wine virtual
# desktop there, saves a screenshot and says where it went; the program then keeps
# running until it is closed or Ctrl-C is pressed (VX_RUN_SECONDS=N ends it after N s).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VX_ROOT/scripts/setup.sh"
"$VX_ROOT/scripts/build.sh" win >/dev/null
dist="$VX_BUILD_WIN/dist"
"$VX_ROOT/scripts/stage.sh" "$dist"

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  unset DISPLAY
  headless=1
fi
vx_start_display
vx_start_wineserver
trap vx_stop_all EXIT

(cd "$dist" && exec wine VXEncoder.exe </dev/null) &
app=$!
vx_log "VXEncoder.exe started from $dist (display $DISPLAY)"
if [ "$headless" = 1 ]; then
  sleep 5
  shot="$VX_ROOT/build/screenshots/run.png"
  vx_capture "$shot"
  vx_log "no display was set: the program runs on Xvfb; screenshot: $shot"
fi
if [ -n "${VX_RUN_SECONDS:-}" ]; then
  sleep "$VX_RUN_SECONDS"
  kill "$app" 2>/dev/null || true
fi
wait "$app" || true

#!/usr/bin/env bash
# Starts a Windows program (or test) in the Wine virtual desktop on Xvfb, waits, and
# saves a PNG of the desktop.
#   scripts/screenshot.sh OUT.png [--wait SECONDS] [--keep] PROGRAM.exe [ARGS...]
# With --keep the program is left running (and the display with it); otherwise both
# are ended after the picture is taken.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

out=$1; shift
wait_seconds=4
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --wait) wait_seconds=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { echo "usage: $0 OUT.png [--wait S] [--keep] PROGRAM.exe [ARGS...]" >&2; exit 2; }

unset DISPLAY
vx_start_display
vx_start_wineserver
program=$1; shift
(cd "$(dirname "$program")" && wine "$(basename "$program")" "$@" </dev/null >/dev/null 2>&1) &
app=$!
sleep "$wait_seconds"
vx_capture "$out"
echo "$out"
if [ "$keep" = 0 ]; then
  kill "$app" 2>/dev/null || true
  vx_stop_all
fi

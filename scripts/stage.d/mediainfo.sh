#!/usr/bin/env bash
# Puts the MediaInfo library, built by scripts/deps/mediainfo.sh, into DIST/codecs.
# Without it the program still runs; only the file information stays unavailable.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../env.sh"
dist=$1
dll="$VX_CACHE/deps/mediainfo/bin/MediaInfo.dll"
if [ ! -f "$dll" ]; then
  vx_log "MediaInfo.dll not built (scripts/deps/mediainfo.sh): file information will be unavailable"
  exit 0
fi
mkdir -p "$dist/codecs"
cp -p "$dll" "$dist/codecs/MediaInfo.dll"

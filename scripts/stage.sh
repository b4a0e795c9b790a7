#!/usr/bin/env bash
# Completes the distribution folder beside VXEncoder.exe: the codecs folder with what
# the build and the set-up provide. Usage: scripts/stage.sh DIST
# (DIST is the build's dist folder, which already holds VXEncoder.exe.)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
dist=$1
mkdir -p "$dist/codecs"
# Each script in scripts/stage.d adds its part (encoder, engine, catalogue, libraries).
for part in "$VX_ROOT"/scripts/stage.d/*.sh; do
  [ -e "$part" ] || continue
  "$part" "$dist"
done

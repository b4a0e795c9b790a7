#!/usr/bin/env bash
# Completes the distribution folder beside VXEncoder.exe: the codecs folder with what
# the build and the set-up provide. Usage: scripts/stage.sh DIST
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
dist=$1
mkdir -p "$dist/codecs"

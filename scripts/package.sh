#!/usr/bin/env bash
# Makes the zip a Windows user unpacks and runs: build/Vexlo-1.3.zip, holding the folder
# Vexlo-1.3 with VXEncoder.exe, codecs\ (encoder, engine, catalogue, libraries) and
# samples\. Builds and stages first. Usage: scripts/package.sh [OUTPUT.zip]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

out=${1:-$VX_ROOT/build/Vexlo-1.3.zip}
# Only what ships is built: the program, the encoder and its codecs folder.
if [ ! -f "$VX_BUILD_WIN/build.ninja" ]; then
  cmake -S "$VX_ROOT" -B "$VX_BUILD_WIN" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$VX_ROOT/cmake/mingw-i686.cmake" \
    -DVX_DEPS_DIR="$VX_CACHE/deps" >/dev/null
fi
cmake --build "$VX_BUILD_WIN" -j "$VX_JOBS" --target VXEncoder mencoder encoder_codecs >/dev/null
dist="$VX_BUILD_WIN/dist"
"$VX_ROOT/scripts/stage.sh" "$dist"

for needed in VXEncoder.exe codecs/mencoder.exe codecs/ffmpeg.exe codecs/VXEncoderParameters.ini; do
  [ -f "$dist/$needed" ] || { vx_log "missing from the distribution: $needed"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/Vexlo-1.3"
# The user's settings file (codecs\VXEncoder.ini) is made by the program on its first
# close; one left by a test run is not shipped.
(cd "$dist" && find . -type f ! -path ./codecs/VXEncoder.ini ! -name '*.log' ! -name '*.txt' -print0 |
  xargs -0 cp --parents -t "$work/Vexlo-1.3")
# The builds keep debug information; the shipped programs do without.
find "$work/Vexlo-1.3" -type f \( -iname '*.exe' -o -iname '*.dll' \) ! -iname ffmpeg.exe \
  -exec i686-w64-mingw32-strip {} +
mkdir -p "$(dirname "$out")"
rm -f "$out"
(cd "$work" && zip -q -r -9 -X "$(realpath -m "$out")" Vexlo-1.3)
vx_log "package: $out ($(du -h "$out" | cut -f1))"

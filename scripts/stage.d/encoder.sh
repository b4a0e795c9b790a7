#!/usr/bin/env bash
# Puts the bundled encoder (mencoder.exe), its engine (ffmpeg.exe) and the profile
# catalogue (VXEncoderParameters.ini, UTF-16) into DIST/codecs, and a few short sample
# clips into DIST/samples. Usage: scripts/stage.d/encoder.sh DIST
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../env.sh"
dist=$1
codecs="$dist/codecs"
mkdir -p "$codecs" "$dist/samples"

copy() {  # copy FILE FOLDER, unless it is that very file already
  [ "$(realpath "$1")" = "$(realpath -m "$2/$(basename "$1")")" ] || cp -f "$1" "$2/"
}

built="$VX_BUILD_WIN/dist/codecs/mencoder.exe"
[ -f "$built" ] || { vx_log "mencoder.exe is not built ($built): run scripts/build.sh win"; exit 1; }
copy "$built" "$codecs"
[ -f "$VX_CACHE/deps/ffmpeg/ffmpeg.exe" ] || "$VX_ROOT/scripts/deps/ffmpeg.sh"
copy "$VX_CACHE/deps/ffmpeg/ffmpeg.exe" "$codecs"
python3 "$VX_ROOT/scripts/ini-utf16.py" "$VX_ROOT/assets/codecs/VXEncoderParameters.utf8.ini" \
  "$codecs/VXEncoderParameters.ini"

# Sample clips: five seconds of a moving test pattern with a tone, in the containers
# people meet most. Made once with the machine's ffmpeg and cached by recipe version.
samples="$VX_CACHE/samples-2"
if [ ! -f "$samples/.made" ]; then
  vx_log "making the sample clips"
  rm -rf "$samples"; mkdir -p "$samples"
  make_clip() {  # make_clip NAME SIZE RATE TONE-HZ CODEC-ARGUMENTS...
    local name=$1 size=$2 rate=$3 tone=$4; shift 4
    ffmpeg -hide_banner -loglevel error -nostdin -y \
      -f lavfi -i "testsrc2=size=$size:rate=$rate" -f lavfi -i "sine=frequency=$tone:sample_rate=44100" \
      -t 5 "$@" "$samples/$name"
  }
  make_clip "sample 640x480.avi" 640x480 25 440 -c:v mpeg4 -q:v 4 -vtag XVID -c:a libmp3lame -b:a 128k
  make_clip "sample 352x288 VCD.mpg" 352x288 25 523 -c:v mpeg1video -b:v 1150k -c:a mp2 -b:a 224k
  make_clip "sample 1280x720.mp4" 1280x720 30 659 -c:v libx264 -preset fast -pix_fmt yuv420p -c:a aac -b:a 128k
  make_clip "sample 320x240.flv" 320x240 25 784 -c:v flv -b:v 400k -c:a libmp3lame -b:a 64k -ar 44100
  make_clip "sample 640x360.wmv" 640x360 30 880 -c:v wmv2 -b:v 800k -c:a wmav2 -b:a 128k
  touch "$samples/.made"
fi
cp -f "$samples"/*.* "$dist/samples/"

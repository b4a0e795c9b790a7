#!/usr/bin/env bash
# Redraws every generated picture: the skin (assets/skin), the skin engine's bitmap
# resources (assets/resources), the program's pictures (assets/app, including the
# banner JPEG with the product name set in the CJK font) and the proof sheet
# docs/screenshots/skin-elements.png. Builds the generator natively first.
#
#   bash tools/skingen/regenerate.sh
#
# Commit the changed files together with the generator change that made them; the
# native test test_skingen fails while the committed files differ from the generator.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${VX_BUILD_NATIVE:-$root/build/native}
jobs=${VX_JOBS:-1}
font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
# The real ImageMagick, not a wrapper earlier in PATH.
convert=$(command -v /usr/bin/convert || command -v convert)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The generator from the native build; when that tree does not configure or build (a
# folder of the project in mid-change), compile the generator alone: it needs nothing
# but its own sources.
skingen="$build/tools/skingen/skingen"
if ! { { [ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null; } &&
       cmake --build "$build" --target skingen -j "$jobs"; }; then
  echo "native build unavailable; compiling the generator on its own" >&2
  skingen="$work/skingen"
  c++ -O2 -std=c++20 -I"$root" "$root"/tools/skingen/*.cpp -o "$skingen"
fi
"$skingen" --root "$root" --banner "$work/banner.bmp" --preview "$work/preview.bmp"

# Banner: the generator draws the graphic; the name and version are set as text here.
"$convert" "$work/banner.bmp" \
  -font "$font" -fill '#2C6299' -pointsize 25 -annotate +70+36 'Vexlo视频转换器' \
  -fill '#6B7888' -pointsize 12 -annotate +72+54 '批量视频转换  v1.3' \
  -strip -sampling-factor 4:2:0 -quality 92 "$root/assets/app/banner.jpg"

mkdir -p "$root/docs/screenshots"
"$convert" "$work/preview.bmp" -strip -define png:exclude-chunks=date,time \
  "$root/docs/screenshots/skin-elements.png"
echo "regenerated assets/skin, assets/resources, assets/app and docs/screenshots/skin-elements.png"

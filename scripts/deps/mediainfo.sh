#!/usr/bin/env bash
# Cross-builds the MediaInfo library into one self-contained 32-bit Windows DLL,
# codecs\MediaInfo.dll, from Debian's source packages of the library (libmediainfo)
# and its base library (libzen). The C runtime, libgcc and zlib are linked in
# statically, so the DLL needs nothing beside it; its C interface (the wide
# MediaInfo_* and 8-bit MediaInfoA_* families, stdcall) is exported by plain names.
#
# The result is cached outside the work tree, keyed by both source versions, under
# $VX_CACHE/deps/mediainfo-<library version>-zen-<base version>/bin/MediaInfo.dll;
# $VX_CACHE/deps/mediainfo points at it. A cached result returns at once.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../env.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../apt-source.sh"

mi_version=$(vx_source_version libmediainfo)
zen_version=$(vx_source_version libzen)
[ -n "$mi_version" ] && [ -n "$zen_version" ] || { vx_log "no source of libmediainfo/libzen found"; exit 1; }
prefix="$VX_CACHE/deps/mediainfo-$mi_version-zen-$zen_version"
link="$VX_CACHE/deps/mediainfo"
if [ -f "$prefix/.built" ]; then
  ln -sfn "$prefix" "$link"
  exit 0
fi

# Several set-ups may run at once on one machine: the first builds, the others wait
# for it and then find the result.
mkdir -p "$VX_CACHE/deps"
exec 9>"$VX_CACHE/deps/.mediainfo.lock"
flock 9
if [ -f "$prefix/.built" ]; then
  ln -sfn "$prefix" "$link"
  exit 0
fi

zlib=/usr/i686-w64-mingw32/lib/libz.a
[ -f "$zlib" ] || { vx_log "static zlib for MinGW missing (package libz-mingw-w64-dev)"; exit 1; }

vx_log "building MediaInfo.dll from libmediainfo $mi_version and libzen $zen_version (takes a while)"
started=$(date +%s)
work=$(mktemp -d "$VX_CACHE/build-mediainfo.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Unpacks a source package into $work/$2. The Debian packaging part is not needed
# for this build, so when only the upstream tarball can be had, that is enough.
fetch() {
  local name=$1 dir=$2 dl="$work/dl-$1"
  mkdir -p "$dl"
  (cd "$dl" && vx_apt source --download-only "$name" >/dev/null 2>&1) || true
  if ls "$dl"/*.debian.tar.* >/dev/null 2>&1 && dpkg-source --no-check -x "$dl"/*.dsc "$work/$dir" >/dev/null 2>&1; then
    return 0
  fi
  local orig
  orig=$(ls "$dl"/*.orig.tar.* 2>/dev/null | head -1)
  [ -n "$orig" ] || { vx_log "could not fetch the source of $name"; return 1; }
  mkdir -p "$work/$dir"
  tar -xf "$orig" -C "$work/$dir" --strip-components=1
}
# The library's own build expects the base library beside it as ZenLib/.
fetch libmediainfo MediaInfoLib
fetch libzen ZenLib

# Both libraries are built static with their own build files; URL reading (curl),
# MMS streams and graph export stay off, so nothing else is pulled in. The DLL is
# linked below from the static archives.
flags="-Os -g0 -DMEDIAINFO_LIBCURL_NO -DMEDIAINFO_LIBMMS_NO -DMEDIAINFO_GRAPHVIZ_NO"
cmake -S "$work/MediaInfoLib/Project/CMake" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$VX_ROOT/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_C_FLAGS_MINSIZEREL="$flags" -DCMAKE_CXX_FLAGS_MINSIZEREL="$flags" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_ZENLIB=ON -DBUILD_ZLIB=OFF \
  -DZLIB_LIBRARY="$zlib" -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
  -DCMAKE_DISABLE_FIND_PACKAGE_CURL=ON -DCMAKE_DISABLE_FIND_PACKAGE_TinyXML=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR= >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" -j "$VX_JOBS" --target mediainfo zen >"$work/build.log" 2>&1 \
  || { tail -50 "$work/build.log"; exit 1; }

# Export list: the library's own, without its ordinal numbers; --kill-at drops the
# stdcall decorations (@8 ...) so every entry point is found by its plain name. The
# Java binding's entry (JNI_OnLoad) is left out: it is not part of the C interface.
def="$work/MediaInfo.def"
{ echo "LIBRARY MediaInfo.dll"; echo "EXPORTS"
  sed -n '/^EXPORTS/,$p' "$work/MediaInfoLib/Source/MediaInfoDLL/MediaInfoDLL.def" \
    | awk 'NR > 1 && NF && $1 !~ /^JNI_/ { print "    " $1 }'
} >"$def"
archive() { find "$work/build" -name "$1" | head -1; }
dll="$work/MediaInfo.dll"
i686-w64-mingw32-g++-posix -shared -o "$dll" "$def" \
  -Wl,--whole-archive "$(archive libmediainfo.a)" -Wl,--no-whole-archive \
  "$(archive libzen.a)" "$zlib" \
  -static -static-libgcc -static-libstdc++ -s \
  -Wl,--kill-at -Wl,--enable-stdcall-fixup -Wl,--gc-sections \
  >"$work/link.log" 2>&1 || { cat "$work/link.log"; exit 1; }
# The DLL must import nothing but system libraries and export plain names.
headers=$(i686-w64-mingw32-objdump -p "$dll")
imports=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers")
for import in $imports; do
  case "$import" in
    kernel32.dll|user32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|msvcrt.dll|ws2_32.dll|shlwapi.dll|gdi32.dll|version.dll|api-ms-win-*) ;;
    *) vx_log "MediaInfo.dll imports $import: not self-contained"; exit 1 ;;
  esac
done
grep -q '\] MediaInfo_Inform$' <<<"$headers" \
  || { vx_log "MediaInfo.dll does not export MediaInfo_Inform by its plain name"; exit 1; }

# Only a DLL that passed lands in the cache.
rm -rf "$prefix"
mkdir -p "$prefix/bin" "$prefix/include"
cp "$dll" "$prefix/bin/MediaInfo.dll"
cp "$work/MediaInfoLib/Source/MediaInfoDLL/MediaInfoDLL.h" "$prefix/include/"
elapsed=$(( $(date +%s) - started ))
printf 'libmediainfo %s\nlibzen %s\nseconds %s\nbytes %s\n' "$mi_version" "$zen_version" \
  "$elapsed" "$(stat -c %s "$dll")" >"$prefix/build-info.txt"
touch "$prefix/.built"
ln -sfn "$prefix" "$link"
vx_log "MediaInfo.dll built in ${elapsed} s: $prefix/bin/MediaInfo.dll"

#!/usr/bin/env bash
# Cross-builds libjpeg (libjpeg-turbo) as a static library for 32-bit Windows from
# Debian's source package. The result is cached outside the work tree, keyed by the
# source version, under $VX_CACHE/deps/<name>-<version>; $VX_CACHE/deps/jpeg points at it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../env.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../apt-source.sh"

name=libjpeg-turbo
version=$(vx_source_version "$name")
prefix="$VX_CACHE/deps/$name-$version"
link="$VX_CACHE/deps/jpeg"
if [ -f "$prefix/.built" ]; then
  ln -sfn "$prefix" "$link"
  exit 0
fi

vx_log "building $name $version for Windows"
work=$(mktemp -d "$VX_CACHE/build-$name.XXXXXX")
trap 'rm -rf "$work"' EXIT
src=$(vx_fetch_source "$name" "$work")
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$VX_ROOT/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
  -DCMAKE_CROSSCOMPILING_EMULATOR= >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" -j "$VX_JOBS" >"$work/build.log" 2>&1 || { tail -50 "$work/build.log"; exit 1; }
cmake --install "$work/build" >/dev/null
touch "$prefix/.built"
ln -sfn "$prefix" "$link"
vx_log "$name installed in $prefix"

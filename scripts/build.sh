#!/usr/bin/env bash
# Configures and builds both configurations: build/win (everything, for Windows) and
# build/native (the platform-free libraries and their tests). Arguments: "win",
# "native" or both (the default).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(native win)

for t in "${targets[@]}"; do
  case "$t" in
    win)
      if [ ! -f "$VX_BUILD_WIN/build.ninja" ]; then
        cmake -S "$VX_ROOT" -B "$VX_BUILD_WIN" -G Ninja \
          -DCMAKE_TOOLCHAIN_FILE="$VX_ROOT/cmake/mingw-i686.cmake" \
          -DVX_DEPS_DIR="$VX_CACHE/deps" >/dev/null
      fi
      cmake --build "$VX_BUILD_WIN" -j "$VX_JOBS"
      ;;
    native)
      if [ ! -f "$VX_BUILD_NATIVE/build.ninja" ]; then
        cmake -S "$VX_ROOT" -B "$VX_BUILD_NATIVE" -G Ninja >/dev/null
      fi
      cmake --build "$VX_BUILD_NATIVE" -j "$VX_JOBS"
      ;;
    *) vx_log "unknown configuration: $t"; exit 2 ;;
  esac
done

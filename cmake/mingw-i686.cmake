# Cross-build for 32-bit Windows with the posix-thread variant of MinGW-w64
# (the win32-thread variant of this GCC has no std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VX_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${VX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${VX_MINGW_PREFIX}-windres)
set(CMAKE_AR           ${VX_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       ${VX_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

# Dependencies built from sources by scripts/setup.sh live below VX_DEPS_DIR, one
# install prefix per package (jpeg/include, jpeg/lib, ...).
set(VX_DEPS_DIR "$ENV{HOME}/.cache/vexlo/deps" CACHE PATH "Cross-built dependencies")
set(CMAKE_FIND_ROOT_PATH /usr/${VX_MINGW_PREFIX})
file(GLOB _vx_dep_prefixes LIST_DIRECTORIES true "${VX_DEPS_DIR}/*")
list(APPEND CMAKE_FIND_ROOT_PATH ${_vx_dep_prefixes})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable and DLL runs with no runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)

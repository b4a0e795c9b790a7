# vx_pack_skin(target FOLDER OUT [STREAM file])
# Packs a skin folder into a compressed skin blob at build time; `target` is a custom
# target (built by default) that produces OUT and, with STREAM, the blob as a skin data
# component stores it (its 32-bit length, then the blob). An empty or missing folder gives a blob
# of an empty archive with a warning, so the build does not depend on the skin's
# presence.
#
# The packer must run on the build machine. The native build uses its own skinpack
# target. The Windows cross build cannot run what it compiles, so it compiles the
# packer's few platform-free sources a second time with the host C++ compiler
# (vx_host_skinpack). That needs nothing but a host compiler, costs a few seconds once,
# and keeps Wine (with its prefix and display) out of the build; running the Windows
# packer through the emulator would make every build depend on a working Wine set-up.

set(VX_SKINPACK_SOURCES
  ${PROJECT_SOURCE_DIR}/tools/skinpack/main.cpp
  ${PROJECT_SOURCE_DIR}/tools/skinpack/LzhEncoder.cpp
  ${PROJECT_SOURCE_DIR}/tools/skinpack/SkinPacker.cpp
  ${PROJECT_SOURCE_DIR}/skin/data/LzhHuffman.cpp)
set(VX_SKINPACK_HEADERS
  ${PROJECT_SOURCE_DIR}/tools/skinpack/LzhEncoder.h
  ${PROJECT_SOURCE_DIR}/tools/skinpack/SkinPacker.h
  ${PROJECT_SOURCE_DIR}/skin/data/LzhHuffman.h
  ${PROJECT_SOURCE_DIR}/skin/data/SkinArchiveFormat.h)

if(CMAKE_CROSSCOMPILING AND NOT TARGET vx_host_skinpack)
  find_program(VX_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(VX_HOST_SKINPACK ${CMAKE_BINARY_DIR}/host/skinpack CACHE INTERNAL "")
  add_custom_command(OUTPUT ${VX_HOST_SKINPACK}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${VX_HOST_CXX} -O2 -std=c++20 -I${PROJECT_SOURCE_DIR} ${VX_SKINPACK_SOURCES}
            -o ${VX_HOST_SKINPACK}
    DEPENDS ${VX_SKINPACK_SOURCES} ${VX_SKINPACK_HEADERS}
    COMMENT "Building the skin packer for the build machine"
    VERBATIM)
  add_custom_target(vx_host_skinpack DEPENDS ${VX_HOST_SKINPACK})
endif()

function(vx_pack_skin target folder out)
  cmake_parse_arguments(A "" "STREAM" "" ${ARGN})
  set(_outputs ${out})
  set(_stream_args)
  if(A_STREAM)
    list(APPEND _outputs ${A_STREAM})
    set(_stream_args --stream ${A_STREAM})
  endif()
  file(GLOB _inputs LIST_DIRECTORIES false CONFIGURE_DEPENDS ${folder}/*)
  if(CMAKE_CROSSCOMPILING)
    set(_packer ${VX_HOST_SKINPACK})
    set(_packer_dep ${VX_HOST_SKINPACK})
    set(_packer_target vx_host_skinpack)
  else()
    set(_packer $<TARGET_FILE:skinpack>)
    set(_packer_dep skinpack)
    set(_packer_target skinpack)
  endif()
  get_filename_component(_dir ${out} DIRECTORY)
  add_custom_command(OUTPUT ${_outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
    COMMAND ${_packer} ${folder} ${out} --allow-empty ${_stream_args}
    DEPENDS ${_inputs} ${_packer_dep}
    COMMENT "Packing the skin in ${folder}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${_outputs})
  add_dependencies(${target} ${_packer_target})
endfunction()

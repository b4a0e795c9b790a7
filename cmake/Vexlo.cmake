# Project-wide settings and the helpers every folder uses.

option(VX_SANITIZE "Build the native configuration with ASan and UBSan" ON)
set(VX_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest/GoogleMock sources")

# Common warning set for the project's own targets.
set(VX_WARNINGS -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX
                          WIN32_LEAN_AND_MEAN STRICT)
  # MinGW's wide entry point for Unicode programs.
  set(VX_UNICODE_ENTRY -municode)
elseif(VX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

macro(vx_add_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${VX_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
endmacro()

# vx_library(name [PLATFORM_FREE] SOURCES ... LIBS ...)
# A static library of the project. PLATFORM_FREE libraries are built in both
# configurations; the others only for Windows.
function(vx_library name)
  cmake_parse_arguments(A "PLATFORM_FREE" "" "SOURCES;LIBS" ${ARGN})
  if(NOT A_PLATFORM_FREE AND NOT WIN32)
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  target_compile_options(${name} PRIVATE ${VX_WARNINGS})
endfunction()

# vx_test(name [PLATFORM_FREE] SOURCES ... LIBS ... [TIMEOUT s])
# A GoogleTest executable; each of its tests becomes a CTest test. Windows tests run
# under Wine through the cross-compiling emulator. A hanging test is killed at TIMEOUT.
function(vx_test name)
  cmake_parse_arguments(A "PLATFORM_FREE" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT A_PLATFORM_FREE AND NOT WIN32)
    return()
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} gmock_main)
  target_compile_options(${name} PRIVATE ${VX_WARNINGS})
  target_compile_definitions(${name} PRIVATE VX_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${A_TIMEOUT} LABELS $<IF:$<BOOL:${WIN32}>,wine,native>)
endfunction()

# vx_compile_resources(OUT_VAR RC_FILE [DEPENDS file-or-glob ...] [BUILT file-or-target ...])
# Compiles a resource script (Windows build) into an object file to list among a
# target's sources; its path is returned in OUT_VAR. Scripts include their fragments
# and pictures by paths from the source root; files the build makes are named by paths
# from the build root (both are include folders). Globs in DEPENDS name the pictures, so
# a redrawn picture rebuilds the object. BUILT names files the build makes (they do not
# exist yet when configuring) and the targets that make them.
function(vx_compile_resources out_var rc_file)
  cmake_parse_arguments(A "" "" "DEPENDS;BUILT" ${ARGN})
  get_filename_component(rc_path ${rc_file} ABSOLUTE)
  get_filename_component(rc_name ${rc_file} NAME_WE)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${rc_name}.res.o)
  file(GLOB pictures ${A_DEPENDS})
  add_custom_command(OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -I ${PROJECT_SOURCE_DIR} -I ${CMAKE_BINARY_DIR} -O coff -o ${object} ${rc_path}
    DEPENDS ${rc_path} ${pictures} ${A_BUILT}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Compiling the resources of ${rc_name}.rc")
  set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  set(${out_var} ${object} PARENT_SCOPE)
endfunction()

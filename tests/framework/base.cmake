# Tests of objects, streams, strings, INI files, threads and graphics.
list(APPEND VX_FW_CORE_TESTS SysUtilsTest.cpp ClassesTest.cpp ThreadsLockTest.cpp BmpCodecTest.cpp HandlesTest.cpp)
list(APPEND VX_FW_WIN_TESTS IniFilesTest.cpp ThreadsTest.cpp GraphicsTest.cpp FilesTest.cpp HandlesWinTest.cpp)
# Resources the tests load by name: a 4-bit bitmap, an icon and a few raw bytes.
if(WIN32)
  vx_compile_resources(_vx_fw_res ${PROJECT_SOURCE_DIR}/tests/framework/FrameworkTest.rc
    DEPENDS ${PROJECT_SOURCE_DIR}/tests/framework/data/*)
  list(APPEND VX_FW_WIN_TESTS ${_vx_fw_res})
endif()

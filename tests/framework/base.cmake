# Tests of objects, streams, strings, INI files, threads and graphics.
list(APPEND VX_FW_CORE_TESTS SysUtilsTest.cpp ClassesTest.cpp ThreadsLockTest.cpp BmpCodecTest.cpp)
list(APPEND VX_FW_WIN_TESTS IniFilesTest.cpp ThreadsTest.cpp GraphicsTest.cpp FilesTest.cpp)
# Resources the tests load by name: a 4-bit bitmap, an icon and a few raw bytes.
if(WIN32)
  set(_vx_fw_res ${CMAKE_CURRENT_BINARY_DIR}/FrameworkTest.res.o)
  add_custom_command(OUTPUT ${_vx_fw_res}
    COMMAND ${CMAKE_RC_COMPILER} -I ${PROJECT_SOURCE_DIR} -O coff
            -o ${_vx_fw_res} ${PROJECT_SOURCE_DIR}/tests/framework/FrameworkTest.rc
    DEPENDS ${PROJECT_SOURCE_DIR}/tests/framework/FrameworkTest.rc
            ${PROJECT_SOURCE_DIR}/tests/framework/data/fwtest.bmp
            ${PROJECT_SOURCE_DIR}/tests/framework/data/green.ico
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Compiling the framework test resources")
  set_source_files_properties(${_vx_fw_res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  list(APPEND VX_FW_WIN_TESTS ${_vx_fw_res})
endif()

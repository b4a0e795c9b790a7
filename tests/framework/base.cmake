# Tests of objects, streams, strings, INI files, threads and graphics.
list(APPEND VX_FW_CORE_TESTS SysUtilsTest.cpp ClassesTest.cpp ThreadsLockTest.cpp BmpCodecTest.cpp)
list(APPEND VX_FW_WIN_TESTS IniFilesTest.cpp ThreadsTest.cpp GraphicsTest.cpp)

# Tests of objects, streams, strings, INI files, threads and graphics.
list(APPEND VX_FW_CORE_TESTS SysUtilsTest.cpp ClassesTest.cpp)

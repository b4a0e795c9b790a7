# Objects, streams, strings, INI files, threads and graphics.
list(APPEND VX_FW_WIN_SOURCES JpegDecoder.cpp)

# Objects, streams, strings, INI files, threads and graphics.
list(APPEND VX_FW_CORE_SOURCES SysUtils.cpp Classes.cpp Threads.cpp BmpCodec.cpp)
list(APPEND VX_FW_WIN_SOURCES JpegDecoder.cpp SysUtilsWin.cpp ClassesWin.cpp IniFiles.cpp ThreadsWin.cpp
  Graphics.cpp GraphicsPictures.cpp)

# Copies the engine beside the encoder when the set-up has fetched it; otherwise says how
# to get it (the encoder then reports the missing engine when run).
if(EXISTS "${SRC}")
  file(COPY "${SRC}" DESTINATION "${DST}")
else()
  message(STATUS "ffmpeg.exe not found at ${SRC}: run scripts/setup.sh to fetch it")
endif()

# What both mingw-w64 toolchain files share; they set CERTMAKER_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
if(CERTMAKER_MINGW_TRIPLE MATCHES "^i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

set(CMAKE_C_COMPILER ${CERTMAKER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CERTMAKER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CERTMAKER_MINGW_TRIPLE}-windres)

# Libraries and headers come from the mingw-w64 tree only (zlib from libz-mingw-w64-dev); programs
# (the host's own tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${CERTMAKER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is one self-contained .exe: the C++ runtime, winpthread and zlib are linked in, so
# nothing but Windows' own DLLs is needed beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(ZLIB_USE_STATIC_LIBS ON)

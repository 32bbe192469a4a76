# Cross-compiling to 32-bit Windows (compile check only) with MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(OSTREL_MINGW_PREFIX i686-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex, which the win32 model of
# GCC 12 lacks. Everything is linked statically, winpthread included.
set(CMAKE_C_COMPILER ${OSTREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTREL_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${OSTREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

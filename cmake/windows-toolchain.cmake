# What both Windows toolchain files share; they set ZOLT_MINGW_HOST.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${ZOLT_MINGW_HOST})
# The posix flavour of Debian's compilers: the full C++ thread library, its
# winpthread linked statically with the rest (cmake/ZoltWindows.cmake).
set(CMAKE_C_COMPILER ${ZOLT_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOLT_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOLT_MINGW_HOST}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZOLT_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Toolchain file of the 64-bit Windows build (scripts/windows-build): Debian's mingw-w64.
set(ZOLT_MINGW_HOST x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/windows-toolchain.cmake)

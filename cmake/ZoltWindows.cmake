# Settings of the Windows build (the toolchain files cmake/windows-*.cmake,
# scripts/windows-build).
#
# SDL 1.2 comes from ZOLT_SDL_PREFIX, where scripts/windows-build installed its
# own build of it (SDL.dll, the import library, SDLmain); the target
# PkgConfig::SDL that the desktop build gets from pkg-config is made here over
# it, so every library links it under the same name.
set(ZOLT_SDL_PREFIX "" CACHE PATH "Where SDL 1.2 for this target is installed (include/SDL, lib, bin/SDL.dll)")
foreach(file include/SDL/SDL.h lib/libSDL.dll.a lib/libSDLmain.a bin/SDL.dll COPYING)
  if(NOT EXISTS "${ZOLT_SDL_PREFIX}/${file}")
    message(FATAL_ERROR "the Windows build needs SDL 1.2 built for ${ZOLT_MINGW_HOST}: "
      "no ${ZOLT_SDL_PREFIX}/${file} (scripts/windows-build builds it and sets ZOLT_SDL_PREFIX)")
  endif()
endforeach()
# Where SDL's source came from, for the archive's README.txt (the licence asks
# that it be told): scripts/windows-build writes it to ORIGIN beside COPYING.
if(EXISTS "${ZOLT_SDL_PREFIX}/ORIGIN")
  file(READ "${ZOLT_SDL_PREFIX}/ORIGIN" ZOLT_SDL_ORIGIN)
  string(STRIP "${ZOLT_SDL_ORIGIN}" ZOLT_SDL_ORIGIN)
else()
  set(ZOLT_SDL_ORIGIN "the SDL 1.2.15 source, https://www.libsdl.org/release/SDL-1.2.15.tar.gz.")
endif()
# Linked as sdl-config says, in this order wherever it lands on a link line:
# mingw32's main calls WinMain, which SDLmain provides; SDLmain's WinMain
# calls main (renamed SDL_main by SDL's header) and SDL itself.
add_library(PkgConfig::SDL INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${ZOLT_SDL_PREFIX}/include/SDL"
  INTERFACE_LINK_LIBRARIES "mingw32;${ZOLT_SDL_PREFIX}/lib/libSDLmain.a;${ZOLT_SDL_PREFIX}/lib/libSDL.dll.a")

# The programs' link: -mwindows makes them GUI programs (no console window);
# -static links the C and C++ runtimes and winpthread in, so they need
# SDL.dll and Windows' own DLLs only.
add_library(zolt_windows_entry INTERFACE)
target_link_options(zolt_windows_entry INTERFACE -mwindows -static)

# The build-time asset tools run on the build machine: tools/CMakeLists.txt
# compiles them with this compiler of the build machine.
set(ZOLT_HOST_CXX c++ CACHE STRING "The build machine's C++ compiler, for the asset tools")

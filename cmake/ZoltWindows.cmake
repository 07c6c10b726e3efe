# Settings of the Windows build (the toolchain files cmake/windows-*.cmake,
# scripts/windows-build).
#
# SDL 1.2 comes from ZOLT_SDL_PREFIX, where scripts/windows-build installed its
# own build of sdl12-compat (SDL.dll, the import library, SDLmain) over SDL 2
# (SDL2.dll, which SDL.dll loads when it starts); the target PkgConfig::SDL
# that the desktop build gets from pkg-config is made here over it, so every
# library links it under the same name.
set(ZOLT_SDL_PREFIX "" CACHE PATH "Where SDL 1.2 and SDL 2 for this target are installed (include/SDL, lib, bin)")
set(ZOLT_SDL_FILES bin/SDL.dll bin/SDL2.dll SDL-LICENSE.txt SDL2-LICENSE.txt)
foreach(file include/SDL/SDL.h lib/libSDL.dll.a lib/libSDLmain.a ${ZOLT_SDL_FILES})
  if(NOT EXISTS "${ZOLT_SDL_PREFIX}/${file}")
    message(FATAL_ERROR "the Windows build needs SDL 1.2 and SDL 2 built for ${ZOLT_MINGW_HOST}: "
      "no ${ZOLT_SDL_PREFIX}/${file} (scripts/windows-build builds them and sets ZOLT_SDL_PREFIX)")
  endif()
endforeach()
# Where the sources came from, for the archive's README.txt: scripts/windows-build
# writes it to ORIGIN (sdl12-compat) and ORIGIN2 (SDL 2).
foreach(name ORIGIN ORIGIN2)
  set(ZOLT_SDL_${name} "an unrecorded source.")
  if(EXISTS "${ZOLT_SDL_PREFIX}/${name}")
    file(READ "${ZOLT_SDL_PREFIX}/${name}" ZOLT_SDL_${name})
    string(STRIP "${ZOLT_SDL_${name}}" ZOLT_SDL_${name})
  endif()
endforeach()
# Linked as sdl-config says, in this order wherever it lands on a link line:
# mingw32's main calls WinMain, which SDLmain provides; SDLmain's WinMain
# calls main (renamed SDL_main by SDL's header) and SDL itself.
add_library(PkgConfig::SDL INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${ZOLT_SDL_PREFIX}/include/SDL"
  INTERFACE_LINK_LIBRARIES "mingw32;${ZOLT_SDL_PREFIX}/lib/libSDLmain.a;${ZOLT_SDL_PREFIX}/lib/libSDL.dll.a")

# The programs' link: -mwindows makes them GUI programs (no console window);
# -static links the C and C++ runtimes and winpthread in, so they need
# SDL.dll, SDL2.dll and Windows' own DLLs only.
add_library(zolt_windows_entry INTERFACE)
target_link_options(zolt_windows_entry INTERFACE -mwindows -static)

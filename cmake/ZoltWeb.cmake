# Settings of the web build (Emscripten's toolchain file, scripts/web-build).
#
# Emscripten ships its own SDL 1.2 (headers in the sysroot, the library in its
# JavaScript runtime, linked by default); the target PkgConfig::SDL that the
# desktop build gets from pkg-config is made here over it, so every library
# links it under the same name.
add_library(PkgConfig::SDL INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${EMSCRIPTEN_SYSROOT}/include/SDL")

# The capture tool runs under node (CMAKE_CROSSCOMPILING_EMULATOR): NODERAWFS
# gives it the real file system, EXIT_RUNTIME flushes and closes its files at
# exit, and synchronous compilation reads the .wasm from disk (the asynchronous
# path would fetch() a file path, which node 18 and later refuse).
set(ZOLT_WEB_TOOL_LINK_OPTIONS -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1 -sWASM_ASYNC_COMPILATION=0)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(FATAL_ERROR "the web build runs its capture tool with node: install nodejs")
endif()

# The page program: ASYNCIFY lets the blocking frame loop sleep (SDL_Delay
# yields to the browser); EXIT_RUNTIME runs the exit handlers (SDL_Quit closes
# the audio) when Escape or Q ends the demo, and the page's Module.onExit shows
# the end. The output is a .js file loaded by web/index.html; MODULARIZE makes
# it a factory (ZoltWeb) the page calls once per run, with the WebAssembly
# module it compiled while the start screen was shown.
set(ZOLT_WEB_LINK_OPTIONS
  -sMODULARIZE=1
  -sEXPORT_NAME=ZoltWeb
  -sASYNCIFY=1
  -sEXIT_RUNTIME=1
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web)

# Debian's emscripten finds the JavaScript helpers its linker runs (acorn,
# terser) only through NODE_PATH; every link gets it, so a plain
# `cmake --build build-web` works outside scripts/web-build too.
if(EXISTS /usr/share/nodejs)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()

# WebAssembly SIMD (every current browser has it) lets the compiler vectorise
# the whole-image loops (clear, fade, blur, copies) as it does on the desktop.
add_compile_options(-msimd128)

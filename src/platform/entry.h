// ENTRY: the platform's share of the program's entry. main (src/demo/main.cpp)
// is the same on every platform; each platform brings these operations in a
// source of its own, and the build links the one of its target:
// entry_desktop.cpp (sdl12-compat over SDL 2: Linux and the like),
// entry_web.cpp (Emscripten's SDL in a browser page) and entry_windows.cpp
// (sdl12-compat over SDL 2, entered through its SDLmain library).
#pragma once

// Where SDL's main library is the process entry (Windows), SDL's header renames
// main to SDL_main, which that library calls: the file that defines main
// includes it, through this header. Elsewhere main stays main and SDL stays
// inside the platform layer.
#ifdef _WIN32
#include <SDL.h>
#endif

#include <cstdint>

struct IMG;

// What a platform changes in the frame loop: main hands these to the driver.
// Each is null where the platform needs none.
struct EntryHooks {
    void (*presented)(const IMG *image);   // after the display was given image
    void (*sleep)(uint32_t milliseconds);  // the frame's sleep (the frame timer's SDL_Delay when null)
    void (*exit)(int status);              // ends the process after the quit fade-out (std::exit when null)
};

// Readies the platform before the display opens: SDL's shutdown at exit and
// the platform's preferences; returns its frame loop's hooks.
EntryHooks EntryStart();
// Null when the demo can be seen on the display it opened; otherwise why it
// cannot (the program then ends with that message).
const char *EntryUnseen();

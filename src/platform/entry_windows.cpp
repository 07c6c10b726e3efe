// The Windows entry: SDL 1.2's interface through sdl12-compat over SDL 2
// (SDL.dll and SDL2.dll beside the program). sdl12-compat's main library
// SDLmain is the process entry: before it calls main it sends standard output
// and standard error to stdout.txt and stderr.txt beside the program,
// initialises SDL and registers SDL's shutdown and the removal of those files
// when they stayed empty, all as exit handlers.
#include "platform/entry.h"

#include "platform/sdlscale.h"

EntryHooks EntryStart()
{
    // SDLmain's SDL_Init has started SDL 2's ticks, which set Windows' timer
    // resolution to 1 ms (timeBeginPeriod), so the frame timer's sleeps keep
    // 25 and 50 frames per second.
    SDLSCALEPrepare();
    return {};
}

// SDL 2's Windows video driver has no unseen fallback: a display it cannot
// open fails the mode itself.
const char *EntryUnseen() { return nullptr; }

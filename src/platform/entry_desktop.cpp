// The desktop entry: SDL 1.2's interface through sdl12-compat over SDL 2;
// main is the process entry.
#include "platform/entry.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/sdlscale.h"

EntryHooks EntryStart()
{
    // No entry library registers SDL's shutdown here, and SDL must still be
    // shut down on every exit.
    std::atexit(SDL_Quit);
    SDLSCALEPrepare();
    return {};
}

const char *EntryUnseen()
{
    // With no display server to reach, SDL 2 falls back to its offscreen
    // driver: the demo would run unseen, with no keyboard to quit it. That
    // driver counts only when the user asked for it.
    char name[32] = {};
    if (SDL_VideoDriverName(name, sizeof name) == nullptr || std::strcmp(name, "offscreen") != 0) {
        return nullptr;
    }
    const char *asked = std::getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && std::strcmp(asked, "offscreen") == 0) {
        return nullptr;
    }
    return "no display to show the demo on (is DISPLAY set?)";
}

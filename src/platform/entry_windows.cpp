// The Windows entry: SDL 1.2 itself (SDL.dll beside the program). SDL's main
// library SDLmain is the process entry: before it calls main it sends
// standard output and standard error to stdout.txt and stderr.txt beside the
// program, initialises SDL and registers SDL's shutdown and the removal of
// those files when they stayed empty, all as exit handlers.
#include "platform/entry.h"

EntryHooks EntryStart()
{
    // Nothing to add: SDLmain's SDL_Init has started SDL's timer, which sets
    // Windows' timer resolution to 1 ms (timeBeginPeriod), so the frame
    // timer's sleeps keep 25 and 50 frames per second.
    return {};
}

// SDL 1.2's Windows video driver has no unseen fallback: a display it cannot
// open fails the mode itself.
const char *EntryUnseen() { return nullptr; }

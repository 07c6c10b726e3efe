// The program's entry: every deliverable (full screen, windowed, the web
// page's and the Windows programs) starts here; what differs between the
// platforms is in src/platform/entry_*.cpp.
#include <cstdio>
#include <cstdlib>

#include "demo/zolt7707.h"
#include "platform/entry.h"
#include "platform/sdldpy.h"

int main(int, char *[])
{
    const EntryHooks hooks = EntryStart();
    presentHook = hooks.presented;
    if (hooks.exit != nullptr) {
        exitHook = hooks.exit;
    }
    ZOLT7707Init();
    // Either mode set may fail: the second one leaves no screen even though the
    // display still has the size of the first.
    if (!SDLDPYHasScreen(display) || display->width != screenWidth || display->height != screenHeight) {
        std::fprintf(stderr, "ZOLT7707: cannot open the %dx%d video mode: %s\n", static_cast<int>(screenWidth),
                     static_cast<int>(screenHeight), SDLDPYFailure());
        return EXIT_FAILURE;
    }
    if (const char *unseen = EntryUnseen(); unseen != nullptr) {
        std::fprintf(stderr, "ZOLT7707: %s\n", unseen);
        return EXIT_FAILURE;
    }
    ZOLT7707SceneInit();
    // The parts run for ever; Escape or Q ends the process from inside a frame.
    for (;;) {
        ZOLT7707Cycle();
    }
    ZOLT7707Done();
    return EXIT_SUCCESS;
}

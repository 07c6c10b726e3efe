// The program's entry: every deliverable (full screen, windowed, the web
// page's and the Windows programs) starts here and runs the driver on the SDL
// platform layer: the display, the keyboard, the frame timer and the sound
// output. What differs between the platforms is in src/platform/entry_*.cpp.
#include <cstdio>
#include <cstdlib>

#include "audio/sdlsnd.h"
#include "demo/zolt7707.h"
#include "platform/entry.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "platform/sdlkbd.h"

namespace {

SDLDPY *display = nullptr;
SDLKBD *keyboard = nullptr;
SDLSND *sound = nullptr;  // null when no audio device could be opened
EntryHooks hooks{};

void Present(const IMG *image)
{
    SDLDPYShow(display, image);
    if (hooks.presented != nullptr) {
        hooks.presented(image);
    }
}

int8_t Key()
{
    if (keyboard == nullptr) {
        return 0;
    }
    SDLKBDGetKey(keyboard);
    const auto code = static_cast<int8_t>(keyboard->keys[0]);
    // The keyboard holds a key until it is released: cleared here, a key held
    // down acts once.
    keyboard->keys[0] = 0;
    return code;
}

int32_t Waiting() { return SDLSNDWaiting(sound); }

void Queue(SAMPLE *sample) { SDLSNDPlaySAMPLE(sound, sample); }

void Exit(int status) { std::exit(status); }

void Release()
{
    if (sound != nullptr) {
        SDLSNDFree(&sound);
    }
    SDLKBDFree(&keyboard);
    SDLDPYFree(&display);
}

}  // namespace

int main(int, char *[])
{
    hooks = EntryStart();
    display = SDLDPYNew();
    // The mode is set twice: the second call lets go of the first screen
    // surface and opens the mode anew. Either may fail: the second one leaves
    // no screen even though the display still has the size of the first.
    SDLDPYSetMode(display, screenWidth, screenHeight);
    if (!SDLDPYHasScreen(display) || display->width != screenWidth || display->height != screenHeight) {
        std::fprintf(stderr, "ZOLT7707: cannot open the %dx%d video mode: %s\n", static_cast<int>(screenWidth),
                     static_cast<int>(screenHeight), SDLDPYFailure());
        return EXIT_FAILURE;
    }
    if (const char *unseen = EntryUnseen(); unseen != nullptr) {
        std::fprintf(stderr, "ZOLT7707: %s\n", unseen);
        return EXIT_FAILURE;
    }
    keyboard = SDLKBDNew();
    sound = SDLSNDNew();
    ZOLT7707Platform platform{};
    platform.present = Present;
    platform.key = Key;
    platform.clock = FPSTime;
    platform.sleep = hooks.sleep != nullptr ? hooks.sleep : fpsSleep;  // the frame timer's own: SDL_Delay
    if (sound != nullptr) {
        platform.waiting = Waiting;
        platform.queue = Queue;
        platform.guard = MUSICGuard{SDLSNDLock, SDLSNDUnlock, sound};
    }
    platform.exit = hooks.exit != nullptr ? hooks.exit : Exit;
    platform.release = Release;
    ZOLT7707Init(platform);
    ZOLT7707SceneInit();
    // The parts run for ever; Escape or Q ends the process from inside a frame.
    for (;;) {
        ZOLT7707Cycle();
    }
    ZOLT7707Done();
    return EXIT_SUCCESS;
}

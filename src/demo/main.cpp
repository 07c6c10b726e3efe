// The program's entry: every deliverable (full screen, windowed and the web
// page's) starts here.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "demo/zolt7707.h"
#include "platform/sdldpy.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

#include "platform/fps.h"

// Tells the page how long the frame's work took since the browser last had
// control (milliseconds, presenting included, sleeping not); the page keeps
// the figures when it has set Module.onFrameWork.
EM_JS(void, ZoltReportFrameWork, (double milliseconds), {
    if (Module['onFrameWork']) {
        Module['onFrameWork'](milliseconds);
    }
});
#endif

namespace {

// sdl12-compat scales a full-screen mode with linear filtering unless told
// otherwise, which blurs the 256 x 256 picture; a user's own choice stands.
void PreferSharpScaling()
{
#ifdef _WIN32
    if (std::getenv("SDL12COMPAT_SCALE_METHOD") == nullptr) {
        _putenv_s("SDL12COMPAT_SCALE_METHOD", "nearest");
    }
#else
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
#endif
}

// With no display server to reach, SDL 2 under sdl12-compat falls back to its
// offscreen driver: the demo would run unseen, with no keyboard to quit it.
// That driver counts only when the user asked for it.
bool UnseenFallback()
{
    char name[32] = {};
    if (SDL_VideoDriverName(name, sizeof name) == nullptr || std::strcmp(name, "offscreen") != 0) {
        return false;
    }
    const char *asked = std::getenv("SDL_VIDEODRIVER");
    return asked == nullptr || std::strcmp(asked, "offscreen") != 0;
}

#ifdef __EMSCRIPTEN__
// In the browser the frame loop keeps its shape: every sleep hands control back
// to the page (ASYNCIFY), which then paints the canvas and delivers keys and
// the audio callbacks.
double workStarted = 0;
bool yielded = false;

void WebYield(uint32_t milliseconds)
{
    ZoltReportFrameWork(emscripten_get_now() - workStarted);
    emscripten_sleep(milliseconds);
    workStarted = emscripten_get_now();
    yielded = true;
}

// A frame without a sleep (one that took longer than its period) and the
// fade-out's 32 pictures, which the desktop shows back to back, would
// otherwise never reach the screen: each picture gets at least one yield.
void WebPresented(const IMG *)
{
    if (!yielded) {
        WebYield(0);
    }
    yielded = false;
}

// Ends the page's program for good whatever timers are pending (the audio
// feed's): the exit handlers run (SDL_Quit closes the audio) and the page's
// Module.onExit shows the end.
void WebExit(int status) { emscripten_force_exit(status); }
#endif

}  // namespace

int main(int, char *[])
{
#ifndef _WIN32
    // On Windows SDL's entry library registers this before main runs; elsewhere
    // main is the entry, and SDL must still be shut down on every exit.
    std::atexit(SDL_Quit);
#endif
    PreferSharpScaling();
#ifdef __EMSCRIPTEN__
    fpsSleep = WebYield;
    presentHook = WebPresented;
    exitHook = WebExit;
    workStarted = emscripten_get_now();
#endif
    ZOLT7707Init();
    // Either mode set may fail: the second one leaves no screen even though the
    // display still has the size of the first.
    if (!SDLDPYHasScreen(display) || display->width != screenWidth || display->height != screenHeight) {
        std::fprintf(stderr, "ZOLT7707: cannot open the %dx%d video mode: %s\n", static_cast<int>(screenWidth),
                     static_cast<int>(screenHeight), SDL_GetError());
        return EXIT_FAILURE;
    }
    if (UnseenFallback()) {
        std::fprintf(stderr, "ZOLT7707: no display to show the demo on (is DISPLAY set?)\n");
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

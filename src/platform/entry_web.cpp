// The web entry: Emscripten's SDL 1.2 in a browser page, main called by the
// page's runtime. The frame loop keeps its shape: every sleep hands control
// back to the page (ASYNCIFY), which then paints the canvas and delivers keys
// and the audio callbacks.
#include "platform/entry.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>

#include "demo/zolt7707.h"
#include "platform/fps.h"

// Tells the page how long the frame's work took since the browser last had
// control (milliseconds, presenting included, sleeping not); the page keeps
// the figures when it has set Module.onFrameWork.
EM_JS(void, ZoltReportFrameWork, (double milliseconds), {
    if (Module['onFrameWork']) {
        Module['onFrameWork'](milliseconds);
    }
});

namespace {

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

}  // namespace

void EntryStart()
{
    std::atexit(SDL_Quit);
    fpsSleep = WebYield;
    presentHook = WebPresented;
    exitHook = WebExit;
    workStarted = emscripten_get_now();
}

const char *EntryUnseen() { return nullptr; }

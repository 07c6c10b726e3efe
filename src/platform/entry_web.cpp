// The web entry: Emscripten's SDL 1.2 in a browser page, main called by the
// page's runtime. The frame loop keeps its shape: every sleep hands control
// back to the page (ASYNCIFY), which then paints the canvas and delivers keys
// and the audio callbacks.
#include "platform/entry.h"

#include <SDL.h>
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "gfx/img.h"

// Tells the page how long the frame's work took since the browser last had
// control (milliseconds, presenting included, sleeping not); the page keeps
// the figures when it has set Module.onFrameWork.
// (The body is JavaScript, which clang-format would misread as C++.)
// clang-format off
EM_JS(void, ZoltReportFrameWork, (double milliseconds), {
    if (Module['onFrameWork']) {
        Module['onFrameWork'](milliseconds);
    }
});
// clang-format on

namespace {

double workStarted = 0;
bool yielded = false;

// The picture the page showed at the last yield that followed a frame
// without a sleep; empty (onScreenSize 0) when a frame with a sleep has
// shown something else since.
uint32_t *onScreen = nullptr;
int64_t onScreenSize = 0;
int64_t onScreenCapacity = 0;

void WebYield(uint32_t milliseconds)
{
    ZoltReportFrameWork(emscripten_get_now() - workStarted);
    emscripten_sleep(milliseconds);
    workStarted = emscripten_get_now();
    yielded = true;
}

// True when image is the picture already on the page; otherwise keeps it as
// the one that is about to be. Without memory for the copy every picture
// counts as new.
bool AlreadyOnScreen(const IMG *image)
{
    const int64_t size = int64_t{image->width} * image->height;
    if (size == onScreenSize && std::memcmp(onScreen, image->pixels, static_cast<size_t>(size) * 4) == 0) {
        return true;
    }
    if (size > onScreenCapacity) {
        delete[] onScreen;
        onScreen = new (std::nothrow) uint32_t[static_cast<size_t>(size)];
        onScreenCapacity = onScreen != nullptr ? size : 0;
    }
    onScreenSize = 0;
    if (onScreen != nullptr) {
        std::memcpy(onScreen, image->pixels, static_cast<size_t>(size) * 4);
        onScreenSize = size;
    }
    return false;
}

// A frame without a sleep (one that took longer than its period) and the
// fade-out's 32 pictures, which the desktop shows back to back, would
// otherwise never reach the screen: each picture gets at least one yield,
// unless it is the very picture the page already shows (a fade of a black
// screen to black, as every part opens with), which needs none.
void WebPresented(const IMG *image)
{
    if (yielded) {
        onScreenSize = 0;
    } else if (image == nullptr || image->pixels == nullptr || image->width <= 0 || image->height <= 0 ||
               !AlreadyOnScreen(image)) {
        WebYield(0);
    }
    yielded = false;
}

// Ends the page's program for good whatever timers are pending (the audio
// feed's): the exit handlers run (SDL_Quit closes the audio) and the page's
// Module.onExit shows the end.
void WebExit(int status) { emscripten_force_exit(status); }

}  // namespace

EntryHooks EntryStart()
{
    std::atexit(SDL_Quit);
    workStarted = emscripten_get_now();
    return {WebPresented, WebYield, WebExit};
}

const char *EntryUnseen() { return nullptr; }

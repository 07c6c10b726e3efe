// The capture tool's web build runs under node, where there is no page:
// Emscripten's SDL would reach for the page's document as soon as SDL is
// initialised and for its canvas when a video mode is set. These definitions
// stand in for SDL's own in that build (the linker takes them before
// Emscripten's JavaScript ones), so the demo runs as on a machine without
// video or audio: the display record exists but opens no screen (the capture
// takes every picture from the driver's present hook), the sound output
// cannot start (the capture drains its own), and the keyboard reads SDL's
// event queue, which needs neither.
#include <SDL.h>

extern "C" {

int SDL_Init(Uint32) { return -1; }

SDL_Surface *SDL_SetVideoMode(int, int, int, Uint32) { return nullptr; }

// Nothing was opened, so nothing is closed (Emscripten's version says so on standard output).
void SDL_Quit() {}
}

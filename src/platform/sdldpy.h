// SDLDPY: the program's one SDL video surface. Opens the 256 x 256 mode,
// captions the window and puts an image on the screen once per frame.
#pragma once

#include <cstdint>

struct IMG;

inline constexpr const char *SDLDPYIdentity[] = {"SDLDPY  ", "20100924", "VORNHALD", "C SDL   "};

// Video-mode flags of the two builds: full screen (SDL_FULLSCREEN | SDL_ANYFORMAT |
// SDL_HWSURFACE) and windowed (SDL_ANYFORMAT | SDL_HWSURFACE). Which one the
// display uses is fixed when the display is compiled (ZOLT_DISPLAY_FLAGS).
inline constexpr uint32_t SDLDPYFullScreenFlags = 0x90000001u;
inline constexpr uint32_t SDLDPYWindowFlags = 0x10000001u;

struct SDLDPY {
    int32_t width;   // width of the open video mode in pixels
    int32_t height;  // height of the open video mode in pixels
    int32_t depth;   // bits per pixel of the screen surface, as SDL reports it
};

// The one display, opened at 256 x 256; a second call reports an error and
// returns the existing display. Null when memory runs out.
SDLDPY *SDLDPYNew();
// Releases the display held in *handle and clears it; anything but the one
// display only reports an error. A later SDLDPYNew opens a fresh display.
void SDLDPYFree(SDLDPY **handle);
// Always a new empty text (delete[] it); null for anything but the display.
char *SDLDPYToASCII(const SDLDPY *display);
// Never makes a display: always null (reports an error without text or while a display exists).
SDLDPY *SDLDPYFromASCII(const char *text);
// True only when a and b are both the one display; anything else reports an error.
bool SDLDPYEqual(const SDLDPY *a, const SDLDPY *b);
// The display itself (it is never duplicated); null for anything else.
SDLDPY *SDLDPYCopy(SDLDPY *display);
// Re-opens the video mode at width x height. Negative sizes are refused; when
// SDL cannot set the mode the display keeps its previous size and nothing is shown.
void SDLDPYSetMode(SDLDPY *display, int32_t width, int32_t height);
// Converts the image to the screen's format and blits it to the top-left: an
// image smaller than the screen leaves the rest as it was, a larger one is
// cropped. The image's pixels are read in place. No pixels: nothing is shown.
void SDLDPYShow(SDLDPY *display, const IMG *image);
// Fast presentation for a screen laid out exactly like the image (32-bit
// 0x00RRGGBB, same size, pitch = width x 4); any other screen is refused with
// an error report. Copies the pixels into the screen surface.
void SDLDPYShowDirect(SDLDPY *display, const IMG *image);
// As SDLDPYShowDirect: copies the pixels, last to first, into the screen surface.
void SDLDPYShowCopy(SDLDPY *display, const IMG *image);
void SDLDPYError();
// The open display, or null before SDLDPYNew and after SDLDPYFree.
SDLDPY *SDLDPYCurrent();
// True when display is the open display and its last mode set succeeded, so
// there is a screen to show pictures on.
bool SDLDPYHasScreen(const SDLDPY *display);
// SDL's own text for its last failure, such as a refused mode set.
const char *SDLDPYFailure();

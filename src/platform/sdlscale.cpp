#include "platform/sdlscale.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// The height of the mode the display opens (SDLDPYNew), which sdl12-compat scales.
constexpr int32_t pictureHeight = 256;

// Sets an environment variable unless the viewer did: a viewer's setting wins.
void Prefer(const char *name, const char *value)
{
    if (std::getenv(name) != nullptr) {
        return;
    }
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 0);
#endif
}

}  // namespace

int32_t SDLSCALEWindowScale(int32_t desktopHeight, int32_t pictureHeight)
{
    if (pictureHeight <= 0 || desktopHeight <= 0) {
        return 1;
    }
    return static_cast<int32_t>(std::max<int64_t>(1, int64_t{desktopHeight} * 3 / 4 / pictureHeight));
}

void SDLSCALEPrepare()
{
    // sdl12-compat filters linearly unless told otherwise, which blurs the
    // picture; it reads this once, when its video starts.
    Prefer("SDL12COMPAT_SCALE_METHOD", "nearest");
#ifdef _WIN32
    // A program that does not declare itself aware of display scaling is drawn
    // small and stretched by Windows, blurred. Declared aware, SDL 2 sizes the
    // window and reports the desktop in the screen's own pixels, so the scale
    // below is one of whole screen pixels.
    Prefer("SDL_WINDOWS_DPI_AWARENESS", "permonitorv2");
#endif
    if (std::getenv("SDL12COMPAT_WINDOW_SCALING") != nullptr || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return;
    }
    // Before any mode is set, the video information holds the desktop's size;
    // sdl12-compat reads the window scale at each mode set.
    const SDL_VideoInfo *info = SDL_GetVideoInfo();
    if (info != nullptr && info->current_h > 0) {
        Prefer("SDL12COMPAT_WINDOW_SCALING",
               std::to_string(SDLSCALEWindowScale(info->current_h, pictureHeight)).c_str());
    }
}

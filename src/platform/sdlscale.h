// SDLSCALE: how large the 256 x 256 picture appears. sdl12-compat scales the
// display's mode itself (the display still opens 256 x 256); this readies its
// settings before the display opens, each only where the viewer set none.
#pragma once

#include <cstdint>

// The largest whole-number scale at which a picture pictureHeight pixels high
// fits in three quarters of a desktop desktopHeight pixels high; at least 1.
int32_t SDLSCALEWindowScale(int32_t desktopHeight, int32_t pictureHeight);
// Sharp (nearest-neighbour) scaling, on Windows DPI awareness, and a window
// scaled by SDLSCALEWindowScale of the desktop's height. Call before SDL's video starts.
void SDLSCALEPrepare();

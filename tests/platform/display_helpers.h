// Shared by the platform tests: the process has one display, opened on demand,
// and the screen surface is read back to see what the display presented.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/sdldpy.h"

// The open display, opening it first when there is none.
inline SDLDPY *OpenDisplay()
{
    SDLDPY *display = SDLDPYCurrent();
    return display != nullptr ? display : SDLDPYNew();
}

// The colour on the screen surface at (x, y) as 0x00RRGGBB.
inline uint32_t ScreenPixel(int x, int y)
{
    SDL_Surface *screen = SDL_GetVideoSurface();
    SDL_LockSurface(screen);
    const auto *row = static_cast<const uint8_t *>(screen->pixels) + y * screen->pitch;
    uint32_t raw = 0;
    switch (screen->format->BytesPerPixel) {
    case 4: raw = reinterpret_cast<const uint32_t *>(row)[x]; break;
    case 2: raw = reinterpret_cast<const uint16_t *>(row)[x]; break;
    default: raw = row[x * screen->format->BytesPerPixel]; break;
    }
    SDL_UnlockSurface(screen);
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    SDL_GetRGB(raw, screen->format, &r, &g, &b);
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// Takes every pending event off SDL's queue.
inline void DrainEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
    }
}

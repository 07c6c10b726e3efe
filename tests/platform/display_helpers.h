// Shared by the platform tests: the process has one display, opened on demand,
// and the screen surface is read back to see what the display presented.
#pragma once

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/sdldpy.h"

// The open display, opening it first when there is none.
inline SDLDPY *OpenDisplay()
{
    SDLDPY *display = SDLDPYCurrent();
    return display != nullptr ? display : SDLDPYNew();
}

// The colour of a surface at (x, y) as 0x00RRGGBB.
inline uint32_t SurfacePixel(SDL_Surface *surface, int x, int y)
{
    SDL_LockSurface(surface);
    const auto *row = static_cast<const uint8_t *>(surface->pixels) + y * surface->pitch;
    const int size = surface->format->BytesPerPixel;
    uint32_t raw = 0;
    std::memcpy(&raw, row + x * size, size);  // a little-endian machine's pixel of 1 to 4 bytes
    SDL_UnlockSurface(surface);
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    SDL_GetRGB(raw, surface->format, &r, &g, &b);
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// The colour on the screen surface at (x, y) as 0x00RRGGBB.
inline uint32_t ScreenPixel(int x, int y) { return SurfacePixel(SDL_GetVideoSurface(), x, y); }

// How many frames reached the window while show ran, each of which must be the
// screen surface as it is afterwards. SDL's dummy video driver writes every frame
// it presents to a BMP file in the current folder when SDL_VIDEO_DUMMY_SAVE_FRAMES is set.
template <typename Show>
int PresentedFrames(Show show)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(testing::TempDir()) / "presented";
    const fs::path home = fs::current_path();
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::current_path(folder);
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    show();
    unsetenv("SDL_VIDEO_DUMMY_SAVE_FRAMES");
    fs::current_path(home);
    int frames = 0;
    SDL_Surface *screen = SDL_GetVideoSurface();
    for (const fs::directory_entry &file : fs::directory_iterator(folder)) {
        SDL_Surface *frame = SDL_LoadBMP(file.path().c_str());
        ++frames;
        const bool whole = frame != nullptr && frame->w == screen->w && frame->h == screen->h;
        EXPECT_TRUE(whole) << file.path();
        for (int i = 0; whole && i < screen->w * screen->h && !testing::Test::HasFailure(); ++i) {
            const int x = i % screen->w;
            const int y = i / screen->w;
            EXPECT_EQ(SurfacePixel(frame, x, y), SurfacePixel(screen, x, y)) << "presented at " << x << ", " << y;
        }
        SDL_FreeSurface(frame);
    }
    return frames;
}

// Takes every pending event off SDL's queue.
inline void DrainEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
    }
}

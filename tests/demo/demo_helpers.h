// Shared by the driver tests: the demo started headless under a virtual clock
// on which every frame takes exactly 1/25 s and no frame ever sleeps, and keys
// pressed through SDL's own event queue.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstdlib>

#include "demo/zolt7707.h"
#include "platform/fps.h"

inline uint32_t virtualNow = 0;
inline uint32_t VirtualClock() { return virtualNow += 40000; }
inline void NoSleep(uint32_t) {}

// Start-up as the program does it, but paced by the virtual clock. As in the
// program, SDL is shut down at exit: an audio thread still running while the
// SDL library is unloaded at exit crashes now and then.
inline void StartDemo()
{
    [[maybe_unused]] static const int quitAtExit = std::atexit(SDL_Quit);
    fpsClock = VirtualClock;
    fpsSleep = NoSleep;
    ZOLT7707Init();
    ZOLT7707SceneInit();
}

// A key event (key-down unless told otherwise) for the next keyboard poll.
inline void PressKey(SDLKey key, Uint8 type = SDL_KEYDOWN)
{
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    EXPECT_EQ(SDL_PushEvent(&event), 0);
}

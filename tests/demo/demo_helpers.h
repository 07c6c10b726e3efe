// Shared by the driver tests: the demo on a platform of the tests' own, with
// no SDL under it. Its clock moves by exactly 1/25 s per frame, so no frame
// ever sleeps; keys go straight to the next frame tail; every picture goes to
// onPresent and the quit to onExit; there is no sound.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "demo/zolt7707.h"
#include "platform/fps.h"

inline uint32_t virtualNow = 0;
inline int8_t pendingKey = 0;
inline void (*onPresent)(const IMG *image) = nullptr;
inline void (*onExit)(int status) = [](int status) { std::exit(status); };

inline ZOLT7707Platform TestPlatform()
{
    ZOLT7707Platform platform{};
    platform.present = [](const IMG *image) {
        if (onPresent != nullptr) onPresent(image);
    };
    platform.key = [] {
        const int8_t key = pendingKey;
        pendingKey = 0;
        return key;
    };
    platform.clock = [] { return virtualNow += 40000; };
    platform.sleep = [](uint32_t) {};
    platform.exit = [](int status) { onExit(status); };
    platform.release = [] {};
    return platform;
}

// Start-up as the program does it, on the given platform.
inline void StartDemo(const ZOLT7707Platform &platform = TestPlatform())
{
    ZOLT7707Init(platform);
    ZOLT7707SceneInit();
}

// A key for the next frame tail: its keyboard code (letters in lower case).
inline void PressKey(char code) { pendingKey = static_cast<int8_t>(code); }

// FPS: paces the frame cycle to a target rate, measures the rate achieved and
// keeps the program's frame counter. One timer per process, no objects.
// Times are microseconds; differences are taken modulo 2^32, so the wrap of
// the 32-bit microsecond clock (about every 71.6 minutes) does not disturb it.
#pragma once

#include <cstdint>

inline constexpr const char *FPSIdentity[] = {"FPS     ", "20101122", "VORNHALD", "C       ", "CODE    "};

// Calls of FPSTick so far: the driver's frame clock.
extern int32_t frameCount;
// Wanted frames per second; 0 or less counts as 1.
extern int32_t targetFps;
// Ticks counted in the last completed one-second window.
extern int32_t measuredFps;

// The clock FPSTick reads (FPSTime unless replaced) and the sleep FPSDelay
// uses, in whole milliseconds (SDL_Delay unless replaced). Tools that run
// frames faster than real time install their own.
using FPSClock = uint32_t (*)();
using FPSSleep = void (*)(uint32_t milliseconds);
extern FPSClock fpsClock;
extern FPSSleep fpsSleep;

// Counts the frame, measures the time since the previous tick and closes the
// measuring window once a second has gathered; returns measuredFps.
int32_t FPSTick();
// Adjusts the sleep from the last frame time (an integrating controller that
// settles where a frame takes exactly 1/targetFps seconds) and sleeps for it.
void FPSDelay();
// SDL's milliseconds since start-up x 1000, modulo 2^32.
uint32_t FPSTime();

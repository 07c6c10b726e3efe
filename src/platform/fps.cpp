#include "platform/fps.h"

#include <SDL.h>

namespace {

constexpr int64_t microsecondsPerSecond = 1000000;

int32_t framePeriod = 0;
uint32_t lastTime = 0;
uint32_t elapsed = 0;  // modulo 2^32, so a wrap of the clock between ticks still gives the true gap
uint32_t windowTime = 0;
int32_t windowFrames = 0;
int32_t sleepTime = 0;

void SDLSleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

}  // namespace

int32_t frameCount = 0;
int32_t targetFps = 0;
int32_t measuredFps = 0;
FPSClock fpsClock = FPSTime;
FPSSleep fpsSleep = SDLSleep;

int32_t FPSTick()
{
    frameCount = static_cast<int32_t>(static_cast<uint32_t>(frameCount) + 1u);
    if (targetFps <= 0) {
        targetFps = 1;
    }
    framePeriod = static_cast<int32_t>(microsecondsPerSecond / targetFps);
    const uint32_t now = fpsClock();
    elapsed = now - lastTime;
    lastTime = now;
    // The closing tick's time belongs to the window it closes; the tick itself
    // is the first of the new window.
    const int64_t gathered = int64_t{windowTime} + elapsed;
    if (gathered >= microsecondsPerSecond) {
        measuredFps = windowFrames;
        windowFrames = 0;
        windowTime = 0;
    } else {
        windowTime = static_cast<uint32_t>(gathered);
    }
    ++windowFrames;
    return measuredFps;
}

void FPSDelay()
{
    // The elapsed time spans the whole previous frame including its sleep, so
    // the sleep integrates the error: shortfalls lengthen it, excess shortens it.
    const int64_t period = framePeriod;
    int64_t sleep = sleepTime;
    if (elapsed > period) {
        sleep -= elapsed - period;
        if (sleep < 0) {
            sleep = 0;
        }
    } else {
        sleep += period - elapsed;
        // A frame never needs to sleep longer than its period; without this cap
        // a clock that stands still would grow the sleep past 32 bits.
        if (sleep > period) {
            sleep = period;
        }
    }
    sleepTime = static_cast<int32_t>(sleep);
    if (sleepTime > 0) {
        fpsSleep(static_cast<uint32_t>(sleepTime / 1000));
    }
}

uint32_t FPSTime() { return static_cast<uint32_t>(SDL_GetTicks()) * 1000u; }

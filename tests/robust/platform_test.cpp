// Bad arguments for the platform layer. No display is opened here, so every call
// meets the state a caller has before start-up or after shutdown.
#include <cstdint>

#include "gfx/img.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "platform/sdlkbd.h"
#include "robust.h"

using robust::Call;
using robust::FreeNull;
using robust::RunRows;
using robust::TextEqualCopyNull;

namespace {

TEST(BadArguments, SDLDPY)
{
    RunRows({
        {"Free null and a record that is not the display", Call([] {
             SDLDPY *none = nullptr, other{256, 256, 32}, *handle = &other;
             SDLDPYFree(nullptr), SDLDPYFree(&none), SDLDPYFree(&handle);
             return handle == &other && other.width == 256;
         })},
        {"Text, equality and copy null", TextEqualCopyNull(SDLDPYToASCII, SDLDPYFromASCII, SDLDPYEqual, SDLDPYCopy)},
        {"SetMode null and -1", Call([] {
             SDLDPY other{256, 256, 32};
             SDLDPYSetMode(nullptr, 256, 256), SDLDPYSetMode(&other, -1, 256), SDLDPYSetMode(&other, 256, -1);
             return other.width == 256 && other.height == 256 && SDLDPYCurrent() == nullptr;
         })},
        {"Show without a display", Call([] {
             IMG *img = IMGNew();
             IMG hollow{4, 4, nullptr};
             SDLDPYShow(nullptr, img), SDLDPYShowDirect(nullptr, img), SDLDPYShowCopy(nullptr, img);
             SDLDPYShow(nullptr, &hollow), SDLDPYShowDirect(nullptr, nullptr), SDLDPYShowCopy(nullptr, nullptr);
             IMGFree(&img);
         })},
    });
}

TEST(BadArguments, SDLKBD)
{
    RunRows({
        {"New without a display", [] { return SDLKBDNew() == nullptr; }},
        {"Free null", FreeNull(SDLKBDFree)},
        {"Text, equality and copy null", TextEqualCopyNull(SDLKBDToASCII, SDLKBDFromASCII, SDLKBDEqual, SDLKBDCopy)},
        {"GetKey null and without a display", Call([] {
             uint8_t keys[8] = {'a'};
             SDLKBD keyboard{keys}, bare{nullptr};
             SDLKBDGetKey(nullptr), SDLKBDGetKey(&keyboard), SDLKBDGetKey(&bare);
             return keys[0] == 'a';
         })},
    });
}

uint32_t slept;
void CountSleep(uint32_t milliseconds) { slept += milliseconds; }
uint32_t now;
uint32_t FixedClock() { return now += 40000; }

// Sets the target and paces 30 frames.
auto Paced(int32_t target)
{
    return [target] {
        targetFps = target;
        for (int i = 0; i < 30; ++i) {
            FPSTick();
            FPSDelay();
        }
        return measuredFps >= 0;
    };
}

TEST(BadArguments, FPS)
{
    // Targets of 0 and below count as 1 frame a second: pacing must neither divide by zero nor stall.
    const FPSClock clock = fpsClock;
    const FPSSleep sleep = fpsSleep;
    const int32_t target = targetFps;
    fpsClock = FixedClock;
    fpsSleep = CountSleep;
    RunRows({
        {"Target 0", Paced(0)},
        {"Target -1", Paced(-1)},
        {"Target INT32_MIN", Paced(INT32_MIN)},
    });
    fpsClock = clock;
    fpsSleep = sleep;
    targetFps = target;
}

}  // namespace

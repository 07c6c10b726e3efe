// Whole frames of every part, measured inside the real part routines.
//
// A part routine runs its own frame loop, so one of its frames cannot be
// called alone. Instead the part runs under the virtual frame clock (no
// sleep) with nothing presented, and benchPresent, which the frame tail calls
// once per frame, notes the time at the frame
// warmFrames and at warmFrames + measuredFrames, then asks for the next part.
// The time between two presentations is exactly one frame: the rest of one
// tail, the part's drawing, and the tail up to the next presentation. Each
// run starts from the same random seed, so every run measures the same frames.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "bench.h"
#include "demo/zolt7707.h"
#include "gfx/random.h"

namespace {

// The fade-out that opens every part presents this many pictures before frame 1.
constexpr int32_t fadeOutPresentations = 32;

using Clock = std::chrono::steady_clock;

int32_t presentations = 0;
Clock::time_point firstMeasured;
Clock::time_point lastMeasured;

void CountPresentation(const IMG *)
{
    const int32_t frame = ++presentations - fadeOutPresentations;
    if (frame == warmFrames) {
        firstMeasured = Clock::now();
    } else if (frame == warmFrames + measuredFrames) {
        lastMeasured = Clock::now();
        nextPart = true;
    }
}

void PartFrame(benchmark::State &state, void (*part)(), bool blur, bool radials)
{
    for (auto _ : state) {
        RANDOMSeed(randomSeed);
        blurOn = blur;
        radialsOn = radials;
        presentations = 0;
        firstMeasured = lastMeasured = Clock::time_point{};
        benchPresent = CountPresentation;
        part();
        benchPresent = nullptr;
        if (lastMeasured == Clock::time_point{}) {
            state.SkipWithError("the part ended before its measured frames");
            break;
        }
        const std::chrono::duration<double> took = lastMeasured - firstMeasured;
        state.SetIterationTime(took.count() / measuredFrames);
    }
    blurOn = false;
    radialsOn = false;
}

struct Part {
    const char *name;
    void (*routine)();
    bool radials;
};

constexpr Part parts[] = {
    {"Scroll", ZOLT7707PartScroll, false},         {"SineLines", ZOLT7707PartSineLines, false},
    {"Stars", ZOLT7707PartStars, false},           {"Frames", ZOLT7707PartFrames, false},
    {"ColourSine", ZOLT7707PartColourSine, false}, {"ColourSine_radials", ZOLT7707PartColourSine, true},
    {"Radials", ZOLT7707PartRadials, false},       {"Lasers", ZOLT7707PartLasers, false},
};

}  // namespace

void RegisterPartBenchmarks()
{
    for (const bool blur : {false, true}) {
        for (const Part &part : parts) {
            const std::string name = std::string("Part/") + part.name + (blur ? "_blur" : "");
            benchmark::RegisterBenchmark(name.c_str(), PartFrame, part.routine, blur, part.radials)
                ->UseManualTime()
                ->Iterations(3);
        }
    }
}

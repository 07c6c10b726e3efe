// Shared pieces of the benchmark program: the headless demo it measures and
// the names under which the figures are compared with the budgets.
#pragma once

#include <cstdint>

// The one 256 x 256 image copy that every other figure is divided by.
inline constexpr const char *unitBenchmark = "Unit/ImageCopy256";

struct IMG;

// Builds the demo's scene on the benchmark's own platform: a virtual frame
// clock on which no frame sleeps, no keys, no sound, and every picture handed
// to benchPresent (when set) instead of a screen.
void BenchDemoStart();
inline void (*benchPresent)(const IMG *image) = nullptr;
// A part's frames are measured from the presentation of frame warmFrames to
// that of frame warmFrames + measuredFrames, after which the part is ended.
inline constexpr int32_t warmFrames = 150;
inline constexpr int32_t measuredFrames = 200;

// One whole cycle of the seven parts: frames, and the demo time they show.
inline constexpr int32_t captureCycleFrames = 7502;
inline constexpr double captureCycleSeconds = captureCycleFrames / 25.0;

// Registers the benchmarks of each source file; called once from main.
void RegisterPieceBenchmarks();
void RegisterPartBenchmarks();
void RegisterStartupBenchmarks();
void RegisterCaptureBenchmarks();

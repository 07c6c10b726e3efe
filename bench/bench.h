// Shared pieces of the benchmark program: the headless demo it measures and
// the names under which the figures are compared with the budgets.
#pragma once

#include <cstdint>

// The one 256 x 256 image copy that every other figure is divided by.
inline constexpr const char *unitBenchmark = "Unit/ImageCopy256";

// Sets SDL to its dummy video and audio drivers (unless the caller chose
// others), builds the demo's scene and installs the virtual frame clock.
// False when the display could not be opened.
bool BenchDemoStart();
// A part's frames are measured from the presentation of frame warmFrames to
// that of frame warmFrames + measuredFrames, after which the part is ended.
inline constexpr int32_t warmFrames = 150;
inline constexpr int32_t measuredFrames = 200;

// Registers the benchmarks of each source file; called once from main.
void RegisterPieceBenchmarks();
void RegisterPartBenchmarks();
void RegisterStartupBenchmarks();

// The pieces of the frame tail, each on its own 256 x 256 image, the whole
// tail without a part drawing before it, and the scene set-up.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>

#include "audio/music.h"
#include "audio/sample.h"
#include "bench.h"
#include "core/list.h"
#include "demo/zolt7707.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "gfx/random.h"
#include "platform/sdldpy.h"
#include "vector/cursorx.h"
#include "vector/lfont.h"
#include "vector/lscroll.h"
#include "vector/scroll.h"

namespace {

// A 256 x 256 image of pseudo-random pixels, like a busy frame.
IMG *NoiseImage()
{
    IMG *img = IMGNew();
    IMGResize(img, screenWidth, screenHeight);
    RANDOMSeed(randomSeed);
    for (int32_t i = 0; i < screenWidth * screenHeight; ++i) {
        img->pixels[i] = (static_cast<uint32_t>(RANDOMNext()) << 9 ^ static_cast<uint32_t>(RANDOMNext())) & 0xFFFFFFu;
    }
    return img;
}

void ImageCopy(benchmark::State &state)
{
    IMG *src = NoiseImage();
    IMG *dst = IMGNew();
    IMGResize(dst, screenWidth, screenHeight);
    for (auto _ : state) {
        IMGCopyPixels(src, dst);
        benchmark::DoNotOptimize(dst->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * screenWidth * screenHeight * 4);
    IMGFree(&src);
    IMGFree(&dst);
}

void Fade(benchmark::State &state)
{
    // Faded by 1 per channel, noise needs 255 frames to turn black: refreshed
    // every 128 frames (untimed), every timed fade works on live pixels.
    IMG *noise = NoiseImage();
    IMG *img = IMGCopy(noise);
    int32_t sinceRefresh = 0;
    for (auto _ : state) {
        if (++sinceRefresh == 128) {
            state.PauseTiming();
            IMGCopyPixels(noise, img);
            sinceRefresh = 0;
            state.ResumeTiming();
        }
        IMGFade(img, 0x010101);
        benchmark::ClobberMemory();
    }
    IMGFree(&noise);
    IMGFree(&img);
}

void Clear(benchmark::State &state)
{
    IMG *img = NoiseImage();
    for (auto _ : state) {
        IMGClear(img);
        benchmark::ClobberMemory();
    }
    IMGFree(&img);
}

void Blur(benchmark::State &state)
{
    IMG *src = NoiseImage();
    IMG *dst = IMGNew();
    IMGResize(dst, screenWidth, screenHeight);
    for (auto _ : state) {
        IMGFXBlur(src, dst, 1);
        benchmark::ClobberMemory();
    }
    IMGFree(&src);
    IMGFree(&dst);
}

// Presenting on SDL's dummy video driver, as the capture tool once did for every frame.
void Show(benchmark::State &state)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDLDPY *display = SDLDPYCurrent() != nullptr ? SDLDPYCurrent() : SDLDPYNew();
    if (!SDLDPYHasScreen(display)) {
        state.SkipWithError("no 256 x 256 screen on SDL's dummy video driver");
        return;
    }
    IMG *img = NoiseImage();
    for (auto _ : state) {
        SDLDPYShow(display, img);
    }
    IMGFree(&img);
}

// A mixing frame of the music: the countdown is set so the update mixes.
void MusicMix(benchmark::State &state)
{
    for (auto _ : state) {
        music->countdown = 1;
        MUSICUpdate(music);
    }
}

// The frame tail alone: pacing (virtual clock, no sleep), corner letters,
// blur when asked, fade, music, keys; nothing is presented.
void FrameTail(benchmark::State &state, bool blur)
{
    blurOn = blur;
    for (auto _ : state) {
        ZOLT7707FrameTail();
    }
    blurOn = false;
}

// What ZOLT7707SceneDone leaves: the scrollers, the object font with its
// glyphs, the colour table and the raster cursor.
void SceneRelease()
{
    ZOLT7707SceneDone();
    SCROLLFree(&textScroller);
    LSCROLLFree(&lowScroller);
    LSCROLLFree(&bigScroller);
    LFONTFree(&objectFont);  // releases the glyphs, not their list
    LISTFree(&glyphList);
    SAMPLEFree(&colourTable);
    CURSORXFree(&rasterCursor);
}

void SceneSetup(benchmark::State &state)
{
    for (auto _ : state) {
        SceneRelease();
        const auto start = std::chrono::steady_clock::now();
        ZOLT7707SceneInit();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
}

}  // namespace

void RegisterPieceBenchmarks()
{
    benchmark::RegisterBenchmark(unitBenchmark, ImageCopy);
    benchmark::RegisterBenchmark("Tail/IMGFade", Fade);
    benchmark::RegisterBenchmark("Tail/IMGClear", Clear);
    benchmark::RegisterBenchmark("Tail/IMGFXBlur_r1", Blur);
    benchmark::RegisterBenchmark("Tail/SDLDPYShow_dummy", Show);
    benchmark::RegisterBenchmark("Tail/MUSICUpdate_mix", MusicMix);
    benchmark::RegisterBenchmark("Tail/FrameTail", FrameTail, false);
    benchmark::RegisterBenchmark("Tail/FrameTail_blur", FrameTail, true);
    benchmark::RegisterBenchmark("Setup/Scene", SceneSetup)->UseManualTime()->Iterations(10);
}

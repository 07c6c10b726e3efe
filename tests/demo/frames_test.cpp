// Recorded hashes of the real demo under its fixed seed, on a virtual clock on
// which every sleep takes exactly its time. Each run (the rows of one part and
// key script) is a child process that starts the demo as the program does and
// skips the parts before its own with Space; frames count from its part's first.
// A mismatch prints both hashes and writes the picture to test_frames-row-N.png
// in the working folder. After an intended change, re-record the hashes below
// (then review them with git diff):
//     cmake --build build --target test_frames && ZOLT_RECORD=1 build/tests/demo/test_frames
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "audio/music.h"
#include "capture.h"
#include "demo_helpers.h"
#include "fnv.h"
#include "gfx/img.h"

namespace {

// take: 'p' the picture shown at the frame, 'a' every picture shown up to it
// (fade-outs included), 'm' the music's loop once the frame is done. keys:
// "FRAME:KEY,...", KEY one character or "space", read at the end of FRAME.
struct Row {
    const char *part;
    int32_t frame;
    const char *keys;
    char take;
    uint64_t hash;
};

// clang-format off
constexpr Row rows[] = {
    {"scroll", 1, "", 'p', 0x58789b31a780893cull},
    {"scroll", 750, "", 'p', 0x052c985dcb6e8f15ull},
    {"scroll", 1501, "", 'p', 0x46fc45b10780f0a4ull},
    {"scroll", 1300, "", 'm', 0x4b708776796e2552ull},
    {"sine lines", 1, "", 'p', 0x1303b68fe71eb08dull},
    {"sine lines", 500, "", 'p', 0x8b36d297983eeb3full},
    {"sine lines", 1000, "", 'p', 0x0d8f4cad44ea6661ull},
    {"stars", 1, "", 'p', 0x5e9eb12ac32b0c5cull},
    {"stars", 500, "", 'p', 0xef91eced22916d79ull},
    {"stars", 1000, "", 'p', 0xce90260312219c0aull},
    {"frames", 1, "", 'p', 0x315cad91eb77b5a1ull},
    {"frames", 500, "", 'p', 0x505c1ed7e967086dull},
    {"frames", 1000, "", 'p', 0xa2e20649f52d3912ull},
    {"colour sine", 1, "", 'p', 0x21482f61a30012caull},
    {"colour sine", 500, "", 'p', 0xb345a6ade389a998ull},
    {"colour sine", 1000, "", 'p', 0xd253d48d7a6d37a8ull},
    {"radials", 1, "", 'p', 0xb3eeb47bda63840dull},
    {"radials", 500, "", 'p', 0x8f31e5bbfc58564full},
    {"radials", 1001, "", 'p', 0x25862684e8c6926bull},
    {"lasers", 1, "", 'p', 0xb9e23575483c2ac0ull},
    {"lasers", 500, "", 'p', 0x623e8886f54c6000ull},
    {"lasers", 1000, "", 'p', 0x6aa0509a7dc4fb70ull},
    {"scroll", 220, "200:u,220:i,240:o,260:p", 'p', 0x6dc4128daae2a0c6ull},
    {"scroll", 240, "200:u,220:i,240:o,260:p", 'p', 0x37dec06956617617ull},
    {"scroll", 260, "200:u,220:i,240:o,260:p", 'p', 0xa1c4ee82497a2e98ull},
    {"scroll", 280, "200:u,220:i,240:o,260:p", 'p', 0xb2a78a5aa5af63a0ull},
    {"sine lines", 20, "10:b", 'p', 0x3ba413c7ba1a7ad7ull},
    {"sine lines", 20, "10:m", 'p', 0x54b5aa38006550d0ull},
    {"colour sine", 20, "10:r", 'p', 0x3ee24c3497cd4bfbull},
    {"radials", 40, "30:8", 'p', 0xb5e313da8b2fc270ull},
    {"stars", 100, "10:6,20:8", 'p', 0x28365bc4eccd5b37ull},
    {"cycle", 7, "1:space,2:space,3:space,4:space,5:space,6:space,7:space", 'a', 0x7af812c385756d7eull},
};
// clang-format on
constexpr size_t rowCount = sizeof rows / sizeof rows[0];
constexpr const char *cycle[] = {"scroll", "sine lines", "stars", "frames", "colour sine", "radials", "lasers"};

bool SameRun(size_t a, size_t b)
{
    return b < rowCount && std::string(rows[a].part) == rows[b].part && std::string(rows[a].keys) == rows[b].keys;
}

// ---- The child: the run of the rows from `first` on ----
size_t first = 0;
int32_t skip = 0, last = 0, seen = 0, failed = 0;
uint64_t shown = HashWords(nullptr, 0);
std::string source;  // this file, while re-recording

void Check(size_t i, uint64_t hash, const IMG *image)
{
    char hex[19];
    std::snprintf(hex, sizeof hex, "0x%016llx", static_cast<unsigned long long>(hash));
    if (!source.empty()) {
        size_t at = source.find("constexpr Row rows[]");
        for (size_t k = 0; k <= i; ++k) at = source.find("0x", at + 1);  // one per row
        source.replace(at, 18, hex);
    } else if (hash != rows[i].hash) {
        ++failed;
        std::printf("row %zu (%s, frame %d, keys '%s'): expected 0x%016llx, got %s\n", i, rows[i].part,
                    static_cast<int>(rows[i].frame), rows[i].keys, static_cast<unsigned long long>(rows[i].hash), hex);
        const std::string png = "test_frames-row-" + std::to_string(i) + ".png";
        std::string error;
        if (image != nullptr && CaptureWritePng(png, image->pixels, image->width, image->height, &error)) {
            std::printf("    the picture is %s\n", std::filesystem::absolute(png).c_str());
        }
    }
}

[[noreturn]] void Finish()
{
    if (seen - skip < last) std::printf("%s ended before frame %d\n", rows[first].part, static_cast<int>(last));
    if (!source.empty()) std::ofstream(ZOLT_FRAMES_SOURCE) << source;
    std::fflush(stdout);
    _exit(failed > 0 || seen - skip < last ? 1 : 0);
}

void OnPresent(const IMG *image)
{
    shown = HashWords(image->pixels, image->width * image->height, shown);
    if (frameCount == seen) return;  // a fade-out picture
    seen = frameCount;
    const int32_t frame = frameCount - skip;
    if (frame <= 0) PressKey(' ');
    for (size_t i = first; SameRun(first, i); ++i) {
        if (rows[i].frame == frame && rows[i].take != 'm') {
            Check(i, rows[i].take == 'a' ? shown : HashWords(image->pixels, image->width * image->height), image);
        }
    }
    const std::string keys = std::string(rows[first].keys) + ",";
    for (size_t at = 0, end; (end = keys.find(',', at)) != std::string::npos; at = end + 1) {
        const size_t colon = keys.find(':', at);
        if (colon < end && std::atoi(keys.c_str() + at) == frame) {
            PressKey(keys.compare(colon + 1, end - colon - 1, "space") == 0 ? ' ' : keys[colon + 1]);
        }
    }
}

uint32_t virtualTime = 0;
uint32_t Clock()  // at the next frame's tick the music of the last is done
{
    for (size_t i = first; SameRun(first, i); ++i) {
        if (rows[i].take == 'm' && rows[i].frame == frameCount - skip - 1) {
            Check(i, HashWords(music->output->values, music->output->length), nullptr);
        }
    }
    if (frameCount - skip > last) Finish();
    return virtualTime;
}
void Sleep(uint32_t milliseconds) { virtualTime += milliseconds * 1000u; }

[[noreturn]] void RunChild()
{
    for (size_t i = first; SameRun(first, i); ++i) last = std::max(last, rows[i].frame);
    while (skip < 7 && std::string(cycle[skip]) != rows[first].part) ++skip;
    skip %= 7;  // "cycle": the whole cycle from its first frame
    if (std::getenv("ZOLT_RECORD") != nullptr) {
        std::ifstream in(ZOLT_FRAMES_SOURCE);
        source.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ZOLT7707Platform platform = TestPlatform();
    platform.present = OnPresent;
    platform.clock = Clock;
    platform.sleep = Sleep;
    StartDemo(platform);
    ZOLT7707Cycle();
    Finish();
}

// One run at a time: a re-recording child rewrites the file the next one reads.
TEST(DemoFrames, MatchTheRecordedHashes)
{
    for (first = 0; first < rowCount; ++first) {
        bool done = false;
        for (size_t i = 0; i < first; ++i) done = done || SameRun(i, first);
        if (done) continue;
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) RunChild();
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << rows[first].part << ", keys '" << rows[first].keys << "': see above";
    }
}

// The quit with the exit hook the program keeps: the process ends with status 0.
TEST(DemoFrames, EscapeEndsTheProcessWithStatusZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartDemo();
            PressKey(27);
            ZOLT7707PartLasers();
            std::_Exit(3);  // not reached: the first frame's key ends the process
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

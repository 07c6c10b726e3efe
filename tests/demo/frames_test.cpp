// Recorded pictures and music of the real demo under the fixed seed and a
// virtual clock on which every sleep takes exactly its time: each part's first,
// a middle and its last frame, frames after keys, every presentation of the
// cycle with Space read at every frame, and the music's loop after four mixes.
// Rows with the same part and keys share one run; every run is a child process
// of its own that starts the demo as the program does. Frames count from a
// part's first (1) after its fade-out.
//
// After an intended change of the picture or the music, re-record the table:
//     cmake --build build --target test_frames && ZOLT_RECORD=1 build/tests/demo/test_frames
// rewrites the hashes below in this file, so the change shows in git diff.
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
#include <vector>

#include "audio/music.h"
#include "capture.h"
#include "demo_helpers.h"
#include "gfx/img.h"

namespace {

enum Take : uint8_t {
    Picture,    // the picture shown at the frame
    Presented,  // every picture shown up to the frame, fade-outs included
    Music,      // the music's output loop after the frame
};

// keys: "FRAME:KEY,...", KEY one character or "space"; read at the end of FRAME.
struct Row {
    const char *part;
    int32_t frame;
    const char *keys;
    Take take;
    uint64_t hash;
};

// clang-format off
constexpr Row rows[] = {
    {"scroll", 1, "", Picture, 0xdb205d44ee578adeull},
    {"scroll", 750, "", Picture, 0xef1cf6ee1270f073ull},
    {"scroll", 1501, "", Picture, 0x40a77269db308646ull},
    {"scroll", 1300, "", Music, 0x10bc2a68fd5854c5ull},
    {"sine lines", 1, "", Picture, 0xe18f3a2908c8a02full},
    {"sine lines", 500, "", Picture, 0xa44d0845903cc6a1ull},
    {"sine lines", 1000, "", Picture, 0x4eb12d18031d4227ull},
    {"stars", 1, "", Picture, 0x2bb2e38ba72282baull},
    {"stars", 500, "", Picture, 0x0d8e49126e8d34bbull},
    {"stars", 1000, "", Picture, 0x574c840ba9da3584ull},
    {"frames", 1, "", Picture, 0x0dafb1449277a743ull},
    {"frames", 500, "", Picture, 0x519222ffbe815debull},
    {"frames", 1000, "", Picture, 0x175a2e422da89214ull},
    {"colour sine", 1, "", Picture, 0xe3273d4f72f42528ull},
    {"colour sine", 500, "", Picture, 0x7832d22f1f583736ull},
    {"colour sine", 1000, "", Picture, 0xd085e948163df6a2ull},
    {"radials", 1, "", Picture, 0xc19f9793f3e6609full},
    {"radials", 500, "", Picture, 0xd1ca4e1aa4515571ull},
    {"radials", 1001, "", Picture, 0xacf58405b8c1d44dull},
    {"lasers", 1, "", Picture, 0x50706725b76d4462ull},
    {"lasers", 500, "", Picture, 0x3b133d80d4dbe1daull},
    {"lasers", 1000, "", Picture, 0x11a768288fe652e2ull},
    {"scroll", 220, "200:u,220:i,240:o,260:p", Picture, 0x0f7f385711167968ull},
    {"scroll", 240, "200:u,220:i,240:o,260:p", Picture, 0xf8c1e4c439882a75ull},
    {"scroll", 260, "200:u,220:i,240:o,260:p", Picture, 0x571e5c4866a8753aull},
    {"scroll", 280, "200:u,220:i,240:o,260:p", Picture, 0x9ad73645eeb0d742ull},
    {"sine lines", 20, "10:b", Picture, 0xdb5980171fc8d51dull},
    {"sine lines", 20, "10:m", Picture, 0x7315364afecf7d2eull},
    {"colour sine", 20, "10:r", Picture, 0xc78d6e44b4eacb9dull},
    {"radials", 40, "30:8", Picture, 0x4cad41cb0754c572ull},
    {"stars", 100, "10:6,20:8", Picture, 0x51aa31a63547e9edull},
    {"cycle", 7, "1:space,2:space,3:space,4:space,5:space,6:space,7:space", Presented, 0x5d2d82352e86b734ull},
};
// clang-format on
constexpr size_t rowCount = sizeof rows / sizeof rows[0];

// The parts in the order of the cycle. A run starts the cycle as the program
// does and skips the parts before its own with Space at their first frame.
constexpr const char *partNames[] = {"scroll", "sine lines", "stars", "frames", "colour sine", "radials", "lasers"};

// FNV-1a over 32-bit words, each taken low byte first.
uint64_t Hash(uint64_t h, const void *words, int32_t count)
{
    const auto *w = static_cast<const uint32_t *>(words);
    for (int32_t i = 0; i < count; ++i) {
        for (int shift = 0; shift < 32; shift += 8) h = (h ^ ((w[i] >> shift) & 0xFFu)) * 1099511628211ull;
    }
    return h;
}
constexpr uint64_t hashStart = 1469598103934665603ull;

bool SameRun(const Row &a, const Row &b) { return std::string(a.part) == b.part && std::string(a.keys) == b.keys; }

std::string Describe(const Row &row)
{
    return std::string(row.part) + ", frame " + std::to_string(row.frame) + ", keys '" + row.keys + "'" +
           (row.take == Music ? ", music" : "");
}

// ---- The child: runs one part under its key script ----
struct Run {
    size_t first;  // the run's rows are those from first on with the same part and keys
    int out;       // pipe to the parent: (row index, hash) pairs
    int32_t last;  // the frame after which the child ends
    int32_t skip;  // frames of the parts skipped before the run's own
    int32_t seen = 0;
    uint64_t presented = hashStart;
};
Run run;

void Report(size_t index, uint64_t hash)
{
    const uint64_t pair[2] = {index, hash};
    if (write(run.out, pair, sizeof pair) != sizeof pair) _exit(2);
}

void OnPresent(const IMG *image)
{
    run.presented = Hash(run.presented, image->pixels, image->width * image->height);
    if (frameCount == run.seen) return;  // a fade-out presentation
    run.seen = frameCount;
    const int32_t frame = frameCount - run.skip;
    if (frame <= 0) PressKey(SDLK_SPACE);
    for (size_t i = run.first; i < rowCount && SameRun(rows[i], rows[run.first]); ++i) {
        if (rows[i].frame != frame || rows[i].take == Music) continue;
        const uint64_t h =
            rows[i].take == Presented ? run.presented : Hash(hashStart, image->pixels, image->width * image->height);
        if (h != rows[i].hash && std::getenv("ZOLT_RECORD") == nullptr) {
            std::string error;
            CaptureWritePng("test_frames-row-" + std::to_string(i) + ".png", image->pixels, image->width,
                            image->height, &error);
        }
        Report(i, h);
    }
    const std::string keys = std::string(rows[run.first].keys) + ",";
    for (size_t at = 0, comma; (comma = keys.find(',', at)) != std::string::npos; at = comma + 1) {
        const size_t colon = keys.find(':', at);
        if (colon < comma && std::atoi(keys.c_str() + at) == frame) {
            PressKey(keys.compare(colon + 1, comma - colon - 1, "space") == 0 ? SDLK_SPACE
                                                                                : static_cast<SDLKey>(keys[colon + 1]));
        }
    }
}

// Music rows are taken once the frame's tail has fed the music: at the next frame's tick.
uint32_t virtualTime = 0;
uint32_t Clock()
{
    for (size_t i = run.first; i < rowCount && SameRun(rows[i], rows[run.first]); ++i) {
        if (rows[i].take == Music && rows[i].frame == frameCount - run.skip - 1) {
            Report(i, Hash(hashStart, music->output->values, music->output->length));
        }
    }
    if (frameCount - run.skip > run.last) _exit(0);
    return virtualTime;
}
void Sleep(uint32_t milliseconds) { virtualTime += milliseconds * 1000u; }

[[noreturn]] void RunChild(size_t first, int out)
{
    run.first = first;
    run.out = out;
    run.last = 0;
    for (size_t i = first; i < rowCount && SameRun(rows[i], rows[first]); ++i) {
        run.last = std::max(run.last, rows[i].frame);
    }
    run.skip = 0;
    while (run.skip < 7 && std::string(partNames[run.skip]) != rows[first].part) ++run.skip;
    run.skip %= 7;  // "cycle": the whole cycle from its first frame
    StartDemo();
    fpsClock = Clock;
    fpsSleep = Sleep;
    presentHook = OnPresent;
    ZOLT7707Cycle();
    _exit(run.seen - run.skip >= run.last ? 0 : 3);
}

// ---- The parent: one child per run, two at a time ----
struct Child {
    size_t first;
    pid_t pid;
    int in;
};

void Collect(const Child &child, std::vector<uint64_t> *actual, std::vector<bool> *got)
{
    uint64_t pair[2];
    while (read(child.in, pair, sizeof pair) == sizeof pair) {
        if (pair[0] < rowCount) {
            (*actual)[pair[0]] = pair[1];
            (*got)[pair[0]] = true;
        }
    }
    close(child.in);
    int status = 0;
    waitpid(child.pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the run of " << Describe(rows[child.first]);
}

// Writes the hashes into the table of this file.
void Record(const std::vector<uint64_t> &actual)
{
    std::ifstream in(ZOLT_FRAMES_SOURCE);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = text.find("constexpr Row rows[]");
    for (size_t i = 0; i < rowCount && at != std::string::npos; ++i) {
        at = text.find("0x", at);  // the one hexadecimal number of the next row
        char hex[19];
        std::snprintf(hex, sizeof hex, "0x%016llx", static_cast<unsigned long long>(actual[i]));
        text.replace(at, 18, hex);
        at += 18;
    }
    std::ofstream(ZOLT_FRAMES_SOURCE) << text;
}

TEST(DemoFrames, MatchTheRecordedHashes)
{
    std::vector<uint64_t> actual(rowCount, 0);
    std::vector<bool> got(rowCount, false);
    std::vector<Child> running;
    for (size_t first = 0; first < rowCount; ++first) {
        bool started = false;
        for (size_t i = 0; i < first; ++i) started = started || SameRun(rows[i], rows[first]);
        if (started) continue;
        if (running.size() == 2) {
            Collect(running.front(), &actual, &got);
            running.erase(running.begin());
        }
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            RunChild(first, fds[1]);
        }
        close(fds[1]);
        running.push_back(Child{first, pid, fds[0]});
    }
    for (const Child &child : running) Collect(child, &actual, &got);
    for (size_t i = 0; i < rowCount; ++i) ASSERT_TRUE(got[i]) << "no value for the row " << Describe(rows[i]);
    if (std::getenv("ZOLT_RECORD") != nullptr) {
        Record(actual);
        std::printf("recorded %zu rows into %s\n", rowCount, ZOLT_FRAMES_SOURCE);
        return;
    }
    const std::string folder = std::filesystem::current_path().string();
    for (size_t i = 0; i < rowCount; ++i) {
        char expected[19], seen[19];
        std::snprintf(expected, sizeof expected, "0x%016llx", static_cast<unsigned long long>(rows[i].hash));
        std::snprintf(seen, sizeof seen, "0x%016llx", static_cast<unsigned long long>(actual[i]));
        EXPECT_EQ(rows[i].hash, actual[i])
            << Describe(rows[i]) << ": expected " << expected << ", got " << seen
            << (rows[i].take == Picture ? "; the picture is " + folder + "/test_frames-row-" + std::to_string(i) + ".png"
                                        : std::string());
    }
}

// The quit with the exit hook the program keeps: the process ends with status 0.
TEST(DemoFrames, EscapeEndsTheProcessWithStatusZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartDemo();
            PressKey(SDLK_ESCAPE);
            ZOLT7707PartLasers();
            std::_Exit(3);  // not reached: the first frame's key ends the process
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

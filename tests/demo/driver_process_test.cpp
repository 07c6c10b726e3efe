// Whole runs of the demo, each in a process of its own: nothing here
// initialises SDL in the test process itself, so forking stays safe.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "audio/music.h"
#include "audio/sample.h"
#include "demo_helpers.h"
#include "gfx/img.h"

namespace {

// FNV-1a over bytes.
uint64_t Hash(uint64_t h, const void *data, size_t bytes)
{
    const auto *p = static_cast<const uint8_t *>(data);
    for (size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

uint64_t runHash = 1469598103934665603ull;
int32_t presented = 0;

// Hashes every presented picture and the music's loop with it, and plays a
// key script: blur on, a part skipped, radial lines on, another part skipped.
void HashAndPlay(const IMG *image)
{
    runHash = Hash(runHash, image->pixels, sizeof(uint32_t) * image->width * image->height);
    runHash = Hash(runHash, music->output->values, sizeof(int32_t) * music->output->length);
    switch (presented++) {
    case 100: PressKey(SDLK_b); break;
    case 300: PressKey(SDLK_SPACE); break;
    case 500: PressKey(SDLK_r); break;
    case 700: PressKey(SDLK_SPACE); break;
    default: break;
    }
}

// In a fresh child process: start the demo, run five parts under the key
// script and report the hash of everything it presented and played.
uint64_t RunScript()
{
    int fds[2];
    if (pipe(fds) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        StartDemo();
        presentHook = HashAndPlay;
        ZOLT7707PartScroll();
        ZOLT7707PartSineLines();
        ZOLT7707PartStars();
        ZOLT7707PartFrames();
        ZOLT7707PartColourSine();
        runHash = Hash(runHash, &frameCount, sizeof frameCount);
        const ssize_t written = write(fds[1], &runHash, sizeof runHash);
        _exit(written == sizeof runHash ? 0 : 1);
    }
    close(fds[1]);
    uint64_t h = 0;
    const ssize_t got = read(fds[0], &h, sizeof h);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return got == sizeof h ? h : 0;
}

TEST(DemoRuns, SameKeysAtTheSameFramesGiveTheSameFramesAndMusic)
{
    const uint64_t first = RunScript();
    const uint64_t second = RunScript();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(first, second);
}

int32_t fadePresentations = 0;
void CountPresentations(const IMG *) { ++fadePresentations; }

TEST(DemoRuns, EscapeFadesOutAndExitsWithStatusZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartDemo();
            presentHook = CountPresentations;
            PressKey(SDLK_ESCAPE);
            ZOLT7707PartLasers();
            std::_Exit(3);  // not reached: the first frame's key ends the process
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            StartDemo();
            // The quit path: 32 fade-out presentations after the part's own, then exit.
            presentHook = CountPresentations;
            exitHook = [](int status) { std::_Exit(fadePresentations == 32 + 1 + 32 && status == 0 ? 0 : 4); };
            PressKey(SDLK_q);
            ZOLT7707PartSineLines();
            std::_Exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

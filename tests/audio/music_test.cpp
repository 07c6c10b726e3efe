#include <gtest/gtest.h>

#include "../alloc_limit.h"
#include "audio/music.h"
#include "audio/sdlsnd.h"
#include "gfx/random.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <thread>
#include <vector>

namespace {

constexpr int32_t loopLength = 37000;
constexpr int32_t clipLength = 11024;

SAMPLE *Clip(int32_t seed)
{
    SAMPLE *clip = SAMPLENew();
    SAMPLESetLength(clip, clipLength);
    for (int32_t i = 0; i < clipLength; ++i) {
        clip->values[i] = (i * 37 + seed * 101) % 53000 - 26000;
    }
    return clip;
}

struct Draw {
    int32_t pick;
    int32_t position;
};

// The clip pick and position the next mix of a loop of length values will draw,
// without disturbing the generator: the position weights are length >> 1, >> 2, >> 3, >> 4.
Draw Peek(int32_t length = loopLength)
{
    const uint32_t state = RANDOMState();
    Draw draw{RANDOMNext(), 0};
    for (int32_t shift = 1; shift <= 4; ++shift) {
        draw.position += (RANDOMNext() % 2) * (length >> shift);
    }
    RANDOMSeed(state);
    return draw;
}

int64_t FloorQuarter(int64_t v) { return v >= 0 ? v / 4 : -((-v + 3) / 4); }

std::vector<int32_t> Expected(const std::vector<int32_t> &before, const SAMPLE *clip, int32_t position)
{
    std::vector<int32_t> placed(before.size(), 0);
    for (int32_t k = 0; k < clip->length; ++k) {
        placed[(static_cast<std::size_t>(position) + k) % before.size()] = clip->values[k];
    }
    std::vector<int32_t> after(before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        after[i] = static_cast<int32_t>(FloorQuarter(3 * static_cast<int64_t>(before[i]) + placed[i]));
    }
    return after;
}

std::vector<int32_t> Values(const SAMPLE *sample)
{
    return std::vector<int32_t>(sample->values, sample->values + sample->length);
}

// Records every guard call and how long each lock was held.
struct GuardLog {
    int locks = 0;
    int unlocks = 0;
    bool changedBeforeLock = false;
    std::vector<int32_t> seenAtLock;
    const MUSIC *music = nullptr;
    std::chrono::steady_clock::time_point since;
    std::chrono::nanoseconds longest{0};

    static void Lock(void *context)
    {
        GuardLog *log = static_cast<GuardLog *>(context);
        ++log->locks;
        log->seenAtLock = Values(log->music->output);
        log->since = std::chrono::steady_clock::now();
    }
    static void Unlock(void *context)
    {
        GuardLog *log = static_cast<GuardLog *>(context);
        auto held = std::chrono::steady_clock::now() - log->since;
        log->longest = std::max(log->longest, std::chrono::duration_cast<std::chrono::nanoseconds>(held));
        ++log->unlocks;
    }
};

// Devices without hardware, unless the environment already names drivers.
void UseDummyDrivers()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
}

}  // namespace

TEST(MUSICNew, SilentLoopOfFixedLengthAndNoClips)
{
    MUSIC *music = MUSICNew();
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->countdown, 0);
    EXPECT_EQ(music->period, 400);
    ASSERT_NE(music->output, nullptr);
    EXPECT_EQ(music->output->length, loopLength);
    EXPECT_EQ(SAMPLEMin(music->output), 0);
    EXPECT_EQ(SAMPLEMax(music->output), 0);
    EXPECT_EQ(music->clips->count, 0);
    EXPECT_EQ(music->guard.lock, nullptr);
    MUSICFree(&music);
    EXPECT_EQ(music, nullptr);
    MUSICFree(&music);
    MUSICFree(nullptr);
    AllocationLimit five(5);  // the record, the output and the clip list, not the output's 37000 values
    EXPECT_EQ(MUSICNew(), nullptr);
}

TEST(MUSICAdd, TakesOwnershipAndIgnoresMissingArguments)
{
    MUSIC *music = MUSICNew();
    for (int32_t i = 0; i < 16; ++i) {
        MUSICAdd(music, Clip(i));  // freed with the music: leak checkers see a double or missing free
    }
    MUSICAdd(music, nullptr);
    SAMPLE *stray = Clip(99);
    MUSICAdd(nullptr, stray);
    EXPECT_EQ(music->clips->count, 16);
    MUSICFree(&music);
    SAMPLEFree(&stray);
}

TEST(MUSICUpdate, MixesOnTheFirstUpdateAndThenEvery400th)
{
    RANDOMSeed(randomSeed);
    MUSIC *music = MUSICNew();
    SAMPLE *fours = SAMPLENew();
    SAMPLESetLength(fours, clipLength);
    for (int32_t i = 0; i < clipLength; ++i) {
        fours->values[i] = 4;
    }
    MUSICAdd(music, fours);
    const Draw draw = Peek();
    MUSICUpdate(music);
    // A clip of 4s enters at a quarter: 1 at 11024 consecutive positions from p, wrapping.
    for (int32_t i = 0; i < loopLength; ++i) {
        const int32_t offset = (i - draw.position + loopLength) % loopLength;
        ASSERT_EQ(music->output->values[i], offset < clipLength ? 1 : 0) << "index " << i;
    }
    int32_t mixes = 1;
    for (int32_t update = 2; update <= 1201; ++update) {
        const uint32_t before = RANDOMState();
        MUSICUpdate(music);
        if (RANDOMState() != before) {
            ++mixes;
            EXPECT_TRUE(update == 401 || update == 801 || update == 1201) << "mixed on update " << update;
        }
    }
    EXPECT_EQ(mixes, 4);
    EXPECT_EQ(music->countdown, 400);
    MUSICFree(&music);
}

TEST(MUSICUpdate, EveryMixIsFloorOfThreeQuartersOldPlusAQuarterClipAtAll16Positions)
{
    RANDOMSeed(randomSeed);
    MUSIC *music = MUSICNew();
    for (int32_t i = 0; i < 3; ++i) {
        MUSICAdd(music, Clip(i));
    }
    // Odd and negative old values check the rounding towards minus infinity.
    for (int32_t i = 0; i < loopLength; ++i) {
        music->output->values[i] = (i % 7) - 3 + ((i * 7919) % 20001 - 10000);
    }
    music->period = 1;
    std::set<int32_t> positions;
    std::set<int32_t> picks;
    for (int32_t mix = 0; mix < 400 && positions.size() < 16; ++mix) {
        const Draw draw = Peek();
        const SAMPLE *clip = static_cast<const SAMPLE *>(LISTGet(music->clips, draw.pick % 3));
        const std::vector<int32_t> expected = Expected(Values(music->output), clip, draw.position);
        MUSICUpdate(music);
        ASSERT_EQ(Values(music->output), expected) << "mix " << mix << " at " << draw.position;
        positions.insert(draw.position);
        picks.insert(draw.pick % 3);
    }
    EXPECT_EQ(positions.size(), 16u);
    EXPECT_EQ(*positions.rbegin(), 34687);  // the tail of the clip wraps to the loop's start
    EXPECT_EQ(picks.size(), 3u);
    MUSICFree(&music);

    // Loops of other lengths mix at their own positions (a whole-loop clip wraps at any but 0).
    for (const int32_t length : {64, 1}) {
        music = MUSICNew();
        SAMPLE *clip = Clip(5);
        SAMPLESetLength(clip, length);
        MUSICAdd(music, clip);
        SAMPLESetLength(music->output, length);
        for (int32_t mix = 0; mix < 4; ++mix) {
            const std::vector<int32_t> expected = Expected(Values(music->output), clip, Peek(length).position);
            MUSICUpdate(music);
            ASSERT_EQ(Values(music->output), expected) << "length " << length << ", mix " << mix;
            music->countdown = 0;
        }
        MUSICFree(&music);
    }
}

TEST(MUSICUpdate, QuietValuesRoundTowardsMinusInfinity)
{
    RANDOMSeed(randomSeed);
    MUSIC *music = MUSICNew();
    SAMPLE *silent = SAMPLENew();
    SAMPLESetLength(silent, clipLength);
    MUSICAdd(music, silent);
    music->output->values[0] = -1;
    music->output->values[1] = -2;
    music->output->values[2] = 1;
    music->output->values[3] = -5;
    MUSICUpdate(music);
    EXPECT_EQ(SAMPLEGet(music->output, 0), -1);
    EXPECT_EQ(SAMPLEGet(music->output, 1), -2);
    EXPECT_EQ(SAMPLEGet(music->output, 2), 0);
    EXPECT_EQ(SAMPLEGet(music->output, 3), -4);
    MUSICFree(&music);
}

TEST(MUSICUpdate, WithoutClipsNothingChangesAndTheCountdownRuns)
{
    MUSIC *music = MUSICNew();
    music->output->values[5] = 1234;
    MUSICUpdate(music);
    EXPECT_EQ(music->countdown, 400);
    MUSICUpdate(music);
    EXPECT_EQ(music->countdown, 399);
    EXPECT_EQ(SAMPLEGet(music->output, 5), 1234);
    EXPECT_EQ(SAMPLEMax(music->output), 1234);
    MUSICUpdate(nullptr);
    MUSICFree(&music);
}

TEST(MUSICUpdate, SameGeneratorStateGivesTheSameSoundtrack)
{
    auto run = [](uint32_t seed) {
        RANDOMSeed(seed);
        MUSIC *music = MUSICNew();
        for (int32_t i = 0; i < 16; ++i) {
            MUSICAdd(music, Clip(i));
        }
        std::vector<int32_t> trail;
        for (int32_t update = 0; update < 4000; ++update) {
            MUSICUpdate(music);
        }
        trail = Values(music->output);
        trail.push_back(static_cast<int32_t>(RANDOMState()));
        MUSICFree(&music);
        return trail;
    };
    const std::vector<int32_t> first = run(randomSeed);
    EXPECT_EQ(first, run(randomSeed));
    EXPECT_NE(first, run(randomSeed + 1));
}

TEST(MUSICUpdate, OutputChangesOnlyInsideTheGuardOncePerMix)
{
    RANDOMSeed(randomSeed);
    MUSIC *music = MUSICNew();
    MUSICAdd(music, Clip(1));
    GuardLog log;
    log.music = music;
    music->guard = {GuardLog::Lock, GuardLog::Unlock, &log};
    std::vector<int32_t> previous = Values(music->output);
    std::chrono::nanoseconds longestUpdate{0};
    for (int32_t update = 0; update < 801; ++update) {
        const auto start = std::chrono::steady_clock::now();
        MUSICUpdate(music);
        longestUpdate =
            std::max(longestUpdate,
                     std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start));
        std::vector<int32_t> now = Values(music->output);
        if (now != previous) {
            EXPECT_EQ(log.seenAtLock, previous) << "output changed before the lock was taken";
        }
        previous = now;
    }
    EXPECT_EQ(log.locks, 3);
    EXPECT_EQ(log.unlocks, 3);
    std::printf("lock held per mix: %lld ns at most; whole update: %lld ns at most\n",
                static_cast<long long>(log.longest.count()), static_cast<long long>(longestUpdate.count()));
    MUSICFree(&music);
}

// The demo's frame feed against the real audio thread: updates and queueing on
// this thread, playback on SDL's. Run under ThreadSanitizer this must stay silent.
TEST(MUSICUpdate, FeedsASoundOutputWhileTheAudioThreadPlays)
{
    UseDummyDrivers();
    SDLSND *sound = SDLSNDNew();
    ASSERT_NE(sound, nullptr) << "no audio device";
    RANDOMSeed(randomSeed);
    MUSIC *music = MUSICNew();
    for (int32_t i = 0; i < 16; ++i) {
        MUSICAdd(music, Clip(i));
    }
    music->guard = {SDLSNDLock, SDLSNDUnlock, sound};
    music->period = 3;  // mix far more often than the demo does
    int32_t queued = 0;
    bool drained = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (std::chrono::steady_clock::now() < end) {
        MUSICUpdate(music);
        const int32_t waiting = SDLSNDWaiting(sound);
        drained = drained || (queued > 0 && waiting < queued);
        if (waiting < 4) {
            SDLSNDPlaySAMPLE(sound, music->output);
            ++queued;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(drained) << "the audio thread never played a queued loop";
    EXPECT_GE(queued, 4);
    SDLSNDFree(&sound);
    MUSICFree(&music);
}

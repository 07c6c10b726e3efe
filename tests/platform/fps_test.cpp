#include "platform/fps.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

namespace {

// A clock the tests move by hand; sleeping moves it by the time slept, as
// real sleeping would. standStill makes a clock that neither runs nor sleeps.
uint32_t fakeNow = 0;
bool standStill = false;
std::vector<uint32_t> sleeps;

uint32_t FakeClock() { return fakeNow; }

void FakeSleep(uint32_t milliseconds)
{
    sleeps.push_back(milliseconds);
    if (!standStill) {
        fakeNow += milliseconds * 1000u;
    }
}

class FPSTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedClock = fpsClock;
        savedSleep = fpsSleep;
        fpsClock = FakeClock;
        fpsSleep = FakeSleep;
        standStill = false;
        targetFps = 25;
        // A frame of five seconds closes the measuring window and, being far
        // longer than the period, drives the sleep down to 0: a known start.
        fakeNow += 5000000u;
        FPSTick();
        FPSDelay();
        sleeps.clear();
    }
    void TearDown() override
    {
        fpsClock = savedClock;
        fpsSleep = savedSleep;
    }

    FPSClock savedClock = nullptr;
    FPSSleep savedSleep = nullptr;

    // One frame: drawing takes drawTime microseconds, then the tail ticks and delays.
    // Returns the time the frame took from tick to tick.
    uint32_t Frame(uint32_t drawTime)
    {
        const uint32_t start = fakeNow;
        fakeNow += drawTime;
        FPSTick();
        FPSDelay();
        return fakeNow - start;
    }
};

}  // namespace

TEST_F(FPSTest, FrameCountGrowsByOnePerTickAtAnyRate)
{
    const int32_t start = frameCount;
    FPSTick();
    fakeNow += 3000000u;
    FPSTick();
    targetFps = 50;
    FPSTick();
    EXPECT_EQ(frameCount, start + 3);
}

TEST_F(FPSTest, TargetOfZeroOrLessCountsAsOne)
{
    for (const int32_t target : {0, -25}) {
        targetFps = target;
        FPSTick();
        EXPECT_EQ(targetFps, 1);
    }
    // At one frame a second a 100 ms frame asks for a 900 ms sleep.
    fakeNow += 5000000u;
    FPSTick();
    FPSDelay();
    sleeps.clear();
    Frame(100000);
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0], 900u);
}

TEST_F(FPSTest, WindowClosesOnTheTickThatGathersASecond)
{
    // The start-up tick opened a window with one tick in it and no time.
    for (int i = 0; i < 24; ++i) {
        fakeNow += 40000u;
        const int32_t before = measuredFps;
        EXPECT_EQ(FPSTick(), before) << "tick " << i;
    }
    fakeNow += 40000u;  // 25 x 40 ms = exactly one second
    EXPECT_EQ(FPSTick(), 25);
    EXPECT_EQ(measuredFps, 25);

    // The closing tick opened the next window with no time in it: after 9 ticks
    // of 100 ms one of 99.999 ms leaves it open, and one more microsecond closes
    // it with the closing tick and those ten counted.
    for (int i = 0; i < 9; ++i) {
        fakeNow += 100000u;
        EXPECT_EQ(FPSTick(), 25);
    }
    fakeNow += 99999u;
    EXPECT_EQ(FPSTick(), 25);
    fakeNow += 1u;
    EXPECT_EQ(FPSTick(), 11);
}

TEST_F(FPSTest, SleepSettlesWhereFramesTakeThePeriod)
{
    // 3 ms of drawing: the shortfall of 37 ms becomes the sleep at once and stays.
    EXPECT_EQ(Frame(3000), 40000u);
    EXPECT_EQ(sleeps.front(), 37u);
    std::vector<uint32_t> frameTimes;
    for (int i = 0; i < 60; ++i) {
        frameTimes.push_back(Frame(3000));
    }
    for (size_t i = 0; i < frameTimes.size(); ++i) {
        EXPECT_EQ(frameTimes[i], 40000u) << "frame " << i;
    }
    EXPECT_EQ(sleeps.back(), 37u);
    EXPECT_EQ(measuredFps, 25);
}

TEST_F(FPSTest, SleepIsAskedForInWholeMilliseconds)
{
    // 3.03 ms of drawing: the first sleep of 36.97 ms is asked for as 36 ms, then
    // it alternates between 36 and 37 ms and the frames average out at the period.
    uint64_t total = 0;
    Frame(3030);
    for (int i = 0; i < 100; ++i) {
        const uint32_t took = Frame(3030);
        EXPECT_GE(took, 39000u);
        EXPECT_LE(took, 41000u);
        total += took;
    }
    EXPECT_EQ(sleeps.front(), 36u);
    EXPECT_NEAR(static_cast<double>(total) / 100.0, 40000.0, 500.0);
}

// The state a process starts with, seen from a fresh one: the first tick, at
// one second, closes the first window with nothing counted, and as it took
// exactly the period of the forced target of 1, no sleep follows. A frame one
// microsecond shorter than the period then asks for a sleep of 0 ms.
TEST(FPSStart, FirstTicksOfAFreshProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            fpsClock = FakeClock;
            fpsSleep = FakeSleep;
            fakeNow = 1000000u;
            const bool fresh = frameCount == 0 && targetFps == 0 && measuredFps == 0;
            const bool ticked = FPSTick() == 0 && frameCount == 1 && targetFps == 1;
            FPSDelay();
            fakeNow += 999999u;
            FPSTick();
            FPSDelay();
            std::exit(fresh && ticked && sleeps == std::vector<uint32_t>{0u} ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(FPSTime, IsTheTickCountInMicroseconds)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);
    SDL_Delay(2);
    const uint32_t before = SDL_GetTicks(), now = FPSTime(), after = SDL_GetTicks();
    EXPECT_EQ(now % 1000u, 0u);
    EXPECT_TRUE(now / 1000u >= before && now / 1000u <= after) << now;
}

TEST_F(FPSTest, SwitchingTo50FpsShortensTheSleepByTheExcess)
{
    Frame(1000);
    for (int i = 0; i < 5; ++i) {
        Frame(1000);
    }
    ASSERT_EQ(sleeps.back(), 39u);
    targetFps = 50;
    // The frame before the switch took 40 ms: 20 ms too long for the new
    // period, so the sleep drops by 20 ms to 19 ms and frames take 20 ms.
    EXPECT_EQ(Frame(1000), 20000u);
    EXPECT_EQ(sleeps.back(), 19u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Frame(1000), 20000u) << "frame " << i;
    }
    for (int i = 0; i < 100; ++i) {
        Frame(1000);
    }
    EXPECT_EQ(measuredFps, 50);
}

TEST_F(FPSTest, SlowFramesGetNoSleepAndTheSleepNeverGoesNegative)
{
    for (int i = 0; i < 5; ++i) {
        Frame(30000);
    }
    ASSERT_EQ(sleeps.back(), 10u);
    sleeps.clear();
    // 60 ms of drawing: the excess outweighs the sleep, so there is none.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Frame(60000), 60000u);
    }
    EXPECT_TRUE(sleeps.empty());
    // Back to fast frames the sleep regrows from 0, not from a negative debt:
    // the first shortfall of 10 ms is the whole sleep.
    EXPECT_EQ(Frame(30000), 40000u);
    EXPECT_EQ(Frame(30000), 40000u);
    ASSERT_EQ(sleeps.size(), 2u);
    EXPECT_EQ(sleeps[0], 10u);
    EXPECT_EQ(sleeps[1], 10u);
}

TEST_F(FPSTest, KeepsPacingAcrossTheWrapOfTheClock)
{
    // Put the clock one second before the wrap of the 32-bit microsecond count.
    fakeNow = 0u - 1000000u;
    FPSTick();
    FPSDelay();
    sleeps.clear();
    for (int i = 0; i < 10; ++i) {
        Frame(5000);
    }
    const uint32_t beforeWrap = fakeNow;
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(Frame(5000), 40000u) << "frame " << i;
    }
    EXPECT_LT(fakeNow, beforeWrap);  // the clock did wrap
    EXPECT_EQ(measuredFps, 25);
}

TEST_F(FPSTest, ClockThatStandsStillNeverSleepsLongerThanAFrame)
{
    standStill = true;
    for (int i = 0; i < 100000; ++i) {
        FPSTick();
        FPSDelay();
    }
    ASSERT_FALSE(sleeps.empty());
    EXPECT_EQ(sleeps.back(), 40u);
    for (const uint32_t slept : sleeps) {
        ASSERT_LE(slept, 40u);
    }
}

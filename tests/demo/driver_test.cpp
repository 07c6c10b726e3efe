// The demo's real parts, run headless frame by frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "audio/music.h"
#include "audio/sample.h"
#include "core/list.h"
#include "demo/zolt7707.h"
#include "demo_helpers.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "platform/fps.h"
#include "vector/lscroll.h"
#include "vector/scroll.h"

namespace {

// What the display was given, frame by frame.
struct Presentations {
    int32_t count = 0;
    std::vector<int32_t> frameAt;  // frameCount at each presentation
};
Presentations shown;

void Record(const IMG *)
{
    ++shown.count;
    shown.frameAt.push_back(frameCount);
}

void ResetPresentations()
{
    shown.count = 0;
    shown.frameAt.clear();
}

// The demo starts once per test process, as the program does.
class Demo : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        StartDemo();
        onPresent = Record;
    }
    void SetUp() override
    {
        ResetPresentations();
        showFps = false;
        blurOn = false;
        fadeOn = true;
        radialsOn = false;
        nextPart = false;
        targetFps = 25;
    }
};

using Part = void (*)();
struct PartRow {
    const char *name;
    Part run;
    int32_t frames;
};
constexpr PartRow parts[] = {
    {"scroll", ZOLT7707PartScroll, 1501},
    {"sine lines", ZOLT7707PartSineLines, 1000},
    {"stars", ZOLT7707PartStars, 1000},
    {"frames", ZOLT7707PartFrames, 1000},
    {"colour sine", ZOLT7707PartColourSine, 1000},
    {"radials", ZOLT7707PartRadials, 1001},
    {"lasers", ZOLT7707PartLasers, 1000},
};

TEST_F(Demo, StartsWithABlackScreenAndTheSceneMade)
{
    ASSERT_NE(screenImage, nullptr);
    EXPECT_EQ(screenImage->width, 256);
    EXPECT_EQ(screenImage->height, 256);
    ASSERT_NE(glyphList, nullptr);
    EXPECT_EQ(glyphList->count, 256);
    ASSERT_NE(music, nullptr);
    ASSERT_EQ(music->clips->count, 16);
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(static_cast<SAMPLE *>(LISTGet(music->clips, i))->length, 11024);
    }
    ASSERT_NE(colourTable, nullptr);
    ASSERT_EQ(colourTable->length, 1536);
    for (int32_t i = 0; i < 1536; ++i) {
        EXPECT_EQ(colourTable->values[i], colourTable->values[i / 256 * 256]) << i;
    }
    EXPECT_EQ(targetFps, 25);
    EXPECT_EQ(textScroller->speed, 4);
    EXPECT_EQ(lowScroller->speed, 4);
    EXPECT_EQ(bigScroller->speed, 32);
}

TEST_F(Demo, EveryPartEndsAfterItsFramesThroughAFadeOut)
{
    for (const PartRow &part : parts) {
        SCOPED_TRACE(part.name);
        ResetPresentations();
        const int32_t before = frameCount;
        part.run();
        EXPECT_EQ(frameCount - before, part.frames);
        EXPECT_EQ(shown.count, 32 + part.frames);
        // The first 32 presentations are the fade-out: no frame is counted during it.
        ASSERT_GE(shown.frameAt.size(), 33u);
        EXPECT_EQ(shown.frameAt[31], before);
        EXPECT_EQ(shown.frameAt[32], before + 1);
    }
}

TEST_F(Demo, SpaceEndsEveryPartAtOnce)
{
    for (const PartRow &part : parts) {
        SCOPED_TRACE(part.name);
        ResetPresentations();
        const int32_t before = frameCount;
        PressKey(' ');
        part.run();
        EXPECT_EQ(frameCount - before, 1);
        EXPECT_EQ(shown.count, 33);
        EXPECT_FALSE(nextPart);
    }
}

TEST_F(Demo, TheSecondPassMakesNoNewObjects)
{
    for (const PartRow &part : parts) {
        PressKey(' ');
        part.run();
    }
    LIST *const lists[] = {sineLines, starLayers, lineFrames, colourSines, lasers};
    std::vector<std::vector<void *>> items;
    for (LIST *list : lists) {
        ASSERT_NE(list, nullptr);
        items.emplace_back(list->items, list->items + list->count);
    }
    EXPECT_EQ(sineLines->count, 256);
    EXPECT_EQ(starLayers->count, 8);
    EXPECT_EQ(lineFrames->count, 256);
    EXPECT_GE(colourSines->count, 5);
    EXPECT_LE(colourSines->count, 7);
    EXPECT_EQ(lasers->count, 256);
    for (const PartRow &part : parts) {
        PressKey(' ');
        part.run();
    }
    const LIST *const again[] = {sineLines, starLayers, lineFrames, colourSines, lasers};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(again[i], lists[i]);
        EXPECT_EQ(std::vector<void *>(again[i]->items, again[i]->items + again[i]->count), items[i]);
    }
}

// Runs part with object missing, as if it could not be made.
template <typename T>
void RunWithout(T *&object, Part part)
{
    T *const kept = object;
    object = nullptr;
    part();
    object = kept;
}

// An object that could not be made still takes its random draws: the rest of
// the run must not depend on memory.
TEST_F(Demo, AMissingObjectTakesItsRandomDrawsAllTheSame)
{
    for (const PartRow &part : parts) {
        PressKey(' ');
        part.run();  // makes every part's objects
    }
    const struct {
        const char *name;
        Part whole;
        Part without;
    } rows[] = {
        {"raster cursor", ZOLT7707PartScroll, [] { RunWithout(rasterCursor, ZOLT7707PartScroll); }},
        {"star layer", ZOLT7707PartStars, [] { RunWithout(starLayers->items[1], ZOLT7707PartStars); }},
        {"line frame", ZOLT7707PartFrames, [] { RunWithout(lineFrames->items[1], ZOLT7707PartFrames); }},
        {"colour sine", ZOLT7707PartColourSine, [] { RunWithout(colourSines->items[1], ZOLT7707PartColourSine); }},
        {"laser", ZOLT7707PartLasers, [] { RunWithout(lasers->items[1], ZOLT7707PartLasers); }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        uint32_t after[2];
        const int32_t start = frameCount;  // some draws depend on the frame
        for (const Part run : {row.whole, row.without}) {
            frameCount = start;
            RANDOMSeed(1);
            PressKey(' ');
            run();
            after[run == row.without] = RANDOMState();
        }
        EXPECT_EQ(after[1], after[0]);
    }
}

// What the keys change, and the quit: the exit hook's calls and the pictures
// presented before the first of them (the frame's own and the 32 of the fade-out).
struct Switches {
    bool nextPart, showFps, blurOn, fadeOn, radialsOn;
    int32_t fps, speeds[3], exits, picturesBeforeExit;
    bool operator==(const Switches &) const = default;
};
Switches now;

Switches Current()
{
    now.nextPart = nextPart, now.showFps = showFps, now.blurOn = blurOn, now.fadeOn = fadeOn;
    now.radialsOn = radialsOn, now.fps = targetFps;
    now.speeds[0] = textScroller->speed, now.speeds[1] = lowScroller->speed, now.speeds[2] = bigScroller->speed;
    return now;
}

void SetSpeeds(Switches &s, int32_t speed) { s.speeds[0] = s.speeds[1] = s.speeds[2] = speed; }
void Quits(Switches &s) { s.exits = 1, s.picturesBeforeExit = 33; }

// Each key of the key table and its effect.
constexpr std::pair<char, void (*)(Switches &)> keyTable[] = {
    {27, Quits},
    {'q', Quits},
    {'Q', Quits},
    {' ', [](Switches &s) { s.nextPart = true; }},
    {'5', [](Switches &s) { s.fps = 25; }},
    {'6', [](Switches &s) { s.fps = 50; }},
    {'8', [](Switches &s) { s.showFps = !s.showFps; }},
    {'u', [](Switches &s) { SetSpeeds(s, 0); }},
    {'i', [](Switches &s) { SetSpeeds(s, 1); }},
    {'o', [](Switches &s) { SetSpeeds(s, 2); }},
    {'p', [](Switches &s) { SetSpeeds(s, 4); }},
    {'m', [](Switches &s) { s.fadeOn = !s.fadeOn; }},
    {'b', [](Switches &s) { s.blurOn = !s.blurOn; }},
    {'r', [](Switches &s) { s.radialsOn = !s.radialsOn; }},
};

// Keys of the table in one state of the switches, every other code in another.
TEST_F(Demo, EveryKeyActsOnceInItsFrameTailAndOtherCodesDoNothing)
{
    onPresent = [](const IMG *) { ++shown.count; };
    onExit = [](int status) { now.exits += status == 0 ? 1 : 100, now.picturesBeforeExit = shown.count; };
    const auto press = [](int32_t code) {
        nextPart = showFps = blurOn = radialsOn = false;
        fadeOn = true;
        targetFps = 30;
        textScroller->speed = lowScroller->speed = bigScroller->speed = 7;
        now.exits = now.picturesBeforeExit = shown.count = 0;
        const Switches before = Current();
        PressKey(static_cast<char>(code));
        ZOLT7707FrameTail();
        return std::pair(before, Current());
    };
    for (const auto &[code, effect] : keyTable) {
        SCOPED_TRACE(static_cast<int>(code));
        auto [expected, after] = press(code);
        effect(expected);
        EXPECT_TRUE(after == expected);
        // A second press on a later frame acts again: 8, M, B and R turn their switch back.
        now.exits = now.picturesBeforeExit = shown.count = 0;
        PressKey(code);
        ZOLT7707FrameTail();
        effect(expected);
        EXPECT_TRUE(Current() == expected);
        // Compared as a signed character: the same code with its top bit set is another key.
        const auto [unchanged, changed] = press(code + 128);
        EXPECT_TRUE(changed == unchanged);
    }
    for (const char key : std::string_view("aAnt1234790\x7f\r")) {
        const auto [unchanged, changed] = press(key);
        EXPECT_TRUE(changed == unchanged) << static_cast<int>(key);
    }
    onPresent = Record;
    onExit = [](int status) { std::exit(status); };
}

}  // namespace

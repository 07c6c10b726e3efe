// The demo's real parts, run headless frame by frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "audio/music.h"
#include "audio/sample.h"
#include "demo_helpers.h"
#include "core/list.h"
#include "demo/zolt7707.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "platform/fps.h"
#include "platform/sdlkbd.h"
#include "vector/font.h"
#include "vector/lscroll.h"
#include "vector/scroll.h"

namespace {

// What the display was given, frame by frame.
struct Presentations {
    int32_t count = 0;
    std::vector<int32_t> frameAt;  // frameCount at each presentation
    IMG *last = nullptr;
};
Presentations shown;

void Record(const IMG *image)
{
    ++shown.count;
    shown.frameAt.push_back(frameCount);
    if (shown.last == nullptr) {
        shown.last = IMGCopy(image);
    } else {
        IMGCopyPixels(image, shown.last);
    }
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
        presentHook = Record;
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
    {"scroll", ZOLT7707PartScroll, 1501},       {"sine lines", ZOLT7707PartSineLines, 1000},
    {"stars", ZOLT7707PartStars, 1000},         {"frames", ZOLT7707PartFrames, 1000},
    {"colour sine", ZOLT7707PartColourSine, 1000}, {"radials", ZOLT7707PartRadials, 1001},
    {"lasers", ZOLT7707PartLasers, 1000},
};

bool Black(const IMG *image)
{
    for (int32_t i = 0; i < image->width * image->height; ++i) {
        if (image->pixels[i] != 0) return false;
    }
    return true;
}

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
        PressKey(SDLK_SPACE);
        part.run();
        EXPECT_EQ(frameCount - before, 1);
        EXPECT_EQ(shown.count, 33);
        EXPECT_FALSE(nextPart);
    }
}

TEST_F(Demo, TheSecondPassMakesNoNewObjects)
{
    for (const PartRow &part : parts) {
        PressKey(SDLK_SPACE);
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
        PressKey(SDLK_SPACE);
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
        PressKey(SDLK_SPACE);
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
            PressKey(SDLK_SPACE);
            run();
            after[run == row.without] = RANDOMState();
        }
        EXPECT_EQ(after[1], after[0]);
    }
}

TEST_F(Demo, WithoutFadingEveryFrameStartsBlack)
{
    fadeOn = false;
    for (int32_t i = 0; i < 3; ++i) {
        IMGFillRect(screenImage, 10, 10, 20, 20, 0xFFFFFF);
        ZOLT7707FrameTail();
        EXPECT_TRUE(Black(screenImage));
    }
    fadeOn = true;
    IMGFillRect(screenImage, 10, 10, 20, 20, 0xFFFFFF);
    fadeColour = 0x010101;
    ZOLT7707FrameTail();
    EXPECT_EQ(IMGGetPixel(screenImage, 15, 15), 0xFEFEFEu);
    ZOLT7707FrameTail();
    EXPECT_EQ(IMGGetPixel(screenImage, 15, 15), 0xFDFDFDu);
}

TEST_F(Demo, TheRateOverlayShows19At25FramesPerSecond)
{
    for (int32_t i = 0; i < 60; ++i) ZOLT7707FrameTail();
    ASSERT_EQ(measuredFps, 25);
    showFps = true;
    IMGClear(screenImage);
    ZOLT7707FrameTail();
    // The same two glyphs drawn by the bitmap font on their own.
    IMG *expected = IMGNew();
    IMGResize(expected, 256, 256);
    IMG *target = bitmapFont->target;
    bitmapFont->target = expected;
    bitmapFont->x = 0;
    bitmapFont->y = 0;
    bitmapFont->code = '1';
    FONTPutChar(bitmapFont);
    bitmapFont->code = '9';
    FONTPutChar(bitmapFont);
    bitmapFont->target = target;
    int32_t ink = 0;
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 32; ++x) {
            ASSERT_EQ(IMGGetPixel(shown.last, x, y), IMGGetPixel(expected, x, y)) << x << "," << y;
            ink += IMGGetPixel(expected, x, y) != 0;
        }
    }
    EXPECT_GT(ink, 20);
    IMGFree(&expected);
}

TEST_F(Demo, ScrollSpeedKeysSetAllThreeScrollers)
{
    PressKey(SDLK_u);
    ZOLT7707FrameTail();
    EXPECT_EQ(textScroller->speed, 0);
    EXPECT_EQ(lowScroller->speed, 0);
    EXPECT_EQ(bigScroller->speed, 0);
    const int32_t offset = textScroller->offset;
    SCROLLAdvance(textScroller);
    EXPECT_EQ(textScroller->offset, offset);
    PressKey(SDLK_p);
    ZOLT7707FrameTail();
    EXPECT_EQ(textScroller->speed, 4);
    EXPECT_EQ(lowScroller->speed, 4);
    EXPECT_EQ(bigScroller->speed, 4);
}

TEST_F(Demo, SwitchKeysToggleAndRateKeysSetTheTarget)
{
    ZOLT7707OnKey('8');
    ZOLT7707OnKey('b');
    ZOLT7707OnKey('m');
    ZOLT7707OnKey('r');
    EXPECT_TRUE(showFps);
    EXPECT_TRUE(blurOn);
    EXPECT_FALSE(fadeOn);
    EXPECT_TRUE(radialsOn);
    ZOLT7707OnKey('6');
    EXPECT_EQ(targetFps, 50);
    ZOLT7707OnKey('5');
    EXPECT_EQ(targetFps, 25);
    for (const char key : std::string_view("12347900aA\x7f")) {
        ZOLT7707OnKey(static_cast<int8_t>(key));
    }
    EXPECT_TRUE(showFps && blurOn && !fadeOn && radialsOn && !nextPart);
    // A blurred frame is presented from the blur image and leaves the screen image as it was drawn.
    IMGClear(screenImage);
    IMGSetPixel(screenImage, 100, 100, 0x909090);
    fadeOn = true;
    fadeColour = 0;
    showFps = false;
    ZOLT7707Show();
    EXPECT_EQ(IMGGetPixel(shown.last, 100, 100), 0x101010u);
    EXPECT_EQ(IMGGetPixel(screenImage, 100, 100), 0x909090u);
}

// The first frame after the fade-out, with the corner letters' area masked out.
IMG *FirstFrame(Part part)
{
    ResetPresentations();
    IMG *first = nullptr;
    presentHook = [](const IMG *image) {
        Record(image);
        if (shown.count == 33) PressKey(SDLK_SPACE);
    };
    part();
    presentHook = Record;
    first = IMGCopy(shown.last);
    return first;
}

// The letters spin about their pens at (192 .. 240, 16): a 16-pixel glyph reaches 23 pixels out.
bool InLetters(int32_t x, int32_t y) { return x >= 192 - 23 && y < 16 + 23; }

TEST_F(Demo, LasersStartSymmetricAboutBothAxes)
{
    ZOLT7707PartLasers();  // the first run makes the lasers
    IMG *frame = FirstFrame(ZOLT7707PartLasers);
    int32_t lit = 0;
    for (int32_t y = 0; y < 256; ++y) {
        for (int32_t x = 0; x < 256; ++x) {
            const int32_t mx = 255 - x, my = 255 - y;
            if (InLetters(x, y) || InLetters(mx, y) || InLetters(x, my) || InLetters(mx, my)) continue;
            const uint32_t p = IMGGetPixel(frame, x, y);
            lit += p != 0;
            ASSERT_EQ(p, IMGGetPixel(frame, mx, y)) << x << "," << y;
            ASSERT_EQ(p, IMGGetPixel(frame, x, my)) << x << "," << y;
        }
    }
    EXPECT_GT(lit, 1000);
    IMGFree(&frame);
}

TEST_F(Demo, LineFramesStartPointSymmetric)
{
    IMG *frame = FirstFrame(ZOLT7707PartFrames);
    int32_t lit = 0;
    for (int32_t y = 0; y < 256; ++y) {
        for (int32_t x = 0; x < 256; ++x) {
            if (InLetters(x, y) || InLetters(255 - x, 255 - y)) continue;
            const uint32_t p = IMGGetPixel(frame, x, y);
            lit += p != 0;
            ASSERT_EQ(p, IMGGetPixel(frame, 255 - x, 255 - y)) << x << "," << y;
        }
    }
    EXPECT_GT(lit, 1000);
    IMGFree(&frame);
}

}  // namespace

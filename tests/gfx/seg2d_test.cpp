#include <gtest/gtest.h>

#include "../alloc_limit.h"
#include "gfx/img.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

IMG *Image(int32_t w, int32_t h)
{
    IMG *img = IMGNew();
    IMGResize(img, w, h);
    return img;
}

// The lit pixels of an image as (x, y) pairs, row by row.
std::vector<std::pair<int32_t, int32_t>> Lit(const IMG *img)
{
    std::vector<std::pair<int32_t, int32_t>> lit;
    for (int32_t y = 0; y < img->height; ++y) {
        for (int32_t x = 0; x < img->width; ++x) {
            if (img->pixels[x + y * img->width] != 0) {
                lit.emplace_back(x, y);
            }
        }
    }
    return lit;
}

SEG2D *Segment(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    SEG2D *s = SEG2DNew();
    s->start->x = x0;
    s->start->y = y0;
    s->end->x = x1;
    s->end->y = y1;
    return s;
}

void ExpectEnds(const SEG2D *s, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    EXPECT_EQ(s->start->x, x0);
    EXPECT_EQ(s->start->y, y0);
    EXPECT_EQ(s->end->x, x1);
    EXPECT_EQ(s->end->y, y1);
}

std::string Printed(const std::function<void()> &call)
{
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(SEG2DNew, RunsFromOriginToOneOneInWhiteAndDrawsBothPixels)
{
    SEG2D *s = SEG2DNew();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->start, nullptr);
    ASSERT_NE(s->end, nullptr);
    ExpectEnds(s, 0, 0, 1, 1);
    EXPECT_EQ(s->start->colour, 0xFFFFFFu);
    EXPECT_EQ(s->end->colour, 0xFFFFFFu);
    EXPECT_NE(s->start, s->end);

    IMG *img = Image(4, 4);
    SEG2DDraw(s, img);
    EXPECT_EQ(Lit(img), (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {1, 1}}));
    EXPECT_EQ(IMGGetPixel(img, 1, 1), 0xFFFFFFu);
    IMGFree(&img);
    SEG2DFree(&s);
    EXPECT_EQ(s, nullptr);
}

TEST(SEG2DFree, ReleasesWhatIsPresentAndNullsTheHandle)
{
    SEG2D *s = SEG2DNew();
    VEC2DFree(&s->end);
    SEG2DFree(&s);
    EXPECT_EQ(s, nullptr);
    // Already freed: only the (silent) report.
    EXPECT_EQ(Printed([&] { SEG2DFree(&s); }), "");
    SEG2DFree(nullptr);
    AllocationLimit two(2);  // the record and the start point: the end point fails
    EXPECT_EQ(SEG2DNew(), nullptr);
}

TEST(SEG2DFreeRecord, LeavesTheEndPointsToTheirOtherOwner)
{
    SEG2D *s = SEG2DNew();
    VEC2D *start = s->start;
    VEC2D *end = s->end;
    SEG2DFreeRecord(&s);
    EXPECT_EQ(s, nullptr);
    start->x = 5;  // still alive
    VEC2DFree(&start);
    VEC2DFree(&end);
    SEG2DFreeRecord(&s);
}

TEST(SEG2DDraw, UsesTheStartColourAndClipsPointByPoint)
{
    IMG *img = Image(8, 8);
    SEG2D *s = Segment(-2, 3, 9, 3);
    s->start->colour = 0xFF0000u;
    s->end->colour = 0x0000FFu;
    SEG2DDraw(s, img);
    for (int32_t x = 0; x < 8; ++x) {
        EXPECT_EQ(IMGGetPixel(img, x, 3), 0xFF0000u) << x;
    }
    EXPECT_EQ(Lit(img).size(), 8u);
    SEG2DFree(&s);
    IMGFree(&img);
}

TEST(SEG2DDrawEnds, DrawsEachEndPointInItsOwnColour)
{
    IMG *img = Image(8, 8);
    SEG2D *s = Segment(1, 1, 6, 4);
    s->start->colour = 0xFF0000u;
    s->end->colour = 0x0000FFu;
    SEG2DDrawEnds(s, img);
    EXPECT_EQ(IMGGetPixel(img, 1, 1), 0xFF0000u);
    EXPECT_EQ(IMGGetPixel(img, 6, 4), 0x0000FFu);
    EXPECT_EQ(Lit(img).size(), 2u);
    SEG2DFree(&s);
    IMGFree(&img);
}

TEST(SEG2DEqual, ComparesBothEndPoints)
{
    SEG2D *a = SEG2DNew();
    SEG2D *b = SEG2DNew();
    EXPECT_TRUE(SEG2DEqual(a, b));
    VEC2DScale(b->end, 2);
    EXPECT_FALSE(SEG2DEqual(a, b));
    VEC2DScale(a->end, 2);
    EXPECT_TRUE(SEG2DEqual(a, b));
    a->start->colour = 0;
    EXPECT_FALSE(SEG2DEqual(a, b));
    EXPECT_FALSE(SEG2DEqual(a, nullptr));
    EXPECT_FALSE(SEG2DEqual(nullptr, nullptr));
    SEG2DFree(&a);
    SEG2DFree(&b);
}

TEST(SEG2DCopy, CopiesAreDeepAndCopyToAllocatesNothing)
{
    SEG2D *s = Segment(1, 2, 3, 4);
    s->end->colour = 0x00FF00u;
    SEG2D *copy = SEG2DCopy(s);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(SEG2DEqual(s, copy));
    EXPECT_EQ(copy->start->y, 2);  // from s, not s from the copy
    EXPECT_NE(copy->start, s->start);
    EXPECT_NE(copy->end, s->end);
    copy->end->x = 40;
    EXPECT_EQ(s->end->x, 3);

    SEG2D *target = SEG2DNew();
    VEC2D *keptStart = target->start;
    SEG2DCopyTo(s, target);
    EXPECT_TRUE(SEG2DEqual(s, target));
    EXPECT_EQ(target->start->y, 2);
    EXPECT_EQ(target->end->colour, 0x00FF00u);
    EXPECT_EQ(target->start, keptStart);
    EXPECT_EQ(SEG2DCopy(nullptr), nullptr);
    SEG2DFree(&s);
    SEG2DFree(&copy);
    SEG2DFree(&target);
}

TEST(SEG2DRotate, TurnsBothEndsAboutTheOriginThenTranslateAndScaleMoveThem)
{
    SEG2D *s = Segment(100, 0, 0, -100);
    SEG2DRotate(s, 256);
    // (0, -100) turns to 99.99..., rounded down.
    ExpectEnds(s, 0, 99, 99, 0);
    VEC2D offset{-10, 5, 0};
    SEG2DTranslate(s, &offset);
    ExpectEnds(s, -10, 104, 89, 5);
    SEG2DScale(s, 3);
    ExpectEnds(s, -30, 312, 267, 15);
    SEG2DFree(&s);
}

TEST(SEG2DDrawTransformed, DrawsTheMovedCopyAndLeavesTheModelAlone)
{
    IMG *direct = Image(32, 32);
    IMG *byHand = Image(32, 32);
    SEG2D *s = Segment(-5, 0, 5, 2);
    s->start->colour = 0x123456u;
    SEG2D *model = SEG2DCopy(s);
    VEC2D offset{16, 16, 0};
    for (int32_t angle : {0, 100, 256, 700, -33}) {
        IMGClear(direct);
        IMGClear(byHand);
        SEG2DDrawTransformed(s, angle, &offset, direct);
        EXPECT_TRUE(SEG2DEqual(s, model));

        SEG2D *moved = SEG2DCopy(s);
        SEG2DRotate(moved, angle);
        SEG2DTranslate(moved, &offset);
        SEG2DDraw(moved, byHand);
        SEG2DFree(&moved);
        EXPECT_FALSE(Lit(direct).empty());
        EXPECT_TRUE(IMGEqual(direct, byHand)) << "angle " << angle;
    }
    SEG2DFree(&model);
    SEG2DFree(&s);
    IMGFree(&direct);
    IMGFree(&byHand);
}

// The report is switched off: failed calls print nothing, not even through
// the end points' own module, and change nothing.
TEST(SEG2DError, FailedCallsAreSilentAndHaveNoEffect)
{
    IMG *img = Image(4, 4);
    SEG2D *s = SEG2DNew();
    SEG2D *halfS = SEG2DNew();
    VEC2DFree(&halfS->end);
    const SEG2D *half = halfS;
    VEC2D offset{1, 1, 0};
    const std::vector<std::function<void()>> failures = {
        [&] { EXPECT_EQ(SEG2DCopy(half), nullptr); },
        [&] { SEG2DCopyTo(half, s); },
        [&] { SEG2DCopyTo(s, nullptr); },
        [&] { EXPECT_FALSE(SEG2DEqual(s, half)); },
        [&] { EXPECT_EQ(SEG2DToASCII(nullptr), nullptr); },
        [&] { EXPECT_EQ(SEG2DToASCII(s), nullptr); },
        [&] { EXPECT_EQ(SEG2DFromASCII(nullptr), nullptr); },
        [&] { SEG2DDraw(half, img); },
        [&] { SEG2DDraw(s, nullptr); },
        [&] { SEG2DDrawEnds(half, img); },
        [&] { SEG2DRotate(nullptr, 256); },
        [&] { SEG2DRotate(halfS, 256); },
        [&] { SEG2DTranslate(s, nullptr); },
        [&] { SEG2DTranslate(halfS, &offset); },
        [&] { SEG2DScale(halfS, 2); },
        [&] { SEG2DDrawTransformed(half, 0, &offset, img); },
        [&] { SEG2DDrawTransformed(s, 0, nullptr, img); },
        [&] { SEG2DDrawTransformed(s, 0, &offset, nullptr); },
        [&] { SEG2DFreeRecord(nullptr); },
    };
    for (size_t i = 0; i < failures.size(); ++i) {
        EXPECT_EQ(Printed(failures[i]), "") << "call " << i;
    }
    ExpectEnds(s, 0, 0, 1, 1);
    EXPECT_EQ(half->start->x, 0);
    EXPECT_EQ(half->start->y, 0);
    EXPECT_TRUE(Lit(img).empty());
    SEG2DFree(&halfS);
    SEG2DFree(&s);
    IMGFree(&img);
}

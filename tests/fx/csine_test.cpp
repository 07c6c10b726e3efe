#include <gtest/gtest.h>

#include <cstdlib>

#include "core/list.h"
#include "fx/csine.h"
#include "fx_images.h"
#include "gfx/random.h"
#include "gfx/seg2d.h"
#include "gfx/sine.h"

namespace {

using fxtest::Image;

const SEG2D *Seg(const CSINE *c, int32_t i) { return static_cast<const SEG2D *>(LISTGet(c->segments, i)); }

int32_t S(int32_t k) { return sineTable.entries[k & 1023]; }

class CsineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RANDOMSeed(randomSeed);
        csine = CSINENew();
        ASSERT_NE(csine, nullptr);
    }
    void TearDown() override { CSINEFree(&csine); }
    CSINE *csine = nullptr;
};

TEST_F(CsineTest, FirstPointsAfterOneUpdateFollowBothWaves)
{
    ASSERT_EQ(csine->segments->count, 64);
    EXPECT_EQ(csine->colour, 0xFFFFFF);
    CSINEUpdate(csine);
    // Point 0 at radius phase 8 and angle 16; point 1 one step further along both.
    const int32_t r0 = 128 + ((128 * S(8)) >> 16);
    EXPECT_EQ(Seg(csine, 0)->start->x, 128 + ((r0 * S(16)) >> 16));
    EXPECT_EQ(Seg(csine, 0)->start->y, 128 + ((r0 * S(272)) >> 16));
    const int32_t r1 = 128 + ((128 * S(88)) >> 16);
    EXPECT_EQ(Seg(csine, 1)->start->x, 128 + ((r1 * S(48)) >> 16));
    EXPECT_EQ(Seg(csine, 1)->start->y, 128 + ((r1 * S(304)) >> 16));
}

TEST_F(CsineTest, CentreOffsetMovesTheCurve)
{
    csine->x = 10;
    csine->y = -20;
    csine->width = 100;
    csine->height = 60;
    CSINEUpdate(csine);
    const int32_t r0 = 128 + ((128 * S(8)) >> 16);
    EXPECT_EQ(Seg(csine, 0)->start->x, 60 + ((r0 * S(16)) >> 16));
    EXPECT_EQ(Seg(csine, 0)->start->y, 10 + ((r0 * S(272)) >> 16));
}

TEST_F(CsineTest, CurveIsOpenPolyline)
{
    CSINEUpdate(csine);
    const int32_t n = csine->segments->count;
    for (int32_t i = 0; i + 1 < n; ++i) {
        EXPECT_EQ(Seg(csine, i)->end->x, Seg(csine, i + 1)->start->x) << i;
        EXPECT_EQ(Seg(csine, i)->end->y, Seg(csine, i + 1)->start->y) << i;
    }
    EXPECT_EQ(Seg(csine, n - 1)->end->x, Seg(csine, n - 1)->start->x);
    EXPECT_EQ(Seg(csine, n - 1)->end->y, Seg(csine, n - 1)->start->y);
}

TEST_F(CsineTest, LastSegmentDrawsOnePixel)
{
    CSINESetSegments(csine, 1);
    CSINEUpdate(csine);
    Image image(256, 256);
    CSINEDraw(csine, image.get());
    const auto lit = fxtest::Lit(image);
    ASSERT_EQ(lit.size(), 1u);
    EXPECT_EQ(*lit.begin(), std::make_pair(Seg(csine, 0)->start->x, Seg(csine, 0)->start->y));
}

TEST_F(CsineTest, ZeroAmplitudeKeepsEveryPointOnACircle)
{
    csine->radiusAmplitude = 0;
    csine->radius = 128;
    for (int frame = 0; frame < 5; ++frame) {
        CSINEUpdate(csine);
        for (int32_t i = 0; i < csine->segments->count; ++i) {
            const int32_t dx = Seg(csine, i)->start->x - 128;
            const int32_t dy = Seg(csine, i)->start->y - 128;
            const int32_t d2 = dx * dx + dy * dy;
            // 63 pixels, give or take the rounding down of both coordinates.
            EXPECT_GE(d2, 62 * 62) << i;
            EXPECT_LE(d2, 65 * 65) << i;
        }
    }
}

TEST_F(CsineTest, SignOfAngleStepSetsTheTurningSense)
{
    csine->radiusAmplitude = 0;
    auto turning = [&](int32_t step) {
        csine->angleStep = step;
        CSINEUpdate(csine);
        int64_t sum = 0;
        for (int32_t i = 0; i + 1 < csine->segments->count; ++i) {
            const int64_t ax = Seg(csine, i)->start->x - 128;
            const int64_t ay = Seg(csine, i)->start->y - 128;
            const int64_t bx = Seg(csine, i + 1)->start->x - 128;
            const int64_t by = Seg(csine, i + 1)->start->y - 128;
            sum += ax * by - ay * bx;
        }
        return sum;
    };
    // With y downwards a negative cross product is anticlockwise on screen.
    EXPECT_LT(turning(32 << 16), 0);
    EXPECT_GT(turning(-(32 << 16)), 0);
}

TEST_F(CsineTest, RadialsStartAtImageCentreUntilNextUpdate)
{
    CSINEUpdate(csine);
    const int32_t endX = Seg(csine, 5)->end->x;
    const int32_t endY = Seg(csine, 5)->end->y;
    Image image(200, 100);
    CSINEDrawRadials(csine, image.get());
    for (int32_t i = 0; i < csine->segments->count; ++i) {
        EXPECT_EQ(Seg(csine, i)->start->x, 100);
        EXPECT_EQ(Seg(csine, i)->start->y, 50);
    }
    EXPECT_EQ(Seg(csine, 5)->end->x, endX);
    EXPECT_EQ(Seg(csine, 5)->end->y, endY);
    EXPECT_EQ(image.at(100, 50), 0xFFFFFFu);
    CSINEUpdate(csine);
    EXPECT_NE(std::make_pair(Seg(csine, 0)->start->x, Seg(csine, 0)->start->y), std::make_pair(100, 50));
}

TEST_F(CsineTest, DrawJoinsThePointsInTheCurveColour)
{
    CSINESetColour(csine, 0x123456);
    CSINEUpdate(csine);
    Image image(256, 256);
    CSINEDraw(csine, image.get());
    for (int32_t i = 0; i < csine->segments->count; ++i) {
        EXPECT_EQ(image.at(Seg(csine, i)->start->x, Seg(csine, i)->start->y), 0x123456u) << i;
    }
}

TEST_F(CsineTest, SetColourReachesEveryEndPoint)
{
    CSINESetColour(csine, 0x00FF00);
    EXPECT_EQ(csine->colour, 0x00FF00);
    for (int32_t i = 0; i < csine->segments->count; ++i) {
        EXPECT_EQ(Seg(csine, i)->start->colour, 0x00FF00u);
        EXPECT_EQ(Seg(csine, i)->end->colour, 0x00FF00u);
    }
}

TEST_F(CsineTest, RandomizeDrawsInItsFixedOrder)
{
    RANDOMSeed(12345);
    csine->width = 100;
    CSINERandomize(csine);
    EXPECT_EQ(csine->width, 256);
    RANDOMSeed(12345);
    const int32_t r[10] = {RANDOMNext(), RANDOMNext(), RANDOMNext(), RANDOMNext(), RANDOMNext(),
                           RANDOMNext(), RANDOMNext(), RANDOMNext(), RANDOMNext(), RANDOMNext()};
    const uint32_t after = RANDOMState();
    EXPECT_EQ(csine->radiusPhase, (r[0] & 1023) << 16);
    EXPECT_EQ(csine->radiusSpeed, ((r[1] & 0x1F) * 2 - 15) * 65536);
    EXPECT_EQ(csine->radiusStep, ((r[2] & 0x3F) * 2 - 31) * 65536);
    EXPECT_EQ(csine->radiusAmplitude, (r[3] & 0xFF) + 16);
    EXPECT_EQ(csine->colour, r[4] & 0xFFFFFF);
    EXPECT_EQ(csine->anglePhase, (r[5] & 1023) << 16);
    EXPECT_EQ(csine->angleSpeed, ((r[6] & 0x1F) * 2 - 15) * 65536);
    EXPECT_EQ(csine->angleStep, ((r[7] & 0xF) * 2 - 7) * 65536);
    EXPECT_EQ(csine->radius, (r[8] & 0xFF) + 16);
    EXPECT_EQ(csine->segments->count, (r[9] & 0xFF) + 64);
    // Randomizing takes exactly ten draws and leaves the new segments white.
    RANDOMSeed(12345);
    CSINERandomize(csine);
    EXPECT_EQ(RANDOMState(), after);
    EXPECT_EQ(Seg(csine, 0)->start->colour, 0xFFFFFFu);
}

TEST_F(CsineTest, RandomizeFlowerRunsWholeRadiusWaves)
{
    RANDOMSeed(777);
    CSINERandomizeFlower(csine);
    const uint32_t after = RANDOMState();
    RANDOMSeed(777);
    int32_t r[10];
    for (int32_t &value : r) {
        value = RANDOMNext();
    }
    const int32_t n = (r[0] & 0xFF) + 64;
    const int32_t k = (r[1] & 0xF) + 1;
    EXPECT_EQ(csine->segments->count, n);
    EXPECT_EQ(csine->radiusPhase, (r[2] & 1023) << 16);
    EXPECT_EQ(csine->radiusSpeed, ((r[3] & 0x1F) + 1) << 16);
    EXPECT_EQ(csine->radiusStep, static_cast<int32_t>(int64_t{k} * 1024 * 65536 / n));
    EXPECT_EQ(csine->radiusAmplitude, (r[4] & 0xFF) + 16);
    EXPECT_EQ(csine->colour, r[5] & 0xFFFFFF);
    EXPECT_EQ(csine->anglePhase, (r[6] & 1023) << 16);
    EXPECT_EQ(csine->angleSpeed, ((r[7] & 0x1F) + 1) << 16);
    EXPECT_EQ(csine->angleStep, ((r[8] & 0x3F) + 16) << 16);
    EXPECT_EQ(csine->radius, (r[9] & 0xFF) + 16);
    EXPECT_EQ(RANDOMState(), after);
}

TEST_F(CsineTest, RingClosesOnTheFirstPoint)
{
    CSINESetSegments(csine, 4);
    csine->radiusAmplitude = 0;
    CSINEUpdateRing(csine);
    // Four points a quarter turn apart: below, right, above and left of the centre.
    const int32_t r = (128 * S(256)) >> 16;
    EXPECT_EQ(std::make_pair(Seg(csine, 0)->start->x, Seg(csine, 0)->start->y), std::make_pair(128, 128 + r));
    EXPECT_EQ(std::make_pair(Seg(csine, 1)->start->x, Seg(csine, 1)->start->y), std::make_pair(128 + r, 128));
    EXPECT_EQ(Seg(csine, 3)->end->x, Seg(csine, 0)->start->x);
    EXPECT_EQ(Seg(csine, 3)->end->y, Seg(csine, 0)->start->y);
}

TEST_F(CsineTest, NoSegmentsUpdatesAndDrawsNothing)
{
    CSINESetSegments(csine, 0);
    ASSERT_NE(csine->segments, nullptr);
    EXPECT_EQ(csine->segments->count, 0);
    CSINEUpdate(csine);
    CSINEUpdateRing(csine);
    Image image(16, 16);
    CSINEDraw(csine, image.get());
    CSINEDrawRadials(csine, image.get());
    EXPECT_TRUE(fxtest::Lit(image).empty());
    CSINESetSegments(csine, -1);
    EXPECT_EQ(csine->segments->count, 0);
}

TEST_F(CsineTest, PhasesRunOnForEver)
{
    csine->radiusPhase = INT32_MAX - 1;
    csine->anglePhase = INT32_MIN + 1;
    csine->radiusSpeed = 47 << 16;
    csine->angleSpeed = -(15 << 16);
    csine->radiusStep = 95 << 16;
    for (int frame = 0; frame < 3; ++frame) {
        CSINEUpdate(csine);
    }
    Image image(256, 256);
    CSINEDraw(csine, image.get());
    EXPECT_FALSE(fxtest::Lit(image).empty());
}

TEST(CSINEProtocol, NullAndPlaceholders)
{
    CSINE *none = nullptr;
    CSINEFree(&none);
    CSINEFree(nullptr);
    CSINEUpdate(nullptr);
    CSINEDraw(nullptr, nullptr);
    CSINESetColour(nullptr, 1);
    CSINERandomize(nullptr);
    EXPECT_EQ(CSINECopy(nullptr), nullptr);
    CSINE *csine = CSINENew();
    CSINEDraw(csine, nullptr);
    CSINEDrawRadials(csine, nullptr);
    EXPECT_EQ(CSINEToASCII(csine), nullptr);
    EXPECT_EQ(CSINEFromASCII("CSINE"), nullptr);
    EXPECT_FALSE(CSINEEqual(csine, csine));
    csine->radius = 5;
    CSINE *copy = CSINECopy(csine);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->radius, 128);
    EXPECT_EQ(copy->segments->count, 64);
    CSINEFree(&copy);
    CSINEFree(&csine);
    EXPECT_EQ(csine, nullptr);
}

}  // namespace

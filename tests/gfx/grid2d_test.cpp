#include <gtest/gtest.h>

#include "gfx/grid2d.h"
#include "gfx/img.h"
#include "gfx/random.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int32_t one = 65536;  // one pixel in 16.16

IMG *Image(int32_t w, int32_t h)
{
    IMG *img = IMGNew();
    IMGResize(img, w, h);
    return img;
}

int32_t *P(GRID2D *g, int32_t i) { return g->points + i * grid2dPointFields; }

// A grid of one point with the given position and velocity, stepping against
// a black obstacle image.
GRID2D *OnePoint(IMG *obstacles, std::vector<int32_t> fields)
{
    GRID2D *g = GRID2DNew();
    GRID2DSetCount(g, 1);
    for (int32_t f = 0; f < grid2dPointFields; ++f) {
        P(g, 0)[f] = fields[f];
    }
    GRID2DDrawPoints(g, obstacles);
    IMGClear(obstacles);
    return g;
}

std::vector<int32_t> Fields(GRID2D *g, int32_t i) { return std::vector<int32_t>(P(g, i), P(g, i) + grid2dPointFields); }

// The velocity that GRID2DRandomVelocity draws next: per component a
// magnitude, then a draw whose lowest bit negates it.
std::vector<int32_t> NextVelocity()
{
    std::vector<int32_t> v;
    for (int c = 0; c < 3; ++c) {
        int32_t m = RANDOMNext() & 0x3FFFF;
        v.push_back((RANDOMNext() & 1) != 0 ? -m : m);
    }
    return v;
}

std::string Printed(const std::function<void()> &call)
{
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(GRID2DNew, SixteenWholePixelPointsInsideTheBox)
{
    GRID2D *g = GRID2DNew();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->width, 256);
    EXPECT_EQ(g->height, 256);
    EXPECT_EQ(g->depth, 256);
    EXPECT_EQ(g->image, nullptr);
    ASSERT_EQ(g->count, 16);
    ASSERT_NE(g->points, nullptr);
    for (int32_t i = 0; i < g->count; ++i) {
        for (int32_t axis = 0; axis < 3; ++axis) {
            const int32_t p = P(g, i)[axis];
            EXPECT_GE(p, 0);
            EXPECT_LT(p, 256 * one);
            EXPECT_EQ(p & 0xFFFF, 0) << "point " << i << " axis " << axis;
            const int32_t v = P(g, i)[3 + axis];
            EXPECT_GT(v, -32768);
            EXPECT_LT(v, 32768);
        }
    }
    GRID2DFree(&g);
    EXPECT_EQ(g, nullptr);
}

TEST(GRID2DNew, DrawsPositionsThenVelocitiesFromTheLastPointToTheFirst)
{
    RANDOMSeed(12345u);
    GRID2D *g = GRID2DNew();
    const uint32_t after = RANDOMState();

    RANDOMSeed(12345u);
    for (int32_t i = 15; i >= 0; --i) {
        const int32_t x = (RANDOMNext() % 256) << 16;
        const int32_t y = (RANDOMNext() % 256) << 16;
        const int32_t z = (RANDOMNext() % 256) << 16;
        const std::vector<int32_t> v = NextVelocity();
        EXPECT_EQ(Fields(g, i), (std::vector<int32_t>{x, y, z, v[0], v[1], v[2]})) << "point " << i;
    }
    EXPECT_EQ(RANDOMState(), after);
    GRID2DFree(&g);
}

TEST(GRID2DRandomPosition, UsesTheBoxSizeOfEachAxis)
{
    GRID2D *g = GRID2DNew();
    g->width = 3;
    g->height = 1000;
    g->depth = 1;
    RANDOMSeed(7u);
    GRID2DRandomPosition(g, 5);
    RANDOMSeed(7u);
    EXPECT_EQ(P(g, 5)[0], (RANDOMNext() % 3) << 16);
    EXPECT_EQ(P(g, 5)[1], (RANDOMNext() % 1000) << 16);
    EXPECT_EQ(P(g, 5)[2], 0);
    GRID2DFree(&g);
}

TEST(GRID2DStep, WrapsAtTheFacesOfTheBox)
{
    IMG *img = Image(256, 256);
    const int32_t nearRight = 255 * one + 57344;  // 255.875 pixels
    const int32_t nearLeft = 8192;                // 0.125 pixel
    const int32_t quarter = one / 4;

    GRID2D *g = OnePoint(img, {nearRight, nearLeft, nearLeft, quarter, -quarter, -quarter});
    GRID2DStep(g);
    EXPECT_EQ(Fields(g, 0), (std::vector<int32_t>{nearLeft, nearRight, nearRight, quarter, -quarter, -quarter}));
    GRID2DStep(g);
    EXPECT_EQ(Fields(g, 0), (std::vector<int32_t>{nearLeft + quarter, nearRight - quarter, nearRight - quarter, quarter,
                                                  -quarter, -quarter}));
    GRID2DFree(&g);

    g = OnePoint(img, {nearLeft, nearRight, nearRight, -quarter, quarter, quarter});
    GRID2DStep(g);
    EXPECT_EQ(Fields(g, 0), (std::vector<int32_t>{nearRight, nearLeft, nearLeft, -quarter, quarter, quarter}));
    GRID2DFree(&g);
    g = OnePoint(img, {quarter, quarter, quarter, -quarter, -quarter, -quarter});  // lands on 0 exactly
    GRID2DStep(g);
    EXPECT_EQ(Fields(g, 0), (std::vector<int32_t>{0, 0, 0, -quarter, -quarter, -quarter}));
    GRID2DFree(&g);
    IMGFree(&img);
}

TEST(GRID2DStep, MovesNothingBeforeTheFieldHasBeenDrawn)
{
    GRID2D *g = GRID2DNew();
    const std::vector<int32_t> before(g->points, g->points + g->count * grid2dPointFields);
    const uint32_t state = RANDOMState();
    GRID2DStep(g);
    EXPECT_EQ(std::vector<int32_t>(g->points, g->points + g->count * grid2dPointFields), before);
    EXPECT_EQ(RANDOMState(), state);
    GRID2DFree(&g);
}

TEST(GRID2DStep, StopsAtAnObstacleAndTurnsToANewVelocity)
{
    IMG *img = Image(32, 32);
    GRID2D *g = OnePoint(img, {10 * one, 10 * one, 3 * one, one, 0, 0});
    IMGSetPixel(img, 11, 10, 0xFFFFFFu);

    RANDOMSeed(99u);
    GRID2DStep(g);
    RANDOMSeed(99u);
    const std::vector<int32_t> v = NextVelocity();
    EXPECT_EQ(Fields(g, 0), (std::vector<int32_t>{10 * one, 10 * one, 3 * one, v[0], v[1], v[2]}));

    // The new velocity is under half a pixel, so the next position lies in
    // pixel row 9 or 10 next to the obstacle, all of it black.
    IMGSetPixel(img, 10, 10, 0);
    GRID2DStep(g);
    EXPECT_EQ(Fields(g, 0), (std::vector<int32_t>{10 * one + v[0], 10 * one + v[1], 3 * one + v[2], v[0], v[1], v[2]}));
    GRID2DFree(&g);
    IMGFree(&img);
}

TEST(GRID2DStep, BoxBeyondTheImageIsFreeAndPointsStayInsideOverManySteps)
{
    IMG *img = Image(64, 64);
    RANDOMSeed(randomSeed);
    GRID2D *g = GRID2DNew();
    g->width = 100;
    g->height = 7;
    g->depth = 1;
    GRID2DSetCount(g, 40);
    for (int32_t frame = 0; frame < 400; ++frame) {
        IMGClear(img);
        GRID2DDrawPoints(g, img);
        GRID2DStep(g);
        for (int32_t i = 0; i < g->count; ++i) {
            const int32_t *p = P(g, i);
            ASSERT_TRUE(p[0] >= 0 && p[0] < 100 * one) << p[0];
            ASSERT_TRUE(p[1] >= 0 && p[1] < 7 * one) << p[1];
            ASSERT_TRUE(p[2] >= 0 && p[2] < 1 * one) << p[2];
        }
    }
    GRID2DFree(&g);
    IMGFree(&img);
}

TEST(GRID2DDrawPoints, ShadesByDepthAndBecomesTheObstacleMap)
{
    IMG *img = Image(16, 16);
    GRID2D *g = GRID2DNew();
    GRID2DSetCount(g, 3);
    const int32_t depths[] = {0, 255 * one, 128 * one + 100};
    for (int32_t i = 0; i < 3; ++i) {
        P(g, i)[0] = (2 + i) * one + 40000;
        P(g, i)[1] = 5 * one;
        P(g, i)[2] = depths[i];
    }
    IMGSetPixel(img, 3, 5, 0x0000FFu);
    GRID2DDrawPoints(g, img);
    EXPECT_EQ(g->image, img);
    EXPECT_EQ(IMGGetPixel(img, 2, 5), 0xFFFF00u);
    EXPECT_EQ(IMGGetPixel(img, 3, 5), 0x000000u);
    EXPECT_EQ(IMGGetPixel(img, 4, 5), 0x7F7F00u);
    GRID2DFree(&g);
    IMGFree(&img);
}

TEST(GRID2DDrawSprites, CentresAMaskedSpriteOnEachPoint)
{
    IMG *img = Image(16, 16);
    IMG *sprite = Image(3, 2);
    IMGSetPixel(sprite, 0, 0, 0xFF0000u);
    IMGSetPixel(sprite, 1, 1, 0x00FF00u);
    IMGSetPixel(sprite, 2, 1, 0x00FF00u);
    IMGSetPixel(img, 10, 8, 0x0000FFu);
    GRID2D *g = GRID2DNew();
    GRID2DSetCount(g, 2);
    P(g, 0)[0] = 10 * one;
    P(g, 0)[1] = 9 * one;
    P(g, 1)[0] = 0;
    P(g, 1)[1] = 0;
    GRID2DDrawSprites(g, img, sprite);
    EXPECT_EQ(IMGGetPixel(img, 9, 8), 0xFF0000u);
    EXPECT_EQ(IMGGetPixel(img, 10, 9), 0x00FF00u);
    EXPECT_EQ(IMGGetPixel(img, 11, 9), 0x00FF00u);
    EXPECT_EQ(IMGGetPixel(img, 10, 8), 0x0000FFu);  // sprite pixel 0 leaves it
    EXPECT_EQ(IMGGetPixel(img, 0, 0), 0x00FF00u);   // clipped at the corner
    EXPECT_EQ(g->image, nullptr);
    GRID2DFree(&g);
    IMGFree(&sprite);
    IMGFree(&img);
}

TEST(GRID2DSetCount, ReplacesThePointsAndRefusesNegativeCounts)
{
    GRID2D *g = GRID2DNew();
    GRID2DSetCount(g, 5);
    EXPECT_EQ(g->count, 5);
    int32_t *kept = g->points;
    GRID2DSetCount(g, -1);
    EXPECT_EQ(g->count, 5);
    EXPECT_EQ(g->points, kept);

    IMG *img = Image(8, 8);
    GRID2DSetCount(g, 0);
    EXPECT_EQ(g->count, 0);
    GRID2DDrawPoints(g, img);
    GRID2DStep(g);
    GRID2DReset(g);
    GRID2DRandomVelocity(g, 0);
    GRID2DFree(&g);
    IMGFree(&img);
}

// A box with a size the 16.16 positions cannot hold (or no size at all)
// must not divide by zero or overflow: those operations do nothing.
TEST(GRID2DStep, BoxesOutsideTheSupportedSizesAreLeftAlone)
{
    IMG *img = Image(8, 8);
    GRID2D *g = GRID2DNew();
    GRID2DDrawPoints(g, img);
    const std::vector<int32_t> before = Fields(g, 0);
    for (int32_t size : {0, -4, 32768, INT32_MAX}) {
        g->width = size;
        const uint32_t state = RANDOMState();
        GRID2DRandomPosition(g, 0);
        GRID2DStep(g);
        EXPECT_EQ(RANDOMState(), state) << size;
        EXPECT_EQ(Fields(g, 0), before) << size;
    }
    g->width = 32767;  // the widest box whose positions fit
    RANDOMSeed(5);
    const int32_t r = RANDOMNext();
    RANDOMSeed(5);
    GRID2DRandomPosition(g, 0);
    EXPECT_EQ(P(g, 0)[0], r % 32767 * one);
    GRID2DFree(&g);
    IMGFree(&img);
}

TEST(GRID2DError, ReportsEveryFailedFreeAndNothingElse)
{
    GRID2D *g = nullptr;
    EXPECT_EQ(Printed([&] {
                  GRID2DFree(&g);
                  GRID2DFree(nullptr);
              }),
              "GRID2D error\nGRID2D error\n");
    IMG *img = Image(4, 4);
    GRID2D *real = GRID2DNew();
    EXPECT_EQ(Printed([&] {
                  GRID2DSetCount(nullptr, 3);
                  GRID2DReset(nullptr);
                  GRID2DRandomPosition(nullptr, 0);
                  GRID2DRandomVelocity(nullptr, 0);
                  GRID2DRandomPosition(real, 16);
                  GRID2DRandomVelocity(real, -1);
                  GRID2DStep(nullptr);
                  GRID2DDrawPoints(nullptr, img);
                  GRID2DDrawPoints(real, nullptr);
                  GRID2DDrawSprites(nullptr, img, img);
                  GRID2DDrawSprites(real, nullptr, img);
                  GRID2DDrawSprites(real, img, nullptr);
              }),
              "");
    EXPECT_EQ(real->image, nullptr);
    GRID2DFree(&real);
    IMGFree(&img);
}

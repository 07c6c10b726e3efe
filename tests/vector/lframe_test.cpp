#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "gfx/img.h"
#include "gfx/random.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"
#include "vector/lframe.h"

namespace {

struct Place {
    int32_t x, y, vx, vy;
};

// Steps one point with its direction and checks it against each expected place.
void Follow(const LFRAME *frame, Place from, const std::vector<Place> &expected)
{
    VEC2D point = {from.x, from.y, 0};
    VEC2D direction = {from.vx, from.vy, 0};
    for (size_t i = 0; i < expected.size(); i++) {
        LFRAMEMovePoint(frame, &point, &direction);
        const Place &e = expected[i];
        EXPECT_EQ(point.x, e.x) << "step " << i + 1;
        EXPECT_EQ(point.y, e.y) << "step " << i + 1;
        EXPECT_EQ(direction.x, e.vx) << "step " << i + 1;
        EXPECT_EQ(direction.y, e.vy) << "step " << i + 1;
    }
}

LFRAME *Frame(int32_t width, int32_t height, int32_t speed)
{
    LFRAME *frame = LFRAMENew();
    frame->width = width;
    frame->height = height;
    frame->speed = speed;
    return frame;
}

void ExpectVector(const VEC2D *v, int32_t x, int32_t y)
{
    EXPECT_EQ(v->x, x);
    EXPECT_EQ(v->y, y);
}

// The random colour as the frame draws it: r1 + 65536 x (r2 mod 256).
uint32_t NextColour()
{
    uint32_t low = static_cast<uint32_t>(RANDOMNext());
    return low + 65536u * (static_cast<uint32_t>(RANDOMNext()) % 256u);
}

int32_t NextSign() { return (RANDOMNext() & 1) != 0 ? 1 : -1; }

}  // namespace

TEST(LFRAMENew, FreeLineInsideAScreenFrame)
{
    RANDOMSeed(randomSeed);
    LFRAME *frame = LFRAMENew();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width, 256);
    EXPECT_EQ(frame->height, 256);
    ASSERT_NE(frame->line, nullptr);
    ASSERT_NE(frame->velocity, nullptr);
    EXPECT_GE(frame->speed, 4);
    EXPECT_LE(frame->speed, 11);
    ExpectVector(frame->velocity->start, -1, -1);
    ExpectVector(frame->velocity->end, -1, -1);
    LFRAMEFree(&frame);
    EXPECT_EQ(frame, nullptr);
    LFRAMEFree(&frame);
    LFRAMEFree(nullptr);
    EXPECT_EQ(LFRAMEToASCII(nullptr), nullptr);
    EXPECT_EQ(LFRAMEFromASCII("x"), nullptr);
}

TEST(LFRAMERandomLine, DrawsCoordinatesThenColoursThenSpeed)
{
    LFRAME *frame = Frame(200, 100, 4);
    RANDOMSeed(12345);
    LFRAMERandomLine(frame);
    RANDOMSeed(12345);
    int32_t x1 = RANDOMNext() % 200;
    int32_t y1 = RANDOMNext() % 100;
    int32_t x2 = RANDOMNext() % 200;
    int32_t y2 = RANDOMNext() % 100;
    uint32_t c1 = NextColour();
    uint32_t c2 = NextColour();
    int32_t speed = (RANDOMNext() & 7) + 4;
    EXPECT_EQ(frame->line->start->colour, c1);
    EXPECT_EQ(frame->line->end->colour, c2);
    ExpectVector(frame->line->start, x1, y1);
    ExpectVector(frame->line->end, x2, y2);
    ExpectVector(frame->velocity->start, -1, -1);
    ExpectVector(frame->velocity->end, -1, -1);
    EXPECT_EQ(frame->speed, speed);
    // Green comes from the top bits of a 15-bit number, so never above 127.
    EXPECT_LE((c1 >> 8) & 255u, 127u);
    LFRAMEFree(&frame);
}

TEST(LFRAMEEdgeLine, EveryEdgeFromTheSameRandomNumbers)
{
    LFRAME *frame = Frame(200, 100, 4);
    std::set<int32_t> edges;
    for (uint32_t seed = 1; seed < 60; seed++) {
        SCOPED_TRACE(seed);
        RANDOMSeed(seed);
        LFRAMEEdgeLine(frame);
        RANDOMSeed(seed);
        uint32_t c1 = NextColour();
        uint32_t c2 = NextColour();
        int32_t e = RANDOMNext() % 3;
        edges.insert(e);
        int32_t a = RANDOMNext() % (e == 1 ? 200 : 100);
        int32_t b = RANDOMNext() % (e == 1 ? 200 : 100);
        int32_t s = NextSign();
        int32_t speed = (RANDOMNext() & 7) + 4;
        EXPECT_EQ(frame->line->start->colour, c1);
        EXPECT_EQ(frame->line->end->colour, c2);
        if (e == 1) {
            ExpectVector(frame->line->start, a, 0);
            ExpectVector(frame->line->end, b, 0);
            ExpectVector(frame->velocity->start, s, 0);
            ExpectVector(frame->velocity->end, s, 0);
        } else {
            int32_t x = e == 0 ? 0 : 199;
            ExpectVector(frame->line->start, x, a);
            ExpectVector(frame->line->end, x, b);
            ExpectVector(frame->velocity->start, 0, s);
            ExpectVector(frame->velocity->end, 0, s);
        }
        EXPECT_EQ(frame->speed, speed);
    }
    EXPECT_EQ(edges.size(), 3u);
    LFRAMEFree(&frame);
}

TEST(LFRAMECornerLine, EveryCornerFromTheSameRandomNumbers)
{
    LFRAME *frame = Frame(200, 100, 4);
    std::set<int32_t> corners;
    for (uint32_t seed = 1; seed < 60; seed++) {
        SCOPED_TRACE(seed);
        RANDOMSeed(seed);
        LFRAMECornerLine(frame);
        RANDOMSeed(seed);
        uint32_t c1 = NextColour();
        uint32_t c2 = NextColour();
        int32_t c = RANDOMNext() % 3;
        corners.insert(c);
        EXPECT_EQ(frame->line->start->colour, c1);
        EXPECT_EQ(frame->line->end->colour, c2);
        if (c == 0) {
            int32_t y1 = RANDOMNext() % 100;
            int32_t x2 = RANDOMNext() % 200;
            int32_t s = NextSign();
            ExpectVector(frame->line->start, 0, y1);
            ExpectVector(frame->line->end, x2, 0);
            ExpectVector(frame->velocity->start, 0, s);
            ExpectVector(frame->velocity->end, -s, 0);
        } else if (c == 1) {
            int32_t x1 = RANDOMNext() % 200;
            int32_t y2 = RANDOMNext() % 100;
            int32_t s = NextSign();
            ExpectVector(frame->line->start, x1, 0);
            ExpectVector(frame->line->end, 199, y2);
            ExpectVector(frame->velocity->start, s, 0);
            ExpectVector(frame->velocity->end, 0, s);
        } else {
            int32_t y1 = RANDOMNext() % 100;
            int32_t x2 = RANDOMNext() % 200;
            int32_t s = NextSign();
            ExpectVector(frame->line->start, 199, y1);
            ExpectVector(frame->line->end, x2, 99);
            ExpectVector(frame->velocity->start, 0, s);
            ExpectVector(frame->velocity->end, -s, 0);
        }
        EXPECT_EQ(frame->speed, (RANDOMNext() & 7) + 4);
    }
    EXPECT_EQ(corners.size(), 3u);
    LFRAMEFree(&frame);
}

TEST(LFRAMEEdgeLine, FrameWithoutAreaIsRefused)
{
    LFRAME *frame = Frame(0, 100, 4);
    SEG2D *line = frame->line;
    uint32_t state = RANDOMState();
    LFRAMEEdgeLine(frame);
    LFRAMECornerLine(frame);
    frame->height = -5;
    frame->width = 10;
    LFRAMERandomLine(frame);
    EXPECT_EQ(frame->line, line);
    EXPECT_EQ(RANDOMState(), state);
    LFRAMEEdgeLine(nullptr);
    LFRAMEFree(&frame);
}

TEST(LFRAMEMovePoint, TurnsIntoTheLeftSide)
{
    LFRAME *frame = Frame(256, 256, 8);
    VEC2D point = {100, 0, 0};
    VEC2D direction = {-1, 0, 0};
    for (int i = 0; i < 12; i++) {
        LFRAMEMovePoint(frame, &point, &direction);
    }
    ExpectVector(&point, 4, 0);
    LFRAMEMovePoint(frame, &point, &direction);
    ExpectVector(&point, 0, 8);
    ExpectVector(&direction, 0, 1);
    LFRAMEFree(&frame);
}

TEST(LFRAMEMovePoint, TurnsIntoTheTop)
{
    LFRAME *frame = Frame(256, 256, 4);
    Follow(frame, {255, 10, 0, -1}, {{255, 6, 0, -1}, {255, 2, 0, -1}, {255, 0, -1, 0}, {251, 0, -1, 0}});
    LFRAMEFree(&frame);
}

TEST(LFRAMEMovePoint, FreePointMeetsASideAndFollowsIt)
{
    LFRAME *frame = Frame(256, 256, 4);
    Follow(frame, {5, 50, -1, -1}, {{1, 46, -1, -1}, {0, 42, 0, -1}, {0, 38, 0, -1}});
    LFRAMEFree(&frame);
}

TEST(LFRAMEMovePoint, CirclesLeftAlongTheTopDownTheLeft)
{
    LFRAME *frame = Frame(40, 30, 8);
    Follow(frame, {20, 0, -1, 0},
           {{12, 0, -1, 0},
            {4, 0, -1, 0},
            {0, 8, 0, 1},
            {0, 16, 0, 1},
            {0, 24, 0, 1},
            {0, 29, 1, 0},
            {8, 29, 1, 0},
            {16, 29, 1, 0},
            {24, 29, 1, 0},
            {32, 29, 1, 0},
            {39, 21, 0, -1},
            {39, 13, 0, -1},
            {39, 5, 0, -1},
            {39, 0, -1, 0},
            {31, 0, -1, 0}});
    LFRAMEFree(&frame);
}

TEST(LFRAMEMovePoint, CirclesRightAlongTheTopDownTheRight)
{
    LFRAME *frame = Frame(40, 30, 8);
    Follow(frame, {20, 0, 1, 0},
           {{28, 0, 1, 0},
            {36, 0, 1, 0},
            {39, 8, 0, 1},
            {39, 16, 0, 1},
            {39, 24, 0, 1},
            {39, 29, -1, 0},
            {31, 29, -1, 0},
            {23, 29, -1, 0},
            {15, 29, -1, 0},
            {7, 29, -1, 0},
            {0, 21, 0, -1},
            {0, 13, 0, -1},
            {0, 5, 0, -1},
            {0, 0, 1, 0},
            {8, 0, 1, 0}});
    LFRAMEFree(&frame);
}

TEST(LFRAMEMovePoint, ExtremeValuesStayDefined)
{
    LFRAME *frame = Frame(256, 256, INT32_MAX);
    Follow(frame, {INT32_MAX, INT32_MIN, INT32_MIN, 1}, {{0, 0, INT32_MIN, 0}});
    LFRAMEMovePoint(frame, nullptr, nullptr);
    VEC2D point = {1, 1, 0};
    LFRAMEMovePoint(nullptr, &point, &point);
    ExpectVector(&point, 1, 1);
    LFRAMEFree(&frame);
}

TEST(LFRAMEStep, MovesEachEndWithItsOwnDirection)
{
    LFRAME *frame = Frame(256, 256, 5);
    *frame->line->start = {10, 0, 1};
    *frame->line->end = {0, 100, 2};
    *frame->velocity->start = {1, 0, 0};
    *frame->velocity->end = {0, -1, 0};
    LFRAMEStep(frame);
    ExpectVector(frame->line->start, 15, 0);
    ExpectVector(frame->line->end, 0, 95);
    LFRAMEStep(nullptr);
    LFRAMEFree(&frame);
}

TEST(LFRAMECopyTo, SharesSegmentsAndSpeed)
{
    LFRAME *a = Frame(256, 256, 6);
    LFRAME *b = Frame(256, 256, 9);
    EXPECT_FALSE(LFRAMEEqual(a, b));
    LFRAMECopyTo(a, b);
    EXPECT_EQ(b->line, a->line);
    EXPECT_EQ(b->velocity, a->velocity);
    EXPECT_EQ(b->speed, 6);
    EXPECT_TRUE(LFRAMEEqual(a, b));
    EXPECT_FALSE(LFRAMEEqual(a, nullptr));

    // Stepping both frames moves the shared line twice.
    *a->line->start = {100, 0, 0};
    *a->velocity->start = {-1, 0, 0};
    *a->line->end = {100, 0, 0};
    *a->velocity->end = {1, 0, 0};
    LFRAMEStep(a);
    LFRAMEStep(b);
    ExpectVector(a->line->start, 88, 0);
    ExpectVector(a->line->end, 112, 0);

    // A copy onto itself keeps the segments alive.
    LFRAMECopyTo(a, a);
    ExpectVector(a->line->start, 88, 0);
    LFRAMECopyTo(nullptr, a);

    // A new line for one frame leaves the other's shared segments intact.
    SEG2D *shared = a->line;
    LFRAMEEdgeLine(a);
    EXPECT_NE(a->line, shared);
    EXPECT_EQ(b->line, shared);
    ExpectVector(b->line->start, 88, 0);
    LFRAMEFree(&a);
    ExpectVector(b->line->end, 112, 0);
    LFRAMEFree(&b);
}

TEST(LFRAMECopy, NewFrameSharingTheSource)
{
    LFRAME *a = Frame(256, 256, 7);
    LFRAME *copy = LFRAMECopy(a);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(LFRAMEEqual(a, copy));
    EXPECT_EQ(LFRAMECopy(nullptr), nullptr);
    LFRAMEFree(&a);
    LFRAMEStep(copy);
    LFRAMEFree(&copy);
}

TEST(LFRAMEDraw, LineInTheStartColourAndEndPixels)
{
    LFRAME *frame = Frame(16, 16, 4);
    *frame->line->start = {1, 1, 0xff0000};
    *frame->line->end = {5, 1, 0x00ff00};
    IMG *img = IMGNew();
    LFRAMEDraw(frame, img);
    for (int32_t x = 1; x <= 5; x++) {
        EXPECT_EQ(IMGGetPixel(img, x, 1), 0xff0000u);
    }
    IMGClear(img);
    LFRAMEDrawPoints(frame, img);
    EXPECT_EQ(IMGGetPixel(img, 1, 1), 0xff0000u);
    EXPECT_EQ(IMGGetPixel(img, 3, 1), 0u);
    EXPECT_EQ(IMGGetPixel(img, 5, 1), 0x00ff00u);
    IMGClear(img);
    LFRAMEDraw(nullptr, img);
    LFRAMEDraw(frame, nullptr);
    LFRAMEDrawPoints(nullptr, img);
    EXPECT_EQ(IMGGetPixel(img, 1, 1), 0u);
    IMGFree(&img);
    LFRAMEFree(&frame);
}

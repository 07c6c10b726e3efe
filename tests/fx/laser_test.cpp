#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "fx/laser.h"
#include "fx_images.h"
#include "gfx/random.h"

namespace {

using fxtest::Image;

class LaserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RANDOMSeed(randomSeed);
        laser = LASERNew();
        ASSERT_NE(laser, nullptr);
        laser->image = screen.get();
    }
    void TearDown() override { LASERFree(&laser); }

    void Place(int32_t x, int32_t y, int32_t dx, int32_t dy)
    {
        laser->x1 = x;
        laser->y1 = y;
        laser->dx = dx;
        laser->dy = dy;
    }
    // The edge the end point runs along: 0 top, 1 right, 2 bottom, 3 left, -1 none.
    int32_t Edge() const
    {
        if (laser->dy == 0 && laser->y1 == 0) return 0;
        if (laser->dx == 0 && laser->x1 == 255) return 1;
        if (laser->dy == 0 && laser->y1 == 255) return 2;
        if (laser->dx == 0 && laser->x1 == 0) return 3;
        return -1;
    }
    // The edges visited, in order, over frames of motion.
    std::vector<int32_t> Tour(int frames)
    {
        std::vector<int32_t> edges;
        for (int frame = 0; frame < frames; ++frame) {
            LASERMove(laser);
            const int32_t edge = Edge();
            EXPECT_NE(edge, -1) << "left the border at frame " << frame;
            EXPECT_EQ(std::abs(laser->dx) + std::abs(laser->dy), 2);
            if (edges.empty() || edges.back() != edge) {
                edges.push_back(edge);
            }
        }
        return edges;
    }

    Image screen{256, 256};
    LASER *laser = nullptr;
};

TEST_F(LaserTest, TopEdgeInRightHalfTurnsLeft)
{
    Place(250, 0, 5, -3);
    LASERMove(laser);
    EXPECT_EQ(laser->x1, 255);
    EXPECT_EQ(laser->y1, 0);
    EXPECT_EQ(laser->dx, -3);
    EXPECT_EQ(laser->dy, 0);
}

TEST_F(LaserTest, RightEdgeInUpperHalfTurnsDown)
{
    Place(254, 10, 4, 2);
    LASERMove(laser);
    EXPECT_EQ(laser->x1, 255);
    EXPECT_EQ(laser->y1, 14);
    EXPECT_EQ(laser->dx, 0);
    EXPECT_EQ(laser->dy, 4);
}

TEST_F(LaserTest, LeftAndBottomEdgesTurnTowardsTheirMiddle)
{
    Place(2, 200, -4, 3);
    LASERMove(laser);
    EXPECT_EQ(laser->x1, 0);
    EXPECT_EQ(laser->y1, 196);
    EXPECT_EQ(laser->dy, -4);
    Place(10, 254, 1, 5);
    LASERMove(laser);
    EXPECT_EQ(laser->x1, 11);
    EXPECT_EQ(laser->y1, 255);
    EXPECT_EQ(laser->dx, 5);
    EXPECT_EQ(laser->dy, 0);
}

TEST_F(LaserTest, CirculatesClockwiseForEver)
{
    Place(100, 0, 3, -2);
    const std::vector<int32_t> edges = Tour(4 * 4 * 128);
    ASSERT_GE(edges.size(), 9u);
    for (size_t i = 0; i < edges.size(); ++i) {
        EXPECT_EQ(edges[i], static_cast<int32_t>(i % 4)) << i;
    }
}

TEST_F(LaserTest, CirculatesAnticlockwiseForEver)
{
    Place(200, 0, -3, -2);
    const std::vector<int32_t> edges = Tour(4 * 4 * 128);
    ASSERT_GE(edges.size(), 9u);
    const int32_t order[4] = {0, 3, 2, 1};
    for (size_t i = 0; i < edges.size(); ++i) {
        EXPECT_EQ(edges[i], order[i % 4]) << i;
    }
}

TEST_F(LaserTest, RandomSpeedFollowsTheGenerator)
{
    laser->range = 4;
    laser->minimum = 2;
    RANDOMSeed(8);
    std::vector<int32_t> speeds;
    for (int i = 0; i < 500; ++i) {
        speeds.push_back(LASERRandomSpeed(laser));
    }
    RANDOMSeed(8);
    bool sawNegative = false;
    bool sawPositive = false;
    for (int32_t speed : speeds) {
        const int32_t size = RANDOMNext() % 4 + 2;
        const int32_t expected = (RANDOMNext() & 1) != 0 ? -size : size;
        EXPECT_EQ(speed, expected);
        EXPECT_TRUE(speed <= -2 || speed >= 2) << speed;
        EXPECT_TRUE(speed >= -5 && speed <= 5) << speed;
        sawNegative = sawNegative || speed < 0;
        sawPositive = sawPositive || speed > 0;
    }
    EXPECT_TRUE(sawNegative && sawPositive);
}

TEST_F(LaserTest, RandomSpeedWithoutRangeIsRefused)
{
    // A laser never initialised has range 0: no division, no draw.
    const uint32_t state = RANDOMState();
    EXPECT_EQ(LASERRandomSpeed(laser), 0);
    laser->range = -3;
    EXPECT_EQ(LASERRandomSpeed(laser), 0);
    EXPECT_EQ(LASERRandomSpeed(nullptr), 0);
    EXPECT_EQ(RANDOMState(), state);
}

TEST_F(LaserTest, InitDrawsInItsFixedOrder)
{
    Image image(200, 100);
    RANDOMSeed(322);  // a colour with its lowest bit set
    LASERInit(laser, image.get());
    RANDOMSeed(322);
    int32_t r[9];
    for (int32_t &value : r) {
        value = RANDOMNext();
    }
    EXPECT_EQ(laser->image, image.get());
    EXPECT_EQ(laser->x0, r[0] % 200);
    EXPECT_EQ(laser->y0, r[1] % 100);
    EXPECT_EQ(laser->x1, r[2] % 200);
    EXPECT_EQ(laser->y1, 0);
    EXPECT_EQ(laser->range, 4);
    EXPECT_EQ(laser->minimum, 2);
    EXPECT_EQ(laser->dx, (r[4] & 1) ? -(r[3] % 4 + 2) : r[3] % 4 + 2);
    EXPECT_EQ(laser->dy, (r[6] & 1) ? -(r[5] % 4 + 2) : r[5] % 4 + 2);
    EXPECT_EQ(laser->colour, (r[7] | (r[8] << 16)) & 0xFFFFFF);
}

TEST_F(LaserTest, InitRefusesImagesWithoutArea)
{
    Image empty(0, 10);
    const uint32_t state = RANDOMState();
    LASERInit(laser, empty.get());
    LASERInit(laser, nullptr);
    LASERInit(nullptr, screen.get());
    EXPECT_EQ(RANDOMState(), state);
    EXPECT_EQ(laser->range, 0);
    EXPECT_EQ(laser->image, screen.get());
    laser->image = empty.get();
    Place(0, 0, 3, 3);
    LASERMove(laser);
    EXPECT_EQ(laser->x1, 0);
    laser->image = nullptr;
    LASERMove(laser);
    LASERMoveRandom(laser);
    LASERDraw(laser);
    LASERDrawFlicker(laser);
    EXPECT_EQ(RANDOMState(), state);
}

TEST_F(LaserTest, MirroredGroupStaysSymmetric)
{
    // The demo's group of four: q, r and s mirror p about the screen axes.
    LASER *group[4];
    for (LASER *&l : group) {
        l = LASERNew();
        LASERInit(l, screen.get());
    }
    LASER *p = group[0];
    const int32_t w = 256;
    const int32_t h = 256;
    p->x0 >>= 1;
    p->y0 >>= 1;
    *group[1] = {w - p->x0 - 1, p->y0, w - p->x1 - 1, p->y1, -p->dx, p->dy, 4, 2, 0, screen.get()};
    *group[2] = {w - p->x0 - 1, h - p->y0 - 1, w - p->x1 - 1, h - p->y1 - 1, -p->dx, -p->dy, 4, 2, 0, screen.get()};
    *group[3] = {p->x0, h - p->y0 - 1, p->x1, h - p->y1 - 1, p->dx, -p->dy, 4, 2, 0, screen.get()};
    for (int frame = 0; frame < 2000; ++frame) {
        for (LASER *l : group) {
            LASERMove(l);
        }
        ASSERT_EQ(group[1]->x1, w - p->x1 - 1) << frame;
        ASSERT_EQ(group[1]->y1, p->y1) << frame;
        ASSERT_EQ(group[2]->x1, w - p->x1 - 1) << frame;
        ASSERT_EQ(group[2]->y1, h - p->y1 - 1) << frame;
        ASSERT_EQ(group[3]->x1, p->x1) << frame;
        ASSERT_EQ(group[3]->y1, h - p->y1 - 1) << frame;
    }
    for (LASER *&l : group) {
        LASERFree(&l);
    }
}

TEST_F(LaserTest, MoveRandomPicksANewSpeedAtAnEdge)
{
    laser->range = 4;
    laser->minimum = 2;
    Place(254, 100, 3, 2);
    RANDOMSeed(55);
    LASERMoveRandom(laser);
    RANDOMSeed(55);
    const int32_t size = RANDOMNext() % 4 + 2;
    const int32_t e = (RANDOMNext() & 1) ? -size : size;
    EXPECT_EQ(laser->x1, 255);
    EXPECT_EQ(laser->dx, 0);
    EXPECT_EQ(laser->dy, e);
    EXPECT_EQ(laser->y1, 100 + e);
    // At rest it first takes two random speeds.
    Place(100, 100, 0, 0);
    RANDOMSeed(56);
    LASERMoveRandom(laser);
    RANDOMSeed(56);
    const int32_t a0 = RANDOMNext() % 4 + 2;
    const int32_t a = (RANDOMNext() & 1) ? -a0 : a0;
    const int32_t e0 = RANDOMNext() % 4 + 2;
    const int32_t e1 = (RANDOMNext() & 1) ? -e0 : e0;
    EXPECT_EQ(laser->x1, 100 + a);
    EXPECT_EQ(laser->y1, 100 + e1);
    Place(3, 100, -3, 2);  // landing on column 0 is no crossing
    LASERMoveRandom(laser);
    EXPECT_EQ(laser->x1, 0);
    EXPECT_EQ(laser->dx, -3);
}

TEST_F(LaserTest, DrawLinksSourceAndEnd)
{
    laser->x0 = 10;
    laser->y0 = 20;
    laser->x1 = 30;
    laser->y1 = 0;
    laser->colour = 0x0000FF;
    LASERDraw(laser);
    EXPECT_EQ(screen.at(10, 20), 0x0000FFu);
    EXPECT_EQ(screen.at(30, 0), 0x0000FFu);
    EXPECT_EQ(fxtest::Lit(screen).size(), 21u);
    // The flicker colour is drawn, not kept.
    LASERDrawFlicker(laser);
    EXPECT_EQ(laser->colour, 0x0000FF);
}

TEST(LASERProtocol, FreeNullsTheHandle)
{
    LASER *laser = LASERNew();
    ASSERT_NE(laser, nullptr);
    EXPECT_EQ(laser->range, 0);
    EXPECT_EQ(laser->image, nullptr);
    LASERFree(&laser);
    EXPECT_EQ(laser, nullptr);
    LASERFree(&laser);
    LASERFree(nullptr);
}

}  // namespace

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fx/sineline.h"
#include "fx_images.h"
#include "gfx/random.h"
#include "gfx/sine.h"

namespace {

using fxtest::Image;

int32_t S(int32_t k) { return sineTable.entries[k & 1023]; }

int32_t Mod1024(int32_t v) { return ((v % 1024) + 1024) % 1024; }

// The figure's points worked out from the table alone, for an image of w x h.
std::vector<std::pair<int32_t, int32_t>> Points(const SINELINE *l, int32_t w, int32_t h)
{
    int32_t p[6] = {l->phase1.x, l->phase1.y, l->phase2.x, l->phase2.y, l->phase3.x, l->phase3.y};
    const int32_t steps[6] = {l->step1.x, l->step1.y, l->step2.x, l->step2.y, l->step3.x, l->step3.y};
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int32_t i = 0; i < l->count; ++i) {
        const int32_t x = (w >> 1) + (((w >> 1) * S(p[0]) + (w >> 2) * S(p[2]) + (w >> 3) * S(p[4])) >> 16);
        const int32_t y = (h >> 1) + (((h >> 1) * S(p[1]) + (h >> 2) * S(p[3]) + (h >> 3) * S(p[5])) >> 16);
        points.emplace_back(x, y);
        for (int k = 0; k < 6; ++k) {
            p[k] = Mod1024(p[k] + steps[k]);
        }
    }
    return points;
}

class SinelineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RANDOMSeed(randomSeed);
        line = SINELINENew();
        ASSERT_NE(line, nullptr);
    }
    void TearDown() override { SINELINEFree(&line); }
    void ZeroPhases() { line->phase1 = line->phase2 = line->phase3 = {0, 0, 0}; }
    SINELINE *line = nullptr;
};

TEST_F(SinelineTest, RandomizeDrawsEighteenValuesInOrder)
{
    RANDOMSeed(31337);
    SINELINERandomize(line);
    const uint32_t after = RANDOMState();
    RANDOMSeed(31337);
    int32_t r[18];
    for (int32_t &value : r) {
        value = RANDOMNext();
    }
    EXPECT_EQ(line->phase1.x, r[0] % 1024);
    EXPECT_EQ(line->phase1.y, r[1] % 1024);
    EXPECT_EQ(line->speed1.x, r[2] % 8 + 3);
    EXPECT_EQ(line->speed1.y, r[3] % 8 + 3);
    EXPECT_EQ(line->step1.x, r[4] % 16 + 5);
    EXPECT_EQ(line->step1.y, r[5] % 16 + 6);
    EXPECT_EQ(line->phase2.x, r[6] % 1024);
    EXPECT_EQ(line->phase2.y, r[7] % 1024);
    EXPECT_EQ(line->speed2.x, r[8] % 8 + 2);
    EXPECT_EQ(line->speed2.y, r[9] % 8 + 2);
    EXPECT_EQ(line->step2.x, r[10] % 16 + 6);
    EXPECT_EQ(line->step2.y, r[11] % 16 + 7);
    EXPECT_EQ(line->phase3.x, r[12] % 1024);
    EXPECT_EQ(line->phase3.y, r[13] % 1024);
    EXPECT_EQ(line->speed3.x, r[14] % 4 + 1);
    EXPECT_EQ(line->speed3.y, r[15] % 4 + 1);
    EXPECT_EQ(line->step3.x, r[16] % 16 + 7);
    EXPECT_EQ(line->step3.y, r[17] % 16 + 8);
    EXPECT_EQ(line->amplitude1.x, 128);
    EXPECT_EQ(line->amplitude2.y, 64);
    EXPECT_EQ(line->amplitude3.x, 32);
    EXPECT_EQ(RANDOMState(), after);
}

TEST_F(SinelineTest, NewIsRedSixteenPointsOnTheScreen)
{
    EXPECT_EQ(line->colour, 0xFF0000);
    EXPECT_EQ(line->count, 16);
    ASSERT_NE(line->points, nullptr);
    EXPECT_EQ(line->size.x, 256);
    EXPECT_EQ(line->size.z, 256);
}

TEST_F(SinelineTest, UpdateWrapsPhasesIntoOneTurn)
{
    line->phase1 = {1020, 5, 0};
    line->speed1 = {10, -10, 0};
    line->phase3 = {1023, 0, 0};
    line->speed3 = {1, -2048, 0};
    SINELINEUpdate(line);
    EXPECT_EQ(line->phase1.x, 6);
    EXPECT_EQ(line->phase1.y, 1019);
    EXPECT_EQ(line->phase3.x, 0);
    EXPECT_EQ(line->phase3.y, 0);
}

TEST_F(SinelineTest, ZeroPhasesStartAtTheCentre)
{
    ZeroPhases();
    SINELINESetCount(line, 1);
    Image image(256, 256);
    SINELINEDraw(line, image.get());
    const auto lit = fxtest::Lit(image);
    ASSERT_EQ(lit.size(), 1u);
    EXPECT_EQ(*lit.begin(), std::make_pair(128, 128));
    EXPECT_EQ(image.at(128, 128), 0xFF0000u);
}

TEST_F(SinelineTest, DrawJoinsEveryPointOfTheFigure)
{
    SINELINESetCount(line, 200);
    Image image(256, 256);
    SINELINEDraw(line, image.get());
    const auto lit = fxtest::Lit(image);
    for (const auto &point : Points(line, 256, 256)) {
        EXPECT_TRUE(lit.count(point)) << point.first << "," << point.second;
    }
    // Everything lies within 128 +- 112.
    for (const auto &pixel : lit) {
        EXPECT_GE(pixel.first, 16);
        EXPECT_LE(pixel.first, 240);
        EXPECT_GE(pixel.second, 16);
        EXPECT_LE(pixel.second, 240);
    }
}

TEST_F(SinelineTest, DrawScalesToTheImage)
{
    Image image(64, 32);
    SINELINEDraw(line, image.get());
    EXPECT_EQ(line->size.x, 64);
    EXPECT_EQ(line->size.y, 32);
    EXPECT_EQ(line->amplitude1.x, 32);
    EXPECT_EQ(line->amplitude1.y, 16);
    EXPECT_EQ(line->amplitude2.x, 16);
    EXPECT_EQ(line->amplitude3.y, 4);
    const auto lit = fxtest::Lit(image);
    for (const auto &point : Points(line, 64, 32)) {
        EXPECT_TRUE(lit.count(point)) << point.first << "," << point.second;
    }
    // Drawing does not move the phases.
    const SINELINETRIPLE before = line->phase2;
    SINELINEDraw(line, image.get());
    EXPECT_EQ(line->phase2.x, before.x);
    EXPECT_EQ(line->phase2.y, before.y);
}

TEST_F(SinelineTest, RefusedCallsChangeNothing)
{
    int32_t *points = line->points;
    SINELINESetCount(line, 0);
    SINELINESetCount(line, -3);
    EXPECT_EQ(line->points, points);
    EXPECT_EQ(line->count, 16);
    SINELINESetCount(line, 383);
    EXPECT_EQ(line->count, 383);
    EXPECT_EQ(line->points[4 * 383 - 1], 0);

    delete[] line->points;
    line->points = nullptr;
    Image image(32, 32);
    SINELINEDraw(line, image.get());
    EXPECT_TRUE(fxtest::Lit(image).empty());
    EXPECT_EQ(line->size.x, 256);
    SINELINEResetPoints(line);
    SINELINEDraw(nullptr, image.get());
    SINELINEUpdate(nullptr);
    SINELINERandomize(nullptr);
}

TEST(SINELINEProtocol, FreeCopyAndPlaceholders)
{
    SINELINE *none = nullptr;
    SINELINEFree(&none);
    SINELINEFree(nullptr);
    EXPECT_EQ(SINELINECopy(nullptr), nullptr);
    SINELINE *line = SINELINENew();
    line->colour = 1;
    SINELINE *copy = SINELINECopy(line);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->colour, 0xFF0000);
    EXPECT_EQ(SINELINEToASCII(line), nullptr);
    EXPECT_EQ(SINELINEFromASCII("x"), nullptr);
    EXPECT_FALSE(SINELINEEqual(line, line));
    SINELINEFree(&copy);
    SINELINEFree(&line);
    EXPECT_EQ(line, nullptr);
}

}  // namespace

#include <gtest/gtest.h>

#include "fx/lstars.h"
#include "fx_images.h"
#include "gfx/random.h"
#include "vector/font.h"

namespace {

using fxtest::Image;

int32_t X(const LSTARS *s, int32_t i) { return s->stars[2 * i]; }
int32_t Y(const LSTARS *s, int32_t i) { return s->stars[2 * i + 1]; }

class LstarsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RANDOMSeed(randomSeed);
        stars = LSTARSNew();
        ASSERT_NE(stars, nullptr);
    }
    void TearDown() override { LSTARSFree(&stars); }

    // One star at (x, y) in 16.16.
    void Single(int32_t x, int32_t y)
    {
        LSTARSSetCount(stars, 1);
        stars->stars[0] = x;
        stars->stars[1] = y;
    }
    LSTARS *stars = nullptr;
};

TEST_F(LstarsTest, ScatterPlacesLastStarFirstXBeforeY)
{
    RANDOMSeed(4242);
    stars->width = 100;
    stars->height = 37;
    LSTARSSetCount(stars, 5);
    RANDOMSeed(4242);
    for (int32_t i = 4; i >= 0; --i) {
        const int32_t x = RANDOMNext() % 100;
        const int32_t y = RANDOMNext() % 37;
        EXPECT_EQ(X(stars, i), x << 16) << i;
        EXPECT_EQ(Y(stars, i), y << 16) << i;
    }
    EXPECT_EQ(stars->count, 5);
}

TEST_F(LstarsTest, NewScattersSixteenStarsOverTheScreen)
{
    RANDOMSeed(99);
    LSTARS *fresh = LSTARSNew();
    RANDOMSeed(99);
    ASSERT_EQ(fresh->count, 16);
    for (int32_t i = 15; i >= 0; --i) {
        const int32_t x = RANDOMNext() % 256;
        EXPECT_EQ(X(fresh, i), x << 16);
        EXPECT_EQ(Y(fresh, i), (RANDOMNext() % 256) << 16);
    }
    EXPECT_EQ(fresh->vy, 1 << 16);
    LSTARSFree(&fresh);
}

TEST_F(LstarsTest, DownwardWrapMarginLiesOutside)
{
    stars->vy = 3 << 16;
    Single(0, 258 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(Y(stars, 0), 261 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(Y(stars, 0), -5 * 65536);
    Single(0, 259 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(Y(stars, 0), -5 * 65536);
}

TEST_F(LstarsTest, UpwardWrapMarginLiesInside)
{
    // vy = -3: the margin my = -6 lies inside the area, limits 6 and 250.
    stars->vy = -(3 << 16);
    Single(0, 9 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(Y(stars, 0), 6 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(Y(stars, 0), 249 << 16);
    Single(0, 253 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(Y(stars, 0), 7 << 16);
}

TEST_F(LstarsTest, HorizontalWrapBothWays)
{
    stars->vx = 2 << 16;
    stars->vy = 0;
    stars->width = 100;
    Single(101 << 16, 50 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(X(stars, 0), 103 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(X(stars, 0), -3 * 65536);
    EXPECT_EQ(Y(stars, 0), 50 << 16);
    stars->vx = -(2 << 16);
    Single(7 << 16, 50 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(X(stars, 0), 5 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(X(stars, 0), 95 << 16);
}

TEST_F(LstarsTest, FractionalSpeedsKeepTheirFraction)
{
    stars->vx = 0x8000;
    stars->vy = 0x18000;
    Single(10 << 16, 10 << 16);
    LSTARSMove(stars);
    EXPECT_EQ(X(stars, 0), (10 << 16) + 0x8000);
    EXPECT_EQ(Y(stars, 0), (10 << 16) + 0x18000);
}

TEST_F(LstarsTest, StarAtRestNeverWrapsAndDrawsOnePixel)
{
    stars->vx = 0;
    stars->vy = 0;
    Single(0, 255 << 16);
    for (int frame = 0; frame < 10; ++frame) {
        LSTARSMove(stars);
    }
    EXPECT_EQ(X(stars, 0), 0);
    EXPECT_EQ(Y(stars, 0), 255 << 16);
    Image image(256, 256);
    LSTARSDraw(stars, image.get());
    const auto lit = fxtest::Lit(image);
    ASSERT_EQ(lit.size(), 1u);
    EXPECT_EQ(*lit.begin(), std::make_pair(0, 255));
}

TEST_F(LstarsTest, StreakCoversTheLastTwoFrames)
{
    stars->vy = 8 << 16;
    stars->colour = 0x00FFFF;
    Single(10 << 16, 10 << 16);
    Image image(64, 64);
    LSTARSDraw(stars, image.get());
    const auto lit = fxtest::Lit(image);
    EXPECT_EQ(lit.size(), 11u);
    for (int32_t y = 0; y <= 10; ++y) {
        EXPECT_EQ(image.at(10, y), 0x00FFFFu) << y;
    }
    // Drawing takes over the image's size for the next wrap.
    EXPECT_EQ(stars->width, 64);
    EXPECT_EQ(stars->height, 64);
}

TEST_F(LstarsTest, DrawPointsSetsOnePixelPerStar)
{
    LSTARSSetCount(stars, 2);
    stars->stars[0] = 3 << 16;
    stars->stars[1] = 4 << 16;
    stars->stars[2] = (5 << 16) + 0xFFFF;
    stars->stars[3] = 6 << 16;
    Image image(8, 8);
    LSTARSDrawPoints(stars, image.get());
    EXPECT_EQ(fxtest::Lit(image), (std::set<std::pair<int32_t, int32_t>>{{3, 4}, {5, 6}}));
    stars->vx = stars->vy = 0;  // at rest each streak is one pixel too
    Image streaks(8, 8);
    LSTARSDraw(stars, streaks.get());
    EXPECT_EQ(fxtest::Lit(streaks), fxtest::Lit(image));
}

TEST_F(LstarsTest, GlyphsArePickedByRowAndCentred)
{
    // A sheet of 64 cells, 2 x 2 pixels each, cell n filled with colour n + 1.
    FONT *font = FONTNew();
    ASSERT_NE(font, nullptr);
    font->sheet = IMGNew();
    IMGResize(font->sheet, 128, 2);
    for (int32_t x = 0; x < 128; ++x) {
        IMGSetPixel(font->sheet, x, 0, static_cast<uint32_t>(x / 2 + 1));
        IMGSetPixel(font->sheet, x, 1, static_cast<uint32_t>(x / 2 + 1));
    }
    font->cellWidth = 2;
    font->cellHeight = 2;
    stars->glyphs = font;
    LSTARSSetCount(stars, 2);  // the second star far left of the image
    stars->stars[0] = 20 << 16;
    stars->stars[1] = 70 << 16;
    stars->stars[2] = -(100 << 16);
    stars->stars[3] = 70 << 16;
    Image image(128, 128);
    LSTARSDrawGlyphs(stars, image.get());
    // Code 70 mod 64 = 6, drawn with its top-left corner at (4, 54).
    EXPECT_EQ(image.at(4, 54), 7u);
    EXPECT_EQ(image.at(5, 55), 7u);
    EXPECT_EQ(fxtest::Lit(image).size(), 4u);
    EXPECT_EQ(font->target, image.get());
    // A star above the area asks for a negative code, which finds no cell.
    Single(20 << 16, -(3 << 16));
    Image other(128, 128);
    LSTARSDrawGlyphs(stars, other.get());
    EXPECT_EQ(font->code, -3);
    stars->glyphs = nullptr;
    FONTFree(&font);
}

TEST_F(LstarsTest, RefusedCallsChangeNothing)
{
    int32_t *before = stars->stars;
    const int32_t firstX = X(stars, 0);
    LSTARSSetCount(stars, 0);
    LSTARSSetCount(stars, -4);
    EXPECT_EQ(stars->stars, before);
    EXPECT_EQ(stars->count, 16);
    EXPECT_EQ(X(stars, 0), firstX);

    // A zero-sized area is refused before any random draw.
    stars->width = 0;
    const uint32_t state = RANDOMState();
    LSTARSScatter(stars);
    LSTARSPlace(stars, 0);
    EXPECT_EQ(RANDOMState(), state);
    stars->width = 256;
    stars->height = -1;
    LSTARSScatter(stars);
    EXPECT_EQ(RANDOMState(), state);
    stars->height = 256;

    LSTARSPlace(stars, 16);
    LSTARSPlace(stars, -1);
    EXPECT_EQ(RANDOMState(), state);

    LSTARSDrawGlyphs(stars, nullptr);
    Image image(8, 8);
    LSTARSDrawGlyphs(stars, image.get());
    LSTARSDraw(stars, nullptr);
    LSTARSDraw(nullptr, image.get());
    LSTARSMove(nullptr);
    EXPECT_TRUE(fxtest::Lit(image).empty());
}

TEST(LSTARSProtocol, FreeCopyAndPlaceholders)
{
    LSTARS *none = nullptr;
    LSTARSFree(&none);
    LSTARSFree(nullptr);
    EXPECT_EQ(LSTARSCopy(nullptr), nullptr);
    LSTARS *stars = LSTARSNew();
    stars->vy = 5;
    LSTARS *copy = LSTARSCopy(stars);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->vy, 1 << 16);
    EXPECT_EQ(LSTARSToASCII(stars), nullptr);
    EXPECT_EQ(LSTARSFromASCII(""), nullptr);
    EXPECT_FALSE(LSTARSEqual(stars, stars));
    LSTARSFree(&copy);
    LSTARSFree(&stars);
    EXPECT_EQ(stars, nullptr);
}

}  // namespace

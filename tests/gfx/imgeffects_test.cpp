// The whole-image effects: fade, blend, invert, mask, run tables, scale and rotate.
#include <gtest/gtest.h>

#include "gfx/img.h"
#include "gfx/random.h"
#include "img_helpers.h"

#include <climits>
#include <cstdint>
#include <ios>
#include <vector>

namespace {

uint32_t ReferenceFade(uint32_t pixel, uint32_t colour)
{
    uint32_t out = 0;
    for (const int shift : {16, 8, 0}) {
        const uint32_t p = (pixel >> shift) & 0xFFu, c = (colour >> shift) & 0xFFu;
        out |= (p > c ? p - c : 0u) << shift;
    }
    return out;
}

// Fades every channel value by every colour value, in every channel, in runs of
// as many pixels as img holds, and compares each result with the definition.
void ExpectFadeOfEveryPair(IMG *img)
{
    const uint32_t count = static_cast<uint32_t>(img->width * img->height);
    std::vector<uint32_t> before(count);
    for (const int shift : {16, 8, 0}) {
        for (uint32_t c = 0; c < 256; ++c) {
            const uint32_t others = static_cast<uint32_t>(RANDOMNext()) << 9 ^ static_cast<uint32_t>(RANDOMNext());
            const uint32_t colour = 0xFF000000u | (others & ~(0xFFu << shift) & 0xFFFFFFu) | c << shift;
            for (uint32_t start = 0; start < 256; start += count) {
                for (uint32_t i = 0; i < count; ++i) {
                    const uint32_t noise =
                        static_cast<uint32_t>(RANDOMNext()) << 17 ^ static_cast<uint32_t>(RANDOMNext());
                    before[i] = (noise & ~(0xFFu << shift)) | ((start + i) & 0xFFu) << shift;
                    img->pixels[i] = before[i];
                }
                IMGFade(img, colour);
                for (uint32_t i = 0; i < count; ++i) {
                    ASSERT_EQ(img->pixels[i], ReferenceFade(before[i], colour))
                        << std::hex << before[i] << " faded by " << colour;
                }
            }
        }
    }
}

}  // namespace

TEST(IMGFade, SubtractsEachChannelDownToZero)
{
    ImgPtr img = MakeImg(4, 1, {Rgb(18, 52, 86), Rgb(255, 128, 64), 0xFF000000u | Rgb(2, 2, 2), Rgb(1, 200, 3)});
    IMGFade(img.get(), 0x101010);
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{Rgb(2, 36, 70), Rgb(239, 112, 48), 0, Rgb(0, 184, 0)}));
    IMGFade(nullptr, 1);
    // Every (pixel, colour) channel pair in each channel, beside random other
    // channels and a set top byte in pixel and colour alike: once in an image
    // large enough for the fast inner loop (each value 16 times, and three
    // pixels left over), once in images of fewer than four pixels.
    RANDOMSeed(randomSeed);
    ImgPtr large = MakeImg(63, 65);
    ExpectFadeOfEveryPair(large.get());
    for (const int32_t pixels : {1, 2, 3}) {
        ImgPtr small = MakeImg(pixels, 1);
        ExpectFadeOfEveryPair(small.get());
    }
}

TEST(IMGBlend, HalvesBothPixelsPerChannel)
{
    ImgPtr src = MakeImg(4, 1, {0xFFFFFF, 0x000001, 0, Rgb(0x80, 0x40, 0x21)});
    ImgPtr dst = MakeImg(4, 1, {0, 0x000001, 0x123456, Rgb(0x20, 0xC1, 0xFF)});
    IMGBlend(src.get(), dst.get(), 0, 0);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{0x7F7F7F, 0, 0x123456, Rgb(0x50, 0x80, 0x8F)}));
}

TEST(IMGBlend, ClipsToTheDestinationOnEverySide)
{
    ImgPtr src = MakeImg(2, 2, {0x020202, 0x040404, 0x060606, 0x080808});
    ImgPtr dst = MakeImg(3, 3);
    IMGBlend(src.get(), dst.get(), -1, -1);
    IMGBlend(src.get(), dst.get(), 2, 2);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{0x040404, 0, 0, 0, 0, 0, 0, 0, 0x010101}));
    IMGBlend(src.get(), dst.get(), -2, 0);
    IMGBlend(src.get(), dst.get(), 3, 0);
    IMGBlend(src.get(), dst.get(), INT32_MAX, INT32_MIN);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{0x040404, 0, 0, 0, 0, 0, 0, 0, 0x010101}));
    IMGBlend(nullptr, dst.get(), 0, 0);
}

TEST(IMGInvert, InvertKeepsTheTopByteClearInvertRectFlipsAllBits)
{
    ImgPtr img = MakeImg(2, 1, {0, 0xFF123456});
    IMGInvert(img.get());
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{0xFFFFFF, 0xEDCBA9}));
    ImgPtr rect = MakeImg(3, 3);
    IMGInvertRect(rect.get(), -1, 1, 3, 5);
    EXPECT_EQ(Pixels(rect.get()),
              (std::vector<uint32_t>{0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0}));
    IMGInvertRect(rect.get(), 3, 0, 2, 2);
    IMGInvertRect(rect.get(), -5, 0, 4, 2);
    IMGInvertRect(rect.get(), 0, 0, INT32_MIN, INT32_MAX);
    EXPECT_EQ(rect->pixels[0], 0u);
}

TEST(IMGAndMask, AndsPixelByPixelAndRefusesALargerMask)
{
    ImgPtr mask = MakeImg(2, 2, {0xFF0000, 0x00FF00, 0, 0xFFFFFF});
    ImgPtr dst = MakeImg(2, 2, {0x123456, 0x123456, 0x123456, 0x123456});
    IMGAndMask(mask.get(), dst.get());
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{0x120000, 0x003400, 0, 0x123456}));
    ImgPtr small = MakeImg(1, 3, {1, 1, 1});
    IMGAndMask(mask.get(), small.get());
    EXPECT_EQ(Pixels(small.get()), (std::vector<uint32_t>{1, 1, 1}));
}

TEST(IMGRunTable, SplitsTheLongerSideIntoRuns)
{
    EXPECT_EQ(Runs(IMGRunTable(2, 5), 3), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(Runs(IMGRunTable(5, 2), 3), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(Runs(IMGRunTable(-2, 5), 3), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(Runs(IMGRunTable(256, 256), 257), std::vector<int32_t>(257, 1));
    EXPECT_EQ(Runs(IMGRunTable(0, 3), 1), (std::vector<int32_t>{4}));
    EXPECT_EQ(Runs(IMGRunTable(0, 0), 1), (std::vector<int32_t>{1}));
    EXPECT_EQ(IMGRunTable(INT32_MIN, 1), nullptr);
    EXPECT_EQ(IMGRunTable(3, INT32_MAX), nullptr);
}

TEST(IMGRunTable, RunKIsTheDifferenceOfRoundedUpMultiples)
{
    for (int32_t p = 1; p <= 20; ++p) {
        for (int32_t q = 1; q <= 40; ++q) {
            const int32_t m = std::min(p, q), big = std::max(p, q);
            const std::vector<int32_t> runs = Runs(IMGRunTable(p, q), static_cast<std::size_t>(m) + 1);
            for (int32_t k = 0; k < m; ++k) {
                const int32_t want = ((k + 1) * big + m - 1) / m - (k * big + m - 1) / m;
                EXPECT_EQ(runs[k], want) << p << "," << q << " run " << k;
            }
            EXPECT_EQ(runs[m], 1);
        }
    }
}

TEST(IMGRunTableMirrored, BuildsRunsFromBothEnds)
{
    EXPECT_EQ(Runs(IMGRunTableMirrored(2, 5), 2), (std::vector<int32_t>{3, 3}));
    EXPECT_EQ(Runs(IMGRunTableMirrored(7, 3), 3), (std::vector<int32_t>{3, 2, 3}));
    EXPECT_EQ(Runs(IMGRunTableMirrored(4, 4), 4), (std::vector<int32_t>{1, 1, 1, 1}));
    delete[] IMGRunTableMirrored(0, 9);
    EXPECT_EQ(IMGRunTableMirrored(INT32_MIN, 2), nullptr);
    for (int32_t p = 1; p <= 12; ++p) {
        for (int32_t q = p; q <= 30; ++q) {
            const std::vector<int32_t> runs = Runs(IMGRunTableMirrored(p, q), static_cast<std::size_t>(p));
            EXPECT_EQ(runs, std::vector<int32_t>(runs.rbegin(), runs.rend())) << p << "," << q;
        }
    }
}

TEST(IMGScale, EnlargingRepeatsPixelsInRuns)
{
    ImgPtr src = MakeImg(2, 2, {1, 2, 3, 4});
    ImgPtr dst = MakeImg(4, 4);
    IMGScale(src.get(), dst.get());
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
    ImgPtr row = MakeImg(3, 1, {5, 6, 7});
    ImgPtr five = MakeImg(5, 2);
    IMGScale(row.get(), five.get());
    EXPECT_EQ(Pixels(five.get()), (std::vector<uint32_t>{5, 5, 6, 6, 7, 5, 5, 6, 6, 7}));
    ImgPtr same = MakeImg(3, 1);
    IMGScale(row.get(), same.get());
    EXPECT_EQ(Pixels(same.get()), Pixels(row.get()));
}

TEST(IMGScale, ShrinkingBothWaysTakesTheLastPixelOfEachRun)
{
    ImgPtr src = Coordinates(4, 4);
    ImgPtr one = MakeImg(1, 1);
    IMGScale(src.get(), one.get());
    EXPECT_EQ(one->pixels[0], At(3, 3));
    ImgPtr half = MakeImg(2, 2);
    IMGScale(src.get(), half.get());
    EXPECT_EQ(Pixels(half.get()), (std::vector<uint32_t>{At(1, 1), At(3, 1), At(1, 3), At(3, 3)}));
}

TEST(IMGScale, NarrowerAndTallerTakesLastColumnsAndRepeatsRows)
{
    ImgPtr src = Coordinates(4, 2);
    ImgPtr dst = MakeImg(2, 4);
    IMGScale(src.get(), dst.get());
    EXPECT_EQ(Pixels(dst.get()),
              (std::vector<uint32_t>{At(1, 0), At(3, 0), At(1, 0), At(3, 0), At(1, 1), At(3, 1), At(1, 1), At(3, 1)}));
}

TEST(IMGScale, WiderAndShorterTakesTheFirstRowOfEachRun)
{
    ImgPtr src = Coordinates(4, 4);
    ImgPtr dst = MakeImg(4, 2);
    IMGScale(src.get(), dst.get());
    EXPECT_EQ(Pixels(dst.get()),
              (std::vector<uint32_t>{At(0, 0), At(1, 0), At(2, 0), At(3, 0), At(0, 2), At(1, 2), At(2, 2), At(3, 2)}));
    ImgPtr wide = MakeImg(8, 1);
    IMGScale(src.get(), wide.get());
    EXPECT_EQ(Pixels(wide.get()),
              (std::vector<uint32_t>{At(0, 0), At(0, 0), At(1, 0), At(1, 0), At(2, 0), At(2, 0), At(3, 0), At(3, 0)}));
}

TEST(IMGScale, RefusesNegativeSizesAndLeavesEmptyImagesAlone)
{
    ImgPtr src = Coordinates(2, 2);
    uint32_t pixel = 9;
    IMG negative{-1, 1, &pixel};
    IMGScale(src.get(), &negative);
    EXPECT_EQ(pixel, 9u);
    ImgPtr empty = MakeImg(0, 3);
    ImgPtr dst = MakeImg(2, 2, {7, 7, 7, 7});
    IMGScale(empty.get(), dst.get());
    EXPECT_EQ(Pixels(dst.get()), std::vector<uint32_t>(4, 7));
    IMGScale(src.get(), empty.get());
    IMGScale(nullptr, dst.get());
}

TEST(IMGRotate, GrowsBySquareRootOfTwoAndAngleZeroIsAHalfTurn)
{
    ImgPtr src = MakeImg(256, 256);
    IMGFillRect(src.get(), 0, 0, 16, 16, 0xFF0000);
    IMGSetPixel(src.get(), 128, 128, 0x00FF00);
    ImgPtr turned(IMGRotate(src.get(), 0));
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->width, 361);
    EXPECT_EQ(turned->height, 361);
    EXPECT_EQ(IMGGetPixel(turned.get(), 180, 180), 0x00FF00u);
    const auto red = PointsOf(turned.get(), 0xFF0000);
    ASSERT_FALSE(red.empty());
    for (auto [x, y] : red) {
        EXPECT_GT(x, 290);
        EXPECT_GT(y, 290);
    }
    EXPECT_EQ(IMGGetPixel(turned.get(), 0, 0), 0u);  // beyond the source: black
    ImgPtr full(IMGRotate(src.get(), 1024 * 3));
    EXPECT_TRUE(IMGEqual(full.get(), turned.get()));
}

TEST(IMGRotate, AQuarterTurnTakesTheTopLeftToTheTopRight)
{
    ImgPtr src = MakeImg(64, 64);
    IMGFillRect(src.get(), 0, 0, 4, 4, 0xFF0000);
    ImgPtr turned(IMGRotate(src.get(), 256));
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->width, 90);
    EXPECT_EQ(turned->height, 90);
    const auto red = PointsOf(turned.get(), 0xFF0000);
    ASSERT_FALSE(red.empty());
    for (auto [x, y] : red) {
        EXPECT_GT(x, 60);
        EXPECT_LT(y, 30);
    }
    // Exact on a small image: S = -32766 and K = 0, so each row reads one source column.
    ImgPtr small(IMGRotate(MakeImg(4, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}).get(), 256));
    EXPECT_EQ(Pixels(small.get()), (std::vector<uint32_t>{14, 10, 10, 6,  2,  15, 11, 11, 7, 3, 15, 11, 11,
                                                          7,  3,  16, 12, 12, 8,  4,  0,  0, 0, 0,  0}));
    ImgPtr odd(IMGRotate(src.get(), INT32_MIN)), zero(IMGRotate(src.get(), 0));  // INT32_MIN AND 1023 is 0
    EXPECT_TRUE(IMGEqual(odd.get(), zero.get()));
    ImgPtr wide(IMGRotate(MakeImg(64, 32).get(), 1));
    EXPECT_EQ(wide->width, 90);
    EXPECT_EQ(wide->height, 45);
    EXPECT_EQ(IMGRotate(nullptr, 0), nullptr);
}

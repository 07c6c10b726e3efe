// The whole-image effects of IMG and the IMGFX module: its own identity, tag and
// blur, and every other operation behaving as its IMG namesake.
#include <gtest/gtest.h>

#include "core/module.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "gfx/random.h"
#include "img_helpers.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <ios>
#include <string>
#include <vector>

namespace {

std::vector<int32_t> Runs(int32_t *raw, std::size_t count)
{
    std::vector<int32_t> runs(raw, raw + count);
    delete[] raw;
    return runs;
}

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r << 16 | g << 8 | b;
}

// A w x h image whose pixel (x, y) is x + 1 + 16 * y: every pixel tells where it came from.
ImgPtr Coordinates(int32_t w, int32_t h)
{
    ImgPtr img = MakeImg(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            img->pixels[x + y * w] = static_cast<uint32_t>(x + 1 + 16 * y);
        }
    }
    return img;
}

uint32_t At(int32_t x, int32_t y)
{
    return static_cast<uint32_t>(x + 1 + 16 * y);
}

// The blur as defined: every channel summed over the whole square through the
// clipped pixel reader, divided by the square's area, written through the
// clipped pixel writer.
void ReferenceBlur(const IMG *src, IMG *dst, uint32_t r)
{
    const int64_t side = 2 * int64_t{r} + 1;
    const uint64_t area = static_cast<uint64_t>(side * side);
    for (int32_t y = 0; y < src->height; ++y) {
        for (int32_t x = 0; x < src->width; ++x) {
            uint64_t red = 0, green = 0, blue = 0;
            for (int64_t j = -int64_t{r}; j <= int64_t{r}; ++j) {
                for (int64_t i = -int64_t{r}; i <= int64_t{r}; ++i) {
                    const uint32_t p = IMGGetPixel(src, static_cast<int32_t>(x + i), static_cast<int32_t>(y + j));
                    red += (p >> 16) & 0xFFu;
                    green += (p >> 8) & 0xFFu;
                    blue += p & 0xFFu;
                }
            }
            IMGSetPixel(dst, x, y,
                        static_cast<uint32_t>(red / area) << 16 | static_cast<uint32_t>(green / area) << 8 |
                            static_cast<uint32_t>(blue / area));
        }
    }
}

// Random pixels, the unused top byte included, so it is seen to be ignored.
ImgPtr Noise(int32_t w, int32_t h)
{
    ImgPtr img = MakeImg(w, h);
    for (int32_t i = 0; i < w * h; ++i) {
        img->pixels[i] = static_cast<uint32_t>(RANDOMNext()) << 17 ^ static_cast<uint32_t>(RANDOMNext());
    }
    return img;
}

ImgPtr Filled(int32_t w, int32_t h, uint32_t colour)
{
    ImgPtr img = MakeImg(w, h);
    std::fill(img->pixels, img->pixels + w * h, colour);
    return img;
}

void ExpectSameBlur(const IMG *src, int32_t dw, int32_t dh, uint32_t r)
{
    ImgPtr fast = Filled(dw, dh, 0xA5A5A5A5u);
    ImgPtr slow = Filled(dw, dh, 0xA5A5A5A5u);
    IMGFXBlur(src, fast.get(), r);
    ReferenceBlur(src, slow.get(), r);
    ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get()))
        << src->width << "x" << src->height << " into " << dw << "x" << dh << ", radius " << r;
}

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
    EXPECT_EQ(Pixels(rect.get()), (std::vector<uint32_t>{0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0xFFFFFFFF,
                                                        0xFFFFFFFF, 0}));
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
    ImgPtr odd(IMGRotate(src.get(), INT32_MIN)), zero(IMGRotate(src.get(), 0));  // INT32_MIN AND 1023 is 0
    EXPECT_TRUE(IMGEqual(odd.get(), zero.get()));
    ImgPtr wide(IMGRotate(MakeImg(64, 32).get(), 1));
    EXPECT_EQ(wide->width, 90);
    EXPECT_EQ(wide->height, 45);
    EXPECT_EQ(IMGRotate(nullptr, 0), nullptr);
}

TEST(IMGFX, HasItsOwnIdentity)
{
    ASSERT_EQ(IdentityFields(IMGFXIdentity), 5u);
    const char *want[] = {"IMGFX   ", "20120410", "VORNHALD", "C       ", "CODE    "};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_STREQ(IMGFXIdentity[i], want[i]);
    }
    EXPECT_STREQ(IMGIdentity[0], "IMG     ");
    EXPECT_STREQ(IMGIdentity[1], "20120409");
}

TEST(IMGFX, EveryOperationBehavesAsItsImgNamesake)
{
    using Op = std::function<void(IMG *, IMG *)>;
    struct Pair {
        const char *name;
        Op img, fx;
    };
    const Pair pairs[] = {
        {"Line", [](IMG *, IMG *d) { IMGDrawLine(d, -2, 1, 9, 4, 5); },
         [](IMG *, IMG *d) { IMGFXDrawLine(d, -2, 1, 9, 4, 5); }},
        {"Fill", [](IMG *, IMG *d) { IMGFillRect(d, 1, 1, 3, 2, 5); },
         [](IMG *, IMG *d) { IMGFXFillRect(d, 1, 1, 3, 2, 5); }},
        {"Rect", [](IMG *, IMG *d) { IMGDrawRect(d, 1, 1, 3, 2, 5); },
         [](IMG *, IMG *d) { IMGFXDrawRect(d, 1, 1, 3, 2, 5); }},
        {"Circle", [](IMG *, IMG *d) { IMGDrawCircle(d, 3, 3, 3, 5); },
         [](IMG *, IMG *d) { IMGFXDrawCircle(d, 3, 3, 3, 5); }},
        {"Pixel", [](IMG *, IMG *d) { IMGSetPixel(d, 2, 3, 5); }, [](IMG *, IMG *d) { IMGFXSetPixel(d, 2, 3, 5); }},
        {"Clear", [](IMG *, IMG *d) { IMGClear(d); }, [](IMG *, IMG *d) { IMGFXClear(d); }},
        {"CopyPixels", [](IMG *s, IMG *d) { IMGCopyPixels(s, d); }, [](IMG *s, IMG *d) { IMGFXCopyPixels(s, d); }},
        {"Blit", [](IMG *s, IMG *d) { IMGBlit(s, d, 1, 0, -1, 2, 5, 5); },
         [](IMG *s, IMG *d) { IMGFXBlit(s, d, 1, 0, -1, 2, 5, 5); }},
        {"Masked", [](IMG *s, IMG *d) { IMGBlitMasked(s, d, 1, 0, -1, 2, 5, 5); },
         [](IMG *s, IMG *d) { IMGFXBlitMasked(s, d, 1, 0, -1, 2, 5, 5); }},
        {"Add", [](IMG *s, IMG *d) { IMGBlitAdd(s, d, 0, 1, 2, 0, 5, 5); },
         [](IMG *s, IMG *d) { IMGFXBlitAdd(s, d, 0, 1, 2, 0, 5, 5); }},
        {"Saturate", [](IMG *s, IMG *d) { IMGBlitAddSaturate(s, d, 0, 1, 2, 0, 5, 5); },
         [](IMG *s, IMG *d) { IMGFXBlitAddSaturate(s, d, 0, 1, 2, 0, 5, 5); }},
        {"Spaced", [](IMG *s, IMG *d) { IMGBlitSpaced(s, d, 0, 0, 1, 1, 3, 3, 2, 2); },
         [](IMG *s, IMG *d) { IMGFXBlitSpaced(s, d, 0, 0, 1, 1, 3, 3, 2, 2); }},
        {"Row", [](IMG *s, IMG *d) { IMGCopyRow(s, d, 2, 4); }, [](IMG *s, IMG *d) { IMGFXCopyRow(s, d, 2, 4); }},
        {"RowWrap", [](IMG *s, IMG *d) { IMGCopyRowWrap(s, d, 2, 4, -3); },
         [](IMG *s, IMG *d) { IMGFXCopyRowWrap(s, d, 2, 4, -3); }},
        {"OrWrap", [](IMG *s, IMG *d) { IMGOrRowWrap(s, d, 2, 4, 3); },
         [](IMG *s, IMG *d) { IMGFXOrRowWrap(s, d, 2, 4, 3); }},
        {"ColumnWrap", [](IMG *s, IMG *d) { IMGCopyColumnWrap(s, d, 1, 5, -2); },
         [](IMG *s, IMG *d) { IMGFXCopyColumnWrap(s, d, 1, 5, -2); }},
        {"Fade", [](IMG *, IMG *d) { IMGFade(d, 0x102030); }, [](IMG *, IMG *d) { IMGFXFade(d, 0x102030); }},
        {"Blend", [](IMG *s, IMG *d) { IMGBlend(s, d, 1, -1); }, [](IMG *s, IMG *d) { IMGFXBlend(s, d, 1, -1); }},
        {"Invert", [](IMG *, IMG *d) { IMGInvert(d); }, [](IMG *, IMG *d) { IMGFXInvert(d); }},
        {"InvertRect", [](IMG *, IMG *d) { IMGInvertRect(d, -1, 2, 3, 3); },
         [](IMG *, IMG *d) { IMGFXInvertRect(d, -1, 2, 3, 3); }},
        {"AndMask", [](IMG *s, IMG *d) { IMGAndMask(s, d); }, [](IMG *s, IMG *d) { IMGFXAndMask(s, d); }},
        {"Scale", [](IMG *s, IMG *d) { IMGScale(s, d); }, [](IMG *s, IMG *d) { IMGFXScale(s, d); }},
        {"Resize", [](IMG *, IMG *d) { IMGResize(d, 3, 2); }, [](IMG *, IMG *d) { IMGFXResize(d, 3, 2); }},
    };
    for (const Pair &p : pairs) {
        ImgPtr src = Coordinates(7, 7);
        ImgPtr a = Coordinates(7, 7), b = Coordinates(7, 7);
        // Pixels 1 to 3 fade to 0, so the masked rules meet transparent pixels too.
        IMGFade(a.get(), 0x000003);
        IMGFade(b.get(), 0x000003);
        p.img(src.get(), a.get());
        p.fx(src.get(), b.get());
        EXPECT_TRUE(IMGEqual(a.get(), b.get())) << p.name;
        EXPECT_TRUE(IMGFXEqual(a.get(), b.get())) << p.name;
    }
    ImgPtr src = Coordinates(5, 3);
    ImgPtr copy(IMGFXCopy(src.get()));
    EXPECT_TRUE(IMGEqual(copy.get(), src.get()));
    EXPECT_EQ(IMGFXGetPixel(src.get(), 4, 2), IMGGetPixel(src.get(), 4, 2));
    ImgPtr rotated(IMGFXRotate(src.get(), 100)), reference(IMGRotate(src.get(), 100));
    EXPECT_TRUE(IMGEqual(rotated.get(), reference.get()));
    int32_t *points = IMGFXLinePoints(0, 0, 3, 1);
    EXPECT_EQ(std::vector<int32_t>(points, points + 9), (std::vector<int32_t>{8, 0, 0, 1, 1, 2, 1, 3, 1}));
    delete[] points;
    EXPECT_EQ(Runs(IMGFXRunTable(2, 5), 3), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(Runs(IMGFXRunTableMirrored(2, 5), 2), (std::vector<int32_t>{3, 3}));
    IMG *fresh = IMGFXNew();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->width, 16);
    IMGFree(&fresh);  // images pass freely between the two modules
    EXPECT_EQ(fresh, nullptr);
    IMGFXFree(&fresh);
}

TEST(IMGFXBlur, ASingleWhitePixelSpreadsIntoAThreeByThreeSquareOf28s)
{
    ImgPtr src = MakeImg(7, 7);
    IMGSetPixel(src.get(), 3, 3, 0xFFFFFF);
    ImgPtr dst = MakeImg(7, 7, {0xABCDEF});
    IMGFXBlur(src.get(), dst.get(), 1);
    for (int32_t y = 0; y < 7; ++y) {
        for (int32_t x = 0; x < 7; ++x) {
            const bool near = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            EXPECT_EQ(dst->pixels[x + 7 * y], near ? Rgb(28, 28, 28) : 0u) << x << "," << y;
        }
    }
}

TEST(IMGFXBlur, AveragesEachChannelAndDarkensTheBorder)
{
    ImgPtr src = MakeImg(4, 4);
    std::fill(src->pixels, src->pixels + 16, Rgb(9, 18, 255));
    ImgPtr dst = MakeImg(4, 4);
    IMGFXBlur(src.get(), dst.get(), 1);
    EXPECT_EQ(dst->pixels[0], Rgb(4, 8, 113));    // corner: 4 of 9
    EXPECT_EQ(dst->pixels[1], Rgb(6, 12, 170));   // edge: 6 of 9
    EXPECT_EQ(dst->pixels[5], Rgb(9, 18, 255));   // inside
    ImgPtr wide = MakeImg(2, 2);
    IMGFXBlur(src.get(), wide.get(), 5);          // 16 pixels of 121, truncated
    EXPECT_EQ(wide->pixels[0], Rgb(1, 2, 33));
    IMGFXBlur(src.get(), wide.get(), UINT32_MAX);  // a square larger than any sum
    EXPECT_EQ(Pixels(wide.get()), std::vector<uint32_t>(4, 0));
}

TEST(IMGFXBlur, RefusesNullsAndBlurringAnImageIntoItself)
{
    ImgPtr img = Coordinates(3, 3);
    const std::vector<uint32_t> before = Pixels(img.get());
    IMGFXBlur(img.get(), img.get(), 1);
    IMG alias{3, 3, img->pixels};
    IMGFXBlur(img.get(), &alias, 1);
    IMGFXBlur(nullptr, img.get(), 1);
    IMGFXBlur(img.get(), nullptr, 1);
    EXPECT_EQ(Pixels(img.get()), before);
}

TEST(IMGFXBlur, MatchesTheSquareSumOverSizesAndRadii)
{
    RANDOMSeed(randomSeed);
    const int32_t sizes[][2] = {{1, 1}, {1, 9}, {9, 1}, {2, 3}, {5, 4}, {17, 13}, {64, 3}, {31, 40}};
    const uint32_t radii[] = {0, 1, 2, 3, 7, 8, 12, 40};
    for (const auto &size : sizes) {
        ImgPtr src = Noise(size[0], size[1]);
        for (const uint32_t r : radii) {
            ExpectSameBlur(src.get(), size[0], size[1], r);
        }
    }
}

TEST(IMGFXBlur, MatchesOnTheScreenImageAtTheDemoRadius)
{
    RANDOMSeed(randomSeed + 1);
    ImgPtr src = Noise(256, 256);
    ExpectSameBlur(src.get(), 256, 256, 1);
}

TEST(IMGFXBlur, TouchesOnlyWhatBothImagesCover)
{
    RANDOMSeed(randomSeed + 2);
    ImgPtr src = Noise(12, 10);
    for (const uint32_t r : {1u, 4u, 9u}) {
        ExpectSameBlur(src.get(), 5, 3, r);    // smaller destination
        ExpectSameBlur(src.get(), 20, 15, r);  // larger: the rest keeps its pixels
        ExpectSameBlur(src.get(), 20, 4, r);   // wider but shorter
        ExpectSameBlur(src.get(), 3, 15, r);   // narrower but taller
    }
}

TEST(IMGFXBlur, FullChannelsKeepTheirLevelAtEveryRadius)
{
    // The largest sums each radius can reach: white everywhere. Inside, every mean
    // must stay 255, for radii on both sides of the switch to wider sums.
    ImgPtr white = Filled(40, 40, 0xFFFFFFu);
    for (const uint32_t r : {1u, 6u, 7u, 8u, 19u}) {
        ImgPtr dst = MakeImg(40, 40);
        IMGFXBlur(white.get(), dst.get(), r);
        EXPECT_EQ(dst->pixels[20 + 20 * 40], 0xFFFFFFu) << "radius " << r;
        ExpectSameBlur(white.get(), 40, 40, r);
    }
}

// The IMGFX module: its own identity, tag and blur, and every other operation
// behaving as its IMG namesake.
#include <gtest/gtest.h>

#include "core/module.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "gfx/random.h"
#include "img_helpers.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace {

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

}  // namespace

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
        {"Fill", [](IMG *, IMG *d) { IMGFillRect(d, 2, 1, 3, 2, 5); },
         [](IMG *, IMG *d) { IMGFXFillRect(d, 2, 1, 3, 2, 5); }},
        {"Rect", [](IMG *, IMG *d) { IMGDrawRect(d, 2, 1, 3, 2, 5); },
         [](IMG *, IMG *d) { IMGFXDrawRect(d, 2, 1, 3, 2, 5); }},
        {"Circle", [](IMG *, IMG *d) { IMGDrawCircle(d, 4, 2, 3, 5); },
         [](IMG *, IMG *d) { IMGFXDrawCircle(d, 4, 2, 3, 5); }},
        {"Pixel", [](IMG *, IMG *d) { IMGSetPixel(d, 2, 3, 5); }, [](IMG *, IMG *d) { IMGFXSetPixel(d, 2, 3, 5); }},
        {"Clear", [](IMG *, IMG *d) { IMGClear(d); }, [](IMG *, IMG *d) { IMGFXClear(d); }},
        {"CopyPixels", [](IMG *s, IMG *d) { IMGCopyPixels(s, d); }, [](IMG *s, IMG *d) { IMGFXCopyPixels(s, d); }},
        {"Blit", [](IMG *s, IMG *d) { IMGBlit(s, d, 1, 0, -1, 2, 5, 4); },
         [](IMG *s, IMG *d) { IMGFXBlit(s, d, 1, 0, -1, 2, 5, 4); }},
        {"Masked", [](IMG *s, IMG *d) { IMGBlitMasked(s, d, 1, 0, -1, 2, 5, 4); },
         [](IMG *s, IMG *d) { IMGFXBlitMasked(s, d, 1, 0, -1, 2, 5, 4); }},
        {"Add", [](IMG *s, IMG *d) { IMGBlitAdd(s, d, 0, 1, 2, 0, 5, 4); },
         [](IMG *s, IMG *d) { IMGFXBlitAdd(s, d, 0, 1, 2, 0, 5, 4); }},
        {"Saturate", [](IMG *s, IMG *d) { IMGBlitAddSaturate(s, d, 0, 1, 2, 0, 5, 4); },
         [](IMG *s, IMG *d) { IMGFXBlitAddSaturate(s, d, 0, 1, 2, 0, 5, 4); }},
        {"Spaced", [](IMG *s, IMG *d) { IMGBlitSpaced(s, d, 1, 0, 2, 1, 3, 2, 2, 1); },
         [](IMG *s, IMG *d) { IMGFXBlitSpaced(s, d, 1, 0, 2, 1, 3, 2, 2, 1); }},
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
        {"InvertRect", [](IMG *, IMG *d) { IMGInvertRect(d, -1, 2, 3, 4); },
         [](IMG *, IMG *d) { IMGFXInvertRect(d, -1, 2, 3, 4); }},
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
    EXPECT_EQ(dst->pixels[0], Rgb(4, 8, 113));   // corner: 4 of 9
    EXPECT_EQ(dst->pixels[1], Rgb(6, 12, 170));  // edge: 6 of 9
    EXPECT_EQ(dst->pixels[5], Rgb(9, 18, 255));  // inside
    ImgPtr wide = MakeImg(2, 2);
    IMGFXBlur(src.get(), wide.get(), 5);  // 16 pixels of 121, truncated
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

// The fade, the blur and the line are written for speed: the fade subtracts all
// three channels in one word, the blur keeps running sums instead of adding up
// every square afresh, the line works out once which of its points lie inside.
// These cases hold them to their plain definitions, pixel for pixel: every pair
// of channel values for the fade; sizes, radii and destination shapes where the
// two ways of summing could part for the blur; lines inside, crossing and
// outside the image for the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ios>
#include <utility>
#include <vector>

#include "gfx/imgfx.h"
#include "gfx/random.h"
#include "img_helpers.h"

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

// The line as defined: every point IMGLinePoints lists, through the clipped pixel writer.
void ReferenceLine(IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour)
{
    int32_t *points = IMGLinePoints(x0, y0, x1, y1);
    for (int32_t i = 0; i < points[0]; i += 2) {
        IMGSetPixel(img, points[1 + i], points[2 + i], colour);
    }
    delete[] points;
}

// Draws the line both ways on two equal images of w x h and compares them.
void ExpectSameLine(int32_t w, int32_t h, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    ImgPtr fast = Filled(w, h, 0xA5A5A5A5u);
    ImgPtr slow = Filled(w, h, 0xA5A5A5A5u);
    IMGDrawLine(fast.get(), x0, y0, x1, y1, 0x123456u);
    ReferenceLine(slow.get(), x0, y0, x1, y1, 0x123456u);
    ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get()))
        << x0 << "," << y0 << " to " << x1 << "," << y1 << " on " << w << "x" << h;
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

}  // namespace

// Fades pixels made by pixelOf(index, channel value) by every colour value in
// every channel, img->pixels holding one value per index, and compares each
// result with the definition.
template <typename PixelOf>
void ExpectFadeOfEveryPair(IMG *img, PixelOf pixelOf)
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
                    before[i] = (noise & ~(0xFFu << shift)) | (pixelOf(start + i) & 0xFFu) << shift;
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

TEST(IMGFadeEquivalence, EveryChannelPairInEveryChannel)
{
    // Every (pixel, colour) channel pair in each channel, beside random other
    // channels and a set top byte in pixel and colour alike: once in an image
    // large enough for the fast inner loop (each value 16 times, and three
    // pixels left over), once in images of fewer than four pixels.
    RANDOMSeed(randomSeed);
    ImgPtr large = MakeImg(63, 65);
    ExpectFadeOfEveryPair(large.get(), [](uint32_t i) { return i; });
    for (const int32_t pixels : {1, 2, 3}) {
        ImgPtr small = MakeImg(pixels, 1);
        ExpectFadeOfEveryPair(small.get(), [](uint32_t i) { return i; });
    }
}

TEST(IMGFXBlurEquivalence, MatchesTheSquareSumOverSizesAndRadii)
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

TEST(IMGFXBlurEquivalence, MatchesOnTheScreenImageAtTheDemoRadius)
{
    RANDOMSeed(randomSeed + 1);
    ImgPtr src = Noise(256, 256);
    ExpectSameBlur(src.get(), 256, 256, 1);
}

TEST(IMGFXBlurEquivalence, TouchesOnlyWhatBothImagesCover)
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

TEST(IMGFXBlurEquivalence, FullChannelsKeepTheirLevelAtEveryRadius)
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

TEST(IMGDrawLineEquivalence, DrawsExactlyTheListedPointsInsideCrossingAndOutside)
{
    // Every end point pair over a grid reaching well past a small image on all four
    // sides: lines wholly inside, entering or leaving through each edge, crossing
    // it, grazing a corner and missing it, in all eight directions, steep and flat.
    for (const auto &size : {std::pair{7, 5}, std::pair{1, 6}, std::pair{6, 1}, std::pair{1, 1}}) {
        const auto [w, h] = size;
        for (int32_t x0 = -9; x0 <= w + 8; x0 += 3) {
            for (int32_t y0 = -8; y0 <= h + 9; y0 += 2) {
                for (int32_t x1 = -10; x1 <= w + 10; ++x1) {
                    for (int32_t y1 = -10; y1 <= h + 10; ++y1) {
                        ExpectSameLine(w, h, x0, y0, x1, y1);
                    }
                }
            }
        }
    }
    // Long lines at random through and past a larger image, far ends included.
    RANDOMSeed(randomSeed + 3);
    for (int32_t i = 0; i < 3000; ++i) {
        const int32_t reach = i % 3 == 0 ? 4000 : 400;
        const auto end = [reach] { return static_cast<int32_t>(RANDOMNext() % (2 * reach)) - reach + 20; };
        const int32_t x0 = end(), y0 = end(), x1 = end(), y1 = end();
        ExpectSameLine(41, 30, x0, y0, x1, y1);
    }
}

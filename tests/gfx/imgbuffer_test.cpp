// The image buffer: lifecycle, pixel access, lines, rectangles, circles, blits and
// row and column copies.
#include <gtest/gtest.h>

#include "gfx/img.h"
#include "gfx/random.h"
#include "img_helpers.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace {

using Points = std::vector<std::pair<int32_t, int32_t>>;

// The points IMGLinePoints lists, in order.
Points LineList(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    int32_t *raw = IMGLinePoints(x0, y0, x1, y1);
    Points points;
    for (int32_t i = 0; i < raw[0]; i += 2) {
        points.emplace_back(raw[1 + i], raw[2 + i]);
    }
    delete[] raw;
    return points;
}

// The line as defined: every point IMGLinePoints lists, through the clipped pixel writer.
void ReferenceLine(IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour)
{
    for (const auto &[x, y] : LineList(x0, y0, x1, y1)) {
        IMGSetPixel(img, x, y, colour);
    }
}

// Draws the line both ways on two equal images of w x h and compares them.
void ExpectSameLine(int32_t w, int32_t h, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    ImgPtr fast = MakeImg(w, h);
    ImgPtr slow = MakeImg(w, h);
    std::fill(fast->pixels, fast->pixels + w * h, 0xA5A5A5A5u);
    std::fill(slow->pixels, slow->pixels + w * h, 0xA5A5A5A5u);
    IMGDrawLine(fast.get(), x0, y0, x1, y1, 0x123456u);
    ReferenceLine(slow.get(), x0, y0, x1, y1, 0x123456u);
    ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get()))
        << x0 << "," << y0 << " to " << x1 << "," << y1 << " on " << w << "x" << h;
}

}  // namespace

TEST(IMGNew, IsSixteenBySixteenBlackAndResizeAlwaysGivesBlack)
{
    ImgPtr img(IMGNew());
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->width, 16);
    EXPECT_EQ(img->height, 16);
    EXPECT_EQ(Pixels(img.get()), std::vector<uint32_t>(256, 0));
    std::fill(img->pixels, img->pixels + 256, 0x123456u);
    IMGResize(img.get(), 256, 256);
    EXPECT_EQ(img->width, 256);
    EXPECT_EQ(img->height, 256);
    EXPECT_EQ(Pixels(img.get()), std::vector<uint32_t>(256 * 256, 0));
}

TEST(IMGResize, RefusesBadSizesAndKeepsTheImage)
{
    ImgPtr img = MakeImg(2, 2, {1, 2, 3, 4});
    IMGResize(img.get(), -1, 4);
    IMGResize(img.get(), 4, -1);
    IMGResize(img.get(), 65536, 65536);  // more pixels than a 32-bit index reaches
    EXPECT_EQ(img->width, 2);
    EXPECT_EQ(img->height, 2);
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{1, 2, 3, 4}));
    IMGResize(nullptr, 4, 4);
    IMGResize(img.get(), 0, 5);
    EXPECT_EQ(img->width, 0);
    EXPECT_EQ(img->height, 5);
    IMGResize(img.get(), 3, 0);
    EXPECT_EQ(img->width, 3);
    EXPECT_EQ(img->height, 0);
}

TEST(IMGFree, NullsTheHandleAndToleratesNulls)
{
    IMG *img = IMGNew();
    IMGFree(&img);
    EXPECT_EQ(img, nullptr);
    IMGFree(&img);
    IMGFree(nullptr);
}

TEST(IMGCopy, CopyEqualAndCopyPixels)
{
    ImgPtr a = MakeImg(3, 2, {1, 2, 3, 4, 5, 6});
    ImgPtr b(IMGCopy(a.get()));
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b->pixels, a->pixels);
    EXPECT_TRUE(IMGEqual(a.get(), b.get()));
    b->pixels[5] = 7;
    EXPECT_FALSE(IMGEqual(a.get(), b.get()));
    ImgPtr c = MakeImg(2, 3, {1, 2, 3, 4, 5, 6});  // same pixels, other shape
    EXPECT_FALSE(IMGEqual(a.get(), c.get()));
    EXPECT_FALSE(IMGEqual(a.get(), nullptr));
    EXPECT_EQ(IMGCopy(nullptr), nullptr);

    IMGCopyPixels(a.get(), c.get());  // sizes differ: nothing copied
    EXPECT_EQ(c->pixels[0], 1u);
    EXPECT_EQ(Pixels(c.get()), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    IMGCopyPixels(a.get(), b.get());
    EXPECT_TRUE(IMGEqual(a.get(), b.get()));
}

TEST(IMGClear, ClearsEveryPixelOfTinyAndEmptyImages)
{
    ImgPtr one = MakeImg(1, 1, {0xABCDEF});
    IMGClear(one.get());
    EXPECT_EQ(one->pixels[0], 0u);
    ImgPtr empty = MakeImg(0, 3);
    IMGClear(empty.get());
    IMGClear(nullptr);
}

TEST(IMGSetPixel, ClipsSilentlyOutsideAndGetPixelReadsZeroThere)
{
    ImgPtr img = MakeImg(4, 3);
    std::fill(img->pixels, img->pixels + 12, 5u);
    const std::pair<int32_t, int32_t> outside[] = {{-1, 0}, {4, 0}, {0, 3}, {0, -1}, {INT32_MIN, INT32_MAX}};
    for (auto [x, y] : outside) {
        IMGSetPixel(img.get(), x, y, 9);
        EXPECT_EQ(IMGGetPixel(img.get(), x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(Pixels(img.get()), std::vector<uint32_t>(12, 5));
    IMGSetPixel(img.get(), 3, 2, 9);
    EXPECT_EQ(img->pixels[11], 9u);
    EXPECT_EQ(IMGGetPixel(img.get(), 3, 2), 9u);
    EXPECT_EQ(IMGGetPixel(nullptr, 0, 0), 0u);
}

TEST(IMGDrawLine, ExactPixelsInDrawingOrder)
{
    EXPECT_EQ(LineList(0, 0, 3, 1), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 1}}));
    // The reverse line steps its minor axis at the first point too, so it covers other pixels.
    EXPECT_EQ(LineList(3, 1, 0, 0), (Points{{3, 1}, {2, 0}, {1, 0}, {0, 0}}));
    EXPECT_EQ(LineList(0, 0, 4, 2), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    EXPECT_EQ(LineList(0, 0, 0, 0), (Points{{0, 0}}));
    EXPECT_EQ(LineList(5, 5, 2, 2), (Points{{5, 5}, {4, 4}, {3, 3}, {2, 2}}));
    EXPECT_EQ(LineList(0, 0, 1, 3), (Points{{0, 0}, {1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(LineList(2, 0, 0, 4), (Points{{2, 0}, {1, 1}, {1, 2}, {0, 3}, {0, 4}}));
}

TEST(IMGDrawLine, OneStepLinesEndOnTheirEndPoint)
{
    EXPECT_EQ(LineList(0, 0, 1, 0), (Points{{0, 0}, {1, 0}}));
    EXPECT_EQ(LineList(0, 0, 0, 1), (Points{{0, 0}, {0, 1}}));
    EXPECT_EQ(LineList(1, 0, 0, 0), (Points{{1, 0}, {0, 0}}));
    EXPECT_EQ(LineList(0, 1, 0, 0), (Points{{0, 1}, {0, 0}}));
    EXPECT_EQ(LineList(0, 0, 1, 1), (Points{{0, 0}, {1, 1}}));
    EXPECT_EQ(LineList(3, 2, 8, 2), (Points{{3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}}));
}

TEST(IMGDrawLine, DrawsExactlyTheListedPointsInsideCrossingAndOutside)
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
    IMGDrawLine(nullptr, 0, 0, 1, 1, 1);
}

TEST(IMGLinePoints, EveryLineIsConnectedFromStartToEnd)
{
    for (int32_t x1 = -6; x1 <= 6; ++x1) {
        for (int32_t y1 = -6; y1 <= 6; ++y1) {
            const Points points = LineList(1, 2, 1 + x1, 2 + y1);
            ASSERT_EQ(points.size(), static_cast<std::size_t>(std::max(std::abs(x1), std::abs(y1)) + 1));
            EXPECT_EQ(points.front(), std::pair(1, 2));
            EXPECT_EQ(points.back(), std::pair(1 + x1, 2 + y1)) << x1 << "," << y1;
            for (std::size_t i = 1; i < points.size(); ++i) {
                EXPECT_LE(std::abs(points[i].first - points[i - 1].first), 1);
                EXPECT_LE(std::abs(points[i].second - points[i - 1].second), 1);
            }
        }
    }
}

TEST(IMGLinePoints, CountsPairsAndRefusesCountsBeyondThirtyTwoBits)
{
    int32_t *points = IMGLinePoints(-2, 7, 3, 5);
    EXPECT_EQ(points[0], 12);
    delete[] points;
    EXPECT_EQ(IMGLinePoints(INT32_MIN, 0, INT32_MAX, 0), nullptr);
}

TEST(IMGFillRect, FillsOnlyRectanglesWhollyInside)
{
    ImgPtr img = MakeImg(4, 3);
    IMGFillRect(img.get(), 1, 1, 3, 2, 8);
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{0, 0, 0, 0, 0, 8, 8, 8, 0, 8, 8, 8}));
    ImgPtr other = MakeImg(4, 3);
    IMGFillRect(other.get(), 2, 0, 3, 1, 8);  // x + w = width + 1
    IMGFillRect(other.get(), -1, 0, 2, 1, 8);
    IMGFillRect(other.get(), 0, 0, 0, 1, 8);
    IMGFillRect(other.get(), 0, 2, 1, 2, 8);
    IMGFillRect(other.get(), 1, 1, INT32_MAX, 1, 8);
    EXPECT_EQ(Pixels(other.get()), std::vector<uint32_t>(12, 0));
}

TEST(IMGDrawRect, DrawsTheOutlineUnderTheSameRule)
{
    ImgPtr img = MakeImg(5, 4);
    IMGDrawRect(img.get(), 0, 0, 4, 4, 1);
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{1, 1, 1, 1, 0,  //
                                                        1, 0, 0, 1, 0,  //
                                                        1, 0, 0, 1, 0,  //
                                                        1, 1, 1, 1, 0}));
    ImgPtr thin = MakeImg(3, 1);
    IMGDrawRect(thin.get(), 1, 0, 2, 1, 2);
    EXPECT_EQ(Pixels(thin.get()), (std::vector<uint32_t>{0, 2, 2}));
    IMGDrawRect(thin.get(), 0, 0, 4, 1, 3);
    EXPECT_EQ(Pixels(thin.get()), (std::vector<uint32_t>{0, 2, 2}));
}

TEST(IMGDrawCircle, RadiusOneIsTwoPixels)
{
    ImgPtr img = MakeImg(8, 4);
    IMGDrawCircle(img.get(), 6, 1, 1, 6);
    EXPECT_EQ(PointsOf(img.get(), 6), (Points{{5, 1}, {6, 1}}));
}

TEST(IMGDrawCircle, IsSymmetricAboutHalfAColumnLeftOfTheCentre)
{
    ImgPtr img = MakeImg(32, 32);
    IMGDrawCircle(img.get(), 16, 16, 10, 1);
    const Points points = PointsOf(img.get(), 1);
    const std::set<std::pair<int32_t, int32_t>> set(points.begin(), points.end());
    for (auto [x, y] : points) {
        EXPECT_TRUE(set.count({31 - x, y})) << x << "," << y;  // mirror about x = 15.5
        EXPECT_TRUE(set.count({x, 32 - y})) << x << "," << y;  // mirror about y = 16
    }
    // 32766 * 10 >> 15 is 9: the widest points sit 9 columns out, the top and bottom 9 rows out.
    EXPECT_TRUE(set.count({7, 16}));
    EXPECT_TRUE(set.count({24, 16}));
    EXPECT_FALSE(set.count({6, 16}) || set.count({25, 16}));
    EXPECT_TRUE(set.count({15, 7}) && set.count({16, 7}) && set.count({15, 25}) && set.count({16, 25}));
    EXPECT_FALSE(set.count({16, 6}) || set.count({16, 26}));
}

TEST(IMGDrawCircle, RefusesCentresOutsideAndClipsPoints)
{
    ImgPtr img = MakeImg(8, 8);
    IMGDrawCircle(img.get(), 8, 3, 2, 1);
    IMGDrawCircle(img.get(), -1, 3, 2, 1);
    IMGDrawCircle(img.get(), 3, 3, 0, 1);
    EXPECT_EQ(Pixels(img.get()), std::vector<uint32_t>(64, 0));
    IMGDrawCircle(img.get(), 0, 0, 1000000, 1);  // every point outside, no overflow
    IMGDrawCircle(img.get(), 0, 0, 3, 1);
    EXPECT_FALSE(PointsOf(img.get(), 1).empty());
}

namespace {

// Brute-force model of a blit: every pair whose two pixels lie inside their images.
template <typename Combine>
std::vector<uint32_t> ModelBlit(const IMG *src, const IMG *dst, int sx, int sy, int dx, int dy, int w, int h,
                                Combine combine)
{
    std::vector<uint32_t> out = Pixels(dst);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const int x = sx + i, y = sy + j, u = dx + i, v = dy + j;
            if (x >= 0 && y >= 0 && x < src->width && y < src->height && u >= 0 && v >= 0 && u < dst->width &&
                v < dst->height) {
                combine(src->pixels[x + y * src->width], out[u + v * dst->width]);
            }
        }
    }
    return out;
}

ImgPtr Numbered(int32_t w, int32_t h, uint32_t base)
{
    ImgPtr img = MakeImg(w, h);
    for (int32_t i = 0; i < w * h; ++i) {
        img->pixels[i] = i % 3 == 0 ? 0u : base + static_cast<uint32_t>(i) * 0x010203u;
    }
    return img;
}

}  // namespace

TEST(IMGBlit, AllFourRulesClipOnEverySideLikeTheModel)
{
    using Blit = void (*)(const IMG *, IMG *, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
    using Rule = void (*)(uint32_t, uint32_t &);
    const std::pair<Blit, Rule> blits[] = {
        {IMGBlit, [](uint32_t s, uint32_t &d) { d = s; }},
        {IMGBlitMasked, [](uint32_t s, uint32_t &d) { d = s != 0 ? s : d; }},
        {IMGBlitAdd, [](uint32_t s, uint32_t &d) { d += s; }},
        {IMGBlitAddSaturate,
         [](uint32_t s, uint32_t &d) {
             uint32_t r = 0;
             for (int k = 0; k < 24; k += 8) {
                 r |= std::min(255u, ((s >> k) & 255u) + ((d >> k) & 255u)) << k;
             }
             d = r;
         }},
    };
    const ImgPtr src = Numbered(5, 4, 0x101010);
    for (const auto &[blit, rule] : blits) {
        for (int sx = -3; sx <= 5; sx += 2) {
            for (int dx = -6; dx <= 7; ++dx) {
                for (int dy = -5; dy <= 6; dy += 1) {
                    const int sy = (dx + dy) % 3 - 1, w = 2 + (dx & 3), h = 1 + (dy & 3);
                    ImgPtr dst = Numbered(6, 5, 0x7F0000);
                    const std::vector<uint32_t> want = ModelBlit(src.get(), dst.get(), sx, sy, dx, dy, w, h, rule);
                    blit(src.get(), dst.get(), sx, sy, dx, dy, w, h);
                    ASSERT_EQ(Pixels(dst.get()), want)
                        << sx << "," << sy << " to " << dx << "," << dy << " " << w << "x" << h;
                }
            }
        }
    }
}

TEST(IMGBlit, MaskedPartlyLeftAndAboveCopiesTheOverlapOnly)
{
    ImgPtr src = MakeImg(3, 3, {1, 2, 3, 4, 0, 6, 7, 8, 9});
    ImgPtr dst = MakeImg(3, 3, {50, 50, 50, 50, 50, 50, 50, 50, 50});
    IMGBlitMasked(src.get(), dst.get(), 0, 0, -1, -1, 3, 3);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{50, 6, 50, 8, 9, 50, 50, 50, 50}));
    IMGBlitMasked(src.get(), dst.get(), 0, 0, 2, 2, 3, 3);
    EXPECT_EQ(dst->pixels[8], 1u);
    IMGBlit(src.get(), dst.get(), 0, 0, 0, 0, INT32_MAX, INT32_MAX);
    EXPECT_EQ(Pixels(dst.get()), Pixels(src.get()));
    IMGBlit(src.get(), dst.get(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
    IMGBlit(nullptr, dst.get(), 0, 0, 0, 0, 1, 1);
    EXPECT_EQ(Pixels(dst.get()), Pixels(src.get()));
}

TEST(IMGBlit, AddCarriesAndAddSaturateStopsPerChannel)
{
    ImgPtr src = MakeImg(2, 1, {0x0000FF, 0xFF80FF});
    ImgPtr add = MakeImg(2, 1, {0x000001, 0x018081});
    ImgPtr sat = MakeImg(2, 1, {0x000001, 0x018081});
    IMGBlitAdd(src.get(), add.get(), 0, 0, 0, 0, 2, 1);
    IMGBlitAddSaturate(src.get(), sat.get(), 0, 0, 0, 0, 2, 1);
    EXPECT_EQ(add->pixels[0], 0x000100u);
    EXPECT_EQ(add->pixels[1], 0x01010180u);
    EXPECT_EQ(sat->pixels[0], 0x0000FFu);
    EXPECT_EQ(sat->pixels[1], 0xFFFFFFu);
}

TEST(IMGBlit, FillRectRefusesWhatTheBlitsClip)
{
    ImgPtr src = MakeImg(4, 1, {1, 1, 1, 1});
    ImgPtr fill = MakeImg(4, 1);
    ImgPtr blit = MakeImg(4, 1);
    IMGFillRect(fill.get(), 2, 0, 3, 1, 1);
    IMGBlit(src.get(), blit.get(), 0, 0, 2, 0, 3, 1);
    EXPECT_EQ(Pixels(fill.get()), (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(Pixels(blit.get()), (std::vector<uint32_t>{0, 0, 1, 1}));
}

TEST(IMGBlitSpaced, StepsOfOneAreTheMaskedBlitAndWiderStepsSpreadOut)
{
    const ImgPtr src = Numbered(4, 4, 0x10);
    ImgPtr spaced = Numbered(6, 5, 0x7F0000);
    ImgPtr masked = Numbered(6, 5, 0x7F0000);
    IMGBlitSpaced(src.get(), spaced.get(), 1, 0, 2, 1, 3, 4, 1, 1);
    IMGBlitMasked(src.get(), masked.get(), 1, 0, 2, 1, 3, 4);
    EXPECT_EQ(Pixels(spaced.get()), Pixels(masked.get()));

    ImgPtr a = MakeImg(2, 2, {1, 2, 3, 4});
    ImgPtr grid = MakeImg(5, 4);
    IMGBlitSpaced(a.get(), grid.get(), 0, 0, 1, 0, 2, 2, 3, 2);
    EXPECT_EQ(Pixels(grid.get()), (std::vector<uint32_t>{0, 1, 0, 0, 2,  //
                                                         0, 0, 0, 0, 0,  //
                                                         0, 3, 0, 0, 4,  //
                                                         0, 0, 0, 0, 0}));
}

TEST(IMGBlitSpaced, NeverWritesOutsideEitherImage)
{
    const ImgPtr src = Numbered(5, 5, 0x20);
    for (int d = -9; d <= 9; ++d) {
        for (int step = 1; step <= 4; ++step) {
            ImgPtr dst = MakeImg(4, 3);
            IMGBlitSpaced(src.get(), dst.get(), d / 2, -d / 3, d, -d, 7, 7, step, 5 - step);
            // Every written pixel is the source pixel its position maps back to.
            for (int32_t v = 0; v < 3; ++v) {
                for (int32_t u = 0; u < 4; ++u) {
                    const uint32_t p = dst->pixels[u + 4 * v];
                    if (p == 0) {
                        continue;
                    }
                    const int i = (u - d) / step, j = (v + d) / (5 - step);
                    EXPECT_EQ((u - d) % step, 0);
                    EXPECT_EQ(p, IMGGetPixel(src.get(), d / 2 + i, -d / 3 + j));
                }
            }
        }
    }
    ImgPtr dst = MakeImg(4, 3);
    IMGBlitSpaced(src.get(), dst.get(), 0, 0, 0, 0, 4, 3, 0, 1);
    IMGBlitSpaced(src.get(), dst.get(), 0, 0, 0, 0, 4, 3, 1, -2);
    EXPECT_EQ(Pixels(dst.get()), std::vector<uint32_t>(12, 0));
}

TEST(IMGCopyRow, CopiesTheShorterWidthUnmasked)
{
    ImgPtr src = MakeImg(3, 2, {1, 0, 3, 4, 5, 6});
    ImgPtr dst = MakeImg(4, 2, {9, 9, 9, 9, 9, 9, 9, 9});
    IMGCopyRow(src.get(), dst.get(), 0, 1);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{9, 9, 9, 9, 1, 0, 3, 9}));
    IMGCopyRow(src.get(), dst.get(), 2, 0);
    IMGCopyRow(src.get(), dst.get(), 0, -1);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{9, 9, 9, 9, 1, 0, 3, 9}));
}

TEST(IMGCopyRowWrap, NegativeAndLargeOffsetsWrapAroundTheRow)
{
    ImgPtr src = MakeImg(4, 1, {1, 2, 3, 4});
    ImgPtr dst = MakeImg(4, 1);
    IMGCopyRowWrap(src.get(), dst.get(), 0, 0, -1);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{2, 3, 4, 1}));
    IMGCopyRowWrap(src.get(), dst.get(), 0, 0, 4 * 1000 + 2);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{3, 4, 1, 2}));
    IMGCopyRowWrap(src.get(), dst.get(), 0, 0, INT32_MIN);  // INT32_MIN mod 4 = 0
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{1, 2, 3, 4}));
}

TEST(IMGCopyRowWrap, IsMaskedAndTakesAtMostTheNarrowerWidth)
{
    ImgPtr src = MakeImg(5, 2, {1, 0, 3, 4, 5, 6, 7, 8, 9, 10});
    ImgPtr dst = MakeImg(3, 1, {20, 20, 20});
    IMGCopyRowWrap(src.get(), dst.get(), 0, 0, 2);  // columns 0..2 only
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{20, 3, 1}));
    ImgPtr wide = MakeImg(6, 1);
    IMGCopyRowWrap(src.get(), wide.get(), 1, 0, -3);
    EXPECT_EQ(Pixels(wide.get()), (std::vector<uint32_t>{9, 10, 0, 6, 7, 8}));
    IMGCopyRowWrap(src.get(), wide.get(), 2, 0, 0);
    IMGCopyRowWrap(src.get(), wide.get(), 0, 1, 0);
    EXPECT_EQ(Pixels(wide.get()), (std::vector<uint32_t>{9, 10, 0, 6, 7, 8}));
    ImgPtr empty = MakeImg(0, 1);
    IMGCopyRowWrap(src.get(), empty.get(), 0, 0, 5);
}

TEST(IMGOrRowWrap, OrsEveryTakenPixel)
{
    ImgPtr src = MakeImg(3, 1, {0x0F, 0, 0xF0});
    ImgPtr dst = MakeImg(3, 1, {0x100, 0x200, 0x300});
    IMGOrRowWrap(src.get(), dst.get(), 0, 0, -1);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{0x100, 0x2F0, 0x30F}));
}

TEST(IMGCopyColumnWrap, WrapsFromTheBottomToRowZero)
{
    ImgPtr src = MakeImg(2, 3, {1, 2, 3, 4, 5, 6});
    ImgPtr dst = MakeImg(2, 3, {9, 9, 9, 9, 9, 9});
    IMGCopyColumnWrap(src.get(), dst.get(), 1, 0, -1);
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{4, 9, 6, 9, 2, 9}));
    ImgPtr tall = MakeImg(1, 4, {0, 0, 0, 0});
    IMGCopyColumnWrap(src.get(), tall.get(), 0, 0, 2);
    EXPECT_EQ(Pixels(tall.get()), (std::vector<uint32_t>{5, 0, 1, 3}));
    IMGCopyColumnWrap(src.get(), tall.get(), 2, 0, 0);
    IMGCopyColumnWrap(src.get(), tall.get(), 0, 1, 0);
    EXPECT_EQ(Pixels(tall.get()), (std::vector<uint32_t>{5, 0, 1, 3}));
}

TEST(IMGFillSpan, ClipsToTheRowAsTheBlendDoesAndRefusesBadArguments)
{
    // The columns of row 1 that the span covers ('x'); every other pixel keeps its value.
    struct Case {
        int32_t y, first, last;
        const char *row;
    };
    const Case cases[] = {
        {1, -3, 1, "xx..."},                 // off the left
        {1, 3, 9, "...xx"},                  // off the right
        {1, -5, -1, "....."},                // wholly left
        {1, 5, 7, "....."},                  // wholly right
        {-1, 0, 4, "....."},                 // above
        {3, 0, 4, "....."},                  // below
        {1, 3, 2, "....."},                  // first > last
        {1, 2, 2, "..x.."},                  // one pixel
        {1, INT32_MIN, INT32_MAX, "xxxxx"},  // the whole row and beyond
    };
    constexpr uint32_t before = 0xFF000002u;
    for (const Case &c : cases) {
        ImgPtr filled = MakeImg(5, 3), blended = MakeImg(5, 3);
        std::fill(filled->pixels, filled->pixels + 15, before);
        std::fill(blended->pixels, blended->pixels + 15, before);
        IMGFillSpan(filled.get(), c.y, c.first, c.last, 0x123456u);
        IMGBlendSpan(blended.get(), c.y, c.first, c.last, 0x0000FEu, 128);
        for (int32_t i = 0; i < 15; ++i) {
            const bool covered = i / 5 == 1 && c.row[i % 5] == 'x';
            EXPECT_EQ(filled->pixels[i], covered ? 0x123456u : before) << c.y << " " << c.first << " " << c.last;
            EXPECT_EQ(blended->pixels[i], covered ? 0x000080u : before) << c.y << " " << c.first << " " << c.last;
        }
    }
    ImgPtr img = MakeImg(3, 1, {0x102030, 0x102030, 0x102030});
    IMGBlendSpan(img.get(), 0, 0, 0, 0x405060, 256);
    IMGBlendSpan(img.get(), 0, 1, 1, 0x405060, 0);
    IMGBlendSpan(img.get(), 0, 0, 2, 0x405060, 257);
    IMGBlendSpan(img.get(), 0, 0, 2, 0x405060, -1);
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{0x405060, 0x102030, 0x102030}));
    IMG negative{-3, 1, img->pixels}, noPixels{3, 1, nullptr};
    for (IMG *bad : {&negative, &noPixels, static_cast<IMG *>(nullptr)}) {
        IMGFillSpan(bad, 0, 0, 2, 1);
        IMGBlendSpan(bad, 0, 0, 2, 1, 128);
    }
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{0x405060, 0x102030, 0x102030}));
}

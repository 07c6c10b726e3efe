#include <gtest/gtest.h>

#include "../alloc_limit.h"
#include "gfx/img.h"
#include "gfx/sine.h"
#include "gfx/vec2d.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

VEC2D At(int32_t x, int32_t y, uint32_t colour = 0xFFFFFFu) { return VEC2D{x, y, colour}; }

IMG *Image(int32_t w, int32_t h)
{
    IMG *img = IMGNew();
    IMGResize(img, w, h);
    return img;
}

int32_t CountLit(const IMG *img)
{
    int32_t lit = 0;
    for (int32_t i = 0; i < img->width * img->height; ++i) {
        lit += img->pixels[i] != 0 ? 1 : 0;
    }
    return lit;
}

// What a call printed to standard output.
std::string Printed(const std::function<void()> &call)
{
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(VEC2DNew, StartsAtTheOriginInWhiteAndFreeNullsTheHandle)
{
    VEC2D *v = VEC2DNew();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->x, 0);
    EXPECT_EQ(v->y, 0);
    EXPECT_EQ(v->colour, 0xFFFFFFu);
    VEC2DFree(&v);
    EXPECT_EQ(v, nullptr);
    EXPECT_EQ(Printed([&] { VEC2DFree(&v); }), "VEC2D error\n");
    EXPECT_EQ(Printed([] { VEC2DFree(nullptr); }), "VEC2D error\n");
}

TEST(VEC2DError, EveryFailedCallPrintsOneLineAndChangesNothing)
{
    IMG *img = Image(4, 4);
    VEC2D v = At(1, 2, 0x123456u);
    const VEC2D before = v;
    VEC2D *result = &v;
    bool equal = true;
    const std::vector<std::function<void()>> failures = {
        [&] { result = VEC2DCopy(nullptr); },
        [&] {
            AllocationLimit none(0);
            result = VEC2DCopy(&v);
        },
        [&] {
            AllocationLimit none(0);
            result = VEC2DNew();
        },
        [&] { VEC2DCopyTo(nullptr, &v); },
        [&] { VEC2DCopyTo(&v, nullptr); },
        [&] { equal = VEC2DEqual(nullptr, &v); },
        [&] { equal = VEC2DEqual(&v, nullptr); },
        [&] { EXPECT_EQ(VEC2DToASCII(nullptr), nullptr); },
        [&] { EXPECT_EQ(VEC2DFromASCII(nullptr), nullptr); },
        [&] { VEC2DDraw(nullptr, img); },
        [&] { VEC2DDraw(&v, nullptr); },
        [&] { VEC2DAdd(nullptr, &v); },
        [&] { VEC2DAdd(&v, nullptr); },
        [&] { VEC2DScale(nullptr, 2); },
        [&] { VEC2DRotate(nullptr, 256); },
        [&] { VEC2DDrawTransformed(nullptr, 0, &v, img); },
        [&] { VEC2DDrawTransformed(&v, 0, nullptr, img); },
        [&] { VEC2DDrawTransformed(&v, 0, &v, nullptr); },
    };
    for (size_t i = 0; i < failures.size(); ++i) {
        EXPECT_EQ(Printed(failures[i]), "VEC2D error\n") << "call " << i;
    }
    EXPECT_EQ(result, nullptr);
    EXPECT_FALSE(equal);
    EXPECT_TRUE(VEC2DEqual(&v, &before));
    EXPECT_EQ(CountLit(img), 0);
    IMGFree(&img);
}

TEST(VEC2DToASCII, HasNoTextFormAndReportsNothingForValidArguments)
{
    VEC2D v = At(3, 4);
    EXPECT_EQ(Printed([&] { EXPECT_EQ(VEC2DToASCII(&v), nullptr); }), "");
    EXPECT_EQ(Printed([] { EXPECT_EQ(VEC2DFromASCII("VEC2D{1 2}"), nullptr); }), "");
}

TEST(VEC2DCopy, CopiesAreEqualAndIndependent)
{
    VEC2D v = At(-5, 7, 0x00FF00u);
    VEC2D *copy = VEC2DCopy(&v);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(VEC2DEqual(&v, copy));
    copy->x = 6;
    EXPECT_EQ(v.x, -5);
    EXPECT_FALSE(VEC2DEqual(&v, copy));

    VEC2D target = At(0, 0);
    VEC2DCopyTo(&v, &target);
    EXPECT_TRUE(VEC2DEqual(&v, &target));
    target.colour = 0x00FF01u;
    EXPECT_FALSE(VEC2DEqual(&v, &target));
    VEC2DFree(&copy);
}

TEST(VEC2DAdd, MovesThePointAndKeepsItsColour)
{
    VEC2D delta = At(3, -4, 0x0000FFu);
    VEC2D v = At(10, 10, 0xFF0000u);
    VEC2DAdd(&delta, &v);
    EXPECT_EQ(v.x, 13);
    EXPECT_EQ(v.y, 6);
    EXPECT_EQ(v.colour, 0xFF0000u);
}

TEST(VEC2DScale, MultipliesBothCoordinatesAndWrapsInsteadOfOverflowing)
{
    VEC2D v = At(7, -3);
    VEC2DScale(&v, -2);
    EXPECT_EQ(v.x, -14);
    EXPECT_EQ(v.y, 6);
    VEC2D big = At(INT32_MAX, INT32_MIN);
    VEC2DScale(&big, 2);
    EXPECT_EQ(big.x, -2);
    EXPECT_EQ(big.y, 0);
    VEC2D far = At(INT32_MAX, 0);
    VEC2D one = At(1, 0);
    VEC2DAdd(&one, &far);
    EXPECT_EQ(far.x, INT32_MIN);
}

TEST(VEC2DRotate, QuarterTurnsOfAPointOnTheXAxis)
{
    const struct {
        int32_t angle, x, y;
    } cases[] = {
        {0, 99, 0}, {256, 0, 99}, {512, -100, 0}, {768, 0, -100}, {1024, 99, 0}, {-256, 0, -100}, {-768, 0, 99},
    };
    for (const auto &c : cases) {
        VEC2D v = At(100, 0, 0x101010u);
        VEC2DRotate(&v, c.angle);
        EXPECT_EQ(v.x, c.x) << "angle " << c.angle;
        EXPECT_EQ(v.y, c.y) << "angle " << c.angle;
        EXPECT_EQ(v.colour, 0x101010u);
    }
}

TEST(VEC2DRotate, ByZeroRoundsTowardsMinusInfinity)
{
    const struct {
        int32_t in, out;
    } cases[] = {{100, 99}, {1, 0},       {16384, 16383},   {16385, 16383},
                 {0, 0},    {-100, -100}, {-16383, -16383}, {-16384, -16383}};
    for (const auto &c : cases) {
        VEC2D v = At(c.in, c.in);
        VEC2DRotate(&v, 0);
        EXPECT_EQ(v.x, c.out) << c.in;
        EXPECT_EQ(v.y, c.out) << c.in;
    }
}

// Against the rotation worked out in doubles from the table values, which is
// exact at these magnitudes, down to the extremes of the supported range.
TEST(VEC2DRotate, AgreesWithTheRotationFormulaOverTheWholeRange)
{
    const int32_t coordinates[] = {-32767, -20000, -301, -1, 0, 1, 77, 12345, 32767};
    const int32_t angles[] = {0, 1, 100, 255, 256, 333, 511, 700, 1000, 1023, -1, -5000};
    for (int32_t angle : angles) {
        const double s = sineTable.entries[angle & 1023];
        const double c = sineTable.entries[(angle + 256) & 1023];
        for (int32_t x : coordinates) {
            for (int32_t y : coordinates) {
                VEC2D v = At(x, y);
                VEC2DRotate(&v, angle);
                const double ex = std::floor((x * c - y * s) / 32768.0);
                const double ey = std::floor((x * s + y * c) / 32768.0);
                ASSERT_EQ(v.x, static_cast<int32_t>(ex)) << x << "," << y << " by " << angle;
                ASSERT_EQ(v.y, static_cast<int32_t>(ey)) << x << "," << y << " by " << angle;
            }
        }
    }
}

TEST(VEC2DDraw, SetsOnePixelInTheVectorsColourAndClips)
{
    IMG *img = Image(8, 8);
    VEC2D v = At(2, 5, 0xABCDEFu);
    VEC2DDraw(&v, img);
    EXPECT_EQ(IMGGetPixel(img, 2, 5), 0xABCDEFu);
    EXPECT_EQ(CountLit(img), 1);
    VEC2D outside[] = {At(-1, 0), At(8, 0), At(0, 8), At(0, -1)};
    for (const VEC2D &o : outside) {
        EXPECT_EQ(Printed([&] { VEC2DDraw(&o, img); }), "");
    }
    EXPECT_EQ(CountLit(img), 1);
    IMGFree(&img);
}

TEST(VEC2DDrawTransformed, RotatesThenMovesAndLeavesTheVectorAlone)
{
    IMG *img = Image(64, 64);
    VEC2D v = At(10, 0, 0x00FFFFu);
    const VEC2D model = v;
    VEC2D offset = At(20, 30, 0);
    // A quarter turn takes (10, 0) to (0, 9), then the offset to (20, 39).
    VEC2DDrawTransformed(&v, 256, &offset, img);
    EXPECT_EQ(IMGGetPixel(img, 20, 39), 0x00FFFFu);
    EXPECT_EQ(CountLit(img), 1);
    EXPECT_TRUE(VEC2DEqual(&v, &model));

    // Drawing the same frame again from the model does not drift.
    for (int i = 0; i < 10; ++i) {
        VEC2DDrawTransformed(&v, 256, &offset, img);
    }
    EXPECT_EQ(CountLit(img), 1);

    VEC2D away = At(1000, 0, 0xFFFFFFu);
    VEC2DDrawTransformed(&away, 512, &offset, img);
    EXPECT_EQ(CountLit(img), 1);
    IMGFree(&img);
}

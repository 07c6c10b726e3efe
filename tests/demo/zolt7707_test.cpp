#include "demo/zolt7707.h"

#include <gtest/gtest.h>

#include "demo_helpers.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "platform/fps.h"

TEST(ZOLT7707Init, MakesTheBlackScreenSeedsTheGeneratorAndTimesOnThePlatform)
{
    RANDOMSeed(1);
    ZOLT7707Init(TestPlatform());
    ASSERT_NE(screenImage, nullptr);
    ASSERT_NE(screenImage->pixels, nullptr);
    EXPECT_EQ(screenImage->width, 256);
    EXPECT_EQ(screenImage->height, 256);
    int lit = 0;
    for (int32_t i = 0; i < screenImage->width * screenImage->height; ++i) {
        lit += screenImage->pixels[i] != 0 ? 1 : 0;
    }
    EXPECT_EQ(lit, 0);
    EXPECT_EQ(RANDOMState(), randomSeed);
    // The frame timer reads the platform's clock.
    virtualNow = 0;
    FPSTick();
    EXPECT_EQ(virtualNow, 40000u);
}

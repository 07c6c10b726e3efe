#include "demo/zolt7707.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include "gfx/img.h"
#include "gfx/random.h"
#include "platform/sdldpy.h"

TEST(ZOLT7707Init, OpensTheScreenAndSeedsTheGenerator)
{
    RANDOMSeed(1);
    ZOLT7707Init();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display, SDLDPYCurrent());
    EXPECT_EQ(display->width, screenWidth);
    EXPECT_EQ(display->height, screenHeight);
    ASSERT_NE(SDL_GetVideoSurface(), nullptr);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 256);
    EXPECT_EQ(SDL_GetVideoSurface()->h, 256);

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
}

#include "platform/sdldpy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display_helpers.h"
#include "gfx/img.h"

namespace {

// An image record over a vector the test owns, so these tests need no IMG code.
struct TestImage {
    TestImage(int32_t w, int32_t h, uint32_t colour) : buffer(static_cast<size_t>(w) * h, colour)
    {
        image = IMG{w, h, buffer.data()};
    }
    // A colour that differs at every pixel of a 512 x 512 area.
    static uint32_t Pattern(int32_t x, int32_t y)
    {
        return (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) |
               static_cast<uint32_t>(((x >> 8) << 4) | ((y >> 8) << 5) | 0x0F);
    }
    void FillPattern()
    {
        for (int32_t y = 0; y < image.height; ++y) {
            for (int32_t x = 0; x < image.width; ++x) {
                buffer[static_cast<size_t>(x + y * image.width)] = Pattern(x, y);
            }
        }
    }
    std::vector<uint32_t> buffer;
    IMG image{};
};

// Counts the screen pixels of the area that differ from the expected colour,
// printing the first mismatch.
template <typename Expected>
int Mismatches(int x0, int y0, int x1, int y1, Expected expected)
{
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const uint32_t want = expected(x, y);
            const uint32_t got = ScreenPixel(x, y);
            if (got != want && count++ == 0) {
                ADD_FAILURE() << "screen (" << x << ", " << y << ") is " << std::hex << got << ", want " << want;
            }
        }
    }
    return count;
}

void ShowBackground(SDLDPY *display, uint32_t colour)
{
    TestImage background(256, 256, colour);
    SDLDPYShow(display, &background.image);
}

// Whether the direct operations can use the open 256 x 256 screen.
bool ScreenLikeImages()
{
    const SDL_PixelFormat *format = SDL_GetVideoSurface()->format;
    return format->BitsPerPixel == 32 && format->Rmask == 0xFF0000u && format->Gmask == 0xFF00u &&
           format->Bmask == 0xFFu && SDL_GetVideoSurface()->pitch == 256 * 4;
}

using Show = void (*)(SDLDPY *, const IMG *);

}  // namespace

TEST(SDLDPYNew, OpensOneCaptioned256x256Display)
{
    SDLDPY *display = OpenDisplay();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->width, 256);
    EXPECT_EQ(display->height, 256);
    SDL_Surface *screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 256);
    EXPECT_EQ(screen->h, 256);
    EXPECT_EQ(display->depth, screen->format->BitsPerPixel);
    char *title = nullptr;
    char *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(icon, nullptr);
    EXPECT_STREQ(title, "ZOLT7707");
    EXPECT_STREQ(icon, "ZOLT7707");
    // A second display is never made: the existing one comes back.
    EXPECT_EQ(SDLDPYNew(), display);
    EXPECT_EQ(SDLDPYCurrent(), display);
}

TEST(SDLDPYProtocol, OnlyTheOneDisplayIsAcceptedAndNeverDuplicated)
{
    SDLDPY *display = OpenDisplay();
    SDLDPY stranger{256, 256, 32};

    char *text = SDLDPYToASCII(display);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    delete[] text;
    EXPECT_EQ(SDLDPYToASCII(nullptr), nullptr);
    EXPECT_EQ(SDLDPYToASCII(&stranger), nullptr);

    EXPECT_TRUE(SDLDPYEqual(display, display));
    EXPECT_FALSE(SDLDPYEqual(display, &stranger));
    EXPECT_FALSE(SDLDPYEqual(&stranger, &stranger));
    EXPECT_FALSE(SDLDPYEqual(display, nullptr));
    EXPECT_FALSE(SDLDPYEqual(nullptr, nullptr));

    EXPECT_EQ(SDLDPYCopy(display), display);
    EXPECT_EQ(SDLDPYCopy(&stranger), nullptr);
    EXPECT_EQ(SDLDPYCopy(nullptr), nullptr);

    EXPECT_EQ(SDLDPYFromASCII(""), nullptr);
    EXPECT_EQ(SDLDPYFromASCII(nullptr), nullptr);
    EXPECT_EQ(SDLDPYCurrent(), display);
}

TEST(SDLDPYFree, ReleasesOnlyTheDisplayAndAllowsAFreshOne)
{
    SDLDPY *display = OpenDisplay();
    SDLDPYFree(nullptr);
    SDLDPY stranger{1, 2, 3};
    SDLDPY *strangerHandle = &stranger;
    SDLDPYFree(&strangerHandle);
    EXPECT_EQ(strangerHandle, &stranger);
    EXPECT_EQ(SDLDPYCurrent(), display);

    SDLDPYFree(&display);
    EXPECT_EQ(display, nullptr);
    EXPECT_EQ(SDLDPYCurrent(), nullptr);
    SDLDPYFree(&display);  // already null: only a report

    display = SDLDPYNew();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->width, 256);
    EXPECT_EQ(display->height, 256);
}

TEST(SDLDPYSetMode, ReopensTheModeAndRefusesNegativeSizes)
{
    SDLDPY *display = OpenDisplay();
    EXPECT_TRUE(SDLDPYHasScreen(display));
    // A mode SDL cannot set (its pitch would overflow) leaves the size but no
    // screen to show on.
    SDLDPYSetMode(display, 1 << 30, 1);
    EXPECT_EQ(display->width, 256);
    EXPECT_FALSE(SDLDPYHasScreen(display));
    SDLDPYSetMode(display, 128, 64);
    EXPECT_TRUE(SDLDPYHasScreen(display));
    EXPECT_EQ(display->width, 128);
    EXPECT_EQ(display->height, 64);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 128);
    EXPECT_EQ(SDL_GetVideoSurface()->h, 64);

    SDLDPYSetMode(display, -1, 256);
    SDLDPYSetMode(display, 256, -1);
    SDLDPY stranger{};
    SDLDPYSetMode(&stranger, 256, 256);
    SDLDPYSetMode(nullptr, 256, 256);
    EXPECT_EQ(display->width, 128);
    EXPECT_EQ(display->height, 64);
    EXPECT_EQ(stranger.width, 0);
    SDLDPYSetMode(display, 0, 0);  // not negative: asked of SDL, and recorded as asked
    EXPECT_EQ(display->width, 0);
    EXPECT_EQ(display->height, 0);

    SDLDPYSetMode(display, 256, 256);
    EXPECT_EQ(display->width, 256);
    EXPECT_EQ(display->height, 256);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 256);
}

TEST(SDLDPYShow, ShowsAFullSizeImagePixelForPixel)
{
    SDLDPY *display = OpenDisplay();
    TestImage picture(256, 256, 0);
    picture.FillPattern();
    // The top byte is not part of the colour (image inversion sets it).
    picture.buffer[0] = 0xFF123456u;
    SDLDPYShow(display, &picture.image);
    EXPECT_EQ(ScreenPixel(0, 0), 0x123456u);
    EXPECT_EQ(Mismatches(1, 0, 256, 1, TestImage::Pattern), 0);
    EXPECT_EQ(Mismatches(0, 1, 256, 256, TestImage::Pattern), 0);
}

TEST(SDLDPYShow, SmallerImageCoversOnlyTheTopLeft)
{
    SDLDPY *display = OpenDisplay();
    ShowBackground(display, 0x336699);
    TestImage picture(100, 50, 0);
    picture.FillPattern();
    SDLDPYShow(display, &picture.image);
    EXPECT_EQ(Mismatches(0, 0, 100, 50, TestImage::Pattern), 0);
    const auto background = [](int, int) { return 0x336699u; };
    EXPECT_EQ(Mismatches(100, 0, 256, 256, background), 0);
    EXPECT_EQ(Mismatches(0, 50, 100, 256, background), 0);
    TestImage dot(1, 1, 0xABCDEFu);  // one pixel wide and high is an image too
    SDLDPYShow(display, &dot.image);
    EXPECT_EQ(ScreenPixel(0, 0), 0xABCDEFu);
}

TEST(SDLDPYShow, LargerImageIsCroppedAtItsOwnRowLength)
{
    SDLDPY *display = OpenDisplay();
    TestImage picture(300, 280, 0);
    picture.FillPattern();
    SDLDPYShow(display, &picture.image);
    EXPECT_EQ(Mismatches(0, 0, 256, 256, TestImage::Pattern), 0);

    // Wider only and taller only: both still read rows at the image's length.
    TestImage wide(257, 10, 0);
    wide.FillPattern();
    SDLDPYShow(display, &wide.image);
    EXPECT_EQ(Mismatches(0, 0, 256, 10, TestImage::Pattern), 0);
    TestImage tall(10, 300, 0);
    tall.FillPattern();
    SDLDPYShow(display, &tall.image);
    EXPECT_EQ(Mismatches(0, 0, 10, 256, TestImage::Pattern), 0);
}

TEST(SDLDPYShow, BadArgumentsShowNothing)
{
    SDLDPY *display = OpenDisplay();
    ShowBackground(display, 0x445566);
    TestImage picture(256, 256, 0xFFFFFF);
    IMG noPixels{256, 256, nullptr};
    IMG empty{0, 0, picture.buffer.data()};
    IMG negative{-4, 256, picture.buffer.data()};
    SDLDPY stranger{256, 256, 32};
    SDLDPYShow(display, &noPixels);
    SDLDPYShow(display, &empty);
    SDLDPYShow(display, &negative);
    SDLDPYShow(display, nullptr);
    SDLDPYShow(&stranger, &picture.image);
    SDLDPYShow(nullptr, &picture.image);
    EXPECT_EQ(Mismatches(0, 0, 256, 256, [](int, int) { return 0x445566u; }), 0);
}

TEST(SDLDPYShow, PresentsEachPictureShownAndNothingElse)
{
    SDLDPY *display = OpenDisplay();
    if (PresentedFrames([] { SDL_UpdateRect(SDL_GetVideoSurface(), 0, 0, 0, 0); }) != 1) {
        GTEST_SKIP() << "SDL's dummy video driver does not write the frames it presents";
    }
    TestImage picture(256, 256, 0);
    IMG noPixels{256, 256, nullptr};
    for (const Show show : {SDLDPYShow, SDLDPYShowDirect, SDLDPYShowCopy}) {
        picture.buffer[0] += 0x010101;  // every show changes the screen
        const bool shows = show == SDLDPYShow || ScreenLikeImages();
        EXPECT_EQ(PresentedFrames([&] { show(display, &picture.image); }), shows ? 1 : 0);
        EXPECT_EQ(PresentedFrames([&] { show(display, &noPixels); }), 0);
    }
}

TEST(SDLDPYShowDirect, CopiesOnlyOntoAScreenLaidOutLikeTheImage)
{
    SDLDPY *display = OpenDisplay();
    const bool matching = ScreenLikeImages();
    TestImage picture(256, 256, 0);
    picture.FillPattern();
    for (const Show show : {SDLDPYShowDirect, SDLDPYShowCopy}) {
        ShowBackground(display, 0x010203);
        TestImage smaller(255, 256, 0xFFFFFF);
        IMG noPixels{256, 256, nullptr};
        show(display, &smaller.image);
        show(display, &noPixels);
        show(nullptr, &picture.image);
        EXPECT_EQ(Mismatches(0, 0, 256, 256, [](int, int) { return 0x010203u; }), 0);

        show(display, &picture.image);
        if (matching) {
            EXPECT_EQ(Mismatches(0, 0, 256, 256, TestImage::Pattern), 0);
        } else {
            EXPECT_EQ(Mismatches(0, 0, 256, 256, [](int, int) { return 0x010203u; }), 0);
        }
    }
}

TEST(SDLDPYShowDirect, RefusesAScreenOfAnotherSize)
{
    SDLDPY *display = OpenDisplay();
    SDLDPYSetMode(display, 128, 128);
    TestImage picture(256, 256, 0xFFFFFF);
    TestImage background(128, 128, 0x203040);
    SDLDPYShow(display, &background.image);
    SDLDPYShowDirect(display, &picture.image);
    SDLDPYShowCopy(display, &picture.image);
    EXPECT_EQ(Mismatches(0, 0, 128, 128, [](int, int) { return 0x203040u; }), 0);
    SDLDPYSetMode(display, 256, 256);
}

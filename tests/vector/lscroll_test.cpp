#include <gtest/gtest.h>

#include "core/list.h"
#include "gfx/img.h"
#include "gfx/seg2d.h"
#include "vector/lfont.h"
#include "vector/lscroll.h"
#include "vector/obj2d.h"

#include <string>

namespace {

constexpr const char *text = "ABCDE";

// Glyphs for codes 0 .. 127, each a single dot at its origin in the colour
// 0x100 + code, so a target row read back shows which code sits at each origin.
LIST *DotGlyphs()
{
    LIST *glyphs = LISTNew();
    for (int32_t n = 0; n < 128; ++n) {
        OBJ2D *glyph = OBJ2DNew();
        SEG2D *dot = SEG2DNew();
        dot->start->x = dot->start->y = dot->end->x = dot->end->y = 0;
        dot->start->colour = 0x100u + static_cast<uint32_t>(n);
        OBJ2DAddSegment(glyph, dot);
        LISTAppend(glyphs, glyph);
    }
    return glyphs;
}

// An object-font scroller over text, 16-unit cells at scale 1, on a 1200 x 1
// target showing a 256-pixel run.
struct Scene {
    LIST *glyphs = DotGlyphs();
    LFONT *font = LFONTNew();
    IMG *target = IMGNew();
    LSCROLL *scroll = LSCROLLNew();
    Scene()
    {
        font->glyphs = glyphs;
        font->cellWidth = 16;
        font->cellHeight = 16;
        font->scale = 1;
        IMGResize(target, 1200, 1);
        LSCROLLSet(scroll, text, font, target);
        scroll->width = 256;
    }
    ~Scene()
    {
        LSCROLLFree(&scroll);
        LFONTFree(&font);
        LISTFree(&glyphs);
        IMGFree(&target);
    }
    // The characters at x0, x0 + step, ...; '.' where no glyph origin landed.
    std::string Shown(int32_t x0, int32_t step, int32_t count)
    {
        IMGClear(target);
        LSCROLLDraw(scroll);
        std::string s;
        for (int32_t k = 0; k < count; ++k) {
            const uint32_t p = IMGGetPixel(target, x0 + k * step, 0);
            s += p == 0 ? '.' : static_cast<char>(p - 0x100);
        }
        return s;
    }
};

}  // namespace

TEST(LSCROLLNew, DefaultsFreeAndSetChecks)
{
    LSCROLL *scroll = LSCROLLNew();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->speed, 1);
    EXPECT_EQ(scroll->text, nullptr);
    EXPECT_STREQ(static_cast<const char *>(scroll->cursor->data), LSCROLLIdentity[5]);
    LSCROLLDraw(scroll);
    LSCROLLAdvance(scroll);
    EXPECT_EQ(scroll->offset, 0);
    LSCROLLSet(scroll, text, nullptr, nullptr);
    EXPECT_EQ(scroll->text, nullptr);
    LSCROLLFree(&scroll);
    EXPECT_EQ(scroll, nullptr);
    LSCROLLFree(&scroll);
    LSCROLLFree(nullptr);
}

TEST(LSCROLLDraw, GlyphsOnePitchApartWrappingToTheFirst)
{
    Scene scene;
    scene.scroll->x = 10;
    scene.scroll->offset = 6;
    scene.scroll->cursor->pos = 3;
    // 256 div 16 + 2 = 18 glyphs from x 4 on, the text repeating without a gap.
    EXPECT_EQ(scene.Shown(4, 16, 19), "DEABCDEABCDEABCDEA.");
    EXPECT_EQ(scene.scroll->cursor->pos, 3);
    EXPECT_EQ(scene.font->target, scene.target);
}

TEST(LSCROLLDraw, PitchFollowsTheFontScale)
{
    Scene scene;
    scene.font->scale = 8;
    // Pitch 128: 256 div 128 + 2 = 4 glyphs.
    EXPECT_EQ(scene.Shown(0, 128, 5), "ABCD.");
    EXPECT_EQ(scene.font->x, 4 * 128);

    // The same scroller at once takes whole characters of the new pitch.
    scene.scroll->speed = 32;
    for (int i = 0; i < 4; ++i) {
        LSCROLLAdvance(scene.scroll);
    }
    EXPECT_EQ(scene.scroll->cursor->pos, 1);
    EXPECT_EQ(scene.scroll->offset, 0);
    for (int i = 0; i < 3; ++i) {
        LSCROLLAdvance(scene.scroll);
    }
    EXPECT_EQ(scene.scroll->offset, 96);
    scene.font->scale = 2;  // pitch 32: the 96 pixels are three characters
    scene.scroll->speed = 0;
    LSCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->cursor->pos, 4);
    EXPECT_EQ(scene.scroll->offset, 0);
}

TEST(LSCROLLAdvance, NegativeSpeedsAndTheExactNegativeMultiple)
{
    Scene scene;
    scene.scroll->speed = -4;
    LSCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->cursor->pos, 4);
    EXPECT_EQ(scene.scroll->offset, 12);

    scene.scroll->speed = -28;  // 12 - 28 = -16: exactly one pitch back
    LSCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->cursor->pos, 2);
    EXPECT_EQ(scene.scroll->offset, 16);
    // The picture of the next character at offset 0.
    EXPECT_EQ(scene.Shown(0, 16, 5), "DEABC");
}

TEST(LSCROLLAdvance, ZeroScaleIsRefused)
{
    Scene scene;
    scene.font->scale = 0;
    scene.scroll->speed = 20;
    LSCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->offset, 0);
    EXPECT_EQ(scene.scroll->cursor->pos, 0);
    scene.font->x = 77;
    LSCROLLDraw(scene.scroll);
    EXPECT_EQ(scene.font->x, 77);
    scene.font->scale = 1;
    scene.font->cellWidth = 0;  // a pitch of 0 too
    LSCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->offset, 0);
}

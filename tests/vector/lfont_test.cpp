#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gfx/img.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"

namespace {

// The colour that marks a character's glyph in the test font: every printable
// glyph is one dot at its origin, so each drawn character leaves one pixel.
uint32_t Mark(int32_t code) { return 0x010000u * static_cast<uint32_t>(code); }

// A 256-glyph font in the wire font's shape: codes 1-32 and 128-255 empty,
// 33-127 one dot each, plus one line for "L" (0,0)-(15,0) and a white dot for 0.
LIST *TestGlyphs()
{
    std::string text;
    for (int32_t code = 0; code < 256; code++) {
        if (code == 0) {
            text += "{ color $ffffff s 0,0,0,0 }\n";
        } else if (code <= 32 || code >= 128) {
            text += "{ }\n";
        } else if (code == 'L') {
            text += "{ color $ffffff s 0,0,15,0 }\n";
        } else {
            char colour[16];
            std::snprintf(colour, sizeof colour, "%06x", Mark(code));
            text += "{ color $" + std::string(colour) + " s 0,0,0,0 }\n";
        }
    }
    return OBJ2DParse(text.c_str());
}

// A font over the test glyphs drawing into a 512 x 64 image.
struct Pen {
    Pen()
    {
        glyphs = TestGlyphs();
        target = IMGNew();
        IMGResize(target, 512, 64);
        font = LFONTNew();
        font->cellWidth = 16;
        font->cellHeight = 16;
        font->scale = 1;
        font->glyphs = glyphs;
        font->target = target;
    }
    ~Pen()
    {
        if (font != nullptr) {
            LFONTFree(&font);
        }
        LISTFree(&glyphs);
        IMGFree(&target);
    }
    Pen(const Pen &) = delete;
    Pen &operator=(const Pen &) = delete;

    int32_t Lit() const
    {
        int32_t lit = 0;
        for (int32_t i = 0; i < target->width * target->height; i++) {
            lit += target->pixels[i] != 0 ? 1 : 0;
        }
        return lit;
    }

    LIST *glyphs;
    IMG *target;
    LFONT *font;
};

}  // namespace

TEST(LFONTNew, DefaultsAndFree)
{
    LFONT *font = LFONTNew();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->cellWidth, 6);
    EXPECT_EQ(font->cellHeight, 6);
    EXPECT_EQ(font->scale, 0);
    EXPECT_EQ(font->glyphs, nullptr);
    EXPECT_EQ(font->target, nullptr);
    LFONTFree(&font);
    EXPECT_EQ(font, nullptr);
    LFONTFree(&font);
    LFONTFree(nullptr);
}

TEST(LFONTFree, ReleasesGlyphsOnceAndLeavesTheListReleasable)
{
    LIST *glyphs = TestGlyphs();
    // The same glyph listed twice must be released once.
    LISTAppend(glyphs, glyphs->items[65]);
    LFONT *font = LFONTNew();
    font->glyphs = glyphs;
    LFONTFree(&font);
    ASSERT_EQ(glyphs->count, 257);
    for (int32_t i = 0; i < glyphs->count; i++) {
        EXPECT_EQ(glyphs->items[i], nullptr);
    }
    LISTFree(&glyphs);
}

TEST(LFONTPutChar, DrawsGlyphAtThePenAndAdvances)
{
    Pen pen;
    pen.font->x = 10;
    pen.font->y = 20;
    pen.font->code = 'L';
    OBJ2D *glyph = static_cast<OBJ2D *>(pen.glyphs->items['L']);
    glyph->angle = 512;
    EXPECT_EQ(LFONTPutChar(pen.font), 26);
    EXPECT_EQ(pen.font->x, 26);
    // The glyph took the pen's placement.
    EXPECT_EQ(glyph->angle, 0);
    EXPECT_EQ(glyph->x, 10);
    EXPECT_EQ(glyph->y, 20);
    EXPECT_EQ(glyph->scale, 1);
    // (15, 0) is 14 after the rotation by 0.
    for (int32_t x = 10; x <= 24; x++) {
        EXPECT_EQ(IMGGetPixel(pen.target, x, 20), 0xffffffu) << x;
    }
    EXPECT_EQ(pen.Lit(), 15);
    pen.font->code = 0;  // the first glyph is drawn like any other
    LFONTPutChar(pen.font);
    EXPECT_EQ(IMGGetPixel(pen.target, 26, 20), 0xffffffu);
}

TEST(LFONTPutChar, ScaleEightCellSixteenAdvancesThreeCharsBy384)
{
    Pen pen;
    pen.font->scale = 8;
    for (int32_t code : {'A', 'B', 'C'}) {
        pen.font->code = code;
        LFONTPutChar(pen.font);
    }
    EXPECT_EQ(pen.font->x, 384);
}

TEST(LFONTPutChar, ScaleZeroDrawsPointsAndStays)
{
    Pen pen;
    pen.font->scale = 0;
    pen.font->x = 40;
    pen.font->y = 8;
    pen.font->code = 'L';
    EXPECT_EQ(LFONTPutChar(pen.font), 40);
    EXPECT_EQ(IMGGetPixel(pen.target, 40, 8), 0xffffffu);
    EXPECT_EQ(pen.Lit(), 1);
}

TEST(LFONTPutChar, EmptyMissingAndOutOfRangeCodesOnlyAdvance)
{
    Pen pen;
    OBJ2D *removed = static_cast<OBJ2D *>(pen.glyphs->items[67]);
    LISTSet(pen.glyphs, nullptr, 67);
    OBJ2DFree(&removed);
    for (int32_t code : {32, 128, 200, 255, 67, 256, 1000, -1, -128}) {
        pen.font->code = code;
        LFONTPutChar(pen.font);
    }
    EXPECT_EQ(pen.font->x, 9 * 16);
    EXPECT_EQ(pen.Lit(), 0);
}

TEST(LFONTPutChar, MissingTargetStillAdvancesMissingFontDoesNot)
{
    Pen pen;
    pen.font->target = nullptr;
    pen.font->code = 'A';
    EXPECT_EQ(LFONTPutChar(pen.font), 16);

    EXPECT_EQ(LFONTPutChar(nullptr), 0);
    pen.font->glyphs = nullptr;
    EXPECT_EQ(LFONTPutChar(pen.font), 0);
    EXPECT_EQ(pen.font->x, 16);
    pen.font->glyphs = pen.glyphs;
}

TEST(LFONTPutHex, DigitsHighFirstUpperCase)
{
    Pen pen;
    LFONTPutHex8(pen.font, 60);
    EXPECT_EQ(pen.font->x, 32);
    EXPECT_EQ(IMGGetPixel(pen.target, 0, 0), Mark('3'));
    EXPECT_EQ(IMGGetPixel(pen.target, 16, 0), Mark('C'));

    pen.font->x = 0;
    pen.font->y = 16;
    LFONTPutHex32(pen.font, 0x9abcdef0u);
    EXPECT_EQ(pen.font->x, 128);
    const char *digits = "9ABCDEF0";
    for (int32_t i = 0; i < 8; i++) {
        EXPECT_EQ(IMGGetPixel(pen.target, 16 * i, 16), Mark(digits[i])) << i;
    }

    pen.font->x = 0;
    pen.font->y = 32;
    LFONTPutHex16(pen.font, 0x12345678u);
    EXPECT_EQ(pen.font->x, 64);
    EXPECT_EQ(IMGGetPixel(pen.target, 0, 32), Mark('5'));
    EXPECT_EQ(IMGGetPixel(pen.target, 48, 32), Mark('8'));
}

TEST(LFONTPutLine, StopsAtTheFirstLineEnd)
{
    Pen pen;
    LFONTPutLine(pen.font, "AB\nCD");
    EXPECT_EQ(pen.font->x, 32);
    EXPECT_EQ(pen.font->code, 'B');
    EXPECT_EQ(pen.Lit(), 2);
    LFONTPutLine(pen.font, nullptr);
    EXPECT_EQ(pen.font->x, 32);
    const char unended[] = "CD";  // no line end: the text's end stops it
    LFONTPutLine(pen.font, unended);
    EXPECT_EQ(pen.font->x, 64);
}

TEST(LFONTPutText, LineEndsReturnToStartOneUnscaledCellLower)
{
    Pen pen;
    pen.font->scale = 2;
    pen.font->x = 8;
    pen.font->y = 4;
    LFONTPutText(pen.font, "AB\nC");
    EXPECT_EQ(pen.font->x, 8 + 32);
    EXPECT_EQ(pen.font->y, 4 + 16);  // not 32: lines of an enlarged text overlap
    EXPECT_EQ(IMGGetPixel(pen.target, 8, 4), Mark('A'));
    EXPECT_EQ(IMGGetPixel(pen.target, 8 + 32, 4), Mark('B'));
    EXPECT_EQ(IMGGetPixel(pen.target, 8, 20), Mark('C'));
    EXPECT_EQ(pen.Lit(), 3);
}

TEST(LFONTPutText, HighBytesAreUnsignedCodes)
{
    Pen pen;
    LFONTPutText(pen.font,
                 "\xC3\xA9"
                 "A");
    EXPECT_EQ(pen.font->x, 48);
    EXPECT_EQ(pen.font->code, 'A');
    EXPECT_EQ(pen.Lit(), 1);
}

TEST(LFONTPutText, MissingTargetOrTextDrawsNothingAndKeepsThePen)
{
    Pen pen;
    pen.font->target = nullptr;
    LFONTPutText(pen.font, "AB");
    EXPECT_EQ(pen.font->x, 0);
    pen.font->target = pen.target;
    LFONTPutText(pen.font, nullptr);
    LFONTPutText(nullptr, "AB");
    EXPECT_EQ(pen.font->x, 0);
    EXPECT_EQ(pen.Lit(), 0);
}

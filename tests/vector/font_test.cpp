#include <gtest/gtest.h>

#include "gfx/img.h"
#include "vector/font.h"

#include <climits>
#include <string>

namespace {

IMG *Image(int32_t w, int32_t h, uint32_t fill = 0)
{
    IMG *img = IMGNew();
    IMGResize(img, w, h);
    for (int32_t i = 0; i < w * h; ++i) {
        img->pixels[i] = fill;
    }
    return img;
}

// A sheet of 1 x 1 cells, 16 to a row, 16 rows: the pixel of cell n is 0x100 + n,
// so a target row read back spells the codes that were drawn.
IMG *CodeSheet()
{
    IMG *sheet = Image(16, 16);
    for (int32_t n = 0; n < 256; ++n) {
        sheet->pixels[n] = 0x100u + static_cast<uint32_t>(n);
    }
    return sheet;
}

// The codes spelled by a row of a target drawn with CodeSheet; '.' for pixels left 0.
std::string Spelled(const IMG *target, int32_t y, int32_t from, int32_t count)
{
    std::string s;
    for (int32_t x = from; x < from + count; ++x) {
        const uint32_t p = IMGGetPixel(target, x, y);
        s += p == 0 ? '.' : static_cast<char>(p - 0x100);
    }
    return s;
}

struct Pen {
    FONT *font = FONTNew();
    IMG *target;
    Pen(IMG *sheet, IMG *target_, int32_t cw, int32_t ch) : target(target_)
    {
        font->sheet = sheet;
        font->target = target;
        font->cellWidth = cw;
        font->cellHeight = ch;
    }
    ~Pen()
    {
        FONTFree(&font);
        IMGFree(&target);
    }
};

}  // namespace

TEST(FONTNew, DefaultsAndFreeReleasesSheetNotTarget)
{
    FONT *font = FONTNew();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->cellWidth, 6);
    EXPECT_EQ(font->cellHeight, 6);
    EXPECT_EQ(font->x, 0);
    EXPECT_EQ(font->code, 0);
    EXPECT_EQ(font->sheet, nullptr);
    IMG *target = Image(4, 4);
    font->sheet = Image(4, 4);
    font->target = target;
    FONTFree(&font);  // the sheet goes with the font (the leak checker sees it otherwise)
    EXPECT_EQ(font, nullptr);
    FONTFree(&font);
    FONTFree(nullptr);
    EXPECT_EQ(target->width, 4);  // still alive
    IMGFree(&target);
}

TEST(FONTPutChar, CopiesTheCellAddressedByCode)
{
    // A 256 x 256 sheet of 16 x 16 cells: cell 65 spans x 16..31, y 64..79.
    IMG *sheet = Image(256, 256);
    sheet->pixels[16 + 64 * 256] = 0xAA;
    sheet->pixels[31 + 79 * 256] = 0xBB;
    sheet->pixels[15 + 64 * 256] = 0xCC;  // the neighbouring cell, must not show
    Pen pen(sheet, Image(40, 40), 16, 16);
    pen.font->x = 3;
    pen.font->y = 5;
    pen.font->code = 65;
    FONTPutChar(pen.font);
    EXPECT_EQ(IMGGetPixel(pen.target, 3, 5), 0xAAu);
    EXPECT_EQ(IMGGetPixel(pen.target, 18, 20), 0xBBu);
    EXPECT_EQ(IMGGetPixel(pen.target, 2, 5), 0u);
    EXPECT_EQ(pen.font->x, 19);
    EXPECT_EQ(pen.font->y, 5);
}

TEST(FONTPutChar, SheetsOfAnyWidthNumberCellsAcrossRows)
{
    // 3 cells of 2 x 2 per row: code 4 starts at a = 8, column 2, row 1 x 2 = 2.
    IMG *sheet = Image(6, 4);
    sheet->pixels[2 + 2 * 6] = 7;
    sheet->pixels[3 + 3 * 6] = 9;
    Pen pen(sheet, Image(4, 4), 2, 2);
    pen.font->code = 4;
    FONTPutChar(pen.font);
    EXPECT_EQ(IMGGetPixel(pen.target, 0, 0), 7u);
    EXPECT_EQ(IMGGetPixel(pen.target, 1, 1), 9u);
}

TEST(FONTPutChar, MaskedKeepsPictureOpaqueBlanksCellAddCarries)
{
    // One 2 x 1 cell: an ink pixel and a blank one.
    IMG *sheet = Image(2, 1);
    sheet->pixels[0] = 0x0000FF;
    Pen pen(sheet, Image(2, 1, 0x000001), 2, 1);

    FONTPutChar(pen.font);
    EXPECT_EQ(pen.target->pixels[0], 0x0000FFu);
    EXPECT_EQ(pen.target->pixels[1], 0x000001u);  // visible between the strokes

    pen.target->pixels[0] = 0x000001;
    pen.font->x = 0;
    FONTPutCharAdd(pen.font);
    EXPECT_EQ(pen.target->pixels[0], 0x000100u);  // carry into green, no clamping
    EXPECT_EQ(pen.target->pixels[1], 0x000001u);
    EXPECT_EQ(pen.font->x, 2);

    pen.font->x = 0;
    FONTPutCharOpaque(pen.font);
    EXPECT_EQ(pen.target->pixels[0], 0x0000FFu);
    EXPECT_EQ(pen.target->pixels[1], 0u);  // the whole cell, zero included
}

TEST(FONTPutChar, CodesOutsideTheSheetReadNothingBeyondIt)
{
    // Every code off the sheet, negative ones from signed text bytes included,
    // leaves the target as it was and still moves the pen.
    for (const int32_t code : {-1, -2, -56, -128, -255, INT32_MIN, 256, 1000, INT32_MAX}) {
        Pen pen(CodeSheet(), Image(4, 4, 0x123456), 2, 2);
        pen.font->x = 1;
        pen.font->code = code;
        FONTPutCharOpaque(pen.font);
        FONTPutChar(pen.font);
        FONTPutCharAdd(pen.font);
        for (int32_t i = 0; i < 16; ++i) {
            EXPECT_EQ(pen.target->pixels[i], 0x123456u) << "code " << code;
        }
        EXPECT_EQ(pen.font->x, 7);
    }
}

TEST(FONTPutChar, CellOverTheSheetEdgeCopiesOnlyItsInsidePart)
{
    // Width 5 with 2-wide cells: cell 2 covers columns 4 and 5, and column 5
    // would be the next row's first pixel if the blit did not clip.
    IMG *sheet = Image(5, 2, 0x77);
    Pen pen(sheet, Image(2, 1, 0x11), 2, 1);
    pen.font->code = 2;
    FONTPutCharOpaque(pen.font);
    EXPECT_EQ(pen.target->pixels[0], 0x77u);
    EXPECT_EQ(pen.target->pixels[1], 0x11u);
}

TEST(FONTPutChar, MissingFontOrSheetLeavesPen)
{
    FONTPutChar(nullptr);
    FONTPutCharOpaque(nullptr);
    FONTPutCharAdd(nullptr);
    FONT *font = FONTNew();
    font->x = 4;
    FONTPutChar(font);
    FONTPutCharOpaque(font);
    FONTPutCharAdd(font);
    FONTPutHex32(font, 0x1234);
    FONTPutLine(font, "AB");
    EXPECT_EQ(font->x, 4);
    EXPECT_EQ(font->code, 0);
    FONTFree(&font);
}

TEST(FONTPutHex, DigitsHighFirstAndPenAdvance)
{
    Pen pen(CodeSheet(), Image(16, 1), 1, 1);
    FONTPutHex8(pen.font, 60);
    EXPECT_EQ(Spelled(pen.target, 0, 0, 3), "3C.");
    EXPECT_EQ(pen.font->x, 2);

    pen.font->x = 0;
    FONTPutHex16(pen.font, 0xBEEF12);
    EXPECT_EQ(Spelled(pen.target, 0, 0, 5), "EF12.");

    pen.font->x = 0;
    FONTPutHex32(pen.font, 0x9A0B7CDFu);
    EXPECT_EQ(Spelled(pen.target, 0, 0, 9), "9A0B7CDF.");
    EXPECT_EQ(pen.font->x, 8);
}

TEST(FONTPutLine, StopsAtLineEndAndReadsBytesUnsigned)
{
    Pen pen(CodeSheet(), Image(8, 2), 1, 1);
    FONTPutLine(pen.font, "AB\nCD");
    EXPECT_EQ(Spelled(pen.target, 0, 0, 4), "AB..");
    EXPECT_EQ(Spelled(pen.target, 1, 0, 4), "....");
    EXPECT_EQ(pen.font->x, 2);

    pen.font->x = 0;
    FONTPutLine(pen.font, "\xC8");
    EXPECT_EQ(pen.target->pixels[0], 0x100u + 0xC8u);

    FONTPutLine(pen.font, nullptr);
    EXPECT_EQ(pen.font->x, 1);
}

TEST(FONTPutText, LineEndReturnsToStartOneCellLower)
{
    Pen pen(CodeSheet(), Image(8, 3), 1, 1);
    pen.font->x = 2;
    FONTPutText(pen.font, "AB\nC");
    EXPECT_EQ(Spelled(pen.target, 0, 0, 5), "..AB.");
    EXPECT_EQ(Spelled(pen.target, 1, 0, 5), "..C..");
    EXPECT_EQ(pen.font->x, 3);
    EXPECT_EQ(pen.font->y, 1);

    // The draw is opaque: a cell whose sheet pixel is 0 blanks the target.
    pen.target->pixels[0] = 0x55;
    pen.font->sheet->pixels['Z'] = 0;
    pen.font->x = 0;
    pen.font->y = 0;
    FONTPutText(pen.font, "Z");
    EXPECT_EQ(pen.target->pixels[0], 0u);
}

TEST(FONTPutText, MissingTargetOrTextDrawsNothing)
{
    Pen pen(CodeSheet(), Image(4, 1), 1, 1);
    pen.font->target = nullptr;
    FONTPutText(pen.font, "AB\nC");
    EXPECT_EQ(pen.font->x, 0);
    EXPECT_EQ(pen.font->y, 0);
    pen.font->target = pen.target;
    FONTPutText(pen.font, nullptr);
    FONTPutText(nullptr, "A");
    EXPECT_EQ(pen.font->x, 0);
}

TEST(FONTPutBigChar, EachInkPixelBecomesOneSmallCell)
{
    // Big cell 0 is a 2 x 2 diagonal; the small font draws its 3 x 1 cell 1.
    IMG *bigSheet = Image(4, 2);
    bigSheet->pixels[0] = 1;
    bigSheet->pixels[1 + 4] = 1;
    bigSheet->pixels[2] = 1;  // cell 1's ink, next to cell 0
    Pen big(bigSheet, Image(8, 4), 2, 2);
    big.font->x = 1;
    big.font->y = 1;
    FONT *small = FONTNew();
    small->sheet = Image(6, 1);
    small->sheet->pixels[3] = 0xA;
    small->sheet->pixels[5] = 0xB;
    small->cellWidth = 3;
    small->cellHeight = 1;
    small->code = 1;

    FONTPutBigChar(big.font, small);
    EXPECT_EQ(small->target, big.target);
    EXPECT_EQ(IMGGetPixel(big.target, 1, 1), 0xAu);
    EXPECT_EQ(IMGGetPixel(big.target, 3, 1), 0xBu);
    EXPECT_EQ(IMGGetPixel(big.target, 4, 2), 0xAu);
    EXPECT_EQ(IMGGetPixel(big.target, 6, 2), 0xBu);
    EXPECT_EQ(IMGGetPixel(big.target, 4, 1), 0u);
    EXPECT_EQ(IMGGetPixel(big.target, 1, 2), 0u);
    EXPECT_EQ(IMGGetPixel(big.target, 7, 1), 0u);
    EXPECT_EQ(big.font->x, 1 + 2 * 3);

    // A code off the big sheet has no ink: nothing drawn, the pen still moves.
    big.font->code = -3;
    IMGClear(big.target);
    FONTPutBigChar(big.font, small);
    for (int32_t i = 0; i < 32; ++i) {
        EXPECT_EQ(big.target->pixels[i], 0u);
    }
    EXPECT_EQ(big.font->x, 13);

    // A one-pixel sheet under a 2 x 2 cell: ink only from the part inside it.
    IMGFree(&big.font->sheet);
    big.font->sheet = Image(1, 1, 1);
    big.font->code = 0;
    big.font->x = 0;
    FONTPutBigChar(big.font, small);
    EXPECT_EQ(IMGGetPixel(big.target, 0, 1), 0xAu);
    EXPECT_EQ(IMGGetPixel(big.target, 2, 1), 0xBu);
    EXPECT_EQ(IMGGetPixel(big.target, 3, 1), 0u);

    IMG *smallSheet = small->sheet;
    small->sheet = nullptr;
    FONTPutBigChar(big.font, small);
    EXPECT_EQ(big.font->x, 6);
    small->sheet = smallSheet;
    FONTFree(&small);
}

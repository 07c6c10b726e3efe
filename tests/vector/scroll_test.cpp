#include <gtest/gtest.h>

#include "gfx/img.h"
#include "vector/font.h"
#include "vector/scroll.h"

#include <climits>
#include <string>

namespace {

constexpr const char *text = "ABCDEFGHIJ";

// A sheet of 16 x 1 cells, 16 to a row, for codes 0 .. 127: every pixel of cell n
// is 0x100 + n, except the blank (32), which is empty.
IMG *StripSheet()
{
    IMG *sheet = IMGNew();
    IMGResize(sheet, 256, 8);
    for (int32_t n = 0; n < 128; ++n) {
        for (int32_t i = 0; i < 16 && n != ' '; ++i) {
            sheet->pixels[n * 16 + i] = 0x100u + static_cast<uint32_t>(n);
        }
    }
    return sheet;
}

// A scroller over text with a 16-pixel bitmap font on a 320 x 1 target,
// showing a 256-pixel run.
struct Scene {
    FONT *font = FONTNew();
    IMG *target = IMGNew();
    SCROLL *scroll = SCROLLNew();
    explicit Scene(const char *t = text)
    {
        font->sheet = StripSheet();
        font->cellWidth = 16;
        font->cellHeight = 1;
        IMGResize(target, 320, 1);
        SCROLLSet(scroll, t, font, target);
        scroll->width = 256;
    }
    ~Scene()
    {
        SCROLLFree(&scroll);
        FONTFree(&font);
        IMGFree(&target);
    }
    // The characters shown at x0, x0 + step, ...; '.' where nothing was drawn.
    std::string Shown(int32_t x0, int32_t step, int32_t count) const
    {
        std::string s;
        for (int32_t k = 0; k < count; ++k) {
            const uint32_t p = IMGGetPixel(target, x0 + k * step, 0);
            s += p == 0 ? '.' : static_cast<char>(p - 0x100);
        }
        return s;
    }
    std::string Frame()
    {
        IMGClear(target);
        SCROLLDraw(scroll);
        return Shown(0, 1, 320);
    }
};

}  // namespace

TEST(SCROLLNew, DefaultsAndDrawNeedsSet)
{
    SCROLL *scroll = SCROLLNew();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->speed, 1);
    EXPECT_EQ(scroll->offset, 0);
    EXPECT_EQ(scroll->text, nullptr);
    EXPECT_EQ(scroll->font, nullptr);
    ASSERT_NE(scroll->cursor, nullptr);
    EXPECT_STREQ(static_cast<const char *>(scroll->cursor->data), "A scroll's default text. ");
    EXPECT_EQ(scroll->cursor->length, 25);
    SCROLLDraw(scroll);
    SCROLLAdvance(scroll);
    EXPECT_EQ(scroll->offset, 0);
    SCROLLFree(&scroll);
    EXPECT_EQ(scroll, nullptr);
    SCROLLFree(&scroll);
    SCROLLFree(nullptr);
}

TEST(SCROLLSet, RestartsTextAndKeepsSpeedAndOffset)
{
    Scene scene;
    SCROLL *scroll = scene.scroll;
    EXPECT_EQ(scroll->text, text);
    EXPECT_EQ(scroll->cursor->data, static_cast<const void *>(text));
    EXPECT_EQ(scroll->cursor->length, 10);
    scroll->x = 7;
    scroll->y = 3;
    scroll->speed = 4;
    scroll->offset = 9;
    scroll->cursor->pos = 5;
    SCROLLSet(scroll, "XY", scene.font, scene.target);
    EXPECT_EQ(scroll->cursor->pos, 0);
    EXPECT_EQ(scroll->cursor->length, 2);
    EXPECT_EQ(scroll->x, 0);
    EXPECT_EQ(scroll->y, 0);
    EXPECT_EQ(scroll->width, 320);
    EXPECT_EQ(scroll->speed, 4);
    EXPECT_EQ(scroll->offset, 9);

    // Any argument missing: nothing changes.
    CURSOR *cursor = scroll->cursor;
    SCROLLSet(scroll, nullptr, scene.font, scene.target);
    SCROLLSet(scroll, text, nullptr, scene.target);
    SCROLLSet(scroll, text, scene.font, nullptr);
    SCROLLSet(nullptr, text, scene.font, scene.target);
    EXPECT_EQ(scroll->cursor, cursor);
    EXPECT_STREQ(scroll->text, "XY");
}

TEST(SCROLLDraw, WidthDivPitchPlusTwoCellsFromXMinusOffset)
{
    Scene scene;
    scene.scroll->x = 5;
    scene.scroll->offset = 3;
    SCROLLDraw(scene.scroll);
    // Cells start at 2 and 18 of them cover 2 .. 289; the text repeats without a gap.
    EXPECT_EQ(scene.Shown(2, 16, 19), "ABCDEFGHIJABCDEFGH.");
    EXPECT_EQ(scene.Shown(0, 1, 2), "..");
    EXPECT_EQ(scene.scroll->cursor->pos, 0);
    EXPECT_EQ(scene.scroll->cursor->step, 1);
    EXPECT_EQ(scene.font->target, scene.target);
    scene.scroll->y = 1;
    SCROLLDraw(scene.scroll);
    EXPECT_EQ(scene.font->y, 1);
}

TEST(SCROLLDraw, LastCharacterIsFollowedByTheFirst)
{
    Scene scene;
    scene.scroll->cursor->pos = 9;
    EXPECT_EQ(scene.Frame().substr(0, 48), std::string(16, 'J') + std::string(16, 'A') + std::string(16, 'B'));
    EXPECT_EQ(scene.scroll->cursor->pos, 9);
}

TEST(SCROLLDraw, LineEndsAndSignedBytesAreCellsNotBreaks)
{
    // The line end draws its own cell in the row (the sheet fills cell 10);
    // a byte of 128 or more is a negative code with no cell on the sheet.
    Scene scene(
        "A\n\xC8"
        "B");
    EXPECT_EQ(scene.Frame().substr(0, 64),
              std::string(16, 'A') + std::string(16, '\n') + std::string(16, '.') + std::string(16, 'B'));
}

TEST(SCROLLDraw, EmptyTextDrawsTheNulCellAndCannotMove)
{
    Scene scene("");
    scene.scroll->speed = 20;
    SCROLLDraw(scene.scroll);
    EXPECT_EQ(scene.target->pixels[0], 0x100u);
    EXPECT_EQ(scene.target->pixels[287], 0x100u);
    SCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->cursor->pos, 0);
    EXPECT_EQ(scene.scroll->offset, 4);
    scene.font->cellWidth = 1;  // characters beyond the cursor's 32-bit step
    scene.scroll->speed = INT32_MAX;
    SCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->offset, 0);
}

TEST(SCROLLDrawOpaque, CopiesEmptyPixelsToo)
{
    Scene scene("A B");
    for (int32_t i = 0; i < 320; ++i) {
        scene.target->pixels[i] = 0x100u + '#';
    }
    SCROLLDraw(scene.scroll);
    EXPECT_EQ(scene.Shown(0, 16, 3), "A#B");
    SCROLLDrawOpaque(scene.scroll);
    EXPECT_EQ(scene.Shown(0, 16, 3), "A.B");
}

TEST(SCROLLAdvance, WholePitchesMoveTheCursor)
{
    Scene scene;
    SCROLL *scroll = scene.scroll;
    scroll->speed = 4;
    for (const int32_t expected : {4, 8, 12, 0}) {
        SCROLLAdvance(scroll);
        EXPECT_EQ(scroll->offset, expected);
    }
    EXPECT_EQ(scroll->cursor->pos, 1);
    scroll->speed = 0;  // at offset 0 the line stays too
    SCROLLAdvance(scroll);
    EXPECT_EQ(scroll->cursor->pos, 1);
    EXPECT_EQ(scroll->offset, 0);

    scroll->speed = 40;
    SCROLLAdvance(scroll);
    EXPECT_EQ(scroll->cursor->pos, 3);
    EXPECT_EQ(scroll->offset, 8);

    // Speed 0 freezes the line.
    scroll->speed = 0;
    const std::string before = scene.Frame();
    SCROLLAdvance(scroll);
    EXPECT_EQ(scene.Frame(), before);
    EXPECT_EQ(scroll->cursor->pos, 3);
}

TEST(SCROLLAdvance, NegativeSpeedMovesBackAcrossTheTextStart)
{
    Scene scene;
    SCROLL *scroll = scene.scroll;
    scroll->speed = -4;
    SCROLLAdvance(scroll);
    EXPECT_EQ(scroll->cursor->pos, 9);
    EXPECT_EQ(scroll->offset, 12);
    scroll->speed = -37;  // 12 - 37 = -25: two characters back, 7 pixels in
    SCROLLAdvance(scroll);
    EXPECT_EQ(scroll->cursor->pos, 7);
    EXPECT_EQ(scroll->offset, 7);
}

TEST(SCROLLAdvance, ExactNegativeMultipleLeavesOffsetAtPitchSamePicture)
{
    Scene scene;
    scene.scroll->speed = -32;
    SCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->cursor->pos, 7);  // three back, not two
    EXPECT_EQ(scene.scroll->offset, 16);
    const std::string shown = scene.Frame();

    Scene reference;
    reference.scroll->cursor->pos = 8;
    EXPECT_EQ(reference.Frame().substr(0, 256), shown.substr(0, 256));
}

TEST(SCROLLAdvance, PitchFollowsTheFontCellWidth)
{
    Scene scene;
    SCROLL *scroll = scene.scroll;
    scroll->offset = 12;
    scroll->speed = 0;
    scene.font->cellWidth = 8;
    SCROLLAdvance(scroll);
    EXPECT_EQ(scroll->cursor->pos, 1);
    EXPECT_EQ(scroll->offset, 4);
    // A width of 256 now takes 34 cells.
    SCROLLDraw(scroll);
    EXPECT_EQ(scene.font->x, -4 + 34 * 8);
}

TEST(SCROLLAdvance, ZeroPitchOrMissingPartsChangeNothing)
{
    Scene scene;
    scene.scroll->speed = 5;
    for (const int32_t pitch : {0, (1 << 30) + 1, -(1 << 30) - 1}) {
        scene.font->cellWidth = pitch;
        SCROLLAdvance(scene.scroll);
        SCROLLDraw(scene.scroll);
        EXPECT_EQ(scene.scroll->offset, 0) << pitch;
        EXPECT_EQ(scene.font->target, nullptr);  // not even the pen was placed
    }
    scene.font->cellWidth = 16;
    scene.scroll->target = nullptr;
    SCROLLAdvance(scene.scroll);
    EXPECT_EQ(scene.scroll->offset, 0);
    SCROLLAdvance(nullptr);
    SCROLLDraw(nullptr);
    SCROLLDrawOpaque(nullptr);
    // The largest pitches, either sign, still move the line.
    scene.scroll->target = scene.target;
    for (const int32_t pitch : {1 << 30, -(1 << 30)}) {
        scene.font->cellWidth = pitch;
        SCROLLAdvance(scene.scroll);
    }
    EXPECT_EQ(scene.scroll->offset, 10);
}

TEST(SCROLLAdvance, ExtremeSpeedsStayInRange)
{
    Scene scene;
    SCROLL *scroll = scene.scroll;
    scene.font->cellWidth = 1;
    for (const int32_t speed : {INT32_MAX, INT32_MIN, INT32_MIN + 1, INT32_MAX}) {
        scroll->speed = speed;
        SCROLLAdvance(scroll);
        EXPECT_GE(scroll->cursor->pos, 0);
        EXPECT_LT(scroll->cursor->pos, 10);
        EXPECT_GE(scroll->offset, 0);
        EXPECT_LE(scroll->offset, 1);
    }
}

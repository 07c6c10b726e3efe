// FONT: a bitmap font that draws text by copying character cells out of a
// glyph sheet image into a target image. The font is a pen: every drawing call
// places a cell at (x, y) and moves the pen on.
//
// Cell n of the sheet starts at a = n x cellWidth: column a mod sheet width,
// row (a div sheet width) x cellHeight, so cells run left to right, then top to
// bottom. Codes whose cell lies outside the sheet (negative ones included) copy
// only the part of the cell that lies inside it, which is usually nothing.
#pragma once

#include <cstdint>

struct IMG;

inline constexpr const char *FONTIdentity[] = {"FONT    ", "20120412", "VORNHALD", "C       ", "CODE    "};

struct FONT {
    int32_t x;  // pen: top-left corner of the next cell drawn, in target pixels
    int32_t y;
    int32_t cellWidth;  // cell size in pixels: 6 x 6 after FONTNew
    int32_t cellHeight;
    int32_t code;  // the character the single-character operations draw
    IMG *sheet;    // glyph sheet; owned, released by FONTFree
    IMG *target;   // where characters are drawn; borrowed
};

// A new font with 6 x 6 cells, pen at 0, no sheet and no target; null when memory runs out.
FONT *FONTNew();
// Releases the sheet (when present) and the record and nulls the handle; the target is not released.
void FONTFree(FONT **handle);
// Draws cell code at the pen, masked (zero sheet pixels leave the target as it
// was), then x += cellWidth. No font or no sheet: error, nothing drawn, pen unchanged.
void FONTPutChar(FONT *font);
// As FONTPutChar, copying the whole cell, zero pixels included.
void FONTPutCharOpaque(FONT *font);
// As FONTPutChar, adding sheet pixels to the target's (32-bit sum, no clamping).
void FONTPutCharAdd(FONT *font);
// The low byte of value as two upper-case hexadecimal digits, high digit first.
void FONTPutHex8(FONT *font, uint32_t value);
// The low 16 bits of value as four hexadecimal digits.
void FONTPutHex16(FONT *font, uint32_t value);
// value as eight hexadecimal digits.
void FONTPutHex32(FONT *font, uint32_t value);
// Draws the bytes of text (unsigned codes) up to the first line end or the end
// of the text with FONTPutChar; no line handling. No font, sheet or text: error, nothing drawn.
void FONTPutLine(FONT *font, const char *text);
// Draws text opaquely; a line end moves the pen one cellHeight down and back to
// the x where the text started. No font, text, sheet or target: error, nothing drawn.
void FONTPutText(FONT *font, const char *text);
// Draws font's cell code enlarged: every non-zero pixel of the cell becomes one
// cell of small (its own code, masked) at x + column x small cellWidth,
// y + row x small cellHeight; then x += cellWidth x small cellWidth. small
// draws into font's target. No font, small font, sheets or target: error, nothing drawn.
void FONTPutBigChar(FONT *font, FONT *small);
// Prints "FONT Error.\n" while the module's switch is on.
void FONTError();

// LFONT: a pen that draws text whose characters are 2D vector objects (glyphs),
// enlarged by an integer scale and turned about each glyph's own origin.
//
// Ownership: the font borrows its target. LFONTFree releases the glyph objects
// (not the list container, which stays with whoever created it).
#pragma once

#include <cstdint>

#include "core/list.h"

struct IMG;

inline constexpr const char *LFONTIdentity[] = {"LFONT   ", "20120412", "VORNHALD", "C       ", "CODE    "};

struct LFONT {
    int32_t x;  // pen position: where the next glyph's origin (top-left corner) lands
    int32_t y;
    int32_t cellWidth;  // glyph cell in glyph units; 6 x 6 after LFONTNew
    int32_t cellHeight;
    int32_t code;   // the character LFONTPutChar draws
    int32_t scale;  // enlargement of each glyph; 0 after creation (draws only points)
    int32_t angle;  // rotation of each glyph in 1/1024 turn, about its origin
    LIST *glyphs;   // OBJ2D: entry n is the glyph of character code n
    IMG *target;    // where glyphs are drawn; borrowed
};

// Cell 6 x 6, all else zero or null; null when memory runs out.
LFONT *LFONTNew();
// Releases every glyph object of the list (each once) and sets its entry to
// null, then the record; clears the handle. The list itself is not released.
// Null address or handle: error, nothing changes.
void LFONTFree(LFONT **handle);
// Draws glyph code at the pen with the pen's scale and angle into target and
// returns the new x (advanced by cellWidth x scale). A code outside the list or
// an empty entry draws nothing but still advances; a missing target is reported
// by OBJ2DDraw and the pen still advances. Missing font or list: error, 0, pen unchanged.
int32_t LFONTPutChar(LFONT *font);
// The low byte as two upper-case hexadecimal digits, high digit first.
void LFONTPutHex8(LFONT *font, uint32_t value);
// The low 16 bits as four hexadecimal digits.
void LFONTPutHex16(LFONT *font, uint32_t value);
// All 32 bits as eight hexadecimal digits.
void LFONTPutHex32(LFONT *font, uint32_t value);
// Draws each byte (unsigned) up to the first line end or the end of the text,
// no line handling. Missing font or text: error.
void LFONTPutLine(LFONT *font, const char *text);
// Draws a text; a line end returns x to where it started and moves y down by
// cellHeight (not scaled). Missing font, text, list or target: error, nothing drawn.
void LFONTPutText(LFONT *font, const char *text);
void LFONTError();

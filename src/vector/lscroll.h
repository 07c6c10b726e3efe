// LSCROLL: the scroller of SCROLL drawn with the object font, whose characters
// can be scaled and rotated. The pitch is the font's cellWidth x scale, read at
// every call, so a font that changes scale changes the pitch at once.
#pragma once

#include <cstdint>

#include "vector/cursor.h"

struct IMG;
struct LFONT;

inline constexpr const char *LSCROLLIdentity[] = {"LSCROLL ", "20120412", "VORNHALD",
                                                  "C       ", "CODE    ", "A scroll's default text. "};

struct LSCROLL {
    int32_t x;      // left edge of the line in target pixels
    int32_t y;      // top of the character row
    int32_t width;  // width of the visible run: the target's width after LSCROLLSet
    int32_t speed;  // pixels per advance: 1 after creation; negative scrolls backwards
    int32_t
        offset;  // pixels the first visible character has moved out to the left: 0 <= offset <= pitch after an advance
    const char *text;  // the scroll text, NUL-terminated; borrowed
    CURSOR *cursor;    // index of the first visible character in text; owned
    LFONT *font;       // the pen; borrowed
    IMG *target;       // where the text is drawn; borrowed
};

// A new scroller at 0, 0, speed 1, without text, font or target (drawing is an
// error until LSCROLLSet); its cursor starts on the default text. Null when memory runs out.
LSCROLL *LSCROLLNew();
// Releases the cursor and the record and nulls the handle; text, font and target are not released.
void LSCROLLFree(LSCROLL **handle);
// Restarts the scroller on text at its first character with font and target:
// x and y 0, width the target's width; speed and offset are kept. Any argument
// missing: error, nothing changes.
void LSCROLLSet(LSCROLL *scroll, const char *text, LFONT *font, IMG *target);
// Draws width div pitch + 2 characters from the cursor on with LFONTPutChar,
// the first at x - offset. Anything missing, a font scale of 0 or a pitch of 0
// (or beyond 2^30 pixels): error, nothing drawn.
void LSCROLLDraw(LSCROLL *scroll);
// Moves the line speed pixels on, carrying whole characters into the cursor.
// Anything missing, a font scale of 0 or a pitch of 0 (or beyond 2^30): error, nothing moves.
void LSCROLLAdvance(LSCROLL *scroll);
// Prints "LSCROLL error\n" while the module's switch is on.
void LSCROLLError();

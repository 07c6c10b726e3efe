// SCROLL: an endless line of text moved horizontally across an image with the
// bitmap font. The pitch (distance between character origins) is the font's
// cellWidth, read at every call.
#pragma once

#include <cstdint>

#include "vector/cursor.h"
#include "vector/font.h"

struct IMG;

inline constexpr const char *SCROLLIdentity[] = {"SCROLL  ", "20110513", "VORNHALD",
                                                 "C       ", "CODE    ", "A scroll's default text. "};

struct SCROLL {
    int32_t x;      // left edge of the line in target pixels
    int32_t y;      // top of the character row
    int32_t width;  // width of the visible run: the target's width after SCROLLSet
    int32_t speed;  // pixels per advance: 1 after creation; negative scrolls backwards
    int32_t
        offset;  // pixels the first visible character has moved out to the left: 0 <= offset <= pitch after an advance
    const char *text;  // the scroll text, NUL-terminated; borrowed
    CURSOR *cursor;    // index of the first visible character in text; owned
    FONT *font;        // the pen; borrowed
    IMG *target;       // where the text is drawn; borrowed
};

// A new scroller at 0, 0, speed 1, without text, font or target (drawing is an
// error until SCROLLSet); its cursor starts on the default text. Null when memory runs out.
SCROLL *SCROLLNew();
// Releases the cursor and the record and nulls the handle; text, font and target are not released.
void SCROLLFree(SCROLL **handle);
// Restarts the scroller on text at its first character with font and target:
// x and y 0, width the target's width; speed and offset are kept. Any argument
// missing: error, nothing changes.
void SCROLLSet(SCROLL *scroll, const char *text, FONT *font, IMG *target);
// Draws width div pitch + 2 characters from the cursor on, masked, the first at
// x - offset; the last character of the text is followed by the first. Anything
// missing or a pitch of 0 (or beyond 2^30 pixels): error, nothing drawn.
void SCROLLDraw(SCROLL *scroll);
// As SCROLLDraw, copying whole cells.
void SCROLLDrawOpaque(SCROLL *scroll);
// Moves the line speed pixels on, carrying whole characters into the cursor.
// Anything missing or a pitch of 0 (or beyond 2^30): error, nothing moves.
void SCROLLAdvance(SCROLL *scroll);
// Prints "SCROLL error\n" while the module's switch is on.
void SCROLLError();

// The scroller shared by SCROLL (bitmap font) and LSCROLL (object font): one
// record layout, one drawing and one advancing algorithm, parameterised by a
// pen description. Private to src/vector; callers use scroll.h and lscroll.h.
//
// A Pen type provides:
//   using Font = ...;                       the font record (x, y, code, target, cellWidth)
//   static void Error();                    the scroller module's reporter
//   static const char *DefaultText();       the text a new scroller's cursor starts on
//   static bool Ready(const Font *font);    module-specific font checks (LSCROLL: scale != 0)
//   static int64_t Pitch(const Font *font); distance between character origins
#pragma once

#include <cstdint>
#include <cstring>
#include <new>

#include "gfx/img.h"
#include "vector/cursor.h"

namespace scroller {

// Pitches beyond this size, either sign, are refused: no image is that wide, and
// refusing them keeps every offset the advance computes within 32 bits.
inline constexpr int64_t pitchLimit = int64_t{1} << 30;

// Everything drawing and advancing need: a scroller with text, cursor, font and
// target, a font the pen accepts, and a non-zero pitch to divide by.
template <typename Pen, typename Scroll>
bool Usable(const Scroll *scroll)
{
    if (scroll == nullptr || scroll->text == nullptr || scroll->cursor == nullptr || scroll->target == nullptr ||
        scroll->font == nullptr || !Pen::Ready(scroll->font)) {
        Pen::Error();
        return false;
    }
    const int64_t pitch = Pen::Pitch(scroll->font);
    if (pitch == 0 || pitch < -pitchLimit || pitch > pitchLimit) {
        Pen::Error();
        return false;
    }
    return true;
}

// A cursor over text, or null. Texts too long for a 32-bit length are refused.
inline CURSOR *CursorOver(const char *text)
{
    const std::size_t length = std::strlen(text);
    if (length > INT32_MAX) {
        return nullptr;
    }
    CURSOR *cursor = CURSORNew();
    if (cursor != nullptr) {
        CURSORSet(cursor, text, static_cast<int32_t>(length), 1);
    }
    return cursor;
}

template <typename Pen, typename Scroll>
Scroll *New()
{
    Scroll *scroll = new (std::nothrow) Scroll{};
    if (scroll == nullptr) {
        Pen::Error();
        return nullptr;
    }
    scroll->speed = 1;
    scroll->cursor = CursorOver(Pen::DefaultText());
    if (scroll->cursor == nullptr) {
        delete scroll;
        Pen::Error();
        return nullptr;
    }
    return scroll;
}

template <typename Pen, typename Scroll>
void Free(Scroll **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        Pen::Error();
        return;
    }
    CURSORFree(&(*handle)->cursor);
    delete *handle;
    *handle = nullptr;
}

template <typename Pen, typename Scroll>
void Set(Scroll *scroll, const char *text, typename Pen::Font *font, IMG *target)
{
    if (scroll == nullptr || text == nullptr || font == nullptr || target == nullptr) {
        Pen::Error();
        return;
    }
    // The new cursor is made before the old one goes, so that running out of
    // memory leaves the scroller as it was.
    CURSOR *cursor = CursorOver(text);
    if (cursor == nullptr) {
        Pen::Error();
        return;
    }
    CURSORFree(&scroll->cursor);
    scroll->text = text;
    scroll->cursor = cursor;
    scroll->font = font;
    scroll->target = target;
    scroll->x = 0;
    scroll->y = 0;
    scroll->width = target->width;
}

// Draws width div pitch + 2 characters from the cursor on, the first at
// x - offset, each with put (which moves the pen one pitch on). Every byte is a
// cell, line ends included; bytes are signed codes, as the text's char type has them.
template <typename Pen, typename Scroll, typename Put>
void Draw(Scroll *scroll, Put put)
{
    if (!Usable<Pen>(scroll)) {
        return;
    }
    typename Pen::Font *font = scroll->font;
    CURSOR *cursor = scroll->cursor;
    font->x = static_cast<int32_t>(static_cast<uint32_t>(scroll->x) - static_cast<uint32_t>(scroll->offset));
    font->y = scroll->y;
    font->target = scroll->target;
    const int64_t cells = scroll->width / Pen::Pitch(font) + 2;
    CURSORSave(cursor);
    cursor->step = 1;
    for (int64_t i = 0; i < cells; ++i) {
        // A position outside the text (fields set by hand) shows as the NUL cell
        // rather than reading past the text.
        const bool inside = cursor->pos >= 0 && cursor->pos < cursor->length;
        font->code = inside ? static_cast<signed char>(scroll->text[cursor->pos]) : 0;
        put(font);
        CURSORStep(cursor);
    }
    CURSORRestore(cursor);
}

// Moves the cursor by characters: step is any 64-bit count, reduced modulo the
// text's length when it does not fit the cursor's 32-bit step (the cursor wraps
// at that length anyway, so the position reached is the same; on an empty text
// it does not move at all).
inline void MoveCursor(CURSOR *cursor, int64_t characters)
{
    if ((characters < INT32_MIN || characters > INT32_MAX) && cursor->length > 0) {
        characters %= cursor->length;
    }
    cursor->step = static_cast<int32_t>(characters);
    CURSORStep(cursor);
}

// offset += speed; whole pitches that the offset leaves behind, forwards or
// backwards, move the cursor. An offset that ends on an exact negative multiple
// of the pitch moves the cursor one character further back and keeps
// offset = pitch: the same picture as one character later with offset 0.
template <typename Pen, typename Scroll>
void Advance(Scroll *scroll)
{
    if (!Usable<Pen>(scroll)) {
        return;
    }
    const int64_t pitch = Pen::Pitch(scroll->font);
    const int64_t offset = static_cast<int64_t>(scroll->offset) + scroll->speed;
    if (offset >= pitch) {
        MoveCursor(scroll->cursor, offset / pitch);
        scroll->offset = static_cast<int32_t>(offset % pitch);
    } else if (offset < 0) {
        MoveCursor(scroll->cursor, offset / pitch - 1);
        scroll->offset = static_cast<int32_t>(offset % pitch + pitch);
    } else {
        scroll->offset = static_cast<int32_t>(offset);
    }
}

}  // namespace scroller

#include "vector/lfont.h"

#include <new>

#include "core/module.h"
#include "vector/obj2d.h"

namespace {

constexpr Reporting lfontReporting = Reporting::Off;

constexpr int32_t defaultCell = 6;

// The character code of a nibble's hexadecimal digit, upper case.
int32_t HexCode(uint32_t nibble)
{
    return nibble <= 9 ? static_cast<int32_t>('0' + nibble) : static_cast<int32_t>('A' + nibble - 10);
}

}  // namespace

LFONT *LFONTNew()
{
    LFONT *font = new (std::nothrow) LFONT{};
    if (font == nullptr) {
        LFONTError();
        return nullptr;
    }
    font->cellWidth = defaultCell;
    font->cellHeight = defaultCell;
    return font;
}

void LFONTFree(LFONT **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        LFONTError();
        return;
    }
    LFONT *font = *handle;
    if (font->glyphs != nullptr) {
        LIST *glyphs = font->glyphs;
        for (int32_t i = 0; i < glyphs->count; i++) {
            OBJ2D *glyph = static_cast<OBJ2D *>(glyphs->items[i]);
            if (glyph == nullptr) {
                continue;
            }
            // Clearing every entry of the same glyph first means a glyph listed
            // twice is released once, and the list holds no stale pointers.
            for (int32_t j = i; j < glyphs->count; j++) {
                if (glyphs->items[j] == glyph) {
                    glyphs->items[j] = nullptr;
                }
            }
            OBJ2DFree(&glyph);
        }
    }
    delete font;
    *handle = nullptr;
}

int32_t LFONTPutChar(LFONT *font)
{
    if (font == nullptr || font->glyphs == nullptr) {
        LFONTError();
        return 0;
    }
    const LIST *glyphs = font->glyphs;
    if (font->code >= 0 && font->code < glyphs->count) {
        OBJ2D *glyph = static_cast<OBJ2D *>(glyphs->items[font->code]);
        if (glyph != nullptr) {
            glyph->scale = font->scale;
            glyph->angle = font->angle;
            glyph->x = font->x;
            glyph->y = font->y;
            OBJ2DDraw(glyph, font->target);
        }
    }
    // Computed in unsigned: a wild cell size or scale wraps instead of overflowing.
    uint32_t advance = static_cast<uint32_t>(font->cellWidth) * static_cast<uint32_t>(font->scale);
    font->x = static_cast<int32_t>(static_cast<uint32_t>(font->x) + advance);
    return font->x;
}

void LFONTPutHex8(LFONT *font, uint32_t value)
{
    if (font == nullptr) {
        LFONTError();
        return;
    }
    font->code = HexCode((value >> 4) & 15u);
    LFONTPutChar(font);
    font->code = HexCode(value & 15u);
    LFONTPutChar(font);
}

void LFONTPutHex16(LFONT *font, uint32_t value)
{
    LFONTPutHex8(font, value >> 8);
    LFONTPutHex8(font, value);
}

void LFONTPutHex32(LFONT *font, uint32_t value)
{
    LFONTPutHex16(font, value >> 16);
    LFONTPutHex16(font, value);
}

void LFONTPutLine(LFONT *font, const char *text)
{
    if (font == nullptr || text == nullptr) {
        LFONTError();
        return;
    }
    for (const unsigned char *c = reinterpret_cast<const unsigned char *>(text); *c != 0 && *c != '\n'; c++) {
        font->code = *c;
        LFONTPutChar(font);
    }
}

void LFONTPutText(LFONT *font, const char *text)
{
    if (font == nullptr || text == nullptr || font->glyphs == nullptr || font->target == nullptr) {
        LFONTError();
        return;
    }
    int32_t x0 = font->x;
    for (const unsigned char *c = reinterpret_cast<const unsigned char *>(text); *c != 0; c++) {
        if (*c == '\n') {
            // The line spacing is not scaled: lines of an enlarged text overlap.
            font->y = static_cast<int32_t>(static_cast<uint32_t>(font->y) + static_cast<uint32_t>(font->cellHeight));
            font->x = x0;
        } else {
            font->code = *c;
            LFONTPutChar(font);
        }
    }
}

void LFONTError() { ModuleReport(lfontReporting, "LFONT Error.\n"); }

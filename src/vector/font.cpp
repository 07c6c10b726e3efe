#include "vector/font.h"

#include <algorithm>
#include <new>

#include "core/module.h"
#include "core/wrap.h"
#include "gfx/img.h"

namespace {

constexpr Reporting fontReporting = Reporting::Off;

constexpr int32_t lineEnd = 10;

// The blit family's common shape: source, target, source corner, target corner, size.
using Blit = void (*)(const IMG *, IMG *, int, int, int, int, int, int);

// Top-left corner of cell code in the sheet. Worked in 64 bits: code x cellWidth
// overflows 32 bits for codes far outside the sheet, and those must still land
// outside it. Division truncates toward zero, so negative codes give corners
// left of or above the sheet.
struct Corner {
    int64_t x;
    int64_t y;
};

Corner CellCorner(const FONT *font, int32_t code)
{
    const int64_t a = static_cast<int64_t>(code) * font->cellWidth;
    const int64_t sheetWidth = font->sheet->width;
    // Rows beyond the sheet are all outside it: clamping them first keeps the
    // product within 64 bits for any code and cell size.
    const int64_t row = std::clamp<int64_t>(a / sheetWidth, -1, font->sheet->height);
    return {a % sheetWidth, row * font->cellHeight};
}

// Whether the cell at corner overlaps the sheet at all.
bool CellTouchesSheet(const FONT *font, Corner corner)
{
    return corner.x < font->sheet->width && corner.x + font->cellWidth > 0 && corner.y < font->sheet->height &&
           corner.y + font->cellHeight > 0;
}

// Copies cell code to the pen with blit and moves the pen one cell on. The blit
// clips the cell to both images; cells wholly outside the sheet (far-off or
// negative codes) are skipped here so that no corner beyond 32 bits reaches it.
void PutCell(FONT *font, Blit blit)
{
    if (font == nullptr || font->sheet == nullptr) {
        FONTError();
        return;
    }
    if (font->sheet->width > 0 && font->cellWidth > 0 && font->cellHeight > 0) {
        const Corner corner = CellCorner(font, font->code);
        if (CellTouchesSheet(font, corner)) {
            blit(font->sheet, font->target, static_cast<int>(corner.x), static_cast<int>(corner.y), font->x, font->y,
                 font->cellWidth, font->cellHeight);
        }
    }
    font->x = WrapAdd(font->x, font->cellWidth);
}

// Character code of the hexadecimal digit for the nibble v (0 .. 15).
int32_t HexDigit(uint32_t v) { return v <= 9 ? '0' + static_cast<int32_t>(v) : 'A' + static_cast<int32_t>(v - 10); }

// A sheet pixel, 0 outside the sheet.
uint32_t SheetPixel(const IMG *sheet, int64_t x, int64_t y)
{
    if (sheet->pixels == nullptr || x < 0 || y < 0 || x >= sheet->width || y >= sheet->height) {
        return 0;
    }
    return sheet->pixels[y * sheet->width + x];
}

}  // namespace

FONT *FONTNew()
{
    FONT *font = new (std::nothrow) FONT{};
    if (font == nullptr) {
        FONTError();
        return nullptr;
    }
    font->cellWidth = 6;
    font->cellHeight = 6;
    return font;
}

void FONTFree(FONT **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        FONTError();
        return;
    }
    FONT *font = *handle;
    if (font->sheet != nullptr) {
        IMGFree(&font->sheet);
    }
    delete font;
    *handle = nullptr;
}

void FONTPutChar(FONT *font) { PutCell(font, IMGBlitMasked); }

void FONTPutCharOpaque(FONT *font) { PutCell(font, IMGBlit); }

void FONTPutCharAdd(FONT *font) { PutCell(font, IMGBlitAdd); }

void FONTPutHex8(FONT *font, uint32_t value)
{
    if (font == nullptr || font->sheet == nullptr) {
        FONTError();
        return;
    }
    font->code = HexDigit((value >> 4) & 0xF);
    FONTPutChar(font);
    font->code = HexDigit(value & 0xF);
    FONTPutChar(font);
}

void FONTPutHex16(FONT *font, uint32_t value)
{
    FONTPutHex8(font, value >> 8);
    FONTPutHex8(font, value);
}

void FONTPutHex32(FONT *font, uint32_t value)
{
    FONTPutHex16(font, value >> 16);
    FONTPutHex16(font, value);
}

void FONTPutLine(FONT *font, const char *text)
{
    if (font == nullptr || font->sheet == nullptr || text == nullptr) {
        FONTError();
        return;
    }
    for (const char *p = text; *p != '\0' && *p != lineEnd; ++p) {
        font->code = static_cast<unsigned char>(*p);
        FONTPutChar(font);
    }
}

void FONTPutText(FONT *font, const char *text)
{
    if (font == nullptr || text == nullptr || font->sheet == nullptr || font->target == nullptr) {
        FONTError();
        return;
    }
    const int32_t x0 = font->x;
    for (const char *p = text; *p != '\0'; ++p) {
        const int32_t code = static_cast<unsigned char>(*p);
        if (code == lineEnd) {
            font->y = WrapAdd(font->y, font->cellHeight);
            font->x = x0;
        } else {
            font->code = code;
            FONTPutCharOpaque(font);
        }
    }
}

void FONTPutBigChar(FONT *font, FONT *small)
{
    if (font == nullptr || small == nullptr || font->sheet == nullptr || font->target == nullptr ||
        small->sheet == nullptr) {
        FONTError();
        return;
    }
    small->target = font->target;
    if (font->sheet->width > 0) {
        const Corner corner = CellCorner(font, font->code);
        for (int32_t i = 0; i < font->cellHeight; ++i) {
            for (int32_t j = 0; j < font->cellWidth; ++j) {
                if (SheetPixel(font->sheet, corner.x + j, corner.y + i) != 0) {
                    small->x = WrapAdd(font->x, WrapMul(j, small->cellWidth));
                    small->y = WrapAdd(font->y, WrapMul(i, small->cellHeight));
                    FONTPutChar(small);
                }
            }
        }
    }
    font->x = WrapAdd(font->x, WrapMul(font->cellWidth, small->cellWidth));
}

void FONTError() { ModuleReport(fontReporting, "FONT Error.\n"); }

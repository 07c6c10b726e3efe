// icon: draws the program's icon from the built-in wire font.
//
//   icon SIZE FILE
//
// Writes FILE, a SIZE x SIZE RGB PNG: raster bars in the colours of the hue
// circle, dimmed, behind the wire font's "Z" drawn with a broad white pen and a
// black rim. SIZE is a multiple of 16 from 16 to 256, since the glyph grid is
// 16 units wide and the font scales by whole numbers; at 16 the pen is one
// pixel wide and has no rim. Exit status 0 when the file was written.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "capture.h"
#include "demo/assets.h"
#include "gfx/img.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"

namespace {

constexpr int32_t grid = 16;
constexpr int32_t letter = 'Z';
// The capital's strokes cover x 3..13 and y 0..13 of the glyph grid.
constexpr int32_t glyphLeft = 3;
constexpr int32_t glyphWidth = 10;
constexpr int32_t glyphHeight = 13;
constexpr uint32_t pen = 0xFFFFFF;
constexpr uint32_t rim = 0x000000;

// A colour of the hue circle (step 0 .. 5 x 256) at the given level 0 .. 255.
uint32_t Hue(int32_t step, int32_t level)
{
    const int32_t sector = (step / 256) % 6;
    const int32_t rise = step % 256;
    const int32_t fall = 255 - rise;
    int32_t r = 0;
    int32_t g = 0;
    int32_t b = 0;
    switch (sector) {
    case 0:
        r = 255;
        g = rise;
        break;
    case 1:
        r = fall;
        g = 255;
        break;
    case 2:
        g = 255;
        b = rise;
        break;
    case 3:
        g = fall;
        b = 255;
        break;
    case 4:
        r = rise;
        b = 255;
        break;
    default:
        r = 255;
        b = fall;
        break;
    }
    const auto dim = [level](int32_t channel) { return static_cast<uint32_t>(channel * level / 255); };
    return dim(r) << 16 | dim(g) << 8 | dim(b);
}

// Sixteen bars, one per glyph row, each brightest in its middle.
void DrawBars(IMG *icon, int32_t unit)
{
    for (int32_t y = 0; y < icon->height; ++y) {
        const int32_t bar = y / unit;
        const int32_t within = (y % unit) * 2 + 1;  // 1 .. 2 unit - 1
        const int32_t fromMiddle = within > unit ? within - unit : unit - within;
        const int32_t level = 150 - 90 * fromMiddle / unit;
        const uint32_t colour = Hue(bar * 6 * 256 / grid, level);
        for (int32_t x = 0; x < icon->width; ++x) {
            IMGSetPixel(icon, x, y, colour);
        }
    }
}

// Draws the glyph again and again, shifted over a square of offsets from
// -spread to width - 1 + spread, so its one-pixel lines become a broad pen;
// only where the glyph landed is the colour put into the icon.
bool Stroke(LFONT *font, IMG *mask, IMG *icon, int32_t x, int32_t y, int32_t width, int32_t spread, uint32_t colour)
{
    IMGClear(mask);
    font->target = mask;
    for (int32_t dy = -spread; dy < width + spread; ++dy) {
        for (int32_t dx = -spread; dx < width + spread; ++dx) {
            font->x = x + dx;
            font->y = y + dy;
            font->code = letter;
            LFONTPutChar(font);
        }
    }
    bool drawn = false;
    for (int32_t py = 0; py < icon->height; ++py) {
        for (int32_t px = 0; px < icon->width; ++px) {
            if (IMGGetPixel(mask, px, py) != 0) {
                IMGSetPixel(icon, px, py, colour);
                drawn = true;
            }
        }
    }
    return drawn;
}

bool Draw(int32_t size, const std::string &path)
{
    const int32_t unit = size / grid;
    const int32_t width = unit == 1 ? 1 : unit * 3 / 2;
    const int32_t border = unit / 2;
    LIST *glyphs = OBJ2DParse(fontText);
    LFONT *font = LFONTNew();
    IMG *icon = IMGNew();
    IMG *mask = IMGNew();
    bool ok = glyphs != nullptr && font != nullptr && icon != nullptr && mask != nullptr;
    if (ok) {
        IMGResize(icon, size, size);
        IMGResize(mask, size, size);
        ok = icon->width == size && mask->width == size;
    }
    if (ok) {
        font->cellWidth = grid;
        font->cellHeight = grid;
        font->scale = unit;
        font->glyphs = glyphs;
        // The pen's whole trace, centred.
        const int32_t x = (size - glyphWidth * unit - width) / 2 - glyphLeft * unit;
        const int32_t y = (size - glyphHeight * unit - width) / 2;
        DrawBars(icon, unit);
        if (border > 0) {
            ok = Stroke(font, mask, icon, x, y, width, border, rim);
        }
        ok = ok && Stroke(font, mask, icon, x, y, width, 0, pen);
    }
    std::string error;
    if (ok && !CaptureWritePng(path, icon->pixels, size, size, &error)) {
        std::cerr << "icon: cannot write " << path << ": " << error << "\n";
        ok = false;
    }
    IMGFree(&mask);
    IMGFree(&icon);
    LFONTFree(&font);
    LISTFree(&glyphs);
    return ok;
}

}  // namespace

int main(int argc, char **argv)
{
    const int32_t size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < grid || size > 256 || size % grid != 0) {
        std::cerr << "usage: icon SIZE FILE (SIZE a multiple of 16 from 16 to 256)\n";
        return 2;
    }
    return Draw(size, argv[2]) ? 0 : 1;
}

// preview: renders the built-in assets for people to look at and listen to.
//
//   preview DIRECTORY
//
// Writes into DIRECTORY:
//   glyph-sheet.ppm  every cell of the bitmap font, drawn with FONT from the
//                    decoded glyph sheet, enlarged two times;
//   wire-font.ppm    every glyph of the wire font (codes 33 to 127) drawn with
//                    LFONT, at scale 1 on top and at scale 4 below;
//   clipNN.wav       each of the sixteen clips as 16-bit mono 44100 Hz WAV.
// Exit status 0 when everything was written.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "demo/assets.h"
#include "gfx/img.h"
#include "vector/font.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"

namespace {

constexpr int32_t glyphCell = 16;
constexpr int32_t firstGlyph = 33;
constexpr int32_t lastGlyph = 127;
constexpr int32_t glyphsPerRow = 16;
constexpr int32_t sheetZoom = 2;
constexpr int32_t margin = 8;
constexpr uint32_t gridColour = 0x202840;

// Pixel-doubles src into a new image zoom times as large.
IMG *Enlarge(const IMG *src, int32_t zoom)
{
    IMG *big = IMGNew();
    IMGResize(big, src->width * zoom, src->height * zoom);
    for (int32_t y = 0; y < big->height; ++y) {
        for (int32_t x = 0; x < big->width; ++x) {
            IMGSetPixel(big, x, y, IMGGetPixel(src, x / zoom, y / zoom));
        }
    }
    return big;
}

bool GlyphSheet(const std::string &path)
{
    IMG *sheet = IMGParsePNM(glyphSheet, glyphSheetSize);
    FONT *font = FONTNew();
    IMG *page = IMGNew();
    if (sheet == nullptr || font == nullptr || page == nullptr) {
        return false;
    }
    IMGResize(page, glyphSheetWidth, glyphSheetHeight);
    // Faint cell borders, then every cell drawn masked over them.
    for (int32_t i = 0; i < glyphSheetWidth; i += glyphCell) {
        IMGDrawLine(page, i, 0, i, glyphSheetHeight - 1, gridColour);
        IMGDrawLine(page, 0, i, glyphSheetWidth - 1, i, gridColour);
    }
    font->cellWidth = glyphCell;
    font->cellHeight = glyphCell;
    font->sheet = sheet;
    font->target = page;
    for (int32_t code = 0; code < 256; ++code) {
        font->x = (code % 16) * glyphCell;
        font->y = (code / 16) * glyphCell;
        font->code = code;
        FONTPutChar(font);
    }
    IMG *big = Enlarge(page, sheetZoom);
    const bool saved = IMGSavePPM(big, path.c_str());
    IMGFree(&big);
    IMGFree(&page);
    FONTFree(&font);
    return saved;
}

void DrawGlyphs(LFONT *font, int32_t scale, int32_t top)
{
    font->scale = scale;
    const int32_t pitch = glyphCell * scale;
    for (int32_t code = firstGlyph; code <= lastGlyph; ++code) {
        const int32_t i = code - firstGlyph;
        const int32_t perRow = glyphsPerRow * 4 / scale;  // the page is four rows of 16 wide
        const int32_t x = margin + (i % perRow) * pitch;
        const int32_t y = top + (i / perRow) * pitch;
        IMGDrawRect(font->target, x, y, pitch, pitch, gridColour);
        font->x = x;
        font->y = y;
        font->code = code;
        LFONTPutChar(font);
    }
}

bool WireFont(const std::string &path)
{
    LIST *glyphs = OBJ2DParse(fontText);
    LFONT *font = LFONTNew();
    IMG *page = IMGNew();
    if (glyphs == nullptr || font == nullptr || page == nullptr) {
        return false;
    }
    const int32_t width = 2 * margin + glyphsPerRow * glyphCell * 4;
    const int32_t smallRows = 2;
    const int32_t bigRows = (lastGlyph - firstGlyph + glyphsPerRow) / glyphsPerRow;
    IMGResize(page, width, margin * 3 + smallRows * glyphCell + bigRows * glyphCell * 4);
    font->cellWidth = glyphCell;
    font->cellHeight = glyphCell;
    font->glyphs = glyphs;
    font->target = page;
    DrawGlyphs(font, 1, margin);
    DrawGlyphs(font, 4, margin * 2 + smallRows * glyphCell);
    const bool saved = IMGSavePPM(page, path.c_str());
    IMGFree(&page);
    LFONTFree(&font);
    LISTFree(&glyphs);
    return saved;
}

void Put(std::string &bytes, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

bool Clip(const std::string &path, const SAMPLE &clip)
{
    constexpr uint32_t rate = 44100;
    const uint32_t dataBytes = static_cast<uint32_t>(clip.length) * 2;
    std::string bytes = "RIFF";
    Put(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    Put(bytes, 16, 4);
    Put(bytes, 1, 2);  // PCM
    Put(bytes, 1, 2);  // mono
    Put(bytes, rate, 4);
    Put(bytes, rate * 2, 4);  // bytes per second
    Put(bytes, 2, 2);         // bytes per frame
    Put(bytes, 16, 2);        // bits per value
    bytes += "data";
    Put(bytes, dataBytes, 4);
    for (int32_t i = 0; i < clip.length; ++i) {
        Put(bytes, static_cast<uint32_t>(clip.values[i]), 2);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: preview DIRECTORY\n";
        return 2;
    }
    const std::string directory = argv[1];
    bool ok = GlyphSheet(directory + "/glyph-sheet.ppm");
    ok = WireFont(directory + "/wire-font.ppm") && ok;
    for (int32_t c = 0; c < clipCount; ++c) {
        char name[32];
        std::snprintf(name, sizeof name, "/clip%02d.wav", static_cast<int>(c));
        ok = Clip(directory + name, clipSamples[c]) && ok;
    }
    if (!ok) {
        std::cerr << "preview: could not write everything to " << directory << "\n";
        return 1;
    }
    return 0;
}

// The demo's built-in material: every font, picture, sound and text it shows,
// and the driver's fixed tables and initial values (the screen size stands in
// demo/zolt7707.h). The program reads no files; the large
// blocks below are generated at build time from the sources in assets/ by the
// tools in tools/ and linked in as the zolt_assets library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/sample.h"

// ---- Vector font ----------------------------------------------------------

// The wire font in the 2D object text format: 256 glyph objects, one per
// character code in code order (0-32 and 128-255 empty, 127 named "esc"),
// coordinates 0 to 15, every segment white. NUL-terminated.
extern const char fontText[];
// Characters in fontText, terminator excluded.
extern const size_t fontTextLength;

// ---- Glyph sheet ----------------------------------------------------------

inline constexpr int32_t glyphSheetWidth = 256;
inline constexpr int32_t glyphSheetHeight = 256;
// Bytes before the pixels: "P4\n", three comment lines, "256 256\n".
inline constexpr size_t glyphSheetHeaderSize = 93;
inline constexpr size_t glyphSheetPixelBytes = 256 / 8 * 256;
inline constexpr size_t glyphSheetSize = glyphSheetHeaderSize + glyphSheetPixelBytes;

// The bitmap font's glyph sheet as a raw PBM: 16 x 16 cells of 16 x 16 pixels,
// code c in cell column c mod 16, cell row c / 16; a set bit is ink (white).
// Holds exactly glyphSheetSize bytes and is not NUL-terminated.
extern const unsigned char glyphSheet[glyphSheetSize];

// ---- Scroll text ----------------------------------------------------------

inline constexpr int32_t scrollTextLines = 65;
inline constexpr size_t scrollTextLength = 1233;

// The text the three scrollers show: 65 lines, each ended by "\n". NUL-terminated.
extern const char scrollTextData[scrollTextLength + 1];
// The pointer the scrollers are given; it always points at scrollTextData.
extern const char *const scrollText;

// ---- Sound clips ----------------------------------------------------------

inline constexpr int32_t clipCount = 16;
// Values in use in each clip: a quarter second at 44100 values per second.
inline constexpr int32_t clipLength = 11024;
// Words stored per clip; the last one lies outside the clip's length.
inline constexpr int32_t clipWords = 11025;
// Bounds of every clip value; with the music's 3/4 + 1/4 mix the loop stays
// within the signed 16-bit range.
inline constexpr int32_t clipMinimum = -26954;
inline constexpr int32_t clipMaximum = 27768;

// The sixteen clips' data blocks, back to back in clip order.
extern const int32_t clipData[clipCount][clipWords];
// Static sample records over clipData, length and capacity clipLength. Read
// only: copy them with SAMPLECopy, never free, resize or write them.
extern const SAMPLE clipSamples[clipCount];

// ---- Driver constants -----------------------------------------------------

// The hue circle in steps of 30 degrees, 0x00RRGGBB, used by the raster bars.
inline constexpr int32_t colourWheelCount = 12;
inline constexpr uint32_t colourWheel[colourWheelCount] = {
    0xFF0000, 0xFF8000, 0xFFFF00, 0x80FF00, 0x00FF00, 0x00FF80,
    0x00FFFF, 0x0080FF, 0x0000FF, 0x8000FF, 0xFF00FF, 0xFF0080,
};
static_assert(sizeof colourWheel / sizeof colourWheel[0] == colourWheelCount);

// Initial values of the driver's switches.
inline constexpr bool initialNextPart = false;
inline constexpr bool initialShowFps = false;
inline constexpr bool initialBlurOn = false;
inline constexpr bool initialFadeOn = true;
inline constexpr bool initialRadialsOn = false;
inline constexpr uint32_t initialFadeColour = 0x010101;

// The line the driver's error reporter prints.
inline constexpr const char zolt7707ErrorMessage[] = "ZOLT7707 Error.\n";

// The main module's identity record in full: name, date, author, language,
// kind, then the three embedded texts (the wire font, the glyph sheet's bytes,
// the scroll text).
inline constexpr int32_t zolt7707IdentityFields = 8;
extern const char *const zolt7707IdentityRecord[zolt7707IdentityFields];

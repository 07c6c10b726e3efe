// RASTER: a cyclic list of colours, one per image row, drawn by filling each
// row with its colour. Every refused call prints "RASTER error\n".
#pragma once

#include <cstdint>

struct IMG;

inline constexpr const char *RASTERIdentity[] = {"RASTER", "20090816", "QXW", "C"};

struct RASTER {
    int32_t size;      // number of colours
    int32_t offset;    // index of the colour drawn on row 0, 0 <= offset < size
    int32_t *colours;  // owned, size values 0x00RRGGBB; null when size is 0
};

// A list of 256 black colours, or null.
RASTER *RASTERNew();
// Frees the colours and the record; clears the handle.
void RASTERFree(RASTER **handle);
// n >= 0 black colours and offset 0; returns the raster, or null when refused
// (a negative n or no memory: the old list is kept).
RASTER *RASTERSetSize(RASTER *raster, int32_t n);
// Every colour to black.
void RASTERClear(RASTER *raster);
// A new raster with the same colours and offset 0, or null.
RASTER *RASTERCopy(const RASTER *raster);
// True when size and every colour match; a null argument is refused (false).
bool RASTEREqual(const RASTER *a, const RASTER *b);
// Scrolls by one colour, back to 0 at the end of the list.
void RASTERStep(RASTER *raster);
// Box-blurs the list with radius > 0: upper neighbours wrap, lower ones mirror at 0.
void RASTERSmooth(RASTER *raster, int32_t radius);
// Fills every image row with its colour; refused for an image without pixels.
void RASTERDraw(const RASTER *raster, IMG *image);
// Blends every row towards its colour by weight 0 .. 256 (256 draws, 0 keeps).
void RASTERDrawBlend(const RASTER *raster, IMG *image, int32_t weight);
// A new raster of size 0 when the file opens for reading; nothing is read. Null otherwise.
RASTER *RASTERLoad(const char *name);
// Creates or empties the file and writes nothing; refused for an empty raster.
bool RASTERSave(const RASTER *raster, const char *name);
// No text form: always null.
char *RASTERToASCII(const RASTER *raster);
// No text form: always null.
RASTER *RASTERFromASCII(const char *text);
void RASTERError();

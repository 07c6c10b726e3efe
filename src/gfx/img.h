// IMG: the system's one raster type, a rectangle of 32-bit pixels 0x00RRGGBB in
// memory, with its drawing primitives, its text and anymap (PBM/PGM/PPM) forms
// and its whole-image effects. The record owns its pixel array.
//
// Pixel (x, y) is pixels[x + y * width]; x grows to the right, y downwards.
// A pixel 0 (black) counts as transparent for every masked operation.
// Bad arguments make IMGError report (silent in this build) and the operation
// returns its neutral result (null, false or 0) without changing anything.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr const char *IMGIdentity[] = {"IMG     ", "20120409", "VORNHALD", "C       ", "CODE    "};

struct IMG {
    int32_t width;     // columns
    int32_t height;    // rows
    uint32_t *pixels;  // width x height pixels, row-major, zero-filled when allocated
};

// ---- Buffer: lifecycle, pixel access and drawing primitives ----

// A new 16 x 16 black image, or null when memory runs out.
IMG *IMGNew();
// Releases the pixels and the record and nulls *handle; a null handle or *handle only reports.
void IMGFree(IMG **handle);
// A new image of the same size and pixels; null for a null image or when memory runs out.
IMG *IMGCopy(const IMG *src);
// Same width, height and pixels; false (with a report) when either image or its pixels is null.
bool IMGEqual(const IMG *a, const IMG *b);
void IMGError();
// Replaces the pixels with w x h black ones (old content dropped). Negative sizes, more than
// INT32_MAX pixels or no memory: reported, the image keeps its old size and pixels.
void IMGResize(IMG *img, int32_t w, int32_t h);
// Sets every pixel to 0.
void IMGClear(IMG *img);
// Copies all pixels of src into dst; the sizes must be equal, else nothing is copied.
void IMGCopyPixels(const IMG *src, IMG *dst);
// Writes one pixel; positions outside the image are skipped silently.
void IMGSetPixel(IMG *img, int32_t x, int32_t y, uint32_t colour);
// The pixel at (x, y); 0 outside the image (silently) and for a null image (reported).
uint32_t IMGGetPixel(const IMG *img, int32_t x, int32_t y);
// Line with both end points, written point by point through IMGSetPixel (clipped).
void IMGDrawLine(IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);
// Fills the w x h rectangle at (x, y); it must lie wholly inside with w, h > 0, else nothing.
void IMGFillRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// The outline of the rectangle of IMGFillRect, under the same wholly-inside rule.
void IMGDrawRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// Circle outline of radius r > 0 about a centre inside the image; points are clipped.
void IMGDrawCircle(IMG *img, int32_t cx, int32_t cy, int32_t r, uint32_t colour);
// A new[] array: element 0 is the count of ints that follow, then the x, y pairs of the
// points of IMGDrawLine in drawing order. Null when the count would not fit in 32 bits.
int32_t *IMGLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// The blits: the w x h rectangle at (sx, sy) of src combined into dst at (dx, dy), pair by
// pair, only where both pixels lie inside their images. d = s.
void IMGBlit(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
// d = s where s != 0.
void IMGBlitMasked(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
// d = d + s as one 32-bit addition (channel overflow carries into the next channel).
void IMGBlitAdd(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
// Per channel min(255, d + s); top byte 0.
void IMGBlitAddSaturate(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
// Masked copy of source (sx + i, sy + j) to (dx + i * stepx, dy + j * stepy), pairs inside
// both images only; steps below 1 are reported and nothing is drawn.
void IMGBlitSpaced(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h,
                   int32_t stepx, int32_t stepy);
// Copies min(widths) pixels of row srow of src into row drow of dst; invalid rows: nothing.
void IMGCopyRow(const IMG *src, IMG *dst, int32_t srow, int32_t drow);
// Masked copy of row srow into row drow, source column i at (offset + i) mod dst width.
void IMGCopyRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset);
// As IMGCopyRowWrap, but every taken pixel (zeros included) is ORed into dst.
void IMGOrRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset);
// Masked copy of column scol into column dcol, source row j at (offset + j) mod dst height.
void IMGCopyColumnWrap(const IMG *src, IMG *dst, int32_t scol, int32_t dcol, int32_t offset);

// ---- Text form and anymap files ----

// "IMG{\nP3\n<w> <h>\n255\n", then "%3d " per channel, six pixels a line, then "}\n";
// an image without pixels (0 x h) is "IMG{}". Null image or pixels: null. Release with delete[].
char *IMGToASCII(const IMG *img);
// Reads the text form back; null when "IMG", "{" or "P3\n" is missing or the text ends early.
IMG *IMGFromASCII(const char *text);
// Reads a P1-P6 anymap file; null when the file cannot be read, the magic is not P1-P6,
// width or height is 0 or too large, or the file ends before its pixels do.
IMG *IMGLoadPNM(const char *path);
// Reads a P1-P6 anymap from size bytes of memory (P4 width rounded up to a multiple of 8,
// P1 one digit a pixel); null under the same conditions as IMGLoadPNM.
IMG *IMGParsePNM(const unsigned char *data, std::size_t size);
// Writes a raw PPM (P6 header with one comment line, then r, g, b bytes per pixel).
// False for a null or empty image, a null path or a file that cannot be written.
bool IMGSavePPM(const IMG *img, const char *path);
// The index just after the first occurrence of pattern in text; 0 when absent or null.
int32_t IMGFindText(const char *text, const char *pattern);

// ---- Whole-image effects ----

// Per channel max(0, pixel - colour); top byte 0.
void IMGFade(IMG *img, uint32_t colour);
// src at (x, y) in dst, clipped: d = s / 2 + d / 2 per channel where s != 0.
void IMGBlend(const IMG *src, IMG *dst, int32_t x, int32_t y);
// p = NOT p AND 0xFFFFFF for every pixel.
void IMGInvert(IMG *img);
// p = NOT p (all 32 bits, top byte included) inside the rectangle, clipped to the image.
void IMGInvertRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h);
// dst pixel i &= mask pixel i for every index of mask; refused when mask has more pixels than dst.
void IMGAndMask(const IMG *mask, IMG *dst);
// Nearest-neighbour resampling of the whole of src into dst at dst's current size.
void IMGScale(const IMG *src, IMG *dst);
// A new image 1.414 times src's size holding src turned about its centre by angle
// (1/1024 turns); angle 0 is a half turn. Null for a null src or when memory runs out.
IMG *IMGRotate(const IMG *src, int32_t angle);
// A new[] array of min(|p|, |q|) + 1 run lengths splitting max(|p|, |q|) + 1 steps;
// null when |p| or |q| is INT32_MAX or more, or when memory runs out.
int32_t *IMGRunTable(int32_t p, int32_t q);
// A new[] array of min(|p|, |q|) run lengths built from both ends; null as IMGRunTable.
int32_t *IMGRunTableMirrored(int32_t p, int32_t q);

// ---- Row spans ----

// Sets columns first .. last of row y, clipped to the image; null image or pixels: reported.
void IMGFillSpan(IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour);
// Blends the span of IMGFillSpan towards colour by weight / 256 (0 .. 256, else reported), top byte 0.
void IMGBlendSpan(IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour, int32_t weight);

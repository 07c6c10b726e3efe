// IMGFX: the second image module. It works on the very same record as IMG (an IMGFX
// is an IMG, and images pass freely between the two modules) and every operation
// behaves as its IMG namesake; the two differ only in their identity, their error
// reporter IMGFXError, the text tag "IMGFX" and the box blur IMGFXBlur, which only
// this module has. Bad arguments make IMGFXError report (silent in this build).
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/img.h"

inline constexpr const char *IMGFXIdentity[] = {"IMGFX   ", "20120410", "VORNHALD", "C       ", "CODE    "};

using IMGFX = IMG;

// ---- Buffer: lifecycle, pixel access and drawing primitives ----

// A new 16 x 16 black image, or null when memory runs out.
IMG *IMGFXNew();
// Releases the pixels and the record and nulls *handle; a null handle or *handle only reports.
void IMGFXFree(IMG **handle);
// A new image of the same size and pixels; null for a null image or when memory runs out.
IMG *IMGFXCopy(const IMG *src);
// Same width, height and pixels; false (with a report) when either image or its pixels is null.
bool IMGFXEqual(const IMG *a, const IMG *b);
void IMGFXError();
// Replaces the pixels with w x h black ones (old content dropped). Negative sizes, more than
// INT32_MAX pixels or no memory: reported, the image keeps its old size and pixels.
void IMGFXResize(IMG *img, int32_t w, int32_t h);
// Sets every pixel to 0.
void IMGFXClear(IMG *img);
// Copies all pixels of src into dst; the sizes must be equal, else nothing is copied.
void IMGFXCopyPixels(const IMG *src, IMG *dst);
// Writes one pixel; positions outside the image are skipped silently.
void IMGFXSetPixel(IMG *img, int32_t x, int32_t y, uint32_t colour);
// The pixel at (x, y); 0 outside the image (silently) and for a null image (reported).
uint32_t IMGFXGetPixel(const IMG *img, int32_t x, int32_t y);
// Line with both end points, written point by point through IMGSetPixel (clipped).
void IMGFXDrawLine(IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);
// Fills the w x h rectangle at (x, y); it must lie wholly inside with w, h > 0, else nothing.
void IMGFXFillRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// The outline of the rectangle of IMGFillRect, under the same wholly-inside rule.
void IMGFXDrawRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// Circle outline of radius r > 0 about a centre inside the image; points are clipped.
void IMGFXDrawCircle(IMG *img, int32_t cx, int32_t cy, int32_t r, uint32_t colour);
// A new[] array: element 0 is the count of ints that follow, then the x, y pairs of the
// points of IMGDrawLine in drawing order. Null when the count would not fit in 32 bits.
int32_t *IMGFXLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// The blits: the w x h rectangle at (sx, sy) of src combined into dst at (dx, dy), pair by
// pair, only where both pixels lie inside their images. d = s.
void IMGFXBlit(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
// d = s where s != 0.
void IMGFXBlitMasked(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
// d = d + s as one 32-bit addition (channel overflow carries into the next channel).
void IMGFXBlitAdd(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
// Per channel min(255, d + s); top byte 0.
void IMGFXBlitAddSaturate(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                          int32_t h);
// Masked copy of source (sx + i, sy + j) to (dx + i * stepx, dy + j * stepy), pairs inside
// both images only; steps below 1 are reported and nothing is drawn.
void IMGFXBlitSpaced(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h,
                     int32_t stepx, int32_t stepy);
// Copies min(widths) pixels of row srow of src into row drow of dst; invalid rows: nothing.
void IMGFXCopyRow(const IMG *src, IMG *dst, int32_t srow, int32_t drow);
// Masked copy of row srow into row drow, source column i at (offset + i) mod dst width.
void IMGFXCopyRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset);
// As IMGCopyRowWrap, but every taken pixel (zeros included) is ORed into dst.
void IMGFXOrRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset);
// Masked copy of column scol into column dcol, source row j at (offset + j) mod dst height.
void IMGFXCopyColumnWrap(const IMG *src, IMG *dst, int32_t scol, int32_t dcol, int32_t offset);

// ---- Text form and anymap files ----

// "IMGFX{\nP3\n<w> <h>\n255\n", then "%3d " per channel, six pixels a line, then "}\n";
// an image without pixels (0 x h) is "IMGFX{}". Null image or pixels: null. Release with delete[].
char *IMGFXToASCII(const IMG *img);
// Reads the text form back; null when "IMGFX", "{" or "P3\n" is missing or the text ends early.
IMG *IMGFXFromASCII(const char *text);
// Reads a P1-P6 anymap file; null when the file cannot be read, the magic is not P1-P6,
// width or height is 0 or too large, or the file ends before its pixels do.
IMG *IMGFXLoadPNM(const char *path);
// Reads a P1-P6 anymap from size bytes of memory (P4 width rounded up to a multiple of 8,
// P1 one digit a pixel); null under the same conditions as IMGLoadPNM.
IMG *IMGFXParsePNM(const unsigned char *data, std::size_t size);
// Writes a raw PPM (P6 header with one comment line, then r, g, b bytes per pixel).
// False for a null or empty image, a null path or a file that cannot be written.
bool IMGFXSavePPM(const IMG *img, const char *path);
// The index just after the first occurrence of pattern in text; 0 when absent or null.
int32_t IMGFXFindText(const char *text, const char *pattern);

// ---- Whole-image effects ----

// Per channel max(0, pixel - colour); top byte 0.
void IMGFXFade(IMG *img, uint32_t colour);
// src at (x, y) in dst, clipped: d = s / 2 + d / 2 per channel where s != 0.
void IMGFXBlend(const IMG *src, IMG *dst, int32_t x, int32_t y);
// p = NOT p AND 0xFFFFFF for every pixel.
void IMGFXInvert(IMG *img);
// p = NOT p (all 32 bits, top byte included) inside the rectangle, clipped to the image.
void IMGFXInvertRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h);
// dst pixel i &= mask pixel i for every index of mask; refused when mask has more pixels than dst.
void IMGFXAndMask(const IMG *mask, IMG *dst);
// Nearest-neighbour resampling of the whole of src into dst at dst's current size.
void IMGFXScale(const IMG *src, IMG *dst);
// A new image 1.414 times src's size holding src turned about its centre by angle
// (1/1024 turns); angle 0 is a half turn. Null for a null src or when memory runs out.
IMG *IMGFXRotate(const IMG *src, int32_t angle);
// A new[] array of min(|p|, |q|) + 1 run lengths splitting max(|p|, |q|) + 1 steps;
// null when |p| or |q| is INT32_MAX or more, or when memory runs out.
int32_t *IMGFXRunTable(int32_t p, int32_t q);
// A new[] array of min(|p|, |q|) run lengths built from both ends; null as IMGRunTable.
int32_t *IMGFXRunTableMirrored(int32_t p, int32_t q);

// ---- Blur ----

// Box blur of radius r: each channel of dst (x, y) is the truncated mean of the
// (2r + 1)^2 source pixels around src (x, y), pixels outside src counting as black.
// dst may differ in size (pixels outside it are dropped). Null images, or src and dst
// sharing their pixels: reported, nothing drawn.
void IMGFXBlur(const IMG *src, IMG *dst, uint32_t r);

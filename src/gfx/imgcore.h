// The one implementation behind IMG and IMGFX. Both modules work on the same
// record; they differ only in their error reporter and their text tag, which every
// operation here takes as its first argument, so each public operation of the two
// modules is a one-line call into this code, which lives in three sources: the
// buffer and its drawing (imgcore.cpp), the text and anymap forms (imgform.cpp) and
// the whole-image effects (imgeffects.cpp). Private to src/gfx: include it from
// img.cpp, imgfx.cpp and those three only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/img.h"

namespace imgcore {

using Reporter = void (*)();

// What sets one image module apart from the other.
struct Module {
    Reporter error;   // called once for every failed check
    const char *tag;  // text-form tag: "IMG" or "IMGFX"
};

IMG *New(const Module &m);
void Free(const Module &m, IMG **handle);
IMG *Copy(const Module &m, const IMG *src);
bool Equal(const Module &m, const IMG *a, const IMG *b);
void Resize(const Module &m, IMG *img, int32_t w, int32_t h);
void Clear(const Module &m, IMG *img);
void CopyPixels(const Module &m, const IMG *src, IMG *dst);
void SetPixel(const Module &m, IMG *img, int32_t x, int32_t y, uint32_t colour);
uint32_t GetPixel(const Module &m, const IMG *img, int32_t x, int32_t y);
void DrawLine(const Module &m, IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);
void FillRect(const Module &m, IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void DrawRect(const Module &m, IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void DrawCircle(const Module &m, IMG *img, int32_t cx, int32_t cy, int32_t r, uint32_t colour);
int32_t *LinePoints(const Module &m, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void Blit(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
          int32_t h);
void BlitMasked(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                int32_t h);
void BlitAdd(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
             int32_t h);
void BlitAddSaturate(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                     int32_t w, int32_t h);
void BlitSpaced(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                int32_t h, int32_t stepx, int32_t stepy);
void CopyRow(const Module &m, const IMG *src, IMG *dst, int32_t srow, int32_t drow);
void CopyRowWrap(const Module &m, const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset);
void OrRowWrap(const Module &m, const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset);
void CopyColumnWrap(const Module &m, const IMG *src, IMG *dst, int32_t scol, int32_t dcol, int32_t offset);
void FillSpan(const Module &m, IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour);
void BlendSpan(const Module &m, IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour, int32_t weight);

char *ToASCII(const Module &m, const IMG *img);
IMG *FromASCII(const Module &m, const char *text);
IMG *LoadPNM(const Module &m, const char *path);
IMG *ParsePNM(const Module &m, const unsigned char *data, std::size_t size);
bool SavePPM(const Module &m, const IMG *img, const char *path);
int32_t FindText(const Module &m, const char *text, const char *pattern);

void Fade(const Module &m, IMG *img, uint32_t colour);
void Blend(const Module &m, const IMG *src, IMG *dst, int32_t x, int32_t y);
void Invert(const Module &m, IMG *img);
void InvertRect(const Module &m, IMG *img, int32_t x, int32_t y, int32_t w, int32_t h);
void AndMask(const Module &m, const IMG *mask, IMG *dst);
void Scale(const Module &m, const IMG *src, IMG *dst);
IMG *Rotate(const Module &m, const IMG *src, int32_t angle);
int32_t *RunTable(const Module &m, int32_t p, int32_t q);
int32_t *RunTableMirrored(const Module &m, int32_t p, int32_t q);

}  // namespace imgcore

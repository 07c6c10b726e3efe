// The image core's pixel buffer: lifecycle, pixel access, lines, rectangles,
// circles, blits and row and column copies.
#include "gfx/imgcore.h"

#include "gfx/imgpixels.h"
#include "gfx/sine.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace imgcore {
namespace {

constexpr int32_t newSide = 16;
// Span blend weights are in 256ths: 256 takes the colour whole.
constexpr int32_t fullWeight = 256;

// The rectangle of the fill and outline lies wholly inside the image.
bool RectInside(const IMG *img, int32_t x, int32_t y, int32_t w, int32_t h)
{
    return Usable(img) && x >= 0 && y >= 0 && x < img->width && y < img->height && w > 0 && h > 0 &&
           int64_t{x} + w <= img->width && int64_t{y} + h <= img->height;
}

// ---- Lines ----

// Visits the points of the line from (x0, y0) to (x1, y1) in drawing order. The
// minor axis steps once the error term reaches 0, but only when the line extends
// along it at all, so one-step lines end on their own end point.
template <typename Visit>
void WalkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Visit visit)
{
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    const int64_t stepx = dx < 0 ? -1 : 1;
    const int64_t stepy = dy < 0 ? -1 : 1;
    const int64_t ax = dx < 0 ? -dx : dx;
    const int64_t ay = dy < 0 ? -dy : dy;
    int64_t x = x0;
    int64_t y = y0;
    if (ax > ay) {
        int64_t e = ax >> 1;
        for (int64_t n = 0; n <= ax; ++n) {
            visit(x, y);
            x += stepx;
            e -= ay;
            if (e <= 0 && ay != 0) {
                e += ax;
                y += stepy;
            }
        }
    } else {
        int64_t e = ay >> 1;
        for (int64_t n = 0; n <= ay; ++n) {
            visit(x, y);
            y += stepy;
            e -= ax;
            if (e <= 0 && ax != 0) {
                e += ay;
                x += stepx;
            }
        }
    }
}

// Smallest integer k with k * b >= a, and largest with k * b <= a, for b > 0.
int64_t CeilDiv(int64_t a, int64_t b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Lines this long or longer along their major axis are left to the checked walk:
// below it no product in ClippedLine leaves 62 bits.
constexpr int64_t longLine = int64_t{1} << 31;

// Writes the points of WalkLine that lie inside img, having worked out once which
// points those are, so the pixels are written without a check each. False, with
// nothing written, for the lines it leaves to the checked walk: those of one or two
// points, and those of longLine or more.
//
// Along the major axis u point n lies at u0 + n * su. The walk's error term after n
// steps is e0 - n * av + k * au with k the minor steps taken so far; for au >= 2 the
// start e0 = au / 2 is at least 1 and every step keeps the term in 1 .. au, which
// fixes k = floor((n * av - e0) / au) + 1 (k = 0 when av = 0): point n lies at
// v0 + k * sv on the minor axis v. k never falls as n grows, so the points inside
// are one run n = first .. last, found from the two axes' limits.
bool ClippedLine(IMG *img, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t colour)
{
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    const int64_t ax = dx < 0 ? -dx : dx;
    const int64_t ay = dy < 0 ? -dy : dy;
    // The same choice of major axis as WalkLine: x only when strictly longer.
    const bool xMajor = ax > ay;
    const int64_t au = xMajor ? ax : ay;
    const int64_t av = xMajor ? ay : ax;
    if (au < 2 || au >= longLine) {
        return false;
    }
    const int64_t u0 = xMajor ? x0 : y0;
    const int64_t v0 = xMajor ? y0 : x0;
    const int64_t su = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t sv = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t uSize = xMajor ? img->width : img->height;
    const int64_t vSize = xMajor ? img->height : img->width;
    const int64_t e0 = au >> 1;
    // Points whose major coordinate lies inside.
    int64_t first = std::max<int64_t>(0, su > 0 ? -u0 : u0 - (uSize - 1));
    int64_t last = std::min<int64_t>(au, su > 0 ? uSize - 1 - u0 : u0);
    // Minor step counts whose minor coordinate lies inside; k runs from 0 to av.
    const int64_t kLow = std::max<int64_t>(0, sv > 0 ? -v0 : v0 - (vSize - 1));
    const int64_t kHigh = std::min<int64_t>(av, sv > 0 ? vSize - 1 - v0 : v0);
    if (kLow > kHigh) {
        return true;
    }
    // k >= kLow from n * av - e0 >= (kLow - 1) * au; k <= kHigh from n * av - e0 < kHigh * au.
    // Both hold for every point when the minor axis does not leave the image (kLow = 0,
    // kHigh = av), which spares the divisions for the many short lines wholly inside.
    if (kLow > 0) {
        first = std::max(first, CeilDiv((kLow - 1) * au + e0, av));
    }
    if (kHigh < av) {
        last = std::min(last, FloorDiv(kHigh * au + e0 - 1, av));
    }
    if (first > last) {
        return true;
    }
    const int64_t k = first > 0 && av > 0 ? FloorDiv(first * av - e0, au) + 1 : 0;
    int64_t e = e0 - first * av + k * au;
    const int64_t u = u0 + first * su;
    const int64_t v = v0 + k * sv;
    const int64_t width = img->width;
    int64_t at = xMajor ? u + v * width : v + u * width;
    const int64_t uStride = xMajor ? su : su * width;
    const int64_t vStride = xMajor ? sv * width : sv;
    uint32_t *const pixels = img->pixels;
    for (int64_t n = first; n <= last; ++n) {
        pixels[at] = colour;
        at += uStride;
        // With av = 0 the term stays at e0 >= 1: no minor step, as in WalkLine. A
        // branch, not a mask: it keeps the term's chain of dependent steps short.
        e -= av;
        if (e <= 0) {
            e += au;
            at += vStride;
        }
    }
    return true;
}

// ---- Rectangle and row copies ----

// The range of i for which start + i * step lies in 0 .. limit - 1 (step > 0).
void StepRange(int64_t start, int64_t step, int64_t limit, int64_t &from, int64_t &to)
{
    from = std::max<int64_t>(from, CeilDiv(-start, step));
    to = std::min<int64_t>(to, CeilDiv(limit - start, step));
}

// The wrap copies: count pixels taken from the source line, pixel i going to
// destination position (offset + i) mod size. Positions are element indices.
template <typename Combine>
void WrapWith(const IMG *src, IMG *dst, std::size_t srcStart, std::size_t srcStride, std::size_t dstStart,
              std::size_t dstStride, int64_t count, int64_t size, int32_t offset, Combine combine)
{
    if (count <= 0 || size <= 0) {
        return;
    }
    int64_t at = offset % size;
    if (at < 0) {
        at += size;
    }
    for (int64_t i = 0; i < count; ++i) {
        const uint32_t s = src->pixels[srcStart + static_cast<std::size_t>(i) * srcStride];
        combine(s, dst->pixels[dstStart + static_cast<std::size_t>(at) * dstStride]);
        if (++at == size) {
            at = 0;
        }
    }
}

void Masked(uint32_t s, uint32_t &d)
{
    if (s != 0) {
        d = s;
    }
}

// ---- Row spans ----

// Clips columns first .. last of row y to the image; false when nothing is left. Only
// the pixels must be there: a negative size leaves nothing, as no row or column fits.
bool ClipSpan(const IMG *img, int32_t y, int32_t &first, int32_t &last)
{
    if (y < 0 || y >= img->height) {
        return false;
    }
    first = std::max(first, 0);
    last = std::min(last, img->width - 1);
    return first <= last;
}

}  // namespace

// ---- Buffer ----

IMG *New(const Module &m)
{
    IMG *img = NewImage(newSide, newSide);
    if (img == nullptr) {
        m.error();
    }
    return img;
}

void Free(const Module &m, IMG **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        m.error();
        return;
    }
    FreeImage(*handle);
    *handle = nullptr;
}

IMG *Copy(const Module &m, const IMG *src)
{
    if (!Usable(src)) {
        m.error();
        return nullptr;
    }
    IMG *img = NewImage(src->width, src->height);
    if (img == nullptr) {
        m.error();
        return nullptr;
    }
    std::copy(src->pixels, src->pixels + PixelCount(src), img->pixels);
    return img;
}

bool Equal(const Module &m, const IMG *a, const IMG *b)
{
    if (!Usable(a) || !Usable(b)) {
        m.error();
        return false;
    }
    return a->width == b->width && a->height == b->height &&
           std::equal(a->pixels, a->pixels + PixelCount(a), b->pixels);
}

void Resize(const Module &m, IMG *img, int32_t w, int32_t h)
{
    uint32_t *pixels = img == nullptr ? nullptr : NewPixels(w, h);
    if (pixels == nullptr) {
        m.error();
        return;
    }
    delete[] img->pixels;
    img->pixels = pixels;
    img->width = w;
    img->height = h;
}

void Clear(const Module &m, IMG *img)
{
    if (!Usable(img)) {
        m.error();
        return;
    }
    std::fill(img->pixels, img->pixels + PixelCount(img), 0u);
}

void CopyPixels(const Module &m, const IMG *src, IMG *dst)
{
    if (!Usable(src) || !Usable(dst) || src->width != dst->width || src->height != dst->height) {
        m.error();
        return;
    }
    std::copy(src->pixels, src->pixels + PixelCount(src), dst->pixels);
}

void SetPixel(const Module &m, IMG *img, int32_t x, int32_t y, uint32_t colour)
{
    if (!Usable(img)) {
        m.error();
        return;
    }
    Put(img, x, y, colour);
}

uint32_t GetPixel(const Module &m, const IMG *img, int32_t x, int32_t y)
{
    if (!Usable(img)) {
        m.error();
        return 0;
    }
    return Get(img, x, y);
}

void DrawLine(const Module &m, IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour)
{
    if (!Usable(img)) {
        m.error();
        return;
    }
    if (!ClippedLine(img, x0, y0, x1, y1, colour)) {
        WalkLine(x0, y0, x1, y1, [&](int64_t x, int64_t y) { Put(img, x, y, colour); });
    }
}

void FillRect(const Module &m, IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    if (!RectInside(img, x, y, w, h)) {
        m.error();
        return;
    }
    for (int32_t j = y; j < y + h; ++j) {
        uint32_t *row = img->pixels + Index(img, x, j);
        std::fill(row, row + w, colour);
    }
}

void DrawRect(const Module &m, IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    if (!RectInside(img, x, y, w, h)) {
        m.error();
        return;
    }
    for (int32_t i = x; i < x + w; ++i) {
        Put(img, i, y, colour);
        Put(img, i, y + h - 1, colour);
    }
    for (int32_t j = y; j < y + h; ++j) {
        Put(img, x, j, colour);
        Put(img, x + w - 1, j, colour);
    }
}

void DrawCircle(const Module &m, IMG *img, int32_t cx, int32_t cy, int32_t r, uint32_t colour)
{
    if (!Usable(img) || !Inside(img, cx, cy) || r <= 0) {
        m.error();
        return;
    }
    // A quarter turn of the table, one entry a step: a 16.16 counter advancing by
    // exactly 1.0 from 0 has k as its integer part, and 256 + k stays inside the
    // table. Each point is mirrored into the other three quarters.
    for (int32_t k = 0; k < 256; ++k) {
        const int64_t u = (int64_t{r} * sineTable.entries[k]) >> 15;
        const int64_t v = (int64_t{r} * sineTable.entries[k + 256]) >> 15;
        // Symmetric about x = cx - 0.5: the right half sits one column left of the mirror.
        Put(img, cx + v - 1, cy + u, colour);
        Put(img, cx - v, cy + u, colour);
        Put(img, cx + v - 1, cy - u, colour);
        Put(img, cx - v, cy - u, colour);
    }
}

int32_t *LinePoints(const Module &m, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const int64_t ax = std::abs(int64_t{x1} - x0);
    const int64_t ay = std::abs(int64_t{y1} - y0);
    const int64_t ints = 2 * (std::max(ax, ay) + 1);
    if (ints >= INT32_MAX) {
        m.error();
        return nullptr;
    }
    int32_t *points = new (std::nothrow) int32_t[static_cast<std::size_t>(ints + 1)];
    if (points == nullptr) {
        m.error();
        return nullptr;
    }
    points[0] = static_cast<int32_t>(ints);
    int32_t *at = points + 1;
    WalkLine(x0, y0, x1, y1, [&](int64_t x, int64_t y) {
        *at++ = static_cast<int32_t>(x);
        *at++ = static_cast<int32_t>(y);
    });
    return points;
}

void Blit(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
          int32_t h)
{
    BlitWith(m, src, dst, sx, sy, dx, dy, w, h, [](uint32_t s, uint32_t &d) { d = s; });
}

void BlitMasked(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                int32_t h)
{
    BlitWith(m, src, dst, sx, sy, dx, dy, w, h, Masked);
}

void BlitAdd(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
             int32_t h)
{
    BlitWith(m, src, dst, sx, sy, dx, dy, w, h, [](uint32_t s, uint32_t &d) { d += s; });
}

void BlitAddSaturate(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                     int32_t w, int32_t h)
{
    BlitWith(m, src, dst, sx, sy, dx, dy, w, h, [](uint32_t s, uint32_t &d) {
        uint32_t sum = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            sum |= std::min<uint32_t>(255u, Channel(s, shift) + Channel(d, shift)) << shift;
        }
        d = sum;
    });
}

void BlitSpaced(const Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                int32_t h, int32_t stepx, int32_t stepy)
{
    if (!Usable(src) || !Usable(dst) || stepx < 1 || stepy < 1) {
        m.error();
        return;
    }
    // Columns i whose source and spread-out destination both lie inside; rows alike.
    int64_t i0 = std::max<int64_t>(0, -int64_t{sx});
    int64_t i1 = std::min<int64_t>(w, int64_t{src->width} - sx);
    int64_t j0 = std::max<int64_t>(0, -int64_t{sy});
    int64_t j1 = std::min<int64_t>(h, int64_t{src->height} - sy);
    StepRange(dx, stepx, dst->width, i0, i1);
    StepRange(dy, stepy, dst->height, j0, j1);
    for (int64_t j = j0; j < j1; ++j) {
        for (int64_t i = i0; i < i1; ++i) {
            Masked(src->pixels[Index(src, sx + i, sy + j)], dst->pixels[Index(dst, dx + i * stepx, dy + j * stepy)]);
        }
    }
}

void CopyRow(const Module &m, const IMG *src, IMG *dst, int32_t srow, int32_t drow)
{
    if (!Usable(src) || !Usable(dst) || srow < 0 || srow >= src->height || drow < 0 || drow >= dst->height) {
        m.error();
        return;
    }
    const int32_t n = std::min(src->width, dst->width);
    std::copy_n(src->pixels + Index(src, 0, srow), n, dst->pixels + Index(dst, 0, drow));
}

void CopyRowWrap(const Module &m, const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset)
{
    if (!Usable(src) || !Usable(dst) || srow < 0 || srow >= src->height || drow < 0 || drow >= dst->height) {
        m.error();
        return;
    }
    WrapWith(src, dst, Index(src, 0, srow), 1, Index(dst, 0, drow), 1, std::min(src->width, dst->width), dst->width,
             offset, Masked);
}

void OrRowWrap(const Module &m, const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset)
{
    if (!Usable(src) || !Usable(dst) || srow < 0 || srow >= src->height || drow < 0 || drow >= dst->height) {
        m.error();
        return;
    }
    WrapWith(src, dst, Index(src, 0, srow), 1, Index(dst, 0, drow), 1, std::min(src->width, dst->width), dst->width,
             offset, [](uint32_t s, uint32_t &d) { d |= s; });
}

void CopyColumnWrap(const Module &m, const IMG *src, IMG *dst, int32_t scol, int32_t dcol, int32_t offset)
{
    if (!Usable(src) || !Usable(dst) || scol < 0 || scol >= src->width || dcol < 0 || dcol >= dst->width) {
        m.error();
        return;
    }
    WrapWith(src, dst, Index(src, scol, 0), static_cast<std::size_t>(src->width), Index(dst, dcol, 0),
             static_cast<std::size_t>(dst->width), std::min(src->height, dst->height), dst->height, offset, Masked);
}

void FillSpan(const Module &m, IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour)
{
    if (img == nullptr || img->pixels == nullptr) {
        m.error();
        return;
    }
    // The span now lies inside the row: it is written without a check per pixel.
    if (ClipSpan(img, y, first, last)) {
        uint32_t *row = img->pixels + Index(img, 0, y);
        std::fill(row + first, row + last + 1, colour);
    }
}

void BlendSpan(const Module &m, IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour, int32_t weight)
{
    if (img == nullptr || img->pixels == nullptr || weight < 0 || weight > fullWeight) {
        m.error();
        return;
    }
    if (!ClipSpan(img, y, first, last)) {
        return;
    }
    const uint32_t take = static_cast<uint32_t>(weight);
    const uint32_t keep = static_cast<uint32_t>(fullWeight - weight);
    uint32_t *row = img->pixels + Index(img, 0, y);
    for (int32_t x = first; x <= last; ++x) {
        const uint32_t pixel = row[x];
        const uint32_t red = (Channel(pixel, 16) * keep + Channel(colour, 16) * take) >> 8;
        const uint32_t green = (Channel(pixel, 8) * keep + Channel(colour, 8) * take) >> 8;
        const uint32_t blue = (Channel(pixel, 0) * keep + Channel(colour, 0) * take) >> 8;
        row[x] = red << 16 | green << 8 | blue;
    }
}

}  // namespace imgcore

// The whole-image effects of the image core, with the run tables behind the scaler.
#include "gfx/imgcore.h"

#include "gfx/imgpixels.h"
#include "gfx/sine.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace imgcore {
namespace {

// Rotated images are (side * 92667) >> 16 wide and high: 92667 / 65536 = 1.41400.
constexpr int64_t rotateGrowth = 92667;

// ---- Run tables ----

// Run lengths of the run table for m = min and big = max of the magnitudes (both
// below INT32_MAX, so no counter overflows): m + 1 counters, each step of the
// big + 1 steps counted into the current run.
int32_t *RunCounters(int64_t m, int64_t big)
{
    int32_t *runs = new (std::nothrow) int32_t[static_cast<std::size_t>(m + 1)]();
    if (runs == nullptr) {
        return nullptr;
    }
    int64_t i = 0;
    int64_t c = big;
    for (int64_t n = 0; n <= big; ++n) {
        ++runs[i];
        c -= m;
        if (c <= 0) {
            // After the last step i may pass m; it is not used again.
            ++i;
            c += big;
        }
    }
    return runs;
}

bool RunArguments(int32_t p, int32_t q, int64_t &m, int64_t &big)
{
    const int64_t ap = p < 0 ? -static_cast<int64_t>(p) : p;
    const int64_t aq = q < 0 ? -static_cast<int64_t>(q) : q;
    m = std::min(ap, aq);
    big = std::max(ap, aq);
    return big < INT32_MAX;
}

// For each destination index 0 .. dsize - 1 along one axis, the source index that
// the scaler reads: growing, the source run it lies in; shrinking, the last (or,
// with first set, the first) source index of its run.
bool ScaleMap(int32_t dsize, int32_t ssize, bool first, std::vector<int32_t> &map)
{
    std::unique_ptr<int32_t[]> runs(RunCounters(std::min(dsize, ssize), std::max(dsize, ssize)));
    if (runs == nullptr) {
        return false;
    }
    map.assign(static_cast<std::size_t>(dsize), 0);
    if (dsize >= ssize) {
        std::size_t at = 0;
        for (int32_t k = 0; k < ssize; ++k) {
            for (int32_t n = 0; n < runs[k]; ++n) {
                map[at++] = k;
            }
        }
    } else {
        int64_t start = 0;
        for (int32_t x = 0; x < dsize; ++x) {
            map[static_cast<std::size_t>(x)] = static_cast<int32_t>(first ? start : start + runs[x] - 1);
            start += runs[x];
        }
    }
    return true;
}

}  // namespace

// ---- Whole-image effects ----

void Fade(const Module &m, IMG *img, uint32_t colour)
{
    if (!Usable(img)) {
        m.error();
        return;
    }
    const uint32_t c = colour & 0xFFFFFFu;
    uint32_t *p = img->pixels;
    uint32_t *const end = p + PixelCount(img);
#if defined(__SSE2__)
    // One saturating byte subtraction handles four pixels; the unused top byte of
    // each pixel is subtracted by 0xFF, which clears it. Sixteen pixels a round,
    // counted up front, keep the loop's own work small beside the subtractions.
    const __m128i subtract = _mm_set1_epi32(static_cast<int>(c | 0xFF000000u));
    const auto fadeFour = [subtract](uint32_t *at) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(at), _mm_subs_epu8(four, subtract));
    };
    for (std::size_t rounds = PixelCount(img) / 16; rounds > 0; --rounds, p += 16) {
        fadeFour(p);
        fadeFour(p + 4);
        fadeFour(p + 8);
        fadeFour(p + 12);
    }
    for (; end - p >= 4; p += 4) {
        fadeFour(p);
    }
#endif
    // The rest (all of it without SSE2), one word at a time: each channel is
    // subtracted with its top bit forced on and the subtrahend's off, so no borrow
    // crosses into the next channel; the true top bits and the channels that went
    // below 0 then follow from the top bits of pixel, colour and result.
    constexpr uint32_t low = 0xFFFFFFu;
    constexpr uint32_t high = 0x808080u;
    for (; p != end; ++p) {
        const uint32_t q = *p & low;
        const uint32_t lowBits = (q | high) - (c & ~high & low);
        const uint32_t difference = lowBits ^ ((q ^ ~c) & high);
        const uint32_t below = ((~q & c) | (~(q ^ c) & ~lowBits)) & high;
        const uint32_t zeroed = (below << 1) - (below >> 7);
        *p = difference & ~zeroed & low;
    }
}

void Blend(const Module &m, const IMG *src, IMG *dst, int32_t x, int32_t y)
{
    if (!Usable(src) || !Usable(dst)) {
        m.error();
        return;
    }
    // Halving both pixels with one shift and mask averages all three channels at once.
    BlitWith(m, src, dst, 0, 0, x, y, src->width, src->height, [](uint32_t s, uint32_t &d) {
        if (s != 0) {
            d = ((s >> 1) & 0x7F7F7Fu) + ((d >> 1) & 0x7F7F7Fu);
        }
    });
}

void Invert(const Module &m, IMG *img)
{
    if (!Usable(img)) {
        m.error();
        return;
    }
    for (uint32_t *p = img->pixels, *end = p + PixelCount(img); p != end; ++p) {
        *p = ~*p & 0xFFFFFFu;
    }
}

void InvertRect(const Module &m, IMG *img, int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (!Usable(img)) {
        m.error();
        return;
    }
    const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t{x} + w, img->width);
    const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t{y} + h, img->height);
    for (int64_t j = y0; j < y1; ++j) {
        for (int64_t i = x0; i < x1; ++i) {
            uint32_t &p = img->pixels[Index(img, i, j)];
            p = ~p;
        }
    }
}

void AndMask(const Module &m, const IMG *mask, IMG *dst)
{
    if (!Usable(mask) || !Usable(dst) || PixelCount(mask) > PixelCount(dst)) {
        m.error();
        return;
    }
    for (std::size_t i = 0, n = PixelCount(mask); i < n; ++i) {
        dst->pixels[i] &= mask->pixels[i];
    }
}

void Scale(const Module &m, const IMG *src, IMG *dst)
{
    if (!Usable(src) || !Usable(dst)) {
        m.error();
        return;
    }
    if (src->width == 0 || src->height == 0 || dst->width == 0 || dst->height == 0) {
        return;
    }
    // Shrinking picks the last pixel of each run, except the rows of an image that is
    // shrunk in height only, which pick the first.
    const bool firstRows = dst->width >= src->width && dst->height < src->height;
    std::vector<int32_t> columns, rows;
    if (!ScaleMap(dst->width, src->width, false, columns) || !ScaleMap(dst->height, src->height, firstRows, rows)) {
        m.error();
        return;
    }
    for (int32_t y = 0; y < dst->height; ++y) {
        uint32_t *out = dst->pixels + Index(dst, 0, y);
        if (y > 0 && rows[static_cast<std::size_t>(y)] == rows[static_cast<std::size_t>(y) - 1]) {
            std::copy_n(out - dst->width, dst->width, out);
            continue;
        }
        const uint32_t *in = src->pixels + Index(src, 0, rows[static_cast<std::size_t>(y)]);
        for (std::size_t x = 0; x < static_cast<std::size_t>(dst->width); ++x) {
            out[x] = in[columns[x]];
        }
    }
}

IMG *Rotate(const Module &m, const IMG *src, int32_t angle)
{
    if (!Usable(src)) {
        m.error();
        return nullptr;
    }
    const int64_t sw = src->width, sh = src->height;
    const int64_t dw = (sw * rotateGrowth) >> 16, dh = (sh * rotateGrowth) >> 16;
    IMG *img = dw > INT32_MAX || dh > INT32_MAX ? nullptr : NewImage(dw, dh);
    if (img == nullptr) {
        m.error();
        return nullptr;
    }
    // S = sin(-angle), K = sin(-(angle + a quarter turn)) = -cos(angle): angle 0 turns by half.
    const uint32_t minus = 0u - static_cast<uint32_t>(angle);
    const int64_t s = sineTable.entries[minus & sineMask];
    const int64_t k = sineTable.entries[(minus - 256u) & sineMask];
    const int64_t sw2 = sw / 2, sh2 = sh / 2, dw2 = dw / 2, dh2 = dh / 2;
    for (int64_t y = 0; y < dh; ++y) {
        for (int64_t x = 0; x < dw; ++x) {
            const int64_t fx = sw2 + (((x - dw2) * k) >> 15) - (((y - dh2) * s) >> 15);
            const int64_t fy = sh2 + (((x - dw2) * s) >> 15) + (((y - dh2) * k) >> 15);
            img->pixels[Index(img, x, y)] = Get(src, fx, fy);
        }
    }
    return img;
}

int32_t *RunTable(const Module &m, int32_t p, int32_t q)
{
    int64_t small = 0, big = 0;
    int32_t *runs = RunArguments(p, q, small, big) ? RunCounters(small, big) : nullptr;
    if (runs == nullptr) {
        m.error();
    }
    return runs;
}

int32_t *RunTableMirrored(const Module &m, int32_t p, int32_t q)
{
    int64_t small = 0, big = 0;
    int32_t *runs =
        RunArguments(p, q, small, big) ? new (std::nothrow) int32_t[static_cast<std::size_t>(small)]() : nullptr;
    if (runs == nullptr) {
        m.error();
        return nullptr;
    }
    // Runs are built from the left; each finished one is also placed at its mirror on the right.
    int64_t left = 0, right = small - 1, c = big;
    while (right >= left) {
        ++runs[left];
        c -= small;
        if (c > 0) {
            continue;
        }
        runs[right] = runs[left];
        --right;
        ++left;
        c += big;
    }
    return runs;
}

}  // namespace imgcore

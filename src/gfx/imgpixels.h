// The pixel-level helpers that the three parts of the image core share: the
// buffer with its drawing primitives (imgcore.cpp), the text and anymap forms
// (imgform.cpp) and the whole-image effects (imgeffects.cpp). Private to src/gfx:
// include it from those three sources only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>

#include "gfx/img.h"
#include "gfx/imgcore.h"

namespace imgcore {

// Largest pixel count an image may have: pixel indices x + y * width stay int32.
inline constexpr int64_t maxPixels = INT32_MAX;

// ---- Checks and pixel access ----

inline bool Usable(const IMG *img)
{
    return img != nullptr && img->pixels != nullptr && img->width >= 0 && img->height >= 0;
}

inline std::size_t PixelCount(const IMG *img)
{
    return static_cast<std::size_t>(img->width) * static_cast<std::size_t>(img->height);
}

inline bool Inside(const IMG *img, int64_t x, int64_t y)
{
    return x >= 0 && y >= 0 && x < img->width && y < img->height;
}

inline std::size_t Index(const IMG *img, int64_t x, int64_t y)
{
    return static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * static_cast<std::size_t>(img->width);
}

// The clipped write every drawing primitive funnels through; img is known usable.
inline void Put(IMG *img, int64_t x, int64_t y, uint32_t colour)
{
    if (Inside(img, x, y)) {
        img->pixels[Index(img, x, y)] = colour;
    }
}

inline uint32_t Get(const IMG *img, int64_t x, int64_t y)
{
    return Inside(img, x, y) ? img->pixels[Index(img, x, y)] : 0u;
}

// A zero-filled pixel array, or null when the size is out of range or memory runs out.
inline uint32_t *NewPixels(int64_t w, int64_t h)
{
    if (w < 0 || h < 0 || w * h > maxPixels) {
        return nullptr;
    }
    return new (std::nothrow) uint32_t[static_cast<std::size_t>(w * h)]();
}

// A new black image of w x h pixels (sizes already checked), or null.
inline IMG *NewImage(int64_t w, int64_t h)
{
    IMG *img = new (std::nothrow) IMG{};
    if (img == nullptr) {
        return nullptr;
    }
    img->pixels = NewPixels(w, h);
    if (img->pixels == nullptr) {
        delete img;
        return nullptr;
    }
    img->width = static_cast<int32_t>(w);
    img->height = static_cast<int32_t>(h);
    return img;
}

inline void FreeImage(IMG *img)
{
    delete[] img->pixels;
    delete img;
}

inline uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xFFu; }

// ---- Rectangle copies ----

// The part of a blit rectangle in which both pixels of every pair lie inside their
// images: columns i0 .. i1 - 1 and rows j0 .. j1 - 1 of the rectangle.
struct Clip {
    int64_t i0, i1, j0, j1;
};

inline bool ClipBlit(const IMG *src, const IMG *dst, int64_t sx, int64_t sy, int64_t dx, int64_t dy, int64_t w,
                     int64_t h, Clip &clip)
{
    clip.i0 = std::max<int64_t>({0, -sx, -dx});
    clip.i1 = std::min<int64_t>({w, src->width - sx, dst->width - dx});
    clip.j0 = std::max<int64_t>({0, -sy, -dy});
    clip.j1 = std::min<int64_t>({h, src->height - sy, dst->height - dy});
    return clip.i0 < clip.i1 && clip.j0 < clip.j1;
}

// Walks the visible pairs row by row from the top, left to right, with one running
// index into each array, and lets combine(s, d) update each destination pixel.
template <typename Combine>
void BlitWith(const imgcore::Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
              int32_t w, int32_t h, Combine combine)
{
    if (!Usable(src) || !Usable(dst)) {
        m.error();
        return;
    }
    Clip clip{};
    if (!ClipBlit(src, dst, sx, sy, dx, dy, w, h, clip)) {
        return;
    }
    const std::size_t span = static_cast<std::size_t>(clip.i1 - clip.i0);
    const std::size_t srcSkip = static_cast<std::size_t>(src->width) - span;
    const std::size_t dstSkip = static_cast<std::size_t>(dst->width) - span;
    std::size_t s = Index(src, sx + clip.i0, sy + clip.j0);
    std::size_t d = Index(dst, dx + clip.i0, dy + clip.j0);
    for (int64_t j = clip.j0; j < clip.j1; ++j) {
        for (std::size_t i = 0; i < span; ++i) {
            combine(src->pixels[s++], dst->pixels[d++]);
        }
        s += srcSkip;
        d += dstSkip;
    }
}

}  // namespace imgcore

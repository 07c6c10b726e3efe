#include "gfx/imgcore.h"

#include "gfx/sine.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr int32_t newSide = 16;
// Largest pixel count an image may have: pixel indices x + y * width stay int32.
constexpr int64_t maxPixels = INT32_MAX;
// Rotated images are (side * 92667) >> 16 wide and high: 92667 / 65536 = 1.41400.
constexpr int64_t rotateGrowth = 92667;
// The comment line of a written PPM: 16 bytes with its line feed.
constexpr char ppmComment[] = "# ZOLT7707 dump\n";
static_assert(sizeof ppmComment - 1 == 16);
// One pixel of the text form: three channels as "%3d ".
constexpr std::size_t textPixelSize = 12;
constexpr int32_t textPixelsPerLine = 6;

// ---- Checks and pixel access ----

bool Usable(const IMG *img)
{
    return img != nullptr && img->pixels != nullptr && img->width >= 0 && img->height >= 0;
}

std::size_t PixelCount(const IMG *img)
{
    return static_cast<std::size_t>(img->width) * static_cast<std::size_t>(img->height);
}

bool Inside(const IMG *img, int64_t x, int64_t y)
{
    return x >= 0 && y >= 0 && x < img->width && y < img->height;
}

std::size_t Index(const IMG *img, int64_t x, int64_t y)
{
    return static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * static_cast<std::size_t>(img->width);
}

// The clipped write every drawing primitive funnels through; img is known usable.
void Put(IMG *img, int64_t x, int64_t y, uint32_t colour)
{
    if (Inside(img, x, y)) {
        img->pixels[Index(img, x, y)] = colour;
    }
}

uint32_t Get(const IMG *img, int64_t x, int64_t y)
{
    return Inside(img, x, y) ? img->pixels[Index(img, x, y)] : 0u;
}

// A zero-filled pixel array, or null when the size is out of range or memory runs out.
uint32_t *NewPixels(int64_t w, int64_t h)
{
    if (w < 0 || h < 0 || w * h > maxPixels) {
        return nullptr;
    }
    return new (std::nothrow) uint32_t[static_cast<std::size_t>(w * h)]();
}

// A new black image of w x h pixels (sizes already checked), or null.
IMG *NewImage(int64_t w, int64_t h)
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

void FreeImage(IMG *img)
{
    delete[] img->pixels;
    delete img;
}

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
int64_t CeilDiv(int64_t a, int64_t b)
{
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

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

// ---- Rectangle copies ----

// The part of a blit rectangle in which both pixels of every pair lie inside their
// images: columns i0 .. i1 - 1 and rows j0 .. j1 - 1 of the rectangle.
struct Clip {
    int64_t i0, i1, j0, j1;
};

bool ClipBlit(const IMG *src, const IMG *dst, int64_t sx, int64_t sy, int64_t dx, int64_t dy, int64_t w,
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
void BlitWith(const imgcore::Module &m, const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx,
              int32_t dy, int32_t w, int32_t h, Combine combine)
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

// ---- Text and anymap readers ----

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Adds one decimal digit to a number that saturates above the 32-bit range, so a
// long run of digits can only make it too large, never wrap.
uint64_t AddDigit(uint64_t value, unsigned char digit)
{
    value = value * 10u + (digit - '0');
    return std::min<uint64_t>(value, uint64_t{1} << 33);
}

// The index just after the first occurrence of pattern in text, or 0.
std::size_t FindAfter(const char *text, const char *pattern)
{
    const char *found = std::strstr(text, pattern);
    return found == nullptr ? 0 : static_cast<std::size_t>(found - text) + std::strlen(pattern);
}

// A cursor over a byte buffer; reading stops at its end (or, for text, at the zero byte).
struct Reader {
    const unsigned char *data;
    std::size_t size;
    std::size_t pos;

    bool AtEnd() const { return pos >= size; }
    unsigned char Peek() const { return data[pos]; }
    std::size_t Left() const { return size - pos; }

    // Skips non-digits, then reads a run of digits as a number modulo 2^32; false at the end.
    bool Sample(uint32_t &value)
    {
        while (!AtEnd() && !IsDigit(Peek())) {
            ++pos;
        }
        if (AtEnd()) {
            return false;
        }
        value = 0;
        while (!AtEnd() && IsDigit(Peek())) {
            value = value * 10u + static_cast<uint32_t>(Peek() - '0');
            ++pos;
        }
        return true;
    }

    // A run of digits, saturating; 0 when there are none.
    uint64_t Number()
    {
        uint64_t value = 0;
        while (!AtEnd() && IsDigit(Peek())) {
            value = AddDigit(value, Peek());
            ++pos;
        }
        return value;
    }
};

enum class Source { File, Memory };

uint32_t Grey(uint32_t v)
{
    return v << 16 | v << 8 | v;
}

constexpr uint32_t white = 0xFFFFFF;

// Reads an anymap from a buffer. The file reader and the memory reader share this
// code and differ only where source says so: a stray printable character in the
// header (consumed by the file reader, standing for every missing number in memory)
// and P4 rows (exact width or rounded up to whole bytes).
IMG *ParseAnymap(const unsigned char *data, std::size_t size, Source source)
{
    Reader in{data, size, 0};
    bool haveMagic = false;
    bool haveWidth = false;
    bool haveHeight = false;
    bool haveMaximum = false;
    int magic = 0;
    uint64_t width = 0;
    uint64_t height = 0;
    while (!(haveMagic && haveWidth && haveHeight && haveMaximum)) {
        if (in.AtEnd()) {
            return nullptr;
        }
        const unsigned char c = in.Peek();
        if (c < 33 || c > 126) {
            ++in.pos;
        } else if (c == 'P' && !haveMagic) {
            ++in.pos;
            if (in.AtEnd() || in.Peek() < '1' || in.Peek() > '6') {
                return nullptr;
            }
            magic = in.Peek() - '0';
            ++in.pos;
            haveMagic = true;
            haveMaximum = haveMaximum || magic == 1 || magic == 4;
        } else if (c == '#') {
            while (!in.AtEnd() && in.Peek() != '\n') {
                ++in.pos;
            }
            ++in.pos;
        } else {
            uint64_t value = 0;
            if (IsDigit(c)) {
                value = in.Number();
            } else if (source == Source::File) {
                ++in.pos;
            } else if (haveWidth && haveHeight && haveMaximum) {
                // Unconsumed, it would stand for a number nobody needs, for ever.
                return nullptr;
            }
            if (!haveWidth) {
                width = (source == Source::Memory && magic == 4) ? (value + 7) & ~uint64_t{7} : value;
                haveWidth = true;
            } else if (!haveHeight) {
                height = value;
                haveHeight = true;
            } else if (!haveMaximum) {
                haveMaximum = true;  // read and ignored: samples are never rescaled
            }
        }
    }
    // The single whitespace byte that ends the header.
    ++in.pos;
    if (in.pos > size || width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX ||
        width * height > static_cast<uint64_t>(maxPixels)) {
        return nullptr;
    }
    const uint64_t count = width * height;
    // Every pixel takes at least one byte (three for the pixmaps), a bitmap row whole bytes.
    uint64_t least = count;
    if (magic == 3 || magic == 6) {
        least = 3 * count;
    } else if (magic == 4) {
        least = height * ((width + 7) / 8);
    }
    if (in.Left() < least) {
        return nullptr;
    }
    IMG *img = NewImage(static_cast<int64_t>(width), static_cast<int64_t>(height));
    if (img == nullptr) {
        return nullptr;
    }
    uint32_t *out = img->pixels;
    bool complete = true;
    switch (magic) {
    case 1:
        for (uint64_t i = 0; i < count && complete; ++i) {
            while (!in.AtEnd() && !IsDigit(in.Peek())) {
                ++in.pos;
            }
            // One digit a pixel: a plain bitmap need not separate its digits.
            if (in.AtEnd()) {
                complete = false;
            } else {
                out[i] = in.Peek() == '0' ? 0u : white;
                ++in.pos;
            }
        }
        break;
    case 2:
        for (uint64_t i = 0; i < count && complete; ++i) {
            uint32_t v = 0;
            complete = in.Sample(v);
            out[i] = Grey(v);
        }
        break;
    case 3:
        for (uint64_t i = 0; i < count && complete; ++i) {
            uint32_t r = 0, g = 0, b = 0;
            complete = in.Sample(r) && in.Sample(g) && in.Sample(b);
            out[i] = r << 16 | g << 8 | b;
        }
        break;
    case 4:
        // Rows start at a new byte; in memory the width is already a whole number of bytes.
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t x = i % width;
            if (x % 8 == 0 && i != 0) {
                ++in.pos;
            }
            out[i] = (in.Peek() >> (7 - x % 8)) & 1u ? white : 0u;
        }
        break;
    case 5:
        for (uint64_t i = 0; i < count; ++i) {
            out[i] = Grey(data[in.pos++]);
        }
        break;
    default:
        for (uint64_t i = 0; i < count; ++i) {
            const uint32_t r = data[in.pos];
            const uint32_t g = data[in.pos + 1];
            const uint32_t b = data[in.pos + 2];
            in.pos += 3;
            out[i] = r << 16 | g << 8 | b;
        }
        break;
    }
    if (!complete) {
        FreeImage(img);
        return nullptr;
    }
    return img;
}

// The whole of a file, or false when it cannot be opened or read.
bool ReadFile(const char *path, std::vector<unsigned char> &bytes)
{
    std::FILE *file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

// Writes v (0 .. 255) right-aligned in three characters.
char *PutChannel(char *out, uint32_t v)
{
    out[0] = v >= 100 ? static_cast<char>('0' + v / 100) : ' ';
    out[1] = v >= 10 ? static_cast<char>('0' + v / 10 % 10) : ' ';
    out[2] = static_cast<char>('0' + v % 10);
    return out + 3;
}

uint32_t Channel(uint32_t p, int shift)
{
    return (p >> shift) & 0xFFu;
}

}  // namespace

namespace imgcore {

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
    // The table index is 16.16 fixed point advancing by exactly 1.0 a step.
    constexpr int32_t one = 0x10000;
    for (int32_t k = 0, phase = 0; k < 256; ++k, phase += one) {
        const int32_t index = (phase >> 16) & sineMask;
        const int64_t u = (int64_t{r} * sineTable.entries[index]) >> 15;
        const int64_t v = (int64_t{r} * sineTable.entries[(index + 256) & sineMask]) >> 15;
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
    WrapWith(src, dst, Index(src, 0, srow), 1, Index(dst, 0, drow), 1, std::min(src->width, dst->width),
             dst->width, offset, Masked);
}

void OrRowWrap(const Module &m, const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset)
{
    if (!Usable(src) || !Usable(dst) || srow < 0 || srow >= src->height || drow < 0 || drow >= dst->height) {
        m.error();
        return;
    }
    WrapWith(src, dst, Index(src, 0, srow), 1, Index(dst, 0, drow), 1, std::min(src->width, dst->width),
             dst->width, offset, [](uint32_t s, uint32_t &d) { d |= s; });
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

// ---- Text form and anymap files ----

char *ToASCII(const Module &m, const IMG *img)
{
    if (!Usable(img)) {
        m.error();
        return nullptr;
    }
    const std::size_t count = PixelCount(img);
    const std::size_t tagLength = std::strlen(m.tag);
    if (count == 0) {
        char *text = new (std::nothrow) char[tagLength + 3]();
        if (text == nullptr) {
            m.error();
            return nullptr;
        }
        std::snprintf(text, tagLength + 3, "%s{}", m.tag);
        return text;
    }
    const int header = std::snprintf(nullptr, 0, "%s{\nP3\n%d %d\n255\n", m.tag, img->width, img->height);
    // Header, the pixels, "}\n" and the closing zero byte.
    const std::size_t size = static_cast<std::size_t>(header) + count * textPixelSize + 3;
    char *text = new (std::nothrow) char[size]();
    if (text == nullptr) {
        m.error();
        return nullptr;
    }
    std::snprintf(text, size, "%s{\nP3\n%d %d\n255\n", m.tag, img->width, img->height);
    char *out = text + header;
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t p = img->pixels[i];
        for (int shift = 16; shift >= 0; shift -= 8) {
            out = PutChannel(out, Channel(p, shift));
            *out++ = ' ';
        }
        if ((i + 1) % textPixelsPerLine == 0) {
            out[-1] = '\n';
        }
    }
    out[-1] = '\n';
    *out++ = '}';
    *out++ = '\n';
    return text;
}

IMG *FromASCII(const Module &m, const char *text)
{
    if (text == nullptr) {
        m.error();
        return nullptr;
    }
    const std::size_t a = FindAfter(text, m.tag);
    const std::size_t b = a == 0 ? 0 : FindAfter(text + a, "{");
    const std::size_t c = b == 0 ? 0 : FindAfter(text + a + b, "P3\n");
    if (c == 0) {
        m.error();
        return nullptr;
    }
    const std::size_t length = std::strlen(text);
    Reader in{reinterpret_cast<const unsigned char *>(text), length, a + b + c};
    // Width, one separator, height, one separator, the maximum, one separator.
    const uint64_t width = in.Number();
    ++in.pos;
    const uint64_t height = in.Number();
    ++in.pos;
    in.Number();
    ++in.pos;
    const uint64_t count = width * height;
    if (in.pos > length || width > INT32_MAX || height > INT32_MAX || count > static_cast<uint64_t>(maxPixels) ||
        in.Left() < 3 * count) {
        m.error();
        return nullptr;
    }
    IMG *img = NewImage(static_cast<int64_t>(width), static_cast<int64_t>(height));
    if (img == nullptr) {
        m.error();
        return nullptr;
    }
    for (uint64_t i = 0; i < count; ++i) {
        uint32_t r = 0, g = 0, bl = 0;
        if (!(in.Sample(r) && in.Sample(g) && in.Sample(bl))) {
            FreeImage(img);
            m.error();
            return nullptr;
        }
        img->pixels[i] = r << 16 | g << 8 | bl;
    }
    return img;
}

IMG *LoadPNM(const Module &m, const char *path)
{
    std::vector<unsigned char> bytes;
    IMG *img = nullptr;
    if (path != nullptr && ReadFile(path, bytes)) {
        img = ParseAnymap(bytes.data(), bytes.size(), Source::File);
    }
    if (img == nullptr) {
        m.error();
    }
    return img;
}

IMG *ParsePNM(const Module &m, const unsigned char *data, std::size_t size)
{
    IMG *img = data == nullptr ? nullptr : ParseAnymap(data, size, Source::Memory);
    if (img == nullptr) {
        m.error();
    }
    return img;
}

bool SavePPM(const Module &m, const IMG *img, const char *path)
{
    if (!Usable(img) || path == nullptr || img->width == 0 || img->height == 0) {
        m.error();
        return false;
    }
    std::FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        m.error();
        return false;
    }
    bool ok = std::fprintf(file, "P6\n%s%d %d\n255\n", ppmComment, img->width, img->height) > 0;
    std::vector<unsigned char> row(static_cast<std::size_t>(img->width) * 3);
    for (int32_t y = 0; y < img->height && ok; ++y) {
        const uint32_t *p = img->pixels + Index(img, 0, y);
        for (std::size_t x = 0; x < static_cast<std::size_t>(img->width); ++x) {
            row[3 * x] = static_cast<unsigned char>(Channel(p[x], 16));
            row[3 * x + 1] = static_cast<unsigned char>(Channel(p[x], 8));
            row[3 * x + 2] = static_cast<unsigned char>(Channel(p[x], 0));
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    // A failed close may lose buffered bytes: that is a failed write too.
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        m.error();
    }
    return ok;
}

int32_t FindText(const Module &m, const char *text, const char *pattern)
{
    if (text == nullptr || pattern == nullptr) {
        m.error();
        return 0;
    }
    const std::size_t at = FindAfter(text, pattern);
    if (at > static_cast<std::size_t>(INT32_MAX)) {
        m.error();
        return 0;
    }
    return static_cast<int32_t>(at);
}

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
    int32_t *runs = RunArguments(p, q, small, big) ? new (std::nothrow) int32_t[static_cast<std::size_t>(small)]()
                                                    : nullptr;
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

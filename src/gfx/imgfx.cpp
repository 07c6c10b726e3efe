// The operations shared with IMG are one call each into their common
// implementation; the blur, which only IMGFX has, is written out here.
#include "gfx/imgfx.h"

#include "core/module.h"
#include "gfx/imgcore.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace {

constexpr Reporting imgfxReporting = Reporting::Off;
constexpr imgcore::Module imgfxModule{IMGFXError, "IMGFX"};

// The radius-1 blur divides every channel sum n <= 9 x 255 by 9 as (n x 7282) >> 16.
// 7282 = (2^16 + 2) / 9, so n x 7282 / 2^16 exceeds n / 9 by 2n / (9 x 2^16): less
// than the 1 / 9 that n / 9 lacks at least of the next whole number, for n < 2^15.
// Checked below for every sum besides.
constexpr uint32_t largestNineSum = 9 * 255;
constexpr uint32_t ninth = 7282;
constexpr uint32_t ninthShift = 16;

constexpr bool NinthIsExact()
{
    for (uint32_t n = 0; n <= largestNineSum; ++n) {
        if ((n * ninth) >> ninthShift != n / 9) {
            return false;
        }
    }
    return true;
}
static_assert(NinthIsExact(), "the multiply and shift divides every sum of nine channels by 9");
static_assert(ninth < 32768, "the divider fits a signed 16-bit lane");

// Red and blue of a pixel as the 16-bit lanes of a word, green left in bits 8 to 15:
// a sum of nine such words holds every channel sum apart (each below 2^12).
constexpr uint32_t redBlueMask = 0x00FF00FFu;
constexpr uint32_t greenMask = 0x0000FF00u;

uint32_t MeanOfNine(uint32_t redBlue, uint32_t green)
{
    const uint32_t blue = ((redBlue & 0xFFFFu) * ninth) >> ninthShift;
    const uint32_t red = ((redBlue >> 16) * ninth) >> ninthShift;
    const uint32_t g = ((green >> 8) * ninth) >> ninthShift;
    return red << 16 | g << 8 | blue;
}

// The blur of radius 1: for each output row, the column sums of its three source
// rows (black above the first and below the last), then each window as three
// neighbouring column sums, with a black column either side. Four pixels at a time
// with SSE2, the rest (all of it without SSE2) one at a time with the same
// arithmetic. False, with nothing drawn, when the sums cannot be allocated.
bool BlurRadiusOne(const IMG *src, IMG *dst)
{
    const int64_t sourceWidth = src->width;
    const int64_t sourceHeight = src->height;
    const int64_t width = std::min(src->width, dst->width);
    const int64_t height = std::min(src->height, dst->height);
    if (width == 0 || height == 0) {
        return true;
    }
    // Only the columns some output window reaches are summed.
    const int64_t columnCount = std::min(sourceWidth, width + 1);
    const auto count = static_cast<std::size_t>(columnCount) + 2;
    // Red-blue sums, green sums (each with a black column either side), a black row.
    std::unique_ptr<uint32_t[]> buffer(new (std::nothrow) uint32_t[3 * count]());
    if (buffer == nullptr) {
        return false;
    }
    uint32_t *const redBlue = buffer.get();
    uint32_t *const green = redBlue + count;
    const uint32_t *const black = green + count;
#if defined(__SSE2__)
    const __m128i redBlueLanes = _mm_set1_epi32(static_cast<int>(redBlueMask));
    const __m128i greenLanes = _mm_set1_epi32(static_cast<int>(greenMask));
    const __m128i divider = _mm_set1_epi16(static_cast<int16_t>(ninth));
    const auto load = [](const uint32_t *p) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p)); };
    const auto store = [](uint32_t *p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v); };
#endif
    for (int64_t y = 0; y < height; ++y) {
        const uint32_t *above = y > 0 ? src->pixels + (y - 1) * sourceWidth : black;
        const uint32_t *row = src->pixels + y * sourceWidth;
        const uint32_t *below = y + 1 < sourceHeight ? src->pixels + (y + 1) * sourceWidth : black;
        int64_t x = 0;
#if defined(__SSE2__)
        for (; x + 4 <= columnCount; x += 4) {
            const __m128i a = load(above + x);
            const __m128i b = load(row + x);
            const __m128i c = load(below + x);
            store(redBlue + x + 1,
                  _mm_add_epi32(_mm_add_epi32(_mm_and_si128(a, redBlueLanes), _mm_and_si128(b, redBlueLanes)),
                                _mm_and_si128(c, redBlueLanes)));
            store(green + x + 1,
                  _mm_add_epi32(_mm_add_epi32(_mm_and_si128(a, greenLanes), _mm_and_si128(b, greenLanes)),
                                _mm_and_si128(c, greenLanes)));
        }
#endif
        for (; x < columnCount; ++x) {
            redBlue[x + 1] = (above[x] & redBlueMask) + (row[x] & redBlueMask) + (below[x] & redBlueMask);
            green[x + 1] = (above[x] & greenMask) + (row[x] & greenMask) + (below[x] & greenMask);
        }
        uint32_t *out = dst->pixels + y * dst->width;
        x = 0;
#if defined(__SSE2__)
        for (; x + 4 <= width; x += 4) {
            const __m128i rb =
                _mm_add_epi32(_mm_add_epi32(load(redBlue + x), load(redBlue + x + 1)), load(redBlue + x + 2));
            const __m128i g = _mm_add_epi32(_mm_add_epi32(load(green + x), load(green + x + 1)), load(green + x + 2));
            const __m128i rbMean = _mm_mulhi_epu16(rb, divider);
            const __m128i gMean = _mm_slli_epi32(_mm_mulhi_epu16(_mm_srli_epi32(g, 8), divider), 8);
            store(out + x, _mm_or_si128(rbMean, gMean));
        }
#endif
        for (; x < width; ++x) {
            out[x] = MeanOfNine(redBlue[x] + redBlue[x + 1] + redBlue[x + 2], green[x] + green[x + 1] + green[x + 2]);
        }
    }
    return true;
}

// Channel sums of the box blur. The blur adds each source pixel into a running
// column sum and each column sum into a running row window; additions and
// subtractions of whole integers are exact, so the result is the same truncated
// mean as summing the square around every pixel afresh.
//
// PackedSums keeps red, green and blue in three 16-bit lanes of one word. The
// column sums never hold more than one square's rows (a row leaves before the
// next comes in), and a window, a difference of two running totals along the
// row, is exact modulo 2^64 even where the totals spill from lane to lane:
// every lane of a window is at most 255 x area, which fits while area <= 257.
struct PackedSums {
    static constexpr uint64_t largestArea = 257;
    static_assert(255 * largestArea < 65536, "a lane holds the sum of a whole square");
    uint64_t lanes = 0;

    static PackedSums Of(uint32_t pixel)
    {
        return {(uint64_t{pixel & 0xFF0000u} << 16) | (uint64_t{pixel & 0xFF00u} << 8) | (pixel & 0xFFu)};
    }
    void operator+=(PackedSums other) { lanes += other.lanes; }
    void operator-=(PackedSums other) { lanes -= other.lanes; }
    PackedSums operator-(PackedSums other) const { return {lanes - other.lanes}; }
    // n / area for every n <= 255 x area as (n x ceil(2^24 / area)) >> 24 in 32 bits:
    // the rounded-up reciprocal is off by e < area parts in 2^24, and n x e < 2^24
    // for every area <= 257, too little to reach the next multiple; the product
    // stays below 255 x 2^24 + 255 x area < 2^32.
    static uint64_t Divider(uint64_t area) { return ((uint64_t{1} << 24) + area - 1) / area; }
    uint32_t Mean(uint64_t divider) const
    {
        const uint32_t m = static_cast<uint32_t>(divider);
        const uint32_t red = (static_cast<uint32_t>(lanes >> 32) & 0xFFFFu) * m >> 24;
        const uint32_t green = (static_cast<uint32_t>(lanes >> 16) & 0xFFFFu) * m >> 24;
        const uint32_t blue = (static_cast<uint32_t>(lanes) & 0xFFFFu) * m >> 24;
        return (red << 16) | (green << 8) | blue;
    }
};

// WideSums: one 64-bit sum per channel, for squares of any size.
struct WideSums {
    uint64_t red = 0, green = 0, blue = 0;

    static WideSums Of(uint32_t pixel) { return {(pixel >> 16) & 0xFFu, (pixel >> 8) & 0xFFu, pixel & 0xFFu}; }
    void operator+=(WideSums other)
    {
        red += other.red;
        green += other.green;
        blue += other.blue;
    }
    void operator-=(WideSums other)
    {
        red -= other.red;
        green -= other.green;
        blue -= other.blue;
    }
    WideSums operator-(WideSums other) const { return {red - other.red, green - other.green, blue - other.blue}; }
    static uint64_t Divider(uint64_t area) { return area; }
    uint32_t Mean(uint64_t area) const
    {
        return static_cast<uint32_t>(red / area) << 16 | static_cast<uint32_t>(green / area) << 8 |
               static_cast<uint32_t>(blue / area);
    }
};

// The separable blur: running column sums down the image, then each output
// pixel's window as the difference of two running totals along its row.
// False, with nothing drawn, when the sums cannot be allocated.
template <typename Sums>
bool BoxBlur(const IMG *src, IMG *dst, int64_t reach, uint64_t area)
{
    const int64_t sourceWidth = src->width;
    const int64_t sourceHeight = src->height;
    const int64_t width = std::min(src->width, dst->width);
    const int64_t height = std::min(src->height, dst->height);
    if (width == 0 || height == 0) {
        return true;
    }
    // Only the columns some output window reaches are summed.
    const int64_t columnCount = std::min(sourceWidth, width + reach);
    const auto count = static_cast<std::size_t>(columnCount);
    std::unique_ptr<Sums[]> columns(new (std::nothrow) Sums[count]);
    std::unique_ptr<Sums[]> totals(new (std::nothrow) Sums[count + 1]);
    if (columns == nullptr || totals == nullptr) {
        return false;
    }
    const auto addRow = [&](int64_t j) {
        const uint32_t *row = src->pixels + j * sourceWidth;
        for (int64_t x = 0; x < columnCount; ++x) {
            columns[x] += Sums::Of(row[x]);
        }
    };
    const auto removeRow = [&](int64_t j) {
        const uint32_t *row = src->pixels + j * sourceWidth;
        for (int64_t x = 0; x < columnCount; ++x) {
            columns[x] -= Sums::Of(row[x]);
        }
    };
    const uint64_t divider = Sums::Divider(area);
    for (int64_t j = 0; j < sourceHeight && j <= reach; ++j) {
        addRow(j);
    }
    // Windows that reach past neither end of the row: [inner, innerEnd).
    const int64_t inner = std::min(width, reach);
    const int64_t innerEnd = std::max(inner, std::min(width, columnCount - reach));
    for (int64_t y = 0; y < height; ++y) {
        if (y > 0) {
            // The row leaving the square goes first, so no sum ever exceeds one square.
            if (y - reach - 1 >= 0) {
                removeRow(y - reach - 1);
            }
            if (y + reach < sourceHeight) {
                addRow(y + reach);
            }
        }
        // totals[i] is the sum of columns [0, i).
        Sums running;
        totals[0] = running;
        for (int64_t i = 0; i < columnCount; ++i) {
            running += columns[i];
            totals[i + 1] = running;
        }
        uint32_t *out = dst->pixels + y * dst->width;
        const auto clipped = [&](int64_t x) {
            const int64_t left = std::max<int64_t>(0, x - reach);
            const int64_t right = std::min(columnCount, x + reach + 1);
            out[x] = (totals[right] - totals[left]).Mean(divider);
        };
        for (int64_t x = 0; x < inner; ++x) {
            clipped(x);
        }
        for (int64_t x = inner; x < innerEnd; ++x) {
            out[x] = (totals[x + reach + 1] - totals[x - reach]).Mean(divider);
        }
        for (int64_t x = std::max(inner, innerEnd); x < width; ++x) {
            clipped(x);
        }
    }
    return true;
}

// The square summed afresh around every pixel: no memory needed.
void BoxBlurDirect(const IMG *src, IMG *dst, int64_t reach, uint64_t area)
{
    const int64_t width = std::min(src->width, dst->width);
    const int64_t height = std::min(src->height, dst->height);
    for (int64_t y = 0; y < height; ++y) {
        const int64_t top = std::max<int64_t>(0, y - reach);
        const int64_t bottom = std::min<int64_t>(src->height - 1, y + reach);
        for (int64_t x = 0; x < width; ++x) {
            const int64_t left = std::max<int64_t>(0, x - reach);
            const int64_t right = std::min<int64_t>(src->width - 1, x + reach);
            WideSums sums;
            for (int64_t j = top; j <= bottom; ++j) {
                const uint32_t *row = src->pixels + j * src->width;
                for (int64_t i = left; i <= right; ++i) {
                    sums += WideSums::Of(row[i]);
                }
            }
            dst->pixels[x + y * dst->width] = sums.Mean(area);
        }
    }
}

}  // namespace

IMG *IMGFXNew() { return imgcore::New(imgfxModule); }

void IMGFXFree(IMG **handle) { imgcore::Free(imgfxModule, handle); }

IMG *IMGFXCopy(const IMG *src) { return imgcore::Copy(imgfxModule, src); }

bool IMGFXEqual(const IMG *a, const IMG *b) { return imgcore::Equal(imgfxModule, a, b); }

void IMGFXError() { ModuleReport(imgfxReporting, "IMGFX error\n"); }

void IMGFXResize(IMG *img, int32_t w, int32_t h) { imgcore::Resize(imgfxModule, img, w, h); }

void IMGFXClear(IMG *img) { imgcore::Clear(imgfxModule, img); }

void IMGFXCopyPixels(const IMG *src, IMG *dst) { imgcore::CopyPixels(imgfxModule, src, dst); }

void IMGFXSetPixel(IMG *img, int32_t x, int32_t y, uint32_t colour)
{
    imgcore::SetPixel(imgfxModule, img, x, y, colour);
}

uint32_t IMGFXGetPixel(const IMG *img, int32_t x, int32_t y) { return imgcore::GetPixel(imgfxModule, img, x, y); }

void IMGFXDrawLine(IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour)
{
    imgcore::DrawLine(imgfxModule, img, x0, y0, x1, y1, colour);
}

void IMGFXFillRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    imgcore::FillRect(imgfxModule, img, x, y, w, h, colour);
}

void IMGFXDrawRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    imgcore::DrawRect(imgfxModule, img, x, y, w, h, colour);
}

void IMGFXDrawCircle(IMG *img, int32_t cx, int32_t cy, int32_t r, uint32_t colour)
{
    imgcore::DrawCircle(imgfxModule, img, cx, cy, r, colour);
}

int32_t *IMGFXLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    return imgcore::LinePoints(imgfxModule, x0, y0, x1, y1);
}

void IMGFXBlit(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    imgcore::Blit(imgfxModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGFXBlitMasked(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    imgcore::BlitMasked(imgfxModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGFXBlitAdd(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    imgcore::BlitAdd(imgfxModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGFXBlitAddSaturate(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                          int32_t h)
{
    imgcore::BlitAddSaturate(imgfxModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGFXBlitSpaced(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h,
                     int32_t stepx, int32_t stepy)
{
    imgcore::BlitSpaced(imgfxModule, src, dst, sx, sy, dx, dy, w, h, stepx, stepy);
}

void IMGFXCopyRow(const IMG *src, IMG *dst, int32_t srow, int32_t drow)
{
    imgcore::CopyRow(imgfxModule, src, dst, srow, drow);
}

void IMGFXCopyRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset)
{
    imgcore::CopyRowWrap(imgfxModule, src, dst, srow, drow, offset);
}

void IMGFXOrRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset)
{
    imgcore::OrRowWrap(imgfxModule, src, dst, srow, drow, offset);
}

void IMGFXCopyColumnWrap(const IMG *src, IMG *dst, int32_t scol, int32_t dcol, int32_t offset)
{
    imgcore::CopyColumnWrap(imgfxModule, src, dst, scol, dcol, offset);
}

char *IMGFXToASCII(const IMG *img) { return imgcore::ToASCII(imgfxModule, img); }

IMG *IMGFXFromASCII(const char *text) { return imgcore::FromASCII(imgfxModule, text); }

IMG *IMGFXLoadPNM(const char *path) { return imgcore::LoadPNM(imgfxModule, path); }

IMG *IMGFXParsePNM(const unsigned char *data, std::size_t size) { return imgcore::ParsePNM(imgfxModule, data, size); }

bool IMGFXSavePPM(const IMG *img, const char *path) { return imgcore::SavePPM(imgfxModule, img, path); }

int32_t IMGFXFindText(const char *text, const char *pattern) { return imgcore::FindText(imgfxModule, text, pattern); }

void IMGFXFade(IMG *img, uint32_t colour) { imgcore::Fade(imgfxModule, img, colour); }

void IMGFXBlend(const IMG *src, IMG *dst, int32_t x, int32_t y) { imgcore::Blend(imgfxModule, src, dst, x, y); }

void IMGFXInvert(IMG *img) { imgcore::Invert(imgfxModule, img); }

void IMGFXInvertRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h)
{
    imgcore::InvertRect(imgfxModule, img, x, y, w, h);
}

void IMGFXAndMask(const IMG *mask, IMG *dst) { imgcore::AndMask(imgfxModule, mask, dst); }

void IMGFXScale(const IMG *src, IMG *dst) { imgcore::Scale(imgfxModule, src, dst); }

IMG *IMGFXRotate(const IMG *src, int32_t angle) { return imgcore::Rotate(imgfxModule, src, angle); }

int32_t *IMGFXRunTable(int32_t p, int32_t q) { return imgcore::RunTable(imgfxModule, p, q); }

int32_t *IMGFXRunTableMirrored(int32_t p, int32_t q) { return imgcore::RunTableMirrored(imgfxModule, p, q); }

void IMGFXBlur(const IMG *src, IMG *dst, uint32_t r)
{
    if (src == nullptr || dst == nullptr || src->pixels == nullptr || dst->pixels == nullptr ||
        src->pixels == dst->pixels || src->width < 0 || src->height < 0 || dst->width < 0 || dst->height < 0) {
        IMGFXError();
        return;
    }
    // Each channel sum is divided by the whole (2r + 1)^2 square, the pixels outside
    // src counting as black; a square larger than 2^64 exceeds every possible sum.
    const uint64_t side = 2 * uint64_t{r} + 1;
    if (side > UINT32_MAX) {
        const int64_t width = std::min(src->width, dst->width);
        const int64_t height = std::min(src->height, dst->height);
        for (int64_t y = 0; y < height; ++y) {
            std::fill_n(dst->pixels + y * dst->width, width, 0u);
        }
        return;
    }
    const uint64_t area = side * side;
    if (r == 1 && BlurRadiusOne(src, dst)) {
        return;
    }
    if (area <= PackedSums::largestArea && BoxBlur<PackedSums>(src, dst, r, area)) {
        return;
    }
    if (!BoxBlur<WideSums>(src, dst, r, area)) {
        BoxBlurDirect(src, dst, r, area);
    }
}

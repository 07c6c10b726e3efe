// The operations shared with IMG are one call each into their common
// implementation; the blur, which only IMGFX has, is written out here.
#include "gfx/imgfx.h"

#include "core/module.h"
#include "gfx/imgcore.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr Reporting imgfxReporting = Reporting::Off;
constexpr imgcore::Module imgfxModule{IMGFXError, "IMGFX"};

}  // namespace

IMG *IMGFXNew()
{
    return imgcore::New(imgfxModule);
}

void IMGFXFree(IMG **handle)
{
    imgcore::Free(imgfxModule, handle);
}

IMG *IMGFXCopy(const IMG *src)
{
    return imgcore::Copy(imgfxModule, src);
}

bool IMGFXEqual(const IMG *a, const IMG *b)
{
    return imgcore::Equal(imgfxModule, a, b);
}

void IMGFXError()
{
    ModuleReport(imgfxReporting, "IMGFX error\n");
}

void IMGFXResize(IMG *img, int32_t w, int32_t h)
{
    imgcore::Resize(imgfxModule, img, w, h);
}

void IMGFXClear(IMG *img)
{
    imgcore::Clear(imgfxModule, img);
}

void IMGFXCopyPixels(const IMG *src, IMG *dst)
{
    imgcore::CopyPixels(imgfxModule, src, dst);
}

void IMGFXSetPixel(IMG *img, int32_t x, int32_t y, uint32_t colour)
{
    imgcore::SetPixel(imgfxModule, img, x, y, colour);
}

uint32_t IMGFXGetPixel(const IMG *img, int32_t x, int32_t y)
{
    return imgcore::GetPixel(imgfxModule, img, x, y);
}

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

char *IMGFXToASCII(const IMG *img)
{
    return imgcore::ToASCII(imgfxModule, img);
}

IMG *IMGFXFromASCII(const char *text)
{
    return imgcore::FromASCII(imgfxModule, text);
}

IMG *IMGFXLoadPNM(const char *path)
{
    return imgcore::LoadPNM(imgfxModule, path);
}

IMG *IMGFXParsePNM(const unsigned char *data, std::size_t size)
{
    return imgcore::ParsePNM(imgfxModule, data, size);
}

bool IMGFXSavePPM(const IMG *img, const char *path)
{
    return imgcore::SavePPM(imgfxModule, img, path);
}

int32_t IMGFXFindText(const char *text, const char *pattern)
{
    return imgcore::FindText(imgfxModule, text, pattern);
}

void IMGFXFade(IMG *img, uint32_t colour)
{
    imgcore::Fade(imgfxModule, img, colour);
}

void IMGFXBlend(const IMG *src, IMG *dst, int32_t x, int32_t y)
{
    imgcore::Blend(imgfxModule, src, dst, x, y);
}

void IMGFXInvert(IMG *img)
{
    imgcore::Invert(imgfxModule, img);
}

void IMGFXInvertRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h)
{
    imgcore::InvertRect(imgfxModule, img, x, y, w, h);
}

void IMGFXAndMask(const IMG *mask, IMG *dst)
{
    imgcore::AndMask(imgfxModule, mask, dst);
}

void IMGFXScale(const IMG *src, IMG *dst)
{
    imgcore::Scale(imgfxModule, src, dst);
}

IMG *IMGFXRotate(const IMG *src, int32_t angle)
{
    return imgcore::Rotate(imgfxModule, src, angle);
}

int32_t *IMGFXRunTable(int32_t p, int32_t q)
{
    return imgcore::RunTable(imgfxModule, p, q);
}

int32_t *IMGFXRunTableMirrored(int32_t p, int32_t q)
{
    return imgcore::RunTableMirrored(imgfxModule, p, q);
}

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
    const bool tooWide = side > UINT32_MAX;
    const uint64_t area = tooWide ? 1 : side * side;
    const int64_t reach = r;
    const int64_t width = std::min(src->width, dst->width);
    const int64_t height = std::min(src->height, dst->height);
    for (int64_t y = 0; y < height; ++y) {
        const int64_t top = std::max<int64_t>(0, y - reach);
        const int64_t bottom = std::min<int64_t>(src->height - 1, y + reach);
        for (int64_t x = 0; x < width; ++x) {
            const int64_t left = std::max<int64_t>(0, x - reach);
            const int64_t right = std::min<int64_t>(src->width - 1, x + reach);
            uint64_t red = 0, green = 0, blue = 0;
            for (int64_t j = top; j <= bottom; ++j) {
                const uint32_t *row = src->pixels + j * src->width;
                for (int64_t i = left; i <= right; ++i) {
                    red += (row[i] >> 16) & 0xFFu;
                    green += (row[i] >> 8) & 0xFFu;
                    blue += row[i] & 0xFFu;
                }
            }
            const uint32_t pixel = tooWide ? 0u
                                           : static_cast<uint32_t>(red / area) << 16 |
                                                 static_cast<uint32_t>(green / area) << 8 |
                                                 static_cast<uint32_t>(blue / area);
            dst->pixels[x + y * dst->width] = pixel;
        }
    }
}

// Every operation is one call into the implementation shared with IMGFX.
#include "gfx/img.h"

#include "core/module.h"
#include "gfx/imgcore.h"

namespace {

constexpr Reporting imgReporting = Reporting::Off;
constexpr imgcore::Module imgModule{IMGError, "IMG"};

}  // namespace

IMG *IMGNew() { return imgcore::New(imgModule); }

void IMGFree(IMG **handle) { imgcore::Free(imgModule, handle); }

IMG *IMGCopy(const IMG *src) { return imgcore::Copy(imgModule, src); }

bool IMGEqual(const IMG *a, const IMG *b) { return imgcore::Equal(imgModule, a, b); }

void IMGError() { ModuleReport(imgReporting, "IMG error\n"); }

void IMGResize(IMG *img, int32_t w, int32_t h) { imgcore::Resize(imgModule, img, w, h); }

void IMGClear(IMG *img) { imgcore::Clear(imgModule, img); }

void IMGCopyPixels(const IMG *src, IMG *dst) { imgcore::CopyPixels(imgModule, src, dst); }

void IMGSetPixel(IMG *img, int32_t x, int32_t y, uint32_t colour) { imgcore::SetPixel(imgModule, img, x, y, colour); }

uint32_t IMGGetPixel(const IMG *img, int32_t x, int32_t y) { return imgcore::GetPixel(imgModule, img, x, y); }

void IMGDrawLine(IMG *img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour)
{
    imgcore::DrawLine(imgModule, img, x0, y0, x1, y1, colour);
}

void IMGFillRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    imgcore::FillRect(imgModule, img, x, y, w, h, colour);
}

void IMGDrawRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    imgcore::DrawRect(imgModule, img, x, y, w, h, colour);
}

void IMGDrawCircle(IMG *img, int32_t cx, int32_t cy, int32_t r, uint32_t colour)
{
    imgcore::DrawCircle(imgModule, img, cx, cy, r, colour);
}

int32_t *IMGLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    return imgcore::LinePoints(imgModule, x0, y0, x1, y1);
}

void IMGBlit(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    imgcore::Blit(imgModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGBlitMasked(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    imgcore::BlitMasked(imgModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGBlitAdd(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    imgcore::BlitAdd(imgModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGBlitAddSaturate(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    imgcore::BlitAddSaturate(imgModule, src, dst, sx, sy, dx, dy, w, h);
}

void IMGBlitSpaced(const IMG *src, IMG *dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h,
                   int32_t stepx, int32_t stepy)
{
    imgcore::BlitSpaced(imgModule, src, dst, sx, sy, dx, dy, w, h, stepx, stepy);
}

void IMGCopyRow(const IMG *src, IMG *dst, int32_t srow, int32_t drow)
{
    imgcore::CopyRow(imgModule, src, dst, srow, drow);
}

void IMGCopyRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset)
{
    imgcore::CopyRowWrap(imgModule, src, dst, srow, drow, offset);
}

void IMGOrRowWrap(const IMG *src, IMG *dst, int32_t srow, int32_t drow, int32_t offset)
{
    imgcore::OrRowWrap(imgModule, src, dst, srow, drow, offset);
}

void IMGCopyColumnWrap(const IMG *src, IMG *dst, int32_t scol, int32_t dcol, int32_t offset)
{
    imgcore::CopyColumnWrap(imgModule, src, dst, scol, dcol, offset);
}

char *IMGToASCII(const IMG *img) { return imgcore::ToASCII(imgModule, img); }

IMG *IMGFromASCII(const char *text) { return imgcore::FromASCII(imgModule, text); }

IMG *IMGLoadPNM(const char *path) { return imgcore::LoadPNM(imgModule, path); }

IMG *IMGParsePNM(const unsigned char *data, std::size_t size) { return imgcore::ParsePNM(imgModule, data, size); }

bool IMGSavePPM(const IMG *img, const char *path) { return imgcore::SavePPM(imgModule, img, path); }

int32_t IMGFindText(const char *text, const char *pattern) { return imgcore::FindText(imgModule, text, pattern); }

void IMGFade(IMG *img, uint32_t colour) { imgcore::Fade(imgModule, img, colour); }

void IMGBlend(const IMG *src, IMG *dst, int32_t x, int32_t y) { imgcore::Blend(imgModule, src, dst, x, y); }

void IMGInvert(IMG *img) { imgcore::Invert(imgModule, img); }

void IMGInvertRect(IMG *img, int32_t x, int32_t y, int32_t w, int32_t h)
{
    imgcore::InvertRect(imgModule, img, x, y, w, h);
}

void IMGAndMask(const IMG *mask, IMG *dst) { imgcore::AndMask(imgModule, mask, dst); }

void IMGScale(const IMG *src, IMG *dst) { imgcore::Scale(imgModule, src, dst); }

IMG *IMGRotate(const IMG *src, int32_t angle) { return imgcore::Rotate(imgModule, src, angle); }

int32_t *IMGRunTable(int32_t p, int32_t q) { return imgcore::RunTable(imgModule, p, q); }

int32_t *IMGRunTableMirrored(int32_t p, int32_t q) { return imgcore::RunTableMirrored(imgModule, p, q); }

void IMGFillSpan(IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour)
{
    imgcore::FillSpan(imgModule, img, y, first, last, colour);
}

void IMGBlendSpan(IMG *img, int32_t y, int32_t first, int32_t last, uint32_t colour, int32_t weight)
{
    imgcore::BlendSpan(imgModule, img, y, first, last, colour, weight);
}

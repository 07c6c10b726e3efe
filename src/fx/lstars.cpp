#include "fx/lstars.h"

#include <new>

#include "core/module.h"
#include "core/wrap.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "vector/font.h"

namespace {

constexpr Reporting lstarsReporting = Reporting::Off;

constexpr int32_t defaultCount = 16;
// Largest star count whose 2 x count values still index with an int32_t.
constexpr int32_t maximumCount = INT32_MAX / 2;

// Whole pixels as 16.16; positions wrap modulo 2^32 rather than overflow.
int32_t Fixed(int64_t pixels) { return static_cast<int32_t>(static_cast<uint32_t>(pixels) << 16); }

int32_t Pixels(int64_t fixed) { return static_cast<int32_t>(fixed >> 16); }

// Re-enters a coordinate that left 0 .. size - 1 by more than margin pixels at
// the far side, the same margin outside. A negative margin lies inside the area.
int32_t WrapAxis(int32_t position, int32_t size, int32_t margin)
{
    const int64_t pixel = Pixels(position);
    if (pixel < -int64_t{margin}) {
        return Fixed(int64_t{size} + margin - 1);
    }
    if (pixel >= int64_t{size} + margin) {
        return Fixed(int64_t{1} - margin);
    }
    return position;
}

// Stars and image checked, the image's size taken over: ready to draw.
bool PrepareDraw(LSTARS *stars, const IMG *image)
{
    if (stars == nullptr || image == nullptr || stars->stars == nullptr) {
        LSTARSError();
        return false;
    }
    stars->width = image->width;
    stars->height = image->height;
    return true;
}

}  // namespace

LSTARS *LSTARSNew()
{
    LSTARS *stars = new (std::nothrow) LSTARS{};
    if (stars == nullptr) {
        LSTARSError();
        return nullptr;
    }
    stars->width = 256;
    stars->height = 256;
    stars->vx = 0;
    stars->vy = Fixed(1);
    stars->colour = 0xFFFFFF;
    stars->glyphs = nullptr;
    LSTARSSetCount(stars, defaultCount);
    if (stars->stars == nullptr) {
        delete stars;
        LSTARSError();
        return nullptr;
    }
    return stars;
}

void LSTARSFree(LSTARS **handle) { ModuleFreeOwning(handle, &LSTARS::stars, LSTARSError); }

void LSTARSSetCount(LSTARS *stars, int32_t n)
{
    if (stars == nullptr || n <= 0 || n > maximumCount) {
        LSTARSError();
        return;
    }
    // The new array is had before the old one goes, so a failure keeps the old stars.
    int32_t *values = new (std::nothrow) int32_t[2 * static_cast<std::size_t>(n)]();
    if (values == nullptr) {
        LSTARSError();
        return;
    }
    delete[] stars->stars;
    stars->stars = values;
    stars->count = n;
    LSTARSScatter(stars);
}

void LSTARSScatter(LSTARS *stars)
{
    if (stars == nullptr || stars->stars == nullptr || stars->width <= 0 || stars->height <= 0) {
        LSTARSError();
        return;
    }
    for (int32_t i = stars->count - 1; i >= 0; --i) {
        LSTARSPlace(stars, i);
    }
}

void LSTARSPlace(LSTARS *stars, int32_t i)
{
    if (stars == nullptr || stars->stars == nullptr || i < 0 || i >= stars->count || stars->width <= 0 ||
        stars->height <= 0) {
        LSTARSError();
        return;
    }
    // x is drawn before y: the order is part of the picture.
    const int32_t x = RANDOMNext() % stars->width;
    const int32_t y = RANDOMNext() % stars->height;
    stars->stars[2 * i] = Fixed(x);
    stars->stars[2 * i + 1] = Fixed(y);
}

void LSTARSMove(LSTARS *stars)
{
    if (stars == nullptr || stars->stars == nullptr) {
        LSTARSError();
        return;
    }
    // The streak length in whole pixels, which is also the wrap margin.
    const int32_t mx = Pixels(2 * int64_t{stars->vx});
    const int32_t my = Pixels(2 * int64_t{stars->vy});
    for (int32_t i = 0; i < stars->count; ++i) {
        int32_t &x = stars->stars[2 * i];
        int32_t &y = stars->stars[2 * i + 1];
        x = WrapAxis(WrapAdd(x, stars->vx), stars->width, mx);
        y = WrapAxis(WrapAdd(y, stars->vy), stars->height, my);
    }
}

void LSTARSDraw(LSTARS *stars, IMG *image)
{
    if (!PrepareDraw(stars, image)) {
        return;
    }
    const uint32_t colour = static_cast<uint32_t>(stars->colour);
    for (int32_t i = stars->count - 1; i >= 0; --i) {
        const int32_t x = stars->stars[2 * i];
        const int32_t y = stars->stars[2 * i + 1];
        IMGDrawLine(image, Pixels(x), Pixels(y), Pixels(x - 2 * int64_t{stars->vx}), Pixels(y - 2 * int64_t{stars->vy}),
                    colour);
    }
}

void LSTARSDrawPoints(LSTARS *stars, IMG *image)
{
    if (!PrepareDraw(stars, image)) {
        return;
    }
    const uint32_t colour = static_cast<uint32_t>(stars->colour);
    for (int32_t i = 0; i < stars->count; ++i) {
        IMGSetPixel(image, Pixels(stars->stars[2 * i]), Pixels(stars->stars[2 * i + 1]), colour);
    }
}

void LSTARSDrawGlyphs(LSTARS *stars, IMG *image)
{
    if (stars != nullptr && stars->glyphs == nullptr) {
        LSTARSError();
        return;
    }
    if (!PrepareDraw(stars, image)) {
        return;
    }
    FONT *font = stars->glyphs;
    for (int32_t i = 0; i < stars->count; ++i) {
        const int32_t x = Pixels(stars->stars[2 * i]);
        const int32_t y = Pixels(stars->stars[2 * i + 1]);
        font->target = image;
        // A truncating remainder: stars above the area pick negative codes.
        font->code = y % 64;
        font->x = static_cast<int32_t>(int64_t{x} - 16);
        font->y = static_cast<int32_t>(int64_t{y} - 16);
        FONTPutChar(font);
    }
}

char *LSTARSToASCII(const LSTARS *stars)
{
    if (stars == nullptr) {
        LSTARSError();
    }
    return nullptr;
}

LSTARS *LSTARSFromASCII(const char *text)
{
    if (text == nullptr) {
        LSTARSError();
    }
    return nullptr;
}

bool LSTARSEqual(const LSTARS *a, const LSTARS *b)
{
    if (a == nullptr || b == nullptr) {
        LSTARSError();
    }
    return false;
}

LSTARS *LSTARSCopy(const LSTARS *stars)
{
    if (stars == nullptr) {
        LSTARSError();
        return nullptr;
    }
    return LSTARSNew();
}

void LSTARSError() { ModuleReport(lstarsReporting, "LSTARS error\n"); }

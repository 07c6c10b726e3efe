#include "fx/raster.h"

#include <cstddef>
#include <cstdio>
#include <new>

#include "core/module.h"
#include "gfx/img.h"

namespace {

// This module's reporter tests a constant: every refused call prints.
constexpr Reporting rasterReporting = Reporting::Always;

constexpr int32_t defaultSize = 256;
constexpr int32_t fullWeight = 256;

int32_t Channel(int32_t colour, int shift) { return (colour >> shift) & 0xFF; }

int32_t Compose(int64_t red, int64_t green, int64_t blue)
{
    return static_cast<int32_t>(((red & 0xFF) << 16) | ((green & 0xFF) << 8) | (blue & 0xFF));
}

// A raster whose list agrees with its size: size 0, or colours present.
bool Consistent(const RASTER *raster)
{
    return raster != nullptr && raster->size >= 0 && (raster->size == 0 || raster->colours != nullptr);
}

// The colour of image row y; an offset outside 0 .. size - 1 still lands in the list.
int32_t RowColour(const RASTER *raster, int32_t y)
{
    int64_t index = (int64_t{raster->offset} + y) % raster->size;
    if (index < 0) {
        index += raster->size;
    }
    return raster->colours[index];
}

// The checks RASTERDraw and RASTERDrawBlend share: a usable raster and an image with pixels.
bool DrawTarget(const RASTER *raster, const IMG *image)
{
    if (!Consistent(raster)) {
        RASTERError();
        return false;
    }
    if (image == nullptr) {
        // The span fill reports a missing image through the image module.
        IMGError();
        return false;
    }
    if (image->pixels == nullptr) {
        RASTERError();
        return false;
    }
    return true;
}

}  // namespace

RASTER *RASTERNew()
{
    RASTER *raster = new (std::nothrow) RASTER{};
    if (raster == nullptr) {
        RASTERError();
        return nullptr;
    }
    if (RASTERSetSize(raster, defaultSize) == nullptr) {
        delete raster;
        return nullptr;
    }
    return raster;
}

void RASTERFree(RASTER **handle) { ModuleFreeOwning(handle, &RASTER::colours, RASTERError); }

RASTER *RASTERSetSize(RASTER *raster, int32_t n)
{
    if (raster == nullptr || n < 0) {
        RASTERError();
        return nullptr;
    }
    int32_t *colours = nullptr;
    if (n > 0) {
        // Had before the old list goes, so a failure keeps the old colours.
        colours = new (std::nothrow) int32_t[static_cast<std::size_t>(n)]();
        if (colours == nullptr) {
            RASTERError();
            return nullptr;
        }
    }
    delete[] raster->colours;
    raster->colours = colours;
    raster->size = n;
    raster->offset = 0;
    return raster;
}

void RASTERClear(RASTER *raster)
{
    if (!Consistent(raster)) {
        RASTERError();
        return;
    }
    for (int32_t i = 0; i < raster->size; ++i) {
        raster->colours[i] = 0;
    }
}

RASTER *RASTERCopy(const RASTER *raster)
{
    if (!Consistent(raster)) {
        RASTERError();
        return nullptr;
    }
    RASTER *copy = new (std::nothrow) RASTER{};
    if (copy == nullptr || RASTERSetSize(copy, raster->size) == nullptr) {
        delete copy;
        RASTERError();
        return nullptr;
    }
    for (int32_t i = 0; i < raster->size; ++i) {
        copy->colours[i] = raster->colours[i];
    }
    return copy;
}

bool RASTEREqual(const RASTER *a, const RASTER *b)
{
    if (!Consistent(a) || !Consistent(b)) {
        RASTERError();
        return false;
    }
    if (a->size != b->size) {
        return false;
    }
    for (int32_t i = 0; i < a->size; ++i) {
        if (a->colours[i] != b->colours[i]) {
            return false;
        }
    }
    return true;
}

void RASTERStep(RASTER *raster)
{
    if (!Consistent(raster)) {
        RASTERError();
        return;
    }
    if (raster->size == 0) {
        return;
    }
    // Also pulls an offset set out of range back to the start of the list.
    if (raster->offset < 0 || raster->offset >= raster->size - 1) {
        raster->offset = 0;
    } else {
        ++raster->offset;
    }
}

void RASTERSmooth(RASTER *raster, int32_t radius)
{
    if (!Consistent(raster) || radius <= 0) {
        RASTERError();
        return;
    }
    const int32_t size = raster->size;
    if (size == 0) {
        return;
    }
    int32_t *smoothed = new (std::nothrow) int32_t[static_cast<std::size_t>(size)]();
    if (smoothed == nullptr) {
        RASTERError();
        return;
    }
    const int32_t *colours = raster->colours;
    const int64_t divisor = 2 * int64_t{radius} + 2;
    for (int32_t i = 0; i < size; ++i) {
        int64_t sums[3] = {0, 0, 0};
        for (int c = 0; c < 3; ++c) {
            sums[c] = 2 * int64_t{Channel(colours[i], 16 - 8 * c)};
        }
        for (int64_t k = 1; k <= radius; ++k) {
            // Upper neighbours wrap round the end; lower ones mirror at index 0.
            const int32_t above = colours[(i + k) % size];
            const int32_t below = colours[(i >= k ? i - k : k - i) % size];
            for (int c = 0; c < 3; ++c) {
                sums[c] += Channel(above, 16 - 8 * c) + Channel(below, 16 - 8 * c);
            }
        }
        smoothed[i] = Compose(sums[0] / divisor, sums[1] / divisor, sums[2] / divisor);
    }
    for (int32_t i = 0; i < size; ++i) {
        raster->colours[i] = smoothed[i];
    }
    delete[] smoothed;
}

void RASTERDraw(const RASTER *raster, IMG *image)
{
    if (!DrawTarget(raster, image) || raster->size == 0) {
        return;
    }
    for (int32_t y = 0; y < image->height; ++y) {
        IMGFillSpan(image, y, 0, image->width - 1, static_cast<uint32_t>(RowColour(raster, y)));
    }
}

void RASTERDrawBlend(const RASTER *raster, IMG *image, int32_t weight)
{
    if (weight < 0 || weight > fullWeight) {
        RASTERError();
        return;
    }
    if (!DrawTarget(raster, image) || raster->size == 0) {
        return;
    }
    for (int32_t y = 0; y < image->height; ++y) {
        IMGBlendSpan(image, y, 0, image->width - 1, static_cast<uint32_t>(RowColour(raster, y)), weight);
    }
}

RASTER *RASTERLoad(const char *name)
{
    if (name == nullptr) {
        RASTERError();
        return nullptr;
    }
    std::FILE *file = std::fopen(name, "rb");
    if (file == nullptr) {
        RASTERError();
        return nullptr;
    }
    // There is no stored form: an openable file yields an empty raster.
    std::fclose(file);
    RASTER *raster = new (std::nothrow) RASTER{};
    if (raster == nullptr) {
        RASTERError();
    }
    return raster;
}

bool RASTERSave(const RASTER *raster, const char *name)
{
    if (raster == nullptr || raster->colours == nullptr || name == nullptr || raster->size == 0) {
        RASTERError();
        return false;
    }
    std::FILE *file = std::fopen(name, "w");
    if (file == nullptr) {
        RASTERError();
        return false;
    }
    // There is no stored form: the file is created or emptied and nothing is written.
    if (std::fclose(file) != 0) {
        RASTERError();
        return false;
    }
    return true;
}

char *RASTERToASCII(const RASTER *raster)
{
    if (raster == nullptr) {
        RASTERError();
    }
    return nullptr;
}

RASTER *RASTERFromASCII(const char *text)
{
    if (text == nullptr) {
        RASTERError();
    }
    return nullptr;
}

void RASTERError() { ModuleReport(rasterReporting, "RASTER error\n"); }

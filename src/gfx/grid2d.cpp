#include "gfx/grid2d.h"

#include <new>

#include "core/module.h"
#include "gfx/img.h"
#include "gfx/random.h"

namespace {

// The report prints on every call: this module has no switch.
constexpr Reporting grid2dReporting = Reporting::Always;

constexpr int32_t defaultSize = 256;
constexpr int32_t defaultCount = 16;

// 16.16 fixed point: 65536 is one pixel.
constexpr int32_t fixedShift = 16;
constexpr int64_t fixedOne = int64_t{1} << fixedShift;

// The largest box size whose extent in 16.16 still fits a signed 32-bit position.
constexpr int32_t largestSize = 32767;
static_assert(largestSize * fixedOne <= INT32_MAX, "box extent must fit a 16.16 position");

// Velocity components take at most this magnitude.
constexpr int32_t velocityMask = 0x3FFFF;

enum Field { fieldX, fieldY, fieldZ, fieldVX, fieldVY, fieldVZ };
static_assert(fieldVZ + 1 == grid2dPointFields, "one slot per field of a point");

bool SizeFits(int32_t size) { return size >= 1 && size <= largestSize; }

bool BoxFits(const GRID2D *g) { return SizeFits(g->width) && SizeFits(g->height) && SizeFits(g->depth); }

// Point i exists: the grid has points and i names one of them.
bool HasPoint(const GRID2D *g, int32_t i) { return g != nullptr && g->points != nullptr && i >= 0 && i < g->count; }

int32_t *Point(GRID2D *g, int32_t i) { return g->points + static_cast<int64_t>(i) * grid2dPointFields; }

// One axis of a step: p + v wrapped once into 0 .. extent - 1.
int64_t Wrap(int32_t p, int32_t v, int64_t extent)
{
    int64_t n = int64_t{p} + v;
    if (n >= extent) {
        n -= extent;
    }
    if (n < 0) {
        n += extent;
    }
    return n;
}

}  // namespace

GRID2D *GRID2DNew()
{
    GRID2D *g = new (std::nothrow) GRID2D{};
    if (g == nullptr) {
        GRID2DError();
        return nullptr;
    }
    g->width = defaultSize;
    g->height = defaultSize;
    g->depth = defaultSize;
    g->image = nullptr;
    GRID2DSetCount(g, defaultCount);
    if (g->points == nullptr) {
        delete g;
        GRID2DError();
        return nullptr;
    }
    return g;
}

void GRID2DFree(GRID2D **handle) { ModuleFreeOwning(handle, &GRID2D::points, GRID2DError); }

void GRID2DSetCount(GRID2D *g, int32_t n)
{
    if (g == nullptr || n < 0) {
        return;
    }
    delete[] g->points;
    g->points = nullptr;
    g->count = 0;
    if (n == 0 || n > INT32_MAX / grid2dPointFields) {
        return;
    }
    g->points = new (std::nothrow) int32_t[static_cast<size_t>(n) * grid2dPointFields]();
    if (g->points == nullptr) {
        return;
    }
    g->count = n;
    GRID2DReset(g);
}

void GRID2DReset(GRID2D *g)
{
    if (g == nullptr || g->points == nullptr) {
        return;
    }
    // Last point first: the order of random draws is part of the behaviour.
    for (int32_t i = g->count - 1; i >= 0; --i) {
        GRID2DRandomPosition(g, i);
        GRID2DRandomVelocity(g, i);
    }
}

void GRID2DRandomPosition(GRID2D *g, int32_t i)
{
    if (!HasPoint(g, i) || !BoxFits(g)) {
        return;
    }
    int32_t *p = Point(g, i);
    p[fieldX] = (RANDOMNext() % g->width) << fixedShift;
    p[fieldY] = (RANDOMNext() % g->height) << fixedShift;
    p[fieldZ] = (RANDOMNext() % g->depth) << fixedShift;
}

void GRID2DRandomVelocity(GRID2D *g, int32_t i)
{
    if (!HasPoint(g, i)) {
        return;
    }
    int32_t *p = Point(g, i);
    for (int32_t field = fieldVX; field <= fieldVZ; ++field) {
        // Magnitude first, then the sign from the lowest bit of a second draw.
        int32_t v = RANDOMNext() & velocityMask;
        if ((RANDOMNext() & 1) != 0) {
            v = -v;
        }
        p[field] = v;
    }
}

void GRID2DStep(GRID2D *g)
{
    if (g == nullptr || g->points == nullptr || g->image == nullptr || !BoxFits(g)) {
        return;
    }
    const int64_t w = g->width * fixedOne;
    const int64_t h = g->height * fixedOne;
    const int64_t d = g->depth * fixedOne;
    for (int32_t i = 0; i < g->count; ++i) {
        int32_t *p = Point(g, i);
        const int64_t nx = Wrap(p[fieldX], p[fieldVX], w);
        const int64_t ny = Wrap(p[fieldY], p[fieldVY], h);
        int64_t nz = int64_t{p[fieldZ]} + p[fieldVZ];
        if (nz >= d) {
            nz -= d;
        }
        const int32_t px = static_cast<int32_t>(nx >> fixedShift);
        const int32_t py = static_cast<int32_t>(ny >> fixedShift);
        if (IMGGetPixel(g->image, px, py) != 0) {
            GRID2DRandomVelocity(g, i);
            continue;
        }
        if (nz < 0) {
            nz += d;
        }
        p[fieldX] = static_cast<int32_t>(nx);
        p[fieldY] = static_cast<int32_t>(ny);
        p[fieldZ] = static_cast<int32_t>(nz);
    }
}

void GRID2DDrawPoints(GRID2D *g, IMG *img)
{
    if (g == nullptr || img == nullptr) {
        return;
    }
    g->image = img;
    if (g->points == nullptr) {
        return;
    }
    for (int32_t i = 0; i < g->count; ++i) {
        const int32_t *p = Point(g, i);
        // Depth shades the dot: full yellow at z = 0, black at the far face.
        const uint32_t a = 255u - (static_cast<uint32_t>(p[fieldZ] >> fixedShift) & 0xFFu);
        IMGSetPixel(img, p[fieldX] >> fixedShift, p[fieldY] >> fixedShift, (a << 16) | (a << 8));
    }
}

void GRID2DDrawSprites(const GRID2D *g, IMG *img, const IMG *sprite)
{
    if (g == nullptr || g->points == nullptr || img == nullptr || sprite == nullptr) {
        return;
    }
    for (int32_t i = 0; i < g->count; ++i) {
        const int32_t *p = g->points + static_cast<int64_t>(i) * grid2dPointFields;
        const int32_t dx = static_cast<int32_t>(int64_t{p[fieldX] >> fixedShift} - (sprite->width >> 1));
        const int32_t dy = static_cast<int32_t>(int64_t{p[fieldY] >> fixedShift} - (sprite->height >> 1));
        IMGBlitMasked(sprite, img, 0, 0, dx, dy, sprite->width, sprite->height);
    }
}

void GRID2DError() { ModuleReport(grid2dReporting, "GRID2D error\n"); }

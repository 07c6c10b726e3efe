#include "gfx/vec2d.h"

#include <new>

#include "core/module.h"
#include "core/wrap.h"
#include "gfx/img.h"
#include "gfx/sine.h"

namespace {

constexpr Reporting vec2dReporting = Reporting::On;

constexpr uint32_t white = 0xFFFFFFu;

// The rotation with Q15 sine S and cosine C, both products of each line formed
// from the old coordinates. The products are taken in 64 bits: for coordinates
// within -32767 .. 32767 this is exactly the 32-bit result, and larger ones
// give the wrapped low 32 bits of the true value instead of overflowing.
void Rotate(int32_t x, int32_t y, int32_t angle, int32_t *outX, int32_t *outY)
{
    const int64_t s = SINESin(angle);
    const int64_t c = SINECos(angle);
    const int64_t x64 = x;
    const int64_t y64 = y;
    // Arithmetic shift: rounds towards minus infinity.
    *outX = static_cast<int32_t>((x64 * c - y64 * s) >> 15);
    *outY = static_cast<int32_t>((x64 * s + y64 * c) >> 15);
}

}  // namespace

VEC2D *VEC2DNew()
{
    VEC2D *v = new (std::nothrow) VEC2D{};
    if (v == nullptr) {
        VEC2DError();
        return nullptr;
    }
    v->colour = white;
    return v;
}

void VEC2DFree(VEC2D **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        VEC2DError();
        return;
    }
    delete *handle;
    *handle = nullptr;
}

VEC2D *VEC2DCopy(const VEC2D *v)
{
    if (v == nullptr) {
        VEC2DError();
        return nullptr;
    }
    VEC2D *copy = new (std::nothrow) VEC2D{};
    if (copy == nullptr) {
        VEC2DError();
        return nullptr;
    }
    *copy = *v;
    return copy;
}

void VEC2DCopyTo(const VEC2D *src, VEC2D *dst)
{
    if (src == nullptr || dst == nullptr) {
        VEC2DError();
        return;
    }
    dst->x = src->x;
    dst->y = src->y;
    dst->colour = src->colour;
}

bool VEC2DEqual(const VEC2D *a, const VEC2D *b)
{
    if (a == nullptr || b == nullptr) {
        VEC2DError();
        return false;
    }
    return a->x == b->x && a->y == b->y && a->colour == b->colour;
}

char *VEC2DToASCII(const VEC2D *v)
{
    if (v == nullptr) {
        VEC2DError();
    }
    return nullptr;
}

VEC2D *VEC2DFromASCII(const char *text)
{
    if (text == nullptr) {
        VEC2DError();
    }
    return nullptr;
}

void VEC2DDraw(const VEC2D *v, IMG *img)
{
    if (v == nullptr || img == nullptr) {
        VEC2DError();
        return;
    }
    IMGSetPixel(img, v->x, v->y, v->colour);
}

void VEC2DAdd(const VEC2D *delta, VEC2D *target)
{
    if (delta == nullptr || target == nullptr) {
        VEC2DError();
        return;
    }
    target->x = WrapAdd(target->x, delta->x);
    target->y = WrapAdd(target->y, delta->y);
}

void VEC2DScale(VEC2D *v, int32_t factor)
{
    if (v == nullptr) {
        VEC2DError();
        return;
    }
    v->x = WrapMul(v->x, factor);
    v->y = WrapMul(v->y, factor);
}

void VEC2DRotate(VEC2D *v, int32_t angle)
{
    if (v == nullptr) {
        VEC2DError();
        return;
    }
    Rotate(v->x, v->y, angle, &v->x, &v->y);
}

void VEC2DDrawTransformed(const VEC2D *v, int32_t angle, const VEC2D *offset, IMG *img)
{
    if (v == nullptr || offset == nullptr || img == nullptr) {
        VEC2DError();
        return;
    }
    int32_t x = 0;
    int32_t y = 0;
    Rotate(v->x, v->y, angle, &x, &y);
    IMGSetPixel(img, WrapAdd(x, offset->x), WrapAdd(y, offset->y), v->colour);
}

void VEC2DError() { ModuleReport(vec2dReporting, "VEC2D error\n"); }

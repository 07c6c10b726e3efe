#include "gfx/seg2d.h"

#include <new>

#include "core/module.h"
#include "gfx/img.h"

namespace {

constexpr Reporting seg2dReporting = Reporting::Off;

// A segment that can be worked on: present, with both end points.
bool Whole(const SEG2D *s) { return s != nullptr && s->start != nullptr && s->end != nullptr; }

// A new segment with end points at (x0, y0) and (x1, y1), both white; null
// when any part cannot be had, with whatever was built released again.
SEG2D *Build(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    SEG2D *s = new (std::nothrow) SEG2D{};
    if (s == nullptr) {
        return nullptr;
    }
    s->start = VEC2DNew();
    s->end = VEC2DNew();
    if (s->start == nullptr || s->end == nullptr) {
        if (s->start != nullptr) {
            VEC2DFree(&s->start);
        }
        if (s->end != nullptr) {
            VEC2DFree(&s->end);
        }
        delete s;
        return nullptr;
    }
    s->start->x = x0;
    s->start->y = y0;
    s->end->x = x1;
    s->end->y = y1;
    return s;
}

}  // namespace

SEG2D *SEG2DNew()
{
    SEG2D *s = Build(0, 0, 1, 1);
    if (s == nullptr) {
        SEG2DError();
    }
    return s;
}

void SEG2DFree(SEG2D **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        SEG2DError();
        return;
    }
    SEG2D *s = *handle;
    if (s->start != nullptr) {
        VEC2DFree(&s->start);
    }
    if (s->end != nullptr) {
        VEC2DFree(&s->end);
    }
    delete s;
    *handle = nullptr;
}

void SEG2DFreeRecord(SEG2D **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        SEG2DError();
        return;
    }
    delete *handle;
    *handle = nullptr;
}

SEG2D *SEG2DCopy(const SEG2D *s)
{
    if (!Whole(s)) {
        SEG2DError();
        return nullptr;
    }
    SEG2D *copy = Build(0, 0, 0, 0);
    if (copy == nullptr) {
        SEG2DError();
        return nullptr;
    }
    VEC2DCopyTo(s->start, copy->start);
    VEC2DCopyTo(s->end, copy->end);
    return copy;
}

void SEG2DCopyTo(const SEG2D *src, SEG2D *dst)
{
    if (!Whole(src) || !Whole(dst)) {
        SEG2DError();
        return;
    }
    VEC2DCopyTo(src->start, dst->start);
    VEC2DCopyTo(src->end, dst->end);
}

bool SEG2DEqual(const SEG2D *a, const SEG2D *b)
{
    if (!Whole(a) || !Whole(b)) {
        SEG2DError();
        return false;
    }
    return VEC2DEqual(a->start, b->start) && VEC2DEqual(a->end, b->end);
}

char *SEG2DToASCII(const SEG2D *s)
{
    if (s == nullptr) {
        SEG2DError();
    }
    return nullptr;
}

SEG2D *SEG2DFromASCII(const char *text)
{
    if (text == nullptr) {
        SEG2DError();
    }
    return nullptr;
}

void SEG2DDraw(const SEG2D *s, IMG *img)
{
    if (!Whole(s) || img == nullptr) {
        SEG2DError();
        return;
    }
    IMGDrawLine(img, s->start->x, s->start->y, s->end->x, s->end->y, s->start->colour);
}

void SEG2DDrawEnds(const SEG2D *s, IMG *img)
{
    if (!Whole(s) || img == nullptr) {
        SEG2DError();
        return;
    }
    VEC2DDraw(s->start, img);
    VEC2DDraw(s->end, img);
}

void SEG2DRotate(SEG2D *s, int32_t angle)
{
    if (!Whole(s)) {
        SEG2DError();
        return;
    }
    VEC2DRotate(s->start, angle);
    VEC2DRotate(s->end, angle);
}

void SEG2DTranslate(SEG2D *s, const VEC2D *offset)
{
    if (!Whole(s) || offset == nullptr) {
        SEG2DError();
        return;
    }
    VEC2DAdd(offset, s->start);
    VEC2DAdd(offset, s->end);
}

void SEG2DScale(SEG2D *s, int32_t factor)
{
    if (!Whole(s)) {
        SEG2DError();
        return;
    }
    VEC2DScale(s->start, factor);
    VEC2DScale(s->end, factor);
}

void SEG2DDrawTransformed(const SEG2D *s, int32_t angle, const VEC2D *offset, IMG *img)
{
    if (!Whole(s) || offset == nullptr || img == nullptr) {
        SEG2DError();
        return;
    }
    // A copy on the stack, its end points included: the model coordinates stay untouched.
    VEC2D start = *s->start;
    VEC2D end = *s->end;
    SEG2D moved{&start, &end};
    SEG2DRotate(&moved, angle);
    SEG2DTranslate(&moved, offset);
    SEG2DDraw(&moved, img);
}

void SEG2DError() { ModuleReport(seg2dReporting, "SEG2D error\n"); }

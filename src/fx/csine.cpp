#include "fx/csine.h"

#include <new>

#include "core/list.h"
#include "core/module.h"
#include "core/wrap.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "gfx/seg2d.h"
#include "gfx/sine.h"
#include "gfx/vec2d.h"

namespace {

constexpr Reporting csineReporting = Reporting::Off;

constexpr int32_t defaultSegments = 64;
// One full turn, 1024 table steps, in 16.16.
constexpr int32_t fullTurn = 1024 << 16;

// A whole number of table steps as 16.16.
int32_t Steps(int32_t steps) { return static_cast<int32_t>(static_cast<uint32_t>(steps) << 16); }

// The sine-table index of a 16.16 phase: its integer part (arithmetic shift; the table masks it).
int32_t Index(int32_t phase) { return phase >> 16; }

// Segment i, or null outside the list. Read here rather than through LISTGet: the
// update and the radials look up every segment of every curve in every frame.
SEG2D *Segment(const CSINE *csine, int32_t i)
{
    const LIST *segments = csine->segments;
    return segments != nullptr && i >= 0 && i < segments->count ? static_cast<SEG2D *>(segments->items[i]) : nullptr;
}

int32_t SegmentCount(const CSINE *csine) { return csine->segments == nullptr ? 0 : csine->segments->count; }

void SetDefaults(CSINE *csine)
{
    csine->width = 256;
    csine->height = 256;
    csine->x = 0;
    csine->y = 0;
    csine->radiusPhase = 0;
    csine->radiusSpeed = Steps(8);
    csine->radiusAmplitude = 128;
    csine->radiusStep = Steps(80);
    csine->colour = 0xFFFFFF;
    csine->anglePhase = 0;
    csine->angleSpeed = Steps(16);
    csine->radius = 128;
    csine->angleStep = Steps(32);
}

void ReleaseSegments(CSINE *csine)
{
    if (csine->segments == nullptr) {
        return;
    }
    for (int32_t i = csine->segments->count - 1; i >= 0; --i) {
        SEG2D *segment = Segment(csine, i);
        if (segment != nullptr) {
            SEG2DFree(&segment);
        }
    }
    LISTFree(&csine->segments);
}

// Places the start of segment i at angle phase h and radius phase a around the centre.
void PlacePoint(const CSINE *csine, SEG2D *segment, int32_t a, int32_t h)
{
    if (segment == nullptr || segment->start == nullptr) {
        return;
    }
    const int32_t cx = (csine->width >> 1) + csine->x;
    const int32_t cy = (csine->height >> 1) + csine->y;
    const int64_t r = csine->radius + ((int64_t{csine->radiusAmplitude} * SINESin(Index(a))) >> 16);
    segment->start->x = static_cast<int32_t>(cx + ((r * SINESin(Index(h))) >> 16));
    segment->start->y = static_cast<int32_t>(cy + ((r * SINECos(Index(h))) >> 16));
}

// Each end takes the next segment's start; the last one takes closing's start
// (its own for an open curve, segment 0's for a ring).
void LinkEnds(const CSINE *csine, bool closed)
{
    const int32_t n = SegmentCount(csine);
    for (int32_t i = 0; i < n; ++i) {
        SEG2D *segment = Segment(csine, i);
        if (segment == nullptr || segment->end == nullptr) {
            continue;
        }
        const SEG2D *next = i + 1 < n ? Segment(csine, i + 1) : (closed ? Segment(csine, 0) : segment);
        if (next == nullptr || next->start == nullptr) {
            continue;
        }
        segment->end->x = next->start->x;
        segment->end->y = next->start->y;
    }
}

}  // namespace

CSINE *CSINENew()
{
    CSINE *csine = new (std::nothrow) CSINE{};
    if (csine == nullptr) {
        CSINEError();
        return nullptr;
    }
    SetDefaults(csine);
    CSINESetSegments(csine, defaultSegments);
    if (SegmentCount(csine) != defaultSegments) {
        ReleaseSegments(csine);
        delete csine;
        CSINEError();
        return nullptr;
    }
    return csine;
}

void CSINEFree(CSINE **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        CSINEError();
        return;
    }
    ReleaseSegments(*handle);
    delete *handle;
    *handle = nullptr;
}

void CSINESetSegments(CSINE *csine, int32_t n)
{
    if (csine == nullptr || n < 0) {
        CSINEError();
        return;
    }
    ReleaseSegments(csine);
    csine->segments = LISTNew();
    if (csine->segments == nullptr) {
        CSINEError();
        return;
    }
    for (int32_t i = 0; i < n; ++i) {
        SEG2D *segment = SEG2DNew();
        if (segment == nullptr) {
            CSINEError();
            return;
        }
        const int32_t before = csine->segments->count;
        LISTAppend(csine->segments, segment);
        if (csine->segments->count == before) {
            // The list could not grow: do not leak the segment it refused.
            SEG2DFree(&segment);
            CSINEError();
            return;
        }
    }
}

void CSINERandomize(CSINE *csine)
{
    if (csine == nullptr) {
        CSINEError();
        return;
    }
    csine->width = 256;
    csine->height = 256;
    csine->x = 0;
    csine->y = 0;
    // The order of these draws is fixed: the same seed must give the same curve.
    // Speeds and steps are mask x 2 minus half the mask: odd and lopsided upwards.
    csine->radiusPhase = Steps(RANDOMNext() & 1023);
    csine->radiusSpeed = Steps((RANDOMNext() & 0x1F) * 2 - 15);
    csine->radiusStep = Steps((RANDOMNext() & 0x3F) * 2 - 31);
    csine->radiusAmplitude = (RANDOMNext() & 0xFF) + 16;
    csine->colour = RANDOMNext() & 0xFFFFFF;
    csine->anglePhase = Steps(RANDOMNext() & 1023);
    csine->angleSpeed = Steps((RANDOMNext() & 0x1F) * 2 - 15);
    csine->angleStep = Steps((RANDOMNext() & 0xF) * 2 - 7);
    csine->radius = (RANDOMNext() & 0xFF) + 16;
    CSINESetSegments(csine, (RANDOMNext() & 0xFF) + 64);
}

void CSINERandomizeFlower(CSINE *csine)
{
    if (csine == nullptr) {
        CSINEError();
        return;
    }
    csine->width = 256;
    csine->height = 256;
    csine->x = 0;
    csine->y = 0;
    // The order of these draws is fixed: the same seed must give the same curve.
    const int32_t n = (RANDOMNext() & 0xFF) + 64;
    CSINESetSegments(csine, n);
    const int32_t k = (RANDOMNext() & 0xF) + 1;
    csine->radiusPhase = Steps(RANDOMNext() & 1023);
    csine->radiusSpeed = Steps((RANDOMNext() & 0x1F) + 1);
    // k whole radius waves along the curve; n is the drawn count, never 0.
    csine->radiusStep = static_cast<int32_t>(int64_t{k} * fullTurn / n);
    csine->radiusAmplitude = (RANDOMNext() & 0xFF) + 16;
    csine->colour = RANDOMNext() & 0xFFFFFF;
    csine->anglePhase = Steps(RANDOMNext() & 1023);
    csine->angleSpeed = Steps((RANDOMNext() & 0x1F) + 1);
    csine->angleStep = Steps((RANDOMNext() & 0x3F) + 16);
    csine->radius = (RANDOMNext() & 0xFF) + 16;
}

void CSINESetColour(CSINE *csine, uint32_t colour)
{
    if (csine == nullptr) {
        CSINEError();
        return;
    }
    csine->colour = static_cast<int32_t>(colour);
    const int32_t n = SegmentCount(csine);
    for (int32_t i = 0; i < n; ++i) {
        SEG2D *segment = Segment(csine, i);
        if (segment == nullptr) {
            continue;
        }
        if (segment->start != nullptr) {
            segment->start->colour = colour;
        }
        if (segment->end != nullptr) {
            segment->end->colour = colour;
        }
    }
}

void CSINEUpdate(CSINE *csine)
{
    if (csine == nullptr) {
        CSINEError();
        return;
    }
    csine->radiusPhase = WrapAdd(csine->radiusPhase, csine->radiusSpeed);
    csine->anglePhase = WrapAdd(csine->anglePhase, csine->angleSpeed);
    int32_t a = csine->radiusPhase;
    int32_t h = csine->anglePhase;
    const int32_t n = SegmentCount(csine);
    for (int32_t i = 0; i < n; ++i) {
        PlacePoint(csine, Segment(csine, i), a, h);
        h = WrapAdd(h, csine->angleStep);
        a = WrapAdd(a, csine->radiusStep);
    }
    LinkEnds(csine, false);
}

void CSINEUpdateRing(CSINE *csine)
{
    if (csine == nullptr) {
        CSINEError();
        return;
    }
    csine->radiusPhase = WrapAdd(csine->radiusPhase, csine->radiusSpeed);
    int32_t a = csine->radiusPhase;
    const int32_t n = SegmentCount(csine);
    if (n == 0) {
        return;
    }
    const int32_t spacing = fullTurn / n;
    for (int32_t i = 0; i < n; ++i) {
        PlacePoint(csine, Segment(csine, i), a, static_cast<int32_t>(int64_t{i} * spacing));
        a = WrapAdd(a, csine->radiusStep);
    }
    LinkEnds(csine, true);
}

void CSINEDraw(const CSINE *csine, IMG *image)
{
    if (csine == nullptr || image == nullptr) {
        CSINEError();
        return;
    }
    for (int32_t i = SegmentCount(csine) - 1; i >= 0; --i) {
        const SEG2D *segment = Segment(csine, i);
        if (segment != nullptr) {
            SEG2DDraw(segment, image);
        }
    }
}

void CSINEDrawRadials(CSINE *csine, IMG *image)
{
    if (csine == nullptr || image == nullptr) {
        CSINEError();
        return;
    }
    for (int32_t i = SegmentCount(csine) - 1; i >= 0; --i) {
        SEG2D *segment = Segment(csine, i);
        if (segment == nullptr || segment->start == nullptr) {
            continue;
        }
        segment->start->x = image->width / 2;
        segment->start->y = image->height / 2;
        SEG2DDraw(segment, image);
    }
}

char *CSINEToASCII(const CSINE *csine)
{
    if (csine == nullptr) {
        CSINEError();
    }
    return nullptr;
}

CSINE *CSINEFromASCII(const char *text)
{
    if (text == nullptr) {
        CSINEError();
    }
    return nullptr;
}

bool CSINEEqual(const CSINE *a, const CSINE *b)
{
    if (a == nullptr || b == nullptr) {
        CSINEError();
    }
    return false;
}

CSINE *CSINECopy(const CSINE *csine)
{
    if (csine == nullptr) {
        CSINEError();
        return nullptr;
    }
    return CSINENew();
}

void CSINEError() { ModuleReport(csineReporting, "CSINE error\n"); }

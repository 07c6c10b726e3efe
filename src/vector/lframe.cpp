#include "vector/lframe.h"

#include <new>

#include "core/list.h"
#include "core/module.h"
#include "gfx/random.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"

namespace {

constexpr Reporting lframeReporting = Reporting::Off;

constexpr int32_t defaultSize = 256;

// Every frame's hold on a segment this module created is one entry here, so a
// segment shared by several frames appears once per frame. A segment is
// released when its last entry goes. Segments that never entered the list
// (assigned by a caller) are never released by this module.
LIST *holds = nullptr;

void Hold(SEG2D *segment)
{
    if (segment == nullptr) {
        return;
    }
    if (holds == nullptr) {
        holds = LISTNew();
        if (holds == nullptr) {
            return;  // the segment then stays unreleased: a leak, never a double free
        }
    }
    LISTAppend(holds, segment);
}

void Release(SEG2D *segment)
{
    if (segment == nullptr || holds == nullptr) {
        return;
    }
    int32_t index = LISTFind(holds, segment);
    if (index < 0) {
        return;
    }
    LISTRemove(holds, index);
    if (LISTFind(holds, segment) < 0) {
        SEG2DFree(&segment);
    }
    if (holds->count == 0) {
        LISTFree(&holds);
    }
}

// r mod n of a fresh random number (n > 0).
int32_t RandomBelow(int32_t n) { return RANDOMNext() % n; }

// +1 for an odd fresh random number, -1 for an even one.
int32_t RandomSign() { return (RANDOMNext() & 1) != 0 ? 1 : -1; }

// r1 + 65536 x (r2 mod 256): blue and green from r1 (green at most 127), red from r2.
uint32_t RandomColour()
{
    uint32_t low = static_cast<uint32_t>(RANDOMNext());
    uint32_t red = static_cast<uint32_t>(RANDOMNext()) % 256u;
    return low + 65536u * red;
}

int32_t RandomSpeed() { return (RANDOMNext() & 7) + 4; }

void Set(VEC2D *v, int32_t x, int32_t y)
{
    v->x = x;
    v->y = y;
}

// Gives the frame a fresh line and velocity, releasing the old ones; false
// (nothing changed) when the frame is unusable or memory runs out. A frame
// without area is refused because its coordinates are drawn modulo its size.
bool Renew(LFRAME *frame)
{
    if (frame == nullptr || frame->width < 1 || frame->height < 1) {
        LFRAMEError();
        return false;
    }
    SEG2D *line = SEG2DNew();
    SEG2D *velocity = SEG2DNew();
    if (line == nullptr || velocity == nullptr) {
        if (line != nullptr) {
            SEG2DFree(&line);
        }
        if (velocity != nullptr) {
            SEG2DFree(&velocity);
        }
        LFRAMEError();
        return false;
    }
    Release(frame->line);
    Release(frame->velocity);
    Hold(line);
    Hold(velocity);
    frame->line = line;
    frame->velocity = velocity;
    return true;
}

// Renew, then the two random end-point colours that edge and corner lines draw first.
bool RenewWithColours(LFRAME *frame)
{
    if (!Renew(frame)) {
        return false;
    }
    frame->line->start->colour = RandomColour();
    frame->line->end->colour = RandomColour();
    return true;
}

}  // namespace

LFRAME *LFRAMENew()
{
    LFRAME *frame = new (std::nothrow) LFRAME{};
    if (frame == nullptr) {
        LFRAMEError();
        return nullptr;
    }
    frame->width = defaultSize;
    frame->height = defaultSize;
    LFRAMERandomLine(frame);
    if (frame->line == nullptr) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void LFRAMEFree(LFRAME **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        LFRAMEError();
        return;
    }
    Release((*handle)->line);
    Release((*handle)->velocity);
    delete *handle;
    *handle = nullptr;
}

char *LFRAMEToASCII(const LFRAME *) { return nullptr; }

LFRAME *LFRAMEFromASCII(const char *) { return nullptr; }

bool LFRAMEEqual(const LFRAME *a, const LFRAME *b)
{
    if (a == nullptr || b == nullptr) {
        LFRAMEError();
        return false;
    }
    return a->line == b->line && a->velocity == b->velocity && a->speed == b->speed;
}

void LFRAMECopyTo(const LFRAME *source, LFRAME *destination)
{
    if (source == nullptr || destination == nullptr) {
        LFRAMEError();
        return;
    }
    // Taking the new holds first keeps a copy onto itself from releasing its segments.
    Hold(source->line);
    Hold(source->velocity);
    Release(destination->line);
    Release(destination->velocity);
    destination->line = source->line;
    destination->velocity = source->velocity;
    destination->speed = source->speed;
}

LFRAME *LFRAMECopy(const LFRAME *frame)
{
    if (frame == nullptr) {
        LFRAMEError();
        return nullptr;
    }
    LFRAME *copy = LFRAMENew();
    if (copy == nullptr) {
        return nullptr;
    }
    LFRAMECopyTo(frame, copy);
    return copy;
}

// Every line maker draws its random numbers in one fixed order: the start
// colour, the end colour (two numbers each), the edge or corner choice, the
// coordinates left to right as the tables read, the sign, the speed.
void LFRAMERandomLine(LFRAME *frame)
{
    if (!Renew(frame)) {
        return;
    }
    SEG2D *line = frame->line;
    // A free line draws its coordinates before its colours, unlike the edge and corner lines.
    int32_t x1 = RandomBelow(frame->width);
    int32_t y1 = RandomBelow(frame->height);
    int32_t x2 = RandomBelow(frame->width);
    int32_t y2 = RandomBelow(frame->height);
    Set(line->start, x1, y1);
    Set(line->end, x2, y2);
    line->start->colour = RandomColour();
    line->end->colour = RandomColour();
    Set(frame->velocity->start, -1, -1);
    Set(frame->velocity->end, -1, -1);
    frame->speed = RandomSpeed();
}

void LFRAMEEdgeLine(LFRAME *frame)
{
    if (!RenewWithColours(frame)) {
        return;
    }
    SEG2D *line = frame->line;
    int32_t right = frame->width - 1;
    int32_t e = RandomBelow(3);
    int32_t s = 0;
    if (e == 0 || e == 2) {
        int32_t x = e == 0 ? 0 : right;
        int32_t y1 = RandomBelow(frame->height);
        int32_t y2 = RandomBelow(frame->height);
        s = RandomSign();
        Set(line->start, x, y1);
        Set(line->end, x, y2);
        Set(frame->velocity->start, 0, s);
        Set(frame->velocity->end, 0, s);
    } else {
        int32_t x1 = RandomBelow(frame->width);
        int32_t x2 = RandomBelow(frame->width);
        s = RandomSign();
        Set(line->start, x1, 0);
        Set(line->end, x2, 0);
        Set(frame->velocity->start, s, 0);
        Set(frame->velocity->end, s, 0);
    }
    frame->speed = RandomSpeed();
}

void LFRAMECornerLine(LFRAME *frame)
{
    if (!RenewWithColours(frame)) {
        return;
    }
    SEG2D *line = frame->line;
    int32_t right = frame->width - 1;
    int32_t bottom = frame->height - 1;
    int32_t c = RandomBelow(3);
    if (c == 0) {
        int32_t y1 = RandomBelow(frame->height);
        int32_t x2 = RandomBelow(frame->width);
        int32_t s = RandomSign();
        Set(line->start, 0, y1);
        Set(line->end, x2, 0);
        Set(frame->velocity->start, 0, s);
        Set(frame->velocity->end, -s, 0);
    } else if (c == 1) {
        int32_t x1 = RandomBelow(frame->width);
        int32_t y2 = RandomBelow(frame->height);
        int32_t s = RandomSign();
        Set(line->start, x1, 0);
        Set(line->end, right, y2);
        Set(frame->velocity->start, s, 0);
        Set(frame->velocity->end, 0, s);
    } else {
        int32_t y1 = RandomBelow(frame->height);
        int32_t x2 = RandomBelow(frame->width);
        int32_t s = RandomSign();
        Set(line->start, right, y1);
        Set(line->end, x2, bottom);
        Set(frame->velocity->start, 0, s);
        Set(frame->velocity->end, -s, 0);
    }
    frame->speed = RandomSpeed();
}

// Worked in 64 bits so that no speed or position can overflow; every stored
// result is either clamped to a side or lies inside the frame, or is the
// unchanged coordinate of an axis that did not move.
void LFRAMEMovePoint(const LFRAME *frame, VEC2D *point, VEC2D *direction)
{
    if (frame == nullptr || point == nullptr || direction == nullptr) {
        LFRAMEError();
        return;
    }
    int64_t px = point->x;
    int64_t py = point->y;
    int64_t vx = direction->x;
    int64_t vy = direction->y;
    int64_t k = frame->speed;
    int64_t width = frame->width;
    int64_t height = frame->height;
    // Running into a side turns the point by 90 degrees, keeping its sense of circling.
    px += vx * k;
    if (px < 0) {
        vy = py == 0 ? -vx : vx;
        px = 0;
        vx = 0;
    } else if (px >= width) {
        vy = py == 0 ? vx : -vx;
        px = width - 1;
        vx = 0;
    }
    // The new vy already applies: a point reaching a corner moves on along the next edge.
    py += vy * k;
    if (py < 0) {
        vx = px == 0 ? -vy : vy;
        py = 0;
        vy = 0;
    } else if (py >= height) {
        vx = px == 0 ? vy : -vy;
        py = height - 1;
        vy = 0;
    }
    point->x = static_cast<int32_t>(px);
    point->y = static_cast<int32_t>(py);
    direction->x = static_cast<int32_t>(vx);
    direction->y = static_cast<int32_t>(vy);
}

void LFRAMEStep(LFRAME *frame)
{
    if (frame == nullptr || frame->line == nullptr || frame->velocity == nullptr) {
        LFRAMEError();
        return;
    }
    LFRAMEMovePoint(frame, frame->line->start, frame->velocity->start);
    LFRAMEMovePoint(frame, frame->line->end, frame->velocity->end);
}

void LFRAMEDraw(const LFRAME *frame, IMG *image)
{
    if (frame == nullptr || image == nullptr || frame->line == nullptr) {
        LFRAMEError();
        return;
    }
    SEG2DDraw(frame->line, image);
}

void LFRAMEDrawPoints(const LFRAME *frame, IMG *image)
{
    if (frame == nullptr || image == nullptr || frame->line == nullptr) {
        LFRAMEError();
        return;
    }
    SEG2DDrawEnds(frame->line, image);
}

void LFRAMEError() { ModuleReport(lframeReporting, "LFRAME error\n"); }

#include "fx/sineline.h"

#include <new>

#include "core/module.h"
#include "fx/sinewave.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "gfx/sine.h"

namespace {

constexpr Reporting sinelineReporting = Reporting::Off;

// Largest point count whose 4 x count reserved values still fit an int32_t count.
constexpr int32_t maximumCount = INT32_MAX / 4;

// Phases stay in 0 .. 1023: the remainder modulo one turn, a negative phase lifted
// by whole turns. In two's complement that is the low ten bits: no division and no
// sign test for the six phases of every point.
int32_t WrapPhase(int64_t phase) { return static_cast<int32_t>(phase & sineMask); }

// Phase triples in the order the figure advances them: wave 1, 2, 3, x before y.
SINELINETRIPLE SINELINE::*const phaseFields[3] = {&SINELINE::phase1, &SINELINE::phase2, &SINELINE::phase3};
SINELINETRIPLE SINELINE::*const speedFields[3] = {&SINELINE::speed1, &SINELINE::speed2, &SINELINE::speed3};
SINELINETRIPLE SINELINE::*const stepFields[3] = {&SINELINE::step1, &SINELINE::step2, &SINELINE::step3};

}  // namespace

namespace sinewave {

bool SetCount(SINELINE *line, int32_t n)
{
    if (n <= 0 || n > maximumCount) {
        return false;
    }
    int32_t *points = new (std::nothrow) int32_t[4 * static_cast<std::size_t>(n)]();
    if (points == nullptr) {
        return false;
    }
    delete[] line->points;
    line->points = points;
    line->count = n;
    return true;
}

void Randomize(SINELINE *line)
{
    // The order of these draws is fixed: the same seed must give the same figure.
    line->phase1.x = RANDOMNext() % 1024;
    line->phase1.y = RANDOMNext() % 1024;
    line->speed1.x = RANDOMNext() % 8 + 3;
    line->speed1.y = RANDOMNext() % 8 + 3;
    line->step1.x = RANDOMNext() % 16 + 5;
    line->step1.y = RANDOMNext() % 16 + 6;
    line->amplitude1 = {128, 128, line->amplitude1.z};
    line->phase2.x = RANDOMNext() % 1024;
    line->phase2.y = RANDOMNext() % 1024;
    line->speed2.x = RANDOMNext() % 8 + 2;
    line->speed2.y = RANDOMNext() % 8 + 2;
    line->step2.x = RANDOMNext() % 16 + 6;
    line->step2.y = RANDOMNext() % 16 + 7;
    line->amplitude2 = {64, 64, line->amplitude2.z};
    line->phase3.x = RANDOMNext() % 1024;
    line->phase3.y = RANDOMNext() % 1024;
    line->speed3.x = RANDOMNext() % 4 + 1;
    line->speed3.y = RANDOMNext() % 4 + 1;
    line->step3.x = RANDOMNext() % 16 + 7;
    line->step3.y = RANDOMNext() % 16 + 8;
    line->amplitude3 = {32, 32, line->amplitude3.z};
}

void Update(SINELINE *line)
{
    for (int wave = 0; wave < 3; ++wave) {
        SINELINETRIPLE &phase = line->*phaseFields[wave];
        const SINELINETRIPLE &speed = line->*speedFields[wave];
        phase.x = WrapPhase(int64_t{phase.x} + speed.x);
        phase.y = WrapPhase(int64_t{phase.y} + speed.y);
    }
}

void FitTo(SINELINE *line, const IMG *image)
{
    const int32_t width = image->width;
    const int32_t height = image->height;
    line->size.x = width;
    line->size.y = height;
    line->amplitude1.x = width >> 1;
    line->amplitude1.y = height >> 1;
    line->amplitude2.x = width >> 2;
    line->amplitude2.y = height >> 2;
    line->amplitude3.x = width >> 3;
    line->amplitude3.y = height >> 3;
}

Phases Start(const SINELINE *line)
{
    return {{line->phase1.x, line->phase1.y, line->phase2.x, line->phase2.y, line->phase3.x, line->phase3.y}};
}

void Point(const SINELINE *line, const Phases &phases, int32_t *px, int32_t *py)
{
    // The three products are summed before the single shift; 64 bits keep the
    // sum exact for images of any size.
    const int64_t sumX = int64_t{line->amplitude1.x} * SINESin(phases.p[0]) +
                         int64_t{line->amplitude2.x} * SINESin(phases.p[2]) +
                         int64_t{line->amplitude3.x} * SINESin(phases.p[4]);
    const int64_t sumY = int64_t{line->amplitude1.y} * SINESin(phases.p[1]) +
                         int64_t{line->amplitude2.y} * SINESin(phases.p[3]) +
                         int64_t{line->amplitude3.y} * SINESin(phases.p[5]);
    *px = static_cast<int32_t>((line->size.x >> 1) + (sumX >> 16));
    *py = static_cast<int32_t>((line->size.y >> 1) + (sumY >> 16));
}

void Advance(const SINELINE *line, Phases *phases)
{
    for (int wave = 0; wave < 3; ++wave) {
        const SINELINETRIPLE &step = line->*stepFields[wave];
        phases->p[2 * wave] = WrapPhase(int64_t{phases->p[2 * wave]} + step.x);
        phases->p[2 * wave + 1] = WrapPhase(int64_t{phases->p[2 * wave + 1]} + step.y);
    }
}

}  // namespace sinewave

SINELINE *SINELINENew()
{
    SINELINE *line = new (std::nothrow) SINELINE{};
    if (line == nullptr) {
        SINELINEError();
        return nullptr;
    }
    line->size = {256, 256, 256};
    if (!sinewave::SetCount(line, 16)) {
        delete line;
        SINELINEError();
        return nullptr;
    }
    line->colour = 0xFF0000;
    sinewave::Randomize(line);
    return line;
}

void SINELINEFree(SINELINE **handle) { ModuleFreeOwning(handle, &SINELINE::points, SINELINEError); }

void SINELINESetCount(SINELINE *line, int32_t n)
{
    if (line == nullptr || !sinewave::SetCount(line, n)) {
        SINELINEError();
        return;
    }
    SINELINEResetPoints(line);
}

void SINELINEResetPoints(SINELINE *line)
{
    if (line == nullptr || line->points == nullptr) {
        SINELINEError();
    }
}

void SINELINERandomize(SINELINE *line)
{
    if (line == nullptr) {
        SINELINEError();
        return;
    }
    sinewave::Randomize(line);
}

void SINELINEUpdate(SINELINE *line)
{
    if (line == nullptr) {
        SINELINEError();
        return;
    }
    sinewave::Update(line);
}

void SINELINEDraw(SINELINE *line, IMG *image)
{
    if (line == nullptr || image == nullptr || line->points == nullptr) {
        SINELINEError();
        return;
    }
    sinewave::FitTo(line, image);
    sinewave::Phases phases = sinewave::Start(line);
    int32_t previousX = 0;
    int32_t previousY = 0;
    sinewave::Point(line, phases, &previousX, &previousY);
    // The first line joins the start point to itself: count points, count - 1 visible lines.
    for (int32_t i = 0; i < line->count; ++i) {
        int32_t x = 0;
        int32_t y = 0;
        sinewave::Point(line, phases, &x, &y);
        IMGDrawLine(image, x, y, previousX, previousY, static_cast<uint32_t>(line->colour));
        sinewave::Advance(line, &phases);
        previousX = x;
        previousY = y;
    }
}

char *SINELINEToASCII(const SINELINE *line)
{
    if (line == nullptr) {
        SINELINEError();
    }
    return nullptr;
}

SINELINE *SINELINEFromASCII(const char *text)
{
    if (text == nullptr) {
        SINELINEError();
    }
    return nullptr;
}

bool SINELINEEqual(const SINELINE *a, const SINELINE *b)
{
    if (a == nullptr || b == nullptr) {
        SINELINEError();
    }
    return false;
}

SINELINE *SINELINECopy(const SINELINE *line)
{
    if (line == nullptr) {
        SINELINEError();
        return nullptr;
    }
    return SINELINENew();
}

void SINELINEError() { ModuleReport(sinelineReporting, "SINELINE error\n"); }

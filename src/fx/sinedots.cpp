#include "fx/sinedots.h"

#include <new>

#include "core/module.h"
#include "fx/sinewave.h"
#include "gfx/img.h"

namespace {

// This module's reporter tests a constant: it never prints.
constexpr Reporting sinedotsReporting = Reporting::Never;

}  // namespace

SINEDOTS *SINEDOTSNew()
{
    SINEDOTS *dots = new (std::nothrow) SINEDOTS{};
    if (dots == nullptr) {
        SINEDOTSError();
        return nullptr;
    }
    dots->size = {256, 256, 256};
    if (!sinewave::SetCount(dots, 16)) {
        delete dots;
        SINEDOTSError();
        return nullptr;
    }
    dots->colour = 0xFF0000;
    sinewave::Randomize(dots);
    return dots;
}

void SINEDOTSFree(SINEDOTS **handle) { ModuleFreeOwning(handle, &SINEDOTS::points, SINEDOTSError); }

void SINEDOTSSetCount(SINEDOTS *dots, int32_t n)
{
    if (dots == nullptr || !sinewave::SetCount(dots, n)) {
        SINEDOTSError();
        return;
    }
    SINEDOTSResetPoints(dots);
}

void SINEDOTSResetPoints(SINEDOTS *dots)
{
    if (dots == nullptr || dots->points == nullptr) {
        SINEDOTSError();
    }
}

void SINEDOTSRandomize(SINEDOTS *dots)
{
    if (dots == nullptr) {
        SINEDOTSError();
        return;
    }
    sinewave::Randomize(dots);
}

void SINEDOTSUpdate(SINEDOTS *dots)
{
    if (dots == nullptr) {
        SINEDOTSError();
        return;
    }
    sinewave::Update(dots);
}

void SINEDOTSDraw(SINEDOTS *dots, IMG *image)
{
    if (dots == nullptr || image == nullptr || dots->points == nullptr) {
        SINEDOTSError();
        return;
    }
    sinewave::FitTo(dots, image);
    sinewave::Phases phases = sinewave::Start(dots);
    for (int32_t i = 0; i < dots->count; ++i) {
        int32_t x = 0;
        int32_t y = 0;
        sinewave::Point(dots, phases, &x, &y);
        IMGSetPixel(image, x, y, static_cast<uint32_t>(dots->colour));
        sinewave::Advance(dots, &phases);
    }
}

char *SINEDOTSToASCII(const SINEDOTS *dots)
{
    if (dots == nullptr) {
        SINEDOTSError();
    }
    return nullptr;
}

SINEDOTS *SINEDOTSFromASCII(const char *text)
{
    if (text == nullptr) {
        SINEDOTSError();
    }
    return nullptr;
}

bool SINEDOTSEqual(const SINEDOTS *a, const SINEDOTS *b)
{
    if (a == nullptr || b == nullptr) {
        SINEDOTSError();
    }
    return false;
}

SINEDOTS *SINEDOTSCopy(const SINEDOTS *dots)
{
    if (dots == nullptr) {
        SINEDOTSError();
        return nullptr;
    }
    return SINEDOTSNew();
}

// The text is kept although the reporter never prints it.
void SINEDOTSError() { ModuleReport(sinedotsReporting, "SINEDOTS error\n"); }

#include "vector/scroll.h"

#include "core/module.h"
#include "gfx/img.h"
#include "vector/scroller.h"

namespace {

constexpr Reporting scrollReporting = Reporting::Off;

// The bitmap font as a scroller's pen: the pitch is the cell width.
struct BitmapPen {
    using Font = FONT;
    static void Error() { SCROLLError(); }
    static const char *DefaultText() { return SCROLLIdentity[5]; }
    static bool Ready(const FONT *) { return true; }
    static int64_t Pitch(const FONT *font) { return font->cellWidth; }
};

}  // namespace

SCROLL *SCROLLNew() { return scroller::New<BitmapPen, SCROLL>(); }

void SCROLLFree(SCROLL **handle) { scroller::Free<BitmapPen>(handle); }

void SCROLLSet(SCROLL *scroll, const char *text, FONT *font, IMG *target)
{
    scroller::Set<BitmapPen>(scroll, text, font, target);
}

void SCROLLDraw(SCROLL *scroll) { scroller::Draw<BitmapPen>(scroll, FONTPutChar); }

void SCROLLDrawOpaque(SCROLL *scroll) { scroller::Draw<BitmapPen>(scroll, FONTPutCharOpaque); }

void SCROLLAdvance(SCROLL *scroll) { scroller::Advance<BitmapPen>(scroll); }

void SCROLLError() { ModuleReport(scrollReporting, "SCROLL error\n"); }

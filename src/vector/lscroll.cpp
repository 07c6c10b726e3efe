#include "vector/lscroll.h"

#include "core/module.h"
#include "gfx/img.h"
#include "vector/lfont.h"
#include "vector/scroller.h"

namespace {

constexpr Reporting lscrollReporting = Reporting::Off;

// The object font as a scroller's pen: glyphs sit cellWidth x scale apart, and a
// font of scale 0 draws nothing a scroller could move.
struct ObjectPen {
    using Font = LFONT;
    static void Error() { LSCROLLError(); }
    static const char *DefaultText() { return LSCROLLIdentity[5]; }
    static bool Ready(const LFONT *font) { return font->scale != 0; }
    static int64_t Pitch(const LFONT *font) { return static_cast<int64_t>(font->cellWidth) * font->scale; }
};

void PutGlyph(LFONT *font) { LFONTPutChar(font); }

}  // namespace

LSCROLL *LSCROLLNew() { return scroller::New<ObjectPen, LSCROLL>(); }

void LSCROLLFree(LSCROLL **handle) { scroller::Free<ObjectPen>(handle); }

void LSCROLLSet(LSCROLL *scroll, const char *text, LFONT *font, IMG *target)
{
    scroller::Set<ObjectPen>(scroll, text, font, target);
}

void LSCROLLDraw(LSCROLL *scroll) { scroller::Draw<ObjectPen>(scroll, PutGlyph); }

void LSCROLLAdvance(LSCROLL *scroll) { scroller::Advance<ObjectPen>(scroll); }

void LSCROLLError() { ModuleReport(lscrollReporting, "LSCROLL error\n"); }

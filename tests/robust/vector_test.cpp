// Bad arguments for the vector objects, fonts, cursors, scrollers and line frames.
#include <cstdint>
#include <vector>

#include "core/list.h"
#include "gfx/img.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"
#include "robust.h"
#include "vector/cursor.h"
#include "vector/cursorx.h"
#include "vector/font.h"
#include "vector/lfont.h"
#include "vector/lframe.h"
#include "vector/lscroll.h"
#include "vector/obj2d.h"
#include "vector/scroll.h"

using robust::Black;
using robust::Canvas;
using robust::CanvasKept;
using robust::Elements;
using robust::Row;
using robust::RunRows;
using robust::Snapshot;

namespace {

// ---- OBJ2D ----

OBJ2D *Triangle()
{
    LIST *parsed = OBJ2DParse("{ c $ffffff s 0,0,5,0 s 5,0,0,5 s 0,5,0,0 }");
    OBJ2D *object = static_cast<OBJ2D *>(LISTGet(parsed, 0));
    LISTFree(&parsed);
    return object;
}

template <typename Call>
bool ObjKept(Call call)
{
    OBJ2D *o = Triangle();
    const Snapshot<OBJ2D> record(o);
    const Snapshot<LIST> points(o->points), segments(o->segments);
    const bool result = call(o);
    const bool kept = record.Same(o) && points.Same(o->points) && segments.Same(o->segments);
    OBJ2DFree(&o);
    return result && kept;
}

TEST(BadArguments, OBJ2D)
{
    RunRows({
        {"Free null", [] { OBJ2D *none = nullptr; OBJ2DFree(nullptr); OBJ2DFree(&none); return true; }, ""},
        {"ToASCII and FromASCII null", [] { return OBJ2DToASCII(nullptr) == nullptr && OBJ2DFromASCII(nullptr) == nullptr; }, ""},
        {"Equal null", [] { return ObjKept([](OBJ2D *o) { return !OBJ2DEqual(o, nullptr) && !OBJ2DEqual(nullptr, o); }); }, ""},
        {"CopyTo null", [] { return ObjKept([](OBJ2D *o) { OBJ2DCopyTo(nullptr, o); OBJ2DCopyTo(o, nullptr); return true; }); }, ""},
        {"Copy null", [] { return OBJ2DCopy(nullptr) == nullptr; }, ""},
        {"Parse null", [] { return OBJ2DParse(nullptr) == nullptr; }, ""},
        {"AddSegment null object", [] { SEG2D *s = SEG2DNew(); OBJ2DAddSegment(nullptr, s); SEG2DFree(&s); return true; }, ""},
        {"AddSegment null segment", [] { return ObjKept([](OBJ2D *o) { OBJ2DAddSegment(o, nullptr); return true; }); }, ""},
        {"AddSegment without end point", [] { return ObjKept([](OBJ2D *o) { SEG2D half{nullptr, nullptr}; OBJ2DAddSegment(o, &half); return true; }); }, ""},
        {"AddSegment to an object without lists", [] { OBJ2D bare{}; SEG2D *s = SEG2DNew(); OBJ2DAddSegment(&bare, s); SEG2DFree(&s); return bare.points == nullptr; }, ""},
        {"Draw null", [] { return CanvasKept([](IMG *img) { OBJ2DDraw(nullptr, img); OBJ2DDrawPoints(nullptr, img); return ObjKept([](OBJ2D *o) { OBJ2DDraw(o, nullptr); OBJ2DDrawPoints(o, nullptr); return true; }); }); }, ""},
        {"Draw without lists", [] { return CanvasKept([](IMG *img) { OBJ2D bare{}; OBJ2DDraw(&bare, img); OBJ2DDrawPoints(&bare, img); return true; }); }, ""},
    });
}

// ---- FONT ----

// A font with a 16 x 16 sheet of white and a target of the same size.
FONT *Font(IMG *target)
{
    FONT *f = FONTNew();
    f->sheet = Canvas();
    for (int32_t i = 0; i < 256; ++i) {
        f->sheet->pixels[i] = 0xFFFFFF;
    }
    f->target = target;
    return f;
}

template <typename Call>
bool FontKept(Call call)
{
    IMG *target = Canvas();
    FONT *f = Font(target);
    const Snapshot<FONT> record(f);
    const bool result = call(f);
    const bool kept = record.Same(f) && Black(target);
    FONTFree(&f);
    IMGFree(&target);
    return result && kept;
}

TEST(BadArguments, FONT)
{
    RunRows({
        {"Free null", [] { FONT *none = nullptr; FONTFree(nullptr); FONTFree(&none); return true; }, ""},
        {"PutChar null", [] { FONTPutChar(nullptr); FONTPutCharOpaque(nullptr); FONTPutCharAdd(nullptr); return true; }, ""},
        {"PutChar without sheet", [] { return FontKept([](FONT *f) { IMG *sheet = f->sheet; f->sheet = nullptr; FONTPutChar(f); FONTPutCharOpaque(f); FONTPutCharAdd(f); FONTPutLine(f, "ab"); FONTPutText(f, "ab"); f->sheet = sheet; return true; }); }, ""},
        {"PutChar without target", [] { return FontKept([](FONT *f) { IMG *target = f->target; f->target = nullptr; FONTPutText(f, "ab"); f->target = target; return true; }); }, ""},
        {"Codes outside the sheet", [] { return FontKept([](FONT *f) { for (int32_t code : {-1, 256 * 256, INT32_MIN, INT32_MAX}) { f->code = code; f->x = 0; FONTPutChar(f); FONTPutCharOpaque(f); FONTPutCharAdd(f); } f->code = 0; f->x = 0; return true; }); }, ""},
        {"Cell sizes 0 and -1", [] { return FontKept([](FONT *f) { for (int32_t size : {0, -1}) { f->cellWidth = size; f->cellHeight = size; FONTPutChar(f); FONTPutCharOpaque(f); FONTPutCharAdd(f); } f->cellWidth = 6; f->cellHeight = 6; f->x = 0; return true; }); }, ""},
        {"Hex null", [] { FONTPutHex8(nullptr, 1); FONTPutHex16(nullptr, 1); FONTPutHex32(nullptr, 1); return true; }, ""},
        {"PutLine and PutText null", [] { FONTPutLine(nullptr, "a"); FONTPutText(nullptr, "a"); return FontKept([](FONT *f) { FONTPutLine(f, nullptr); FONTPutText(f, nullptr); return true; }); }, ""},
        {"PutBigChar null", [] { return FontKept([](FONT *f) { FONTPutBigChar(nullptr, f); FONTPutBigChar(f, nullptr); return true; }); }, ""},
        {"PutBigChar small font without sheet", [] { return FontKept([](FONT *f) { FONT *small = FONTNew(); FONTPutBigChar(f, small); FONTFree(&small); return true; }); }, ""},
    });
}

// ---- CURSOR and CURSORX ----

const char cursorText[] = "abcdef";

template <typename Call>
bool CursorKept(Call call)
{
    CURSOR *c = CURSORNew();
    CURSORSet(c, cursorText, 6, 1);
    c->pos = 2;
    const Snapshot<CURSOR> record(c);
    const bool result = call(c);
    const bool kept = record.Same(c);
    CURSORFree(&c);
    return result && kept;
}

TEST(BadArguments, CURSOR)
{
    RunRows({
        {"Free null", [] { CURSOR *none = nullptr; CURSORFree(nullptr); CURSORFree(&none); return true; }, ""},
        {"Set null", [] { CURSORSet(nullptr, cursorText, 6, 1); return true; }, ""},
        {"Step, SetPos, Save, Restore null", [] { CURSORStep(nullptr); CURSORSetPos(nullptr, 1); CURSORSave(nullptr); CURSORRestore(nullptr); return true; }, ""},
        {"Step and SetPos on length 0 and -1", [] { return CursorKept([](CURSOR *c) { for (int32_t length : {0, -1}) { c->length = length; CURSORStep(c); CURSORSetPos(c, 3); } c->length = 6; return true; }); }, ""},
        {"Row null", [] { return CURSORRow(nullptr) == nullptr && CursorKept([](CURSOR *c) { c->data = nullptr; const bool ok = CURSORRow(c) == nullptr; c->data = cursorText; return ok; }); }, ""},
    });
}

template <typename Call>
bool CursorxKept(Call call)
{
    CURSORX *c = CURSORXNew();
    CURSORXSet(c, 10, 3, 1, 4, 2);
    const Snapshot<CURSORX> record(c);
    const bool result = call(c);
    const bool kept = record.Same(c);
    CURSORXFree(&c);
    return result && kept;
}

TEST(BadArguments, CURSORX)
{
    RunRows({
        {"Free null", [] { CURSORX *none = nullptr; CURSORXFree(nullptr); CURSORXFree(&none); return true; }, ""},
        {"ToASCII and FromASCII null", [] { return CURSORXToASCII(nullptr) == nullptr && CURSORXFromASCII(nullptr) == nullptr; }, ""},
        {"Copy null", [] { return CURSORXCopy(nullptr) == nullptr; }, ""},
        {"CopyTo null", [] { return CursorxKept([](CURSORX *c) { CURSORXCopyTo(nullptr, c); CURSORXCopyTo(c, nullptr); return true; }); }, ""},
        {"Moves on null give 0", [] { return CURSORXSet(nullptr, 4, 1, 1, 1, 1) == 0 && CURSORXSetSize(nullptr, 4) == 0 && CURSORXSetPos(nullptr, 1) == 0 && CURSORXReset(nullptr, 1) == 0 && CURSORXStep(nullptr) == 0 && CURSORXStepOffset(nullptr) == 0 && CURSORXSetOffset(nullptr, 1) == 0 && CURSORXUpdate(nullptr) == 0; }, ""},
        {"Set and SetSize -1", [] { return CursorxKept([](CURSORX *c) { return CURSORXSet(c, -1, 1, 1, 1, 1) == 0 && CURSORXSetSize(c, -1) == 0; }); }, ""},
        {"Size 0 refuses the modulus", [] { return CursorxKept([](CURSORX *c) { c->size = 0; const bool ok = CURSORXSetPos(c, 5) == 0 && CURSORXStep(c) == 0 && CURSORXUpdate(c) == 0 && CURSORXReset(c, 5) == 0; c->size = 10; c->offset = 4; return ok; }); }, ""},
    });
}

// ---- SCROLL and LSCROLL ----

const char scrollText[] = "HELLO";

template <typename Call>
bool ScrollKept(Call call)
{
    IMG *target = Canvas();
    FONT *font = Font(target);
    SCROLL *s = SCROLLNew();
    SCROLLSet(s, scrollText, font, target);
    const Snapshot<SCROLL> record(s);
    const Snapshot<CURSOR> cursor(s->cursor);
    const Snapshot<FONT> pen(font);
    const bool result = call(s);
    const bool kept = record.Same(s) && cursor.Same(s->cursor) && pen.Same(font) && Black(target);
    SCROLLFree(&s);
    FONTFree(&font);
    IMGFree(&target);
    return result && kept;
}

TEST(BadArguments, SCROLL)
{
    RunRows({
        {"Free null", [] { SCROLL *none = nullptr; SCROLLFree(nullptr); SCROLLFree(&none); return true; }, ""},
        {"Set null", [] { return ScrollKept([](SCROLL *s) { SCROLLSet(nullptr, scrollText, s->font, s->target); SCROLLSet(s, nullptr, s->font, s->target); SCROLLSet(s, scrollText, nullptr, s->target); SCROLLSet(s, scrollText, s->font, nullptr); return true; }); }, ""},
        {"Draw and Advance null", [] { SCROLLDraw(nullptr); SCROLLDrawOpaque(nullptr); SCROLLAdvance(nullptr); return true; }, ""},
        {"Draw and Advance with pitch 0", [] { return ScrollKept([](SCROLL *s) { const int32_t w = s->font->cellWidth; s->font->cellWidth = 0; SCROLLDraw(s); SCROLLDrawOpaque(s); SCROLLAdvance(s); s->font->cellWidth = w; return true; }); }, ""},
        {"Draw and Advance with pitch beyond 2^30", [] { return ScrollKept([](SCROLL *s) { const int32_t w = s->font->cellWidth; s->font->cellWidth = INT32_MIN; SCROLLDraw(s); SCROLLAdvance(s); s->font->cellWidth = w; return true; }); }, ""},
        {"Draw without text", [] { return ScrollKept([](SCROLL *s) { const char *t = s->text; s->text = nullptr; SCROLLDraw(s); SCROLLDrawOpaque(s); SCROLLAdvance(s); s->text = t; return true; }); }, ""},
    });
}

LFONT *LFont(IMG *target, LIST *glyphs)
{
    LFONT *f = LFONTNew();
    f->glyphs = glyphs;
    f->target = target;
    f->scale = 1;
    return f;
}

template <typename Call>
bool LFontKept(Call call)
{
    IMG *target = Canvas();
    LIST *glyphs = OBJ2DParse("{ c $ffffff s 0,0,3,3 }");
    LFONT *f = LFont(target, glyphs);
    f->code = 0;
    const Snapshot<LFONT> record(f);
    const bool result = call(f);
    const bool kept = record.Same(f) && Black(target);
    LFONTFree(&f);
    LISTFree(&glyphs);
    IMGFree(&target);
    return result && kept;
}

TEST(BadArguments, LFONT)
{
    RunRows({
        {"Free null", [] { LFONT *none = nullptr; LFONTFree(nullptr); LFONTFree(&none); return true; }, ""},
        {"PutChar null", [] { return LFONTPutChar(nullptr) == 0; }, ""},
        {"PutChar without glyphs", [] { return LFontKept([](LFONT *f) { LIST *g = f->glyphs; f->glyphs = nullptr; const bool ok = LFONTPutChar(f) == 0; LFONTPutText(f, "a"); f->glyphs = g; return ok; }); }, ""},
        {"PutText without target", [] { return LFontKept([](LFONT *f) { IMG *t = f->target; f->target = nullptr; LFONTPutText(f, "\x01"); f->target = t; return true; }); }, ""},
        {"Hex null", [] { LFONTPutHex8(nullptr, 1); LFONTPutHex16(nullptr, 1); LFONTPutHex32(nullptr, 1); return true; }, ""},
        {"PutLine and PutText null", [] { LFONTPutLine(nullptr, "a"); LFONTPutText(nullptr, "a"); return LFontKept([](LFONT *f) { LFONTPutLine(f, nullptr); LFONTPutText(f, nullptr); return true; }); }, ""},
    });
}

template <typename Call>
bool LScrollKept(Call call)
{
    IMG *target = Canvas();
    LIST *glyphs = OBJ2DParse("{ c $ffffff s 0,0,3,3 }");
    LFONT *font = LFont(target, glyphs);
    LSCROLL *s = LSCROLLNew();
    LSCROLLSet(s, scrollText, font, target);
    const Snapshot<LSCROLL> record(s);
    const Snapshot<CURSOR> cursor(s->cursor);
    const Snapshot<LFONT> pen(font);
    const bool result = call(s);
    const bool kept = record.Same(s) && cursor.Same(s->cursor) && pen.Same(font) && Black(target);
    LSCROLLFree(&s);
    LFONTFree(&font);
    LISTFree(&glyphs);
    IMGFree(&target);
    return result && kept;
}

TEST(BadArguments, LSCROLL)
{
    RunRows({
        {"Free null", [] { LSCROLL *none = nullptr; LSCROLLFree(nullptr); LSCROLLFree(&none); return true; }, ""},
        {"Set null", [] { return LScrollKept([](LSCROLL *s) { LSCROLLSet(nullptr, scrollText, s->font, s->target); LSCROLLSet(s, nullptr, s->font, s->target); LSCROLLSet(s, scrollText, nullptr, s->target); LSCROLLSet(s, scrollText, s->font, nullptr); return true; }); }, ""},
        {"Draw and Advance null", [] { LSCROLLDraw(nullptr); LSCROLLAdvance(nullptr); return true; }, ""},
        {"Draw and Advance with scale 0", [] { return LScrollKept([](LSCROLL *s) { s->font->scale = 0; LSCROLLDraw(s); LSCROLLAdvance(s); s->font->scale = 1; return true; }); }, ""},
        {"Draw and Advance with pitch 0 and beyond 2^30", [] { return LScrollKept([](LSCROLL *s) { for (int32_t w : {0, INT32_MAX}) { s->font->cellWidth = w; LSCROLLDraw(s); LSCROLLAdvance(s); } s->font->cellWidth = 6; return true; }); }, ""},
    });
}

// ---- LFRAME ----

template <typename Call>
bool FrameKept(Call call)
{
    LFRAME *f = LFRAMENew();
    const Snapshot<LFRAME> record(f);
    const Snapshot<VEC2D> start(f->line->start), end(f->line->end), vs(f->velocity->start), ve(f->velocity->end);
    const bool result = call(f);
    const bool kept = record.Same(f) && start.Same(f->line->start) && end.Same(f->line->end) &&
                      vs.Same(f->velocity->start) && ve.Same(f->velocity->end);
    LFRAMEFree(&f);
    return result && kept;
}

TEST(BadArguments, LFRAME)
{
    RunRows({
        {"Free null", [] { LFRAME *none = nullptr; LFRAMEFree(nullptr); LFRAMEFree(&none); return true; }, ""},
        {"ToASCII and FromASCII null", [] { return LFRAMEToASCII(nullptr) == nullptr && LFRAMEFromASCII(nullptr) == nullptr; }, ""},
        {"Equal null", [] { return FrameKept([](LFRAME *f) { return !LFRAMEEqual(f, nullptr) && !LFRAMEEqual(nullptr, f); }); }, ""},
        {"CopyTo null", [] { return FrameKept([](LFRAME *f) { LFRAMECopyTo(nullptr, f); LFRAMECopyTo(f, nullptr); return true; }); }, ""},
        {"Copy null", [] { return LFRAMECopy(nullptr) == nullptr; }, ""},
        {"Line makers null", [] { LFRAMERandomLine(nullptr); LFRAMEEdgeLine(nullptr); LFRAMECornerLine(nullptr); return true; }, ""},
        {"Line makers on a frame without area", [] { return FrameKept([](LFRAME *f) { for (int32_t size : {0, -1}) { f->width = size; LFRAMERandomLine(f); LFRAMEEdgeLine(f); LFRAMECornerLine(f); f->width = 256; f->height = size; LFRAMERandomLine(f); LFRAMEEdgeLine(f); LFRAMECornerLine(f); f->height = 256; } return true; }); }, ""},
        {"MovePoint null", [] { return FrameKept([](LFRAME *f) { VEC2D p{1, 1, 0}, d{1, 0, 0}; LFRAMEMovePoint(nullptr, &p, &d); LFRAMEMovePoint(f, nullptr, &d); LFRAMEMovePoint(f, &p, nullptr); return p.x == 1 && p.y == 1 && d.x == 1 && d.y == 0; }); }, ""},
        {"Step and Draw null", [] { LFRAMEStep(nullptr); return CanvasKept([](IMG *img) { LFRAMEDraw(nullptr, img); LFRAMEDrawPoints(nullptr, img); return FrameKept([](LFRAME *f) { LFRAMEDraw(f, nullptr); LFRAMEDrawPoints(f, nullptr); return true; }); }); }, ""},
        {"Step and Draw without segments", [] { return CanvasKept([](IMG *img) { LFRAME bare{256, 256, nullptr, nullptr, 4}; LFRAMEStep(&bare); LFRAMEDraw(&bare, img); LFRAMEDrawPoints(&bare, img); return bare.line == nullptr; }); }, ""},
    });
}

}  // namespace

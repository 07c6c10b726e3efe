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
using robust::Call;
using robust::Canvas;
using robust::FreeNull;
using robust::Neutral;
using robust::OnCanvas;
using robust::Row;
using robust::RunRows;
using robust::Snapshot;
using robust::With;

namespace {

// A segment record without end points.
SEG2D half{nullptr, nullptr};

// ---- OBJ2D ----

OBJ2D *Triangle()
{
    LIST *parsed = OBJ2DParse("{ c $ffffff s 0,0,5,0 s 5,0,0,5 s 0,5,0,0 }");
    OBJ2D *object = static_cast<OBJ2D *>(LISTGet(parsed, 0));
    LISTFree(&parsed);
    return object;
}

// A row's call that runs call on a triangle and tells whether it was left as it was.
template <typename Call>
auto OnObj(Call call)
{
    return [call] {
        OBJ2D *o = Triangle();
        const Snapshot<OBJ2D> record(o);
        const Snapshot<LIST> points(o->points), segments(o->segments);
        const bool result = Neutral(call, o);
        const bool kept = record.Same(o) && points.Same(o->points) && segments.Same(o->segments);
        OBJ2DFree(&o);
        return result && kept;
    };
}

// Runs call on a fresh segment.
template <typename Call>
bool WithSegment(Call call)
{
    SEG2D *s = SEG2DNew();
    const bool result = Neutral(call, s);
    SEG2DFree(&s);
    return result;
}

TEST(BadArguments, OBJ2D)
{
    RunRows({
        {"Free null", FreeNull(OBJ2DFree)},
        {"ToASCII and FromASCII null",
         [] { return OBJ2DToASCII(nullptr) == nullptr && OBJ2DFromASCII(nullptr) == nullptr; }},
        {"Equal null", OnObj([](OBJ2D *o) { return !OBJ2DEqual(o, nullptr) && !OBJ2DEqual(nullptr, o); })},
        {"CopyTo null", OnObj([](OBJ2D *o) { OBJ2DCopyTo(nullptr, o), OBJ2DCopyTo(o, nullptr); })},
        {"Copy null", [] { return OBJ2DCopy(nullptr) == nullptr; }},
        {"Parse null", [] { return OBJ2DParse(nullptr) == nullptr; }},
        {"AddSegment null object", [] { return WithSegment([](SEG2D *s) { OBJ2DAddSegment(nullptr, s); }); }},
        {"AddSegment null segment", OnObj([](OBJ2D *o) { OBJ2DAddSegment(o, nullptr); })},
        {"AddSegment without end point", OnObj([](OBJ2D *o) { OBJ2DAddSegment(o, &half); })},
        {"AddSegment to an object without lists", Call([] {
             OBJ2D bare{};
             return WithSegment([&bare](SEG2D *s) { OBJ2DAddSegment(&bare, s); }) && bare.points == nullptr;
         })},
        {"Draw null", OnCanvas([](IMG *img) {
             OBJ2DDraw(nullptr, img), OBJ2DDrawPoints(nullptr, img);
             return OnObj([](OBJ2D *o) { OBJ2DDraw(o, nullptr), OBJ2DDrawPoints(o, nullptr); })();
         })},
        {"Draw without lists", OnCanvas([](IMG *img) {
             OBJ2D bare{};
             OBJ2DDraw(&bare, img), OBJ2DDrawPoints(&bare, img);
         })},
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
auto OnFont(Call call)
{
    return [call] {
        IMG *target = Canvas();
        FONT *f = Font(target);
        const Snapshot<FONT> record(f);
        const bool result = Neutral(call, f);
        const bool kept = record.Same(f) && Black(target);
        FONTFree(&f);
        IMGFree(&target);
        return result && kept;
    };
}

void PutChars(FONT *f) { FONTPutChar(f), FONTPutCharOpaque(f), FONTPutCharAdd(f); }

TEST(BadArguments, FONT)
{
    RunRows({
        {"Free null", FreeNull(FONTFree)},
        {"PutChar null", [] { FONTPutChar(nullptr), FONTPutCharOpaque(nullptr), FONTPutCharAdd(nullptr); }},
        {"PutChar without sheet", OnFont([](FONT *f) {
             return With(&f->sheet, nullptr, [f] { PutChars(f), FONTPutLine(f, "ab"), FONTPutText(f, "ab"); });
         })},
        {"PutChar without target",
         OnFont([](FONT *f) { return With(&f->target, nullptr, [f] { FONTPutText(f, "ab"); }); })},
        {"Codes outside the sheet", OnFont([](FONT *f) {
             for (int32_t code : {-1, 256 * 256, INT32_MIN, INT32_MAX}) {
                 f->code = code;
                 f->x = 0;
                 PutChars(f);
             }
             f->code = 0;
             f->x = 0;
         })},
        {"Cell sizes 0 and -1", OnFont([](FONT *f) {
             for (int32_t size : {0, -1}) {
                 f->cellWidth = size;
                 f->cellHeight = size;
                 PutChars(f);
             }
             f->cellWidth = 6;
             f->cellHeight = 6;
             f->x = 0;
         })},
        {"Hex null", [] { FONTPutHex8(nullptr, 1), FONTPutHex16(nullptr, 1), FONTPutHex32(nullptr, 1); }},
        {"PutLine and PutText null", Call([] {
             FONTPutLine(nullptr, "a"), FONTPutText(nullptr, "a");
             return OnFont([](FONT *f) { FONTPutLine(f, nullptr), FONTPutText(f, nullptr); })();
         })},
        {"PutBigChar null", OnFont([](FONT *f) { FONTPutBigChar(nullptr, f), FONTPutBigChar(f, nullptr); })},
        {"PutBigChar small font without sheet", OnFont([](FONT *f) {
             FONT *small = FONTNew();
             FONTPutBigChar(f, small), FONTFree(&small);
         })},
    });
}

// ---- CURSOR and CURSORX ----

const char cursorText[] = "abcdef";

template <typename Call>
auto OnCursor(Call call)
{
    return [call] {
        CURSOR *c = CURSORNew();
        CURSORSet(c, cursorText, 6, 1);
        c->pos = 2;
        const Snapshot<CURSOR> record(c);
        const bool result = Neutral(call, c);
        const bool kept = record.Same(c);
        CURSORFree(&c);
        return result && kept;
    };
}

TEST(BadArguments, CURSOR)
{
    RunRows({
        {"Free null", FreeNull(CURSORFree)},
        {"Set null", [] { CURSORSet(nullptr, cursorText, 6, 1); }},
        {"Step, SetPos, Save, Restore null",
         [] { CURSORStep(nullptr), CURSORSetPos(nullptr, 1), CURSORSave(nullptr), CURSORRestore(nullptr); }},
        {"Step and SetPos on length 0 and -1", OnCursor([](CURSOR *c) {
             const auto moves = [c] { CURSORStep(c), CURSORSetPos(c, 3); };
             return With(&c->length, 0, moves) && With(&c->length, -1, moves);
         })},
        {"Row null", Call([] {
             return CURSORRow(nullptr) == nullptr && OnCursor([](CURSOR *c) {
                        return With(&c->data, nullptr, [c] { return CURSORRow(c) == nullptr; });
                    })();
         })},
    });
}

template <typename Call>
auto OnCursorx(Call call)
{
    return [call] {
        CURSORX *c = CURSORXNew();
        CURSORXSet(c, 10, 3, 1, 4, 2);
        const Snapshot<CURSORX> record(c);
        const bool result = Neutral(call, c);
        const bool kept = record.Same(c);
        CURSORXFree(&c);
        return result && kept;
    };
}

TEST(BadArguments, CURSORX)
{
    RunRows({
        {"Free null", FreeNull(CURSORXFree)},
        {"ToASCII and FromASCII null",
         [] { return CURSORXToASCII(nullptr) == nullptr && CURSORXFromASCII(nullptr) == nullptr; }},
        {"Copy null", [] { return CURSORXCopy(nullptr) == nullptr; }},
        {"CopyTo null", OnCursorx([](CURSORX *c) { CURSORXCopyTo(nullptr, c), CURSORXCopyTo(c, nullptr); })},
        {"Moves on null give 0", Call([] {
             return CURSORXSet(nullptr, 4, 1, 1, 1, 1) == 0 && CURSORXSetSize(nullptr, 4) == 0 &&
                    CURSORXSetPos(nullptr, 1) == 0 && CURSORXReset(nullptr, 1) == 0 && CURSORXStep(nullptr) == 0 &&
                    CURSORXStepOffset(nullptr) == 0 && CURSORXSetOffset(nullptr, 1) == 0 && CURSORXUpdate(nullptr) == 0;
         })},
        {"Set and SetSize -1",
         OnCursorx([](CURSORX *c) { return CURSORXSet(c, -1, 1, 1, 1, 1) == 0 && CURSORXSetSize(c, -1) == 0; })},
        {"Size 0 refuses the modulus", OnCursorx([](CURSORX *c) {
             c->size = 0;
             const bool ok =
                 CURSORXSetPos(c, 5) == 0 && CURSORXStep(c) == 0 && CURSORXUpdate(c) == 0 && CURSORXReset(c, 5) == 0;
             c->size = 10;
             c->offset = 4;
             return ok;
         })},
    });
}

// ---- SCROLL and LSCROLL ----

const char scrollText[] = "HELLO";

template <typename Call>
auto OnScroll(Call call)
{
    return [call] {
        IMG *target = Canvas();
        FONT *font = Font(target);
        SCROLL *s = SCROLLNew();
        SCROLLSet(s, scrollText, font, target);
        const Snapshot<SCROLL> record(s);
        const Snapshot<CURSOR> cursor(s->cursor);
        const Snapshot<FONT> pen(font);
        const bool result = Neutral(call, s);
        const bool kept = record.Same(s) && cursor.Same(s->cursor) && pen.Same(font) && Black(target);
        SCROLLFree(&s);
        FONTFree(&font);
        IMGFree(&target);
        return result && kept;
    };
}

TEST(BadArguments, SCROLL)
{
    RunRows({
        {"Free null", FreeNull(SCROLLFree)},
        {"Set null", OnScroll([](SCROLL *s) {
             SCROLLSet(nullptr, scrollText, s->font, s->target), SCROLLSet(s, nullptr, s->font, s->target);
             SCROLLSet(s, scrollText, nullptr, s->target), SCROLLSet(s, scrollText, s->font, nullptr);
         })},
        {"Draw and Advance null", [] { SCROLLDraw(nullptr), SCROLLDrawOpaque(nullptr), SCROLLAdvance(nullptr); }},
        {"Draw and Advance with pitch 0", OnScroll([](SCROLL *s) {
             return With(&s->font->cellWidth, 0, [s] { SCROLLDraw(s), SCROLLDrawOpaque(s), SCROLLAdvance(s); });
         })},
        {"Draw and Advance with pitch beyond 2^30", OnScroll([](SCROLL *s) {
             return With(&s->font->cellWidth, INT32_MIN, [s] { SCROLLDraw(s), SCROLLAdvance(s); });
         })},
        {"Draw without text", OnScroll([](SCROLL *s) {
             return With(&s->text, nullptr, [s] { SCROLLDraw(s), SCROLLDrawOpaque(s), SCROLLAdvance(s); });
         })},
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
auto OnLFont(Call call)
{
    return [call] {
        IMG *target = Canvas();
        LIST *glyphs = OBJ2DParse("{ c $ffffff s 0,0,3,3 }");
        LFONT *f = LFont(target, glyphs);
        f->code = 0;
        const Snapshot<LFONT> record(f);
        const bool result = Neutral(call, f);
        const bool kept = record.Same(f) && Black(target);
        LFONTFree(&f);
        LISTFree(&glyphs);
        IMGFree(&target);
        return result && kept;
    };
}

TEST(BadArguments, LFONT)
{
    RunRows({
        {"Free null", FreeNull(LFONTFree)},
        {"PutChar null", [] { return LFONTPutChar(nullptr) == 0; }},
        {"PutChar without glyphs", OnLFont([](LFONT *f) {
             return With(&f->glyphs, nullptr, [f] { return LFONTPutText(f, "a"), LFONTPutChar(f) == 0; });
         })},
        {"PutText without target",
         OnLFont([](LFONT *f) { return With(&f->target, nullptr, [f] { LFONTPutText(f, "\x01"); }); })},
        {"Hex null", [] { LFONTPutHex8(nullptr, 1), LFONTPutHex16(nullptr, 1), LFONTPutHex32(nullptr, 1); }},
        {"PutLine and PutText null", Call([] {
             LFONTPutLine(nullptr, "a"), LFONTPutText(nullptr, "a");
             return OnLFont([](LFONT *f) { LFONTPutLine(f, nullptr), LFONTPutText(f, nullptr); })();
         })},
    });
}

template <typename Call>
auto OnLScroll(Call call)
{
    return [call] {
        IMG *target = Canvas();
        LIST *glyphs = OBJ2DParse("{ c $ffffff s 0,0,3,3 }");
        LFONT *font = LFont(target, glyphs);
        LSCROLL *s = LSCROLLNew();
        LSCROLLSet(s, scrollText, font, target);
        const Snapshot<LSCROLL> record(s);
        const Snapshot<CURSOR> cursor(s->cursor);
        const Snapshot<LFONT> pen(font);
        const bool result = Neutral(call, s);
        const bool kept = record.Same(s) && cursor.Same(s->cursor) && pen.Same(font) && Black(target);
        LSCROLLFree(&s);
        LFONTFree(&font);
        LISTFree(&glyphs);
        IMGFree(&target);
        return result && kept;
    };
}

TEST(BadArguments, LSCROLL)
{
    RunRows({
        {"Free null", FreeNull(LSCROLLFree)},
        {"Set null", OnLScroll([](LSCROLL *s) {
             LSCROLLSet(nullptr, scrollText, s->font, s->target), LSCROLLSet(s, nullptr, s->font, s->target);
             LSCROLLSet(s, scrollText, nullptr, s->target), LSCROLLSet(s, scrollText, s->font, nullptr);
         })},
        {"Draw and Advance null", [] { LSCROLLDraw(nullptr), LSCROLLAdvance(nullptr); }},
        {"Draw and Advance with scale 0",
         OnLScroll([](LSCROLL *s) { return With(&s->font->scale, 0, [s] { LSCROLLDraw(s), LSCROLLAdvance(s); }); })},
        {"Draw and Advance with pitch 0 and beyond 2^30", OnLScroll([](LSCROLL *s) {
             const auto moves = [s] { LSCROLLDraw(s), LSCROLLAdvance(s); };
             return With(&s->font->cellWidth, 0, moves) && With(&s->font->cellWidth, INT32_MAX, moves);
         })},
    });
}

// ---- LFRAME ----

template <typename Call>
auto OnFrame(Call call)
{
    return [call] {
        LFRAME *f = LFRAMENew();
        const Snapshot<LFRAME> record(f);
        const Snapshot<VEC2D> start(f->line->start), end(f->line->end), vs(f->velocity->start), ve(f->velocity->end);
        const bool result = Neutral(call, f);
        const bool kept = record.Same(f) && start.Same(f->line->start) && end.Same(f->line->end) &&
                          vs.Same(f->velocity->start) && ve.Same(f->velocity->end);
        LFRAMEFree(&f);
        return result && kept;
    };
}

TEST(BadArguments, LFRAME)
{
    RunRows({
        {"Free null", FreeNull(LFRAMEFree)},
        {"ToASCII and FromASCII null",
         [] { return LFRAMEToASCII(nullptr) == nullptr && LFRAMEFromASCII(nullptr) == nullptr; }},
        {"Equal null", OnFrame([](LFRAME *f) { return !LFRAMEEqual(f, nullptr) && !LFRAMEEqual(nullptr, f); })},
        {"CopyTo null", OnFrame([](LFRAME *f) { LFRAMECopyTo(nullptr, f), LFRAMECopyTo(f, nullptr); })},
        {"Copy null", [] { return LFRAMECopy(nullptr) == nullptr; }},
        {"Line makers null", [] { LFRAMERandomLine(nullptr), LFRAMEEdgeLine(nullptr), LFRAMECornerLine(nullptr); }},
        {"Line makers on a frame without area", OnFrame([](LFRAME *f) {
             const auto make = [f] { LFRAMERandomLine(f), LFRAMEEdgeLine(f), LFRAMECornerLine(f); };
             return With(&f->width, 0, make) && With(&f->height, 0, make) && With(&f->width, -1, make) &&
                    With(&f->height, -1, make);
         })},
        {"MovePoint null", OnFrame([](LFRAME *f) {
             VEC2D p{1, 1, 0}, d{1, 0, 0};
             LFRAMEMovePoint(nullptr, &p, &d), LFRAMEMovePoint(f, nullptr, &d), LFRAMEMovePoint(f, &p, nullptr);
             return p.x == 1 && p.y == 1 && d.x == 1 && d.y == 0;
         })},
        {"Step and Draw null", OnCanvas([](IMG *img) {
             LFRAMEStep(nullptr), LFRAMEDraw(nullptr, img), LFRAMEDrawPoints(nullptr, img);
             return OnFrame([](LFRAME *f) { LFRAMEDraw(f, nullptr), LFRAMEDrawPoints(f, nullptr); })();
         })},
        {"Step and Draw without segments", OnCanvas([](IMG *img) {
             LFRAME bare{256, 256, nullptr, nullptr, 4};
             LFRAMEStep(&bare), LFRAMEDraw(&bare, img), LFRAMEDrawPoints(&bare, img);
             return bare.line == nullptr;
         })},
    });
}

}  // namespace

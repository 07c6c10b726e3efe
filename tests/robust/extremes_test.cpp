// The other end of the argument range: the largest and smallest 32-bit values in
// fields and arguments that take any integer. Each row must finish (in the
// sanitizer build: without undefined behaviour) and keep the record's invariants.
#include <cstdint>

#include "audio/sample.h"
#include "core/list.h"
#include "fx/csine.h"
#include "fx/laser.h"
#include "fx/lstars.h"
#include "fx/raster.h"
#include "fx/sineline.h"
#include "gfx/grid2d.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
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

using robust::Row;
using robust::RunRows;

namespace {

constexpr int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};

IMG *Canvas()
{
    IMG *img = IMGNew();
    IMGResize(img, 8, 8);
    return img;
}

TEST(ExtremeValues, CursorsStayInRange)
{
    RunRows({
        {"CURSOR step and position",
         [] {
             bool ok = true;
             for (int32_t length : {1, 7, INT32_MAX}) {
                 for (int32_t step : extremes) {
                     CURSOR *c = CURSORNew();
                     CURSORSet(c, "abcdefg", length, step);
                     for (int32_t pos : extremes) {
                         CURSORSetPos(c, pos);
                         ok = ok && c->pos >= 0 && c->pos < length;
                         CURSORStep(c);
                         CURSORStep(c);
                         ok = ok && c->pos >= 0 && c->pos < length;
                     }
                     CURSORFree(&c);
                 }
             }
             return ok;
         }},
        {"CURSORX size, position, steps and offset",
         [] {
             bool ok = true;
             for (int32_t size : {1, 10, INT32_MAX}) {
                 for (int32_t v : extremes) {
                     CURSORX *c = CURSORXNew();
                     CURSORXSet(c, size, v, v, v, v);
                     for (int i = 0; i < 3; ++i) {
                         CURSORXStep(c);
                         CURSORXStepOffset(c);
                         CURSORXUpdate(c);
                         ok = ok && c->pos >= 0 && c->pos <= size && c->value >= 0 && c->value < size;
                     }
                     CURSORXFree(&c);
                 }
             }
             return ok;
         }},
    });
}

TEST(ExtremeValues, GeometryAndImagesFinish)
{
    RunRows({
        {"VEC2D scale, rotate, add and draw",
         [] {
             IMG *img = Canvas();
             for (int32_t a : extremes) {
                 for (int32_t b : extremes) {
                     VEC2D v{a, b, 0xFFFFFF};
                     VEC2D d{b, a, 0};
                     VEC2DScale(&v, b);
                     VEC2DRotate(&v, a);
                     VEC2DAdd(&d, &v);
                     VEC2DDraw(&v, img);
                     VEC2DDrawTransformed(&v, b, &d, img);
                 }
             }
             IMGFree(&img);
         }},
        {"SEG2D transforms",
         [] {
             SEG2D *s = SEG2DNew();
             for (int32_t a : extremes) {
                 s->start->x = a;
                 s->end->y = a;
                 SEG2DScale(s, a);
                 SEG2DRotate(s, a);
                 SEG2DTranslate(s, s->end);
             }
             SEG2DFree(&s);
         }},
        {"IMG blits, rectangles and run tables at the limits",
         [] {
             IMG *a = Canvas();
             IMG *b = Canvas();
             for (int32_t v : extremes) {
                 IMGBlit(a, b, v, v, v, v, v, v);
                 IMGBlitAdd(a, b, 0, 0, v, 0, 8, 8);
                 IMGBlitSpaced(a, b, 0, 0, v, v, 8, 8, v, v);
                 IMGInvertRect(b, v, v, v, v);
                 IMGFillRect(b, v, 0, 8, 8, 1);
                 IMGBlend(a, b, v, v);
                 IMGCopyRowWrap(a, b, 0, 0, v);
                 IMGOrRowWrap(a, b, 0, 0, v);
                 IMGCopyColumnWrap(a, b, 0, 0, v);
                 IMGDrawCircle(b, 4, 4, v, 1);
                 IMG *r = IMGRotate(a, v);
                 IMGFree(&r);
             }
             for (int32_t p : {1 << 20, -(1 << 20)}) {
                 int32_t *t = IMGRunTable(p, 3);
                 delete[] t;
             }
             IMGFXBlur(a, b, UINT32_MAX);
             IMGFree(&a);
             IMGFree(&b);
         }},
    });
}

TEST(ExtremeValues, SamplesWrap)
{
    RunRows({
        {"SAMPLE arithmetic on the extremes",
         [] {
             SAMPLE *s = SAMPLENew();
             for (int32_t v : extremes) {
                 SAMPLEInsert(s, v, s->length);
             }
             SAMPLE *t = SAMPLECopy(s);
             SAMPLEAdd(s, t);
             SAMPLEMultiply(s, t);
             SAMPLEScale(s, INT32_MIN);
             SAMPLEShiftLeft(s, 31);
             SAMPLEShiftRight(s, 31);
             SAMPLENormalize(s, INT32_MIN, INT32_MAX);
             SAMPLENormalize(t, INT32_MAX, INT32_MIN);
             SAMPLERotateLeft(s, INT32_MIN);
             SAMPLERotateRight(s, INT32_MIN);
             const int32_t best = SAMPLEBestMatch(s, t);
             SAMPLE *sub = SAMPLESub(s, INT32_MIN, INT32_MAX);
             const bool ok = sub != nullptr && sub->length == s->length && best >= -t->length;
             SAMPLEFree(&sub);
             SAMPLEFree(&t);
             SAMPLEFree(&s);
             return ok;
         }},
    });
}

TEST(ExtremeValues, EffectsFinish)
{
    RunRows({
        {"LASER speeds and positions",
         [] {
             IMG *img = Canvas();
             LASER *l = LASERNew();
             LASERInit(l, img);
             for (int32_t v : extremes) {
                 l->range = v;
                 l->minimum = v;
                 LASERRandomSpeed(l);
                 l->dx = v;
                 l->dy = v;
                 l->x1 = v;
                 l->y1 = v;
                 LASERMove(l);
                 LASERMoveRandom(l);
                 l->x1 = 3;
                 l->y1 = 3;
                 l->x0 = 2;
                 l->y0 = 2;
                 LASERDraw(l);
             }
             LASERFree(&l);
             IMGFree(&img);
         }},
        {"LSTARS velocities",
         [] {
             IMG *img = Canvas();
             LSTARS *s = LSTARSNew();
             for (int32_t v : extremes) {
                 s->vx = v;
                 s->vy = v;
                 LSTARSMove(s);
                 LSTARSMove(s);
                 LSTARSDraw(s, img);
                 LSTARSDrawPoints(s, img);
             }
             LSTARSFree(&s);
             IMGFree(&img);
         }},
        {"CSINE phases and speeds",
         [] {
             IMG *img = Canvas();
             CSINE *c = CSINENew();
             for (int32_t v : extremes) {
                 c->radiusPhase = c->radiusSpeed = c->radiusAmplitude = c->radiusStep = v;
                 c->anglePhase = c->angleSpeed = c->radius = c->angleStep = v;
                 c->x = c->y = 0;
                 c->width = c->height = 8;
                 CSINEUpdate(c);
                 CSINEUpdateRing(c);
             }
             CSINEFree(&c);
             IMGFree(&img);
         }},
        {"SINELINE phases and speeds",
         [] {
             IMG *img = Canvas();
             SINELINE *l = SINELINENew();
             for (int32_t v : extremes) {
                 l->speed1 = l->speed2 = l->speed3 = {v, v, v};
                 l->step1 = l->step2 = l->step3 = {v, v, v};
                 SINELINEUpdate(l);
                 SINELINEDraw(l, img);
             }
             SINELINEFree(&l);
             IMGFree(&img);
         }},
        {"RASTER offsets",
         [] {
             IMG *img = Canvas();
             RASTER *r = RASTERNew();
             for (int32_t v : {0, 255}) {
                 r->offset = v;
                 RASTERStep(r);
                 RASTERDraw(r, img);
                 RASTERDrawBlend(r, img, 256);
             }
             RASTERSmooth(r, 300);
             const bool ok = r->offset >= 0 && r->offset < r->size;
             RASTERFree(&r);
             IMGFree(&img);
             return ok;
         }},
    });
}

TEST(ExtremeValues, VectorTextAndFramesFinish)
{
    RunRows({
        {"SCROLL speeds, offsets and pen",
         [] {
             IMG *img = Canvas();
             FONT *f = FONTNew();
             f->sheet = Canvas();
             SCROLL *s = SCROLLNew();
             SCROLLSet(s, "HELLO", f, img);
             bool ok = true;
             for (int32_t v : extremes) {
                 s->speed = v;
                 s->x = v;
                 SCROLLAdvance(s);
                 SCROLLAdvance(s);
                 ok = ok && s->offset >= 0 && s->offset <= f->cellWidth && s->cursor->pos >= 0 && s->cursor->pos < 5;
                 SCROLLDraw(s);
                 SCROLLDrawOpaque(s);
             }
             SCROLLFree(&s);
             FONTFree(&f);
             IMGFree(&img);
             return ok;
         }},
        {"LSCROLL and LFONT scales and angles",
         [] {
             IMG *img = Canvas();
             LIST *glyphs = OBJ2DParse("{ c $ffffff s 0,0,3,3 }");
             LFONT *f = LFONTNew();
             f->glyphs = glyphs;
             f->target = img;
             LSCROLL *s = LSCROLLNew();
             LSCROLLSet(s, "\x01\x01", f, img);
             for (int32_t v : extremes) {
                 f->scale = v == 0 ? 1 : v;
                 f->angle = v;
                 s->speed = v;
                 s->x = 0;
                 LSCROLLAdvance(s);
                 LSCROLLDraw(s);
                 f->x = v;
                 f->y = v;
                 f->code = v;
                 LFONTPutChar(f);
                 LFONTPutHex32(f, 0xFFFFFFFFu);
             }
             LSCROLLFree(&s);
             LFONTFree(&f);
             LISTFree(&glyphs);
             IMGFree(&img);
         }},
        {"OBJ2D positions and scales",
         [] {
             IMG *img = Canvas();
             LIST *objects = OBJ2DParse("{ c $ffffff s 0,0,3,3 s -1,-1,1,1 }");
             OBJ2D *o = static_cast<OBJ2D *>(LISTGet(objects, 0));
             for (int32_t v : extremes) {
                 o->x = v;
                 o->y = static_cast<int32_t>(0u - static_cast<uint32_t>(v));
                 o->scale = v;
                 o->angle = v;
                 OBJ2DDrawPoints(o, img);
                 // Lines only where their ends stay near the image: a line across the plane is walked point by point.
                 if (v > -1000 && v < 1000) {
                     OBJ2DDraw(o, img);
                 }
             }
             OBJ2DFree(&o);
             LISTFree(&objects);
             IMGFree(&img);
         }},
        {"LFRAME sizes and speeds",
         [] {
             IMG *img = Canvas();
             LFRAME *f = LFRAMENew();
             for (int32_t v : {1, 2, 3, INT32_MAX - 1, INT32_MAX}) {
                 f->width = v;
                 f->height = v;
                 LFRAMERandomLine(f);
                 LFRAMEEdgeLine(f);
                 LFRAMECornerLine(f);
                 for (int32_t speed : extremes) {
                     f->speed = speed;
                     LFRAMEStep(f);
                 }
                 f->speed = 4;
                 LFRAMEDrawPoints(f, img);
             }
             LFRAMEFree(&f);
             IMGFree(&img);
         }},
        {"GRID2D box sizes",
         [] {
             IMG *img = Canvas();
             GRID2D *g = GRID2DNew();
             GRID2DDrawPoints(g, img);
             for (int32_t v : extremes) {
                 g->width = g->height = g->depth = v;
                 GRID2DReset(g);
                 GRID2DStep(g);
                 GRID2DDrawPoints(g, img);
                 GRID2DDrawSprites(g, img, img);
             }
             GRID2DFree(&g);
             IMGFree(&img);
         }},
    });
}

// Cell corners of far-off codes with huge cells must be worked out without overflow.
TEST(ExtremeValues, FONTCellsAtTheLimits)
{
    RunRows({
        {"FONT pen and cells at the limits",
         [] {
             IMG *img = Canvas();
             FONT *f = FONTNew();
             f->sheet = Canvas();
             f->target = img;
             for (int32_t v : extremes) {
                 f->x = v;
                 f->y = v;
                 f->cellWidth = 6;
                 f->code = v;
                 FONTPutChar(f);
                 f->x = 0;
                 f->cellWidth = v;
                 f->cellHeight = v;
                 FONTPutCharOpaque(f);
                 FONTPutText(f, "a\nb");
                 f->cellHeight = 6;
             }
             FONTFree(&f);
             IMGFree(&img);
         }},
    });
}

}  // namespace

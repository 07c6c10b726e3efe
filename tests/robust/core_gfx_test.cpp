// Bad arguments for the containers, the image modules and the geometry.
#include <cstdint>
#include <vector>

#include "core/array.h"
#include "core/list.h"
#include "gfx/grid2d.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"
#include "robust.h"

using robust::Elements;
using robust::Row;
using robust::RunRows;
using robust::Snapshot;

namespace {

int elements[4];

// ---- LIST and ARRAY: one table over both modules ----

template <typename T>
struct SeqApi {
    T *(*New)();
    void (*Free)(T **);
    bool (*Equal)(const T *, const T *);
    T *(*Copy)(const T *);
    char *(*ToASCII)(const T *);
    T *(*FromASCII)(const char *);
    void (*Append)(T *, void *);
    void *(*Pop)(T *);
    void (*Insert)(T *, void *, int32_t);
    void (*Remove)(T *, int32_t);
    void *(*Get)(const T *, int32_t);
    void (*Set)(T *, void *, int32_t);
    int32_t (*Find)(const T *, const void *);
    T *(*CopyRange)(const T *, int32_t, int32_t);
    void (*DeleteRange)(T *, int32_t, int32_t);
    void (*InsertRange)(const T *, T *, int32_t, int32_t, int32_t);
    bool (*Grow)(T *);
};

constexpr SeqApi<LIST> listApi = {LISTNew,  LISTFree,   LISTEqual, LISTCopy,      LISTToASCII,     LISTFromASCII,
                                  LISTAppend, LISTPop,  LISTInsert, LISTRemove,   LISTGet,         LISTSet,
                                  LISTFind, LISTCopyRange, LISTDeleteRange, LISTInsertRange, LISTGrow};
constexpr SeqApi<ARRAY> arrayApi = {ARRAYNew,    ARRAYFree,   ARRAYEqual,  ARRAYCopy,      ARRAYToASCII,
                                    ARRAYFromASCII, ARRAYAppend, ARRAYPop, ARRAYInsert,    ARRAYRemove,
                                    ARRAYGet,    ARRAYSet,    ARRAYFind,   ARRAYCopyRange, ARRAYDeleteRange,
                                    ARRAYInsertRange, ARRAYGrow};

// Makes a three-element sequence, runs call on it and tells whether it was left as it was.
template <typename T, typename Call>
bool SeqKept(const SeqApi<T> &m, Call call)
{
    T *seq = m.New();
    for (int &e : elements) {
        if (&e != &elements[3]) {
            m.Append(seq, &e);
        }
    }
    const Snapshot<T> record(seq);
    const std::vector<void *> slots = Elements(seq->items, seq->capacity);
    const bool result = call(seq);
    const bool kept = record.Same(seq) && Elements(seq->items, seq->capacity) == slots;
    m.Free(&seq);
    return result && kept;
}

template <typename T>
std::vector<Row> SeqRows(const SeqApi<T> &m)
{
    return {
        {"Free null address", [m] { m.Free(nullptr); return true; }, ""},
        {"Free null handle", [m] { T *none = nullptr; m.Free(&none); return none == nullptr; }, ""},
        {"Equal one null", [m] { return SeqKept(m, [m](T *s) { return !m.Equal(s, nullptr) && !m.Equal(nullptr, s); }); }, ""},
        {"Copy null", [m] { return m.Copy(nullptr) == nullptr; }, ""},
        {"ToASCII null", [m] { return m.ToASCII(nullptr) == nullptr; }, ""},
        {"FromASCII null", [m] { return m.FromASCII(nullptr) == nullptr; }, ""},
        {"Append null", [m] { m.Append(nullptr, &elements[3]); return true; }, ""},
        {"Pop null", [m] { return m.Pop(nullptr) == nullptr; }, ""},
        {"Pop empty", [m] { T *s = m.New(); const Snapshot<T> snap(s); bool ok = m.Pop(s) == nullptr && snap.Same(s); m.Free(&s); return ok; }, ""},
        {"Insert null", [m] { m.Insert(nullptr, &elements[3], 0); return true; }, ""},
        {"Insert -1", [m] { return SeqKept(m, [m](T *s) { m.Insert(s, &elements[3], -1); return true; }); }, ""},
        {"Insert past count", [m] { return SeqKept(m, [m](T *s) { m.Insert(s, &elements[3], 4); return true; }); }, ""},
        {"Remove null", [m] { m.Remove(nullptr, 0); return true; }, ""},
        {"Remove -1", [m] { return SeqKept(m, [m](T *s) { m.Remove(s, -1); return true; }); }, ""},
        {"Remove count", [m] { return SeqKept(m, [m](T *s) { m.Remove(s, 3); return true; }); }, ""},
        {"Get null", [m] { return m.Get(nullptr, 0) == nullptr; }, ""},
        {"Get -1", [m] { return SeqKept(m, [m](T *s) { return m.Get(s, -1) == nullptr; }); }, ""},
        {"Get count", [m] { return SeqKept(m, [m](T *s) { return m.Get(s, 3) == nullptr; }); }, ""},
        {"Set null", [m] { m.Set(nullptr, &elements[3], 0); return true; }, ""},
        {"Set -1", [m] { return SeqKept(m, [m](T *s) { m.Set(s, &elements[3], -1); return true; }); }, ""},
        {"Set count", [m] { return SeqKept(m, [m](T *s) { m.Set(s, &elements[3], 3); return true; }); }, ""},
        {"Find null list", [m] { return m.Find(nullptr, &elements[0]) == -1; }, ""},
        {"Find null element", [m] { return SeqKept(m, [m](T *s) { return m.Find(s, nullptr) == -1; }); }, ""},
        {"CopyRange null", [m] { return m.CopyRange(nullptr, 0, 1) == nullptr; }, ""},
        {"CopyRange empty", [m] { return SeqKept(m, [m](T *s) { return m.CopyRange(s, 1, 1) == nullptr; }); }, ""},
        {"CopyRange reversed", [m] { return SeqKept(m, [m](T *s) { return m.CopyRange(s, 2, 1) == nullptr; }); }, ""},
        {"CopyRange -1", [m] { return SeqKept(m, [m](T *s) { return m.CopyRange(s, -1, 1) == nullptr; }); }, ""},
        {"CopyRange past count", [m] { return SeqKept(m, [m](T *s) { return m.CopyRange(s, 0, 4) == nullptr; }); }, ""},
        {"DeleteRange null", [m] { m.DeleteRange(nullptr, 0, 1); return true; }, ""},
        {"DeleteRange empty", [m] { return SeqKept(m, [m](T *s) { m.DeleteRange(s, 1, 1); return true; }); }, ""},
        {"DeleteRange -1", [m] { return SeqKept(m, [m](T *s) { m.DeleteRange(s, -1, 2); return true; }); }, ""},
        {"DeleteRange past count", [m] { return SeqKept(m, [m](T *s) { m.DeleteRange(s, 1, 4); return true; }); }, ""},
        {"InsertRange null source", [m] { return SeqKept(m, [m](T *s) { m.InsertRange(nullptr, s, 0, 1, 0); return true; }); }, ""},
        {"InsertRange null destination", [m] { return SeqKept(m, [m](T *s) { m.InsertRange(s, nullptr, 0, 1, 0); return true; }); }, ""},
        {"InsertRange empty range", [m] { return SeqKept(m, [m](T *s) { m.InsertRange(s, s, 0, 0, 0); return true; }); }, ""},
        {"InsertRange at -1", [m] { return SeqKept(m, [m](T *s) { m.InsertRange(s, s, 0, 1, -1); return true; }); }, ""},
        {"InsertRange at past count", [m] { return SeqKept(m, [m](T *s) { m.InsertRange(s, s, 0, 1, 4); return true; }); }, ""},
        {"InsertRange range past count", [m] { return SeqKept(m, [m](T *s) { m.InsertRange(s, s, 2, 5, 0); return true; }); }, ""},
        {"Grow null", [m] { return !m.Grow(nullptr); }, ""},
    };
}

TEST(BadArguments, LIST) { RunRows(SeqRows(listApi)); }
TEST(BadArguments, ARRAY) { RunRows(SeqRows(arrayApi)); }

// ---- IMG and IMGFX: one table over both modules ----

struct ImgApi {
    decltype(&IMGNew) New;
    decltype(&IMGFree) Free;
    decltype(&IMGCopy) Copy;
    decltype(&IMGEqual) Equal;
    decltype(&IMGResize) Resize;
    decltype(&IMGClear) Clear;
    decltype(&IMGCopyPixels) CopyPixels;
    decltype(&IMGSetPixel) SetPixel;
    decltype(&IMGGetPixel) GetPixel;
    decltype(&IMGDrawLine) DrawLine;
    decltype(&IMGFillRect) FillRect;
    decltype(&IMGDrawRect) DrawRect;
    decltype(&IMGDrawCircle) DrawCircle;
    decltype(&IMGLinePoints) LinePoints;
    decltype(&IMGBlit) Blit;
    decltype(&IMGBlitMasked) BlitMasked;
    decltype(&IMGBlitAdd) BlitAdd;
    decltype(&IMGBlitAddSaturate) BlitAddSaturate;
    decltype(&IMGBlitSpaced) BlitSpaced;
    decltype(&IMGCopyRow) CopyRow;
    decltype(&IMGCopyRowWrap) CopyRowWrap;
    decltype(&IMGOrRowWrap) OrRowWrap;
    decltype(&IMGCopyColumnWrap) CopyColumnWrap;
    decltype(&IMGToASCII) ToASCII;
    decltype(&IMGFromASCII) FromASCII;
    decltype(&IMGLoadPNM) LoadPNM;
    decltype(&IMGParsePNM) ParsePNM;
    decltype(&IMGSavePPM) SavePPM;
    decltype(&IMGFindText) FindText;
    decltype(&IMGFade) Fade;
    decltype(&IMGBlend) Blend;
    decltype(&IMGInvert) Invert;
    decltype(&IMGInvertRect) InvertRect;
    decltype(&IMGAndMask) AndMask;
    decltype(&IMGScale) Scale;
    decltype(&IMGRotate) Rotate;
    decltype(&IMGRunTable) RunTable;
    decltype(&IMGRunTableMirrored) RunTableMirrored;
};

constexpr ImgApi imgApi = {
    IMGNew,        IMGFree,      IMGCopy,        IMGEqual,       IMGResize,     IMGClear,         IMGCopyPixels,
    IMGSetPixel,   IMGGetPixel,  IMGDrawLine,    IMGFillRect,    IMGDrawRect,   IMGDrawCircle,    IMGLinePoints,
    IMGBlit,       IMGBlitMasked, IMGBlitAdd,    IMGBlitAddSaturate, IMGBlitSpaced, IMGCopyRow,   IMGCopyRowWrap,
    IMGOrRowWrap,  IMGCopyColumnWrap, IMGToASCII, IMGFromASCII,  IMGLoadPNM,    IMGParsePNM,      IMGSavePPM,
    IMGFindText,   IMGFade,      IMGBlend,       IMGInvert,      IMGInvertRect, IMGAndMask,       IMGScale,
    IMGRotate,     IMGRunTable,  IMGRunTableMirrored};
constexpr ImgApi imgfxApi = {
    IMGFXNew,       IMGFXFree,      IMGFXCopy,       IMGFXEqual,      IMGFXResize,    IMGFXClear,
    IMGFXCopyPixels, IMGFXSetPixel, IMGFXGetPixel,   IMGFXDrawLine,   IMGFXFillRect,  IMGFXDrawRect,
    IMGFXDrawCircle, IMGFXLinePoints, IMGFXBlit,     IMGFXBlitMasked, IMGFXBlitAdd,   IMGFXBlitAddSaturate,
    IMGFXBlitSpaced, IMGFXCopyRow,  IMGFXCopyRowWrap, IMGFXOrRowWrap, IMGFXCopyColumnWrap, IMGFXToASCII,
    IMGFXFromASCII, IMGFXLoadPNM,   IMGFXParsePNM,   IMGFXSavePPM,    IMGFXFindText,  IMGFXFade,
    IMGFXBlend,     IMGFXInvert,    IMGFXInvertRect, IMGFXAndMask,    IMGFXScale,     IMGFXRotate,
    IMGFXRunTable,  IMGFXRunTableMirrored};

// A 4 x 3 image of distinct non-zero pixels.
IMG *Pattern(const ImgApi &m, int32_t w = 4, int32_t h = 3)
{
    IMG *img = m.New();
    m.Resize(img, w, h);
    for (int32_t i = 0; i < w * h; ++i) {
        img->pixels[i] = 0x010203u * static_cast<uint32_t>(i + 1);
    }
    return img;
}

// Runs call on a pattern image (and a second one, as the other image of a pair) and
// tells whether both were left exactly as they were.
template <typename Call>
bool ImgKept(const ImgApi &m, Call call)
{
    IMG *img = Pattern(m);
    IMG *other = Pattern(m, 3, 2);
    const Snapshot<IMG> imgRecord(img), otherRecord(other);
    const std::vector<uint32_t> imgPixels = Elements(img->pixels, 12), otherPixels = Elements(other->pixels, 6);
    const bool result = call(img, other);
    const bool kept = imgRecord.Same(img) && otherRecord.Same(other) && Elements(img->pixels, 12) == imgPixels &&
                      Elements(other->pixels, 6) == otherPixels;
    m.Free(&img);
    m.Free(&other);
    return result && kept;
}

// An image record with a size but no pixels: what a failed allocation or a caller's
// hand-made record can leave.
IMG hollow = {4, 3, nullptr};

std::vector<Row> ImgRows(const ImgApi &m)
{
    const unsigned char bad[] = "P7\n1 1\n255\n\0\0\0";
    const unsigned char zero[] = "P5\n0 1\n255\n";
    return {
        {"Free null address", [m] { m.Free(nullptr); return true; }, ""},
        {"Free null handle", [m] { IMG *none = nullptr; m.Free(&none); return none == nullptr; }, ""},
        {"Copy null", [m] { return m.Copy(nullptr) == nullptr; }, ""},
        {"Copy hollow", [m] { return m.Copy(&hollow) == nullptr; }, ""},
        {"Equal null", [m] { return ImgKept(m, [m](IMG *a, IMG *) { return !m.Equal(a, nullptr) && !m.Equal(nullptr, a); }); }, ""},
        {"Equal hollow", [m] { return !m.Equal(&hollow, &hollow); }, ""},
        {"Resize null", [m] { m.Resize(nullptr, 2, 2); return true; }, ""},
        {"Resize -1 wide", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.Resize(a, -1, 2); return true; }); }, ""},
        {"Resize -1 high", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.Resize(a, 2, -1); return true; }); }, ""},
        {"Resize beyond 2^31 pixels", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.Resize(a, 65536, 65536); return true; }); }, ""},
        {"Clear null", [m] { m.Clear(nullptr); return true; }, ""},
        {"Clear hollow", [m] { m.Clear(&hollow); return hollow.pixels == nullptr; }, ""},
        {"CopyPixels null", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.CopyPixels(nullptr, a); m.CopyPixels(a, nullptr); return true; }); }, ""},
        {"CopyPixels size mismatch", [m] { return ImgKept(m, [m](IMG *a, IMG *b) { m.CopyPixels(a, b); m.CopyPixels(b, a); return true; }); }, ""},
        {"SetPixel null", [m] { m.SetPixel(nullptr, 0, 0, 1); m.SetPixel(&hollow, 0, 0, 1); return true; }, ""},
        {"SetPixel outside", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.SetPixel(a, -1, 0, 1); m.SetPixel(a, 0, -1, 1); m.SetPixel(a, 4, 0, 1); m.SetPixel(a, 0, 3, 1); m.SetPixel(a, INT32_MIN, INT32_MAX, 1); return true; }); }, ""},
        {"GetPixel null", [m] { return m.GetPixel(nullptr, 0, 0) == 0 && m.GetPixel(&hollow, 0, 0) == 0; }, ""},
        {"GetPixel outside", [m] { return ImgKept(m, [m](IMG *a, IMG *) { return m.GetPixel(a, -1, 0) == 0 && m.GetPixel(a, 4, 0) == 0 && m.GetPixel(a, 0, 3) == 0 && m.GetPixel(a, 0, -1) == 0; }); }, ""},
        {"DrawLine null", [m] { m.DrawLine(nullptr, 0, 0, 3, 3, 1); m.DrawLine(&hollow, 0, 0, 3, 3, 1); return true; }, ""},
        {"DrawLine outside", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.DrawLine(a, -5, -1, 10, -1, 1); m.DrawLine(a, 4, -3, 4, 9, 1); return true; }); }, ""},
        {"FillRect null", [m] { m.FillRect(nullptr, 0, 0, 1, 1, 1); m.FillRect(&hollow, 0, 0, 1, 1, 1); return true; }, ""},
        {"FillRect sizes 0 and -1", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.FillRect(a, 0, 0, 0, 1, 1); m.FillRect(a, 0, 0, 1, 0, 1); m.FillRect(a, 1, 1, -1, 1, 1); m.FillRect(a, 1, 1, 1, -1, 1); return true; }); }, ""},
        {"FillRect not inside", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.FillRect(a, -1, 0, 2, 1, 1); m.FillRect(a, 3, 0, 2, 1, 1); m.FillRect(a, 0, 2, 1, 2, 1); m.FillRect(a, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1); return true; }); }, ""},
        {"DrawRect null", [m] { m.DrawRect(nullptr, 0, 0, 1, 1, 1); m.DrawRect(&hollow, 0, 0, 1, 1, 1); return true; }, ""},
        {"DrawRect sizes 0 and -1", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.DrawRect(a, 0, 0, 0, 1, 1); m.DrawRect(a, 0, 0, 1, -1, 1); m.DrawRect(a, 2, 2, INT32_MAX, 1, 1); return true; }); }, ""},
        {"DrawCircle null", [m] { m.DrawCircle(nullptr, 1, 1, 1, 1); m.DrawCircle(&hollow, 1, 1, 1, 1); return true; }, ""},
        {"DrawCircle radius 0 and -1", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.DrawCircle(a, 1, 1, 0, 1); m.DrawCircle(a, 1, 1, -1, 1); return true; }); }, ""},
        {"DrawCircle centre outside", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.DrawCircle(a, -1, 1, 1, 1); m.DrawCircle(a, 4, 1, 1, 1); return true; }); }, ""},
        {"LinePoints across the plane", [m] { return m.LinePoints(INT32_MIN, 0, INT32_MAX, 0) == nullptr; }, ""},
        {"Blits null", [m] { return ImgKept(m, [m](IMG *a, IMG *) {
             for (auto blit : {m.Blit, m.BlitMasked, m.BlitAdd, m.BlitAddSaturate}) {
                 blit(nullptr, a, 0, 0, 0, 0, 2, 2); blit(a, nullptr, 0, 0, 0, 0, 2, 2); blit(&hollow, a, 0, 0, 0, 0, 2, 2);
             }
             return true; }); }, ""},
        {"Blits sizes 0 and -1", [m] { return ImgKept(m, [m](IMG *a, IMG *b) {
             for (auto blit : {m.Blit, m.BlitMasked, m.BlitAdd, m.BlitAddSaturate}) {
                 blit(b, a, 0, 0, 0, 0, 0, 2); blit(b, a, 0, 0, 0, 0, 2, 0); blit(b, a, 0, 0, 0, 0, -1, 2); blit(b, a, 0, 0, 0, 0, 2, -1);
             }
             return true; }); }, ""},
        {"Blits wholly outside", [m] { return ImgKept(m, [m](IMG *a, IMG *b) {
             for (auto blit : {m.Blit, m.BlitMasked, m.BlitAdd, m.BlitAddSaturate}) {
                 blit(b, a, 0, 0, 4, 0, 3, 2); blit(b, a, 0, 0, -3, 0, 3, 2); blit(b, a, 3, 0, 0, 0, 3, 2); blit(b, a, INT32_MAX, INT32_MAX, 0, 0, INT32_MAX, INT32_MAX);
                 blit(b, a, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
             }
             return true; }); }, ""},
        {"BlitSpaced steps 0 and -1", [m] { return ImgKept(m, [m](IMG *a, IMG *b) { m.BlitSpaced(b, a, 0, 0, 0, 0, 3, 2, 0, 1); m.BlitSpaced(b, a, 0, 0, 0, 0, 3, 2, 1, -1); m.BlitSpaced(nullptr, a, 0, 0, 0, 0, 3, 2, 1, 1); m.BlitSpaced(b, nullptr, 0, 0, 0, 0, 3, 2, 1, 1); return true; }); }, ""},
        {"BlitSpaced sizes 0 and -1", [m] { return ImgKept(m, [m](IMG *a, IMG *b) { m.BlitSpaced(b, a, 0, 0, 0, 0, 0, 2, 1, 1); m.BlitSpaced(b, a, 0, 0, 0, 0, 3, -1, 1, 1); m.BlitSpaced(b, a, 0, 0, 0, 0, 3, 2, INT32_MAX, INT32_MAX); return true; }); }, ""},
        {"Row and column copies null", [m] { return ImgKept(m, [m](IMG *a, IMG *) {
             m.CopyRow(nullptr, a, 0, 0); m.CopyRow(a, nullptr, 0, 0); m.CopyRowWrap(nullptr, a, 0, 0, 0); m.CopyRowWrap(a, nullptr, 0, 0, 0);
             m.OrRowWrap(nullptr, a, 0, 0, 0); m.OrRowWrap(a, nullptr, 0, 0, 0); m.CopyColumnWrap(nullptr, a, 0, 0, 0); m.CopyColumnWrap(a, nullptr, 0, 0, 0);
             m.CopyRow(&hollow, a, 0, 0); m.CopyRowWrap(&hollow, a, 0, 0, 0); m.OrRowWrap(&hollow, a, 0, 0, 0); m.CopyColumnWrap(&hollow, a, 0, 0, 0);
             return true; }); }, ""},
        {"Row and column copies -1 and past the end", [m] { return ImgKept(m, [m](IMG *a, IMG *b) {
             // b (3 x 2) is the source, a (4 x 3) the destination.
             for (int32_t bad : {-1, INT32_MIN, INT32_MAX}) {
                 m.CopyRow(b, a, bad, 0); m.CopyRow(b, a, 0, bad); m.CopyRowWrap(b, a, bad, 0, 0); m.CopyRowWrap(b, a, 0, bad, 0);
                 m.OrRowWrap(b, a, bad, 0, 0); m.OrRowWrap(b, a, 0, bad, 0); m.CopyColumnWrap(b, a, bad, 0, 0); m.CopyColumnWrap(b, a, 0, bad, 0);
             }
             m.CopyRow(b, a, 2, 0); m.CopyRow(b, a, 0, 3); m.CopyRowWrap(b, a, 2, 0, 0); m.CopyRowWrap(b, a, 0, 3, 0);
             m.OrRowWrap(b, a, 2, 0, 0); m.OrRowWrap(b, a, 0, 3, 0); m.CopyColumnWrap(b, a, 3, 0, 0); m.CopyColumnWrap(b, a, 0, 4, 0);
             return true; }); }, ""},
        {"Row wraps into an empty image", [m] { return ImgKept(m, [m](IMG *a, IMG *) { IMG *empty = m.New(); m.Resize(empty, 0, 0); m.CopyRowWrap(a, empty, 0, 0, 5); m.OrRowWrap(a, empty, 0, 0, 5); m.CopyColumnWrap(a, empty, 0, 0, 5); const bool ok = empty->width == 0; m.Free(&empty); return ok; }); }, ""},
        {"ToASCII null", [m] { return m.ToASCII(nullptr) == nullptr && m.ToASCII(&hollow) == nullptr; }, ""},
        {"FromASCII null and empty form", [m] { return m.FromASCII(nullptr) == nullptr && m.FromASCII("IMGFX{}") == nullptr && m.FromASCII("") == nullptr; }, ""},
        {"LoadPNM null and missing file", [m] { return m.LoadPNM(nullptr) == nullptr && m.LoadPNM("/nonexistent/zolt.pnm") == nullptr; }, ""},
        {"ParsePNM null, size 0, bad magic, zero width", [m, bad, zero] { return m.ParsePNM(nullptr, 10) == nullptr && m.ParsePNM(bad, 0) == nullptr && m.ParsePNM(bad, sizeof bad) == nullptr && m.ParsePNM(zero, sizeof zero) == nullptr; }, ""},
        {"SavePPM null and empty", [m] { return ImgKept(m, [m](IMG *a, IMG *) { IMG *empty = m.New(); m.Resize(empty, 0, 4); const bool ok = !m.SavePPM(nullptr, "/tmp/zolt-robust.ppm") && !m.SavePPM(a, nullptr) && !m.SavePPM(&hollow, "/tmp/zolt-robust.ppm") && !m.SavePPM(empty, "/tmp/zolt-robust.ppm") && !m.SavePPM(a, "/nonexistent/zolt.ppm"); m.Free(&empty); return ok; }); }, ""},
        {"FindText null", [m] { return m.FindText(nullptr, "IMG") == 0 && m.FindText("IMG", nullptr) == 0; }, ""},
        {"Effects null", [m] { return ImgKept(m, [m](IMG *a, IMG *) {
             m.Fade(nullptr, 1); m.Fade(&hollow, 1); m.Blend(nullptr, a, 0, 0); m.Blend(a, nullptr, 0, 0); m.Blend(&hollow, a, 0, 0);
             m.Invert(nullptr); m.Invert(&hollow); m.InvertRect(nullptr, 0, 0, 1, 1); m.InvertRect(&hollow, 0, 0, 1, 1);
             m.AndMask(nullptr, a); m.AndMask(a, nullptr); m.AndMask(&hollow, a); m.Scale(nullptr, a); m.Scale(a, nullptr); m.Scale(&hollow, a);
             return m.Rotate(nullptr, 0) == nullptr && m.Rotate(&hollow, 0) == nullptr; }); }, ""},
        {"Blend wholly outside", [m] { return ImgKept(m, [m](IMG *a, IMG *b) { m.Blend(b, a, 4, 0); m.Blend(b, a, -3, 0); m.Blend(b, a, INT32_MAX, INT32_MAX); m.Blend(b, a, INT32_MIN, INT32_MIN); return true; }); }, ""},
        {"InvertRect sizes 0 and -1 and outside", [m] { return ImgKept(m, [m](IMG *a, IMG *) { m.InvertRect(a, 0, 0, 0, 2); m.InvertRect(a, 0, 0, -1, 2); m.InvertRect(a, 0, 0, 2, -1); m.InvertRect(a, 4, 0, 2, 2); m.InvertRect(a, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX); m.InvertRect(a, INT32_MIN, INT32_MIN, INT32_MAX, 1); return true; }); }, ""},
        {"AndMask larger mask", [m] { return ImgKept(m, [m](IMG *a, IMG *b) { m.AndMask(a, b); return true; }); }, ""},
        {"RunTable beyond 32 bits", [m] { return m.RunTable(INT32_MAX, 1) == nullptr && m.RunTable(1, INT32_MIN) == nullptr && m.RunTableMirrored(INT32_MIN, 1) == nullptr && m.RunTableMirrored(1, INT32_MAX) == nullptr; }, ""},
    };
}

TEST(BadArguments, IMG) { RunRows(ImgRows(imgApi)); }
TEST(BadArguments, IMGFX)
{
    RunRows(ImgRows(imgfxApi));
    RunRows({
        {"IMGFXBlur null", [] { return ImgKept(imgfxApi, [](IMG *a, IMG *) { IMGFXBlur(nullptr, a, 1); IMGFXBlur(a, nullptr, 1); IMGFXBlur(&hollow, a, 1); return true; }); }, ""},
        {"IMGFXBlur onto itself", [] { return ImgKept(imgfxApi, [](IMG *a, IMG *) { IMGFXBlur(a, a, 1); return true; }); }, ""},
    });
}

// ---- VEC2D, SEG2D, GRID2D ----

template <typename Call>
bool VecKept(Call call)
{
    VEC2D *v = VEC2DNew();
    v->x = 3;
    v->y = -4;
    v->colour = 0x123456;
    const Snapshot<VEC2D> snap(v);
    const bool result = call(v);
    const bool kept = snap.Same(v);
    VEC2DFree(&v);
    return result && kept;
}

IMG *Canvas()
{
    IMG *img = IMGNew();
    IMGResize(img, 8, 8);
    return img;
}

template <typename Call>
bool CanvasKept(Call call)
{
    IMG *img = Canvas();
    const bool result = call(img);
    bool black = true;
    for (int32_t i = 0; i < 64; ++i) {
        black = black && img->pixels[i] == 0;
    }
    IMGFree(&img);
    return result && black;
}

TEST(BadArguments, VEC2D)
{
    const char *line = robust::vec2dLine;
    RunRows({
        {"Free null address", [] { VEC2DFree(nullptr); return true; }, line},
        {"Free null handle", [] { VEC2D *none = nullptr; VEC2DFree(&none); return true; }, line},
        {"Copy null", [] { return VEC2DCopy(nullptr) == nullptr; }, line},
        {"CopyTo null source", [] { return VecKept([](VEC2D *v) { VEC2DCopyTo(nullptr, v); return true; }); }, line},
        {"CopyTo null destination", [] { return VecKept([](VEC2D *v) { VEC2DCopyTo(v, nullptr); return true; }); }, line},
        {"Equal null", [] { return VecKept([](VEC2D *v) { return !VEC2DEqual(v, nullptr); }); }, line},
        {"ToASCII null", [] { return VEC2DToASCII(nullptr) == nullptr; }, line},
        {"FromASCII null", [] { return VEC2DFromASCII(nullptr) == nullptr; }, line},
        {"Draw null vector", [] { return CanvasKept([](IMG *img) { VEC2DDraw(nullptr, img); return true; }); }, line},
        {"Draw null image", [] { return VecKept([](VEC2D *v) { VEC2DDraw(v, nullptr); return true; }); }, line},
        {"Add null delta", [] { return VecKept([](VEC2D *v) { VEC2DAdd(nullptr, v); return true; }); }, line},
        {"Add null target", [] { return VecKept([](VEC2D *v) { VEC2DAdd(v, nullptr); return true; }); }, line},
        {"Scale null", [] { VEC2DScale(nullptr, 2); return true; }, line},
        {"Rotate null", [] { VEC2DRotate(nullptr, 2); return true; }, line},
        {"DrawTransformed null vector", [] { return CanvasKept([](IMG *img) { VEC2D o{}; VEC2DDrawTransformed(nullptr, 0, &o, img); return true; }); }, line},
        {"DrawTransformed null offset", [] { return CanvasKept([](IMG *img) { return VecKept([img](VEC2D *v) { VEC2DDrawTransformed(v, 0, nullptr, img); return true; }); }); }, line},
        {"DrawTransformed null image", [] { return VecKept([](VEC2D *v) { VEC2DDrawTransformed(v, 0, v, nullptr); return true; }); }, line},
        {"Draw outside the image", [] { return CanvasKept([](IMG *img) { VEC2D v{-1, 8, 0xFFFFFF}; VEC2DDraw(&v, img); v = {INT32_MIN, INT32_MAX, 1}; VEC2DDraw(&v, img); return true; }); }, ""},
    });
}

template <typename Call>
bool SegKept(Call call)
{
    SEG2D *s = SEG2DNew();
    s->start->x = 1;
    s->end->y = 5;
    const Snapshot<SEG2D> record(s);
    const Snapshot<VEC2D> start(s->start), end(s->end);
    const bool result = call(s);
    const bool kept = record.Same(s) && start.Same(s->start) && end.Same(s->end);
    SEG2DFree(&s);
    return result && kept;
}

TEST(BadArguments, SEG2D)
{
    RunRows({
        {"Free null address", [] { SEG2DFree(nullptr); return true; }, ""},
        {"Free null handle", [] { SEG2D *none = nullptr; SEG2DFree(&none); return true; }, ""},
        {"FreeRecord null", [] { SEG2D *none = nullptr; SEG2DFreeRecord(nullptr); SEG2DFreeRecord(&none); return true; }, ""},
        {"Copy null", [] { return SEG2DCopy(nullptr) == nullptr; }, ""},
        {"Copy without an end point", [] { SEG2D half{nullptr, nullptr}; return SEG2DCopy(&half) == nullptr; }, ""},
        {"CopyTo null", [] { return SegKept([](SEG2D *s) { SEG2DCopyTo(nullptr, s); SEG2DCopyTo(s, nullptr); return true; }); }, ""},
        {"CopyTo from a segment without end points", [] { return SegKept([](SEG2D *s) { SEG2D half{nullptr, nullptr}; SEG2DCopyTo(&half, s); return true; }); }, ""},
        {"Equal null", [] { return SegKept([](SEG2D *s) { return !SEG2DEqual(s, nullptr) && !SEG2DEqual(nullptr, s); }); }, ""},
        {"ToASCII and FromASCII null", [] { return SEG2DToASCII(nullptr) == nullptr && SEG2DFromASCII(nullptr) == nullptr; }, ""},
        {"Draw null", [] { return CanvasKept([](IMG *img) { SEG2DDraw(nullptr, img); SEG2DDrawEnds(nullptr, img); return SegKept([](SEG2D *s) { SEG2DDraw(s, nullptr); SEG2DDrawEnds(s, nullptr); return true; }); }); }, ""},
        {"Draw without end points", [] { return CanvasKept([](IMG *img) { SEG2D half{nullptr, nullptr}; SEG2DDraw(&half, img); SEG2DDrawEnds(&half, img); SEG2DDrawTransformed(&half, 0, nullptr, img); return true; }); }, ""},
        {"Rotate, Translate, Scale null", [] { SEG2DRotate(nullptr, 1); SEG2DTranslate(nullptr, nullptr); SEG2DScale(nullptr, 2); return SegKept([](SEG2D *s) { SEG2DTranslate(s, nullptr); return true; }); }, ""},
        {"Moves without end points", [] { SEG2D half{nullptr, nullptr}; VEC2D o{1, 1, 0}; SEG2DRotate(&half, 1); SEG2DTranslate(&half, &o); SEG2DScale(&half, 2); return half.start == nullptr; }, ""},
        {"DrawTransformed null", [] { return CanvasKept([](IMG *img) { VEC2D o{}; SEG2DDrawTransformed(nullptr, 0, &o, img); return SegKept([img](SEG2D *s) { SEG2DDrawTransformed(s, 0, nullptr, img); SEG2DDrawTransformed(s, 0, s->start, nullptr); return true; }); }); }, ""},
    });
}

template <typename Call>
bool GridKept(Call call)
{
    GRID2D *g = GRID2DNew();
    const Snapshot<GRID2D> record(g);
    const std::vector<int32_t> points = Elements(g->points, g->count * grid2dPointFields);
    const bool result = call(g);
    const bool kept = record.Same(g) && Elements(g->points, g->count * grid2dPointFields) == points;
    GRID2DFree(&g);
    return result && kept;
}

TEST(BadArguments, GRID2D)
{
    const char *line = robust::grid2dLine;
    RunRows({
        {"Free null address", [] { GRID2DFree(nullptr); return true; }, line},
        {"Free null handle", [] { GRID2D *none = nullptr; GRID2DFree(&none); return true; }, line},
        // Every other operation ignores a null grid, image or point array without a report.
        {"SetCount null", [] { GRID2DSetCount(nullptr, 4); return true; }, ""},
        {"SetCount -1", [] { return GridKept([](GRID2D *g) { GRID2DSetCount(g, -1); return true; }); }, ""},
        {"Reset null", [] { GRID2DReset(nullptr); return true; }, ""},
        {"RandomPosition null", [] { GRID2DRandomPosition(nullptr, 0); return true; }, ""},
        {"RandomPosition -1", [] { return GridKept([](GRID2D *g) { GRID2DRandomPosition(g, -1); return true; }); }, ""},
        {"RandomPosition count", [] { return GridKept([](GRID2D *g) { GRID2DRandomPosition(g, g->count); return true; }); }, ""},
        {"RandomVelocity null", [] { GRID2DRandomVelocity(nullptr, 0); return true; }, ""},
        {"RandomVelocity -1", [] { return GridKept([](GRID2D *g) { GRID2DRandomVelocity(g, -1); return true; }); }, ""},
        {"RandomVelocity count", [] { return GridKept([](GRID2D *g) { GRID2DRandomVelocity(g, g->count); return true; }); }, ""},
        {"Step null", [] { GRID2DStep(nullptr); return true; }, ""},
        {"DrawPoints null grid", [] { return CanvasKept([](IMG *img) { GRID2DDrawPoints(nullptr, img); return true; }); }, ""},
        {"DrawPoints null image", [] { return GridKept([](GRID2D *g) { GRID2DDrawPoints(g, nullptr); return true; }); }, ""},
        {"DrawSprites null", [] { return CanvasKept([](IMG *img) { GRID2DDrawSprites(nullptr, img, img); return true; }); }, ""},
        {"DrawSprites null image", [] { return GridKept([](GRID2D *g) { IMG *sprite = Canvas(); GRID2DDrawSprites(g, nullptr, sprite); IMGFree(&sprite); return true; }); }, ""},
        {"DrawSprites null sprite", [] { return CanvasKept([](IMG *img) { return GridKept([img](GRID2D *g) { GRID2DDrawSprites(g, img, nullptr); return true; }); }); }, ""},
    });
}

}  // namespace

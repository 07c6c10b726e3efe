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

using robust::Call;
using robust::Elements;
using robust::FreeNull;
using robust::Neutral;
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

constexpr SeqApi<LIST> listApi = {
    LISTNew,    LISTFree, LISTEqual, LISTCopy, LISTToASCII,   LISTFromASCII,   LISTAppend,      LISTPop, LISTInsert,
    LISTRemove, LISTGet,  LISTSet,   LISTFind, LISTCopyRange, LISTDeleteRange, LISTInsertRange, LISTGrow};
constexpr SeqApi<ARRAY> arrayApi = {ARRAYNew,         ARRAYFree,   ARRAYEqual, ARRAYCopy,      ARRAYToASCII,
                                    ARRAYFromASCII,   ARRAYAppend, ARRAYPop,   ARRAYInsert,    ARRAYRemove,
                                    ARRAYGet,         ARRAYSet,    ARRAYFind,  ARRAYCopyRange, ARRAYDeleteRange,
                                    ARRAYInsertRange, ARRAYGrow};

// Makes a sequence of count elements, runs call on it and tells whether it was left as it was.
template <typename T, typename Call>
bool SeqKept(const SeqApi<T> &m, int count, Call call)
{
    T *seq = m.New();
    for (int i = 0; i < count; ++i) {
        m.Append(seq, &elements[i]);
    }
    const Snapshot<T> record(seq);
    const std::vector<void *> slots = Elements(seq->items, seq->capacity);
    const bool result = Neutral(call, seq);
    const bool kept = record.Same(seq) && Elements(seq->items, seq->capacity) == slots;
    m.Free(&seq);
    return result && kept;
}

template <typename T>
std::vector<Row> SeqRows(const SeqApi<T> &m)
{
    // kept(call): a row that runs call on a three-element sequence.
    const auto kept = [m](auto call) { return [m, call] { return SeqKept(m, 3, call); }; };
    void *const extra = &elements[3];
    return {
        {"Free null address", robust::FreeNullAddress(m.Free)},
        {"Free null handle", robust::FreeNullHandle(m.Free)},
        {"Equal one null", kept([m](T *s) { return !m.Equal(s, nullptr) && !m.Equal(nullptr, s); })},
        {"Copy null", [m] { return m.Copy(nullptr) == nullptr; }},
        {"ToASCII null", [m] { return m.ToASCII(nullptr) == nullptr; }},
        {"FromASCII null", [m] { return m.FromASCII(nullptr) == nullptr; }},
        {"Append null", [m, extra] { m.Append(nullptr, extra); }},
        {"Pop null", [m] { return m.Pop(nullptr) == nullptr; }},
        {"Pop empty", [m] { return SeqKept(m, 0, [m](T *s) { return m.Pop(s) == nullptr; }); }},
        {"Insert null", [m, extra] { m.Insert(nullptr, extra, 0); }},
        {"Insert -1", kept([m, extra](T *s) { m.Insert(s, extra, -1); })},
        {"Insert past count", kept([m, extra](T *s) { m.Insert(s, extra, 4); })},
        {"Remove null", [m] { m.Remove(nullptr, 0); }},
        {"Remove -1", kept([m](T *s) { m.Remove(s, -1); })},
        {"Remove count", kept([m](T *s) { m.Remove(s, 3); })},
        {"Get null", [m] { return m.Get(nullptr, 0) == nullptr; }},
        {"Get -1", kept([m](T *s) { return m.Get(s, -1) == nullptr; })},
        {"Get count", kept([m](T *s) { return m.Get(s, 3) == nullptr; })},
        {"Set null", [m, extra] { m.Set(nullptr, extra, 0); }},
        {"Set -1", kept([m, extra](T *s) { m.Set(s, extra, -1); })},
        {"Set count", kept([m, extra](T *s) { m.Set(s, extra, 3); })},
        {"Find null list", [m] { return m.Find(nullptr, &elements[0]) == -1; }},
        {"Find null element", kept([m](T *s) { return m.Find(s, nullptr) == -1; })},
        {"CopyRange null", [m] { return m.CopyRange(nullptr, 0, 1) == nullptr; }},
        {"CopyRange empty", kept([m](T *s) { return m.CopyRange(s, 1, 1) == nullptr; })},
        {"CopyRange reversed", kept([m](T *s) { return m.CopyRange(s, 2, 1) == nullptr; })},
        {"CopyRange -1", kept([m](T *s) { return m.CopyRange(s, -1, 1) == nullptr; })},
        {"CopyRange past count", kept([m](T *s) { return m.CopyRange(s, 0, 4) == nullptr; })},
        {"DeleteRange null", [m] { m.DeleteRange(nullptr, 0, 1); }},
        {"DeleteRange empty", kept([m](T *s) { m.DeleteRange(s, 1, 1); })},
        {"DeleteRange -1", kept([m](T *s) { m.DeleteRange(s, -1, 2); })},
        {"DeleteRange past count", kept([m](T *s) { m.DeleteRange(s, 1, 4); })},
        {"InsertRange null source", kept([m](T *s) { m.InsertRange(nullptr, s, 0, 1, 0); })},
        {"InsertRange null destination", kept([m](T *s) { m.InsertRange(s, nullptr, 0, 1, 0); })},
        {"InsertRange empty range", kept([m](T *s) { m.InsertRange(s, s, 0, 0, 0); })},
        {"InsertRange at -1", kept([m](T *s) { m.InsertRange(s, s, 0, 1, -1); })},
        {"InsertRange at past count", kept([m](T *s) { m.InsertRange(s, s, 0, 1, 4); })},
        {"InsertRange range past count", kept([m](T *s) { m.InsertRange(s, s, 2, 5, 0); })},
        {"Grow null", [m] { return !m.Grow(nullptr); }},
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

// The operations of either twin in the order of ImgApi, by the twin's prefix.
#define ZOLT_IMG_API(P)                                                                                                \
    {                                                                                                                  \
        P##New, P##Free, P##Copy, P##Equal, P##Resize, P##Clear, P##CopyPixels, P##SetPixel, P##GetPixel, P##DrawLine, \
            P##FillRect, P##DrawRect, P##DrawCircle, P##LinePoints, P##Blit, P##BlitMasked, P##BlitAdd,                \
            P##BlitAddSaturate, P##BlitSpaced, P##CopyRow, P##CopyRowWrap, P##OrRowWrap, P##CopyColumnWrap,            \
            P##ToASCII, P##FromASCII, P##LoadPNM, P##ParsePNM, P##SavePPM, P##FindText, P##Fade, P##Blend, P##Invert,  \
            P##InvertRect, P##AndMask, P##Scale, P##Rotate, P##RunTable, P##RunTableMirrored                           \
    }
constexpr ImgApi imgApi = ZOLT_IMG_API(IMG);
constexpr ImgApi imgfxApi = ZOLT_IMG_API(IMGFX);
#undef ZOLT_IMG_API

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
    const bool result = Neutral(call, img, other);
    const bool kept = imgRecord.Same(img) && otherRecord.Same(other) && Elements(img->pixels, 12) == imgPixels &&
                      Elements(other->pixels, 6) == otherPixels;
    m.Free(&img);
    m.Free(&other);
    return result && kept;
}

// An image record with a size but no pixels: what a failed allocation or a caller's
// hand-made record can leave.
IMG hollow = {4, 3, nullptr};

// Calls call(x) with a null image and with the hollow one; true when both results are neutral.
template <typename Call>
bool NullAndHollow(Call call)
{
    return Neutral(call, static_cast<IMG *>(nullptr)) && Neutral(call, &hollow);
}

// A row that runs call(a, b) on the pattern images a (4 x 3) and b (3 x 2).
auto ImgRow(const ImgApi &m)
{
    return [m](auto call) { return [m, call] { return ImgKept(m, call); }; };
}

std::vector<Row> ImgRows(const ImgApi &m)
{
    const unsigned char bad[] = "P7\n1 1\n255\n\0\0\0";
    const unsigned char zero[] = "P5\n0 1\n255\n";
    const char *const ppm = "/tmp/zolt-robust.ppm";
    const auto kept = ImgRow(m);
    return {
        {"Free null address", robust::FreeNullAddress(m.Free)},
        {"Free null handle", robust::FreeNullHandle(m.Free)},
        {"Copy null", [m] { return m.Copy(nullptr) == nullptr; }},
        {"Copy hollow", [m] { return m.Copy(&hollow) == nullptr; }},
        {"Equal null", kept([m](IMG *a, IMG *) { return !m.Equal(a, nullptr) && !m.Equal(nullptr, a); })},
        {"Equal hollow", [m] { return !m.Equal(&hollow, &hollow); }},
        {"Resize null", [m] { m.Resize(nullptr, 2, 2); }},
        {"Resize -1 wide", kept([m](IMG *a, IMG *) { m.Resize(a, -1, 2); })},
        {"Resize -1 high", kept([m](IMG *a, IMG *) { m.Resize(a, 2, -1); })},
        {"Resize beyond 2^31 pixels", kept([m](IMG *a, IMG *) { m.Resize(a, 65536, 65536); })},
        {"Clear null", [m] { m.Clear(nullptr); }},
        {"Clear hollow", [m] { return m.Clear(&hollow), hollow.pixels == nullptr; }},
        {"CopyPixels null", kept([m](IMG *a, IMG *) { m.CopyPixels(nullptr, a), m.CopyPixels(a, nullptr); })},
        {"CopyPixels size mismatch", kept([m](IMG *a, IMG *b) { m.CopyPixels(a, b), m.CopyPixels(b, a); })},
        {"SetPixel null", [m] { return NullAndHollow([m](IMG *x) { m.SetPixel(x, 0, 0, 1); }); }},
        {"SetPixel outside", kept([m](IMG *a, IMG *) {
             m.SetPixel(a, -1, 0, 1), m.SetPixel(a, 0, -1, 1), m.SetPixel(a, 4, 0, 1), m.SetPixel(a, 0, 3, 1);
             m.SetPixel(a, INT32_MIN, INT32_MAX, 1);
         })},
        {"GetPixel null", [m] { return NullAndHollow([m](IMG *x) { return m.GetPixel(x, 0, 0) == 0; }); }},
        {"GetPixel outside", kept([m](IMG *a, IMG *) {
             return m.GetPixel(a, -1, 0) == 0 && m.GetPixel(a, 4, 0) == 0 && m.GetPixel(a, 0, 3) == 0 &&
                    m.GetPixel(a, 0, -1) == 0;
         })},
        {"DrawLine null", [m] { return NullAndHollow([m](IMG *x) { m.DrawLine(x, 0, 0, 3, 3, 1); }); }},
        {"DrawLine outside",
         kept([m](IMG *a, IMG *) { m.DrawLine(a, -5, -1, 10, -1, 1), m.DrawLine(a, 4, -3, 4, 9, 1); })},
        {"FillRect null", [m] { return NullAndHollow([m](IMG *x) { m.FillRect(x, 0, 0, 1, 1, 1); }); }},
        {"FillRect sizes 0 and -1", kept([m](IMG *a, IMG *) {
             m.FillRect(a, 0, 0, 0, 1, 1), m.FillRect(a, 0, 0, 1, 0, 1);
             m.FillRect(a, 1, 1, -1, 1, 1), m.FillRect(a, 1, 1, 1, -1, 1);
         })},
        {"FillRect not inside", kept([m](IMG *a, IMG *) {
             m.FillRect(a, -1, 0, 2, 1, 1), m.FillRect(a, 3, 0, 2, 1, 1), m.FillRect(a, 0, 2, 1, 2, 1);
             m.FillRect(a, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1);
         })},
        {"DrawRect null", [m] { return NullAndHollow([m](IMG *x) { m.DrawRect(x, 0, 0, 1, 1, 1); }); }},
        {"DrawRect sizes 0 and -1", kept([m](IMG *a, IMG *) {
             m.DrawRect(a, 0, 0, 0, 1, 1), m.DrawRect(a, 0, 0, 1, -1, 1), m.DrawRect(a, 2, 2, INT32_MAX, 1, 1);
         })},
        {"DrawCircle null", [m] { return NullAndHollow([m](IMG *x) { m.DrawCircle(x, 1, 1, 1, 1); }); }},
        {"DrawCircle radius 0 and -1",
         kept([m](IMG *a, IMG *) { m.DrawCircle(a, 1, 1, 0, 1), m.DrawCircle(a, 1, 1, -1, 1); })},
        {"DrawCircle centre outside",
         kept([m](IMG *a, IMG *) { m.DrawCircle(a, -1, 1, 1, 1), m.DrawCircle(a, 4, 1, 1, 1); })},
        {"LinePoints across the plane", [m] { return m.LinePoints(INT32_MIN, 0, INT32_MAX, 0) == nullptr; }},
        {"Blits null", kept([m](IMG *a, IMG *) {
             for (auto blit : {m.Blit, m.BlitMasked, m.BlitAdd, m.BlitAddSaturate}) {
                 blit(nullptr, a, 0, 0, 0, 0, 2, 2), blit(a, nullptr, 0, 0, 0, 0, 2, 2),
                     blit(&hollow, a, 0, 0, 0, 0, 2, 2);
             }
         })},
        {"Blits sizes 0 and -1", kept([m](IMG *a, IMG *b) {
             for (auto blit : {m.Blit, m.BlitMasked, m.BlitAdd, m.BlitAddSaturate}) {
                 blit(b, a, 0, 0, 0, 0, 0, 2), blit(b, a, 0, 0, 0, 0, 2, 0);
                 blit(b, a, 0, 0, 0, 0, -1, 2), blit(b, a, 0, 0, 0, 0, 2, -1);
             }
         })},
        {"Blits wholly outside", kept([m](IMG *a, IMG *b) {
             for (auto blit : {m.Blit, m.BlitMasked, m.BlitAdd, m.BlitAddSaturate}) {
                 blit(b, a, 0, 0, 4, 0, 3, 2), blit(b, a, 0, 0, -3, 0, 3, 2), blit(b, a, 3, 0, 0, 0, 3, 2);
                 blit(b, a, INT32_MAX, INT32_MAX, 0, 0, INT32_MAX, INT32_MAX);
                 blit(b, a, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
             }
         })},
        {"BlitSpaced steps 0 and -1", kept([m](IMG *a, IMG *b) {
             m.BlitSpaced(b, a, 0, 0, 0, 0, 3, 2, 0, 1), m.BlitSpaced(b, a, 0, 0, 0, 0, 3, 2, 1, -1);
             m.BlitSpaced(nullptr, a, 0, 0, 0, 0, 3, 2, 1, 1), m.BlitSpaced(b, nullptr, 0, 0, 0, 0, 3, 2, 1, 1);
         })},
        {"BlitSpaced sizes 0 and -1", kept([m](IMG *a, IMG *b) {
             m.BlitSpaced(b, a, 0, 0, 0, 0, 0, 2, 1, 1), m.BlitSpaced(b, a, 0, 0, 0, 0, 3, -1, 1, 1);
             m.BlitSpaced(b, a, 0, 0, 0, 0, 3, 2, INT32_MAX, INT32_MAX);
         })},
        {"Row and column copies null", kept([m](IMG *a, IMG *) {
             m.CopyRow(nullptr, a, 0, 0), m.CopyRow(a, nullptr, 0, 0), m.CopyRow(&hollow, a, 0, 0);
             for (auto copy : {m.CopyRowWrap, m.OrRowWrap, m.CopyColumnWrap}) {
                 copy(nullptr, a, 0, 0, 0), copy(a, nullptr, 0, 0, 0), copy(&hollow, a, 0, 0, 0);
             }
         })},
        {"Row and column copies -1 and past the end", kept([m](IMG *a, IMG *b) {
             // b (3 x 2) is the source, a (4 x 3) the destination.
             for (int32_t bad : {-1, INT32_MIN, INT32_MAX}) {
                 m.CopyRow(b, a, bad, 0), m.CopyRow(b, a, 0, bad), m.CopyRowWrap(b, a, bad, 0, 0);
                 m.CopyRowWrap(b, a, 0, bad, 0), m.OrRowWrap(b, a, bad, 0, 0), m.OrRowWrap(b, a, 0, bad, 0);
                 m.CopyColumnWrap(b, a, bad, 0, 0), m.CopyColumnWrap(b, a, 0, bad, 0);
             }
             m.CopyRow(b, a, 2, 0), m.CopyRow(b, a, 0, 3), m.CopyRowWrap(b, a, 2, 0, 0), m.CopyRowWrap(b, a, 0, 3, 0);
             m.OrRowWrap(b, a, 2, 0, 0), m.OrRowWrap(b, a, 0, 3, 0);
             m.CopyColumnWrap(b, a, 3, 0, 0), m.CopyColumnWrap(b, a, 0, 4, 0);
         })},
        {"Row wraps into an empty image", kept([m](IMG *a, IMG *) {
             IMG *empty = m.New();
             m.Resize(empty, 0, 0);
             m.CopyRowWrap(a, empty, 0, 0, 5), m.OrRowWrap(a, empty, 0, 0, 5), m.CopyColumnWrap(a, empty, 0, 0, 5);
             const bool ok = empty->width == 0;
             m.Free(&empty);
             return ok;
         })},
        {"ToASCII null", [m] { return NullAndHollow([m](IMG *x) { return m.ToASCII(x) == nullptr; }); }},
        {"FromASCII null and empty form", Call([m] {
             return m.FromASCII(nullptr) == nullptr && m.FromASCII("IMGFX{}") == nullptr && m.FromASCII("") == nullptr;
         })},
        {"LoadPNM null and missing file",
         [m] { return m.LoadPNM(nullptr) == nullptr && m.LoadPNM("/nonexistent/zolt.pnm") == nullptr; }},
        {"ParsePNM null, size 0, bad magic, zero width", Call([m, bad, zero] {
             return m.ParsePNM(nullptr, 10) == nullptr && m.ParsePNM(bad, 0) == nullptr &&
                    m.ParsePNM(bad, sizeof bad) == nullptr && m.ParsePNM(zero, sizeof zero) == nullptr;
         })},
        {"SavePPM null and empty", kept([m, ppm](IMG *a, IMG *) {
             IMG *empty = m.New();
             m.Resize(empty, 0, 4);
             const bool ok = !m.SavePPM(nullptr, ppm) && !m.SavePPM(a, nullptr) && !m.SavePPM(&hollow, ppm) &&
                             !m.SavePPM(empty, ppm) && !m.SavePPM(a, "/nonexistent/zolt.ppm");
             m.Free(&empty);
             return ok;
         })},
        {"FindText null", [m] { return m.FindText(nullptr, "IMG") == 0 && m.FindText("IMG", nullptr) == 0; }},
        {"Effects null", kept([m](IMG *a, IMG *) {
             m.Blend(a, nullptr, 0, 0), m.AndMask(a, nullptr), m.Scale(a, nullptr);
             return NullAndHollow([m, a](IMG *x) {
                 m.Fade(x, 1), m.Blend(x, a, 0, 0), m.Invert(x), m.InvertRect(x, 0, 0, 1, 1);
                 m.AndMask(x, a), m.Scale(x, a);
                 return m.Rotate(x, 0) == nullptr;
             });
         })},
        {"Blend wholly outside", kept([m](IMG *a, IMG *b) {
             m.Blend(b, a, 4, 0), m.Blend(b, a, -3, 0), m.Blend(b, a, INT32_MAX, INT32_MAX);
             m.Blend(b, a, INT32_MIN, INT32_MIN);
         })},
        {"InvertRect sizes 0 and -1 and outside", kept([m](IMG *a, IMG *) {
             m.InvertRect(a, 0, 0, 0, 2), m.InvertRect(a, 0, 0, -1, 2), m.InvertRect(a, 0, 0, 2, -1);
             m.InvertRect(a, 4, 0, 2, 2), m.InvertRect(a, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
             m.InvertRect(a, INT32_MIN, INT32_MIN, INT32_MAX, 1);
         })},
        {"AndMask larger mask", kept([m](IMG *a, IMG *b) { m.AndMask(a, b); })},
        {"RunTable beyond 32 bits", Call([m] {
             return m.RunTable(INT32_MAX, 1) == nullptr && m.RunTable(1, INT32_MIN) == nullptr &&
                    m.RunTableMirrored(INT32_MIN, 1) == nullptr && m.RunTableMirrored(1, INT32_MAX) == nullptr;
         })},
    };
}

TEST(BadArguments, IMG) { RunRows(ImgRows(imgApi)); }
TEST(BadArguments, IMGFX)
{
    RunRows(ImgRows(imgfxApi));
    const auto kept = ImgRow(imgfxApi);
    RunRows({
        {"IMGFXBlur null",
         kept([](IMG *a, IMG *) { IMGFXBlur(nullptr, a, 1), IMGFXBlur(a, nullptr, 1), IMGFXBlur(&hollow, a, 1); })},
        {"IMGFXBlur onto itself", kept([](IMG *a, IMG *) { IMGFXBlur(a, a, 1); })},
    });
}

// ---- VEC2D, SEG2D, GRID2D ----

// A row's call that runs call on a fresh vector and tells whether it was left as it was.
template <typename Call>
auto OnVec(Call call)
{
    return [call] {
        VEC2D *v = VEC2DNew();
        v->x = 3;
        v->y = -4;
        v->colour = 0x123456;
        const Snapshot<VEC2D> snap(v);
        const bool result = Neutral(call, v);
        const bool kept = snap.Same(v);
        VEC2DFree(&v);
        return result && kept;
    };
}

IMG *Canvas()
{
    IMG *img = IMGNew();
    IMGResize(img, 8, 8);
    return img;
}

// A row's call that runs call on an 8 x 8 black canvas and tells whether it stayed black.
template <typename Call>
auto OnCanvas(Call call)
{
    return [call] {
        IMG *img = Canvas();
        const bool result = Neutral(call, img);
        bool black = true;
        for (int32_t i = 0; i < 64; ++i) {
            black = black && img->pixels[i] == 0;
        }
        IMGFree(&img);
        return result && black;
    };
}

const VEC2D origin{};

TEST(BadArguments, VEC2D)
{
    const char *line = robust::vec2dLine;
    RunRows({
        {"Free null address", robust::FreeNullAddress(VEC2DFree), line},
        {"Free null handle", robust::FreeNullHandle(VEC2DFree), line},
        {"Copy null", [] { return VEC2DCopy(nullptr) == nullptr; }, line},
        {"CopyTo null source", OnVec([](VEC2D *v) { VEC2DCopyTo(nullptr, v); }), line},
        {"CopyTo null destination", OnVec([](VEC2D *v) { VEC2DCopyTo(v, nullptr); }), line},
        {"Equal null", OnVec([](VEC2D *v) { return !VEC2DEqual(v, nullptr); }), line},
        {"ToASCII null", [] { return VEC2DToASCII(nullptr) == nullptr; }, line},
        {"FromASCII null", [] { return VEC2DFromASCII(nullptr) == nullptr; }, line},
        {"Draw null vector", OnCanvas([](IMG *img) { VEC2DDraw(nullptr, img); }), line},
        {"Draw null image", OnVec([](VEC2D *v) { VEC2DDraw(v, nullptr); }), line},
        {"Add null delta", OnVec([](VEC2D *v) { VEC2DAdd(nullptr, v); }), line},
        {"Add null target", OnVec([](VEC2D *v) { VEC2DAdd(v, nullptr); }), line},
        {"Scale null", [] { VEC2DScale(nullptr, 2); }, line},
        {"Rotate null", [] { VEC2DRotate(nullptr, 2); }, line},
        {"DrawTransformed null vector", OnCanvas([](IMG *img) { VEC2DDrawTransformed(nullptr, 0, &origin, img); }),
         line},
        {"DrawTransformed null offset",
         OnCanvas([](IMG *img) { return OnVec([img](VEC2D *v) { VEC2DDrawTransformed(v, 0, nullptr, img); })(); }),
         line},
        {"DrawTransformed null image", OnVec([](VEC2D *v) { VEC2DDrawTransformed(v, 0, v, nullptr); }), line},
        {"Draw outside the image", OnCanvas([](IMG *img) {
             VEC2D v{-1, 8, 0xFFFFFF}, far{INT32_MIN, INT32_MAX, 1};
             VEC2DDraw(&v, img), VEC2DDraw(&far, img);
         })},
    });
}

template <typename Call>
auto OnSeg(Call call)
{
    return [call] {
        SEG2D *s = SEG2DNew();
        s->start->x = 1;
        s->end->y = 5;
        const Snapshot<SEG2D> record(s);
        const Snapshot<VEC2D> start(s->start), end(s->end);
        const bool result = Neutral(call, s);
        const bool kept = record.Same(s) && start.Same(s->start) && end.Same(s->end);
        SEG2DFree(&s);
        return result && kept;
    };
}

// A segment record without end points.
SEG2D half{nullptr, nullptr};

TEST(BadArguments, SEG2D)
{
    RunRows({
        {"Free null address", robust::FreeNullAddress(SEG2DFree)},
        {"Free null handle", robust::FreeNullHandle(SEG2DFree)},
        {"FreeRecord null", FreeNull(SEG2DFreeRecord)},
        {"Copy null", [] { return SEG2DCopy(nullptr) == nullptr; }},
        {"Copy without an end point", [] { return SEG2DCopy(&half) == nullptr; }},
        {"CopyTo null", OnSeg([](SEG2D *s) { SEG2DCopyTo(nullptr, s), SEG2DCopyTo(s, nullptr); })},
        {"CopyTo from a segment without end points", OnSeg([](SEG2D *s) { SEG2DCopyTo(&half, s); })},
        {"Equal null", OnSeg([](SEG2D *s) { return !SEG2DEqual(s, nullptr) && !SEG2DEqual(nullptr, s); })},
        {"ToASCII and FromASCII null",
         [] { return SEG2DToASCII(nullptr) == nullptr && SEG2DFromASCII(nullptr) == nullptr; }},
        {"Draw null", OnCanvas([](IMG *img) {
             SEG2DDraw(nullptr, img), SEG2DDrawEnds(nullptr, img);
             return OnSeg([](SEG2D *s) { SEG2DDraw(s, nullptr), SEG2DDrawEnds(s, nullptr); })();
         })},
        {"Draw without end points", OnCanvas([](IMG *img) {
             SEG2DDraw(&half, img), SEG2DDrawEnds(&half, img), SEG2DDrawTransformed(&half, 0, nullptr, img);
         })},
        {"Rotate, Translate, Scale null", Call([] {
             SEG2DRotate(nullptr, 1), SEG2DTranslate(nullptr, nullptr), SEG2DScale(nullptr, 2);
             return OnSeg([](SEG2D *s) { SEG2DTranslate(s, nullptr); })();
         })},
        {"Moves without end points", Call([] {
             VEC2D o{1, 1, 0};
             SEG2DRotate(&half, 1), SEG2DTranslate(&half, &o), SEG2DScale(&half, 2);
             return half.start == nullptr;
         })},
        {"DrawTransformed null", OnCanvas([](IMG *img) {
             SEG2DDrawTransformed(nullptr, 0, &origin, img);
             return OnSeg([img](SEG2D *s) {
                 SEG2DDrawTransformed(s, 0, nullptr, img), SEG2DDrawTransformed(s, 0, s->start, nullptr);
             })();
         })},
    });
}

template <typename Call>
auto OnGrid(Call call)
{
    return [call] {
        GRID2D *g = GRID2DNew();
        const Snapshot<GRID2D> record(g);
        const std::vector<int32_t> points = Elements(g->points, g->count * grid2dPointFields);
        const bool result = Neutral(call, g);
        const bool kept = record.Same(g) && Elements(g->points, g->count * grid2dPointFields) == points;
        GRID2DFree(&g);
        return result && kept;
    };
}

TEST(BadArguments, GRID2D)
{
    const char *line = robust::grid2dLine;
    RunRows({
        {"Free null address", robust::FreeNullAddress(GRID2DFree), line},
        {"Free null handle", robust::FreeNullHandle(GRID2DFree), line},
        // Every other operation ignores a null grid, image or point array without a report.
        {"SetCount null", [] { GRID2DSetCount(nullptr, 4); }},
        {"SetCount -1", OnGrid([](GRID2D *g) { GRID2DSetCount(g, -1); })},
        {"Reset null", [] { GRID2DReset(nullptr); }},
        {"RandomPosition null", [] { GRID2DRandomPosition(nullptr, 0); }},
        {"RandomPosition -1", OnGrid([](GRID2D *g) { GRID2DRandomPosition(g, -1); })},
        {"RandomPosition count", OnGrid([](GRID2D *g) { GRID2DRandomPosition(g, g->count); })},
        {"RandomVelocity null", [] { GRID2DRandomVelocity(nullptr, 0); }},
        {"RandomVelocity -1", OnGrid([](GRID2D *g) { GRID2DRandomVelocity(g, -1); })},
        {"RandomVelocity count", OnGrid([](GRID2D *g) { GRID2DRandomVelocity(g, g->count); })},
        {"Step null", [] { GRID2DStep(nullptr); }},
        {"DrawPoints null grid", OnCanvas([](IMG *img) { GRID2DDrawPoints(nullptr, img); })},
        {"DrawPoints null image", OnGrid([](GRID2D *g) { GRID2DDrawPoints(g, nullptr); })},
        {"DrawSprites null", OnCanvas([](IMG *img) { GRID2DDrawSprites(nullptr, img, img); })},
        {"DrawSprites null image", OnGrid([](GRID2D *g) {
             IMG *sprite = Canvas();
             GRID2DDrawSprites(g, nullptr, sprite), IMGFree(&sprite);
         })},
        {"DrawSprites null sprite",
         OnCanvas([](IMG *img) { return OnGrid([img](GRID2D *g) { GRID2DDrawSprites(g, img, nullptr); })(); })},
    });
}

}  // namespace

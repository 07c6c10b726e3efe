// Bad arguments for the samples, the sound output, the music and the effects.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "audio/music.h"
#include "audio/sample.h"
#include "audio/sdlsnd.h"
#include "core/list.h"
#include "fx/csine.h"
#include "fx/laser.h"
#include "fx/lstars.h"
#include "fx/raster.h"
#include "fx/sinedots.h"
#include "fx/sineline.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "robust.h"

using robust::Black;
using robust::Canvas;
using robust::CanvasKept;
using robust::Elements;
using robust::Row;
using robust::RunRows;
using robust::Snapshot;

namespace {

// Runs call with the random generator saved, and tells whether it drew nothing from it.
template <typename Call>
bool NoDraws(Call call)
{
    const uint32_t state = RANDOMState();
    const bool result = call();
    return result && RANDOMState() == state;
}

// ---- SAMPLE ----

SAMPLE *Values()
{
    SAMPLE *s = SAMPLENew();
    for (int32_t v : {5, -12, 0, 7}) {
        SAMPLEInsert(s, v, s->length);
    }
    return s;
}

template <typename Call>
bool SampleKept(Call call)
{
    SAMPLE *s = Values();
    const Snapshot<SAMPLE> record(s);
    const std::vector<int32_t> values = Elements(s->values, s->capacity);
    const bool result = call(s);
    const bool kept = record.Same(s) && Elements(s->values, s->capacity) == values;
    SAMPLEFree(&s);
    return result && kept;
}

TEST(BadArguments, SAMPLE)
{
    RunRows({
        {"Free null", [] { SAMPLE *none = nullptr; SAMPLEFree(nullptr); SAMPLEFree(&none); return true; }, ""},
        {"ToASCII null", [] { return SAMPLEToASCII(nullptr) == nullptr; }, ""},
        {"FromASCII null and incomplete", [] { return SAMPLEFromASCII(nullptr) == nullptr && SAMPLEFromASCII("SAMPLE{3\n1\n2\n") == nullptr && SAMPLEFromASCII("SAMPLE{-1\n") == nullptr && SAMPLEFromASCII("{2 1 2}") == nullptr && SAMPLEFromASCII("SAMPLE{2147483647\n1\n") == nullptr; }, ""},
        {"Equal null", [] { return SampleKept([](SAMPLE *s) { return !SAMPLEEqual(s, nullptr) && !SAMPLEEqual(nullptr, s); }); }, ""},
        {"Copy null", [] { return SAMPLECopy(nullptr) == nullptr; }, ""},
        {"Reserve null, 0 and -1", [] { return SAMPLEReserve(nullptr, 4) == nullptr && SampleKept([](SAMPLE *s) { return SAMPLEReserve(s, 0) == nullptr && SAMPLEReserve(s, -1) == nullptr; }); }, ""},
        {"SetLength null and -1", [] { return SAMPLESetLength(nullptr, 4) == nullptr && SampleKept([](SAMPLE *s) { return SAMPLESetLength(s, -1) == nullptr; }); }, ""},
        {"Get out of range", [] { return SAMPLEGet(nullptr, 0) == 0 && SampleKept([](SAMPLE *s) { return SAMPLEGet(s, -1) == 0 && SAMPLEGet(s, 4) == 0; }); }, ""},
        {"Set out of range", [] { return SAMPLESet(nullptr, 9, 0) == 0 && SampleKept([](SAMPLE *s) { return SAMPLESet(s, 9, -1) == 0 && SAMPLESet(s, 9, 4) == 0; }); }, ""},
        {"Insert out of range", [] { return SAMPLEInsert(nullptr, 9, 0) == 0 && SampleKept([](SAMPLE *s) { return SAMPLEInsert(s, 9, -1) == 0 && SAMPLEInsert(s, 9, 5) == 0; }); }, ""},
        {"Remove out of range", [] { return SAMPLERemove(nullptr, 0) == 0 && SampleKept([](SAMPLE *s) { return SAMPLERemove(s, -1) == 0 && SAMPLERemove(s, 4) == 0; }); }, ""},
        {"Find out of range", [] { return SAMPLEFind(nullptr, 5, 0) == -1 && SampleKept([](SAMPLE *s) { return SAMPLEFind(s, 5, -1) == -1 && SAMPLEFind(s, 5, 4) == -1; }); }, ""},
        {"Move out of range", [] { return SampleKept([](SAMPLE *s) {
             SAMPLEMove(nullptr, s, 1, 0, 0); SAMPLEMove(s, nullptr, 1, 0, 0); SAMPLEMove(s, s, -1, 0, 1); SAMPLEMove(s, s, 2, 3, 0);
             SAMPLEMove(s, s, 2, 0, 3); SAMPLEMove(s, s, 1, -1, 0); SAMPLEMove(s, s, 1, 0, -1); SAMPLEMove(s, s, INT32_MAX, INT32_MAX, INT32_MAX);
             return true; }); }, ""},
        {"Whole-sample operations null", [] { SAMPLEClear(nullptr); SAMPLEAdd(nullptr, nullptr); SAMPLEMultiply(nullptr, nullptr); SAMPLEScale(nullptr, 2); SAMPLEShiftLeft(nullptr, 1); SAMPLEShiftRight(nullptr, 1); SAMPLEReverse(nullptr); SAMPLERotateLeft(nullptr, 1); SAMPLERotateRight(nullptr, 1); return SAMPLEMin(nullptr) == 0 && SAMPLEMax(nullptr) == 0; }, ""},
        {"Add and Multiply with a null operand", [] { return SampleKept([](SAMPLE *s) { SAMPLEAdd(s, nullptr); SAMPLEMultiply(s, nullptr); return true; }); }, ""},
        {"Shifts by -1 and 33", [] { return SampleKept([](SAMPLE *s) { SAMPLEShiftLeft(s, -1); SAMPLEShiftLeft(s, 33); SAMPLEShiftRight(s, -1); SAMPLEShiftRight(s, 33); return true; }); }, ""},
        {"Empty sample", [] { SAMPLE *s = SAMPLENew(); const Snapshot<SAMPLE> snap(s); SAMPLERotateLeft(s, 1); SAMPLERotateRight(s, 1); const bool ok = SAMPLEMin(s) == 0 && SAMPLEMax(s) == 0 && SAMPLEResample(s, 4) == 0 && snap.Same(s); SAMPLEFree(&s); return ok; }, ""},
        {"InsertSample out of range", [] { return SampleKept([](SAMPLE *s) { SAMPLEInsertSample(nullptr, s, 0); SAMPLEInsertSample(s, nullptr, 0); SAMPLEInsertSample(s, s, -1); SAMPLEInsertSample(s, s, 5); return true; }); }, ""},
        {"Sub null and reversed", [] { return SAMPLESub(nullptr, 0, 1) == nullptr && SampleKept([](SAMPLE *s) { return SAMPLESub(s, 3, 1) == nullptr; }); }, ""},
        {"Resample 0, -1 and the same length", [] { return SAMPLEResample(nullptr, 4) == 0 && SampleKept([](SAMPLE *s) { return SAMPLEResample(s, 0) == 0 && SAMPLEResample(s, -1) == 0 && SAMPLEResample(s, 4) == 0; }); }, ""},
        {"Normalize null", [] { SAMPLENormalize(nullptr, 0, 1); return true; }, ""},
        {"Match out of range", [] { return SampleKept([](SAMPLE *s) { return SAMPLEMatch(nullptr, s, 0) == 0 && SAMPLEMatch(s, nullptr, 0) == 0 && SAMPLEMatch(s, s, 4) == 0 && SAMPLEMatch(s, s, -4) == 0 && SAMPLEMatch(s, s, INT32_MIN) == 0; }); }, ""},
        {"BestMatch null", [] { return SampleKept([](SAMPLE *s) { return SAMPLEBestMatch(nullptr, s) == 0 && SAMPLEBestMatch(s, nullptr) == 0; }); }, ""},
        {"ReadRaw null and bad formats", [] {
             std::FILE *f = std::tmpfile();
             const bool ok = SAMPLEReadRaw(nullptr, 8, 'l', 's') == nullptr && SAMPLEReadRaw(f, 0, 'l', 's') == nullptr && SAMPLEReadRaw(f, -1, 'l', 's') == nullptr &&
                             SAMPLEReadRaw(f, 24, 'l', 's') == nullptr && SAMPLEReadRaw(f, 16, 'x', 's') == nullptr && SAMPLEReadRaw(f, 16, 'l', 'x') == nullptr;
             std::fclose(f);
             return ok; }, ""},
        {"WriteRaw null", [] { std::FILE *f = std::tmpfile(); const bool ok = SampleKept([f](SAMPLE *s) { return SAMPLEWriteRaw(nullptr, f, 16, 'l') == 0 && SAMPLEWriteRaw(s, nullptr, 16, 'l') == 0; }) && std::ftell(f) == 0; std::fclose(f); return ok; }, ""},
        {"FromNumbers null", [] { return SAMPLEFromNumbers(nullptr) == nullptr; }, ""},
    });
}

// ---- SDLSND and MUSIC (no device is opened: every call gets a null record) ----

TEST(BadArguments, SDLSND)
{
    RunRows({
        {"Free null", [] { SDLSND *none = nullptr; SDLSNDFree(nullptr); SDLSNDFree(&none); return true; }, ""},
        {"PlaySAMPLE null", [] { SAMPLE *s = SAMPLENew(); SDLSNDPlaySAMPLE(nullptr, s); SDLSNDPlaySAMPLE(nullptr, nullptr); SAMPLEFree(&s); return true; }, ""},
        {"Callback without a record", [] { uint8_t stream[8] = {1, 2, 3, 4, 5, 6, 7, 8}; SDLSNDCallback(nullptr, stream, 8); SDLSNDCallback(nullptr, nullptr, 8); return stream[0] == 1 && stream[7] == 8; }, ""},
        {"Callback with length 0 and -1", [] { SDLSND sound{}; uint8_t stream[4] = {9, 9, 9, 9}; SDLSNDCallback(&sound, stream, 0); SDLSNDCallback(&sound, stream, -1); return stream[0] == 9 && stream[3] == 9; }, ""},
        {"Play, text, copy null", [] { SDLSNDPlay(nullptr); return SDLSNDToASCII(nullptr) == nullptr && SDLSNDFromASCII(nullptr) == nullptr && !SDLSNDEqual(nullptr, nullptr) && SDLSNDCopy(nullptr) == nullptr; }, ""},
        {"Waiting null", [] { SDLSND bare{}; return SDLSNDWaiting(nullptr) == 0 && SDLSNDWaiting(&bare) == 0; }, ""},
    });
}

TEST(BadArguments, MUSIC)
{
    RunRows({
        {"Free null", [] { MUSIC *none = nullptr; MUSICFree(nullptr); MUSICFree(&none); return true; }, ""},
        {"Placeholders null", [] { return MUSICToASCII(nullptr) == nullptr && MUSICFromASCII(nullptr) == nullptr && !MUSICEqual(nullptr, nullptr) && MUSICCopy(nullptr) == nullptr; }, ""},
        {"Add null", [] { MUSIC *m = MUSICNew(); SAMPLE *s = SAMPLENew(); MUSICAdd(nullptr, s); MUSICAdd(m, nullptr); const bool ok = m->clips->count == 0; SAMPLEFree(&s); MUSICFree(&m); return ok; }, ""},
        {"Update null", [] { return NoDraws([] { MUSICUpdate(nullptr); return true; }); }, ""},
    });
}

// ---- The effects ----

template <typename T, typename Make, typename Free, typename Call>
bool FxKept(Make make, Free release, Call call)
{
    T *fx = make();
    const Snapshot<T> record(fx);
    const uint32_t state = RANDOMState();
    const bool result = call(fx);
    const bool kept = record.Same(fx) && RANDOMState() == state;
    release(&fx);
    return result && kept;
}

template <typename Call>
bool CsineKept(Call call) { return FxKept<CSINE>(CSINENew, CSINEFree, call); }

TEST(BadArguments, CSINE)
{
    RunRows({
        {"Free null", [] { CSINE *none = nullptr; CSINEFree(nullptr); CSINEFree(&none); return true; }, ""},
        {"SetSegments null and -1", [] { CSINESetSegments(nullptr, 3); return CsineKept([](CSINE *c) { CSINESetSegments(c, -1); return true; }); }, ""},
        {"Randomize null", [] { return NoDraws([] { CSINERandomize(nullptr); CSINERandomizeFlower(nullptr); return true; }); }, ""},
        {"SetColour and updates null", [] { CSINESetColour(nullptr, 1); CSINEUpdate(nullptr); CSINEUpdateRing(nullptr); return true; }, ""},
        {"Draw null", [] { return CanvasKept([](IMG *img) { CSINEDraw(nullptr, img); CSINEDrawRadials(nullptr, img); return CsineKept([](CSINE *c) { CSINEDraw(c, nullptr); CSINEDrawRadials(c, nullptr); return true; }); }); }, ""},
        {"Draw without segments", [] { return CanvasKept([](IMG *img) { return CsineKept([img](CSINE *c) { LIST *segments = c->segments; c->segments = nullptr; CSINEDraw(c, img); CSINEDrawRadials(c, img); c->segments = segments; return true; }); }); }, ""},
        {"Colour and updates without segments", [] { CSINE *c = CSINENew(); LIST *segments = c->segments; c->segments = nullptr; CSINESetColour(c, 1); CSINEUpdate(c); CSINEUpdateRing(c); c->segments = segments; CSINEFree(&c); return c == nullptr; }, ""},
        {"Placeholders null", [] { return CSINEToASCII(nullptr) == nullptr && CSINEFromASCII(nullptr) == nullptr && !CSINEEqual(nullptr, nullptr) && CSINECopy(nullptr) == nullptr; }, ""},
    });
}

template <typename Call>
bool LaserKept(Call call)
{
    IMG *img = Canvas();
    const bool ok = FxKept<LASER>([img] { LASER *l = LASERNew(); LASERInit(l, img); return l; }, LASERFree, call);
    IMGFree(&img);
    return ok;
}

TEST(BadArguments, LASER)
{
    RunRows({
        {"Free null", [] { LASER *none = nullptr; LASERFree(nullptr); LASERFree(&none); return true; }, ""},
        {"Init null", [] { IMG *img = Canvas(); const bool ok = NoDraws([img] { LASERInit(nullptr, img); return true; }); IMGFree(&img); return ok && LaserKept([](LASER *l) { LASERInit(l, nullptr); return true; }); }, ""},
        {"Init on an image without area", [] { return LaserKept([](LASER *l) { IMG *empty = IMGNew(); IMGResize(empty, 0, 16); LASERInit(l, empty); IMGResize(empty, 16, 0); LASERInit(l, empty); IMGFree(&empty); return true; }); }, ""},
        {"RandomSpeed null and range 0 and -1", [] { return NoDraws([] { return LASERRandomSpeed(nullptr) == 0; }) && LaserKept([](LASER *l) { const int32_t range = l->range; bool ok = true; for (int32_t r : {0, -1}) { l->range = r; ok = ok && LASERRandomSpeed(l) == 0; } l->range = range; return ok; }); }, ""},
        {"Moves and draws null", [] { return NoDraws([] { LASERMove(nullptr); LASERMoveRandom(nullptr); LASERDraw(nullptr); LASERDrawFlicker(nullptr); return true; }); }, ""},
        {"Moves and draws without an image", [] { return LaserKept([](LASER *l) { IMG *img = l->image; l->image = nullptr; LASERMove(l); LASERMoveRandom(l); LASERDraw(l); LASERDrawFlicker(l); l->image = img; return true; }); }, ""},
    });
}

template <typename Call>
bool StarsKept(Call call)
{
    return FxKept<LSTARS>(LSTARSNew, LSTARSFree, [call](LSTARS *s) {
        const std::vector<int32_t> stars = Elements(s->stars, s->count * 2);
        return call(s) && Elements(s->stars, s->count * 2) == stars;
    });
}

TEST(BadArguments, LSTARS)
{
    RunRows({
        {"Free null", [] { LSTARS *none = nullptr; LSTARSFree(nullptr); LSTARSFree(&none); return true; }, ""},
        {"SetCount null, 0 and -1", [] { LSTARSSetCount(nullptr, 4); return StarsKept([](LSTARS *s) { LSTARSSetCount(s, 0); LSTARSSetCount(s, -1); return true; }); }, ""},
        {"Scatter and Place null", [] { return NoDraws([] { LSTARSScatter(nullptr); LSTARSPlace(nullptr, 0); return true; }); }, ""},
        {"Scatter on a zero-sized area", [] { return StarsKept([](LSTARS *s) { s->width = 0; LSTARSScatter(s); s->width = 256; s->height = 0; LSTARSScatter(s); s->height = 256; return true; }); }, ""},
        {"Place -1 and count", [] { return StarsKept([](LSTARS *s) { LSTARSPlace(s, -1); LSTARSPlace(s, s->count); return true; }); }, ""},
        {"Move and draws null", [] { LSTARSMove(nullptr); return CanvasKept([](IMG *img) { LSTARSDraw(nullptr, img); LSTARSDrawPoints(nullptr, img); LSTARSDrawGlyphs(nullptr, img); return StarsKept([](LSTARS *s) { LSTARSDraw(s, nullptr); LSTARSDrawPoints(s, nullptr); LSTARSDrawGlyphs(s, nullptr); return true; }); }); }, ""},
        {"DrawGlyphs without a font", [] { return CanvasKept([](IMG *img) { return StarsKept([img](LSTARS *s) { LSTARSDrawGlyphs(s, img); return true; }); }); }, ""},
        {"Placeholders null", [] { return LSTARSToASCII(nullptr) == nullptr && LSTARSFromASCII(nullptr) == nullptr && !LSTARSEqual(nullptr, nullptr) && LSTARSCopy(nullptr) == nullptr; }, ""},
    });
}

template <typename Call>
bool RasterKept(Call call)
{
    return FxKept<RASTER>(RASTERNew, RASTERFree, [call](RASTER *r) {
        r->colours[3] = 0x123456;
        const std::vector<int32_t> colours = Elements(r->colours, r->size);
        const bool ok = call(r) && Elements(r->colours, r->size) == colours;
        return ok;
    });
}

TEST(BadArguments, RASTER)
{
    const char *line = robust::rasterLine;
    const std::string twice = std::string(line) + line;
    RunRows({
        {"Free null address", [] { RASTERFree(nullptr); return true; }, line},
        {"Free null handle", [] { RASTER *none = nullptr; RASTERFree(&none); return true; }, line},
        {"SetSize null", [] { return RASTERSetSize(nullptr, 4) == nullptr; }, line},
        {"SetSize -1", [] { return RasterKept([](RASTER *r) { return RASTERSetSize(r, -1) == nullptr; }); }, line},
        {"Clear null", [] { RASTERClear(nullptr); return true; }, line},
        {"Copy null", [] { return RASTERCopy(nullptr) == nullptr; }, line},
        {"Equal null", [] { return RasterKept([](RASTER *r) { return !RASTEREqual(r, nullptr); }); }, line},
        {"Step null", [] { RASTERStep(nullptr); return true; }, line},
        {"Smooth null", [] { RASTERSmooth(nullptr, 1); return true; }, line},
        {"Smooth radius 0", [] { return RasterKept([](RASTER *r) { RASTERSmooth(r, 0); return true; }); }, line},
        {"Smooth radius -1", [] { return RasterKept([](RASTER *r) { RASTERSmooth(r, -1); return true; }); }, line},
        {"Draw null raster", [] { return CanvasKept([](IMG *img) { RASTERDraw(nullptr, img); return true; }); }, line},
        // A null image is the image module's to report, and that is silent.
        {"Draw null image", [] { return RasterKept([](RASTER *r) { RASTERDraw(r, nullptr); return true; }); }, ""},
        {"DrawBlend null raster", [] { return CanvasKept([](IMG *img) { RASTERDrawBlend(nullptr, img, 128); return true; }); }, line},
        {"DrawBlend null image", [] { return RasterKept([](RASTER *r) { RASTERDrawBlend(r, nullptr, 128); return true; }); }, ""},
        {"DrawBlend weight -1", [] { return CanvasKept([](IMG *img) { return RasterKept([img](RASTER *r) { RASTERDrawBlend(r, img, -1); return true; }); }); }, line},
        {"DrawBlend weight 257", [] { return CanvasKept([](IMG *img) { return RasterKept([img](RASTER *r) { RASTERDrawBlend(r, img, 257); return true; }); }); }, line},
        {"Load null and missing file", [] { return RASTERLoad(nullptr) == nullptr && RASTERLoad("/nonexistent/zolt.raster") == nullptr; }, twice.c_str()},
        {"Save null", [] { return RasterKept([](RASTER *r) { return !RASTERSave(nullptr, "/tmp/zolt-robust.raster") && !RASTERSave(r, nullptr); }); }, twice.c_str()},
        {"Save an empty raster", [] { RASTER *r = RASTERNew(); RASTERSetSize(r, 0); std::remove("/tmp/zolt-robust-empty.raster"); const bool ok = !RASTERSave(r, "/tmp/zolt-robust-empty.raster"); std::FILE *f = std::fopen("/tmp/zolt-robust-empty.raster", "rb"); RASTERFree(&r); if (f != nullptr) { std::fclose(f); } return ok && f == nullptr; }, line},
        {"Text forms null", [] { return RASTERToASCII(nullptr) == nullptr && RASTERFromASCII(nullptr) == nullptr; }, twice.c_str()},
        {"Size 0 draws, steps and smooths nothing", [] { return CanvasKept([](IMG *img) { RASTER *r = RASTERNew(); RASTERSetSize(r, 0); RASTERStep(r); RASTERSmooth(r, 1); RASTERDraw(r, img); RASTERDrawBlend(r, img, 256); const bool ok = r->size == 0 && r->offset == 0; RASTERFree(&r); return ok; }); }, ""},
    });
}

// SINELINE and SINEDOTS share their record and behaviour: one table over both.
struct WaveApi {
    decltype(&SINELINENew) New;
    decltype(&SINELINEFree) Free;
    decltype(&SINELINESetCount) SetCount;
    decltype(&SINELINEResetPoints) ResetPoints;
    decltype(&SINELINERandomize) Randomize;
    decltype(&SINELINEUpdate) Update;
    decltype(&SINELINEDraw) Draw;
    decltype(&SINELINEToASCII) ToASCII;
    decltype(&SINELINEFromASCII) FromASCII;
    decltype(&SINELINEEqual) Equal;
    decltype(&SINELINECopy) Copy;
};

constexpr WaveApi lineApi = {SINELINENew,    SINELINEFree,   SINELINESetCount,  SINELINEResetPoints,
                             SINELINERandomize, SINELINEUpdate, SINELINEDraw,    SINELINEToASCII,
                             SINELINEFromASCII, SINELINEEqual,  SINELINECopy};
constexpr WaveApi dotsApi = {SINEDOTSNew,    SINEDOTSFree,   SINEDOTSSetCount,  SINEDOTSResetPoints,
                             SINEDOTSRandomize, SINEDOTSUpdate, SINEDOTSDraw,    SINEDOTSToASCII,
                             SINEDOTSFromASCII, SINEDOTSEqual,  SINEDOTSCopy};

std::vector<Row> WaveRows(const WaveApi &m)
{
    return {
        {"Free null", [m] { SINELINE *none = nullptr; m.Free(nullptr); m.Free(&none); return true; }, ""},
        {"SetCount null, 0 and -1", [m] { m.SetCount(nullptr, 4); return FxKept<SINELINE>(m.New, m.Free, [m](SINELINE *l) { m.SetCount(l, 0); m.SetCount(l, -1); return true; }); }, ""},
        {"ResetPoints, Randomize, Update null", [m] { return NoDraws([m] { m.ResetPoints(nullptr); m.Randomize(nullptr); m.Update(nullptr); return true; }); }, ""},
        {"Draw null", [m] { return CanvasKept([m](IMG *img) { m.Draw(nullptr, img); return FxKept<SINELINE>(m.New, m.Free, [m](SINELINE *l) { m.Draw(l, nullptr); return true; }); }); }, ""},
        {"Placeholders null", [m] { return m.ToASCII(nullptr) == nullptr && m.FromASCII(nullptr) == nullptr && !m.Equal(nullptr, nullptr) && m.Copy(nullptr) == nullptr; }, ""},
    };
}

TEST(BadArguments, SINELINE) { RunRows(WaveRows(lineApi)); }
TEST(BadArguments, SINEDOTS) { RunRows(WaveRows(dotsApi)); }

}  // namespace

// Bad arguments for the samples, the sound output, the music and the effects.
#include <algorithm>
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

using robust::Call;
using robust::Canvas;
using robust::CanvasKept;
using robust::Elements;
using robust::FreeNull;
using robust::Neutral;
using robust::OnCanvas;
using robust::Row;
using robust::RunRows;
using robust::Snapshot;
using robust::TextEqualCopyNull;
using robust::With;

namespace {

// Runs call with the random generator saved, and tells whether it drew nothing from it.
template <typename Call>
bool NoDraws(Call call)
{
    const uint32_t state = RANDOMState();
    const bool result = Neutral(call);
    return result && RANDOMState() == state;
}

// Runs call on an empty temporary file.
template <typename Call>
bool WithFile(Call call)
{
    std::FILE *f = std::tmpfile();
    const bool result = call(f);
    std::fclose(f);
    return result;
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

// Runs call on s (by default the four values above) and tells whether it was left as it was.
template <typename Call>
bool SampleKept(SAMPLE *s, Call call)
{
    const Snapshot<SAMPLE> record(s);
    const std::vector<int32_t> values = Elements(s->values, s->capacity);
    const bool result = Neutral(call, s);
    const bool kept = record.Same(s) && Elements(s->values, s->capacity) == values;
    SAMPLEFree(&s);
    return result && kept;
}

template <typename Call>
bool SampleKept(Call call)
{
    return SampleKept(Values(), call);
}

template <typename Call>
auto OnSample(Call call)
{
    return [call] { return SampleKept(call); };
}

// A row's call for an operation on one position: call(nullptr, atNull), then call(s, i) on the
// four values for each bad i. True when every result is neutral and the values were kept.
template <typename Call>
auto Refused(Call call, int32_t atNull, std::vector<int32_t> bad)
{
    return [call, atNull, bad] {
        return Neutral(call, nullptr, atNull) && SampleKept([call, &bad](SAMPLE *s) {
                   return std::all_of(bad.begin(), bad.end(), [call, s](int32_t i) { return Neutral(call, s, i); });
               });
    };
}

TEST(BadArguments, SAMPLE)
{
    RunRows({
        {"Free null", FreeNull(SAMPLEFree)},
        {"ToASCII null", [] { return SAMPLEToASCII(nullptr) == nullptr; }},
        {"FromASCII null and incomplete", Call([] {
             return SAMPLEFromASCII(nullptr) == nullptr && SAMPLEFromASCII("SAMPLE{3\n1\n2\n") == nullptr &&
                    SAMPLEFromASCII("SAMPLE{-1\n") == nullptr && SAMPLEFromASCII("{2 1 2}") == nullptr &&
                    SAMPLEFromASCII("SAMPLE{2147483647\n1\n") == nullptr;
         })},
        {"Equal null", OnSample([](SAMPLE *s) { return !SAMPLEEqual(s, nullptr) && !SAMPLEEqual(nullptr, s); })},
        {"Copy null", [] { return SAMPLECopy(nullptr) == nullptr; }},
        {"Reserve null, 0 and -1",
         Refused([](SAMPLE *s, int32_t n) { return SAMPLEReserve(s, n) == nullptr; }, 4, {0, -1})},
        {"SetLength null and -1",
         Refused([](SAMPLE *s, int32_t n) { return SAMPLESetLength(s, n) == nullptr; }, 4, {-1})},
        {"Get out of range", Refused([](SAMPLE *s, int32_t i) { return SAMPLEGet(s, i) == 0; }, 0, {-1, 4})},
        {"Set out of range", Refused([](SAMPLE *s, int32_t i) { return SAMPLESet(s, 9, i) == 0; }, 0, {-1, 4})},
        {"Insert out of range", Refused([](SAMPLE *s, int32_t i) { return SAMPLEInsert(s, 9, i) == 0; }, 0, {-1, 5})},
        {"Remove out of range", Refused([](SAMPLE *s, int32_t i) { return SAMPLERemove(s, i) == 0; }, 0, {-1, 4})},
        {"Find out of range", Refused([](SAMPLE *s, int32_t i) { return SAMPLEFind(s, 5, i) == -1; }, 0, {-1, 4})},
        {"Move out of range", OnSample([](SAMPLE *s) {
             SAMPLEMove(nullptr, s, 1, 0, 0), SAMPLEMove(s, nullptr, 1, 0, 0), SAMPLEMove(s, s, -1, 0, 1);
             SAMPLEMove(s, s, 2, 3, 0), SAMPLEMove(s, s, 2, 0, 3), SAMPLEMove(s, s, 1, -1, 0);
             SAMPLEMove(s, s, 1, 0, -1), SAMPLEMove(s, s, INT32_MAX, INT32_MAX, INT32_MAX);
         })},
        {"Whole-sample operations null", Call([] {
             SAMPLEClear(nullptr), SAMPLEAdd(nullptr, nullptr), SAMPLEMultiply(nullptr, nullptr);
             SAMPLEScale(nullptr, 2), SAMPLEShiftLeft(nullptr, 1), SAMPLEShiftRight(nullptr, 1), SAMPLEReverse(nullptr);
             SAMPLERotateLeft(nullptr, 1), SAMPLERotateRight(nullptr, 1);
             return SAMPLEMin(nullptr) == 0 && SAMPLEMax(nullptr) == 0;
         })},
        {"Add and Multiply with a null operand",
         OnSample([](SAMPLE *s) { SAMPLEAdd(s, nullptr), SAMPLEMultiply(s, nullptr); })},
        {"Shifts by -1 and 33", OnSample([](SAMPLE *s) {
             SAMPLEShiftLeft(s, -1), SAMPLEShiftLeft(s, 33), SAMPLEShiftRight(s, -1), SAMPLEShiftRight(s, 33);
         })},
        {"Empty sample", Call([] {
             return SampleKept(SAMPLENew(), [](SAMPLE *s) {
                 SAMPLERotateLeft(s, 1), SAMPLERotateRight(s, 1);
                 return SAMPLEMin(s) == 0 && SAMPLEMax(s) == 0 && SAMPLEResample(s, 4) == 0;
             });
         })},
        {"InsertSample out of range", OnSample([](SAMPLE *s) {
             SAMPLEInsertSample(nullptr, s, 0), SAMPLEInsertSample(s, nullptr, 0);
             SAMPLEInsertSample(s, s, -1), SAMPLEInsertSample(s, s, 5);
         })},
        {"Sub null and reversed", Call([] {
             return SAMPLESub(nullptr, 0, 1) == nullptr &&
                    SampleKept([](SAMPLE *s) { return SAMPLESub(s, 3, 1) == nullptr; });
         })},
        {"Resample 0, -1 and the same length",
         Refused([](SAMPLE *s, int32_t n) { return SAMPLEResample(s, n) == 0; }, 4, {0, -1, 4})},
        {"Normalize null", [] { SAMPLENormalize(nullptr, 0, 1); }},
        {"Match out of range", OnSample([](SAMPLE *s) {
             return SAMPLEMatch(nullptr, s, 0) == 0 && SAMPLEMatch(s, nullptr, 0) == 0 && SAMPLEMatch(s, s, 4) == 0 &&
                    SAMPLEMatch(s, s, -4) == 0 && SAMPLEMatch(s, s, INT32_MIN) == 0;
         })},
        {"BestMatch null",
         OnSample([](SAMPLE *s) { return SAMPLEBestMatch(nullptr, s) == 0 && SAMPLEBestMatch(s, nullptr) == 0; })},
        {"ReadRaw null and bad formats", Call([] {
             return SAMPLEReadRaw(nullptr, 8, 'l', 's') == nullptr && WithFile([](std::FILE *f) {
                        return SAMPLEReadRaw(f, 0, 'l', 's') == nullptr && SAMPLEReadRaw(f, -1, 'l', 's') == nullptr &&
                               SAMPLEReadRaw(f, 24, 'l', 's') == nullptr && SAMPLEReadRaw(f, 16, 'x', 's') == nullptr &&
                               SAMPLEReadRaw(f, 16, 'l', 'x') == nullptr;
                    });
         })},
        {"WriteRaw null", Call([] {
             return WithFile([](std::FILE *f) {
                 return SampleKept([f](SAMPLE *s) {
                            return SAMPLEWriteRaw(nullptr, f, 16, 'l') == 0 && SAMPLEWriteRaw(s, nullptr, 16, 'l') == 0;
                        }) &&
                        std::ftell(f) == 0;
             });
         })},
        {"FromNumbers null", [] { return SAMPLEFromNumbers(nullptr) == nullptr; }},
    });
}

// ---- SDLSND and MUSIC (no device is opened: every call gets a null record) ----

TEST(BadArguments, SDLSND)
{
    RunRows({
        {"Free null", FreeNull(SDLSNDFree)},
        {"PlaySAMPLE null", Call([] {
             SAMPLE *s = SAMPLENew();
             SDLSNDPlaySAMPLE(nullptr, s), SDLSNDPlaySAMPLE(nullptr, nullptr), SAMPLEFree(&s);
         })},
        {"Callback without a record", Call([] {
             uint8_t stream[8] = {1, 2, 3, 4, 5, 6, 7, 8};
             SDLSNDCallback(nullptr, stream, 8), SDLSNDCallback(nullptr, nullptr, 8);
             return stream[0] == 1 && stream[7] == 8;
         })},
        {"Callback with length 0 and -1", Call([] {
             SDLSND sound{};
             uint8_t stream[4] = {9, 9, 9, 9};
             SDLSNDCallback(&sound, stream, 0), SDLSNDCallback(&sound, stream, -1);
             return stream[0] == 9 && stream[3] == 9;
         })},
        {"Play, text, copy null", Call([] {
             return SDLSNDPlay(nullptr), TextEqualCopyNull(SDLSNDToASCII, SDLSNDFromASCII, SDLSNDEqual, SDLSNDCopy)();
         })},
        {"Waiting null", Call([] {
             SDLSND bare{};
             return SDLSNDWaiting(nullptr) == 0 && SDLSNDWaiting(&bare) == 0;
         })},
    });
}

TEST(BadArguments, MUSIC)
{
    RunRows({
        {"Free null", FreeNull(MUSICFree)},
        {"Placeholders null", TextEqualCopyNull(MUSICToASCII, MUSICFromASCII, MUSICEqual, MUSICCopy)},
        {"Add null", Call([] {
             MUSIC *m = MUSICNew();
             SAMPLE *s = SAMPLENew();
             MUSICAdd(nullptr, s), MUSICAdd(m, nullptr);
             const bool ok = m->clips->count == 0;
             SAMPLEFree(&s), MUSICFree(&m);
             return ok;
         })},
        {"Update null", [] { return NoDraws([] { MUSICUpdate(nullptr); }); }},
    });
}

// ---- The effects ----

// Runs call on a record from make, and tells whether it was left as it was and drew no random numbers.
template <typename T, typename Make, typename Free, typename Call>
bool FxKept(Make make, Free release, Call call)
{
    T *fx = make();
    const Snapshot<T> record(fx);
    const uint32_t state = RANDOMState();
    const bool result = Neutral(call, fx);
    const bool kept = record.Same(fx) && RANDOMState() == state;
    release(&fx);
    return result && kept;
}

// Rows that run call on a fresh record of each effect (the laser on a 16 x 16 canvas).
template <typename Call>
auto OnCsine(Call call)
{
    return [call] { return FxKept<CSINE>(CSINENew, CSINEFree, call); };
}

LASER *Laser(IMG *img)
{
    LASER *l = LASERNew();
    LASERInit(l, img);
    return l;
}

template <typename Call>
auto OnLaser(Call call)
{
    return [call] {
        IMG *img = Canvas();
        const bool ok = FxKept<LASER>([img] { return Laser(img); }, LASERFree, call);
        IMGFree(&img);
        return ok;
    };
}

TEST(BadArguments, CSINE)
{
    RunRows({
        {"Free null", FreeNull(CSINEFree)},
        {"SetSegments null and -1",
         [] { return CSINESetSegments(nullptr, 3), OnCsine([](CSINE *c) { CSINESetSegments(c, -1); })(); }},
        {"Randomize null", [] { return NoDraws([] { CSINERandomize(nullptr), CSINERandomizeFlower(nullptr); }); }},
        {"SetColour and updates null",
         [] { CSINESetColour(nullptr, 1), CSINEUpdate(nullptr), CSINEUpdateRing(nullptr); }},
        {"Draw null", OnCanvas([](IMG *img) {
             CSINEDraw(nullptr, img), CSINEDrawRadials(nullptr, img);
             return OnCsine([](CSINE *c) { CSINEDraw(c, nullptr), CSINEDrawRadials(c, nullptr); })();
         })},
        {"Draw without segments", OnCanvas([](IMG *img) {
             return OnCsine([img](CSINE *c) {
                 return With(&c->segments, nullptr, [c, img] { CSINEDraw(c, img), CSINEDrawRadials(c, img); });
             })();
         })},
        {"Colour and updates without segments", Call([] {
             CSINE *c = CSINENew();
             With(&c->segments, nullptr, [c] { CSINESetColour(c, 1), CSINEUpdate(c), CSINEUpdateRing(c); });
             CSINEFree(&c);
             return c == nullptr;
         })},
        {"Placeholders null", TextEqualCopyNull(CSINEToASCII, CSINEFromASCII, CSINEEqual, CSINECopy)},
    });
}

TEST(BadArguments, LASER)
{
    RunRows({
        {"Free null", FreeNull(LASERFree)},
        {"Init null", OnCanvas([](IMG *img) {
             return NoDraws([img] { LASERInit(nullptr, img); }) && OnLaser([](LASER *l) { LASERInit(l, nullptr); })();
         })},
        {"Init on an image without area", OnLaser([](LASER *l) {
             IMG *empty = IMGNew();
             IMGResize(empty, 0, 16), LASERInit(l, empty), IMGResize(empty, 16, 0), LASERInit(l, empty);
             IMGFree(&empty);
         })},
        {"RandomSpeed null and range 0 and -1", Call([] {
             return NoDraws([] { return LASERRandomSpeed(nullptr) == 0; }) && OnLaser([](LASER *l) {
                        return With(&l->range, 0, [l] { return LASERRandomSpeed(l) == 0; }) &&
                               With(&l->range, -1, [l] { return LASERRandomSpeed(l) == 0; });
                    })();
         })},
        {"Moves and draws null", Call([] {
             return NoDraws(
                 [] { LASERMove(nullptr), LASERMoveRandom(nullptr), LASERDraw(nullptr), LASERDrawFlicker(nullptr); });
         })},
        {"Moves and draws without an image", OnLaser([](LASER *l) {
             return With(&l->image, nullptr,
                         [l] { LASERMove(l), LASERMoveRandom(l), LASERDraw(l), LASERDrawFlicker(l); });
         })},
    });
}

template <typename Call>
auto OnStars(Call call)
{
    return [call] {
        return FxKept<LSTARS>(LSTARSNew, LSTARSFree, [call](LSTARS *s) {
            const std::vector<int32_t> stars = Elements(s->stars, s->count * 2);
            return Neutral(call, s) && Elements(s->stars, s->count * 2) == stars;
        });
    };
}

TEST(BadArguments, LSTARS)
{
    RunRows({
        {"Free null", FreeNull(LSTARSFree)},
        {"SetCount null, 0 and -1", Call([] {
             return LSTARSSetCount(nullptr, 4),
                    OnStars([](LSTARS *s) { LSTARSSetCount(s, 0), LSTARSSetCount(s, -1); })();
         })},
        {"Scatter and Place null", [] { return NoDraws([] { LSTARSScatter(nullptr), LSTARSPlace(nullptr, 0); }); }},
        {"Scatter on a zero-sized area", OnStars([](LSTARS *s) {
             return With(&s->width, 0, [s] { LSTARSScatter(s); }) && With(&s->height, 0, [s] { LSTARSScatter(s); });
         })},
        {"Place on a zero-sized area", OnStars([](LSTARS *s) {
             return With(&s->width, 0, [s] { LSTARSPlace(s, 0); }) && With(&s->height, 0, [s] { LSTARSPlace(s, 0); });
         })},
        {"Place -1 and count", OnStars([](LSTARS *s) { LSTARSPlace(s, -1), LSTARSPlace(s, s->count); })},
        {"Move and draws null", Call([] {
             return LSTARSMove(nullptr), CanvasKept([](IMG *img) {
                        LSTARSDraw(nullptr, img), LSTARSDrawPoints(nullptr, img), LSTARSDrawGlyphs(nullptr, img);
                        return OnStars([](LSTARS *s) {
                            LSTARSDraw(s, nullptr), LSTARSDrawPoints(s, nullptr), LSTARSDrawGlyphs(s, nullptr);
                        })();
                    });
         })},
        {"DrawGlyphs without a font",
         OnCanvas([](IMG *img) { return OnStars([img](LSTARS *s) { LSTARSDrawGlyphs(s, img); })(); })},
        {"Placeholders null", TextEqualCopyNull(LSTARSToASCII, LSTARSFromASCII, LSTARSEqual, LSTARSCopy)},
    });
}

template <typename Call>
auto OnRaster(Call call)
{
    return [call] {
        return FxKept<RASTER>(RASTERNew, RASTERFree, [call](RASTER *r) {
            r->colours[3] = 0x123456;
            const std::vector<int32_t> colours = Elements(r->colours, r->size);
            return Neutral(call, r) && Elements(r->colours, r->size) == colours;
        });
    };
}

// Whether saving a raster of size 0 fails and leaves no file behind.
bool EmptyRasterNotSaved()
{
    const char *path = "/tmp/zolt-robust-empty.raster";
    RASTER *r = RASTERNew();
    RASTERSetSize(r, 0);
    std::remove(path);
    const bool ok = !RASTERSave(r, path);
    std::FILE *f = std::fopen(path, "rb");
    RASTERFree(&r);
    if (f != nullptr) {
        std::fclose(f);
    }
    return ok && f == nullptr;
}

TEST(BadArguments, RASTER)
{
    const char *line = robust::rasterLine;
    const std::string twiceText = std::string(line) + line;
    const char *twice = twiceText.c_str();
    RunRows({
        {"Free null address", robust::FreeNullAddress(RASTERFree), line},
        {"Free null handle", robust::FreeNullHandle(RASTERFree), line},
        {"SetSize null", [] { return RASTERSetSize(nullptr, 4) == nullptr; }, line},
        {"SetSize -1", OnRaster([](RASTER *r) { return RASTERSetSize(r, -1) == nullptr; }), line},
        {"Clear null", [] { RASTERClear(nullptr); }, line},
        {"Copy null", [] { return RASTERCopy(nullptr) == nullptr; }, line},
        {"Equal null", OnRaster([](RASTER *r) { return !RASTEREqual(r, nullptr); }), line},
        {"Step null", [] { RASTERStep(nullptr); }, line},
        {"Smooth null", [] { RASTERSmooth(nullptr, 1); }, line},
        {"Smooth radius 0", OnRaster([](RASTER *r) { RASTERSmooth(r, 0); }), line},
        {"Smooth radius -1", OnRaster([](RASTER *r) { RASTERSmooth(r, -1); }), line},
        {"Draw null raster", OnCanvas([](IMG *img) { RASTERDraw(nullptr, img); }), line},
        // A null image is the image module's to report, and that is silent.
        {"Draw null image", OnRaster([](RASTER *r) { RASTERDraw(r, nullptr); })},
        {"DrawBlend null raster", OnCanvas([](IMG *img) { RASTERDrawBlend(nullptr, img, 128); }), line},
        {"DrawBlend null image", OnRaster([](RASTER *r) { RASTERDrawBlend(r, nullptr, 128); })},
        {"DrawBlend weight -1",
         OnCanvas([](IMG *img) { return OnRaster([img](RASTER *r) { RASTERDrawBlend(r, img, -1); })(); }), line},
        {"DrawBlend weight 257",
         OnCanvas([](IMG *img) { return OnRaster([img](RASTER *r) { RASTERDrawBlend(r, img, 257); })(); }), line},
        {"Load null and missing file",
         [] { return RASTERLoad(nullptr) == nullptr && RASTERLoad("/nonexistent/zolt.raster") == nullptr; }, twice},
        {"Save null",
         OnRaster([](RASTER *r) { return !RASTERSave(nullptr, "/tmp/zolt-robust.raster") && !RASTERSave(r, nullptr); }),
         twice},
        {"Save an empty raster", EmptyRasterNotSaved, line},
        {"Text forms null", [] { return RASTERToASCII(nullptr) == nullptr && RASTERFromASCII(nullptr) == nullptr; },
         twice},
        {"Size 0 draws, steps and smooths nothing", OnCanvas([](IMG *img) {
             RASTER *r = RASTERNew();
             RASTERSetSize(r, 0);
             RASTERStep(r), RASTERSmooth(r, 1), RASTERDraw(r, img), RASTERDrawBlend(r, img, 256);
             const bool ok = r->size == 0 && r->offset == 0;
             RASTERFree(&r);
             return ok;
         })},
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

constexpr WaveApi lineApi = {SINELINENew,       SINELINEFree,   SINELINESetCount, SINELINEResetPoints,
                             SINELINERandomize, SINELINEUpdate, SINELINEDraw,     SINELINEToASCII,
                             SINELINEFromASCII, SINELINEEqual,  SINELINECopy};
constexpr WaveApi dotsApi = {SINEDOTSNew,       SINEDOTSFree,   SINEDOTSSetCount, SINEDOTSResetPoints,
                             SINEDOTSRandomize, SINEDOTSUpdate, SINEDOTSDraw,     SINEDOTSToASCII,
                             SINEDOTSFromASCII, SINEDOTSEqual,  SINEDOTSCopy};

std::vector<Row> WaveRows(const WaveApi &m)
{
    // kept(call): runs call on a fresh record and tells whether it was left as it was.
    const auto kept = [m](auto call) { return FxKept<SINELINE>(m.New, m.Free, call); };
    return {
        {"Free null", FreeNull(m.Free)},
        {"SetCount null, 0 and -1", Call([m, kept] {
             m.SetCount(nullptr, 4);
             return kept([m](SINELINE *l) { m.SetCount(l, 0), m.SetCount(l, -1); });
         })},
        {"ResetPoints, Randomize, Update null",
         [m] { return NoDraws([m] { m.ResetPoints(nullptr), m.Randomize(nullptr), m.Update(nullptr); }); }},
        {"Draw null", Call([m, kept] {
             return CanvasKept(
                 [m, kept](IMG *img) { return m.Draw(nullptr, img), kept([m](SINELINE *l) { m.Draw(l, nullptr); }); });
         })},
        {"Placeholders null", TextEqualCopyNull(m.ToASCII, m.FromASCII, m.Equal, m.Copy)},
    };
}

TEST(BadArguments, SINELINE) { RunRows(WaveRows(lineApi)); }
TEST(BadArguments, SINEDOTS) { RunRows(WaveRows(dotsApi)); }

}  // namespace

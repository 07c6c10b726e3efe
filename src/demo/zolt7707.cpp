#include "demo/zolt7707.h"

#include <cstdlib>
#include <string_view>

#include "audio/music.h"
#include "audio/sample.h"
#include "core/list.h"
#include "core/module.h"
#include "fx/csine.h"
#include "fx/laser.h"
#include "fx/lstars.h"
#include "fx/raster.h"
#include "fx/sineline.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "gfx/random.h"
#include "gfx/seg2d.h"
#include "gfx/sine.h"
#include "gfx/vec2d.h"
#include "platform/fps.h"
#include "vector/cursorx.h"
#include "vector/font.h"
#include "vector/lfont.h"
#include "vector/lframe.h"
#include "vector/lscroll.h"
#include "vector/obj2d.h"
#include "vector/scroll.h"

// ---- Constants ----

constexpr Reporting zolt7707Reporting = Reporting::Off;

constexpr int32_t fadeOutFrames = 32;
constexpr uint32_t fadeOutColour = 0x808080;
constexpr int32_t queueDepth = 4;  // the music is queued again below this many samples
constexpr int32_t colourTableSize = 1536;

// Frames of each part.
constexpr int32_t scrollFrames = 1501;
constexpr int32_t effectFrames = 1000;
constexpr int32_t radialsFrames = 1001;

// The colour table: six uniform blocks of 256 entries.
constexpr uint32_t colourBlocks[] = {0x0000FF01, 0x0000FEFF, 0x000100FF, 0x00FF00FE, 0x00FF0100, 0x00FEFF00};
static_assert(sizeof colourBlocks / sizeof colourBlocks[0] * 256 == colourTableSize);

constexpr char cornerWord[] = "ZOLT";

// ---- Module variables ----

IMG *screenImage = nullptr;
IMG *blurImage = nullptr;
CURSORX *rasterCursor = nullptr;
RASTER *raster = nullptr;
FONT *bitmapFont = nullptr;
SCROLL *textScroller = nullptr;
LIST *glyphList = nullptr;
LFONT *objectFont = nullptr;
LSCROLL *lowScroller = nullptr;
LSCROLL *bigScroller = nullptr;
MUSIC *music = nullptr;
SAMPLE *colourTable = nullptr;

LIST *sineLines = nullptr;
LIST *starLayers = nullptr;
LIST *lineFrames = nullptr;
LIST *colourSines = nullptr;
LIST *lasers = nullptr;

bool nextPart = initialNextPart;
bool showFps = initialShowFps;
bool blurOn = initialBlurOn;
bool fadeOn = initialFadeOn;
bool radialsOn = initialRadialsOn;
uint32_t fadeColour = initialFadeColour;

namespace {

ZOLT7707Platform platform{};

// A colour of the table, picked by one random draw.
uint32_t TableColour() { return static_cast<uint32_t>(SAMPLEGet(colourTable, RANDOMNext() % colourTableSize)); }

// A grey of (random AND mask) + base on every channel.
uint32_t RandomGrey(int32_t mask, int32_t base)
{
    return static_cast<uint32_t>((RANDOMNext() & mask) + base) * 0x010101u;
}

// The frame loop every part shares: draw, frame tail, and leave at once when
// Space has asked for the next part. draw receives the frame index.
template <typename Draw>
void RunFrames(int32_t frames, Draw draw)
{
    for (int32_t frame = 0; frame < frames; ++frame) {
        draw(frame);
        ZOLT7707FrameTail();
        if (nextPart) {
            nextPart = false;
            return;
        }
    }
}

// Makes a list of n objects with make on a part's first run; later runs keep it.
template <typename Make>
LIST *MakeOnce(LIST *list, int32_t n, Make make)
{
    if (list != nullptr) {
        return list;
    }
    list = LISTNew();
    for (int32_t i = 0; list != nullptr && i < n; ++i) {
        LISTAppend(list, make());
    }
    return list;
}

template <typename T>
T *Item(const LIST *list, int32_t index)
{
    return static_cast<T *>(LISTGet(list, index));
}

int32_t Count(const LIST *list) { return list != nullptr ? list->count : 0; }

// The point mirrored through the centre of a width x height area.
void MirrorPoint(const VEC2D *from, VEC2D *to, int32_t width, int32_t height)
{
    to->x = width - 1 - from->x;
    to->y = height - 1 - from->y;
    to->colour = from->colour;
}

void NegateInto(const VEC2D *from, VEC2D *to)
{
    to->x = -from->x;
    to->y = -from->y;
    to->colour = from->colour;
}

// One line frame and its partner mirrored through the screen centre.
// Draws: the kind of line, the line, two table colours.
constexpr int32_t framePairDraws = 1 + LFRAMELineDraws + 2;
void PlaceFramePair(LFRAME *a, LFRAME *b)
{
    if ((RANDOMNext() & 1) == 1) {
        LFRAMECornerLine(a);
    } else {
        LFRAMEEdgeLine(a);
    }
    a->line->start->colour = TableColour();
    a->velocity->start->colour = a->line->start->colour;
    a->line->end->colour = TableColour();
    a->velocity->end->colour = a->line->end->colour;
    MirrorPoint(a->line->start, b->line->start, b->width, b->height);
    MirrorPoint(a->line->end, b->line->end, b->width, b->height);
    NegateInto(a->velocity->start, b->velocity->start);
    NegateInto(a->velocity->end, b->velocity->end);
    b->speed = a->speed;
}

// A laser group: p's source is pulled into the top-left quarter and q, r, s
// mirror it in x, in x and y, and in y. Draws: four lasers, one table colour.
constexpr int32_t laserGroupDraws = 4 * LASERInitDraws + 1;
void PlaceLaserGroup(LASER *p, LASER *q, LASER *r, LASER *s)
{
    LASERInit(p, screenImage);
    LASERInit(q, screenImage);
    LASERInit(r, screenImage);
    LASERInit(s, screenImage);
    p->x0 >>= 1;
    p->y0 >>= 1;
    const int32_t w = screenWidth - 1;
    const int32_t h = screenHeight - 1;
    *q = *p;
    *r = *p;
    *s = *p;
    q->x0 = w - p->x0;
    q->x1 = w - p->x1;
    q->dx = -p->dx;
    r->x0 = w - p->x0;
    r->y0 = h - p->y0;
    r->x1 = w - p->x1;
    r->y1 = h - p->y1;
    r->dx = -p->dx;
    r->dy = -p->dy;
    s->y0 = h - p->y0;
    s->y1 = h - p->y1;
    s->dy = -p->dy;
    const uint32_t colour = TableColour();
    p->colour = q->colour = r->colour = s->colour = static_cast<int32_t>(colour);
}

}  // namespace

// ---- Start-up and shutdown ----

void ZOLT7707Init(const ZOLT7707Platform &on)
{
    platform = on;
    fpsClock = platform.clock;
    fpsSleep = platform.sleep;
    screenImage = IMGNew();
    IMGResize(screenImage, screenWidth, screenHeight);
    RANDOMSeed(randomSeed);
}

void ZOLT7707SceneInit()
{
    rasterCursor = CURSORXNew();
    raster = RASTERNew();
    RASTERSetSize(raster, screenImage != nullptr ? screenImage->height : screenHeight);
    bitmapFont = FONTNew();
    if (bitmapFont != nullptr) {
        bitmapFont->cellWidth = 16;
        bitmapFont->cellHeight = 16;
        bitmapFont->sheet = IMGParsePNM(glyphSheet, glyphSheetSize);
    }
    textScroller = SCROLLNew();
    SCROLLSet(textScroller, scrollText, bitmapFont, screenImage);
    if (textScroller != nullptr) {
        textScroller->speed = 4;
    }
    glyphList = OBJ2DParse(fontText);
    objectFont = LFONTNew();
    if (objectFont != nullptr) {
        objectFont->cellWidth = 16;
        objectFont->cellHeight = 16;
        objectFont->glyphs = glyphList;
    }
    const int32_t cellHeight = objectFont != nullptr ? objectFont->cellHeight : 16;
    lowScroller = LSCROLLNew();
    LSCROLLSet(lowScroller, scrollText, objectFont, screenImage);
    if (lowScroller != nullptr) {
        lowScroller->speed = 4;
        lowScroller->y = screenHeight - cellHeight;
    }
    bigScroller = LSCROLLNew();
    LSCROLLSet(bigScroller, scrollText, objectFont, screenImage);
    if (bigScroller != nullptr) {
        bigScroller->speed = 32;
        bigScroller->y = screenHeight / 4;
    }
    ZOLT7707MusicInit();
    targetFps = 25;
    colourTable = SAMPLENew();
    SAMPLESetLength(colourTable, colourTableSize);
    if (colourTable != nullptr && colourTable->length == colourTableSize) {
        for (int32_t i = 0; i < colourTableSize; ++i) {
            colourTable->values[i] = static_cast<int32_t>(colourBlocks[i / 256]);
        }
    }
}

void ZOLT7707MusicInit()
{
    music = MUSICNew();
    if (music == nullptr) {
        return;
    }
    // The loop is rewritten while the sound sink may be playing it: the
    // rewrite runs under the sink's guard.
    music->guard = platform.guard;
    for (const SAMPLE &clip : clipSamples) {
        MUSICAdd(music, SAMPLECopy(&clip));
    }
}

void ZOLT7707SceneDone()
{
    // The sound stops first, so nothing the music owns is still playing.
    platform.release();
    MUSICFree(&music);
    FONTFree(&bitmapFont);
    RASTERFree(&raster);
}

void ZOLT7707Done()
{
    ZOLT7707FadeOut();
    ZOLT7707SceneDone();
    IMGFree(&screenImage);
}

// ---- The frame cycle ----

void ZOLT7707FrameTail()
{
    FPSTick();
    FPSDelay();
    if (showFps && bitmapFont != nullptr) {
        bitmapFont->x = 0;
        bitmapFont->y = 0;
        bitmapFont->target = screenImage;
        FONTPutHex8(bitmapFont, static_cast<uint32_t>(measuredFps) & 0xFFu);
    }
    ZOLT7707Letters();
    ZOLT7707Show();
    ZOLT7707Music();
    ZOLT7707OnKey(platform.key());
}

void ZOLT7707FadeOut()
{
    for (int32_t i = 0; i < fadeOutFrames; ++i) {
        IMGFade(screenImage, fadeOutColour);
        platform.present(screenImage);
    }
}

void ZOLT7707Letters()
{
    if (objectFont == nullptr) {
        return;
    }
    objectFont->angle = static_cast<int32_t>((static_cast<uint32_t>(frameCount) * 37u) & 1023u);
    objectFont->scale = 1;
    objectFont->y = 16;
    int32_t x = screenWidth - 64;
    for (const char letter : std::string_view(cornerWord)) {
        objectFont->code = letter;
        objectFont->x = x;
        LFONTPutChar(objectFont);
        x += 16;
    }
}

void ZOLT7707Show()
{
    if (blurOn) {
        if (blurImage == nullptr) {
            blurImage = IMGNew();
            IMGResize(blurImage, screenWidth, screenHeight);
        }
        IMGFXBlur(screenImage, blurImage, 1);
        platform.present(blurImage);
    } else {
        platform.present(screenImage);
    }
    if (fadeOn) {
        IMGFade(screenImage, fadeColour);
    } else {
        IMGClear(screenImage);
    }
}

void ZOLT7707Music()
{
    MUSICUpdate(music);
    if (music != nullptr && platform.queue != nullptr && platform.waiting() < queueDepth) {
        platform.queue(music->output);
    }
}

void ZOLT7707OnKey(int8_t code)
{
    const auto setSpeeds = [](int32_t speed) {
        if (textScroller != nullptr) textScroller->speed = speed;
        if (lowScroller != nullptr) lowScroller->speed = speed;
        if (bigScroller != nullptr) bigScroller->speed = speed;
    };
    switch (code) {
    case 27:
    case 'Q':
    case 'q':
        ZOLT7707FadeOut();
        platform.exit(EXIT_SUCCESS);
        break;
    case ' ': nextPart = true; break;
    case '5': targetFps = 25; break;
    case '6': targetFps = 50; break;
    case '8': showFps = !showFps; break;
    case 'b': blurOn = !blurOn; break;
    case 'i': setSpeeds(1); break;
    case 'm': fadeOn = !fadeOn; break;
    case 'o': setSpeeds(2); break;
    case 'p': setSpeeds(4); break;
    case 'r': radialsOn = !radialsOn; break;
    case 'u': setSpeeds(0); break;
    default: break;
    }
}

void ZOLT7707Raster()
{
    if (raster == nullptr || rasterCursor == nullptr || screenImage == nullptr) {
        return;
    }
    RASTERClear(raster);
    CURSORXSetOffset(rasterCursor, 0);
    const int32_t h = screenImage->height - 2;
    for (const uint32_t colour : colourWheel) {
        const int32_t p = CURSORXStepOffset(rasterCursor);
        const int32_t row = h / 2 + ((SINESin(p) * h / 2) >> 15);
        if (row >= 0 && row < raster->size) {
            raster->colours[row] = static_cast<int32_t>(colour);
        }
    }
    CURSORXStep(rasterCursor);
    RASTERDraw(raster, screenImage);
}

void ZOLT7707Glyphs()
{
    if (objectFont == nullptr) {
        return;
    }
    LFONT *font = objectFont;
    // Between the stamps the code is the last corner letter the previous frame drew.
    if (frameCount % 31 == 0) {
        font->code = (RANDOMNext() & 63) + 32;
    }
    const auto stamp = [font](int32_t x, int32_t y) {
        for (int32_t d = 0; d < 4; ++d) {
            font->x = x + d;
            font->y = y + d;
            LFONTPutChar(font);
        }
    };
    font->angle = 0;
    font->scale = 1;
    const int32_t x = RANDOMNext() % (screenWidth - font->cellWidth);
    const int32_t y = RANDOMNext() % (screenHeight - font->cellHeight);
    stamp(x, y);
    font->scale = RANDOMNext() & 15;
    const int32_t span = screenWidth - font->cellWidth * font->scale;
    const int32_t bx = RANDOMNext() % span;
    const int32_t by = RANDOMNext() % span;
    stamp(bx, by);
}

// ---- The seven parts ----

void ZOLT7707PartScroll()
{
    ZOLT7707FadeOut();
    const int32_t step = (RANDOMNext() % 7) + 4;
    const int32_t offsetStep = (RANDOMNext() % 15) + 31;
    if (rasterCursor != nullptr) {
        rasterCursor->size = 1024;
        rasterCursor->step = step;
        rasterCursor->offsetStep = offsetStep;
    }
    RunFrames(scrollFrames, [](int32_t) {
        ZOLT7707Raster();
        SCROLLDraw(textScroller);
        SCROLLAdvance(textScroller);
        if (lowScroller != nullptr && objectFont != nullptr) {
            lowScroller->x = 0;
            lowScroller->y = screenHeight - objectFont->cellHeight - 4;
            objectFont->scale = 1;
            objectFont->angle = SINESin(static_cast<int32_t>((static_cast<uint32_t>(frameCount) * 15u) & 1023u)) >> 9;
            LSCROLLDraw(lowScroller);
            LSCROLLAdvance(lowScroller);
        }
        if (bigScroller != nullptr && objectFont != nullptr) {
            bigScroller->x = 0;
            bigScroller->y = screenHeight / 4;
            objectFont->scale = 8;
            objectFont->angle = 0;
            LSCROLLDraw(bigScroller);
            LSCROLLAdvance(bigScroller);
        }
    });
}

void ZOLT7707PartSineLines()
{
    sineLines = MakeOnce(sineLines, 256, SINELINENew);
    for (int32_t k = Count(sineLines) - 1; k >= 0; --k) {
        SINELINE *line = Item<SINELINE>(sineLines, k);
        const int32_t count = (RANDOMNext() & 255) + 128;
        const uint32_t colour = TableColour();
        if (line != nullptr) {
            SINELINESetCount(line, count);
            SINELINEResetPoints(line);
            line->colour = static_cast<int32_t>(colour);
        }
    }
    fadeColour = RandomGrey(127, 1);
    ZOLT7707FadeOut();
    RunFrames(effectFrames, [](int32_t) {
        for (int32_t k = 4; k >= 0; --k) {
            SINELINE *line = Item<SINELINE>(sineLines, k);
            if (line != nullptr) {
                SINELINEUpdate(line);
                SINELINEDraw(line, screenImage);
            }
        }
    });
}

void ZOLT7707PartStars()
{
    starLayers = MakeOnce(starLayers, 8, LSTARSNew);
    for (int32_t k = Count(starLayers) - 1; k >= 0; --k) {
        LSTARS *layer = Item<LSTARS>(starLayers, k);
        const int32_t stars = (9 - k) * 16;
        if (layer == nullptr) {
            // Setting the count scatters the stars, and so does the part: twice.
            RANDOMSkip(2 * stars * LSTARSPlaceDraws + 1);
            continue;
        }
        layer->vy = (k + 1) * 65536;
        LSTARSSetCount(layer, stars);
        layer->width = screenWidth;
        layer->height = screenHeight;
        LSTARSScatter(layer);
        layer->colour = static_cast<int32_t>(TableColour());
    }
    fadeColour = RandomGrey(127, 32);
    ZOLT7707FadeOut();
    RunFrames(effectFrames, [](int32_t) {
        for (int32_t k = 0; k < Count(starLayers); ++k) {
            LSTARS *layer = Item<LSTARS>(starLayers, k);
            if (layer != nullptr) {
                LSTARSMove(layer);
                LSTARSDraw(layer, screenImage);
            }
        }
        ZOLT7707Glyphs();
    });
}

void ZOLT7707PartFrames()
{
    lineFrames = MakeOnce(lineFrames, 256, [] {
        LFRAME *frame = LFRAMENew();
        if (frame != nullptr) {
            frame->width = screenWidth;
            frame->height = screenHeight;
        }
        return frame;
    });
    for (int32_t k = Count(lineFrames) - 1; k >= 1; k -= 2) {
        LFRAME *a = Item<LFRAME>(lineFrames, k);
        LFRAME *b = Item<LFRAME>(lineFrames, k - 1);
        if (a != nullptr && b != nullptr) {
            PlaceFramePair(a, b);
        } else {
            RANDOMSkip(framePairDraws);
        }
    }
    fadeColour = RandomGrey(63, 1);
    ZOLT7707FadeOut();
    RunFrames(effectFrames, [](int32_t) {
        for (int32_t k = Count(lineFrames) - 1; k >= 0; --k) {
            LFRAME *frame = Item<LFRAME>(lineFrames, k);
            if (frame != nullptr) {
                LFRAMEStep(frame);
                LFRAMEDraw(frame, screenImage);
            }
        }
    });
}

void ZOLT7707PartColourSine()
{
    if (colourSines == nullptr) {
        colourSines = MakeOnce(colourSines, (RANDOMNext() % 3) + 5, CSINENew);
    }
    for (int32_t k = Count(colourSines) - 1; k >= 0; --k) {
        CSINE *curve = Item<CSINE>(colourSines, k);
        if (curve == nullptr) {
            RANDOMSkip(CSINERandomizeDraws + 1);
            continue;
        }
        CSINERandomize(curve);
        curve->width = screenWidth;
        curve->height = screenHeight;
        curve->radius = screenWidth / 2;
        CSINESetColour(curve, TableColour());
    }
    fadeColour = RandomGrey(127, 1);
    ZOLT7707FadeOut();
    RunFrames(effectFrames, [](int32_t) {
        for (int32_t k = Count(colourSines) - 1; k >= 0; --k) {
            CSINE *curve = Item<CSINE>(colourSines, k);
            if (curve == nullptr) {
                continue;
            }
            CSINEUpdate(curve);
            if (radialsOn) {
                CSINEDrawRadials(curve, screenImage);
            } else {
                CSINEDraw(curve, screenImage);
            }
        }
    });
}

void ZOLT7707PartRadials()
{
    SEG2D *segment = SEG2DNew();
    VEC2D *origin = VEC2DNew();
    VEC2D *centre = VEC2DNew();
    LIST *points = LISTNew();
    if (origin != nullptr) {
        origin->x = 0;
        origin->y = 0;
    }
    if (centre != nullptr) {
        centre->x = screenWidth / 2;
        centre->y = screenHeight / 2;
    }
    for (int32_t k = 0; points != nullptr && k < 257; ++k) {
        VEC2D *point = VEC2DNew();
        const int32_t x = (RANDOMNext() % screenWidth) - screenWidth / 2;
        const int32_t y = (RANDOMNext() % screenHeight) - screenHeight / 2;
        const uint32_t r1 = static_cast<uint32_t>(RANDOMNext());
        const uint32_t r2 = static_cast<uint32_t>(RANDOMNext());
        if (point != nullptr) {
            point->x = x;
            point->y = y;
            point->colour = ((r1 | (r2 << 16)) & 0x7F7F7Fu) + 0x808080u;
        }
        LISTAppend(points, point);
    }
    fadeColour = RandomGrey(15, 1);
    ZOLT7707FadeOut();
    const bool ready = segment != nullptr && origin != nullptr && centre != nullptr;
    RunFrames(radialsFrames, [&](int32_t frame) {
        const int32_t n = radialsFrames - 1 - frame;  // counts down from 1000 to 0
        for (int32_t k = Count(points) - 1; ready && k >= 0; --k) {
            const VEC2D *point = Item<VEC2D>(points, k);
            if (point == nullptr) {
                continue;
            }
            VEC2DCopyTo(origin, segment->start);
            VEC2DCopyTo(point, segment->end);
            segment->start->colour = point->colour;
            segment->end->colour = point->colour;
            SEG2DRotate(segment, n + k);
            SEG2DTranslate(segment, centre);
            SEG2DDraw(segment, screenImage);
        }
    });
    // The points and the segment are made afresh at every start: release this run's.
    for (int32_t k = 0; k < Count(points); ++k) {
        VEC2D *point = Item<VEC2D>(points, k);
        if (point != nullptr) {
            VEC2DFree(&point);
        }
    }
    if (points != nullptr) {
        LISTFree(&points);
    }
    if (segment != nullptr) {
        SEG2DFree(&segment);
    }
    if (origin != nullptr) {
        VEC2DFree(&origin);
    }
    if (centre != nullptr) {
        VEC2DFree(&centre);
    }
}

void ZOLT7707PartLasers()
{
    lasers = MakeOnce(lasers, 256, LASERNew);
    for (int32_t k = Count(lasers) - 1; k >= 3; k -= 4) {
        LASER *p = Item<LASER>(lasers, k);
        LASER *q = Item<LASER>(lasers, k - 1);
        LASER *r = Item<LASER>(lasers, k - 2);
        LASER *s = Item<LASER>(lasers, k - 3);
        if (p != nullptr && q != nullptr && r != nullptr && s != nullptr) {
            PlaceLaserGroup(p, q, r, s);
        } else {
            RANDOMSkip(laserGroupDraws);
        }
    }
    fadeColour = RandomGrey(63, 1);
    ZOLT7707FadeOut();
    RunFrames(effectFrames, [](int32_t) {
        for (int32_t k = Count(lasers) - 1; k >= 0; --k) {
            LASER *laser = Item<LASER>(lasers, k);
            if (laser != nullptr) {
                LASERMove(laser);
                LASERDraw(laser);
            }
        }
    });
}

void ZOLT7707Cycle()
{
    ZOLT7707PartScroll();
    ZOLT7707PartSineLines();
    ZOLT7707PartStars();
    ZOLT7707PartFrames();
    ZOLT7707PartColourSine();
    ZOLT7707PartRadials();
    ZOLT7707PartLasers();
}

void ZOLT7707Error() { ModuleReport(zolt7707Reporting, zolt7707ErrorMessage); }

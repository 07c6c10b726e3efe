// CSINE: a rotating, breathing wave curve. A chain of segments whose points
// circle the centre of the area, each point's distance from the centre swinging
// with a second sine wave. Phases, speeds and steps are 16.16 fixed point whose
// integer part is a sine-table index; radii are given at twice their pixel size.
#pragma once

#include <cstdint>

struct IMG;
struct LIST;

inline constexpr const char *CSINEIdentity[] = {"CSINE   ", "20120412", "VORNHALD", "C       ", "CODE    "};

struct CSINE {
    int32_t width;  // area the curve is centred in
    int32_t height;
    int32_t x;  // offset of the centre from the middle of the area
    int32_t y;
    int32_t radiusPhase;      // 16.16 phase of the radius wave
    int32_t radiusSpeed;      // 16.16 added to radiusPhase every frame
    int32_t radiusAmplitude;  // radius wave amplitude, pixels x 2
    int32_t radiusStep;       // 16.16 radius phase step from one point to the next
    int32_t colour;           // 0x00RRGGBB
    int32_t anglePhase;       // 16.16 angle of the first point
    int32_t angleSpeed;       // 16.16 added to anglePhase every frame
    int32_t radius;           // mean distance from the centre, pixels x 2
    int32_t angleStep;        // 16.16 angle step from one point to the next
    LIST *segments;           // owned SEG2D polyline: each start is a curve point
};

// A curve of 64 white segments with the default wave, or null.
CSINE *CSINENew();
// Frees the segments, their list and the record; clears the handle.
void CSINEFree(CSINE **handle);
// Replaces the segments by n new white ones (n >= 0; a negative n is refused).
void CSINESetSegments(CSINE *csine, int32_t n);
// Random wave parameters and 64 .. 319 new (white) segments.
void CSINERandomize(CSINE *csine);
// Random draws CSINERandomize takes.
inline constexpr int32_t CSINERandomizeDraws = 10;
// Random parameters for a closed curve with a whole number of radius waves.
void CSINERandomizeFlower(CSINE *csine);
// Sets colour and the colour of both end points of every segment.
void CSINESetColour(CSINE *csine, uint32_t colour);
// One frame: advances both phases and recomputes the open polyline.
void CSINEUpdate(CSINE *csine);
// As CSINEUpdate with the points spread evenly over a full turn, closing the ring.
void CSINEUpdateRing(CSINE *csine);
// Draws every segment, last to first.
void CSINEDraw(const CSINE *csine, IMG *image);
// Moves every segment's start to the image centre and draws it: a fan of lines.
void CSINEDrawRadials(CSINE *csine, IMG *image);
// No text form: always null.
char *CSINEToASCII(const CSINE *csine);
// No text form: always null.
CSINE *CSINEFromASCII(const char *text);
// No comparison: always false.
bool CSINEEqual(const CSINE *a, const CSINE *b);
// A new default curve (as CSINENew) for a non-null source, not a copy of it.
CSINE *CSINECopy(const CSINE *csine);
void CSINEError();

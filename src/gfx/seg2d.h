// SEG2D: a line segment between two VEC2D end points, which it owns.
//
// The start point's colour is the colour of the drawn line; the end point's
// colour is used only when the end points are drawn as dots. Operations on a
// segment that lacks an end point (see SEG2DFreeRecord) report and do nothing.
#pragma once

#include <cstdint>

#include "gfx/vec2d.h"

struct IMG;

inline constexpr const char *SEG2DIdentity[] = {"SEG2D   ", "20120412", "VORNHALD", "C       ", "CODE    "};

struct SEG2D {
    VEC2D *start;  // first end point, owned; its colour is the line's
    VEC2D *end;    // second end point, owned
};

// A new segment from (0, 0) to (1, 1), both ends white; null (with the error
// report) when the record or either end point cannot be had.
SEG2D *SEG2DNew();
// Frees both end points (those present) and the record, and nulls the handle;
// a null handle or segment only reports.
void SEG2DFree(SEG2D **handle);
// Frees the record only, leaving the end points to their other owner, and nulls the handle.
void SEG2DFreeRecord(SEG2D **handle);
// A new segment whose end points are copies of s's; null (with the report) when
// s or one of its end points is null or memory runs out.
SEG2D *SEG2DCopy(const SEG2D *s);
// Copies both end points of src into dst's; allocates nothing.
void SEG2DCopyTo(const SEG2D *src, SEG2D *dst);
// True when both starts and both ends are VEC2DEqual; a null argument reports and gives false.
bool SEG2DEqual(const SEG2D *a, const SEG2D *b);
// No text form: always null; a null segment also reports.
char *SEG2DToASCII(const SEG2D *s);
// No text form: always null; a null text also reports.
SEG2D *SEG2DFromASCII(const char *text);
// IMGDrawLine from start to end in the start point's colour, clipped point by point.
void SEG2DDraw(const SEG2D *s, IMG *img);
// Draws both end points as single pixels, each in its own colour.
void SEG2DDrawEnds(const SEG2D *s, IMG *img);
// Rotates both end points about the origin (not about the segment's centre).
void SEG2DRotate(SEG2D *s, int32_t angle);
// Adds offset to both end points.
void SEG2DTranslate(SEG2D *s, const VEC2D *offset);
// Multiplies both end points' coordinates by factor.
void SEG2DScale(SEG2D *s, int32_t factor);
// Draws s rotated by angle, then moved by offset, through a copy on the stack; s is unchanged.
void SEG2DDrawTransformed(const SEG2D *s, int32_t angle, const VEC2D *offset, IMG *img);
// The module's error report: "SEG2D error\n", printed only while the switch is on (off in this build).
void SEG2DError();

// LFRAME: one coloured line whose two end points crawl along the border of a
// rectangle, turning at the corners so that the line sweeps across the picture.
//
// Segment ownership: a frame's line and velocity segments are shared by
// reference between the frames that hold them (LFRAMECopyTo, LFRAMECopy). The
// module counts the frames holding each segment it created: LFRAMEFree and the
// line makers release a segment only when the last frame holding it lets go.
// Segments a caller assigns itself to line or velocity are never released here.
#pragma once

#include <cstdint>

struct IMG;
struct SEG2D;
struct VEC2D;

inline constexpr const char *LFRAMEIdentity[] = {"LFRAME  ", "20120412", "VORNHALD", "C       ", "CODE    "};

struct LFRAME {
    int32_t width;  // the frame in pixels; 256 x 256 after LFRAMENew
    int32_t height;
    SEG2D *line;      // the two end points with their colours; drawn in the start colour
    SEG2D *velocity;  // start moves line's start, end moves line's end; components -1, 0 or +1
    int32_t speed;    // pixels moved per step along a direction component: 4 to 11
};

// A 256 x 256 frame with a free line (LFRAMERandomLine); null when memory runs out.
LFRAME *LFRAMENew();
// Releases the record and the segments no other frame still holds; clears the
// handle. Null address or handle: error, nothing changes.
void LFRAMEFree(LFRAME **handle);
// Placeholder: no text form; null.
char *LFRAMEToASCII(const LFRAME *frame);
// Placeholder: no text form; null.
LFRAME *LFRAMEFromASCII(const char *text);
// True when both hold the same line object, the same velocity object and the same speed.
// Either missing: error, false.
bool LFRAMEEqual(const LFRAME *a, const LFRAME *b);
// The destination takes the source's line and velocity by reference (shared) and its speed.
// Either missing: error, nothing changes.
void LFRAMECopyTo(const LFRAME *source, LFRAME *destination);
// A new frame sharing the source's line and velocity, with its speed; null on error.
LFRAME *LFRAMECopy(const LFRAME *frame);
// A free line: random end points inside the frame, random colours, both
// directions (-1, -1), random speed. Missing frame or a frame without area: error.
void LFRAMERandomLine(LFRAME *frame);
// A line lying on the left, top or right edge, both ends moving the same way.
// Missing frame or a frame without area: error.
void LFRAMEEdgeLine(LFRAME *frame);
// A line across a corner, from one edge to the next.
// Missing frame or a frame without area: error.
void LFRAMECornerLine(LFRAME *frame);
// Random draws LFRAMEEdgeLine and LFRAMECornerLine each take.
inline constexpr int32_t LFRAMELineDraws = 9;
// One step of a point along the border with its direction; both are updated.
// Missing frame, point or direction: error, nothing moves.
void LFRAMEMovePoint(const LFRAME *frame, VEC2D *point, VEC2D *direction);
// Moves the line's start with the velocity's start, then its end with the velocity's end.
void LFRAMEStep(LFRAME *frame);
// The line into the image in its start colour.
void LFRAMEDraw(const LFRAME *frame, IMG *image);
// The line's two end pixels, each in its own colour.
void LFRAMEDrawPoints(const LFRAME *frame, IMG *image);
void LFRAMEError();

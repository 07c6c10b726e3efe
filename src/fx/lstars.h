// LSTARS: one layer of a scrolling star field. Every star moves with the same
// velocity, wraps around the area once it is more than a streak length outside,
// and is drawn as a streak, a pixel or a font glyph. Positions and velocities
// are 16.16 fixed point pixels.
#pragma once

#include <cstdint>

struct FONT;
struct IMG;

inline constexpr const char *LSTARSIdentity[] = {"LSTARS  ", "20120327", "VORNHALD", "C       ", "CODE    "};

struct LSTARS {
    int32_t width;  // area in pixels
    int32_t height;
    int32_t vx;      // 16.16 velocity per frame, positive is right
    int32_t vy;      // 16.16 velocity per frame, positive is down
    int32_t colour;  // 0x00RRGGBB
    FONT *glyphs;    // borrowed; only LSTARSDrawGlyphs uses it
    int32_t count;   // number of stars
    int32_t *stars;  // owned: x0, y0, x1, y1, ... in 16.16
};

// A 256 x 256 layer of 16 randomly placed stars falling one pixel a frame, or null.
LSTARS *LSTARSNew();
// Frees the stars and the record (not the glyph font); clears the handle.
void LSTARSFree(LSTARS **handle);
// n > 0 new stars, scattered at random; refused (old stars kept) otherwise.
void LSTARSSetCount(LSTARS *stars, int32_t n);
// Places every star at random, last index first; refused for a zero-sized area.
void LSTARSScatter(LSTARS *stars);
// Puts star 0 <= i < count at a random whole-pixel position (x drawn before y).
void LSTARSPlace(LSTARS *stars, int32_t i);
// Random draws LSTARSPlace takes for one star.
inline constexpr int32_t LSTARSPlaceDraws = 2;
// One frame of motion with the signed wrap margins.
void LSTARSMove(LSTARS *stars);
// Streaks over the last two frames' distance, last star first.
void LSTARSDraw(LSTARS *stars, IMG *image);
// One pixel per star.
void LSTARSDrawPoints(LSTARS *stars, IMG *image);
// Stamps each star as a glyph of the borrowed font (refused without one).
void LSTARSDrawGlyphs(LSTARS *stars, IMG *image);
// No text form: always null.
char *LSTARSToASCII(const LSTARS *stars);
// No text form: always null.
LSTARS *LSTARSFromASCII(const char *text);
// No comparison: always false.
bool LSTARSEqual(const LSTARS *a, const LSTARS *b);
// A new default layer (as LSTARSNew) for a non-null source, not a copy of it.
LSTARS *LSTARSCopy(const LSTARS *stars);
void LSTARSError();

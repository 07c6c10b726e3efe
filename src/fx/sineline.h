// SINELINE: a long curve whose points are sums of three sine waves on each
// axis, drawn as a chain of lines. Phases, speeds and steps are plain sine-table
// indices (phases kept in 0 .. 1023); amplitudes are pixels x 2.
#pragma once

#include <cstdint>

struct IMG;

inline constexpr const char *SINELINEIdentity[] = {"SINELINE", "20110909", "VORNHALD", "C       ", "CODE    "};

// One value per axis; only x and y are used.
struct SINELINETRIPLE {
    int32_t x;
    int32_t y;
    int32_t z;
};

struct SINELINE {
    SINELINETRIPLE position;  // not used by any operation
    SINELINETRIPLE size;      // width and height of the last target image
    SINELINETRIPLE phase1;    // start phases of the three waves
    SINELINETRIPLE phase2;
    SINELINETRIPLE phase3;
    SINELINETRIPLE speed1;  // added to the phases every frame
    SINELINETRIPLE speed2;
    SINELINETRIPLE speed3;
    SINELINETRIPLE step1;  // added to the phases from one point to the next
    SINELINETRIPLE step2;
    SINELINETRIPLE step3;
    SINELINETRIPLE amplitude1;  // set from the image when drawing
    SINELINETRIPLE amplitude2;
    SINELINETRIPLE amplitude3;
    int32_t colour;   // 0x00RRGGBB
    int32_t count;    // number of points
    int32_t *points;  // owned, 4 x count values, reserved (never read)
};

// A red 16-point curve with random phases, speeds and steps, or null.
SINELINE *SINELINENew();
// Frees the points and the record; clears the handle.
void SINELINEFree(SINELINE **handle);
// n > 0 points; refused (old points kept) otherwise.
void SINELINESetCount(SINELINE *line, int32_t n);
// Checks the record and its points; changes nothing.
void SINELINEResetPoints(SINELINE *line);
// Random phases, speeds and steps (18 draws in a fixed order), default amplitudes.
void SINELINERandomize(SINELINE *line);
// Advances the six phases by their speeds, modulo 1024.
void SINELINEUpdate(SINELINE *line);
// Draws count - 1 lines (the first one a single pixel), scaled to the image.
void SINELINEDraw(SINELINE *line, IMG *image);
// No text form: always null.
char *SINELINEToASCII(const SINELINE *line);
// No text form: always null.
SINELINE *SINELINEFromASCII(const char *text);
// No comparison: always false.
bool SINELINEEqual(const SINELINE *a, const SINELINE *b);
// A new curve (as SINELINENew, fresh random values) for a non-null source.
SINELINE *SINELINECopy(const SINELINE *line);
void SINELINEError();

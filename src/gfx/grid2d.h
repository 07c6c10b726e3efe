// GRID2D: a field of points drifting through a width x height x depth box.
//
// Positions and velocities are 16.16 fixed point (65536 = one pixel). Each
// point moves by its own constant velocity and wraps at the faces of the box;
// when its next position would land on a non-black pixel of the image the
// field was last drawn into, it stays put and draws a new random velocity.
// Box sizes must lie in 1 .. 32767 so that a position fits in 16.16: with any
// other size the operations that depend on it do nothing.
#pragma once

#include <cstdint>

struct IMG;

inline constexpr const char *GRID2DIdentity[] = {"GRID2D  ", "20100922", "VORNHALD", "C       "};

// Values per point in points: x, y, z, vx, vy, vz.
inline constexpr int32_t grid2dPointFields = 6;

struct GRID2D {
    int32_t width;     // box size in x, in pixels; 256 after creation
    int32_t height;    // box size in y; 256
    int32_t depth;     // box size in z; 256
    const IMG *image;  // obstacle map: the image last given to GRID2DDrawPoints; borrowed, null until then
    int32_t count;     // number of points; 16 after creation
    int32_t *points;   // owned, count x 6 values: x, y, z, vx, vy, vz per point, all 16.16
};

// A 256 x 256 x 256 box with 16 random points; null (with the error report) when memory runs out.
GRID2D *GRID2DNew();
// Frees the points and the record and nulls the handle; a null handle or grid only reports.
void GRID2DFree(GRID2D **handle);
// Replaces all points by n new ones placed and aimed at random (GRID2DReset).
// A negative n changes nothing; when memory runs out the grid is left with no points.
void GRID2DSetCount(GRID2D *g, int32_t n);
// Gives every point, from the last to the first, a random position and then a random velocity.
void GRID2DReset(GRID2D *g);
// Puts point i on a random whole-pixel position; draws x, then y, then z.
void GRID2DRandomPosition(GRID2D *g, int32_t i);
// Gives point i a random velocity: per component (vx, vy, vz) one draw for the
// magnitude (AND 0x3FFFF) and one whose lowest bit makes it negative.
void GRID2DRandomVelocity(GRID2D *g, int32_t i);
// Moves every point once against the obstacle image; nothing before the first GRID2DDrawPoints.
void GRID2DStep(GRID2D *g);
// Remembers img as the obstacle map and draws each point as a yellow dot, brightest at z = 0.
void GRID2DDrawPoints(GRID2D *g, IMG *img);
// Draws a masked copy of sprite centred on each point; the obstacle map stays as it was.
void GRID2DDrawSprites(const GRID2D *g, IMG *img, const IMG *sprite);
// Prints "GRID2D error\n", every time.
void GRID2DError();

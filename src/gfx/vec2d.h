// VEC2D: an integer 2D point in image pixel space that carries its own colour.
//
// Angles are integers in 1/1024 of a turn (256 is a quarter turn) and only
// angle AND 1023 counts. With y pointing down, a positive angle turns +x
// towards +y (clockwise on screen). Rotation uses the shared Q15 sine table,
// whose peak is 32766, so every rotation, even by 0, shrinks positive
// coordinates slightly: rotate fresh model coordinates each frame instead of
// accumulating rotations.
#pragma once

#include <cstdint>

struct IMG;

inline constexpr const char *VEC2DIdentity[] = {"VEC2D   ", "20120412", "VORNHALD", "C       ", "CODE    "};

struct VEC2D {
    int32_t x;        // column, in pixels
    int32_t y;        // row, in pixels (downwards)
    uint32_t colour;  // 0x00RRGGBB; white (0xFFFFFF) after creation
};

// A new vector (0, 0) in white, or null (with the error report) when memory runs out.
VEC2D *VEC2DNew();
// Frees the vector and nulls the handle; a null handle or vector only reports.
void VEC2DFree(VEC2D **handle);
// A new vector with the same x, y and colour; null (with the error report) for a null vector.
VEC2D *VEC2DCopy(const VEC2D *v);
// Overwrites dst's x, y and colour with src's; either null: report, no change.
void VEC2DCopyTo(const VEC2D *src, VEC2D *dst);
// True when x, y and colour are all equal; a null argument reports and gives false.
bool VEC2DEqual(const VEC2D *a, const VEC2D *b);
// No text form: always null; a null vector also reports.
char *VEC2DToASCII(const VEC2D *v);
// No text form: always null; a null text also reports.
VEC2D *VEC2DFromASCII(const char *text);
// Sets the pixel at (x, y) in the vector's colour, clipped to the image.
void VEC2DDraw(const VEC2D *v, IMG *img);
// target.x += delta.x, target.y += delta.y (wrapping modulo 2^32); the colour is unchanged.
void VEC2DAdd(const VEC2D *delta, VEC2D *target);
// x *= factor, y *= factor (wrapping modulo 2^32).
void VEC2DScale(VEC2D *v, int32_t factor);
// Rotates (x, y) about the origin: x' = (x C - y S) >> 15, y' = (x S + y C) >> 15,
// rounded towards minus infinity. Exact for coordinates within -32767 .. 32767.
void VEC2DRotate(VEC2D *v, int32_t angle);
// Draws one pixel in v's colour at v rotated by angle, then moved by offset; v is unchanged.
void VEC2DDrawTransformed(const VEC2D *v, int32_t angle, const VEC2D *offset, IMG *img);
// Prints "VEC2D error\n" (the switch is on in this build).
void VEC2DError();

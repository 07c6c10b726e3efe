// LASER: a beam from a fixed source to an end point that runs around the
// border of its image. Everything is in whole pixels.
#pragma once

#include <cstdint>

struct IMG;

inline constexpr const char *LASERIdentity[] = {"LASER   ", "20110905", "VORNHALD", "C       ", "CODE    "};

struct LASER {
    int32_t x0;  // source point, fixed
    int32_t y0;
    int32_t x1;  // end point, moving
    int32_t y1;
    int32_t dx;  // end point velocity per frame
    int32_t dy;
    int32_t range;    // spread of random speeds (4 after LASERInit)
    int32_t minimum;  // smallest random speed (2 after LASERInit)
    int32_t colour;   // 0x00RRGGBB
    IMG *image;       // borrowed: the image the beam lives in and is drawn into
};

// A zero-filled laser, or null.
LASER *LASERNew();
// Frees the record; clears the handle.
void LASERFree(LASER **handle);
// Random source, end point on the top edge, speeds and colour for this image;
// refused for a null argument or an image without positive width and height.
void LASERInit(LASER *laser, IMG *image);
// Random draws LASERInit takes.
inline constexpr int32_t LASERInitDraws = 9;
// +-(minimum .. minimum + range - 1); 0 and no draws when range <= 0.
int32_t LASERRandomSpeed(LASER *laser);
// Moves the end point; at an edge it turns to run along the border for ever.
void LASERMove(LASER *laser);
// Moves the end point, picking a new random speed at each edge.
void LASERMoveRandom(LASER *laser);
// The beam in its colour.
void LASERDraw(const LASER *laser);
// The beam in a fresh random colour (the colour field is left as it is).
void LASERDrawFlicker(const LASER *laser);
void LASERError();

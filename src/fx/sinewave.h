// The sum-of-three-sines figure shared by SINELINE and SINEDOTS: one record,
// one randomiser, one phase motion and one point formula, so the two effects
// trace exactly the same points.
#pragma once

#include <cstdint>

#include "fx/sineline.h"

struct IMG;

namespace sinewave {

// The six running phases: wave 1 x, y, wave 2 x, y, wave 3 x, y.
struct Phases {
    int32_t p[6];
};

// Replaces the points by 4n zeroed values; false (nothing changed) when n is
// out of range or memory runs out.
bool SetCount(SINELINE *line, int32_t n);
// The 18 random draws, in their fixed order, and the default amplitudes.
void Randomize(SINELINE *line);
// Every phase += its speed, modulo 1024.
void Update(SINELINE *line);
// Takes the image's size and scales the amplitudes to it.
void FitTo(SINELINE *line, const IMG *image);
// The record's start phases.
Phases Start(const SINELINE *line);
// The point for the given phases (x through px, y through py).
void Point(const SINELINE *line, const Phases &phases, int32_t *px, int32_t *py);
// Advances each phase by its step, modulo 1024.
void Advance(const SINELINE *line, Phases *phases);

}  // namespace sinewave

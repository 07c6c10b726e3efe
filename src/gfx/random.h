// RANDOM: the system's one random generator. Every random number of every
// module is one call of RANDOMNext, and the order of calls is part of the
// behaviour: two runs with the same seed and the same calls draw the same values.
#pragma once

#include <cstdint>

// The seed the program starts from.
inline constexpr uint32_t randomSeed = 563130741u;

// Sets the generator's 32-bit state.
void RANDOMSeed(uint32_t seed);

// Advances the state (state x 214013 + 2531011 modulo 2^32) and returns bits
// 16 to 30 of the new state: 0 to 32767.
int32_t RANDOMNext();

// The current state, for code that must save and restore the sequence.
uint32_t RANDOMState();

// Draws count numbers and throws them away: a step whose object is missing
// still takes its draws, so the rest of the sequence does not shift.
void RANDOMSkip(int32_t count);

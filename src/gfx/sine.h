// SINE: the shared sine table, one full turn in 1024 steps, Q15 values.
//
// Angles are integers in 1/1024 of a turn (256 is a quarter turn); only the
// angle AND 1023 counts. Entries are sin(angle) x 32767 rounded, peak 32766,
// so (a x SINESin(k)) >> 15 is a x sin and >> 16 is half of it.
#pragma once

#include <cstdint>

inline constexpr int32_t sineSize = 1024;
inline constexpr int32_t sineMask = sineSize - 1;

// The table as stored: the index mask and the size ahead of the entries.
struct SINETABLE {
    int32_t mask;
    int32_t size;
    int16_t entries[sineSize];
};

extern const SINETABLE sineTable;

// Sine of an angle in 1/1024 turns, scaled by 32767.
inline int32_t SINESin(int32_t angle) { return sineTable.entries[static_cast<uint32_t>(angle) & sineMask]; }

// Cosine of an angle in 1/1024 turns: the entry a quarter turn on.
inline int32_t SINECos(int32_t angle) { return sineTable.entries[(static_cast<uint32_t>(angle) + 256u) & sineMask]; }

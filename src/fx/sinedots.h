// SINEDOTS: the dotted twin of the sine line. It shares the sine line's record,
// defaults, random parameters and motion, and draws one pixel per point. Its
// error report never prints.
#pragma once

#include <cstdint>

#include "fx/sineline.h"

struct IMG;

inline constexpr const char *SINEDOTSIdentity[] = {"SINEDOTS", "20100924", "VORNHALD", "C       "};

using SINEDOTS = SINELINE;

// As SINELINENew: a red 16-point figure with random parameters, or null.
SINEDOTS *SINEDOTSNew();
// Frees the points and the record; clears the handle.
void SINEDOTSFree(SINEDOTS **handle);
// n > 0 points; refused (old points kept) otherwise.
void SINEDOTSSetCount(SINEDOTS *dots, int32_t n);
// Checks the record and its points; changes nothing.
void SINEDOTSResetPoints(SINEDOTS *dots);
// Exactly the sine line's 18 random draws.
void SINEDOTSRandomize(SINEDOTS *dots);
// Advances the six phases by their speeds, modulo 1024.
void SINEDOTSUpdate(SINEDOTS *dots);
// count pixels, the first at the start phases, scaled to the image.
void SINEDOTSDraw(SINEDOTS *dots, IMG *image);
// No text form: always null.
char *SINEDOTSToASCII(const SINEDOTS *dots);
// No text form: always null.
SINEDOTS *SINEDOTSFromASCII(const char *text);
// No comparison: always false.
bool SINEDOTSEqual(const SINEDOTS *a, const SINEDOTS *b);
// A new figure (as SINEDOTSNew) for a non-null source.
SINEDOTS *SINEDOTSCopy(const SINEDOTS *dots);
void SINEDOTSError();

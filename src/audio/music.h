// MUSIC: the demo's endless soundtrack. One output loop of 37000 values is
// played over and over by the sound output; every 400 updates one randomly
// chosen clip is mixed into it at one of sixteen random positions while the
// old content fades to three quarters of its level.
//
// Threads: the output may be queued and playing on the audio thread while
// MUSICUpdate runs. The new loop is built entirely in a scratch sample; only
// the final copy into output (one pass of 37000 words) runs between the
// record's guard calls. The driver sets the guard to the sound output's lock
// (music->guard = {SDLSNDLock, SDLSNDUnlock, sound}) so the audio thread
// never reads a half-written value; an empty guard leaves the copy unguarded,
// which is right when no sound output exists. Nothing here includes SDL.
#pragma once

#include <cstdint>

#include "audio/sample.h"
#include "core/list.h"

inline constexpr const char *MUSICIdentity[] = {"MUSIC   ", "VORNHALD", "20110824", "C       ", "CODE    "};

// Values in the output loop: 37000 / 44100 of a second.
inline constexpr int32_t musicOutputLength = 37000;
// Updates (frames) between two mixes.
inline constexpr int32_t musicPeriod = 400;

// Called around the rewrite of a music's output; lock and unlock are both set or both null.
struct MUSICGuard {
    void (*lock)(void *context);
    void (*unlock)(void *context);
    void *context;
};

struct MUSIC {
    int32_t countdown;  // updates left until the next mix; 0 when created, so the first update mixes
    int32_t period;     // updates between two mixes: 400
    SAMPLE *output;     // the loop that is played; owned
    LIST *clips;        // the source clips (SAMPLE), in the order added; owned
    MUSICGuard guard;   // taken around the rewrite of output; empty when created
};

// A new music with an all-zero output loop and no clips, or null.
MUSIC *MUSICNew();
// Frees the output and every clip, then the record; nulls the handle. Null address or music: report.
void MUSICFree(MUSIC **handle);
// Placeholder: always null.
char *MUSICToASCII(const MUSIC *music);
// Placeholder: always null.
MUSIC *MUSICFromASCII(const char *text);
// Placeholder: always false.
bool MUSICEqual(const MUSIC *a, const MUSIC *b);
// Placeholder: always null.
MUSIC *MUSICCopy(const MUSIC *music);
// Appends a heap sample to the clips; the music owns it from then on. Missing argument: nothing.
void MUSICAdd(MUSIC *music, SAMPLE *sample);
// Once per frame. On a mix, five random numbers are drawn (clip index, then four
// position bits) and every output value becomes floor((3 x value + placed clip) / 4).
// With no clips the draws still happen but the output is left alone. Null music: nothing.
void MUSICUpdate(MUSIC *music);

void MUSICError();

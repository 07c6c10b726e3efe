#include "audio/music.h"

#include <new>

#include "core/module.h"
#include "gfx/random.h"

namespace {

constexpr Reporting musicReporting = Reporting::Off;

// The mix is built here, never in the output itself, so that the loop being
// played changes only in the one guarded copy at the end. Kept for the life of
// the program and shared by every music; made again when the output's length
// differs from it.
SAMPLE *scratch = nullptr;

bool PrepareScratch(int32_t length)
{
    if (scratch != nullptr && scratch->length != length) {
        SAMPLEFree(&scratch);
    }
    if (scratch == nullptr) {
        scratch = SAMPLENew();
        if (scratch == nullptr) {
            return false;
        }
        if (SAMPLESetLength(scratch, length) == nullptr) {
            SAMPLEFree(&scratch);
            return false;
        }
    }
    SAMPLEClear(scratch);
    return true;
}

// Copies the finished mix into the output under the music's guard.
void Publish(MUSIC *music)
{
    const MUSICGuard &guard = music->guard;
    const bool guarded = guard.lock != nullptr && guard.unlock != nullptr;
    if (guarded) {
        guard.lock(guard.context);
    }
    SAMPLEMove(scratch, music->output, music->output->length, 0, 0);
    if (guarded) {
        guard.unlock(guard.context);
    }
}

}  // namespace

MUSIC *MUSICNew()
{
    MUSIC *music = new (std::nothrow) MUSIC{};
    if (music == nullptr) {
        MUSICError();
        return nullptr;
    }
    music->output = SAMPLENew();
    music->clips = LISTNew();
    if (music->output == nullptr || music->clips == nullptr ||
        SAMPLESetLength(music->output, musicOutputLength) == nullptr) {
        MUSICError();
        if (music->output != nullptr) {
            SAMPLEFree(&music->output);
        }
        if (music->clips != nullptr) {
            LISTFree(&music->clips);
        }
        delete music;
        return nullptr;
    }
    music->period = musicPeriod;
    return music;
}

void MUSICFree(MUSIC **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        MUSICError();
        return;
    }
    MUSIC *music = *handle;
    if (music->output != nullptr) {
        SAMPLEFree(&music->output);
    }
    if (music->clips != nullptr) {
        while (music->clips->count > 0) {
            SAMPLE *clip = static_cast<SAMPLE *>(LISTPop(music->clips));
            if (clip != nullptr) {
                SAMPLEFree(&clip);
            }
        }
        LISTFree(&music->clips);
    }
    delete music;
    *handle = nullptr;
}

char *MUSICToASCII(const MUSIC *) { return nullptr; }

MUSIC *MUSICFromASCII(const char *) { return nullptr; }

bool MUSICEqual(const MUSIC *, const MUSIC *) { return false; }

MUSIC *MUSICCopy(const MUSIC *) { return nullptr; }

void MUSICAdd(MUSIC *music, SAMPLE *sample)
{
    if (music == nullptr || sample == nullptr || music->clips == nullptr) {
        return;
    }
    LISTAppend(music->clips, sample);
}

void MUSICUpdate(MUSIC *music)
{
    if (music == nullptr) {
        return;
    }
    music->countdown -= 1;
    if (music->countdown > 0) {
        return;
    }
    music->countdown = music->period;
    SAMPLE *output = music->output;
    if (output == nullptr || output->values == nullptr || output->length < 1 || !PrepareScratch(output->length)) {
        MUSICError();
        return;
    }
    // Five draws in this order on every mix: the clip, then the four position bits.
    // The order is part of the demo's sound and must not change.
    const int32_t pick = RANDOMNext();
    const int32_t b1 = RANDOMNext() % 2;
    const int32_t b2 = RANDOMNext() % 2;
    const int32_t b3 = RANDOMNext() % 2;
    const int32_t b4 = RANDOMNext() % 2;
    const int32_t count = music->clips != nullptr ? music->clips->count : 0;
    if (count < 1) {
        return;  // no clips: nothing to mix, and no division by zero
    }
    const int32_t length = output->length;
    const int32_t position = b1 * (length >> 1) + b2 * (length >> 2) + b3 * (length >> 3) + b4 * (length >> 4);
    const SAMPLE *clip = static_cast<const SAMPLE *>(LISTGet(music->clips, pick % count));
    if (clip == nullptr) {
        return;
    }
    // scratch = placed clip + 3 x output, all modulo 2^32 like the shifts and adds
    // of the in-place form (output << 1, + clip + output); the arithmetic right
    // shift by 2 then divides by 4 towards minus infinity.
    SAMPLEAdd(scratch, clip);
    const int32_t *unrotated = scratch->values;
    SAMPLERotateRight(scratch, position);
    if (scratch->values == unrotated) {
        return;  // the rotation found no memory: the output stays as it was
    }
    SAMPLEAdd(scratch, output);
    SAMPLEAdd(scratch, output);
    SAMPLEAdd(scratch, output);
    SAMPLEShiftRight(scratch, 2);
    Publish(music);
}

void MUSICError() { ModuleReport(musicReporting, "MUSIC ERROR\n"); }

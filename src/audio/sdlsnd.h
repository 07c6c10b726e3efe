// SDLSND: sound output through SDL 1.2's audio device. SDL calls
// SDLSNDCallback on its own audio thread for 4096 signed 16-bit mono values
// at 44100 per second; the callback plays the samples of queue head first and
// drops each one when its last value has been played.
//
// Threads: SDL holds its audio lock for every callback. The main thread holds
// the same lock around every access to queue (SDLSNDPlaySAMPLE and
// SDLSNDWaiting do so themselves) and around every rewrite of a queued
// sample's values (SDLSNDLock / SDLSNDUnlock, which fit MUSICGuard).
// In the browser (Emscripten) the callback runs on the main thread between
// frames and the audio lock does nothing; the same calls stay correct there.
// A queued sample must stay alive and unreallocated until it has been played
// or the output is freed; the queue never owns its samples.
//
// This header does not include SDL: only the source talks to it.
#pragma once

#include <cstdint>

#include "audio/sample.h"
#include "core/list.h"

// The desired device format: values per second, bits per value, values per callback.
inline constexpr int32_t sdlsndRate = 44100;
inline constexpr int32_t sdlsndResolution = 16;
inline constexpr int32_t sdlsndBufferValues = 4096;

struct SDLSND {
    int32_t rate;        // 44100 values per second
    int32_t resolution;  // 16 bits per device value
    uint8_t *buffer;     // owned (new[]); nothing fills it, freed when not null
    int32_t position;    // next value to play in the head sample
    LIST *queue;         // borrowed SAMPLE pointers waiting to be played, head first
    char sign;           // 's': signed device values
    char order;          // 'l': least significant byte first
    char mute;           // 1: the callback writes silence
};

// Initialises SDL, opens the device and starts playback at once; null when any step fails.
SDLSND *SDLSNDNew();
// Pauses and closes the device, frees the queue (not its samples) and the record; nulls the handle.
void SDLSNDFree(SDLSND **handle);
// Appends sample to the end of the queue under the audio lock; a null argument does nothing.
void SDLSNDPlaySAMPLE(SDLSND *sound, SAMPLE *sample);
// The audio callback (userdata = the record, byte count len). Empty queue: the buffer
// is left as SDL filled it. Mute: len zero bytes. Otherwise values wrap to 16 bits,
// least significant byte first, and the queue is followed without a gap; when it runs
// dry the rest of the buffer is left untouched, and an odd last byte is never written.
void SDLSNDCallback(void *userdata, uint8_t *stream, int len);
// Does nothing.
void SDLSNDPlay(SDLSND *sound);
// A static empty text the caller must not free; null for a null record.
const char *SDLSNDToASCII(const SDLSND *sound);
// Always null: the device has no text form.
SDLSND *SDLSNDFromASCII(const char *text);
// True when both are not null; no fields are compared.
bool SDLSNDEqual(const SDLSND *a, const SDLSND *b);
// Always null: the device cannot be duplicated.
SDLSND *SDLSNDCopy(const SDLSND *sound);
// Samples waiting in the queue, read under the audio lock; 0 for a null record or queue.
int32_t SDLSNDWaiting(SDLSND *sound);
// Takes SDL's audio lock (context: the SDLSND record, unused); pairs with SDLSNDUnlock.
void SDLSNDLock(void *context);
// Releases the lock taken by SDLSNDLock.
void SDLSNDUnlock(void *context);

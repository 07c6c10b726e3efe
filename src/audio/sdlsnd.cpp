#include "audio/sdlsnd.h"

#include <SDL.h>

#include <new>

#include "core/module.h"

namespace {

// Trace lines of every operation; off in the delivered builds.
constexpr bool sdlsndTrace = false;

static_assert(sdlsndRate == 44100 && sdlsndBufferValues == 4096);

void Trace(const char *line) { ModuleTrace(sdlsndTrace, line); }

// Drops the played head and moves on to the next sample; false when the queue is empty.
bool NextHead(SDLSND *sound, const SAMPLE *&head)
{
    LISTRemove(sound->queue, 0);
    sound->position = 0;
    if (sound->queue->count < 1) {
        head = nullptr;
        return false;
    }
    head = static_cast<const SAMPLE *>(LISTGet(sound->queue, 0));
    return true;
}

}  // namespace

SDLSND *SDLSNDNew()
{
    Trace("SDLSNDNew_\n");
    if (SDL_Init(0xFFFF) != 0) {
        Trace("ERR Init SDL\n");
        Trace("_SDLSNDNew\n");
        return nullptr;
    }
    SDLSND *sound = new (std::nothrow) SDLSND{};
    if (sound == nullptr) {
        Trace("ERR calloc SDLSND\n");
        Trace("_SDLSNDNew\n");
        return nullptr;
    }
    SDL_AudioSpec desired{};
    desired.freq = sdlsndRate;
    desired.format = AUDIO_S16LSB;
    desired.channels = 1;
    desired.samples = static_cast<Uint16>(sdlsndBufferValues);
    desired.callback = SDLSNDCallback;
    desired.userdata = sound;
    // Every field is in place before the device (and with it the audio thread)
    // exists, so the callback never sees a half-made record.
    sound->rate = sdlsndRate;
    sound->resolution = sdlsndResolution;
    sound->sign = 's';
    sound->order = 'l';
    sound->mute = 0;
    sound->queue = LISTNew();
    if (sound->queue == nullptr) {
        delete sound;
        Trace("ERR void snd->queue\n");
        Trace("_SDLSNDNew\n");
        return nullptr;
    }
    if (SDL_OpenAudio(&desired, nullptr) < 0) {
        LISTFree(&sound->queue);
        delete sound;
        Trace("ERR open audio\n");
        Trace("_SDLSNDNew\n");
        return nullptr;
    }
    SDL_PauseAudio(0);
    Trace("_SDLSNDNew\n");
    return sound;
}

void SDLSNDFree(SDLSND **handle)
{
    Trace("SDLSNDFree_\n");
    if (handle == nullptr || *handle == nullptr) {
        Trace("ERR void parameter\n");
        Trace("_SDLSNDFree\n");
        return;
    }
    SDLSND *sound = *handle;
    // Taking and releasing the lock waits out a callback in progress; the device
    // is closed after the unlock, since closing destroys the lock itself and a
    // lock must not be destroyed while held.
    SDL_PauseAudio(1);
    SDL_LockAudio();
    SDL_UnlockAudio();
    SDL_CloseAudio();
    delete[] sound->buffer;
    if (sound->queue != nullptr) {
        LISTFree(&sound->queue);
    }
    delete sound;
    *handle = nullptr;
    Trace("_SDLSNDFree\n");
}

void SDLSNDPlaySAMPLE(SDLSND *sound, SAMPLE *sample)
{
    Trace("SDLSNDPlaySAMPLE_\n");
    if (sound == nullptr || sample == nullptr) {
        Trace("ERR void parameter\n");
        Trace("_SDLSNDPlaySAMPLE\n");
        return;
    }
    SDL_LockAudio();
    if (sound->queue == nullptr) {
        Trace("ERR void snd->queue\n");
        sound->queue = LISTNew();
    }
    // The append may reallocate the item array the callback reads: under the lock.
    LISTAppend(sound->queue, sample);
    SDL_UnlockAudio();
    Trace("_SDLSNDPlaySAMPLE\n");
}

void SDLSNDCallback(void *userdata, uint8_t *stream, int len)
{
    Trace("SDLSNDCallback_\n");
    SDLSND *sound = static_cast<SDLSND *>(userdata);
    if (sound == nullptr || stream == nullptr) {
        Trace("ERR void parameter\n");
        Trace("_SDLSNDCallback\n");
        return;
    }
    if (len <= 0) {
        Trace("ERR wrong length\n");
        Trace("_SDLSNDCallback\n");
        return;
    }
#ifdef __EMSCRIPTEN__
    // The desktop SDL fills the buffer with silence before every call; the
    // browser's SDL hands over the same buffer again with the last call's
    // values in it, which an empty or drained queue would play once more.
    for (int i = 0; i < len; ++i) {
        stream[i] = 0;
    }
#endif
    if (sound->queue == nullptr || sound->queue->count < 1) {
        Trace("ERR underflow\n");
        Trace("_SDLSNDCallback\n");
        return;
    }
    const SAMPLE *head = static_cast<const SAMPLE *>(LISTGet(sound->queue, 0));
    if (sound->mute == 1 || head == nullptr) {
        for (int i = 0; i < len; ++i) {
            stream[i] = 0;
        }
        Trace("_SDLSNDCallback\n");
        return;
    }
    const int values = len / 2;
    for (int i = 0; i < values; ++i) {
        // A sample with nothing left at position (empty, or cut while queued) is
        // passed over, so only real values reach the device.
        while (head != nullptr && sound->position >= head->length) {
            if (!NextHead(sound, head)) {
                Trace("_SDLSNDCallback\n");
                return;  // drained: the rest of the buffer stays as it was
            }
        }
        if (head == nullptr) {
            // A null entry plays as silence to the end of this buffer.
            for (int j = 2 * i; j < 2 * values; ++j) {
                stream[j] = 0;
            }
            break;
        }
        // Only the low 16 bits are sent: 32768 plays as -32768, by design.
        const uint32_t v = static_cast<uint32_t>(SAMPLEGet(head, sound->position));
        stream[2 * i] = static_cast<uint8_t>(v & 0xFFu);
        stream[2 * i + 1] = static_cast<uint8_t>((v >> 8) & 0xFFu);
        sound->position += 1;
        if (sound->position >= head->length && !NextHead(sound, head)) {
            break;
        }
    }
    Trace("_SDLSNDCallback\n");
}

void SDLSNDPlay(SDLSND *sound)
{
    Trace("SDLSNDPlay_\n");
    if (sound == nullptr) {
        Trace("ERR void parameter\n");
    }
    Trace("_SDLSNDPlay\n");
}

const char *SDLSNDToASCII(const SDLSND *sound)
{
    Trace("SDLSNDToASCII_\n");
    if (sound == nullptr) {
        Trace("ERR void parameter\n");
        Trace("_SDLSNDToASCII\n");
        return nullptr;
    }
    Trace("_SDLSNDToASCII\n");
    return "";
}

SDLSND *SDLSNDFromASCII(const char *)
{
    Trace("SDLSNDFromASCII_\n");
    Trace("_SDLSNDFromASCII\n");
    return nullptr;
}

bool SDLSNDEqual(const SDLSND *a, const SDLSND *b)
{
    Trace("SDLSNDEqual_\n");
    Trace("_SDLSNDEqual\n");
    return a != nullptr && b != nullptr;
}

SDLSND *SDLSNDCopy(const SDLSND *)
{
    Trace("SDLSNDCopy_\n");
    Trace("_SDLSNDCopy\n");
    return nullptr;
}

int32_t SDLSNDWaiting(SDLSND *sound)
{
    if (sound == nullptr) {
        return 0;
    }
    SDL_LockAudio();
    const int32_t waiting = sound->queue != nullptr ? sound->queue->count : 0;
    SDL_UnlockAudio();
    return waiting;
}

// In the browser the callback runs on the main thread, only while the main
// loop sleeps (SDL_Delay yields there), never inside a locked stretch: SDL's
// audio lock does nothing there and needs to do nothing.
void SDLSNDLock(void *) { SDL_LockAudio(); }

void SDLSNDUnlock(void *) { SDL_UnlockAudio(); }

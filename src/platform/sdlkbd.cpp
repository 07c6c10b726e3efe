#include "platform/sdlkbd.h"

#include <SDL.h>

#include <cstdio>
#include <new>

#include "core/module.h"
#include "platform/sdldpy.h"

// Trace lines around every operation; off in both builds.
constexpr bool sdlkbdTrace = false;

namespace {

constexpr int keyBufferSize = 8;
constexpr int keySymbols = 256;  // symbols at or above this have no key code

SDLKBD *theKeyboard = nullptr;

// Prints the entry line on construction and the exit line on every return.
class Trace {
public:
    explicit Trace(const char *name) : name_(name) { Line("%s_\n"); }
    ~Trace() { Line("_%s\n"); }
    Trace(const Trace &) = delete;
    Trace &operator=(const Trace &) = delete;

private:
    void Line(const char *format) const
    {
        if (sdlkbdTrace) {
            std::printf(format, name_);
        }
    }
    const char *name_;
};

void TraceKey(SDLKey symbol, uint8_t code)
{
    if (sdlkbdTrace) {
        std::printf("keyName=%s\n", SDL_GetKeyName(symbol));
        std::printf("keySym=%c\n", static_cast<char>(code));
    }
}

void Report(const char *line) { ModuleTrace(sdlkbdTrace, line); }

}  // namespace

SDLKBD *SDLKBDNew()
{
    const Trace trace("SDLKBDNew");
    if (SDLDPYCurrent() == nullptr) {
        Report("ERR SDL not init'ed\n");
        return nullptr;
    }
    if (theKeyboard != nullptr) {
        return theKeyboard;
    }
    auto *keyboard = new (std::nothrow) SDLKBD{};
    if (keyboard == nullptr) {
        return nullptr;
    }
    keyboard->keys = new (std::nothrow) uint8_t[keyBufferSize]{};
    if (keyboard->keys == nullptr) {
        delete keyboard;
        return nullptr;
    }
    theKeyboard = keyboard;
    return theKeyboard;
}

void SDLKBDFree(SDLKBD **handle)
{
    const Trace trace("SDLKBDFree");
    if (handle == nullptr || *handle == nullptr) {
        Report("ERR void parameter\n");
        return;
    }
    if (*handle == theKeyboard) {
        theKeyboard = nullptr;
    }
    SDLKBD *keyboard = *handle;
    delete[] keyboard->keys;
    delete keyboard;
    *handle = nullptr;
}

char *SDLKBDToASCII(const SDLKBD *keyboard)
{
    const Trace trace("SDLKBDToASCII");
    if (keyboard == nullptr) {
        Report("ERR void parameter\n");
        return nullptr;
    }
    return new (std::nothrow) char[1]{};
}

SDLKBD *SDLKBDFromASCII(const char *text)
{
    const Trace trace("SDLKBDFromASCII");
    if (text == nullptr) {
        Report("ERR void parameter\n");
    }
    return nullptr;
}

bool SDLKBDEqual(const SDLKBD *a, const SDLKBD *b)
{
    const Trace trace("SDLKBDEqual");
    if (a == nullptr || b == nullptr) {
        Report("ERR void parameter\n");
        return false;
    }
    return a == b;
}

SDLKBD *SDLKBDCopy(const SDLKBD *keyboard)
{
    const Trace trace("SDLKBDCopy");
    if (keyboard == nullptr) {
        Report("ERR void parameter\n");
    }
    return nullptr;
}

void SDLKBDGetKey(SDLKBD *keyboard)
{
    const Trace trace("SDLKBDGetKey");
    if (SDLDPYCurrent() == nullptr) {
        Report("ERR no display\n");
        return;
    }
    if (keyboard == nullptr || keyboard->keys == nullptr) {
        Report("ERR void parameter\n");
        return;
    }
    bool quit = false;
    // A key pressed since the last poll is kept even when it has been released
    // again before this one: a quick tap must not be lost.
    bool pressed = false;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        // Once the window has been closed, later events of the same drain must
        // not turn the quit back into "no key".
        if (quit) {
            continue;
        }
        switch (event.type) {
        case SDL_KEYDOWN: {
            const SDLKey symbol = event.key.keysym.sym;
            // Reducing larger symbols modulo 256 would turn F2 into Escape and
            // F7 into Space; such keys have no code and change nothing.
            if (symbol >= 0 && symbol < keySymbols) {
                keyboard->keys[0] = static_cast<uint8_t>(symbol);
                pressed = true;
                TraceKey(symbol, keyboard->keys[0]);
            }
            break;
        }
        case SDL_KEYUP:
            if (!pressed) {
                keyboard->keys[0] = 0;
            }
            break;
        case SDL_QUIT:
            keyboard->keys[0] = SDLKBDQuitCode;
            quit = true;
            break;
        default: break;
        }
    }
}

// SDLKBD: turns SDL's event queue into one current key code, read once per frame.
#pragma once

#include <cstdint>

inline constexpr const char *SDLKBDIdentity[] = {"SDLKBD", "20030728", "QXW"};

// Key code reported when the window is closed (SDL's quit event): Escape.
inline constexpr uint8_t SDLKBDQuitCode = 27;

struct SDLKBD {
    // Eight zeroed bytes; keys[0] is the current key code, 0 when no key is
    // waiting. The reader writes 0 into it once it has acted on the key.
    uint8_t *keys;
};

// The one keyboard (the same one on every call); null while no display is open.
SDLKBD *SDLKBDNew();
// Releases the keyboard held in *handle and clears it; a later SDLKBDNew makes a fresh one.
void SDLKBDFree(SDLKBD **handle);
// Always a new empty text (delete[] it); null without a keyboard.
char *SDLKBDToASCII(const SDLKBD *keyboard);
// Never makes a keyboard: always null.
SDLKBD *SDLKBDFromASCII(const char *text);
// True when both are given and are the same keyboard.
bool SDLKBDEqual(const SDLKBD *a, const SDLKBD *b);
// Never duplicates: always null.
SDLKBD *SDLKBDCopy(const SDLKBD *keyboard);
// Drains SDL's event queue. Key-down stores the key symbol (symbols of 256 and
// above leave the code as it is); of several presses the last one counts, and
// one pressed in this drain stays even if released again. Key-up stores 0 only
// when no key was pressed in this drain. The quit event stores SDLKBDQuitCode
// and holds it for the rest of the drain. Does nothing while no display is open.
void SDLKBDGetKey(SDLKBD *keyboard);

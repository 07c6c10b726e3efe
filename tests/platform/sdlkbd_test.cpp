#include "platform/sdlkbd.h"

#include <gtest/gtest.h>

#include "display_helpers.h"

namespace {

void PushKey(Uint8 type, SDLKey symbol)
{
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = symbol;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void Press(SDLKey symbol) { PushKey(SDL_KEYDOWN, symbol); }
void Release(SDLKey symbol) { PushKey(SDL_KEYUP, symbol); }

void PushQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

// A keyboard over the open display, with SDL's queue and the current code cleared.
SDLKBD *FreshKeyboard()
{
    OpenDisplay();
    SDLKBD *keyboard = SDLKBDNew();
    DrainEvents();
    if (keyboard != nullptr) {
        keyboard->keys[0] = 0;
    }
    return keyboard;
}

}  // namespace

TEST(SDLKBDNew, NeedsTheDisplayAndIsMadeOnce)
{
    SDLDPY *display = OpenDisplay();
    SDLKBD *earlier = SDLKBDNew();
    SDLKBDFree(&earlier);  // so that the next one is made afresh
    SDLDPYFree(&display);
    EXPECT_EQ(SDLKBDNew(), nullptr);
    OpenDisplay();

    SDLKBD *keyboard = SDLKBDNew();
    ASSERT_NE(keyboard, nullptr);
    ASSERT_NE(keyboard->keys, nullptr);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(keyboard->keys[i], 0) << i;
    }
    EXPECT_EQ(SDLKBDNew(), keyboard);
}

TEST(SDLKBDFree, ReleasesTheKeyboardAndAllowsAFreshOne)
{
    SDLKBD *keyboard = FreshKeyboard();
    ASSERT_NE(keyboard, nullptr);
    SDLKBDFree(nullptr);
    SDLKBD *none = nullptr;
    SDLKBDFree(&none);
    SDLKBDFree(&keyboard);
    EXPECT_EQ(keyboard, nullptr);
    keyboard = SDLKBDNew();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(SDLKBDNew(), keyboard);
}

TEST(SDLKBDProtocol, NeverDuplicatesAndComparesByIdentity)
{
    SDLKBD *keyboard = FreshKeyboard();
    ASSERT_NE(keyboard, nullptr);
    uint8_t keys[8] = {};
    SDLKBD other{keys};

    char *text = SDLKBDToASCII(keyboard);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    delete[] text;
    EXPECT_EQ(SDLKBDToASCII(nullptr), nullptr);

    EXPECT_TRUE(SDLKBDEqual(keyboard, keyboard));
    EXPECT_FALSE(SDLKBDEqual(keyboard, &other));
    EXPECT_FALSE(SDLKBDEqual(keyboard, nullptr));
    EXPECT_EQ(SDLKBDCopy(keyboard), nullptr);
    EXPECT_EQ(SDLKBDCopy(nullptr), nullptr);
    EXPECT_EQ(SDLKBDFromASCII(""), nullptr);
    EXPECT_EQ(SDLKBDFromASCII(nullptr), nullptr);
}

TEST(SDLKBDGetKey, TheLastPressWinsAndATapIsNeverLost)
{
    SDLKBD *keyboard = FreshKeyboard();
    ASSERT_NE(keyboard, nullptr);

    Press(SDLK_q);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 'q');

    // The code stays until a key event changes it or the reader clears it.
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 'q');

    Press(SDLK_5);
    Press(SDLK_SPACE);
    Press(SDLK_ESCAPE);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 27);

    // A key pressed and released between two polls is seen once; of several
    // such taps the last one counts.
    keyboard->keys[0] = 0;
    Press(SDLK_5);
    Release(SDLK_5);
    Press(SDLK_b);
    Release(SDLK_b);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 'b');
    keyboard->keys[0] = 0;
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 0);

    // A release in a later drain clears the code, whichever key it was.
    Press(SDLK_m);
    SDLKBDGetKey(keyboard);
    Release(SDLK_u);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 0);

    // A release before a press in the same drain leaves the press.
    Release(SDLK_m);
    Press(SDLK_o);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 'o');

    // The queue is drained whole: a second poll finds nothing left.
    Press(SDLK_r);
    SDLKBDGetKey(keyboard);
    keyboard->keys[0] = 0;
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 0);
}

TEST(SDLKBDGetKey, SymbolsOf256AndAboveHaveNoCode)
{
    SDLKBD *keyboard = FreshKeyboard();
    ASSERT_NE(keyboard, nullptr);

    // F2 and F7 would otherwise alias Escape and Space, Super and Meta the digits.
    for (const SDLKey symbol : {SDLK_KP0, SDLK_F2, SDLK_F7, SDLK_LSUPER, SDLK_RMETA, SDLK_LMETA, SDLK_RSHIFT}) {
        keyboard->keys[0] = 0;
        Press(symbol);
        SDLKBDGetKey(keyboard);
        EXPECT_EQ(keyboard->keys[0], 0) << "symbol " << symbol;

        keyboard->keys[0] = 'p';
        Press(symbol);
        SDLKBDGetKey(keyboard);
        EXPECT_EQ(keyboard->keys[0], 'p') << "symbol " << symbol;
    }
    // Their release still clears the code.
    Release(SDLK_F2);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 0);

    // The highest symbol below 256 keeps its code.
    Press(SDLK_WORLD_95);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 255);
    Press(SDLK_UNKNOWN);  // symbol 0 is stored like any other
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 0);
}

TEST(SDLKBDGetKey, ClosingTheWindowReadsAsEscape)
{
    SDLKBD *keyboard = FreshKeyboard();
    ASSERT_NE(keyboard, nullptr);

    PushQuit();
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], SDLKBDQuitCode);
    EXPECT_EQ(SDLKBDQuitCode, 27);

    // Events queued behind the quit cannot undo it.
    keyboard->keys[0] = 0;
    Press(SDLK_SPACE);
    PushQuit();
    Release(SDLK_SPACE);
    Press(SDLK_5);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 27);

    // And the next drain starts afresh.
    Press(SDLK_6);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], '6');
}

TEST(SDLKBDGetKey, OtherEventsAreIgnored)
{
    SDLKBD *keyboard = FreshKeyboard();
    ASSERT_NE(keyboard, nullptr);
    keyboard->keys[0] = 'i';
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 'i');
}

TEST(SDLKBDGetKey, DoesNothingWithoutDisplayOrKeyboard)
{
    SDLKBD *keyboard = FreshKeyboard();
    ASSERT_NE(keyboard, nullptr);
    Press(SDLK_o);
    SDLKBDGetKey(nullptr);
    SDLDPY *display = SDLDPYCurrent();
    SDLDPYFree(&display);
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 0);
    // The key stayed queued for the next poll once a display is open again.
    OpenDisplay();
    SDLKBDGetKey(keyboard);
    EXPECT_EQ(keyboard->keys[0], 'o');
}

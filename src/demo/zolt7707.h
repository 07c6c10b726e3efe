// ZOLT7707: the demo driver. Owns the program's long-lived objects, builds the
// scene, runs the shared frame tail and the seven parts of the endless cycle.
//
// Every random value here is one call of RANDOMNext, taken in the order the
// code reads: the same keys at the same frames give the same pictures and music.
#pragma once

#include <cstdint>

#include "audio/music.h"
#include "demo/assets.h"

// The main module's identity: the five fields of the protocol, then the three
// built-in texts (the wire font, the glyph sheet and the scroll text).
inline constexpr auto &ZOLT7707Identity = zolt7707IdentityRecord;

// The size of the screen; every size and position the driver uses derives from it.
inline constexpr int32_t screenWidth = 256;
inline constexpr int32_t screenHeight = 256;

struct CURSORX;
struct FONT;
struct IMG;
struct LFONT;
struct LSCROLL;
struct RASTER;
struct SCROLL;

// What the frame cycle needs of the machine it runs on, and no more. The
// programs fill it with the SDL display, keyboard, frame timer and sound
// output (src/demo/main.cpp); the capture tool and the tests fill it with
// their own, so the driver itself never touches SDL. Every function is set,
// but for the sound sink's, which are null when there is no sound.
struct ZOLT7707Platform {
    void (*present)(const IMG *image);     // puts the picture on the screen
    int8_t (*key)();                       // the key pressed since the last call, once; 0 for none
    uint32_t (*clock)();                   // the frame timer's clock: microseconds, modulo 2^32
    void (*sleep)(uint32_t milliseconds);  // the frame timer's sleep
    // The sound sink: how many samples wait to be played (the music is queued
    // again below 4), and queueing one more, which stays the caller's.
    int32_t (*waiting)();
    void (*queue)(SAMPLE *sample);
    MUSICGuard guard;          // held around every rewrite of a sample the sink may be playing; may be empty
    void (*exit)(int status);  // ends the process after the quit fade-out
    void (*release)();         // stops the sound, closes the display and keyboard
};

// ---- Long-lived objects, made once and kept until the process ends ----
extern IMG *screenImage;  // every part draws into it
extern IMG *blurImage;    // made on the first blurred frame
extern CURSORX *rasterCursor;
extern RASTER *raster;    // one colour per screen row
extern FONT *bitmapFont;  // 16 x 16 glyphs from the built-in glyph sheet
extern SCROLL *textScroller;
extern LIST *glyphList;  // OBJ2D glyphs of the built-in wire font, by character code
extern LFONT *objectFont;
extern LSCROLL *lowScroller;
extern LSCROLL *bigScroller;
extern MUSIC *music;
extern SAMPLE *colourTable;  // 1536 colours in six uniform blocks

// ---- Per-part lists, made on a part's first run and reused on every pass ----
extern LIST *sineLines;    // 256 SINELINE
extern LIST *starLayers;   // 8 LSTARS
extern LIST *lineFrames;   // 256 LFRAME
extern LIST *colourSines;  // 5 to 7 CSINE
extern LIST *lasers;       // 256 LASER

// ---- Switches the keys change ----
extern bool nextPart;
extern bool showFps;
extern bool blurOn;
extern bool fadeOn;
extern bool radialsOn;
extern uint32_t fadeColour;  // subtracted from every pixel after each frame

// ---- Start-up and shutdown ----
// Runs the driver on platform from now on (the frame timer too), makes the
// black screen image and seeds the generator.
void ZOLT7707Init(const ZOLT7707Platform &platform);
// Makes the raster, fonts, scrollers, music and colour table.
void ZOLT7707SceneInit();
// Makes the music from the sixteen built-in clips.
void ZOLT7707MusicInit();
// Releases the platform first, so that no sound still plays, then music,
// bitmap font and raster.
void ZOLT7707SceneDone();
// Fades out, then releases the platform (the sound first), the music, the
// bitmap font, the raster and the screen image. The other objects above stay
// until the process ends.
void ZOLT7707Done();

// ---- The frame cycle ----
// Pacing, frame-rate overlay, corner letters, presentation, music feed, keys.
void ZOLT7707FrameTail();
// 32 presentations, each darkening the screen image by 0x80 per channel.
void ZOLT7707FadeOut();
// The four spinning letters "ZOLT" in the top-right corner.
void ZOLT7707Letters();
// Presents the screen image (blurred when blurOn), then fades or clears it.
void ZOLT7707Show();
// Advances the music and queues its loop when fewer than 4 samples wait.
void ZOLT7707Music();
// Acts on one key code (compared as a signed 8-bit character).
void ZOLT7707OnKey(int8_t code);
// The twelve raster bars on their moving sine wave.
void ZOLT7707Raster();
// The glyph stamps of the star-field part.
void ZOLT7707Glyphs();

// ---- The seven parts, in the order of the cycle ----
void ZOLT7707PartScroll();
void ZOLT7707PartSineLines();
void ZOLT7707PartStars();
void ZOLT7707PartFrames();
void ZOLT7707PartColourSine();
void ZOLT7707PartRadials();
void ZOLT7707PartLasers();
// One pass of the cycle: the seven parts in order.
void ZOLT7707Cycle();

void ZOLT7707Error();

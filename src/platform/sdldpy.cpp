#include "platform/sdldpy.h"

#include <SDL.h>

#include <new>

#include "core/module.h"
#include "gfx/img.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// Tells the page how long one presentation took (milliseconds: conversion and
// canvas update), when it has set Module.onPresent.
// (The body is JavaScript, which clang-format would misread as C++.)
// clang-format off
EM_JS(void, ReportPresent, (double milliseconds), {
    if (Module['onPresent']) {
        Module['onPresent'](milliseconds);
    }
});
// clang-format on
#endif

#ifndef ZOLT_DISPLAY_FLAGS
#define ZOLT_DISPLAY_FLAGS SDLDPYWindowFlags
#endif

constexpr Reporting sdldpyReporting = Reporting::Never;

namespace {

constexpr uint32_t buildFlags = ZOLT_DISPLAY_FLAGS;
static_assert(buildFlags == SDLDPYFullScreenFlags || buildFlags == SDLDPYWindowFlags,
              "the display opens either the full-screen or the windowed mode");

constexpr int32_t startWidth = 256;
constexpr int32_t startHeight = 256;
constexpr const char *caption = "ZOLT7707";

SDLDPY *theDisplay = nullptr;
SDL_Surface *screenSurface = nullptr;
uint32_t modeFlags = 0;
bool doubleBuffered = false;

bool ValidImage(const IMG *image)
{
    return image != nullptr && image->pixels != nullptr && image->width > 0 && image->height > 0 &&
           image->width <= INT32_MAX / 4;
}

void Present()
{
    if (doubleBuffered) {
        SDL_Flip(screenSurface);
    } else {
        SDL_UpdateRect(screenSurface, 0, 0, 0, 0);
    }
}

// The direct operations write the image's words straight into the screen
// surface, so they need a screen of exactly the image's size and layout.
bool ScreenMatches(const IMG *image)
{
    if (screenSurface == nullptr || !ValidImage(image) || image->width != theDisplay->width ||
        image->height != theDisplay->height) {
        return false;
    }
    const SDL_PixelFormat *format = screenSurface->format;
    return screenSurface->w == image->width && screenSurface->h == image->height &&
           screenSurface->pitch == image->width * 4 && format->BitsPerPixel == 32 && format->Rmask == 0x00FF0000u &&
           format->Gmask == 0x0000FF00u && format->Bmask == 0x000000FFu;
}

#ifdef __EMSCRIPTEN__
// Puts w x h RGBA pixels at the module's memory address rgba onto the page's
// canvas in one step: an ImageData laid over the memory itself (kept while
// the address, size and memory stay the same), drawn with putImageData.
// (The body is JavaScript, which clang-format would misread as C++.)
// clang-format off
EM_JS(void, PutOnCanvas, (const uint8_t *rgba, int32_t w, int32_t h), {
    var canvas = Module['canvas'];
    var cache = Module['zoltImage'];
    if (!cache || cache.buffer !== HEAPU8.buffer || cache.at !== rgba || cache.w !== w || cache.h !== h ||
        cache.canvas !== canvas) {
        cache = Module['zoltImage'] = {
            buffer: HEAPU8.buffer, at: rgba, w: w, h: h, canvas: canvas,
            context: canvas.getContext('2d'),
            image: new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4), w, h)
        };
    }
    cache.context.putImageData(cache.image, 0, 0);
});
// clang-format on

// The canvas's byte order (R, G, B, A in memory), converted from the image's
// words; reused from frame to frame.
uint32_t *canvasPixels = nullptr;
int64_t canvasPixelCount = 0;

// Emscripten's SDL 1.2 backs the screen surface with the page's canvas, but
// locking and unlocking it copies the whole canvas in JavaScript both ways.
// The image goes to the canvas directly instead: converted to RGBA bytes
// (the word 0xAABBGGRR, alpha opaque) in the module's memory, then drawn in
// one step; the rest of a larger canvas keeps what it showed.
void ShowOnCanvas(const IMG *image, int32_t w, int32_t h)
{
    const double started = emscripten_get_now();
    const int64_t count = int64_t{w} * h;
    if (count > canvasPixelCount) {
        delete[] canvasPixels;
        canvasPixels = new (std::nothrow) uint32_t[static_cast<size_t>(count)];
        canvasPixelCount = canvasPixels != nullptr ? count : 0;
        if (canvasPixels == nullptr) {
            SDLDPYError();
            return;
        }
    }
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t *from = image->pixels + int64_t{y} * image->width;
        uint32_t *to = canvasPixels + int64_t{y} * w;
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = from[x];
            to[x] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
        }
    }
    PutOnCanvas(reinterpret_cast<const uint8_t *>(canvasPixels), w, h);
    ReportPresent(emscripten_get_now() - started);
}
#endif

}  // namespace

SDLDPY *SDLDPYNew()
{
    if (theDisplay != nullptr) {
        SDLDPYError();
        return theDisplay;
    }
    theDisplay = new (std::nothrow) SDLDPY{};
    if (theDisplay == nullptr) {
        SDLDPYError();
        return nullptr;
    }
    SDLDPYSetMode(theDisplay, startWidth, startHeight);
    return theDisplay;
}

void SDLDPYFree(SDLDPY **handle)
{
    if (handle == nullptr || *handle == nullptr || *handle != theDisplay) {
        SDLDPYError();
        return;
    }
    // The video surface belongs to SDL until SDL_Quit; freeing it only lets go of it.
    SDL_FreeSurface(screenSurface);
    screenSurface = nullptr;
    doubleBuffered = false;
    delete theDisplay;
    theDisplay = nullptr;
    *handle = nullptr;
}

char *SDLDPYToASCII(const SDLDPY *display)
{
    if (display == nullptr || display != theDisplay) {
        SDLDPYError();
        return nullptr;
    }
    return new (std::nothrow) char[1]{};
}

SDLDPY *SDLDPYFromASCII(const char *text)
{
    if (text == nullptr || theDisplay != nullptr) {
        SDLDPYError();
    }
    return nullptr;
}

bool SDLDPYEqual(const SDLDPY *a, const SDLDPY *b)
{
    if (a == nullptr || b == nullptr || a != b || a != theDisplay) {
        SDLDPYError();
        return false;
    }
    return true;
}

SDLDPY *SDLDPYCopy(SDLDPY *display)
{
    if (display == nullptr || display != theDisplay) {
        SDLDPYError();
        return nullptr;
    }
    return theDisplay;
}

void SDLDPYSetMode(SDLDPY *display, int32_t width, int32_t height)
{
    if (display == nullptr || display != theDisplay || width < 0 || height < 0) {
        SDLDPYError();
        return;
    }
    if (screenSurface != nullptr) {
        SDL_FreeSurface(screenSurface);
        screenSurface = nullptr;
        doubleBuffered = false;
    }
    modeFlags = buildFlags;
    screenSurface = SDL_SetVideoMode(width, height, 0, modeFlags);
    if (screenSurface == nullptr) {
        SDLDPYError();
        return;
    }
    SDL_WM_SetCaption(caption, caption);
    display->depth = screenSurface->format->BitsPerPixel;
    display->width = width;
    display->height = height;
    doubleBuffered = (screenSurface->flags & SDL_DOUBLEBUF) != 0;
}

void SDLDPYShow(SDLDPY *display, const IMG *image)
{
    if (display == nullptr || display != theDisplay || !ValidImage(image) || screenSurface == nullptr) {
        SDLDPYError();
        return;
    }
    const int32_t w = image->width < display->width ? image->width : display->width;
    const int32_t h = image->height < display->height ? image->height : display->height;
    if (w <= 0 || h <= 0) {
        SDLDPYError();
        return;
    }
#ifdef __EMSCRIPTEN__
    ShowOnCanvas(image, w, h);
#else
    // The conversion surface is laid over the image's own buffer, rows at the
    // image's row length, so a larger image is read as its top-left w x h part.
    SDL_Surface *source = SDL_CreateRGBSurfaceFrom(image->pixels, w, h, 32, image->width * 4, 0x00FF0000u, 0x0000FF00u,
                                                   0x000000FFu, 0xFF000000u);
    if (source == nullptr) {
        SDLDPYError();
        return;
    }
    SDL_Surface *converted = SDL_DisplayFormat(source);
    SDL_FreeSurface(source);
    if (converted == nullptr) {
        SDLDPYError();
        return;
    }
    SDL_UpperBlit(converted, nullptr, screenSurface, nullptr);
    SDL_FreeSurface(converted);
    Present();
#endif
}

void SDLDPYShowDirect(SDLDPY *display, const IMG *image)
{
    if (display == nullptr || display != theDisplay || !ScreenMatches(image)) {
        SDLDPYError();
        return;
    }
    if (SDL_LockSurface(screenSurface) != 0) {
        SDLDPYError();
        return;
    }
    auto *target = static_cast<uint32_t *>(screenSurface->pixels);
    for (int64_t i = int64_t{image->width} * image->height - 1; i >= 0; --i) {
        target[i] = image->pixels[i];
    }
    SDL_UnlockSurface(screenSurface);
    Present();
}

// Both direct operations copy the image, last pixel to first, into the locked
// screen surface, so they are one implementation under two names.
void SDLDPYShowCopy(SDLDPY *display, const IMG *image) { SDLDPYShowDirect(display, image); }

void SDLDPYError() { ModuleReport(sdldpyReporting, "SDLDPY error\n"); }

SDLDPY *SDLDPYCurrent() { return theDisplay; }

bool SDLDPYHasScreen(const SDLDPY *display)
{
    return display != nullptr && display == theDisplay && screenSurface != nullptr;
}

const char *SDLDPYFailure() { return SDL_GetError(); }

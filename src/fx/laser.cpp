#include "fx/laser.h"

#include <new>

#include "core/module.h"
#include "gfx/img.h"
#include "gfx/random.h"

namespace {

constexpr Reporting laserReporting = Reporting::Off;

// Speeds after LASERInit: 2 .. 5 pixels a frame either way, never -1, 0 or 1.
constexpr int32_t initRange = 4;
constexpr int32_t initMinimum = 2;

bool HasArea(const IMG *image) { return image != nullptr && image->width > 0 && image->height > 0; }

// A coordinate that left 0 .. limit - 1 stops on the border: its own speed
// becomes 0 and the other axis gets a new random speed, so the beam turns
// along the border.
void StopAtBorder(LASER *laser, int64_t &coordinate, int64_t limit, int64_t &speed, int64_t &other)
{
    if (coordinate >= limit || coordinate < 0) {
        coordinate = coordinate < 0 ? 0 : limit - 1;
        speed = 0;
        other = LASERRandomSpeed(laser);
    }
}

}  // namespace

LASER *LASERNew()
{
    LASER *laser = new (std::nothrow) LASER{};
    if (laser == nullptr) {
        LASERError();
    }
    return laser;
}

void LASERFree(LASER **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        LASERError();
        return;
    }
    delete *handle;
    *handle = nullptr;
}

void LASERInit(LASER *laser, IMG *image)
{
    // The width and height are divisors below.
    if (laser == nullptr || !HasArea(image)) {
        LASERError();
        return;
    }
    const int32_t w = image->width;
    const int32_t h = image->height;
    // The order of these draws is fixed: the same seed must give the same beams.
    laser->image = image;
    laser->x0 = RANDOMNext() % w;
    laser->y0 = RANDOMNext() % h;
    laser->x1 = RANDOMNext() % w;
    laser->y1 = 0;
    laser->range = initRange;
    laser->minimum = initMinimum;
    laser->dx = LASERRandomSpeed(laser);
    laser->dy = LASERRandomSpeed(laser);
    const int32_t low = RANDOMNext();
    const int32_t high = RANDOMNext();
    laser->colour = (low | (high << 16)) & 0xFFFFFF;
}

int32_t LASERRandomSpeed(LASER *laser)
{
    // range is a divisor: a laser that was never initialised has none.
    if (laser == nullptr || laser->range <= 0) {
        LASERError();
        return 0;
    }
    const int64_t speed = RANDOMNext() % laser->range + int64_t{laser->minimum};
    const bool negative = (RANDOMNext() & 1) != 0;
    return static_cast<int32_t>(negative ? -speed : speed);
}

void LASERMove(LASER *laser)
{
    if (laser == nullptr || !HasArea(laser->image)) {
        LASERError();
        return;
    }
    const int64_t w = laser->image->width;
    const int64_t h = laser->image->height;
    const int64_t halfW = w >> 1;
    const int64_t halfH = h >> 1;
    int64_t a = laser->dx;
    int64_t b = laser->y1;
    int64_t d = int64_t{laser->x1} + laser->dx;
    int64_t e = laser->dy;
    // Crossing a side edge: stop on it and run along it towards its middle,
    // at the speed that carried the point across.
    if (d >= w) {
        e = b < halfH ? a : -a;
        a = 0;
        d = w - 1;
    } else if (d < 0) {
        e = b < halfH ? -a : a;
        a = 0;
        d = 0;
    }
    b += e;
    // The same for the top and bottom edges.
    if (b >= h) {
        a = d < halfW ? e : -e;
        e = 0;
        b = h - 1;
    } else if (b < 0) {
        a = d < halfW ? -e : e;
        e = 0;
        b = 0;
    }
    laser->dx = static_cast<int32_t>(a);
    laser->dy = static_cast<int32_t>(e);
    laser->x1 = static_cast<int32_t>(d);
    laser->y1 = static_cast<int32_t>(b);
}

void LASERMoveRandom(LASER *laser)
{
    if (laser == nullptr || !HasArea(laser->image)) {
        LASERError();
        return;
    }
    const int64_t w = laser->image->width;
    const int64_t h = laser->image->height;
    int64_t a = laser->dx;
    int64_t e = laser->dy;
    if (a == 0 && e == 0) {
        a = LASERRandomSpeed(laser);
        e = LASERRandomSpeed(laser);
    }
    int64_t x = laser->x1 + a;
    StopAtBorder(laser, x, w, a, e);
    int64_t y = laser->y1 + e;
    StopAtBorder(laser, y, h, e, a);
    laser->dx = static_cast<int32_t>(a);
    laser->dy = static_cast<int32_t>(e);
    laser->x1 = static_cast<int32_t>(x);
    laser->y1 = static_cast<int32_t>(y);
}

void LASERDraw(const LASER *laser)
{
    if (laser == nullptr || laser->image == nullptr) {
        LASERError();
        return;
    }
    IMGDrawLine(laser->image, laser->x0, laser->y0, laser->x1, laser->y1, static_cast<uint32_t>(laser->colour));
}

void LASERDrawFlicker(const LASER *laser)
{
    if (laser == nullptr || laser->image == nullptr) {
        LASERError();
        return;
    }
    const uint32_t colour = static_cast<uint32_t>(RANDOMNext()) & 0xFFFFFF;
    IMGDrawLine(laser->image, laser->x0, laser->y0, laser->x1, laser->y1, colour);
}

void LASERError() { ModuleReport(laserReporting, "LASER Error.\n"); }

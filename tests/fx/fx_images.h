// Images for the effect tests: an owning wrapper and pixel census helpers.
#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "gfx/img.h"

namespace fxtest {

// A black w x h image, freed with the test.
class Image {
public:
    Image(int32_t w, int32_t h) : img_(IMGNew()) { IMGResize(img_, w, h); }
    ~Image() { IMGFree(&img_); }
    Image(const Image &) = delete;
    Image &operator=(const Image &) = delete;

    IMG *get() const { return img_; }
    uint32_t at(int32_t x, int32_t y) const { return IMGGetPixel(img_, x, y); }

private:
    IMG *img_;
};

// The positions of every non-black pixel.
inline std::set<std::pair<int32_t, int32_t>> Lit(const Image &image)
{
    std::set<std::pair<int32_t, int32_t>> lit;
    for (int32_t y = 0; y < image.get()->height; ++y) {
        for (int32_t x = 0; x < image.get()->width; ++x) {
            if (image.at(x, y) != 0) {
                lit.insert({x, y});
            }
        }
    }
    return lit;
}

}  // namespace fxtest

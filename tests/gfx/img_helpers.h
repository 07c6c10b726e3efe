// Small builders shared by the image tests.
#pragma once

#include "gfx/img.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// An owning handle that releases the image with IMGFree.
struct ImgDeleter {
    void operator()(IMG *img) const { IMGFree(&img); }
};
using ImgPtr = std::unique_ptr<IMG, ImgDeleter>;

// A w x h image holding the given pixels row by row (black where none are given).
inline ImgPtr MakeImg(int32_t w, int32_t h, std::initializer_list<uint32_t> pixels = {})
{
    ImgPtr img(IMGNew());
    IMGResize(img.get(), w, h);
    std::size_t i = 0;
    for (uint32_t p : pixels) {
        img->pixels[i++] = p;
    }
    return img;
}

inline std::vector<uint32_t> Pixels(const IMG *img)
{
    return std::vector<uint32_t>(img->pixels, img->pixels + img->width * img->height);
}

// The positions of all pixels equal to colour, row by row.
inline std::vector<std::pair<int32_t, int32_t>> PointsOf(const IMG *img, uint32_t colour)
{
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int32_t y = 0; y < img->height; ++y) {
        for (int32_t x = 0; x < img->width; ++x) {
            if (img->pixels[x + y * img->width] == colour) {
                points.emplace_back(x, y);
            }
        }
    }
    return points;
}

// A new[] array of count run lengths as a vector; the array is released.
inline std::vector<int32_t> Runs(int32_t *raw, std::size_t count)
{
    std::vector<int32_t> runs(raw, raw + count);
    delete[] raw;
    return runs;
}

inline uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

// A w x h image whose pixel (x, y) is x + 1 + 16 * y: every pixel tells where it came from.
inline ImgPtr Coordinates(int32_t w, int32_t h)
{
    ImgPtr img = MakeImg(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            img->pixels[x + y * w] = static_cast<uint32_t>(x + 1 + 16 * y);
        }
    }
    return img;
}

// The pixel that Coordinates puts at (x, y).
inline uint32_t At(int32_t x, int32_t y) { return static_cast<uint32_t>(x + 1 + 16 * y); }

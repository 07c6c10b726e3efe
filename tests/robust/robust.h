// The bad-argument table: every row makes one call with a null pointer, an index
// out of range or a size of 0 or -1, and says what the caller must see: the
// neutral result (null, false, -1 or 0) with nothing changed, and exactly the
// lines the module's error switch lets it print on standard output.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gfx/img.h"

namespace robust {

struct Row {
    const char *name;            // module, operation and what is wrong with the call
    std::function<bool()> call;  // makes the call; true when the result is neutral and nothing changed
    const char *printed;         // the whole of standard output during the call
};

// Lines the modules that report in this build print.
inline constexpr const char *vec2dLine = "VEC2D error\n";
inline constexpr const char *grid2dLine = "GRID2D error\n";
inline constexpr const char *rasterLine = "RASTER error\n";

inline void RunRows(const std::vector<Row> &rows)
{
    for (const Row &row : rows) {
        testing::internal::CaptureStdout();
        const bool neutral = row.call();
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(neutral) << row.name;
        EXPECT_EQ(printed, row.printed) << row.name;
    }
}

// The bytes of a record, to tell afterwards whether a refused call touched any field.
template <typename T>
class Snapshot {
public:
    explicit Snapshot(const T *record) { std::memcpy(bytes_, record, sizeof(T)); }
    bool Same(const T *record) const { return std::memcmp(bytes_, record, sizeof(T)) == 0; }

private:
    unsigned char bytes_[sizeof(T)];
};

// Copies of count elements, compared the same way.
template <typename T>
std::vector<T> Elements(const T *first, long count)
{
    return first == nullptr || count <= 0 ? std::vector<T>{} : std::vector<T>(first, first + count);
}

// A 16 x 16 black image to hand to drawing calls.
inline IMG *Canvas()
{
    IMG *img = IMGNew();
    IMGResize(img, 16, 16);
    return img;
}

inline bool Black(const IMG *img)
{
    for (int32_t i = 0; i < img->width * img->height; ++i) {
        if (img->pixels[i] != 0) {
            return false;
        }
    }
    return true;
}

// Whether call(canvas) returned true and left the canvas black.
template <typename Call>
bool CanvasKept(Call call)
{
    IMG *img = Canvas();
    const bool result = call(img);
    const bool black = Black(img);
    IMGFree(&img);
    return result && black;
}

}  // namespace robust

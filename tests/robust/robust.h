// The bad-argument table: every row makes one call with a null pointer, an index
// out of range or a size of 0 or -1, and says what the caller must see: the
// neutral result (null, false, -1 or 0) with nothing changed, and exactly the
// lines the module's error switch lets it print on standard output.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "gfx/img.h"

namespace robust {

// Runs call(args...) and gives its result; a call that returns nothing counts as neutral,
// so only the record comparisons and the printed text judge it.
template <typename Call, typename... Args>
bool Neutral(const Call &call, Args &&...args)
{
    if constexpr (std::is_void_v<std::invoke_result_t<const Call &, Args...>>) {
        call(std::forward<Args>(args)...);
        return true;
    } else {
        return call(std::forward<Args>(args)...);
    }
}

// A row's call, returning bool or nothing (see Neutral).
class Call {
public:
    template <typename F>
    Call(F f) : run_([f] { return Neutral(f); })
    {
    }
    bool operator()() const { return run_(); }

private:
    std::function<bool()> run_;
};

struct Row {
    const char *name;          // module, operation and what is wrong with the call
    Call call;                 // makes the call; true when the result is neutral and nothing changed
    const char *printed = "";  // the whole of standard output during the call (nothing unless given)
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

// Calls for the rows every module has: Free with a null address, with a handle to a
// null record, and both at once. The handle must stay null.
template <typename T>
auto FreeNullAddress(void (*release)(T **))
{
    return [release] { release(nullptr); };
}

template <typename T>
auto FreeNullHandle(void (*release)(T **))
{
    return [release] {
        T *none = nullptr;
        release(&none);
        return none == nullptr;
    };
}

template <typename T>
auto FreeNull(void (*release)(T **))
{
    return [release] {
        T *none = nullptr;
        release(nullptr);
        release(&none);
        return none == nullptr;
    };
}

// A call for the row of a module whose text form, equality and copy only refuse null:
// each must give null or false.
template <typename ToText, typename FromText, typename Equal, typename Copy>
auto TextEqualCopyNull(ToText toText, FromText fromText, Equal equal, Copy copy)
{
    return [=] {
        return toText(nullptr) == nullptr && fromText(nullptr) == nullptr && !equal(nullptr, nullptr) &&
               copy(nullptr) == nullptr;
    };
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
    const bool result = Neutral(call, img);
    const bool black = Black(img);
    IMGFree(&img);
    return result && black;
}

// A row's call that runs CanvasKept(call).
template <typename Call>
auto OnCanvas(Call call)
{
    return [call] { return CanvasKept(call); };
}

// Sets *field to value for the call and then puts back what was there; gives the call's result.
template <typename T, typename V, typename Call>
bool With(T *field, V value, Call call)
{
    const T saved = *field;
    *field = value;
    const bool result = Neutral(call);
    *field = saved;
    return result;
}

}  // namespace robust

#include "gfx/sine.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// sin(x) for 0 <= x <= pi / 2 by its Taylor series, evaluated at compile time;
// 30 terms are far beyond double precision for this range.
constexpr double TaylorSine(double x)
{
    double term = x;
    double sum = x;
    for (int n = 1; n < 30; ++n) {
        term *= -x * x / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

constexpr int16_t RoundedEntry(int k)
{
    const double value = TaylorSine(2.0 * pi * k / sineSize) * 32767.0;
    return static_cast<int16_t>(value + 0.5);
}

constexpr SINETABLE BuildTable()
{
    SINETABLE table{};
    table.mask = sineMask;
    table.size = sineSize;
    int16_t quarter[256]{};
    for (int k = 0; k < 256; ++k) {
        quarter[k] = RoundedEntry(k);
    }
    // Two entries of the first quadrant stand one above their rounded value;
    // every quadrant is built from the first, so they repeat in all four.
    quarter[129] = 23312;
    quarter[183] = 29535;
    for (int k = 0; k < 256; ++k) {
        table.entries[k] = quarter[k];
        table.entries[256 + k] = quarter[255 - k];
        table.entries[512 + k] = static_cast<int16_t>(-quarter[k]);
        table.entries[768 + k] = static_cast<int16_t>(-quarter[255 - k]);
    }
    return table;
}

constexpr SINETABLE builtTable = BuildTable();

static_assert(sizeof(builtTable.entries) / sizeof(builtTable.entries[0]) == 1024);
static_assert(builtTable.entries[0] == 0 && builtTable.entries[255] == 32766 && builtTable.entries[256] == 32766);
static_assert(builtTable.entries[129] == 23312 && builtTable.entries[183] == 29535);

}  // namespace

const SINETABLE sineTable = builtTable;

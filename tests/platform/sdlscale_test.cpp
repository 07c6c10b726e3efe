#include "platform/sdlscale.h"

#include <gtest/gtest.h>

// Desktop heights and the window scale of a 256-pixel picture: the largest
// whole number whose window fits in three quarters of the height, at least 1.
TEST(SDLSCALEWindowScale, FitsThreeQuartersOfTheDesktopHeight)
{
    const struct {
        int32_t desktop, picture, scale;
    } rows[] = {
        {1080, 256, 3}, {1440, 256, 4}, {2160, 256, 6}, {768, 256, 2}, {683, 256, 2},
        {682, 256, 1},  {600, 256, 1},  {0, 256, 1},    {-5, 256, 1},  {1080, 0, 1},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(SDLSCALEWindowScale(row.desktop, row.picture), row.scale) << row.desktop << " x " << row.picture;
    }
}

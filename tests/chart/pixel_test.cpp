#include <gtest/gtest.h>

#include <cmath>

#include "chart/pixel_p.h"

using namespace plotvane;

// Every chart coordinate passes through roundPixel, so it must stay floor(v + 0.5) exactly: halves
// go up on both sides of zero, and far-off values stop at a billion pixels.
TEST(PixelRounding, MatchesFloorOfHalfUp) {
    const double values[] = {0.0,  -0.0, 0.5,    -0.5,   1.5,          -1.5,        2.4999999, -2.4999999,
                             -0.49999999999999994, 0.49999999999999994, 123456.5, -123456.5, 999999999.4,
                             -999999999.6, 3e9, -3e9, 1e300, -1e300};
    for (double v : values) {
        double clamped = std::fmin(std::fmax(v, -1e9), 1e9);
        EXPECT_EQ(roundPixel(v), static_cast<int>(std::floor(clamped + 0.5))) << v;
    }
    EXPECT_EQ(roundPixel(1e300), 1000000000);
    EXPECT_EQ(roundPixel(-1e300), -1000000000);
}

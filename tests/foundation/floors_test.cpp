#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/floors_p.h"

using namespace plotvane;

// These replace std::floor on the line, box and rounding fast paths, so they must agree with it
// everywhere, above all where the integer conversion they rely on runs out.
TEST(Floors, AgreeWithFloor) {
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.0, -0.0, 0.5, -0.5, 1.0, -1.0, 2.999999, -2.999999, 1e-300, -1e-300,
                             0x1p52 - 0.5, 0x1p52, 0x1p52 + 1, -0x1p52 + 0.5, -0x1p52, 0x1p53, 0x1p63, -0x1p63,
                             0x1p64, 1e308, -1e308, 4.9e-324, inf, -inf,
                             std::numeric_limits<double>::quiet_NaN()};
    for (double v : values) EXPECT_EQ(isWhole(v), v == std::floor(v)) << v;
    for (double v : {0.0, -0.0, 0.25, -0.25, 1.0, -1.0, 7.999999, -7.999999, -1e-300, 2147483646.5, -2147483647.5})
        EXPECT_EQ(floorToInt(v), static_cast<int>(std::floor(v))) << v;
}

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "draw/canvas_p.h"

using namespace plotvane;

// The whole-number test replaces v == std::floor(v) on the line and box fast paths, so it must
// agree everywhere, above all where the integer conversion it relies on runs out.
TEST(CanvasMath, WholeTestAgreesWithFloor) {
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.0, -0.0, 0.5, -0.5, 1.0, -1.0, 2.999999, -2.999999, 1e-300, -1e-300,
                             0x1p52 - 0.5, 0x1p52, 0x1p52 + 1, -0x1p52 + 0.5, -0x1p52, 0x1p53, 0x1p63, -0x1p63,
                             0x1p64, 1e308, -1e308, 4.9e-324, inf, -inf,
                             std::numeric_limits<double>::quiet_NaN()};
    for (double v : values) EXPECT_EQ(isWhole(v), v == std::floor(v)) << v;
}

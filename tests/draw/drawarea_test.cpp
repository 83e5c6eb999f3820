#include <gtest/gtest.h>

#include <plotvane/chart.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "draw/drawtest.h"

using namespace plotvane;

namespace {

constexpr double kPi = 3.14159265358979;

// Painted area in pixels of black on white, coverage read from one channel.
double paintedArea(DrawArea* d, int w, int h) {
    const uint32_t* p = d->getPixels();
    double area = 0;
    for (int k = 0; k < w * h; ++k) area += (255 - (p[k] & 0xff)) / 255.0;
    return area;
}

}  // namespace

// A radial side that ends on a sampled row must not drop that row. Every whole-degree sector of an
// ellipse (rx 30 and ry 22 put the ends at 60 and 120 degrees on whole rows) is held against the
// same sector as a fine polygon, which meets the filler's row sampling in the same way, and against
// its exact area, which one sample per row misses by at most about a radius.
TEST(DrawArea, SectorsFillTheirAreaAtEveryWholeDegree) {
    const int w = 64, h = 48, cx = 32, cy = 24, rx = 30, ry = 22;
    double worstPolygon = 0, worstExact = 0;
    int worstStart = 0, worstSpan = 0;
    for (int a1 = 0; a1 < 360; ++a1)
        for (int span = 1; span < 360; ++span) {
            auto d = drawtest::newArea(w, h);
            d->sector(cx, cy, rx, ry, a1, a1 + span, Chart::Transparent, 0x000000);
            const double area = paintedArea(d.get(), w, h);

            std::vector<double> x{double(cx)}, y{double(cy)};
            for (int k = 0; k <= span; ++k) {
                const double a = (a1 + k) * kPi / 180;
                x.push_back(cx + rx * std::sin(a));
                y.push_back(cy - ry * std::cos(a));
            }
            auto p = drawtest::newArea(w, h);
            p->polygon(DoubleArray(x.data(), int(x.size())), DoubleArray(y.data(), int(y.size())),
                       Chart::Transparent, 0x000000);

            const double polygonErr = std::fabs(area - paintedArea(p.get(), w, h));
            worstExact = std::max(worstExact, std::fabs(area - 0.5 * rx * ry * span * kPi / 180));
            if (polygonErr > worstPolygon) worstPolygon = polygonErr, worstStart = a1, worstSpan = span;
        }
    EXPECT_LT(worstPolygon, 3) << "start " << worstStart << ", span " << worstSpan;
    EXPECT_LT(worstExact, 1.25 * rx);
}

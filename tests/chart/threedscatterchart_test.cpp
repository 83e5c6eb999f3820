#include <gtest/gtest.h>

#include <plotvane/drawarea.h>
#include <plotvane/owned.h>
#include <plotvane/threedchart.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "barchart.h"

using namespace plotvane;

namespace {

Owned<ThreeDScatterChart> plainScatter() {
    Owned<ThreeDScatterChart> c(ThreeDScatterChart::create(400, 360, 0xffffff));
    c->setPlotRegion(200, 180, 200, 200, 150);
    c->setWallVisibility(false, false, false);
    return c;
}

int pixelAt(ThreeDScatterChart* c, DrawArea* d, double x, double y, double z) {
    return d->getPixel(c->getXCoor(x, y, z), c->getYCoor(x, y, z)) & 0xffffff;
}

}  // namespace

// Points with a missing coordinate are left out of the scales and the picture; groups take the
// palette's data colours in turn, or, with SameAsMainColor, the colour axis's colour of their z.
TEST(ThreeDScatterChart, ColoursAndMissingPoints) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double x1[] = {1, 1000, 4}, y1[] = {1, nan, 4}, z1[] = {1, 5, 4};
    const double x2[] = {2, 3}, y2[] = {3, 2}, z2[] = {2, 4};
    Owned<ThreeDScatterChart> c = plainScatter();
    c->addScatterGroup(DoubleArray(x1, 3), DoubleArray(y1, 3), DoubleArray(z1, 3), "a", Chart::SquareSymbol, 9);
    c->addScatterGroup(DoubleArray(x2, 2), DoubleArray(y2, 2), DoubleArray(z2, 2), "b", Chart::SquareSymbol, 9);
    DrawArea* d = c->makeChart();
    EXPECT_LT(c->xAxis()->getMaxValue(), 1000);
    EXPECT_EQ(pixelAt(c.get(), d, 1, 1, 1), c->getColor(8) & 0xffffff);
    EXPECT_EQ(pixelAt(c.get(), d, 2, 3, 2), c->getColor(9) & 0xffffff);

    Owned<ThreeDScatterChart> byZ = plainScatter();
    byZ->addScatterGroup(DoubleArray(x1, 3), DoubleArray(y1, 3), DoubleArray(z1, 3), "a", Chart::SquareSymbol, 9,
                         Chart::SameAsMainColor);
    byZ->addScatterGroup(DoubleArray(x2, 2), DoubleArray(y2, 2), DoubleArray(z2, 2), "b", Chart::SquareSymbol, 9,
                         Chart::SameAsMainColor);
    d = byZ->makeChart();
    // (4, 4, 4) and (3, 2, 4) share a height and so a colour, whatever their group.
    const int shared = pixelAt(byZ.get(), d, 4, 4, 4);
    EXPECT_EQ(shared, byZ->colorAxis()->getColor(4) & 0xffffff);
    EXPECT_EQ(pixelAt(byZ.get(), d, 3, 2, 4), shared);
    EXPECT_NE(pixelAt(byZ.get(), d, 1, 1, 1), shared);
}

// A drop line runs from its point straight down to the floor, and a symbol in front of it covers it.
TEST(ThreeDScatterChart, DropLinesReachTheFloorBehindNearerSymbols) {
    // Seen level from the front, the near point stands below the far one, on the far one's line.
    const double x[] = {5, 5}, y[] = {0, 10}, z[] = {2, 8};
    Owned<ThreeDScatterChart> c = plainScatter();
    c->setViewAngle(0, 0, 0);
    c->setPerspective(0);
    c->xAxis()->setLinearScale(0, 10, 5, 0);
    c->yAxis()->setLinearScale(0, 10, 5, 0);
    c->zAxis()->setLinearScale(0, 10, 5, 0);
    ThreeDScatterGroup* g = c->addScatterGroup(DoubleArray(x, 2), DoubleArray(y, 2), DoubleArray(z, 2), "",
                                               Chart::SquareSymbol, 15, 0x0000ff, 0x0000ff);
    g->setDropLine(0xff0000, 3);
    DrawArea* d = c->makeChart();
    EXPECT_EQ(pixelAt(c.get(), d, 5, 10, 5), 0xff0000);
    EXPECT_EQ(pixelAt(c.get(), d, 5, 10, 0.3), 0xff0000);
    EXPECT_EQ(pixelAt(c.get(), d, 5, 10, 8), 0x0000ff);
    EXPECT_EQ(pixelAt(c.get(), d, 5, 0, 2), 0x0000ff);
    EXPECT_EQ(pixelAt(c.get(), d, 5, 10, 9.5), 0xffffff);
}

// Each group has a legend entry under its name; a legend icon size draws the symbol in a box of
// that size with the icon's edge.
TEST(ThreeDScatterChart, LegendEntries) {
    const double v[] = {1, 2};
    Owned<ThreeDScatterChart> c = plainScatter();
    c->addLegend(5, 5, true, "", 8);
    c->addScatterGroup(DoubleArray(v, 2), DoubleArray(v, 2), DoubleArray(v, 2), "first");
    c->addScatterGroup(DoubleArray(v, 2), DoubleArray(v, 2), DoubleArray(v, 2), "second")
        ->setLegendIcon(20, 12, 0xff0000);
    const std::string dump = plotvane_test::textDump(c.get());
    EXPECT_NE(dump.find("\"first\""), std::string::npos);
    EXPECT_NE(dump.find("\"second\""), std::string::npos);
    EXPECT_NE(dump.find("SetSize(20, 12"), std::string::npos);
    EXPECT_NE(dump.find("0xff0000"), std::string::npos);
}

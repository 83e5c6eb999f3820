#include <gtest/gtest.h>

#include <plotvane/drawarea.h>
#include <plotvane/owned.h>
#include <plotvane/threedchart.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "barchart.h"
#include "threedview.h"

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

// Drop lines to each wall run from the point straight to the wall on the far side of the box,
// whichever side the view puts it on: the foot is worked out here from the view alone.
TEST(ThreeDScatterChart, DropLinesRunToTheFarWalls) {
    using threedview::View;
    const double views[][2] = {{30, 45}, {20, 150}, {35, 250}, {-20, 320}};
    const double px[] = {3}, py[] = {6}, pz[] = {7};
    for (const auto& v : views) {
        SCOPED_TRACE(testing::Message() << "elevation " << v[0] << " rotation " << v[1]);
        const View view(v[0], v[1], 0, 200, 180, 200, 200, 150);
        // Data to model space with every axis over 0 .. 10: x across, z up, y in depth from the back.
        auto model = [](double x, double y, double z) { return threedview::V3{x * 20, z * 15, 200 - y * 20}; };
        auto farther = [&](threedview::V3 a, threedview::V3 b) { return view.toView(a).z < view.toView(b).z; };
        const double farX = farther(model(0, 5, 5), model(10, 5, 5)) ? 0 : 10;
        const double farY = farther(model(5, 0, 5), model(5, 10, 5)) ? 0 : 10;
        const double farZ = farther(model(5, 5, 0), model(5, 5, 10)) ? 0 : 10;
        const double feet[3][3] = {{px[0], py[0], farZ}, {farX, py[0], pz[0]}, {px[0], farY, pz[0]}};
        const double wrong[3][3] = {{px[0], py[0], 10 - farZ}, {10 - farX, py[0], pz[0]}, {px[0], 10 - farY, pz[0]}};
        for (int wall = 0; wall < 3; ++wall) {
            SCOPED_TRACE(testing::Message() << "wall " << wall);
            Owned<ThreeDScatterChart> c = plainScatter();
            c->setViewAngle(v[0], v[1], 0);
            c->setPerspective(0);
            for (Axis* a : {c->xAxis(), c->yAxis(), c->zAxis()}) a->setLinearScale(0, 10, 5, 0);
            ThreeDScatterGroup* g = c->addScatterGroup(DoubleArray(px, 1), DoubleArray(py, 1), DoubleArray(pz, 1), "",
                                                       Chart::SquareSymbol, 3, 0x0000ff, 0x0000ff);
            g->setDropLine(0xff0000, 1);
            g->setDropLineWalls(wall == 0, wall == 1, wall == 2);
            DrawArea* d = c->makeChart();
            const double sx = c->getXCoor(px[0], py[0], pz[0]), sy = c->getYCoor(px[0], py[0], pz[0]);
            auto redAlong = [&](const double* foot) {
                const double fx = c->getXCoor(foot[0], foot[1], foot[2]), fy = c->getYCoor(foot[0], foot[1], foot[2]);
                int red = 0;
                for (double t : {0.3, 0.5, 0.7, 0.9}) {
                    const int pixel = d->getPixel(static_cast<int>(std::lround(sx + (fx - sx) * t)),
                                                  static_cast<int>(std::lround(sy + (fy - sy) * t)));
                    red += (pixel & 0xffffff) != 0xffffff && ((pixel >> 16) & 0xff) > 0xc0;
                }
                return red;
            };
            EXPECT_EQ(redAlong(feet[wall]), 4);
            EXPECT_LE(redAlong(wrong[wall]), 1);
        }
    }
}

// Each symbol gets an image-map area round it with the point's values in its link; the nearest
// symbol's area comes first, so where symbols overlap the pointer finds the one in front.
TEST(ThreeDScatterChart, ImageMapAreasNearestFirst) {
    const double x[] = {1, 5, 9}, y[] = {9, 5, 1}, z[] = {2, 4, 6};
    Owned<ThreeDScatterChart> c = plainScatter();
    c->setViewAngle(30, 45, 0);
    c->addScatterGroup(DoubleArray(x, 3), DoubleArray(y, 3), DoubleArray(z, 3), "pts", Chart::SquareSymbol, 10);
    c->makeChart();
    const std::string map = c->getHTMLImageMap("p.html", "", "title='{dataSetName} {z}'");
    size_t count = 0;
    for (size_t at = map.find("<area"); at != std::string::npos; at = map.find("<area", at + 1)) ++count;
    EXPECT_EQ(count, 3u);
    for (int k = 0; k < 3; ++k) {
        const std::string query = "x=" + std::to_string(int(x[k])) + "&y=" + std::to_string(int(y[k])) + "&z=" +
                                  std::to_string(int(z[k])) + "&dataSet=0&dataItem=" + std::to_string(k);
        EXPECT_NE(map.find(query), std::string::npos) << map;
    }
    EXPECT_NE(map.find("title='pts 6'"), std::string::npos);
    // From this side (1, 9) lies at the back and (9, 1) at the front.
    const int frontX = c->getXCoor(9, 1, 6), frontY = c->getYCoor(9, 1, 6);
    const std::string first = "coords=\"" + std::to_string(frontX - 5) + "," + std::to_string(frontY - 5) + ",";
    EXPECT_EQ(map.find("coords=\""), map.find(first)) << map;
}

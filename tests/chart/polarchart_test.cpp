#include <gtest/gtest.h>

#include <plotvane/drawarea.h>
#include <plotvane/owned.h>
#include <plotvane/polarchart.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "barchart.h"
#include "draw/drawtest.h"
#include "polarcharts.h"
#include "support/golden.h"
#include "support/pinnedfonts.h"

using namespace plotvane;
using plotvane_test::matchesGoldenPNG;
using plotvane_test::matchesGoldenText;
using plotvane_test::textDump;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMarker = 0xff00ff;

// The chart's picture as a PNG read back from a file.
Owned<DrawArea> decodedPNG(BaseChart* c, const std::string& name) {
    std::string path = ::testing::TempDir() + name;
    EXPECT_TRUE(c->makeChart(path.c_str()));
    Owned<DrawArea> d(DrawArea::create());
    EXPECT_TRUE(d->loadPNG(path.c_str()));
    std::remove(path.c_str());
    return d;
}

// The centre of the pixels of exactly one colour within `reach` of (x, y); false when none.
bool colourCentre(DrawArea* d, double x, double y, int reach, int color, double& cx, double& cy) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int py = int(y) - reach; py <= int(y) + reach; ++py)
        for (int px = int(x) - reach; px <= int(x) + reach; ++px)
            if (px >= 0 && py >= 0 && px < d->getWidth() && py < d->getHeight() &&
                (d->getPixel(px, py) & 0xffffff) == color) {
                sx += px + 0.5;
                sy += py + 0.5;
                ++n;
            }
    if (n == 0) return false;
    cx = sx / n;
    cy = sy / n;
    return true;
}

// A bare chart: no grid, no text, a fixed radial scale of 0 to 100 over a radius of 150.
Owned<PolarChart> bareChart() {
    Owned<PolarChart> c(PolarChart::create(400, 400, 0xffffff));
    c->setPlotArea(200, 200, 150);
    c->setGridColor(Chart::Transparent, 1, Chart::Transparent, 1);
    c->radialAxis()->setLinearScale(0, 100, 20);
    plotvane_test::hidePolarText(c.get());
    return c;
}

}  // namespace

// An oracle independent of the goldens: squares drawn at known (r, angle) in each quadrant are
// found in the PNG where x = cx + R sin(t), y = cy - R cos(t) puts them, R = 1.5 r pixels and t the
// screen angle from the start angle in the chosen direction.
TEST(PolarChart, PointsLandWhereTheMappingPutsThemInEveryQuadrant) {
    const double r[] = {80, 60, 90, 40, 100};
    const double a[] = {30, 120, 210, 300, 0};
    struct Orientation {
        double start;
        bool clockwise;
    };
    for (Orientation o : {Orientation{0, true}, Orientation{90, false}, Orientation{-45, true}}) {
        Owned<PolarChart> c = bareChart();
        c->setStartAngle(o.start, o.clockwise);
        PolarLineLayer* l = c->addLineLayer(DoubleArray(r, 5), kMarker);
        l->setAngles(DoubleArray(a, 5));
        l->setLineWidth(0);
        l->setDataSymbol(Chart::SquareSymbol, 5, kMarker, kMarker);
        Owned<DrawArea> d = decodedPNG(c.get(), "polar_quadrants.png");
        for (int i = 0; i < 5; ++i) {
            double t = (o.start + (o.clockwise ? a[i] : -a[i])) * kPi / 180;
            double x = 200 + 1.5 * r[i] * std::sin(t), y = 200 - 1.5 * r[i] * std::cos(t);
            double mx, my;
            ASSERT_TRUE(colourCentre(d.get(), x, y, 6, kMarker, mx, my)) << "point " << i << " start " << o.start;
            // The square is centred on the rounded pixel, whose centre is half a pixel further on.
            EXPECT_NEAR(mx, std::floor(x + 0.5) + 0.5, 0.6) << "point " << i << " start " << o.start;
            EXPECT_NEAR(my, std::floor(y + 0.5) + 0.5, 0.6) << "point " << i << " start " << o.start;
            EXPECT_EQ(c->getXCoor(r[i], a[i]), int(std::floor(x + 0.5)));
            EXPECT_EQ(c->getYCoor(r[i], a[i]), int(std::floor(y + 0.5)));
        }
    }
}

// Angles wrap round the circle, a negative radius points the other way, a label axis shares the
// circle evenly among its labels, and a log axis puts zero at the centre.
TEST(PolarChart, AnglesWrapAndRadiiReflect) {
    Owned<PolarChart> c = bareChart();
    const double r[] = {50};
    c->addLineLayer(DoubleArray(r, 1));
    c->layout();
    EXPECT_EQ(c->getXCoor(50, 370), c->getXCoor(50, 10));
    EXPECT_EQ(c->getYCoor(50, -80), c->getYCoor(50, 280));
    EXPECT_EQ(c->getXCoor(-50, 40), c->getXCoor(50, 220));
    EXPECT_EQ(c->getYCoor(-50, 40), c->getYCoor(50, 220));

    const char* labels[] = {"N", "E", "S", "W", "X"};
    Owned<PolarChart> l(PolarChart::create(300, 300));
    l->setPlotArea(150, 150, 100);
    l->angularAxis()->setLabels(StringArray(labels, 5));
    l->radialAxis()->setLogScale(1, 100);
    const double lr[] = {0, 10, 100, 1, 5};
    l->addLineLayer(DoubleArray(lr, 5));
    l->layout();
    // Label 1 of 5 stands a fifth of the way round; 100 is the edge, 10 half way out on a log axis.
    EXPECT_EQ(l->getXCoor(100, 1), int(std::floor(150 + 100 * std::sin(0.4 * kPi) + 0.5)));
    EXPECT_EQ(l->getYCoor(10, 0), 100);
    EXPECT_EQ(l->getXCoor(0, 3), 150);
    EXPECT_EQ(l->getYCoor(0, 3), 150);
}

// With the polygon grid (the default) the rings of a 6-spoke axis are hexagons: along the ray
// between two spokes the edge stands at R cos 30; with circles it stands at R.
TEST(PolarChart, PolygonGridMakesHexagonalRingsAndCircleGridRoundOnes) {
    const char* labels[] = {"a", "b", "c", "d", "e", "f"};
    for (bool polygon : {true, false}) {
        Owned<PolarChart> c(PolarChart::create(300, 300, 0xffffff));
        c->setPlotArea(150, 150, 120, Chart::Transparent, 0x000000);
        c->setGridStyle(polygon);
        c->setGridColor(Chart::Transparent, 1, Chart::Transparent, 1);
        c->angularAxis()->setLabels(StringArray(labels, 6));
        plotvane_test::hidePolarText(c.get());
        DrawArea* d = c->makeChart();
        // Walk out from the centre along 30 degrees to the first dark pixel.
        double t = 30 * kPi / 180, found = -1;
        for (double s = 60; s < 140 && found < 0; s += 0.25) {
            int px = int(std::floor(150 + s * std::sin(t))), py = int(std::floor(150 - s * std::cos(t)));
            if (((d->getPixel(px, py) >> 8) & 0xff) < 200) found = s;
        }
        double expected = polygon ? 120 * std::cos(t) : 120;
        EXPECT_NEAR(found, expected, 1.5) << (polygon ? "polygon" : "circle");
    }
}

// A closed spline through points evenly round a circle is the same curve on every segment,
// including the one across the start angle: its reach along each segment's middle ray is equal.
TEST(PolarChart, ClosedSplineLoopIsSmoothAcrossTheStartAngle) {
    const double r[] = {80, 80, 80, 80, 80, 80, 80};
    for (double start : {0.0, 100.0}) {
        Owned<PolarChart> c = bareChart();
        c->setStartAngle(start);
        c->angularAxis()->setLinearScale(0, 7, 1);
        c->addSplineAreaLayer(DoubleArray(r, 7), kMarker);
        DrawArea* d = c->makeChart();
        std::vector<double> reach;
        for (int k = 0; k < 7; ++k) {
            double t = (start + (k + 0.5) * 360 / 7) * kPi / 180, edge = 0;
            for (double s = 100; s < 150; s += 0.25)
                if ((d->getPixel(int(200 + s * std::sin(t)), int(200 - s * std::cos(t))) & 0xffffff) == kMarker) edge = s;
            reach.push_back(edge);
        }
        // Pixel sampling along rays of different slopes costs up to a pixel and a half.
        for (int k = 1; k < 7; ++k) EXPECT_NEAR(reach[k], reach[0], 2.0) << "segment " << k << " start " << start;
        // Bulging past the chord, as a round curve through the points does.
        EXPECT_GT(reach[0], 120 * std::cos(kPi / 7) + 2);
    }
}

// A missing value leaves a gap in a line unless a gap colour bridges it; the loop closes across
// a missing last value the same way.
TEST(PolarChart, MissingValuesLeaveGapsOrBridges) {
    const double r[] = {80, Chart::NoValue, 80, 80};
    const double a[] = {0, 90, 180, 270};
    for (int gapColor : {Chart::Transparent, 0x00c000}) {
        Owned<PolarChart> c = bareChart();
        PolarLineLayer* l = c->addLineLayer(DoubleArray(r, 4), 0x0000ff);
        l->setAngles(DoubleArray(a, 4));
        l->setLineWidth(3);
        l->setGapColor(gapColor, 3);
        DrawArea* d = c->makeChart();
        // Middle of the chord from 0 to 180 degrees runs through the centre; the point at 0 degrees
        // joins 270 (present) by a line, and 180 by a bridge over the missing 90.
        auto at = [&](double x, double y) { return d->getPixel(int(x), int(y)) & 0xffffff; };
        EXPECT_EQ(at(139, 140), 0x0000ff);  // 270 -> 0 closes the loop
        EXPECT_EQ(at(200, 200), gapColor == Chart::Transparent ? 0xffffff : 0x00c000);
    }
    // An open loop ends at its last point.
    Owned<PolarChart> c = bareChart();
    PolarLineLayer* l = c->addLineLayer(DoubleArray(r, 4), 0x0000ff);
    l->setAngles(DoubleArray(a, 4));
    l->setLineWidth(3);
    l->setCloseLoop(false);
    DrawArea* d = c->makeChart();
    EXPECT_EQ(d->getPixel(139, 140) & 0xffffff, 0xffffff);
    EXPECT_EQ(d->getPixel(139, 259) & 0xffffff, 0x0000ff);  // 180 -> 270 is drawn
}

// An angular zone with radii fills only the ring between them, measured along rays: inside the band
// (a pixel and a half clear of its edges, which are anti-aliased) it has the zone's colour, just
// beyond either radius or either angle the background's. Zones of both forms paint in the order
// added; values run the way the axis does, wrapping past its end.
TEST(PolarChart, AngularZoneWithRadiiFillsOnlyItsRingSector) {
    const int kRed = 0xe02020, kBlue = 0x2040e0;
    auto colourAt = [](DrawArea* d, double degrees, double s) {
        const double t = degrees * kPi / 180;
        return d->getPixel(int(std::floor(200 + s * std::sin(t))), int(std::floor(200 - s * std::cos(t)))) & 0xffffff;
    };
    for (bool clockwise : {true, false}) {
        Owned<PolarChart> c = bareChart();
        c->setGridStyle(false);
        c->setStartAngle(0, clockwise);
        c->angularAxis()->addZone(330, 60, 100, 60, kRed);  // radii in either order
        DrawArea* d = c->makeChart();
        const double dir = clockwise ? 1 : -1;
        for (double a : {-28.0, 0.0, 30.0, 58.0}) {
            SCOPED_TRACE(testing::Message() << "angle " << a << (clockwise ? "" : " anticlockwise"));
            EXPECT_EQ(colourAt(d, dir * a, 61.5), kRed);
            EXPECT_EQ(colourAt(d, dir * a, 98.5), kRed);
            EXPECT_EQ(colourAt(d, dir * a, 57), 0xffffff);
            EXPECT_EQ(colourAt(d, dir * a, 103), 0xffffff);
        }
        for (double a : {-34.0, 64.0, 180.0}) EXPECT_EQ(colourAt(d, dir * a, 80), 0xffffff) << a;
    }

    // A band over a plain zone shows; a band under one does not.
    for (bool bandFirst : {false, true}) {
        Owned<PolarChart> c = bareChart();
        c->setGridStyle(false);
        if (!bandFirst) c->angularAxis()->addZone(0, 90, kBlue);
        c->angularAxis()->addZone(0, 90, 60, 100, kRed, 0x000000);
        if (bandFirst) c->angularAxis()->addZone(0, 90, kBlue);
        DrawArea* d = c->makeChart();
        EXPECT_EQ(colourAt(d, 45, 80), bandFirst ? kBlue : kRed);
        EXPECT_EQ(colourAt(d, 45, 30), kBlue);
        if (bandFirst) continue;
        // The edge colour outlines the band at its outer radius.
        int darkest = 255;
        double at = 0;
        for (double s = 95; s <= 105; s += 0.25) {
            const int green = (colourAt(d, 45, s) >> 8) & 0xff;
            if (green < darkest) darkest = green, at = s;
        }
        EXPECT_LT(darkest, 60);
        EXPECT_NEAR(at, 100, 1.5);
    }

    // Radii at or below the centre and far beyond the picture are clamped, unusable values dropped.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Owned<PolarChart> c = bareChart();
    c->setGridStyle(false);
    AngularAxis* axis = c->angularAxis();
    axis->addZone(90, 180, -50, 40, kRed);
    axis->addZone(180, 270, 120, std::numeric_limits<int>::max(), kBlue);
    axis->addZone(nan, 90, 0, 100, kBlue);
    axis->addZone(0, Chart::NoValue, 0, 100, kBlue);
    axis->addZone(0, 90, 70, 70, kBlue);
    DrawArea* d = c->makeChart();
    EXPECT_EQ(colourAt(d, 135, 1), kRed);
    EXPECT_EQ(colourAt(d, 135, 38), kRed);
    EXPECT_EQ(colourAt(d, 225, 190), kBlue);
    EXPECT_EQ(colourAt(d, 225, 110), 0xffffff);
    EXPECT_EQ(colourAt(d, 45, 70), 0xffffff);
}

// Nothing hostile crashes: it draws what the design makes of it.
TEST(PolarChart, HostileDataDrawsWithoutFailing) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    std::vector<std::vector<double>> radii = {
        {}, {Chart::NoValue, Chart::NoValue}, {42}, {-30, 50, -80, 20}, {1e300, -1e300, 5}, {nan, inf, 3, -inf}, {0, 0, 0}};
    for (bool logAxis : {false, true})
        for (size_t k = 0; k < radii.size(); ++k) {
            Owned<PolarChart> c(PolarChart::create(200, 200));
            if (logAxis) c->radialAxis()->setLogScale(true);
            std::vector<double> angles = {-720, 1e9, 365, nan};
            angles.resize(radii[k].size(), 45);
            PolarLayer* layers[] = {
                c->addLineLayer(DoubleArray(radii[k].data(), int(radii[k].size()))),
                c->addSplineAreaLayer(DoubleArray(radii[k].data(), int(radii[k].size()))),
                c->addVectorLayer(DoubleArray(radii[k].data(), int(radii[k].size())),
                                  DoubleArray(angles.data(), int(angles.size())),
                                  DoubleArray(radii[k].data(), int(radii[k].size())),
                                  DoubleArray(angles.data(), int(angles.size())), Chart::RadialAxisScale)};
            for (PolarLayer* l : layers) l->setDataLabelFormat("{value} {label}");
            MemBlock png = c->makeChart(Chart::PNG);
            EXPECT_GT(png.len, 0) << "case " << k << (logAxis ? " log" : "");
        }

    // Ten thousand spokes, each labelled, with a polygon grid.
    std::vector<std::string> texts(10000);
    std::vector<const char*> labels;
    std::vector<double> r;
    for (int i = 0; i < 10000; ++i) {
        texts[size_t(i)] = std::to_string(i);
        labels.push_back(texts[size_t(i)].c_str());
        r.push_back(50 + i % 7);
    }
    Owned<PolarChart> c(PolarChart::create(500, 500));
    c->angularAxis()->setLabels(StringArray(labels.data(), 10000));
    c->addSplineLineLayer(DoubleArray(r.data(), 10000));
    MemBlock png = c->makeChart(Chart::PNG);
    EXPECT_GT(png.len, 0);
}

// Symbol sizes given per point are pixels, or radial units measured as the radial axis measures them.
TEST(PolarChart, SymbolScaleSizesSymbolsInPixelsOrRadialUnits) {
    const double r[] = {50, 50}, a[] = {90, 270};
    for (int scale : {Chart::PixelScale, Chart::RadialAxisScale}) {
        Owned<PolarChart> c = bareChart();
        PolarLineLayer* l = c->addLineLayer(DoubleArray(r, 2), kMarker);
        l->setAngles(DoubleArray(a, 2));
        l->setLineWidth(0);
        l->setDataSymbol(Chart::SquareSymbol, 5, kMarker, kMarker);
        const double sizes[] = {10, 20};
        l->setSymbolScale(DoubleArray(sizes, 2), scale);
        DrawArea* d = c->makeChart();
        for (int i = 0; i < 2; ++i) {
            int x0 = c->getXCoor(r[i], a[i]), y0 = c->getYCoor(r[i], a[i]), width = 0;
            for (int x = x0 - 30; x <= x0 + 30; ++x) width += (d->getPixel(x, y0) & 0xffffff) == kMarker;
            double expected = scale == Chart::PixelScale ? sizes[i] : 1.5 * sizes[i];
            EXPECT_NEAR(width, expected, 1.5) << "point " << i << " scale " << scale;
        }
    }
}

// Each drawn point keeps a hot spot where it is drawn, sized by the image-map width; a point not
// drawn has none, and an arrow's spot covers the arrow.
TEST(PolarChart, HotSpotsFollowThePoints) {
    Owned<PolarChart> c = bareChart();
    const double r[] = {50, Chart::NoValue, 80};
    const double a[] = {45, 90, 200};
    PolarLineLayer* l = c->addLineLayer(DoubleArray(r, 3));
    l->setAngles(DoubleArray(a, 3));
    l->setImageMapWidth(12);
    const double len[] = {30, 30, 30}, dir[] = {90, 90, 90};
    PolarVectorLayer* v = c->addVectorLayer(DoubleArray(r, 3), DoubleArray(a, 3), DoubleArray(len, 3),
                                            DoubleArray(dir, 3));
    c->layout();
    for (int i : {0, 2}) {
        char expected[96];
        std::snprintf(expected, sizeof expected, "shape=\"circle\" coords=\"%d,%d,6\"", c->getXCoor(r[i], a[i]) + 5,
                      c->getYCoor(r[i], a[i]) - 3);
        EXPECT_EQ(std::string(l->getImageCoor(i, 5, -3)), expected);
    }
    EXPECT_EQ(std::string(l->getImageCoor(1)), "");
    EXPECT_EQ(std::string(l->getImageCoor(7)), "");
    // The arrow starts at the point and runs 30 pixels to the right.
    int xs[4], ys[4];
    ASSERT_EQ(std::sscanf(v->getImageCoor(0), "shape=\"poly\" coords=\"%d,%d,%d,%d,%d,%d,%d,%d\"", &xs[0], &ys[0],
                          &xs[1], &ys[1], &xs[2], &ys[2], &xs[3], &ys[3]),
              8);
    int x0 = c->getXCoor(50, 45), y0 = c->getYCoor(50, 45);
    EXPECT_EQ(*std::min_element(xs, xs + 4), x0);
    EXPECT_EQ(*std::max_element(xs, xs + 4), x0 + 30);
    EXPECT_LE(*std::min_element(ys, ys + 4), y0 - 3);
    EXPECT_GE(*std::max_element(ys, ys + 4), y0 + 3);

    // The chart's map: one area per point present, the line's before the arrows', with the
    // default queries filled in; a layer's own "{disable}" takes its areas out.
    l->setDataLabelFormat("{value}");
    const std::string map = c->getHTMLImageMap("p.html", "", "title='{value}'", 5, -3);
    char first[160];
    std::snprintf(first, sizeof first,
                  "<area shape=\"circle\" coords=\"%d,%d,6\" title='50' href=\"p.html?x=45&label=&name=&value=50\" />\n",
                  c->getXCoor(50, 45) + 5, c->getYCoor(50, 45) - 3);
    EXPECT_EQ(map.substr(0, std::strlen(first)), first);
    size_t areas = 0;
    for (size_t at = map.find("<area"); at != std::string::npos; at = map.find("<area", at + 1)) ++areas;
    EXPECT_EQ(areas, 4u);
    EXPECT_NE(map.find("value=80&dir=90&len=30\""), std::string::npos);
    v->setHTMLImageMap("{disable}");
    EXPECT_EQ(std::string(c->getHTMLImageMap("p.html")).find("dir="), std::string::npos);
}

// A chart left unplaced fills itself: the circle and its labels inside the chart, below the legend.
TEST(PolarChart, UnplacedChartFillsItsRoom) {
    Owned<PolarChart> u(PolarChart::create(400, 300, 0xffffff));
    const char* labels[] = {"North", "East", "South", "West"};
    const double r[] = {5, 8, 3, 6};
    u->addLegend(10, 10, false)->setBackground(Chart::Transparent);
    u->angularAxis()->setLabels(StringArray(labels, 4));
    u->addAreaLayer(DoubleArray(r, 4), 0x3050e0, "Wind");
    u->layout();
    int top = u->getYCoor(8, 0), bottom = u->getYCoor(8, 2), left = u->getXCoor(8, 3), right = u->getXCoor(8, 1);
    EXPECT_GT(top, 20);  // under the legend and the top label
    EXPECT_LT(bottom, 290);
    EXPECT_GT(right - left, 150);
    EXPECT_NEAR((left + right) / 2.0, 200, 1.5);
}

// The angular axis's ticks stand on the edge at their values' angles, major and minor in their own
// lengths and colours, one tick where the scale's end comes round onto its start, in either
// direction; marks of both axes draw a spoke and a ring; a title is drawn under the circle, or over
// it when placed at the top.
TEST(PolarChart, AngularAxisTicksTitleAndMarks) {
    for (bool clockwise : {true, false}) {
        Owned<PolarChart> c = bareChart();
        c->setGridStyle(false);
        c->setStartAngle(30, clockwise);
        Axis* a = c->angularAxis();
        a->setLinearScale(0, 360, 45, 15);
        a->setTickLength(12, 6);
        a->setTickColor(0xff0000, 0x0000ff);
        a->setTickWidth(3, 3);
        a->addMark(100, 0x00c000)->setLineWidth(3);
        c->radialAxis()->addMark(50, 0xff00ff)->setLineWidth(3);
        Owned<DrawArea> d = decodedPNG(c.get(), "polar_ticks.png");
        auto at = [&](double R, double value) {
            const double t = (30 + (clockwise ? value : -value)) * kPi / 180;
            return d->getPixel(int(std::floor(200 + R * std::sin(t))), int(std::floor(200 - R * std::cos(t)))) &
                   0xffffff;
        };
        for (int v = 0; v < 360; v += 45) {
            EXPECT_EQ(at(158, v), 0xff0000) << v << " " << clockwise;
            EXPECT_EQ(at(153, v + 15), 0x0000ff) << v << " " << clockwise;
            EXPECT_EQ(at(158, v + 15), 0xffffff) << v << " " << clockwise;  // minor ticks are shorter
            EXPECT_EQ(at(153, v + 22.5), 0xffffff) << v << " " << clockwise;
        }
        for (double R : {30.0, 80.0, 140.0}) EXPECT_EQ(at(R, 100), 0x00c000) << R;
        for (double v : {0.0, 70.0, 200.0}) EXPECT_EQ(at(75, v + 3), 0xff00ff) << v;
    }
    auto inkRows = [](DrawArea* d, int y0, int y1) {
        int ink = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < d->getWidth(); ++x) ink += (d->getPixel(x, y) & 0xffffff) != 0xffffff;
        return ink;
    };
    for (bool top : {false, true}) {
        Owned<PolarChart> c = bareChart();
        c->setGridStyle(false);
        c->angularAxis()->setTickLength(0);
        c->angularAxis()->setTitle("Bearing", "", 12, 0x000000);
        if (top) c->angularAxis()->setTitlePos(Chart::Top);
        Owned<DrawArea> d = decodedPNG(c.get(), "polar_title.png");
        EXPECT_EQ(inkRows(d.get(), 0, 40) > 0, top);
        EXPECT_EQ(inkRows(d.get(), 360, 400) > 0, !top);
    }
    {  // Left to lay itself out, the chart makes room for the title under the circle.
        Owned<PolarChart> u(PolarChart::create(300, 300, 0xffffff));
        const double r[] = {5, 8, 3, 6};
        u->addAreaLayer(DoubleArray(r, 4), 0x3050e0);
        u->layout();
        const int bottom = u->getYCoor(8, 180);
        Owned<PolarChart> t(PolarChart::create(300, 300, 0xffffff));
        t->addAreaLayer(DoubleArray(r, 4), 0x3050e0);
        t->angularAxis()->setTitle("Bearing", "", 20);
        t->layout();
        EXPECT_LT(t->getYCoor(8, 180), bottom - 10);
    }
}

TEST(PolarChart, GoldenDumpsAndPictures) {
    struct Case {
        const char* name;
        Owned<PolarChart> (*make)();
        bool text;
    };
    const Case cases[] = {{"polar_radar_labels", [] { return plotvane_test::radarChart(); }, true},
                          {"polar_log_line", plotvane_test::logLineChart, true},
                          {"polar_spline_area", plotvane_test::splineAreaChart, false},
                          {"polar_vector_field", plotvane_test::vectorFieldChart, false}};
    bool pinned = plotvane_test::pinnedFontsMismatch().empty();
    for (const Case& k : cases) {
        EXPECT_TRUE(matchesGoldenText("chart", std::string(k.name) + ".agf",
                                      drawtest::withRelativeIds(textDump(k.make().get()))));
        if (k.text && !pinned) continue;
        Owned<PolarChart> c = k.make();
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(k.name) + ".png", std::string(png.data, size_t(png.len)), 48));
    }
}

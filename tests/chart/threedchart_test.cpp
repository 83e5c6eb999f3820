#include <gtest/gtest.h>

#include <plotvane/drawarea.h>
#include <plotvane/owned.h>
#include <plotvane/threedchart.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "barchart.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using plotvane_test::matchesGoldenPNG;
using plotvane_test::matchesGoldenText;
using plotvane_test::textDump;

namespace {

double peaks(double u, double v) {
    return 3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
           10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
           std::exp(-(u + 1) * (u + 1) - v * v) / 3;
}

// Pictures without text, so font changes leave them alone.
void leaveOutText(ThreeDChart* c) {
    for (Axis* a : {c->xAxis(), c->yAxis(), c->zAxis(), static_cast<Axis*>(c->colorAxis())}) a->setLabelStyle("", 8, Chart::Transparent);
}

Owned<SurfaceChart> peaksSurface(bool hole, double elevation = 30, double rotation = 45) {
    static std::vector<double> axis, z;
    const int n = 25;
    axis.resize(n);
    z.clear();
    for (int i = 0; i < n; ++i) axis[i] = -3 + 6.0 * i / (n - 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const bool inHole = hole && std::hypot(axis[i] - 1, axis[j] - 1) < 1;
            z.push_back(inHole ? Chart::NoValue : peaks(axis[i], axis[j]));
        }
    Owned<SurfaceChart> c(SurfaceChart::create(360, 300, 0xffffff));
    c->setPlotRegion(160, 150, 180, 180, 110);
    c->setData(DoubleArray(axis.data(), n), DoubleArray(axis.data(), n), DoubleArray(z.data(), n * n));
    c->setLighting(0.5, 0.6, 0.4, 8);
    if (!hole) {
        c->setSurfaceAxisGrid(0x80000000);
        c->setContourColor(0x404040);
        c->setViewAngle(elevation, rotation);
    } else {
        c->setViewAngle(45, 200);
    }
    leaveOutText(c.get());
    return c;
}

Owned<ThreeDScatterChart> dropLineScatter(int wallThickness) {
    static std::vector<double> x, y, z;
    x.clear();
    y.clear();
    z.clear();
    for (int k = 0; k < 30; ++k) {
        x.push_back(std::fmod(k * 3.7, 10));
        y.push_back(std::fmod(k * 6.1, 10));
        z.push_back(std::fmod(k * 2.3, 8));
    }
    Owned<ThreeDScatterChart> c(ThreeDScatterChart::create(360, 300, 0xffffff));
    c->setPlotRegion(160, 150, 180, 180, 110);
    c->setWallThickness(wallThickness);
    ThreeDScatterGroup* g = c->addScatterGroup(DoubleArray(x.data(), 30), DoubleArray(y.data(), 30),
                                               DoubleArray(z.data(), 30), "", Chart::CircleSymbol, 9,
                                               Chart::SameAsMainColor);
    g->setDropLine(0x808080);
    leaveOutText(c.get());
    return c;
}

template <class C>
void expectGolden(const std::string& name, C* c) {
    EXPECT_TRUE(matchesGoldenText("chart", name + ".agf", drawtest::withRelativeIds(textDump(c))));
    MemBlock png = c->makeChart(Chart::PNG);
    EXPECT_TRUE(matchesGoldenPNG("chart", name + ".png", std::string(png.data, size_t(png.len)), 48));
}

}  // namespace

TEST(ThreeDChart, GoldenDumpsAndPictures) {
    expectGolden("surface_peaks_lit_grid", peaksSurface(false).get());
    expectGolden("surface_peaks_rotation_135", peaksSurface(false, 20, 135).get());
    expectGolden("surface_peaks_rotation_225", peaksSurface(false, 45, 225).get());
    expectGolden("surface_peaks_rotation_315", peaksSurface(false, 10, 315).get());
    expectGolden("surface_hole", peaksSurface(true).get());
    expectGolden("scatter3d_droplines", dropLineScatter(10).get());
    expectGolden("scatter3d_flat_walls", dropLineScatter(0).get());
}

// Looking straight down or up is turned a thousandth of a degree aside, not projected flat.
TEST(ThreeDChart, PoleViewsAreNudgedAside) {
    for (const std::array<double, 2>& pole : {std::array<double, 2>{90, 89.999}, {270, 269.999}}) {
        Owned<ThreeDScatterChart> a = dropLineScatter(10), b = dropLineScatter(10);
        a->setViewAngle(pole[0]);
        b->setViewAngle(pole[1]);
        EXPECT_EQ(drawtest::withRelativeIds(textDump(a.get())), drawtest::withRelativeIds(textDump(b.get())));
        EXPECT_NE(a->getYCoor(0, 0, 0), a->getYCoor(0, 10, 0));
    }
}

// Wall colours: one colour for all three, and a border alone leaves the walls' colour.
TEST(ThreeDChart, WallColourSettings) {
    auto count = [](ThreeDScatterChart* c, int color) {
        DrawArea* d = c->makeChart();
        int n = 0;
        for (int y = 0; y < d->getHeight(); ++y)
            for (int x = 0; x < d->getWidth(); ++x) n += (d->getPixel(x, y) & 0xffffff) == color;
        return n;
    };
    Owned<ThreeDScatterChart> one = dropLineScatter(0);
    one->setWallColor(0x123456);
    const int walls = count(one.get(), 0x123456);
    EXPECT_GT(walls, 20000);
    Owned<ThreeDScatterChart> bordered = dropLineScatter(0);
    bordered->setWallColor(0x123456);
    bordered->setWallColor(-1, -1, -1, 0xff00ff);
    EXPECT_NEAR(count(bordered.get(), 0x123456), walls, walls / 20);
    EXPECT_NE(textDump(bordered.get()).find("0xff00ff"), std::string::npos);
    // Each wall alone, by visibility, holds part of the colour.
    for (int w = 0; w < 3; ++w) {
        Owned<ThreeDScatterChart> c = dropLineScatter(0);
        c->setWallColor(0x123456);
        c->setWallVisibility(w == 0, w == 1, w == 2);
        const int part = count(c.get(), 0x123456);
        EXPECT_GT(part, 3000);
        EXPECT_LT(part, walls);
    }
}

#ifndef PLOTVANE_TESTS_CHART_IMAGEMAPCHARTS_H
#define PLOTVANE_TESTS_CHART_IMAGEMAPCHARTS_H

// Charts that both the image-map text and the image-map reading tests point at.

#include <plotvane/owned.h>
#include <plotvane/threedchart.h>

#include <vector>

#include "chart/pricecharts.h"

namespace plotvane_test {

// A 3D scatter of 30 dots spread through the box, axis labels hidden: symbols that overlap from
// the viewer's side.
inline plotvane::Owned<plotvane::ThreeDScatterChart> dotsScatterChart() {
    using namespace plotvane;
    std::vector<double> x, y, z;
    for (int i = 0; i < 30; ++i) {
        x.push_back(i % 7);
        y.push_back((i * 5) % 11);
        z.push_back((i * 3) % 13);
    }
    Owned<ThreeDScatterChart> c(ThreeDScatterChart::create(500, 420));
    c->setPlotRegion(250, 210, 240, 240, 160);
    c->addScatterGroup(DoubleArray(x.data(), 30), DoubleArray(y.data(), 30), DoubleArray(z.data(), 30), "Dots",
                       Chart::CircleSymbol, 9);
    for (Axis* a : {c->xAxis(), c->yAxis(), c->zAxis()}) a->setLabelStyle("", 8, Chart::Transparent);
    return c;
}

// Five wind arrows of different lengths and directions on fixed 0-6 scales.
inline XYPtr windVectorChart() {
    using namespace plotvane;
    static const double x[] = {1, 2, 3, 4, 5}, y[] = {2, 4, 3, 5, 1}, len[] = {20, 30, 25, 15, 35},
                        dir[] = {0, 45, 90, 180, 300};
    XYPtr c = quietChart();
    c->addVectorLayer(DoubleArray(x, 5), DoubleArray(y, 5), DoubleArray(len, 5), DoubleArray(dir, 5),
                      Chart::PixelScale, 0x3366cc, "Wind");
    c->xAxis()->setLinearScale(0, 6);
    c->yAxis()->setLinearScale(0, 6);
    return c;
}

}  // namespace plotvane_test

#endif

#ifndef PLOTVANE_TESTS_CHART_CONTOURCHART_H
#define PLOTVANE_TESTS_CHART_CONTOURCHART_H

// Contour charts shared by the contour tests: the peaks surface on a grid, and the golden cases.

#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

#include "chart/testlayer.h"

namespace plotvane_test {

inline double peaks(double u, double v) {
    return 3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
           10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
           std::exp(-(u + 1) * (u + 1) - v * v) / 3;
}

// Points of a grid over [x0, x1] x [y0, y1], x running fastest.
struct Points {
    std::vector<double> x, y, z;
    plotvane::DoubleArray xs() const { return plotvane::DoubleArray(x.data(), static_cast<int>(x.size())); }
    plotvane::DoubleArray ys() const { return plotvane::DoubleArray(y.data(), static_cast<int>(y.size())); }
    plotvane::DoubleArray zs() const { return plotvane::DoubleArray(z.data(), static_cast<int>(z.size())); }
};

template <class F>
Points gridPoints(int nx, int ny, double x0, double x1, double y0, double y1, F f) {
    Points p;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            double u = nx > 1 ? x0 + (x1 - x0) * i / (nx - 1) : x0;
            double v = ny > 1 ? y0 + (y1 - y0) * j / (ny - 1) : y0;
            p.x.push_back(u);
            p.y.push_back(v);
            p.z.push_back(f(u, v));
        }
    return p;
}

// A 420 x 300 chart with a 300 x 240 plot area at (40, 30) and its colour axis to the right.
inline XYPtr contourChart(const Points& p, plotvane::ContourLayer** layerOut = nullptr, bool labels = true) {
    using namespace plotvane;
    XYPtr c = makeXYChart(420, 300);
    c->setPlotArea(40, 30, 300, 240, 0xff00ff, -1, Chart::Transparent, Chart::Transparent);
    ContourLayer* layer = c->addContourLayer(p.xs(), p.ys(), p.zs());
    layer->setColorAxis(350, 30, Chart::TopLeft, 220, Chart::Right);
    if (!labels) {
        // Text stays out of pictures that are not about text.
        for (Axis* a : {c->xAxis(), c->yAxis(), static_cast<Axis*>(layer->colorAxis())})
            a->setColors(Chart::LineColor, Chart::Transparent);
    }
    if (layerOut) *layerOut = layer;
    return c;
}

}  // namespace plotvane_test

#endif

#ifndef PLOTVANE_TESTS_CHART_SCATTER3DCHART_H
#define PLOTVANE_TESTS_CHART_SCATTER3DCHART_H

// A 3D scatter of 30 dots spread through the box, axis labels hidden: symbols that overlap from
// the viewer's side, for the tests of which one a pointer finds.

#include <plotvane/owned.h>
#include <plotvane/threedchart.h>

#include <vector>

namespace plotvane_test {

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

}  // namespace plotvane_test

#endif

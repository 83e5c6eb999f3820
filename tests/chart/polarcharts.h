#ifndef PLOTVANE_TESTS_CHART_POLARCHARTS_H
#define PLOTVANE_TESTS_CHART_POLARCHARTS_H

// The polar charts of the golden files.

#include <plotvane/owned.h>
#include <plotvane/polarchart.h>
#include <plotvane/legendbox.h>

#include <cmath>
#include <string>
#include <vector>

namespace plotvane_test {

// Text leaves the pictures that are not about it, so font updates do not churn them.
inline void hidePolarText(plotvane::PolarChart* c) {
    c->angularAxis()->setLabelStyle("", 8, plotvane::Chart::Transparent);
    c->radialAxis()->setColors(plotvane::Chart::Transparent, plotvane::Chart::Transparent);
}

// Three filled series over 8 labelled spokes, with data labels and a legend.
inline plotvane::Owned<plotvane::PolarChart> radarChart(int size = 400) {
    using namespace plotvane;
    static const double a[] = {82, 64, 90, 45, 70, 58, 77, 66};
    static const double b[] = {55, 80, 48, 72, 40, 85, 50, 62};
    static const double c3[] = {30, 42, 35, 50, 28, 38, 45, 33};
    static const char* spokes[] = {"Speed", "Range", "Cost", "Comfort", "Safety", "Space", "Looks", "Noise"};
    Owned<PolarChart> c(PolarChart::create(size, size, 0xffffff));
    const double k = size / 400.0;
    c->setPlotArea(int(200 * k), int(215 * k), int(130 * k), 0xf4f8ff, 0x8090a0);
    c->setPlotAreaBg(0xf4f8ff, 0xe4ecf8);
    c->addLegend(int(10 * k), int(8 * k), false, "", 8)->setBackground(Chart::Transparent);
    c->angularAxis()->setLabels(StringArray(spokes, 8));
    c->radialAxis()->setLinearScale(0, 100, 25);
    PolarAreaLayer* l1 = c->addAreaLayer(DoubleArray(a, 8), 0x80e03030, "Model A");
    l1->setBorderColor(0xe03030);
    PolarAreaLayer* l2 = c->addAreaLayer(DoubleArray(b, 8), 0x8030a040, "Model B");
    l2->setBorderColor(0x30a040);
    PolarAreaLayer* l3 = c->addAreaLayer(DoubleArray(c3, 8), 0x803050e0, "Model C");
    l3->setBorderColor(0x3050e0);
    l3->setDataLabelFormat("{value}");
    l3->setDataSymbol(Chart::CircleSymbol, 5, 0x3050e0);
    return c;
}

// A line on a log radial axis over a numeric angular axis, clockwise from 3 o'clock.
inline plotvane::Owned<plotvane::PolarChart> logLineChart() {
    using namespace plotvane;
    std::vector<double> r, a;
    for (int i = 0; i < 36; ++i) {
        a.push_back(i * 10);
        r.push_back(std::pow(10, 0.5 + 2.5 * (0.5 + 0.5 * std::sin(i * 3.14159265 / 9))));
    }
    Owned<PolarChart> c(PolarChart::create(360, 360, 0xffffff));
    c->setPlotArea(180, 180, 130, 0xffffff, 0x404040);
    c->setGridStyle(false);
    c->setStartAngle(90);
    c->radialAxis()->setLogScale(1, 1000);
    PolarLineLayer* l = c->addLineLayer(DoubleArray(r.data(), int(r.size())), 0xc03000);
    l->setAngles(DoubleArray(a.data(), int(a.size())));
    l->setLineWidth(2);
    l->setDataSymbol(Chart::DiamondSymbol, 7, 0xffc000);
    return c;
}

// A spline area round five uneven spokes, anticlockwise, with a gap bridged in the line above it.
inline plotvane::Owned<plotvane::PolarChart> splineAreaChart() {
    using namespace plotvane;
    static const double area[] = {6, 9, 4, 8, 5};
    static const double line[] = {3, 5, Chart::NoValue, 4, 2.5};
    Owned<PolarChart> c(PolarChart::create(320, 320, 0xffffff));
    c->setPlotArea(160, 160, 120, 0xffffff, 0x808080);
    c->setStartAngle(0, false);
    c->angularAxis()->setLinearScale(0, 5, 1);
    c->radialAxis()->setLinearScale(0, 10, 2);
    c->radialAxis()->addZone(8, 10, 0xfff0d0);
    c->angularAxis()->addZone(1, 2, 0xe0f0ff);
    hidePolarText(c.get());
    c->addSplineAreaLayer(DoubleArray(area, 5), 0xa0308030);
    PolarSplineLineLayer* s = c->addSplineLineLayer(DoubleArray(line, 5), 0x8000a0);
    s->setLineWidth(2);
    s->setGapColor(0xa0a0a0, 1);
    return c;
}

// Arrows on a ring grid: a swirl, longer outwards.
inline plotvane::Owned<plotvane::PolarChart> vectorFieldChart() {
    using namespace plotvane;
    std::vector<double> r, a, len, dir;
    for (int ring = 1; ring <= 4; ++ring)
        for (int k = 0; k < 12; ++k) {
            r.push_back(ring * 2);
            a.push_back(k * 30);
            len.push_back(6 + ring * 4);
            dir.push_back(k * 30 + 90 + ring * 10);
        }
    Owned<PolarChart> c(PolarChart::create(320, 320, 0xffffff));
    c->setPlotArea(160, 160, 130, 0xffffff, 0x808080);
    c->radialAxis()->setLinearScale(0, 10, 2);
    hidePolarText(c.get());
    auto n = int(r.size());
    PolarVectorLayer* v = c->addVectorLayer(DoubleArray(r.data(), n), DoubleArray(a.data(), n),
                                            DoubleArray(len.data(), n), DoubleArray(dir.data(), n),
                                            Chart::PixelScale, 0x2060c0);
    v->setArrowHead(7, 7);
    v->setArrowAlignment(Chart::Center);
    return c;
}

}  // namespace plotvane_test

#endif

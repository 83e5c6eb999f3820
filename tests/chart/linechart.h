#ifndef PLOTVANE_TESTS_CHART_LINECHART_H
#define PLOTVANE_TESTS_CHART_LINECHART_H

// Helpers for the line layer tests: owned charts, their text dumps with ids renumbered, the
// polyline records of a dump, and golden PNGs for when the raster back-end draws pictures.

#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "draw/drawtest.h"
#include "draw/imageoracle.h"
#include "support/golden.h"

namespace plotvane_test {

struct XYChartDeleter {
    void operator()(plotvane::XYChart* c) const { c->destroy(); }
};
using XYChartPtr = std::unique_ptr<plotvane::XYChart, XYChartDeleter>;

// A chart with a plot area at (40, 20), 260 x 180. Axis labels are left out unless asked for, so
// cases that are not about text do not follow the font engine.
inline XYChartPtr newChart(bool labels = false, int width = 320, int height = 240) {
    XYChartPtr c(plotvane::XYChart::create(width, height));
    c->setPlotArea(40, 20, 260, 180, 0xffffff, -1, 0x000000, 0xdddddd, 0xdddddd);
    if (!labels)
        for (plotvane::Axis* a : {c->xAxis(), c->yAxis()}) a->setColors(0x000000, plotvane::Chart::Transparent);
    return c;
}

// The chart's text dump, object ids numbered from 0 in order of appearance.
inline std::string chartDump(plotvane::XYChart* c) {
    plotvane::MemBlock b = c->makeChart(8);
    return drawtest::withRelativeIds(std::string(b.data ? b.data : "", static_cast<size_t>(std::max(b.len, 0))));
}

// The points of every polyline record ("PolyLine", "MultiLine") in a dump: x0, y0, x1, y1 ...
inline std::vector<std::vector<double>> polylines(const std::string& dump) {
    std::vector<std::vector<double>> out;
    std::istringstream in(dump);
    for (std::string line; std::getline(in, line);) {
        std::vector<double> xy;
        if (line.rfind("PolyLine(", 0) == 0) {
            // Colour, width, then the points in brackets.
            std::istringstream points(line.substr(line.find('[') + 1));
            for (std::string n; std::getline(points, n, ',');) xy.push_back(std::stod(n));
        } else if (line.rfind("MultiLine(", 0) == 0) {
            for (size_t at = 0; (at = line.find("coor, ", at)) != std::string::npos;) {
                at += 6;
                size_t comma = line.find(',', at);
                xy.push_back(std::stod(line.substr(at, comma - at)));
                xy.push_back(std::stod(line.substr(comma + 2)));
            }
        } else {
            continue;
        }
        out.push_back(xy);
    }
    return out;
}

inline std::vector<uint32_t> pngPixels(plotvane::XYChart* c) {
    plotvane::MemBlock b = c->makeChart(plotvane::Chart::PNG);
    LibpngView v = readWithLibpng(std::string(b.data ? b.data : "", static_cast<size_t>(std::max(b.len, 0))));
    return v.ok ? v.pixels : std::vector<uint32_t>();
}

// Whether PNG output shows what was drawn: until the raster back-end lands it is one flat colour.


}  // namespace plotvane_test

#endif

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
inline bool pngDrawsPictures() {
    XYChartPtr c = newChart();
    std::vector<uint32_t> p = pngPixels(c.get());
    return !p.empty() && std::any_of(p.begin(), p.end(), [&](uint32_t v) { return v != p[0]; });
}

// The chart's PNG against tests/golden/chart/<name>.png: every channel within 48 and on average
// within 1 (anti-aliasing may move by a level). PLOTVANE_UPDATE_GOLDEN=1 writes the golden.
inline ::testing::AssertionResult matchesGoldenPNG(plotvane::XYChart* c, const std::string& name) {
    plotvane::MemBlock b = c->makeChart(plotvane::Chart::PNG);
    std::string path = testPath("golden/chart/" + name + ".png");
    const char* update = std::getenv("PLOTVANE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        writeFile(path, std::string(b.data, static_cast<size_t>(b.len)));
        return ::testing::AssertionSuccess();
    }
    LibpngView expected = readWithLibpng(readFile(path));
    if (!expected.ok) return ::testing::AssertionFailure() << "no golden " << path;
    std::vector<uint32_t> actual = pngPixels(c);
    if (actual.size() != expected.pixels.size())
        return ::testing::AssertionFailure() << actual.size() << " pixels, expected " << expected.pixels.size();
    long long total = 0;
    int worst = 0;
    for (size_t i = 0; i < actual.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8) {
            int d = std::abs(static_cast<int>((actual[i] >> shift) & 0xff) -
                             static_cast<int>((expected.pixels[i] >> shift) & 0xff));
            total += d;
            worst = std::max(worst, d);
        }
    double mean = actual.empty() ? 0 : static_cast<double>(total) / (4.0 * actual.size());
    if (worst > 48 || mean > 1) return ::testing::AssertionFailure() << "worst " << worst << ", mean " << mean;
    return ::testing::AssertionSuccess();
}

}  // namespace plotvane_test

#endif

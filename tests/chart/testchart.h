#ifndef PLOTVANE_TESTS_CHART_TESTCHART_H
#define PLOTVANE_TESTS_CHART_TESTCHART_H

// The smallest chart type: it adds legend entries in its legend phase, reserves a plot rectangle
// below the legend in its layout phase, and paints that rectangle with free objects up to the
// plot-area z before it and up to the grid z after it. It records the order of the hooks.

#include <plotvane/drawarea.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "chart/basechart_p.h"
#include "chart/legendbox_p.h"

namespace plotvane_test {

class TestChart : public plotvane::BaseChartImpl {
public:
    struct Key {
        int z;
        std::string text;
        int color;
        int lineWidth;
    };

    TestChart(int width, int height) { setSize(width, height); }
    // The public interface, where the default arguments are.
    plotvane::BaseChart* api() { return this; }

    std::vector<Key> keys;
    std::vector<std::string> calls;
    int plotTop = 0;

    // Keys that a layer would add, with text sources of their own.
    void addLayerKey(int z, const std::string& text, int color, int lineWidth = -1) { keys.push_back({z, text, color, lineWidth}); }

    class FixedText : public plotvane::LegendText {
    public:
        explicit FixedText(std::string t) : text_(std::move(t)) {}
        std::string getText(const char* format, int) override { return std::string(format) == "{dataSetName}" ? text_ : format; }

    private:
        std::string text_;
    };

protected:
    void onLayoutLegend() override {
        calls.push_back("legend");
        if (!legend()) return;
        for (const Key& k : keys)
            legend()->addKey(k.z, std::make_unique<FixedText>(k.text), k.color, k.lineWidth, nullptr);
    }
    void onLayoutChart() override {
        calls.push_back("chart");
        plotTop = legend() && legend()->isPlaced() ? legend()->getTopY() + legend()->getHeight() + 5 : 5;
    }
    void onPaint() override {
        calls.push_back("paint");
        drawExtraObjs(plotvane::Chart::PlotAreaZ);
        getRawDrawArea()->rect(10, plotTop, getWidth() - 11, getHeight() - 11, 0x000000, 0xf0f0f0);
        drawExtraObjs(plotvane::Chart::GridLinesZ);
    }
    std::string onGetHTMLImageMap(const char* url, const char*, const char*, int offsetX, int offsetY) override {
        return std::string(url) + "@" + std::to_string(offsetX) + "," + std::to_string(offsetY);
    }
};

using UserText = TestChart::FixedText;

struct ChartDeleter {
    void operator()(plotvane::BaseChart* c) const { c->destroy(); }
};
using ChartPtr = std::unique_ptr<TestChart, ChartDeleter>;

inline ChartPtr makeTestChart(int width = 480, int height = 360) { return ChartPtr(new TestChart(width, height)); }

inline std::string dumpOf(plotvane::DrawArea* d) {
    plotvane::MemBlock b = d->outAGF();
    return std::string(b.data, static_cast<size_t>(b.len));
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The index of the first dump line containing `part`, or -1.
inline int lineWith(const std::vector<std::string>& lines, const std::string& part) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(part) != std::string::npos) return static_cast<int>(i);
    return -1;
}

// The four numbers of an image-map rectangle, empty when there is none.
inline std::vector<int> rectOf(const char* coor) {
    int l, t, r, b;
    if (std::sscanf(coor, "shape=\"rect\" coords=\"%d,%d,%d,%d\"", &l, &t, &r, &b) != 4) return {};
    return {l, t, r, b};
}

}  // namespace plotvane_test

#endif

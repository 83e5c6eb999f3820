#ifndef PLOTVANE_TESTS_CHART_TESTLAYER_H
#define PLOTVANE_TESTS_CHART_TESTLAYER_H

// A layer type of the tests' own, standing in for the real ones: each data item is a block six
// pixels wide from the start to the end of its span (so stacks and percentages show), with the
// data set's symbol at the end. Data sets paint from the last to the first.

#include <plotvane/drawarea.h>
#include <plotvane/xychart.h>

#include <cmath>
#include <memory>

#include "chart/xy/layer_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane_test {

class BlockLayer final : public plotvane::LayerImpl {
public:
    void paint(plotvane::DrawArea* d) override {
        for (int ds = dataSetCount(); ds-- > 0;) {
            plotvane::DataSetImpl& set = dataSet(ds);
            for (int i = 0; i < set.size(); ++i) {
                plotvane::Span s = spanOf(ds, i);
                double px = pixelX(xValue(i));
                if (!s.present || px == plotvane::Chart::NoValue) continue;
                double x0, y0, x1, y1;
                screenPoint(px - 3, pixelY(s.base, set.axis()), x0, y0);
                screenPoint(px + 3, pixelY(s.end, set.axis()), x1, y1);
                d->rect(pix(std::fmin(x0, x1)), pix(std::fmin(y0, y1)), pix(std::fmax(x0, x1)),
                        pix(std::fmax(y0, y1)), set.edgeColor(), set.dataColor());
            }
        }
        for (int ds = dataSetCount(); ds-- > 0;) paintSymbols(d, ds);
    }

private:
    static int pix(double v) { return static_cast<int>(std::floor(v + 0.5)); }
};

struct XYDeleter {
    void operator()(plotvane::XYChart* c) const { c->destroy(); }
};
using XYPtr = std::unique_ptr<plotvane::XYChart, XYDeleter>;

inline XYPtr makeXYChart(int width = 400, int height = 300) { return XYPtr(plotvane::XYChart::create(width, height)); }

inline plotvane::XYChartImpl* impl(plotvane::XYChart* c) { return dynamic_cast<plotvane::XYChartImpl*>(c); }

// Adds a block layer (through the public Layer interface, where the default arguments are).
inline plotvane::Layer* addBlocks(plotvane::XYChart* c, int combineMethod = plotvane::Chart::Overlay) {
    plotvane::Layer* layer = impl(c)->addLayer(new BlockLayer());
    layer->setDataCombineMethod(combineMethod);
    return layer;
}

inline plotvane::Layer* addBlocks(plotvane::XYChart* c, const std::vector<double>& data, int color = -1,
                                  const char* name = "") {
    plotvane::Layer* layer = addBlocks(c);
    layer->addDataSet(plotvane::DoubleArray(data.data(), static_cast<int>(data.size())), color, name);
    return layer;
}

}  // namespace plotvane_test

#endif

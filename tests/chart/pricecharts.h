#ifndef PLOTVANE_TESTS_CHART_PRICECHARTS_H
#define PLOTVANE_TESTS_CHART_PRICECHARTS_H

// Small price, box-whisker and trend charts shared by the tests of those layers: the golden
// cases (without text, so font updates leave them alone) and the benchmarks' data.

#include <plotvane/plotvane.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/testlayer.h"

namespace plotvane_test {

inline plotvane::DoubleArray arrayOf(const std::vector<double>& v) {
    return plotvane::DoubleArray(v.data(), static_cast<int>(v.size()));
}

// A 320 x 240 chart with a 260 x 180 plot area and no axis labels.
inline XYPtr quietChart(int width = 320, int height = 240) {
    XYPtr c = makeXYChart(width, height);
    c->setPlotArea(30, 20, width - 60, height - 60, 0xffffff, -1, plotvane::Chart::Transparent, 0xdddddd);
    for (plotvane::Axis* a : {c->xAxis(), c->yAxis()}) a->setLabelStyle("", 8, plotvane::Chart::Transparent);
    return c;
}

// Eight days of prices; day 3 has no open, day 6 no high.
struct Prices {
    std::vector<double> high{12, 13, 12.5, 14, 15, 14.5, plotvane::Chart::NoValue, 13.5};
    std::vector<double> low{9.5, 10.5, 10, 11.5, 12.5, 12, 11, 10.5};
    std::vector<double> open{10, 12.5, 12, plotvane::Chart::NoValue, 13, 14, 12.5, 13};
    std::vector<double> close{12, 11, 10.5, 13.5, 14.5, 12.5, 11.5, 11};
};

enum class PriceCase { HLOC, Candles, BoxWhisker, LinearTrend, CubicTrend };

inline const char* priceCaseName(PriceCase which) {
    switch (which) {
        case PriceCase::HLOC: return "hloc_updown";
        case PriceCase::Candles: return "candles_rise_fall";
        case PriceCase::BoxWhisker: return "boxwhisker_item_colors";
        case PriceCase::LinearTrend: return "trend_linear_bands";
        case PriceCase::CubicTrend: return "trend_cubic_bands";
    }
    return "";
}

// Noisy points around a gentle curve, the same every run.
inline void trendPoints(std::vector<double>& x, std::vector<double>& y, int n = 24) {
    for (int i = 0; i < n; ++i) {
        x.push_back(i);
        y.push_back(20 + 1.2 * i - 0.035 * i * i + 3 * std::sin(1.7 * i) + 1.5 * std::cos(0.9 * i * i));
    }
}

inline XYPtr priceChart(PriceCase which) {
    using namespace plotvane;
    XYPtr c = quietChart();
    static Prices p;
    switch (which) {
        case PriceCase::HLOC: {
            HLOCLayer* layer = c->addHLOCLayer(arrayOf(p.high), arrayOf(p.low), arrayOf(p.open), arrayOf(p.close),
                                               0x008800, 0xcc0000, Chart::HLOCUpDown);
            layer->setLineWidth(2);
            break;
        }
        case PriceCase::Candles: {
            CandleStickLayer* layer = c->addCandleStickLayer(arrayOf(p.high), arrayOf(p.low), arrayOf(p.open),
                                                             arrayOf(p.close), 0xffffff, 0xcc2222, 0x333333);
            layer->setRoundedCorners(2);
            break;
        }
        case PriceCase::BoxWhisker: {
            static const double top[] = {7, 8, 6.5, 9, 7.5}, bottom[] = {4, 5, 3, 6, 4.5}, max[] = {9, 10, 8, 11, 9.5},
                                min[] = {2, 3.5, 1.5, 4, 3}, med[] = {5.5, 6, 5, 7.5, 6};
            static const int colors[] = {0x4477aa, 0x66ccee, 0x228833, 0xccbb44, 0xee6677};
            BoxWhiskerLayer* layer = c->addBoxWhiskerLayer2(DoubleArray(top, 5), DoubleArray(bottom, 5),
                                                            DoubleArray(max, 5), DoubleArray(min, 5),
                                                            DoubleArray(med, 5), IntArray(colors, 5), 0.6);
            layer->setLineWidth(2);
            static const double mean[] = {5.2, 6.5, 4.8, 7.2, 6.1};
            layer->addDataSet(DoubleArray(mean, 5), 0x000000)->setDataSymbol(Chart::DiamondSymbol, 7);
            break;
        }
        case PriceCase::LinearTrend:
        case PriceCase::CubicTrend: {
            static std::vector<double> x, y;
            if (x.empty()) trendPoints(x, y);
            c->addScatterLayer(arrayOf(x), arrayOf(y), "", Chart::CircleSymbol, 6, 0x3366cc, 0x3366cc);
            TrendLayer* trend = c->addTrendLayer(arrayOf(x), arrayOf(y), 0xcc3300);
            trend->setLineWidth(2);
            if (which == PriceCase::CubicTrend) trend->setRegressionType(3);
            trend->addConfidenceBand(0.95, 0x80cc3300);
            trend->addPredictionBand(0.95, 0xe0cc3300, 0xcc3300, 1);
            break;
        }
    }
    return c;
}

}  // namespace plotvane_test

#endif

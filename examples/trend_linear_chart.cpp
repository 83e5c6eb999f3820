// A straight line fitted to scattered points, with its 95% confidence band (the fitted mean) and
// the wider 95% prediction band (a new point), and the fit's slope in the legend.
#include <plotvane/plotvane.h>

#include <cmath>
#include <cstdio>

using namespace plotvane;

int main() {
    double x[30], y[30];
    for (int i = 0; i < 30; ++i) {
        x[i] = i;
        y[i] = 20 + 1.2 * i - 0.035 * i * i + 3 * std::sin(1.7 * i) + 1.5 * std::cos(0.9 * i * i);
    }

    XYChart* c = XYChart::create(600, 380);
    c->addTitle("Linear trend with 95% bands", "bold", 13);
    c->setPlotArea(60, 70, 510, 260, 0xffffff, -1, Chart::Transparent, 0xe4e4e4, 0xe4e4e4);
    c->addLegend(60, 30, false, "", 9)->setBackground(Chart::Transparent);
    c->addScatterLayer(DoubleArray(x, 30), DoubleArray(y, 30), "Samples", Chart::CircleSymbol, 7, 0x3366cc);
    TrendLayer* trend = c->addTrendLayer(DoubleArray(x, 30), DoubleArray(y, 30), 0xcc3300);
    trend->setLineWidth(2);
    // The fit is there before the chart is drawn.
    char name[80];
    std::snprintf(name, sizeof name, "Trend: slope %.3f, r = %.3f", trend->getSlope(), trend->getCorrelation());
    trend->getDataSet(0)->setDataName(name);
    trend->addConfidenceBand(0.95, 0x99cc3300);
    trend->addPredictionBand(0.95, 0xddcc3300, 0xcc8866, 1);
    c->xAxis()->setTitle("Day");
    c->yAxis()->setTitle("Reading");

    c->makeChart("trend_linear_chart.png");
    c->makeChart("trend_linear_chart.svg");
    c->makeChart("trend_linear_chart.pdf");
    c->destroy();
    return 0;
}

// A cubic fitted to points along a curve, with 95% confidence and prediction bands that widen
// towards the ends, where the polynomial is least certain.
#include <plotvane/plotvane.h>

#include <cmath>

using namespace plotvane;

int main() {
    double x[30], y[30];
    for (int i = 0; i < 30; ++i) {
        x[i] = i;
        y[i] = 20 + 1.2 * i - 0.035 * i * i + 3 * std::sin(1.7 * i) + 1.5 * std::cos(0.9 * i * i);
    }

    XYChart* c = XYChart::create(600, 380);
    c->addTitle("Cubic trend with 95% bands", "bold", 13);
    c->setPlotArea(60, 70, 510, 260, 0xffffff, -1, Chart::Transparent, 0xe4e4e4, 0xe4e4e4);
    c->addLegend(60, 30, false, "", 9)->setBackground(Chart::Transparent);
    c->addScatterLayer(DoubleArray(x, 30), DoubleArray(y, 30), "Samples", Chart::CircleSymbol, 7, 0x3366cc);
    TrendLayer* trend = c->addTrendLayer(DoubleArray(x, 30), DoubleArray(y, 30), 0xcc3300, "Trend");
    trend->setLineWidth(2);
    trend->setRegressionType(3);
    trend->addConfidenceBand(0.95, 0x99cc3300);
    trend->addPredictionBand(0.95, 0xddcc3300, 0xcc8866, 1);
    c->xAxis()->setTitle("Day");
    c->yAxis()->setTitle("Reading");

    c->makeChart("trend_cubic_chart.png");
    c->makeChart("trend_cubic_chart.svg");
    c->makeChart("trend_cubic_chart.pdf");
    c->destroy();
    return 0;
}

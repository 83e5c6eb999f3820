// Two smooth curves through the same measurements: the default spline keeps rising data from
// overshooting its flat stretches, a loose one (monotonicity off) swings past them.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double hours[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    double load[] = {2, 2, 3, 12, 13, 13, 14, 28, 29, 30, 30};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Cumulative Load", "bold", 14);
    c->setPlotArea(90, 60, 480, 280, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->addLegend(90, 28, false, "", 9)->setBackground(Chart::Transparent);
    c->xAxis()->setTitle("Hour");
    c->yAxis()->setTitle("Load (MWh)");

    SplineLayer* monotone = c->addSplineLayer(DoubleArray(load, 11), 0x1f618d, "Monotone spline");
    monotone->setXData(DoubleArray(hours, 11));
    monotone->setLineWidth(3);
    monotone->getDataSet(0)->setDataSymbol(Chart::CircleSymbol, 9, 0xffffff);

    SplineLayer* loose = c->addSplineLayer(DoubleArray(load, 11), 0xe67e22, "Unconstrained spline");
    loose->setXData(DoubleArray(hours, 11));
    loose->setMonotonicity(Chart::MonotonicNone);
    loose->setLineWidth(1);

    c->makeChart("spline_chart.png");
    c->makeChart("spline_chart.svg");
    c->makeChart("spline_chart.pdf");
    c->destroy();
    return 0;
}

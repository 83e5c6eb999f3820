// The colour-blind-safe palette on stacked bars, picked with one call, and the perceptually even
// ramp as a strip below the chart.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double series[8][5] = {{4, 6, 5, 7, 6}, {3, 2, 4, 3, 5}, {2, 3, 2, 4, 3}, {1, 2, 2, 1, 2},
                                 {2, 1, 3, 2, 1}, {1, 1, 1, 2, 2}, {2, 2, 1, 1, 1}, {1, 1, 2, 1, 1}};

    Owned<XYChart> c(XYChart::create(520, 340));
    c->setColors(Chart::colorBlindPalette);
    c->setPlotArea(40, 20, 460, 250, Chart::Transparent, -1, Chart::Transparent, 0xdddddd);
    BarLayer* layer = c->addBarLayer(Chart::Stack);
    for (const auto& s : series) layer->addDataSet(s, -1);
    for (Axis* axis : {c->xAxis(), c->yAxis()}) axis->setColors(0x888888, Chart::Transparent);

    DrawArea* area = c->makeChart();
    int ramp = area->linearGradientColor(40, 0, 500, 0, IntArray(Chart::viridisGradient, 20));
    area->rect(40, 295, 500, 325, Chart::Transparent, ramp);

    bool ok = c->makeChart("palettes.png") && c->makeChart("palettes.svg") && c->makeChart("palettes.pdf");
    return ok ? 0 : 1;
}

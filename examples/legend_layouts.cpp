// Legends laid out three ways: eight series wrapping into four columns under the plot area, the
// same keys in one reversed column at the side, and line-style keys with marked-up names.
#include <plotvane/plotvane.h>

using namespace plotvane;

namespace {

const char* const kRegions[] = {"North", "North-East", "East", "South-East", "South", "South-West", "West", "North-West"};

XYChart* regionBars(int width, int height) {
    XYChart* c = XYChart::create(width, height);
    BarLayer* bars = c->addBarLayer(Chart::Stack);
    for (int r = 0; r < 8; ++r) {
        double values[4];
        for (int q = 0; q < 4; ++q) values[q] = 5 + (r * 7 + q * 11) % 17;
        bars->addDataSet(DoubleArray(values, 4), -1, kRegions[r]);
    }
    const char* quarters[] = {"Q1", "Q2", "Q3", "Q4"};
    c->xAxis()->setLabels(StringArray(quarters, 4));
    return c;
}

}  // namespace

int main() {
    XYChart* wide = regionBars(600, 420);
    wide->addTitle("Keys in four columns", "bold", 12);
    wide->setPlotArea(60, 40, 520, 270);
    LegendBox* columns = wide->addLegend(60, 345, 4, "", 9);
    columns->setBackground(0xf4f6f7, 0xaab7b8);
    wide->makeChart("legend_columns.png");
    wide->makeChart("legend_columns.svg");
    wide->makeChart("legend_columns.pdf");
    wide->destroy();

    XYChart* side = regionBars(600, 360);
    side->addTitle("One reversed column, matching the stacking order", "bold", 12);
    side->setPlotArea(60, 40, 380, 280);
    LegendBox* column = side->addLegend(460, 40, true, "", 9);
    column->setReverse();
    column->setKeyBorder(0x444444, 1);
    side->makeChart("legend_reversed.png");
    side->makeChart("legend_reversed.svg");
    side->makeChart("legend_reversed.pdf");
    side->destroy();

    double a[] = {3, 5, 4, 7, 6, 8}, b[] = {2, 3, 3, 4, 5, 4};
    XYChart* lines = XYChart::create(600, 300);
    lines->addTitle("Line-style keys", "bold", 12);
    lines->setPlotArea(60, 40, 320, 220);
    LegendBox* keys = lines->addLegend(400, 50, true, "", 10);
    keys->setLineStyleKey();
    keys->setKeySpacing(4, 8);
    LineLayer* layer = lines->addLineLayer();
    layer->setLineWidth(2);
    layer->addDataSet(DoubleArray(a, 6), 0x884ea0, "Measured <*font=italic*>(lab)")->setDataSymbol(Chart::CircleSymbol, 7);
    layer->addDataSet(DoubleArray(b, 6), lines->dashLineColor(0x16a085, Chart::DashLine),
                      "Predicted<*br*><*size=8,color=777777*>model v2");
    lines->makeChart("legend_line_keys.png");
    lines->makeChart("legend_line_keys.svg");
    lines->makeChart("legend_line_keys.pdf");
    lines->destroy();
    return 0;
}

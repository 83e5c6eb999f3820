// HLOC bars with 3D depth: each stroke and tick stays at the front in its rise or fall colour, with
// a ribbon of the depth trailing behind it in the darker half of that colour.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double high[] = {104, 106, 105.5, 108, 109, 107.5, 106, 108.5, 110, 109.5};
    const double low[] = {100, 101.5, 102, 104, 105.5, 104, 102.5, 104, 106, 106.5};
    const double open[] = {101, 103, 105, 104.5, 106, 107, 105, 105, 107.5, 109};
    const double close[] = {103, 105, 102.5, 107, 106.5, 105, 104, 108, 109, 107};
    const char* days[] = {"3", "4", "5", "6", "7", "10", "11", "12", "13", "14"};

    XYChart* c = XYChart::create(480, 320);
    c->addTitle("HLOC with depth", "bold", 13);
    c->setPlotArea(50, 40, 400, 240, 0xffffff, -1, Chart::Transparent, 0xe4e4e4);
    HLOCLayer* layer = c->addHLOCLayer(DoubleArray(high, 10), DoubleArray(low, 10), DoubleArray(open, 10),
                                       DoubleArray(close, 10), 0x1a9850, 0xd73027, Chart::HLOCOpenClose);
    layer->set3D(10);
    layer->setLineWidth(2);
    c->xAxis()->setLabels(StringArray(days, 10));
    c->makeChart("hloc_3d_chart.png");
    c->makeChart("hloc_3d_chart.svg");
    c->makeChart("hloc_3d_chart.pdf");
    c->destroy();
    return 0;
}

// High-low-open-close bars of three weeks of prices, green when the close rose from the close
// before and red when it fell; one day's open is missing, so that bar has no left tick.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double high[] = {104, 106, 105.5, 108, 109, 107.5, 106, 108.5, 110, 111.5, 110, 112, 113.5, 112, 114};
    const double low[] = {100, 101.5, 102, 104, 105.5, 104, 102.5, 104, 106, 107.5, 106.5, 108, 109, 108.5, 110};
    const double open[] = {101, 103, 105, Chart::NoValue, 106, 107, 105, 105, 107, 109, 110, 108.5, 111, 112, 111};
    const double close[] = {103, 105, 102.5, 107, 106.5, 105, 104, 108, 109.5, 111, 107, 111.5, 113, 109, 113.5};
    const char* days[] = {"3", "4", "5", "6", "7", "10", "11", "12", "13", "14", "17", "18", "19", "20", "21"};

    XYChart* c = XYChart::create(600, 360);
    c->addTitle("Daily prices, HLOC", "bold", 13);
    c->setPlotArea(60, 45, 510, 260, 0xffffff, -1, Chart::Transparent, 0xe4e4e4, 0xe4e4e4);
    HLOCLayer* layer = c->addHLOCLayer(DoubleArray(high, 15), DoubleArray(low, 15), DoubleArray(open, 15),
                                       DoubleArray(close, 15), 0x1a9850, 0xd73027, Chart::HLOCUpDown);
    layer->setLineWidth(2);
    c->xAxis()->setLabels(StringArray(days, 15));
    c->xAxis()->setTitle("March");
    c->yAxis()->setTitle("Price");

    c->makeChart("hloc_chart.png");
    c->makeChart("hloc_chart.svg");
    c->makeChart("hloc_chart.pdf");
    c->destroy();
    return 0;
}

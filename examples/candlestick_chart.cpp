// Candlesticks: hollow when the close is above the open, filled red below it; the second day has
// no open, so its body is a flat line at the close.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double high[] = {104, 106, 105.5, 108, 109, 107.5, 106, 108.5, 110, 111.5, 110, 112, 113.5, 112, 114};
    const double low[] = {100, 101.5, 102, 104, 105.5, 104, 102.5, 104, 106, 107.5, 106.5, 108, 109, 108.5, 110};
    const double open[] = {101, Chart::NoValue, 105, 104.5, 106, 107, 105, 105, 107, 109, 110, 108.5, 111, 112, 111};
    const double close[] = {103, 105, 102.5, 107, 106.5, 105, 104, 108, 109.5, 111, 107, 111.5, 113, 109, 113.5};
    const char* days[] = {"3", "4", "5", "6", "7", "10", "11", "12", "13", "14", "17", "18", "19", "20", "21"};

    XYChart* c = XYChart::create(600, 360);
    c->addTitle("Daily prices, candlesticks", "bold", 13);
    c->setPlotArea(60, 45, 510, 260, 0xffffff, -1, Chart::Transparent, 0xe4e4e4, 0xe4e4e4);
    c->addCandleStickLayer(DoubleArray(high, 15), DoubleArray(low, 15), DoubleArray(open, 15), DoubleArray(close, 15),
                           0xffffff, 0xd73027, 0x333333);
    c->xAxis()->setLabels(StringArray(days, 15));
    c->xAxis()->setTitle("March");
    c->yAxis()->setTitle("Price");

    c->makeChart("candlestick_chart.png");
    c->makeChart("candlestick_chart.svg");
    c->makeChart("candlestick_chart.pdf");
    c->destroy();
    return 0;
}

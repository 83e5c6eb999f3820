// Box-whisker items and candlesticks with 3D depth: boxes and bodies are drawn as deep bars, and
// whiskers and wicks come out of the middle of their depth.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double q3[] = {72, 80, 65, 88, 76}, q1[] = {55, 61, 48, 70, 60}, max[] = {90, 96, 82, 99, 92},
                 min[] = {38, 45, 30, 52, 41}, median[] = {63, 70, 57, 80, 66};
    const double high[] = {104, 106, 105.5, 108, 109, 107.5, 106, 108.5};
    const double low[] = {100, 101.5, 102, 104, 105.5, 104, 102.5, 104};
    const double open[] = {101, 103, 105, 104.5, 106, 107, 105, 105};
    const double close[] = {103, 105, 102.5, 107, 106.5, 105, 104, 108};
    const char* groups[] = {"A", "B", "C", "D", "E"};
    const char* days[] = {"3", "4", "5", "6", "7", "10", "11", "12"};

    MultiChart* m = MultiChart::create(640, 320);
    m->addTitle("Items with depth", "bold", 13);

    XYChart* boxes = XYChart::create(320, 290);
    boxes->setPlotArea(50, 30, 240, 220, 0xffffff, -1, Chart::Transparent, 0xe4e4e4);
    BoxWhiskerLayer* b = boxes->addBoxWhiskerLayer(DoubleArray(q3, 5), DoubleArray(q1, 5), DoubleArray(max, 5),
                                                   DoubleArray(min, 5), DoubleArray(median, 5), 0x66ccee, 0x1f4e79);
    b->set3D(12);
    b->setLineWidth(2);
    boxes->xAxis()->setLabels(StringArray(groups, 5));

    XYChart* prices = XYChart::create(320, 290);
    prices->setPlotArea(50, 30, 240, 220, 0xffffff, -1, Chart::Transparent, 0xe4e4e4);
    prices->addCandleStickLayer(DoubleArray(high, 8), DoubleArray(low, 8), DoubleArray(open, 8), DoubleArray(close, 8),
                                0x1a9850, 0xd73027, 0x333333)
        ->set3D(8);
    prices->xAxis()->setLabels(StringArray(days, 8));

    m->addChart(0, 30, boxes);
    m->addChart(320, 30, prices);
    m->makeChart("boxwhisker_3d_chart.png");
    m->makeChart("boxwhisker_3d_chart.svg");
    m->makeChart("boxwhisker_3d_chart.pdf");
    m->destroy();
    boxes->destroy();
    prices->destroy();
    return 0;
}

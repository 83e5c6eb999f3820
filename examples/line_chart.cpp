// A line chart of three series with symbols, value labels on one of them, a month axis and a
// legend; one series misses two months and bridges them with a dashed grey segment.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double north[] = {42, 48, 51, 58, 64, 71, 69, 74, 80, 77, 85, 92};
    double south[] = {30, 35, Chart::NoValue, Chart::NoValue, 44, 50, 55, 53, 60, 64, 63, 70};
    double west[] = {20, 22, 27, 25, 31, 34, 38, 41, 39, 45, 49, 52};
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

    XYChart* c = XYChart::create(640, 420);
    c->addTitle("Monthly Sales by Region", "bold", 14);
    c->setPlotArea(90, 70, 520, 290, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->addLegend(90, 32, false, "", 9)->setBackground(Chart::Transparent);
    c->xAxis()->setLabels(StringArray(months, 12));
    c->xAxis()->setTitle("Month");
    c->yAxis()->setTitle("Units sold");

    LineLayer* layer = c->addLineLayer();
    layer->setLineWidth(2);
    layer->addDataSet(DoubleArray(north, 12), 0xc0392b, "North")->setDataSymbol(Chart::CircleSymbol, 8);
    DataSet* s = layer->addDataSet(DoubleArray(south, 12), 0x2874a6, "South");
    s->setDataSymbol(Chart::SquareSymbol, 7);
    s->setDataLabelFormat("{value}");
    layer->addDataSet(DoubleArray(west, 12), 0x239b56, "West")->setDataSymbol(Chart::TriangleSymbol, 9);
    layer->setGapColor(c->dashLineColor(0x888888, Chart::DashLine), 1);

    c->makeChart("line_chart.png");
    c->makeChart("line_chart.svg");
    c->makeChart("line_chart.pdf");
    c->destroy();
    return 0;
}

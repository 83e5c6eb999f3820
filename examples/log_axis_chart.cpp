// A logarithmic y axis across six decades: bacterial counts of two cultures, one growing
// unchecked and one levelling off, with a mark at the detection limit.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double hours[] = {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24};
    double unchecked[] = {12, 55, 240, 1100, 4800, 21000, 95000, 410000, 1.8e6, 7.9e6, 3.4e7, 1.5e8, 6.6e8};
    double treated[] = {12, 40, 130, 420, 1300, 3600, 8800, 17000, 26000, 31000, 33000, 34000, 34500};

    XYChart* c = XYChart::create(640, 420);
    c->addTitle("Colony counts over one day", "bold", 14);
    c->setPlotArea(90, 60, 510, 290, 0xffffff, -1, Chart::Transparent, 0xcccccc, 0xeeeeee);
    c->addLegend(100, 66, true, "", 9)->setBackground(0xffffff, 0x999999);

    c->yAxis()->setLogScale(1, 1e9);
    c->yAxis()->setLabelFormat("{value|G}");
    c->yAxis()->setTitle("Colony-forming units per ml");
    Mark* limit = c->yAxis()->addMark(1000, 0xcc0000, "detection limit");
    limit->setAlignment(Chart::BottomRight);
    c->xAxis()->setTitle("Hours after inoculation");

    LineLayer* layer = c->addLineLayer();
    layer->setXData(DoubleArray(hours, 13));
    layer->setLineWidth(2);
    layer->addDataSet(DoubleArray(unchecked, 13), 0xd35400, "Untreated")->setDataSymbol(Chart::CircleSymbol, 7);
    layer->addDataSet(DoubleArray(treated, 13), 0x2471a3, "Treated")->setDataSymbol(Chart::DiamondSymbol, 9);

    c->makeChart("log_axis_chart.png");
    c->makeChart("log_axis_chart.svg");
    c->makeChart("log_axis_chart.pdf");
    c->destroy();
    return 0;
}

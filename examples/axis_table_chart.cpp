// Horizontal bars whose category axis carries a table: beside each product's name, its units and
// its share, in columns that go outward from the plot.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double units[] = {120, 95, 78, 64, 40};
    const char* products[] = {"Anchors", "Buoys", "Cleats", "Davits", "Fenders"};
    double total = 0;
    for (double u : units) total += u;

    XYChart* c = XYChart::create(560, 320);
    c->addTitle("Units sold by product", "bold", 13);
    c->setPlotArea(230, 45, 300, 230, 0xf8f8f8, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->swapXY();
    c->addBarLayer(DoubleArray(units, 5), 0x3377cc)->setBorderColor(Chart::Transparent);
    c->xAxis()->setLabels(StringArray(products, 5));
    c->xAxis()->setReverse();
    c->yAxis()->setTitle("Units");

    c->layout();  // the product names become the table's first column
    PVMLTable* t = c->xAxis()->makeLabelTable();
    t->getStyle()->setMargin(6, 6, 2, 2);
    t->getStyle()->setFontSize(9);
    t->getColStyle(0)->setBackground(0xe8eef6, 0xbbbbbb);
    int unitsCol = t->appendCol(), shareCol = t->appendCol();
    for (int r = 0; r < 5; ++r) {
        t->setText(unitsCol, r, c->formatValue(units[r], "{value|0}"))->setAlignment(Chart::Right);
        t->setText(shareCol, r, c->formatValue(100 * units[r] / total, "{value|1}%"))->setAlignment(Chart::Right);
    }
    for (int col : {unitsCol, shareCol}) t->getColStyle(col)->setBackground(Chart::Transparent, 0xbbbbbb);

    c->makeChart("axis_table_chart.png");
    c->makeChart("axis_table_chart.svg");
    c->makeChart("axis_table_chart.pdf");
    c->destroy();
    return 0;
}

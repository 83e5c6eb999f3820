// A chart with a label table under it: a header spanning the quarters, one row per series with
// its colour, a styled total cell, and a note that spans the whole table.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double north[] = {42, 48, 51, 57};
    const double south[] = {30, 35, 33, 41};
    const char* quarters[] = {"Q1", "Q2", "Q3", "Q4"};

    XYChart* c = XYChart::create(560, 420);
    c->addTitle("Sales by region", "bold", 14);
    c->setPlotArea(60, 50, 460, 190, 0xf8f8f8, -1, Chart::Transparent, 0xdddddd);
    c->addLineLayer(DoubleArray(north, 4), 0x3377cc, "North")->setLineWidth(2);
    c->addLineLayer(DoubleArray(south, 4), 0xcc5533, "South")->setLineWidth(2);
    c->xAxis()->setLabels(StringArray(quarters, 4));

    PVMLTable* t = c->addTable(290, 285, Chart::Top, 6, 4);
    t->getStyle()->setMargin(5, 5, 3, 3);
    t->getStyle()->setFontSize(9);
    // Column styles first: the header row's style, made after them, wins in the header.
    for (int q = 0; q < 4; ++q) t->getColStyle(q + 1)->setWidth(64);
    t->getRowStyle(0)->setBackground(0x335577, 0xffffff);
    t->getRowStyle(0)->setFontColor(0xffffff);
    t->setCell(0, 0, 1, 1, "Region");
    t->setCell(1, 0, 4, 1, "<*font=bold*>2024 by quarter");
    t->setCell(5, 0, 1, 1, "Total");
    const char* names[] = {"<*img=@square,size=8,color=3377cc*> North", "<*img=@square,size=8,color=cc5533*> South"};
    const double* series[] = {north, south};
    for (int r = 0; r < 2; ++r) {
        t->setText(0, r + 1, names[r]);
        double total = 0;
        for (int q = 0; q < 4; ++q) {
            t->getCell(q + 1, r + 1)->setAlignment(Chart::Right);
            t->setText(q + 1, r + 1, c->formatValue(series[r][q], "{value|0}"));
            total += series[r][q];
        }
        TextBox* cell = t->setText(5, r + 1, c->formatValue(total, "{value|0}"));
        cell->setBackground(0xffee88, 0xcc8800);
        cell->setAlignment(Chart::Right);
    }
    t->setCell(0, 3, 6, 1, "<*color=666666*>Figures in thousands of units; Q4 is provisional.");

    c->makeChart("table_chart.png");
    c->makeChart("table_chart.svg");
    c->makeChart("table_chart.pdf");
    c->destroy();
    return 0;
}

// Two y axes and a top x axis: monthly rainfall as bars on the left axis, temperature as a line on
// the right axis, and the top axis repeating the months in another language.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double rain[] = {49, 41, 45, 47, 62, 58, 66, 61, 52, 68, 73, 60};
    double temp[] = {3.1, 3.9, 7.0, 10.4, 14.3, 17.2, 19.6, 19.3, 15.9, 11.6, 6.8, 3.9};
    const char* en[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* de[] = {"Jän", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

    XYChart* c = XYChart::create(640, 420);
    c->addTitle("Climate of a mid-latitude city", "bold", 13);
    c->setPlotArea(70, 80, 500, 270, 0xffffff, -1, 0x888888, 0xe0e0e0);
    c->addLegend(70, 30, false, "", 9)->setBackground(Chart::Transparent);

    // The layer added first is drawn in front.
    LineLayer* line = c->addLineLayer(DoubleArray(temp, 12), 0xc0392b, "Temperature (°C)");
    line->setLineWidth(3);
    line->setUseYAxis2();
    line->getDataSet(0)->setDataSymbol(Chart::CircleSymbol, 7, 0xffffff);
    c->addBarLayer(DoubleArray(rain, 12), 0x85c1e9, "Rainfall (mm)");

    c->xAxis()->setLabels(StringArray(en, 12));
    c->xAxis2()->setLabels(StringArray(de, 12));
    c->xAxis2()->setIndent(true);  // only the bottom axis is indented for the bars by itself
    c->yAxis()->setTitle("Rainfall (mm)");
    c->yAxis()->setColors(0x2874a6, 0x2874a6, 0x2874a6);
    c->yAxis2()->setTitle("Temperature (°C)");
    c->yAxis2()->setColors(0xc0392b, 0xc0392b, 0xc0392b);
    c->makeChart("dual_axis_chart.png");
    c->makeChart("dual_axis_chart.svg");
    c->makeChart("dual_axis_chart.pdf");
    c->destroy();
    return 0;
}

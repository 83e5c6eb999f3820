// Percentage areas: each month's shares scaled to 100%, with the share of each area as a label
// where the area is thick enough to hold it; a missing month of "Other" leaves it no room there.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double nv = Chart::NoValue;
    const double mobile[] = {48, 52, 55, 57, 60, 62};
    const double desktop[] = {44, 40, 37, 35, 33, 31};
    const double other[] = {8, 8, 8, nv, 7, 7};
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Visits by device", "bold", 14);
    c->setPlotArea(70, 70, 500, 270, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addLegend(70, 32, false, "", 9)->setBackground(Chart::Transparent);

    AreaLayer* layer = c->addAreaLayer(Chart::Percentage);
    // A gradient fill: darker towards the bottom of the plot area.
    int mobileFill = c->linearGradientColor(0, 70, 0, 340, 0x88bbee, 0x2266aa);
    layer->addDataSet(DoubleArray(mobile, 6), mobileFill, "Mobile");
    layer->addDataSet(DoubleArray(desktop, 6), 0xaa3377, "Desktop");
    // A hatched pattern for the small remainder.
    const int hatch[] = {0xbbbbbb, 0xffffff, 0xffffff, 0xffffff, 0xffffff, 0xbbbbbb, 0xffffff, 0xffffff,
                         0xffffff, 0xffffff, 0xbbbbbb, 0xffffff, 0xffffff, 0xffffff, 0xffffff, 0xbbbbbb};
    layer->addDataSet(DoubleArray(other, 6), c->patternColor(IntArray(hatch, 16), 4), "Other");
    layer->setMinLabelSize(25);
    layer->setDataLabelFormat("{percent|0}%");
    layer->setDataLabelStyle("", 8, 0xffffff);

    c->xAxis()->setLabels(StringArray(months, 6));

    c->makeChart("percentage_area_chart.png");
    c->makeChart("percentage_area_chart.svg");
    c->makeChart("percentage_area_chart.pdf");
    c->destroy();
    return 0;
}

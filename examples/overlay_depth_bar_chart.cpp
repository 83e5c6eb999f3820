// Two more ways to combine bar series: overlapping (each team's spending drawn half over its
// budget), and in depth (each year on its own row of a 3D chart, the earliest in front).
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double budget[] = {120, 120, 130, 130, 140, 150};
    double actual[] = {96, 131, 118, 142, 128, 139};
    double year2022[] = {40, 55, 48, 30, 25, 60};
    double year2023[] = {62, 80, 71, 45, 38, 84};
    double year2024[] = {85, 104, 96, 58, 52, 118};
    const char* teams[] = {"Ops", "Sales", "R&D", "Legal", "HR", "IT"};

    XYChart* c = XYChart::create(600, 360);
    c->addTitle("Budget and spending (overlay)", "bold", 12);
    c->setPlotArea(60, 60, 500, 250, 0xffffff, -1, Chart::Transparent, 0xe5e7e9);
    c->addLegend(60, 30, false, "", 9)->setBackground(Chart::Transparent);
    BarLayer* bars = c->addBarLayer(Chart::Overlay);
    bars->addDataSet(DoubleArray(budget, 6), 0xd6dbdf, "Budget");
    bars->addDataSet(DoubleArray(actual, 6), 0x117a65, "Actual");
    bars->setOverlapRatio(0.5, false);
    c->xAxis()->setLabels(StringArray(teams, 6));
    c->makeChart("overlay_bars.png");
    c->makeChart("overlay_bars.svg");
    c->makeChart("overlay_bars.pdf");
    c->destroy();

    XYChart* d = XYChart::create(600, 380);
    d->addTitle("Spending by year, in depth", "bold", 12);
    d->setPlotArea(60, 90, 440, 230, 0xffffff, -1, Chart::Transparent, 0xe5e7e9);
    d->addLegend(60, 30, false, "", 9)->setBackground(Chart::Transparent);
    BarLayer* rows = d->addBarLayer(Chart::Depth, 45);
    rows->addDataSet(DoubleArray(year2022, 6), 0xaed6f1, "2022");
    rows->addDataSet(DoubleArray(year2023, 6), 0xf9e79f, "2023");
    rows->addDataSet(DoubleArray(year2024, 6), 0xabebc6, "2024");
    d->xAxis()->setLabels(StringArray(teams, 6));
    d->makeChart("depth_bars.png");
    d->makeChart("depth_bars.svg");
    d->makeChart("depth_bars.pdf");
    d->destroy();
    return 0;
}

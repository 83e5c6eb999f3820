// A dashboard in one picture: a gauge and two XY charts placed side by side in a multi-chart that
// carries the shared background, frame and title. Each member is an ordinary chart.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double visits[] = {320, 410, 385, 460, 520, 610, 580};
    const double sales[] = {12, 18, 15, 21, 26, 31, 28};
    const char* days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

    AngularMeter* gauge = AngularMeter::create(220, 170, Chart::Transparent);
    gauge->setMeter(110, 140, 100, -90, 90);
    gauge->setScale(0, 100, 20, 10);
    gauge->addZone(0, 70, 0x99dd77);
    gauge->addZone(70, 90, 0xffdd44);
    gauge->addZone(90, 100, 0xee5544);
    gauge->addTitle(Chart::Bottom, "Conversion %", "bold", 9);
    gauge->addPointer(76, 0x3366cc)->setShape(Chart::TriangularPointer2, 0.9);
    gauge->setCap(6, 0x333333);

    XYChart* traffic = XYChart::create(260, 200, Chart::Transparent);
    traffic->addTitle("Visits", "bold", 10);
    traffic->setPlotArea(40, 30, 200, 140, 0xffffff, -1, 0xcccccc, 0xeeeeee);
    traffic->addLineLayer(DoubleArray(visits, 7), 0x3366cc)->setLineWidth(2);
    traffic->xAxis()->setLabels(StringArray(days, 7));

    XYChart* revenue = XYChart::create(260, 200, Chart::Transparent);
    revenue->addTitle("Sales (k$)", "bold", 10);
    revenue->setPlotArea(40, 30, 200, 140, 0xffffff, -1, 0xcccccc, 0xeeeeee);
    revenue->addBarLayer(DoubleArray(sales, 7), 0x66aa55)->setBorderColor(Chart::Transparent, Chart::softLighting());
    revenue->xAxis()->setLabels(StringArray(days, 7));

    MultiChart* m = MultiChart::create(780, 250, 0xf2f4f7, 0x999999);
    m->setRoundedFrame();
    m->addTitle("Shop dashboard", "bold", 13);
    m->addChart(10, 50, gauge);
    m->addChart(250, 35, traffic);
    m->addChart(515, 35, revenue);
    m->setMainChart(traffic);

    bool ok = m->makeChart("multi_chart_dashboard.png") && m->makeChart("multi_chart_dashboard.svg") &&
              m->makeChart("multi_chart_dashboard.pdf");
    m->destroy();
    gauge->destroy();
    traffic->destroy();
    revenue->destroy();
    return ok ? 0 : 1;
}

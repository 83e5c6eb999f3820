// Four gauges: a semicircle speedometer with coloured zones and two pointers, a full-circle dial
// with a shaded cap and glare, a vertical thermometer with a colour scale, and a horizontal bar
// meter with zones and labels on both sides.
#include <plotvane/plotvane.h>

#include <string>

using namespace plotvane;

namespace {

bool save(BaseChart* c, const char* name) {
    std::string base(name);
    bool ok = c->makeChart((base + ".png").c_str()) && c->makeChart((base + ".svg").c_str()) &&
              c->makeChart((base + ".pdf").c_str());
    c->destroy();
    return ok;
}

bool semicircle() {
    AngularMeter* m = AngularMeter::create(300, 180, 0xf4f4f4, 0x888888);
    m->setRoundedFrame();
    m->setMeter(150, 150, 110, -90, 90);
    m->setScale(0, 160, 20, 10, 2);
    m->setLineWidth(0, 2, 1, 1);
    m->addRing(0, 112, 0xffffff, 0x888888);
    m->addZone(0, 100, 0x99dd77);
    m->addZone(100, 130, 0xffdd44);
    m->addZone(130, 160, 0xee5544);
    m->addText(150, 110, "km/h", "bold", 10, 0x444444, Chart::Center);
    m->addPointer(118, 0x3366cc)->setShape(Chart::TriangularPointer2, 0.9);
    m->addPointer(86, 0x80aaaaaa)->setShape(Chart::LinePointer2, 0.8);
    m->setCap(8, 0x333333, 0x000000);
    return save(m, "meter_semicircle");
}

bool dial() {
    AngularMeter* m = AngularMeter::create(260, 260, Chart::Transparent);
    m->setMeter(130, 130, 100, 0, 360);
    m->addScaleBackground(124, 0x223344, 6, 0x99aabb);
    m->setScale(0, 12, 1, 0.5, 0.1);
    m->setMeterColors(0xdddddd, 0xffffff, 0xdddddd);
    m->setLabelStyle("bold", 12, 0xffffff);
    m->setTickLength(-12, -7, -3);
    m->setLineWidth(1, 3, 1, 1);
    m->addPointer(4.2, 0xffcc33, 0x000000, Chart::ArrowPointer2, -0.1, 0.7, 0.9);
    m->addPointer(9.6, 0xffffff, 0x000000, Chart::TriangularPointer2, -0.15, 0.95, 1.6);
    m->setCap2();
    m->addGlare(-1, 135, 0, -1, 0.18);
    return save(m, "meter_dial");
}

bool thermometer() {
    LinearMeter* m = LinearMeter::create(110, 300, 0xeeeeee, 0x999999);
    m->setRoundedFrame();
    m->setMeter(50, 20, 20, 250, Chart::Left);
    m->setScale(-20, 50, 10, 5);
    const double stops[] = {-20, 0x3355ff, 0, 0x66ccff, 20, 0x66dd66, 35, 0xffcc33, 50, 0xee3322};
    m->addColorScale(DoubleArray(stops, 10));
    m->setLabelStyle("bold", 8, 0x333333);
    m->addPointer(23.5, 0x333333)->setShape(Chart::TriangularPointer, 0.6);
    m->addText(60, 290, "\xc2\xb0" "C", "bold", 9, 0x333333, Chart::Center);
    return save(m, "meter_thermometer");
}

bool horizontal() {
    LinearMeter* m = LinearMeter::create(360, 90, 0xffffff, 0xbbbbbb);
    m->setMeter(20, 30, 320, 24, Chart::Top);
    m->setScale(0, 100, 10, 5);
    m->setTickLength(-8);
    m->addZone(0, 60, 0xccebc5, "normal");
    m->addZone(60, 85, 0xfee8a8, "high");
    m->addZone(85, 100, 0xf9b4ae, "peak");
    m->setRail(0x888888, 2, 4);
    m->addText(20, 60, "0%", "bold", 8, 0x555555, Chart::TopLeft);
    m->addText(340, 60, "100%", "bold", 8, 0x555555, Chart::TopRight);
    m->addPointer(72, 0x3366cc)->setShape(Chart::TriangularPointer, 0.5);
    return save(m, "meter_bar");
}

}  // namespace

int main() { return semicircle() && dial() && thermometer() && horizontal() ? 0 : 1; }

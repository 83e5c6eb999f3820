#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "chart/other/basemeter_p.h"
#include "draw/drawtest.h"
#include "draw/imageoracle.h"
#include "support/golden.h"

using namespace plotvane;
using plotvane_test::matchesGoldenPNG;
using plotvane_test::matchesGoldenText;
using plotvane_test::LibpngView;
using plotvane_test::readWithLibpng;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct ChartDeleter {
    void operator()(BaseChart* c) const { c->destroy(); }
};
template <class T>
using ChartPtr = std::unique_ptr<T, ChartDeleter>;

std::vector<double> ticksOf(BaseMeter* m) {
    DoubleArray t = m->getTicks();
    return std::vector<double>(t.data, t.data + t.len);
}

std::vector<double> entriesMarked(BaseMeter* m, const char* mark) {
    std::vector<double> out;
    for (double v : ticksOf(m))
        if (std::string(m->getLabel(v)) == mark) out.push_back(v);
    return out;
}

std::string dumpOf(BaseChart* c) {
    MemBlock b = c->makeChart(8);
    return drawtest::withRelativeIds(std::string(b.data ? b.data : "", static_cast<size_t>(std::max(b.len, 0))));
}

std::string pngOf(BaseChart* c) {
    MemBlock b = c->makeChart(Chart::PNG);
    return std::string(b.data ? b.data : "", static_cast<size_t>(std::max(b.len, 0)));
}

}  // namespace

TEST(MeterScale, IncrementsFillTheTickTable) {
    ChartPtr<AngularMeter> half(AngularMeter::create(200, 120));
    half->setMeter(100, 100, 80, -90, 90);
    half->setScale(0, 100, 10, 5);
    std::vector<double> majors = entriesMarked(half.get(), "^"), minors = entriesMarked(half.get(), "-");
    ASSERT_EQ(majors.size(), 11u);
    EXPECT_DOUBLE_EQ(majors.back(), 100);
    ASSERT_EQ(minors.size(), 10u);
    EXPECT_DOUBLE_EQ(minors.front(), 5);
    EXPECT_DOUBLE_EQ(minors.back(), 95);

    // On a full circle the last major would sit on the first.
    ChartPtr<AngularMeter> full(AngularMeter::create(200, 200));
    full->setMeter(100, 100, 80, 0, 360);
    full->setScale(0, 100, 10, 5);
    EXPECT_EQ(entriesMarked(full.get(), "^").size(), 10u);

    // Increments have a floor, so no call asks for millions of ticks.
    half->setScale(0, 10, 0.001);
    EXPECT_EQ(ticksOf(half.get()).size(), 2001u);
    half->setScale(0, 1, 0.5, 1e-300, 1e-300);
    EXPECT_LT(ticksOf(half.get()).size(), 60000u);

    // Micro ticks fill between minors and majors alike.
    half->setScale(0, 10, 5, 1, 0.5);
    EXPECT_EQ(entriesMarked(half.get(), ":").size(), 10u);
    EXPECT_EQ(entriesMarked(half.get(), "-").size(), 8u);
}

TEST(MeterScale, DegenerateScalesHaveNoTicks) {
    ChartPtr<LinearMeter> m(LinearMeter::create(200, 60));
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (auto [lo, hi, major] : {std::tuple{5.0, 5.0, 1.0}, {0.0, 10.0, 0.0}, {0.0, 10.0, Chart::NoValue},
                                 {0.0, 10.0, nan}, {nan, 10.0, 1.0}, {0.0, inf, 1.0}, {-1e308, 1e308, 1e300}}) {
        m->setScale(lo, hi, major);
        EXPECT_EQ(m->getTicks().len, 0) << lo << " " << hi << " " << major;
    }
    // Labels given as texts spread evenly; an empty text removes an entry.
    const char* labels[] = {"low", "mid", "high"};
    m->setScale(0, 10, StringArray(labels, 3));
    EXPECT_STREQ(m->getLabel(5), "mid");
    m->addLabel(5, "");
    EXPECT_EQ(m->getLabel(5), nullptr);
    const double values[] = {1, 2};
    m->setScale(0, 1, DoubleArray(values, 2), "{value|1}");
    EXPECT_STREQ(m->getLabel(1), "2.0");
    // Nothing to paint is not a failure.
    EXPECT_GT(pngOf(m.get()).size(), 0u);
}

TEST(MeterPointer, ShapeAndOffsetDefaults) {
    ChartPtr<AngularMeter> m(AngularMeter::create(200, 200));
    MeterPointer* api = m->addPointer(std::numeric_limits<double>::quiet_NaN());
    auto* p = static_cast<MeterPointerImpl*>(api);
    EXPECT_EQ(p->value(), 0);
    api->setShapeAndOffset(Chart::TriangularPointer2);
    EXPECT_DOUBLE_EQ(p->startOffset(), -0.15);
    EXPECT_DOUBLE_EQ(p->lengthRatio(), 1.1);
    api->setShape(Chart::ArrowPointer, Chart::NoValue, 2);
    EXPECT_DOUBLE_EQ(p->lengthRatio(), 1.1);
    EXPECT_DOUBLE_EQ(p->widthRatio(), 2);
    // Unknown shape types draw the diamond.
    std::vector<double> x, y;
    api->setShapeAndOffset(99, 0, 1);
    p->outline(x, y);
    EXPECT_EQ(x.size(), 4u);
    EXPECT_EQ(y[2], 1000);
}

TEST(MeterGeometry, LinearScalesRunFromTheBottomOrTheLeft) {
    ChartPtr<LinearMeter> m(LinearMeter::create(300, 300));
    m->setScale(0, 100, 10);
    m->setMeter(10, 20, 30, 200, Chart::Left);
    EXPECT_EQ(m->getCoor(0), 220);
    EXPECT_EQ(m->getCoor(100), 20);
    m->setMeter(10, 20, 30, 200, Chart::Right, true);
    EXPECT_EQ(m->getCoor(0), 20);
    m->setMeter(10, 20, 200, 30, Chart::Top);
    EXPECT_EQ(m->getCoor(25), 60);
    EXPECT_EQ(m->getCoor(Chart::NoValue), Chart::NoIntValue);
}

// The pointer's direction measured in the picture: the centroid of its pixels on a ring around
// the pivot, against the angle its value maps to.
TEST(MeterGeometry, PointerAngleInThePictureMatchesTheScale) {
    const double values[] = {0, 7, 19.5, 33, 50, 61, 75, 88, 99, 100, 130, -5};
    for (double value : values) {
        ChartPtr<AngularMeter> m(AngularMeter::create(241, 241, 0xffffff));
        m->setMeter(120, 120, 100, -135, 135);
        m->setScale(0, 100);
        m->setMeterColors(Chart::Transparent);
        MeterPointer* p = m->addPointer(value, 0xff0000);
        p->setShape(Chart::LinePointer2);
        LibpngView v = readWithLibpng(pngOf(m.get()));
        ASSERT_TRUE(v.ok);
        double sx = 0, sy = 0;
        for (int step = 0; step < 3600; ++step) {
            double a = step / 10.0;
            int x = static_cast<int>(std::lround(120 + 70 * std::sin(a * kPi / 180)));
            int y = static_cast<int>(std::lround(120 - 70 * std::cos(a * kPi / 180)));
            uint32_t px = v.pixels[static_cast<size_t>(y * v.width + x)];
            double redness = (255 - ((px >> 8) & 0xff)) / 255.0;
            sx += redness * std::sin(a * kPi / 180);
            sy += redness * std::cos(a * kPi / 180);
        }
        double measured = std::atan2(sx, sy) * 180 / kPi;
        double expected = -135 + 270 * std::clamp(value, 0.0, 100.0) / 100;
        EXPECT_NEAR(measured, expected, 0.5) << "value " << value;
    }
}

TEST(MeterHostile, BadValuesAndScalesDrawWithoutFailing) {
    const double inf = std::numeric_limits<double>::infinity();
    ChartPtr<AngularMeter> m(AngularMeter::create(200, 200));
    m->setMeter(100, 100, 80, 30, 30);  // no span
    m->setScale(100, 0, 0.0001);         // reversed, capped at 2,001 ticks
    m->addZone(-50, 500, 0xff0000);      // beyond the scale on both sides
    m->addZone(200, 300, 0x00ff00);      // wholly outside
    m->addZone(inf, 5, 0x0000ff);
    m->addRing(-5, -10, 0x123456);
    m->addScaleBackground(0, 0xffffff);
    m->addGlare(-1, inf);
    m->addPointer(inf, 0x000000);
    m->addPointer(-inf, 0x000000, 0x000000, 42, Chart::NoValue, Chart::NoValue, -3);
    const double stops[] = {0, 0xff0000, 1e308, 0x00ff00};
    m->addColorScale(DoubleArray(stops, 4));
    m->addColorScale(DoubleArray(stops, 1));
    EXPECT_GT(pngOf(m.get()).size(), 0u);
    EXPECT_GT(m->makeChart(Chart::SVG).len, 0);

    ChartPtr<LinearMeter> l(LinearMeter::create(100, 50));
    l->setMeter(0, 0, -10, -10);
    l->setScale(0, 0);
    l->addBar(inf, -inf, 0xff0000);
    l->addZone(5, 5, 0x00ff00, "empty");
    l->addPointer(std::numeric_limits<double>::quiet_NaN());
    EXPECT_GT(pngOf(l.get()).size(), 0u);
}

namespace {

ChartPtr<AngularMeter> semicircleWithZones() {
    ChartPtr<AngularMeter> m(AngularMeter::create(300, 180, 0xffffff));
    m->setMeter(150, 150, 110, -90, 90);
    m->setScale(0, 160, 20, 10, 2);
    m->setLabelStyle("bold", 10, Chart::Transparent);  // pictures not about text leave it out
    m->addZone(0, 100, 0x99dd77);
    m->addZone(100, 130, 0xffdd44);
    m->addZone(130, 160, 0xee5544);
    m->addPointer(118, 0x3366cc)->setShape(Chart::TriangularPointer2, 0.9);
    m->addPointer(86, 0x80aaaaaa)->setShape(Chart::LinePointer2, 0.8);
    m->setCap(8, 0x333333, 0x000000);
    return m;
}

ChartPtr<AngularMeter> dialWithGlare() {
    ChartPtr<AngularMeter> m(AngularMeter::create(240, 240, 0xffffff));
    m->setMeter(120, 120, 96, 0, 360);
    m->addScaleBackground(114, 0x223344, 6, 0x99aabb);
    m->setScale(0, 12, 1, 0.5);
    m->setLabelStyle("bold", 10, Chart::Transparent);
    m->setTickLength(-10);
    m->setLineWidth(1, 3);
    m->setMeterColors(0xdddddd, -1, 0xdddddd);
    m->addPointer(4.2, 0xffcc33, 0x000000, Chart::ArrowPointer2);
    m->addGlare();
    return m;
}

ChartPtr<LinearMeter> thermometer() {
    ChartPtr<LinearMeter> m(LinearMeter::create(90, 280, 0xffffff));
    m->setMeter(40, 15, 20, 250, Chart::Left);
    m->setScale(-20, 50, 10, 5);
    m->setLabelStyle("bold", 8, Chart::Transparent);
    const double stops[] = {-20, 0x3355ff, 0, 0x66ccff, 20, 0x66dd66, 50, 0xee3322};
    m->addColorScale(DoubleArray(stops, 8));
    m->addPointer(23.5, 0x333333)->setShape(Chart::TriangularPointer, 0.6);
    return m;
}

ChartPtr<LinearMeter> horizontalWithLabels() {
    ChartPtr<LinearMeter> m(LinearMeter::create(360, 90, 0xffffff));
    m->setMeter(20, 30, 320, 24, Chart::Top);
    m->setScale(0, 100, 10, 5);
    m->setTickLength(-8);
    m->addZone(0, 60, 0xccebc5, "normal");
    m->addZone(60, 85, 0xfee8a8, "high");
    m->addBar(85, 100, 0xf9b4ae, Chart::barLighting());
    m->setRail(0x888888, 2, 4);
    m->addText(20, 60, "0%", "bold", 8, 0x555555, Chart::TopLeft);
    m->addText(340, 60, "100%", "bold", 8, 0x555555, Chart::TopRight);
    m->addPointer(72, 0x3366cc);
    return m;
}

}  // namespace

TEST(MeterGolden, DumpsAndPictures) {
    struct Case {
        const char* name;
        ChartPtr<BaseChart> chart;
    };
    Case cases[] = {{"meter_semicircle", semicircleWithZones()},
                    {"meter_dial", dialWithGlare()},
                    {"meter_thermometer", thermometer()},
                    {"meter_horizontal", horizontalWithLabels()}};
    for (Case& c : cases) {
        EXPECT_TRUE(matchesGoldenText("chart", std::string(c.name) + ".agf", dumpOf(c.chart.get()))) << c.name;
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(c.name) + ".png", pngOf(c.chart.get()), 48)) << c.name;
    }
}

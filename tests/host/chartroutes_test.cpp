// A chart built by a host program through the plugin's records is the chart built in C++: the same
// PNG bytes, also with ScaleFactor 2 against the C++ chart built with every pixel argument doubled.
#include <plotvane/plotvane.h>

#include "hostfixture.h"
#include "support/golden.h"

#include <algorithm>
#include <cstdio>

namespace {

using namespace hosttest;

const std::vector<double> kSales = {42, 67, 55, 80, 71};
const std::vector<double> kTarget = {50, 55, 60, 65, 70};

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "/host_" + name;
}

// The same chart in C++, every pixel argument multiplied by k.
std::string cppChart(int k, const std::string& file) {
    using namespace plotvane;
    XYChart* c = XYChart::create(480 * k, 320 * k, 0xf4f4f4);
    c->setPlotArea(60 * k, 40 * k, 390 * k, 230 * k, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addTitle("Sales by quarter", "", 12);
    c->addLineLayer(DoubleArray(kTarget.data(), 5), 0xcc3300, "Target")->setLineWidth(2);
    c->addBarLayer(DoubleArray(kSales.data(), 5), 0x6fa8dc, "Sales")->setBorderColor(0x1f4e79);
    c->yAxis()->setLinearScale(0, 100, 20);
    const bool written = c->makeChart(file.c_str());
    c->destroy();
    return written ? plotvane_test::readFile(file) : std::string();
}

class ChartRoutes : public HostTest {
protected:
    std::string hostChart(const std::string& file) {
        Value c = make("PVXYChartRQX", {I(480), I(320), Colour(0xf4f4f4)});
        call(c, "setPlotArea", {I(60), I(40), I(390), I(230), I(0xffffff), I(-1), I(0xff000000), I(0xdddddd)});
        call(c, "addTitle", {S("Sales by quarter"), S(""), D(12)});
        Value line = call(c, "addLineLayer", {Doubles(kTarget), Colour(0xcc3300), S("Target")});
        call(line, "setLineWidth", {I(2)});
        Value bars = call(c, "addBarLayer", {Doubles(kSales), Colour(0x6fa8dc), S("Sales")});
        call(bars, "setBorderColor", {Colour(0x1f4e79)});
        Value y = call(c, "yAxis");
        call(y, "setLinearScale", {D(0), D(100), D(20)});
        EXPECT_TRUE(call(c, "makeChart", {S(file)}).boolean);
        return plotvane_test::readFile(file);
    }
};

TEST_F(ChartRoutes, HostProgramGivesTheCppChartsBytes) {
    const std::string viaHost = hostChart(tempPath("route1.png"));
    ASSERT_FALSE(viaHost.empty());
    EXPECT_TRUE(viaHost == cppChart(1, tempPath("route1_cpp.png")));
}

TEST_F(ChartRoutes, ScaleFactorTwoGivesTheCppChartAtTwiceTheSize) {
    ok(host.setShared("PVBaseChartRQX", "ScaleFactor", D(2)));
    const std::string viaHost = hostChart(tempPath("route2.png"));
    ASSERT_FALSE(viaHost.empty());
    EXPECT_TRUE(viaHost == cppChart(2, tempPath("route2_cpp.png")));
    EXPECT_FALSE(viaHost == cppChart(1, tempPath("route2_cpp1.png")));
}

// The angular axis's zone between two radii is reached by its argument count, in either colour form.
TEST_F(ChartRoutes, AngularZoneBetweenRadii) {
    using namespace plotvane;
    PolarChart* cpp = PolarChart::create(300, 300, 0xffffff);
    cpp->setPlotArea(150, 150, 110);
    cpp->angularAxis()->addZone(30, 120, 0x3060c0);
    cpp->angularAxis()->addZone(200, 300, 40, 90, 0xc03030, 0x202020);
    const std::string expected = tempPath("zone_cpp.png");
    ASSERT_TRUE(cpp->makeChart(expected.c_str()));
    cpp->destroy();

    Value c = make("PVPolarChartRQX", {I(300), I(300), Colour(0xffffff)});
    call(c, "setPlotArea", {I(150), I(150), I(110)});
    Value axis = call(c, "angularAxis");
    call(axis, "addZone", {D(30), D(120), Colour(0x3060c0)});
    call(axis, "addZone", {D(200), D(300), I(40), I(90), Colour(0xc03030), Colour(0x202020)});
    const std::string file = tempPath("zone.png");
    ASSERT_TRUE(call(c, "makeChart", {S(file)}).boolean);
    EXPECT_TRUE(plotvane_test::readFile(file) == plotvane_test::readFile(expected));
}

// Radii under other names (rings, zones, the scale background, the glare) scale like every other
// pixel argument; the meter's markers for "automatic" stay markers.
std::string meterViaCpp(int k, const std::string& file) {
    using namespace plotvane;
    AngularMeter* m = AngularMeter::create(220 * k, 220 * k, 0xffffff);
    m->setMeter(110 * k, 120 * k, 80 * k, -135, 135);
    m->setScale(0, 100, 20);
    m->addScaleBackground(100 * k, 0xeeeeee);
    m->addRing(84 * k, 90 * k, 0x8899cc);
    m->addZone(0, 60, 60 * k, 70 * k, 0x99dd77);
    m->addGlare();
    const bool written = m->makeChart(file.c_str());
    m->destroy();
    return written ? plotvane_test::readFile(file) : std::string();
}

TEST_F(ChartRoutes, MeterRadiiFollowTheScaleFactor) {
    ok(host.setShared("PVBaseChartRQX", "ScaleFactor", D(2)));
    Value m = make("PVAngularMeterRQX", {I(220), I(220), I(0xffffff)});
    call(m, "setMeter", {I(110), I(120), I(80), D(-135), D(135)});
    call(m, "setScale", {D(0), D(100), D(20)});
    call(m, "addScaleBackground", {I(100), I(0xeeeeee)});
    call(m, "addRing", {I(84), I(90), I(0x8899cc)});
    call(m, "addZone", {D(0), D(60), I(60), I(70), I(0x99dd77)});
    call(m, "addGlare");
    const std::string file = tempPath("meter2.png");
    ASSERT_TRUE(call(m, "makeChart", {S(file)}).boolean);
    EXPECT_TRUE(plotvane_test::readFile(file) == meterViaCpp(2, tempPath("meter2_cpp.png")));
}

// A finance chart hands out charts of its own: the host objects of those charts borrow them, and
// going away before or after the finance chart destroys nothing twice.
struct Prices {
    std::vector<double> times, high, low, open, close, volume;
    Prices() {
        double price = 100;
        for (int day = 0; day < 40; ++day) {
            times.push_back(plotvane::Chart::chartTime(2024, 3, 1) + day * 86400.0);
            const double next = price + ((day * 7) % 11 - 5) * 0.8;
            open.push_back(price);
            close.push_back(next);
            high.push_back(std::max(price, next) + 1.5);
            low.push_back(std::min(price, next) - 1.2);
            volume.push_back(1000 + (day * 37) % 500);
            price = next;
        }
    }
};

std::string financeViaCpp(const Prices& p, const std::string& file) {
    using namespace plotvane;
    FinanceChart* c = FinanceChart::create(420);
    c->setData(DoubleArray(p.times.data(), 40), DoubleArray(p.high.data(), 40), DoubleArray(p.low.data(), 40),
               DoubleArray(p.open.data(), 40), DoubleArray(p.close.data(), 40), DoubleArray(p.volume.data(), 40), 10);
    XYChart* main = c->addMainChart(180);
    c->addCandleStick(0x00aa00, 0xcc0000);
    c->addSimpleMovingAvg(5, 0x3366cc);
    main->yAxis()->setColors(0x888888);
    c->addVolIndicator(60, 0x99cc99, 0xcc9999, 0x999999);
    const bool written = c->makeChart(file.c_str());
    c->destroy();
    return written ? plotvane_test::readFile(file) : std::string();
}

TEST_F(ChartRoutes, FinanceChartAndTheChartsItHandsOut) {
    const Prices p;
    const std::string expected = financeViaCpp(p, tempPath("finance_cpp.png"));
    ASSERT_FALSE(expected.empty());
    const int before = host.liveObjects();
    for (int financeFirst = 0; financeFirst < 2; ++financeFirst) {
        Value finance = make("PVFinanceChartRQX", {I(420)});
        call(finance, "setData", {Doubles(p.times), Doubles(p.high), Doubles(p.low), Doubles(p.open),
                                  Doubles(p.close), Doubles(p.volume), I(10)});
        Value main = call(finance, "addMainChart", {I(180)});
        ASSERT_TRUE(host.isA(main, "PVXYChartRQX"));
        call(finance, "addCandleStick", {Colour(0x00aa00), Colour(0xcc0000)});
        call(finance, "addSimpleMovingAvg", {I(5), Colour(0x3366cc)});
        call(call(main, "yAxis"), "setColors", {Colour(0x888888)});
        Value volume = call(finance, "addVolIndicator", {I(60), Colour(0x99cc99), Colour(0xcc9999), Colour(0x999999)});
        const std::string file = tempPath("finance.png");
        ASSERT_TRUE(call(finance, "makeChart", {S(file)}).boolean);
        EXPECT_TRUE(plotvane_test::readFile(file) == expected);
        if (financeFirst) finance = Value();
        main = Value();
        EXPECT_EQ(call(volume, "getWidth").integer, 420);
    }
    EXPECT_EQ(host.liveObjects(), before);
}

}  // namespace

#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "chart/barchart.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double NV = Chart::NoValue;

struct FinanceDeleter {
    void operator()(FinanceChart* c) const { c->destroy(); }
};
using FinancePtr = std::unique_ptr<FinanceChart, FinanceDeleter>;

// A seeded random walk of trading days, Monday to Friday.
struct Prices {
    std::vector<double> t, high, low, open, close, vol;

    explicit Prices(int n, unsigned seed = 12345, double start = Chart::chartTime(2024, 1, 1)) {
        unsigned state = seed;
        auto uniform = [&state] {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) / 16777216.0;
        };
        double price = 100, day = start;
        for (int i = 0; i < n; ++i) {
            // 2024-01-01 is a Monday: skip Saturdays and Sundays.
            while (static_cast<long long>((day - start) / 86400) % 7 >= 5) day += 86400;
            double o = price, c = price * (1 + (uniform() - 0.5) * 0.06);
            t.push_back(day);
            open.push_back(o);
            close.push_back(c);
            high.push_back(std::max(o, c) * (1 + uniform() * 0.02));
            low.push_back(std::min(o, c) * (1 - uniform() * 0.02));
            vol.push_back(std::floor(1000 + uniform() * 9000));
            price = c;
            day += 86400;
        }
    }

    void give(FinanceChart* c, int extra) const {
        auto a = [](const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); };
        c->setData(a(t), a(high), a(low), a(open), a(close), a(vol), extra);
    }
};

std::vector<double> valuesOf(Layer* layer, int dataSet, int count) {
    std::vector<double> v;
    DataSet* d = layer ? layer->getDataSet(dataSet) : nullptr;
    for (int i = 0; d && i < count; ++i) v.push_back(d->getValue(i));
    return v;
}

std::map<std::string, std::vector<double>> pandasReference(const Prices& p, int shown) {
    std::string csv = ::testing::TempDir() + "finance_prices.csv";
    FILE* f = std::fopen(csv.c_str(), "w");
    for (size_t i = 0; f && i < p.t.size(); ++i)
        std::fprintf(f, "%.17g,%.17g,%.17g,%.17g,%.17g,%.17g\n", p.t[i], p.high[i], p.low[i], p.open[i], p.close[i],
                     p.vol[i]);
    if (f) std::fclose(f);
    std::string command = "/usr/bin/python3 " + testPath("chart/finance_reference.py") + " " + csv + " " +
                          std::to_string(shown) + " 2>/dev/null";
    std::map<std::string, std::vector<double>> out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    std::string text;
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
    pclose(pipe);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key, word;
        words >> key;
        while (words >> word) out[key].push_back(word == "nan" ? NV : std::stod(word));
    }
    return out;
}

void expectSeries(const std::string& key, const std::vector<double>& drawn, const std::vector<double>& expected) {
    ASSERT_EQ(drawn.size(), expected.size()) << key;
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (expected[i] == NV) {
            EXPECT_EQ(drawn[i], NV) << key << " at " << i;
            continue;
        }
        EXPECT_NEAR(drawn[i], expected[i], 1e-9 * std::max(1.0, std::fabs(expected[i]))) << key << " at " << i;
    }
}

TEST(FinanceChart, IndicatorsAgreeWithPandas) {
    const int total = 300, extra = 40, shown = total - extra;
    Prices p(total);
    auto reference = pandasReference(p, shown);
    if (reference.empty()) GTEST_SKIP() << "pandas is not importable by /usr/bin/python3";

    FinancePtr c(FinanceChart::create(640));
    p.give(c.get(), extra);
    XYChart* main = c->addMainChart(200);
    c->addCandleStick(0x00ff00, 0xff0000);
    c->addSimpleMovingAvg(20, 0x0000ff);
    c->addExpMovingAvg(12, 0x0000ff);
    c->addTriMovingAvg(10, 0x0000ff);
    c->addWeightedMovingAvg(9, 0x0000ff);
    c->addBollingerBand(20, 2, 0x0000ff, 0x800000ff);
    c->addDonchianChannel(20, 0x0000ff, 0x800000ff);
    std::map<std::string, Layer*> layers = {
        {"sma20", main->getLayer(1)},          {"ema12", main->getLayer(2)},
        {"tma10", main->getLayer(3)},          {"wma9", main->getLayer(4)},
        {"bb_upper", main->getLayer(5)},       {"bb_lower", main->getLayer(6)},
        {"donchian_upper", main->getLayer(8)}, {"donchian_lower", main->getLayer(9)},
    };
    auto first = [&](const char* key, XYChart* chart, int layer = 0) { layers[key] = chart->getLayer(layer); };
    XYChart* macd = c->addMACD(60, 12, 26, 9, 0xff, 0xff00, 0xff0000);
    first("macd", macd);
    first("macd_signal", macd, 1);
    first("macd_div", macd, 2);
    first("rsi14", c->addRSI(60, 14, 0xff, 20, 0xff0000, 0xff00));
    XYChart* fast = c->addFastStochastic(60, 14, 3, 0xff, 0xff00);
    first("fast_k", fast);
    first("fast_d", fast, 1);
    XYChart* slow = c->addSlowStochastic(60, 14, 3, 0xff, 0xff00);
    first("slow_k", slow);
    first("slow_d", slow, 1);
    first("williams", c->addWilliamR(60, 14, 0xff, 30, 0xff0000, 0xff00));
    XYChart* atr = c->addATR(60, 14, 0xff, 0xff00);
    first("tr", atr);
    first("atr14", atr, 1);
    first("obv", c->addOBV(60, 0xff));
    first("roc10", c->addROC(60, 10, 0xff));
    first("momentum10", c->addMomentum(60, 10, 0xff));
    first("cci20", c->addCCI(60, 20, 0xff, 100, 0xff0000, 0xff00));
    first("mfi14", c->addMFI(60, 14, 0xff, 30, 0xff0000, 0xff00));
    first("cmf20", c->addChaikinMoneyFlow(60, 20, 0xff));
    first("accdist", c->addAccDist(60, 0xff));
    first("trix9", c->addTRIX(60, 9, 0xff));
    first("stddev20", c->addStdDev(60, 20, 0xff));
    first("ultimate", c->addUltimateOscillator(60, 7, 14, 28, 0xff, 20, 0xff0000, 0xff00));
    XYChart* nvi = c->addNVI(60, 25, 0xff, 0xff00);
    first("nvi", nvi);
    first("nvi_sma25", nvi, 1);
    XYChart* pvi = c->addPVI(60, 25, 0xff, 0xff00);
    first("pvi", pvi);
    first("pvi_sma25", pvi, 1);
    XYChart* adx = c->addADX(60, 14, 0xff, 0xff00, 0xff0000);
    first("plus_di", adx);
    first("minus_di", adx, 1);
    first("adx", adx, 2);
    XYChart* aroon = c->addAroon(60, 25, 0xff, 0xff00);
    first("aroon_up", aroon);
    first("aroon_down", aroon, 1);
    first("aroon_osc", c->addAroonOsc(60, 25, 0xff));
    layers["sar"] = c->addParabolicSAR(0.02, 0.02, 0.2, Chart::DiamondSymbol, 5, 0xff, 0xff);
    first("dpo20", c->addDPO(60, 20, 0xff));
    first("mass", c->addMassIndex(60, 0xff, 0xff0000, 0xff00));
    XYChart* ppo = c->addPPO(60, 12, 26, 9, 0xff, 0xff00, 0xff0000);
    first("ppo", ppo);
    first("ppo_signal", ppo, 1);
    first("ppo_div", ppo, 2);
    XYChart* pvo = c->addPVO(60, 12, 26, 9, 0xff, 0xff00, 0xff0000);
    first("pvo", pvo);
    first("pvo_signal", pvo, 1);
    first("pvo_div", pvo, 2);
    first("chaikin_osc", c->addChaikinOscillator(60, 0xff));
    first("chaikin_vol", c->addChaikinVolatility(60, 10, 10, 0xff));
    XYChart* emv = c->addEaseOfMovement(60, 14, 0xff, 0xff00);
    first("emv", emv);
    first("emv_sma14", emv, 1);
    first("stoch_rsi14", c->addStochRSI(60, 14, 0xff, 30, 0xff0000, 0xff00));

    for (const auto& [key, expected] : reference) {
        ASSERT_TRUE(layers.count(key)) << key;
        expectSeries(key, valuesOf(layers[key], 0, shown), expected);
    }
    EXPECT_EQ(layers.size(), reference.size());
}

// Flat prices meet 0/0 in every ratio; each indicator then shows its neutral value, not a gap.
TEST(FinanceChart, FlatPriceGivesNeutralValues) {
    const int n = 40;
    std::vector<double> t(n), flat(n, 50), vol(n, 1000);
    for (int i = 0; i < n; ++i) t[i] = Chart::chartTime(2024, 3, 1) + i * 86400.0;
    FinancePtr c(FinanceChart::create(400));
    DoubleArray f(flat.data(), n);
    c->setData(DoubleArray(t.data(), n), f, f, f, f, DoubleArray(vol.data(), n), 20);
    c->addMainChart(100);
    XYChart* rsi = c->addRSI(50, 14, 0xff, 20, 0xff0000, 0xff00);
    XYChart* stoch = c->addFastStochastic(50, 14, 3, 0xff, 0xff00);
    XYChart* williams = c->addWilliamR(50, 14, 0xff, 30, 0xff0000, 0xff00);
    XYChart* clv = c->addCLV(50, 0xff);
    XYChart* ppo = c->addPPO(50, 12, 26, 9, 0xff, 0xff00, 0xff0000);
    for (int i = 0; i < n - 20; ++i) {
        EXPECT_DOUBLE_EQ(rsi->getLayer(0)->getDataSet(0)->getValue(i), 50) << i;
        EXPECT_DOUBLE_EQ(stoch->getLayer(0)->getDataSet(0)->getValue(i), 50) << i;
        EXPECT_DOUBLE_EQ(williams->getLayer(0)->getDataSet(0)->getValue(i), -50) << i;
        EXPECT_DOUBLE_EQ(clv->getLayer(0)->getDataSet(0)->getValue(i), 0) << i;
        EXPECT_DOUBLE_EQ(ppo->getLayer(0)->getDataSet(0)->getValue(i), 0) << i;
    }
    EXPECT_NE(c->makeChart(Chart::PNG).len, 0);
}

// Degenerate data sets draw what they can: no crash, and no axis stretched by a bad value.
TEST(FinanceChart, DegenerateDataDrawsWhatItCan) {
    auto build = [](const Prices& p, int extra) {
        FinancePtr c(FinanceChart::create(500));
        p.give(c.get(), extra);
        c->addMainChart(150);
        c->addHLOC(0x00ff00, 0xff0000);
        c->addSimpleMovingAvg(20, 0xff);
        c->addBollingerBand(20, 2, 0xff, 0x800000ff);
        c->addParabolicSAR(0.02, 0.02, 0.2, Chart::DiamondShape, 5, 0xff, 0xff);
        c->addVolBars(40, 0xff00, 0xff0000, 0x888888);
        for (XYChart* x : {c->addMACD(60, 12, 26, 9, 0xff, 0xff00, 0xff0000),
                           c->addRSI(60, 14, 0xff, 20, 0xff0000, 0xff00), c->addADX(60, 14, 0xff, 0xff00, 0xff0000),
                           c->addAroonOsc(60, 14, 0xff), c->addNVI(60, 20, 0xff, 0xff00),
                           c->addMassIndex(60, 0xff, 0xff0000, 0xff00)})
            EXPECT_NE(x, nullptr);
        EXPECT_NE(c->makeChart(Chart::PNG).len, 0);
        return c;
    };
    build(Prices(5), 0);   // fewer points than any period
    build(Prices(1), 0);   // a single day
    build(Prices(0), 0);   // nothing at all
    build(Prices(10), 50); // more history than points

    Prices gaps(120);
    for (int i = 0; i < 10; ++i) gaps.close[i] = gaps.high[i] = gaps.low[i] = gaps.open[i] = NV;
    for (int i = 110; i < 120; ++i) gaps.close[i] = gaps.high[i] = gaps.low[i] = gaps.open[i] = NV;
    for (int i = 30; i < 40; ++i) gaps.vol[i] = 0;
    gaps.high[60] = std::nan("");
    gaps.low[61] = -std::numeric_limits<double>::infinity();
    FinancePtr c = build(gaps, 5);
    XYChart* main = c->mainChart();
    EXPECT_LT(main->yAxis()->getMaxValue(), 1000);
    EXPECT_GT(main->yAxis()->getMinValue(), -1000);
    // The moving average restarts after the leading gap and the trailing gap stays empty.
    Layer* sma = main->getLayer(1);
    EXPECT_EQ(sma->getDataSet(0)->getValue(0), NV);
    EXPECT_NE(sma->getDataSet(0)->getValue(40), NV);
    EXPECT_EQ(sma->getDataSet(0)->getValue(110), NV);
}

// Date labels follow the time step: months for a year of days, years for decades, hours for a
// few days of hourly prices, and never a weekend tick between Friday and Monday.
TEST(FinanceChart, DateLabelsFollowTheTimeStep) {
    auto labels = [](const Prices& p, int width) {
        FinancePtr c(FinanceChart::create(width));
        c->setMargins(40, 10, 40, 30);
        p.give(c.get(), 0);
        c->addMainChart(100);
        c->addCloseLine(0xff);
        c->layout();
        std::vector<std::string> texts;
        Axis* x = c->mainChart()->xAxis();
        DoubleArray ticks = x->getTicks();
        for (int i = 0; i < ticks.len; ++i)
            if (const char* s = x->getLabel(ticks.data[i])) texts.push_back(s);
        return texts;
    };
    std::vector<std::string> year = labels(Prices(261), 800);
    ASSERT_FALSE(year.empty());
    EXPECT_EQ(year[0], "<*font=bold*>Jan 24");
    EXPECT_EQ(year[1], "Feb");

    std::vector<std::string> decades = labels(Prices(5200), 640);
    ASSERT_FALSE(decades.empty());
    EXPECT_EQ(decades[0], "2024");

    Prices hourly(0);
    for (int i = 0; i < 48; ++i) {
        hourly.t.push_back(Chart::chartTime(2024, 5, 6, 9) + (i / 8) * 86400.0 + (i % 8) * 3600.0);
        for (auto* v : {&hourly.high, &hourly.low, &hourly.open, &hourly.close}) v->push_back(10 + i % 5);
        hourly.vol.push_back(100);
    }
    std::vector<std::string> hours = labels(hourly, 1200);
    ASSERT_FALSE(hours.empty());
    EXPECT_EQ(hours[0], "<*font=bold*>6 May\n9:00am");
}

FinancePtr quietFinance(int width) {
    FinancePtr c(FinanceChart::create(width));
    c->setXAxisStyle("", 8, Chart::Transparent);
    c->setYAxisStyle("", 8, Chart::Transparent);
    c->setLegendStyle("", 8, Chart::Transparent);
    return c;
}

TEST(FinanceChart, GoldenDumpsAndPictures) {
    Prices p(160);
    FinancePtr candles = quietFinance(400);
    p.give(candles.get(), 30);
    candles->addMainChart(160);
    candles->addCandleStick(0x33aa33, 0xdd3333);
    candles->addSimpleMovingAvg(20, 0x2266cc);
    candles->addBollingerBand(20, 2, 0x9999ff, 0xc09999ff);
    candles->addVolBars(40, 0x8033aa33, 0x80dd3333, 0x80888888);
    candles->addMACD(60, 12, 26, 9, 0x0000ff, 0xff00ff, 0x008800);
    candles->addRSI(60, 14, 0x800080, 20, 0xff6666, 0x6666ff);
    candles->addSlowStochastic(60, 14, 3, 0x006060, 0x606000);

    FinancePtr hloc = quietFinance(400);
    Prices q(60, 99);
    q.give(hloc.get(), 0);
    hloc->setLogScale(true);
    hloc->addMainChart(200);
    hloc->addHLOC(0x008800, 0xcc0000);

    for (auto& [name, chart] : {std::pair<const char*, FinanceChart*>{"finance_candles", candles.get()},
                                {"finance_hloc_log", hloc.get()}}) {
        EXPECT_TRUE(matchesGoldenText("chart", std::string(name) + ".agf",
                                      drawtest::withRelativeIds(textDump(chart))));
        MemBlock png = chart->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(name) + ".png",
                                     std::string(png.data, static_cast<size_t>(png.len)), 8));
    }
}

}  // namespace

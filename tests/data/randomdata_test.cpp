#include <plotvane/chart.h>
#include <plotvane/randomdata.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "data/isaac_p.h"

using namespace plotvane;
using Chart::chartTime;

namespace {

using Values = std::vector<double>;

Values copy(DoubleArray a) {
    return Values(a.data, a.data + a.len);
}

bool isWeekend(double t) {
    int d = Chart::getChartWeekDay(t);
    return d == 0 || d == 6;
}

}  // namespace

TEST(Isaac, FixedSeedGivesCommittedWords) {
    // Any change to the generator or its seeding shows here. Draws 16 and 17 straddle the first refill.
    const uint32_t expected[20] = {0x38a9b1b5u, 0x36700484u, 0x294e5a87u, 0x31e4edd6u, 0xb87ac0b7u,
                                   0x598e1e97u, 0x0175a76fu, 0x4815dd2fu, 0x05b5fc2du, 0xcfec10d8u,
                                   0x7fb19ad5u, 0xcb3442b9u, 0x807f7216u, 0xc682f4b2u, 0xd4a830b1u,
                                   0x73d557cbu, 0x020c9bbeu, 0xcb1269cfu, 0x0d7562ffu, 0xd0fe1314u};
    Isaac g(12345);
    for (uint32_t word : expected) EXPECT_EQ(g.next(), word);
    Isaac zero(0);
    EXPECT_EQ(zero.next(), 0xa3295006u);
    EXPECT_EQ(zero.next(), 0x454667b2u);
}

TEST(RanSeries, ReproducibleSeries) {
    RanSeries* a = RanSeries::create(7);
    RanSeries* b = RanSeries::create(7);
    Values first = copy(a->getSeries(3, 0, 100));
    EXPECT_EQ(first, (Values{56.395679655576977, 3.5804783700919893, 7.2742863342338913}));
    EXPECT_EQ(copy(b->getSeries(3, 0, 100)), first);
    EXPECT_EQ(copy(a->getGaussianSeries(9, 1, 2)), copy(b->getGaussianSeries(9, 1, 2)));
    EXPECT_EQ(copy(a->get2DSeries(4, 3, 0, 1)), copy(b->get2DSeries(4, 3, 0, 1)));
    // Earlier arrays stay valid while later ones are made.
    DoubleArray kept = a->getSeries(2, 5, 6);
    for (int i = 0; i < 50; ++i) a->getSeries(1000, 0, 1);
    EXPECT_GE(kept[0], 5);
    EXPECT_LE(kept[1], 6);

    EXPECT_EQ(copy(a->getSeries(5, 10, 10)), Values(5, 10));
    EXPECT_EQ(a->getSeries(0, 0, 1).len, 0);
    EXPECT_EQ(a->getSeries(-3, 0, 1, 2, 0, 10).len, 0);
    EXPECT_EQ(a->get2DSeries(0, 5, 0, 1).len, 0);
    EXPECT_EQ(copy(a->get2DSeries(1, 1, 0, 1)), Values{0.5});
    a->destroy();
    b->destroy();
}

TEST(RanSeries, WalksAndGaussianValues) {
    RanSeries* r = RanSeries::create(3);
    // Steps always overshoot the upper limit: the walk sits on it.
    EXPECT_EQ(copy(r->getSeries(4, 0, 10, 20, -1e308, 5)), (Values{0, 5, 5, 5}));
    // A bounded walk stays within its limits and moves by at most its step.
    Values walk = copy(r->getSeries(2000, 50, -3, 3, 40, 60));
    for (size_t i = 1; i < walk.size(); ++i) {
        EXPECT_GE(walk[i], 40);
        EXPECT_LE(walk[i], 60);
        EXPECT_LE(std::fabs(walk[i] - walk[i - 1]), 3);
    }

    // An odd length drops the second value of the last pair: the next call starts on a fresh pair.
    RanSeries* odd = RanSeries::create(11);
    RanSeries* even = RanSeries::create(11);
    Values three = copy(odd->getGaussianSeries(3, 0, 1));
    Values four = copy(even->getGaussianSeries(4, 0, 1));
    EXPECT_EQ(three, Values(four.begin(), four.begin() + 3));
    EXPECT_NE(odd->getGaussianSeries(1, 0, 1)[0], four[3]);

    Values g = copy(r->getGaussianSeries(20001, 5, 2));
    double mean = 0, squares = 0;
    for (double v : g) mean += v / static_cast<double>(g.size());
    for (double v : g) squares += (v - mean) * (v - mean) / static_cast<double>(g.size());
    EXPECT_NEAR(mean, 5, 0.05);
    EXPECT_NEAR(std::sqrt(squares), 2, 0.05);

    // The field spans the range exactly and is smooth: neighbours differ far less than noise would.
    Values field = copy(r->get2DSeries(40, 30, -5, 5));
    EXPECT_EQ(*std::min_element(field.begin(), field.end()), -5);
    EXPECT_EQ(*std::max_element(field.begin(), field.end()), 5);
    double step = 0;
    for (size_t k = 1; k < field.size(); ++k)
        if (k % 40 != 0) step += std::fabs(field[k] - field[k - 1]) / static_cast<double>(field.size());
    EXPECT_LT(step, 1.0);
    odd->destroy();
    even->destroy();
    r->destroy();
}

TEST(RanSeries, DateSequences) {
    RanSeries* r = RanSeries::create(1);
    double t = chartTime(2024, 1, 31, 10);
    EXPECT_EQ(copy(r->getDateSeries(3, t, 86400)), (Values{t, t + 86400, t + 172800}));
    EXPECT_EQ(copy(r->getDateSeries(2, t + 0.25, -3600)), (Values{t + 0.25, t + 0.25 - 3600}));

    // Months keep the day where they can and otherwise take the last day; leap years count.
    Values months = copy(r->getDateSeries(4, t, 30 * 86400));
    EXPECT_EQ(months, (Values{t, chartTime(2024, 2, 29, 10), chartTime(2024, 3, 29, 10),
                              chartTime(2024, 4, 29, 10)}));
    // Negative steps are plain seconds, unless weekdays are asked for: then months go backwards.
    EXPECT_EQ(r->getDateSeries(3, chartTime(2024, 3, 31), -30 * 86400.0)[2], chartTime(2024, 1, 31));
    Values back = copy(r->getDateSeries(3, chartTime(2024, 3, 29), -30 * 86400.0, true));
    EXPECT_EQ(back, (Values{chartTime(2024, 3, 29), chartTime(2024, 2, 29), chartTime(2024, 1, 29)}));
    // A year and a month and a day and an hour in one step.
    Values mixed =
        copy(r->getDateSeries(2, chartTime(2023, 12, 1), 360 * 86400.0 + 30 * 86400 + 86400 + 3600));
    EXPECT_EQ(mixed[1], chartTime(2025, 1, 2, 1));

    // Weekdays only: monthly steps that hit a weekend move on by further months; daily steps skip it.
    Values weekdays = copy(r->getDateSeries(24, chartTime(2024, 1, 3), 30 * 86400, true));
    for (double d : weekdays) EXPECT_FALSE(isWeekend(d)) << Chart::getChartYMD(d);
    Values daily = copy(r->getDateSeries(4, chartTime(2024, 1, 4), 86400, true));
    EXPECT_EQ(daily, (Values{chartTime(2024, 1, 4), chartTime(2024, 1, 5), chartTime(2024, 1, 8),
                             chartTime(2024, 1, 9)}));
    // Whole weeks from a weekday never see a weekend; from a Saturday they fall back to day steps.
    Values weekly = copy(r->getDateSeries(3, chartTime(2024, 1, 6), 7 * 86400, true));
    EXPECT_EQ(weekly[0], chartTime(2024, 1, 6));
    EXPECT_FALSE(isWeekend(weekly[1]));
    EXPECT_FALSE(isWeekend(weekly[2]));
    Values zero = copy(r->getDateSeries(3, chartTime(2024, 1, 6), 0, true));
    EXPECT_EQ(zero[1], chartTime(2024, 1, 8));
    r->destroy();
}

TEST(RanTable, ColumnsAndPrices) {
    RanTable* four = RanTable::create(5, 4, 10);
    four->setHLOCCols(0, 100, -5, 5);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(copy(four->getCol(c)), Values(10, 0.0));
    four->destroy();

    RanTable* t = RanTable::create(5, 6, 300);
    t->setHLOCCols(1, 1000, 20, -20);
    t->setHLOCCols(2, 1000, -20, 20);  // 2 is not below 6 - 4: nothing
    t->setCol(5, 8, 2);
    Values high = copy(t->getCol(1)), low = copy(t->getCol(2)), open = copy(t->getCol(3)),
           close = copy(t->getCol(4));
    EXPECT_EQ(open[0], 1000);
    EXPECT_EQ(copy(t->getCol(0)), Values(300, 0.0));
    for (size_t i = 0; i < 300; ++i) {
        EXPECT_GE(high[i], std::max(open[i], close[i]));
        EXPECT_LE(low[i], std::min(open[i], close[i]));
        EXPECT_LE(std::fabs(close[i] - open[i]), 20);
        for (double price : {high[i], low[i], close[i]})
            if (price >= 200) {
                EXPECT_EQ(price, std::floor(price));
            }
    }
    for (double v : copy(t->getCol(5))) {
        EXPECT_GE(v, 2);
        EXPECT_LE(v, 8);
    }
    // The same seed fills the same way.
    RanTable* again = RanTable::create(5, 6, 300);
    again->setHLOCCols(1, 1000, -20, 20);
    EXPECT_EQ(copy(again->getCol(1)), high);
    again->destroy();

    // Cheap prices are kept above the lower limit.
    RanTable* cheap = RanTable::create(9, 5, 500);
    cheap->setHLOCCols(0, 3, -1, 1, 1, 1e308);
    for (int c = 0; c < 4; ++c)
        for (double v : copy(cheap->getCol(c))) EXPECT_GE(v, 1);
    cheap->destroy();

    // Dates: keep a range and move it to the front of every column.
    t->setDateCol(0, chartTime(2024, 1, 1), 86400);
    double open10 = open[10];
    EXPECT_EQ(t->selectDate(0, chartTime(2024, 1, 10, 12), chartTime(2024, 1, 20)), 10);
    EXPECT_EQ(copy(t->getCol(0)).front(), chartTime(2024, 1, 11));
    EXPECT_EQ(copy(t->getCol(0)).back(), chartTime(2024, 1, 20));
    EXPECT_EQ(t->getCol(3)[0], open10);
    EXPECT_EQ(t->getCol(5).len, 10);
    EXPECT_EQ(t->selectDate(0, chartTime(2025, 1, 1), chartTime(2024, 1, 1)), 0);
    EXPECT_EQ(t->getCol(1).len, 0);

    // Column numbers out of range do nothing.
    EXPECT_EQ(t->getCol(6).len, 0);
    EXPECT_EQ(t->getCol(-1).len, 0);
    t->setCol(-1, 0, 1);
    t->setDateCol(6, 0, 1);
    EXPECT_EQ(t->selectDate(7, 0, 1), 0);
    t->destroy();
    RanTable* none = RanTable::create(1, -2, -2);
    EXPECT_EQ(none->getCol(0).len, 0);
    none->destroy();
}

TEST(FinanceSimulator, TradingHoursAndSeeds) {
    // One week of hourly bars: 09:30 to 15:30 on each weekday, nothing on the weekend.
    FinanceSimulator* f = FinanceSimulator::create(1, chartTime(2024, 1, 6), chartTime(2024, 1, 13), 3600);
    Values stamps = copy(f->getTimeStamps());
    ASSERT_EQ(stamps.size(), 35u);
    for (size_t i = 0; i < stamps.size(); ++i) {
        EXPECT_FALSE(isWeekend(stamps[i]));
        double timeOfDay = std::fmod(stamps[i], 86400);
        EXPECT_EQ(timeOfDay, 34200 + 3600.0 * static_cast<double>(i % 7));
    }
    EXPECT_EQ(stamps.front(), chartTime(2024, 1, 8, 9, 30));
    for (DoubleArray a :
         {f->getHighData(), f->getLowData(), f->getOpenData(), f->getCloseData(), f->getVolData()})
        EXPECT_EQ(a.len, 35);
    f->destroy();

    // Daily bars from a text seed: committed values, and the seed is the documented hash of the text.
    FinanceSimulator* d =
        FinanceSimulator::create("Plotvane", chartTime(2024, 1, 1), chartTime(2024, 1, 5), 86400);
    uint64_t h = 8;
    for (char c : std::string("Plotvane"))
        h = (h << 5) ^ (h >> 27) ^ static_cast<uint64_t>(static_cast<int64_t>(c));
    FinanceSimulator* same = FinanceSimulator::create(static_cast<int>(static_cast<uint32_t>(h)),
                                                      chartTime(2024, 1, 1), chartTime(2024, 1, 5), 86400);
    EXPECT_EQ(copy(d->getTimeStamps()), (Values{chartTime(2024, 1, 1, 9, 30), chartTime(2024, 1, 2, 9, 30),
                                                chartTime(2024, 1, 3, 9, 30), chartTime(2024, 1, 4, 9, 30)}));
    EXPECT_EQ(copy(d->getHighData()), (Values{1011, 996, 992, 1013}));
    EXPECT_EQ(copy(d->getLowData()), (Values{989, 954, 979, 968}));
    EXPECT_EQ(copy(d->getOpenData()), (Values{1000, 977, 983, 996}));
    EXPECT_EQ(copy(d->getCloseData()), (Values{992, 972, 991, 983}));
    EXPECT_EQ(copy(d->getVolData()), copy(same->getVolData()));
    EXPECT_NEAR(d->getVolData()[0], 1420171.033339615, 1e-6);
    d->destroy();
    same->destroy();
    // Non-ASCII bytes hash sign-extended; a null text is seed 0.
    FinanceSimulator* null = FinanceSimulator::create(static_cast<const char*>(nullptr), 0, 1e6, 3600);
    FinanceSimulator* zero = FinanceSimulator::create(0, 0, 1e6, 3600);
    EXPECT_EQ(copy(null->getCloseData()), copy(zero->getCloseData()));
    FinanceSimulator* accent = FinanceSimulator::create("\xe9", 0, 1e6, 3600);
    FinanceSimulator* extended = FinanceSimulator::create(-55, 0, 1e6, 3600);  // (1 << 5) ^ -23
    EXPECT_EQ(copy(accent->getCloseData()), copy(extended->getCloseData()));
    accent->destroy();
    extended->destroy();
    null->destroy();
    zero->destroy();

    // Weekly bars start on a Monday; monthly bars on the first of the next month.
    FinanceSimulator* w =
        FinanceSimulator::create(2, chartTime(2024, 2, 28, 15), chartTime(2024, 4, 1), 2 * 604800);
    EXPECT_EQ(copy(w->getTimeStamps()),
              (Values{chartTime(2024, 3, 4), chartTime(2024, 3, 18), chartTime(2024, 4, 1)}));
    w->destroy();
    FinanceSimulator* m =
        FinanceSimulator::create(2, chartTime(2023, 11, 2), chartTime(2024, 6, 1), 2 * 2592000);
    EXPECT_EQ(copy(m->getTimeStamps()), (Values{chartTime(2023, 12, 1), chartTime(2024, 2, 1),
                                                chartTime(2024, 4, 1), chartTime(2024, 6, 1)}));
    m->destroy();
    // A stamp after the close moves to the next opening; no resolution, no data.
    FinanceSimulator* late =
        FinanceSimulator::create(2, chartTime(2024, 1, 5, 16, 30), chartTime(2024, 1, 9), 7200);
    EXPECT_EQ(late->getTimeStamps()[0], chartTime(2024, 1, 8, 9, 30));
    late->destroy();
    FinanceSimulator* empty = FinanceSimulator::create(2, 0, 1e9, 0);
    EXPECT_EQ(empty->getTimeStamps().len, 0);
    EXPECT_EQ(empty->getVolData().len, 0);
    empty->destroy();
}

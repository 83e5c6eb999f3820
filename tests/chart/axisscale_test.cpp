#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "chart/xy/axisscale_p.h"

using namespace plotvane;

namespace {

std::vector<double> ticksOf(const AxisScale& a, TickKind kind) {
    std::vector<double> v;
    for (const AxisTick& t : a.getTicks())
        if (t.kind == kind) v.push_back(t.value);
    return v;
}

std::vector<double> majors(const AxisScale& a) {
    return ticksOf(a, TickKind::Major);
}
std::vector<double> minors(const AxisScale& a) {
    return ticksOf(a, TickKind::Minor);
}

// A vertical axis with horizontal labels: one interval per 20 pixels.
AxisScale verticalAxis(int length) {
    AxisScale a;
    a.setOrientation(Chart::Left);
    a.setLength(length);
    return a;
}

// A horizontal axis with labels along it: one interval per 50 pixels.
AxisScale horizontalAxis(int length) {
    AxisScale a;
    a.setOrientation(Chart::Bottom);
    a.setLength(length);
    return a;
}

std::vector<double> steps(double from, double step, int count) {
    std::vector<double> v;
    for (int i = 0; i < count; ++i) v.push_back(from + i * step);
    return v;
}

const double kDay = 86400;

}  // namespace

TEST(AxisScaleLinear, RangesRoundToNiceSteps) {
    AxisScale a = verticalAxis(200);
    ASSERT_TRUE(a.setAutoScale(0, 0, 0));
    a.layout(0, 100);
    EXPECT_EQ(a.tickInc(), 10);
    EXPECT_EQ(majors(a), steps(0, 10, 11));

    // A range across zero splits its intervals: 4 above, 1 below, step nice(max(30, 17.5)).
    AxisScale b = verticalAxis(100);
    b.setAutoScale(0, 0, 0);
    b.layout(-30, 70);
    EXPECT_EQ(b.tickInc(), 50);
    EXPECT_EQ(b.getMinValue(), -50);
    EXPECT_EQ(b.getMaxValue(), 100);

    // Zero affinity pulls the lower end to 0, which then gets no extension.
    AxisScale c = verticalAxis(200);
    ASSERT_TRUE(c.setDefaultAutoScale(0.1, 0.1, 0.8));
    c.layout(3, 97);
    EXPECT_EQ(c.tickInc(), 20);
    EXPECT_EQ(c.getMinValue(), 0);
    EXPECT_EQ(c.getMaxValue(), 120);
    // The same for an all-negative range, mirrored.
    c.layout(-97, -3);
    EXPECT_EQ(c.getMinValue(), -120);
    EXPECT_EQ(c.getMaxValue(), 0);
    // Too far from zero for the affinity: both ends extend, and round outwards.
    c.layout(50, 60);
    EXPECT_LE(c.getMinValue(), 50 - 10 * 0.1 / 0.8);
    EXPECT_GE(c.getMaxValue(), 60 + 10 * 0.1 / 0.8);
    EXPECT_GT(c.getMinValue(), 45);

    // Without rounding the bounds are the extended data range itself.
    AxisScale d = verticalAxis(200);
    d.setAutoScale(0.1, 0.1, 0);
    d.setRounding(false, false);
    d.layout(10, 90);
    EXPECT_DOUBLE_EQ(d.getMinValue(), 0);  // 10 - 8 / 0.8 = 0
    EXPECT_DOUBLE_EQ(d.getMaxValue(), 100);
    d.setRounding(true, false);
    d.layout(13, 87);
    EXPECT_EQ(std::fmod(d.getMinValue(), d.tickInc()), 0);
    EXPECT_DOUBLE_EQ(d.getMaxValue(), 87 + 74 * 0.1 / 0.8);
}

TEST(AxisScaleLinear, EqualEndsOpenUp) {
    AxisScale a = verticalAxis(200);
    a.setAutoScale(0, 0, 0);
    a.setRounding(false, false);
    a.layout(5, 5);
    EXPECT_EQ(a.getMinValue(), 2.5);
    EXPECT_EQ(a.getMaxValue(), 7.5);
    a.layout(0, 0);
    EXPECT_EQ(a.getMinValue(), 0);
    EXPECT_EQ(a.getMaxValue(), 100);
    a.layout(-4, -4);
    EXPECT_EQ(a.getMinValue(), -6);
    EXPECT_EQ(a.getMaxValue(), -2);
    // A fixed end stays put; only the free one moves.
    a.setLinearScale(5, Chart::NoValue);
    a.layout(5, 5);
    EXPECT_EQ(a.getMinValue(), 5);
    EXPECT_GE(a.getMaxValue(), 7.5);
}

TEST(AxisScaleLinear, TickDensityFollowsAxisLength) {
    struct Case {
        int length;
        double step;
    } cases[] = {{100, 20}, {200, 10}, {400, 5}, {1000, 2}, {2000, 1}};
    for (const Case& c : cases) {
        AxisScale a = verticalAxis(c.length);
        a.setAutoScale(0, 0, 0);
        a.layout(0, 100);
        EXPECT_EQ(a.tickInc(), c.step) << c.length;
    }
    // Labels along a horizontal axis need 50 pixels; tilted ones 20; an explicit density wins.
    AxisScale h = horizontalAxis(500);
    h.setAutoScale(0, 0, 0);
    h.layout(0, 100);
    EXPECT_EQ(h.tickInc(), 10);
    h.setLabelAngle(45);
    h.layout(0, 100);
    EXPECT_EQ(h.tickInc(), 5);
    h.setLabelAngle(170);
    h.layout(0, 100);
    EXPECT_EQ(h.tickInc(), 10);
    EXPECT_EQ(h.labelAnchor(true), Chart::TopCenter);
    EXPECT_EQ(h.labelAnchor(false), Chart::BottomCenter);
    h.setLabelAngle(-135);  // 45 modulo 180
    EXPECT_EQ(h.labelAnchor(true), Chart::TopRight);
    EXPECT_EQ(h.labelAnchor(false), Chart::BottomLeft);
    h.setLabelAngle(120);
    EXPECT_EQ(h.labelAnchor(true), Chart::TopLeft);
    // An axis drawn at an angle counts as vertical near 0 and 180 degrees.
    AxisScale slanted;
    slanted.setOrientation(Chart::Center, 30);
    EXPECT_TRUE(slanted.isVertical());
    slanted.setOrientation(Chart::Center, 90);
    EXPECT_FALSE(slanted.isVertical());
    h.setLabelAngle(0);
    h.setTickDensity(100);
    h.layout(0, 100);
    EXPECT_EQ(h.tickInc(), 20);
    // Vertical labels along a vertical axis need the wider spacing too.
    AxisScale v = verticalAxis(500);
    v.setAutoScale(0, 0, 0);
    v.setLabelAngle(90);
    v.layout(0, 100);
    EXPECT_EQ(v.tickInc(), 10);
    // Margins shorten the usable length.
    AxisScale m = verticalAxis(300);
    m.setMargins(50, 50);
    m.setAutoScale(0, 0, 0);
    m.layout(0, 100);
    EXPECT_EQ(m.tickInc(), 10);

    // Minor ticks: 200 px, 10 intervals of 20 px; a minor spacing of 4 px asks for 5 per major,
    // 5 px for 4, which nice() turns into 2 per major.
    AxisScale n = verticalAxis(200);
    n.setAutoScale(0, 0, 0);
    n.setTickDensity(20, 4);
    n.layout(0, 100);
    EXPECT_EQ(n.minorTickInc(), 2);
    EXPECT_EQ(minors(n).size(), 40u);
    n.setTickDensity(20, 5);
    n.layout(0, 100);
    EXPECT_EQ(n.minorTickInc(), 5);
    // A step of 5 with fewer than 5 minor intervals halves.
    n.setTickDensity(40, 10);
    n.layout(0, 25);
    EXPECT_EQ(n.tickInc(), 5);
    EXPECT_EQ(n.minorTickInc(), 2.5);
}

TEST(AxisScaleLinear, MinimumTickIncrement) {
    AxisScale a = verticalAxis(500);  // 25 intervals: step 0.5 for 0..10
    a.setAutoScale(0, 0, 0);
    a.layout(0, 10);
    EXPECT_EQ(a.tickInc(), 0.5);
    a.setMinTickInc(1);
    a.layout(0, 10);
    EXPECT_EQ(a.tickInc(), 1);
    EXPECT_EQ(a.minorTickInc(), 1);
    EXPECT_TRUE(minors(a).empty());
    // Above the minor step only: the minor step becomes the increment when it divides the step.
    AxisScale b = verticalAxis(200);
    b.setAutoScale(0, 0, 0);
    b.setTickDensity(20, 2);  // minor step 1 for step 10
    b.layout(0, 100);
    EXPECT_EQ(b.minorTickInc(), 1);
    b.setMinTickInc(2.5);
    b.layout(0, 100);
    EXPECT_EQ(b.minorTickInc(), 2.5);
    b.setMinTickInc(3);  // 10 / 3 is not whole, nice(3) = 5 divides 10
    b.layout(0, 100);
    EXPECT_EQ(b.minorTickInc(), 5);
}

TEST(AxisScaleLinear, ExplicitScales) {
    AxisScale a = verticalAxis(200);
    a.setLinearScale(0, 100, 25, 5);
    a.layout(30, 40);
    EXPECT_EQ(majors(a), steps(0, 25, 5));
    EXPECT_EQ(minors(a).size(), 16u);
    // Ticks count from a fixed lower bound.
    a.setLinearScale(5, 95, 10);
    a.layout(0, 0);
    EXPECT_EQ(majors(a), steps(5, 10, 10));
    // Increment 0: bounds fixed, ticks chosen inside them.
    a.setLinearScale(3, 97);
    a.layout(Chart::NoValue, Chart::NoValue);
    EXPECT_EQ(a.getMinValue(), 3);
    EXPECT_EQ(a.getMaxValue(), 97);
    EXPECT_EQ(majors(a), steps(10, 10, 9));
    // A NoValue bound is chosen (rounded) but not extended.
    a.setLinearScale(Chart::NoValue, 100);
    a.layout(12, 50);
    EXPECT_EQ(a.getMinValue(), 10);
    EXPECT_EQ(a.getMaxValue(), 100);
    // DataBound takes the data end exactly.
    a.setLinearScale(Chart::DataBound, 100);
    a.layout(12, 50);
    EXPECT_EQ(a.getMinValue(), 12);
    // Upside-down bounds reverse the axis.
    a.setLinearScale(100, 0);
    a.layout(0, 0);
    EXPECT_EQ(a.getMinValue(), 0);
    EXPECT_EQ(a.getMaxValue(), 100);
    EXPECT_EQ(a.coorOf(100), 0);
    EXPECT_EQ(a.coorOf(0), 200);
    // TickInc-coded increments are plain increments on a linear axis.
    a.setLinearScale(0, 100, 20 * Chart::TickInc);
    a.layout(0, 0);
    EXPECT_EQ(a.tickInc(), 20);
}

TEST(AxisScaleLog, TicksAcrossAndWithinDecades) {
    AxisScale a = verticalAxis(200);  // 10 intervals
    a.setLogScale(true);
    a.setAutoScale(0, 0, 0);
    a.layout(1, 1000);
    EXPECT_EQ(majors(a), (std::vector<double>{1, 10, 100, 1000}));
    EXPECT_TRUE(minors(a).empty());
    // With M at least 6 the minor ticks take every integer mantissa.
    a.setTickDensity(20, 3);
    a.layout(1, 1000);
    std::vector<double> m = minors(a);
    ASSERT_EQ(m.size(), 24u);
    EXPECT_EQ(m.front(), 2);
    EXPECT_EQ(m[8], 20);
    EXPECT_EQ(m.back(), 900);

    // Less than 0.8 decades: linear ticks.
    a.setTickDensity(0);
    a.layout(1, 5);
    EXPECT_EQ(a.tickInc(), 0.5);
    EXPECT_EQ(a.getMinValue(), 1);
    // 1.3 decades on 10 intervals: 1-2-5 ticks with the lower end snapped.
    a.layout(1.5, 20);
    EXPECT_EQ(majors(a), (std::vector<double>{1, 2, 5, 10, 20}));
    // Very narrow intervals: every integer mantissa.
    AxisScale b = verticalAxis(2000);  // 100 intervals
    b.setLogScale(true);
    b.setAutoScale(0, 0, 0);
    b.layout(3, 70);
    std::vector<double> mj = majors(b);
    EXPECT_EQ(mj.front(), 3);
    EXPECT_EQ(mj[7], 10);
    EXPECT_EQ(mj.back(), 70);
    // Twelve decades on 4 intervals: one tick every three decades, and small values stay exact.
    AxisScale c = verticalAxis(80);
    c.setLogScale(true);
    c.setAutoScale(0, 0, 0);
    c.layout(2e-3, 5e8);
    EXPECT_EQ(majors(c), (std::vector<double>{1e-3, 1, 1e3, 1e6, 1e9}));
    EXPECT_EQ(c.tickInc(), 1000);
    // Three-decade steps divide into single decades when there is room for them.
    c.setTickDensity(20, 5);
    c.layout(2e-3, 5e8);
    EXPECT_EQ(minors(c), (std::vector<double>{1e-2, 1e-1, 10, 100, 1e4, 1e5, 1e7, 1e8}));
    // Extensions act on the logarithms.
    AxisScale d = verticalAxis(200);
    d.setLogScale(true);
    d.setAutoScale(0.25, 0.25, 0);
    d.setRounding(false, false);
    d.layout(10, 1000);
    EXPECT_NEAR(d.getMinValue(), 1, 1e-9);
    EXPECT_NEAR(d.getMaxValue(), 10000, 1e-6);
}

TEST(AxisScaleLog, NonPositiveValuesAndExplicitTicks) {
    AxisScale a = verticalAxis(200);
    a.setLogScale(true);
    a.setAutoScale(0, 0, 0);
    a.setRounding(false, false);
    a.layout(-5, 100);  // the smaller side is dropped
    EXPECT_DOUBLE_EQ(a.getMinValue(), 0.01);
    a.layout(0, 100);
    EXPECT_DOUBLE_EQ(a.getMinValue(), 0.01);
    a.layout(-100, -1);  // nothing positive to show
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(a.getCoor(10), Chart::NoIntValue);
    a.layout(0, 0);
    EXPECT_FALSE(a.isEmpty());
    EXPECT_GT(a.getMinValue(), 0);
    // A fixed bound a log axis cannot show is ignored.
    a.setLogScale(-1, 1000);
    a.layout(1, 10);
    EXPECT_GT(a.getMinValue(), 0);
    EXPECT_EQ(a.getMaxValue(), 1000);
    // Ratio increments.
    a.setLogScale(1, 1e4, 100);
    a.layout(0, 0);
    EXPECT_EQ(majors(a), (std::vector<double>{1, 100, 1e4}));
    a.setLogScale(1, 1e4, 100, 10);
    a.layout(0, 0);
    EXPECT_EQ(minors(a), (std::vector<double>{10, 1000}));
    // Forced kinds of ticks.
    a.setLogScale(1, 5, Chart::LogTick);
    a.layout(0, 0);
    EXPECT_EQ(majors(a).front(), 1);
    EXPECT_EQ(majors(a)[1], 2);
    a.setLogScale(1, 1000, Chart::LinearTick);
    a.layout(0, 0);
    EXPECT_EQ(a.tickInc(), 100);
    a.setLogScale(1, 1000, 250 * Chart::TickInc);
    a.layout(0, 0);
    EXPECT_EQ(majors(a), (std::vector<double>{1, 251, 501, 751}));
    // Zero or negative values map far below the scale instead of failing.
    EXPECT_LT(a.coorOf(0), -1000);
}

TEST(AxisScaleDate, StepsFromSecondsToCenturies) {
    double t0 = Chart::chartTime(2024, 3, 5);
    struct Case {
        double span;
        int length;
        double step;
        DateUnit unit;
    } cases[] = {
        {10, 500, 1, DateUnit::Second},
        {600, 500, 60, DateUnit::Minute},
        {6 * 3600, 300, 3600, DateUnit::Hour},
        {20 * kDay, 500, 2 * kDay, DateUnit::Day},
        {360 * kDay, 600, 30 * kDay, DateUnit::Month},
        {19 * 365.25 * kDay, 500, 2 * 360 * kDay, DateUnit::Year},
        {200 * 365.25 * kDay, 500, 50 * 360 * kDay, DateUnit::Decade},
        {380 * 365.25 * kDay, 150, 200 * 360 * kDay, DateUnit::Century},
    };
    for (const Case& c : cases) {
        AxisScale a = horizontalAxis(c.length);
        double from = c.span > 100 * 365 * kDay ? Chart::chartTime(1810, 1, 1) : t0;
        a.layout(from, from + c.span);
        EXPECT_EQ(a.laidOutType(), AxisScale::Date) << c.span;
        EXPECT_EQ(a.tickInc(), c.step) << c.span;
        EXPECT_EQ(a.dateUnit(), c.unit) << c.span;
        EXPECT_LE(a.getMinValue(), from);
        EXPECT_GE(a.getMaxValue(), from + c.span);
    }
    // Explicit weekly ticks count in weeks.
    AxisScale w = horizontalAxis(500);
    w.setDateScale(t0, t0 + 70 * kDay, 7 * kDay);
    w.layout(0, 0);
    EXPECT_EQ(w.dateUnit(), DateUnit::Week);
    EXPECT_EQ(majors(w).size(), 11u);
}

TEST(AxisScaleDate, TicksFollowTheCalendar) {
    // Three days on 300 px: 12-hour steps aligned to midnight, labelled with the time of day.
    AxisScale a = horizontalAxis(300);
    double t = Chart::chartTime(2024, 1, 1, 5);
    a.layout(t, t + 3 * kDay);
    EXPECT_EQ(a.tickInc(), 43200);
    EXPECT_EQ(a.getMinValue(), Chart::chartTime(2024, 1, 1));
    EXPECT_EQ(majors(a), steps(Chart::chartTime(2024, 1, 1), 43200, 8));
    ASSERT_EQ(a.labelFormats().size(), 1u);
    EXPECT_EQ(a.labelFormats()[0], "{value|mm/dd/yy\nhh:nn:ss}");
    a.setLabelAngle(90);  // across the axis: one line
    a.layout(t, t + 3 * kDay);
    EXPECT_EQ(a.labelFormats()[0], "{value|mm/dd/yy hh:nn:ss}");

    // Monthly steps land on the first of each month, leap day included.
    AxisScale m = horizontalAxis(500);
    m.setDateScale(Chart::chartTime(2024, 1, 1), Chart::chartTime(2024, 12, 1), 30 * kDay);
    m.layout(0, 0);
    std::vector<double> mj = majors(m);
    ASSERT_EQ(mj.size(), 12u);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(mj[i], Chart::chartTime(2024, i + 1, 1)) << i;
    EXPECT_EQ(m.labelFormats()[0], "{value|mm/yyyy}");
    // Minor ticks of a yearly step are calendar months too.
    AxisScale y = horizontalAxis(500);
    y.setDateScale(Chart::chartTime(1999, 1, 1), Chart::chartTime(2003, 1, 1), 360 * kDay, 90 * kDay);
    y.layout(0, 0);
    EXPECT_EQ(y.labelFormats()[0], "{value|yyyy}");
    std::vector<double> mn = minors(y);
    ASSERT_EQ(mn.size(), 12u);
    EXPECT_EQ(mn[0], Chart::chartTime(1999, 4, 1));
    EXPECT_EQ(mn[4], Chart::chartTime(2000, 7, 1));
    // Daily ticks at midnight that are not all on the first get the full date.
    AxisScale d = horizontalAxis(500);
    d.layout(Chart::chartTime(2024, 2, 26), Chart::chartTime(2024, 3, 4));
    EXPECT_EQ(d.tickInc(), kDay);
    EXPECT_EQ(d.labelFormats()[0], "{value|mm/dd/yyyy}");
    EXPECT_EQ(majors(d)[4], Chart::chartTime(2024, 3, 1));

    // Long ranges align coarser: 15-day steps to the month, 6-month steps to the year.
    AxisScale f = horizontalAxis(500);
    f.layout(Chart::chartTime(2024, 1, 7), Chart::chartTime(2024, 6, 4));
    EXPECT_EQ(f.tickInc(), 15 * kDay);
    EXPECT_EQ(majors(f)[1], Chart::chartTime(2024, 1, 16));
    EXPECT_EQ(f.getMinValue(), Chart::chartTime(2024, 1, 1));
    f.layout(Chart::chartTime(2020, 5, 10), Chart::chartTime(2024, 5, 10));
    EXPECT_EQ(f.tickInc(), 180 * kDay);
    EXPECT_EQ(f.getMinValue(), Chart::chartTime(2020, 1, 1));
    EXPECT_EQ(majors(f)[1], Chart::chartTime(2020, 7, 1));
    EXPECT_EQ(f.labelFormats()[0], "{value|mm/yyyy}");
    // Months count from the first tick, so the short February does not shorten later months.
    AxisScale g = horizontalAxis(500);
    g.setDateScale(Chart::chartTime(2024, 1, 31), Chart::chartTime(2024, 4, 30), 30 * kDay);
    g.layout(0, 0);
    EXPECT_EQ(majors(g), (std::vector<double>{Chart::chartTime(2024, 1, 31), Chart::chartTime(2024, 2, 29),
                                              Chart::chartTime(2024, 3, 31), Chart::chartTime(2024, 4, 30)}));

    // Equal ends widen by a minute; dates need their ends inside 1800..2200.
    AxisScale e = horizontalAxis(500);
    e.setRounding(false, false);
    e.layout(t, t);
    EXPECT_EQ(e.getMinValue(), t - 60);
    EXPECT_EQ(e.getMaxValue(), t + 60);
    e.layout(Chart::chartTime(1800, 1, 1), Chart::chartTime(2199, 12, 31));
    EXPECT_EQ(e.laidOutType(), AxisScale::Date);
    e.layout(Chart::chartTime(1799, 12, 31), Chart::chartTime(1900, 1, 1));
    EXPECT_EQ(e.laidOutType(), AxisScale::Linear);
}

TEST(AxisScaleCoordinates, RoundTripsOnEveryKindOfScale) {
    struct Case {
        const char* name;
        AxisScale::ScaleType type;
        double lo, hi;
    } cases[] = {
        {"linear", AxisScale::Linear, -40, 260},
        {"log", AxisScale::Log, 0.01, 1e5},
        {"date", AxisScale::Date, Chart::chartTime(1850, 1, 1), Chart::chartTime(2150, 6, 1)},
    };
    for (const Case& c : cases) {
        for (int reversed = 0; reversed < 2; ++reversed) {
            for (int direction : {1, -1}) {
                AxisScale a = verticalAxis(437);
                a.setMargins(7, 13);
                a.setPlacement(500, direction);
                a.setReverse(reversed != 0);
                if (c.type == AxisScale::Log)
                    a.setLogScale(c.lo, c.hi);
                else if (c.type == AxisScale::Date)
                    a.setDateScale(c.lo, c.hi);
                else
                    a.setLinearScale(c.lo, c.hi);
                a.layout(0, 0);
                SCOPED_TRACE(std::string(c.name) + (reversed ? " reversed" : "") +
                             (direction < 0 ? " up" : ""));
                // The low end sits at the start margin, or at the far one when reversed.
                EXPECT_DOUBLE_EQ(a.coorOf(c.lo), reversed ? 424 : 7);
                EXPECT_DOUBLE_EQ(a.pixelOf(c.hi), 500 + direction * (reversed ? 7 : 424));
                for (int i = 0; i <= 20; ++i) {
                    double f = i / 20.0;
                    double v =
                        c.type == AxisScale::Log ? c.lo * std::pow(c.hi / c.lo, f) : c.lo + f * (c.hi - c.lo);
                    double p = a.pixelOf(v);
                    EXPECT_NEAR(a.valueAtPixel(p), v, std::fabs(v) * 1e-12 + 1e-9);
                    if (i > 0) {
                        double before = a.pixelOf(c.type == AxisScale::Log ? v / 1.5 : v - 1);
                        EXPECT_EQ(p > before, (direction > 0) != (reversed != 0));
                    }
                }
                EXPECT_EQ(a.getCoor(Chart::NoValue), Chart::NoIntValue);
                EXPECT_EQ(a.getCoor(std::numeric_limits<double>::quiet_NaN()), Chart::NoIntValue);
                EXPECT_EQ(a.getCoor(c.lo), static_cast<int>(std::floor(a.pixelOf(c.lo) + 0.5)));
            }
        }
    }
}

TEST(AxisScaleSync, SyncedAxesLineUpWithTheirSource) {
    AxisScale celsius = verticalAxis(200);
    celsius.setAutoScale(0, 0, 0);
    celsius.setPlacement(300, -1);
    celsius.layout(0, 100);
    AxisScale fahrenheit = verticalAxis(200);
    fahrenheit.setPlacement(300, -1);
    ASSERT_TRUE(fahrenheit.syncAxis(&celsius, 1.8, 32));
    EXPECT_FALSE(fahrenheit.syncAxis(&celsius, 0, 0));
    fahrenheit.layout(Chart::NoValue, Chart::NoValue);
    EXPECT_EQ(fahrenheit.getMinValue(), 32);
    EXPECT_EQ(fahrenheit.getMaxValue(), 212);
    EXPECT_EQ(fahrenheit.tickInc(), 18);
    std::vector<double> f = majors(fahrenheit);
    ASSERT_EQ(f.size(), 11u);
    EXPECT_EQ(f[1], 50);
    for (double c : {0.0, 37.0, 100.0}) {
        EXPECT_DOUBLE_EQ(fahrenheit.pixelOf(c * 1.8 + 32), celsius.pixelOf(c));
        EXPECT_NEAR(fahrenheit.valueAtPixel(celsius.pixelOf(c)), c * 1.8 + 32, 1e-9);
    }
    // A negative slope turns the synced axis round; its ticks stay ascending.
    AxisScale negated = verticalAxis(200);
    negated.syncAxis(&celsius, -1, 0);
    negated.layout(0, 0);
    EXPECT_EQ(negated.getMinValue(), -100);
    EXPECT_EQ(negated.getMaxValue(), 0);
    EXPECT_EQ(majors(negated).front(), -100);
    EXPECT_DOUBLE_EQ(negated.coorOf(-100), celsius.coorOf(100));
    // Following a log axis keeps its mapping.
    AxisScale log = verticalAxis(200);
    log.setLogScale(1, 1000);
    log.layout(0, 0);
    AxisScale doubled = verticalAxis(200);
    doubled.syncAxis(&log, 2, 0);
    doubled.layout(0, 0);
    EXPECT_EQ(doubled.laidOutType(), AxisScale::Log);
    EXPECT_DOUBLE_EQ(doubled.coorOf(20), log.coorOf(10));
    // A synced axis with an empty source is empty.
    AxisScale nothing = verticalAxis(200);
    nothing.layout(Chart::NoValue, Chart::NoValue);
    AxisScale follower = verticalAxis(200);
    follower.syncAxis(&nothing);
    follower.layout(1, 2);
    EXPECT_TRUE(follower.isEmpty());
}

TEST(AxisScaleSync, CopiedAxisTakesScaleAndLabelsButKeepsItsPlace) {
    AxisScale source = horizontalAxis(400);
    const char* names[] = {"Mon", "Tue", "Wed", "Thu", "Fri"};
    source.setLabels(AxisScale::labelsFromTexts(StringArray(names, 5)));
    source.setLabelStep(2);
    source.setPlacement(20, 1);
    source.layout(0, 4);
    AxisScale copy = horizontalAxis(400);
    copy.setPlacement(20, 1);
    copy.setOrientation(Chart::Top);
    copy.copyAxis(source);
    copy.layout(Chart::NoValue, Chart::NoValue);
    ASSERT_EQ(copy.getTicks().size(), source.getTicks().size());
    for (size_t i = 0; i < copy.getTicks().size(); ++i) {
        EXPECT_EQ(copy.getTicks()[i].value, source.getTicks()[i].value);
        EXPECT_EQ(copy.getTicks()[i].label, source.getTicks()[i].label);
    }
    EXPECT_EQ(copy.labels()[2].text, "Wed");
    EXPECT_EQ(copy.pixelOf(3), source.pixelOf(3));
    EXPECT_FALSE(copy.isVertical());
}

TEST(AxisScaleLabels, LabelAxesAndSteps) {
    const char* names[] = {"a", "b", "c", "d", "e", "f", "g"};
    AxisScale a = horizontalAxis(700);
    a.setLabels(AxisScale::labelsFromTexts(StringArray(names, 7)));
    a.layout(Chart::NoValue, Chart::NoValue);
    EXPECT_EQ(a.getMinValue(), 0);
    EXPECT_EQ(a.getMaxValue(), 6);
    ASSERT_EQ(a.getTicks().size(), 7u);
    EXPECT_EQ(a.getTicks()[3].label, 3);
    EXPECT_EQ(a.labelFormats()[a.getTicks()[3].format], "{label}");
    EXPECT_EQ(a.labelAt(2.6), 3);
    // Indentation keeps the first and last label off the ends.
    a.setIndent(true);
    a.layout(0, 0);
    EXPECT_EQ(a.getMinValue(), -0.5);
    EXPECT_EQ(a.coorOf(0), 50);
    // Every third label from the second, with a bare minor tick on the others from there on.
    a.setLabelStep(3, 1, 1);
    a.layout(0, 0);
    EXPECT_EQ(majors(a), (std::vector<double>{1, 4}));
    EXPECT_EQ(minors(a), (std::vector<double>{2, 3, 5, 6}));
    a.setLabelStep(3);
    a.layout(0, 0);
    EXPECT_EQ(a.getTicks().size(), 3u);

    // Labels spread evenly over given bounds; number labels keep their markers.
    const double values[] = {10, Chart::MinorTickOnly, 30, Chart::MicroTickOnly, Chart::NoValue};
    AxisScale b = horizontalAxis(400);
    b.setLinearScale(0, 100, AxisScale::labelsFromValues(DoubleArray(values, 5), "{value|1}"));
    b.layout(Chart::NoValue, Chart::NoValue);
    ASSERT_EQ(b.getTicks().size(), 4u);
    EXPECT_EQ(b.getTicks()[1].value, 25);
    EXPECT_EQ(b.getTicks()[1].kind, TickKind::Minor);
    EXPECT_EQ(b.getTicks()[3].kind, TickKind::Micro);
    EXPECT_EQ(b.labels()[2].number, 30);
    EXPECT_EQ(b.getTicks()[2].format, b.getTicks()[0].format);
    EXPECT_EQ(b.getTicks()[1].format, -1);
    // One label over equal bounds still gives a usable scale.
    b.setLinearScale(5, 5, AxisScale::labelsFromTexts(StringArray(names, 1)));
    b.layout(0, 0);
    EXPECT_FALSE(b.isEmpty());
    EXPECT_NEAR(b.coorOf(5), 200, 1e-6);
    // Log labels spread evenly over the decades.
    b.setLogScale(1, 1000, AxisScale::labelsFromTexts(StringArray(names, 4)));
    b.layout(0, 0);
    EXPECT_NEAR(b.getTicks()[2].value, 100, 1e-9);

    // Labels added on top of a numeric scale replace the tick where they stand.
    AxisScale c = verticalAxis(200);
    c.setAutoScale(0, 0, 0);
    c.addLabel(50, "half");
    c.addLabel(33, "third");
    c.addLabel(33, "");
    c.addLabel(500, "outside");
    c.layout(0, 100);
    ASSERT_EQ(majors(c).size(), 11u);
    const AxisTick& half = c.getTicks()[5];
    ASSERT_GE(half.label, 0);
    EXPECT_EQ(c.labels()[half.label].text, "half");
    EXPECT_EQ(c.labelFormats()[half.format], "{label}");
    EXPECT_EQ(c.labelFormats()[c.getTicks()[4].format], "{value|@}");
}

TEST(AxisScaleLabels, EnumScaleTicksEveryWholeNumberOfTheData) {
    AxisScale a = horizontalAxis(700);
    a.setEnumScale(true);
    a.layout(2.8, 7.2);
    EXPECT_EQ(majors(a), steps(3, 1, 5));
    EXPECT_EQ(a.getMinValue(), 3);
    EXPECT_EQ(a.getMaxValue(), 7);
    EXPECT_TRUE(minors(a).empty());
    EXPECT_EQ(a.labelFormats()[a.getTicks()[0].format], "{value|@}");
    a.setIndent(true);
    a.layout(3, 7);
    EXPECT_EQ(a.getMinValue(), 2.5);
    EXPECT_EQ(a.getMaxValue(), 7.5);
    // One category still gets room; a range past the tick limit is scaled automatically.
    a.layout(4, 4);
    EXPECT_EQ(majors(a), std::vector<double>{4});
    EXPECT_LT(a.getMinValue(), 4);
    a.layout(0, 9999);
    EXPECT_EQ(majors(a).size(), 10000u);
    a.layout(0, 10000);
    EXPECT_LT(majors(a).size(), 100u);
    a.layout(0, 1e6);
    EXPECT_LT(majors(a).size(), 100u);
    a.layout(Chart::NoValue, Chart::NoValue);
    EXPECT_TRUE(a.isEmpty());
    // Any scale set later ends it.
    a.setLinearScale(0, 100);
    a.layout(3, 7);
    EXPECT_EQ(a.getMaxValue(), 100);
    a.setEnumScale(true);
    a.setEnumScale(false);
    a.setAutoScale(0, 0, 0);
    a.layout(0, 100);
    EXPECT_GT(a.tickInc(), 1);
}

TEST(AxisScaleLabels, FormatsAndPlans) {
    AxisScale a = verticalAxis(200);
    a.setAutoScale(0, 0, 0);
    a.layout(0, 0.5);  // step 0.05
    EXPECT_EQ(a.labelPrecision(), 2);
    a.layout(0, 2);
    EXPECT_EQ(a.labelPrecision(), 1);
    a.layout(0, 100);
    EXPECT_EQ(a.labelPrecision(), 0);
    a.layout(0, 0.001);
    EXPECT_EQ(a.labelPrecision(), 4);

    // Conditions on the step choose among formats; a plain format replaces the plan.
    AxisScale d = horizontalAxis(500);
    EXPECT_TRUE(d.setFormatCondition("align", 360 * kDay));
    d.setLabelFormat("{value|yyyy}");
    EXPECT_TRUE(d.setFormatCondition(">=", kDay));
    d.setLabelFormat("{value|mmm dd}");
    EXPECT_TRUE(d.setFormatCondition("else"));
    d.setLabelFormat("{value|hh:nn}");
    EXPECT_FALSE(d.setFormatCondition("about", 1));
    double t = Chart::chartTime(2020, 1, 1);
    d.layout(t, t + 10 * 365 * kDay);
    EXPECT_EQ(d.labelFormats(), std::vector<std::string>{"{value|yyyy}"});
    d.layout(t, t + 20 * kDay);
    EXPECT_EQ(d.labelFormats(), std::vector<std::string>{"{value|mmm dd}"});
    d.layout(t, t + 3600);
    EXPECT_EQ(d.labelFormats(), std::vector<std::string>{"{value|hh:nn}"});
    d.setLabelFormat("{value|d}");
    d.layout(t, t + 3600);
    EXPECT_EQ(d.labelFormats(), std::vector<std::string>{"{value|d}"});

    // Multi-format: midnight ticks show the day, the others the hour.
    AxisScale h = horizontalAxis(1200);  // 24 intervals: 2-hour steps over two days
    LabelFilter day{Chart::Plotvane_StartOfDayFilterTag, 1, 0};
    LabelFilter hour{Chart::Plotvane_StartOfHourFilterTag, 1, 0};
    h.setMultiFormat(day, "{value|mmm dd}", hour, "{value|hh:nn}");
    double m = Chart::chartTime(2024, 3, 5);
    h.layout(m, m + 2 * kDay);
    EXPECT_EQ(h.tickInc(), 7200);
    EXPECT_EQ(h.dateUnit(), DateUnit::Hour);
    const std::vector<AxisTick>& ticks = h.getTicks();
    ASSERT_EQ(ticks.size(), 25u);
    auto formatOf = [&h](const AxisTick& tick) { return h.labelFormats()[tick.format]; };
    EXPECT_EQ(formatOf(ticks[0]), "{value|mmm dd}");
    EXPECT_EQ(formatOf(ticks[1]), "{value|hh:nn}");
    EXPECT_EQ(formatOf(ticks[12]), "{value|mmm dd}");
    // The first label is promoted to the fuller format unless asked not to.
    h.setRounding(false, true);
    h.layout(m + 3600, m + 2 * kDay);
    EXPECT_EQ(formatOf(h.getTicks()[0]), "{value|mmm dd}");
    EXPECT_EQ(formatOf(h.getTicks()[1]), "{value|hh:nn}");
    h.setMultiFormat(day, "{value|mmm dd}", hour, "{value|hh:nn}", 1, false);
    h.layout(m + 3600, m + 2 * kDay);
    EXPECT_EQ(formatOf(h.getTicks()[0]), "{value|hh:nn}");
    // A one-filter plan with a label step of 6 labels every sixth new hour: 0, 12, 24, 36, 48 h.
    LabelFilter sixHours{Chart::Plotvane_StartOfHourFilterTag, 6, 0};
    h.setMultiFormat(sixHours, "{value|hh}", 1, false);
    h.layout(m, m + 2 * kDay);
    int labelled = 0;
    for (const AxisTick& tick : h.getTicks()) labelled += tick.format >= 0;
    EXPECT_EQ(labelled, 5);
}

TEST(AxisScaleRobustness, DegenerateInputsNeverBreakTheScale) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Range {
        double lo, hi;
    } ranges[] = {{Chart::NoValue, Chart::NoValue},
                  {nan, nan},
                  {1.69e308, -1.69e308},
                  {-1e300, 1e300},
                  {1e300, 1e300},
                  {-inf, inf},
                  {-1.6e308, 1.6e308},
                  {1e-320, 2e-320},
                  {1, 1 + 1e-15},
                  {Chart::chartTime(1800, 1, 1), Chart::chartTime(2200, 1, 1)}};
    for (int type = 0; type < 4; ++type) {
        for (int length : {0, 1, 100000}) {
            for (const Range& r : ranges) {
                AxisScale a = verticalAxis(length);
                if (type == 1) a.setLinearScale(Chart::NoValue, Chart::NoValue);
                if (type == 2) a.setDateScale(Chart::NoValue, Chart::NoValue);
                if (type == 3) a.setLogScale(true);
                a.setTickDensity(0, 1);
                a.layout(r.lo, r.hi);
                EXPECT_LE(majors(a).size(), 10000u) << type << " " << length << " " << r.lo;
                EXPECT_LE(minors(a).size(), 10000u);
                if (a.isEmpty()) continue;
                EXPECT_TRUE(std::isfinite(a.getMinValue()) && std::isfinite(a.getMaxValue()));
                EXPECT_LT(a.getMinValue(), a.getMaxValue());
                a.getCoor(r.lo);
                a.getCoor(1e308);
                a.valueAtPixel(1e12);
            }
        }
    }
    // No data at all leaves the axis empty; a fixed scale does not need data.
    AxisScale a = verticalAxis(200);
    a.layout(Chart::NoValue, Chart::NoValue);
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(a.getMinValue(), Chart::NoValue);
    EXPECT_TRUE(a.getTicks().empty());
    EXPECT_EQ(a.valueAtPixel(10), Chart::NoValue);
    a.setLinearScale(0, 10);
    a.layout(Chart::NoValue, Chart::NoValue);
    EXPECT_FALSE(a.isEmpty());

    // Absurd explicit increments are capped, not walked.
    AxisScale b = verticalAxis(200);
    b.setLinearScale(0, 1e10, 1e-5, 1e-9);
    b.layout(0, 0);
    EXPECT_GE(majors(b).size(), 1u);
    EXPECT_LE(majors(b).size(), 10000u);
    EXPECT_LE(minors(b).size(), 10000u);
    b.setDateScale(Chart::chartTime(1800, 1, 1), Chart::chartTime(2200, 1, 1), 1, 0.5);
    b.layout(0, 0);
    EXPECT_EQ(majors(b).size(), 10000u);
    b.setLogScale(1e-300, 1e300, 1.0000001);
    b.layout(0, 0);
    EXPECT_LE(majors(b).size(), 10000u);

    // Bad settings are refused and leave the old ones.
    AxisScale c = verticalAxis(200);
    EXPECT_FALSE(c.setAutoScale(0.6, 0.5, 0));
    EXPECT_FALSE(c.setDefaultAutoScale(0.5, 0.5, 0));
    EXPECT_TRUE(c.setAutoScale(-1, -1, 7));  // negatives become 0, the affinity is clamped
    c.layout(60, 100);
    EXPECT_EQ(c.getMinValue(), 0);
    EXPECT_EQ(c.getMaxValue(), 100);
    EXPECT_FALSE(c.syncAxis(&c));
    c.copyAxis(c);
    c.setLength(-5);
    c.layout(1, 2);
    EXPECT_FALSE(c.isEmpty());
}

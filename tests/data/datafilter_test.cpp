#include <plotvane/arraymath.h>
#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace plotvane;
using Chart::chartTime;
using Chart::NoValue;

namespace {

using Values = std::vector<double>;
const double kMinor = -1.7e308;

Values filtered(Values v, const std::function<void(ArrayMath*)>& filter) {
    ArrayMath* m = ArrayMath::create(DoubleArray(v.data(), static_cast<int>(v.size())));
    filter(m);
    DoubleArray r = m->result();
    Values out(r.data, r.data + r.len);
    m->destroy();
    return out;
}

// Indexes of the kept (major) and marked (minor) elements.
std::vector<int> positions(const Values& v, bool major) {
    std::vector<int> out;
    for (size_t i = 0; i < v.size(); ++i)
        if (major ? (v[i] != NoValue && v[i] != kMinor) : v[i] == kMinor) out.push_back(static_cast<int>(i));
    return out;
}

Values days(int y, int m, int d, int count) {
    Values v;
    for (int i = 0; i < count; ++i) v.push_back(chartTime(y, m, d) + i * 86400.0);
    return v;
}

}  // namespace

TEST(DateFilter, MonthsAcrossYearEndAndLeapDay) {
    // Daily stamps from 2023-12-01 to 2024-03-31: the first of each month is kept, nothing else.
    Values v = days(2023, 12, 1, 122);
    Values out = filtered(v, [](ArrayMath* m) { m->selectStartOfMonth(); });
    EXPECT_EQ(positions(out, true), (std::vector<int>{0, 31, 62, 91}));
    EXPECT_EQ(out[62], chartTime(2024, 2, 1));
    EXPECT_EQ(out[91], chartTime(2024, 3, 1));
    EXPECT_TRUE(positions(out, false).empty());
    EXPECT_EQ(out[90], NoValue);  // 2024-02-29

    // Every second month is major and the others minor.
    Values two = filtered(v, [](ArrayMath* m) { m->selectStartOfMonth(2); });
    EXPECT_EQ(positions(two, true), (std::vector<int>{0, 62}));
    EXPECT_EQ(positions(two, false), (std::vector<int>{31, 91}));

    // Years: the first stamp is mid-December, so its year is not a start; 2024-01-01 is.
    Values y = days(2023, 12, 15, 30);
    EXPECT_EQ(positions(filtered(y, [](ArrayMath* m) { m->selectStartOfYear(); }), true),
              (std::vector<int>{17}));
    // Leap years have a day more: 2024-12-31 is day 365 after 2024-01-01.
    Values leap = {chartTime(2024, 1, 1), chartTime(2024, 12, 31), chartTime(2025, 1, 1)};
    EXPECT_EQ(positions(filtered(leap, [](ArrayMath* m) { m->selectStartOfYear(1, 0); }), true),
              (std::vector<int>{0, 2}));
}

TEST(DateFilter, InitialMarginDecidesTheFirstElement) {
    // Starting at 02:00, the default 3-hour margin reaches back into the day before.
    Values early = {chartTime(2024, 2, 28, 2), chartTime(2024, 2, 28, 20), chartTime(2024, 2, 29, 1),
                    chartTime(2024, 3, 1, 0)};
    EXPECT_EQ(positions(filtered(early, [](ArrayMath* m) { m->selectStartOfDay(); }), true),
              (std::vector<int>{0, 2, 3}));
    // With a one-hour margin it does not.
    EXPECT_EQ(positions(filtered(early, [](ArrayMath* m) { m->selectStartOfDay(1, 3600); }), true),
              (std::vector<int>{2, 3}));
    // Exactly on a boundary with no margin, the element still starts its period.
    Values onHour = {chartTime(2024, 1, 1, 5), chartTime(2024, 1, 1, 5, 30), chartTime(2024, 1, 1, 6)};
    EXPECT_EQ(positions(filtered(onHour, [](ArrayMath* m) { m->selectStartOfHour(1, 0); }), true),
              (std::vector<int>{0, 2}));
    // Times are rounded to whole seconds: 59.6 s is already the next minute.
    double t = chartTime(2024, 1, 1, 12);
    Values seconds = {t + 0.2, t + 59.4, t + 59.6, t + 60.4};
    EXPECT_EQ(positions(filtered(seconds, [](ArrayMath* m) { m->selectStartOfMinute(1, 0); }), true),
              (std::vector<int>{0, 2}));
    Values fractions = {t + 0.2, t + 0.4, t + 0.6, t + 1.2};
    EXPECT_EQ(positions(filtered(fractions, [](ArrayMath* m) { m->selectStartOfSecond(); }), true),
              (std::vector<int>{0, 2}));
}

TEST(DateFilter, WeeksStartOnSundayAndMarkedElementsAreSkipped) {
    // 2024-01-01 is a Monday, inside the week that began on Sunday 2023-12-31; the next weeks begin
    // on 2024-01-07 and 2024-01-14.
    Values v = days(2024, 1, 1, 16);
    EXPECT_EQ(positions(filtered(v, [](ArrayMath* m) { m->selectStartOfWeek(1, 0); }), true),
              (std::vector<int>{6, 13}));
    // The default two-day margin reaches back from the Monday into the week before.
    EXPECT_EQ(positions(filtered(v, [](ArrayMath* m) { m->selectStartOfWeek(); }), true),
              (std::vector<int>{0, 6, 13}));

    // Missing and minor elements are passed over and stay; the first valid element sets the start.
    Values gaps = {
        NoValue, kMinor, chartTime(2024, 5, 31), NoValue, chartTime(2024, 6, 2), chartTime(2024, 7, 1)};
    Values out = filtered(gaps, [](ArrayMath* m) { m->selectStartOfMonth(1, 0); });
    EXPECT_EQ(out, (Values{NoValue, kMinor, NoValue, NoValue, chartTime(2024, 6, 2), chartTime(2024, 7, 1)}));

    // Filters compose: days, then every third of them.
    Values hours;
    for (int h = 0; h < 24 * 7; h += 6) hours.push_back(chartTime(2024, 3, 30, h));
    Values composed = filtered(hours, [](ArrayMath* m) { m->selectStartOfDay(3, 0); });
    EXPECT_EQ(positions(composed, true), (std::vector<int>{0, 12, 24}));
    EXPECT_EQ(positions(composed, false), (std::vector<int>{4, 8, 16, 20}));
}

TEST(DateFilter, RegularSpacing) {
    Values seven(7, 1.5);
    EXPECT_EQ(positions(filtered(seven, [](ArrayMath* m) { m->selectRegularSpacing(3, 1); }), true),
              (std::vector<int>{0, 3, 6}));
    EXPECT_EQ(positions(filtered(seven, [](ArrayMath* m) { m->selectRegularSpacing(3, 1); }), false),
              (std::vector<int>{1, 2, 4, 5}));
    // Without a minor step only the major positions remain.
    Values major = filtered(seven, [](ArrayMath* m) { m->selectRegularSpacing(3); });
    EXPECT_EQ(positions(major, true), (std::vector<int>{0, 3, 6}));
    EXPECT_TRUE(positions(major, false).empty());
    // The margin counts from its index both ways.
    Values margin = filtered(seven, [](ArrayMath* m) { m->selectRegularSpacing(4, 2, 3); });
    EXPECT_EQ(positions(margin, true), (std::vector<int>{3}));
    EXPECT_EQ(positions(margin, false), (std::vector<int>{1, 5}));
    // A step below 1 keeps everything rather than dividing by zero.
    EXPECT_EQ(filtered(seven, [](ArrayMath* m) { m->selectRegularSpacing(0, -1, -2); }), seven);
}

TEST(Aggregate, GroupsAndMethods) {
    // Groups: [0,1,2] [3] [4,5] [6]; index 7 of the source lies beyond the markers.
    Values markers = {1, NoValue, NoValue, 1, 1, NoValue, 1};
    Values source = {4, NoValue, 2, NoValue, 3, 9, 5, 42};
    struct Case {
        int method;
        Values expected;
    } cases[] = {
        {Chart::AggregateSum, {6, 0, 12, 5, 42}},
        {Chart::AggregateAvg, {3, 0, 6, 5, 42}},
        {Chart::AggregateStdDev, {1, NoValue, 3, 0, 42}},
        {Chart::AggregateMin, {2, NoValue, 3, 5, 42}},
        {Chart::AggregateMed, {3, NoValue, 6, 5, 42}},
        {Chart::AggregateMax, {4, NoValue, 9, 5, 42}},
        {Chart::AggregatePercentile, {2.5, NoValue, 4.5, 5, 42}},
        {Chart::AggregateFirst, {4, NoValue, 3, 5, 42}},
        {Chart::AggregateLast, {2, NoValue, 9, 5, 42}},
        {Chart::AggregateCount, {2, 0, 2, 1, 42}},
        {99, {NoValue, NoValue, NoValue, NoValue, 42}},
    };
    ArrayMath* m = ArrayMath::create(DoubleArray(markers.data(), static_cast<int>(markers.size())));
    for (const Case& c : cases) {
        DoubleArray r =
            m->aggregate(DoubleArray(source.data(), static_cast<int>(source.size())), c.method, 25);
        EXPECT_EQ(Values(r.data, r.data + r.len), c.expected) << "method " << c.method;
    }
    // The marker array itself is left alone.
    EXPECT_EQ(m->count(), 7);
    EXPECT_EQ(m->getValue(1), NoValue);

    // A shorter source forms groups over its own length only.
    Values shortSource = {1, 2, 3, 4};
    DoubleArray r = m->aggregate(DoubleArray(shortSource.data(), 4), Chart::AggregateSum);
    EXPECT_EQ(Values(r.data, r.data + r.len), (Values{6, 4}));
    // A first marker that is NoValue still opens the first group.
    Values leading = {NoValue, NoValue, 1};
    ArrayMath* n = ArrayMath::create(DoubleArray(leading.data(), 3));
    r = n->aggregate(DoubleArray(shortSource.data(), 4), Chart::AggregateLast);
    EXPECT_EQ(Values(r.data, r.data + r.len), (Values{2, 3, 4}));
    // No source, or no markers: nothing to group.
    EXPECT_EQ(n->aggregate(DoubleArray(), Chart::AggregateSum).len, 0);
    ArrayMath* empty = ArrayMath::create(DoubleArray());
    r = empty->aggregate(DoubleArray(shortSource.data(), 4), Chart::AggregateSum);
    EXPECT_EQ(Values(r.data, r.data + r.len), shortSource);
    empty->destroy();
    n->destroy();
    m->destroy();
}

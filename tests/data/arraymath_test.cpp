#include <plotvane/arraymath.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace plotvane;
using Chart::NoValue;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kMinor = -1.7e308;

DoubleArray view(const std::vector<double>& v) {
    return DoubleArray(v.data(), static_cast<int>(v.size()));
}

// Owns an ArrayMath for the length of a test.
struct Array {
    explicit Array(std::vector<double> v) : m(ArrayMath::create(view(v))) {}
    ~Array() { m->destroy(); }
    std::vector<double> values() const {
        DoubleArray r = m->result();
        return std::vector<double>(r.data, r.data + r.len);
    }
    ArrayMath* operator->() const { return m; }
    ArrayMath* m;
};

using Values = std::vector<double>;

}  // namespace

TEST(ArrayMath, CreationReplacesNaNAndCopies) {
    Values source = {1, kNaN, 3};
    Array a(source);
    source[0] = 99;
    EXPECT_EQ(a.values(), (Values{1, NoValue, 3}));
    EXPECT_EQ(a->getValue(1), NoValue);
    EXPECT_EQ(a->getValue(-1), NoValue);
    EXPECT_EQ(a->getValue(3), NoValue);

    double one = 1;
    ArrayMath* negative = ArrayMath::create(DoubleArray(&one, -5));
    ArrayMath* null = ArrayMath::create(DoubleArray(nullptr, 5));
    EXPECT_EQ(negative->count(), 0);
    EXPECT_EQ(null->count(), 0);
    negative->destroy();
    null->destroy();
}

TEST(ArrayMath, ArithmeticPropagatesMissingValues) {
    Array a({1, NoValue, 3});
    a->add(2)->mul(3)->sub(1)->div(2);
    EXPECT_EQ(a.values(), (Values{4, NoValue, 7}));

    // An invalid operand wipes everything.
    Array b({1, 2});
    b->add(kNaN);
    EXPECT_EQ(b.values(), (Values{NoValue, NoValue}));
    Array c({1, 2});
    c->mul(NoValue);
    EXPECT_EQ(c.values(), (Values{NoValue, NoValue}));

    // Division by zero follows floating point, except that 0/0 is missing rather than NaN.
    Array d({1, -1, 0});
    d->div(0);
    EXPECT_EQ(d.values(), (Values{INFINITY, -INFINITY, NoValue}));

    // Arrays: over the shorter length; missing on either side gives missing.
    Array e({10, 20, 30, 40});
    Values other = {1, NoValue, kNaN};
    e->sub(view(other));
    EXPECT_EQ(e.values(), (Values{9, NoValue, NoValue, 40}));
    Array f({2, 3});
    Values longer = {4, 5, 6};
    f->mul(view(longer))->add(view(longer))->div(view(longer));
    EXPECT_EQ(f.values(), (Values{3, 4}));
}

TEST(ArrayMath, FinanceDivisionAndSelection) {
    Array a({0, 1, 6, NoValue, 0});
    Values by = {0, 0, 3, 1, 0};
    a->financeDiv(view(by), 7);
    EXPECT_EQ(a.values(), (Values{7, NoValue, 2, NoValue, 7}));
    Array nanFill({0});
    Values zero = {0};
    nanFill->financeDiv(view(zero), kNaN);
    EXPECT_EQ(nanFill.values(), (Values{NoValue}));

    // With itself as the decision array.
    Values mixed = {-2, 0, 3, NoValue};
    Array gtz(mixed), gez(mixed), ltz(mixed), lez(mixed), eqz(mixed), nez(mixed);
    gtz->selectGTZ();
    gez->selectGEZ(DoubleArray(), 9);
    ltz->selectLTZ();
    lez->selectLEZ();
    eqz->selectEQZ(DoubleArray(), kNaN);
    nez->selectNEZ();
    EXPECT_EQ(gtz.values(), (Values{0, 0, 3, NoValue}));
    EXPECT_EQ(gez.values(), (Values{9, 0, 3, NoValue}));
    EXPECT_EQ(ltz.values(), (Values{-2, 0, 0, NoValue}));
    EXPECT_EQ(lez.values(), (Values{-2, 0, 0, NoValue}));
    EXPECT_EQ(eqz.values(), (Values{NoValue, 0, NoValue, NoValue}));
    EXPECT_EQ(nez.values(), (Values{-2, 0, 3, NoValue}));

    // With a separate, shorter decision array: invalid decisions give missing, the tail stays.
    Array s({1, 2, 3, 4, 5});
    Values decision = {1, -1, NoValue, 0};
    s->selectGEZ(view(decision), -5);
    EXPECT_EQ(s.values(), (Values{1, -5, NoValue, 4, 5}));
}

TEST(ArrayMath, ReplaceAndAbs) {
    Array a({1, NoValue, -2, 1});
    a->replace(1, kNaN)->replace(NoValue, 0)->abs();
    EXPECT_EQ(a.values(), (Values{0, 0, 2, 0}));
    Array b({-1, NoValue});
    b->abs();
    EXPECT_EQ(b.values(), (Values{1, NoValue}));
}

TEST(ArrayMath, SequenceOperationsSkipMissingValues) {
    Array acc({1, NoValue, 3});
    acc->acc();
    EXPECT_EQ(acc.values(), (Values{1, NoValue, 4}));
    Array delta({1, NoValue, 3});
    delta->delta(1);
    EXPECT_EQ(delta.values(), (Values{NoValue, NoValue, 2}));
    Array delta2({1, 2, NoValue, 4, 8, 16});
    delta2->delta(2);
    EXPECT_EQ(delta2.values(), (Values{NoValue, NoValue, NoValue, 3, 6, 12}));

    Array rate({0, 0, 2, 0, 4});
    rate->rate();
    EXPECT_EQ(rate.values(), (Values{NoValue, 1, NoValue, 0, NoValue}));

    // shift: values move over the valid sequence, then the leading indexes take the fill.
    Array shift({1, NoValue, 2, 3, 4});
    shift->shift(1, -1);
    EXPECT_EQ(shift.values(), (Values{-1, NoValue, 1, 2, 3}));
    Array shift2({1, 2, 3});
    shift2->shift(2);
    EXPECT_EQ(shift2.values(), (Values{NoValue, NoValue, 1}));
    Array far({1, 2, 3});
    far->shift(1000, 5);
    EXPECT_EQ(far.values(), (Values{5, 5, 5}));
    far->delta(1000);
    EXPECT_EQ(far.values(), (Values{NoValue, NoValue, NoValue}));

    // Offsets below 1 change nothing.
    Array still({1, 2, 3});
    still->delta(0)->rate(-1)->shift(0)->shift(-3, 9);
    EXPECT_EQ(still.values(), (Values{1, 2, 3}));

    Array exp({NoValue, 2, 4, NoValue, 8});
    exp->expAvg(0.5);
    EXPECT_EQ(exp.values(), (Values{NoValue, 2, 3, NoValue, 5.5}));
    Array expBad({1, 2});
    expBad->expAvg(kNaN);
    EXPECT_EQ(expBad.values(), (Values{1, NoValue}));
}

TEST(ArrayMath, TrimAndInsert) {
    auto trimmed = [](int start, int len) {
        Array a({0, 1, 2, 3, 4});
        a->trim(start, len);
        return a.values();
    };
    EXPECT_EQ(trimmed(1, 2), (Values{1, 2}));
    EXPECT_EQ(trimmed(3, -1), (Values{3, 4}));
    EXPECT_EQ(trimmed(3, 100), (Values{3, 4}));
    EXPECT_EQ(trimmed(5, 1), Values{});
    EXPECT_EQ(trimmed(-2, 4), (Values{0, 1}));
    EXPECT_EQ(trimmed(2, 0), Values{});
    EXPECT_EQ(trimmed(0x7fffffff, 0x7fffffff), Values{});

    Array a({1, 2});
    Values more = {7, kNaN};
    a->insert(view(more), 1)->insert(view(more))->insert(view(more), 99)->insert(view(more), -7);
    EXPECT_EQ(a.values(), (Values{1, 7, NoValue, 2, 7, NoValue, 7, NoValue, 7, NoValue}));
    Array b({1, 2});
    b->insert(kNaN, 2, 0)->insert(5, 1)->insert(6, 0)->insert(6, -4)->insert(3, 1, 2);
    EXPECT_EQ(b.values(), (Values{NoValue, NoValue, 3, 1, 2, 5}));
    // A total beyond what an int can count is refused.
    b->insert(0, 0x7fffffff);
    EXPECT_EQ(b->count(), 6);
}

TEST(ArrayMath, StatisticsOverValidValues) {
    Array five({1, 2, 3, 4, 5});
    EXPECT_EQ(five->percentile(25), 2);
    EXPECT_EQ(five->percentile(-10), 1);
    EXPECT_EQ(five->percentile(1000), 5);
    EXPECT_EQ(five->med(), 3);
    Array four({4, NoValue, 2, 3, 1});
    EXPECT_DOUBLE_EQ(four->percentile(25), 1.75);
    EXPECT_EQ(four->med(), 2.5);
    EXPECT_EQ(four->sum(), 10);
    EXPECT_EQ(four->avg(), 2.5);
    EXPECT_DOUBLE_EQ(four->stdDev(), std::sqrt(1.25));
    EXPECT_EQ(four->min(), 1);
    EXPECT_EQ(four->max(), 4);
    EXPECT_EQ(four->minIndex(), 4);
    EXPECT_EQ(four->maxIndex(), 0);
    EXPECT_EQ(Array({7})->med(), 7);

    Array ties({NoValue, 3, 1, 3, 1});
    EXPECT_EQ(ties->minIndex(), 2);
    EXPECT_EQ(ties->maxIndex(), 1);

    for (Values empty : {Values{}, Values{NoValue, NoValue}}) {
        Array e(empty);
        EXPECT_EQ(e->sum(), 0);
        EXPECT_EQ(e->avg(), 0);
        EXPECT_EQ(e->stdDev(), 0);
        EXPECT_EQ(e->med(), 0);
        EXPECT_EQ(e->percentile(90), 0);
        EXPECT_EQ(e->min(), NoValue);
        EXPECT_EQ(e->max(), kMinor);
        EXPECT_EQ(e->minIndex(), -1);
        EXPECT_EQ(e->maxIndex(), -1);
    }

    // Small terms survive a large one that cancels out.
    Array cancel({1e16, 1, -1e16, 1});
    EXPECT_EQ(cancel->sum(), 2);
    // The spread of values on a large offset is not lost to cancellation.
    Array offset({1e9 + 1, 1e9 + 2, 1e9 + 3});
    EXPECT_NEAR(offset->stdDev(), std::sqrt(2.0 / 3), 1e-9);

    Values withNaN = {kNaN, 5, NoValue, -3, kNaN};
    EXPECT_EQ(ArrayMath::min(view(withNaN)), -3);
    EXPECT_EQ(ArrayMath::max(view(withNaN)), 5);
    Values onlyInfinite = {INFINITY};
    EXPECT_EQ(ArrayMath::min(view(onlyInfinite)), INFINITY);
    EXPECT_EQ(ArrayMath::min(DoubleArray()), NoValue);
    EXPECT_EQ(ArrayMath::max(DoubleArray()), kMinor);
}

TEST(ArrayMath, EveryModifyingOperationChains) {
    Values other = {1, 2, 3, 4};
    std::vector<std::function<ArrayMath*(ArrayMath*)>> operations = {
        [](ArrayMath* m) { return m->add(1); },
        [&](ArrayMath* m) { return m->add(view(other)); },
        [](ArrayMath* m) { return m->sub(1); },
        [&](ArrayMath* m) { return m->sub(view(other)); },
        [](ArrayMath* m) { return m->mul(1); },
        [&](ArrayMath* m) { return m->mul(view(other)); },
        [](ArrayMath* m) { return m->div(1); },
        [&](ArrayMath* m) { return m->div(view(other)); },
        [&](ArrayMath* m) { return m->financeDiv(view(other), 0); },
        [](ArrayMath* m) { return m->selectGTZ(); },
        [](ArrayMath* m) { return m->selectGEZ(); },
        [](ArrayMath* m) { return m->selectLTZ(); },
        [](ArrayMath* m) { return m->selectLEZ(); },
        [](ArrayMath* m) { return m->selectEQZ(); },
        [](ArrayMath* m) { return m->selectNEZ(); },
        [](ArrayMath* m) { return m->replace(1, 2); },
        [](ArrayMath* m) { return m->abs(); },
        [](ArrayMath* m) { return m->acc(); },
        [](ArrayMath* m) { return m->delta(); },
        [](ArrayMath* m) { return m->rate(); },
        [](ArrayMath* m) { return m->shift(); },
        [](ArrayMath* m) { return m->movAvg(2); },
        [](ArrayMath* m) { return m->movMax(2); },
        [](ArrayMath* m) { return m->movMin(2); },
        [](ArrayMath* m) { return m->movStdDev(2); },
        [](ArrayMath* m) { return m->movPercentile(2, 10); },
        [](ArrayMath* m) { return m->movMed(2); },
        [&](ArrayMath* m) { return m->movCorr(2, view(other)); },
        [](ArrayMath* m) { return m->expAvg(0.3); },
        [](ArrayMath* m) { return m->lowess(); },
        [&](ArrayMath* m) { return m->lowess(view(other)); },
        [](ArrayMath* m) { return m->selectRegularSpacing(2); },
        [](ArrayMath* m) { return m->selectStartOfSecond(); },
        [](ArrayMath* m) { return m->selectStartOfMinute(); },
        [](ArrayMath* m) { return m->selectStartOfHour(); },
        [](ArrayMath* m) { return m->selectStartOfDay(); },
        [](ArrayMath* m) { return m->selectStartOfWeek(); },
        [](ArrayMath* m) { return m->selectStartOfMonth(); },
        [](ArrayMath* m) { return m->selectStartOfYear(); },
        [](ArrayMath* m) { return m->trim(); },
        [&](ArrayMath* m) { return m->insert(view(other)); },
        [](ArrayMath* m) { return m->insert(1, 2); },
    };
    for (size_t i = 0; i < operations.size(); ++i) {
        for (Values start : {Values{5, -1, NoValue, 2}, Values{}}) {
            Array a(start);
            EXPECT_EQ(operations[i](a.m), a.m) << "operation " << i;
            for (double v : a.values()) EXPECT_FALSE(std::isnan(v)) << "operation " << i;
        }
    }
}

// ArrayMath: one owned vector of doubles and the chainable operations over it. The element-wise and
// sequence operations live here; the moving windows, LOWESS, the label filters and aggregation have
// their own files and work on the vector directly.
//
// The invariant that every operation keeps: no NaN is ever stored, so "valid" inside the array is
// simply "not NoValue". Arguments given as NaN mean NoValue. Allocation failures (the only way a
// standard container can throw here) leave the object as it was.
#include <plotvane/arraymath.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <vector>

#include "data/aggregate_p.h"
#include "data/arraystats_p.h"
#include "data/datafilter_p.h"
#include "data/lowess_p.h"
#include "data/movingwindow_p.h"

namespace plotvane {

namespace {

using Chart::NoValue;

size_t viewLength(DoubleArray a) {
    return a.data && a.len > 0 ? static_cast<size_t>(a.len) : 0;
}

std::vector<double> copyOf(DoubleArray a) {
    std::vector<double> v(a.data, a.data + viewLength(a));
    for (double& x : v) x = orNoValue(x);
    return v;
}

template <class Better>
double extremeOf(DoubleArray a, double none, Better better) {
    bool found = false;
    double best = none;
    for (size_t i = 0; i < viewLength(a); ++i) {
        double v = a.data[i];
        if (isValidValue(v) && (!found || better(v, best))) {
            best = v;
            found = true;
        }
    }
    return best;
}

class ArrayMathImpl : public ArrayMath {
  public:
    explicit ArrayMathImpl(std::vector<double> values) : values_(std::move(values)) {}

    void destroy() override { delete this; }

    ArrayMath* add(double v) override {
        return apply(v, [](double a, double b) { return a + b; });
    }
    ArrayMath* sub(double v) override {
        return apply(v, [](double a, double b) { return a - b; });
    }
    ArrayMath* mul(double v) override {
        return apply(v, [](double a, double b) { return a * b; });
    }
    ArrayMath* div(double v) override {
        return apply(v, [](double a, double b) { return a / b; });
    }
    ArrayMath* add(DoubleArray b) override {
        return apply(b, [](double x, double y) { return x + y; });
    }
    ArrayMath* sub(DoubleArray b) override {
        return apply(b, [](double x, double y) { return x - y; });
    }
    ArrayMath* mul(DoubleArray b) override {
        return apply(b, [](double x, double y) { return x * y; });
    }
    ArrayMath* div(DoubleArray b) override {
        return apply(b, [](double x, double y) { return x / y; });
    }

    ArrayMath* financeDiv(DoubleArray b, double zeroByZeroValue) override {
        const double zeroByZero = orNoValue(zeroByZeroValue);
        return apply(b, [zeroByZero](double x, double y) {
            if (y != 0) return x / y;
            return x == 0 ? zeroByZero : NoValue;
        });
    }

    ArrayMath* selectGTZ(DoubleArray d, double fill) override {
        return select(d, fill, [](double v) { return v > 0; });
    }
    ArrayMath* selectGEZ(DoubleArray d, double fill) override {
        return select(d, fill, [](double v) { return v >= 0; });
    }
    ArrayMath* selectLTZ(DoubleArray d, double fill) override {
        return select(d, fill, [](double v) { return v < 0; });
    }
    ArrayMath* selectLEZ(DoubleArray d, double fill) override {
        return select(d, fill, [](double v) { return v <= 0; });
    }
    ArrayMath* selectEQZ(DoubleArray d, double fill) override {
        return select(d, fill, [](double v) { return v == 0; });
    }
    ArrayMath* selectNEZ(DoubleArray d, double fill) override {
        return select(d, fill, [](double v) { return v != 0; });
    }

    ArrayMath* replace(double a, double b) override {
        a = orNoValue(a);
        b = orNoValue(b);
        std::replace(values_.begin(), values_.end(), a, b);
        return this;
    }

    ArrayMath* abs() override {
        for (double& v : values_)
            if (v != NoValue) v = std::fabs(v);
        return this;
    }

    ArrayMath* acc() override {
        double sum = 0;
        for (double& v : values_) {
            if (v == NoValue) continue;
            sum += v;
            v = orNoValue(sum);
        }
        return this;
    }

    ArrayMath* delta(int offset) override {
        return overValid(offset, [](double now, double before) { return now - before; });
    }

    ArrayMath* rate(int offset) override {
        return overValid(offset, [](double now, double before) {
            if (before == 0) return now == 0 ? 1.0 : NoValue;
            return now / before;
        });
    }

    ArrayMath* shift(int offset, double fillValue) override {
        if (offset < 1) return this;
        overValid(offset, [](double, double before) { return before; });
        size_t filled = std::min(values_.size(), static_cast<size_t>(offset));
        std::fill(values_.begin(), values_.begin() + static_cast<std::ptrdiff_t>(filled),
                  orNoValue(fillValue));
        return this;
    }

    ArrayMath* movAvg(int n) override {
        return guarded([&] { plotvane::movAvg(values_, n); });
    }
    ArrayMath* movMax(int n) override {
        return guarded([&] { plotvane::movMax(values_, n); });
    }
    ArrayMath* movMin(int n) override {
        return guarded([&] { plotvane::movMin(values_, n); });
    }
    ArrayMath* movStdDev(int n) override {
        return guarded([&] { plotvane::movStdDev(values_, n); });
    }
    ArrayMath* movPercentile(int n, double p) override {
        return guarded([&] { plotvane::movPercentile(values_, n, p); });
    }
    ArrayMath* movMed(int n) override { return movPercentile(n, 50); }
    ArrayMath* movCorr(int n, DoubleArray b) override {
        return guarded([&] { plotvane::movCorr(values_, n, b.data, viewLength(b)); });
    }

    ArrayMath* expAvg(double smoothingFactor) override {
        bool seeded = false;
        double average = 0;
        const double f = orNoValue(smoothingFactor);
        for (double& v : values_) {
            if (v == NoValue) continue;
            if (!seeded) {
                average = v;
                seeded = true;
            } else if (f == NoValue) {
                v = NoValue;
            } else {
                average = average * (1 - f) + v * f;
                v = orNoValue(average);
            }
        }
        return this;
    }

    ArrayMath* lowess(double smoothness, int iteration) override {
        return guarded([&] { lowessFilter(values_, nullptr, 0, smoothness, iteration); });
    }
    ArrayMath* lowess(DoubleArray xValues, double smoothness, int iteration) override {
        return guarded(
            [&] { lowessFilter(values_, xValues.data, viewLength(xValues), smoothness, iteration); });
    }

    ArrayMath* selectRegularSpacing(int majorTickStep, int minorTickStep, int initialMargin) override {
        plotvane::selectRegularSpacing(values_, majorTickStep, minorTickStep, initialMargin);
        return this;
    }
    ArrayMath* selectStartOfSecond(int step, double margin) override {
        return dates(DatePeriod::Second, step, margin);
    }
    ArrayMath* selectStartOfMinute(int step, double margin) override {
        return dates(DatePeriod::Minute, step, margin);
    }
    ArrayMath* selectStartOfHour(int step, double margin) override {
        return dates(DatePeriod::Hour, step, margin);
    }
    ArrayMath* selectStartOfDay(int step, double margin) override {
        return dates(DatePeriod::Day, step, margin);
    }
    ArrayMath* selectStartOfWeek(int step, double margin) override {
        return dates(DatePeriod::Week, step, margin);
    }
    ArrayMath* selectStartOfMonth(int step, double margin) override {
        return dates(DatePeriod::Month, step, margin);
    }
    ArrayMath* selectStartOfYear(int step, double margin) override {
        return dates(DatePeriod::Year, step, margin);
    }

    ArrayMath* trim(int startIndex, int len) override {
        const long long size = static_cast<long long>(values_.size());
        long long begin = std::max<long long>(startIndex, 0);
        long long end = len < 0 ? size : std::min(size, static_cast<long long>(startIndex) + len);
        if (begin >= end) {
            values_.clear();
            return this;
        }
        values_.erase(values_.begin() + end, values_.end());
        values_.erase(values_.begin(), values_.begin() + begin);
        return this;
    }

    ArrayMath* insert(DoubleArray values, int insertPoint) override {
        const size_t n = viewLength(values);
        if (n == 0 || n > INT_MAX - values_.size()) return this;
        return guarded([&] {
            auto at = values_.insert(insertPosition(insertPoint), values.data, values.data + n);
            std::transform(at, at + static_cast<std::ptrdiff_t>(n), at, orNoValue);
        });
    }

    ArrayMath* insert(double value, int len, int insertPoint) override {
        if (len < 1 || static_cast<size_t>(len) > INT_MAX - values_.size()) return this;
        return guarded(
            [&] { values_.insert(insertPosition(insertPoint), static_cast<size_t>(len), orNoValue(value)); });
    }

    DoubleArray aggregate(DoubleArray srcArray, int aggregateMethod, double param) override {
        try {
            aggregated_ =
                aggregateGroups(values_, srcArray.data, viewLength(srcArray), aggregateMethod, param);
        } catch (const std::bad_alloc&) {
            aggregated_.clear();
        }
        return DoubleArray(aggregated_.data(), static_cast<int>(aggregated_.size()));
    }

    double sum() const override { return sumOf(valid()); }
    double avg() const override { return meanOf(valid()); }
    double stdDev() const override { return stdDevOf(valid()); }
    double med() const override { return percentile(50); }
    double percentile(double p) const override {
        std::vector<double> v = valid();
        return percentileOf(v, p);
    }
    double min() const override { return ArrayMath::min(result()); }
    double max() const override { return ArrayMath::max(result()); }
    int minIndex() const override {
        return extremeIndex([](double a, double b) { return a < b; });
    }
    int maxIndex() const override {
        return extremeIndex([](double a, double b) { return a > b; });
    }

    int count() const override { return static_cast<int>(values_.size()); }
    double getValue(int index) const override {
        return index >= 0 && static_cast<size_t>(index) < values_.size() ? values_[static_cast<size_t>(index)]
                                                                         : NoValue;
    }
    DoubleArray result() const override { return DoubleArray(values_.data(), count()); }

  private:
    // The operations allocate everything they need before they change values_, so an allocation that
    // fails leaves the array as it was.
    template <class Work>
    ArrayMath* guarded(Work work) {
        try {
            work();
        } catch (const std::bad_alloc&) {
        }
        return this;
    }

    template <class Op>
    ArrayMath* apply(double v, Op op) {
        v = orNoValue(v);
        for (double& a : values_) a = (a == NoValue || v == NoValue) ? NoValue : orNoValue(op(a, v));
        return this;
    }

    template <class Op>
    ArrayMath* apply(DoubleArray b, Op op) {
        const size_t n = std::min(values_.size(), viewLength(b));
        for (size_t i = 0; i < n; ++i) {
            double& a = values_[i];
            a = (a == NoValue || !isValidValue(b.data[i])) ? NoValue : orNoValue(op(a, b.data[i]));
        }
        return this;
    }

    template <class Test>
    ArrayMath* select(DoubleArray decision, double fillValue, Test keep) {
        const double fill = orNoValue(fillValue);
        if (!decision.data) {
            for (double& a : values_)
                if (a != NoValue && !keep(a)) a = fill;
            return this;
        }
        const size_t n = std::min(values_.size(), viewLength(decision));
        for (size_t i = 0; i < n; ++i) {
            double& a = values_[i];
            if (a == NoValue || !isValidValue(decision.data[i]))
                a = NoValue;
            else if (!keep(decision.data[i]))
                a = fill;
        }
        return this;
    }

    // Each valid element becomes op(itself, the valid value offset places before); the first offset
    // valid elements become NoValue.
    template <class Op>
    ArrayMath* overValid(int offset, Op op) {
        if (offset < 1) return this;
        return guarded([&] {
            std::vector<double> v = validValues(values_.data(), values_.size());
            const size_t k = static_cast<size_t>(offset);
            for (size_t j = v.size(); j-- > 0;) v[j] = j < k ? NoValue : op(v[j], v[j - k]);
            scatterOverValid(values_, v);
        });
    }

    ArrayMath* dates(DatePeriod period, int majorTickStep, double initialMargin) {
        selectStartOf(values_, period, majorTickStep, initialMargin);
        return this;
    }

    std::vector<double>::iterator insertPosition(int insertPoint) {
        if (insertPoint < 0 || static_cast<size_t>(insertPoint) > values_.size()) return values_.end();
        return values_.begin() + insertPoint;
    }

    std::vector<double> valid() const { return validValues(values_.data(), values_.size()); }

    template <class Better>
    int extremeIndex(Better better) const {
        int best = -1;
        for (size_t i = 0; i < values_.size(); ++i)
            if (values_[i] != NoValue && (best < 0 || better(values_[i], values_[static_cast<size_t>(best)])))
                best = static_cast<int>(i);
        return best;
    }

    std::vector<double> values_;
    std::vector<double> aggregated_;
};

}  // namespace

ArrayMath* ArrayMath::create(DoubleArray a) {
    try {
        return new ArrayMathImpl(copyOf(a));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

double ArrayMath::min(DoubleArray a) {
    return extremeOf(a, NoValue, [](double v, double best) { return v < best; });
}

double ArrayMath::max(DoubleArray a) {
    return extremeOf(a, Chart::MinorTickOnly, [](double v, double best) { return v > best; });
}

}  // namespace plotvane

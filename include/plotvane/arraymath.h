#ifndef PLOTVANE_ARRAYMATH_H
#define PLOTVANE_ARRAYMATH_H

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>

namespace plotvane {

// A mutable array of doubles with chainable arithmetic, moving-window statistics, smoothing, selection
// and date filters. NoValue marks a missing value; NaN never enters the array (it becomes NoValue).
// "Valid" below means neither NoValue nor NaN. No operation fails: mismatched lengths use the shorter,
// invalid inputs give NoValue, and every modifying operation returns the object so that calls chain.
class PLOTVANE_API ArrayMath {
  public:
    static ArrayMath* create(DoubleArray a);
    virtual void destroy() = 0;

    // Smallest valid value (NoValue when there is none) and largest (-1.7e308 when none).
    static double min(DoubleArray a);
    static double max(DoubleArray a);

    // Element-wise with a number (an invalid number makes every element NoValue) or with an array
    // (over the shorter length; elements beyond the other array stay as they are).
    virtual ArrayMath* add(double v) = 0;
    virtual ArrayMath* sub(double v) = 0;
    virtual ArrayMath* mul(double v) = 0;
    virtual ArrayMath* div(double v) = 0;
    virtual ArrayMath* add(DoubleArray b) = 0;
    virtual ArrayMath* sub(DoubleArray b) = 0;
    virtual ArrayMath* mul(DoubleArray b) = 0;
    virtual ArrayMath* div(DoubleArray b) = 0;
    // a / b, with x / 0 missing and 0 / 0 giving zeroByZeroValue.
    virtual ArrayMath* financeDiv(DoubleArray b, double zeroByZeroValue) = 0;

    // Keeps each element whose decision value passes the test against zero, else puts fillValue. A
    // decision array with a null data pointer (the default) means the array itself.
    virtual ArrayMath* selectGTZ(DoubleArray decision = DoubleArray(), double fillValue = 0) = 0;
    virtual ArrayMath* selectGEZ(DoubleArray decision = DoubleArray(), double fillValue = 0) = 0;
    virtual ArrayMath* selectLTZ(DoubleArray decision = DoubleArray(), double fillValue = 0) = 0;
    virtual ArrayMath* selectLEZ(DoubleArray decision = DoubleArray(), double fillValue = 0) = 0;
    virtual ArrayMath* selectEQZ(DoubleArray decision = DoubleArray(), double fillValue = 0) = 0;
    virtual ArrayMath* selectNEZ(DoubleArray decision = DoubleArray(), double fillValue = 0) = 0;

    virtual ArrayMath* replace(double a, double b) = 0;
    virtual ArrayMath* abs() = 0;

    // Operations over the sequence of valid elements; NoValue elements stay and are not counted.
    // Offsets below 1 change nothing.
    virtual ArrayMath* acc() = 0;
    virtual ArrayMath* delta(int offset = 1) = 0;
    virtual ArrayMath* rate(int offset = 1) = 0;
    virtual ArrayMath* shift(int offset = 1, double fillValue = Chart::NoValue) = 0;

    // Moving windows over the last n valid values. The first n - 1 valid elements become NoValue;
    // windows below 2 change nothing.
    virtual ArrayMath* movAvg(int n) = 0;
    virtual ArrayMath* movMax(int n) = 0;
    virtual ArrayMath* movMin(int n) = 0;
    virtual ArrayMath* movStdDev(int n) = 0;
    virtual ArrayMath* movPercentile(int n, double p) = 0;
    virtual ArrayMath* movMed(int n) = 0;
    // Pearson correlation with b over the last n pairs that are both valid; a window whose values are
    // constant on either side has no correlation and gives NoValue.
    virtual ArrayMath* movCorr(int n, DoubleArray b) = 0;
    virtual ArrayMath* expAvg(double smoothingFactor) = 0;

    // LOWESS smoothing against x = 0, 1, 2, ... or against xValues.
    virtual ArrayMath* lowess(double smoothness = 0.25, int iteration = 0) = 0;
    virtual ArrayMath* lowess(DoubleArray xValues, double smoothness = 0.25, int iteration = 0) = 0;

    // Filters: kept values are major positions, -1.7e308 marks minor positions, NoValue the rest.
    virtual ArrayMath* selectRegularSpacing(int majorTickStep, int minorTickStep = 0,
                                            int initialMargin = 0) = 0;
    virtual ArrayMath* selectStartOfSecond(int majorTickStep = 1, double initialMargin = 0.1) = 0;
    virtual ArrayMath* selectStartOfMinute(int majorTickStep = 1, double initialMargin = 5.0) = 0;
    virtual ArrayMath* selectStartOfHour(int majorTickStep = 1, double initialMargin = 300.0) = 0;
    virtual ArrayMath* selectStartOfDay(int majorTickStep = 1, double initialMargin = 10800.0) = 0;
    virtual ArrayMath* selectStartOfWeek(int majorTickStep = 1, double initialMargin = 172800.0) = 0;
    virtual ArrayMath* selectStartOfMonth(int majorTickStep = 1, double initialMargin = 432000.0) = 0;
    virtual ArrayMath* selectStartOfYear(int majorTickStep = 1, double initialMargin = 5184000.0) = 0;

    virtual ArrayMath* trim(int startIndex = 0, int len = -1) = 0;
    // Insert before insertPoint; -1 or any point out of range appends.
    virtual ArrayMath* insert(DoubleArray values, int insertPoint = -1) = 0;
    virtual ArrayMath* insert(double value, int len, int insertPoint = -1) = 0;

    // Combines srcArray over the groups this array marks (a group starts at every element that is not
    // NoValue). The values belong to the object and stay valid until the next aggregate or destroy.
    // A group without a valid source value gives 0 for the sum and the average, 0 for the count and
    // NoValue otherwise.
    virtual DoubleArray aggregate(DoubleArray srcArray, int aggregateMethod, double param = 50) = 0;

    // Statistics over the valid elements.
    virtual double sum() const = 0;
    virtual double avg() const = 0;
    virtual double stdDev() const = 0;
    virtual double med() const = 0;
    virtual double percentile(double p) const = 0;
    virtual double min() const = 0;
    virtual double max() const = 0;
    virtual int minIndex() const = 0;
    virtual int maxIndex() const = 0;

    virtual int count() const = 0;
    // NoValue for an index out of range.
    virtual double getValue(int index) const = 0;
    // A view of the contents, valid until the next change.
    virtual DoubleArray result() const = 0;

  protected:
    virtual ~ArrayMath() = default;
};

}  // namespace plotvane

#endif

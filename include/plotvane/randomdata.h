#ifndef PLOTVANE_RANDOMDATA_H
#define PLOTVANE_RANDOMDATA_H

#include <plotvane/arrays.h>
#include <plotvane/export.h>

namespace plotvane {

// Reproducible demonstration data: the same seed gives the same values on every platform.

// Returns one array per call; every array stays valid until the object is destroyed. A length below 1
// gives an empty array.
class PLOTVANE_API RanSeries {
  public:
    static RanSeries* create(int seed);
    virtual void destroy() = 0;

    // Uniform values in [minValue, maxValue].
    virtual DoubleArray getSeries(int len, double minValue, double maxValue) = 0;
    // A random walk whose steps lie in [minDelta, maxDelta], kept within the limits.
    virtual DoubleArray getSeries(int len, double startValue, double minDelta, double maxDelta,
                                  double lowerLimit = -1e308, double upperLimit = 1e308) = 0;
    virtual DoubleArray getGaussianSeries(int len, double mean, double stdDev) = 0;
    // Chart times from startTime on; steps of 30 days or more, and weekday-only series, move by
    // calendar months and years.
    virtual DoubleArray getDateSeries(int len, double startTime, double tickInc,
                                      bool weekDayOnly = false) = 0;
    // A smooth random field of xLen * yLen values, row by row, spanning [minValue, maxValue].
    virtual DoubleArray get2DSeries(int xLen, int yLen, double minValue, double maxValue) = 0;

  protected:
    virtual ~RanSeries() = default;
};

// A table of equally long columns filled by the same generators. A column number out of range makes
// any operation do nothing.
class PLOTVANE_API RanTable {
  public:
    static RanTable* create(int seed, int noOfCols, int noOfRows);
    virtual void destroy() = 0;

    virtual void setCol(int colNo, double minValue, double maxValue) = 0;
    virtual void setCol(int colNo, double startValue, double minDelta, double maxDelta,
                        double lowerLimit = -1e308, double upperLimit = 1e308) = 0;
    virtual void setDateCol(int colNo, double startTime, double tickInc, bool weekDayOnly = false) = 0;
    // Fills columns colNo to colNo + 3 with high, low, open and close prices; needs colNo to be below
    // the number of columns minus 4.
    virtual void setHLOCCols(int colNo, double startValue, double minDelta, double maxDelta,
                             double lowerLimit = 0, double upperLimit = 1e308) = 0;
    // Keeps the rows whose value in the ascending column colNo lies in [minDate, maxDate]; returns the
    // number of rows kept (0 for a column out of range).
    virtual int selectDate(int colNo, double minDate, double maxDate) = 0;
    // A view owned by the table, valid until the table changes.
    virtual DoubleArray getCol(int colNo) = 0;

  protected:
    virtual ~RanTable() = default;
};

// A price history in trading hours: time stamps, high, low, open, close and volume, all of one length.
// A resolution below one second gives no data, and at most 10 million stamps are made.
class PLOTVANE_API FinanceSimulator {
  public:
    static FinanceSimulator* create(int seed, double startTime, double endTime, int resolution);
    // The seed is a hash of the text; a null text is seed 0.
    static FinanceSimulator* create(const char* seed, double startTime, double endTime, int resolution);
    virtual void destroy() = 0;

    virtual DoubleArray getTimeStamps() = 0;
    virtual DoubleArray getHighData() = 0;
    virtual DoubleArray getLowData() = 0;
    virtual DoubleArray getOpenData() = 0;
    virtual DoubleArray getCloseData() = 0;
    virtual DoubleArray getVolData() = 0;

  protected:
    virtual ~FinanceSimulator() = default;
};

}  // namespace plotvane

#endif

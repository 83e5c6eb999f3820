// RanTable: columns of equal length filled from one ISAAC stream, including a set of four columns
// shaped like daily prices. Prices are rounded the way quotes are: whole units from 200 up, cents below
// 20, tenths in between.
#include <plotvane/randomdata.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "data/isaac_p.h"
#include "data/randomfill_p.h"

namespace plotvane {

namespace {

double roundPrice(double x) {
    if (x >= 200) return std::floor(x + 0.5);
    if (x >= 20) return std::floor(x * 10 + 0.5) / 10;
    if (x >= 2) return std::floor(x * 100 + 0.5) / 100;
    return x;
}

class RanTableImpl : public RanTable {
  public:
    RanTableImpl(int seed, int noOfCols, int noOfRows) : rng_(static_cast<uint32_t>(seed)) {
        if (static_cast<long long>(noOfCols) * noOfRows > INT32_MAX) return;
        try {
            columns_.assign(static_cast<size_t>(std::max(noOfCols, 0)),
                            std::vector<double>(static_cast<size_t>(std::max(noOfRows, 0)), 0.0));
        } catch (const std::bad_alloc&) {
            columns_.clear();
        }
    }

    void destroy() override { delete this; }

    void setCol(int colNo, double minValue, double maxValue) override {
        if (!hasColumn(colNo)) return;
        if (minValue > maxValue) std::swap(minValue, maxValue);
        std::vector<double>& c = column(colNo);
        fillUniform(rng_, c.data(), c.size(), minValue, maxValue);
    }

    void setCol(int colNo, double startValue, double minDelta, double maxDelta, double lowerLimit,
                double upperLimit) override {
        if (!hasColumn(colNo)) return;
        if (minDelta > maxDelta) std::swap(minDelta, maxDelta);
        std::vector<double>& c = column(colNo);
        fillWalk(rng_, c.data(), c.size(), startValue, minDelta, maxDelta, lowerLimit, upperLimit);
    }

    void setDateCol(int colNo, double startTime, double tickInc, bool weekDayOnly) override {
        if (!hasColumn(colNo)) return;
        std::vector<double>& c = column(colNo);
        fillDates(c.data(), c.size(), startTime, tickInc, weekDayOnly);
    }

    void setHLOCCols(int colNo, double startValue, double minDelta, double maxDelta, double lowerLimit,
                     double upperLimit) override {
        if (colNo < 0 || static_cast<size_t>(colNo) + 4 >= columns_.size()) return;
        const double lo = std::min(minDelta, maxDelta), hi = std::max(minDelta, maxDelta);
        std::vector<double>& high = column(colNo);
        std::vector<double>& low = column(colNo + 1);
        std::vector<double>& open = column(colNo + 2);
        std::vector<double>& close = column(colNo + 3);
        const size_t rows = std::min({high.size(), low.size(), open.size(), close.size()});
        double p = startValue;
        for (size_t i = 0; i < rows; ++i) {
            open[i] = p;
            close[i] = roundPrice(walkStep(rng_, p, lo, hi, lowerLimit, upperLimit));
            p = roundPrice(walkStep(rng_, close[i], lo, hi, lowerLimit, upperLimit));
            const double top = std::max(open[i], close[i]), bottom = std::min(open[i], close[i]);
            high[i] =
                withinLimits([&] { return roundPrice(top + hi * rng_.unit()); }, lowerLimit, upperLimit);
            low[i] = withinLimits([&] { return roundPrice(bottom + lo * (1 - rng_.unit())); }, lowerLimit,
                                  upperLimit);
        }
    }

    int selectDate(int colNo, double minDate, double maxDate) override {
        if (!hasColumn(colNo)) return 0;
        const std::vector<double>& key = column(colNo);
        const size_t first =
            static_cast<size_t>(std::lower_bound(key.begin(), key.end(), minDate) - key.begin());
        const size_t last =
            static_cast<size_t>(std::upper_bound(key.begin(), key.end(), maxDate) - key.begin());
        const size_t kept = last > first ? last - first : 0;
        for (std::vector<double>& c : columns_) {
            size_t begin = std::min(first, c.size()), end = std::min(first + kept, c.size());
            std::copy(c.begin() + static_cast<std::ptrdiff_t>(begin),
                      c.begin() + static_cast<std::ptrdiff_t>(end), c.begin());
            c.resize(end - begin);
        }
        return static_cast<int>(kept);
    }

    DoubleArray getCol(int colNo) override {
        if (!hasColumn(colNo)) return DoubleArray();
        const std::vector<double>& c = column(colNo);
        return DoubleArray(c.data(), static_cast<int>(c.size()));
    }

  private:
    bool hasColumn(int colNo) const { return colNo >= 0 && static_cast<size_t>(colNo) < columns_.size(); }
    std::vector<double>& column(int colNo) { return columns_[static_cast<size_t>(colNo)]; }

    Isaac rng_;
    std::vector<std::vector<double>> columns_;
};

}  // namespace

RanTable* RanTable::create(int seed, int noOfCols, int noOfRows) {
    return new (std::nothrow) RanTableImpl(seed, noOfCols, noOfRows);
}

}  // namespace plotvane

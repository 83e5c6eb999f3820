// RanSeries: one ISAAC stream and the arrays it has handed out, all kept until the object goes.
#include <plotvane/randomdata.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "data/isaac_p.h"
#include "data/randomfill_p.h"

namespace plotvane {

namespace {

class RanSeriesImpl : public RanSeries {
  public:
    explicit RanSeriesImpl(int seed) : rng_(static_cast<uint32_t>(seed)) {}

    void destroy() override { delete this; }

    DoubleArray getSeries(int len, double minValue, double maxValue) override {
        return make(len, [&](double* out, size_t n) { fillUniform(rng_, out, n, minValue, maxValue); });
    }

    DoubleArray getSeries(int len, double startValue, double minDelta, double maxDelta, double lowerLimit,
                          double upperLimit) override {
        return make(len, [&](double* out, size_t n) {
            fillWalk(rng_, out, n, startValue, minDelta, maxDelta, lowerLimit, upperLimit);
        });
    }

    DoubleArray getGaussianSeries(int len, double mean, double stdDev) override {
        return make(len, [&](double* out, size_t n) { fillGaussian(rng_, out, n, mean, stdDev); });
    }

    DoubleArray getDateSeries(int len, double startTime, double tickInc, bool weekDayOnly) override {
        return make(len, [&](double* out, size_t n) { fillDates(out, n, startTime, tickInc, weekDayOnly); });
    }

    DoubleArray get2DSeries(int xLen, int yLen, double minValue, double maxValue) override {
        if (xLen < 1 || yLen < 1 || static_cast<long long>(xLen) * yLen > INT32_MAX) return DoubleArray();
        return make(xLen * yLen, [&](double* out, size_t) {
            fill2D(rng_, out, static_cast<size_t>(xLen), static_cast<size_t>(yLen), minValue, maxValue);
        });
    }

  private:
    template <class Fill>
    DoubleArray make(int len, Fill fill) {
        if (len < 1) return DoubleArray();
        try {
            arrays_.reserve(arrays_.size() + 1);
            auto values = std::make_unique<std::vector<double>>(static_cast<size_t>(len));
            fill(values->data(), values->size());
            arrays_.push_back(std::move(values));
        } catch (const std::bad_alloc&) {
            return DoubleArray();
        }
        return DoubleArray(arrays_.back()->data(), len);
    }

    Isaac rng_;
    std::vector<std::unique_ptr<std::vector<double>>> arrays_;
};

}  // namespace

RanSeries* RanSeries::create(int seed) {
    return new (std::nothrow) RanSeriesImpl(seed);
}

}  // namespace plotvane

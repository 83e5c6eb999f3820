// FinanceSimulator: a price history on a realistic time grid.
//
// The grid depends on the resolution: monthly bars start on the first of a month, weekly bars on a
// Monday, and anything finer lives in the trading session 09:30-16:00 on weekdays, a stamp that falls
// outside being pushed to the next opening. Prices and volumes come from a RanTable with the same
// seed, so a seed (or the hash of a text seed) always gives the same history.
#include <plotvane/randomdata.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "data/randomfill_p.h"
#include "foundation/charttime_p.h"

namespace plotvane {

namespace {

constexpr long long kDay = 86400, kWeek = 7 * kDay, kMonth = 30 * kDay;
constexpr long long kOpening = 34200, kClosing = 57600;
constexpr size_t kMaxStamps = 10000000;

long long startOfDay(long long t) {
    return floorDiv(t, kDay) * kDay;
}

std::vector<double> monthlyStamps(long long start, long long end, long long resolution) {
    std::vector<double> stamps;
    CalendarDate date = calendarDateOf(static_cast<double>(start));
    long long t = startOfDay(start) - (date.day - 1) * kDay;
    if (date.day != 1) t = addMonths(t, 1);
    const long long step = resolution / kMonth;
    for (; t <= end && stamps.size() < kMaxStamps; t = addMonths(t, step))
        stamps.push_back(static_cast<double>(t));
    return stamps;
}

std::vector<double> weeklyStamps(long long start, long long end, long long resolution) {
    std::vector<double> stamps;
    long long t = startOfDay(start);
    while (weekDayOf(t) != 1) t += kDay;
    const long long step = resolution / kWeek * kWeek;
    for (; t <= end && stamps.size() < kMaxStamps; t += step) stamps.push_back(static_cast<double>(t));
    return stamps;
}

long long intoSession(long long t) {
    long long timeOfDay = t - startOfDay(t);
    if (timeOfDay < kOpening)
        t = startOfDay(t) + kOpening;
    else if (timeOfDay > kClosing)
        t = startOfDay(t) + kDay + kOpening;
    int weekDay = weekDayOf(t);
    if (weekDay == 0) t += kDay;
    if (weekDay == 6) t += 2 * kDay;
    return t;
}

std::vector<double> sessionStamps(long long start, long long end, long long resolution) {
    std::vector<double> stamps;
    if (resolution >= kDay) {
        resolution = resolution / kDay * kDay;
        start = startOfDay(start);
    }
    for (long long t = intoSession(start); t <= end && stamps.size() < kMaxStamps;
         t = intoSession(t + resolution))
        stamps.push_back(static_cast<double>(t));
    return stamps;
}

std::vector<double> timeStamps(double startTime, double endTime, int resolution) {
    if (resolution < 1) return {};
    const long long start = truncateTime(startTime), end = truncateTime(endTime);
    if (resolution >= kMonth) return monthlyStamps(start, end, resolution);
    if (resolution >= kWeek) return weeklyStamps(start, end, resolution);
    return sessionStamps(start, end, resolution);
}

uint32_t hashSeed(const char* text) {
    if (!text) return 0;
    const size_t n = std::strlen(text);
    uint64_t h = n;
    for (size_t i = 0; i < n; ++i) {
        const uint64_t c = static_cast<uint64_t>(static_cast<int64_t>(static_cast<signed char>(text[i])));
        h = (h << 5) ^ (h >> 27) ^ c;
    }
    return static_cast<uint32_t>(h);
}

class FinanceSimulatorImpl : public FinanceSimulator {
  public:
    FinanceSimulatorImpl(int seed, double startTime, double endTime, int resolution) {
        try {
            stamps_ = timeStamps(startTime, endTime, resolution);
        } catch (const std::bad_alloc&) {
            stamps_.clear();
        }
        RanTable* table = RanTable::create(seed, 5, static_cast<int>(stamps_.size()));
        if (table) {
            table->setHLOCCols(0, 1000, -20, 20, 0, 1e308);
            table->setCol(4, 500000, 2500000);
            try {
                for (int c = 0; c < 5; ++c) {
                    DoubleArray column = table->getCol(c);
                    columns_[c].assign(column.data, column.data + column.len);
                }
            } catch (const std::bad_alloc&) {
                columns_[4].clear();
            }
            table->destroy();
        }
        // Without all the data, there is none.
        for (const std::vector<double>& c : columns_)
            if (c.size() != stamps_.size()) stamps_.clear();
    }

    void destroy() override { delete this; }

    DoubleArray getTimeStamps() override { return view(stamps_); }
    DoubleArray getHighData() override { return view(columns_[0]); }
    DoubleArray getLowData() override { return view(columns_[1]); }
    DoubleArray getOpenData() override { return view(columns_[2]); }
    DoubleArray getCloseData() override { return view(columns_[3]); }
    DoubleArray getVolData() override { return view(columns_[4]); }

  private:
    DoubleArray view(const std::vector<double>& v) const {
        return stamps_.empty() ? DoubleArray() : DoubleArray(v.data(), static_cast<int>(v.size()));
    }

    std::vector<double> stamps_;
    std::vector<double> columns_[5];
};

}  // namespace

FinanceSimulator* FinanceSimulator::create(int seed, double startTime, double endTime, int resolution) {
    return new (std::nothrow) FinanceSimulatorImpl(seed, startTime, endTime, resolution);
}

FinanceSimulator* FinanceSimulator::create(const char* seed, double startTime, double endTime,
                                           int resolution) {
    return create(static_cast<int>(hashSeed(seed)), startTime, endTime, resolution);
}

}  // namespace plotvane

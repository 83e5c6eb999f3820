#ifndef PLOTVANE_DATA_RANDOMFILL_P_H
#define PLOTVANE_DATA_RANDOMFILL_P_H

#include <cstddef>

#include "data/isaac_p.h"

namespace plotvane {

// The generators that RanSeries and RanTable share. Each fills n values.

void fillUniform(Isaac& rng, double* out, size_t n, double minValue, double maxValue);
// Up to ten candidates until one lies within the limits; the last one tried, clamped into them.
template <class Candidate>
double withinLimits(Candidate candidate, double lowerLimit, double upperLimit) {
    double c = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        c = candidate();
        if (lowerLimit <= c && c <= upperLimit) break;
    }
    return c < lowerLimit ? lowerLimit : (c > upperLimit ? upperLimit : c);
}

// from + minDelta + (maxDelta - minDelta) * u, within the limits.
double walkStep(Isaac& rng, double from, double minDelta, double maxDelta, double lowerLimit,
                double upperLimit);
void fillWalk(Isaac& rng, double* out, size_t n, double startValue, double minDelta, double maxDelta,
              double lowerLimit, double upperLimit);
void fillGaussian(Isaac& rng, double* out, size_t n, double mean, double stdDev);
void fill2D(Isaac& rng, double* out, size_t xLen, size_t yLen, double minValue, double maxValue);
void fillDates(double* out, size_t n, double startTime, double tickInc, bool weekDayOnly);

// Calendar steps on whole seconds of chart time. Adding months keeps the day of the month where the
// target month has it, and otherwise takes the month's last day.
long long addMonths(long long t, long long months);
// 0 = Sunday.
int weekDayOf(long long t);

}  // namespace plotvane

#endif

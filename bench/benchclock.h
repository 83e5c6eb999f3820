#ifndef PLOTVANE_BENCH_BENCHCLOCK_H
#define PLOTVANE_BENCH_BENCHCLOCK_H

// Wall time and peak memory, as the chart benchmarks report them.

#include <sys/resource.h>

#include <chrono>

namespace benchclock {

using Clock = std::chrono::steady_clock;

inline double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// Peak resident memory of the process so far.
inline long peakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace benchclock

#endif

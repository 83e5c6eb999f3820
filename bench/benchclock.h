#ifndef PLOTVANE_BENCH_BENCHCLOCK_H
#define PLOTVANE_BENCH_BENCHCLOCK_H

// Wall time, CPU time and peak memory, as the chart benchmarks report them. On a busy shared
// machine the process's CPU time is the steadier figure for single-threaded work.

#include <sys/resource.h>
#include <time.h>

#include <chrono>

namespace benchclock {

using Clock = std::chrono::steady_clock;

inline double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// CPU seconds used by the process so far.
inline double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Peak resident memory of the process so far.
inline long peakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace benchclock

#endif

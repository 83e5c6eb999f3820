// Moving-window throughput: movAvg, movStdDev and movPercentile with a window of 50 over 10 million
// values, as values per second (median of five runs each). The machine is shared, so the figure is
// taken from the CPU time the run used; wall time is shown beside it.
#include <plotvane/arraymath.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace plotvane;

int main() {
    const int n = 10000000, window = 50;
    std::vector<double> values(n);
    unsigned s = 1;
    double walk = 1000;
    for (double& v : values) {
        s = s * 1664525u + 1013904223u;
        walk += ((s >> 8) / 16777216.0 - 0.5);
        v = walk;
    }
    struct Case {
        const char* name;
        std::function<void(ArrayMath*)> run;
    } cases[] = {
        {"movAvg", [](ArrayMath* m) { m->movAvg(window); }},
        {"movStdDev", [](ArrayMath* m) { m->movStdDev(window); }},
        {"movPercentile", [](ArrayMath* m) { m->movPercentile(window, 75); }},
    };
    for (const Case& c : cases) {
        std::vector<double> seconds, wall;
        for (int run = 0; run < 5; ++run) {
            ArrayMath* m = ArrayMath::create(DoubleArray(values.data(), n));
            auto start = std::chrono::steady_clock::now();
            std::clock_t cpu = std::clock();
            c.run(m);
            seconds.push_back(static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
            wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            m->destroy();
        }
        std::sort(seconds.begin(), seconds.end());
        std::sort(wall.begin(), wall.end());
        double median = seconds[2];
        std::printf("%-14s window %d, %d values: %.3f s CPU (%.3f s wall), %.1f million values/s\n", c.name,
                    window, n, median, wall[2], n / median / 1e6);
    }
    return 0;
}

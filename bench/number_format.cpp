// Number formatting as hot spots and labels use it: 200,000 values of mixed magnitudes under the
// codes "" (automatic), "2" and "2," through the general route and through the fixed-point fast
// route, in the same run. Prints CPU nanoseconds per number (medians of 7) and their ratio.
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "benchclock.h"
#include "text/formatnumber_p.h"
#include "text/formatter_p.h"

using namespace plotvane;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> u(-100000, 100000);
    std::vector<double> values(200000);
    for (size_t i = 0; i < values.size(); ++i) values[i] = i % 2 ? u(random) : static_cast<int>(u(random));
    Formatter formatter;
    size_t bytes = 0;
    for (const char* code : {"", "2", "2,"}) {
        NumberCode parsed = parseNumberCode(code, formatter, false);
        std::vector<double> general, fast;
        for (int run = 0; run < 7; ++run) {
            double start = benchclock::cpuSeconds();
            for (double v : values) bytes += renderNumber(v, parsed).size();
            general.push_back(benchclock::cpuSeconds() - start);
            char out[kMaxFixedNumber];
            start = benchclock::cpuSeconds();
            for (double v : values) bytes += renderFixedNumber(v, parsed, out);
            fast.push_back(benchclock::cpuSeconds() - start);
        }
        double g = 1e9 * median(general) / values.size(), f = 1e9 * median(fast) / values.size();
        std::printf("code \"%s\": general %.0f ns, fast %.0f ns per number (%.1fx)\n", code, g, f, g / f);
    }
    return bytes == 0;
}

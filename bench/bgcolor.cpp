// setBgColor over a 1920 x 1080 canvas against memset of a buffer of the same size.
// Prints the median time per fill of several runs and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "draw/drawbmp_p.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double medianMicros(F f, int runs, int reps) {
    std::vector<double> t;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < reps; ++i) f(i);
        t.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / reps);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

}  // namespace

int main() {
    const int w = 1920, h = 1080;
    plotvane::DrawBMP* canvas = plotvane::DrawBMP::create();
    canvas->setSize(w, h, 0x00ffffff);
    std::vector<uint32_t> buffer(static_cast<size_t>(w) * h);
    volatile uint32_t sink = 0;
    const double fill = medianMicros(
        [&](int i) {
            canvas->setBgColor(0x00102030 + i);
            sink = sink + canvas->getPixels()[i];
        },
        9, 40);
    const double set = medianMicros(
        [&](int i) {
            std::memset(buffer.data(), i & 255, buffer.size() * sizeof(uint32_t));
            sink = sink + buffer[static_cast<size_t>(i)];
        },
        9, 40);
    std::printf("setBgColor 1920x1080: %.1f us per fill (median of 9 runs of 40)\n", fill);
    std::printf("memset of the same size: %.1f us per fill\n", set);
    std::printf("ratio setBgColor / memset: %.2f\n", fill / set);
    delete canvas;
    return 0;
}

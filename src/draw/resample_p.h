#ifndef PLOTVANE_DRAW_RESAMPLE_P_H
#define PLOTVANE_DRAW_RESAMPLE_P_H

#include <cstdint>
#include <vector>

namespace plotvane {

// The fourteen resampling filters by index (0 box ... 13 Bessel); other indexes mean 1 (triangle).
double filterSupport(int filter);
double filterWeight(int filter, double x);
double besselJ1(double x);

// Resamples a sw x sh picture into dw x dh (both at least 1), filtering separably.
void resizeTo(const uint32_t* src, int sw, int sh, uint32_t* dst, int dw, int dh, int filter, double blur);

// A picture read at arbitrary points, for the warps.
class Sampler {
public:
    Sampler(const std::vector<uint32_t>& pixels, int width, int height, int filter, double blur);
    // The filtered colour at source point (x, y) (pixel centres at integers); `outside` when the
    // point lies beyond the picture.
    uint32_t at(double x, double y, uint32_t outside) const;

private:
    static constexpr int kMaxRadius = 4;
    static constexpr int kMaxTaps = 2 * kMaxRadius + 2;
    const std::vector<uint32_t>& pixels_;
    int width_, height_, filter_;
    double blur_, radius_;
};

}  // namespace plotvane

#endif

// Gradient positions for the gradient and lighting brushes (see ramp_p.h).
#include "draw/ramp_p.h"

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

// NaN reads as 0; everything is clamped before it becomes an integer.
int64_t fixed12(double v) {
    return std::isnan(v) ? 0 : std::llround(std::clamp(v, -1e12, 1e12) * 4096);
}

int64_t toCoord(double v) {
    return std::isnan(v) ? 0 : static_cast<int64_t>(std::floor(std::clamp(v, -1e9, 1e9) + 0.5));
}

}  // namespace

Ramp Ramp::linear(double x1, double y1, double x2, double y2, int length, bool periodic) {
    Ramp r;
    r.periodic_ = periodic;
    r.length_ = std::max(1, length);
    r.x0_ = toCoord(x1);
    r.y0_ = toCoord(y1);
    const double vx = x2 - x1, vy = y2 - y1, len2 = vx * vx + vy * vy;
    if (len2 > 0 && std::isfinite(len2)) {
        r.kx_ = fixed12(vx / len2 * r.length_);
        r.ky_ = fixed12(vy / len2 * r.length_);
    }
    return r;
}

Ramp Ramp::radial(int cx, int cy, int rx, int ry, int length, bool periodic) {
    Ramp r;
    r.radial_ = true;
    r.periodic_ = periodic;
    r.length_ = std::max(1, length);
    r.x0_ = cx;
    r.y0_ = cy;
    r.kx_ = fixed12(static_cast<double>(r.length_) / std::max(1, rx));
    r.ky_ = fixed12(static_cast<double>(r.length_) / std::max(1, ry));
    return r;
}

int Ramp::index(int x, int y) const {
    int64_t t;
    if (radial_) {
        const double dx = static_cast<double>(((x - x0_) * kx_) >> 12);
        const double dy = static_cast<double>(((y - y0_) * ky_) >> 12);
        t = static_cast<int64_t>(std::floor(std::sqrt(dx * dx + dy * dy) + 0.5));
        if (t < length_) return static_cast<int>(t);
        return periodic_ ? static_cast<int>(t % length_) : length_ - 1;
    }
    t = ((x - x0_) * kx_ + (y - y0_) * ky_) >> 12;
    if (periodic_) {
        t %= length_;
        return static_cast<int>(t < 0 ? t + length_ : t);
    }
    return static_cast<int>(std::clamp<int64_t>(t, 0, length_ - 1));
}

int RelativeRamp::index(int x, int y) {
    const BrushContext::Box& b = ctx_.shapeBox();
    if (!(b == box_)) {
        box_ = b;
        const double w = b.x1 - b.x0, h = b.y1 - b.y0;
        ramp_ = Ramp::linear(b.x0 + f_[0] * w, b.y0 + f_[1] * h, b.x0 + f_[2] * w, b.y0 + f_[3] * h, length_,
                             periodic_);
    }
    return ramp_.index(x, y);
}

}  // namespace plotvane

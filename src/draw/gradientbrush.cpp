// Gradient brushes: linear, relative linear, radial and angle gradients.
//
// Consumes (position, colour) stops with positions 0-256 (a precise gradient may run further);
// produces a colour table filled by linear interpolation of all four channels between consecutive
// stops, weights in 256ths, rounded with 0x80 per channel. A pixel's colour is then one table
// look-up at the position its ramp gives. Tables have 256 entries unless the stops run past 256,
// in which case one entry per position is kept (the "precise" gradients).
#include <algorithm>
#include <cmath>

#include "draw/blend_p.h"
#include "draw/brush_p.h"
#include "draw/ramp_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;

// v when it is a usable coordinate, angle or scale, else the fallback.
double finiteOr(double v, double fallback) {
    return std::isfinite(v) && std::fabs(v) < 1e9 ? v : fallback;
}

double scaleOr1(double v) {
    return v == 0 ? 1.0 : finiteOr(v, 1.0);
}

uint32_t interpolate(uint32_t a, uint32_t b, uint32_t w) {
    if (a >= kFirstCode || b >= kFirstCode) return w < 128 ? a : b;
    const uint32_t rb = (((a & 0xff00ffu) * (256 - w) + (b & 0xff00ffu) * w + 0x800080u) >> 8) & 0xff00ffu;
    const uint32_t ag =
        ((((a >> 8) & 0xff00ffu) * (256 - w) + ((b >> 8) & 0xff00ffu) * w + 0x800080u) >> 8) & 0xff00ffu;
    return canonical(rb | (ag << 8));
}

int lastPosition(const std::vector<int>& stops) {
    int last = 0;
    for (size_t i = 0; i + 1 < stops.size(); i += 2) last = std::max(last, stops[i]);
    return last;
}

int tableLength(const std::vector<int>& stops) {
    return std::clamp(lastPosition(stops), 256, 65536);
}

template <class R>
class GradientBrush final : public ColorBrush {
public:
    GradientBrush(R ramp, std::vector<uint32_t> table) : ramp_(std::move(ramp)), table_(std::move(table)) {}
    uint32_t getColor(int x, int y) override { return table_[static_cast<size_t>(ramp_.index(x, y))]; }

private:
    R ramp_;
    std::vector<uint32_t> table_;
};

class AngleGradientBrush final : public ColorBrush {
public:
    AngleGradientBrush(const double d[6], const std::vector<int>& stops)
        : cx_(finiteOr(d[0], 0)),
          cy_(finiteOr(d[1], 0)),
          sx_(scaleOr1(d[4])),
          sy_(scaleOr1(d[5])),
          table_(buildGradientTable(stops, 1000)) {
        const double a0 = finiteOr(d[2], 0), a1 = finiteOr(d[3], 0);
        start_ = std::llround(std::fmod(a0, 360.0) * 1000);
        span_ = std::llround(std::clamp(a1 - a0, -360.0, 360.0) * 1000);
        if (span_ < 0) {
            start_ += span_;
            span_ = -span_;
            std::reverse(table_.begin(), table_.end());
        }
    }
    uint32_t getColor(int x, int y) override {
        const double deg = std::atan2((x - cx_) * sx_, (cy_ - y) * sy_) * 180 / kPi;
        long long a = (static_cast<long long>(std::llround(deg * 1000)) - start_) % 360000;
        if (a < 0) a += 360000;
        if (span_ == 0 || a > span_) return a - span_ < 360000 - a ? table_.back() : table_.front();
        return table_[static_cast<size_t>(std::min<long long>(999, a * 1000 / span_))];
    }

private:
    double cx_, cy_, sx_, sy_;
    std::vector<uint32_t> table_;
    long long start_ = 0, span_ = 0;
};

}  // namespace

std::vector<uint32_t> buildGradientTable(const std::vector<int>& stops, int length) {
    length = std::max(1, length);
    std::vector<uint32_t> table(static_cast<size_t>(length), kTransparent);
    const size_t n = stops.size() / 2;
    if (n == 0) return table;
    const double span = std::max(256, lastPosition(stops));
    auto pos = [&](size_t k) { return static_cast<double>(stops[2 * k]); };
    auto col = [&](size_t k) { return static_cast<uint32_t>(stops[2 * k + 1]); };
    size_t k = 0;
    for (int i = 0; i < length; ++i) {
        const double p = length == span ? i : i * span / length;
        while (k + 1 < n && pos(k + 1) <= p) ++k;
        if (p < pos(0) || k + 1 >= n) {
            table[static_cast<size_t>(i)] = canonical(p < pos(0) ? col(0) : col(n - 1));
            continue;
        }
        const double gap = pos(k + 1) - pos(k);
        const uint32_t w = gap > 0 ? static_cast<uint32_t>((p - pos(k)) * 256 / gap) : 256;
        table[static_cast<size_t>(i)] = interpolate(col(k), col(k + 1), std::min(w, 256u));
    }
    return table;
}

BrushPtr makeLinearGradientBrush(double x1, double y1, double x2, double y2, bool periodic,
                                 const std::vector<int>& stops) {
    const int length = tableLength(stops);
    return std::make_unique<GradientBrush<Ramp>>(Ramp::linear(x1, y1, x2, y2, length, periodic),
                                                 buildGradientTable(stops, length));
}

BrushPtr makeRelativeLinearGradientBrush(BrushContext& ctx, double x1, double y1, double x2, double y2,
                                         bool periodic, const std::vector<int>& stops) {
    const int length = tableLength(stops);
    return std::make_unique<GradientBrush<RelativeRamp>>(RelativeRamp(ctx, x1, y1, x2, y2, length, periodic),
                                                         buildGradientTable(stops, length));
}

BrushPtr makeRadialGradientBrush(int cx, int cy, int rx, int ry, bool periodic,
                                 const std::vector<int>& stops) {
    const int length = tableLength(stops);
    return std::make_unique<GradientBrush<Ramp>>(Ramp::radial(cx, cy, rx, ry, length, periodic),
                                                 buildGradientTable(stops, length));
}

BrushPtr makeAngleGradientBrush(const double d[6], const std::vector<int>& stops) {
    return std::make_unique<AngleGradientBrush>(d, stops);
}

}  // namespace plotvane

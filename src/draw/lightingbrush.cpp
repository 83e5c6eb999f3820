// Lighting brushes: a base colour (itself possibly a brush) lit by a brightness profile.
//
// Consumes a lighting table of (position 0-256, brightness x 1024) pairs; produces two 256-entry
// tables, a multiplier m (1024ths) and an offset a, so that each of red, green and blue becomes
// clamp((channel * m >> 10) + a, 0, 255). Brightness f is interpolated linearly between the table's
// entries; f <= 1024 darkens (m = f, a = 0), f > 1024 moves towards white as brightness adjustment
// does: with M = (f/2 + 262144)/f, channel' = 255 - (255 - channel) * M / 256, so m = 4M and
// a = 255 - 255M/256. Transparency is kept; a fully transparent base stays as it is.
#include <algorithm>
#include <cmath>

#include "draw/blend_p.h"
#include "draw/brush_p.h"
#include "draw/ramp_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;

struct LightTables {
    int m[256];
    int a[256];
};

LightTables buildLightTables(const std::vector<int>& table) {
    LightTables t;
    const size_t n = table.size() / 2;
    for (int i = 0; i < 256; ++i) {
        double f = 1024;
        if (n > 0) {
            size_t k = 0;
            while (k + 1 < n && table[2 * (k + 1)] <= i) ++k;
            if (i < table[0] || k + 1 >= n) {
                f = i < table[0] ? table[1] : table[2 * (n - 1) + 1];
            } else {
                const double p0 = table[2 * k], p1 = table[2 * k + 2];
                const double w = p1 > p0 ? (i - p0) / (p1 - p0) : 1;
                f = table[2 * k + 1] * (1 - w) + table[2 * k + 3] * w;
            }
        }
        const int k = static_cast<int>(std::lround(std::max(0.0, f)));
        if (k <= 1024) {
            t.m[i] = k;
            t.a[i] = 0;
        } else {
            const int big = (k / 2 + 262144) / k;
            t.m[i] = big * 4;
            t.a[i] = 255 - ((255 * big) >> 8);
        }
    }
    return t;
}

template <class R>
class LightingBrush final : public ColorBrush {
public:
    LightingBrush(BrushContext& ctx, uint32_t base, R ramp, const std::vector<int>& table)
        : ctx_(ctx), base_(base), ramp_(std::move(ramp)), t_(buildLightTables(table)) {}

    uint32_t getColor(int x, int y) override {
        const uint32_t c = ctx_.colorAt(base_, x, y);
        if ((c >> 24) == 255) return c;
        const int i = ramp_.index(x, y);
        const int m = t_.m[i], a = t_.a[i];
        auto ch = [&](int shift) {
            const int v = ((static_cast<int>((c >> shift) & 255) * m) >> 10) + a;
            return static_cast<uint32_t>(std::clamp(v, 0, 255)) << shift;
        };
        return (c & 0xff000000u) | ch(16) | ch(8) | ch(0);
    }

private:
    BrushContext& ctx_;
    uint32_t base_;
    R ramp_;
    LightTables t_;
};

template <class R>
BrushPtr make(BrushContext& ctx, uint32_t base, R ramp, const std::vector<int>& table) {
    return std::make_unique<LightingBrush<R>>(ctx, base, std::move(ramp), table);
}

}  // namespace

BrushPtr makeLightingBrush(BrushContext& ctx, uint32_t base, const double d[4], bool periodic,
                           const std::vector<int>& table) {
    const double angle = d[0] * kPi / 180, scale = d[1] > 0 ? d[1] : 1.0;
    const double len = 256 * scale;
    return make(
        ctx, base,
        Ramp::linear(d[2], d[3], d[2] + len * std::cos(angle), d[3] + len * std::sin(angle), 256, periodic),
        table);
}

BrushPtr makeLinearLightingBrush(BrushContext& ctx, uint32_t base, const double d[4], bool periodic,
                                 const std::vector<int>& table) {
    return make(ctx, base, Ramp::linear(d[0], d[1], d[2], d[3], 256, periodic), table);
}

BrushPtr makeRadialLightingBrush(BrushContext& ctx, uint32_t base, int cx, int cy, int rx, int ry,
                                 const std::vector<int>& table) {
    return make(ctx, base, Ramp::radial(cx, cy, rx, ry, 256, false), table);
}

BrushPtr makeRelativeLinearLightingBrush(BrushContext& ctx, uint32_t base, const double d[4], bool periodic,
                                         const std::vector<int>& table) {
    return make(ctx, base, RelativeRamp(ctx, d[0], d[1], d[2], d[3], 256, periodic), table);
}

}  // namespace plotvane

// Pattern and transformed brushes.
//
// A pattern tiles a w x h block of colours from (startX, startY) in both directions; remainders of
// negative offsets wrap, so the tile repeats identically left of and above its start. A transformed
// brush shows its base colour at an affine image of the pixel, coefficients in 12-bit fixed point.
#include <cmath>
#include <utility>

#include "draw/blend_p.h"
#include "draw/brush_p.h"

namespace plotvane {

namespace {

long long wrap(long long v, long long n) {
    v %= n;
    return v < 0 ? v + n : v;
}

class PatternBrush final : public ColorBrush {
public:
    PatternBrush(int width, int height, int startX, int startY, std::vector<uint32_t> pixels)
        : w_(width), h_(height), sx_(startX), sy_(startY), pixels_(std::move(pixels)) {}
    uint32_t getColor(int x, int y) override {
        return pixels_[static_cast<size_t>(wrap(static_cast<long long>(y) - sy_, h_) * w_ +
                                           wrap(static_cast<long long>(x) - sx_, w_))];
    }

private:
    long long w_, h_, sx_, sy_;
    std::vector<uint32_t> pixels_;
};

class TransformedBrush final : public ColorBrush {
public:
    TransformedBrush(BrushContext& ctx, uint32_t base, const double m[6]) : ctx_(ctx), base_(base) {
        // Scales stay within 65536 and offsets within 1e9, so the products fit in 64 bits.
        for (int i = 0; i < 6; ++i) {
            const double limit = i == 2 || i == 5 ? 1e9 : 65536;
            k_[i] = std::isfinite(m[i]) ? std::llround(std::fmax(-limit, std::fmin(limit, m[i])) * 4096) : 0;
        }
    }
    uint32_t getColor(int x, int y) override {
        const long long tx = (k_[0] * x + k_[1] * y + k_[2]) >> 12,
                        ty = (k_[3] * x + k_[4] * y + k_[5]) >> 12;
        auto clampInt = [](long long v) {
            return static_cast<int>(v < -1073741823 ? -1073741823 : v > 1073741823 ? 1073741823 : v);
        };
        return ctx_.colorAt(base_, clampInt(tx), clampInt(ty));
    }

private:
    BrushContext& ctx_;
    uint32_t base_;
    long long k_[6];
};

}  // namespace

BrushPtr makePatternBrush(int width, int height, int startX, int startY, std::vector<uint32_t> pixels) {
    if (width < 1 || height < 1 || pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
        return nullptr;
    for (uint32_t& p : pixels) p = canonical(p);
    return std::make_unique<PatternBrush>(width, height, startX, startY, std::move(pixels));
}

BrushPtr makeTransformedBrush(BrushContext& ctx, uint32_t base, const double m[6]) {
    return std::make_unique<TransformedBrush>(ctx, base, m);
}

}  // namespace plotvane

// Brightness and zone brushes: the simplest colour rules.
//
// A brightness brush shows its base colour (evaluated at the pixel) darkened or lightened by a
// factor, with the same integer rule as a literal colour's brightness adjustment. A zone brush
// shows one of two colours depending on which side of a horizontal or vertical split the pixel is.
#include <cmath>

#include "draw/blend_p.h"
#include "draw/brush_p.h"

namespace plotvane {

namespace {

class BrightnessBrush final : public ColorBrush {
public:
    BrightnessBrush(BrushContext& ctx, uint32_t base, int k) : ctx_(ctx), base_(base), k_(k) {}
    uint32_t getColor(int x, int y) override {
        return rawColorAdjustBrightness(ctx_.colorAt(base_, x, y), k_);
    }

private:
    BrushContext& ctx_;
    uint32_t base_;
    int k_;
};

class ZoneBrush final : public ColorBrush {
public:
    ZoneBrush(bool horizontal, int split, uint32_t a, uint32_t b)
        : horizontal_(horizontal), split_(split), a_(a), b_(b) {}
    uint32_t getColor(int x, int y) override { return (horizontal_ ? y : x) > split_ ? a_ : b_; }

private:
    bool horizontal_;
    int split_;
    uint32_t a_, b_;
};

}  // namespace

BrushPtr makeBrightnessBrush(BrushContext& ctx, uint32_t base, double factor) {
    const double k = std::isfinite(factor) ? std::fmax(-1e6, std::fmin(1e6, factor * 1024)) : 1024;
    return std::make_unique<BrightnessBrush>(ctx, base, static_cast<int>(std::lround(k)));
}

BrushPtr makeZoneBrush(bool horizontal, int split, uint32_t colorA, uint32_t colorB) {
    return std::make_unique<ZoneBrush>(horizontal, split, colorA, colorB);
}

}  // namespace plotvane

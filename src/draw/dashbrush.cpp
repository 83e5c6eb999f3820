// Dash-line brush: shows its colour along the on-parts of a dash pattern and nothing along the
// off-parts. The pattern's four lengths are packed from the top byte down (on, off, on, off).
//
// The brush counts the pixels of the line being drawn: the line walkers ask for one colour per
// step at the centre line, so a pixel next to the previous one (|dx| < 2 and |dy| < 2) advances the
// counter and any other pixel starts a new line at 0. The counter wraps at the cycle length.
#include <cstdlib>

#include "draw/blend_p.h"
#include "draw/brush_p.h"

namespace plotvane {

namespace {

class DashLineBrush final : public ColorBrush {
public:
    DashLineBrush(uint32_t color, int pattern) : color_(color) {
        bool on = true;
        for (int shift = 24; shift >= 0; shift -= 8, on = !on)
            for (int i = (pattern >> shift) & 255; i > 0; --i) mask_.push_back(on);
    }
    uint32_t getColor(int x, int y) override {
        if (mask_.empty()) return color_;
        if (std::abs(x - lastX_) < 2 && std::abs(y - lastY_) < 2) {
            if (++counter_ >= mask_.size()) counter_ = 0;
        } else {
            counter_ = 0;
        }
        lastX_ = x;
        lastY_ = y;
        return mask_[counter_] ? color_ : kTransparent;
    }

private:
    uint32_t color_;
    std::vector<bool> mask_;
    size_t counter_ = 0;
    int lastX_ = -1000000000, lastY_ = -1000000000;
};

}  // namespace

BrushPtr makeDashLineBrush(uint32_t color, int pattern) {
    return std::make_unique<DashLineBrush>(color, pattern);
}

}  // namespace plotvane

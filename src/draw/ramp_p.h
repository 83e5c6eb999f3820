#ifndef PLOTVANE_DRAW_RAMP_P_H
#define PLOTVANE_DRAW_RAMP_P_H

// Ramps: the position of a pixel along a gradient, as an index into a table of `length` entries,
// shared by the gradient and lighting brushes. A linear ramp projects (x - x0, y - y0) on the
// gradient vector in 12-bit fixed point; a radial ramp takes the distance from the centre with the
// radii scaled to the table length. Beyond the table a periodic ramp wraps, another clamps.
// RelativeRamp re-derives a linear ramp from fractions of the box of the shape being filled.

#include <cstdint>

#include "draw/brush_p.h"

namespace plotvane {

class Ramp {
public:
    static Ramp linear(double x1, double y1, double x2, double y2, int length, bool periodic);
    static Ramp radial(int cx, int cy, int rx, int ry, int length, bool periodic);
    int index(int x, int y) const;

private:
    bool radial_ = false;
    bool periodic_ = false;
    int length_ = 256;
    int64_t x0_ = 0, y0_ = 0;
    int64_t kx_ = 0, ky_ = 0;  // 12-bit fixed point
};

class RelativeRamp {
public:
    RelativeRamp(BrushContext& ctx, double x1, double y1, double x2, double y2, int length, bool periodic)
        : ctx_(ctx), f_{x1, y1, x2, y2}, length_(length), periodic_(periodic) {}
    int index(int x, int y);

private:
    BrushContext& ctx_;
    double f_[4];
    int length_;
    bool periodic_;
    BrushContext::Box box_{0, 0, -1, -1};
    Ramp ramp_;
};

}  // namespace plotvane

#endif

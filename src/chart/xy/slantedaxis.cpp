// An axis drawn at an angle (setAngle): from its start point, the end where its scale begins, the
// line runs the axis's length in the direction given in degrees clockwise from 12 o'clock. The
// values keep their places along the axis exactly as on an upright axis; only the drawing turns.
//
// Ticks and labels stand on the side of the line that faces away from the plot area (for a left
// axis the side whose normal points left, and so on), so turning an axis never folds its labels
// into the plot. Each label hangs from its anchor by the alignment point that faces the line: a
// label right of the line hangs by its left edge, one below it by its top edge, one diagonally off
// by the nearest corner. How deep the labels reach across the line is the projection of their
// boxes on the outward normal, and the title stands beyond the deepest one at the middle of the
// line. The thickness reported for packing is how far anything drawn reaches past the axis's
// side of the plot area, measured across that side, so a slanted axis packs like an upright one.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/axis_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The alignment point of a box lying in the direction (x, y) from its anchor.
int alignmentFacing(double x, double y) {
    // Within about 22 degrees of an axis direction the box centres on it.
    const double kSlack = 0.38;
    int col = x > kSlack ? 0 : x < -kSlack ? 2 : 1;
    int row = y > kSlack ? 2 : y < -kSlack ? 0 : 1;
    return row * 3 + col + 1;
}

}  // namespace

AxisImpl::Slant AxisImpl::slant() const {
    Slant s;
    s.startX = x_ + offsetX_;
    s.startY = y_ + offsetY_;
    double r = angle_ * kPi / 180;
    s.alongX = std::sin(r);
    s.alongY = -std::cos(r);
    // Of the two normals, the one facing away from the plot area (clockwise on a tie).
    s.sideX = alignment_ == Chart::Left ? -1 : alignment_ == Chart::Right ? 1 : 0;
    s.sideY = alignment_ == Chart::Top ? -1 : alignment_ == Chart::Bottom ? 1 : 0;
    s.outX = -s.alongY;
    s.outY = s.alongX;
    if (s.outX * s.sideX + s.outY * s.sideY < -1e-9) {
        s.outX = -s.outX;
        s.outY = -s.outY;
    }
    return s;
}

int AxisImpl::placeSlanted() {
    buildLabels();
    Slant s = slant();
    double base = s.startX * s.sideX + s.startY * s.sideY;
    // How far a point lies beyond the axis's side of the plot area.
    double reach = 0;
    auto extend = [&](double x, double y) { reach = std::max(reach, x * s.sideX + y * s.sideY - base); };
    // A box counts its far pixel whole, as an upright axis counts its labels' full size.
    auto extendBox = [&](TextBox& box) {
        int l = box.getLeftX(), t = box.getTopY(), r = l + box.getWidth(), b = t + box.getHeight();
        for (int x : {l - 1, r})
            for (int y : {t - 1, b}) extend(x, y);
    };
    extend(s.startX + length_ * s.alongX, s.startY + length_ * s.alongY);
    int ticks = tickReach();
    extend(s.startX + ticks * s.outX, s.startY + ticks * s.outY);
    extend(s.startX + length_ * s.alongX + ticks * s.outX, s.startY + length_ * s.alongY + ticks * s.outY);

    int align = alignmentFacing(s.outX, s.outY);
    double gap = ticks + labelGap_;
    int depth = 0;
    for (Label& l : labels_) {
        double c = scale_.coorOf(l.value);
        if (c == Chart::NoValue) continue;
        c += labelOffset_;
        l.box->setPos(roundPixel(s.startX + c * s.alongX + gap * s.outX),
                      roundPixel(s.startY + c * s.alongY + gap * s.outY));
        l.box->setAlignment(align);
        extendBox(*l.box);
        double across = std::fabs(l.box->getWidth() * s.outX) + std::fabs(l.box->getHeight() * s.outY);
        depth = std::max(depth, static_cast<int>(std::ceil(across - 1e-6)));
    }
    if (!title_.text().empty()) {
        turnTitle(scale_.isVertical());
        double away = gap + depth + titleGap_;
        double half = length_ / 2.0;
        title_.setPos(roundPixel(s.startX + half * s.alongX + away * s.outX),
                      roundPixel(s.startY + half * s.alongY + away * s.outY));
        title_.setAlignment(align);
        extendBox(title_);
    }
    return static_cast<int>(std::ceil(reach - 1e-6));
}

void AxisImpl::paintSlanted(DrawArea* d) {
    placeSlanted();
    Slant s = slant();
    if (lineWidth_ > 0 && axisColor_ != Chart::Transparent)
        d->line(s.startX, s.startY, s.startX + length_ * s.alongX, s.startY + length_ * s.alongY, axisColor_,
                lineWidth_);
    for (const AxisTick& t : scale_.getTicks()) {
        int len, width, color;
        double c = scale_.coorOf(t.value);
        if (!tickStyle(t, len, width, color) || c == Chart::NoValue) continue;
        double x = s.startX + (c + tickOffset_) * s.alongX, y = s.startY + (c + tickOffset_) * s.alongY;
        d->line(roundPixel(x), roundPixel(y), roundPixel(x + len * s.outX), roundPixel(y + len * s.outY), color,
                width);
    }
    for (Label& l : labels_)
        if (l.box->isVisible()) l.box->paint(d);
    if (!title_.text().empty()) title_.paint(d);
}

}  // namespace plotvane

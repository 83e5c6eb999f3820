// Straight and elliptic edges: crossings for the fillers, outlines drawn after the fill.
#include "draw/edges_p.h"

#include <algorithm>
#include <cmath>

#include "draw/aaline_p.h"
#include "draw/canvas_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;

double snapNear(double v) {
    const double r = std::floor(v + 0.5);
    return std::fabs(v - r) <= 0.001 ? r : v;
}

void extend(BrushContext::Box& box, double x, double y) {
    box.x0 = std::min(box.x0, x);
    box.x1 = std::max(box.x1, x);
    box.y0 = std::min(box.y0, y);
    box.y1 = std::max(box.y1, y);
}

}  // namespace

AALineEdge::AALineEdge(double x1, double y1, double x2, double y2, uint32_t color, bool exact) {
    if (!exact) {
        x1 = snapNear(x1);
        y1 = snapNear(y1);
        x2 = snapNear(x2);
        y2 = snapNear(y2);
    }
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    color_ = color;
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    minY_ = y1;
    maxY_ = y2;
    // Halved differences keep huge coordinates from overflowing.
    if (y2 > y1) slope_ = (x2 * 0.5 - x1 * 0.5) / (y2 * 0.5 - y1 * 0.5);
}

double AALineEdge::getX(double y) const {
    const double x0 = y1_ <= y2_ ? x1_ : x2_;
    const double x = x0 + slope_ * (y - minY_);
    return std::isnan(x) ? x0 : x;
}

void AALineEdge::draw(Canvas& canvas) const {
    drawLine(canvas, x1_, y1_, x2_, y2_, color_, 1);
}

void AALineEdge::extendBox(BrushContext::Box& box) const {
    extend(box, x1_, y1_);
    extend(box, x2_, y2_);
}

AAEllipseEdge::AAEllipseEdge(double cx, double cy, double rx, double ry, double a0, double a1, double minY,
                             double maxY, uint32_t color, bool drawn, double drawFrom, double drawTo)
    : cx_(cx), cy_(cy), rx_(rx), ry_(ry), drawn_(drawn), drawFrom_(drawFrom), drawTo_(drawTo) {
    color_ = color;
    minY_ = std::min(minY, maxY);
    maxY_ = std::max(minY, maxY);
    double mid = std::fmod((a0 + a1) / 2, 360.0);
    if (mid < 0) mid += 360;
    side_ = mid < 180 ? 1.0 : -1.0;
}

double AAEllipseEdge::getX(double y) const {
    if (ry_ <= 0) return cx_;
    const double c = std::clamp((cy_ - y) / ry_, -1.0, 1.0);
    return cx_ + side_ * rx_ * std::sqrt(1 - c * c);
}

void AAEllipseEdge::draw(Canvas& canvas) const {
    if (drawn_) drawArcOutline(canvas, cx_, cy_, rx_, ry_, drawFrom_, drawTo_, color_);
}

void AAEllipseEdge::extendBox(BrushContext::Box& box) const {
    extend(box, getX(minY_), minY_);
    extend(box, getX(maxY_), maxY_);
    const double mid = std::clamp(cy_, minY_, maxY_);
    extend(box, getX(mid), mid);
}

void drawArcOutline(Canvas& canvas, double cx, double cy, double rx, double ry, double from, double to,
                    uint32_t color) {
    if (color == kTransparent || !(std::isfinite(from) && std::isfinite(to))) return;
    const double span = std::min(std::fabs(to - from), 360.0);
    const double r = std::min(std::max(std::fabs(rx), std::fabs(ry)), 1e5);
    const int steps = std::clamp(static_cast<int>(span / 360 * 2 * kPi * r / 2) + 1, 2, 4000);
    const double step = (to >= from ? 1 : -1) * span / steps * kPi / 180;
    // The unit vector turned by `step` each time, rather than a sine and cosine per point.
    const double turnS = std::sin(step), turnC = std::cos(step);
    double s = std::sin(from * kPi / 180), c = std::cos(from * kPi / 180);
    double px = cx + rx * s, py = cy - ry * c;
    for (int i = 1; i <= steps; ++i) {
        const double ns = s * turnC + c * turnS, nc = c * turnC - s * turnS;
        s = ns;
        c = nc;
        const double x = cx + rx * s, y = cy - ry * c;
        drawLine(canvas, px, py, x, y, color, 1, i > 1);
        px = x;
        py = y;
    }
}

void AAShape::addLine(double x1, double y1, double x2, double y2, uint32_t color, bool exact) {
    if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))) return;
    edges_.push_back(std::make_unique<AALineEdge>(x1, y1, x2, y2, color, exact));
}

}  // namespace plotvane

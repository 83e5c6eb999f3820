// Line walkers: iLine (integer end points, no shading) and aaLine (sub-pixel end points, shaded
// outer pixels), both one template over the anti-alias flag.
//
// Consumes a segment in canvas coordinates and a colour (literal or brush id); produces blended
// pixels. The segment is first cut, in doubles, to the clip rectangle widened by the line width,
// so a line a million pixels long, or one with coordinates of 1e308, costs only the pixels it
// touches. Differences are taken on halved coordinates, so huge values cannot overflow, and the
// minor coordinate is measured from a point inside the clip, so 1e308 end points keep the precision
// the visible part needs.
//
// The walk runs along the major axis one pixel per step. At each step the colour is evaluated once
// at the centre-line pixel (so a dash brush counts centre pixels), then a run of `width` pixels is
// painted across the line: (width - 1) / 2 on one side, the rest on the other, the sides swapping
// with the line's direction. The anti-aliased walker also shades the pixel just outside each end
// of the run by its distance d to the ideal line, (1 +- f) * cos(phi) where f is the fraction of
// the centre and phi the line's angle to its major axis, quantised to sixteenths: intensity
// 1 - round(16 d) / 16, nothing from d = 15.5/16 on.
#include "draw/aaline_p.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "draw/canvas_p.h"

namespace plotvane {

namespace {

constexpr double kMaxCoord = 1073741823.0;

struct Walk {
    double u1, v1, u2, v2;  // u along the major axis, u1 <= u2
    bool xMajor;
    bool reversed;  // the caller's first point is (u2, v2)
};

// A stroke parallel to its major axis: `length` words `step` apart from `start`, repeated across at
// `across` words per unit of v; v is painted within [vMin, vMax], kLow below the centre and kHigh
// above it.
struct StraightRun {
    uint32_t* start;
    std::ptrdiff_t step;
    int length;
    std::ptrdiff_t across;
    int vMin, vMax, kLow, kHigh;
};

// Such a line paints the same pixels across at every step, so the walk turns into one run per row
// (or column) of the stroke; v is the centre, already checked to be near the clip.
template <bool AA>
void walkStraight(Canvas& cv, const StraightRun& r, uint32_t color, double v, double cosPhi) {
    if ((color >> 24) == 255) return;
    const double fv = std::floor(v + 0.5);
    const int vc = static_cast<int>(fv);
    const int v0 = std::max(r.vMin, vc - r.kLow), v1 = std::min(r.vMax, vc + r.kHigh);
    for (int k = v0; k <= v1; ++k) cv.blendRun(r.start + k * r.across, r.step, r.length, color);
    if (AA) {
        const double f = v - fv;
        const int lo = vc - r.kLow - 1, hi = vc + r.kHigh + 1;
        const int iLo = static_cast<int>((1 + f) * cosPhi * 16 + 0.5);
        const int iHi = static_cast<int>((1 - f) * cosPhi * 16 + 0.5);
        if (iLo < 16 && lo >= r.vMin && lo <= r.vMax)
            cv.blendRun(r.start + lo * r.across, r.step, r.length, withCoverage(color, 16 - iLo));
        if (iHi < 16 && hi >= r.vMin && hi <= r.vMax)
            cv.blendRun(r.start + hi * r.across, r.step, r.length, withCoverage(color, 16 - iHi));
    }
}

// A literal colour, its source terms taken once per line for the run across; the shaded outer
// pixels blend their own fraction of it.
class LiteralPen {
public:
    explicit LiteralPen(uint32_t color) : full_(color) {}
    bool at(int, int) { return true; }
    void paint(Canvas& cv, uint32_t& word) {
        if (SuperPixelPool::isReference(word))
            cv.superPixels.blendOver(word, full_.color());
        else
            word = full_.over(word);
    }
    void shade(Canvas& cv, uint32_t& word, int i) { cv.blendInto(word, withCoverage(full_.color(), 16 - i)); }

private:
    BlendSource full_;
};

// A brush, evaluated once per step at the centre-line pixel.
class BrushPen {
public:
    BrushPen(Canvas& cv, uint32_t brush, bool xMajor) : cv_(cv), brush_(brush), xMajor_(xMajor) {}
    // False when the step paints nothing.
    bool at(int u, int vc) {
        color_ = cv_.colorAt(brush_, xMajor_ ? u : vc, xMajor_ ? vc : u);
        return (color_ >> 24) != 255;
    }
    void paint(Canvas& cv, uint32_t& word) { cv.blendInto(word, color_); }
    void shade(Canvas& cv, uint32_t& word, int i) { cv.blendInto(word, withCoverage(color_, 16 - i)); }

private:
    Canvas& cv_;
    uint32_t brush_, color_ = kTransparent;
    bool xMajor_;
};

// The step walk: at each u the centre v, the run across it, and the two shaded outer pixels.
template <bool AA, class Pen>
void walkSteps(Canvas& cv, Pen& pen, double vRef, double slope, double uLo, int uStart, int uEnd, std::ptrdiff_t su,
               std::ptrdiff_t sv, double vA, double vB, int vMin, int vMax, int kLow, int kHigh, double cosPhi) {
    uint32_t* px = cv.pixels();
    for (int u = uStart; u <= uEnd; ++u) {
        const double v = vRef + slope * (u - uLo);
        if (!(v >= vA && v <= vB)) continue;
        const int vc = floorToInt(v + 0.5);
        const double fv = vc;
        if (!pen.at(u, vc)) continue;
        uint32_t* row = px + u * su;
        const int r0 = std::max(vMin, vc - kLow), r1 = std::min(vMax, vc + kHigh);
        for (int r = r0; r <= r1; ++r) pen.paint(cv, row[r * sv]);
        if (AA) {
            const double f = v - fv;
            const int lo = vc - kLow - 1, hi = vc + kHigh + 1;
            const int iLo = static_cast<int>((1 + f) * cosPhi * 16 + 0.5);
            const int iHi = static_cast<int>((1 - f) * cosPhi * 16 + 0.5);
            if (iLo < 16 && lo >= vMin && lo <= vMax) pen.shade(cv, row[lo * sv], iLo);
            if (iHi < 16 && hi >= vMin && hi <= vMax) pen.shade(cv, row[hi * sv], iHi);
        }
    }
}

template <bool AA>
void walkLine(Canvas& cv, const Walk& w, uint32_t color, int width, bool skipFirst) {
    const ClipRect& c = cv.clip;
    const int uMin = w.xMajor ? c.left : c.top, uMax = w.xMajor ? c.right : c.bottom;
    const int vMin = w.xMajor ? c.top : c.left, vMax = w.xMajor ? c.bottom : c.right;
    if (uMin > uMax || vMin > vMax) return;
    // Cut the major range to the clip rectangle, then to where the line is within `margin` of
    // it across; every product below stays finite for finite input.
    const double margin = width + 2.0, vA = vMin - margin, vB = vMax + margin;
    const double du = w.u2 * 0.5 - w.u1 * 0.5, dv = w.v2 * 0.5 - w.v1 * 0.5;
    const double slope = du > 0 ? dv / du : 0.0;
    double uLo = std::max(w.u1, uMin - 1.0), uHi = std::min(w.u2, uMax + 1.0);
    const bool inside =
        w.u1 >= uMin - 1.0 && w.u2 <= uMax + 1.0 && w.v1 >= vA && w.v1 <= vB && w.v2 >= vA && w.v2 <= vB;
    if (inside) {
        // The common case: nothing to cut.
    } else if (slope != 0) {
        double ua = w.u1 + 2 * ((vA * 0.5 - w.v1 * 0.5) / slope),
               ub = w.u1 + 2 * ((vB * 0.5 - w.v1 * 0.5) / slope);
        if (ua > ub) std::swap(ua, ub);
        uLo = std::max(uLo, ua - 1);
        uHi = std::min(uHi, ub + 1);
    } else if (w.v1 < vA || w.v1 > vB) {
        return;
    }
    if (!(uLo <= uHi)) return;
    const double vRef = inside ? w.v1 : w.v1 + 2 * (slope * (uLo * 0.5 - w.u1 * 0.5));
    int uStart = std::max(uMin, static_cast<int>(std::floor(uLo + 0.5)));
    int uEnd = std::min(uMax, static_cast<int>(std::floor(uHi + 0.5)));
    if (skipFirst) {
        if (!w.reversed && uLo == w.u1 && std::floor(uLo + 0.5) == uStart) ++uStart;
        if (w.reversed && uHi == w.u2 && std::floor(uHi + 0.5) == uEnd) --uEnd;
    }
    if (uStart > uEnd) return;

    const double cosPhi = du > 0 ? du / std::sqrt(du * du + dv * dv) : 1.0;
    const int kA = (width - 1) / 2, kB = width - 1 - kA;
    const int kLow = w.reversed ? kB : kA, kHigh = w.reversed ? kA : kB;

    uint32_t* px = cv.pixels();
    const std::ptrdiff_t W = cv.width();
    const std::ptrdiff_t su = w.xMajor ? 1 : W, sv = w.xMajor ? W : 1;
    const bool brush = Canvas::isCode(color);
    if (slope == 0 && !brush) {
        if (vRef >= vA && vRef <= vB)
            walkStraight<AA>(cv, StraightRun{px + uStart * su, su, uEnd - uStart + 1, sv, vMin, vMax, kLow, kHigh},
                             color, vRef, cosPhi);
        return;
    }

    if (brush) {
        BrushPen pen{cv, color, w.xMajor};
        walkSteps<AA>(cv, pen, vRef, slope, uLo, uStart, uEnd, su, sv, vA, vB, vMin, vMax, kLow, kHigh, cosPhi);
    } else if ((color >> 24) != 255) {
        LiteralPen pen{color};
        walkSteps<AA>(cv, pen, vRef, slope, uLo, uStart, uEnd, su, sv, vA, vB, vMin, vMax, kLow, kHigh, cosPhi);
    }
}

// A horizontal or vertical line between whole pixels in a literal colour: the walk would paint the
// rectangle of its run and width and nothing else, so that rectangle is painted at once, with the
// walk's clipping and its first-step rule. Charts draw such lines by the thousand (grid lines,
// whiskers, box edges), and the walk's set-up costs more than their pixels.
bool drawWholeStraight(Canvas& cv, double x1, double y1, double x2, double y2, uint32_t color, int width,
                       bool skipFirst) {
    if (Canvas::isCode(color) || (x1 != x2 && y1 != y2) || !isWhole(x1) || !isWhole(y1) || !isWhole(x2) ||
        !isWhole(y2))
        return false;
    const bool xMajor = y1 == y2;
    double u1 = xMajor ? x1 : y1, u2 = xMajor ? x2 : y2;
    const double v = xMajor ? y1 : x1;
    const bool reversed = u1 > u2;
    if (reversed) std::swap(u1, u2);
    const ClipRect& c = cv.clip;
    const int uMin = xMajor ? c.left : c.top, uMax = xMajor ? c.right : c.bottom;
    const int vMin = xMajor ? c.top : c.left, vMax = xMajor ? c.bottom : c.right;
    if (uMin > uMax || vMin > vMax || (color >> 24) == 255) return true;
    const double margin = width + 2.0;
    if (v < vMin - margin || v > vMax + margin) return true;
    // The run inside the clip; the walk skips its first step only where that lies inside too.
    double uStart = std::max<double>(uMin, u1), uEnd = std::min<double>(uMax, u2);
    if (skipFirst && !reversed && uStart == u1) ++uStart;
    if (skipFirst && reversed && uEnd == u2) --uEnd;
    if (uStart > uEnd) return true;
    const int kA = (width - 1) / 2, kB = width - 1 - kA;
    const int vc = static_cast<int>(v), kLow = reversed ? kB : kA, kHigh = reversed ? kA : kB;
    const std::ptrdiff_t W = cv.width(), su = xMajor ? 1 : W, sv = xMajor ? W : 1;
    uint32_t* start = cv.pixels() + static_cast<std::ptrdiff_t>(uStart) * su;
    const int length = static_cast<int>(uEnd - uStart) + 1;
    for (int k = std::max(vMin, vc - kLow); k <= std::min(vMax, vc + kHigh); ++k)
        cv.blendRun(start + k * sv, su, length, color);
    return true;
}

double roundCoord(double v) {
    return std::clamp(std::floor(v + 0.5), -kMaxCoord, kMaxCoord);
}

}  // namespace

void drawLine(Canvas& cv, double x1, double y1, double x2, double y2, uint32_t color, int width,
              bool skipFirst) {
    if (color == kTransparent || width <= 0) return;
    if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))) return;
    width = std::min(width, std::max(cv.width(), cv.height()));
    const double xm = cv.width() - 1, ym = cv.height() - 1;
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 > xm && x2 > xm) || (y1 > ym && y2 > ym)) return;
    if (drawWholeStraight(cv, x1, y1, x2, y2, color, width, skipFirst)) return;

    const bool exactDiagonal = std::fabs(x2 * 0.5 - x1 * 0.5) == std::fabs(y2 * 0.5 - y1 * 0.5) &&
                               x1 == std::floor(x1) && y1 == std::floor(y1);
    const bool aa = cv.antiAlias() && !exactDiagonal;
    if (!aa) {
        x1 = roundCoord(x1);
        y1 = roundCoord(y1);
        x2 = roundCoord(x2);
        y2 = roundCoord(y2);
    }
    const double adx = std::fabs(x2 * 0.5 - x1 * 0.5), ady = std::fabs(y2 * 0.5 - y1 * 0.5);
    const bool xMajor = adx >= ady;
    Walk w{xMajor ? x1 : y1, xMajor ? y1 : x1, xMajor ? x2 : y2, xMajor ? y2 : x2, xMajor, false};
    if (w.u1 > w.u2) {
        std::swap(w.u1, w.u2);
        std::swap(w.v1, w.v2);
        w.reversed = true;
    }
    if (aa)
        walkLine<true>(cv, w, color, width, skipFirst);
    else
        walkLine<false>(cv, w, color, width, skipFirst);
}

}  // namespace plotvane

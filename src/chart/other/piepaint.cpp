// Painting a pie: top faces with their shading, and in 3D the walls and cut faces.
//
// A 3D pie is a slab: each sector's top face, its bottom face moved by (dx, dy) along the depth
// direction, the outer wall (and the hole's wall) between them, and the two radial cut faces. Only
// what can face the viewer is made: the outer wall within a quarter turn of the depth direction,
// the hole's wall within a quarter turn of its opposite, a cut face when its outward side turns
// towards the depth direction (or when the colour lets what lies behind show through). Every
// piece gets a depth key, the smallest angular distance between its angles and the depth direction
// (0 is nearest the viewer), and pieces are painted farthest first; at equal keys cut faces go
// first, then walls, then tops, since a top always lies over the walls and faces that meet it.
// Because keys are measured from the depth direction rather than from screen positions, the order
// holds at every start angle and with sectors exploded away from each other.
//
// Shading of a top face is a gradient or band pattern drawn with the sector's own colour; walls are
// lit across like a polished rim (brightest a little left of the front) unless flat shading asks
// for plain half-brightness walls.
#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/other/piechart_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 2 * kPi;

double degrees(double a) { return a * 180 / kPi; }

// Angular distance in [0, pi].
double angleDistance(double a, double b) {
    double d = std::fmod(std::fabs(a - b), kTwoPi);
    return d > kPi ? kTwoPi - d : d;
}

// Smallest distance from dir over [a1, a2].
double rangeDistance(double a1, double a2, double dir) {
    double k = std::ceil((a1 - dir) / kTwoPi);
    if (dir + k * kTwoPi <= a2) return 0;
    return std::min(angleDistance(a1, dir), angleDistance(a2, dir));
}

// The parts of [a1, a2] within a quarter turn of `towards`.
std::vector<std::pair<double, double>> facing(double a1, double a2, double towards) {
    std::vector<std::pair<double, double>> parts;
    for (int k = -2; k <= 2; ++k) {
        const double lo = std::max(a1, towards - kPi / 2 + k * kTwoPi), hi = std::min(a2, towards + kPi / 2 + k * kTwoPi);
        if (hi - lo > 1e-9) parts.emplace_back(lo, hi);
    }
    return parts;
}

struct Surface {
    enum Kind { Face = 0, Wall = 1, Top = 2 };
    Kind kind;
    double key;
    SectorImpl* s;
    double a1, a2;
    bool inner;  // Wall: the hole's wall; Face: the cut at a1 (a2 unused)
};

int edgeOf(const SectorImpl& s) { return s.edgeWidth_ > 0 ? s.edgeColor_ : Chart::SameAsMainColor; }

// Gradient stops (t in [0, 1] across the face's band from hole to rim, brightness) for a top face.
IntArray radialStops(DrawArea* d, int color, double hole, const std::vector<std::pair<double, double>>& stops,
                     std::vector<int>& out) {
    out.clear();
    for (auto& st : stops) {
        out.push_back(static_cast<int>(std::lround(256 * (hole + (1 - hole) * st.first))));
        out.push_back(d->adjustBrightness(color, st.second));
    }
    return IntArray(out.data(), static_cast<int>(out.size()));
}

int topFill(DrawArea* d, const SectorImpl& s, int cx, int cy) {
    const SectorGeometry& g = s.g_;
    const int c = d->getARGBColor(s.color_);
    const double hole = g.rx > 0 ? double(g.irx) / g.rx : 0;
    std::vector<int> buf;
    switch (s.shading_) {
        case Chart::LocalGradientShading: {
            const int ex = cx + static_cast<int>(std::lround(g.rx * std::sin(g.mid())));
            const int ey = cy - static_cast<int>(std::lround(g.ry * std::cos(g.mid())));
            return d->linearGradientColor(cx, cy, ex, ey, d->adjustBrightness(c, 1.45), c);
        }
        case Chart::GlobalGradientShading:
            return d->linearGradientColor(cx - g.rx, cy - g.ry, cx + g.rx, cy + g.ry, d->adjustBrightness(c, 1.5),
                                          d->adjustBrightness(c, 0.8));
        case Chart::ConcaveShading:
            return d->radialGradientColor(cx, cy, g.rx, g.ry, radialStops(d, c, hole, {{0, 0.7}, {1, 1.35}}, buf));
        case Chart::RoundedEdgeNoGlareShading:
            return d->radialGradientColor(
                cx, cy, g.rx, g.ry, radialStops(d, c, hole, {{0, hole > 0 ? 0.65 : 1}, {0.25, 1}, {0.7, 1}, {1, 0.6}}, buf));
        case Chart::RoundedEdgeShading:
            return d->radialGradientColor(
                cx, cy, g.rx, g.ry,
                radialStops(d, c, hole, {{0, hole > 0 ? 0.65 : 1}, {0.25, 1}, {0.72, 1}, {0.84, 1.7}, {1, 0.65}}, buf));
        case Chart::RadialShading:
            return d->radialGradientColor(cx, cy, g.rx, g.ry, radialStops(d, c, hole, {{0, 1.5}, {1, 0.8}}, buf));
        case Chart::RingShading:
            return d->radialGradientColor(cx, cy, g.rx, g.ry,
                                          radialStops(d, c, hole, {{0, 0.8}, {0.5, 1.4}, {1, 0.8}}, buf));
        default:
            return c;
    }
}

// Lit across the pie's width: a table of brightness along x, brightest left of centre.
int wallFill(DrawArea* d, const SectorImpl& s) {
    const int c = d->getARGBColor(s.color_);
    if (s.shading_ == Chart::FlatShading || s.shading_ == Chart::RoundedEdgeNoGlareShading ||
        s.shading_ == Chart::RingShading)
        return d->halfColor(c);
    const SectorGeometry& g = s.g_;
    std::vector<int> stops = {0,   d->adjustBrightness(c, 0.45), 90,  d->adjustBrightness(c, 0.85),
                              110, d->adjustBrightness(c, 0.9),  256, d->adjustBrightness(c, 0.4)};
    return d->linearGradientColor(g.cx - g.rx, 0, g.cx + g.rx, 0, IntArray(stops.data(), 8));
}

// Appends the elliptic arc from a1 to a2 (either way round), a point every few pixels.
void arcPoints(const SectorGeometry& g, int rx, int ry, double a1, double a2, std::vector<double>& pts) {
    const int steps = static_cast<int>(std::clamp(std::ceil(std::fabs(a2 - a1) * std::max(rx, ry) / 3), 1.0, 2000.0));
    for (int k = 0; k <= steps; ++k) {
        const double a = a1 + (a2 - a1) * k / steps;
        pts.push_back(g.cx + rx * std::sin(a));
        pts.push_back(g.cy - ry * std::cos(a));
    }
}

// An open polyline, or a closed one through its first point again.
void strokePolyline(DrawArea* d, const std::vector<double>& pts, bool closed, int color, int width) {
    d->initLineTo();
    const size_t n = pts.size(), end = closed ? n : n - 2;
    for (size_t k = 0; k + 1 < end; k += 2)
        d->lineTo(pts[k], pts[k + 1], pts[(k + 2) % n], pts[(k + 3) % n], color, width);
    d->initLineTo();
}

// The filler's own edges are one pixel wide; a wider edge is stroked along the outline once every
// face is down, so the neighbour painted next does not cover the half that reaches into it. Radial
// edges always run outwards, so the two sectors that share one put the same pixels under it.
void strokeTop(DrawArea* d, const SectorImpl& s, double a1, double a2, bool whole) {
    const SectorGeometry& g = s.g_;
    const int width = std::min(s.edgeWidth_, std::max(g.rx, g.ry) + 1), color = edgeOf(s);
    const bool hole = g.irx > 0 && g.iry > 0;
    std::vector<double> pts;
    if (whole) {
        arcPoints(g, g.rx, g.ry, 0, kTwoPi, pts);
        pts.resize(pts.size() - 2);
        strokePolyline(d, pts, true, color, width);
        if (!hole) return;
        pts.clear();
        arcPoints(g, g.irx, g.iry, 0, kTwoPi, pts);
        pts.resize(pts.size() - 2);
        strokePolyline(d, pts, true, color, width);
        return;
    }
    arcPoints(g, g.rx, g.ry, a1, a2, pts);
    strokePolyline(d, pts, false, color, width);
    if (hole) {
        pts.clear();
        arcPoints(g, g.irx, g.iry, a1, a2, pts);
        strokePolyline(d, pts, false, color, width);
    }
    for (double a : {a1, a2}) {
        const double sn = std::sin(a), cs = std::cos(a);
        d->line(g.cx + g.irx * sn, g.cy - g.iry * cs, g.cx + g.rx * sn, g.cy - g.ry * cs, color, width);
    }
}

void paintTop(DrawArea* d, const SectorImpl& s, double a1, double a2, bool whole) {
    const SectorGeometry& g = s.g_;
    // A wide edge is stroked later; its one-pixel line would stick out beside an even width.
    const int fill = topFill(d, s, g.cx, g.cy), edge = s.edgeWidth_ > 1 ? Chart::Transparent : edgeOf(s);
    if (whole)
        d->ring(g.cx, g.cy, g.rx, g.ry, g.irx, g.iry, edge, fill);
    else
        d->ringSector(g.cx, g.cy, g.rx, g.ry, g.irx, g.iry, degrees(a1), degrees(a2), edge, fill);
}

void paintWall(DrawArea* d, const SectorImpl& s, double a1, double a2, bool inner) {
    const SectorGeometry& g = s.g_;
    const int rx = inner ? g.irx : g.rx, ry = inner ? g.iry : g.ry;
    d->cylinder(g.cx, g.cy, rx, ry, degrees(a1), degrees(a2), g.dx, g.dy, d->halfColor(edgeOf(s)),
                inner ? d->halfColor(s.color_) : wallFill(d, s));
}

void paintFace(DrawArea* d, const SectorImpl& s, double a) {
    const SectorGeometry& g = s.g_;
    const double sn = std::sin(a), cs = std::cos(a);
    const int x1 = g.cx + static_cast<int>(std::lround(g.irx * sn)), y1 = g.cy - static_cast<int>(std::lround(g.iry * cs));
    const int x2 = g.cx + static_cast<int>(std::lround(g.rx * sn)), y2 = g.cy - static_cast<int>(std::lround(g.ry * cs));
    d->surface(x1, y1, x2, y2, g.dx, g.dy, d->halfColor(edgeOf(s)), d->halfColor(s.color_));
}

}  // namespace

void PieChartImpl::paintSectors(DrawArea* d) {
    std::vector<Surface> surfaces;
    int shown = 0;
    for (auto& s : sectors_) shown += s->hasValue() && s->g_.end > s->g_.start;
    const double dir = depthDirection();
    for (auto& sp : sectors_) {
        SectorImpl& s = *sp;
        const SectorGeometry& g = s.g_;
        if (!s.hasValue() || g.end <= g.start) continue;
        const bool whole = shown == 1;
        const double a1 = whole ? 0 : g.start, a2 = whole ? kTwoPi : g.end;
        surfaces.push_back({Surface::Top, rangeDistance(a1, a2, dir), &s, a1, a2, whole});
        if (g.dx == 0 && g.dy == 0) continue;
        for (auto& p : facing(a1, a2, dir))
            surfaces.push_back({Surface::Wall, rangeDistance(p.first, p.second, dir), &s, p.first, p.second, false});
        if (g.irx > 0 && g.iry > 0)
            for (auto& p : facing(a1, a2, dir + kPi))
                surfaces.push_back({Surface::Wall, rangeDistance(p.first, p.second, dir), &s, p.first, p.second, true});
        if (whole) continue;
        const bool seeThrough = !d->isOpaque(s.color_);
        if (std::fmod(g.start - dir + 2 * kTwoPi, kTwoPi) < kPi || seeThrough)
            surfaces.push_back({Surface::Face, angleDistance(g.start, dir), &s, g.start, g.start, false});
        if (std::fmod(g.end - dir - kPi + 2 * kTwoPi, kTwoPi) < kPi || seeThrough)
            surfaces.push_back({Surface::Face, angleDistance(g.end, dir), &s, g.end, g.end, false});
    }
    std::stable_sort(surfaces.begin(), surfaces.end(), [](const Surface& a, const Surface& b) {
        if (std::fabs(a.key - b.key) >= 1e-10) return a.key > b.key;
        return a.kind < b.kind;
    });
    for (const Surface& f : surfaces) {
        int c = f.s->color_;
        d->setColorTable(&c, 1, Chart::SameAsMainColor & 0xffff);
        switch (f.kind) {
            case Surface::Top: paintTop(d, *f.s, f.a1, f.a2, f.inner); break;
            case Surface::Wall: paintWall(d, *f.s, f.a1, f.a2, f.inner); break;
            case Surface::Face: paintFace(d, *f.s, f.a1); break;
        }
    }
    for (const Surface& f : surfaces) {
        if (f.kind != Surface::Top || f.s->edgeWidth_ <= 1) continue;
        int c = f.s->color_;
        d->setColorTable(&c, 1, Chart::SameAsMainColor & 0xffff);
        strokeTop(d, *f.s, f.a1, f.a2, f.inner);
    }
}

}  // namespace plotvane

// Scanline fillers for AAShape.
//
// Consumes y-monotonic edges and a colour; produces the even-odd interior. Pixel x covers
// [x, x + 1) and row y is sampled at y, so a rectangle from y = 2 to y = 5 fills rows 2, 3 and 4
// and its bottom row comes only from the edge line drawn afterwards. Each row collects the crossing
// x of every edge with minY <= y < maxY (a horizontal edge spans no row), snaps crossings within
// 0.001 of an integer onto it, sorts them and fills pairs. Along a row the interior is solid and the
// two end pixels get their covered fraction in sixteenths: that, with the anti-aliased edge lines,
// is all the smoothing a chart's shapes need, at the cost of one sample per row.
//
// aaEdgeFill visits every edge on every row and is the reference. aaEdgeFill2, used above 20
// edges, walks edges sorted by minY with an active list; it must give exactly the same crossings.
#include <algorithm>
#include <cmath>

#include "draw/canvas_p.h"
#include "draw/edges_p.h"

namespace plotvane {

namespace {

double snapCrossing(double x) {
    const double r = std::floor(x + 0.5);
    return std::fabs(x - r) <= 0.001 ? r : x;
}

void cover(Canvas& cv, int x, int y, double fraction, uint32_t color) {
    uint32_t k;
    if (cv.antiAlias()) {
        k = static_cast<uint32_t>(std::floor(fraction * 16 + 0.5));
        if (k == 0) return;
        k = std::min(k, 16u);
    } else {
        if (fraction < 0.5) return;
        k = 16;
    }
    if (Canvas::isCode(color)) color = cv.colorAt(color, x, y);
    cv.plot(x, y, k == 16 ? color : withCoverage(color, k));
}

// One span of row y from xa to xb.
void aaFill(Canvas& cv, int y, double xa, double xb, uint32_t color, bool start) {
    if (start) {
        xa -= 0.5;
        xb += 0.5;
    }
    xa = std::max(xa, static_cast<double>(cv.clip.left));
    xb = std::min(xb, cv.clip.right + 1.0);
    if (!(xa < xb)) return;
    const int ia = static_cast<int>(std::floor(xa)), ib = static_cast<int>(std::floor(xb));
    if (ia == ib) {
        cover(cv, ia, y, xb - xa, color);
        return;
    }
    cover(cv, ia, y, ia + 1 - xa, color);
    uint32_t* row = cv.pixels() + cv.index(0, y);
    if (Canvas::isCode(color)) {
        for (int x = ia + 1; x < ib; ++x) cv.blendInto(row[x], cv.colorAt(color, x, y));
    } else {
        for (int x = ia + 1; x < ib; ++x) cv.blendInto(row[x], color);
    }
    if (ib <= cv.clip.right) cover(cv, ib, y, xb - ib, color);
}

// Rows to visit: [first, last], already cut to the clip rectangle; false when none.
bool rowRange(const Canvas& cv, const std::vector<const AAEdge*>& edges, bool start, int& first, int& last) {
    if (edges.empty()) return false;
    double lo = edges[0]->getMinY(), hi = edges[0]->getMaxY();
    for (const AAEdge* e : edges) {
        lo = std::min(lo, e->getMinY());
        hi = std::max(hi, e->getMaxY());
    }
    lo = std::max(std::ceil(lo) + (start ? 1 : 0), static_cast<double>(cv.clip.top));
    hi = std::min(std::floor(hi), static_cast<double>(cv.clip.bottom));
    if (!(lo <= hi)) return false;
    first = static_cast<int>(lo);
    last = static_cast<int>(hi);
    return true;
}

void fillCrossings(Canvas& cv, int y, std::vector<double>& xs, uint32_t color, bool start) {
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2) aaFill(cv, y, xs[i], xs[i + 1], color, start);
}

}  // namespace

void aaEdgeFill(Canvas& cv, const std::vector<const AAEdge*>& edges, uint32_t color, bool start) {
    int first, last;
    if (!rowRange(cv, edges, start, first, last)) return;
    std::vector<double> xs;
    for (int y = first; y <= last; ++y) {
        xs.clear();
        for (const AAEdge* e : edges)
            if (e->hasIntersection(y)) xs.push_back(snapCrossing(e->getX(y)));
        fillCrossings(cv, y, xs, color, start);
    }
}

void aaEdgeFill2(Canvas& cv, const std::vector<const AAEdge*>& edges, uint32_t color, bool start) {
    int first, last;
    if (!rowRange(cv, edges, start, first, last)) return;
    std::vector<const AAEdge*> sorted(edges);
    std::sort(sorted.begin(), sorted.end(),
              [](const AAEdge* a, const AAEdge* b) { return a->getMinY() < b->getMinY(); });
    std::vector<const AAEdge*> active;
    std::vector<double> xs;
    size_t next = 0;
    for (int y = first; y <= last; ++y) {
        while (next < sorted.size() && sorted[next]->getMinY() <= y) active.push_back(sorted[next++]);
        active.erase(
            std::remove_if(active.begin(), active.end(), [y](const AAEdge* e) { return e->getMaxY() <= y; }),
            active.end());
        xs.clear();
        for (const AAEdge* e : active)
            if (e->hasIntersection(y)) xs.push_back(snapCrossing(e->getX(y)));
        fillCrossings(cv, y, xs, color, start);
    }
}

void AAShape::fill(Canvas& cv, uint32_t color, bool start, bool noEdges) const {
    if (edges_.empty()) return;
    if (color != kTransparent) {
        std::vector<const AAEdge*> list;
        list.reserve(edges_.size());
        for (const auto& e : edges_) list.push_back(e.get());
        if (Canvas::isCode(color)) {
            const double inf = HUGE_VAL;
            BrushContext::Box box{inf, inf, -inf, -inf};
            for (const AAEdge* e : list) e->extendBox(box);
            cv.setShapeBox(box);
        }
        if (list.size() > 20)
            aaEdgeFill2(cv, list, color, start);
        else
            aaEdgeFill(cv, list, color, start);
    }
    if (!noEdges)
        for (const auto& e : edges_) e->draw(cv);
}

}  // namespace plotvane

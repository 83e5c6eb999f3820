// Scanline fillers for AAShape.
//
// Consumes y-monotonic edges and a colour; produces the even-odd interior. Pixel x covers
// [x, x + 1) and row y covers [y, y + 1), sampled at its centre y + 0.5: sampling at the top edge
// would cut the top row off any shape whose top lies inside a row (a circle of radius 1 became
// a one-row dash). A rectangle from y = 2 to y = 5 fills rows 2, 3 and 4 and its
// bottom row comes only from the edge line drawn afterwards. Each row collects the crossing x of
// every edge with minY <= y + 0.5 < maxY (a horizontal edge spans no row), snaps crossings within
// 0.001 of an integer onto it, sorts them and fills pairs. Along a row the interior is solid and the
// two end pixels get their covered fraction in sixteenths: that, with the anti-aliased edge lines,
// is all the smoothing a chart's shapes need, at the cost of one sample per row.
//
// aaEdgeFill, used up to 20 edges, visits every edge on each row it samples, and takes a band of
// rows at once where every edge present is vertical (rectangles, bars and the straight part of
// rounded boxes) and none starts or ends. aaEdgeFill2, used above 20 edges, walks edges sorted by
// minY with an active list and samples every row; the two must give exactly the same pixels.
#include <algorithm>
#include <cmath>

#include "draw/canvas_p.h"
#include "draw/edges_p.h"

namespace plotvane {

namespace {

// Where row y is sampled, and the first row sampled at or after v.
double sampleOf(int y) { return y + 0.5; }
double firstRowFrom(double v) { return std::ceil(v - 0.5); }

double snapCrossing(double x) {
    // Crossings far off the canvas (or NaN) take the general floor.
    const double r = std::fabs(x) < 1e9 ? floorToInt(x + 0.5) : std::floor(x + 0.5);
    return std::fabs(x - r) <= 0.001 ? r : x;
}

// Fills rows from their crossings. A row's spans are first resolved into runs of pixels (the end
// pixels with their coverage, the solid middle); shapes with vertical sides (bars, boxes, legend
// keys) repeat the same crossings row after row, so the runs are kept and only replayed while the
// crossings stay the same.
class RowFiller {
public:
    RowFiller(Canvas& cv, uint32_t color, bool start)
        : cv_(cv), color_(color), start_(start), antiAlias_(cv.antiAlias()), solid_(color) {}

    // xs: the crossings shared by rows y0 to y1, in any order.
    void fill(int y0, int y1, std::vector<double>& xs) {
        sortCrossings(xs);
        if (y0 == y1) {
            // A row of its own (sloped sides): painted as it is planned, nothing kept.
            uint32_t* row = cv_.pixels() + cv_.index(0, y0);
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                planSpan(xs[i], xs[i + 1], [&](int x, int n, uint32_t k) { paint(row, y0, x, n, k); });
            planned_ = false;
            return;
        }
        if (!planned_ || xs != plannedXs_) {
            runs_.clear();
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                planSpan(xs[i], xs[i + 1], [this](int x, int n, uint32_t k) { runs_.emplace_back(x, n, k); });
            plannedXs_ = xs;
            planned_ = true;
        }
        for (int y = y0; y <= y1; ++y) {
            uint32_t* row = cv_.pixels() + cv_.index(0, y);
            for (const Run& r : runs_) paint(row, y, r.x, r.n, r.k);
        }
    }

private:
    // n pixels from x, the colour's opacity scaled by k/16; only whole runs are longer than one.
    struct Run {
        Run(int from, int count, uint32_t coverage) : x(from), n(count), k(coverage) {}
        int x, n;
        uint32_t k;
    };

    void paint(uint32_t* row, int y, int x, int n, uint32_t k) {
        if (!Canvas::isCode(color_)) {
            if (k != 16)
                cv_.blendInto(row[x], withCoverage(color_, k));
            else if (cv_.superPixels.empty())
                solid_.overRow(row + x, n);
            else
                cv_.blendRun(row + x, 1, n, color_);
            return;
        }
        for (int end = x + n; x < end; ++x) {
            const uint32_t c = cv_.colorAt(color_, x, y);
            cv_.blendInto(row[x], k == 16 ? c : withCoverage(c, k));
        }
    }

    // Rows cross a shape a few times: insertion sort beats the general one there.
    static void sortCrossings(std::vector<double>& xs) {
        if (xs.size() > 16) {
            std::sort(xs.begin(), xs.end());
            return;
        }
        for (size_t i = 1; i < xs.size(); ++i) {
            const double v = xs[i];
            size_t j = i;
            for (; j > 0 && xs[j - 1] > v; --j) xs[j] = xs[j - 1];
            xs[j] = v;
        }
    }

    // An end pixel covered by `fraction`: sixteenths when anti-aliased, else all or nothing.
    template <class Sink>
    void cover(int x, double fraction, Sink& sink) {
        uint32_t k;
        if (antiAlias_) {
            k = static_cast<uint32_t>(floorToInt(fraction * 16 + 0.5));
            if (k == 0) return;
            k = std::min(k, 16u);
        } else {
            if (fraction < 0.5) return;
            k = 16;
        }
        sink(x, 1, k);
    }

    // The runs of the span from xa to xb, cut to the clip rectangle (so every run lies inside it),
    // handed to sink(x, n, k) from left to right.
    template <class Sink>
    void planSpan(double xa, double xb, Sink sink) {
        if (start_) {
            xa -= 0.5;
            xb += 0.5;
        }
        xa = std::max(xa, static_cast<double>(cv_.clip.left));
        xb = std::min(xb, cv_.clip.right + 1.0);
        if (!(xa < xb)) return;
        const int ia = floorToInt(xa), ib = floorToInt(xb);
        if (ia == ib) {
            cover(ia, xb - xa, sink);
            return;
        }
        cover(ia, ia + 1 - xa, sink);
        if (ib > ia + 1) sink(ia + 1, ib - ia - 1, 16u);
        if (ib <= cv_.clip.right) cover(ib, xb - ib, sink);
    }

    Canvas& cv_;
    const uint32_t color_;
    const bool start_;
    const bool antiAlias_;
    const BlendSource solid_;  // the colour at full coverage, when it is literal
    bool planned_ = false;
    std::vector<double> plannedXs_;
    std::vector<Run> runs_;
};

// Rows to visit: [first, last], already cut to the clip rectangle; false when none.
bool rowRange(const Canvas& cv, const std::vector<const AAEdge*>& edges, bool start, int& first, int& last) {
    if (edges.empty()) return false;
    double lo = edges[0]->getMinY(), hi = edges[0]->getMaxY();
    for (const AAEdge* e : edges) {
        lo = std::min(lo, e->getMinY());
        hi = std::max(hi, e->getMaxY());
    }
    lo = std::max(firstRowFrom(lo) + (start ? 1 : 0), static_cast<double>(cv.clip.top));
    hi = std::min(firstRowFrom(hi) - 1, static_cast<double>(cv.clip.bottom));
    if (!(lo <= hi)) return false;
    first = static_cast<int>(lo);
    last = static_cast<int>(hi);
    return true;
}

}  // namespace

void aaEdgeFill(Canvas& cv, const std::vector<const AAEdge*>& edges, uint32_t color, bool start) {
    int first, last;
    if (!rowRange(cv, edges, start, first, last)) return;
    RowFiller rows(cv, color, start);
    std::vector<double> xs;
    for (int y = first; y <= last;) {
        xs.clear();
        // Rows up to `band` see the same edges; when all of them are vertical, the same crossings.
        double band = last;
        bool vertical = true;
        const double sy = sampleOf(y);
        for (const AAEdge* e : edges) {
            if (e->hasIntersection(sy)) {
                xs.push_back(snapCrossing(e->getX(sy)));
                vertical = vertical && e->isVertical();
                band = std::min(band, firstRowFrom(e->getMaxY()) - 1);
            } else if (e->getMinY() > sy) {
                band = std::min(band, firstRowFrom(e->getMinY()) - 1);
            }
        }
        const int end = vertical ? static_cast<int>(band) : y;
        rows.fill(y, end, xs);
        y = end + 1;
    }
}

void aaEdgeFill2(Canvas& cv, const std::vector<const AAEdge*>& edges, uint32_t color, bool start) {
    int first, last;
    if (!rowRange(cv, edges, start, first, last)) return;
    std::vector<const AAEdge*> sorted(edges);
    std::sort(sorted.begin(), sorted.end(),
              [](const AAEdge* a, const AAEdge* b) { return a->getMinY() < b->getMinY(); });
    std::vector<const AAEdge*> active;
    RowFiller rows(cv, color, start);
    std::vector<double> xs;
    size_t next = 0;
    for (int y = first; y <= last; ++y) {
        const double sy = sampleOf(y);
        while (next < sorted.size() && sorted[next]->getMinY() <= sy) active.push_back(sorted[next++]);
        active.erase(
            std::remove_if(active.begin(), active.end(), [sy](const AAEdge* e) { return e->getMaxY() <= sy; }),
            active.end());
        xs.clear();
        for (const AAEdge* e : active)
            if (e->hasIntersection(sy)) xs.push_back(snapCrossing(e->getX(sy)));
        rows.fill(y, y, xs);
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

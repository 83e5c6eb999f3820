// Line objects and the first steps of the clean-up before drawing.
//
// A data set becomes a list of frame points; a missing x or value only sets the break flag of the
// point before it, so a line never holds a missing point. Two reductions run before any path is
// built. RangeFeed keeps to the x range of the plot: a point is kept when one of its two segments
// may cross the range, which leaves the single point beyond each edge that the line runs to and
// drops whatever lies further out. thinColumns keeps, of every run of points inside one pixel
// column, the first, the lowest, the highest and the last; the polyline through them touches the
// same pixels, and a million points over 800 columns turn into a few thousand.
//
// getY serves the fill between two lines: the path is ordered by x, so a binary search finds the
// first point at or beyond x, and y is interpolated from the point before it.
#include "chart/xy/lineobj_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

LineObj::~LineObj() = default;

MultiLine::~MultiLine() = default;

void thinColumns(std::vector<LinePoint>& points, size_t from) {
    size_t out = from;
    size_t n = points.size();
    size_t i = from;
    while (i < n) {
        // The run [i, j): same column, no break inside (a break ends the run at its point).
        size_t j = i + 1;
        long long column = pixelColumn(points[i].x);
        if (!points[i].breakAfter)
            while (j < n && pixelColumn(points[j].x) == column) {
                ++j;
                if (points[j - 1].breakAfter) break;
            }
        if (j - i <= 4) {
            for (size_t k = i; k < j; ++k) points[out++] = points[k];
        } else {
            size_t lo = i, hi = i;
            for (size_t k = i; k < j; ++k) {
                if (points[k].y < points[lo].y) lo = k;
                if (points[k].y > points[hi].y) hi = k;
            }
            size_t keep[4] = {i, std::min(lo, hi), std::max(lo, hi), j - 1};
            for (size_t k = 0; k < 4; ++k)
                if (k == 0 || keep[k] != keep[k - 1]) points[out++] = points[keep[k]];
        }
        i = j;
    }
    points.resize(out);
}

void clipPolygon(std::vector<LinePoint>& polygon, const FrameBox& box) {
    std::vector<LinePoint> out;
    // Each side keeps what lies on its inner side: d(p) >= 0.
    auto side = [&](auto d) {
        out.clear();
        size_t n = polygon.size();
        for (size_t k = 0; k < n; ++k) {
            const LinePoint& a = polygon[(k + n - 1) % n];
            const LinePoint& b = polygon[k];
            double da = d(a), db = d(b);
            if ((da >= 0) != (db >= 0)) {
                double t = da / (da - db);
                out.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), false});
            }
            if (db >= 0) out.push_back(b);
        }
        polygon.swap(out);
    };
    side([&](const LinePoint& p) { return p.x - box.left; });
    side([&](const LinePoint& p) { return box.right - p.x; });
    side([&](const LinePoint& p) { return p.y - box.top; });
    side([&](const LinePoint& p) { return box.bottom - p.y; });
}

void MultiLine::setData(double x, double y) {
    if (x == Chart::NoValue || y == Chart::NoValue || !std::isfinite(x) || !std::isfinite(y)) {
        if (!points_.empty()) points_.back().breakAfter = true;
        return;
    }
    points_.push_back({x, y, false});
}

void MultiLine::layout(double dx, double dy, const FrameBox& view) {
    dx_ = dx;
    dy_ = dy;
    path_.clear();
    ownPath_ = buildPath(view, path_);
}

bool MultiLine::buildPath(const FrameBox&, std::vector<LinePoint>&) { return false; }

double MultiLine::getY(double x) {
    gap_ = false;
    if (source_ && !filled_) {
        filled_ = true;
        source_(*this);
    }
    const std::vector<LinePoint>& p = path();
    if (p.empty() || !std::isfinite(x)) return Chart::NoValue;
    double at = x + dx_;
    bool ascending = p.front().x <= p.back().x;
    auto beyond = [ascending](const LinePoint& q, double v) { return ascending ? q.x < v : q.x > v; };
    auto it = std::lower_bound(p.begin(), p.end(), at, beyond);
    if (it == p.end()) return Chart::NoValue;
    if (it->x == at) return it->y - dy_;
    if (it == p.begin()) return Chart::NoValue;
    const LinePoint& a = *(it - 1);
    gap_ = a.breakAfter;
    double t = (at - a.x) / (it->x - a.x);
    return a.y + t * (it->y - a.y) - dy_;
}

}  // namespace plotvane

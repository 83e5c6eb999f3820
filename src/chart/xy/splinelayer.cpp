// Spline layers: the points of each run between missing values joined by a cardinal spline.
//
// Each segment p1 -> p2 is a cubic Hermite curve. Its tangents blend the chords to the
// neighbours: with k = 1 - tension, m1 = k (w1 (p2 - p1) + (1 - w1)(p1 - p0)) and m2 likewise at
// p2. The weights are 1/2, except under monotonicity, where each is the share of the neighbouring
// chord's length along that coordinate: a short chord next to a long one then gets a small
// tangent, which is what keeps the curve from overshooting where the data turn (Fritsch-Carlson
// in spirit). A segment that is flat in a monotonic coordinate is drawn straight. At the ends of
// a run the missing tangent is 1.5 (p2 - p1) - 0.5 (the other one), a natural end.
//
// Automatic monotonicity looks at the data set's points once: x never turning back gives
// MonotonicX, y never turning back MonotonicY, both MonotonicXY; the answer is kept by the layer.
//
// Flattening: a segment whose tangents hardly differ from its chord (squared deviation at most 4
// pixels) is a straight piece; a segment whose ends and inner control points all lie more than
// 20 pixels beyond the same edge of the view cannot show and is straight as well; the others
// are cut into pieces of about three pixels of their control polygon.
#include <algorithm>
#include <cmath>

#include "chart/xy/linelayer_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

namespace {

class CardinalSpline final : public MultiLine {
public:
    CardinalSpline(double tension, int* monotonicity) : tension_(tension), monotonicity_(monotonicity) {}
    bool hasOwnPath() const override { return true; }

protected:
    bool buildPath(const FrameBox& view, std::vector<LinePoint>& path) override;

private:
    void resolveMonotonicity();
    void appendSegment(const FrameBox& view, size_t first, size_t last, size_t k, int mode,
                       std::vector<LinePoint>& path) const;

    double tension_;
    int* monotonicity_;
};

// Whether the values never change direction (equal neighbours allowed).
template <class Get>
bool monotonic(const std::vector<LinePoint>& p, Get get) {
    int direction = 0;
    for (size_t i = 1; i < p.size(); ++i) {
        double d = get(p[i]) - get(p[i - 1]);
        int s = d > 0 ? 1 : d < 0 ? -1 : 0;
        if (s == 0) continue;
        if (direction != 0 && s != direction) return false;
        direction = s;
    }
    return true;
}

void CardinalSpline::resolveMonotonicity() {
    if (*monotonicity_ != Chart::MonotonicAuto) return;
    bool mx = monotonic(points_, [](const LinePoint& q) { return q.x; });
    bool my = monotonic(points_, [](const LinePoint& q) { return q.y; });
    if (mx && my)
        *monotonicity_ = Chart::MonotonicXY;
    else if (mx)
        *monotonicity_ = Chart::MonotonicX;
    else if (my)
        *monotonicity_ = Chart::MonotonicY;
}

double weight(double near, double far) {
    double sum = std::fabs(near) + std::fabs(far);
    return sum > 0 ? std::fabs(near) / sum : 0.5;
}

void CardinalSpline::appendSegment(const FrameBox& view, size_t first, size_t last, size_t k, int mode,
                                   std::vector<LinePoint>& path) const {
    const LinePoint& p1 = points_[k];
    const LinePoint& p2 = points_[k + 1];
    bool hasP0 = k > first, hasP3 = k + 1 < last;
    const LinePoint& p0 = hasP0 ? points_[k - 1] : p1;
    const LinePoint& p3 = hasP3 ? points_[k + 2] : p2;
    bool monoX = mode == Chart::MonotonicX || mode == Chart::MonotonicXY;
    bool monoY = mode == Chart::MonotonicY || mode == Chart::MonotonicXY;
    double dx = p2.x - p1.x, dy = p2.y - p1.y;
    auto straight = [&] { path.push_back({p2.x, p2.y, false}); };
    if ((monoX && dx == 0) || (monoY && dy == 0)) return straight();

    double wx1 = 0.5, wx2 = 0.5, wy1 = 0.5, wy2 = 0.5;
    if (monoX) {
        wx1 = weight(p1.x - p0.x, dx);
        wx2 = weight(dx, p3.x - p2.x);
    }
    if (monoY) {
        wy1 = weight(p1.y - p0.y, dy);
        wy2 = weight(dy, p3.y - p2.y);
        if (!monoX) {
            wx1 = wy1;
            wx2 = wy2;
        }
    }
    double kk = 1 - tension_;
    double m1x = kk * (wx1 * dx + (1 - wx1) * (p1.x - p0.x)), m1y = kk * (wy1 * dy + (1 - wy1) * (p1.y - p0.y));
    double m2x = kk * (wx2 * (p3.x - p2.x) + (1 - wx2) * dx), m2y = kk * (wy2 * (p3.y - p2.y) + (1 - wy2) * dy);
    if (!hasP0) {
        m1x = 1.5 * dx - 0.5 * m2x;
        m1y = 1.5 * dy - 0.5 * m2y;
    }
    if (!hasP3) {
        m2x = 1.5 * dx - 0.5 * m1x;
        m2y = 1.5 * dy - 0.5 * m1y;
    }
    double devX = std::max((dx - m1x) * (dx - m1x), (dx - m2x) * (dx - m2x));
    double devY = std::max((dy - m1y) * (dy - m1y), (dy - m2y) * (dy - m2y));
    if (devX + devY <= 4) return straight();

    const double cx[4] = {p1.x, p1.x + m1x / 3, p2.x - m2x / 3, p2.x};
    const double cy[4] = {p1.y, p1.y + m1y / 3, p2.y - m2y / 3, p2.y};
    auto allBeyond = [](const double* v, double edge, double sign) {
        return std::all_of(v, v + 4, [&](double c) { return sign * (c - edge) > 20; });
    };
    if (allBeyond(cx, view.left, -1) || allBeyond(cx, view.right, 1) || allBeyond(cy, view.top, -1) ||
        allBeyond(cy, view.bottom, 1))
        return straight();

    double polygon = std::hypot(cx[1] - cx[0], cy[1] - cy[0]) + std::hypot(cx[2] - cx[1], cy[2] - cy[1]) +
                     std::hypot(cx[3] - cx[2], cy[3] - cy[2]);
    int steps = static_cast<int>(std::clamp(std::ceil(polygon / 3), 2.0, 256.0));
    for (int s = 1; s <= steps; ++s) {
        double t = static_cast<double>(s) / steps, t2 = t * t, t3 = t2 * t;
        double h1 = 2 * t3 - 3 * t2 + 1, h2 = -2 * t3 + 3 * t2, h3 = t3 - 2 * t2 + t, h4 = t3 - t2;
        path.push_back({h1 * p1.x + h2 * p2.x + h3 * m1x + h4 * m2x, h1 * p1.y + h2 * p2.y + h3 * m1y + h4 * m2y,
                        false});
    }
}

bool CardinalSpline::buildPath(const FrameBox& view, std::vector<LinePoint>& path) {
    resolveMonotonicity();
    int mode = *monotonicity_ == Chart::MonotonicAuto ? Chart::MonotonicNone : *monotonicity_;
    size_t n = points_.size();
    size_t first = 0;
    while (first < n) {
        size_t last = first;
        while (last + 1 < n && !points_[last].breakAfter) ++last;
        path.push_back({points_[first].x, points_[first].y, false});
        for (size_t k = first; k < last; ++k) {
            if (last - first < 2)
                path.push_back({points_[k + 1].x, points_[k + 1].y, false});
            else
                appendSegment(view, first, last, k, mode, path);
        }
        path.back().breakAfter = points_[last].breakAfter;
        first = last + 1;
    }
    return true;
}

class SplineLayerImpl final : public SplineLayer, public LineLayerImpl {
public:
    SplineLayerImpl() { gapColor_ = Chart::SameAsMainColor; }
    void setTension(double tension) override {
        if (std::isfinite(tension)) tension_ = tension;
    }
    void setMonotonicity(int m) override {
        if (m >= Chart::MonotonicNone && m <= Chart::MonotonicAuto) monotonicity_ = m;
    }

protected:
    std::unique_ptr<MultiLine> newLine() override { return std::make_unique<CardinalSpline>(tension_, &monotonicity_); }

private:
    double tension_ = 0;
    int monotonicity_ = Chart::MonotonicAuto;
};

}  // namespace

SplineLayer::~SplineLayer() = default;

SplineLayer* XYChartImpl::addSplineLayer() {
    auto* layer = new SplineLayerImpl();
    addLayer(layer);
    return layer;
}

SplineLayer* XYChartImpl::addSplineLayer(DoubleArray data, int color, const char* name) {
    SplineLayer* layer = addSplineLayer();
    layer->addDataSet(data, color, name);
    return layer;
}

}  // namespace plotvane

// Polar line, area, spline line and spline area layers.
//
// A line layer's path is its points in order, back to the first when the loop is closed; a point
// before a missing value is marked, and the line pen draws the segment after it in the gap style
// (nothing, unless a gap colour is set). Area layers fill the polygon of the points present.
//
// Spline layers put a cardinal spline through the screen points: the segment p1 -> p2 is a cubic
// Hermite curve with tangents (1 - tension)(p2 - p0) / 2 at p1 and (1 - tension)(p3 - p1) / 2 at
// p2. A closed loop without gaps takes its neighbours round the loop, so it closes smoothly across
// the start angle; the runs between gaps are open curves whose end tangents follow their end
// chords, and the bridges between runs stay straight. Each segment is cut into pieces of about
// three pixels of its chord.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/other/polarchart_p.h"
#include "chart/xy/linepen_p.h"

namespace plotvane {

PolarLineLayer::~PolarLineLayer() = default;
PolarAreaLayer::~PolarAreaLayer() = default;
PolarSplineLineLayer::~PolarSplineLineLayer() = default;
PolarSplineAreaLayer::~PolarSplineAreaLayer() = default;

namespace {

constexpr double kPiecePixels = 3;
constexpr int kMostPieces = 200;

void hermite(const LinePoint& p0, const LinePoint& p1, const LinePoint& p2, const LinePoint& p3, double tension,
             std::vector<LinePoint>& out) {
    const double k = (1 - tension) / 2;
    const double m1x = k * (p2.x - p0.x), m1y = k * (p2.y - p0.y);
    const double m2x = k * (p3.x - p1.x), m2y = k * (p3.y - p1.y);
    const double chord = std::hypot(p2.x - p1.x, p2.y - p1.y);
    const int pieces = static_cast<int>(std::clamp(std::ceil(chord / kPiecePixels), 1.0, double(kMostPieces)));
    for (int s = 1; s <= pieces; ++s) {
        const double t = double(s) / pieces, t2 = t * t, t3 = t2 * t;
        const double h00 = 2 * t3 - 3 * t2 + 1, h10 = t3 - 2 * t2 + t, h01 = -2 * t3 + 3 * t2, h11 = t3 - t2;
        out.push_back({h00 * p1.x + h10 * m1x + h01 * p2.x + h11 * m2x, h00 * p1.y + h10 * m1y + h01 * p2.y + h11 * m2y,
                       false});
    }
}

// The spline through pts[first .. last], appended to out; round the loop when `closed`.
void splineRun(const std::vector<LinePoint>& pts, size_t first, size_t last, bool closed, double tension,
               std::vector<LinePoint>& out) {
    const long long n = static_cast<long long>(last - first + 1);
    auto at = [&](long long k) {
        if (closed) return pts[first + static_cast<size_t>((k % n + n) % n)];
        return pts[first + static_cast<size_t>(std::clamp<long long>(k, 0, n - 1))];
    };
    out.push_back(pts[first]);
    const long long segments = closed ? n : n - 1;
    for (long long k = 0; k < segments; ++k) hermite(at(k - 1), at(k), at(k + 1), at(k + 2), tension, out);
}

double clampTension(double t) { return std::isfinite(t) ? std::clamp(t, -1.0, 1.0) : 0; }

}  // namespace

// The outline of a layer's points: straight or splined, closed or open, with gaps marked.
class PolarOutline {
public:
    explicit PolarOutline(const std::vector<PolarPoint>& points) {
        pts_.reserve(points.size() + 1);
        for (size_t k = 0; k < points.size(); ++k) {
            pts_.push_back({points[k].x, points[k].y, false});
            if (k > 0 && points[k].gapBefore) pts_[k - 1].breakAfter = true;
            gaps_ = gaps_ || (k > 0 && points[k].gapBefore);
        }
    }

    // Gaps are kept as breaks; the closing segment after the last point is one when wrapGap.
    std::vector<LinePoint> path(bool closed, bool wrapGap, bool spline, double tension) const {
        std::vector<LinePoint> out;
        if (pts_.empty()) return out;
        closed = closed && pts_.size() > 2;
        if (!spline || pts_.size() < 3) {
            out = pts_;
        } else if (closed && !gaps_ && !wrapGap) {
            splineRun(pts_, 0, pts_.size() - 1, true, tension, out);
            return out;
        } else {
            std::vector<LinePoint> pts = pts_;
            // A run that goes on across the start of a closed loop is one curve: the loop is
            // started after a gap instead, and that gap bridged when it closes.
            if (closed && !wrapGap) {
                auto gap = std::find_if(pts.begin(), pts.end(), [](const LinePoint& p) { return p.breakAfter; });
                std::rotate(pts.begin(), gap + 1, pts.end());
                wrapGap = true;
            }
            size_t first = 0;
            for (size_t k = 0; k < pts.size(); ++k) {
                if (!pts[k].breakAfter && k + 1 < pts.size()) continue;
                splineRun(pts, first, k, false, tension, out);
                out.back().breakAfter = pts[k].breakAfter;
                first = k + 1;
            }
            if (closed) {
                out.back().breakAfter = true;
                out.push_back(pts.front());
            }
            return out;
        }
        if (closed) {
            out.back().breakAfter = wrapGap;
            out.push_back(pts_.front());
        }
        return out;
    }

private:
    std::vector<LinePoint> pts_;
    bool gaps_ = false;
};

class PolarLineLayerImpl : public virtual PolarLineLayer, public PolarLayerImpl {
public:
    using PolarLayerImpl::PolarLayerImpl;

    void setCloseLoop(bool b) override { closeLoop_ = b; }
    void setGapColor(int lineColor, int lineWidth) override {
        gapColor_ = lineColor;
        gapWidth_ = lineWidth;
    }

    void paint(DrawArea* d) override {
        if (lineWidth() < 1) return;
        std::vector<LinePoint> path = PolarOutline(points()).path(closeLoop_, wrapGap(), spline_, tension_);
        const FrameBox clip{-1e6, -1e6, 1e6, 1e6};
        LineStyle gap{gapColor_ == Chart::Transparent ? Chart::Transparent : gapColor_,
                      gapColor_ == Chart::Transparent ? 0 : gapWidth_ == -1 ? lineWidth() : gapWidth_};
        LinePen(d, clip, false, 0, 0, LineStyle{edgeColor(), lineWidth()}, gap).draw(path);
    }

protected:
    int legendLineWidth() const override { return std::max(lineWidth(), 1); }
    bool spline_ = false;
    double tension_ = 0;

private:
    bool closeLoop_ = true;
    int gapColor_ = Chart::Transparent;
    int gapWidth_ = -1;
};

class PolarAreaLayerImpl : public virtual PolarAreaLayer, public PolarLayerImpl {
public:
    using PolarLayerImpl::PolarLayerImpl;

    void paint(DrawArea* d) override {
        std::vector<LinePoint> path = PolarOutline(points()).path(true, false, spline_, tension_);
        if (path.size() < 3) return;
        std::vector<double> xs, ys;
        xs.reserve(path.size());
        ys.reserve(path.size());
        for (const LinePoint& p : path) {
            xs.push_back(p.x);
            ys.push_back(p.y);
        }
        const int n = static_cast<int>(xs.size());
        // A border wider than a pixel is stroked, as a polygon's edge is one pixel wide.
        const bool stroke = lineWidth() > 1;
        d->polygon(DoubleArray(xs.data(), n), DoubleArray(ys.data(), n),
                   stroke || lineWidth() < 1 ? Chart::Transparent : edgeColor(), color());
        if (stroke) {
            const FrameBox clip{-1e6, -1e6, 1e6, 1e6};
            LineStyle line{edgeColor(), lineWidth()};
            LinePen(d, clip, false, 0, 0, line, line).draw(path);
        }
    }

protected:
    bool spline_ = false;
    double tension_ = 0;
};

class PolarSplineLineLayerImpl final : public PolarSplineLineLayer, public PolarLineLayerImpl {
public:
    PolarSplineLineLayerImpl(PolarChartImpl* chart, DoubleArray data, int color, const char* name)
        : PolarLineLayerImpl(chart, data, color, name) {
        spline_ = true;
    }
    void setTension(double tension) override { tension_ = clampTension(tension); }
};

class PolarSplineAreaLayerImpl final : public PolarSplineAreaLayer, public PolarAreaLayerImpl {
public:
    PolarSplineAreaLayerImpl(PolarChartImpl* chart, DoubleArray data, int color, const char* name)
        : PolarAreaLayerImpl(chart, data, color, name) {
        spline_ = true;
    }
    void setTension(double tension) override { tension_ = clampTension(tension); }
};

PolarLineLayer* PolarChartImpl::addLineLayer(DoubleArray data, int color, const char* name) {
    return adopt(std::make_unique<PolarLineLayerImpl>(this, data, color, name));
}

PolarAreaLayer* PolarChartImpl::addAreaLayer(DoubleArray data, int color, const char* name) {
    return adopt(std::make_unique<PolarAreaLayerImpl>(this, data, color, name));
}

PolarSplineLineLayer* PolarChartImpl::addSplineLineLayer(DoubleArray data, int color, const char* name) {
    return adopt(std::make_unique<PolarSplineLineLayerImpl>(this, data, color, name));
}

PolarSplineAreaLayer* PolarChartImpl::addSplineAreaLayer(DoubleArray data, int color, const char* name) {
    return adopt(std::make_unique<PolarSplineAreaLayerImpl>(this, data, color, name));
}

}  // namespace plotvane

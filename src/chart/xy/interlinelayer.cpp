// The inter-line layer: the region between two lines of other layers, in one colour where the
// first line is above the second and in another where it is below.
//
// Both lines are straight between their vertices, so the plot's x range is cut at every vertex of
// either line; within each piece the two lines are straight, their difference is linear, and a
// crossing is found exactly where that difference changes sign. Each line is read just inside
// both ends of a piece and extended to the ends, which gives the value on each side of a vertical
// step (a step line's riser) and keeps the cut exact there too. Pieces on the same side of the
// crossing and in the same gap state join into one polygon: the first line forward, the second
// back. A line that is not one of ours is read once per pixel column instead.
//
// The layer needs only the lines and the plot rectangle at painting time, so it may be added
// after the chart is laid out, which is when line layers have their lines.
#include <plotvane/arealayer.h>
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/xy/layer_p.h"
#include "chart/xy/lineobj_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

InterLineLayer::~InterLineLayer() = default;

namespace {

// One piece of the x range: both lines at its ends, which side is on top and whether it bridges
// a gap of either line.
struct Piece {
    double a, b;
    double y1a, y1b, y2a, y2b;
    int side;  // 1: line 1 above, 2: line 2 above, 0: on each other
    bool gap;
};

}  // namespace

class InterLineLayerImpl final : public InterLineLayer, public virtual LayerImpl {
public:
    InterLineLayerImpl(LineObj* line1, LineObj* line2, int color12, int color21)
        : line1_(line1), line2_(line2), color12_(color12), color21_(color21 == -1 ? color12 : color21),
          gap12_(color12_), gap21_(color21_) {}

    void setGapColor(int gapColor12, int gapColor21) override {
        gap12_ = gapColor12;
        gap21_ = gapColor21 == -1 ? gapColor12 : gapColor21;
    }
    void paint(DrawArea* d) override;

private:
    // Where pieces end: the vertices of both lines inside the box, and its ends.
    std::vector<double> cuts(const FrameBox& box);
    // The pieces between the cuts, split where the lines cross.
    std::vector<Piece> pieces(const std::vector<double>& cuts, bool swapped);
    void fillRun(DrawArea* d, const std::vector<Piece>& run, const FrameBox& box, bool swapped);

    LineObj* line1_;
    LineObj* line2_;
    int color12_;
    int color21_;
    int gap12_;
    int gap21_;
};

std::vector<double> InterLineLayerImpl::cuts(const FrameBox& box) {
    std::vector<double> xs{box.left, box.right};
    for (LineObj* line : {line1_, line2_}) {
        auto* multi = dynamic_cast<MultiLine*>(line);
        if (!multi) {
            for (double x = std::ceil(box.left); x < box.right; ++x) xs.push_back(x);
            continue;
        }
        multi->getY(box.left);  // a line drawn straight from its data makes its points now
        for (const LinePoint& p : multi->path()) {
            double x = p.x - multi->dx();
            if (x > box.left && x < box.right) xs.push_back(x);
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    return xs;
}

std::vector<Piece> InterLineLayerImpl::pieces(const std::vector<double>& xs, bool swapped) {
    std::vector<Piece> out;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
        double a = xs[k], b = xs[k + 1];
        double e = (b - a) / 4;
        // Read inside the piece, then extend to its ends along the straight lines.
        auto read = [&](LineObj* line, double& ya, double& yb, bool& gap) {
            double ia = line->getY(a + e);
            gap = line->isGap();
            double ib = line->getY(b - e);
            gap = gap || line->isGap();
            if (ia == Chart::NoValue || ib == Chart::NoValue || !std::isfinite(ia) || !std::isfinite(ib)) return false;
            double slope = (ib - ia) / (b - a - 2 * e);
            ya = ia - slope * e;
            yb = ib + slope * e;
            return true;
        };
        Piece p{a, b, 0, 0, 0, 0, 0, false};
        bool gap1, gap2;
        if (!read(line1_, p.y1a, p.y1b, gap1) || !read(line2_, p.y2a, p.y2b, gap2)) continue;
        p.gap = gap1 || gap2;
        // Frame y grows downward unless the axes are swapped, where it runs along the screen x.
        auto sideOf = [swapped](double d) { return d == 0 ? 0 : (d < 0) != swapped ? 1 : 2; };
        double da = p.y1a - p.y2a, db = p.y1b - p.y2b;
        if (da * db < 0) {
            double c = a + (b - a) * da / (da - db);
            double yc = p.y1a + (p.y1b - p.y1a) * (c - a) / (b - a);
            out.push_back({a, c, p.y1a, yc, p.y2a, yc, sideOf(da), p.gap});
            out.push_back({c, b, yc, p.y1b, yc, p.y2b, sideOf(db), p.gap});
        } else {
            p.side = sideOf(da != 0 ? da : db);
            out.push_back(p);
        }
    }
    return out;
}

void InterLineLayerImpl::paint(DrawArea* d) {
    if (!line1_ || !line2_) return;
    PlotAreaImpl& plot = chart()->plotArea();
    bool swapped = plot.swapped();
    FrameBox box = swapped ? FrameBox{double(plot.getTopY()), double(plot.getLeftX()), double(plot.getBottomY()),
                                      double(plot.getRightX())}
                           : FrameBox{double(plot.getLeftX()), double(plot.getTopY()), double(plot.getRightX()),
                                      double(plot.getBottomY())};
    std::vector<Piece> all = pieces(cuts(box), swapped);
    size_t start = 0;
    for (size_t k = 1; k <= all.size(); ++k) {
        bool ends = k == all.size() || all[k].side != all[start].side || all[k].gap != all[start].gap ||
                    all[k].a != all[k - 1].b;
        if (!ends) continue;
        fillRun(d, std::vector<Piece>(all.begin() + static_cast<long>(start), all.begin() + static_cast<long>(k)), box,
                swapped);
        start = k;
    }
}

void InterLineLayerImpl::fillRun(DrawArea* d, const std::vector<Piece>& run, const FrameBox& box, bool swapped) {
    if (run.empty() || run.front().side == 0) return;
    bool above12 = run.front().side == 1;
    int color = run.front().gap ? (above12 ? gap12_ : gap21_) : (above12 ? color12_ : color21_);
    if (color == Chart::Transparent) return;
    std::vector<LinePoint> first, second;
    for (const Piece& p : run) {
        first.push_back({p.a, p.y1a, false});
        first.push_back({p.b, p.y1b, false});
        second.push_back({p.a, p.y2a, false});
        second.push_back({p.b, p.y2b, false});
    }
    // Long lines: each pixel column keeps its reach, as a drawn line does.
    thinColumns(first);
    thinColumns(second);
    first.insert(first.end(), second.rbegin(), second.rend());
    // Neighbouring pieces share their ends, and the lines meet at a crossing.
    first.erase(std::unique(first.begin(), first.end(),
                            [](const LinePoint& p, const LinePoint& q) { return p.x == q.x && p.y == q.y; }),
                first.end());
    if (first.size() > 1 && first.front().x == first.back().x && first.front().y == first.back().y) first.pop_back();
    clipPolygon(first, box);
    if (first.size() < 3) return;
    std::vector<double> xs, ys;
    for (const LinePoint& p : first) {
        xs.push_back(swapped ? p.y : p.x);
        ys.push_back(swapped ? p.x : p.y);
    }
    int n = static_cast<int>(xs.size());
    d->polygon(DoubleArray(xs.data(), n), DoubleArray(ys.data(), n), Chart::Transparent, color);
}

InterLineLayer* XYChartImpl::addInterLineLayer(LineObj* line1, LineObj* line2, int color12, int color21) {
    auto* layer = new InterLineLayerImpl(line1, line2, color12, color21);
    addLayer(layer);
    return layer;
}

}  // namespace plotvane

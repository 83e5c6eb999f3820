// The area layer: each data set filled between its line and a base.
//
// Levels. In a stack (percentage mode, or stack mode with two or more data sets) the data sets of
// a group are summed in index order; a data set's top is the running sum after it and its bottom
// the running sum before it, the first one standing on the base line. Signed values are summed as
// they come, so a negative value folds its area back down over the one below. A missing value
// gives its data set no thickness there as long as some data set of the group has a value; when
// none has, or the x is missing, every area of the group breaks. Percentage stacks sum absolute
// values and scale each column to 100; a column of explicit zeros is shared equally. Outside a
// stack every data set stands on the base line by itself and breaks at its own missing values.
//
// Polygons. The top and bottom edges of a data set are fed, in step and as frame pixels, through
// the line layer's range feed (only the plot's x range and one point beyond each edge enter) and
// then thinned per pixel column, so a million points become a few thousand vertices before any
// polygon exists. A gap filled in the data set's own colour simply joins the runs on both sides
// into one polygon; a gap of another colour is a quadrilateral of its own between the runs, and
// a transparent gap leaves the runs apart. Every polygon is clipped to the plot before drawing.
//
// 3D. Unstacked areas share the layer's depth like line ribbons: each stands on its own plane,
// further back for later data sets, and is painted from the back. A stack stands on one plane
// with the whole depth and is painted from its bottom up, so each area's front face hides the
// part of the roof below it. Each area gets a roof of ribbons along its top edge (darker where
// the viewer sees their underside), a wall at the right end of every run, and its front face.
//
// Labels sit in the middle of their area's thickness and are left out where the area is thinner
// than the minimum label size; stack totals sit above the stack's top. Hot spots are computed when
// asked: the slice of an area from halfway to the previous x to halfway to the next.
#include <plotvane/arealayer.h>
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/box_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/lineobj_p.h"
#include "chart/xy/xychart_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

AreaLayer::~AreaLayer() = default;

namespace {

// Frame pixels far beyond the plot are pulled in, so an absurd value cannot turn a polygon into
// numbers the clipper loses precision on; the clip hides the difference.
constexpr double kFarPixel = 1e7;

// A sink for the range feed that keeps the points, each pixel column thinned as the edge streams
// through it, so a long series never stands in memory as points.
struct Edge {
    std::vector<LinePoint> points;
    ColumnBuffer column;
    bool broken = false;

    void push(const LinePoint& p) {
        long long c = pixelColumn(p.x);
        if (!column.empty() && (c != column.column() || broken)) finish();
        column.add(p, c);
        // A point held back by the range feed may come with its break already set.
        broken = p.breakAfter;
    }
    void breakLast() {
        column.breakLast();
        broken = true;
    }
    void finish() {
        column.flush([this](const LinePoint& p) { points.push_back(p); });
    }
};

// The bounds [begin, end) of the unbroken runs of an edge.
std::vector<std::pair<size_t, size_t>> runsOf(const std::vector<LinePoint>& e) {
    std::vector<std::pair<size_t, size_t>> runs;
    size_t start = 0;
    for (size_t k = 0; k < e.size(); ++k)
        if (e[k].breakAfter || k + 1 == e.size()) {
            runs.emplace_back(start, k + 1);
            start = k + 1;
        }
    return runs;
}

}  // namespace

class AreaLayerImpl final : public AreaLayer, public virtual LayerImpl {
public:
    AreaLayerImpl() { LayerImpl::setBorderColor(Chart::Transparent, 0); }

    void setMinLabelSize(int s) override { minLabelSize_ = s; }
    void setGapColor(int fillColor) override { gapColor_ = fillColor; }

    double getMinY(const AxisImpl* axis) override {
        return stacked() ? stackExtreme(axis, false) : LayerImpl::getMinY(axis);
    }
    double getMaxY(const AxisImpl* axis) override {
        return stacked() ? stackExtreme(axis, true) : LayerImpl::getMaxY(axis);
    }
    void hotSpot(int ds, int item, std::vector<int>& xy) override;
    void paint(DrawArea* d) override;

protected:
    LabelSpot dataLabelSpot(int ds, int i, int wanted, int width, int height) override;
    LabelSpot aggregateLabelSpot(int ds, int i, int wanted, int width, int height) override;
    bool labelShown(int ds, int i) override;

private:
    // Where an area is at one item, in values: it breaks there when not present.
    struct Levels {
        double bottom = 0;
        double top = 0;
        bool present = false;
    };
    // An area as frame pixels: top and bottom edges with the same x and the same breaks.
    struct Outline {
        Edge top;
        Edge bottom;
    };

    bool stacked() const {
        return combineMethod() == Chart::Percentage || (combineMethod() == Chart::Stack && dataSetCount() >= 2);
    }
    // What the levels of one data set are placed with: its group, its base pixel and its axes.
    struct Place {
        std::pair<int, int> group;
        double base;
        PixelMap toX;
        PixelMap toY;
    };
    Place placeOf(int ds) const;
    Levels levels(int ds, int i, std::pair<int, int> group) const;
    double stackExtreme(const AxisImpl* axis, bool highest);
    // The base line's frame pixel on the data set's axis, kept inside the plot.
    double basePixel(const DataSetImpl& set) const;
    // levels() as frame pixels; false where the area breaks.
    bool pixelLevels(int ds, int i, const Place& place, double& x, double& top, double& bottom) const;
    Outline outline(int ds);
    // The screen offset of data set ds's plane and the depth of its roof.
    void plane(int ds, int& sx, int& sy, int& depthX, int& depthY) const;
    void paintArea(DrawArea* d, int ds);
    // Clips the polygon to the plot and fills it on the plane at (sx, sy).
    void fillPolygon(DrawArea* d, std::vector<LinePoint>& polygon, int sx, int sy, int edge, int color);
    // Ribbons along a top edge, darker where their underside shows.
    void roof(DrawArea* d, const std::vector<LinePoint>& top, int sx, int sy, int depthX, int depthY,
              const DataSetImpl& set, int fillColor);
    // The side wall at the right end of a run.
    void endWall(DrawArea* d, const LinePoint& top, const LinePoint& bottom, int sx, int sy, int depthX, int depthY,
                 const DataSetImpl& set);
    void toScreen(const LinePoint& p, int sx, int sy, double& x, double& y) const;

    int minLabelSize_ = -1;
    int gapColor_ = Chart::SameAsMainColor;
};

AreaLayerImpl::Place AreaLayerImpl::placeOf(int ds) const {
    const DataSetImpl& set = dataSet(ds);
    return {groupRange(set.group()), basePixel(set), xPixelMap(), yPixelMap(set.axis())};
}

AreaLayerImpl::Levels AreaLayerImpl::levels(int ds, int i, std::pair<int, int> g) const {
    Levels l;
    const DataSetImpl& set = dataSet(ds);
    if (xValue(i) == Chart::NoValue) return l;
    double base = baseLine();
    if (!stacked()) {
        double v = set.valueAt(i);
        if (v == Chart::NoValue) return l;
        return {base, v, true};
    }
    bool percentage = combineMethod() == Chart::Percentage;
    // The running level before and after the data set; undefined (false) until a value comes.
    bool any = false, definedBefore = false, definedAfter = false;
    double running = 0, before = 0;
    for (int k = g.first; k < g.second; ++k) {
        double v = dataSet(k).valueAt(i);
        if (v == Chart::NoValue) continue;
        any = true;
        if (k > ds) break;
        if (k == ds) {
            definedBefore = definedAfter;
            before = running;
        }
        double a = percentage ? std::fabs(v) : v;
        running = definedAfter ? running + a : a;
        definedAfter = true;
    }
    if (!any) return l;
    if (set.valueAt(i) == Chart::NoValue) {
        definedBefore = definedAfter;
        before = running;
    }
    if (!percentage) return {definedBefore ? before : base, definedAfter ? running : base, true};
    double total = getAccValue(g.first, g.second, i);
    if (total > 0)
        return {definedBefore ? 100 * before / total : base, definedAfter ? 100 * running / total : base, true};
    // Only zeros: the k-th of m zeros reaches 100 k / m.
    int m = countAllZero(g.first, g.second, i);
    int below = m - countAllZero(ds, g.second, i), upTo = m - countAllZero(ds + 1, g.second, i);
    return {below > 0 ? 100.0 * below / m : base, upTo > 0 ? 100.0 * upTo / m : base, true};
}

double AreaLayerImpl::stackExtreme(const AxisImpl* axis, bool highest) {
    double best = Chart::NoValue;
    auto take = [&](double v) {
        if (best == Chart::NoValue || (highest ? v > best : v < best)) best = v;
    };
    for (int ds = 0; ds < dataSetCount(); ++ds) {
        if (dataSet(ds).axis() != axis) continue;
        std::pair<int, int> g = groupRange(dataSet(ds).group());
        for (int i = 0; i < dataSet(ds).size(); ++i) {
            Levels l = levels(ds, i, g);
            if (!l.present) continue;
            take(l.top);
            take(l.bottom);
        }
    }
    return best;
}

double AreaLayerImpl::basePixel(const DataSetImpl& set) const {
    const AxisImpl* axis = set.axis();
    double p = pixelY(baseLine(), axis);
    // A base the axis cannot place (0 on a log axis) sits at the axis's low end.
    if (p == Chart::NoValue) p = pixelY(axis->scale().getMinValue(), axis);
    if (p == Chart::NoValue || !std::isfinite(p)) p = isSwapped() ? frameY() : frameY() + frameHeight();
    return std::clamp(p, static_cast<double>(frameY()), static_cast<double>(frameY() + frameHeight()));
}

bool AreaLayerImpl::pixelLevels(int ds, int i, const Place& place, double& x, double& top, double& bottom) const {
    Levels l = levels(ds, i, place.group);
    if (!l.present) return false;
    // Whatever stands at the base line stands where the base is drawn.
    auto level = [&](double v) {
        double p = v == baseLine() ? place.base : place.toY(v);
        return p == Chart::NoValue || !std::isfinite(p) ? Chart::NoValue
                                                         : std::clamp(p, frameY() - kFarPixel, frameY() + kFarPixel);
    };
    x = place.toX(xValue(i));
    top = level(l.top);
    bottom = level(l.bottom);
    return x != Chart::NoValue && std::isfinite(x) && top != Chart::NoValue && bottom != Chart::NoValue;
}

AreaLayerImpl::Outline AreaLayerImpl::outline(int ds) {
    Outline o;
    double lo = frameX(), hi = frameX() + frameWidth();
    RangeFeed<Edge> top(o.top, lo, hi), bottom(o.bottom, lo, hi);
    const DataSetImpl& set = dataSet(ds);
    Place place = placeOf(ds);
    if (stacked()) {
        for (int i = 0; i < maxDataLength(); ++i) {
            double x, t, b;
            if (!pixelLevels(ds, i, place, x, t, b)) x = t = b = Chart::NoValue;
            top.add(x, t);
            bottom.add(x, b);
        }
        o.top.finish();
        o.bottom.finish();
        return o;
    }
    // On its own an area stands on the straight base line, which needs only the ends of each run:
    // the common case of a long series, kept free of the level bookkeeping.
    const std::vector<double>& values = set.values();
    for (int i = 0; i < set.size(); ++i) {
        double v = values[static_cast<size_t>(i)];
        double t = v == Chart::NoValue ? v : place.toY(v);
        double clamped = t == Chart::NoValue ? t : std::clamp(t, frameY() - kFarPixel, frameY() + kFarPixel);
        top.add(place.toX(xValue(i)), clamped);
    }
    o.top.finish();
    for (std::pair<size_t, size_t> run : runsOf(o.top.points)) {
        const LinePoint& last = o.top.points[run.second - 1];
        o.bottom.points.push_back({o.top.points[run.first].x, place.base, false});
        if (run.second - run.first > 1) o.bottom.points.push_back({last.x, place.base, last.breakAfter});
        o.bottom.points.back().breakAfter = last.breakAfter;
    }
    return o;
}

void AreaLayerImpl::plane(int ds, int& sx, int& sy, int& depthX, int& depthY) const {
    if (stacked()) {
        sx = sy = 0;
        depthX = this->depthX();
        depthY = this->depthY();
        return;
    }
    int n = std::max(dataSetCount(), 1);
    depthX = this->depthX() / n;
    depthY = this->depthY() / n;
    sx = depthX * ds;
    sy = -depthY * ds;
}

void AreaLayerImpl::toScreen(const LinePoint& p, int sx, int sy, double& x, double& y) const {
    screenPoint(p.x, p.y, x, y);
    x += sx;
    y += sy;
}

void AreaLayerImpl::paint(DrawArea* d) {
    if (dataSetCount() == 0) return;
    // Stacks from the bottom up, separate areas from the back (the last data set) forward.
    if (stacked())
        for (int ds = 0; ds < dataSetCount(); ++ds) paintArea(d, ds);
    else
        for (int ds = dataSetCount(); ds-- > 0;) paintArea(d, ds);
}

void AreaLayerImpl::paintArea(DrawArea* d, int ds) {
    DataSetImpl& set = dataSet(ds);
    int color = set.dataColor();
    d->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
    Outline o = outline(ds);
    if (o.top.points.size() < 2) return;
    int sx, sy, depthX, depthY;
    plane(ds, sx, sy, depthX, depthY);
    bool depth = depthX > 0 || depthY > 0;
    bool bridged = gapColor_ == Chart::SameAsMainColor || gapColor_ == color;
    // In 3D the faces need edges to tell the roof from the front; without a border of its own an
    // area takes its shadow colour for them.
    int edge = depth && set.edgeColor() == Chart::Transparent ? set.shadowColor() : set.edgeColor();
    std::vector<std::pair<size_t, size_t>> tops = runsOf(o.top.points), bottoms = runsOf(o.bottom.points);
    if (bridged || tops.size() != bottoms.size()) {
        tops = {{0, o.top.points.size()}};
        bottoms = {{0, o.bottom.points.size()}};
    }
    auto slice = [](const Edge& e, std::pair<size_t, size_t> r) {
        return std::vector<LinePoint>(e.points.begin() + static_cast<long>(r.first),
                                      e.points.begin() + static_cast<long>(r.second));
    };
    for (size_t r = 0; r < tops.size(); ++r) {
        std::vector<LinePoint> top = slice(o.top, tops[r]), bottom = slice(o.bottom, bottoms[r]);
        if (depth) {
            roof(d, top, sx, sy, depthX, depthY, set, color);
            endWall(d, top.back(), bottom.back(), sx, sy, depthX, depthY, set);
        }
        std::vector<LinePoint> polygon = top;
        polygon.insert(polygon.end(), bottom.rbegin(), bottom.rend());
        fillPolygon(d, polygon, sx, sy, edge, color);
        if (r + 1 == tops.size() || gapColor_ == Chart::Transparent) continue;
        // The quadrilateral across the gap to the next run.
        LinePoint from = top.back(), to = o.top.points[tops[r + 1].first];
        from.breakAfter = false;
        std::vector<LinePoint> gap = {from, to, o.bottom.points[bottoms[r + 1].first], bottom.back()};
        if (depth) roof(d, {from, to}, sx, sy, depthX, depthY, set, gapColor_);
        fillPolygon(d, gap, sx, sy, edge, gapColor_);
    }
}

void AreaLayerImpl::fillPolygon(DrawArea* d, std::vector<LinePoint>& polygon, int sx, int sy, int edge, int color) {
    clipPolygon(polygon, {static_cast<double>(frameX()), static_cast<double>(frameY()),
                          static_cast<double>(frameX() + frameWidth()), static_cast<double>(frameY() + frameHeight())});
    if (polygon.size() < 3) return;
    std::vector<double> xs(polygon.size()), ys(polygon.size());
    for (size_t k = 0; k < polygon.size(); ++k) toScreen(polygon[k], sx, sy, xs[k], ys[k]);
    int n = static_cast<int>(xs.size());
    d->polygon(DoubleArray(xs.data(), n), DoubleArray(ys.data(), n), edge, color);
}

void AreaLayerImpl::roof(DrawArea* d, const std::vector<LinePoint>& top, int sx, int sy, int depthX, int depthY,
                         const DataSetImpl& set, int fillColor) {
    double lo = frameX(), hi = frameX() + frameWidth();
    bool own = fillColor == set.dataColor();
    for (size_t k = 0; k + 1 < top.size(); ++k) {
        const LinePoint& p = top[k];
        const LinePoint& q = top[k + 1];
        if ((p.x < lo && q.x < lo) || (p.x > hi && q.x > hi)) continue;
        double ax, ay, bx, by;
        toScreen(p, sx, sy, ax, ay);
        toScreen(q, sx, sy, bx, by);
        int x1 = roundPixel(ax), y1 = roundPixel(ay), x2 = roundPixel(bx), y2 = roundPixel(by);
        bool back = ribbonShowsBack(x2 - x1, y2 - y1, depthX, depthY, isSwapped());
        int f = !own ? fillColor : back ? set.shadowColor() : set.dataColor();
        int e = !own ? fillColor
                : set.edgeColor() == Chart::Transparent ? set.shadowColor()
                : back ? set.shadowEdgeColor()
                       : set.edgeColor();
        d->surface(x1, y1, x2, y2, depthX, -depthY, e, f);
    }
}

void AreaLayerImpl::endWall(DrawArea* d, const LinePoint& top, const LinePoint& bottom, int sx, int sy, int depthX,
                            int depthY, const DataSetImpl& set) {
    if (top.x < frameX() || top.x > frameX() + frameWidth()) return;
    double ax, ay, bx, by;
    toScreen(top, sx, sy, ax, ay);
    toScreen(bottom, sx, sy, bx, by);
    d->surface(roundPixel(ax), roundPixel(ay), roundPixel(bx), roundPixel(by), depthX, -depthY,
               set.shadowEdgeColor(), set.shadowColor());
}

bool AreaLayerImpl::labelShown(int ds, int i) {
    double x, top, bottom;
    if (!pixelLevels(ds, i, placeOf(ds), x, top, bottom)) return false;
    return std::fabs(top - bottom) >= minLabelSize_;
}

LabelSpot AreaLayerImpl::dataLabelSpot(int ds, int i, int wanted, int width, int height) {
    double x = 0, top = 0, bottom = 0;
    pixelLevels(ds, i, placeOf(ds), x, top, bottom);
    int sx, sy, depthX, depthY;
    plane(ds, sx, sy, depthX, depthY);
    double px, py;
    toScreen({x, (top + bottom) / 2, false}, sx, sy, px, py);
    LabelSpot spot{roundPixel(px), roundPixel(py), wanted ? wanted : Chart::Center};
    if (wanted) return spot;
    // A label at the first or last x would hang out of the plot: it turns inward.
    int extent = isSwapped() ? height : width;
    double along = isSwapped() ? spot.y : spot.x;
    if (along - extent / 2.0 < frameX())
        spot.alignment = isSwapped() ? Chart::TopCenter : Chart::Left;
    else if (along + extent / 2.0 > frameX() + frameWidth())
        spot.alignment = isSwapped() ? Chart::BottomCenter : Chart::Right;
    return spot;
}

LabelSpot AreaLayerImpl::aggregateLabelSpot(int ds, int i, int wanted, int, int) {
    // The stack's top is its group's last data set, whichever reaches furthest.
    int last = groupRange(dataSet(ds).group()).second - 1;
    double x = 0, top = 0, bottom = 0;
    pixelLevels(last, i, placeOf(last), x, top, bottom);
    int sx, sy, depthX, depthY;
    plane(last, sx, sy, depthX, depthY);
    double px, py;
    toScreen({x, top, false}, sx, sy, px, py);
    int above = isSwapped() ? Chart::Left : Chart::BottomCenter;
    return {roundPixel(px), roundPixel(py), wanted ? wanted : above};
}

void AreaLayerImpl::hotSpot(int dataSet, int dataItem, std::vector<int>& xy) {
    xy.clear();
    if (dataSet < 0 || dataSet >= dataSetCount() || dataItem == Chart::NoIntValue) return;
    double x, top, bottom;
    if (!pixelLevels(dataSet, dataItem, placeOf(dataSet), x, top, bottom)) return;
    // Halfway to each neighbour that has a place, else the point's own x.
    auto halfway = [&](int j) {
        double nx = j >= 0 ? pixelX(xValue(j)) : Chart::NoValue;
        return nx == Chart::NoValue || !std::isfinite(nx) ? x : (x + nx) / 2;
    };
    double left = halfway(dataItem - 1), right = halfway(dataItem + 1);
    int sx, sy, depthX, depthY;
    plane(dataSet, sx, sy, depthX, depthY);
    for (LinePoint p : {LinePoint{left, top, false}, LinePoint{right, top, false}, LinePoint{right, bottom, false},
                        LinePoint{left, bottom, false}}) {
        double px, py;
        toScreen(p, sx, sy, px, py);
        xy.push_back(roundPixel(px));
        xy.push_back(roundPixel(py));
    }
}

AreaLayer* XYChartImpl::addAreaLayer(int dataCombineMethod, int depth) {
    auto* layer = new AreaLayerImpl();
    addLayer(layer);
    layer->setDataCombineMethod(dataCombineMethod);
    if (depth != 0) layer->set3D(depth, 0);
    return layer;
}

AreaLayer* XYChartImpl::addAreaLayer(DoubleArray data, int color, const char* name, int depth) {
    AreaLayer* layer = addAreaLayer(Chart::Overlay, depth);
    layer->addDataSet(data, color, name);
    return layer;
}

}  // namespace plotvane

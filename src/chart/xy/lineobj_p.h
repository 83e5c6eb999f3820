#ifndef PLOTVANE_CHART_XY_LINEOBJ_P_H
#define PLOTVANE_CHART_XY_LINEOBJ_P_H

// Line objects: the points of one data set in the layer's frame (pixels along the x axis and the
// y axis), each flagged when a missing value follows it, and the path that is drawn through them.
// The plain MultiLine draws its points as they are; CardinalSpline and StepLine build a path of
// their own at layout.

#include <plotvane/constants.h>
#include <plotvane/linelayer.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace plotvane {

struct LinePoint {
    double x;
    double y;
    bool breakAfter;  // the segment to the next point bridges a missing value
};

// A rectangle of the layer's frame.
struct FrameBox {
    double left;
    double top;
    double right;
    double bottom;
    bool contains(const LinePoint& p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

// The column a frame x falls in; far values share the outermost columns. Runs for every point
// drawn, so the floor is taken from the truncation rather than a library call.
inline long long pixelColumn(double x) {
    double c = std::clamp(x, -1e15, 1e15);
    long long t = static_cast<long long>(c);
    return t > c ? t - 1 : t;
}

// One pixel column of a run of points as they stream in: up to four points as they came, beyond
// that the first, the lowest, the highest and the last, in their order. What is kept covers the
// same pixels as all of them, so a run costs what its columns cost.
class ColumnBuffer {
public:
    bool empty() const { return count_ == 0; }
    long long column() const { return column_; }
    void clear() { count_ = 0; }
    // Adds p, which lies in `column`. Inline: it runs for every point of a long series.
    void add(const LinePoint& p, long long column) {
        if (count_ == 0) column_ = column;
        if (count_ < 4) points_[count_] = p;
        if (count_ == 0 || p.y < lo_.y) {
            lo_ = p;
            loAt_ = count_;
        }
        if (count_ == 0 || p.y > hi_.y) {
            hi_ = p;
            hiAt_ = count_;
        }
        ++count_;
        if (count_ > 4) points_[3] = p;
    }
    // Marks the point added last as followed by a missing value.
    void breakLast() {
        points_[std::min(count_, 4LL) - 1].breakAfter = true;
        if (loAt_ == count_ - 1) lo_.breakAfter = true;
        if (hiAt_ == count_ - 1) hi_.breakAfter = true;
    }
    // Hands the kept points to `emit` in their order and empties the column.
    template <class Emit>
    void flush(Emit emit) {
        if (count_ <= 4) {
            for (int k = 0; k < count_; ++k) emit(points_[k]);
        } else {
            bool loFirst = loAt_ <= hiAt_;
            const LinePoint* kept[4] = {&points_[0], loFirst ? &lo_ : &hi_, loFirst ? &hi_ : &lo_, &points_[3]};
            long long at[4] = {0, std::min(loAt_, hiAt_), std::max(loAt_, hiAt_), count_ - 1};
            for (int k = 0; k < 4; ++k)
                if (k == 0 || at[k] != at[k - 1]) emit(*kept[k]);
        }
        count_ = 0;
    }

private:
    long long column_ = 0;
    long long count_ = 0;
    LinePoint points_[4];
    LinePoint lo_{0, 0, false}, hi_{0, 0, false};
    long long loAt_ = 0, hiAt_ = 0;
};

// Whether the viewer sees the underside of a ribbon that extrudes the screen segment (dx, dy) by
// (depthX, -depthY): its back edge shows above (left of, when swapped) its front edge otherwise.
inline bool ribbonShowsBack(long long dx, long long dy, int depthX, int depthY, bool swapped) {
    long long facing = (dy * depthX + dx * depthY) * ((swapped ? dy : dx) < 0 ? -1 : 1);
    return swapped ? facing > 0 : facing < 0;
}

// Clips a closed polygon of frame points to the box, one side at a time (Sutherland-Hodgman);
// what is left may be empty.
void clipPolygon(std::vector<LinePoint>& polygon, const FrameBox& box);

// Reduces every run of more than four points within one pixel column to its first point, its
// lowest and highest points and its last point, in their order. The line drawn through what is
// left covers the same pixels, so long runs of tiny segments cost as much as the columns they
// cross. A run never spans a break. Points before `from` are left as they are.
void thinColumns(std::vector<LinePoint>& points, size_t from = 0);

class MultiLine : public LineObj {
public:
    MultiLine() = default;
    ~MultiLine() override;
    MultiLine(const MultiLine&) = delete;
    MultiLine& operator=(const MultiLine&) = delete;

    // Appends a point; a missing coordinate (Chart::NoValue) breaks the line after the last point.
    void setData(double x, double y);
    // The same as a point sink: push appends, breakLast marks the last point.
    void push(const LinePoint& p) { points_.push_back(p); }
    void breakLast() { points_.back().breakAfter = true; }
    std::vector<LinePoint>& points() { return points_; }
    // A line that is drawn straight from its data keeps no points; `fill` makes them when they
    // are first asked for (getY).
    void setSource(std::function<void(MultiLine&)> fill) { source_ = std::move(fill); }
    bool isStreamed() const { return static_cast<bool>(source_); }
    // Whether the line draws a path of its own rather than its points.
    virtual bool hasOwnPath() const { return false; }
    // The line is drawn at its points less (dx, dy); `view` is the visible part of the frame, so
    // path builders may skip what cannot show.
    void layout(double dx, double dy, const FrameBox& view);
    double dx() const { return dx_; }
    double dy() const { return dy_; }
    const std::vector<LinePoint>& path() const { return ownPath_ ? path_ : points_; }

    double getY(double x) override;
    bool isGap() const override { return gap_; }

protected:
    // Fills `path` and returns true, or returns false to draw the points as they are.
    virtual bool buildPath(const FrameBox& view, std::vector<LinePoint>& path);

    std::vector<LinePoint> points_;

private:
    std::vector<LinePoint> path_;
    bool ownPath_ = false;
    std::function<void(MultiLine&)> source_;
    bool filled_ = false;
    double dx_ = 0;
    double dy_ = 0;
    bool gap_ = false;
};

// Feeds points into a sink (a line, or a pen that draws them at once: anything with
// push(LinePoint) and breakLast()), dropping those beyond a range of x whose segments on both
// sides stay beyond it; the point just past each edge is kept, so the line still runs out of the
// range.
template <class Sink>
class RangeFeed {
public:
    RangeFeed(Sink& sink, double lo, double hi) : sink_(sink), lo_(lo), hi_(hi) {}
    // A missing coordinate is a break. Inline: it runs once for every point of a series.
    void add(double x, double y);

private:
    int side(double x) const { return x < lo_ ? -1 : x > hi_ ? 1 : 0; }

    Sink& sink_;
    double lo_;
    double hi_;
    LinePoint held_{0, 0, false};
    int heldSide_ = 0;
    bool hasHeld_ = false;
    bool heldOut_ = false;  // held_ is already in the line
};

template <class Sink>
inline void RangeFeed<Sink>::add(double x, double y) {
    if (x == Chart::NoValue || y == Chart::NoValue || !std::isfinite(x) || !std::isfinite(y)) {
        if (!hasHeld_) return;
        if (heldOut_)
            sink_.breakLast();
        else
            held_.breakAfter = true;
        return;
    }
    int s = side(x);
    bool visible = s == 0 || (hasHeld_ && s != heldSide_);
    if (visible) {
        if (hasHeld_ && !heldOut_) sink_.push(held_);
        sink_.push({x, y, false});
    }
    held_ = {x, y, false};
    heldSide_ = s;
    hasHeld_ = true;
    heldOut_ = visible;
}

}  // namespace plotvane

#endif

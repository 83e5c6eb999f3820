// The last steps before a line reaches the drawing area.
//
// Each segment is clipped to the box (Liang-Barsky: the parameter range of the segment inside
// each of the four slabs), so a line that wanders far off the plot costs nothing beyond its
// crossing points. Clipped pieces that join end to start and share a style form one run. A run
// streams through a one-column buffer: a column that receives more than four points keeps only
// its first, lowest, highest and last, which cover the same pixels, so a million points over 800
// columns reach the drawing area as a few thousand, without the run ever being stored. Points
// go out through lineTo; runs that join (a line, then its gap segment in another colour) continue
// the same pen, so the recorder keeps a whole line as one record. Points that stay inside the box
// in the line's own style skip clipping and joining, which would change nothing for them.
#include "chart/xy/linepen_p.h"

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include <algorithm>

namespace plotvane {

namespace {

bool inside(const FrameBox& box, const LinePoint& p) {
    return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
}

// Clips the segment a-b to the box; false when nothing of it is inside.
bool clipSegment(const FrameBox& box, LinePoint& a, LinePoint& b) {
    if (inside(box, a) && inside(box, b)) return true;
    double t0 = 0, t1 = 1;
    double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        double r = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    LinePoint start = a;
    if (t1 < 1) b = {start.x + t1 * dx, start.y + t1 * dy, false};
    if (t0 > 0) a = {start.x + t0 * dx, start.y + t0 * dy, false};
    return true;
}

}  // namespace

void LinePen::draw(const std::vector<LinePoint>& path, LineStyle line, LineStyle gap) {
    d_->initLineTo();
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const LineStyle& style = path[i].breakAfter ? gap : line;
        if (style.width < 1 || style.color == Chart::Transparent) {
            endRun();
            continue;
        }
        LinePoint a{path[i].x - dx_, path[i].y - dy_, false};
        LinePoint b{path[i + 1].x - dx_, path[i + 1].y - dy_, false};
        if (!clipSegment(clip_, a, b)) {
            endRun();
            continue;
        }
        bool joins = inRun_ && end_.x == a.x && end_.y == a.y && style_.color == style.color &&
                     style_.width == style.width;
        if (!joins) {
            endRun();
            start(a, style);
        }
        add(b);
        // While the line stays inside the box in its own style, clipping and joining change
        // nothing: the points go straight into the run.
        bool clipped = b.x != path[i + 1].x - dx_ || b.y != path[i + 1].y - dy_;
        if (clipped || !inside(clip_, b) || style_.color != line.color || style_.width != line.width) continue;
        while (i + 2 < path.size() && !path[i + 1].breakAfter) {
            LinePoint next{path[i + 2].x - dx_, path[i + 2].y - dy_, false};
            if (!inside(clip_, next)) break;
            add(next);
            ++i;
        }
    }
    endRun();
    d_->initLineTo();
}

void LinePen::start(const LinePoint& p, LineStyle style) {
    // The first point only moves the pen; a run that joins the last one starts where it ended,
    // so the recorder carries on with the same polyline.
    hasPen_ = false;
    inRun_ = true;
    style_ = style;
    col_.count = 0;
    add(p);
}

void LinePen::add(const LinePoint& p) {
    long long column = pixelColumn(p.x);
    if (col_.count > 0 && column != col_.column) emitColumn();
    Column& c = col_;
    if (c.count == 0) c.column = column;
    if (c.count < 4) c.points[c.count] = p;
    if (c.count == 0 || p.y < c.lo.y) {
        c.lo = p;
        c.loAt = c.count;
    }
    if (c.count == 0 || p.y > c.hi.y) {
        c.hi = p;
        c.hiAt = c.count;
    }
    ++c.count;
    c.points[3] = c.count > 4 ? p : c.points[3];
    end_ = p;
}

void LinePen::emitColumn() {
    Column& c = col_;
    if (c.count <= 4) {
        for (int k = 0; k < c.count; ++k) emit(c.points[k]);
    } else {
        // First, then the extremes in the order they came, then the last (points[3] holds it).
        bool loFirst = c.loAt <= c.hiAt;
        const LinePoint* kept[4] = {&c.points[0], loFirst ? &c.lo : &c.hi, loFirst ? &c.hi : &c.lo, &c.points[3]};
        long long at[4] = {0, std::min(c.loAt, c.hiAt), std::max(c.loAt, c.hiAt), c.count - 1};
        for (int k = 0; k < 4; ++k)
            if (k == 0 || at[k] != at[k - 1]) emit(*kept[k]);
    }
    c.count = 0;
}

void LinePen::emit(const LinePoint& p) {
    double x = swapped_ ? p.y : p.x, y = swapped_ ? p.x : p.y;
    if (hasPen_) d_->lineTo(penX_, penY_, x, y, style_.color, style_.width);
    penX_ = x;
    penY_ = y;
    hasPen_ = true;
}

void LinePen::endRun() {
    if (!inRun_) return;
    emitColumn();
    inRun_ = false;
}

}  // namespace plotvane

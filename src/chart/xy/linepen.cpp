// The last steps before a line reaches the drawing area.
//
// Each segment is clipped to the box (Liang-Barsky: the parameter range of the segment inside
// each of the four slabs), so a line that wanders far off the plot costs nothing beyond its
// crossing points. Clipped pieces that join end to start and share a style form one run. A run
// streams through a one-column buffer: a column that receives more than four points keeps only
// its first, lowest, highest and last, which cover the same pixels, so a million points over 800
// columns reach the drawing area as a few thousand, without the run ever being stored. Points
// go out through lineTo; runs that join (a line, then its gap segment in another colour) continue
// the same pen, so the recorder keeps a whole line as one record. The pen takes points one at a
// time, so a long plain line goes from its data to the drawing area without ever being stored.
#include "chart/xy/linepen_p.h"

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include <algorithm>

namespace plotvane {

bool clipSegment(const FrameBox& box, LinePoint& a, LinePoint& b) {
    if (box.contains(a) && box.contains(b)) return true;
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

LinePen::LinePen(DrawArea* d, const FrameBox& clip, bool swapped, double dx, double dy, LineStyle line,
                 LineStyle gap)
    : d_(d), clip_(clip), swapped_(swapped), dx_(dx), dy_(dy), line_(line), gap_(gap) {
    d_->initLineTo();
}

void LinePen::draw(const std::vector<LinePoint>& path) {
    for (const LinePoint& p : path) push(p);
    finish();
}

void LinePen::finish() {
    endRun();
    hasLast_ = false;
    flowing_ = false;
    d_->initLineTo();
}

void LinePen::segment(const LinePoint& from, const LinePoint& to) {
    flowing_ = false;
    const LineStyle& style = from.breakAfter ? gap_ : line_;
    if (style.width < 1 || style.color == Chart::Transparent) {
        endRun();
        return;
    }
    LinePoint a{from.x - dx_, from.y - dy_, false};
    LinePoint b{to.x - dx_, to.y - dy_, false};
    if (!clipSegment(clip_, a, b)) {
        endRun();
        return;
    }
    bool joins = inRun_ && end_.x == a.x && end_.y == a.y && style_.color == style.color &&
                 style_.width == style.width;
    if (!joins) {
        endRun();
        start(a, style);
    }
    add(b);
    bool clipped = b.x != to.x - dx_ || b.y != to.y - dy_;
    flowing_ = !clipped && clip_.contains(b) && style_.color == line_.color && style_.width == line_.width;
}

void LinePen::start(const LinePoint& p, LineStyle style) {
    // The first point only moves the pen; a run that joins the last one starts where it ended,
    // so the recorder carries on with the same polyline.
    hasPen_ = false;
    inRun_ = true;
    style_ = style;
    col_.clear();
    add(p);
}

void LinePen::emitColumn() {
    col_.flush([this](const LinePoint& p) { emit(p); });
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

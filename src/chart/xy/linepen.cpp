// The last steps before a line reaches the drawing area.
//
// Each segment is clipped to the box (Liang-Barsky: the parameter range of the segment inside
// each of the four slabs), so a line that wanders far off the plot costs nothing beyond its
// crossing points. Clipped pieces that join end to start and share a style are collected into
// one run; a run is thinned per pixel column and handed to the drawing area through lineTo. Runs
// that join (a line, then its gap segment in another colour) continue the same pen, so the
// recorder keeps a whole line as one record.
#include "chart/xy/linepen_p.h"

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include <algorithm>

namespace plotvane {

namespace {

// Clips the segment a-b to the box; false when nothing of it is inside.
bool clipSegment(const FrameBox& box, LinePoint& a, LinePoint& b) {
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
            flush();
            continue;
        }
        LinePoint a{path[i].x - dx_, path[i].y - dy_, false};
        LinePoint b{path[i + 1].x - dx_, path[i + 1].y - dy_, false};
        if (!clipSegment(clip_, a, b)) {
            flush();
            continue;
        }
        bool joins = !run_.empty() && run_.back().x == a.x && run_.back().y == a.y && runStyle_.color == style.color &&
                     runStyle_.width == style.width;
        if (!joins) {
            flush();
            runStyle_ = style;
            run_.push_back(a);
        }
        run_.push_back(b);
    }
    flush();
    d_->initLineTo();
}

void LinePen::flush() {
    if (run_.size() >= 2) {
        thinColumns(run_);
        auto screen = [this](const LinePoint& p, double& x, double& y) {
            x = swapped_ ? p.y : p.x;
            y = swapped_ ? p.x : p.y;
        };
        double x1, y1, x2, y2;
        screen(run_[0], x1, y1);
        for (size_t k = 1; k < run_.size(); ++k) {
            screen(run_[k], x2, y2);
            d_->lineTo(x1, y1, x2, y2, runStyle_.color, runStyle_.width);
            x1 = x2;
            y1 = y2;
        }
    }
    run_.clear();
}

}  // namespace plotvane

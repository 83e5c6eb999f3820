#ifndef PLOTVANE_CHART_XY_LINEPEN_P_H
#define PLOTVANE_CHART_XY_LINEPEN_P_H

// Draws the path of a line object, or points as they are made, onto a drawing area: clipped to a
// box of the layer's frame, thinned per pixel column as it streams through, turned into screen
// points, and emitted as polylines.

#include <vector>

#include "chart/xy/lineobj_p.h"

namespace plotvane {

class DrawArea;

// Clips the segment a-b to the box; false when nothing of it is inside.
bool clipSegment(const FrameBox& box, LinePoint& a, LinePoint& b);

struct LineStyle {
    int color;
    int width;  // below 1: not drawn
};

class LinePen {
public:
    // Frame points map to the screen exchanged when `swapped`, after subtracting (dx, dy).
    // Segments after a break point take the gap style, the others the line style. The pen starts
    // a new polyline on the drawing area.
    LinePen(DrawArea* d, const FrameBox& clip, bool swapped, double dx, double dy, LineStyle line, LineStyle gap);
    // A whole path, then finish().
    void draw(const std::vector<LinePoint>& path);
    // Points one by one (a RangeFeed sink): breakLast marks the point pushed last as followed by
    // a missing value. finish() draws what is still held and ends the polyline.
    void push(const LinePoint& p);
    void breakLast() { last_.breakAfter = true; }
    void finish();

private:
    void segment(const LinePoint& from, const LinePoint& to);
    void start(const LinePoint& p, LineStyle style);
    void add(const LinePoint& p);
    void emitColumn();
    void emit(const LinePoint& p);
    void endRun();

    DrawArea* d_;
    FrameBox clip_;
    bool swapped_;
    double dx_;
    double dy_;
    LineStyle line_;
    LineStyle gap_;
    LinePoint last_{0, 0, false};  // the point pushed last, which the next one joins
    bool hasLast_ = false;
    // The run goes on from last_, unclipped and inside the box, in the line's own style.
    bool flowing_ = false;
    bool inRun_ = false;
    LineStyle style_{0, 0};
    LinePoint end_{0, 0, false};  // the run's last point, where the next piece must start to join
    ColumnBuffer col_;
    bool hasPen_ = false;
    double penX_ = 0;
    double penY_ = 0;
};

// Inline, with push, as they run for every point of a long line.
inline void LinePen::add(const LinePoint& p) {
    long long column = pixelColumn(p.x);
    if (!col_.empty() && column != col_.column()) emitColumn();
    col_.add(p, column);
    end_ = p;
}

inline void LinePen::push(const LinePoint& p) {
    LinePoint b{p.x - dx_, p.y - dy_, false};
    // A run going on inside the box in the line's own style: clipping and joining would change
    // nothing, so the point goes straight in.
    if (flowing_ && !last_.breakAfter && clip_.contains(b))
        add(b);
    else if (hasLast_)
        segment(last_, p);
    last_ = p;
    hasLast_ = true;
}

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_XY_LINEPEN_P_H
#define PLOTVANE_CHART_XY_LINEPEN_P_H

// Draws the path of a line object onto a drawing area: clipped to a box of the layer's frame,
// thinned per pixel column as it streams through, turned into screen points, and emitted as
// polylines.

#include <vector>

#include "chart/xy/lineobj_p.h"

namespace plotvane {

class DrawArea;

struct LineStyle {
    int color;
    int width;  // below 1: not drawn
};

class LinePen {
public:
    // Frame points map to the screen exchanged when `swapped`, after subtracting (dx, dy).
    LinePen(DrawArea* d, const FrameBox& clip, bool swapped, double dx, double dy)
        : d_(d), clip_(clip), swapped_(swapped), dx_(dx), dy_(dy) {}
    // Segments after a break point take the gap style, the others the line style.
    void draw(const std::vector<LinePoint>& path, LineStyle line, LineStyle gap);

private:
    // One pixel column of the current run: up to four points as they came, beyond that the
    // first, lowest, highest and last (with their order).
    struct Column {
        long long column = 0;
        int count = 0;
        LinePoint points[4];
        LinePoint lo, hi;
        long long loAt = 0, hiAt = 0;
    };

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
    bool inRun_ = false;
    LineStyle style_{0, 0};
    LinePoint end_{0, 0, false};  // the run's last point, where the next piece must start to join
    Column col_;
    bool hasPen_ = false;
    double penX_ = 0;
    double penY_ = 0;
};

}  // namespace plotvane

#endif

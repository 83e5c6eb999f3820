// A free-standing line of a chart.
#include <plotvane/drawarea.h>

#include "chart/drawobj_p.h"

namespace plotvane {

namespace {

class LineImpl final : public Line {
public:
    LineImpl(int x1, int y1, int x2, int y2, int color, int width)
        : x1_(x1), y1_(y1), x2_(x2), y2_(y2), color_(color), width_(width) {}

    void setPos(int x1, int y1, int x2, int y2) override {
        x1_ = x1;
        y1_ = y1;
        x2_ = x2;
        y2_ = y2;
    }
    void setColor(int color) override { color_ = color; }
    void setWidth(int width) override { width_ = width; }
    void paint(DrawArea* d) override {
        if (d) d->line(x1_, y1_, x2_, y2_, color_, width_);
    }

private:
    int x1_, y1_, x2_, y2_;
    int color_;
    int width_;
};

}  // namespace

Line* createLine(int x1, int y1, int x2, int y2, int color, int lineWidth) {
    return new LineImpl(x1, y1, x2, y2, color, lineWidth);
}

}  // namespace plotvane

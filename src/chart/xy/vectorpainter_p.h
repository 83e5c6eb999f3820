#ifndef PLOTVANE_CHART_XY_VECTORPAINTER_P_H
#define PLOTVANE_CHART_XY_VECTORPAINTER_P_H

// The arrows of vector layers, XY and polar alike. Shapes live in the arrow's own frame: u across
// (to the right of an arrow pointing up) and v back along it, with the tip at v = 0 and the start
// at v = length.

#include <plotvane/arrays.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotvane {

class DrawArea;
struct FrameBox;

constexpr double kArrowPi = 3.14159265358979323846;

// An arrow on the screen.
struct Arrow {
    double x = 0, y = 0;  // start
    double length = 0;    // drawn length
    double angle = 0;     // degrees clockwise from up
    // The screen point at (u, v) of the arrow's frame.
    void at(double u, double v, double& sx, double& sy) const {
        double t = angle * kArrowPi / 180, s = std::sin(t), c = std::cos(t);
        double tipX = x + s * length, tipY = y - c * length;
        sx = tipX + u * c - v * s;
        sy = tipY + u * s + v * c;
    }
};

// A polygon in the arrow's frame and its extent along v.
struct ArrowShape {
    std::vector<double> u, v;
    double vMin = 0, vMax = 0;
    bool set(IntArray xy) {
        u.clear();
        v.clear();
        if (xy.len <= 4 || !xy.data) return false;
        for (int k = 0; k + 1 < xy.len; k += 2) {
            u.push_back(xy.data[k]);
            v.push_back(xy.data[k + 1]);
        }
        vMin = *std::min_element(v.begin(), v.end());
        vMax = *std::max_element(v.begin(), v.end());
        return true;
    }
    bool empty() const { return u.empty(); }
};

// The shapes of every arrow of a layer.
class VectorPainter {
public:
    VectorPainter() { setDefaultHead(8, 8); }

    void setHeadSize(int width, int height) {
        headWidth_ = std::clamp(width, 0, 10000);
        headHeight_ = height < 1 ? headWidth_ : std::min(height, 10000);
    }
    void setHead(IntArray polygon) {
        if (head_.set(polygon))
            headWidth_ = headHeight_ = 1;
        else
            setDefaultHead(8, 8);
    }
    void setStem(IntArray polygon) { stem_.set(polygon); }
    // Half the width of an arrow, for hot spots.
    double halfWidth() const {
        double w = 1;
        for (double u : head_.u) w = std::max(w, std::fabs(u) * headWidth_);
        for (double u : stem_.u) w = std::max(w, std::fabs(u));
        return w;
    }
    // Parts of the arrow outside `clip` (screen pixels), when given, are cut away.
    void draw(DrawArea* d, const Arrow& a, int color, int edgeColor, int lineWidth,
              const FrameBox* clip = nullptr) const;

private:
    void setDefaultHead(int width, int height) {
        const int triangle[] = {0, 0, -1, 2, 1, 2};
        head_.set(IntArray(triangle, 6));
        // The triangle spans 2 x 2 units: half units make the size the head's own.
        for (double& u : head_.u) u /= 2;
        for (double& v : head_.v) v /= 2;
        head_.vMax = 1;
        setHeadSize(width, height);
    }

    ArrowShape head_;
    ArrowShape stem_;
    int headWidth_ = 8;
    int headHeight_ = 8;
};

}  // namespace plotvane

#endif

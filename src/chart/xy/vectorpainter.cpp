#include "chart/xy/vectorpainter_p.h"

#include <plotvane/drawarea.h>

#include "chart/xy/linepen_p.h"

namespace plotvane {

void VectorPainter::draw(DrawArea* d, const Arrow& a, int color, int edgeColor, int lineWidth,
                         const FrameBox* clip) const {
    double headLength = std::max(head_.vMax, 0.0) * headHeight_;
    // Too short for its head: the head shrinks to fit.
    double shrink = headLength > a.length && headLength > 0 ? a.length / headLength : 1;
    std::vector<LinePoint> polygon;
    auto emit = [&](int edge) {
        if (clip) clipPolygon(polygon, *clip);
        std::vector<double> xs, ys;
        for (const LinePoint& p : polygon) {
            xs.push_back(p.x);
            ys.push_back(p.y);
        }
        int n = static_cast<int>(xs.size());
        if (n >= 3) d->polygon(DoubleArray(xs.data(), n), DoubleArray(ys.data(), n), edge, color);
        polygon.clear();
    };
    auto point = [&](double u, double v) {
        LinePoint p{0, 0, false};
        a.at(u, v, p.x, p.y);
        polygon.push_back(p);
    };
    double stemFrom = headLength * shrink;
    if (stem_.empty()) {
        if (a.length > stemFrom && lineWidth > 0) {
            LinePoint from{0, 0, false}, to{0, 0, false};
            a.at(0, stemFrom, from.x, from.y);
            a.at(0, a.length, to.x, to.y);
            if (!clip || clipSegment(*clip, from, to)) d->line(from.x, from.y, to.x, to.y, color, lineWidth);
        }
    } else if (a.length > stemFrom) {
        double span = stem_.vMax - stem_.vMin;
        for (size_t k = 0; k < stem_.u.size(); ++k) {
            double t = span > 0 ? (stem_.v[k] - stem_.vMin) / span : 0;
            point(stem_.u[k], stemFrom + t * (a.length - stemFrom));
        }
        emit(edgeColor);
    }
    for (size_t k = 0; k < head_.u.size(); ++k)
        point(head_.u[k] * headWidth_ * shrink, head_.v[k] * headHeight_ * shrink);
    emit(edgeColor);
}

}  // namespace plotvane

#include "chart/xy/vectorpainter_p.h"

#include <plotvane/drawarea.h>

namespace plotvane {

void VectorPainter::draw(DrawArea* d, const Arrow& a, int color, int edgeColor, int lineWidth) const {
    double headLength = std::max(head_.vMax, 0.0) * headHeight_;
    // Too short for its head: the head shrinks to fit.
    double shrink = headLength > a.length && headLength > 0 ? a.length / headLength : 1;
    std::vector<double> xs, ys;
    auto emit = [&](int edge) {
        int n = static_cast<int>(xs.size());
        if (n >= 3) d->polygon(DoubleArray(xs.data(), n), DoubleArray(ys.data(), n), edge, color);
        xs.clear();
        ys.clear();
    };
    auto point = [&](double u, double v) {
        double sx, sy;
        a.at(u, v, sx, sy);
        xs.push_back(sx);
        ys.push_back(sy);
    };
    double stemFrom = headLength * shrink;
    if (stem_.empty()) {
        if (a.length > stemFrom && lineWidth > 0) {
            double x1, y1, x2, y2;
            a.at(0, stemFrom, x1, y1);
            a.at(0, a.length, x2, y2);
            d->line(x1, y1, x2, y2, color, lineWidth);
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

#include "vector/vectorbackend_p.h"

#include <cmath>

namespace plotvane {

void VectorBackend::initLineTo(double x, double y) {
    commitCurrentLine();
    line_.x.assign(1, x);
    line_.y.assign(1, y);
}

void VectorBackend::lineTo(double x, double y, int color, int width) {
    if (line_.x.empty()) {
        line_.x.push_back(x);
        line_.y.push_back(y);
        return;
    }
    if (line_.x.size() > 1 && (color != line_.color || width != line_.width)) {
        // A new style starts a new element at the pen.
        double px = line_.x.back(), py = line_.y.back();
        commitCurrentLine();
        line_.x.assign(1, px);
        line_.y.assign(1, py);
    }
    line_.color = color;
    line_.width = width;
    line_.x.push_back(x);
    line_.y.push_back(y);
}

void VectorBackend::adjustBrightness(int id, int base, double factor) {
    forget(id);
    brushes_.adjustBrightness(id, base, factor);
}

void VectorBackend::transformedColor(int id, int base, const double m[6]) {
    forget(id);
    brushes_.transformed(id, base, m);
}

// The noise of brushed metal has no vector form; the base colour stands for it.
void VectorBackend::brushedTextureColor(int id, int base, int) {
    forget(id);
    brushes_.alias(id, base);
}

void VectorBackend::dashLineColor(int id, int color, int pattern) {
    forget(id);
    brushes_.dashLine(id, color, pattern);
}

void VectorBackend::linearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                                        const std::vector<int>& stops) {
    forget(id);
    brushes_.linearGradient(id, x1, y1, x2, y2, periodic, false, stops);
}

void VectorBackend::radialGradientColor(int id, int cx, int cy, int rx, int ry, bool periodic,
                                        const std::vector<int>& stops) {
    forget(id);
    brushes_.radialGradient(id, cx, cy, rx, ry, periodic, stops);
}

void VectorBackend::angleGradientColor(int id, const double d[6], const std::vector<int>& stops) {
    forget(id);
    brushes_.angleGradient(id, d, stops, pictureWidth(), pictureHeight());
}

void VectorBackend::relativeLinearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                                                const std::vector<int>& stops) {
    forget(id);
    brushes_.linearGradient(id, x1, y1, x2, y2, periodic, true, stops);
}

void VectorBackend::lightingColor(int id, int base, const double d[4], bool periodic,
                                  const std::vector<int>& table) {
    forget(id);
    // Lit along the direction of the angle (y down), 256 table steps spanning 256 * scale pixels.
    double a = d[0] * 3.14159265358979323846 / 180, len = 256 * (d[1] > 0 ? d[1] : 1);
    double g[4] = {d[2], d[3], d[2] + len * std::cos(a), d[3] + len * std::sin(a)};
    brushes_.lighting(id, base, VectorPaint::Linear, g, periodic, false, table);
}

void VectorBackend::linearLightingColor(int id, int base, const double d[4], bool periodic,
                                        const std::vector<int>& table) {
    forget(id);
    brushes_.lighting(id, base, VectorPaint::Linear, d, periodic, false, table);
}

void VectorBackend::radialLightingColor(int id, int base, int cx, int cy, int rx, int ry,
                                        const std::vector<int>& table) {
    forget(id);
    double d[4] = {double(cx), double(cy), double(rx), double(ry)};
    brushes_.lighting(id, base, VectorPaint::Radial, d, false, false, table);
}

void VectorBackend::relativeLinearLightingColor(int id, int base, const double d[4], bool periodic,
                                                const std::vector<int>& table) {
    forget(id);
    brushes_.lighting(id, base, VectorPaint::Linear, d, periodic, true, table);
}

void VectorBackend::patternColor(int id, int width, int height, int startX, int startY,
                                 const std::vector<int>& pixels) {
    forget(id);
    brushes_.pattern(id, width, height, startX, startY, pixels);
}

void VectorBackend::patternColor2(int id, int startX, int startY, const char* fileName) {
    forget(id);
    brushes_.patternFile(id, startX, startY, fileName);
}

void VectorBackend::zoneColor(int id, bool horizontal, int split, int colorA, int colorB) {
    forget(id);
    brushes_.zone(id, horizontal, split, colorA, colorB);
}

}  // namespace plotvane

#include "vector/pdfcontent_p.h"

#include <cmath>

namespace plotvane {

namespace {

// Every shape sets a colour, so the 256 fractions are printed once, each with its blank.
struct ColorFractions {
    std::string text[256];
    ColorFractions() {
        for (int i = 0; i < 256; ++i) {
            appendNumber(text[i], i / 255.0, 4);
            text[i] += ' ';
        }
    }
};

}  // namespace

PDFContent& PDFContent::rgb(unsigned color, const char* op) {
    static const ColorFractions fractions;
    out_ += fractions.text[(color >> 16) & 255];
    out_ += fractions.text[(color >> 8) & 255];
    out_ += fractions.text[color & 255];
    out_ += op;
    return *this;
}

void PDFPathSink::arcTo(double cx, double cy, double rx, double ry, double a0, double a1) {
    constexpr double kRad = 3.14159265358979323846 / 180;
    int pieces = static_cast<int>(std::ceil(std::fabs(a1 - a0) / 90 - 1e-9));
    if (pieces < 1) pieces = 1;
    double step = (a1 - a0) / pieces * kRad;
    // Handle length of a cubic approximating an arc of `step` radians on the unit circle.
    double k = 4.0 / 3.0 * std::tan(step / 4);
    double t = a0 * kRad;
    for (int i = 0; i < pieces; ++i, t += step) {
        double s0 = std::sin(t), c0 = std::cos(t), s1 = std::sin(t + step), c1 = std::cos(t + step);
        // The point at angle a is (cx + rx sin a, cy - ry cos a); its derivative (rx cos a, ry sin a).
        c_.point(cx + rx * (s0 + k * c0), cy - ry * (c0 - k * s0));
        c_.point(cx + rx * (s1 - k * c1), cy - ry * (c1 + k * s1));
        c_.point(cx + rx * s1, cy - ry * c1).op("c ");
    }
}

}  // namespace plotvane

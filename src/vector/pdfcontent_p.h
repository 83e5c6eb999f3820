#ifndef PLOTVANE_VECTOR_PDFCONTENT_P_H
#define PLOTVANE_VECTOR_PDFCONTENT_P_H

// Content-stream operators. A content stream draws in the drawing's pixels with y turned upwards:
// the pixel point (x, y) is written as (x + 0.5, height - y - 0.5), so lines run through pixel
// centres as they do on the raster canvas, and text and images need no mirroring.

#include <string>

#include "vector/vectornum_p.h"
#include "vector/vectorpath_p.h"

namespace plotvane {

// An affine map x' = a x + c y + e, y' = b x + d y + f (PDF matrix order).
struct PDFMatrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    // this after m: first m, then this.
    PDFMatrix operator*(const PDFMatrix& m) const {
        return {a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d, b * m.c + d * m.d, a * m.e + c * m.f + e,
                b * m.e + d * m.f + f};
    }
};

class PDFContent {
public:
    explicit PDFContent(std::string& out, double height = 0) : out_(out), height_(height) {}

    void setHeight(double height) { height_ = height; }
    double height() const { return height_; }
    std::string& out() { return out_; }

    PDFContent& num(double v, int decimals = 3) {
        appendNumber(out_, v, decimals);
        out_ += ' ';
        return *this;
    }
    PDFContent& integer(long long v) {
        appendInt(out_, v);
        out_ += ' ';
        return *this;
    }
    PDFContent& point(double x, double y) { return num(x + 0.5).num(height_ - y - 0.5); }
    PDFContent& op(const char* text) {
        out_ += text;
        return *this;
    }
    PDFContent& matrix(const PDFMatrix& m, const char* op = "cm ") {
        num(m.a, 6).num(m.b, 6).num(m.c, 6).num(m.d, 6).num(m.e).num(m.f);
        out_ += op;
        return *this;
    }
    // /<prefix><number> and the operator, e.g. "/G12 gs ".
    PDFContent& name(const char* prefix, int number, const char* op) {
        out_ += prefix;
        appendInt(out_, number);
        out_ += ' ';
        out_ += op;
        return *this;
    }
    // Three colour fractions and the operator ("rg " or "RG ").
    PDFContent& rgb(unsigned color, const char* op);

private:
    std::string& out_;
    double height_;
};

// Path construction in a content stream; ellipse pieces become cubic Béziers of at most 90 degrees.
class PDFPathSink : public PathSink {
public:
    explicit PDFPathSink(PDFContent& c) : c_(c) {}
    void moveTo(double x, double y) override { c_.point(x, y).op("m "); }
    void lineTo(double x, double y) override { c_.point(x, y).op("l "); }
    void arcTo(double cx, double cy, double rx, double ry, double a0, double a1) override;
    void closePath() override { c_.op("h "); }

private:
    PDFContent& c_;
};

}  // namespace plotvane

#endif

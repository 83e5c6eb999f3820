#include "vector/pdfshading_p.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace plotvane {

namespace {

void appendRGB(std::string& s, uint32_t c) {
    s += '[';
    for (int shift = 16; shift >= 0; shift -= 8) {
        appendNumber(s, ((c >> shift) & 255) / 255.0, 4);
        if (shift) s += ' ';
    }
    s += ']';
}

// One period of the gradient as a function of [0, 1]: linear pieces between the stops, constant
// before the first and after the last.
std::string colorFunction(const std::vector<int>& stops) {
    std::vector<double> t;
    std::vector<uint32_t> c;
    for (size_t i = 0; i + 1 < stops.size(); i += 2) {
        double offset = std::min(1.0, std::max(0.0, stops[i] / 256.0));
        if (!t.empty() && offset <= t.back()) offset = t.back() + 0.001;
        if (offset > 1) break;
        t.push_back(offset);
        c.push_back(static_cast<uint32_t>(stops[i + 1]));
    }
    if (t.front() > 0) t.insert(t.begin(), 0), c.insert(c.begin(), c.front());
    if (t.back() < 1) t.push_back(1), c.push_back(c.back());
    auto piece = [&](size_t k) {
        std::string s = "<</FunctionType 2/Domain[0 1]/C0";
        appendRGB(s, c[k - 1]);
        s += "/C1";
        appendRGB(s, c[k]);
        s += "/N 1>>";
        return s;
    };
    if (t.size() == 2) return piece(1);
    std::string s = "<</FunctionType 3/Domain[0 1]/Functions[", bounds, encode;
    for (size_t k = 1; k < t.size(); ++k) {
        s += piece(k);
        if (k + 1 < t.size()) {
            if (!bounds.empty()) bounds += ' ';
            appendNumber(bounds, t[k], 4);
        }
        encode += k > 1 ? " 0 1" : "0 1";
    }
    return s + "]/Bounds[" + bounds + "]/Encode[" + encode + "]>>";
}

std::string repeated(const std::string& period, int times) {
    if (times <= 1) return period;
    std::string s = "<</FunctionType 3/Domain[0 1]/Functions[", bounds, encode;
    for (int k = 0; k < times; ++k) {
        s += period;
        if (k) encode += ' ';
        encode += "0 1";
        if (k + 1 < times) {
            if (!bounds.empty()) bounds += ' ';
            appendNumber(bounds, double(k + 1) / times, 6, 8);
        }
    }
    return s + "]/Bounds[" + bounds + "]/Encode[" + encode + "]>>";
}

PDFMatrix fromPaint(const double m[6]) { return {m[0], m[3], m[1], m[4], m[2], m[5]}; }

bool invert(const PDFMatrix& m, PDFMatrix& inv) {
    double det = m.a * m.d - m.b * m.c;
    if (std::fabs(det) < 1e-12) return false;
    inv = {m.d / det, -m.b / det, -m.c / det, m.a / det, 0, 0};
    inv.e = -(inv.a * m.e + inv.c * m.f);
    inv.f = -(inv.b * m.e + inv.d * m.f);
    return true;
}

}  // namespace

int gradientOpacity(const VectorPaint& p) {
    int opacity = -1;
    for (size_t i = 1; i < p.stops.size(); i += 2) {
        int stop = 255 - static_cast<int>((static_cast<uint32_t>(p.stops[i]) >> 24) & 255);
        if (opacity >= 0 && stop != opacity) return -1;
        opacity = stop;
    }
    return opacity < 0 ? 255 : opacity;
}

int addSoftMaskState(PDFDocument& doc, const VectorPaint& p, const PDFMatrix& toForm, const double box[4]) {
    // The same gradient in greys, each stop as light as it is opaque, read as luminosity.
    VectorPaint grey = p;
    for (size_t i = 1; i < grey.stops.size(); i += 2) {
        uint32_t opacity = 255 - ((static_cast<uint32_t>(p.stops[i]) >> 24) & 255);
        grey.stops[i] = static_cast<int>(opacity * 0x010101u);
    }
    int pattern = addGradientPattern(doc, grey, toForm, box);
    if (!pattern) return 0;
    doc.addResource(PDFDocument::Pattern, pattern);
    std::string content = "/Pattern cs ";
    PDFContent(content).name("/P", pattern, "scn -1000000 -1000000 2000000 2000000 re f");
    std::string dict = "/Type/XObject/Subtype/Form/Resources ";
    appendInt(dict, doc.resourcesNumber());
    dict += " 0 R/Group<</S/Transparency/CS/DeviceRGB>>/BBox[-1000000 -1000000 1000000 1000000]";
    int form = doc.addStream(std::move(dict), content);
    std::string state = "/Type/ExtGState/SMask<</Type/Mask/S/Luminosity/G ";
    appendInt(state, form);
    state += " 0 R>>";
    int num = doc.addObject(std::move(state));
    doc.addResource(PDFDocument::ExtGState, num);
    return num;
}

int addGradientPattern(PDFDocument& doc, const VectorPaint& p, const PDFMatrix& toForm, const double box[4]) {
    // Gradient space to pixels: the brush's own transform after the relative box and the ellipse.
    PDFMatrix space = p.transformed ? fromPaint(p.matrix) : PDFMatrix{};
    if (p.relative) space = space * PDFMatrix{box[2] - box[0], 0, 0, box[3] - box[1], box[0], box[1]};
    bool radial = p.kind == VectorPaint::Radial;
    if (radial) space = space * PDFMatrix{p.x2, 0, 0, p.y2, p.x1, p.y1};

    // Where the filled box lies along the gradient, in periods.
    double lo = 0, hi = 1;
    PDFMatrix inv;
    if (p.periodic && invert(space, inv)) {
        double dx = radial ? 0 : p.x2 - p.x1, dy = radial ? 0 : p.y2 - p.y1, len2 = dx * dx + dy * dy;
        lo = 1e300, hi = -1e300;
        for (int corner = 0; corner < 4; ++corner) {
            double x = box[corner & 1 ? 2 : 0], y = box[corner & 2 ? 3 : 1];
            double gx = inv.a * x + inv.c * y + inv.e, gy = inv.b * x + inv.d * y + inv.f;
            double t = radial ? std::hypot(gx, gy) : len2 > 0 ? ((gx - p.x1) * dx + (gy - p.y1) * dy) / len2 : 0;
            lo = std::min(lo, t), hi = std::max(hi, t);
        }
        lo = radial ? 0 : std::floor(lo);
        hi = std::max(lo + 1, std::ceil(hi));
        if (hi - lo > 64) hi = lo + 64;  // beyond that the ends are padded
    }
    int repeats = static_cast<int>(hi - lo);

    std::string dict = "/PatternType 2/Shading<</ShadingType ";
    if (radial) {
        dict += "3/ColorSpace/DeviceRGB/Coords[0 0 0 0 0 ";
        appendNumber(dict, hi, 0);
    } else {
        dict += "2/ColorSpace/DeviceRGB/Coords[";
        double dx = p.x2 - p.x1, dy = p.y2 - p.y1;
        double coords[4] = {p.x1 + lo * dx, p.y1 + lo * dy, p.x1 + hi * dx, p.y1 + hi * dy};
        for (int i = 0; i < 4; ++i) {
            if (i) dict += ' ';
            appendNumber(dict, coords[i], 4, 10);
        }
    }
    dict += "]/Function";
    dict += repeated(colorFunction(p.stops), repeats);
    dict += "/Extend[true true]>>/Matrix[";
    PDFMatrix m = toForm * space;
    double v[6] = {m.a, m.b, m.c, m.d, m.e, m.f};
    for (int i = 0; i < 6; ++i) {
        if (i) dict += ' ';
        appendNumber(dict, v[i], 6, 10);
    }
    dict += ']';
    return doc.addObject(std::move(dict));
}

int addImageObj(PDFDocument& doc, const uint32_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0) return 0;
    size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::string rgb(n * 3, '\0'), alpha;
    bool transparent = false;
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = pixels[i];
        rgb[3 * i] = static_cast<char>(c >> 16);
        rgb[3 * i + 1] = static_cast<char>(c >> 8);
        rgb[3 * i + 2] = static_cast<char>(c);
        transparent |= (c >> 24) != 0;
    }
    std::string size = "/Width ";
    appendInt(size, width);
    size += "/Height ";
    appendInt(size, height);
    std::string dict = "/Type/XObject/Subtype/Image" + size + "/BitsPerComponent 8/Interpolate true/ColorSpace/DeviceRGB";
    if (transparent) {
        alpha.resize(n);
        for (size_t i = 0; i < n; ++i) alpha[i] = static_cast<char>(255 - (pixels[i] >> 24));
        int mask = doc.addStream("/Type/XObject/Subtype/Image" + size +
                                     "/BitsPerComponent 8/Interpolate true/ColorSpace/DeviceGray",
                                 alpha);
        dict += "/SMask ";
        appendInt(dict, mask);
        dict += " 0 R";
    }
    return doc.addStream(std::move(dict), rgb);
}

int addTilingPattern(PDFDocument& doc, const VectorPaint& p, const PDFMatrix& toForm) {
    if (p.pixels.empty()) return 0;
    int image = addImageObj(doc, p.pixels.data(), p.width, p.height);
    if (!image) return 0;
    std::string dict = "/PatternType 1/PaintType 1/TilingType 2/Resources <</ProcSet[/PDF /Text /ImageB /ImageC]/XObject<</X0 ";
    appendInt(dict, image);
    dict += " 0 R>>>>/BBox[0 0 ";
    std::string w, h;
    appendInt(w, p.width);
    appendInt(h, p.height);
    dict += w + ' ' + h + "]/XStep " + w + "/YStep " + h + "/Matrix[";
    // Tile space has y up from the tile's bottom row; pixels are areas, so no half-pixel shift.
    PDFMatrix tile{1, 0, 0, -1, p.x1 - 0.5, p.y1 + p.height - 0.5};
    PDFMatrix m = toForm * tile;
    double v[6] = {m.a, m.b, m.c, m.d, m.e, m.f};
    for (int i = 0; i < 6; ++i) {
        if (i) dict += ' ';
        appendNumber(dict, v[i], 6, 10);
    }
    dict += ']';
    return doc.addStream(std::move(dict), "q " + w + " 0 0 " + h + " 0 0 cm /X0 Do Q");
}

}  // namespace plotvane

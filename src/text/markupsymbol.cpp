// The built-in symbols that markup can put on a line ("<*img=@star(6)*>"): plain shapes built from
// the drawing area's polygons and circles, the spheres as circles lit by a radial gradient. The
// shape parameter, where a shape has one, is the side count of polygons and stars, the arm width
// of crosses and the corner rounding of a square (in 4095ths of the size, of half of it for the
// square).

#include "text/markupsymbol_p.h"

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotvane {

namespace {

using namespace Chart;

constexpr double kPi = 3.14159265358979;

struct Named {
    const char* name;
    int kind;
};

const Named kSymbols[] = {
    {"square", SquareShape},
    {"diamond", DiamondShape},
    {"triangle", TriangleShape},
    {"righttriangle", RightTriangleShape},
    {"lefttriangle", LeftTriangleShape},
    {"invertedtriangle", InvertedTriangleShape},
    {"circle", CircleShape},
    {"glasssphere", GlassSphereShape},
    {"glasssphere2", GlassSphere2Shape},
    {"solidsphere", SolidSphereShape},
    {"star", Plotvane_StarSymbol},
    {"polygon", Plotvane_PolygonSymbol},
    {"polygon2", Plotvane_Polygon2Symbol},
    {"cross", CrossSymbol},
    {"cross2", Cross2Symbol},
};

// Unit-box outlines ([0, 1] x [0, 1], y down), scaled into the symbol's box.
using Outline = std::vector<std::pair<double, double>>;

Outline regular(int sides, double turn, double innerRadius) {
    Outline o;
    int points = innerRadius > 0 ? 2 * sides : sides;
    for (int k = 0; k < points; ++k) {
        double r = innerRadius > 0 && k % 2 ? innerRadius : 0.5;
        double a = 2 * kPi * k / points + turn;
        o.emplace_back(0.5 + r * std::sin(a), 0.5 - r * std::cos(a));
    }
    return o;
}

Outline cross(double arm, bool diagonal) {
    double a = std::max(0.02, std::min(1.0, arm)) / 2;
    double lo = 0.5 - a, hi = 0.5 + a;
    Outline o = {{lo, 0}, {hi, 0}, {hi, lo}, {1, lo}, {1, hi}, {hi, hi}, {hi, 1}, {lo, 1}, {lo, hi}, {0, hi}, {0, lo}, {lo, lo}};
    if (diagonal)
        for (auto& p : o) {
            double x = p.first - 0.5, y = p.second - 0.5, c = std::cos(kPi / 4) * 0.8;
            p = {0.5 + (x - y) * c, 0.5 + (x + y) * c};
        }
    return o;
}

Outline outlineOf(int kind, int param) {
    int sides = param >= 3 ? std::min(param, 100) : 5;
    switch (kind) {
        case DiamondShape: return {{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}};
        case TriangleShape: return {{0.5, 0}, {1, 1}, {0, 1}};
        case RightTriangleShape: return {{0, 0}, {1, 0.5}, {0, 1}};
        case LeftTriangleShape: return {{1, 0}, {1, 1}, {0, 0.5}};
        case InvertedTriangleShape: return {{0, 0}, {1, 0}, {0.5, 1}};
        case Plotvane_PolygonSymbol: return regular(sides, 0, 0);
        case Plotvane_Polygon2Symbol: return regular(sides, kPi / sides, 0);
        case Plotvane_StarSymbol: return regular(sides, 0, 0.2);
        case CrossSymbol:
        case Cross2Symbol: return cross(param > 0 ? param / 4095.0 : 0.5, kind == Cross2Symbol);
        default: return {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    }
}

}  // namespace

int markupSymbolKind(const std::string& name) {
    for (const Named& s : kSymbols)
        if (name == s.name) return s.kind;
    return 0;
}

void drawMarkupSymbol(DrawArea* d, int shape, int x, int y, int size, int fillColor, int edgeColor) {
    if (!d || size < 1) return;
    int kind = shape & 0xfff, param = (shape >> 12) & 0xfffff;
    int edge = edgeColor == -1 ? fillColor : edgeColor;
    int r = (size - 1) / 2;
    if (kind == CircleShape || kind == GlassSphereShape || kind == GlassSphere2Shape || kind == SolidSphereShape) {
        int fill = fillColor;
        if (kind != CircleShape) {
            int highlight = kind == SolidSphereShape ? d->adjustBrightness(fillColor, 1.4) : 0xffffff;
            int offset = kind == GlassSphere2Shape ? r / 3 : -r / 3;
            fill = d->radialGradientColor(x + r + offset, y + r + offset, size, size, highlight, fillColor);
        }
        d->circle(x + r, y + r, r, r, edge, fill);
        return;
    }
    if (kind == SquareShape && param > 0) {
        const int radius = static_cast<int>(std::lround(std::min(param, 4095) / 4095.0 * (size - 1) / 2));
        d->roundedRect(x, y, x + size - 1, y + size - 1, radius, radius, radius, radius, edge, fillColor);
        return;
    }
    std::vector<double> xs, ys;
    for (const auto& p : outlineOf(kind, param)) {
        xs.push_back(x + p.first * (size - 1));
        ys.push_back(y + p.second * (size - 1));
    }
    d->polygon(DoubleArray(xs.data(), static_cast<int>(xs.size())), DoubleArray(ys.data(), static_cast<int>(ys.size())),
               edge, fillColor);
}

}  // namespace plotvane

// One bar: its outline, its 3D faces and its shading.
//
// A bar is described in screen pixels by its front box, the end its value is at, and the offset of
// its back face (3D bars recede up and to the right). Faces are painted back to front so that a
// plain painter's order is enough: the faces turned away first, then the top and side faces in
// the shadow colours, then the front face, which carries the lighting.
//
// Shapes are laid out in the bar's own frame, thickness across and length along with the value
// end first, and then turned to the bar's direction, so a triangle points at the value whichever
// way the bar grows. A circle shape is a cylinder: a rectangle lit across its thickness in 2D, a
// half wall with an elliptic cap in 3D.
//
// Lighting codes. Bar lighting runs a brightness ramp across the bar. Glass darkens a band of the
// raised width along both long edges and lays a translucent white glare over one side of the
// bar; soft light is a gentle ramp from the lit side with no glare. A cylinder effect lights the
// bar as a round rod along its length (or the axis the code names), and a cylinder-shaped bar
// takes the code's profile for its wall; Phong light is a dome lit from the upper left. A flat
// border is a frame of the edge colour inside the bar. Any small number is the drawing surface's
// own raised border. A bar of no length is drawn as its edge alone.
#include "chart/xy/barshape_p.h"

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/xy/symbols_p.h"
#include "foundation/effectcode_p.h"

namespace plotvane {

namespace {

bool isUpright(const BarBox& b) { return b.valueEnd == Chart::Top || b.valueEnd == Chart::Bottom; }

int toTable(double brightness) { return static_cast<int>(std::lround(std::clamp(brightness, 0.0, 4.0) * 1024)); }

// A brightness ramp over (x0, y0)-(x1, y1) with stops (position 0-256, brightness x 1024).
int ramp(DrawArea* d, int base, const std::vector<int>& table, int x0, int y0, int x1, int y1) {
    return d->linearLightingColor(IntArray(table.data(), static_cast<int>(table.size())), IntArray(), base, x0, y0,
                                  x1, y1);
}

// The corner radii (top-left, top-right, bottom-right, bottom-left) of a bar's front box.
void screenRadii(const BarBox& b, const int r[4], int out[4]) {
    static const int order[4][4] = {{0, 1, 2, 3}, {2, 3, 0, 1}, {3, 0, 1, 2}, {1, 2, 3, 0}};
    int k = b.valueEnd == Chart::Top ? 0 : b.valueEnd == Chart::Bottom ? 1 : b.valueEnd == Chart::Right ? 2 : 3;
    int limit = std::min(b.right - b.left, b.bottom - b.top) / 2;
    for (int i = 0; i < 4; ++i) out[i] = std::clamp(r[order[k][i]], 0, std::max(limit, 0));
}

void plainFace(DrawArea* d, const BarBox& b, const int radii[4], int edge, int fill, int raised) {
    if (radii[0] || radii[1] || radii[2] || radii[3])
        d->roundedRect(b.left, b.top, b.right, b.bottom, radii[0], radii[1], radii[2], radii[3], edge, fill, raised);
    else
        d->rect(b.left, b.top, b.right, b.bottom, edge, fill, raised);
}

// How far a corner of radius r cuts into a band that runs along the edge `gap` pixels inside it.
int cornerCut(int r, int gap) {
    if (gap >= r) return 0;
    double across = r - gap;
    return static_cast<int>(std::ceil(r - std::sqrt(static_cast<double>(r) * r - across * across)));
}

// The translucent glare of glass along one long side of the bar; its ends stop where the bar's
// rounded corners (top-left, top-right, bottom-right, bottom-left radii) begin to cut the band.
void glare(DrawArea* d, const BarBox& b, const EffectCode& e, const int radii[4]) {
    bool upright = isUpright(b);
    int thickness = upright ? b.right - b.left : b.bottom - b.top;
    int band = thickness * (e.glare == 3 ? 1 : 2) / 5;
    if (band < 1) return;
    int inset = std::min(std::max(e.depth, 0) / 2, thickness / 4);
    bool low = upright ? e.side == Chart::Left || e.side == Chart::Top : e.side == Chart::Top || e.side == Chart::Left;
    int x0 = b.left, y0 = b.top, x1 = b.right, y1 = b.bottom;
    if (upright) {
        x0 = low ? b.left + inset : b.right - inset - band;
        x1 = x0 + band;
        y0 += cornerCut(radii[low ? 0 : 1], inset);
        y1 -= cornerCut(radii[low ? 3 : 2], inset);
    } else {
        y0 = low ? b.top + inset : b.bottom - inset - band;
        y1 = y0 + band;
        x0 += cornerCut(radii[low ? 0 : 3], inset);
        x1 -= cornerCut(radii[low ? 1 : 2], inset);
    }
    if (x1 <= x0 || y1 <= y0) return;
    int from = 0x50ffffff, to = static_cast<int>(0xd0ffffffu);
    int brush = upright ? d->linearGradientColor(low ? x0 : x1, y0, low ? x1 : x0, y0, from, to)
                        : d->linearGradientColor(x0, low ? y0 : y1, x0, low ? y1 : y0, from, to);
    d->rect(x0, y0, x1, y1, Chart::Transparent, brush);
}

// The front face with its lighting.
void frontFace(DrawArea* d, const BarBox& b, const BarLook& look, int fill) {
    int radii[4];
    screenRadii(b, look.radii, radii);
    EffectCode e = decodeEffect(look.effect);
    bool upright = isUpright(b);
    // Across the bar: left to right for upright bars, top to bottom for lying ones.
    int ax0 = b.left, ay0 = b.top, ax1 = upright ? b.right : b.left, ay1 = upright ? b.top : b.bottom;
    switch (e.kind) {
        case EffectCode::BarLighting:
            plainFace(d, b, radii, b.edgeColor,
                      ramp(d, fill, {0, toTable(e.start), 256, toTable(e.end)}, ax0, ay0, ax1, ay1), 0);
            return;
        case EffectCode::SoftLighting: {
            // A soft-lit bar has no bevel, unlike a soft-lit box.
            int x0 = e.side == Chart::Right ? b.right : b.left, y0 = e.side == Chart::Bottom ? b.bottom : b.top;
            int x1 = e.side == Chart::Left ? b.right : e.side == Chart::Right ? b.left : x0;
            int y1 = e.side == Chart::Top ? b.bottom : e.side == Chart::Bottom ? b.top : y0;
            plainFace(d, b, radii, b.edgeColor, ramp(d, fill, {0, toTable(1.25), 256, toTable(0.8)}, x0, y0, x1, y1),
                      0);
            return;
        }
        case EffectCode::Cylinder: {
            // The cylinder's axis runs along the bar unless the code fixes it.
            bool fixed = e.orientation == Chart::DirectionHorizontal || e.orientation == Chart::DirectionVertical;
            bool acrossX = fixed ? e.orientation == Chart::DirectionVertical : upright;
            int face = ramp(d, fill, phongProfile(e), b.left, b.top, acrossX ? b.right : b.left,
                            acrossX ? b.top : b.bottom);
            plainFace(d, b, radii, b.edgeColor, face, 0);
            return;
        }
        case EffectCode::Glass: {
            int thickness = std::max(upright ? b.right - b.left : b.bottom - b.top, 1);
            int edgeBand = std::clamp(256 * std::max(e.depth, 0) / thickness, 0, 128);
            std::vector<int> bands = {0, toTable(0.7), edgeBand, 1024, 256 - edgeBand, 1024, 256, toTable(0.7)};
            int face = edgeBand > 0 ? ramp(d, fill, bands, ax0, ay0, ax1, ay1) : fill;
            plainFace(d, b, radii, b.edgeColor, face, 0);
            if (e.glare > 1) glare(d, b, e, radii);
            return;
        }
        default:
            break;
    }
    // Bevels, flat borders and Phong domes look the same on a bar as on any box.
    plainFace(d, b, radii, b.edgeColor, fill, look.effect);
}

// The shape's outline in the bar's frame, turned to the bar's direction, in screen pixels.
std::vector<double> shapeOutline(const BarBox& b, const BarShape& shape) {
    bool upright = isUpright(b);
    double thickness = upright ? b.right - b.left : b.bottom - b.top;
    double length = upright ? b.bottom - b.top : b.right - b.left;
    std::vector<double> local = symbolOutline(shape.code, shape.polygon, 0, 0, thickness, length);
    double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
    std::vector<double> out(local.size());
    for (size_t i = 0; i + 1 < local.size(); i += 2) {
        double u = local[i], v = local[i + 1];
        double x = cx + u, y = cy + v;
        if (b.valueEnd == Chart::Bottom) y = cy - v;
        if (b.valueEnd == Chart::Right) x = cx - v, y = cy + u;
        if (b.valueEnd == Chart::Left) x = cx + v, y = cy + u;
        out[i] = std::floor(x + 0.5);
        out[i + 1] = std::floor(y + 0.5);
    }
    return out;
}

void polygonBar(DrawArea* d, const BarBox& b, const BarLook& look, const std::vector<double>& outline) {
    size_t n = outline.size() / 2;
    if (n < 3) return;
    std::vector<int> xs(n), ys(n);
    for (size_t i = 0; i < n; ++i) {
        xs[i] = static_cast<int>(outline[2 * i]);
        ys[i] = static_cast<int>(outline[2 * i + 1]);
    }
    if (b.depthX || b.depthY) {
        // Side walls turned away from the viewer first, then those turned towards it.
        double area = 0;
        for (size_t i = 0; i < n; ++i) area += xs[i] * ys[(i + 1) % n] - xs[(i + 1) % n] * ys[i];
        for (int pass = 0; pass < 2; ++pass)
            for (size_t i = 0; i < n; ++i) {
                size_t j = (i + 1) % n;
                // Outward normal of a clockwise (on screen) outline, against the depth direction.
                double nx = ys[j] - ys[i], ny = xs[i] - xs[j];
                if (area < 0) nx = -nx, ny = -ny;
                bool facing = nx * b.depthX - ny * b.depthY > 0;
                if (facing != (pass == 1)) continue;
                d->surface(xs[i], ys[i], xs[j], ys[j], b.depthX, -b.depthY, b.shadowEdgeColor, b.shadowColor);
            }
    }
    EffectCode e = decodeEffect(look.effect);
    int fill = b.fillColor;
    if (e.kind == EffectCode::BarLighting || e.kind == EffectCode::Cylinder) {
        bool upright = isUpright(b);
        std::vector<int> table = e.kind == EffectCode::Cylinder
                                     ? phongProfile(e)
                                     : std::vector<int>{0, toTable(e.start), 256, toTable(e.end)};
        fill = ramp(d, fill, table, b.left, b.top, upright ? b.right : b.left, upright ? b.top : b.bottom);
    }
    d->polygon(xs.data(), ys.data(), static_cast<int>(n), b.edgeColor, fill);
}

// A cylinder: in 2D a rectangle lit across; in 3D the front half of its wall and its far cap.
void cylinderBar(DrawArea* d, const BarBox& b, const BarLook& look, bool shaded) {
    bool upright = isUpright(b);
    int base = b.fillColor;
    int wall = base;
    if (shaded) {
        int x1 = upright ? b.right + b.depthX : b.left, y1 = upright ? b.top : b.bottom;
        int x0 = b.left, y0 = upright ? b.top : b.top - b.depthY;
        EffectCode lit = decodeEffect(look.effect);
        wall = ramp(d, base,
                    lit.kind == EffectCode::Cylinder
                        ? phongProfile(lit)
                        : std::vector<int>{0, toTable(0.6), 90, toTable(1.3), 160, 1024, 256, toTable(0.5)},
                    x0, y0, x1, y1);
    }
    if (!b.depthX && !b.depthY) {
        BarLook flat = look;
        flat.effect = 0;
        frontFace(d, b, flat, wall);
        return;
    }
    if (upright) {
        int rx = std::max((b.right - b.left + b.depthX) / 2, 1), ry = std::max(b.depthY / 2, 1);
        int cx = b.left + rx, bottomY = b.bottom - ry, topY = b.top - ry;
        d->cylinder(cx, bottomY, rx, ry, 90, 270, 0, topY - bottomY, b.edgeColor, wall);
        d->circle(cx, topY, rx, ry, b.shadowEdgeColor, b.shadowColor);
    } else {
        int ry = std::max((b.bottom - b.top + b.depthY) / 2, 1), rx = std::max(b.depthX / 2, 1);
        int cy = b.bottom - ry, leftX = b.left + rx, rightX = b.right + rx;
        d->cylinder(leftX, cy, rx, ry, 180, 360, rightX - leftX, 0, b.edgeColor, wall);
        d->circle(rightX, cy, rx, ry, b.shadowEdgeColor, b.shadowColor);
    }
}

}  // namespace

void drawBar(DrawArea* d, const BarBox& b, const BarLook& look) {
    if (!d || b.right < b.left || b.bottom < b.top) return;
    // A bar of no length is only its edge: no faces, no lighting. A plain flat bar is one
    // rectangle too, as charts of many items draw thousands of them.
    const bool plain = !look.shape && !b.depthX && !b.depthY && look.effect == 0 &&
                       std::all_of(look.radii, look.radii + 4, [](int r) { return r == 0; });
    if (plain || (isUpright(b) ? b.top == b.bottom : b.left == b.right)) {
        d->rect(b.left, b.top, b.right, b.bottom, b.edgeColor, b.fillColor);
        return;
    }
    int kind = look.shape ? look.shape->code & 0xff : 0;
    if (kind == Chart::CircleShape || kind == Chart::CircleShapeNoShading) {
        cylinderBar(d, b, look, kind == Chart::CircleShape);
        return;
    }
    if (look.shape && kind != 0) {
        std::vector<double> outline = shapeOutline(b, *look.shape);
        if (outline.size() >= 6) {
            polygonBar(d, b, look, outline);
            return;
        }
    }
    if (b.depthX || b.depthY) {
        int dx = b.depthX, dy = b.depthY;
        int tx[4] = {b.left, b.left + dx, b.right + dx, b.right}, ty[4] = {b.top, b.top - dy, b.top - dy, b.top};
        d->polygon(tx, ty, 4, b.shadowEdgeColor, b.shadowColor);
        int sx[4] = {b.right, b.right + dx, b.right + dx, b.right}, sy[4] = {b.top, b.top - dy, b.bottom - dy, b.bottom};
        d->polygon(sx, sy, 4, b.shadowEdgeColor, b.shadowColor);
    }
    frontFace(d, b, look, b.fillColor);
}

void roundedCornerRadii(int r1, int r2, int r3, int r4, int out[4]) {
    auto radius = [](int r) { return r == Chart::NoIntValue ? 0 : std::clamp(r, 0, 100000); };
    if (r2 == Chart::NoIntValue) {
        out[0] = out[1] = radius(r1);
        out[2] = out[3] = 0;
    } else if (r3 == Chart::NoIntValue) {
        out[0] = out[1] = radius(r1);
        out[2] = out[3] = radius(r2);
    } else {
        out[0] = radius(r1);
        out[1] = radius(r2);
        out[2] = radius(r3);
        out[3] = radius(r4);
    }
}

}  // namespace plotvane

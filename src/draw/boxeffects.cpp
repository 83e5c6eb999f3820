// The effect codes of DrawArea::rect and roundedRect.
//
// A box takes one integer that is either a bevel depth or a packed effect (effectcode_p.h). Every
// look is built from what the recorder already has, fills, per-edge frames and lighting or
// gradient brushes, so the vector writers render the same boxes with their own gradients:
//   - a bevel (raised or sunken) is a stack of one-pixel rings inside the box, light on the lit
//     sides and dark on the others, fading towards the middle;
//   - a flat border is a frame of the edge colour and the given thickness inside the box;
//   - soft light is a brightness ramp from the lit side, bar lighting its own ramp across the
//     shorter side, a cylinder or Phong light their profile across the box or over a dome;
//   - glass shades its body darker away from the glare side, bevels it, and lays a band of
//     translucent white along the glare side whose outer corners follow the box's.
// Lighting effects need a body: with no fill colour a box is its outline, and its bevel (a raised
// chart border drawn over the finished chart) is shaded from the surface's background colour.
#include <plotvane/constants.h>

#include <algorithm>
#include <cstdlib>

#include "draw/canvaslimits_p.h"
#include "draw/drawarea_p.h"
#include "draw/metadraw_p.h"
#include "foundation/effectcode_p.h"

namespace plotvane {

namespace {

constexpr int kTransparent = Chart::Transparent;

int toTable(double brightness) { return static_cast<int>(brightness * 1024 + 0.5); }

// The endpoints of a ramp that starts on `side` of the box and crosses it.
void rampFrom(int side, int x1, int y1, int x2, int y2, int out[4]) {
    bool across = side == Chart::Left || side == Chart::Right;
    out[0] = side == Chart::Right ? x2 : x1;
    out[1] = side == Chart::Bottom ? y2 : y1;
    out[2] = across ? x1 + x2 - out[0] : x1;
    out[3] = across ? y1 : y1 + y2 - out[1];
}

bool acrossX(const EffectCode& e, int width, int height) {
    if (e.orientation == Chart::DirectionVertical) return true;
    if (e.orientation == Chart::DirectionHorizontal) return false;
    return width <= height;
}

}  // namespace

void DrawAreaImpl::roundedRect(int x1, int y1, int x2, int y2, int r1, int r2, int r3, int r4, int edgeColor,
                               int fillColor, int raisedEffect) {
    int edge = getARGBColor(edgeColor), fill = getARGBColor(fillColor);
    EffectCode e = raisedEffect ? decodeEffect(raisedEffect) : EffectCode();
    auto bevelled = [](const EffectCode& c) {
        return c.depth != 0 &&
               (c.kind == EffectCode::Raised || c.kind == EffectCode::Glass || c.kind == EffectCode::SoftLighting);
    };
    int bevelBase = fill;
    if (fill == kTransparent && e.kind != EffectCode::FlatBorder) {
        // Only the bevel survives without a body; it takes its shades from the background.
        EffectCode plain;
        if (bevelled(e)) {
            plain.kind = EffectCode::Raised;
            plain.depth = e.depth;
            bevelBase = getARGBColor(bgColor_);
        }
        e = plain;
    }
    if (edge == kTransparent && fill == kTransparent && (bevelBase == kTransparent || !bevelled(e))) return;
    // Boxes far off the canvas keep their clipped part; the clamp keeps ring and glare sums in range.
    x1 = clampCoordinate(x1), y1 = clampCoordinate(y1), x2 = clampCoordinate(x2), y2 = clampCoordinate(y2);
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    int radii[4] = {std::clamp(r1, 0, kMaxCoordinate), std::clamp(r2, 0, kMaxCoordinate),
                    std::clamp(r3, 0, kMaxCoordinate), std::clamp(r4, 0, kMaxCoordinate)};
    if (e.kind == EffectCode::FlatBorder) {
        roundedRect(x1, y1, x2, y2, radii[0], radii[1], radii[2], radii[3], kTransparent, fill, 0);
        roundedFrame(x1, y1, x2, y2, radii[0], radii[1], radii[2], radii[3], e.depth, edge, edge, edge);
        return;
    }
    int body = e.lights() ? litFill(x1, y1, x2, y2, fill, e) : fill;
    if (edge != kTransparent || body != kTransparent) {
        if (radii[0] == radii[1] && radii[0] == radii[2] && radii[0] == radii[3]) {
            meta_->drawRoundedRect(x1, y1, x2, y2, radii[0], edge, body);
        } else {
            int colors[5] = {edge, edge, edge, edge, body};
            meta_->drawRoundedRect(x1, y1, x2, y2, radii, colors);
        }
    }
    int inset = edge == kTransparent ? 0 : 1;
    if (bevelled(e) && bevelBase != kTransparent) bevel(x1, y1, x2, y2, radii, inset, bevelBase, e.depth);
    if (e.kind == EffectCode::Glass && e.glare > 1)
        glare(x1, y1, x2, y2, radii, e.side, e.glare, inset + std::max(e.depth, 0));
}

int DrawAreaImpl::litFill(int x1, int y1, int x2, int y2, int fill, const EffectCode& e) {
    std::vector<int> table;
    int ends[4];
    switch (e.kind) {
        case EffectCode::Glass:
            rampFrom(e.side, x1, y1, x2, y2, ends);
            table = {0, toTable(1.08), 150, toTable(0.85), 256, toTable(1.0)};
            break;
        case EffectCode::SoftLighting:
            rampFrom(e.side, x1, y1, x2, y2, ends);
            table = {0, toTable(1.25), 256, toTable(0.8)};
            break;
        case EffectCode::BarLighting:
            rampFrom(x2 - x1 <= y2 - y1 ? Chart::Left : Chart::Top, x1, y1, x2, y2, ends);
            table = {0, toTable(e.start), 256, toTable(e.end)};
            break;
        case EffectCode::Cylinder:
            rampFrom(acrossX(e, x2 - x1, y2 - y1) ? Chart::Left : Chart::Top, x1, y1, x2, y2, ends);
            table = phongProfile(e);
            break;
        case EffectCode::Phong: {
            table = phongProfile(e, true);
            int w = x2 - x1, h = y2 - y1;
            return radialLightingColor(IntArray(table.data(), static_cast<int>(table.size())), IntArray(), fill,
                                       x1 + w / 3, y1 + h / 3, std::max(1, w * 5 / 6), std::max(1, h * 5 / 6));
        }
        default:
            return fill;
    }
    return linearLightingColor(IntArray(table.data(), static_cast<int>(table.size())), IntArray(), fill, ends[0],
                               ends[1], ends[2], ends[3]);
}

// Rings of lighter top-left and darker bottom-right edges (swapped when sunken).
void DrawAreaImpl::bevel(int x1, int y1, int x2, int y2, const int radii[4], int inset, int fill, int depth) {
    int rings = static_cast<int>(std::min({std::llabs(depth), (x2 - x1) / 2LL, (y2 - y1) / 2LL, 50LL}));
    for (int k = 0; k < rings; ++k) {
        double strength = static_cast<double>(rings - k) / rings;
        int light = adjustBrightness(fill, 1 + 0.6 * strength);
        int dark = adjustBrightness(fill, 1 - 0.4 * strength);
        if (depth < 0) std::swap(light, dark);
        int colors[5] = {light, dark, dark, light, kTransparent};
        int ringRadii[4];
        for (int j = 0; j < 4; ++j) ringRadii[j] = std::max(0, radii[j] - k - inset);
        int d = k + inset;
        meta_->drawRoundedRect(x1 + d, y1 + d, x2 - d, y2 - d, ringRadii, colors);
    }
}

// A band of translucent white along `side`, half the box deep for the normal glare (size 3) and
// under a third for the reduced one, fading out towards the middle.
void DrawAreaImpl::glare(int x1, int y1, int x2, int y2, const int radii[4], int side, int size, int inset) {
    bool vertical = side == Chart::Left || side == Chart::Right;
    int extent = vertical ? x2 - x1 : y2 - y1;
    inset = std::min(inset, extent / 6);
    int band = (extent - 2 * inset) * (size == 3 ? 5 : 3) / 10;
    if (band < 2) return;
    int l = x1 + inset, t = y1 + inset, r = x2 - inset, b = y2 - inset;
    if (side == Chart::Left) r = l + band;
    else if (side == Chart::Right) l = r - band;
    else if (side == Chart::Bottom) t = b - band;
    else b = t + band;
    // Corners on the glare side keep the box's rounding; the inner ones are square.
    static const int cornersOf[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};  // top, right, bottom, left
    int s = side == Chart::Top ? 0 : side == Chart::Right ? 1 : side == Chart::Bottom ? 2 : 3;
    int bandRadii[4] = {0, 0, 0, 0};
    for (int c : cornersOf[s]) bandRadii[c] = std::max(0, std::min(radii[c] - inset, band / 2));
    int ends[4];
    rampFrom(side, l, t, r, b, ends);
    int brush = linearGradientColor(ends[0], ends[1], ends[2], ends[3], 0x50ffffff, static_cast<int>(0xe8ffffffu),
                                    false);
    roundedRect(l, t, r, b, bandRadii[0], bandRadii[1], bandRadii[2], bandRadii[3], kTransparent, brush, 0);
}

}  // namespace plotvane

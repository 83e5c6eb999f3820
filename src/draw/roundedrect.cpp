// Rounded rectangles and rounded canvas corners.
//
// A rounded rectangle is an AAShape: four straight sides and up to four quarter-ellipse corners,
// each corner one y-monotonic piece, so the ordinary even-odd filler and edge lines draw it. The
// rounded-corner clip instead works on finished pixels: inside each corner square every pixel is
// sampled 4 x 4 against the corner circle and the outside fraction is given to the background.
//
// Charts draw thousands of plain boxes with whole-pixel corners (bars, candle bodies, legend
// keys). For those the filler's answer is known: rows y1 to y2 - 1 and columns x1 to x2 - 1 are
// covered whole. drawSquareRect paints exactly that and the same four edge lines, skipping the
// shape's allocations and row sampling; a test holds it pixel-equal to the shape.
#include <algorithm>
#include <cmath>
#include <memory>

#include "draw/aaline_p.h"
#include "draw/canvas_p.h"
#include "draw/edges_p.h"
#include "draw/effects_p.h"

namespace plotvane {

void buildRoundedRect(AAShape& shape, double x1, double y1, double x2, double y2, const int radii[4],
                      const uint32_t edgeColors[4]) {
    if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const double limit = std::min(x2 - x1, y2 - y1) / 2;
    double r[4];
    for (int i = 0; i < 4; ++i) r[i] = std::clamp(static_cast<double>(radii[i]), 0.0, limit);
    const uint32_t top = edgeColors[0], right = edgeColors[1], bottom = edgeColors[2], left = edgeColors[3];
    shape.addLine(x1 + r[0], y1, x2 - r[1], y1, top, false);
    shape.addLine(x2, y1 + r[1], x2, y2 - r[2], right, false);
    shape.addLine(x2 - r[2], y2, x1 + r[3], y2, bottom, false);
    shape.addLine(x1, y2 - r[3], x1, y1 + r[0], left, false);
    struct Corner {
        double cx, cy, a0, top;
        uint32_t color;
    };
    const Corner corners[4] = {{x1 + r[0], y1 + r[0], 270, 1, top},
                               {x2 - r[1], y1 + r[1], 0, 1, top},
                               {x2 - r[2], y2 - r[2], 90, 0, bottom},
                               {x1 + r[3], y2 - r[3], 180, 0, bottom}};
    for (int i = 0; i < 4; ++i) {
        if (r[i] <= 0) continue;
        const Corner& c = corners[i];
        const double minY = c.top ? c.cy - r[i] : c.cy, maxY = c.top ? c.cy : c.cy + r[i];
        shape.add(std::make_unique<AAEllipseEdge>(c.cx, c.cy, r[i], r[i], c.a0, c.a0 + 90, minY, maxY,
                                                  c.color, true, c.a0, c.a0 + 90));
    }
}

bool drawSquareRect(Canvas& cv, double x1, double y1, double x2, double y2, const int radii[4],
                    const uint32_t edgeColors[4], uint32_t fill) {
    auto whole = [](double v) { return std::isfinite(v) && isWhole(v); };
    if (!whole(x1) || !whole(y1) || !whole(x2) || !whole(y2) || Canvas::isCode(fill)) return false;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    bool flat = x1 == x2 || y1 == y2;
    for (int i = 0; i < 4; ++i)
        if (radii[i] > 0 && !flat) return false;
    // A flat box in one opaque edge colour is a line: its four edges cover the same pixels.
    const uint32_t e = edgeColors[0];
    if (flat && (e >> 24) == 0 && e == edgeColors[1] && e == edgeColors[2] && e == edgeColors[3]) {
        drawLine(cv, x1, y1, x2, y2, e, 1);
        return true;
    }
    // Opaque edges paint over the fill's first row and column, so only the inside is filled:
    // narrow boxes, whose edges cover them, then need no fill at all.
    const bool opaqueEdges = std::all_of(edgeColors, edgeColors + 4, [](uint32_t edge) { return (edge >> 24) == 0; });
    const double inset = opaqueEdges ? 1 : 0;
    const ClipRect& c = cv.clip;
    const double left = std::max(x1 + inset, double(c.left)), right = std::min(x2 - 1, double(c.right));
    const double top = std::max(y1 + inset, double(c.top)), bottom = std::min(y2 - 1, double(c.bottom));
    if (fill != kTransparent && left <= right && top <= bottom) {
        const int l = static_cast<int>(left), n = static_cast<int>(right) - l + 1;
        for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y)
            cv.blendRun(cv.pixels() + cv.index(l, y), 1, n, fill);
    }
    drawLine(cv, x1, y1, x2, y1, edgeColors[0], 1);
    drawLine(cv, x2, y1, x2, y2, edgeColors[1], 1);
    drawLine(cv, x2, y2, x1, y2, edgeColors[2], 1);
    drawLine(cv, x1, y2, x1, y1, edgeColors[3], 1);
    return true;
}

void clipRoundedCorners(Canvas& cv, const int radii[4], uint32_t bg) {
    const int w = cv.width(), h = cv.height();
    for (int corner = 0; corner < 4; ++corner) {
        const int r = std::min({radii[corner], w, h});
        if (r <= 0) continue;
        const bool right = corner == 1 || corner == 2, bottom = corner >= 2;
        const double cx = right ? w - r : r, cy = bottom ? h - r : r;
        const int x0 = right ? w - r : 0, y0 = bottom ? h - r : 0;
        for (int y = y0; y < y0 + r; ++y) {
            for (int x = x0; x < x0 + r; ++x) {
                uint32_t outside = 0;
                for (int j = 0; j < 4; ++j)
                    for (int i = 0; i < 4; ++i) {
                        const double sx = x + (i + 0.5) / 4 - cx, sy = y + (j + 0.5) / 4 - cy;
                        const bool beyondX = right ? sx > 0 : sx < 0, beyondY = bottom ? sy > 0 : sy < 0;
                        if (beyondX && beyondY && sx * sx + sy * sy > static_cast<double>(r) * r) ++outside;
                    }
                if (outside == 0) continue;
                const size_t idx = cv.index(x, y);
                const uint32_t old = cv.plainAt(idx);
                const uint32_t b = canonical(Canvas::isCode(bg) ? cv.colorAt(bg, x, y) : bg);
                uint32_t out;
                if (outside == 16)
                    out = b;
                else if (b == kTransparent)
                    out = withCoverage(old, 16 - outside);
                else
                    out = blend(withCoverage(b, outside), old);
                cv.store(idx, out);
            }
        }
    }
}

}  // namespace plotvane

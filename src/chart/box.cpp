// Box painting. A plain raised effect is the drawing surface's own; a flat border is a frame of
// the edge colour drawn inside the box; lighting effects (glass, soft light) are packed codes
// above 0xffff and paint as a plain box.
#include "chart/box_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace plotvane {

namespace {

constexpr int kFlatBorderTag = 0x600000;

// The thickness of a flat border code, or 0 for any other effect.
int flatBorderThickness(int effect) {
    int magnitude = std::abs(effect);
    return (magnitude & 0xfff000) == kFlatBorderTag ? magnitude & 0xfff : 0;
}

bool isSpecialEffect(int effect) { return std::abs(effect) > 0xffff; }

}  // namespace

void BoxStyle::setRoundedCorners(int r1, int r2, int r3, int r4) {
    radii[0] = r1;
    radii[1] = r2 == -1 ? r1 : r2;
    radii[2] = r3 == -1 ? r1 : r3;
    radii[3] = r4 == -1 ? r1 : r4;
}

int BoxStyle::borderAllowance() const {
    if (int t = flatBorderThickness(raisedEffect)) return std::max(0, t - 1);
    if (isSpecialEffect(raisedEffect)) return 0;
    return raisedEffect == 0 ? 0 : std::abs(raisedEffect) + 1;
}

void BoxStyle::paint(DrawArea* d, int left, int top, int width, int height) const {
    if (!d || width <= 0 || height <= 0) return;
    int right = left + width - 1, bottom = top + height - 1;
    if (int t = flatBorderThickness(raisedEffect)) {
        d->roundedRect(left, top, right, bottom, radii[0], radii[1], radii[2], radii[3], Chart::Transparent,
                       fillColor, 0);
        d->roundedFrame(left, top, right, bottom, radii[0], radii[1], radii[2], radii[3], t, edgeColor, edgeColor,
                        edgeColor);
        return;
    }
    int effect = isSpecialEffect(raisedEffect) ? 0 : raisedEffect;
    d->roundedRect(left, top, right, bottom, radii[0], radii[1], radii[2], radii[3], edgeColor, fillColor, effect);
}

std::string imageMapRect(int left, int top, int right, int bottom) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "shape=\"rect\" coords=\"%d,%d,%d,%d\"", std::min(left, right),
                  std::min(top, bottom), std::max(left, right), std::max(top, bottom));
    return buffer;
}

}  // namespace plotvane

// Box painting: the drawing surface reads the effect code and paints every look, so a box here
// only reserves the room its border takes.
#include "chart/box_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cstdlib>

#include "foundation/effectcode_p.h"

namespace plotvane {

void BoxStyle::setRoundedCorners(int r1, int r2, int r3, int r4) {
    radii[0] = r1;
    radii[1] = r2 == -1 ? r1 : r2;
    radii[2] = r3 == -1 ? r1 : r3;
    radii[3] = r4 == -1 ? r1 : r4;
}

int BoxStyle::borderAllowance() const {
    EffectCode e = decodeEffect(raisedEffect);
    if (e.kind == EffectCode::FlatBorder) return std::max(0, e.depth - 1);
    return e.depth == 0 ? 0 : std::abs(e.depth) + 1;
}

void BoxStyle::paint(DrawArea* d, int left, int top, int width, int height) const {
    if (!d || width <= 0 || height <= 0) return;
    d->roundedRect(left, top, left + width - 1, top + height - 1, radii[0], radii[1], radii[2], radii[3], edgeColor,
                   fillColor, raisedEffect);
}

}  // namespace plotvane

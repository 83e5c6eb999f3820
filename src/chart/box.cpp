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

namespace {

void appendInt(std::string& out, int v) {
    char digits[12];
    int n = 0;
    unsigned magnitude = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (v < 0) out += '-';
    while (n) out += digits[--n];
}

}  // namespace

std::string imageMapRect(int left, int top, int right, int bottom) {
    std::string text = "shape=\"rect\" coords=\"";
    appendInt(text, std::min(left, right));
    text += ',';
    appendInt(text, std::min(top, bottom));
    text += ',';
    appendInt(text, std::max(left, right));
    text += ',';
    appendInt(text, std::max(top, bottom));
    return text + '"';
}

std::string imageMapPoly(const std::vector<int>& xy, int offsetX, int offsetY) {
    std::string text = "shape=\"poly\" coords=\"";
    for (size_t k = 0; k + 1 < xy.size(); k += 2) {
        if (k) text += ',';
        appendInt(text, xy[k] + offsetX);
        text += ',';
        appendInt(text, xy[k + 1] + offsetY);
    }
    return text + '"';
}

}  // namespace plotvane

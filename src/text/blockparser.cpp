// Attributes of nested blocks and images. Every value is brought into a range layout can work
// with: sizes and margins within kMaxMarkupPixels, angles and line spacing finite.

#include "text/blockparser_p.h"

#include "text/pvmlparser_p.h"

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr size_t kMaxImageSpec = 1023;

int pixelsOrAutomatic(int v) { return v < 0 ? -1 : std::min(v, kMaxMarkupPixels); }

void readMargins(const std::u32string& value, int margin[4]) {
    size_t pos = 0;
    for (int k = 0; k < 4; ++k) {
        while (pos < value.size() && (value[pos] == ' ' || value[pos] == '\t')) ++pos;
        size_t end = pos;
        while (end < value.size() && value[end] != ' ' && value[end] != '\t') ++end;
        margin[k] = end > pos ? std::max(0, std::min(kMaxMarkupPixels, readInt(value.substr(pos, end - pos)))) : 0;
        if (k == 0 && end >= value.size()) {
            std::fill(margin + 1, margin + 4, margin[0]);  // one number sets all four
            return;
        }
        pos = end;
    }
}

}  // namespace

int alignmentKeyword(const std::u32string& word) {
    std::u32string w;
    for (char32_t c : word) w += c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    if (w == U"top") return AlignTop;
    if (w == U"bottom") return AlignBottom;
    if (w == U"center" || w == U"middle") return AlignCenter;
    if (w == U"abscenter" || w == U"absmiddle") return AlignAbsCenter;
    if (w == U"left") return AlignLeft;
    if (w == U"right") return AlignRight;
    return AlignBaseline;
}

BlockAttributes parseAVList(const char32_t* begin, const char32_t* end) {
    BlockAttributes a;
    bool maxWidthGiven = false;
    for (const PVMLItem& item : splitItems(begin, end)) {
        const std::u32string& name = item.name;
        const std::u32string& value = item.value;
        if (name == U"halign") {
            a.halign = alignmentKeyword(value);
        } else if (name == U"valign") {
            a.valign = alignmentKeyword(value);
        } else if (name == U"angle") {
            double v = readDouble(value);
            a.angle = std::isfinite(v) ? v : 0;
        } else if (name == U"linespacing") {
            double v = readDouble(value);
            a.lineSpacing = std::isfinite(v) ? std::max(0.0, std::min(100.0, v)) : 1;
        } else if (name == U"width") {
            a.width = pixelsOrAutomatic(readInt(value));
        } else if (name == U"height") {
            a.height = pixelsOrAutomatic(readInt(value));
        } else if (name == U"size") {
            a.width = a.height = pixelsOrAutomatic(readInt(value));
        } else if (name == U"maxwidth") {
            a.maxWidth = pixelsOrAutomatic(readInt(value));
            maxWidthGiven = true;
        } else if (name == U"truncate") {
            a.truncate = readInt(value);
        } else if (name == U"bgcolor" || name == U"color") {
            a.bgColor = readColor(value);
        } else if (name == U"edgecolor") {
            a.edgeColor = readColor(value);
        } else if (name == U"margin") {
            readMargins(value, a.margin);
        } else if (name == U"rtl") {
            int v = item.hasValue && !value.empty() ? readInt(value) : 0;
            a.rtl = v > 0 ? 1 : v == 0 ? 0 : -1;
        } else if (name == U"img") {
            a.img = narrowValue(value, kMaxImageSpec);
        }
    }
    if (!maxWidthGiven) a.maxWidth = a.width;
    return a;
}

}  // namespace plotvane

// Style commands of the markup: font, size, colour, background, underline, offsets and advances.
//
// Commands are applied in the order they are read, between the characters they style. "font"
// saves the whole style before it changes anything, so "<*font,size=14,color=FF0000*>...<*/font*>"
// brings every attribute back at once; "sub" and "super" change the size and offset without
// saving. Values that would break layout further on (sizes past 4096 points or not numbers at
// all, offsets and advances of millions of pixels) are brought into range here, once.

#include "text/textparser_p.h"

#include <plotvane/drawarea.h>

#include "foundation/lasterror_p.h"
#include "text/pvmlparser_p.h"

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr size_t kMaxFontSpec = 511;

int clampPixels(int v, int low) { return std::max(low, std::min(kMaxMarkupPixels, v)); }

// Sizes made smaller by sub and super: whole points from 7 up, half points below.
double reducedSize(double points) {
    double v = points * 2 / 3;
    return v >= 7 ? std::floor(v + 0.5) : std::floor(v * 2 + 0.5) / 2;
}

}  // namespace

double saneFontSize(double points) {
    if (std::isnan(points)) return 0;
    return points > 4096 ? 100 : points;
}

void TextParser::save() {
    if (static_cast<int>(saved_.size()) >= kMaxSaved)
        ++unsaved_;
    else
        saved_.push_back({style_, opened_.size()});
}

void TextParser::restore() {
    if (unsaved_ > 0) {
        --unsaved_;
    } else if (!saved_.empty()) {
        style_ = saved_.back().style;
        // Tags opened inside the font tag close with it.
        opened_.resize(std::min(opened_.size(), saved_.back().opened));
        saved_.pop_back();
    }
}

void TextParser::close(const std::u32string& name) {
    for (size_t i = opened_.size(); i-- > 0;) {
        if (opened_[i].name != name) continue;
        style_ = opened_[i].before;
        opened_.resize(i);
        return;
    }
    setLastError("markup: no '%s' to close", narrowValue(name, kMaxFontSpec).c_str());
}

void TextParser::applyCommand(const char32_t* begin, const char32_t* end) {
    for (const PVMLItem& item : splitItems(begin, end)) {
        const std::u32string& name = item.name;
        const std::u32string& value = item.value;
        if (name.empty()) continue;
        bool closing = name[0] == U'/' && name != U"/font";
        if (closing) {
            close(name.substr(1));
            continue;
        }
        bool kept = name != U"font" && name != U"/font" && static_cast<int>(opened_.size()) < kMaxSaved;
        if (kept) opened_.push_back({name, style_});
        if (name == U"font") {
            save();
            if (item.hasValue) {
                std::string spec = narrowValue(value, kMaxFontSpec);
                const char* resolved = drawArea_ ? drawArea_->resolveFont(spec.c_str()) : spec.c_str();
                style_.font = resolved && *resolved ? resolved : "arial.ttf";
                style_.fontIndex = 0;
            }
        } else if (name == U"/font") {
            restore();
        } else if (name == U"size") {
            style_.height = saneFontSize(readDouble(value));
            style_.width = 0;
        } else if (name == U"height") {
            style_.height = saneFontSize(readDouble(value));
        } else if (name == U"width") {
            style_.width = std::max(0.0, saneFontSize(readDouble(value)));
        } else if (name == U"color") {
            style_.color = readColor(value);
        } else if (name == U"bgcolor") {
            style_.bgColor = readColor(value);
        } else if (name == U"underline") {
            style_.underline = std::max(0, std::min(255, readInt(value)));
        } else if (name == U"advance") {
            style_.advance = clampPixels(readInt(value), -kMaxMarkupPixels);
        } else if (name == U"advanceto") {
            style_.advanceTo = clampPixels(readInt(value), 0);
        } else if (name == U"xoffset") {
            style_.xOffset = clampPixels(readInt(value), -kMaxMarkupPixels);
        } else if (name == U"yoffset") {
            style_.yOffset = clampPixels(readInt(value), -kMaxMarkupPixels);
        } else if (name == U"sub" || name == U"super") {
            style_.height = reducedSize(style_.height);
            style_.width = reducedSize(style_.width);
            double basis = style_.height > 0 ? style_.height : style_.width;
            double shift = std::floor(0.4 * basis + 0.5);
            style_.yOffset = name == U"sub" ? -shift : shift;
        } else {
            if (kept) opened_.pop_back();
            setLastError("markup: unknown tag '%s'", narrowValue(name, kMaxFontSpec).c_str());
        }
    }
}

}  // namespace plotvane

// Text box geometry. Automatic margins come from the font size (a little more above and to the
// left of the text, where the glyphs' own bearings give less room) plus whatever the border takes;
// for a text turned by a quarter turn the margins turn with it. The text is laid out lazily, so a
// box can be configured in any order without relayout, and dropped whenever a property changes.
#include "chart/textbox_p.h"

#include <plotvane/basechart.h>
#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <algorithm>
#include <cmath>

#include "chart/imagemap_p.h"
#include "draw/canvaslimits_p.h"

namespace plotvane {

TextBoxImpl::TextBoxImpl(DrawArea* d) : area_(d) {}

TextBoxImpl::~TextBoxImpl() { discardText(); }

void TextBoxImpl::discardText() {
    TTFText::destroy(laidOut_);
    laidOut_ = nullptr;
}

void TextBoxImpl::copy(const Box* source) {
    const auto* s = dynamic_cast<const TextBoxImpl*>(source);
    if (!s || s == this) return;
    x_ = s->x_;
    y_ = s->y_;
    hasOrigin_ = s->hasOrigin_;
    originX_ = s->originX_;
    originY_ = s->originY_;
    originAlignment_ = s->originAlignment_;
    setSize(s->width_, s->height_);
    style_ = s->style_;
    // What the source showed, set or taken from its default box, is now this box's own.
    constexpr unsigned kBox = kBackgroundSet | kCornersSet;
    set_ = (set_ & ~kBox) | ((s->set_ | s->given_) & kBox);
}

void TextBoxImpl::setPos(int x, int y) {
    x_ = clampCoordinate(x);
    y_ = clampCoordinate(y);
}

void TextBoxImpl::setSize(int width, int height) {
    width_ = std::clamp(width, 0, kMaxCoordinate);
    height_ = std::clamp(height, 0, kMaxCoordinate);
    discardText();
}

bool TextBoxImpl::setDefault(TextBoxImpl* box) {
    for (TextBoxImpl* b = box; b; b = b->default_)
        if (b == this) return false;
    default_ = box;
    return true;
}

void TextBoxImpl::inheritStyles() {
    if (!default_) return;
    default_->inheritStyles();
    const TextBoxImpl& d = *default_;
    given_ = (d.set_ | d.given_) & ~set_;
    if (given_ & kBackgroundSet) {
        style_.fillColor = d.style_.fillColor;
        style_.edgeColor = d.style_.edgeColor;
        style_.raisedEffect = d.style_.raisedEffect;
    }
    if (given_ & kCornersSet) std::copy(d.style_.radii, d.style_.radii + 4, style_.radii);
    if (given_ & kFontColorSet) fontColor_ = d.fontColor_;
    bool relayout = false;
    auto take = [&relayout](auto& mine, const auto& theirs) {
        relayout = relayout || mine != theirs;
        mine = theirs;
    };
    if (given_ & kFontSet) {
        take(font_, d.font_);
        take(fontIndex_, d.fontIndex_);
    }
    if (given_ & kFontSizeSet) {
        take(fontHeight_, d.fontHeight_);
        take(fontWidth_, d.fontWidth_);
    }
    if (given_ & kAngleSet) {
        take(angle_, d.angle_);
        take(vertical_, d.vertical_);
    }
    if (given_ & kMarginsSet)
        for (int k = 0; k < 4; ++k) take(margins_[k], d.margins_[k]);
    if (relayout) discardText();
}

void TextBoxImpl::setBackground(int color, int edgeColor, int raisedEffect) {
    set_ |= kBackgroundSet;
    style_.fillColor = color;
    style_.edgeColor = edgeColor;
    style_.raisedEffect = raisedEffect;
}

void TextBoxImpl::setRoundedCorners(int r1, int r2, int r3, int r4) {
    set_ |= kCornersSet;
    style_.setRoundedCorners(r1, r2, r3, r4);
}

void TextBoxImpl::setText(const char* text) {
    text_ = text ? text : "";
    discardText();
}

void TextBoxImpl::setAlignment(int alignment) { alignment_ = alignment; }

// An empty font name leaves the font to the default box.
void TextBoxImpl::setFontStyle(const char* font, int fontIndex) {
    if (!font || !*font) return;
    set_ |= kFontSet;
    font_ = font;
    fontIndex_ = fontIndex;
    discardText();
}

void TextBoxImpl::setFontSize(double height, double width) {
    if (!std::isfinite(height) || !std::isfinite(width)) return;
    set_ |= kFontSizeSet;
    fontHeight_ = height;
    fontWidth_ = width;
    discardText();
}

void TextBoxImpl::setFontAngle(double angle, bool vertical) {
    if (!std::isfinite(angle)) return;
    set_ |= kAngleSet;
    angle_ = angle;
    vertical_ = vertical;
    discardText();
}

// -1 leaves the colour to the default box.
void TextBoxImpl::setFontColor(int color) {
    if (color == -1) return;
    set_ |= kFontColorSet;
    fontColor_ = color;
}

void TextBoxImpl::setMargin(int m) { setMargin(m, m, m, m); }

void TextBoxImpl::setMargin(int leftMargin, int rightMargin, int topMargin, int bottomMargin) {
    set_ |= kMarginsSet;
    margins_[kLeft] = clampCoordinate(leftMargin);
    margins_[kRight] = clampCoordinate(rightMargin);
    margins_[kTop] = clampCoordinate(topMargin);
    margins_[kBottom] = clampCoordinate(bottomMargin);
    discardText();
}

void TextBoxImpl::setWidth(int width) { setSize(width, height_); }

void TextBoxImpl::setHeight(int height) { setSize(width_, height); }

void TextBoxImpl::setMaxWidth(int maxWidth) {
    maxWidth_ = std::clamp(maxWidth, 0, kMaxCoordinate);
    discardText();
}

void TextBoxImpl::setTruncate(int maxWidth, int maxLines) {
    maxWidth_ = std::clamp(maxWidth, 0, kMaxCoordinate);
    maxLines_ = maxLines < 1 ? 0x7fffffff : maxLines;
    discardText();
}

int TextBoxImpl::margin(Side side) const {
    if (margins_[side] >= 0) return margins_[side];
    // Text margins clockwise from the top: top, right, bottom, left.
    int h = static_cast<int>(std::min(fontHeight_, 4096.0));
    int w = static_cast<int>(std::min(fontWidthOrHeight(), 4096.0));
    int text[4] = {std::max(0, h / 6 + 1), std::max(0, (w + 2) / 4), std::max(0, h / 6), std::max(0, (w + 2) / 4 + 1)};
    static const int clockwise[4] = {3, 1, 0, 2};  // kLeft, kRight, kTop, kBottom as clockwise indexes
    double turns = std::fmod(angle_, 360.0) / 90.0;
    if (turns < 0) turns += 4;
    int k = static_cast<int>(std::floor(turns + 0.5));
    int textMargin;
    if (std::fabs(turns - k) * 90 <= 15) {
        // A text turned counter-clockwise by k quarter turns shows side s + k on box side s.
        textMargin = text[(clockwise[side] + k) % 4];
    } else {
        textMargin = (text[0] + text[1] + text[2] + text[3]) / 4;
    }
    return style_.borderAllowance() + textMargin + extraMargin(side);
}

TTFText* TextBoxImpl::laidOutText() {
    inheritStyles();
    if (text_.empty() || !area_) return nullptr;
    if (!laidOut_) {
        int limit = maxWidth_ > 0 ? maxWidth_ : width_;
        int textLimit = limit > 0 ? std::max(1, limit - margin(kLeft) - margin(kRight)) : 0;
        laidOut_ = area_->textEx(text_.c_str(), font_.c_str(), fontIndex_, fontHeight_, fontWidth_, angle_, vertical_,
                                 textLimit, maxLines_);
    }
    return laidOut_;
}

int TextBoxImpl::getWidth() {
    inheritStyles();
    if (width_ > 0) return width_;
    TTFText* t = laidOutText();
    return t ? t->getWidth() + margin(kLeft) + margin(kRight) : 0;
}

int TextBoxImpl::getHeight() {
    inheritStyles();
    if (height_ > 0) return height_;
    TTFText* t = laidOutText();
    return t ? t->getHeight() + margin(kTop) + margin(kBottom) : 0;
}

void TextBoxImpl::setOrigin(int x, int y, int alignment) {
    hasOrigin_ = true;
    originX_ = x;
    originY_ = y;
    originAlignment_ = alignment;
}

int TextBoxImpl::getLeftX() {
    if (hasOrigin_)
        return originX_ + x_ - DrawArea::alignX(getWidth(), originAlignment_ == -1 ? alignment_ : originAlignment_);
    return width_ > 0 ? x_ : x_ - DrawArea::alignX(getWidth(), alignment_);
}

int TextBoxImpl::getTopY() {
    if (hasOrigin_)
        return originY_ + y_ - DrawArea::alignY(getHeight(), originAlignment_ == -1 ? alignment_ : originAlignment_);
    return height_ > 0 ? y_ : y_ - DrawArea::alignY(getHeight(), alignment_);
}

std::vector<int> TextBoxImpl::imageSpot(int offsetX, int offsetY) {
    if (container_) {
        offsetX += container_->getAbsOffsetX();
        offsetY += container_->getAbsOffsetY();
    }
    int left = getLeftX() + offsetX, top = getTopY() + offsetY;
    return {left, top, left + getWidth() - 1, top + getHeight() - 1};
}

const char* TextBoxImpl::getImageCoor(int offsetX, int offsetY) {
    std::vector<int> spot = imageSpot(offsetX, offsetY);
    coor_ = imageMapRect(spot[0], spot[1], spot[2], spot[3]);
    return coor_.c_str();
}

void TextBoxImpl::paint(DrawArea* d) {
    TTFText* t = laidOutText();
    if (!d || (!t && (width_ < 1 || height_ < 1))) return;
    paintBox(d, getLeftX(), getTopY(), getWidth(), getHeight());
}

void TextBoxImpl::paintBox(DrawArea* d, int left, int top, int width, int height) {
    TTFText* t = laidOutText();
    style_.paint(d, left, top, width, height);
    if (!t) return;
    int l = margin(kLeft), r = margin(kRight), tm = margin(kTop), b = margin(kBottom);
    t->drawOn(d, left + l + DrawArea::alignX(width - l - r, alignment_),
              top + tm + DrawArea::alignY(height - tm - b, alignment_), fontColor_, alignment_);
}

}  // namespace plotvane

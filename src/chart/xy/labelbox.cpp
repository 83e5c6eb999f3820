// Label copies: everything the style box was told, with another text and position.
#include "chart/xy/labelbox_p.h"

namespace plotvane {

std::string LabelBox::limited(const std::string& text) {
    if (text.size() <= kMaxTextLength) return text;
    size_t end = kMaxTextLength;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80) --end;
    return text.substr(0, end);
}

std::unique_ptr<LabelBox> LabelBox::copyWith(const std::string& text, int x, int y, int alignment) const {
    auto box = std::make_unique<LabelBox>(area_);
    box->text_ = limited(text);
    box->font_ = font_;
    box->fontIndex_ = fontIndex_;
    box->fontHeight_ = fontHeight_;
    box->fontWidth_ = fontWidth_;
    box->angle_ = angle_;
    box->vertical_ = vertical_;
    box->fontColor_ = fontColor_;
    box->alignment_ = alignment;
    box->x_ = x;
    box->y_ = y;
    box->width_ = width_;
    box->height_ = height_;
    box->maxWidth_ = maxWidth_;
    box->maxLines_ = maxLines_;
    for (int i = 0; i < 4; ++i) box->margins_[i] = margins_[i];
    box->style_ = style_;
    return box;
}

void LabelBox::setStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    setFontStyle(font, 0);
    setFontSize(fontSize, 0);
    setFontColor(fontColor);
    setFontAngle(fontAngle, false);
}

bool LabelBox::isVisible() const {
    bool textShows = !text_.empty() && fontColor_ != Chart::Transparent;
    return textShows || style_.fillColor != Chart::Transparent || style_.edgeColor != Chart::Transparent;
}

}  // namespace plotvane

#ifndef PLOTVANE_CHART_XY_LABELBOX_P_H
#define PLOTVANE_CHART_XY_LABELBOX_P_H

// A text box that serves as the style of many labels: the user styles it through its TextBox
// interface, and every label drawn in that style is a copy of it with its own text and position.

#include <memory>
#include <string>

#include "chart/textbox_p.h"

namespace plotvane {

class LabelBox : public TextBoxImpl {
public:
    explicit LabelBox(DrawArea* d) : TextBoxImpl(d) {}

    // Axis and data labels are made by the thousand from one format, so each label text, and each
    // format before it is expanded, is cut to this many bytes (at a character boundary).
    static constexpr size_t kMaxTextLength = 1024;
    static std::string limited(const std::string& text);

    // Font, size, colour and angle at once, as the label-style calls give them.
    void setStyle(const char* font, double fontSize, int fontColor, double fontAngle);
    // A box of this style showing `text` (limited), hanging from (x, y) by `alignment`.
    std::unique_ptr<LabelBox> copyWith(const std::string& text, int x, int y, int alignment) const;
    const std::string& text() const { return text_; }
    int fontColor() const { return fontColor_; }
    double fontAngle() const { return angle_; }
    int alignment() const { return alignment_; }
    // The keypad alignment (1-9) the program gave, or 0 for none: label styles start with
    // alignment 0, so the layer places their labels until the program says otherwise.
    int placement() const { return alignment_ >= 1 && alignment_ <= 9 ? alignment_ : 0; }
    // Label styles take their position as an offset from where each label is placed.
    int offsetX() const { return x_; }
    int offsetY() const { return y_; }
    // Whether painting it would show anything: a text in a visible colour, or a visible box.
    bool isVisible() const;
    const BoxStyle& style() const { return style_; }
};

}  // namespace plotvane

#endif

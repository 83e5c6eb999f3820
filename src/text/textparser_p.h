#ifndef PLOTVANE_TEXT_TEXTPARSER_P_H
#define PLOTVANE_TEXT_TEXTPARSER_P_H

#include "text/ttftextimpl_p.h"

#include <vector>

namespace plotvane {

class DrawArea;

// The style of the characters being read, changed by the markup's style commands, with the stack
// of styles saved by "font" and brought back by "/font".
class TextParser {
public:
    // At most this many saved styles; further saves and their restores are ignored in pairs.
    static constexpr int kMaxSaved = 256;

    TextParser(DrawArea* d, const TextStyle& style) : drawArea_(d), style_(style) {}

    TextStyle& style() { return style_; }
    // Applies the items of one style command, given without its "<*" and "*>".
    void applyCommand(const char32_t* begin, const char32_t* end);

private:
    void save();
    void restore();

    DrawArea* drawArea_;
    TextStyle style_;
    std::vector<TextStyle> saved_;
    int unsaved_ = 0;  // saves refused because the stack was full
};

// Points as markup or a caller gives them: above 4096 stands for 100, not a number for 0.
double saneFontSize(double points);

}  // namespace plotvane

#endif

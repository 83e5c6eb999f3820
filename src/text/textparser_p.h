#ifndef PLOTVANE_TEXT_TEXTPARSER_P_H
#define PLOTVANE_TEXT_TEXTPARSER_P_H

#include "text/ttftextimpl_p.h"

#include <string>
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
    struct Opened {
        std::u32string name;
        TextStyle before;
    };

    void save();
    void restore();
    // "/name" for a command other than font: the style as it was before the latest "name".
    void close(const std::u32string& name);

    DrawArea* drawArea_;
    TextStyle style_;
    struct Saved {
        TextStyle style;
        size_t opened;  // opened_.size() when saved
    };
    std::vector<Saved> saved_;
    std::vector<Opened> opened_;  // commands a closing tag can undo, oldest first
    int unsaved_ = 0;  // saves refused because the stack was full
};

// Points as markup or a caller gives them: above 4096 stands for 100, not a number for 0.
double saneFontSize(double points);

}  // namespace plotvane

#endif

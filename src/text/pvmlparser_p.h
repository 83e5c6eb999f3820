#ifndef PLOTVANE_TEXT_PVMLPARSER_P_H
#define PLOTVANE_TEXT_PVMLPARSER_P_H

// The lexical layer of the markup: commands between "<*" and "*>", the "<<*" escape, line breaks,
// and the comma-separated "name=value" items inside a command.

#include <cstddef>
#include <string>
#include <vector>

namespace plotvane {

// Coordinates and sizes read from markup are kept within this many pixels, so that sums of them
// stay far inside int.
constexpr int kMaxMarkupPixels = 1 << 20;

struct PVMLToken {
    enum Kind { End, Chars, Command, LineBreak };
    Kind kind = End;
    size_t begin = 0, end = 0;  // the characters, or the command's text without "<*" and "*>"
};

// Cuts text into stretches of characters, commands and line breaks, in one pass.
class PVMLScanner {
public:
    explicit PVMLScanner(const std::u32string& text) : text_(text) {}
    PVMLToken next();
    const std::u32string& text() const { return text_; }

private:
    const std::u32string& text_;
    size_t pos_ = 0;
};

struct PVMLItem {
    std::u32string name;   // lower case
    std::u32string value;  // without surrounding blanks
    bool hasValue = false;
};

// The items of a command, in order.
std::vector<PVMLItem> splitItems(const char32_t* begin, const char32_t* end);

// What the block scanner does with a command.
enum class Structure { Style, LineBreak, Block, Image, EndBlock };
Structure commandStructure(const char32_t* begin, const char32_t* end);

// Values: integers with automatic base, clamped to int; colours always hexadecimal; sizes as
// decimal fractions. Malformed text reads as 0.
int readInt(const std::u32string& value);
int readColor(const std::u32string& value);
double readDouble(const std::u32string& value);
// 8-bit text of a value (UTF-8), at most maxBytes long.
std::string narrowValue(const std::u32string& value, size_t maxBytes);

}  // namespace plotvane

#endif

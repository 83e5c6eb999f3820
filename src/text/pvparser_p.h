#ifndef PLOTVANE_TEXT_PVPARSER_P_H
#define PLOTVANE_TEXT_PVPARSER_P_H

// Field templates: text with {name|format} fields that the labelled object fills in, escape
// directives, and arithmetic fields {=expression|format} evaluated once every field is in.

#include <cstddef>
#include <string>
#include <vector>

namespace plotvane {

class Formatter;

// What a labelled object (a data point, an axis label, a sector ...) answers for its fields.
class FieldProvider {
public:
    virtual ~FieldProvider() = default;
    // Puts the text of the field `name` in `text`, formatting numbers with
    // formatter.format(format, value), and returns true; returns false for a name the object does
    // not know, which then stays in the output as written. Inside arithmetic fields `format`
    // already asks for machine-readable output.
    virtual bool fieldText(const std::string& name, const char* format, Formatter& formatter, std::string& text) = 0;
};

class PVParser {
public:
    enum Flag { EscapeHtml = 1, EscapeUrl = 2, LegacyFields = 4, EscapeJs = 8 };
    // Field names and formats are cut to this many bytes.
    static constexpr size_t kMaxFieldText = 255;

    PVParser(const char* text, int flags);

    // The next field's name, or null when there are no more. Escape directives are applied and
    // skipped. A field not replaced before the next call stays in the output as written.
    const char* getNextAttr();
    // The current field's format (empty when it has none).
    const char* getFormatString() const { return format_.c_str(); }
    bool isInArithmetic() const { return inArithmetic_; }
    // The escaping the current field gets: the flags and whether markup is stripped.
    int escapeFlags() const { return flags_; }
    bool stripsMarkup() const { return stripMarkup_; }
    // Where the current field starts in the finished text, and its length as written.
    size_t outputLength() const { return output_.size(); }
    size_t fieldLength() const { return fieldEnd_ - fieldStart_; }
    // Replaces the current field by the escaped text (null counts as empty).
    void replaceAttr(const char* text);
    // The finished text, arithmetic fields evaluated with the formatter (left as they stand when
    // it is null). The first call fixes the result; it lives as long as the parser.
    const char* getResult(Formatter* formatter);

private:
    // Position of the next `c` at or after a position, remembered so that the scan stays linear.
    struct Search {
        bool valid = false;
        size_t from = 0;
        size_t found = 0;
    };
    size_t find(char c, size_t from, Search& search) const;
    void copyThrough(size_t end);
    void keepUnreplacedField();
    bool applyDirective(const std::string& name);

    std::string input_;
    std::string output_;  // the finished text before pos_
    size_t pos_ = 0;
    int flags_ = 0;
    bool stripMarkup_ = false;
    bool inArithmetic_ = false;
    bool scanEnded_ = false;
    bool hasField_ = false;
    bool finished_ = false;
    size_t fieldStart_ = 0;
    size_t fieldEnd_ = 0;
    std::string name_;
    std::string format_;
    Search openSearch_, closeSearch_, ampSearch_, secondAmpSearch_;
};

// The escaping of a substituted value: markup stripping, then URL, JavaScript and HTML escaping
// as the flags ask.
std::string escapeFieldValue(const char* value, int flags, bool stripMarkup);
void appendEscapedFieldValue(std::string& out, const char* value, int flags, bool stripMarkup);

// Evaluates an arithmetic field's expression: + and - over *, /, ^ and % (all four at one level),
// left to right, with unary signs and parentheses. Text that is not a number counts as 0.
double evaluateExpression(const char* begin, const char* end);

// Replaces every "{=expression|format}" in the text by its formatted value.
std::string evaluateArithmeticFields(const std::string& text, Formatter& formatter);

// A template scanned once and then filled for any number of objects, each time as a PVParser round
// would fill it: fields the provider knows replaced and escaped, the others left as written,
// arithmetic fields evaluated.
class FieldTemplate {
public:
    FieldTemplate(const std::string& tmpl, int flags);
    bool empty() const { return text_.empty(); }
    // Appends the filled text to out.
    void fill(std::string& out, FieldProvider& provider, Formatter& formatter) const;

private:
    struct Field {
        size_t at, length;  // in text_
        std::string name, format;
        int flags;
        bool stripMarkup, arithmetic;
    };
    std::string text_;  // the template with its directives taken out and every field as written
    std::vector<Field> fields_;
    // A field's text before escaping, kept between fills so that they allocate nothing once grown.
    mutable std::string value_;
};

// The usual round: every field the provider knows is replaced, arithmetic fields evaluated.
std::string substituteFields(const char* tmpl, int flags, FieldProvider& provider, Formatter& formatter);

// A chart's formatValue: a null format or one without "{" is a format code; otherwise a template
// (with the legacy & fields) in which only the field "value" is replaced.
std::string formatValueWithTemplate(Formatter& formatter, double value, const char* format);

}  // namespace plotvane

#endif

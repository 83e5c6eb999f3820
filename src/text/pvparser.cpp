// The field scanner.
//
// The template is never rewritten in place: the scanner reads the template from left to right and
// appends to a separate output the text before each field, then either the replacement (from
// replaceAttr) or, for a name the owner does not know, the field as written. The searches for the
// next "{", "}" and "&" remember their last answer, and every position only moves forward, so a
// template of any size costs time in proportion to its length.
//
// An arithmetic field "{=...}" is not handed to the owner; the scanner steps inside it, so the
// fields within are substituted (in machine mode, unescaped), and leaves it at the first "}" that
// does not close an inner field. getResult then evaluates what the fields left behind.
#include "text/pvparser_p.h"

#include <algorithm>
#include <cstring>

#include "text/formatter_p.h"

namespace plotvane {

namespace {
constexpr size_t kNone = std::string::npos;

bool startsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != *prefix) return false;
    }
    return true;
}

std::string cut(const std::string& text, size_t begin, size_t end) {
    return text.substr(begin, std::min(end - begin, PVParser::kMaxFieldText));
}
}  // namespace

PVParser::PVParser(const char* text, int flags) : input_(text ? text : ""), flags_(flags) {
    // A javascript: link is not a URL to escape, but it still sits inside an HTML attribute.
    if ((flags_ & EscapeUrl) && startsWithNoCase(input_.c_str(), "javascript:"))
        flags_ = (flags_ & ~EscapeUrl) | EscapeHtml;
    stripMarkup_ = (flags & (EscapeHtml | EscapeUrl | EscapeJs)) != 0;
}

size_t PVParser::find(char c, size_t from, Search& search) const {
    if (search.valid && from >= search.from && (search.found == kNone || from <= search.found))
        return search.found;
    search.valid = true;
    search.from = from;
    search.found = input_.find(c, from);
    return search.found;
}

void PVParser::copyThrough(size_t end) {
    output_.append(input_, pos_, end - pos_);
    pos_ = end;
}

void PVParser::keepUnreplacedField() {
    if (!hasField_) return;
    hasField_ = false;
    copyThrough(fieldEnd_);
}

bool PVParser::applyDirective(const std::string& name) {
    if (name.size() < 9 || (name[0] != 'e' && name[0] != 'n')) return false;
    if (name == "escape_html") flags_ |= EscapeHtml;
    else if (name == "noescape_html") flags_ &= ~(EscapeHtml | EscapeJs);
    else if (name == "escape_url") flags_ |= EscapeUrl;
    else if (name == "noescape_url") flags_ &= ~EscapeUrl;
    else if (name == "escape_pvml") stripMarkup_ = true;
    else if (name == "noescape_pvml") stripMarkup_ = false;
    else if (name == "escape_js") flags_ |= EscapeJs;
    else if (name == "noescape_js") flags_ &= ~EscapeJs;
    else return false;
    return true;
}

const char* PVParser::getNextAttr() {
    keepUnreplacedField();
    while (!scanEnded_ && !finished_) {
        size_t open = find('{', pos_, openSearch_);
        size_t start = open;
        size_t close = kNone;
        bool braces = true;
        if (flags_ & LegacyFields) {
            size_t first = find('&', pos_, ampSearch_);
            if (first < open) {
                size_t second = find('&', first + 1, secondAmpSearch_);
                // Valid only with no "{" between the two; open is the first "{" after `first`.
                if (second != kNone && open > second) {
                    start = first;
                    close = second;
                    braces = false;
                }
            }
        }
        if (inArithmetic_) {
            size_t end = find('}', pos_, closeSearch_);
            if (end < start) {
                copyThrough(end + 1);
                inArithmetic_ = false;
                continue;
            }
        }
        if (start == kNone) return nullptr;
        if (braces) {
            close = find('}', open + 1, closeSearch_);
            if (close == kNone) {
                scanEnded_ = true;
                return nullptr;
            }
            size_t first = input_.find_first_not_of(" \t", open + 1);
            if (!inArithmetic_ && first < close && input_[first] == '=') {
                copyThrough(first + 1);
                inArithmetic_ = true;
                continue;
            }
        }
        const char* bar = static_cast<const char*>(std::memchr(input_.data() + start + 1, '|', close - start - 1));
        size_t nameEnd = bar ? static_cast<size_t>(bar - input_.data()) : close;
        name_.assign(input_, start + 1, std::min(nameEnd - start - 1, kMaxFieldText));
        if (nameEnd < close) format_.assign(input_, nameEnd + 1, std::min(close - nameEnd - 1, kMaxFieldText));
        else format_.clear();
        if (inArithmetic_) format_.insert(format_.begin(), Formatter::kMachineMode);
        copyThrough(start);
        if (applyDirective(name_)) {
            pos_ = close + 1;
            continue;
        }
        hasField_ = true;
        fieldStart_ = start;
        fieldEnd_ = close + 1;
        return name_.c_str();
    }
    return nullptr;
}

void PVParser::replaceAttr(const char* text) {
    if (!hasField_) return;
    hasField_ = false;
    if (inArithmetic_) output_ += text ? text : "";
    else appendEscapedFieldValue(output_, text, flags_, stripMarkup_);
    pos_ = fieldEnd_;
}

const char* PVParser::getResult(Formatter* formatter) {
    if (!finished_) {
        keepUnreplacedField();
        copyThrough(input_.size());
        if (formatter) output_ = evaluateArithmeticFields(output_, *formatter);
        finished_ = true;
    }
    return output_.c_str();
}

std::string evaluateArithmeticFields(const std::string& text, Formatter& formatter) {
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t open = text.find('{', pos);
        if (open == kNone) break;
        size_t equals = text.find_first_not_of(" \t", open + 1);
        if (equals == kNone || text[equals] != '=') {
            out.append(text, pos, open + 1 - pos);
            pos = open + 1;
            continue;
        }
        size_t stop = text.find_first_of("|}", equals + 1);
        if (stop == kNone) break;
        size_t close = text[stop] == '}' ? stop : text.find('}', stop + 1);
        if (close == kNone) break;
        std::string code = stop < close ? cut(text, stop + 1, close) : std::string();
        double value = evaluateExpression(text.data() + equals + 1, text.data() + stop);
        out.append(text, pos, open - pos);
        out += formatter.format(code.c_str(), value);
        pos = close + 1;
    }
    out.append(text, pos, kNone);
    return out;
}

}  // namespace plotvane

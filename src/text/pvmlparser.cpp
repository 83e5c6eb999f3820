// The lexical layer of the markup.
//
// A command runs from "<*" to the next "*>", or to the end of the text when it is never closed;
// "<<*" is the escape for a literal "<*". Line feeds (with an optional carriage return before
// them) break lines like the "br" command. The scanner remembers only its position, so a text is
// cut in one pass whatever it holds.
//
// Inside a command, items are separated by "," and each is a name with an optional "=" and value.
// Four names are structural (they shape the block tree instead of the style) and are recognised
// only as the first item; everything else is left to the style and block parsers, which ignore
// what they do not know.

#include "text/pvmlparser_p.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace plotvane {

namespace {

bool isBlank(char32_t c) { return c == ' ' || c == '\t'; }

char32_t lower(char32_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// ASCII text of a value for the C library's number parsers; anything else ends the number.
std::string asciiOf(const std::u32string& value) {
    std::string out;
    out.reserve(value.size() < 64 ? value.size() : 64);
    for (char32_t c : value) {
        if (c == 0 || c > 0x7e || out.size() >= 64) break;
        out += static_cast<char>(c);
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | ((c >> 18) & 0x07));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

}  // namespace

PVMLToken PVMLScanner::next() {
    PVMLToken t;
    size_t n = text_.size();
    if (pos_ >= n) return t;
    size_t start = pos_;
    char32_t c = text_[pos_];
    if (c == '\n' || (c == '\r' && pos_ + 1 < n && text_[pos_ + 1] == '\n')) {
        pos_ += c == '\r' ? 2 : 1;
        t.kind = PVMLToken::LineBreak;
        return t;
    }
    if (c == '<' && pos_ + 2 < n && text_[pos_ + 1] == '<' && text_[pos_ + 2] == '*') {
        pos_ += 3;
        t.kind = PVMLToken::Chars;
        t.begin = start + 1;
        t.end = start + 3;
        return t;
    }
    if (c == '<' && pos_ + 1 < n && text_[pos_ + 1] == '*') {
        size_t close = text_.find(U"*>", pos_ + 2);
        t.kind = PVMLToken::Command;
        t.begin = pos_ + 2;
        t.end = close == std::u32string::npos ? n : close;
        pos_ = close == std::u32string::npos ? n : close + 2;
        return t;
    }
    // Plain characters up to the next command, escape or line break.
    size_t i = pos_ + 1;
    for (; i < n; ++i) {
        char32_t d = text_[i];
        if (d == '\n' || (d == '\r' && i + 1 < n && text_[i + 1] == '\n')) break;
        if (d == '<' && i + 1 < n && (text_[i + 1] == '*' || (text_[i + 1] == '<' && i + 2 < n && text_[i + 2] == '*')))
            break;
    }
    pos_ = i;
    t.kind = PVMLToken::Chars;
    t.begin = start;
    t.end = i;
    return t;
}

std::vector<PVMLItem> splitItems(const char32_t* begin, const char32_t* end) {
    std::vector<PVMLItem> items;
    for (const char32_t* p = begin;;) {
        const char32_t* stop = p;
        while (stop < end && *stop != ',') ++stop;
        const char32_t* eq = p;
        while (eq < stop && *eq != '=') ++eq;
        auto trimmed = [](const char32_t* a, const char32_t* b) {
            while (a < b && isBlank(*a)) ++a;
            while (b > a && isBlank(b[-1])) --b;
            return std::u32string(a, b);
        };
        PVMLItem item;
        item.name = trimmed(p, eq);
        for (char32_t& c : item.name) c = lower(c);
        if (eq < stop) {
            item.hasValue = true;
            item.value = trimmed(eq + 1, stop);
        }
        if (!item.name.empty() || item.hasValue) items.push_back(std::move(item));
        if (stop == end) break;
        p = stop + 1;
    }
    return items;
}

Structure commandStructure(const char32_t* begin, const char32_t* end) {
    const char32_t* p = begin;
    while (p < end && isBlank(*p)) ++p;
    auto startsWord = [&](const char32_t* word) {
        const char32_t* q = p;
        for (; *word; ++word, ++q)
            if (q >= end || lower(*q) != static_cast<char32_t>(*word)) return false;
        return q >= end || isBlank(*q) || *q == '*' || *q == ',' || *q == '=';
    };
    if (p < end && *p == '/') {
        ++p;
        // "/b..." ends a block, short of the one style whose closing tag starts with a b.
        if (startsWord(U"bgcolor")) return Structure::Style;
        return p >= end || lower(*p) == 'b' || isBlank(*p) || *p == '*' ? Structure::EndBlock : Structure::Style;
    }
    if (startsWord(U"br")) return Structure::LineBreak;
    if (startsWord(U"block")) return Structure::Block;
    if (startsWord(U"img")) return Structure::Image;
    return Structure::Style;
}

int readInt(const std::u32string& value) {
    std::string s = asciiOf(value);
    long long v = std::strtoll(s.c_str(), nullptr, 0);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

int readColor(const std::u32string& value) {
    std::string s = asciiOf(value);
    unsigned long long v = std::strtoull(s.c_str(), nullptr, 16);
    return static_cast<int>(static_cast<unsigned>(v & 0xffffffffu));
}

double readDouble(const std::u32string& value) {
    std::string s = asciiOf(value);
    return std::strtod(s.c_str(), nullptr);
}

std::string narrowValue(const std::u32string& value, size_t maxBytes) {
    std::string out;
    for (char32_t c : value) {
        std::string one;
        appendUtf8(one, c);
        if (out.size() + one.size() > maxBytes) break;
        out += one;
    }
    return out;
}

}  // namespace plotvane

// Escaping of substituted field values, in a fixed order: markup commands are stripped first (so
// their characters are not escaped into the output), then the URL, JavaScript and HTML escapes.
// The HTML step also runs for URLs, because a link ends up inside an HTML attribute.
#include <cstring>
#include <string>

#include "text/pvparser_p.h"

namespace plotvane {

namespace {

// A markup command that is a line break: "br" followed by nothing or a separator.
bool isLineBreakCommand(const std::string& text, size_t begin, size_t end) {
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    if (end - begin < 2) return false;
    if ((text[begin] | 0x20) != 'b' || (text[begin + 1] | 0x20) != 'r') return false;
    return begin + 2 == end || std::strchr(" \t,=*", text[begin + 2]) != nullptr;
}

std::string stripMarkup(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 3, "<<*") == 0) {
            out += "<*";
            i += 3;
        } else if (text.compare(i, 2, "<*") == 0) {
            size_t end = text.find("*>", i + 2);
            if (end == std::string::npos) break;
            if (isLineBreakCommand(text, i + 2, end)) out += ' ';
            i = end + 2;
        } else {
            out += text[i++];
        }
    }
    return out;
}

// A plain loop: values are a few bytes, shorter than a library search takes to start.
bool hasMarkupCommand(const char* text) {
    for (; *text; ++text)
        if (text[0] == '<' && text[1] == '*') return true;
    return false;
}

bool isUrlSpecial(char c) {
    return c == ' ' || c == '%' || c == '?' || c == '&' || c == '+' || c == '=' || c == '#';
}

// What each byte may need: kUrlByte under the URL escape, kQuotedByte under the JavaScript or
// HTML escape. One look-up per byte keeps the common, plain bytes cheap.
enum : unsigned char { kUrlByte = 1, kQuotedByte = 2 };

struct ByteKinds {
    unsigned char kind[256] = {};
    ByteKinds() {
        for (int c = 0; c < 256; ++c) {
            if (isUrlSpecial(static_cast<char>(c))) kind[c] |= kUrlByte;
            if (c == '\'' || c == '"' || c == '>' || c == '\n' || c == '\\') kind[c] |= kQuotedByte;
        }
    }
};

}  // namespace

// One pass does the three escapes: the URL escape's output holds nothing the later two touch, and
// a JavaScript backslash is nothing HTML escapes.
void appendEscapedFieldValue(std::string& out, const char* value, int flags, bool stripMarkupCommands) {
    if (!value) return;
    std::string stripped;
    if (stripMarkupCommands && hasMarkupCommand(value)) {
        stripped = stripMarkup(value);
        value = stripped.c_str();
    }
    bool url = flags & PVParser::EscapeUrl, js = flags & PVParser::EscapeJs;
    bool html = flags & (PVParser::EscapeHtml | PVParser::EscapeUrl);
    static const char kHex[] = "0123456789ABCDEF";
    static const ByteKinds kBytes;
    const unsigned char stops = (url ? kUrlByte : 0) | (js || html ? kQuotedByte : 0);
    // Values are mostly plain: what needs no escape is copied a run at a time.
    const char* run = value;
    for (const char* p = value;; ++p) {
        char c = *p;
        if (c && !(kBytes.kind[static_cast<unsigned char>(c)] & stops)) continue;
        out.append(run, static_cast<size_t>(p - run));
        if (!c) return;
        run = p + 1;
        if (url && isUrlSpecial(c)) {
            out += '%';
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[c & 15];
            continue;
        }
        if (js && (c == '\'' || c == '"' || c == '\n' || c == '\\')) {
            out += '\\';
            if (c == '\n') c = 'n';
        }
        if (html && (c == '\'' || c == '"' || c == '>')) {
            out += c == '>' ? "&#62;" : c == '"' ? "&#34;" : "&#39;";
            continue;
        }
        out += c;
    }
}

std::string escapeFieldValue(const char* value, int flags, bool stripMarkupCommands) {
    std::string out;
    appendEscapedFieldValue(out, value, flags, stripMarkupCommands);
    return out;
}

}  // namespace plotvane

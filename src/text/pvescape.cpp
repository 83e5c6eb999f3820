// Escaping of substituted field values, in a fixed order: markup commands are stripped first (so
// their characters are not escaped into the output), then the URL, JavaScript and HTML escapes.
// The HTML step also runs for URLs, because a link ends up inside an HTML attribute.
#include <cstdio>
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

void appendHex(std::string& out, unsigned char c) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%%%02X", c);
    out += buf;
}

}  // namespace

std::string escapeFieldValue(const char* value, int flags, bool stripMarkupCommands) {
    std::string text = value ? value : "";
    if (stripMarkupCommands && text.find("<*") != std::string::npos) text = stripMarkup(text);
    if (flags & PVParser::EscapeUrl) {
        std::string out;
        for (char c : text) {
            if (c && std::strchr(" %?&+=#", c)) appendHex(out, static_cast<unsigned char>(c));
            else out += c;
        }
        text.swap(out);
    }
    if (flags & PVParser::EscapeJs) {
        std::string out;
        for (char c : text) {
            if (c == '\'' || c == '"' || c == '\n' || c == '\\') out += '\\';
            out += c == '\n' ? 'n' : c;
        }
        text.swap(out);
    }
    if (flags & (PVParser::EscapeHtml | PVParser::EscapeUrl)) {
        std::string out;
        for (char c : text) {
            if (c == '\'' || c == '"' || c == '>') out += "&#" + std::to_string(static_cast<int>(c)) + ";";
            else out += c;
        }
        text.swap(out);
    }
    return text;
}

}  // namespace plotvane

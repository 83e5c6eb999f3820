#include "text/fontspec_p.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace plotvane {

namespace {

constexpr size_t kMaxSpecName = 1023;
constexpr size_t kMaxStandardName = 62;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct WindowsName {
    const char* file;
    const char* family;
    int style;
};

const WindowsName kWindowsNames[] = {
    {"arial.ttf", "Arial", 0},           {"arialbd.ttf", "Arial", 1},
    {"ariali.ttf", "Arial", 2},          {"arialbi.ttf", "Arial", 3},
    {"times.ttf", "Times New Roman", 0}, {"timesbd.ttf", "Times New Roman", 1},
    {"timesi.ttf", "Times New Roman", 2}, {"timesbi.ttf", "Times New Roman", 3},
    {"cour.ttf", "Courier New", 0},      {"courbd.ttf", "Courier New", 1},
    {"couri.ttf", "Courier New", 2},     {"courbi.ttf", "Courier New", 3},
};

const char* const kFamilies[] = {"Arial",        "Times New Roman", "Courier New", "Verdana",
                                 "Arial Narrow", "Georgia",         "Trebuchet MS"};

struct CompatibleFamily {
    const char* family;
    const char* filePrefix;
};

const CompatibleFamily kCompatibleFamilies[] = {
    {"Arial", "LiberationSans-"},
    {"Times New Roman", "LiberationSerif-"},
    {"Courier New", "LiberationMono-"},
    {"Arial Narrow", "LiberationSansNarrow-"},
};

}  // namespace

std::string toLowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool equalsNoCase(const std::string& a, const char* b) { return toLowerAscii(a) == toLowerAscii(b); }

bool endsWithNoCase(const std::string& s, const char* suffix) {
    size_t n = std::strlen(suffix);
    return s.size() >= n && equalsNoCase(s.substr(s.size() - n), suffix);
}

FontSpec parseFontSpec(const char* spec, int fontIndex) {
    FontSpec out;
    out.index = fontIndex;
    std::string s = spec ? spec : "";
    size_t b = 0;
    while (b < s.size() && isBlank(s[b])) ++b;
    size_t e = s.size();
    while (e > b && isBlank(s[e - 1])) --e;
    out.text = s.substr(b, e - b);

    std::string rest = out.text;
    for (;;) {
        size_t wordStart = rest.size();
        while (wordStart > 0 && !isBlank(rest[wordStart - 1])) --wordStart;
        std::string word = rest.substr(wordStart);
        int flag = equalsNoCase(word, "bold") ? kSyntheticBold : equalsNoCase(word, "italic") ? kSyntheticItalic : 0;
        if (word.empty() || !flag) break;
        out.flags |= flag;
        while (wordStart > 0 && isBlank(rest[wordStart - 1])) --wordStart;
        rest.resize(wordStart);
    }

    size_t bar = rest.rfind('|');
    if (bar != std::string::npos) {
        std::string digits = rest.substr(bar + 1, kMaxSpecName);
        long v = std::strtol(digits.c_str(), nullptr, 0);
        out.index = static_cast<int>(v < 0 ? 0 : v > 0x7fffffff ? 0x7fffffff : v);
        rest.resize(bar);
    }
    if (rest.size() > kMaxSpecName) rest.resize(kMaxSpecName);
    out.base = rest;
    return out;
}

bool mapStandardFont(const std::string& name, int& flags, StandardFont& out) {
    std::string n = name;
    while (!n.empty() && isBlank(n.back())) n.pop_back();
    if (n.size() > kMaxStandardName) return false;
    for (const WindowsName& w : kWindowsNames) {
        if (equalsNoCase(n, w.file)) {
            out.family = w.family;
            out.style = w.style;
            return true;
        }
    }
    for (const char* family : kFamilies) {
        if (equalsNoCase(n, family)) {
            out.family = family;
            out.style = ((flags & kSyntheticBold) ? 1 : 0) | ((flags & kSyntheticItalic) ? 2 : 0);
            flags &= ~(kSyntheticBold | kSyntheticItalic);
            return true;
        }
    }
    return false;
}

std::string metricCompatibleFile(const std::string& family, int style) {
    static const char* const kStyles[] = {"Regular", "Bold", "Italic", "BoldItalic"};
    for (const CompatibleFamily& c : kCompatibleFamilies)
        if (equalsNoCase(family, c.family)) return std::string(c.filePrefix) + kStyles[style & 3] + ".ttf";
    return std::string();
}

int pointsToPixels(double points) {
    if (!(points > 0)) return 0;
    if (points > 4096) points = 4096;
    return static_cast<int>(points * 96 + 36) / 72;
}

}  // namespace plotvane

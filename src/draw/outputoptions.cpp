#include "draw/outputoptions_p.h"

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace plotvane {

namespace {

std::string lowerTrimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t");
    std::string out = s.substr(b, e - b + 1);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

double readCDouble(const char* text) {
    std::string s(text ? text : "");
    const char* point = std::localeconv()->decimal_point;
    if (point && *point && std::strcmp(point, ".") != 0) {
        size_t dot = s.find('.');
        if (dot != std::string::npos) s.replace(dot, 1, point);
    }
    return std::strtod(s.c_str(), nullptr);
}

void OutputOptions::parse(const char* text) {
    values_.clear();
    std::string all = text ? text : "";
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(';', start);
        if (end == std::string::npos) end = all.size();
        std::string piece = all.substr(start, end - start);
        size_t eq = piece.find('=');
        std::string key = lowerTrimmed(piece.substr(0, eq));
        if (!key.empty()) values_[key] = eq == std::string::npos ? std::string() : lowerTrimmed(piece.substr(eq + 1));
        start = end + 1;
    }
}

const char* OutputOptions::get(const char* key) const {
    auto it = values_.find(lowerTrimmed(key ? key : ""));
    return it == values_.end() ? nullptr : it->second.c_str();
}

double OutputOptions::getDouble(const char* key, double defaultValue) const {
    const char* value = get(key);
    if (!value || !*value) return defaultValue;
    return readCDouble(value);
}

double OutputOptions::getPositiveDouble(const char* key, double defaultValue) const {
    double v = getDouble(key, defaultValue);
    return v > 0 ? v : defaultValue;
}

}  // namespace plotvane

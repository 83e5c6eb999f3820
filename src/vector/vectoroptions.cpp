#include "vector/vectoroptions_p.h"

#include <cmath>
#include <cstdlib>

namespace plotvane {

namespace {

// strtod follows the locale; the options are always written with a decimal point.
double readCDecimal(const char* s) {
    double sign = 1, value = 0, scale = 1;
    while (*s == ' ' || *s == '\t') ++s;
    if (*s == '+' || *s == '-') sign = *s++ == '-' ? -1 : 1;
    for (; *s >= '0' && *s <= '9'; ++s) value = value * 10 + (*s - '0');
    if (*s == '.')
        for (++s; *s >= '0' && *s <= '9'; ++s) value += (*s - '0') * (scale /= 10);
    if (*s == 'e' || *s == 'E') {
        char* end = nullptr;
        long e = std::strtol(s + 1, &end, 10);
        if (end != s + 1 && e > -400 && e < 400) value *= std::pow(10.0, static_cast<double>(e));
    }
    return sign * value;
}

}  // namespace

double VectorOptions::getDouble(const char* key, double def) const {
    const char* value = get(key);
    if (!value || !*value) return def;
    return readCDecimal(value);
}

double VectorOptions::getPositiveDouble(const char* key, double def) const {
    double v = getDouble(key, def);
    return v > 0 ? v : def;
}

}  // namespace plotvane

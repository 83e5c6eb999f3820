#ifndef PLOTVANE_FOUNDATION_FLOORS_P_H
#define PLOTVANE_FOUNDATION_FLOORS_P_H

// Floors by truncation and a correction. Drawing rounds every coordinate it touches, and where
// SSE4.1's rounding instruction cannot be assumed std::floor is a long instruction sequence.

#include <cmath>
#include <cstdint>

namespace plotvane {

// floor(v) as an int, for v well inside the int range: the plain conversion truncates, so values
// below a whole number step down one.
inline int floorToInt(double v) {
    const int i = static_cast<int>(v);
    return i - (static_cast<double>(i) > v ? 1 : 0);
}

// v == std::floor(v), for any v: every double of 2^52 or more is whole.
inline bool isWhole(double v) {
    return std::fabs(v) < 0x1p52 ? static_cast<double>(static_cast<int64_t>(v)) == v : v == v;
}

}  // namespace plotvane

#endif

#ifndef PLOTVANE_DRAW_ANGLES_P_H
#define PLOTVANE_DRAW_ANGLES_P_H

#include <cmath>

namespace plotvane {

// Cosine and sine of an angle in degrees; exactly 0 or +-1 at multiples of 90 so that axis-aligned
// geometry stays on whole pixels.
inline double cosDeg(double degrees) {
    double q = degrees / 90;
    if (q == std::floor(q) && std::fabs(q) < 1e9) {
        static const double values[] = {1, 0, -1, 0};
        return values[static_cast<long long>(std::fmod(std::fmod(q, 4) + 4, 4))];
    }
    return std::cos(degrees * 3.14159265358979 / 180);
}

inline double sinDeg(double degrees) {
    double q = degrees / 90;
    if (q == std::floor(q) && std::fabs(q) < 1e9) {
        static const double values[] = {0, 1, 0, -1};
        return values[static_cast<long long>(std::fmod(std::fmod(q, 4) + 4, 4))];
    }
    return std::sin(degrees * 3.14159265358979 / 180);
}

}  // namespace plotvane

#endif

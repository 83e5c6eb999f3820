#ifndef PLOTVANE_CHART_PIXEL_P_H
#define PLOTVANE_CHART_PIXEL_P_H

#include <algorithm>
#include <cmath>

namespace plotvane {

// The pixel of a coordinate, by floor(v + 0.5); far-off values are held to a billion pixels so the
// integer cannot overflow. Floored by truncation and a correction: charts round every coordinate
// they draw, and std::floor is a long instruction sequence on baseline x86-64.
inline int roundPixel(double v) {
    const double w = std::clamp(v, -1e9, 1e9) + 0.5;
    const int t = static_cast<int>(w);
    return t - (static_cast<double>(t) > w ? 1 : 0);
}

}  // namespace plotvane

#endif

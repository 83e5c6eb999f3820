#ifndef PLOTVANE_CHART_PIXEL_P_H
#define PLOTVANE_CHART_PIXEL_P_H

#include <algorithm>

#include "foundation/floors_p.h"

namespace plotvane {

// The pixel of a coordinate, by floor(v + 0.5); far-off values are held to a billion pixels so the
// integer cannot overflow.
inline int roundPixel(double v) { return floorToInt(std::clamp(v, -1e9, 1e9) + 0.5); }

}  // namespace plotvane

#endif

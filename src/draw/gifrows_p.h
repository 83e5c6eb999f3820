#ifndef PLOTVANE_DRAW_GIFROWS_P_H
#define PLOTVANE_DRAW_GIFROWS_P_H

#include <vector>

namespace plotvane {

// The picture rows in the order a GIF stores them: top to bottom, or in four interlace passes
// (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).
inline std::vector<int> gifRowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    static const int start[4] = {0, 4, 2, 1};
    static const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
    return rows;
}

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_OTHER_LABELSPREAD_P_H
#define PLOTVANE_CHART_OTHER_LABELSPREAD_P_H

#include <vector>

namespace plotvane {

// One label of a column: where its top would like to be, and its height.
struct SpreadItem {
    double want;
    double height;
    double top = 0;  // the result
};

// Moves the labels of a column, given in order of `want`, as little as possible (least squares)
// so that no label overlaps the one before it, keeping them between lo and hi where they
// fit; a column taller than the room starts at lo and runs past hi.
void spreadLabels(std::vector<SpreadItem>& items, double lo, double hi);

}  // namespace plotvane

#endif

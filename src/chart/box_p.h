#ifndef PLOTVANE_CHART_BOX_P_H
#define PLOTVANE_CHART_BOX_P_H

// The background and border of a box (text boxes, legends, titles), painted the same way
// everywhere a chart draws a box.

#include <plotvane/constants.h>

namespace plotvane {

class DrawArea;

struct BoxStyle {
    int fillColor = Chart::Transparent;
    int edgeColor = Chart::Transparent;
    // A raised (positive) or sunken depth, a flat border code, or a lighting effect code.
    int raisedEffect = 0;
    // Top-left, top-right, bottom-right, bottom-left.
    int radii[4] = {0, 0, 0, 0};

    // A -1 corner copies r1.
    void setRoundedCorners(int r1, int r2, int r3, int r4);
    // How far the border reaches into the box, which automatic margins leave free.
    int borderAllowance() const;
    void paint(DrawArea* d, int left, int top, int width, int height) const;
};

}  // namespace plotvane

#endif

// The multi-chart: members are laid out and painted whole, each into its own drawing surface, and
// that surface is merged into this one as a recorded sub-drawing, so vector output keeps the
// members as vectors. Offsets are found through the containers; a container that is asked again
// while it is still answering (a member cycle) answers 0 instead of recursing.

#include "chart/multichart_p.h"

namespace plotvane {

MultiChart* MultiChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* c = new MultiChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    return c;
}

}  // namespace plotvane

#ifndef PLOTVANE_BARLAYER_H
#define PLOTVANE_BARLAYER_H

// Bars from a base line to each value, vertical or (on a swapped chart) horizontal, flat or 3D.
// How the data sets share an x slot follows the layer's combine method: side by side (Chart::Side),
// stacked (Chart::Stack), stacked to 100 (Chart::Percentage), over one another (Chart::Overlay)
// or one behind the other (Chart::Depth). Bars may be shaped (a shape code or a polygon), have
// rounded corners, and be lit by the effect given to Layer::setBorderColor (Chart::glassEffect,
// Chart::softLighting, Chart::barLighting, Chart::flatBorder or a raised border width).

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>
#include <plotvane/layer.h>

namespace plotvane {

class PLOTVANE_API BarLayer : public virtual Layer {
public:
    // barGap: the part of each x slot left empty between bar groups (Chart::TouchBar: bars fill
    // their slot and touch); subBarGap: the gap between the bars of a group in bar widths, negative
    // for an overlap, Chart::TouchBar for none. A subBarGap of Chart::NoValue keeps the current one.
    virtual void setBarGap(double barGap, double subBarGap = 0.2) = 0;
    // Fixed widths in pixels instead of gaps; a subBarWidth of -1 keeps the sub-bars' gap rule.
    virtual void setBarWidth(int barWidth, int subBarWidth = -1) = 0;
    // Side-by-side bars overlap by this part of a bar; firstOnTop draws the first data set last.
    virtual void setOverlapRatio(double overlapRatio, bool firstOnTop = true) = 0;
    // Bars shorter than this (in pixels) carry their value label outside.
    virtual void setMinLabelSize(int size) = 0;
    // Hot spots of the image map are at least this many pixels across.
    virtual void setMinImageMapSize(int size) = 0;
    // Radii of the corners at the value end (r1, r2) and at the base (r3, r4). Omitted arguments:
    // r1 alone rounds the value end only, r1 and r2 round the value end by r1 and the base by r2.
    virtual void setRoundedCorners(int r1, int r2 = Chart::NoIntValue, int r3 = Chart::NoIntValue,
                                   int r4 = Chart::NoIntValue) = 0;
    // The legend icon's size; -1 uses the legend's key size.
    virtual void setIconSize(int height, int width = -1) = 0;
    // A shape code (Chart::CircleShape gives cylinders) or a polygon (x0, y0, x1, y1 ... on a
    // 1000 x 1000 square) for one data group and item; -1 stands for all of them.
    virtual void setBarShape(int shape, int dataGroup = -1, int dataItem = -1) = 0;
    virtual void setBarShape(IntArray polygon, int dataGroup = -1, int dataItem = -1) = 0;

protected:
    ~BarLayer() override;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_COLORAXIS_H
#define PLOTVANE_COLORAXIS_H

// An axis whose scale maps values to colours, drawn as a colour bar with its ticks, labels and
// title in a box. Contour layers fill by it and draw their contour lines at its ticks; getColor
// lets a program colour anything else by the same scale, with the bar as its legend.

#include <plotvane/axis.h>

namespace plotvane {

class PLOTVANE_API ColorAxis : public virtual Axis {
public:
    // Colours running from the lowest to the highest value of the scale: in fine steps when
    // continuous, else one colour per interval between ticks. Values below or above the scale
    // take the under- and overflow colours (-1: the first and last colour).
    virtual void setColorGradient(bool isContinuous = true, IntArray colors = IntArray(), int underflowColor = -1,
                                  int overflowColor = -1) = 0;
    // Stops given as value, colour, value, colour ... The scale runs from the first to the last
    // value; with fewer than 3 entries the colour scale is removed.
    virtual void setColorScale(DoubleArray colorStops, int underflowColor = -1, int overflowColor = -1) = 0;
    // The colour of a value; Chart::Transparent while the axis has no colour scale.
    virtual int getColor(double z) = 0;

    // The most intervals the scale is divided into (0 or less: 16).
    virtual void setLevels(int maxLevels) = 0;
    // A thin bar with the labels close to it.
    virtual void setCompactAxis(bool b = true) = 0;
    // Where the box goes: its point at the alignment (Chart::TopLeft ...) is (x, y).
    virtual void setAxisPos(int x, int y, int alignment) = 0;
    virtual void setAxisBorder(int edgeColor, int raisedEffect = 0) = 0;
    // A box around the bar, labels and title; these calls turn it on.
    virtual void setBoundingBox(int fillColor, int edgeColor = Chart::Transparent, int raisedEffect = 0) = 0;
    virtual void setBoxMargin(int m) = 0;
    virtual void setBoxMargin(int leftMargin, int rightMargin, int topMargin, int bottomMargin) = 0;
    // -1 radii take the first one.
    virtual void setRoundedCorners(int r1 = 10, int r2 = -1, int r3 = -1, int r4 = -1) = 0;
    // The size of the box, once the chart is laid out.
    virtual int getBoxWidth() = 0;
    virtual int getBoxHeight() = 0;
    // Whether the colours run in finer steps than the ticks.
    virtual bool isSmooth() = 0;

protected:
    ~ColorAxis() override;
};

}  // namespace plotvane

#endif

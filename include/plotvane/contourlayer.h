#ifndef PLOTVANE_CONTOURLAYER_H
#define PLOTVANE_CONTOURLAYER_H

// A layer that colours the plot area by z values given at (x, y) points, on a grid or scattered,
// and draws contour lines at the ticks of its colour axis. Points with a missing z leave holes.

#include <plotvane/coloraxis.h>
#include <plotvane/layer.h>

namespace plotvane {

class PLOTVANE_API ContourLayer : public virtual Layer {
public:
    virtual void setZData(DoubleArray zData) = 0;
    // z values are clamped into these bounds before the colour scale is made; Chart::NoValue or
    // Chart::DataBound leaves a side open.
    virtual void setZBounds(double minZ, double maxZ) = 0;
    // Grids are interpolated by cubic splines instead of linearly.
    virtual void setSmoothInterpolation(bool b) = 0;
    // Each grid point becomes a cell in one colour, reaching halfway to its neighbours, with no
    // interpolation and no contour lines. Scattered points are still interpolated.
    virtual void setHeatMap(bool b = true) = 0;
    // Colours and widths of the contour lines at major and minor ticks; -1 leaves a value as it is,
    // and the minor ones follow the major ones until set.
    virtual void setContourColor(int contourColor, int minorContourColor = -1) = 0;
    virtual void setContourWidth(int contourWidth, int minorContourWidth = -1) = 0;
    // contour: band edges are smoothed by four samples per pixel. markContour: contour lines are
    // traced on the data grid itself, at any output resolution, instead of along the band edges
    // of the plot's pixels.
    virtual void setExactContour(bool contour = true) = 0;
    virtual void setExactContour(bool contour, bool markContour) = 0;
    virtual ColorAxis* colorAxis() = 0;
    // Moves the colour axis and gives it a length and an orientation (the side of the bar its
    // labels are on: Chart::Left, Right, Top or Bottom).
    virtual ColorAxis* setColorAxis(int x, int y, int alignment, int length, int orientation) = 0;

protected:
    ~ContourLayer() override;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_POLARCHART_H
#define PLOTVANE_POLARCHART_H

// Polar and radar charts: each point is a radius and an angle. The plot area is a circle, or a
// polygon with a corner at each spoke; rings mark the radial axis's ticks and spokes the angular
// axis's. Angles are drawn clockwise from 12 o'clock unless the chart says otherwise. Missing
// values are Chart::NoValue; NaN given as data is taken as missing.

#include <plotvane/axis.h>
#include <plotvane/basechart.h>

namespace plotvane {

// The axis round the circumference. A label axis (setLabels) puts its n labels evenly round the
// whole circle, label i at value i; a numeric scale runs once round from its lower to its upper
// limit. Until told otherwise it runs from 0 to 360 with a spoke every 30.
class PLOTVANE_API AngularAxis : public virtual Axis {
public:
    using Axis::addZone;
    // A band of the sector between two angle values: only the ring between two radii, in pixels
    // from the centre (polygons like the rings when the grid is a polygon). Zones of both forms
    // are painted in the order added. An edge of -1 or Chart::Transparent is the fill colour.
    virtual void addZone(double startValue, double endValue, int startRadius, int endRadius, int fillColor,
                         int edgeColor = -1) = 0;

protected:
    ~AngularAxis() override;
};

// The axis from the centre out along the start angle; linear or logarithmic, scaled from the
// largest radius of the layers unless given.
class PLOTVANE_API RadialAxis : public virtual Axis {
protected:
    ~RadialAxis() override;
};

class PLOTVANE_API PolarLayer {
public:
    // Radii; -1 as the colour chooses one automatically.
    virtual void setData(DoubleArray data, int color = -1, const char* name = "") = 0;
    // Angle values of the points; without them point i stands at angle value i. The layer has as
    // many points as the shorter array.
    virtual void setAngles(DoubleArray angles) = 0;
    // -1: the layer's colour.
    virtual void setBorderColor(int edgeColor) = 0;
    virtual void setLineWidth(int w) = 0;
    virtual void setDataSymbol(int symbol, int size = 7, int fillColor = -1, int edgeColor = -1,
                               int lineWidth = 1) = 0;
    virtual void setDataSymbol(const char* image) = 0;
    virtual void setDataSymbol(DrawArea* obj) = 0;
    virtual void setDataSymbol(IntArray polygon, int size = 11, int fillColor = -1, int edgeColor = -1) = 0;
    // A symbol size per point: pixels (Chart::PixelScale) or units of the radial axis
    // (Chart::RadialAxisScale).
    virtual void setSymbolScale(DoubleArray sizes, int scaleType = Chart::PixelScale) = 0;
    virtual void setSymbolOffset(int offsetX, int offsetY) = 0;
    // The diameter of each point's hot spot.
    virtual void setImageMapWidth(int width) = 0;
    // Templates with {value} (the radius), {angle}, {label} (the angular label), {name}, {i}.
    virtual void setDataLabelFormat(const char* formatString) = 0;
    virtual TextBox* setDataLabelStyle(const char* font = "", double fontSize = 8, int fontColor = Chart::TextColor,
                                       double fontAngle = 0) = 0;
    virtual TextBox* addCustomDataLabel(int i, const char* label, const char* font = "", double fontSize = 8,
                                        int fontColor = Chart::TextColor, double fontAngle = 0) = 0;
    virtual void setHTMLImageMap(const char* url, const char* queryFormat = "", const char* extraAttr = "") = 0;
    // The hot spot of point i once the chart is laid out; empty for a point not drawn.
    virtual const char* getImageCoor(int dataItem, int offsetX = 0, int offsetY = 0) = 0;
    // Image maps are not available yet: empty.
    virtual const char* getHTMLImageMap(const char* url, const char* queryFormat = "", const char* extraAttr = "",
                                        int offsetX = 0, int offsetY = 0) = 0;

protected:
    virtual ~PolarLayer();
};

// Points joined in order, and the last back to the first unless the loop is opened.
class PLOTVANE_API PolarLineLayer : public virtual PolarLayer {
public:
    virtual void setCloseLoop(bool b) = 0;
    // Joins points across a missing value in this colour (Chart::Transparent: a gap); width -1
    // keeps the line width.
    virtual void setGapColor(int lineColor, int lineWidth = -1) = 0;

protected:
    ~PolarLineLayer() override;
};

// The polygon of the points, filled.
class PLOTVANE_API PolarAreaLayer : public virtual PolarLayer {
protected:
    ~PolarAreaLayer() override;
};

class PLOTVANE_API PolarSplineLineLayer : public virtual PolarLineLayer {
public:
    // 0 a round curve, 1 straight segments.
    virtual void setTension(double tension) = 0;

protected:
    ~PolarSplineLineLayer() override;
};

class PLOTVANE_API PolarSplineAreaLayer : public virtual PolarAreaLayer {
public:
    virtual void setTension(double tension) = 0;

protected:
    ~PolarSplineAreaLayer() override;
};

// An arrow at each point. Directions are degrees clockwise from up on the screen; lengths are
// pixels (Chart::PixelScale), radial axis units (Chart::RadialAxisScale) or angular axis units
// (Chart::AngularAxisScale, along the circle through the point).
class PLOTVANE_API PolarVectorLayer : public virtual PolarLayer {
public:
    virtual void setVector(DoubleArray lengths, DoubleArray directions, int lengthScale = Chart::PixelScale) = 0;
    virtual void setArrowHead(int width, int height = -1) = 0;
    // x0, y0, x1, y1 ... in pixels, the tip at 0, 0 and the arrow pointing up.
    virtual void setArrowHead(IntArray polygon) = 0;
    virtual void setArrowStem(IntArray polygon) = 0;
    // Chart::TopCenter: the arrow ends at its point; Chart::Center: centred on it; else it starts there.
    virtual void setArrowAlignment(int alignment) = 0;
    virtual void setVectorMargin(double startMargin, double endMargin = Chart::NoValue) = 0;
    virtual void setIconSize(int width, int height) = 0;

protected:
    ~PolarVectorLayer() override;
};

class PLOTVANE_API PolarChart : public virtual BaseChart {
public:
    static PolarChart* create(int width, int height, int bgColor = Chart::BackgroundColor,
                              int edgeColor = Chart::Transparent, int raisedEffect = 0);

    // A radius below 1 is taken as 1.
    virtual void setPlotArea(int x, int y, int r, int bgColor = Chart::Transparent, int edgeColor = Chart::Transparent,
                             int edgeWidth = 1) = 0;
    // Rings between grid lines alternate between the two colours when altRings is on and the
    // second colour is given.
    virtual void setPlotAreaBg(int bgColor1, int bgColor2 = -1, bool altRings = true) = 0;
    virtual void setGridColor(int rGridColor = 0x80000000, int rGridWidth = 1, int aGridColor = 0x80000000,
                              int aGridWidth = 1) = 0;
    // Polygon grid: rings and edge are polygons with a corner at each spoke.
    virtual void setGridStyle(bool polygonGrid, bool gridOnTop = true) = 0;
    // Degrees clockwise from 12 o'clock where the angular axis begins and the radial axis stands.
    virtual void setStartAngle(double startAngle, bool clockwise = true) = 0;
    virtual AngularAxis* angularAxis() = 0;
    virtual RadialAxis* radialAxis() = 0;
    // Pixels of a point, once the chart is laid out.
    virtual int getXCoor(double r, double a) = 0;
    virtual int getYCoor(double r, double a) = 0;

    virtual PolarLineLayer* addLineLayer(DoubleArray data, int color = -1, const char* name = "") = 0;
    virtual PolarAreaLayer* addAreaLayer(DoubleArray data, int color = -1, const char* name = "") = 0;
    virtual PolarSplineLineLayer* addSplineLineLayer(DoubleArray data, int color = -1, const char* name = "") = 0;
    virtual PolarSplineAreaLayer* addSplineAreaLayer(DoubleArray data, int color = -1, const char* name = "") = 0;
    virtual PolarVectorLayer* addVectorLayer(DoubleArray rData, DoubleArray aData, DoubleArray lengths,
                                             DoubleArray directions, int lengthScale = Chart::PixelScale,
                                             int color = -1, const char* name = "") = 0;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_METER_H
#define PLOTVANE_METER_H

// Meters show values on one scale: the angular meter (a dial whose scale is an arc or a whole
// circle, angles clockwise from 12 o'clock) and the linear meter (a horizontal or vertical bar).
// Rings, zones, bars and colour scales are decorations painted under the scale; pointers are
// painted over everything.

#include <plotvane/basechart.h>
#include <plotvane/drawobj.h>

namespace plotvane {

class PLOTVANE_API MeterPointer : public DrawObj {
public:
    // An edge of -1 is the fill colour.
    virtual void setColor(int fillColor, int edgeColor = -1) = 0;
    virtual void setPos(double value) = 0;
    // A ratio of NoValue keeps the current one; a shape type drops any custom shape.
    virtual void setShape(int pointerType, double lengthRatio = Chart::NoValue, double widthRatio = Chart::NoValue) = 0;
    // x, y pairs; y runs from the pivot (0) to the tip (1000), x across.
    virtual void setShape(IntArray pointerCoor, double lengthRatio = Chart::NoValue,
                          double widthRatio = Chart::NoValue) = 0;
    // Offsets are fractions of the meter's radius or length where the pointer starts and ends.
    virtual void setShapeAndOffset(int pointerType, double startOffset = Chart::NoValue,
                                   double endOffset = Chart::NoValue, double widthRatio = Chart::NoValue) = 0;
    virtual void setShapeAndOffset(IntArray pointerCoor, double startOffset = Chart::NoValue,
                                   double endOffset = Chart::NoValue, double widthRatio = Chart::NoValue) = 0;
};

class PLOTVANE_API BaseMeter : public virtual BaseChart {
public:
    // Ticks every majorTickInc from the lower limit, with minor and micro ticks between; an
    // increment of 0 leaves that kind out. Equal limits or no major increment: no ticks.
    virtual void setScale(double lowerLimit, double upperLimit, double majorTickInc = 0, double minorTickInc = 0,
                          double microTickInc = 0) = 0;
    // The labels spread evenly over the scale, the first at the lower limit.
    virtual void setScale(double lowerLimit, double upperLimit, StringArray labels) = 0;
    virtual void setScale(double lowerLimit, double upperLimit, DoubleArray labels, const char* formatString = "") = 0;
    // "^" a major tick labelled with the value, "-" a minor tick, ":" a micro tick, other text a
    // major tick with that text; an empty text removes the entry.
    virtual void addLabel(double pos, const char* label) = 0;
    // Null when there is no entry at pos. Valid until the scale changes.
    virtual const char* getLabel(double pos) = 0;
    // Positions of every entry, ascending. Valid until the next call.
    virtual DoubleArray getTicks() = 0;
    // The style of every label; a negative size keeps the current one.
    virtual TextBox* setLabelStyle(const char* font = "", double fontSize = -1, int fontColor = Chart::TextColor,
                                   double fontAngle = 0) = 0;
    virtual void setLabelFormat(const char* mainLabelFormat) = 0;
    virtual void setLabelPos(bool labelInside, int labelOffset = 0) = 0;
    // Minor ticks default to 0.6 of the major length, micro ticks to half the minor length.
    virtual void setTickLength(int majorLen) = 0;
    virtual void setTickLength(int majorLen, int minorLen) = 0;
    virtual void setTickLength(int majorLen, int minorLen, int microLen) = 0;
    virtual void setLineWidth(int axisWidth, int majorTickWidth = 1, int minorTickWidth = 1,
                              int microTickWidth = 1) = 0;
    // -1 keeps the label colour; a tick colour other than -1 goes to all three kinds.
    virtual void setMeterColors(int axisColor, int labelColor = -1, int tickColor = -1) = 0;
    // NaN values point at 0.
    virtual MeterPointer* addPointer(double value, int fillColor = Chart::LineColor, int edgeColor = -1) = 0;
    // colorStops: value, colour pairs. Positions and widths in pixels from the scale line, inwards
    // when negative; -2147483647 places the band automatically.
    virtual void addColorScale(DoubleArray colorStops, int startPos = -2147483647, int startWidth = -2147483647,
                               int endPos = -2147483647, int endWidth = -2147483647, int edgeColor = -1) = 0;
    // The angle (angular meters) or pixel (linear meters) of a value.
    virtual int getCoor(double v) = 0;
};

class PLOTVANE_API AngularMeter : public virtual BaseMeter {
public:
    static AngularMeter* create(int width, int height, int bgColor = Chart::BackgroundColor,
                                int edgeColor = Chart::Transparent, int raisedEffect = 0);

    // A span of 360 degrees makes a full-circle meter.
    virtual void setMeter(int cx, int cy, int radius, double startAngle = -90, double endAngle = 90) = 0;
    // In every decoration an edge colour of -1 is the fill colour.
    virtual void addRing(int startRadius, int endRadius, int fillColor, int edgeColor = -1) = 0;
    virtual void addRingSector(int startRadius, int endRadius, double a1, double a2, int fillColor,
                               int edgeColor = -1) = 0;
    virtual void addZone(double startValue, double endValue, int startRadius, int endRadius, int fillColor,
                         int edgeColor = -1) = 0;
    // Between the scale radius and the tip of the major ticks.
    virtual void addZone(double startValue, double endValue, int fillColor, int edgeColor = -1) = 0;
    // A disc (or the meter's sector, when angles are given) behind the scale.
    virtual void addScaleBackground(int bgRadius, int fillColor, int edgeWidth = 0, int edgeColor = -1,
                                    int scaleRadius = -2147483647, double startAngle = Chart::NoValue,
                                    double endAngle = Chart::NoValue) = 0;
    virtual void setCap(int radius, int fillColor, int edgeColor = Chart::LineColor) = 0;
    // A cap of two shaded discs sized by ratios of the meter radius.
    virtual void setCap2(int backColor = 0x888888, int frontColor = 0x000000, int frontEdgeColor = 0x888888,
                         double lightingRatio = 0.2, double backRadiusRatio = 0.15, double frontRadiusRatio = 0.11,
                         double frontEdgeWidthRatio = 0.01) = 0;
    // A glossy highlight over the dial; -1 radii follow the meter radius.
    virtual void addGlare(int radius = -1, double span = 135, double rotate = 0, int glareRadius = -1,
                          double intensity = 0.13) = 0;
    using BaseMeter::addPointer;
    // Also gives the meter a shaded cap when it has none.
    virtual MeterPointer* addPointer(double value, int fillColor, int edgeColor, int pointerType,
                                     double startOffset = Chart::NoValue, double endOffset = Chart::NoValue,
                                     double widthRatio = Chart::NoValue) = 0;
    // Gradients over the dial as placed by setMeter (call that first): linear across it at an angle
    // (0 runs from top to bottom), or radial from its centre; a radius of -1 is the meter radius,
    // any other positive one is in pixels.
    virtual int relativeLinearGradient(IntArray gradient, double angle = 0, double radius = -1) = 0;
    virtual int relativeRadialGradient(IntArray gradient, double radius = -1) = 0;
};

class PLOTVANE_API LinearMeter : public virtual BaseMeter {
public:
    static LinearMeter* create(int width, int height, int bgColor = Chart::BackgroundColor,
                               int edgeColor = Chart::Transparent, int raisedEffect = 0);

    // axisPos Chart::Top or Chart::Bottom makes a horizontal meter with its scale on that side;
    // Chart::Left or Chart::Right a vertical one.
    virtual void setMeter(int leftX, int topY, int width, int height, int axisPos = Chart::Left,
                          bool isReversed = false) = 0;
    virtual void setRail(int railColor, int railWidth = 2, int railOffset = 6) = 0;
    // A bar across the meter from startValue to endValue; its box carries an optional label.
    virtual TextBox* addBar(double startValue, double endValue, int color, int effect = 0, int roundedCorner = 0) = 0;
    virtual TextBox* addZone(double startValue, double endValue, int color, const char* label = "") = 0;
};

}  // namespace plotvane

#endif

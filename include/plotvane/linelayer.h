#ifndef PLOTVANE_LINELAYER_H
#define PLOTVANE_LINELAYER_H

// Line layers: each data set drawn as a line through its points, joined straight, by a smooth
// spline or by steps, optionally with symbols, labels and 3D depth. A missing value breaks the
// line; a gap colour bridges the break instead. A scatter layer is a line layer whose line width
// is 0, so only its symbols show.

#include <plotvane/layer.h>

namespace plotvane {

// The laid-out line of a data set, in pixels along the x axis (x) and the y axis (y). Other layers
// read it, for example to fill the region between two lines.
class PLOTVANE_API LineObj {
public:
    // The line's y at pixel x, interpolated between its points; Chart::NoValue outside the line.
    virtual double getY(double x) = 0;
    // Whether the point found by the last getY lies on a segment that bridges a missing value.
    virtual bool isGap() const = 0;

protected:
    virtual ~LineObj();
};

class PLOTVANE_API LineLayer : public virtual Layer {
public:
    // The colour and width of segments that bridge missing values. Chart::Transparent (the default
    // of straight and step lines) leaves a hole; a width of -1 follows the data set.
    virtual void setGapColor(int lineColor, int lineWidth = -1) = 0;
    // The width of the hot-spot band along the lines in image maps; 0: hot spots on symbols only.
    virtual void setImageMapWidth(int width) = 0;
    // With far more points than pixels, thins each pixel column before drawing.
    virtual void setFastLineMode(bool mode = true) = 0;
    // The line of a data set, once the chart is laid out; null before that or out of range.
    virtual LineObj* getLine(int dataSet = 0) = 0;
    // Symbol sizes per point from z values, in pixels (Chart::PixelScale) or in units of the x or y
    // axis (Chart::XAxisScale, Chart::YAxisScale). zData sizes the width, zData2 the height (empty:
    // the same as the width).
    virtual void setSymbolScale(DoubleArray zData, int scaleType = Chart::PixelScale,
                                DoubleArray zData2 = DoubleArray(), int scaleType2 = Chart::PixelScale) = 0;

protected:
    ~LineLayer() override;
};

class PLOTVANE_API SplineLayer : public virtual LineLayer {
public:
    // 0 gives a round curve, 1 straight segments; values between tighten the curve.
    virtual void setTension(double tension) = 0;
    // Chart::MonotonicNone, MonotonicX, MonotonicY, MonotonicXY or MonotonicAuto (the default: the
    // curve keeps x or y monotonic where the data are).
    virtual void setMonotonicity(int m) = 0;

protected:
    ~SplineLayer() override;
};

class PLOTVANE_API StepLineLayer : public virtual LineLayer {
public:
    // Where a value's step sits around its x: the left family (the default Chart::Left) holds a
    // value from its own x to the next point, the centre family steps halfway between points, the
    // right family holds the value up to its own x.
    virtual void setAlignment(int alignment) = 0;

protected:
    ~StepLineLayer() override;
};

}  // namespace plotvane

#endif

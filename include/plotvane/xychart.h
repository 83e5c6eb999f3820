#ifndef PLOTVANE_XYCHART_H
#define PLOTVANE_XYCHART_H

// The chart of data drawn against a horizontal and a vertical axis. It owns one plot area (its
// rectangle, background, grid and clipping), four axes (more with addAxis) and its layers.
// swapXY turns the chart: the x axis stands vertically and the y axes horizontally.

#include <plotvane/arealayer.h>
#include <plotvane/axis.h>
#include <plotvane/barlayer.h>
#include <plotvane/basechart.h>
#include <plotvane/boxlayer.h>
#include <plotvane/contourlayer.h>
#include <plotvane/layer.h>
#include <plotvane/trendlayer.h>

namespace plotvane {

class LineLayer;
class LineObj;
class SplineLayer;
class VectorLayer;
class StepLineLayer;

class PLOTVANE_API PlotArea {
public:
    // altBgColor -1: no alternate bands.
    virtual void setBackground(int color, int altBgColor = -1, int edgeColor = -1) = 0;
    virtual void setBackground(const char* img, int align = Chart::Center) = 0;
    // Bands between the major ticks of the y axis (horizontal) or of the x axis.
    virtual void setAltBgColor(bool horizontal, int color1, int color2, int edgeColor = -1) = 0;
    // The quadrants around the axes' origin: q1 upper right, then counter-clockwise.
    virtual void set4QBgColor(int q1Color, int q2Color, int q3Color, int q4Color, int edgeColor = -1) = 0;
    // -1 minor colours and widths follow the major ones; a vertical -1 follows the horizontal.
    virtual void setGridColor(int hGridColor, int vGridColor = Chart::Transparent, int minorHGridColor = -1,
                              int minorVGridColor = -1) = 0;
    virtual void setGridWidth(int hGridWidth, int vGridWidth = -1, int minorHGridWidth = -1,
                              int minorVGridWidth = -1) = 0;
    // The axes whose ticks place the grid; null leaves that one as it is.
    virtual void setGridAxis(const Axis* xGridAxis, const Axis* yGridAxis) = 0;
    // That layer and every layer behind it are drawn under the grid; null: none.
    virtual void moveGridBefore(Layer* layer = nullptr) = 0;
    virtual int getLeftX() = 0;
    virtual int getTopY() = 0;
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    virtual int getRightX() = 0;
    virtual int getBottomY() = 0;

protected:
    virtual ~PlotArea();
};

class PLOTVANE_API XYChart : public virtual BaseChart {
public:
    // Null for a chart larger than a picture may be (docs/limits.md).
    static XYChart* create(int width, int height, int bgColor = Chart::BackgroundColor,
                           int edgeColor = Chart::Transparent, int raisedEffect = 0);

    // Places the plot area by hand. A chart that never calls this (nor packPlotArea) lays itself
    // out when drawn: titles stack, an unplaced legend goes above the plot, the plot fills the rest.
    virtual PlotArea* setPlotArea(int x, int y, int width, int height, int bgColor = Chart::Transparent,
                                  int altBgColor = -1, int edgeColor = -1, int hGridColor = 0xc0c0c0,
                                  int vGridColor = Chart::Transparent) = 0;
    virtual PlotArea* getPlotArea() = 0;

    virtual Axis* xAxis() = 0;
    virtual Axis* xAxis2() = 0;
    virtual Axis* yAxis() = 0;
    virtual Axis* yAxis2() = 0;
    // An extra axis beside the plot area (Chart::Left, Right, Top or Bottom), offset pixels away
    // from it; null for any other alignment.
    virtual Axis* addAxis(int align, int offset) = 0;
    virtual void syncYAxis(double slope = 1, double intercept = 0) = 0;
    virtual void setYAxisOnRight(bool b = true) = 0;
    virtual void setXAxisOnTop(bool b = true) = 0;
    virtual void swapXY(bool b = true) = 0;
    // Chart::XAxisAtOrigin, Chart::YAxisAtOrigin or both; symmetryMode makes ranges symmetric
    // about 0 (Chart::XAxisSymmetric ...).
    virtual void setAxisAtOrigin(int originMode = Chart::XYAxisAtOrigin, int symmetryMode = 0) = 0;

    // Layers draw beyond the plot area by no more than margin pixels.
    virtual void setClipping(int margin = 0) = 0;
    // Layers keep len values from startPos of every array they are given.
    virtual void setTrimData(int startPos, int len = 0x7fffffff) = 0;

    // Bar layers. The forms with data make one Chart::Overlay layer; the multi-colour forms make
    // one data set per value, so each bar has its own colour (and legend name). A layer holds at
    // most 100,000 bar values in all its data sets (a line layer 16,777,216 points): the forms with
    // data return null past that, and addDataSet refuses a data set that would pass it.
    virtual BarLayer* addBarLayer(int dataCombineMethod = Chart::Side, int depth = 0) = 0;
    virtual BarLayer* addBarLayer(DoubleArray data, int color = -1, const char* name = "", int depth = 0) = 0;
    virtual BarLayer* addBarLayer(DoubleArray data, IntArray colors, StringArray names, int depth = 0) = 0;
    virtual BarLayer* addBarLayer(DoubleArray data, IntArray colors, int depth = 0) = 0;

    virtual Layer* getLayer(int i) = 0;
    // z 0 is the layer drawn first (at the back).
    virtual Layer* getLayerByZ(int i) = 0;
    virtual int getLayerCount() = 0;

    // Line layers (declared in <plotvane/linelayer.h>). A depth other than 0 draws the lines as 3D
    // ribbons. Line layers never stack: every combine method draws the data sets at their values.
    virtual LineLayer* addLineLayer(DoubleArray data, int color = -1, const char* name = "", int depth = 0) = 0;
    virtual LineLayer* addLineLayer(int dataCombineMethod = Chart::Overlay, int depth = 0) = 0;
    virtual SplineLayer* addSplineLayer(DoubleArray data, int color = -1, const char* name = "") = 0;
    virtual SplineLayer* addSplineLayer() = 0;
    virtual StepLineLayer* addStepLineLayer(DoubleArray data, int color = -1, const char* name = "") = 0;
    virtual StepLineLayer* addStepLineLayer() = 0;
    // Points at (xData[i], yData[i]) drawn as symbols without connecting lines; empty xData places
    // them at 0, 1, 2 ... A fill colour of -1 takes the next automatic colour.
    virtual LineLayer* addScatterLayer(DoubleArray xData, DoubleArray yData, const char* name = "",
                                       int symbol = Chart::SquareSymbol, int symbolSize = 5, int fillColor = -1,
                                       int edgeColor = -1) = 0;

    // Area, inter-line and vector layers (<plotvane/arealayer.h>, <plotvane/vectorlayer.h>). The
    // area form with data makes a Chart::Overlay layer; the empty form stacks by default. An
    // inter-line colour21 of -1 takes colour12; its lines come from LineLayer::getLine once the
    // chart is laid out (layout()), and it may be added after that.
    virtual AreaLayer* addAreaLayer(DoubleArray data, int color = -1, const char* name = "", int depth = 0) = 0;
    virtual AreaLayer* addAreaLayer(int dataCombineMethod = Chart::Stack, int depth = 0) = 0;
    virtual InterLineLayer* addInterLineLayer(LineObj* line1, LineObj* line2, int color12, int color21 = -1) = 0;
    virtual VectorLayer* addVectorLayer(DoubleArray xData, DoubleArray yData, DoubleArray lengths,
                                        DoubleArray directions, int lengthScale = Chart::PixelScale, int color = -1,
                                        const char* name = "") = 0;

    // Price and statistics layers. Each array becomes a data set in its role order (high, low,
    // open, close; box top, box bottom, maximum, minimum, median); an empty array leaves that role
    // missing. The price layers give the y axis room above and below the data.
    virtual HLOCLayer* addHLOCLayer() = 0;
    virtual HLOCLayer* addHLOCLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData = DoubleArray(),
                                    DoubleArray closeData = DoubleArray(), int color = -1) = 0;
    // Rise and fall colours; colorMode -1 compares each close with its open when there are opens,
    // else with the close before it.
    virtual HLOCLayer* addHLOCLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                                    DoubleArray closeData, int upColor, int downColor, int colorMode = -1,
                                    double leadValue = -1.7e308) = 0;
    // Rising candles are filled in riseColor (-1: the automatic colour), falling ones in fallColor;
    // both are edged, and their wicks drawn, in edgeColor.
    virtual CandleStickLayer* addCandleStickLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                                                  DoubleArray closeData, int riseColor = -1, int fallColor = 0,
                                                  int edgeColor = Chart::LineColor) = 0;
    virtual BoxWhiskerLayer* addBoxWhiskerLayer(DoubleArray boxTop, DoubleArray boxBottom,
                                                DoubleArray maxData = DoubleArray(), DoubleArray minData = DoubleArray(),
                                                DoubleArray midData = DoubleArray(), int fillColor = -1,
                                                int whiskerColor = Chart::LineColor, int edgeColor = -1) = 0;
    // Each box in its own colour (and, named, with a legend entry); whiskers and medians in the
    // box's colour at whiskerBrightness.
    virtual BoxWhiskerLayer* addBoxWhiskerLayer2(DoubleArray boxTop, DoubleArray boxBottom,
                                                 DoubleArray maxData = DoubleArray(),
                                                 DoubleArray minData = DoubleArray(),
                                                 DoubleArray midData = DoubleArray(), IntArray fillColors = IntArray(),
                                                 double whiskerBrightness = 0.5,
                                                 StringArray names = StringArray()) = 0;
    // Boxes alone, from boxBottom to boxTop.
    virtual BoxWhiskerLayer* addBoxLayer(DoubleArray boxTop, DoubleArray boxBottom, int color = -1,
                                         const char* name = "") = 0;
    // A regression curve fitted to data against their index (or the layer's x data), or against
    // xData.
    virtual TrendLayer* addTrendLayer(DoubleArray data, int color = -1, const char* name = "", int depth = 0) = 0;
    virtual TrendLayer* addTrendLayer(DoubleArray xData, DoubleArray yData, int color = -1, const char* name = "",
                                      int depth = 0) = 0;
    // A layer that colours the plot area by z at the points (xData[i], yData[i]), on a grid or
    // scattered, with contour lines; its colour axis is its legend.
    virtual ContourLayer* addContourLayer(DoubleArray xData, DoubleArray yData, DoubleArray zData) = 0;

    // Scales the axes now (layout does it otherwise), so the plot area can be fitted to them.
    virtual void layoutAxes() = 0;
    // Fits the plot area and its axes inside the rectangle, keeping at least the minimum size.
    virtual void packPlotArea(int leftX, int topY, int rightX, int bottomY, int minWidth = 0,
                              int minHeight = 0) = 0;

    // Pixels of values and values of pixels, once laid out. Null axes mean the chart's y axis.
    virtual int getXCoor(double v) = 0;
    virtual int getYCoor(double v, const Axis* yAxis = nullptr) = 0;
    virtual double getXValue(int xCoor) = 0;
    virtual double getYValue(int yCoor, const Axis* yAxis = nullptr) = 0;
    // The x value of the layers' data nearest to the pixel.
    virtual double getNearestXValue(double xCoor) = 0;
    // A colour that is one colour below the threshold and another above it.
    virtual int xZoneColor(double threshold, int belowColor, int aboveColor) = 0;
    virtual int yZoneColor(double threshold, int belowColor, int aboveColor, const Axis* yAxis = nullptr) = 0;

protected:
    ~XYChart() override = default;
};

}  // namespace plotvane

#endif

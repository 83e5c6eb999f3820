#ifndef PLOTVANE_LAYER_H
#define PLOTVANE_LAYER_H

// A layer of an XY chart and its data sets. Every layer type (line, bar, area ...) shares this
// surface: data sets grouped into data groups, x data, how the data sets combine, the y axis they
// are drawn against, symbols, labels, legend entries and 3D depth. Missing values are
// Chart::NoValue; NaN given as data is taken as missing.

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>

namespace plotvane {

class Axis;
class DrawArea;
class TextBox;

class PLOTVANE_API DataSet {
public:
    virtual void setData(DoubleArray data) = 0;
    // Chart::NoValue outside the data.
    virtual double getValue(int i) = 0;
    // The x value of index i.
    virtual double getPosition(int i) = 0;
    virtual void setDataName(const char* name) = 0;
    virtual const char* getDataName() = 0;
    // -1 chooses the colour automatically (dataColor), or from the layer (edgeColor), or half the
    // main colour (the shadows).
    virtual void setDataColor(int dataColor, int edgeColor = -1, int shadowColor = -1,
                              int shadowEdgeColor = -1) = 0;
    virtual int getDataColor() = 0;
    virtual void setUseYAxis2(bool b = true) = 0;
    virtual void setUseYAxis(const Axis* axis) = 0;
    // The axis the data set is drawn against (its own, else its layer's, else the chart's y axis).
    virtual Axis* getUseYAxis() = 0;
    // -1: the layer's line width.
    virtual void setLineWidth(int w) = 0;

    // Symbols: a standard kind (or a packed shape code), an image file, a drawing, or a polygon
    // given as x0, y0, x1, y1 ... on a 1000 x 1000 square. -1 colours follow the data set.
    virtual void setDataSymbol(int symbol, int size = 7, int fillColor = -1, int edgeColor = -1,
                               int lineWidth = 1) = 0;
    virtual void setDataSymbol(const char* image) = 0;
    virtual void setDataSymbol(DrawArea* obj) = 0;
    virtual void setDataSymbol(IntArray polygon, int size = 11, int fillColor = -1, int edgeColor = -1) = 0;
    virtual void setSymbolOffset(int offsetX, int offsetY) = 0;

    virtual void setDataLabelFormat(const char* formatString) = 0;
    virtual TextBox* setDataLabelStyle(const char* font = "", double fontSize = 8,
                                       int fontColor = Chart::TextColor, double fontAngle = 0) = 0;
    // The key icon the legend shows for this data set, or null when it shows a plain box.
    virtual DrawArea* getLegendIcon() = 0;

protected:
    virtual ~DataSet();
};

class PLOTVANE_API Layer {
public:
    virtual DataSet* addDataSet(DoubleArray data, int color = -1, const char* name = "") = 0;
    // Data sets added after this belong to a new group (stacks and side-by-side bars are per group).
    virtual void addDataGroup(const char* name = "") = 0;
    virtual DataSet* getDataSet(int dataSet) = 0;
    // z 0 is the last data set.
    virtual DataSet* getDataSetByZ(int z) = 0;
    virtual int getDataSetCount() = 0;
    // Value i of a data set as the layer holds it (NoValue out of range or where missing).
    virtual double getDataValue(int dataSet, int i) = 0;
    // The layer's number in its chart, in order of creation.
    virtual int getLayerId() = 0;
    virtual void addExtraField(StringArray texts) = 0;
    virtual void addExtraField(DoubleArray numbers) = 0;

    virtual void setXData(DoubleArray xData) = 0;
    // Evenly spaced x values from minValue to maxValue.
    virtual void setXData(double minValue, double maxValue) = 0;
    virtual double getXPosition(int i) = 0;
    virtual double getNearestXValue(double target) = 0;
    // The index whose x value is nearest to xValue, when within the tolerance; -1 otherwise.
    virtual int getXIndexOf(double xValue, double tolerance = 0) = 0;
    // Shares the x offset of another layer's data set (a line through the middle of its bars).
    virtual void alignLayer(Layer* layer, int dataSet) = 0;

    virtual void setDataCombineMethod(int m) = 0;
    virtual void setBaseLine(double baseLine) = 0;
    virtual void setUseYAxis2(bool b = true) = 0;
    virtual void setUseYAxis(const Axis* axis) = 0;
    virtual void setLineWidth(int w) = 0;
    virtual void setBorderColor(int color, int lightingEffect = 0) = 0;
    // A depth of -1 is chosen from the plot area's size.
    virtual void set3D(int depth = -1, int zGap = 0) = 0;
    virtual void set3D(int xDepth, int yDepth, int xGap, int yGap) = 0;

    // Drawing order among the chart's layers: just in front of (behind) another layer, or in front
    // of (behind) all of them.
    virtual void moveFront(Layer* layer = nullptr) = 0;
    virtual void moveBack(Layer* layer = nullptr) = 0;

    // Chart::NormalLegend, Chart::ReverseLegend or Chart::NoLegend.
    virtual void setLegend(int m) = 0;
    virtual void setLegendOrder(int dataSetOrder, int layerOrder = -1) = 0;
    virtual DrawArea* getLegendIcon(int dataSetNo) = 0;

    // Labels: templates with the fields {value}, {x}, {xLabel}, {dataSetName}, {percent} ...
    virtual void setDataLabelFormat(const char* formatString) = 0;
    virtual TextBox* setDataLabelStyle(const char* font = "", double fontSize = 8,
                                       int fontColor = Chart::TextColor, double fontAngle = 0) = 0;
    virtual void setAggregateLabelFormat(const char* formatString) = 0;
    virtual TextBox* setAggregateLabelStyle(const char* font = "", double fontSize = 8,
                                            int fontColor = Chart::TextColor, double fontAngle = 0) = 0;
    virtual TextBox* addCustomDataLabel(int dataSet, int dataItem, const char* label, const char* font = "",
                                        double fontSize = 8, int fontColor = Chart::TextColor,
                                        double fontAngle = 0) = 0;
    virtual TextBox* addCustomAggregateLabel(int dataItem, const char* label, const char* font = "",
                                             double fontSize = 8, int fontColor = Chart::TextColor,
                                             double fontAngle = 0) = 0;
    virtual TextBox* addCustomGroupLabel(int dataGroup, int dataItem, const char* label, const char* font = "",
                                         double fontSize = 8, int fontColor = Chart::TextColor,
                                         double fontAngle = 0) = 0;

    // Pixels, once the chart is laid out; Chart::NoIntValue for a missing value.
    virtual int getXCoor(double v) = 0;
    virtual int getYCoor(double v, bool yAxis2 = false) = 0;
    virtual int getYCoor(double v, const Axis* yAxis) = 0;
    virtual int xZoneColor(double threshold, int belowColor, int aboveColor) = 0;
    virtual int yZoneColor(double threshold, int belowColor, int aboveColor, bool yAxis2 = false) = 0;
    virtual int yZoneColor(double threshold, int belowColor, int aboveColor, const Axis* yAxis) = 0;

    virtual void setHTMLImageMap(const char* url, const char* queryFormat = "", const char* extraAttr = "") = 0;
    virtual const char* getHTMLImageMap(const char* url, const char* queryFormat = "", const char* extraAttr = "",
                                        int offsetX = 0, int offsetY = 0) = 0;
    virtual const char* getImageCoor(int dataSet, int dataItem = Chart::NoIntValue, int offsetX = 0,
                                     int offsetY = 0) = 0;
    virtual const char* getImageCoor2(int dataItem, int offsetX = 0, int offsetY = 0) = 0;

protected:
    virtual ~Layer();
};

}  // namespace plotvane

#endif

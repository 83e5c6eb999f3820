#ifndef PLOTVANE_CHART_XY_LAYER_P_H
#define PLOTVANE_CHART_XY_LAYER_P_H

// The shared implementation of every XY layer type. A layer type derives from its public
// interface and, virtually, from LayerImpl; it paints its data sets in paint() and may refine
// the data ranges, the label anchors, the legend keys and the x offset of its data sets. The base
// does the rest: data entry (trim window, NaN to NoValue), x positions, colours, symbols, the
// combine methods (spans of stacked and percentage data), labels, legend keys and coordinates.
//
// Coordinates: the layer keeps the plot rectangle in its own frame, exchanged when the axes are
// swapped, so a layer type computes "x" and "y" pixels along its axes and turns them into screen
// points with screenPoint().

#include <plotvane/constants.h>
#include <plotvane/layer.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/xy/axisscale_p.h"
#include "chart/xy/labelbox_p.h"
#include "chart/xy/symbols_p.h"
#include "text/extrafields_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

class AxisImpl;
class LayerImpl;
class XYChartImpl;

class DataSetImpl final : public DataSet {
public:
    DataSetImpl(LayerImpl* layer, int index, int groupIndex);

    void setData(DoubleArray data) override;
    double getValue(int i) override { return valueAt(i); }
    double getPosition(int i) override;
    void setDataName(const char* name) override { name_ = name ? name : ""; }
    const char* getDataName() override { return name_.c_str(); }
    void setDataColor(int dataColor, int edgeColor, int shadowColor, int shadowEdgeColor) override;
    int getDataColor() override { return dataColor_; }
    void setUseYAxis2(bool b) override;
    void setUseYAxis(const Axis* axis) override;
    Axis* getUseYAxis() override;
    void setLineWidth(int w) override { lineWidth_ = w; }
    void setDataSymbol(int symbol, int size, int fillColor, int edgeColor, int lineWidth) override;
    void setDataSymbol(const char* image) override { symbol_.setImage(image); }
    void setDataSymbol(DrawArea* obj) override { symbol_.setDrawing(obj); }
    void setDataSymbol(IntArray polygon, int size, int fillColor, int edgeColor) override;
    void setSymbolOffset(int offsetX, int offsetY) override;
    void setDataLabelFormat(const char* formatString) override;
    TextBox* setDataLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) override;
    DrawArea* getLegendIcon() override;

    int index() const { return index_; }
    int group() const { return group_; }
    const std::string& name() const { return name_; }
    int size() const { return static_cast<int>(values_.size()); }
    double valueAt(int i) const {
        return i >= 0 && i < size() ? values_[static_cast<size_t>(i)] : Chart::NoValue;
    }
    const std::vector<double>& values() const { return values_; }
    // The smallest and largest present values (NoValue when none is present), found as the data
    // enter.
    double minValue() const { return minValue_; }
    double maxValue() const { return maxValue_; }
    // The axis the data set draws against (its own, else the layer's, else the chart's y axis).
    AxisImpl* axis() const;
    // Resolved at legend layout.
    void resolveColors(int autoColor, int layerEdgeColor, int layerLineWidth, DrawArea* d);
    int dataColor() const { return dataColor_; }
    int edgeColor() const { return edgeColor_; }
    int shadowColor() const { return shadowColor_; }
    int shadowEdgeColor() const { return shadowEdgeColor_; }
    int lineWidth() const { return lineWidth_; }
    DataSymbol& symbol() { return symbol_; }
    int symbolOffsetX() const { return symbolOffsetX_; }
    int symbolOffsetY() const { return symbolOffsetY_; }
    const std::string& labelFormat() const { return labelFormat_; }
    LabelBox& labelStyle() { return labelStyle_; }

private:
    LayerImpl* layer_;
    int index_;
    int group_;
    std::string name_;
    std::vector<double> values_;
    double minValue_ = Chart::NoValue;
    double maxValue_ = Chart::NoValue;
    int dataColor_ = -1;
    int edgeColor_ = -1;
    int shadowColor_ = -1;
    int shadowEdgeColor_ = -1;
    AxisImpl* axis_ = nullptr;
    int lineWidth_ = -1;
    DataSymbol symbol_;
    int symbolOffsetX_ = 0;
    int symbolOffsetY_ = 0;
    std::string labelFormat_;
    LabelBox labelStyle_;
};

// Where a label goes: the point it hangs from and the alignment it hangs by.
struct LabelSpot {
    int x = 0;
    int y = 0;
    int alignment = Chart::Center;
};

// Where the bar, area or point of one data item starts and ends under the combine method.
struct Span {
    double base = 0;
    double end = 0;
    bool present = false;
};

class LayerImpl : public virtual Layer {
public:
    LayerImpl();
    ~LayerImpl() override;
    LayerImpl(const LayerImpl&) = delete;
    LayerImpl& operator=(const LayerImpl&) = delete;

    // Layer
    DataSet* addDataSet(DoubleArray data, int color, const char* name) override;
    void addDataGroup(const char* name) override;
    DataSet* getDataSet(int dataSet) override;
    DataSet* getDataSetByZ(int z) override;
    int getDataSetCount() override { return static_cast<int>(dataSets_.size()); }
    double getDataValue(int dataSet, int i) override;
    int getLayerId() override { return layerId_; }
    void addExtraField(StringArray texts) override { extraFields_.addExtraField(texts); }
    void addExtraField(DoubleArray numbers) override { extraFields_.addExtraField(numbers); }
    void setXData(DoubleArray xData) override;
    void setXData(double minValue, double maxValue) override;
    double getXPosition(int i) override;
    double getNearestXValue(double target) override;
    int getXIndexOf(double xValue, double tolerance) override;
    void alignLayer(Layer* layer, int dataSet) override;
    void setDataCombineMethod(int m) override;
    void setBaseLine(double baseLine) override;
    void setUseYAxis2(bool b) override;
    void setUseYAxis(const Axis* axis) override;
    void setLineWidth(int w) override { lineWidth_ = w; }
    void setBorderColor(int color, int lightingEffect) override;
    void set3D(int depth, int zGap) override { set3D(depth, depth, zGap, zGap); }
    void set3D(int xDepth, int yDepth, int xGap, int yGap) override;
    void moveFront(Layer* layer) override;
    void moveBack(Layer* layer) override;
    void setLegend(int m) override { setLegendOrder(m, -1); }
    void setLegendOrder(int dataSetOrder, int layerOrder) override;
    DrawArea* getLegendIcon(int dataSetNo) override;
    void setDataLabelFormat(const char* formatString) override;
    TextBox* setDataLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) override;
    void setAggregateLabelFormat(const char* formatString) override;
    TextBox* setAggregateLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) override;
    TextBox* addCustomDataLabel(int dataSet, int dataItem, const char* label, const char* font, double fontSize,
                                int fontColor, double fontAngle) override;
    TextBox* addCustomAggregateLabel(int dataItem, const char* label, const char* font, double fontSize,
                                     int fontColor, double fontAngle) override;
    TextBox* addCustomGroupLabel(int dataGroup, int dataItem, const char* label, const char* font, double fontSize,
                                 int fontColor, double fontAngle) override;
    int getXCoor(double v) override;
    int getYCoor(double v, bool yAxis2) override;
    int getYCoor(double v, const Axis* yAxis) override;
    int xZoneColor(double threshold, int belowColor, int aboveColor) override;
    int yZoneColor(double threshold, int belowColor, int aboveColor, bool yAxis2) override;
    int yZoneColor(double threshold, int belowColor, int aboveColor, const Axis* yAxis) override;
    void setHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr) override;
    const char* getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                int offsetY) override;
    // The same areas appended to `map`, as the chart gathers the maps of all its layers.
    void appendHTMLImageMap(std::string& map, const char* url, const char* queryFormat, const char* extraAttr,
                            int offsetX, int offsetY);
    // Layer types give their shapes through hotSpot and itemHotSpot.
    const char* getImageCoor(int dataSet, int dataItem, int offsetX, int offsetY) final;
    const char* getImageCoor2(int dataItem, int offsetX, int offsetY) final;

    // The most values all data sets of the layer may hold together; a data set that would pass it
    // is refused. Bars cost far more to draw than line points, so bar layers hold fewer.
    static constexpr long long kMaxPoints = 1 << 24;
    static constexpr long long kMaxBars = 100000;
    virtual long long maxPoints() const { return kMaxPoints; }

    // What the chart and plot area ask.
    void init(int layerId, XYChartImpl* chart);
    XYChartImpl* chart() const { return chart_; }
    int layerId() const { return layerId_; }
    // The plot rectangle for this layer (already shifted by the depth of the layers in front).
    virtual void setSize(int x, int y, int width, int height, bool swapXY);
    virtual double getMinX();
    virtual double getMaxX();
    virtual double getPosMinX();
    virtual double getNegMaxX();
    virtual double getMinY(const AxisImpl* axis);
    virtual double getMaxY(const AxisImpl* axis);
    virtual double getPosMinY(const AxisImpl* axis);
    virtual double getNegMaxY(const AxisImpl* axis);
    bool xIsEnumerated() const { return xData_.empty() && (xStart_ == Chart::NoValue || xEnd_ == Chart::NoValue); }
    virtual bool yIsPercentage(const AxisImpl* axis) const;
    int getDepthX() const { return swapXY_ ? depthTotalY_ : depthTotalX_; }
    int getDepthY() const { return swapXY_ ? depthTotalX_ : depthTotalY_; }
    virtual void layoutLegend();
    virtual void layoutChart();
    virtual void paint(DrawArea* d) = 0;
    // Labels, drawn after every layer's main pass so no later layer hides them.
    virtual void postPaint(DrawArea* d);
    // The x offset in pixels of a data set's points within their x slot (bars side by side).
    virtual double getDataOffset(int dataSet);

    // For layer types.
    int combineMethod() const { return combineMethod_; }
    double baseLine() const { return baseLine_; }
    int dataSetCount() const { return static_cast<int>(dataSets_.size()); }
    DataSetImpl& dataSet(int i) { return *dataSets_[static_cast<size_t>(i)]; }
    const DataSetImpl& dataSet(int i) const { return *dataSets_[static_cast<size_t>(i)]; }
    int maxDataLength() const { return maxDataLength_; }
    int groupCount() const { return static_cast<int>(groupNames_.size()); }
    // Data sets [first, end) of a group.
    std::pair<int, int> groupRange(int group) const;
    double xValue(int i) const {
        if (!xData_.empty())
            return i >= 0 && i < static_cast<int>(xData_.size()) ? xData_[static_cast<size_t>(i)] : Chart::NoValue;
        if (xStart_ == Chart::NoValue || xEnd_ == Chart::NoValue) return i;
        int n = maxDataLength_;
        if (n < 1) return Chart::NoValue;
        if (n == 1) return i == 0 ? (xStart_ + xEnd_) / 2 : Chart::NoValue;
        return xStart_ + (xEnd_ - xStart_) * i / (n - 1);
    }
    // The smallest and largest x of the data items; false when no item has an x.
    bool xExtent(double& lo, double& hi) const;
    // The mean distance between neighbouring x values (1 with fewer than two distinct ones).
    double xStep() const;
    // The pixel width of one x slot: the spread of the x values plus half a step at either end,
    // over the point count; between 1 and the plot's width.
    double slotWidth() const;
    // An end of the x range moved out by half a step (side -1 or +1) when the x axis is indented,
    // so items centred on the first and last x stand inside the plot whatever the axis's scale.
    double indentedX(double x, int side) const;
    // Exact pixels along the layer's x axis or along an axis of its y direction (NoValue for a
    // missing value), as a value that a loop over many points keeps at hand.
    class PixelMap {
    public:
        double operator()(double v) const {
            double c = coor_(v);
            return c == Chart::NoValue ? c : (base_ + (negate_ ? -c : c)) + offset_;
        }

    private:
        friend class LayerImpl;
        AxisScale::CoorMap coor_;
        double base_ = 0;
        bool negate_ = false;
        double offset_ = 0;
    };
    PixelMap xPixelMap() const;
    PixelMap yPixelMap(const AxisImpl* axis) const;
    double pixelX(double xValue) const { return xPixelMap()(xValue); }
    double pixelY(double value, const AxisImpl* axis) const { return yPixelMap(axis)(value); }
    void screenPoint(double px, double py, double& sx, double& sy) const;
    bool isSwapped() const { return swapXY_; }
    // Layer frame: x along the x axis, y along the y axis (swapped frames are exchanged).
    int frameX() const { return x_; }
    int frameY() const { return y_; }
    int frameWidth() const { return width_; }
    int frameHeight() const { return height_; }
    int depthX() const { return depth_; }
    int depthY() const { return depthY_; }
    int lineWidth() const { return lineWidth_; }
    int borderColor() const { return borderColor_; }
    int borderEffect() const { return borderEffect_; }
    int legendMode() const { return legendMode_; }
    AxisImpl* xAxis() const;
    AxisImpl* layerYAxis() const;

    // Combining: the sum over data sets [from, to) at item i (absolute values in Percentage mode),
    // and the count of explicit zeros there (-1 when some present value is not zero).
    double getAccValue(int from, int to, int i) const;
    int countAllZero(int from, int to, int i) const;
    // From where to where data set ds at item i reaches under the combine method.
    Span spanOf(int ds, int i) const;
    // The legend sort key of a data set.
    int getLegendZ(int ds) const;
    // A label template filled in for a data set (or -1 for the whole item, -2 - g for group g).
    std::string formatLabel(const std::string& tmpl, int ds, int item, int escapeFlags = 0);
    // The fields of one point, for filling templates.
    class PointFields;
    // Draws the data set's symbol at every present point.
    void paintSymbols(DrawArea* d, int ds);

protected:
    // Where the data label of data set ds at item i goes, for a label of width x height whose
    // style asks for the alignment `wanted` (0: none). The base hangs it from the end of the span
    // by that alignment, or above positive and below negative values.
    virtual LabelSpot dataLabelSpot(int ds, int i, int wanted, int width, int height);
    // Where the total of a stack goes, ds being the data set that reaches furthest.
    virtual LabelSpot aggregateLabelSpot(int ds, int i, int wanted, int width, int height) {
        return dataLabelSpot(ds, i, wanted, width, height);
    }
    // The legend key of a data set: its icon (null for a plain box) and line width (-1: a box).
    virtual DrawArea* legendIcon(int ds);
    virtual int legendLineWidth(int ds);
    virtual std::string defaultDataLabel() const;
    // The query template of the layer's hot spots when neither the layer nor the chart gives one.
    virtual std::string defaultImageMapQuery() const;
    // How the hot spots divide: per data set and x index (the usual), per x index only (items
    // drawn as one shape from several data sets), or one per data set (fitted curves).
    enum class HotSpots { PerPoint, PerItem, PerDataSet };
    virtual HotSpots hotSpotKind() const { return HotSpots::PerPoint; }
    // The hot spot of data set ds at item i in chart pixels, into xy: a rectangle's two corners
    // (4 entries) or a polygon's points; empty when the point has none. The base gives the square
    // of the point's symbol.
    virtual void hotSpot(int ds, int item, std::vector<int>& xy);
    // The hot spot of item i for the whole layer; the base gives the box around every data set's.
    virtual void itemHotSpot(int item, std::vector<int>& xy);
    // Whether data set ds carries a value label at item i.
    virtual bool labelShown(int ds, int i) { return spanOf(ds, i).present; }
    // The colour a data set left at -1 takes at legend layout.
    virtual int automaticColor(int ds);
    // Fields of a layer type's own, looked up before the shared ones; false when `name` is not one.
    virtual bool layerField(std::string_view name, const char* format, int ds, int item, std::string& text);

private:
    friend class DataSetImpl;
    class LegendEntry;

    void addLegendKeys();
    // A custom label under its key in customLabels_, replacing any before it.
    TextBox* addCustomLabel(std::pair<int, int> key, const char* label, const char* font, double fontSize,
                            int fontColor, double fontAngle);
    // Paints a copy of the style showing `text`, placed for data set ds at item i.
    void paintLabel(DrawArea* d, const LabelBox& style, const std::string& text, int ds, int item, bool aggregate);
    // Labels past this many in one layer are not drawn: each costs a text layout, and more than
    // an axis may have cannot be read anyway.
    static constexpr int kMaxDataLabels = 10000;
    int labelsLeft_ = 0;
    AxisImpl* resolveAxis(const Axis* axis) const;
    double alignOffset();
    // The smallest or the largest x position.
    double xExtreme(bool highest) const;
    double grandTotal();
    void resolveDepth(int plotSide);
    // The text of a field the layer knows into `text`; false for any other name.
    bool fieldText(const std::string& name, const char* format, int ds, int item, std::string& text);

    XYChartImpl* chart_ = nullptr;
    int layerId_ = 0;
    std::vector<std::unique_ptr<DataSetImpl>> dataSets_;
    long long points_ = 0;  // values held by all data sets
    std::vector<std::string> groupNames_;
    std::vector<double> xData_;
    double xStart_ = Chart::NoValue;
    double xEnd_ = Chart::NoValue;
    int maxDataLength_ = 0;
    int x_ = 0;
    int y_ = 0;
    int width_ = 384;
    int height_ = 252;
    bool swapXY_ = false;
    // The 3D depths and gaps as set (-1: from the plot size), and what they come to.
    struct Asked3D {
        int x = 0, y = 0, xGap = 0, yGap = 0;
    } asked3D_;
    int depth_ = 0;
    int depthY_ = 0;
    int depthTotalX_ = 0;
    int depthTotalY_ = 0;
    int lineWidth_ = 1;
    int borderColor_;
    int borderEffect_ = 0;
    int combineMethod_ = 1;
    int legendMode_ = 0;
    int legendLayerOrder_ = -1;
    AxisImpl* yAxis_ = nullptr;
    LayerImpl* alignedLayer_ = nullptr;
    int alignedDataSet_ = 0;
    double alignOffset_ = Chart::NoValue;
    double baseLine_ = 0;
    double grandTotal_ = Chart::NoValue;

    LabelBox* dataLabelStyle_ = nullptr;
    bool dataLabelsOn_ = false;
    std::string dataLabelFormat_;
    LabelBox* aggregateLabelStyle_ = nullptr;
    bool aggregateLabelsOn_ = false;
    std::string aggregateLabelFormat_;
    // Keyed by (data set, item); data set -1 for aggregates, -2 - g for groups.
    std::map<std::pair<int, int>, std::unique_ptr<LabelBox>> customLabels_;
    std::vector<std::unique_ptr<LabelBox>> styles_;
    ExtraFields extraFields_;
    std::string imageMapUrl_;
    std::string imageMapQuery_;
    std::string imageMapExtraAttr_;
    std::string text_;
    std::string hotSpotText_;
};

class LayerImpl::PointFields final : public FieldProvider {
public:
    PointFields(LayerImpl& layer, int ds, int item) : layer_(layer), ds_(ds), item_(item) {}
    void moveTo(int ds, int item) {
        ds_ = ds;
        item_ = item;
    }
    bool fieldText(const std::string& name, const char* format, Formatter& formatter, std::string& text) override;

private:
    LayerImpl& layer_;
    int ds_, item_;
};

}  // namespace plotvane

#endif

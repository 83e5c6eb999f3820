#ifndef PLOTVANE_CHART_XY_XYCHART_P_H
#define PLOTVANE_CHART_XY_XYCHART_P_H

#include <plotvane/xychart.h>

#include <memory>

#include "chart/basechart_p.h"
#include "chart/xy/plotarea_p.h"

namespace plotvane {

class LayerImpl;

class XYChartImpl : public XYChart, public virtual BaseChartImpl {
public:
    XYChartImpl();
    ~XYChartImpl() override;

    PlotArea* setPlotArea(int x, int y, int width, int height, int bgColor, int altBgColor, int edgeColor,
                          int hGridColor, int vGridColor) override;
    PlotArea* getPlotArea() override { return plotArea_.get(); }
    Axis* xAxis() override { return plotArea_->axis(0); }
    Axis* xAxis2() override { return plotArea_->axis(1); }
    Axis* yAxis() override { return plotArea_->axis(2); }
    Axis* yAxis2() override { return plotArea_->axis(3); }
    Axis* addAxis(int align, int offset) override { return plotArea_->addAxis(align, offset); }
    void syncYAxis(double slope, double intercept) override;
    void setYAxisOnRight(bool b) override { plotArea_->setYAxisOnRight(b); }
    void setXAxisOnTop(bool b) override { plotArea_->setXAxisOnTop(b); }
    void swapXY(bool b) override { plotArea_->setSwapXY(b); }
    void setAxisAtOrigin(int originMode, int symmetryMode) override;
    void setClipping(int margin) override { plotArea_->setClipping(margin); }
    void setTrimData(int startPos, int len) override;
    BarLayer* addBarLayer(int dataCombineMethod, int depth) override;
    BarLayer* addBarLayer(DoubleArray data, int color, const char* name, int depth) override;
    BarLayer* addBarLayer(DoubleArray data, IntArray colors, StringArray names, int depth) override;
    BarLayer* addBarLayer(DoubleArray data, IntArray colors, int depth) override;
    Layer* getLayer(int i) override;
    Layer* getLayerByZ(int i) override;
    int getLayerCount() override { return plotArea_->layerCount(); }
    LineLayer* addLineLayer(DoubleArray data, int color, const char* name, int depth) override;
    LineLayer* addLineLayer(int dataCombineMethod, int depth) override;
    SplineLayer* addSplineLayer(DoubleArray data, int color, const char* name) override;
    SplineLayer* addSplineLayer() override;
    StepLineLayer* addStepLineLayer(DoubleArray data, int color, const char* name) override;
    StepLineLayer* addStepLineLayer() override;
    LineLayer* addScatterLayer(DoubleArray xData, DoubleArray yData, const char* name, int symbol, int symbolSize,
                               int fillColor, int edgeColor) override;
    AreaLayer* addAreaLayer(DoubleArray data, int color, const char* name, int depth) override;
    AreaLayer* addAreaLayer(int dataCombineMethod, int depth) override;
    InterLineLayer* addInterLineLayer(LineObj* line1, LineObj* line2, int color12, int color21) override;
    VectorLayer* addVectorLayer(DoubleArray xData, DoubleArray yData, DoubleArray lengths, DoubleArray directions,
                                int lengthScale, int color, const char* name) override;
    HLOCLayer* addHLOCLayer() override;
    HLOCLayer* addHLOCLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData, DoubleArray closeData,
                            int color) override;
    HLOCLayer* addHLOCLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData, DoubleArray closeData,
                            int upColor, int downColor, int colorMode, double leadValue) override;
    CandleStickLayer* addCandleStickLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                                          DoubleArray closeData, int riseColor, int fallColor, int edgeColor) override;
    BoxWhiskerLayer* addBoxWhiskerLayer(DoubleArray boxTop, DoubleArray boxBottom, DoubleArray maxData,
                                        DoubleArray minData, DoubleArray midData, int fillColor, int whiskerColor,
                                        int edgeColor) override;
    BoxWhiskerLayer* addBoxWhiskerLayer2(DoubleArray boxTop, DoubleArray boxBottom, DoubleArray maxData,
                                         DoubleArray minData, DoubleArray midData, IntArray fillColors,
                                         double whiskerBrightness, StringArray names) override;
    BoxWhiskerLayer* addBoxLayer(DoubleArray boxTop, DoubleArray boxBottom, int color, const char* name) override;
    TrendLayer* addTrendLayer(DoubleArray data, int color, const char* name, int depth) override;
    TrendLayer* addTrendLayer(DoubleArray xData, DoubleArray yData, int color, const char* name, int depth) override;
    ContourLayer* addContourLayer(DoubleArray xData, DoubleArray yData, DoubleArray zData) override;

    void layoutAxes() override;
    void packPlotArea(int leftX, int topY, int rightX, int bottomY, int minWidth, int minHeight) override;
    int getXCoor(double v) override;
    int getYCoor(double v, const Axis* yAxis) override;
    double getXValue(int xCoor) override;
    double getYValue(int yCoor, const Axis* yAxis) override;
    double getNearestXValue(double xCoor) override;
    int xZoneColor(double threshold, int belowColor, int aboveColor) override;
    int yZoneColor(double threshold, int belowColor, int aboveColor, const Axis* yAxis) override;

    // For layers, axes and layer factories.
    PlotAreaImpl& plotArea() { return *plotArea_; }
    // Takes ownership of the layer and returns it.
    LayerImpl* addLayer(LayerImpl* layer);
    AxisImpl* axisImpl(size_t i) const { return plotArea_->axis(i); }
    // A zone colour split where `axis` puts `threshold`.
    int zoneColor(const AxisImpl* axis, double threshold, int belowColor, int aboveColor);
    DoubleArray filterData(DoubleArray values) override;
    StringArray filterData(StringArray values) override;
    double getProperty(int code) const override;

protected:
    bool autoLayout() const override { return !placed_; }
    void onLayoutLegend() override;
    void onLayoutChart() override;
    void onPaint() override;
    std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                  int offsetY) override;

private:
    class AxisSplit;

    std::unique_ptr<PlotAreaImpl> plotArea_;
    // Packs the plot area and its axes into the room the titles and legend left.
    void fillRoom();

    std::vector<std::unique_ptr<AxisSplit>> splits_;
    bool placed_ = false;  // setPlotArea or packPlotArea was called
    int trimStart_ = 0;
    int trimLength_ = 0x7fffffff;
};

}  // namespace plotvane

#endif

// The XY chart: a base chart whose layout is the plot area's (axes scaled from the layers' data,
// then each layer laid out) and whose painting is the plot area's. It also owns the data trim
// window every layer applies to the arrays it is given, and answers the coordinate queries.
#include "chart/xy/xychart_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/layer_p.h"
#include "draw/canvaslimits_p.h"

namespace plotvane {

// A zone colour's split: where an axis puts a value, and which way round, asked for when the
// colour is drawn with, so swapping or reversing the axes after making the colour still counts.
// The colour above the threshold is given first; it keeps the pixels past the split (larger
// pixels) when values grow with the pixels: along a horizontal axis, against a vertical one,
// and the other way round on an axis that runs backwards.
class XYChartImpl::AxisSplit final : public ZoneSplitter {
public:
    AxisSplit(const AxisImpl* axis, double threshold) : axis_(axis), threshold_(threshold) {}
    bool isHorizontalSplit() const override { return axis_->isVertical(); }
    int getSplitPosition() const override {
        double p = axis_->pixelOf(threshold_);
        return p == Chart::NoValue ? 0 : static_cast<int>(std::floor(std::clamp(p, -1e9, 1e9) + 0.5));
    }
    bool swapsColors() const override { return axis_->isVertical() != axis_->scale().runsBackwards(); }

private:
    const AxisImpl* axis_;
    double threshold_;
};

PlotArea::~PlotArea() = default;

XYChart* XYChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    if (!acceptableCanvas(std::max(1, width), std::max(1, height))) return nullptr;
    auto* c = new XYChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    return c;
}

XYChartImpl::XYChartImpl() : plotArea_(std::make_unique<PlotAreaImpl>(this)) {}

XYChartImpl::~XYChartImpl() = default;

PlotArea* XYChartImpl::setPlotArea(int x, int y, int width, int height, int bgColor, int altBgColor, int edgeColor,
                                   int hGridColor, int vGridColor) {
    placed_ = true;
    plotArea_->setRect(x, y, width, height);
    if (plotArea_->isLaidOut()) plotArea_->layoutAxes();
    plotArea_->setBackground(bgColor, altBgColor, edgeColor);
    plotArea_->setGridColor(hGridColor, vGridColor, -1, -1);
    return plotArea_.get();
}

void XYChartImpl::syncYAxis(double slope, double intercept) {
    plotArea_->axis(3)->syncAxis(plotArea_->axis(2), slope, intercept);
}

void XYChartImpl::setAxisAtOrigin(int originMode, int symmetryMode) {
    plotArea_->setAxisAtOrigin(originMode, symmetryMode);
}

void XYChartImpl::setTrimData(int startPos, int len) {
    trimStart_ = std::max(startPos, 0);
    trimLength_ = len >= 1 ? len : 0;
}

DoubleArray XYChartImpl::filterData(DoubleArray values) {
    long long n = std::min<long long>(static_cast<long long>(values.len) - trimStart_, trimLength_);
    if (n < 1 || !values.data) return DoubleArray();
    return DoubleArray(values.data + trimStart_, static_cast<int>(n));
}

StringArray XYChartImpl::filterData(StringArray values) {
    long long n = std::min<long long>(static_cast<long long>(values.len) - trimStart_, trimLength_);
    if (n < 1 || !values.data) return StringArray();
    return StringArray(values.data + trimStart_, static_cast<int>(n));
}

LayerImpl* XYChartImpl::addLayer(LayerImpl* layer) {
    if (!layer) return nullptr;
    plotArea_->addLayer(layer);
    return layer;
}

Layer* XYChartImpl::getLayer(int i) { return plotArea_->getLayer(i); }

Layer* XYChartImpl::getLayerByZ(int i) { return plotArea_->getLayerByZ(i); }

void XYChartImpl::layoutAxes() {
    layoutLegend();
    plotArea_->layoutAxes();
}

void XYChartImpl::packPlotArea(int leftX, int topY, int rightX, int bottomY, int minWidth, int minHeight) {
    placed_ = true;
    layoutAxes();
    plotArea_->pack(leftX, topY, rightX, bottomY, minWidth, minHeight);
}

int XYChartImpl::getXCoor(double v) { return plotArea_->axis(0)->getCoor(v); }

int XYChartImpl::getYCoor(double v, const Axis* yAxis) {
    AxisImpl* a = yAxis ? plotArea_->findAxis(yAxis) : plotArea_->axis(2);
    return a ? a->getCoor(v) : Chart::NoIntValue;
}

double XYChartImpl::getXValue(int xCoor) { return plotArea_->axis(0)->valueAt(xCoor); }

double XYChartImpl::getYValue(int yCoor, const Axis* yAxis) {
    AxisImpl* a = yAxis ? plotArea_->findAxis(yAxis) : plotArea_->axis(2);
    return a ? a->valueAt(yCoor) : Chart::NoValue;
}

double XYChartImpl::getNearestXValue(double xCoor) {
    AxisImpl* x = plotArea_->axis(0);
    double best = Chart::NoValue;
    double bestDistance = 0;
    for (LayerImpl* layer : plotArea_->layers()) {
        double v = layer->getNearestXValue(x->valueAt(xCoor));
        if (v == Chart::NoValue) continue;
        double distance = std::fabs(x->pixelOf(v) - xCoor);
        if (best == Chart::NoValue || distance < bestDistance) {
            best = v;
            bestDistance = distance;
        }
    }
    return best;
}

int XYChartImpl::zoneColor(const AxisImpl* axis, double threshold, int belowColor, int aboveColor) {
    if (!axis) return belowColor;
    splits_.push_back(std::make_unique<AxisSplit>(axis, threshold));
    return getRawDrawArea()->zoneColor(splits_.back().get(), aboveColor, belowColor);
}

int XYChartImpl::xZoneColor(double threshold, int belowColor, int aboveColor) {
    return zoneColor(plotArea_->axis(0), threshold, belowColor, aboveColor);
}

int XYChartImpl::yZoneColor(double threshold, int belowColor, int aboveColor, const Axis* yAxis) {
    AxisImpl* a = yAxis ? plotArea_->findAxis(yAxis) : plotArea_->axis(2);
    return zoneColor(a, threshold, belowColor, aboveColor);
}

double XYChartImpl::getProperty(int code) const {
    PlotAreaImpl& p = *plotArea_;
    switch (code) {
        case 0x204: return p.getLeftX();
        case 0x208: return p.getTopY();
        case 0x206: return p.getRightX();
        case 0x202: return p.getBottomY();
        default: return BaseChartImpl::getProperty(code);
    }
}

void XYChartImpl::onLayoutLegend() {
    for (LayerImpl* layer : plotArea_->layers()) layer->layoutLegend();
}

void XYChartImpl::onLayoutChart() {
    if (placed_) plotArea_->layoutAxes();
    else fillRoom();
    for (LayerImpl* layer : plotArea_->layers()) layer->layoutChart();
}

void XYChartImpl::fillRoom() {
    constexpr int kPadding = 10;  // keeps axis labels off the chart's edge and the legend
    const ChartRoom& r = room();
    int left = r.left + kPadding, top = r.top + kPadding, right = r.right - kPadding, bottom = r.bottom - kPadding;
    plotArea_->setRect(left, top, std::max(right - left, 1), std::max(bottom - top, 1));
    plotArea_->layoutAxes();
    plotArea_->pack(left, top, right, bottom, 0, 0);
    // Packing counts the axes' depth across; the labels at an axis's ends also reach along it.
    PixelRect e = plotArea_->extentWithAxes();
    int inLeft = std::max(0, left - e.left), inTop = std::max(0, top - e.top);
    int inRight = std::max(0, e.right - right), inBottom = std::max(0, e.bottom - bottom);
    if (inLeft || inTop || inRight || inBottom)
        plotArea_->pack(left + inLeft, top + inTop, right - inRight, bottom - inBottom, 0, 0);
}

void XYChartImpl::onPaint() { plotArea_->paint(getRawDrawArea()); }

std::string XYChartImpl::onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                           int offsetX, int offsetY) {
    std::string map;
    for (LayerImpl* layer : plotArea_->layers())
        layer->appendHTMLImageMap(map, url, queryFormat, extraAttr, offsetX, offsetY);
    return map;
}

}  // namespace plotvane

// A data set: its values (trimmed by the chart's window; NaN and infinities taken as missing, so
// one bad value cannot stretch an axis to the end of the doubles), colours, axis, symbol and
// label style.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/xy/axis_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

DataSet::~DataSet() = default;

DataSetImpl::DataSetImpl(LayerImpl* layer, int index, int groupIndex)
    : layer_(layer), index_(index), group_(groupIndex), labelStyle_(layer->chart()->getRawDrawArea()) {
    labelStyle_.setFontColor(Chart::Transparent);
    labelStyle_.setMargin(0);
    labelStyle_.setAlignment(0);
}

void DataSetImpl::setData(DoubleArray data) {
    DoubleArray kept = layer_->chart()->filterData(data);
    values_.assign(kept.data, kept.data + std::max(kept.len, 0));
    // Infinities go the way of NaN: one of them would otherwise stretch the axis past every
    // other value. The extremes come with the clean-up, in the same pass. NoValue is the largest finite
    // double, so it never wins the minimum, and the minimum is NoValue exactly when nothing is
    // present; for the maximum a missing value counts as minus infinity.
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    double lo = Chart::NoValue, hi = -kInfinity;
    for (double& v : values_) {
        if (!std::isfinite(v)) v = Chart::NoValue;
        lo = std::min(lo, v);
        hi = std::max(hi, v == Chart::NoValue ? -kInfinity : v);
    }
    minValue_ = lo;
    maxValue_ = hi == -kInfinity ? Chart::NoValue : hi;
    layer_->maxDataLength_ = std::max(layer_->maxDataLength_, size());
}

double DataSetImpl::getPosition(int i) { return layer_->xValue(i); }

void DataSetImpl::setDataColor(int dataColor, int edgeColor, int shadowColor, int shadowEdgeColor) {
    dataColor_ = dataColor;
    edgeColor_ = edgeColor;
    shadowColor_ = shadowColor;
    shadowEdgeColor_ = shadowEdgeColor;
}

void DataSetImpl::setUseYAxis2(bool b) { axis_ = layer_->chart()->axisImpl(b ? 3 : 2); }

void DataSetImpl::setUseYAxis(const Axis* axis) {
    if (AxisImpl* a = layer_->chart()->plotArea().findAxis(axis)) axis_ = a;
}

Axis* DataSetImpl::getUseYAxis() { return axis(); }

AxisImpl* DataSetImpl::axis() const { return axis_ ? axis_ : layer_->layerYAxis(); }

void DataSetImpl::setDataSymbol(int symbol, int size, int fillColor, int edgeColor, int lineWidth) {
    symbol_.setShape(symbol, size, fillColor, edgeColor, lineWidth);
}

void DataSetImpl::setDataSymbol(IntArray polygon, int size, int fillColor, int edgeColor) {
    symbol_.setPolygon(polygon, size, fillColor, edgeColor);
}

void DataSetImpl::setSymbolOffset(int offsetX, int offsetY) {
    symbolOffsetX_ = std::clamp(offsetX, -100000, 100000);
    symbolOffsetY_ = std::clamp(offsetY, -100000, 100000);
}

void DataSetImpl::setDataLabelFormat(const char* formatString) {
    labelFormat_ = formatString ? formatString : "";
    // A format alone makes the labels show.
    if (labelStyle_.fontColor() == Chart::Transparent) labelStyle_.setFontColor(Chart::TextColor);
}

TextBox* DataSetImpl::setDataLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    labelStyle_.setFontStyle(font, 0);
    labelStyle_.setFontSize(fontSize, 0);
    labelStyle_.setFontColor(fontColor);
    labelStyle_.setFontAngle(fontAngle, false);
    return &labelStyle_;
}

DrawArea* DataSetImpl::getLegendIcon() { return layer_->getLegendIcon(index_); }

void DataSetImpl::resolveColors(int autoColor, int layerEdgeColor, int layerLineWidth, DrawArea* d) {
    if (dataColor_ == -1) dataColor_ = autoColor;
    d->setColorTable(&dataColor_, 1, Chart::SameAsMainColor & 0xffff);
    if (edgeColor_ == -1) edgeColor_ = layerEdgeColor;
    if (shadowColor_ == -1) shadowColor_ = d->halfColor(dataColor_);
    if (shadowEdgeColor_ == -1) shadowEdgeColor_ = d->halfColor(edgeColor_);
    if (lineWidth_ == -1) lineWidth_ = layerLineWidth;
    symbol_.prepare(d, dataColor_, edgeColor_);
}

}  // namespace plotvane

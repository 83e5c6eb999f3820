// The layer framework: data entry, x positions, combining, ranges, 3D depth, coordinates, legend
// keys and symbols. What a layer type adds is its painting.
//
// x positions: explicit x data wins; without it and without a range the axis is enumerated
// (x = index); a range spreads the longest data set evenly over it, and a single point sits in
// its middle.
//
// Combining: a data item's span runs from a base to an end. Overlay, side and depth data start at
// the layer's base line. Stacked data start where the previous data set of the group ended on the
// same side of zero (positives and negatives stack separately, missing values take no room).
// Percentage data stack the absolute values and scale the stack to 100; a stack of explicit
// zeros is shared equally among them, so a column of zeros still shows who is there. The ranges
// reported to the axes are the spans' extremes, so an axis always fits its stacks. Unstacked spans
// end at the values, whose extremes each data set finds as its data enter, so asking for a range
// does not walk a long series again for every axis.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/legendbox_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

namespace {

int roundPixel(double v) {
    if (v == Chart::NoValue) return Chart::NoIntValue;
    return static_cast<int>(std::floor(std::clamp(v, -1e9, 1e9) + 0.5));
}

// The automatic 3D depth of a plot of the smaller side s.
int autoDepth(int s) {
    for (int divisor : {40, 30, 20}) {
        int d = std::max(s / divisor, 1);
        if (d >= 4 || divisor == 20) return d;
    }
    return 1;
}

}  // namespace

Layer::~Layer() = default;

LayerImpl::LayerImpl() : borderColor_(Chart::LineColor) {}

LayerImpl::~LayerImpl() = default;

void LayerImpl::init(int layerId, XYChartImpl* chart) {
    layerId_ = layerId;
    chart_ = chart;
    DrawArea* d = chart->getRawDrawArea();
    styles_.push_back(std::make_unique<LabelBox>(d));
    dataLabelStyle_ = styles_.back().get();
    styles_.push_back(std::make_unique<LabelBox>(d));
    aggregateLabelStyle_ = styles_.back().get();
    for (LabelBox* s : {dataLabelStyle_, aggregateLabelStyle_}) {
        s->setFontSize(8, 0);
        s->setMargin(0);
        s->setAlignment(0);
    }
}

DataSet* LayerImpl::addDataSet(DoubleArray data, int color, const char* name) {
    const long long length = data.data ? std::max(data.len, 0) : 0;
    if (points_ + length > maxPoints()) return nullptr;
    points_ += length;
    if (groupNames_.empty()) groupNames_.emplace_back();
    int index = static_cast<int>(dataSets_.size());
    dataSets_.push_back(std::make_unique<DataSetImpl>(this, index, groupCount() - 1));
    DataSetImpl* ds = dataSets_.back().get();
    ds->setData(data);
    ds->setDataColor(color, -1, -1, -1);
    ds->setDataName(name);
    return ds;
}

void LayerImpl::addDataGroup(const char* name) { groupNames_.emplace_back(name ? name : ""); }

DataSet* LayerImpl::getDataSet(int dataSet) {
    return dataSet >= 0 && dataSet < dataSetCount() ? dataSets_[static_cast<size_t>(dataSet)].get() : nullptr;
}

DataSet* LayerImpl::getDataSetByZ(int z) { return getDataSet(dataSetCount() - 1 - z); }

double LayerImpl::getDataValue(int dataSet, int i) {
    return dataSet >= 0 && dataSet < dataSetCount() ? dataSets_[static_cast<size_t>(dataSet)]->valueAt(i)
                                                    : Chart::NoValue;
}

std::pair<int, int> LayerImpl::groupRange(int group) const {
    int first = -1, end = -1;
    for (int i = 0; i < static_cast<int>(dataSets_.size()); ++i) {
        if (dataSets_[static_cast<size_t>(i)]->group() != group) continue;
        if (first < 0) first = i;
        end = i + 1;
    }
    return first < 0 ? std::make_pair(0, 0) : std::make_pair(first, end);
}

void LayerImpl::setXData(DoubleArray xData) {
    DoubleArray kept = chart_->filterData(xData);
    xData_.assign(kept.data, kept.data + std::max(kept.len, 0));
    for (double& v : xData_)
        if (!std::isfinite(v)) v = Chart::NoValue;
    xStart_ = xEnd_ = Chart::NoValue;
}

void LayerImpl::setXData(double minValue, double maxValue) {
    auto clean = [](double v) { return std::isfinite(v) ? v : Chart::NoValue; };
    xStart_ = clean(minValue);
    xEnd_ = clean(maxValue);
    xData_.clear();
}

bool LayerImpl::xExtent(double& lo, double& hi) const {
    lo = hi = Chart::NoValue;
    if (xData_.empty() && maxDataLength_ > 0) {
        // Evenly spaced positions: the ends are the extremes.
        lo = std::min(xValue(0), xValue(maxDataLength_ - 1));
        hi = std::max(xValue(0), xValue(maxDataLength_ - 1));
        return true;
    }
    for (int i = 0; i < maxDataLength_; ++i) {
        double x = xValue(i);
        if (x == Chart::NoValue) continue;
        lo = lo == Chart::NoValue ? x : std::min(lo, x);
        hi = hi == Chart::NoValue ? x : std::max(hi, x);
    }
    return lo != Chart::NoValue;
}

double LayerImpl::xStep() const {
    double lo, hi;
    return maxDataLength_ > 1 && xExtent(lo, hi) && hi > lo ? (hi - lo) / (maxDataLength_ - 1) : 1;
}

double LayerImpl::slotWidth() const {
    double slot = 1;
    double lo, hi;
    if (xExtent(lo, hi)) {
        double step = xStep();
        double a = xAxis()->coorOf(lo - step / 2), b = xAxis()->coorOf(hi + step / 2);
        if (a != Chart::NoValue && b != Chart::NoValue) slot = std::fabs(b - a) / std::max(maxDataLength_, 1);
    }
    // No slot is wider than the plot (a log x axis can put half a step before 0 far away).
    return std::isfinite(slot) ? std::clamp(slot, 1.0, std::max(width_, 1) * 1.0) : 1.0;
}

double LayerImpl::indentedX(double x, int side) const {
    const AxisScale& scale = xAxis()->scale();
    if (x == Chart::NoValue || scale.getIndent() != 1) return x;
    double moved = x + side * xStep() / 2;
    // A log axis cannot reach zero: that end stays where the data are.
    return scale.scaleType() == AxisScale::Log && !(moved > 0) ? x : moved;
}

double LayerImpl::getXPosition(int i) { return xValue(i); }

double LayerImpl::getNearestXValue(double target) {
    int i = getXIndexOf(target, 1e308);
    return i < 0 ? Chart::NoValue : xValue(i);
}

int LayerImpl::getXIndexOf(double xValue, double tolerance) {
    AxisImpl* x = this->xAxis();
    double want = x->pixelOf(xValue);
    if (want == Chart::NoValue) return -1;
    int best = -1;
    double bestDistance = 0;
    int n = xData_.empty() ? maxDataLength_ : static_cast<int>(xData_.size());
    for (int i = 0; i < n; ++i) {
        double p = x->pixelOf(this->xValue(i));
        if (p == Chart::NoValue) continue;
        double distance = std::fabs(p - want);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (best < 0 || !(std::fabs(this->xValue(best) - xValue) <= tolerance)) return -1;
    return best;
}

void LayerImpl::alignLayer(Layer* layer, int dataSet) {
    alignedLayer_ = dynamic_cast<LayerImpl*>(layer);
    if (alignedLayer_ == this) alignedLayer_ = nullptr;
    alignedDataSet_ = dataSet;
    alignOffset_ = Chart::NoValue;
}

double LayerImpl::alignOffset() {
    if (!alignedLayer_) return 0;
    if (alignOffset_ == Chart::NoValue) alignOffset_ = alignedLayer_->getDataOffset(alignedDataSet_);
    return alignOffset_;
}

double LayerImpl::getDataOffset(int) { return 0; }

void LayerImpl::setDataCombineMethod(int m) {
    if (m >= Chart::Overlay && m <= Chart::Percentage) combineMethod_ = m;
}

void LayerImpl::setBaseLine(double baseLine) {
    baseLine_ = std::isfinite(baseLine) && baseLine != Chart::NoValue ? baseLine : 0;
}

void LayerImpl::setUseYAxis2(bool b) { yAxis_ = chart_->axisImpl(b ? 3 : 2); }

void LayerImpl::setUseYAxis(const Axis* axis) {
    if (AxisImpl* a = chart_->plotArea().findAxis(axis)) yAxis_ = a;
}

AxisImpl* LayerImpl::xAxis() const { return chart_->axisImpl(0); }

AxisImpl* LayerImpl::layerYAxis() const { return yAxis_ ? yAxis_ : chart_->axisImpl(2); }

AxisImpl* LayerImpl::resolveAxis(const Axis* axis) const {
    AxisImpl* a = chart_->plotArea().findAxis(axis);
    return a ? a : layerYAxis();
}

void LayerImpl::setBorderColor(int color, int lightingEffect) {
    borderColor_ = color;
    borderEffect_ = lightingEffect;
}

void LayerImpl::set3D(int xDepth, int yDepth, int xGap, int yGap) {
    auto clampDepth = [](int v) { return std::clamp(v, -1, 10000); };
    asked3D_ = {clampDepth(xDepth), clampDepth(yDepth), std::clamp(xGap, 0, 10000), std::clamp(yGap, 0, 10000)};
    resolveDepth(std::min(width_, height_));
}

// An automatic depth follows the plot size of every layout, not just the first.
void LayerImpl::resolveDepth(int plotSide) {
    const int automatic = autoDepth(plotSide);
    depth_ = asked3D_.x == -1 ? automatic : asked3D_.x;
    depthY_ = asked3D_.y == -1 ? depth_ : asked3D_.y;
    depthTotalX_ = asked3D_.x == -1 ? automatic : depth_ + asked3D_.xGap;
    depthTotalY_ = asked3D_.y == -1 ? automatic : depthY_ + asked3D_.yGap;
}

void LayerImpl::moveFront(Layer* layer) { chart_->plotArea().moveFront(this, dynamic_cast<LayerImpl*>(layer)); }

void LayerImpl::moveBack(Layer* layer) { chart_->plotArea().moveBack(this, dynamic_cast<LayerImpl*>(layer)); }

void LayerImpl::setLegendOrder(int dataSetOrder, int layerOrder) {
    if (dataSetOrder >= Chart::NormalLegend && dataSetOrder <= Chart::NoLegend) legendMode_ = dataSetOrder;
    legendLayerOrder_ = layerOrder;
}

int LayerImpl::getLegendZ(int ds) const {
    int base = legendLayerOrder_ == -1 ? layerId_ * 10000 + 10000 : legendLayerOrder_;
    if (legendMode_ == Chart::ReverseLegend) return base + 10 * (dataSetCount() - ds);
    return base + 10 * ds + 10;
}

void LayerImpl::setSize(int x, int y, int width, int height, bool swapXY) {
    swapXY_ = swapXY;
    x_ = swapXY ? y : x;
    y_ = swapXY ? x : y;
    width_ = swapXY ? height : width;
    height_ = swapXY ? width : height;
    resolveDepth(std::min(width, height));
}

LayerImpl::PixelMap LayerImpl::xPixelMap() const {
    PixelMap m;
    m.coor_ = xAxis()->coorMap();
    m.base_ = swapXY_ ? x_ + width_ : x_;
    m.negate_ = swapXY_;
    m.offset_ = alignedLayer_ ? const_cast<LayerImpl*>(this)->alignOffset() : 0;
    return m;
}

LayerImpl::PixelMap LayerImpl::yPixelMap(const AxisImpl* axis) const {
    PixelMap m;
    m.coor_ = (axis ? axis : layerYAxis())->coorMap();
    m.base_ = swapXY_ ? y_ : y_ + height_;
    m.negate_ = !swapXY_;
    return m;
}

void LayerImpl::screenPoint(double px, double py, double& sx, double& sy) const {
    sx = swapXY_ ? py : px;
    sy = swapXY_ ? px : py;
}

int LayerImpl::getXCoor(double v) { return roundPixel(pixelX(v)); }

int LayerImpl::getYCoor(double v, bool yAxis2) { return roundPixel(pixelY(v, chart_->axisImpl(yAxis2 ? 3 : 2))); }

int LayerImpl::getYCoor(double v, const Axis* yAxis) { return roundPixel(pixelY(v, resolveAxis(yAxis))); }

int LayerImpl::xZoneColor(double threshold, int belowColor, int aboveColor) {
    return chart_->zoneColor(xAxis(), threshold, belowColor, aboveColor);
}

int LayerImpl::yZoneColor(double threshold, int belowColor, int aboveColor, bool yAxis2) {
    return chart_->zoneColor(chart_->axisImpl(yAxis2 ? 3 : 2), threshold, belowColor, aboveColor);
}

int LayerImpl::yZoneColor(double threshold, int belowColor, int aboveColor, const Axis* yAxis) {
    return chart_->zoneColor(resolveAxis(yAxis), threshold, belowColor, aboveColor);
}

double LayerImpl::getAccValue(int from, int to, int i) const {
    double sum = 0;
    for (int k = std::max(from, 0); k < std::min(to, dataSetCount()); ++k) {
        double v = dataSets_[static_cast<size_t>(k)]->valueAt(i);
        if (v == Chart::NoValue) continue;
        sum += combineMethod_ == Chart::Percentage ? std::fabs(v) : v;
    }
    return sum;
}

int LayerImpl::countAllZero(int from, int to, int i) const {
    int zeros = 0;
    for (int k = std::max(from, 0); k < std::min(to, dataSetCount()); ++k) {
        double v = dataSets_[static_cast<size_t>(k)]->valueAt(i);
        if (v == Chart::NoValue) continue;
        if (v != 0) return -1;
        ++zeros;
    }
    return zeros;
}

Span LayerImpl::spanOf(int ds, int i) const {
    Span s;
    if (ds < 0 || ds >= dataSetCount()) return s;
    const DataSetImpl& d = *dataSets_[static_cast<size_t>(ds)];
    double v = d.valueAt(i);
    if (v == Chart::NoValue) return s;
    s.present = true;
    std::pair<int, int> g = groupRange(d.group());
    if (combineMethod_ == Chart::Stack) {
        for (int k = g.first; k < ds; ++k) {
            double u = dataSets_[static_cast<size_t>(k)]->valueAt(i);
            if (u != Chart::NoValue && (u < 0) == (v < 0)) s.base += u;
        }
        s.end = s.base + v;
    } else if (combineMethod_ == Chart::Percentage) {
        double total = getAccValue(g.first, g.second, i);
        if (total > 0) {
            s.base = 100 * getAccValue(g.first, ds, i) / total;
            s.end = 100 * getAccValue(g.first, ds + 1, i) / total;
        } else {
            // All present values are zero: the zeros share the bar.
            int m = countAllZero(g.first, g.second, i);
            int k = m - countAllZero(ds + 1, g.second, i);
            s.base = m > 0 ? 100.0 * (k - 1) / m : 0;
            s.end = m > 0 ? 100.0 * k / m : 0;
        }
    } else {
        s.base = baseLine_;
        s.end = v;
    }
    return s;
}

double LayerImpl::xExtreme(bool highest) const {
    auto better = [highest](double x, double than) { return highest ? x > than : x < than; };
    // Without x data the positions run evenly (and monotonically, rounding included) from the
    // first index to the last, so the ends are the extremes.
    if (xData_.empty()) {
        if (maxDataLength_ < 1) return Chart::NoValue;
        double first = xValue(0), last = xValue(maxDataLength_ - 1);
        return better(last, first) ? last : first;
    }
    double best = Chart::NoValue;
    for (double x : xData_)
        if (x != Chart::NoValue && (best == Chart::NoValue || better(x, best))) best = x;
    return best;
}

double LayerImpl::getMinX() { return xExtreme(false); }

double LayerImpl::getMaxX() { return xExtreme(true); }

double LayerImpl::getPosMinX() {
    double best = Chart::NoValue;
    for (int i = 0; i < maxDataLength_; ++i) {
        double x = xValue(i);
        if (x != Chart::NoValue && x > 0 && (best == Chart::NoValue || x < best)) best = x;
    }
    return best;
}

double LayerImpl::getNegMaxX() {
    double best = Chart::NoValue;
    for (int i = 0; i < maxDataLength_; ++i) {
        double x = xValue(i);
        if (x != Chart::NoValue && x < 0 && (best == Chart::NoValue || x > best)) best = x;
    }
    return best;
}

double LayerImpl::getMinY(const AxisImpl* axis) {
    double lo = Chart::NoValue;
    bool stacked = combineMethod_ == Chart::Stack || combineMethod_ == Chart::Percentage;
    for (int ds = 0; ds < dataSetCount(); ++ds) {
        if (dataSets_[static_cast<size_t>(ds)]->axis() != axis) continue;
        if (!stacked) {
            // Unstacked spans end at the values themselves.
            double v = dataSets_[static_cast<size_t>(ds)]->minValue();
            if (v != Chart::NoValue && (lo == Chart::NoValue || v < lo)) lo = v;
            continue;
        }
        for (int i = 0; i < dataSets_[static_cast<size_t>(ds)]->size(); ++i) {
            Span s = spanOf(ds, i);
            if (!s.present) continue;
            double v = std::min(s.base, s.end);
            if (lo == Chart::NoValue || v < lo) lo = v;
        }
    }
    return lo;
}

double LayerImpl::getMaxY(const AxisImpl* axis) {
    double hi = Chart::NoValue;
    bool stacked = combineMethod_ == Chart::Stack || combineMethod_ == Chart::Percentage;
    for (int ds = 0; ds < dataSetCount(); ++ds) {
        if (dataSets_[static_cast<size_t>(ds)]->axis() != axis) continue;
        if (!stacked) {
            double v = dataSets_[static_cast<size_t>(ds)]->maxValue();
            if (v != Chart::NoValue && (hi == Chart::NoValue || v > hi)) hi = v;
            continue;
        }
        for (int i = 0; i < dataSets_[static_cast<size_t>(ds)]->size(); ++i) {
            Span s = spanOf(ds, i);
            if (!s.present) continue;
            double v = std::max(s.base, s.end);
            if (hi == Chart::NoValue || v > hi) hi = v;
        }
    }
    return hi;
}

double LayerImpl::getPosMinY(const AxisImpl* axis) {
    double best = Chart::NoValue;
    for (auto& ds : dataSets_) {
        if (ds->axis() != axis) continue;
        for (int i = 0; i < ds->size(); ++i) {
            double v = ds->valueAt(i);
            if (v != Chart::NoValue && v > 0 && (best == Chart::NoValue || v < best)) best = v;
        }
    }
    return best;
}

double LayerImpl::getNegMaxY(const AxisImpl* axis) {
    double best = Chart::NoValue;
    for (auto& ds : dataSets_) {
        if (ds->axis() != axis) continue;
        for (int i = 0; i < ds->size(); ++i) {
            double v = ds->valueAt(i);
            if (v != Chart::NoValue && v < 0 && (best == Chart::NoValue || v > best)) best = v;
        }
    }
    return best;
}

bool LayerImpl::yIsPercentage(const AxisImpl* axis) const {
    if (combineMethod_ != Chart::Percentage || dataSets_.empty()) return false;
    for (int g = 0; g < groupCount(); ++g) {
        std::pair<int, int> r = groupRange(g);
        if (r.second > r.first && dataSets_[static_cast<size_t>(r.first)]->axis() == axis) return true;
    }
    return false;
}

// The legend text of one data set: the legend's template filled in with the data set's fields.
class LayerImpl::LegendEntry final : public LegendText {
public:
    LegendEntry(LayerImpl* layer, int ds) : layer_(layer), ds_(ds) {}
    std::string getText(const char* format, int escapeFlags) override {
        return layer_->formatLabel(format ? format : "", ds_, -1, escapeFlags);
    }

private:
    LayerImpl* layer_;
    int ds_;
};

DrawArea* LayerImpl::legendIcon(int ds) { return dataSets_[static_cast<size_t>(ds)]->symbol().image(); }

int LayerImpl::legendLineWidth(int) { return -1; }

DrawArea* LayerImpl::getLegendIcon(int dataSetNo) {
    return dataSetNo >= 0 && dataSetNo < dataSetCount() ? legendIcon(dataSetNo) : nullptr;
}

int LayerImpl::automaticColor(int) { return chart_->autoColor(); }

void LayerImpl::layoutLegend() {
    DrawArea* d = chart_->getRawDrawArea();
    for (auto& ds : dataSets_) {
        int automatic = ds->getDataColor() == -1 ? automaticColor(ds->index()) : -1;
        ds->resolveColors(automatic, borderColor_, lineWidth_, d);
    }
    if (legendMode_ != Chart::NoLegend) addLegendKeys();
}

void LayerImpl::addLegendKeys() {
    LegendBoxImpl* legend = chart_->legend();
    if (!legend) return;
    for (int i = 0; i < dataSetCount(); ++i) {
        DataSetImpl& ds = *dataSets_[static_cast<size_t>(i)];
        if (ds.name().empty()) continue;
        legend->addKey(getLegendZ(i), std::make_unique<LegendEntry>(this, i), ds.dataColor(), legendLineWidth(i),
                       legendIcon(i));
    }
}

void LayerImpl::layoutChart() {
    DrawArea* d = chart_->getRawDrawArea();
    for (auto& ds : dataSets_) {
        int c = ds->dataColor();
        d->setColorTable(&c, 1, Chart::SameAsMainColor & 0xffff);
        ds->symbol().prepare(d, ds->dataColor(), ds->edgeColor());
    }
}

void LayerImpl::paintSymbols(DrawArea* d, int ds) {
    DataSetImpl& set = *dataSets_[static_cast<size_t>(ds)];
    if (set.symbol().isEmpty()) return;
    for (int i = 0; i < set.size(); ++i) {
        Span s = spanOf(ds, i);
        double px = pixelX(xValue(i));
        if (!s.present || px == Chart::NoValue) continue;
        double py = pixelY(s.end, set.axis());
        if (py == Chart::NoValue) continue;
        double sx, sy;
        screenPoint(px, py, sx, sy);
        set.symbol().paint(d, roundPixel(sx) + set.symbolOffsetX(), roundPixel(sy) + set.symbolOffsetY());
    }
}

void LayerImpl::setHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr) {
    imageMapUrl_ = url ? url : "";
    imageMapQuery_ = queryFormat ? queryFormat : "";
    imageMapExtraAttr_ = extraAttr ? extraAttr : "";
}

}  // namespace plotvane

// The box-whisker layer: a box from the bottom to the top quartile, a median line across it and
// whiskers from the box out to the maximum and the minimum, each ending in a cap half the box
// wide. Data sets after the median are marks of the item's own (a mean, say): the data set's
// symbol at its value, or a line across the box in its colour when it has no symbol.
//
// What is present is drawn: a box needs both its ends; a whisker runs from its extreme to the
// nearer box end, or, without a box, between the two extremes; a lone median is still a line.
//
// Colours. A box takes its item's colour when one is set, else the first data set's; its edge is
// the first data set's edge colour. Whiskers and the median are drawn in the whisker colour, or,
// left at -1, in the box's own colour at the whisker brightness, so per-item boxes keep
// per-item whiskers. Items given a name get a legend entry in their colour.
#include <plotvane/drawarea.h>

#include <cmath>

#include "chart/legendbox_p.h"
#include "chart/xy/baseboxlayer_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

BoxWhiskerLayer::~BoxWhiskerLayer() = default;

namespace {

enum Role { kTop, kBottom, kMax, kMin, kMedian, kMarks };

}  // namespace

class BoxWhiskerLayerImpl final : public BoxWhiskerLayer, public BaseBoxLayerImpl {
public:
    void setWhiskerBrightness(double brightness) override;
    void setBoxColor(int item, int color) override;
    void setBoxColors(IntArray colors, StringArray names) override;

    void setWhiskerColor(int color) { whiskerColor_ = color; }
    void layoutLegend() override;

protected:
    const std::vector<std::string>& roleNames() const override;
    void paintItem(const ItemPen& pen, int i, const ItemPixels& p) override;
    int labelSide(int ds) const override { return ds == kMax || ds == kMin ? 0 : 1; }
    bool layerField(std::string_view name, const char* format, int ds, int item, std::string& text) override;

private:
    class ItemLegendText;

    int boxColor(int i) const;

    double whiskerBrightness_ = 0.5;
    int whiskerColor_ = Chart::LineColor;
    std::vector<int> boxColors_;
    std::vector<std::string> names_;
    // The item whose legend text is being made; its name answers "dataSetName".
    int namingItem_ = -1;
};

class BoxWhiskerLayerImpl::ItemLegendText final : public LegendText {
public:
    ItemLegendText(BoxWhiskerLayerImpl* layer, int item) : layer_(layer), item_(item) {}
    std::string getText(const char* format, int escapeFlags) override {
        layer_->namingItem_ = item_;
        std::string text = layer_->formatLabel(format ? format : "", 0, item_, escapeFlags);
        layer_->namingItem_ = -1;
        return text;
    }

private:
    BoxWhiskerLayerImpl* layer_;
    int item_;
};

void BoxWhiskerLayerImpl::setWhiskerBrightness(double brightness) {
    if (std::isfinite(brightness)) whiskerBrightness_ = std::clamp(brightness, 0.0, 4.0);
}

void BoxWhiskerLayerImpl::setBoxColor(int item, int color) {
    if (item < 0 || item >= std::max(maxDataLength(), 1)) return;
    if (static_cast<int>(boxColors_.size()) <= item) boxColors_.resize(static_cast<size_t>(std::max(maxDataLength(), item + 1)), -1);
    boxColors_[static_cast<size_t>(item)] = color;
}

void BoxWhiskerLayerImpl::setBoxColors(IntArray colors, StringArray names) {
    boxColors_.assign(colors.data, colors.data + std::max(colors.data ? colors.len : 0, 0));
    names_.clear();
    for (int i = 0; names.data && i < names.len; ++i) names_.emplace_back(names[i] ? names[i] : "");
}

const std::vector<std::string>& BoxWhiskerLayerImpl::roleNames() const {
    static const std::vector<std::string> names = {"top", "bottom", "max", "min", "med"};
    return names;
}

bool BoxWhiskerLayerImpl::layerField(std::string_view name, const char* format, int ds, int item, std::string& text) {
    if (namingItem_ >= 0 && name == "dataSetName") {
        text = names_[static_cast<size_t>(namingItem_)];
        return true;
    }
    return BaseBoxLayerImpl::layerField(name, format, ds, item, text);
}

int BoxWhiskerLayerImpl::boxColor(int i) const {
    int c = i >= 0 && i < static_cast<int>(boxColors_.size()) ? boxColors_[static_cast<size_t>(i)] : -1;
    return c == -1 ? dataSet(0).dataColor() : c;
}

void BoxWhiskerLayerImpl::layoutLegend() {
    LayerImpl::layoutLegend();
    LegendBoxImpl* legend = chart()->legend();
    if (!legend || legendMode() == Chart::NoLegend || dataSetCount() == 0) return;
    // After the first data set's own entry, in item order (the legend keeps the order of equal keys).
    for (int i = 0; i < static_cast<int>(names_.size()); ++i)
        if (!names_[static_cast<size_t>(i)].empty())
            legend->addKey(getLegendZ(0), std::make_unique<ItemLegendText>(this, i), boxColor(i), -1, nullptr);
}

void BoxWhiskerLayerImpl::paintItem(const ItemPen& pen, int i, const ItemPixels& p) {
    DrawArea* d = pen.area();
    int fill = boxColor(i);
    d->setColorTable(&fill, 1, Chart::SameAsMainColor & 0xffff);
    int whisker = whiskerColor_ != -1 ? whiskerColor_ : d->adjustBrightness(fill, whiskerBrightness_);
    double top = p.at(kTop), bottom = p.at(kBottom), max = p.at(kMax), min = p.at(kMin), median = p.at(kMedian);
    bool box = top != Chart::NoValue && bottom != Chart::NoValue;
    double cap = std::max(std::trunc(p.width / 2), 1.0);
    auto width = [this](int role) { return role < dataSetCount() ? dataSet(role).lineWidth() : 1; };
    for (double tip : {max, min}) {
        if (tip == Chart::NoValue) continue;
        int w = width(tip == max ? kMax : kMin);
        double other = tip == max ? min : max;
        if (box)
            pen.line(p.x, tip, p.x, std::fabs(tip - top) < std::fabs(tip - bottom) ? top : bottom, whisker, w);
        else if (tip == max && other != Chart::NoValue)
            pen.line(p.x, max, p.x, min, whisker, w);
        pen.across(p.x, cap, tip, whisker, w);
    }
    if (box) pen.box(p.x, p.width, top, bottom, fill, dataSet(0).edgeColor(), boxLook());
    if (median != Chart::NoValue) pen.across(p.x, p.width, median, whisker, width(kMedian), box);
    for (int ds = kMarks; ds < dataSetCount(); ++ds) {
        double y = p.at(ds);
        if (y == Chart::NoValue) continue;
        DataSetImpl& set = dataSet(ds);
        if (set.symbol().isEmpty()) {
            pen.across(p.x, p.width, y, set.dataColor(), set.lineWidth(), box);
            continue;
        }
        double sx, sy;
        screenPoint(p.x, y, sx, sy);
        set.symbol().paint(d, static_cast<int>(std::floor(sx + 0.5)) + set.symbolOffsetX(),
                           static_cast<int>(std::floor(sy + 0.5)) + set.symbolOffsetY());
    }
}

BoxWhiskerLayer* XYChartImpl::addBoxWhiskerLayer(DoubleArray boxTop, DoubleArray boxBottom, DoubleArray maxData,
                                                 DoubleArray minData, DoubleArray midData, int fillColor,
                                                 int whiskerColor, int edgeColor) {
    auto* layer = new BoxWhiskerLayerImpl();
    attachItemLayer(*this, layer, {boxTop, boxBottom, maxData, minData, midData});
    layer->setDataGap(0.2);
    layer->getDataSet(0)->setDataColor(fillColor, edgeColor);
    layer->setWhiskerColor(whiskerColor);
    return layer;
}

BoxWhiskerLayer* XYChartImpl::addBoxWhiskerLayer2(DoubleArray boxTop, DoubleArray boxBottom, DoubleArray maxData,
                                                  DoubleArray minData, DoubleArray midData, IntArray fillColors,
                                                  double whiskerBrightness, StringArray names) {
    BoxWhiskerLayer* layer = addBoxWhiskerLayer(boxTop, boxBottom, maxData, minData, midData, -1, -1, -1);
    layer->setWhiskerBrightness(whiskerBrightness);
    layer->setBoxColors(fillColors, names);
    return layer;
}

BoxWhiskerLayer* XYChartImpl::addBoxLayer(DoubleArray boxTop, DoubleArray boxBottom, int color, const char* name) {
    BoxWhiskerLayer* layer = addBoxWhiskerLayer(boxTop, boxBottom, DoubleArray(), DoubleArray(), DoubleArray(), color,
                                                Chart::LineColor, -1);
    layer->getDataSet(0)->setDataName(name);
    return layer;
}

}  // namespace plotvane

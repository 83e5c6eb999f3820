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
//
// Crowded charts have hundreds of items a pixel or two wide, so the layer records no primitive
// that another one covers anyway: thin whiskers on both sides of an opaque flat box are one line
// that the box paints over (as candle wicks are), and a one-pixel cap on a one-pixel whisker is its
// end pixel.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/legendbox_p.h"
#include "chart/pixel_p.h"
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
    void paint(DrawArea* d) override;

protected:
    const std::vector<std::string>& roleNames() const override;
    void paintItem(const ItemPen& pen, int i, const ItemPixels& p) override;
    int labelSide(int ds) const override { return ds == kMax || ds == kMin ? 0 : 1; }
    bool layerField(std::string_view name, const char* format, int ds, int item, std::string& text) override;

private:
    class ItemLegendText;

    // What an item's box colour implies, worked out once per colour in a pass: the whisker colour,
    // whether whiskers and box paint over what lies beneath, and whether any colour of the item
    // reads the SameAsMainColor entry (so it must hold the item's colour).
    struct Ink {
        int fill = 0;
        int whisker = 0;
        bool solidWhisker = false;
        bool solidBox = false;
        bool readsMain = false;
    };
    // The item colour's ink, with the colour in the SameAsMainColor entry where the item reads it.
    const Ink& inkOf(DrawArea* d, int fill);
    int boxColor(int i) const;

    double whiskerBrightness_ = 0.5;
    int whiskerColor_ = Chart::LineColor;
    std::vector<int> boxColors_;
    std::vector<std::string> names_;
    // The item whose legend text is being made; its name answers "dataSetName".
    int namingItem_ = -1;
    // The inks of the pass so far (a chart alternates a few colours; past a handful the last slot
    // is reused), and the colour in the palette entry.
    std::vector<Ink> inks_;
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

void BoxWhiskerLayerImpl::paint(DrawArea* d) {
    inks_.clear();
    BaseBoxLayerImpl::paint(d);
}

const BoxWhiskerLayerImpl::Ink& BoxWhiskerLayerImpl::inkOf(DrawArea* d, int fill) {
    for (const Ink& known : inks_) {
        if (known.fill != fill) continue;
        setMainColor(d, fill, known.readsMain);
        return known;
    }
    // A new colour is worked out with the entry holding it, as the colours built on it expect.
    setMainColor(d, fill);
    constexpr size_t kKept = 8;
    if (inks_.size() == kKept) inks_.pop_back();
    Ink ink;
    ink.fill = fill;
    ink.whisker = whiskerColor_ != -1 ? whiskerColor_ : d->adjustBrightness(fill, whiskerBrightness_);
    ink.solidWhisker = d->isOpaque(ink.whisker);
    int edge = dataSet(0).edgeColor();
    ink.solidBox = d->isOpaque(fill) && d->isOpaque(edge);
    // Marks may draw symbols in any colour, so they always read it.
    ink.readsMain = dataSetCount() > kMarks || readsMainColor(fill) || readsMainColor(ink.whisker) ||
                    readsMainColor(edge);
    inks_.push_back(ink);
    return inks_.back();
}

void BoxWhiskerLayerImpl::paintItem(const ItemPen& pen, int i, const ItemPixels& p) {
    DrawArea* d = pen.area();
    const Ink& ink = inkOf(d, boxColor(i));
    double top = p.at(kTop), bottom = p.at(kBottom), max = p.at(kMax), min = p.at(kMin), median = p.at(kMedian);
    bool box = top != Chart::NoValue && bottom != Chart::NoValue;
    double cap = std::max(std::trunc(p.width / 2), 1.0);
    auto width = [this](int role) { return role < dataSetCount() ? dataSet(role).lineWidth() : 1; };
    int maxWidth = width(kMax), minWidth = width(kMin);
    ItemColumns body = p.body();
    double stem = p.stem(body);
    bool oneLine = maxWidth == 1 && minWidth == 1 && stemsJoin(pen, max, min, top, bottom, ink.solidBox);
    if (oneLine) pen.line(stem, max, stem, min, ink.whisker, 1);
    for (double tip : {max, min}) {
        if (tip == Chart::NoValue) continue;
        int w = tip == max ? maxWidth : minWidth;
        double other = tip == max ? min : max;
        bool reached = box || other != Chart::NoValue;
        double nearEnd = std::fabs(tip - top) < std::fabs(tip - bottom) ? top : bottom;
        if (!oneLine && box)
            pen.line(stem, tip, stem, nearEnd, ink.whisker, w);
        else if (!oneLine && tip == max && other != Chart::NoValue)
            pen.line(stem, max, stem, min, ink.whisker, w);
        // A cap one pixel long on a one-pixel whisker is the whisker's own end pixel.
        if (cap == 1 && w == 1 && reached && ink.solidWhisker) continue;
        pen.across(ItemColumns::centred(stem, cap), tip, ink.whisker, w);
    }
    if (box) pen.box(body, top, bottom, ink.fill, dataSet(0).edgeColor(), paintLook());
    if (median != Chart::NoValue) pen.across(body, median, ink.whisker, width(kMedian), box);
    for (int ds = kMarks; ds < dataSetCount(); ++ds) {
        double y = p.at(ds);
        if (y == Chart::NoValue) continue;
        DataSetImpl& set = dataSet(ds);
        if (set.symbol().isEmpty()) {
            pen.across(body, y, set.dataColor(), set.lineWidth(), box);
            continue;
        }
        double sx, sy;
        screenPoint(p.x, y, sx, sy);
        set.symbol().paint(d, roundPixel(sx) + set.symbolOffsetX(), roundPixel(sy) + set.symbolOffsetY());
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

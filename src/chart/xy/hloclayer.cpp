// The HLOC layer: a stroke from high to low, the open as a tick to the left and the close as a
// tick to the right, a third of the item width long each, so neighbouring items stay apart even
// without a gap. The item's colour is chosen first and put in the SameAsMainColor palette entry,
// so colours the program builds on that entry follow the item. A missing high or low leaves out
// the stroke, a missing open or close its tick. With 3D depth each stroke is a bar of no
// thickness: the line in the item's colour at the front, a ribbon of the depth behind it in the
// half colour, as boxes and candle bodies show their top and side.
#include <plotvane/drawarea.h>

#include <cmath>

#include "chart/xy/baseboxlayer_p.h"
#include "chart/xy/plotarea_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

HLOCLayer::~HLOCLayer() = default;

class HLOCLayerImpl final : public HLOCLayer, public BaseBoxLayerImpl {
public:
    void setColorMethod(int colorMethod, int riseColor, int fallColor, double leadValue) override;

protected:
    const std::vector<std::string>& roleNames() const override { return priceRoleNames(); }
    void paintItem(const ItemPen& pen, int i, const ItemPixels& p) override;
    int labelSide(int ds) const override { return ds == kOpen ? -1 : ds == kClose ? 1 : 0; }
    DrawArea* legendIcon(int ds) override;

private:
    int itemColor(int i) const;
    void drawItem(const ItemPen& pen, const ItemPixels& p, int color, int lineWidth) const;
    int orData(int color) const { return color == -1 ? dataSet(0).dataColor() : color; }

    int colorMethod_ = Chart::HLOCDefault;
    int riseColor_ = -1;
    int fallColor_ = -1;
    double leadValue_ = -1.7e308;
};

void HLOCLayerImpl::setColorMethod(int colorMethod, int riseColor, int fallColor, double leadValue) {
    if (colorMethod >= Chart::HLOCDefault && colorMethod <= Chart::HLOCUpDown) colorMethod_ = colorMethod;
    riseColor_ = riseColor;
    fallColor_ = fallColor;
    leadValue_ = std::isnan(leadValue) ? -1.7e308 : leadValue;
}

int HLOCLayerImpl::itemColor(int i) const {
    double open = roleValue(kOpen, i), close = roleValue(kClose, i);
    bool falls = false;
    if (colorMethod_ == Chart::HLOCDefault) return dataSet(0).dataColor();
    if (colorMethod_ == Chart::HLOCOpenClose)
        falls = open != Chart::NoValue && close != Chart::NoValue && open > close;
    else if (close != Chart::NoValue && kClose < dataSetCount())
        falls = previousValue(kClose, i, leadValue_) > close;
    return orData(falls ? fallColor_ : riseColor_);
}

void HLOCLayerImpl::drawItem(const ItemPen& pen, const ItemPixels& p, int color, int lineWidth) const {
    pen.area()->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
    double high = p.at(kHigh), low = p.at(kLow), open = p.at(kOpen), close = p.at(kClose);
    double tick = std::max(std::trunc(p.width / 3), 1.0);
    struct Stroke {
        double x1, y1, x2, y2;
    };
    Stroke strokes[3];
    int n = 0;
    if (high != Chart::NoValue && low != Chart::NoValue) strokes[n++] = {p.x, high, p.x, low};
    if (open != Chart::NoValue) strokes[n++] = {p.x - tick, open, p.x, open};
    if (close != Chart::NoValue) strokes[n++] = {p.x, close, p.x + tick, close};
    // Every ribbon first, so none covers a front line where the ticks meet the stroke.
    for (int k = 0; k < n && lineWidth >= 1; ++k) {
        const Stroke& s = strokes[k];
        pen.ribbon(s.x1, s.y1, s.x2, s.y2, color);
    }
    for (int k = 0; k < n; ++k) {
        const Stroke& s = strokes[k];
        pen.line(s.x1, s.y1, s.x2, s.y2, color, lineWidth, true);
    }
}

void HLOCLayerImpl::paintItem(const ItemPen& pen, int i, const ItemPixels& p) {
    drawItem(pen, p, itemColor(i), dataSet(0).lineWidth());
}

DrawArea* HLOCLayerImpl::legendIcon(int) {
    DrawArea* icon = newIcon();
    if (!icon) return nullptr;
    int color = orData(colorMethod_ == Chart::HLOCDefault ? -1 : riseColor_);
    drawItem(ItemPen(icon, false), iconItem(icon, {0, 1, 0.7, 0.3}), color, std::max(dataSet(0).lineWidth(), 1));
    return icon;
}

HLOCLayer* XYChartImpl::addHLOCLayer() {
    auto* layer = new HLOCLayerImpl();
    attachItemLayer(*this, layer, {});
    plotArea().setScaleMode(PlotAreaImpl::kPriceMode);
    return layer;
}

HLOCLayer* XYChartImpl::addHLOCLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                                     DoubleArray closeData, int color) {
    auto* layer = new HLOCLayerImpl();
    attachItemLayer(*this, layer, {highData, lowData, openData, closeData});
    layer->getDataSet(0)->setDataColor(color);
    plotArea().setScaleMode(PlotAreaImpl::kPriceMode);
    return layer;
}

HLOCLayer* XYChartImpl::addHLOCLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                                     DoubleArray closeData, int upColor, int downColor, int colorMode,
                                     double leadValue) {
    HLOCLayer* layer = addHLOCLayer(highData, lowData, openData, closeData, -1);
    if (colorMode == -1) colorMode = openData.len > 0 && openData.data ? Chart::HLOCOpenClose : Chart::HLOCUpDown;
    layer->setColorMethod(colorMode, upColor, downColor, leadValue);
    return layer;
}

}  // namespace plotvane

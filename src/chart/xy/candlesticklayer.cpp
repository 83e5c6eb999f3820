// The candlestick layer: a body from open to close and a wick from the body out to the high and
// to the low.
//
// A missing open takes the close and a missing close the open, so a candle with one of them draws
// a flat body there; with neither there is no body and the wick runs from high to low. The wick is
// drawn in two parts, each from the body's end outward, so a hollow body shows no wick inside.
//
// Colours. A candle whose close is below its open falls, any other rises, and takes that
// direction's colours. When extra colours are given for the direction, a candle whose close also
// moved that way from the close before it (extraLeadValue before the first) takes them instead:
// four looks, as hollow and filled candles in two colours. Colours left at -1 fall back from the
// extra ones to the plain ones of the direction, and from those to the first data set's colour
// (fills) or edge colour (lines).
#include <plotvane/drawarea.h>

#include <cmath>

#include "chart/xy/baseboxlayer_p.h"
#include "chart/xy/plotarea_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

CandleStickLayer::~CandleStickLayer() = default;

namespace {

struct CandleColors {
    int fill = -1;
    int line = -1;
};

}  // namespace

class CandleStickLayerImpl final : public CandleStickLayer, public BaseBoxLayerImpl {
public:
    void setColors(int upFillColor, int upLineColor, int downFillColor, int downLineColor) override;
    void setExtraColors(int upFillColor, int upLineColor, int downFillColor, int downLineColor,
                        double leadValue) override;

protected:
    const std::vector<std::string>& roleNames() const override { return priceRoleNames(); }
    void paintItem(const ItemPen& pen, int i, const ItemPixels& p) override;
    int labelSide(int ds) const override { return ds == kOpen ? -1 : ds == kClose ? 1 : 0; }
    DrawArea* legendIcon(int ds) override;

private:
    CandleColors colorsOf(int i) const;
    void drawItem(const ItemPen& pen, const ItemPixels& p, CandleColors colors, int lineWidth);

    // Rising first, then falling.
    CandleColors plain_[2];
    CandleColors extra_[2];
    double extraLeadValue_ = -1.7e308;
};

void CandleStickLayerImpl::setColors(int upFillColor, int upLineColor, int downFillColor, int downLineColor) {
    plain_[0] = {upFillColor, upLineColor};
    plain_[1] = {downFillColor, downLineColor};
}

void CandleStickLayerImpl::setExtraColors(int upFillColor, int upLineColor, int downFillColor, int downLineColor,
                                          double leadValue) {
    extra_[0] = {upFillColor, upLineColor};
    extra_[1] = {downFillColor, downLineColor};
    extraLeadValue_ = std::isnan(leadValue) ? -1.7e308 : leadValue;
}

CandleColors CandleStickLayerImpl::colorsOf(int i) const {
    double open = roleValue(kOpen, i), close = roleValue(kClose, i);
    if (open == Chart::NoValue) open = close;
    bool falls = close != Chart::NoValue && close < open;
    int k = falls ? 1 : 0;
    CandleColors c = plain_[k];
    const CandleColors& extra = extra_[k];
    bool haveExtra = extra.fill != -1 || extra.line != -1;
    if (haveExtra && roleValue(kClose, i) != Chart::NoValue) {
        bool fellSince = roleValue(kClose, i) < previousValue(kClose, i, extraLeadValue_);
        if (fellSince == falls) {
            if (extra.fill != -1) c.fill = extra.fill;
            if (extra.line != -1) c.line = extra.line;
        }
    }
    if (c.fill == -1) c.fill = dataSet(0).dataColor();
    if (c.line == -1) c.line = dataSet(0).edgeColor();
    return c;
}

void CandleStickLayerImpl::drawItem(const ItemPen& pen, const ItemPixels& p, CandleColors colors,
                                    int lineWidth) {
    setMainColor(pen.area(), colors.fill, readsMainColor(colors.fill) || readsMainColor(colors.line));
    ItemColumns body = p.body();
    double high = p.at(kHigh), low = p.at(kLow), open = p.at(kOpen), close = p.at(kClose), stem = p.stem(body);
    if (open == Chart::NoValue) open = close;
    if (close == Chart::NoValue) close = open;
    if (open == Chart::NoValue) {
        if (high != Chart::NoValue && low != Chart::NoValue) pen.line(stem, high, stem, low, colors.line, lineWidth);
        return;
    }
    double lo = std::min(open, close), hi = std::max(open, close);
    DrawArea* d = pen.area();
    bool opaque = d->isOpaque(colors.fill) && d->isOpaque(colors.line);
    if (lineWidth == 1 && stemsJoin(pen, high, low, open, close, opaque)) {
        pen.line(stem, high, stem, low, colors.line, 1);
    } else {
        for (double tip : {high, low}) {
            if (tip == Chart::NoValue) continue;
            double from = std::fabs(tip - lo) < std::fabs(tip - hi) ? lo : hi;
            if (tip != from) pen.line(stem, tip, stem, from, colors.line, lineWidth);
        }
    }
    pen.box(body, open, close, colors.fill, colors.line, boxLook());
}

void CandleStickLayerImpl::paintItem(const ItemPen& pen, int i, const ItemPixels& p) {
    drawItem(pen, p, colorsOf(i), dataSet(0).lineWidth());
}

DrawArea* CandleStickLayerImpl::legendIcon(int) {
    DrawArea* icon = newIcon();
    if (!icon) return nullptr;
    CandleColors up = plain_[0];
    if (up.fill == -1) up.fill = dataSet(0).dataColor();
    if (up.line == -1) up.line = dataSet(0).edgeColor();
    ItemPixels p = iconItem(icon, {0, 1, 0.75, 0.25});
    p.width = std::max(std::trunc(p.width * 0.6), 1.0);
    drawItem(ItemPen(icon, false), p, up, 1);
    return icon;
}

CandleStickLayer* XYChartImpl::addCandleStickLayer(DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                                                   DoubleArray closeData, int riseColor, int fallColor,
                                                   int edgeColor) {
    auto* layer = new CandleStickLayerImpl();
    attachItemLayer(*this, layer, {highData, lowData, openData, closeData});
    layer->setDataGap(0.1);
    layer->setColors(riseColor, edgeColor, fallColor, edgeColor);
    plotArea().setScaleMode(PlotAreaImpl::kPriceMode);
    return layer;
}

}  // namespace plotvane

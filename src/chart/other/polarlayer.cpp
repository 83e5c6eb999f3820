// What every polar layer shares: data entry, points laid out as pixels, symbols, data labels,
// legend entries and hot spots.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/imagemap_p.h"
#include "chart/legendbox_p.h"
#include "chart/legendkey_p.h"
#include "chart/other/polarchart_p.h"
#include "text/pvparser_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

PolarLayer::~PolarLayer() = default;

namespace {

using polar::isSet;
using polar::kPi;

}  // namespace

std::vector<double> polarValues(DoubleArray a) {
    std::vector<double> v;
    if (!a.data || a.len <= 0 || a.len > kMaxPolarPoints) return v;
    v.reserve(static_cast<size_t>(a.len));
    for (int i = 0; i < a.len; ++i) v.push_back(std::isfinite(a.data[i]) ? a.data[i] : Chart::NoValue);
    return v;
}

class PolarLayerImpl::LegendEntry final : public LegendText {
public:
    explicit LegendEntry(PolarLayerImpl* layer) : layer_(layer) {}
    std::string getText(const char* format, int escapeFlags) override {
        return layer_->formatLabel(format ? format : "", -1, escapeFlags);
    }

private:
    PolarLayerImpl* layer_;
};

PolarLayerImpl::PolarLayerImpl(PolarChartImpl* chart, DoubleArray data, int color, const char* name)
    : chart_(chart), color_(color), labelStyle_(std::make_unique<LabelBox>(chart->getRawDrawArea())) {
    labelStyle_->setMargin(0);
    labelStyle_->setAlignment(0);
    labelStyle_->setStyle("", 8, Chart::TextColor, 0);
    setData(data, color, name);
}

PolarLayerImpl::~PolarLayerImpl() = default;

void PolarLayerImpl::setData(DoubleArray data, int color, const char* name) {
    data_ = polarValues(data);
    color_ = color;
    name_ = name ? name : "";
}

void PolarLayerImpl::setAngles(DoubleArray angles) {
    angles_ = polarValues(angles);
    hasAngles_ = angles.data && angles.len > 0;
}

void PolarLayerImpl::setDataSymbol(int symbol, int size, int fillColor, int edgeColor, int lineWidth) {
    symbol_.setShape(symbol, size, fillColor, edgeColor, lineWidth);
}

void PolarLayerImpl::setDataSymbol(IntArray polygon, int size, int fillColor, int edgeColor) {
    symbol_.setPolygon(polygon, size, fillColor, edgeColor);
}

void PolarLayerImpl::setSymbolScale(DoubleArray sizes, int scaleType) {
    symbolSizes_ = polarValues(sizes);
    symbolScaleType_ = scaleType;
}

void PolarLayerImpl::setSymbolOffset(int offsetX, int offsetY) {
    symbolOffsetX_ = std::clamp(offsetX, -100000, 100000);
    symbolOffsetY_ = std::clamp(offsetY, -100000, 100000);
}

void PolarLayerImpl::setImageMapWidth(int width) { imageMapWidth_ = std::clamp(width, 0, 100000); }

void PolarLayerImpl::setDataLabelFormat(const char* formatString) {
    labelFormat_ = formatString ? formatString : "";
    labelsOn_ = true;
}

TextBox* PolarLayerImpl::setDataLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    labelStyle_->setStyle(font, fontSize, fontColor, fontAngle);
    labelsOn_ = true;
    return labelStyle_.get();
}

TextBox* PolarLayerImpl::addCustomDataLabel(int i, const char* label, const char* font, double fontSize, int fontColor,
                                            double fontAngle) {
    if (i < 0) return nullptr;
    auto box = std::make_unique<LabelBox>(chart_->getRawDrawArea());
    box->setMargin(0);
    box->setAlignment(0);
    box->setText(label);
    box->setStyle(font, fontSize, fontColor, fontAngle);
    LabelBox* result = box.get();
    customLabels_[i] = std::move(box);
    return result;
}

void PolarLayerImpl::setHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr) {
    mapUrl_ = url ? url : "";
    mapQuery_ = queryFormat ? queryFormat : "";
    mapExtraAttr_ = extraAttr ? extraAttr : "";
}

std::string PolarLayerImpl::hotSpotAttributes(int i, int offsetX, int offsetY) const {
    std::string text;
    if (i < 0 || i >= static_cast<int>(hotSpots_.size())) return text;
    const HotSpot& h = hotSpots_[static_cast<size_t>(i)];
    if (h.coords.empty()) return text;
    text = "shape=\"" + h.shape + "\" coords=\"";
    for (size_t k = 0; k < h.coords.size(); ++k) {
        if (k) text += ',';
        // Circles keep their radius; the others are x, y pairs.
        int offset = h.shape == "circle" && k == 2 ? 0 : k % 2 == 0 ? offsetX : offsetY;
        text += std::to_string(h.coords[k] + offset);
    }
    text += '"';
    return text;
}

const char* PolarLayerImpl::getImageCoor(int dataItem, int offsetX, int offsetY) {
    chart_->layout();
    text_ = hotSpotAttributes(dataItem, offsetX, offsetY);
    return text_.c_str();
}

// The layer's own settings win over the chart's; "{default}" in them stands for what they replace.
const char* PolarLayerImpl::getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                            int offsetX, int offsetY) {
    chart_->layout();
    text_.clear();
    const AreaTemplates t =
        areaTemplates(mapUrl_, mapQuery_, mapExtraAttr_, url, queryFormat, extraAttr, defaultImageMapQuery());
    if (!t.enabled) return text_.c_str();
    for (int i = 0; i < static_cast<int>(hotSpots_.size()); ++i) {
        const std::string shape = hotSpotAttributes(i, offsetX, offsetY);
        if (shape.empty()) continue;
        appendAreaWith(text_, shape, t.extra.empty() ? t.extra : formatLabel(t.extra, i, PVParser::EscapeHtml),
                       t.link.empty() ? t.link : formatLabel(t.link, i, PVParser::EscapeUrl));
    }
    return text_.c_str();
}

int PolarLayerImpl::pointCount() const {
    size_t n = hasAngles_ ? std::min(data_.size(), angles_.size()) : data_.size();
    return static_cast<int>(n);
}

double PolarLayerImpl::radiusAt(int i) const { return data_[static_cast<size_t>(i)]; }

double PolarLayerImpl::angleAt(int i) const { return hasAngles_ ? angles_[static_cast<size_t>(i)] : i; }

void PolarLayerImpl::radiusRange(double& lo, double& hi) const {
    for (int i = 0, n = pointCount(); i < n; ++i) {
        double r = radiusAt(i);
        if (!isSet(r) || !isSet(angleAt(i))) continue;
        r = std::fabs(r);
        lo = lo == Chart::NoValue ? r : std::min(lo, r);
        hi = hi == Chart::NoValue ? r : std::max(hi, r);
    }
}

void PolarLayerImpl::angleRange(double& lo, double& hi) const {
    for (int i = 0, n = pointCount(); i < n; ++i) {
        double a = angleAt(i);
        if (!isSet(a) || !isSet(radiusAt(i))) continue;
        lo = lo == Chart::NoValue ? a : std::min(lo, a);
        hi = hi == Chart::NoValue ? a : std::max(hi, a);
    }
}

void PolarLayerImpl::layoutLegend(int z) {
    if (color_ == -1) color_ = Chart::DataColor + z;
    DrawArea* d = chart_->getRawDrawArea();
    symbol_.prepare(d, color_, edgeColor());
    LegendBoxImpl* legend = chart_->legend();
    if (legend && !name_.empty())
        legend->addKey(1000 * (z + 1), std::make_unique<LegendEntry>(this), color_, legendLineWidth(), legendIcon());
}

void PolarLayerImpl::layout() {
    points_.clear();
    const int n = pointCount();
    hotSpots_.assign(static_cast<size_t>(n), HotSpot());
    bool gap = false;
    for (int i = 0; i < n; ++i) {
        double r = radiusAt(i), a = angleAt(i), x, y;
        if (!chart_->toPixel(r, a, x, y)) {
            gap = true;
            continue;
        }
        points_.push_back({i, r, a, x, y, gap});
        gap = false;
    }
    wrapGap_ = gap || (!points_.empty() && points_.front().index > 0);
    for (const PolarPoint& p : points_) hotSpots_[static_cast<size_t>(p.index)] = hotSpot(p);
}

PolarLayerImpl::HotSpot PolarLayerImpl::hotSpot(const PolarPoint& p) const {
    return {"circle", {roundPixel(p.x), roundPixel(p.y), std::max(imageMapWidth_ / 2, 1)}};
}

int PolarLayerImpl::symbolSize(int i) const {
    if (i >= static_cast<int>(symbolSizes_.size())) return -1;
    double s = symbolSizes_[static_cast<size_t>(i)];
    if (!isSet(s)) return -1;
    if (symbolScaleType_ == Chart::RadialAxisScale) s = chart_->radialPixels(s);
    return isSet(s) ? static_cast<int>(std::min(std::fabs(s), 10000.0)) : -1;
}

void PolarLayerImpl::paintSymbols(DrawArea* d) {
    if (symbol_.isEmpty()) return;
    for (const PolarPoint& p : points_) {
        int x = roundPixel(p.x) + symbolOffsetX_, y = roundPixel(p.y) + symbolOffsetY_;
        int size = symbolSize(p.index);
        if (size < 0)
            symbol_.paint(d, x, y);
        else if (size > 0)
            symbol_.paint(d, x, y, size, size);
    }
}

void PolarLayerImpl::paintLabels(DrawArea* d) {
    if (!labelsOn_ && customLabels_.empty()) return;
    d->setColorTable(&color_, 1, Chart::SameAsMainColor & 0xffff);
    const std::string& tmpl = labelFormat_.empty() ? defaultLabel() : labelFormat_;
    const int reach = symbol_.isEmpty() ? 3 : std::max(symbol_.width(), symbol_.height()) / 2 + 3;
    for (const PolarPoint& p : points_) {
        auto custom = customLabels_.find(p.index);
        const LabelBox* style = custom != customLabels_.end() ? custom->second.get() : labelsOn_ ? labelStyle_.get() : nullptr;
        if (!style) continue;
        std::string text = formatLabel(custom != customLabels_.end() ? style->text() : tmpl, p.index);
        if (text.empty()) continue;
        int x, y, alignment = style->placement();
        if (alignment) {
            x = roundPixel(p.x);
            y = roundPixel(p.y);
        } else {
            // Outwards from the centre, hung by the side that faces the point.
            double t = chart_->screenAngle(p.a) * kPi / 180, s = std::sin(t), c = std::cos(t);
            if (p.r < 0) s = -s, c = -c;
            x = roundPixel(p.x + reach * s);
            y = roundPixel(p.y - reach * c);
            alignment = s > 0.3 ? Chart::Left : s < -0.3 ? Chart::Right : c > 0 ? Chart::Bottom : Chart::Top;
        }
        style->copyWith(text, x + style->offsetX(), y + style->offsetY(), alignment)->paint(d);
    }
}

bool PolarLayerImpl::layerField(const std::string&, const char*, int, std::string&) const { return false; }

std::string PolarLayerImpl::formatLabel(const std::string& tmpl, int i, int escapeFlags) {
    PVParser parser(tmpl.c_str(), escapeFlags);
    Formatter& f = chart_->getFormatter();
    const bool item = i >= 0 && i < pointCount();
    while (const char* attr = parser.getNextAttr()) {
        const std::string name = attr;
        const char* code = parser.getFormatString();
        std::string own;
        if (name == "name" || name == "dataSetName")
            parser.replaceAttr(name_.c_str());
        else if (!item)
            continue;
        else if (name == "value")
            parser.replaceAttr(f.format(code, radiusAt(i)));
        else if (name == "x" || name == "angle")
            parser.replaceAttr(f.format(code, angleAt(i)));
        else if (name == "label")
            parser.replaceAttr(chart_->angularLabel(angleAt(i)).c_str());
        else if (name == "i" || name == "dataItem")
            parser.replaceAttr(std::to_string(i).c_str());
        else if (layerField(name, code, i, own))
            parser.replaceAttr(own.c_str());
        else
            chart_->formatCustomAttr(parser, f, 0, i, attr);
    }
    return parser.getResult(&f);
}

}  // namespace plotvane

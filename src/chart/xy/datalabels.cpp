// Data labels, aggregate labels and the fields of label templates.
//
// A label names whose totals it means by a data set index: 0 and up is one data set (its group
// gives the totals), -1 the whole item across the layer (an aggregate label), -2 - g data group g.
// "percent" is the item's share of that total and "gpercent" its share of everything the layer
// holds; a share of a zero total is only defined when everything there is zero (the zeros then
// share equally), otherwise the field reads "[undef]". Fields the layer does not know go to the
// layer's extra fields, then to the chart's, and stay as written when nobody knows them.
//
// Placement: each label is a copy of its style box. The layer type chooses the point it hangs
// from and the alignment it hangs by, knowing the label's size and the alignment the program gave
// the style (label styles start with none, which leaves the choice to the layer); the style's
// position is then added as an offset, so setPos(0, -4) lifts every label by four pixels.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/axis_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/xychart_p.h"
#include "text/pvparser_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

const char* const kUndefined = "[undef]";

}  // namespace

void LayerImpl::setDataLabelFormat(const char* formatString) {
    dataLabelFormat_ = formatString ? formatString : "";
    dataLabelsOn_ = true;
}

TextBox* LayerImpl::setDataLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    dataLabelStyle_->setStyle(font, fontSize, fontColor, fontAngle);
    dataLabelsOn_ = true;
    return dataLabelStyle_;
}

void LayerImpl::setAggregateLabelFormat(const char* formatString) {
    aggregateLabelFormat_ = formatString ? formatString : "";
    aggregateLabelsOn_ = true;
}

TextBox* LayerImpl::setAggregateLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    aggregateLabelStyle_->setStyle(font, fontSize, fontColor, fontAngle);
    aggregateLabelsOn_ = true;
    return aggregateLabelStyle_;
}

TextBox* LayerImpl::addCustomLabel(std::pair<int, int> key, const char* label, const char* font, double fontSize,
                                   int fontColor, double fontAngle) {
    auto box = std::make_unique<LabelBox>(chart_->getRawDrawArea());
    box->setMargin(0);
    box->setAlignment(0);
    box->setText(label);
    box->setStyle(font, fontSize, fontColor, fontAngle);
    LabelBox* result = box.get();
    customLabels_[key] = std::move(box);
    return result;
}

TextBox* LayerImpl::addCustomDataLabel(int dataSet, int dataItem, const char* label, const char* font,
                                       double fontSize, int fontColor, double fontAngle) {
    if (dataSet < 0) return nullptr;
    return addCustomLabel({dataSet, dataItem}, label, font, fontSize, fontColor, fontAngle);
}

TextBox* LayerImpl::addCustomAggregateLabel(int dataItem, const char* label, const char* font, double fontSize,
                                            int fontColor, double fontAngle) {
    return addCustomLabel({-1, dataItem}, label, font, fontSize, fontColor, fontAngle);
}

TextBox* LayerImpl::addCustomGroupLabel(int dataGroup, int dataItem, const char* label, const char* font,
                                        double fontSize, int fontColor, double fontAngle) {
    if (dataGroup < 0) return nullptr;
    return addCustomLabel({-2 - dataGroup, dataItem}, label, font, fontSize, fontColor, fontAngle);
}

std::string LayerImpl::defaultDataLabel() const {
    return combineMethod_ == Chart::Percentage ? "{percent}%" : "{value}";
}

double LayerImpl::grandTotal() {
    if (grandTotal_ == Chart::NoValue) {
        grandTotal_ = 0;
        for (auto& ds : dataSets_)
            for (int i = 0; i < ds->size(); ++i) {
                double v = ds->valueAt(i);
                if (v != Chart::NoValue) grandTotal_ += combineMethod_ == Chart::Percentage ? std::fabs(v) : v;
            }
    }
    return grandTotal_;
}

bool LayerImpl::layerField(std::string_view, const char*, int, int, std::string&) { return false; }

bool LayerImpl::fieldText(const std::string& name, const char* format, int ds, int item, std::string& text) {
    if (layerField(name, format, ds, item, text)) return true;
    // Compared as views, lengths first: most names differ in length.
    const std::string_view key = name;
    Formatter& f = chart_->getFormatter();
    bool single = ds >= 0 && ds < dataSetCount();
    int group = single ? dataSets_[static_cast<size_t>(ds)]->group() : ds <= -2 ? -2 - ds : -1;
    // Totals loop over the data sets, so they are only found for the fields that show them.
    auto range = [&] { return group >= 0 ? groupRange(group) : std::make_pair(0, dataSetCount()); };
    auto total = [&] {
        std::pair<int, int> r = range();
        return getAccValue(r.first, r.second, item);
    };
    auto value = [&] { return single ? dataSets_[static_cast<size_t>(ds)]->valueAt(item) : total(); };
    auto number = [&](const char* code, double v) {
        const char* digits = f.format(code, v);
        text.assign(digits, f.resultLength());
        return true;
    };
    auto word = [&](std::string_view w) {
        text = w;
        return true;
    };
    auto integer = [&](int n) { return word(std::to_string(n)); };
    const char* fmt = format && *format ? format : nullptr;

    if (key == "value") return number(format, value());
    if (key == "x") return number(format, xValue(item));
    if (key == "xLabel" || key == "x2Label") {
        AxisImpl* axis = chart_->axisImpl(key == "xLabel" ? 0 : 1);
        const char* label = axis->getLabel(xValue(item));
        text = label ? label : "";
        return true;
    }
    if (key == "dataSet") return integer(ds);
    if (key == "dataSetName") return word(single ? dataSets_[static_cast<size_t>(ds)]->name() : std::string_view());
    if (key == "dataItem") return integer(item);
    if (key == "dataGroup") return integer(group);
    if (key == "dataGroupName")
        return word(group >= 0 && group < groupCount() ? groupNames_[static_cast<size_t>(group)] : std::string_view());
    if (key == "layerId") return integer(layerId_);
    if (key == "totalValue") return number(format, total());
    if (key == "accValue") return number(format, single ? getAccValue(range().first, ds + 1, item) : value());
    if (key == "percent" || key == "accPercent" || key == "gpercent") {
        std::pair<int, int> r = range();
        double sum = key == "gpercent" ? grandTotal() : getAccValue(r.first, r.second, item);
        double v = key == "accPercent" && single ? getAccValue(r.first, ds + 1, item) : value();
        if (v != Chart::NoValue && combineMethod_ == Chart::Percentage) v = std::fabs(v);
        if (v == Chart::NoValue) return number(fmt ? fmt : "2", Chart::NoValue);
        if (sum != 0) return number(fmt ? fmt : "2", 100 * v / sum);
        if (key == "gpercent") return word(kUndefined);
        int zeros = countAllZero(r.first, r.second, item);
        if (zeros < 0 || v != 0) return word(kUndefined);
        if (!single || zeros == 0) return number(fmt ? fmt : "2", 100);
        int k = zeros - countAllZero(ds + (key == "accPercent" ? 1 : 0), r.second, item);
        double share = key == "accPercent" ? 100.0 * k / zeros : 100.0 / zeros;
        return number(fmt ? fmt : "2", share);
    }
    return extraFields_.fieldText(name.c_str(), format, f, ds, item, text);
}

bool LayerImpl::PointFields::fieldText(const std::string& name, const char* format, Formatter& formatter,
                                       std::string& text) {
    return layer_.fieldText(name, format, ds_, item_, text) ||
           layer_.chart_->customFieldText(name.c_str(), format, formatter, ds_, item_, text);
}

std::string LayerImpl::formatLabel(const std::string& tmpl, int ds, int item, int escapeFlags) {
    PointFields fields(*this, ds, item);
    std::string text;
    FieldTemplate(LabelBox::limited(tmpl), escapeFlags).fill(text, fields, chart_->getFormatter());
    return text;
}

LabelSpot LayerImpl::dataLabelSpot(int ds, int i, int wanted, int, int) {
    Span s = spanOf(ds, i);
    double px = pixelX(xValue(i));
    double py = pixelY(s.end, dataSets_[static_cast<size_t>(ds)]->axis());
    double sx, sy;
    screenPoint(px, py, sx, sy);
    LabelSpot spot;
    spot.x = roundPixel(sx);
    spot.y = roundPixel(sy);
    bool negative = s.end < s.base;
    if (wanted)
        spot.alignment = wanted;
    else if (swapXY_)
        spot.alignment = negative ? Chart::Right : Chart::Left;
    else
        spot.alignment = negative ? Chart::TopCenter : Chart::BottomCenter;
    return spot;
}

void LayerImpl::paintLabel(DrawArea* d, const LabelBox& style, const std::string& text, int ds, int item,
                           bool aggregate) {
    if (text.empty()) return;
    --labelsLeft_;
    std::unique_ptr<LabelBox> box = style.copyWith(text, 0, 0, Chart::TopLeft);
    int w = box->getWidth(), h = box->getHeight();
    LabelSpot spot = aggregate ? aggregateLabelSpot(ds, item, style.placement(), w, h)
                               : dataLabelSpot(ds, item, style.placement(), w, h);
    box->setPos(spot.x + style.offsetX(), spot.y + style.offsetY());
    box->setAlignment(spot.alignment);
    if (box->isVisible()) box->paint(d);
}

void LayerImpl::postPaint(DrawArea* d) {
    labelsLeft_ = kMaxDataLabels;
    for (int ds = dataSetCount(); ds-- > 0;) {
        DataSetImpl& set = *dataSets_[static_cast<size_t>(ds)];
        bool own = set.labelStyle().fontColor() != Chart::Transparent;
        if (!own && !dataLabelsOn_ && customLabels_.empty()) continue;
        LabelBox& style = own ? set.labelStyle() : *dataLabelStyle_;
        std::string tmpl = !set.labelFormat().empty() ? set.labelFormat()
                                                      : !dataLabelFormat_.empty() ? dataLabelFormat_ : defaultDataLabel();
        for (int i = 0; i < set.size() && labelsLeft_ > 0; ++i) {
            auto custom = customLabels_.find({ds, i});
            bool shown = own || dataLabelsOn_ || custom != customLabels_.end();
            if (!shown || !labelShown(ds, i) || pixelX(xValue(i)) == Chart::NoValue) continue;
            if (custom != customLabels_.end())
                paintLabel(d, *custom->second, formatLabel(custom->second->text(), ds, i), ds, i, false);
            else
                paintLabel(d, style, formatLabel(tmpl, ds, i), ds, i, false);
        }
    }
    // Totals at the end of each group's stack (or of the whole item's).
    bool anyCustom = std::any_of(customLabels_.begin(), customLabels_.end(),
                                 [](const auto& e) { return e.first.first < 0; });
    if (!aggregateLabelsOn_ && !anyCustom) return;
    std::string tmpl = aggregateLabelFormat_.empty() ? "{value}" : aggregateLabelFormat_;
    for (int g = 0; g < groupCount(); ++g) {
        std::pair<int, int> r = groupRange(g);
        if (r.first >= r.second) continue;
        for (int i = 0; i < maxDataLength_ && labelsLeft_ > 0; ++i) {
            // The stack's end is its data set that reaches furthest from zero.
            int top = -1;
            double reach = 0;
            for (int k = r.first; k < r.second; ++k) {
                Span s = spanOf(k, i);
                if (s.present && (top < 0 || std::fabs(s.end) > reach)) {
                    top = k;
                    reach = std::fabs(s.end);
                }
            }
            if (top < 0 || pixelX(xValue(i)) == Chart::NoValue) continue;
            int key = groupCount() > 1 ? -2 - g : -1;
            auto custom = customLabels_.find({key, i});
            if (custom == customLabels_.end()) custom = customLabels_.find({-2 - g, i});
            if (custom != customLabels_.end())
                paintLabel(d, *custom->second, formatLabel(custom->second->text(), key, i), top, i, true);
            else if (aggregateLabelsOn_)
                paintLabel(d, *aggregateLabelStyle_, formatLabel(tmpl, key, i), top, i, true);
        }
    }
}

}  // namespace plotvane

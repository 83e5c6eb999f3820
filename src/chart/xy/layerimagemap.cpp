// The hot spots of an XY layer: one area per x index, or per data set and x index when the link or
// the extra attributes name something that differs between data sets. Layer types supply the
// shape of a point as numbers (hotSpot); this file fits shapes, fills in templates and writes areas.
// The base shape is the square of a point's symbol, never smaller than kMinPointSpot pixels, so
// that a line without symbols can still be pointed at.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "chart/imagemap_p.h"
#include "chart/box_p.h"
#include "chart/xy/labelbox_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/plotarea_p.h"
#include "chart/xy/xychart_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

namespace {

constexpr int kMinPointSpot = 7;

// Fields whose value is the same for every data set at one x index.
bool isItemField(const char* name) {
    for (const char* f : {"x", "xLabel", "x2Label", "dataItem", "layerId", "totalValue"})
        if (std::strcmp(name, f) == 0) return true;
    return false;
}

bool refersToDataSet(const std::string& tmpl) {
    PVParser parser(tmpl.c_str(), 0);
    while (const char* name = parser.getNextAttr())
        if (!isItemField(name)) return true;
    return false;
}

// A shape's coordinate attributes, held in `text` for the caller; empty text for no shape.
const char* keepCoordText(std::string& text, const std::vector<int>& xy, int offsetX, int offsetY) {
    text.clear();
    if (!xy.empty()) appendCoordAttributes(text, xy, offsetX, offsetY);
    return text.c_str();
}

}  // namespace

std::string LayerImpl::defaultImageMapQuery() const {
    std::string query = "x={x}&xLabel={xLabel}&dataSet={dataSet}&dataSetName={dataSetName}&value={value}";
    return combineMethod_ == Chart::Percentage ? query + "&percent={percent}" : query;
}

const char* LayerImpl::getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                       int offsetY) {
    text_.clear();
    appendHTMLImageMap(text_, url, queryFormat, extraAttr, offsetX, offsetY);
    return text_.c_str();
}

void LayerImpl::appendHTMLImageMap(std::string& map, const char* url, const char* queryFormat, const char* extraAttr,
                                   int offsetX, int offsetY) {
    AreaTemplates t = areaTemplates(imageMapUrl_, imageMapQuery_, imageMapExtraAttr_, url, queryFormat, extraAttr,
                                    defaultImageMapQuery());
    if (!t.enabled) return;
    const std::string &linkTemplate = t.link, &extra = t.extra;
    HotSpots kind = hotSpotKind();
    bool perDataSet = kind == HotSpots::PerDataSet ||
                      (kind == HotSpots::PerPoint && (refersToDataSet(linkTemplate) || refersToDataSet(extra)));
    int sets = perDataSet ? dataSetCount() : 1;
    int items = kind == HotSpots::PerDataSet ? std::min(maxDataLength_, 1) : maxDataLength_;
    // Thousands of points share two templates: each is scanned once.
    FieldTemplate linkFill(LabelBox::limited(linkTemplate), PVParser::EscapeUrl);
    FieldTemplate extraFill(LabelBox::limited(extra), PVParser::EscapeHtml);
    Formatter& formatter = chart_->getFormatter();
    PointFields fields(*this, -1, 0);
    // Reused for every point, so that the loop allocates nothing once they have grown.
    std::vector<int> xy;
    std::string linkText, extraText;
    for (int i = 0; i < items; ++i) {
        for (int k = 0; k < sets; ++k) {
            int ds = perDataSet ? k : -1;
            if (perDataSet)
                hotSpot(ds, i, xy);
            else
                itemHotSpot(i, xy);
            if (!fitHotSpot(xy)) continue;
            fields.moveTo(ds, i);
            linkText.clear();
            extraText.clear();
            if (!linkFill.empty()) linkFill.fill(linkText, fields, formatter);
            if (!extraFill.empty()) extraFill.fill(extraText, fields, formatter);
            appendArea(map, xy, offsetX, offsetY, extraText, linkText);
        }
    }
}

void LayerImpl::hotSpot(int ds, int item, std::vector<int>& xy) {
    xy.clear();
    if (ds < 0 || ds >= dataSetCount() || item < 0 || item >= dataSet(ds).size()) return;
    DataSetImpl& set = dataSet(ds);
    Span s = spanOf(ds, item);
    double px = pixelX(xValue(item));
    double py = s.present && px != Chart::NoValue ? pixelY(s.end, set.axis()) : Chart::NoValue;
    if (py == Chart::NoValue || !std::isfinite(px) || !std::isfinite(py)) return;
    double sx, sy;
    screenPoint(px, py, sx, sy);
    PlotAreaImpl& plot = chart_->plotArea();
    int left = plot.getLeftX(), top = plot.getTopY();
    if (sx < left - 0.5 || sy < top - 0.5 || sx > left + plot.getWidth() + 0.5 || sy > top + plot.getHeight() + 0.5)
        return;
    int cx = static_cast<int>(std::floor(sx + 0.5)) + set.symbolOffsetX();
    int cy = static_cast<int>(std::floor(sy + 0.5)) + set.symbolOffsetY();
    int half = std::max({set.symbol().width(), set.symbol().height(), kMinPointSpot}) / 2;
    xy.assign({cx - half, cy - half, cx + half, cy + half});
}

void LayerImpl::itemHotSpot(int item, std::vector<int>& xy) {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    for (int ds = 0; ds < dataSetCount(); ++ds) {
        hotSpot(ds, item, xy);
        if (!fitHotSpot(xy)) continue;
        for (size_t k = 0; k + 1 < xy.size(); k += 2) {
            left = any ? std::min(left, xy[k]) : xy[k];
            right = any ? std::max(right, xy[k]) : xy[k];
            top = any ? std::min(top, xy[k + 1]) : xy[k + 1];
            bottom = any ? std::max(bottom, xy[k + 1]) : xy[k + 1];
            any = true;
        }
    }
    xy.clear();
    if (any) xy.assign({left, top, right, bottom});
}

const char* LayerImpl::getImageCoor(int ds, int item, int offsetX, int offsetY) {
    std::vector<int> xy;
    hotSpot(ds, item, xy);
    return keepCoordText(hotSpotText_, xy, offsetX, offsetY);
}

const char* LayerImpl::getImageCoor2(int item, int offsetX, int offsetY) {
    std::vector<int> xy;
    itemHotSpot(item, xy);
    return keepCoordText(hotSpotText_, xy, offsetX, offsetY);
}

}  // namespace plotvane

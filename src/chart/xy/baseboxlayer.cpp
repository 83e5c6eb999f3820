// The base of the item layers: one compound item per x position, built from the values of every
// data set at that position.
//
// Width. An item takes its x slot (the pixel width of one x step, as bars measure it) less the
// data gap, in whole pixels and never below one, or the fixed data width. The x range is reported
// half a step wider at both ends when the x axis is indented, as bars do, so the outer items stand
// inside the plot.
//
// Values become pixels along the y axis of their own data set. A value the axis cannot place
// sensibly (far outside a fixed scale) is pulled in to a plot height beyond the plot area, so
// shapes stay small numbers; a missing value stays missing and each layer type draws what the
// present values allow.
//
// Colours. The data sets of an item draw as one thing, so only the first data set takes an
// automatic colour; the others follow it. Labels hang from each data set's value: the extremes
// outward, away from the rest of the item, the other values beside the item.
#include "chart/xy/baseboxlayer_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/box_p.h"
#include "chart/legendbox_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/plotarea_p.h"
#include "chart/xy/xychart_p.h"
#include "text/formatter_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

constexpr int kDefaultIconSize = 11;

}  // namespace

BaseBoxLayer::~BaseBoxLayer() = default;

void ItemPen::line(double x1, double y1, double x2, double y2, int color, int width, bool front) const {
    segment(roundPixel(x1), roundPixel(y1), roundPixel(x2), roundPixel(y2), color, width, front);
}

void ItemPen::segment(int a, int b, int c, int e, int color, int width, bool front) const {
    if (width < 1) return;
    if (swapped_) {
        std::swap(a, b);
        std::swap(c, e);
    }
    int dx = front ? 0 : depthX_ / 2, dy = front ? 0 : -(depthY_ / 2);
    d_->line(a + dx, b + dy, c + dx, e + dy, color, width);
}

void ItemPen::box(const ItemColumns& columns, double y1, double y2, int fill, int edge, const BarLook& look) const {
    int left = columns.first, right = columns.last;
    int top = roundPixel(std::min(y1, y2)), bottom = roundPixel(std::max(y1, y2));
    BarBox b;
    b.fillColor = fill;
    b.edgeColor = edge;
    b.depthX = depthX_;
    b.depthY = depthY_;
    b.shadowColor = deep() ? d_->halfColor(fill) : fill;
    b.shadowEdgeColor = deep() ? d_->halfColor(edge) : edge;
    if (swapped_) {
        b.left = top, b.right = bottom, b.top = left, b.bottom = right;
        b.valueEnd = Chart::Right;
    } else {
        b.left = left, b.right = right, b.top = top, b.bottom = bottom;
        b.valueEnd = Chart::Top;
    }
    drawBar(d_, b, look);
}

void ItemPen::ribbon(double x1, double y1, double x2, double y2, int color) const {
    if (!deep()) return;
    int a = roundPixel(x1), b = roundPixel(y1), c = roundPixel(x2), e = roundPixel(y2);
    if (swapped_) {
        std::swap(a, b);
        std::swap(c, e);
    }
    int shade = d_->halfColor(color);
    d_->surface(a, b, c, e, depthX_, -depthY_, shade, shade);
}

void ItemPen::across(const ItemColumns& columns, double y, int color, int lineWidth, bool front) const {
    int at = roundPixel(y);
    segment(columns.first, at, columns.last, at, color, lineWidth, front);
}

void BaseBoxLayerImpl::AreaDeleter::operator()(DrawArea* d) const { d->destroy(); }

BaseBoxLayerImpl::BaseBoxLayerImpl() { LayerImpl::setDataCombineMethod(Chart::Overlay); }

BaseBoxLayerImpl::~BaseBoxLayerImpl() = default;

void BaseBoxLayerImpl::setDataGap(double gap) {
    if (std::isfinite(gap) && gap != Chart::NoValue) dataGap_ = std::clamp(gap, -10.0, 1.0);
}

void BaseBoxLayerImpl::setDataWidth(int width) {
    dataWidth_ = std::clamp(width, 1, 100000);
    dataGap_ = Chart::NoValue;
}

void BaseBoxLayerImpl::setMinImageMapSize(int size) { minImageMapSize_ = std::clamp(size, 0, 10000); }

void BaseBoxLayerImpl::setRoundedCorners(int r1, int r2, int r3, int r4) { roundedCornerRadii(r1, r2, r3, r4, radii_); }

BarLook BaseBoxLayerImpl::boxLook() const {
    BarLook look;
    look.effect = borderEffect();
    std::copy(radii_, radii_ + 4, look.radii);
    return look;
}

int BaseBoxLayerImpl::automaticColor(int ds) {
    return ds == 0 || dataSetCount() == 0 ? LayerImpl::automaticColor(ds) : dataSet(0).dataColor();
}

void BaseBoxLayerImpl::layoutChart() {
    LayerImpl::layoutChart();
    double width = dataGap_ == Chart::NoValue ? dataWidth_ : std::trunc(slotWidth() * (1 - dataGap_));
    // Items as wide as a few plots stop mattering: they cover it either way.
    itemWidth_ = std::clamp(width, 1.0, 4.0 * std::max(frameWidth(), 1));
}

BaseBoxLayerImpl::ItemMaps BaseBoxLayerImpl::itemMaps() const {
    ItemMaps maps{xPixelMap(), {}, static_cast<double>(frameY() - frameHeight()), frameY() + 2.0 * frameHeight()};
    for (int ds = 0; ds < dataSetCount(); ++ds) maps.y.push_back(yPixelMap(dataSet(ds).axis()));
    return maps;
}

bool BaseBoxLayerImpl::itemPixels(int i, const ItemMaps& maps, ItemPixels& p) const {
    p.x = maps.x(xValue(i));
    p.width = itemWidth_;
    if (p.x == Chart::NoValue) return false;
    bool any = false;
    p.y.resize(maps.y.size());
    for (size_t ds = 0; ds < maps.y.size(); ++ds) {
        double y = maps.y[ds](dataSet(static_cast<int>(ds)).valueAt(i));
        p.y[ds] = y == Chart::NoValue ? y : std::clamp(y, maps.nearY, maps.farY);
        any = any || y != Chart::NoValue;
    }
    return any;
}

bool BaseBoxLayerImpl::stemsJoin(const ItemPen& pen, double tip1, double tip2,
                                 double end1, double end2, bool opaqueBox) const {
    if (!opaqueBox || !flatBoxes_ || pen.deep()) return false;
    if (tip1 == Chart::NoValue || tip2 == Chart::NoValue || end1 == Chart::NoValue || end2 == Chart::NoValue)
        return false;
    double lo = std::min(end1, end2), hi = std::max(end1, end2);
    return (tip1 <= lo && tip2 >= hi) || (tip2 <= lo && tip1 >= hi);
}

void BaseBoxLayerImpl::paint(DrawArea* d) {
    if (!d || dataSetCount() == 0) return;
    look_ = boxLook();
    flatBoxes_ = look_.effect == 0 && std::all_of(look_.radii, look_.radii + 4, [](int r) { return r == 0; });
    ItemPen pen(d, isSwapped(), depthX(), depthY());
    ItemMaps maps = itemMaps();
    ItemPixels p;
    painting_ = d;
    mainSet_ = anyMain_ = false;
    for (int i = 0; i < maxDataLength(); ++i)
        if (itemPixels(i, maps, p)) paintItem(pen, i, p);
    painting_ = nullptr;
    if (anyMain_ && (!mainSet_ || mainColor_ != lastMain_))
        d->setColorTable(&lastMain_, 1, Chart::SameAsMainColor & 0xffff);
}

void BaseBoxLayerImpl::setMainColor(DrawArea* d, int color, bool needed) {
    if (d != painting_) {
        d->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
        return;
    }
    lastMain_ = color;
    anyMain_ = true;
    if (!needed || (mainSet_ && mainColor_ == color)) return;
    d->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
    mainColor_ = color;
    mainSet_ = true;
}

bool BaseBoxLayerImpl::readsMainColor(int color) {
    auto c = static_cast<uint32_t>(color);
    bool special = (c >> 24) == 0xffu && color != Chart::Transparent;
    return color == Chart::SameAsMainColor || (special && (c >> 16) != 0xffffu);
}

double BaseBoxLayerImpl::previousValue(int ds, int i, double lead) const {
    const DataSetImpl& set = dataSet(ds);
    for (int k = std::min(i, set.size()) - 1; k >= 0; --k)
        if (set.valueAt(k) != Chart::NoValue) return set.valueAt(k);
    return lead;
}

DrawArea* BaseBoxLayerImpl::newIcon() {
    LegendBoxImpl* legend = chart()->legend();
    int w = std::clamp(legend ? legend->getPreferredKeyWidth() : kDefaultIconSize, 1, 1000);
    int h = std::clamp(legend ? legend->getPreferredKeyHeight() : kDefaultIconSize, 1, 1000);
    DrawArea* icon = chart()->getRawDrawArea()->subDrawArea(w, h);
    if (icon) icons_.emplace_back(icon);
    return icon;
}

ItemPixels BaseBoxLayerImpl::iconItem(DrawArea* icon, std::initializer_list<double> fractions) const {
    ItemPixels p;
    p.x = (icon->getWidth() - 1) / 2.0;
    p.width = std::max(icon->getWidth() - 2, 1);
    for (double f : fractions) p.y.push_back(f < 0 ? Chart::NoValue : f * (icon->getHeight() - 1));
    return p;
}

const std::vector<std::string>& BaseBoxLayerImpl::priceRoleNames() {
    static const std::vector<std::string> names = {"high", "low", "open", "close"};
    return names;
}

bool BaseBoxLayerImpl::layerField(std::string_view name, const char* format, int, int item, std::string& text) {
    const std::vector<std::string>& roles = roleNames();
    auto role = std::find(roles.begin(), roles.end(), name);
    if (role == roles.end()) return false;
    int ds = static_cast<int>(role - roles.begin());
    text = chart()->getFormatter().format(format, roleValue(ds, item));
    return true;
}

std::string BaseBoxLayerImpl::defaultImageMapQuery() const {
    std::string query = "x={x}&xLabel={xLabel}";
    for (const std::string& role : roleNames()) query += "&" + role + "={" + role + "}";
    return query;
}

LabelSpot BaseBoxLayerImpl::dataLabelSpot(int ds, int i, int wanted, int width, int height) {
    ItemPixels p;
    if (!itemPixels(i, p) || p.at(ds) == Chart::NoValue) return LayerImpl::dataLabelSpot(ds, i, wanted, width, height);
    constexpr double kGap = 3;
    int side = labelSide(ds);
    double fx = p.x, fy = p.at(ds);
    // Frame directions: +1 along the x axis, and outward along the values.
    int acrossDir = 0, alongDir = 0;
    if (side != 0) {
        acrossDir = side;
        fx += side * (p.width / 2 + kGap);
    } else {
        double sum = 0;
        int count = 0;
        for (double y : p.y)
            if (y != Chart::NoValue) sum += y, ++count;
        alongDir = fy > sum / count ? 1 : -1;
        fy += alongDir * kGap;
    }
    double sx, sy;
    screenPoint(fx, fy, sx, sy);
    LabelSpot spot{roundPixel(sx), roundPixel(sy), Chart::Center};
    int screenDx = isSwapped() ? alongDir : acrossDir, screenDy = isSwapped() ? acrossDir : alongDir;
    if (wanted)
        spot.alignment = wanted;
    else if (screenDx != 0)
        spot.alignment = screenDx > 0 ? Chart::Left : Chart::Right;
    else
        spot.alignment = screenDy > 0 ? Chart::TopCenter : Chart::BottomCenter;
    return spot;
}

void BaseBoxLayerImpl::itemHotSpot(int dataItem, std::vector<int>& xy) {
    xy.clear();
    ItemPixels p;
    if (dataItem < 0 || !itemPixels(dataItem, p)) return;
    double lo = Chart::NoValue, hi = Chart::NoValue;
    for (double y : p.y) {
        if (y == Chart::NoValue) continue;
        lo = lo == Chart::NoValue ? y : std::min(lo, y);
        hi = hi == Chart::NoValue ? y : std::max(hi, y);
    }
    int left = roundPixel(p.x - p.width / 2), right = left + roundPixel(p.width) - 1;
    int top = roundPixel(lo), bottom = roundPixel(hi);
    // Small items still get a hot spot a pointer can find.
    auto widen = [this](int& a, int& b) {
        int missing = minImageMapSize_ - (b - a);
        if (missing <= 0) return;
        a -= missing / 2;
        b += missing - missing / 2;
    };
    widen(left, right);
    widen(top, bottom);
    if (isSwapped()) {
        std::swap(left, top);
        std::swap(right, bottom);
    }
    xy.assign({left, top, right, bottom});
}

void attachItemLayer(XYChartImpl& chart, BaseBoxLayerImpl* layer, std::initializer_list<DoubleArray> data) {
    chart.addLayer(layer);
    for (DoubleArray a : data) layer->addDataSet(a, -1, "");
    AxisImpl* x = chart.axisImpl(0);
    if (x->scale().getIndent() == -1) x->setIndent(true);
}

}  // namespace plotvane

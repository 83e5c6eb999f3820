// The bar layer: where each bar of each data set goes, and the chart's bar layer factories.
//
// Slots. The x axis gives every data item a slot: the pixel width of one x step, measured over
// the whole spread of the x values plus half a step at either end so unevenly spaced data still
// get a common width. A slot holds n bars side by side (one per data set in side mode, one per
// data group otherwise). The group takes the slot less the bar gap; each bar takes its share of
// the group less the sub-bar gap, and the bars step by the bar width plus whatever room is left,
// so a negative gap makes them overlap. Widths are whole pixels and never below one. Touching
// bars are the exception: each slot then reaches halfway to the neighbouring x values, so bars
// meet even when the x values are not evenly spaced, and touching sub-bars split their group
// exactly.
//
// Indentation. The factories turn the x axis's indent on unless the program chose otherwise. A
// label axis indents itself; on any other axis the layer reports its x range half a step wider
// at both ends, so the axis makes room for the outer bars instead of cutting them in half.
//
// Lengths come from the layer framework's spans (base to end under the combine method). A span
// end beyond the plot area (zero or below on a log axis, outside a fixed scale) is pulled in to
// the plot area's edge, so bars stay inside it with or without clipping.
//
// Labels stand in the middle of their bar, or, when the program gives the label style an
// alignment, at that edge or corner inside it. The alignment is read for a bar that grows up (or
// right on a swapped chart) and mirrored for one that grows the other way, so Top always means the
// value end. Bars shorter than the minimum label size, and stack totals, carry their labels just
// beyond the value end.
//
// Painting goes group by group and item by item. In 3D the bars of a slot are painted back to
// front (from the left, and from the bottom up), so each bar's top and side faces are hidden by
// the bars standing before them; in depth mode the data sets are painted from the back.
#include <plotvane/barlayer.h>
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "chart/box_p.h"
#include "chart/legendbox_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/barshape_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/xychart_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

BarLayer::~BarLayer() = default;

namespace {

bool isSet(double v) { return v != Chart::NoValue && std::isfinite(v); }

constexpr int kDefaultIconSize = 11;
constexpr unsigned kAll = 0xfffffu;

unsigned shapeKey(int group, int item) {
    unsigned g = group < 0 ? 0xfffu : static_cast<unsigned>(group) & 0xfffu;
    unsigned i = item < 0 ? kAll : static_cast<unsigned>(item) & kAll;
    return (g << 20) | i;
}

// An alignment given for a bar that grows up (or right), for a bar that grows the other way.
int facingEnd(int alignment, int valueEnd) {
    int col = (alignment - 1) % 3, row = (alignment - 1) / 3;
    if (valueEnd == Chart::Bottom) row = 2 - row;
    if (valueEnd == Chart::Left) col = 2 - col;
    return row * 3 + col + 1;
}

struct AreaDeleter {
    void operator()(DrawArea* d) const { d->destroy(); }
};

}  // namespace

class BarLayerImpl final : public BarLayer, public virtual LayerImpl {
public:
    BarLayerImpl() = default;

    void setBarGap(double barGap, double subBarGap) override;
    void setBarWidth(int barWidth, int subBarWidth) override;
    void setOverlapRatio(double overlapRatio, bool firstOnTop) override;
    void setMinLabelSize(int size) override { minLabelSize_ = size; }
    long long maxPoints() const override { return kMaxBars; }
    void setMinImageMapSize(int size) override { minImageMapSize_ = std::clamp(size, 0, 10000); }
    void setRoundedCorners(int r1, int r2, int r3, int r4) override;
    void setIconSize(int height, int width) override;
    void setBarShape(int shape, int dataGroup, int dataItem) override;
    void setBarShape(IntArray polygon, int dataGroup, int dataItem) override;

    void hotSpot(int ds, int item, std::vector<int>& xy) override;
    double getMinX() override { return indentedX(LayerImpl::getMinX(), -1); }
    double getMaxX() override { return indentedX(LayerImpl::getMaxX(), 1); }
    void setSize(int x, int y, int width, int height, bool swapXY) override;
    void layoutChart() override;
    void paint(DrawArea* d) override;
    double getDataOffset(int dataSet) override;

protected:
    LabelSpot dataLabelSpot(int ds, int i, int wanted, int width, int height) override;
    LabelSpot aggregateLabelSpot(int ds, int i, int wanted, int width, int height) override;
    DrawArea* legendIcon(int ds) override;

private:
    // The bar widths of one layout.
    struct Slots {
        int n = 1;          // bars per slot
        double slot = 1;    // pixel width of one x step
        double group = 1;   // group width
        double bar = 1;     // sub-bar width
        double step = 1;    // sub-bar step
    };

    const Slots& slots();
    bool perDataSet() const;
    int slotIndex(int ds);
    double subOffset(int k);
    // The bar of data set ds at item i, in screen pixels; false when there is none.
    bool barBox(int ds, int i, BarBox& box);
    void barExtent(int ds, int i, double& low, double& high);
    const BarShape* shapeFor(int group, int item) const;
    BarLook lookFor(int group, int item) const;
    // Just beyond the value end of a bar, hanging away from it.
    static LabelSpot beyondEnd(const BarBox& box);

    double barGap_ = 0.25;
    double subBarGap_ = 0.2;
    bool firstOnTop_ = false;
    int barWidth_ = 0;
    int subBarWidth_ = 0;
    int minLabelSize_ = -1;
    int minImageMapSize_ = 5;
    int radii_[4] = {0, 0, 0, 0};
    int iconHeight_ = -1;
    int iconWidth_ = -1;
    std::map<unsigned, BarShape> shapes_;
    std::vector<std::unique_ptr<DrawArea, AreaDeleter>> icons_;
    Slots slots_;
    bool slotsValid_ = false;
};

void BarLayerImpl::setBarGap(double barGap, double subBarGap) {
    if (barGap == Chart::TouchBar || isSet(barGap)) barGap_ = barGap == Chart::TouchBar ? barGap : std::min(barGap, 1.0);
    if (subBarGap == Chart::TouchBar || isSet(subBarGap)) subBarGap_ = subBarGap;
    slotsValid_ = false;
}

void BarLayerImpl::setBarWidth(int barWidth, int subBarWidth) {
    barWidth_ = std::clamp(barWidth, 1, 100000);
    barGap_ = Chart::NoValue;
    if (subBarWidth > 0) {
        subBarWidth_ = std::min(subBarWidth, 100000);
        subBarGap_ = Chart::NoValue;
    }
    slotsValid_ = false;
}

void BarLayerImpl::setOverlapRatio(double overlapRatio, bool firstOnTop) {
    if (!isSet(overlapRatio)) return;
    subBarGap_ = -std::clamp(overlapRatio, -10.0, 0.99);
    firstOnTop_ = firstOnTop;
    slotsValid_ = false;
}

void BarLayerImpl::setRoundedCorners(int r1, int r2, int r3, int r4) { roundedCornerRadii(r1, r2, r3, r4, radii_); }

void BarLayerImpl::setIconSize(int height, int width) {
    iconHeight_ = height > 0 ? std::min(height, 1000) : -1;
    iconWidth_ = width > 0 ? std::min(width, 1000) : -1;
}

void BarLayerImpl::setBarShape(int shape, int dataGroup, int dataItem) {
    unsigned key = shapeKey(dataGroup, dataItem);
    int kind = shape & 0xff;
    bool cylinder = kind == Chart::CircleShape || kind == Chart::CircleShapeNoShading;
    // A square is the plain bar; codes without an outline leave the bar plain too.
    if (!cylinder && (kind == Chart::SquareShape || symbolOutline(shape, {}, 0, 0, 10, 10).empty())) {
        shapes_.erase(key);
        return;
    }
    shapes_[key] = BarShape{shape, {}};
}

void BarLayerImpl::setBarShape(IntArray polygon, int dataGroup, int dataItem) {
    unsigned key = shapeKey(dataGroup, dataItem);
    if (!polygon.data || polygon.len < 6) {
        shapes_.erase(key);
        return;
    }
    shapes_[key] = BarShape{Chart::Plotvane_CustomSymbol, std::vector<int>(polygon.data, polygon.data + polygon.len)};
}

const BarShape* BarLayerImpl::shapeFor(int group, int item) const {
    for (unsigned key : {shapeKey(group, item), shapeKey(group, -1), shapeKey(-1, item), shapeKey(-1, -1)}) {
        auto it = shapes_.find(key);
        if (it != shapes_.end()) return &it->second;
    }
    return nullptr;
}

BarLook BarLayerImpl::lookFor(int group, int item) const {
    BarLook look;
    look.effect = borderEffect();
    std::copy(radii_, radii_ + 4, look.radii);
    look.shape = shapeFor(group, item);
    return look;
}

void BarLayerImpl::setSize(int x, int y, int width, int height, bool swapXY) {
    LayerImpl::setSize(x, y, width, height, swapXY);
    slotsValid_ = false;
}

void BarLayerImpl::layoutChart() {
    LayerImpl::layoutChart();
    slotsValid_ = false;
}

bool BarLayerImpl::perDataSet() const {
    int m = combineMethod();
    bool overlap = subBarGap_ != Chart::TouchBar && isSet(subBarGap_) && subBarGap_ < 0;
    return m == Chart::Side || (overlap && (m == Chart::Overlay || m == Chart::Depth));
}

const BarLayerImpl::Slots& BarLayerImpl::slots() {
    if (slotsValid_) return slots_;
    Slots s;
    s.n = std::max(perDataSet() ? dataSetCount() : groupCount(), 1);
    s.slot = slotWidth();

    if (barGap_ == Chart::TouchBar)
        s.group = s.slot;
    else if (barGap_ != Chart::NoValue)
        s.group = std::max(std::trunc(s.slot * (1 - barGap_)), 1.0);
    else
        s.group = barWidth_;
    s.group = std::max(s.group, 1.0);

    int n = s.n;
    if (subBarGap_ == Chart::TouchBar)
        s.bar = s.group / n;
    else if (subBarGap_ != Chart::NoValue)
        s.bar = std::max(std::trunc(s.group / std::max(n + subBarGap_ * (n - 1), 1e-9)), 1.0);
    else
        s.bar = subBarWidth_;
    s.bar = std::clamp(s.bar, subBarGap_ == Chart::TouchBar ? 1e-9 : 1.0, 1e6);

    if (subBarGap_ == 0 || subBarGap_ == Chart::TouchBar || n < 2)
        s.step = s.bar;
    else
        s.step = s.bar + std::trunc((s.group - n * s.bar) / (n - 1));
    slots_ = s;
    slotsValid_ = true;
    return slots_;
}

int BarLayerImpl::slotIndex(int ds) {
    if (ds < 0 || ds >= dataSetCount()) return 0;
    return perDataSet() ? ds : dataSet(ds).group();
}

double BarLayerImpl::subOffset(int k) {
    const Slots& s = slots();
    int n = s.n;
    if (n < 2 || dataSetCount() == 0) return 0;
    if (subBarGap_ == Chart::TouchBar) return std::floor(s.group * (2 * k - n + 1) / (2.0 * n) + 0.5);
    return std::floor(s.step * (2 * k - n + 1) / 2 + 0.5);
}

double BarLayerImpl::getDataOffset(int dataSet) { return subOffset(slotIndex(dataSet)); }

// The bar's pixels along the x direction: [low, high] in screen coordinates.
void BarLayerImpl::barExtent(int ds, int i, double& low, double& high) {
    const Slots& s = slots();
    double centre = pixelX(xValue(i));
    int k = slotIndex(ds);
    double groupLow = centre - s.group / 2, groupWidth = s.group;
    if (barGap_ == Chart::TouchBar) {
        // Reach halfway to the neighbours on either side.
        double before = pixelX(xValue(i - 1)), after = pixelX(xValue(i + 1));
        double a = before == Chart::NoValue || i == 0 ? centre - (after == Chart::NoValue ? s.slot / 2 : (after - centre) / 2)
                                                      : (before + centre) / 2;
        double b = after == Chart::NoValue ? centre + (centre - a) : (after + centre) / 2;
        groupLow = std::floor(std::min(a, b) + 0.5);
        groupWidth = std::floor(std::max(a, b) + 0.5) - groupLow;
    }
    if (subBarGap_ == Chart::TouchBar || (s.n == 1 && barGap_ == Chart::TouchBar)) {
        low = std::floor(groupLow + groupWidth * k / s.n + 0.5);
        high = std::floor(groupLow + groupWidth * (k + 1) / s.n + 0.5);
        return;
    }
    double bar = s.bar;
    double offset = subOffset(k);
    if (barGap_ == Chart::TouchBar) {
        // Each touching slot has its own width: scale the bars to it.
        bar = std::max(std::trunc(s.bar * groupWidth / s.group), 1.0);
        offset = std::floor(offset * groupWidth / s.group + 0.5);
    }
    low = std::floor(groupLow + groupWidth / 2 + offset - bar / 2 + 0.5);
    high = low + bar - 1;
}

bool BarLayerImpl::barBox(int ds, int i, BarBox& box) {
    if (ds < 0 || ds >= dataSetCount()) return false;
    Span span = spanOf(ds, i);
    double centre = pixelX(xValue(i));
    if (!span.present || centre == Chart::NoValue) return false;
    DataSetImpl& set = dataSet(ds);
    double base = pixelY(span.base, set.axis()), end = pixelY(span.end, set.axis());
    if (base == Chart::NoValue || end == Chart::NoValue) return false;
    // A bar never leaves the plot area, whatever the axis makes of its ends (zero on a log axis
    // lies at minus infinity).
    double near = frameY(), far = frameY() + frameHeight();
    int b = roundPixel(std::clamp(base, near, far)), e = roundPixel(std::clamp(end, near, far));
    double low, high;
    barExtent(ds, i, low, high);
    int a0 = roundPixel(low), a1 = std::max(roundPixel(high), a0);

    box.depthX = depthX();
    box.depthY = depthY();
    if (combineMethod() == Chart::Depth && dataSetCount() > 0) {
        box.depthX /= dataSetCount();
        box.depthY /= dataSetCount();
    }
    int shiftX = 0, shiftY = 0;
    if (combineMethod() == Chart::Depth) {
        shiftX = box.depthX * ds;
        shiftY = box.depthY * ds;
    }
    bool growsUp = span.end > span.base || (span.end == span.base && span.end >= 0);
    if (!isSwapped()) {
        box.left = a0;
        box.right = a1;
        box.top = std::min(b, e);
        box.bottom = std::max(b, e);
        box.valueEnd = growsUp ? Chart::Top : Chart::Bottom;
    } else {
        box.top = a0;
        box.bottom = a1;
        box.left = std::min(b, e);
        box.right = std::max(b, e);
        box.valueEnd = growsUp ? Chart::Right : Chart::Left;
    }
    box.left += shiftX;
    box.right += shiftX;
    box.top -= shiftY;
    box.bottom -= shiftY;
    box.fillColor = set.dataColor();
    box.edgeColor = set.edgeColor();
    box.shadowColor = set.shadowColor();
    box.shadowEdgeColor = set.shadowEdgeColor();
    return true;
}

void BarLayerImpl::paint(DrawArea* d) {
    int count = dataSetCount();
    if (count == 0 || !d) return;
    bool threeD = depthX() > 0 || depthY() > 0;
    // Overlapping bars keep the order asked for; the others are painted back to front.
    bool overlapping = perDataSet() && isSet(subBarGap_) && subBarGap_ != Chart::TouchBar && subBarGap_ < 0;
    // Later data sets are painted over earlier ones unless the first is asked to be on top; in
    // depth mode the back (last) data set comes first.
    std::vector<int> order(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) order[static_cast<size_t>(k)] = k;
    if ((firstOnTop_ && perDataSet()) || combineMethod() == Chart::Depth) std::reverse(order.begin(), order.end());

    std::vector<std::pair<int, BarBox>> bars;
    for (int g = 0; g < groupCount(); ++g) {
        std::pair<int, int> range = groupRange(g);
        for (int i = 0; i < maxDataLength(); ++i) {
            bars.clear();
            for (int ds : order) {
                if (ds < range.first || ds >= range.second) continue;
                BarBox box;
                if (barBox(ds, i, box)) bars.emplace_back(ds, box);
            }
            if (threeD && !overlapping && combineMethod() != Chart::Depth) {
                // Back to front: the faces of a bar recede up and to the right, so bars further
                // left and further down come first, and each stack is painted from its bottom
                // (or left) end.
                bool swapped = isSwapped();
                std::stable_sort(bars.begin(), bars.end(), [swapped](const auto& p, const auto& q) {
                    const BarBox &a = p.second, &b = q.second;
                    if (swapped) return a.top != b.top ? a.top > b.top : a.left < b.left;
                    return a.left != b.left ? a.left < b.left : a.bottom > b.bottom;
                });
            }
            for (const auto& bar : bars) drawBar(d, bar.second, lookFor(g, i));
        }
    }
}

LabelSpot BarLayerImpl::beyondEnd(const BarBox& box) {
    int dx = box.depthX, dy = box.depthY;
    LabelSpot spot;
    switch (box.valueEnd) {
        case Chart::Top:
            spot = {(box.left + box.right + dx) / 2, box.top - dy, Chart::BottomCenter};
            break;
        case Chart::Bottom:
            spot = {(box.left + box.right) / 2, box.bottom + 1, Chart::TopCenter};
            break;
        case Chart::Right:
            spot = {box.right + dx + 1, (box.top + box.bottom - dy) / 2, Chart::Left};
            break;
        default:
            spot = {box.left - 1, (box.top + box.bottom) / 2, Chart::Right};
            break;
    }
    return spot;
}

LabelSpot BarLayerImpl::dataLabelSpot(int ds, int i, int wanted, int width, int height) {
    BarBox box;
    if (!barBox(ds, i, box)) return LayerImpl::dataLabelSpot(ds, i, wanted, width, height);
    if ((isSwapped() ? box.right - box.left : box.bottom - box.top) < minLabelSize_) return beyondEnd(box);
    if (!wanted) return {(box.left + box.right + box.depthX) / 2, (box.top + box.bottom - box.depthY) / 2, Chart::Center};
    // Inside the front face, at the edge or corner the alignment names.
    int a = facingEnd(wanted, box.valueEnd);
    int col = (a - 1) % 3, row = (a - 1) / 3;
    int x = col == 0 ? box.left : col == 2 ? box.right : (box.left + box.right) / 2;
    int y = row == 0 ? box.bottom : row == 2 ? box.top : (box.top + box.bottom) / 2;
    return {x, y, a};
}

LabelSpot BarLayerImpl::aggregateLabelSpot(int ds, int i, int wanted, int width, int height) {
    BarBox box;
    if (!barBox(ds, i, box)) return LayerImpl::dataLabelSpot(ds, i, wanted, width, height);
    LabelSpot spot = beyondEnd(box);
    if (wanted) spot.alignment = facingEnd(wanted, box.valueEnd);
    return spot;
}

DrawArea* BarLayerImpl::legendIcon(int ds) {
    DataSetImpl& set = dataSet(ds);
    const BarShape* shape = shapeFor(set.group(), -1);
    bool plain = iconHeight_ < 0 && iconWidth_ < 0 && !shape && borderEffect() == 0 &&
                 radii_[0] + radii_[1] + radii_[2] + radii_[3] == 0;
    if (plain) return LayerImpl::legendIcon(ds);
    // Unset sides take the legend's own key size.
    LegendBoxImpl* legend = chart()->legend();
    int keyWidth = legend ? legend->getPreferredKeyWidth() : kDefaultIconSize;
    int keyHeight = legend ? legend->getPreferredKeyHeight() : kDefaultIconSize;
    int h = std::clamp(iconHeight_ > 0 ? iconHeight_ : keyHeight, 1, 1000);
    int w = std::clamp(iconWidth_ > 0 ? iconWidth_ : keyWidth, 1, 1000);
    DrawArea* icon = chart()->getRawDrawArea()->subDrawArea(w, h);
    if (!icon) return nullptr;
    icons_.emplace_back(icon);
    BarBox box;
    box.right = w - 1;
    box.bottom = h - 1;
    box.valueEnd = isSwapped() ? Chart::Right : Chart::Top;
    box.fillColor = set.dataColor();
    box.edgeColor = set.edgeColor();
    box.shadowColor = set.shadowColor();
    box.shadowEdgeColor = set.shadowEdgeColor();
    BarLook look = lookFor(set.group(), -1);
    look.shape = shape;
    drawBar(icon, box, look);
    return icon;
}

void BarLayerImpl::hotSpot(int ds, int item, std::vector<int>& xy) {
    xy.clear();
    BarBox box;
    if (item == Chart::NoIntValue || !barBox(ds, item, box)) return;
    int left = box.left, right = box.right + box.depthX, top = box.top - box.depthY, bottom = box.bottom;
    // Small bars still get a hot spot a pointer can find.
    auto widen = [this](int& lo, int& hi) {
        int missing = minImageMapSize_ - (hi - lo);
        if (missing <= 0) return;
        lo -= missing / 2;
        hi += missing - missing / 2;
    };
    widen(left, right);
    widen(top, bottom);
    xy.assign({left, top, right, bottom});
}

// The factories of XYChart.

BarLayer* XYChartImpl::addBarLayer(int dataCombineMethod, int depth) {
    auto* layer = new BarLayerImpl();
    addLayer(layer);
    layer->setDataCombineMethod(dataCombineMethod);
    layer->set3D(depth, 0);
    AxisImpl* x = axisImpl(0);
    if (x->scale().getIndent() == -1) x->setIndent(true);
    return layer;
}

BarLayer* XYChartImpl::addBarLayer(DoubleArray data, int color, const char* name, int depth) {
    if (data.data && data.len > LayerImpl::kMaxBars) return nullptr;
    BarLayer* layer = addBarLayer(Chart::Overlay, depth);
    layer->addDataSet(data, color, name);
    return layer;
}

BarLayer* XYChartImpl::addBarLayer(DoubleArray data, IntArray colors, StringArray names, int depth) {
    // One data set per bar, each as long as the data.
    if (data.data && static_cast<long long>(data.len) * data.len > LayerImpl::kMaxBars) return nullptr;
    BarLayer* layer = addBarLayer(Chart::Overlay, depth);
    if (!data.data || data.len < 1) return layer;
    // One data set per value, holding that value alone, so each bar has its own colour and name.
    std::vector<double> values(static_cast<size_t>(data.len), Chart::NoValue);
    DoubleArray kept = filterData(data);
    int start = kept.data ? static_cast<int>(kept.data - data.data) : data.len;
    for (int k = start; k < start + kept.len; ++k) {
        values[static_cast<size_t>(k)] = data[k];
        int color = colors.data && k < colors.len ? colors[k] : -1;
        const char* name = names.data && k < names.len && names[k] ? names[k] : "";
        layer->addDataSet(DoubleArray(values.data(), data.len), color, name);
        values[static_cast<size_t>(k)] = Chart::NoValue;
    }
    return layer;
}

BarLayer* XYChartImpl::addBarLayer(DoubleArray data, IntArray colors, int depth) {
    return addBarLayer(data, colors, StringArray(), depth);
}

}  // namespace plotvane

// The colour axis. Its ticks come from the levels value: the tick spacing is the bar's length
// divided by the levels, so the scale gets at most about that many intervals, and the labels then
// skip ticks until they no longer crowd each other. The colours are rebuilt from the ticks at each
// layout unless explicit stops were given.
//
// The box holds the bar and, on the side the orientation names, the ticks, labels and title; the
// bar's ends are set in from the box by the room the end labels need. The bar is painted in runs of
// equal colour along it, so a banded scale gives one rectangle per band in vector output.
#include "chart/xy/coloraxis_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace plotvane {

namespace {

constexpr int kBarWidth = 20;
constexpr int kCompactBarWidth = 10;

// 0xffff8000 to 0xfffffffe stand for the opaque colours of their low 16 bits.
int opaqueColor(long long c) {
    int v = static_cast<int>(static_cast<uint32_t>(c));
    return v >= static_cast<int>(0xffff8000u) && v <= static_cast<int>(0xfffffffeu) ? (v & 0xffff) : v;
}

}  // namespace

ColorAxis::~ColorAxis() = default;

ColorAxisImpl::ColorAxisImpl(BaseChartImpl* chart) : AxisImpl(chart, Chart::Right) {
    // The scale spans the values, rounded to ticks, with no room added.
    scale().setDefaultAutoScale(0, 0, 0);
}

void ColorAxisImpl::setColorGradient(bool isContinuous, IntArray colors, int underflowColor, int overflowColor) {
    continuous_ = isContinuous;
    gradient_.clear();
    if (colors.data)
        for (int i = 0; i < colors.len; ++i) gradient_.push_back(opaqueColor(colors.data[i]));
    underflowColor_ = underflowColor;
    overflowColor_ = overflowColor;
    if (!stopValues_.empty()) buildMapper();
}

void ColorAxisImpl::setColorScale(DoubleArray colorStops, int underflowColor, int overflowColor) {
    stopValues_.clear();
    stopColors_.clear();
    underflowColor_ = underflowColor;
    overflowColor_ = overflowColor;
    std::vector<std::pair<double, int>> stops;
    for (int i = 0; colorStops.data && i + 1 < colorStops.len; i += 2) {
        double v = colorStops.data[i];
        double c = colorStops.data[i + 1];
        if (v == Chart::NoValue || !std::isfinite(v) || !std::isfinite(c) || std::fabs(c) > 4294967295.0) continue;
        stops.push_back({v, opaqueColor(std::llround(c))});
    }
    // A last value without a colour still ends the scale.
    if (colorStops.data && colorStops.len % 2 == 1 && !stops.empty()) {
        double v = colorStops.data[colorStops.len - 1];
        if (v != Chart::NoValue && std::isfinite(v)) stops.push_back({v, stops.back().second});
    }
    std::stable_sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<double> values;
    std::vector<int> colors;
    for (const auto& s : stops) {
        values.push_back(s.first);
        colors.push_back(s.second);
    }
    if (colorStops.len < 3 || values.size() < 2 || values.front() == values.back()) {
        mapper_.reset();
        smooth_ = false;
        removed_ = true;
        return;
    }
    removed_ = false;
    stopValues_ = values;
    stopColors_ = colors;
    // Ticks on the stops when they are evenly spaced.
    double step = (values.back() - values.front()) / static_cast<double>(values.size() - 1);
    bool even = true;
    for (size_t i = 1; i < values.size(); ++i)
        even = even && std::fabs(values[i] - values[i - 1] - step) <= std::fabs(step) * 1e-9;
    AxisImpl::setLinearScale(values.front(), values.back(), even ? step : 0, 0);
    buildMapper();
}

void ColorAxisImpl::setCompactAxis(bool b) {
    compact_ = b;
    // Ticks cross the thin bar instead of standing beside it.
    if (b)
        AxisImpl::setTickLength(-barWidth(), -barWidth() / 2);
    else
        AxisImpl::setTickLength(3, 2);
    boxValid_ = false;
}

void ColorAxisImpl::setAxisPos(int x, int y, int alignment) {
    userPos_ = true;
    posX_ = std::clamp(x, -1000000, 1000000);
    posY_ = std::clamp(y, -1000000, 1000000);
    posAlignment_ = alignment >= 1 && alignment <= 9 ? alignment : Chart::TopLeft;
    boxValid_ = false;
}

void ColorAxisImpl::setAxisBorder(int edgeColor, int raisedEffect) {
    borderColor_ = edgeColor;
    borderEffect_ = raisedEffect;
}

void ColorAxisImpl::setBoundingBox(int fillColor, int edgeColor, int raisedEffect) {
    boxOn_ = true;
    boxFill_ = fillColor;
    boxEdge_ = edgeColor;
    boxEffect_ = raisedEffect;
}

void ColorAxisImpl::setBoxMargin(int leftMargin, int rightMargin, int topMargin, int bottomMargin) {
    boxOn_ = true;
    int m[4] = {leftMargin, rightMargin, topMargin, bottomMargin};
    for (int i = 0; i < 4; ++i) margins_[i] = std::clamp(m[i], 0, 10000);
    boxValid_ = false;
}

void ColorAxisImpl::setRoundedCorners(int r1, int r2, int r3, int r4) {
    boxOn_ = true;
    int r[4] = {r1, r2 == -1 ? r1 : r2, r3 == -1 ? r1 : r3, r4 == -1 ? r1 : r4};
    for (int i = 0; i < 4; ++i) radii_[i] = std::clamp(r[i], 0, 10000);
}

void ColorAxisImpl::setWidth(int width) {
    barWidth_ = std::clamp(width, 0, 10000);
    boxValid_ = false;
}

void ColorAxisImpl::setTickDensity(int majorTickSpacing, int minorTickSpacing) {
    userTickDensity_ = true;
    AxisImpl::setTickDensity(majorTickSpacing, minorTickSpacing);
}

void ColorAxisImpl::setLabelStep(int majorTickStep, int minorTickStep, int majorTickOffset, int minorTickOffset) {
    userLabelStep_ = true;
    AxisImpl::setLabelStep(majorTickStep, minorTickStep, majorTickOffset, minorTickOffset);
}

int ColorAxisImpl::barWidth() const {
    if (barWidth_ >= 0) return barWidth_;
    return compact_ ? kCompactBarWidth : kBarWidth;
}

void ColorAxisImpl::setDefaultPlace(int x, int y, int alignment, int length) {
    if (!userPos_) {
        posX_ = x;
        posY_ = y;
        posAlignment_ = alignment;
    }
    defaultLength_ = std::max(length, 0);
    boxValid_ = false;
}

void ColorAxisImpl::layoutScale(double zMin, double zMax) {
    place(0, 0, defaultLength_);
    AxisScale& s = scale();
    if (!userTickDensity_) s.setTickDensity(std::max(length() / levels_, 1), 0);
    if (!userLabelStep_) s.setLabelStep(1);
    layout(zMin, zMax);
    if (!userLabelStep_) {
        int intervals = 0;
        for (const AxisTick& t : s.getTicks()) intervals += t.kind == TickKind::Major;
        intervals = std::max(intervals - 1, 1);
        int room = isVertical() ? 2 * labelOverhang() + 2 : 2 * labelOverhang() + 8;
        int spacing = std::max(length() / intervals, 1);
        int step = (room + spacing - 1) / spacing;
        if (step > 1) {
            s.setLabelStep(step);
            layout(zMin, zMax);
        }
    }
    buildMapper();
    boxValid_ = false;
    computeBox();
}

void ColorAxisImpl::buildMapper() {
    mapper_.reset();
    smooth_ = false;
    if (removed_) return;
    if (!stopValues_.empty()) {
        mapper_ = std::make_unique<ColorMapper>(
            ColorMapper::fromStops(stopValues_, stopColors_, continuous_, underflowColor_, overflowColor_));
        smooth_ = mapper_->thresholds().size() > stopValues_.size();
        return;
    }
    std::vector<double> values;
    for (const AxisTick& t : scale().getTicks())
        if (t.kind == TickKind::Major) values.push_back(t.value);
    // A bar too short for a second major tick still runs through the colours, end to end.
    double lo = std::min(getMinValue(), getMaxValue()), hi = std::max(getMinValue(), getMaxValue());
    if (values.size() < 2 && lo < hi) values = {lo, hi};
    if (values.empty()) return;
    mapper_ = std::make_unique<ColorMapper>(
        ColorMapper::fromGradient(values, gradient_, continuous_, underflowColor_, overflowColor_));
    smooth_ = mapper_->thresholds().size() > values.size();
}

void ColorAxisImpl::computeBox() {
    if (boxValid_) return;
    boxValid_ = true;
    int bw = barWidth();
    int len = length();
    int thick = getThickness();
    int over = labelOverhang();
    bool vertical = isVertical();
    Box b;
    int innerW = vertical ? bw + thick : len + 2 * over;
    int innerH = vertical ? len + 2 * over : bw + thick;
    b.width = innerW + margins_[0] + margins_[1];
    b.height = innerH + margins_[2] + margins_[3];
    b.left = posX_ - DrawArea::alignX(b.width, posAlignment_);
    b.top = posY_ - DrawArea::alignY(b.height, posAlignment_);
    int innerLeft = b.left + margins_[0];
    int innerTop = b.top + margins_[2];
    if (vertical) {
        b.barLeft = side() == Chart::Left ? innerLeft + thick : innerLeft;
        b.barRight = b.barLeft + bw;
        b.barTop = innerTop + over;
        b.barBottom = b.barTop + len;
        place(side() == Chart::Left ? b.barLeft : b.barRight, b.barBottom, len);
    } else {
        b.barLeft = innerLeft + over;
        b.barRight = b.barLeft + len;
        b.barTop = side() == Chart::Top ? innerTop + thick : innerTop;
        b.barBottom = b.barTop + bw;
        place(b.barLeft, side() == Chart::Top ? b.barTop : b.barBottom, len);
    }
    box_ = b;
}

int ColorAxisImpl::getBoxWidth() {
    computeBox();
    return box_.width;
}

int ColorAxisImpl::getBoxHeight() {
    computeBox();
    return box_.height;
}

void ColorAxisImpl::paintBar(DrawArea* d) {
    const Box& b = box_;
    bool vertical = isVertical();
    int from = vertical ? b.barTop : b.barLeft;
    int to = vertical ? b.barBottom : b.barRight;
    double lo = std::min(getMinValue(), getMaxValue());
    double hi = std::max(getMinValue(), getMaxValue());
    int runStart = from;
    int runColor = 0;
    auto flush = [&](int end) {
        if (end <= runStart || runColor == Chart::Transparent) return;
        if (vertical)
            d->rect(b.barLeft, runStart, b.barRight, end, Chart::Transparent, runColor);
        else
            d->rect(runStart, b.barTop, end, b.barBottom, Chart::Transparent, runColor);
    };
    for (int p = from; p < to; ++p) {
        double v = std::clamp(valueAt(p + 0.5), lo, hi);
        int c = getColor(v);
        if (p == from) {
            runColor = c;
        } else if (c != runColor) {
            flush(p);
            runStart = p;
            runColor = c;
        }
    }
    flush(to);
}

void ColorAxisImpl::paintAxis(DrawArea* d) {
    if (scale().isEmpty()) return;
    computeBox();
    const Box& b = box_;
    if (boxOn_) {
        int x2 = b.left + b.width - 1, y2 = b.top + b.height - 1;
        if (radii_[0] || radii_[1] || radii_[2] || radii_[3])
            d->roundedRect(b.left, b.top, x2, y2, radii_[0], radii_[1], radii_[2], radii_[3], boxEdge_, boxFill_,
                           boxEffect_);
        else
            d->rect(b.left, b.top, x2, y2, boxEdge_, boxFill_, boxEffect_);
    }
    if (mapper_) paintBar(d);
    if (borderColor_ != Chart::Transparent || borderEffect_)
        d->rect(b.barLeft, b.barTop, b.barRight, b.barBottom, borderColor_, Chart::Transparent, borderEffect_);
    paint(d);
}

}  // namespace plotvane

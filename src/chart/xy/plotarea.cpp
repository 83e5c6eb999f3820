// The plot area: where the axes go, how they are scaled from the layers, and the painting order.
//
// Layout. Layers with a 3D depth stand one behind the other, so each layer is told the plot
// rectangle shifted by the depth of the layers in front of it, and the right and top axes move
// back by the total depth. Every axis then gets the auto-scale preset that suits the layers on
// it (bars want zero in view, scatter points a little room on both sides, prices none), the data
// ranges are collected per axis, made symmetric on request, made positive for logarithmic axes,
// and handed to the scale engine. A y axis that received no data is hidden, which is what keeps
// an unused secondary axis off the chart.
//
// Painting, back to front: background (bands, image, axis zones), free objects of the plot-area
// z, the layers kept under the grid, the grid, marks behind the data, free objects of the grid z,
// the layers (clipped when asked), their labels, the border, the axes and the marks in front.
#include "chart/xy/plotarea_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/layer_p.h"
#include "chart/xy/xychart_p.h"
#include "draw/canvaslimits_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

constexpr double kNoMin = 1.69e308;
constexpr double kNoMax = -1.69e308;
constexpr int kNoClipping = 0x3ffffffe;

struct Range {
    double lo = kNoMin;
    double hi = kNoMax;
    bool percentage = false;
    bool empty() const { return hi < lo; }
    void add(double a, double b) {
        if (percentage) return;
        if (a != Chart::NoValue && a < kNoMin) lo = std::min(lo, a);
        if (b != Chart::NoValue && b > kNoMax) hi = std::max(hi, b);
    }
    void makeSymmetric(double m) {
        if (!empty()) {
            lo = -m;
            hi = m;
        }
    }
    bool crossesZero() const { return !empty() && lo * hi < 0; }
};

}  // namespace

PlotAreaImpl::PlotAreaImpl(XYChartImpl* chart) : chart_(chart) {
    static const int kSides[4] = {Chart::Bottom, Chart::Top, Chart::Left, Chart::Right};
    for (int side : kSides) axes_.push_back(std::make_unique<AxisImpl>(chart, side));
}

PlotAreaImpl::~PlotAreaImpl() {
    // Layers refer to the axes.
    layers_.clear();
    layersByCreation_.clear();
}

void PlotAreaImpl::setRect(int x, int y, int width, int height) {
    x_ = std::clamp(x, -1000000, 1000000);
    y_ = std::clamp(y, -1000000, 1000000);
    width_ = std::clamp(width, 0, 1000000);
    height_ = std::clamp(height, 0, 1000000);
}

void PlotAreaImpl::setBackground(int color, int altBgColor, int edgeColor) {
    setAltBgColor(true, color, altBgColor, edgeColor);
}

void PlotAreaImpl::setAltBgColor(bool horizontal, int color1, int color2, int edgeColor) {
    bgColor_ = color1;
    altBgColor_ = color2;
    altVertical_ = !horizontal;
    edgeColor_ = edgeColor;
}

void PlotAreaImpl::setBackground(const char* img, int align) {
    bgImagePath_ = img ? img : "";
    bgImageAlign_ = align;
}

void PlotAreaImpl::set4QBgColor(int q1Color, int q2Color, int q3Color, int q4Color, int edgeColor) {
    int left = chart_->yZoneColor(0, q3Color, q2Color, nullptr);
    int right = chart_->yZoneColor(0, q4Color, q1Color, nullptr);
    setAltBgColor(true, chart_->xZoneColor(0, left, right), -1, edgeColor);
}

void PlotAreaImpl::setGridColor(int hGridColor, int vGridColor, int minorHGridColor, int minorVGridColor) {
    hGridColor_ = hGridColor;
    vGridColor_ = vGridColor;
    minorHGridColor_ = minorHGridColor;
    minorVGridColor_ = minorVGridColor;
}

void PlotAreaImpl::setGridWidth(int hGridWidth, int vGridWidth, int minorHGridWidth, int minorVGridWidth) {
    auto clampWidth = [](int w) { return std::clamp(w, -1, 1000); };
    hGridWidth_ = clampWidth(hGridWidth);
    vGridWidth_ = clampWidth(vGridWidth);
    minorHGridWidth_ = clampWidth(minorHGridWidth);
    minorVGridWidth_ = clampWidth(minorVGridWidth);
}

void PlotAreaImpl::setGridAxis(const Axis* xGridAxis, const Axis* yGridAxis) {
    if (AxisImpl* a = findAxis(xGridAxis)) xGridAxis_ = a;
    if (AxisImpl* a = findAxis(yGridAxis)) yGridAxis_ = a;
}

AxisImpl* PlotAreaImpl::findAxis(const Axis* a) const {
    for (const auto& axis : axes_)
        if (static_cast<const Axis*>(axis.get()) == a) return axis.get();
    return nullptr;
}

AxisImpl* PlotAreaImpl::addAxis(int align, int offset) {
    if (align != Chart::Left && align != Chart::Right && align != Chart::Top && align != Chart::Bottom) return nullptr;
    auto axis = std::make_unique<AxisImpl>(chart_, align);
    // Any farther and the axis is off every picture; the clamp also makes the offset negatable.
    offset = std::clamp(offset, -kMaxCanvasSide, kMaxCanvasSide);
    switch (align) {
        case Chart::Left: axis->setOffset(-offset, 0); break;
        case Chart::Right: axis->setOffset(offset, 0); break;
        case Chart::Top: axis->setOffset(0, -offset); break;
        default: axis->setOffset(0, offset); break;
    }
    axes_.push_back(std::move(axis));
    return axes_.back().get();
}

void PlotAreaImpl::assignSides() {
    AxisImpl* x = axes_[0].get();
    AxisImpl* x2 = axes_[1].get();
    AxisImpl* y = axes_[2].get();
    AxisImpl* y2 = axes_[3].get();
    AxisImpl* xFirst = xAxisOnTop_ ? x2 : x;
    AxisImpl* xOther = xAxisOnTop_ ? x : x2;
    AxisImpl* yFirst = yAxisOnRight_ ? y2 : y;
    AxisImpl* yOther = yAxisOnRight_ ? y : y2;
    if (swapXY_) {
        xFirst->setSide(Chart::Left);
        xOther->setSide(Chart::Right);
        yFirst->setSide(Chart::Bottom);
        yOther->setSide(Chart::Top);
    } else {
        yFirst->setSide(Chart::Left);
        yOther->setSide(Chart::Right);
        xFirst->setSide(Chart::Bottom);
        xOther->setSide(Chart::Top);
    }
}

void PlotAreaImpl::setSwapXY(bool b) {
    swapXY_ = b;
    assignSides();
}

void PlotAreaImpl::setXAxisOnTop(bool b) {
    xAxisOnTop_ = b;
    assignSides();
}

void PlotAreaImpl::setYAxisOnRight(bool b) {
    yAxisOnRight_ = b;
    assignSides();
}

void PlotAreaImpl::setAxisAtOrigin(int originMode, int symmetryMode) {
    axisAtOrigin_ = originMode;
    symmetryMode_ = symmetryMode;
}

AxisImpl* PlotAreaImpl::sideAxis(int side) const {
    for (size_t i = 0; i < 4; ++i)
        if (axes_[i]->getAlignment() == side) return axes_[i].get();
    return nullptr;
}

void PlotAreaImpl::addLayer(LayerImpl* layer) {
    size_t at = layers_.size() - std::min<size_t>(static_cast<size_t>(gridLayerCount_), layers_.size());
    layersByCreation_.emplace_back(layer);
    layers_.insert(layers_.begin() + static_cast<std::ptrdiff_t>(at), layer);
    layer->init(static_cast<int>(layersByCreation_.size()) - 1, chart_);
}

LayerImpl* PlotAreaImpl::getLayer(int i) const {
    return i >= 0 && i < static_cast<int>(layersByCreation_.size()) ? layersByCreation_[static_cast<size_t>(i)].get()
                                                                      : nullptr;
}

LayerImpl* PlotAreaImpl::getLayerByZ(int i) const {
    int n = static_cast<int>(layers_.size());
    return i >= 0 && i < n ? layers_[static_cast<size_t>(n - 1 - i)] : nullptr;
}

void PlotAreaImpl::moveFront(LayerImpl* layer, LayerImpl* other) {
    auto it = std::find(layers_.begin(), layers_.end(), layer);
    if (it == layers_.end() || layer == other) return;
    layers_.erase(it);
    auto target = std::find(layers_.begin(), layers_.end(), other);
    layers_.insert(other && target != layers_.end() ? target : layers_.begin(), layer);
}

void PlotAreaImpl::moveBack(LayerImpl* layer, LayerImpl* other) {
    auto it = std::find(layers_.begin(), layers_.end(), layer);
    if (it == layers_.end() || layer == other) return;
    layers_.erase(it);
    auto target = std::find(layers_.begin(), layers_.end(), other);
    layers_.insert(other && target != layers_.end() ? target + 1 : layers_.end(), layer);
}

void PlotAreaImpl::moveGridBefore(Layer* layer) {
    auto it = std::find_if(layers_.begin(), layers_.end(),
                           [layer](LayerImpl* l) { return layer && static_cast<Layer*>(l) == layer; });
    gridLayerCount_ = it == layers_.end() ? 0 : static_cast<int>(layers_.end() - it);
}

void PlotAreaImpl::placeAxes() {
    for (auto& axis : axes_) {
        switch (axis->getAlignment()) {
            case Chart::Right:
                axis->place(x_ + width_ + depthX_, y_ + height_ - depthY_, height_);
                break;
            case Chart::Top:
                axis->place(x_ + depthX_, y_ - depthY_, width_);
                break;
            case Chart::Left:
                axis->place(x_, y_ + height_, height_);
                break;
            default:
                axis->place(x_, y_ + height_, width_);
                break;
        }
    }
}

void PlotAreaImpl::applyDefaultAutoScale(AxisImpl* axis) {
    int m = scaleMode_;
    int yMode = m == kPriceMode ? 3 : m == kContourMode ? 4 : (axisAtOrigin_ & Chart::XAxisAtOrigin) ? 2
                                                          : m == kScatterMode ? 0 : m;
    int xMode = m == kContourMode ? 4 : (axisAtOrigin_ & Chart::YAxisAtOrigin) ? 2 : m == kPriceMode ? 0 : m;
    bool xDirection = axis->isVertical() == swapXY_;
    int mode = xDirection ? xMode : yMode;
    AxisScale& s = axis->scale();
    switch (mode) {
        case 3: s.setDefaultAutoScale(0.1, 0.1, 0); break;
        case 1:
        case 2: s.setDefaultAutoScale(0.05, 0.05, 0.25); break;
        case 4: s.setDefaultAutoScale(0, 0, 0); break;
        default:
            if (xDirection)
                s.setDefaultAutoScale(0, 0, 0);
            else
                s.setDefaultAutoScale(0.1, 0.1, 0.8);
            break;
    }
}

void PlotAreaImpl::scaleYAxis(AxisImpl* axis, double lo, double hi, bool percentage) {
    AxisScale& s = axis->scale();
    if (percentage) {
        if (s.scaleType() == AxisScale::Undecided) s.setAutoScale(0, 0, 0);
        if (!axis->hasUserFormat()) s.setLabelFormat("{value}%");
    }
    bool hasData = hi >= lo;
    if (s.scaleType() == AxisScale::Log && hasData) {
        if (lo < 0 && hi > 0) {
            if (std::fabs(hi) >= std::fabs(lo))
                lo = 0;
            else
                hi = 0;
        }
        if (lo == 0) {
            lo = hi / 10000;
            for (LayerImpl* layer : layers_) {
                double p = layer->getPosMinY(axis);
                if (p != Chart::NoValue && p > 0) lo = std::min(lo, p);
            }
        }
        if (hi == 0) {
            hi = lo / 10000;
            for (LayerImpl* layer : layers_) {
                double n = layer->getNegMaxY(axis);
                if (n != Chart::NoValue && n < 0) hi = std::max(hi, n);
            }
        }
    }
    axis->layout(hasData ? lo : Chart::NoValue, hasData ? hi : Chart::NoValue);
}

void PlotAreaImpl::scaleAxes() {
    Range x;
    Range y[2];
    for (LayerImpl* layer : layers_) {
        x.add(layer->getMinX(), layer->getMaxX());
        for (int k = 0; k < 2; ++k) {
            AxisImpl* axis = axes_[static_cast<size_t>(2 + k)].get();
            if (y[k].percentage) continue;
            if (layer->yIsPercentage(axis)) {
                y[k] = Range();
                y[k].add(layer->getMinY(axis), layer->getMaxY(axis));
                y[k].percentage = true;
                continue;
            }
            y[k].add(layer->getMinY(axis), layer->getMaxY(axis));
        }
    }

    if (symmetryMode_ & (Chart::XYAxisSymmetric | Chart::XYAxisSymmetricIfNeeded)) {
        double m = std::max(std::fabs(std::max(x.hi, y[0].hi)), std::fabs(std::min(x.lo, y[0].lo)));
        bool always = symmetryMode_ & Chart::XYAxisSymmetric;
        if (always || x.crossesZero()) x.makeSymmetric(m);
        if (always || y[0].crossesZero()) y[0].makeSymmetric(m);
    }
    if ((symmetryMode_ & Chart::XAxisSymmetric) || ((symmetryMode_ & Chart::XAxisSymmetricIfNeeded) && x.crossesZero()))
        x.makeSymmetric(std::max(std::fabs(x.lo), std::fabs(x.hi)));
    if ((symmetryMode_ & Chart::YAxisSymmetric) ||
        ((symmetryMode_ & Chart::YAxisSymmetricIfNeeded) && y[0].crossesZero()))
        y[0].makeSymmetric(std::max(std::fabs(y[0].lo), std::fabs(y[0].hi)));

    for (int k = 0; k < 2; ++k) {
        AxisImpl* axis = axes_[static_cast<size_t>(k)].get();
        axis->layout(x.empty() ? Chart::NoValue : x.lo, x.empty() ? Chart::NoValue : x.hi);
        if (k == 1) axis->setVisible(axis->isTouched());
    }
    for (int k = 0; k < 2; ++k) {
        AxisImpl* axis = axes_[static_cast<size_t>(2 + k)].get();
        scaleYAxis(axis, y[k].lo, y[k].hi, y[k].percentage);
        axis->setVisible(!y[k].empty() || axis->isTouched());
    }
    for (size_t i = 4; i < axes_.size(); ++i) {
        AxisImpl* axis = axes_[i].get();
        bool xDirection = axis->isVertical() == swapXY_;
        if (xDirection) {
            axis->layout(x.empty() ? Chart::NoValue : x.lo, x.empty() ? Chart::NoValue : x.hi);
            continue;
        }
        Range r;
        for (LayerImpl* layer : layers_) r.add(layer->getMinY(axis), layer->getMaxY(axis));
        scaleYAxis(axis, r.lo, r.hi, false);
    }
}

void PlotAreaImpl::placeAtOrigin() {
    AxisImpl* x = axes_[0].get();
    AxisImpl* y = axes_[2].get();
    auto moveTo = [](AxisImpl* axis, const AxisImpl* across, int lowEnd, int highEnd) {
        double p = across->pixelOf(0);
        if (p == Chart::NoValue) return;
        axis->moveLine(std::clamp(roundPixel(p), lowEnd, highEnd));
    };
    // The x axis crosses the y axis at y = 0, and the other way round.
    if (axisAtOrigin_ & Chart::XAxisAtOrigin) {
        if (x->isVertical())
            moveTo(x, y, x_, x_ + width_);
        else
            moveTo(x, y, y_, y_ + height_);
    }
    if (axisAtOrigin_ & Chart::YAxisAtOrigin) {
        if (y->isVertical())
            moveTo(y, x, x_, x_ + width_);
        else
            moveTo(y, x, y_, y_ + height_);
    }
}

void PlotAreaImpl::layoutAxes() {
    depthX_ = depthY_ = 0;
    for (LayerImpl* layer : layers_) {
        layer->setSize(x_ + depthX_, y_ - depthY_, width_, height_, swapXY_);
        depthX_ += layer->getDepthX();
        depthY_ += layer->getDepthY();
    }
    placeAxes();
    if (!laidOut_)
        for (auto& axis : axes_) applyDefaultAutoScale(axis.get());
    scaleAxes();
    placeAtOrigin();
    laidOut_ = true;
}

void PlotAreaImpl::pack(int leftX, int topY, int rightX, int bottomY, int minWidth, int minHeight) {
    auto fit = [](int& low, int& high, int nearThickness, int farThickness, int depth, int minSize, int& pos,
                  int& size) {
        int d = std::abs(depth);
        int m = std::max(minSize, 1);
        int left = (high - low) - d - nearThickness - farThickness;
        if (left < m) {
            int shortage = m - left;
            int total = nearThickness + farThickness;
            int moveLow = total > 0 ? static_cast<int>(static_cast<long long>(shortage) * nearThickness / total)
                                    : shortage / 2;
            low -= moveLow;
            high += shortage - moveLow;
        }
        pos = low + nearThickness + std::max(-depth, 0);
        size = std::max(high - farThickness - std::max(depth, 0) - pos, 1);
    };
    auto thickness = [this](int side) {
        int t = 0;
        for (auto& axis : axes_)
            if (axis->getAlignment() == side && axis->isVisible()) t = std::max(t, axis->getThickness());
        return t;
    };
    if (leftX < rightX)
        fit(leftX, rightX, thickness(Chart::Left), thickness(Chart::Right), depthX_, minWidth, x_, width_);
    if (topY < bottomY) {
        // Vertically the near side is the top, and depth grows upwards.
        fit(topY, bottomY, thickness(Chart::Top), thickness(Chart::Bottom), -depthY_, minHeight, y_, height_);
    }
    layoutAxes();
}

PixelRect PlotAreaImpl::extentWithAxes() {
    PixelRect r{x_, y_ - std::max(depthY_, 0), x_ + width_ + std::max(depthX_, 0), y_ + height_};
    for (auto& axis : axes_) axis->addTextExtent(r);
    return r;
}

AxisImpl* PlotAreaImpl::gridAxis(bool vertical) const {
    // The axis whose ticks place the lines across the plot: a vertical one for horizontal lines.
    bool xDirection = vertical == swapXY_;
    AxisImpl* chosen = xDirection ? xGridAxis_ : yGridAxis_;
    if (chosen) return chosen;
    AxisImpl* main = axes_[xDirection ? 0 : 2].get();
    AxisImpl* second = axes_[xDirection ? 1 : 3].get();
    return main->hasTicks() ? main : second;
}

PixelRect PlotAreaImpl::rect() const {
    return {x_ + depthX_, y_ - depthY_, x_ + width_ + depthX_, y_ + height_ - depthY_};
}

void PlotAreaImpl::paintBands(DrawArea* d) {
    AxisImpl* axis = gridAxis(swapXY_ == altVertical_);
    if (!axis || !axis->hasTicks()) {
        if (bgColor_ != Chart::Transparent) {
            PixelRect r = rect();
            d->rect(r.left, r.top, r.right, r.bottom, Chart::Transparent, bgColor_);
        }
        return;
    }
    PixelRect r = rect();
    bool vertical = axis->isVertical();
    int lowEnd = vertical ? r.bottom : r.left;
    int highEnd = vertical ? r.top : r.right;
    // Boundaries from the start of the axis to its end, in pixels.
    std::vector<int> bounds{lowEnd};
    for (const AxisTick& t : axis->scale().getTicks()) {
        if (t.kind != TickKind::Major) continue;
        double p = axis->pixelOf(t.value);
        if (p == Chart::NoValue) continue;
        int at = roundPixel(p) + wallShift(axis);
        bool inside = vertical ? at < lowEnd && at > highEnd : at > lowEnd && at < highEnd;
        if (inside) bounds.push_back(at);
    }
    bounds.push_back(highEnd);
    if (vertical) {
        std::sort(bounds.begin(), bounds.end(), std::greater<int>());
    } else {
        std::sort(bounds.begin(), bounds.end());
    }
    for (size_t k = 0; k + 1 < bounds.size(); ++k) {
        int color = k % 2 ? altBgColor_ : bgColor_;
        if (color == Chart::Transparent || bounds[k] == bounds[k + 1]) continue;
        if (vertical)
            d->rect(r.left, bounds[k + 1], r.right, bounds[k], Chart::Transparent, color);
        else
            d->rect(bounds[k], r.top, bounds[k + 1], r.bottom, Chart::Transparent, color);
        if (depthX_ || depthY_) {
            if (vertical)
                d->surface(x_, bounds[k] + depthY_, x_, bounds[k + 1] + depthY_, depthX_, -depthY_,
                           Chart::Transparent, color);
            else
                d->surface(bounds[k] - depthX_, y_ + height_, bounds[k + 1] - depthX_, y_ + height_, depthX_,
                           -depthY_, Chart::Transparent, color);
        }
    }
}

void PlotAreaImpl::paintBackground(DrawArea* d) {
    bool bands = altBgColor_ != -1 && altBgColor_ != bgColor_ &&
                 !(altBgColor_ == Chart::Transparent && bgColor_ == Chart::Transparent);
    if (bands) {
        paintBands(d);
    } else if (bgColor_ != Chart::Transparent) {
        PixelRect r = rect();
        d->rect(r.left, r.top, r.right, r.bottom, Chart::Transparent, bgColor_);
        if (depthX_ || depthY_) {
            d->surface(x_, y_, x_, y_ + height_, depthX_, -depthY_, Chart::Transparent, bgColor_);
            d->surface(x_, y_ + height_, x_ + width_, y_ + height_, depthX_, -depthY_, Chart::Transparent,
                       bgColor_);
        }
    }
    if (!bgImagePath_.empty()) {
        DrawArea* image = DrawArea::create();
        image->setSearchPath(d->getSearchPath());
        if (image->load(bgImagePath_.c_str()) && image->getWidth() > 0 && image->getHeight() > 0) {
            PixelRect r = rect();
            if (bgImageAlign_ >= 1 && bgImageAlign_ <= 9) {
                int w = r.right - r.left, h = r.bottom - r.top;
                int ax = r.left + DrawArea::alignX(w, bgImageAlign_);
                int ay = r.top + DrawArea::alignY(h, bgImageAlign_);
                d->merge(image, ax, ay, bgImageAlign_, 0);
            } else {
                clip(d, false);
                d->setClipRect(r.left, r.top, r.right, r.bottom);
                for (int ty = r.top; ty < r.bottom; ty += image->getHeight())
                    for (int tx = r.left; tx < r.right; tx += image->getWidth())
                        d->merge(image, tx, ty, Chart::TopLeft, 0);
                clip(d, false);
            }
        }
        image->destroy();
    }
    PixelRect r = rect();
    for (size_t i = axes_.size(); i-- > 4;) axes_[i]->paintZones(d, r, wallShift(axes_[i].get()));
    for (size_t i = 0; i < 4; ++i) axes_[i]->paintZones(d, r, wallShift(axes_[i].get()));
}

int PlotAreaImpl::wallShift(const AxisImpl* axis) const {
    bool front = axis->side() == Chart::Left || axis->side() == Chart::Bottom;
    return front ? (axis->isVertical() ? -depthY_ : depthX_) : 0;
}

void PlotAreaImpl::paintGrid(DrawArea* d) {
    int vColor = vGridColor_ == -1 ? hGridColor_ : vGridColor_;
    int vWidth = vGridWidth_ == -1 ? hGridWidth_ : vGridWidth_;
    struct Style {
        int color, minorColor, width, minorWidth;
    };
    Style hStyle{hGridColor_, minorHGridColor_ == -1 ? hGridColor_ : minorHGridColor_, hGridWidth_,
                 minorHGridWidth_ == -1 ? hGridWidth_ : minorHGridWidth_};
    Style vStyle{vColor, minorVGridColor_ == -1 ? vColor : minorVGridColor_, vWidth,
                 minorVGridWidth_ == -1 ? vWidth : minorVGridWidth_};
    for (int pass = 0; pass < 2; ++pass) {
        bool horizontalLines = pass == 0;
        AxisImpl* axis = gridAxis(horizontalLines);
        if (!axis) continue;
        const Style& s = horizontalLines ? hStyle : vStyle;
        for (const AxisTick& t : axis->scale().getTicks()) {
            bool major = t.kind == TickKind::Major;
            int color = major ? s.color : s.minorColor;
            int width = major ? s.width : s.minorWidth;
            if (color == Chart::Transparent || width < 1) continue;
            double p = axis->pixelOf(t.value);
            if (p == Chart::NoValue) continue;
            // Pixels on the back wall.
            int at = roundPixel(p) + wallShift(axis);
            if (horizontalLines) {
                if (at < y_ - depthY_ || at > y_ + height_ - depthY_) continue;
                d->line(x_ + depthX_, at, x_ + width_ + depthX_, at, color, width);
                if (depthX_ || depthY_) d->line(x_, at + depthY_, x_ + depthX_, at, color, width);
            } else {
                if (at < x_ + depthX_ || at > x_ + width_ + depthX_) continue;
                d->line(at, y_ - depthY_, at, y_ + height_ - depthY_, color, width);
                if (depthX_ || depthY_) d->line(at - depthX_, y_ + height_, at, y_ + height_ - depthY_, color, width);
            }
        }
    }
}

void PlotAreaImpl::paintMarks(DrawArea* d, bool onTop) {
    PixelRect r = rect();
    for (size_t i = axes_.size(); i-- > 4;) axes_[i]->paintMarks(d, r, wallShift(axes_[i].get()), onTop);
    AxisImpl* left = sideAxis(Chart::Left);
    AxisImpl* right = sideAxis(Chart::Right);
    AxisImpl* bottom = sideAxis(Chart::Bottom);
    AxisImpl* top = sideAxis(Chart::Top);
    for (AxisImpl* a : {right, left, top, bottom})
        if (a) a->paintMarks(d, r, wallShift(a), onTop);
}

void PlotAreaImpl::paintBorder(DrawArea* d) {
    int color = edgeColor_ != -1 ? edgeColor_ : axisAtOrigin_ ? Chart::Transparent : Chart::LineColor;
    if (color == Chart::Transparent) return;
    if (!depthX_ && !depthY_) {
        d->rect(x_, y_, x_ + width_, y_ + height_, color, Chart::Transparent);
        return;
    }
    PixelRect back = rect();
    d->rect(back.left, back.top, back.right, back.bottom, color, Chart::Transparent);
    d->line(x_, y_, back.left, back.top, color, 1);
    d->line(x_, y_ + height_, back.left, back.bottom, color, 1);
    d->line(x_ + width_, y_ + height_, back.right, back.bottom, color, 1);
    d->line(x_, y_, x_, y_ + height_, color, 1);
    d->line(x_, y_ + height_, x_ + width_, y_ + height_, color, 1);
}

void PlotAreaImpl::clip(DrawArea* d, bool on) {
    if (on && clipMargin_ <= kNoClipping) {
        int m = std::max(clipMargin_, 0);
        d->setClipRect(x_ - m, y_ - depthY_ - m, x_ + width_ + depthX_ + m, y_ + height_ + m);
        return;
    }
    d->setClipRect(0, 0, d->getWidth() - 1, d->getHeight() - 1);
}

void PlotAreaImpl::paint(DrawArea* d) {
    paintBackground(d);
    chart_->drawExtraObjs(Chart::GridLinesZ - 1);
    bool clipping = clipMargin_ <= kNoClipping;
    size_t n = layers_.size();
    size_t under = std::min<size_t>(static_cast<size_t>(gridLayerCount_), n);
    if (under > 0) {
        if (clipping) clip(d, true);
        for (size_t i = n; i-- > n - under;) layers_[i]->paint(d);
        if (clipping) clip(d, false);
    }
    paintGrid(d);
    paintMarks(d, false);
    chart_->drawExtraObjs(Chart::ChartFrontZ - 1);
    if (clipping) clip(d, true);
    for (size_t i = n - under; i-- > 0;) layers_[i]->paint(d);
    if (clipping) clip(d, false);
    for (size_t i = n; i-- > 0;) layers_[i]->postPaint(d);
    paintBorder(d);
    for (size_t i = axes_.size(); i-- > 0;) axes_[i]->paint(d);
    paintMarks(d, true);
}

}  // namespace plotvane

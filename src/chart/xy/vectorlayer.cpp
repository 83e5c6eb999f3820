// The vector layer: an arrow at each data point.
//
// An arrow is worked out in screen pixels: its start (the point, moved along the arrow by the
// alignment and the start margin), its direction in degrees clockwise from up, and its drawn
// length (the length less both margins; nothing is drawn at zero or below). Lengths come in
// pixels or in axis units, measured as the pixel distance the axis gives them at the point; a
// negative length turns the arrow round. In end-point mode the arrow runs to an end point instead:
// the given x and y, or the next data point when none are given.
//
// Shapes live in the arrow's own frame: u across (to the right of an arrow pointing up) and v
// back along it, with the tip at v = 0 and the start at v = length. The head polygon is scaled by
// the head size and stands at the tip; the stem runs from the head's back to the start, stretched
// along v to fit and kept at its own width across. The default head is a triangle, the default
// stem a plain line. An arrow shorter than its head draws its head shrunk to the length. Arrows
// are cut at the plot area's edges, as lines and areas are.
#include <plotvane/drawarea.h>
#include <plotvane/vectorlayer.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "chart/box_p.h"
#include "chart/legendbox_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/lineobj_p.h"
#include "chart/xy/plotarea_p.h"
#include "chart/xy/vectorpainter_p.h"
#include "chart/xy/xychart_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

VectorLayer::~VectorLayer() = default;

namespace {

constexpr double kPi = 3.14159265358979323846;
// Pixel lengths beyond this are not arrows anyone can see whole; they are cut to it.
constexpr double kLongest = 1e6;

bool isSet(double v) { return v != Chart::NoValue && std::isfinite(v); }

struct AreaDeleter {
    void operator()(DrawArea* d) const { d->destroy(); }
};

}  // namespace

class VectorLayerImpl final : public VectorLayer, public virtual LayerImpl {
public:
    VectorLayerImpl() { LayerImpl::setDataCombineMethod(Chart::Overlay); }

    void setVector(DoubleArray lengths, DoubleArray directions, int lengthScale) override;
    void setArrowHead(int width, int height) override { painter_.setHeadSize(width, height); }
    void setArrowHead(IntArray polygon) override { painter_.setHead(polygon); }
    void setArrowStem(IntArray polygon) override { painter_.setStem(polygon); }
    void setArrowAlignment(int alignment) override { alignment_ = alignment; }
    void setVectorMargin(double startMargin, double endMargin) override;
    void setIconSize(int width, int height) override;
    // Does nothing: arrows never stack.
    void setDataCombineMethod(int) override {}

    void hotSpot(int ds, int item, std::vector<int>& xy) override;
    void paint(DrawArea* d) override;

protected:
    DrawArea* legendIcon(int ds) override;
    std::string defaultDataLabel() const override { return "{value}"; }
    bool layerField(std::string_view name, const char* format, int ds, int item, std::string& text) override;
    std::string defaultImageMapQuery() const override {
        return "x={x}&xLabel={xLabel}&dataSetName={dataSetName}&value={value}&dir={dir}&len={len}";
    }

private:
    // The arrow of data set ds at item i; false when it is not drawn.
    bool arrow(int ds, int i, Arrow& a) const;
    double at(const std::vector<double>& v, int i) const {
        return i >= 0 && i < static_cast<int>(v.size()) ? v[static_cast<size_t>(i)] : Chart::NoValue;
    }

    std::vector<double> lengths_;
    std::vector<double> directions_;
    int lengthScale_ = Chart::PixelScale;
    int alignment_ = Chart::BottomCenter;
    double startMargin_ = 0;
    double endMargin_ = 0;
    int iconWidth_ = 15;
    int iconHeight_ = 11;
    VectorPainter painter_;
    std::vector<std::unique_ptr<DrawArea, AreaDeleter>> icons_;
};

void VectorLayerImpl::setVector(DoubleArray lengths, DoubleArray directions, int lengthScale) {
    auto copy = [this](DoubleArray a) {
        DoubleArray kept = chart()->filterData(a);
        std::vector<double> v(kept.data, kept.data + std::max(kept.len, 0));
        for (double& x : v)
            if (!std::isfinite(x)) x = Chart::NoValue;
        return v;
    };
    lengths_ = copy(lengths);
    directions_ = copy(directions);
    bool known = lengthScale >= Chart::PixelScale && lengthScale <= Chart::EndPoints;
    lengthScale_ = known ? lengthScale : Chart::PixelScale;
}

void VectorLayerImpl::setVectorMargin(double startMargin, double endMargin) {
    startMargin_ = isSet(startMargin) ? std::clamp(startMargin, -kLongest, kLongest) : 0;
    endMargin_ = isSet(endMargin) ? std::clamp(endMargin, -kLongest, kLongest) : startMargin_;
}

void VectorLayerImpl::setIconSize(int width, int height) {
    iconWidth_ = std::clamp(width, 1, 1000);
    iconHeight_ = std::clamp(height, 1, 1000);
}

bool VectorLayerImpl::arrow(int ds, int i, Arrow& a) const {
    const DataSetImpl& set = dataSet(ds);
    double x = xValue(i), y = set.valueAt(i);
    if (!isSet(x) || !isSet(y)) return false;
    double px = pixelX(x), py = pixelY(y, set.axis());
    if (!isSet(px) || !isSet(py)) return false;
    double sx, sy;
    screenPoint(px, py, sx, sy);
    double length, angle;
    if (lengthScale_ == Chart::EndPoints) {
        bool given = !lengths_.empty() || !directions_.empty();
        double ex = given ? at(lengths_, i) : xValue(i + 1);
        double ey = given ? at(directions_, i) : set.valueAt(i + 1);
        if (!isSet(ex) || !isSet(ey)) return false;
        double qx = pixelX(ex), qy = pixelY(ey, set.axis());
        if (!isSet(qx) || !isSet(qy)) return false;
        double tx, ty;
        screenPoint(qx, qy, tx, ty);
        length = std::hypot(tx - sx, ty - sy);
        angle = std::atan2(tx - sx, sy - ty) * 180 / kPi;
    } else {
        double len = at(lengths_, i), dir = at(directions_, i);
        if (!isSet(len) || !isSet(dir)) return false;
        angle = len < 0 ? dir + 180 : dir;
        if (lengthScale_ == Chart::XAxisScale) {
            double b = pixelX(x + len);
            if (!isSet(b)) return false;
            length = b - px;
        } else if (lengthScale_ == Chart::YAxisScale) {
            double b = pixelY(y + len, set.axis());
            if (!isSet(b)) return false;
            length = b - py;
        } else {
            length = len;
        }
        length = std::fabs(length);
    }
    angle = std::fmod(angle, 360);
    if (angle < 0) angle += 360;
    length = std::min(length, kLongest);
    double shift = alignment_ == Chart::TopCenter ? startMargin_ - length
                   : alignment_ == Chart::Center  ? startMargin_ - length / 2
                                                  : startMargin_;
    double t = angle * kPi / 180;
    a.x = sx + (shift != 0 ? std::round(std::sin(t) * shift) : 0);
    a.y = sy - (shift != 0 ? std::round(std::cos(t) * shift) : 0);
    a.angle = angle;
    a.length = length - startMargin_ - endMargin_;
    return a.length > 0;
}

void VectorLayerImpl::paint(DrawArea* d) {
    PlotAreaImpl& plot = chart()->plotArea();
    const FrameBox clip{double(plot.getLeftX()), double(plot.getTopY()), double(plot.getRightX()),
                        double(plot.getBottomY())};
    for (int ds = dataSetCount(); ds-- > 0;) {
        DataSetImpl& set = dataSet(ds);
        int color = set.dataColor();
        d->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
        for (int i = 0; i < set.size(); ++i) {
            Arrow a;
            if (arrow(ds, i, a)) painter_.draw(d, a, color, color, set.lineWidth(), &clip);
        }
    }
    for (int ds = dataSetCount(); ds-- > 0;) paintSymbols(d, ds);
}

void VectorLayerImpl::hotSpot(int dataSet, int dataItem, std::vector<int>& xy) {
    xy.clear();
    Arrow a;
    if (dataSet < 0 || dataSet >= dataSetCount() || dataItem == Chart::NoIntValue || !arrow(dataSet, dataItem, a))
        return;
    // The band the arrow lies in, as wide as its widest part.
    double w = painter_.halfWidth();
    const double corners[4][2] = {{-w, 0}, {w, 0}, {w, a.length}, {-w, a.length}};
    for (const auto& c : corners) {
        double sx, sy;
        a.at(c[0], c[1], sx, sy);
        xy.push_back(roundPixel(sx));
        xy.push_back(roundPixel(sy));
    }
}

bool VectorLayerImpl::layerField(std::string_view name, const char* format, int, int item, std::string& text) {
    if (name != "dir" && name != "len") return false;
    text = chart()->getFormatter().format(format, at(name == "dir" ? directions_ : lengths_, item));
    return true;
}

DrawArea* VectorLayerImpl::legendIcon(int ds) {
    DataSetImpl& set = dataSet(ds);
    DrawArea* icon = chart()->getRawDrawArea()->subDrawArea(iconWidth_, iconHeight_);
    if (!icon) return nullptr;
    icons_.emplace_back(icon);
    // An arrow across the key from left to right.
    Arrow a;
    a.x = 0;
    a.y = iconHeight_ / 2.0;
    a.angle = 90;
    a.length = iconWidth_;
    painter_.draw(icon, a, set.dataColor(), set.dataColor(), std::max(set.lineWidth(), 1));
    return icon;
}

VectorLayer* XYChartImpl::addVectorLayer(DoubleArray xData, DoubleArray yData, DoubleArray lengths,
                                         DoubleArray directions, int lengthScale, int color, const char* name) {
    auto* layer = new VectorLayerImpl();
    addLayer(layer);
    layer->addDataSet(yData, color, name)->setDataColor(color, color, color, color);
    if (xData.len > 0 && xData.data) layer->setXData(xData);
    layer->setVector(lengths, directions, lengthScale);
    if (lengthScale != Chart::EndPoints) plotArea().setScaleMode(PlotAreaImpl::kVectorMode);
    return layer;
}

}  // namespace plotvane

// The polar vector layer: an arrow at each point, drawn by the same painter as the XY vector
// layer's. Directions are screen degrees clockwise from up. A length in radial units is the pixel
// distance the radial axis gives it outwards from the point's radius; in angular units it is the
// arc it spans on the circle through the point.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "chart/other/polarchart_p.h"
#include "chart/xy/vectorpainter_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

PolarVectorLayer::~PolarVectorLayer() = default;

namespace {

// Pixel lengths beyond this are not arrows anyone can see whole; they are cut to it.
constexpr double kLongest = 1e6;

bool isSet(double v) { return v != Chart::NoValue && std::isfinite(v); }

}  // namespace

class PolarVectorLayerImpl final : public PolarVectorLayer, public PolarLayerImpl {
public:
    PolarVectorLayerImpl(PolarChartImpl* chart, DoubleArray rData, DoubleArray aData)
        : PolarLayerImpl(chart, rData, -1, "") {
        setAngles(aData);
    }

    void setVector(DoubleArray lengths, DoubleArray directions, int lengthScale) override {
        lengths_ = polarValues(lengths);
        directions_ = polarValues(directions);
        lengthScale_ = lengthScale;
    }
    void setArrowHead(int width, int height) override { painter_.setHeadSize(width, height); }
    void setArrowHead(IntArray polygon) override { painter_.setHead(polygon); }
    void setArrowStem(IntArray polygon) override { painter_.setStem(polygon); }
    void setArrowAlignment(int alignment) override { alignment_ = alignment; }
    void setVectorMargin(double startMargin, double endMargin) override {
        startMargin_ = std::isfinite(startMargin) ? std::clamp(startMargin, -kLongest, kLongest) : 0;
        endMargin_ = endMargin == Chart::NoValue || !std::isfinite(endMargin) ? startMargin_
                                                                                : std::clamp(endMargin, -kLongest, kLongest);
    }
    void setIconSize(int width, int height) override {
        iconWidth_ = std::clamp(width, 1, 1000);
        iconHeight_ = std::clamp(height, 1, 1000);
    }

    void paint(DrawArea* d) override {
        int c = color();
        d->setColorTable(&c, 1, Chart::SameAsMainColor & 0xffff);
        for (const PolarPoint& p : points()) {
            Arrow a;
            if (arrow(p, a)) painter_.draw(d, a, c, edgeColor(), std::max(lineWidth(), 1));
        }
    }

protected:
    DrawArea* legendIcon() override {
        DrawArea* icon = chart()->getRawDrawArea()->subDrawArea(iconWidth_, iconHeight_);
        if (!icon) return nullptr;
        icon_.reset(icon);
        // An arrow across the key from left to right.
        Arrow a;
        a.y = iconHeight_ / 2.0;
        a.angle = 90;
        a.length = iconWidth_;
        painter_.draw(icon, a, color(), color(), std::max(lineWidth(), 1));
        return icon;
    }
    HotSpot hotSpot(const PolarPoint& p) const override {
        Arrow a;
        if (!arrow(p, a)) return PolarLayerImpl::hotSpot(p);
        // The band the arrow covers, from its tip back to its start.
        const double w = painter_.halfWidth();
        HotSpot h{"poly", {}};
        const double corners[4][2] = {{-w, 0}, {w, 0}, {w, a.length}, {-w, a.length}};
        for (const auto& c : corners) {
            double x, y;
            a.at(c[0], c[1], x, y);
            h.coords.push_back(roundPixel(x));
            h.coords.push_back(roundPixel(y));
        }
        return h;
    }
    std::string defaultQuery() const override {
        return PolarLayerImpl::defaultQuery() + "&dir={dir}&len={len}";
    }
    bool layerField(const std::string& name, const char* format, int i, std::string& text) const override {
        if (name != "dir" && name != "len") return false;
        const std::vector<double>& v = name == "dir" ? directions_ : lengths_;
        text = chart()->getFormatter().format(format, i < static_cast<int>(v.size()) ? v[static_cast<size_t>(i)] : Chart::NoValue);
        return true;
    }

private:
    double at(const std::vector<double>& v, int i) const {
        return i >= 0 && i < static_cast<int>(v.size()) ? v[static_cast<size_t>(i)] : Chart::NoValue;
    }
    bool arrow(const PolarPoint& p, Arrow& a) const;

    std::vector<double> lengths_;
    std::vector<double> directions_;
    int lengthScale_ = Chart::PixelScale;
    int alignment_ = Chart::BottomCenter;
    double startMargin_ = 0;
    double endMargin_ = 0;
    int iconWidth_ = 15;
    int iconHeight_ = 11;
    VectorPainter painter_;
    struct AreaDeleter {
        void operator()(DrawArea* d) const { d->destroy(); }
    };
    std::unique_ptr<DrawArea, AreaDeleter> icon_;
};

bool PolarVectorLayerImpl::arrow(const PolarPoint& p, Arrow& a) const {
    double len = at(lengths_, p.index), dir = at(directions_, p.index);
    if (!isSet(len) || !isSet(dir)) return false;
    double length = len;
    if (lengthScale_ == Chart::RadialAxisScale) {
        double from = chart()->radialPixels(p.r), to = chart()->radialPixels(p.r + (p.r < 0 ? -len : len));
        if (!isSet(from) || !isSet(to)) return false;
        length = to - from;
    } else if (lengthScale_ == Chart::AngularAxisScale) {
        double from = chart()->screenAngle(p.a), to = chart()->screenAngle(p.a + len);
        double R = chart()->radialPixels(p.r);
        if (!isSet(from) || !isSet(to) || !isSet(R)) return false;
        double sweep = std::fmod(to - from + 540, 360) - 180;
        length = R * sweep * kArrowPi / 180;
    }
    double angle = length < 0 ? dir + 180 : dir;
    angle = std::fmod(angle, 360);
    if (angle < 0) angle += 360;
    length = std::min(std::fabs(length), kLongest);
    double shift = alignment_ == Chart::TopCenter ? startMargin_ - length
                   : alignment_ == Chart::Center  ? startMargin_ - length / 2
                                                  : startMargin_;
    double t = angle * kArrowPi / 180;
    a.x = p.x + std::sin(t) * shift;
    a.y = p.y - std::cos(t) * shift;
    a.angle = angle;
    a.length = length - startMargin_ - endMargin_;
    return a.length > 0;
}

PolarVectorLayer* PolarChartImpl::addVectorLayer(DoubleArray rData, DoubleArray aData, DoubleArray lengths,
                                                 DoubleArray directions, int lengthScale, int color, const char* name) {
    auto layer = std::make_unique<PolarVectorLayerImpl>(this, rData, aData);
    layer->setData(rData, color, name);
    layer->setVector(lengths, directions, lengthScale);
    return adopt(std::move(layer));
}

}  // namespace plotvane

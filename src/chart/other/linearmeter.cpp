// The linear meter: a scale along one edge of a rectangle, the axis side. Scale positions run
// along the rectangle; ticks grow from the axis edge, outward for positive lengths, and by default
// reach across the whole meter. The rail and the labels stand outside the axis edge; bars, zones
// and colour scales fill value ranges across the meter; pointers rise from the far edge toward the
// scale.

#include <algorithm>
#include <cmath>

#include "chart/other/basemeter_p.h"
#include "chart/textbox_p.h"
#include "chart/xy/labelbox_p.h"

namespace plotvane {

namespace {

constexpr int kDecorationZ = 4095;
// Stored tick lengths that stand for fractions of the meter's thickness.
constexpr int kAutoMajor = 32767, kAutoMinor = 32766, kAutoMicro = 32765;

bool isGiven(double v) { return std::isfinite(v) && v != Chart::NoValue; }

class LinearMeterImpl;

// A box over a value range across the meter, placed each time it is painted because the meter
// may be moved after the box was made.
class RangeBox : public TextBoxImpl {
public:
    RangeBox(LinearMeterImpl* meter, DrawArea* d, double from, double to)
        : TextBoxImpl(d), meter_(meter), from_(from), to_(to) {}
    void paint(DrawArea* d) override;

private:
    LinearMeterImpl* meter_;
    double from_, to_;
};

class LinearMeterImpl : public LinearMeter, public BaseMeterImpl {
public:
    LinearMeterImpl() {
        const int tickWidths[3] = {2, 1, 1};
        initStyles("bold", 8, Chart::Transparent, 2, tickWidths);
        BaseMeterImpl::setTickLength(kAutoMajor, kAutoMinor, kAutoMicro);
    }

    void setMeter(int leftX, int topY, int width, int height, int axisPos, bool isReversed) override {
        left_ = leftX;
        top_ = topY;
        width_ = std::max(0, width);
        height_ = std::max(0, height);
        axisPos_ = axisPos;
        reversed_ = isReversed;
        placed_ = true;
    }

    void setRail(int railColor, int railWidth, int railOffset) override {
        railColor_ = railColor;
        railWidth_ = railWidth;
        railOffset_ = railOffset;
        railSet_ = true;
    }

    void setLabelPos(bool labelInside, int labelOffset) override {
        BaseMeterImpl::setLabelPos(labelInside, labelOffset);
        labelPosSet_ = true;
    }

    TextBox* addBar(double startValue, double endValue, int color, int effect, int roundedCorner) override {
        barAdded_ = true;
        RangeBox* box = addRange(startValue, endValue);
        box->setBackground(color, Chart::Transparent, effect);
        box->setRoundedCorners(std::max(0, roundedCorner), -1, -1, -1);
        return box;
    }

    TextBox* addZone(double startValue, double endValue, int color, const char* label) override {
        RangeBox* box = addRange(startValue, endValue);
        box->setBackground(color, Chart::Transparent, 0);
        box->setText(label);
        box->setAlignment(Chart::Center);
        return box;
    }

    double exactCoor(double v) const override {
        double r = upper_ == lower_ ? 0 : (v - lower_) / (upper_ - lower_);
        Frame f = frame();
        if (f.horizontal) return f.left + (reversed_ ? 1 - r : r) * f.width;
        return f.top + (reversed_ ? r : 1 - r) * f.height;
    }

    void paintPointer(DrawArea* d, const MeterPointerImpl& p) override {
        Frame f = frame();
        double thickness = f.horizontal ? f.height : f.width;
        if (thickness <= 0) return;
        double c = exactCoor(std::clamp(p.value(), std::min(lower_, upper_), std::max(lower_, upper_)));
        std::vector<double> x, y;
        p.outline(x, y);
        double across = std::max(thickness, 20.0) * p.widthRatio() / 250, along = thickness * p.lengthRatio() / 1000;
        for (size_t i = 0; i < x.size(); ++i) {
            x[i] *= across;
            y[i] *= along;
        }
        Point base = edgePoint(c, -thickness * (1 - p.startOffset()));
        Point n = normal();
        d->polygonEx(DoubleArray(x.data(), static_cast<int>(x.size())), DoubleArray(y.data(), static_cast<int>(y.size())),
                     p.edgeColor(), p.fillColor(), 1, std::atan2(-n.x, n.y) * 180 / 3.14159265358979323846, base.x,
                     base.y);
    }

    // The rectangle a value range covers across the meter.
    void rangeRect(double from, double to, int& left, int& top, int& width, int& height) const {
        double lo = std::min(lower_, upper_), hi = std::max(lower_, upper_);
        double c1 = exactCoor(std::clamp(from, lo, hi)), c2 = exactCoor(std::clamp(to, lo, hi));
        Frame f = frame();
        int a = static_cast<int>(std::floor(std::min(c1, c2) + 0.5)), b = static_cast<int>(std::floor(std::max(c1, c2) + 0.5));
        if (f.horizontal) {
            left = a, width = b - a, top = f.top, height = f.height;
        } else {
            top = a, height = b - a, left = f.left, width = f.width;
        }
    }

private:
    struct Frame {
        int left, top, width, height;
        bool horizontal;
    };
    struct Point {
        double x, y;
    };

    // Where no setMeter call placed the meter, it fills the chart less a margin for its labels.
    Frame frame() const {
        bool horizontal = axisPos_ == Chart::Top || axisPos_ == Chart::Bottom;
        if (placed_) return {left_, top_, width_, height_, horizontal};
        int w = getWidth(), h = getHeight();
        return {std::min(40, w / 4), std::min(20, h / 4), std::max(0, w - 2 * std::min(40, w / 4)),
                std::max(0, h - 2 * std::min(20, h / 4)), horizontal};
    }

    // Outward from the axis edge.
    Point normal() const {
        switch (axisPos_) {
            case Chart::Top: return {0, -1};
            case Chart::Bottom: return {0, 1};
            case Chart::Right: return {1, 0};
            default: return {-1, 0};
        }
    }

    // The point at scale coordinate c, distance `out` outward from the axis edge.
    Point edgePoint(double c, double out) const {
        Frame f = frame();
        Point n = normal();
        double edge;
        if (f.horizontal) {
            edge = n.y < 0 ? f.top : f.top + f.height;
            return {c, edge + out * n.y};
        }
        edge = n.x < 0 ? f.left : f.left + f.width;
        return {edge + out * n.x, c};
    }

    int tickLength(TickKind kind) const override {
        int stored = tickLength_[kind];
        if (stored < kAutoMicro || stored > kAutoMajor) return stored;
        Frame f = frame();
        int t = f.horizontal ? f.height : f.width;
        if (stored == kAutoMajor) return -t;
        return stored == kAutoMinor ? -t * 6 / 10 : -t * 3 / 10;
    }

    bool railShown() const { return !(barAdded_ && !railSet_) && railWidth_ > 0; }

    RangeBox* addRange(double from, double to) {
        auto* box = new RangeBox(this, getRawDrawArea(), isGiven(from) ? from : lower_, isGiven(to) ? to : lower_);
        box->setDefault(defaultTextBox());
        box->setZOrder(kDecorationZ);
        addDrawObj(box);
        return box;
    }

    void paintTick(DrawArea* d, double c, TickKind kind) {
        int length = tickLength(kind), width = tickWidth(kind), color = tickColor(kind);
        if (length == 0 || width < 1 || d->getARGBColor(color) == Chart::Transparent) return;
        Point a = edgePoint(c, 0), b = edgePoint(c, length);
        d->line(a.x, a.y, b.x, b.y, color, width);
    }

    void paintScale(DrawArea* d, const std::vector<Tick>& ticks) override {
        Frame f = frame();
        double c0 = exactCoor(lower_), c1 = exactCoor(upper_);
        if (railShown()) {
            Point a = edgePoint(c0, railOffset_ + railWidth_ / 2.0), b = edgePoint(c1, railOffset_ + railWidth_ / 2.0);
            d->line(a.x, a.y, b.x, b.y, railColor_, railWidth_);
        }
        if (axisWidth_ >= 1 && d->getARGBColor(axisColor_) != Chart::Transparent) {
            Point a = edgePoint(c0, 0), b = edgePoint(c1, 0);
            d->line(a.x, a.y, b.x, b.y, axisColor_, axisWidth_);
        }
        for (const Tick& t : ticks) paintTick(d, exactCoor(t.value), t.kind);
        int outward = 0, inward = 0;
        for (TickKind k : {kMajor, kMinor, kMicro}) {
            outward = std::max(outward, tickLength(k));
            inward = std::max(inward, -tickLength(k));
        }
        bool inside = labelPosSet_ && labelInside_;
        double out = inside ? -(inward + 3 + labelOffset_)
                            : outward + (railShown() ? railOffset_ + railWidth_ : 0) + 3 + labelOffset_;
        // The label hangs from the point by its side facing the meter.
        Point n = normal();
        int align = f.horizontal ? ((n.y < 0) != inside ? Chart::Bottom : Chart::Top)
                                 : ((n.x < 0) != inside ? Chart::Right : Chart::Left);
        for (const Tick& t : ticks) {
            if (t.label.empty()) continue;
            Point p = edgePoint(exactCoor(t.value), out);
            makeLabel(t.label, static_cast<int>(std::floor(p.x + 0.5)), static_cast<int>(std::floor(p.y + 0.5)), align)->paint(d);
        }
    }

    void paintColorSegment(DrawArea* d, const ColorSegment& seg) override {
        auto at = [&](double v, bool farSide) { return edgePoint(exactCoor(v), seg.offset(v, farSide)); };
        Point q[4] = {at(seg.from, false), at(seg.to, false), at(seg.to, true), at(seg.from, true)};
        double x[4], y[4];
        for (int k = 0; k < 4; ++k) {
            x[k] = q[k].x;
            y[k] = q[k].y;
        }
        int gradient[4] = {0, seg.fromColor, 256, seg.toColor};
        int fill = d->linearGradientColor(static_cast<int>(q[0].x), static_cast<int>(q[0].y), static_cast<int>(q[1].x),
                                          static_cast<int>(q[1].y), IntArray(gradient, 4), false);
        d->polygon(DoubleArray(x, 4), DoubleArray(y, 4), seg.edgeColor, fill);
    }

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int axisPos_ = Chart::Left;
    bool reversed_ = false;
    bool placed_ = false;
    int railColor_ = Chart::LineColor, railWidth_ = 2, railOffset_ = 6;
    bool railSet_ = false, labelPosSet_ = false, barAdded_ = false;
};

void RangeBox::paint(DrawArea* d) {
    int left, top, width, height;
    meter_->rangeRect(from_, to_, left, top, width, height);
    if (width <= 0 || height <= 0) return;
    setPos(left, top);
    setSize(width, height);
    TextBoxImpl::paint(d);
}

}  // namespace

LinearMeter* LinearMeter::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* m = new LinearMeterImpl();
    m->setSize(width, height);
    m->setBackground(bgColor, edgeColor, raisedEffect);
    return m;
}

}  // namespace plotvane

// The angular meter: a scale along an arc (or a whole circle) of radius R around a centre, angles
// clockwise from 12 o'clock. Ticks stand on the scale circle, outward for positive lengths; labels
// sit beyond the tick ends, inside or outside. Pointers turn about the centre, and the cap over
// the pivot is painted with the last pointer so that it covers every pointer's root.
//
// The glare is a lens of light at the top of the dial: the dial's own arc over `span` degrees,
// closed from below by an arc of a larger circle through the same two points, filled with white
// fading from `intensity`-scaled opacity at the rim to nothing at the lower arc.

#include <algorithm>
#include <cmath>

#include "chart/other/basemeter_p.h"
#include "chart/xy/labelbox_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kAutomatic = -2147483647;

double sinDeg(double a) { return std::sin(a * kPi / 180); }
double cosDeg(double a) { return std::cos(a * kPi / 180); }
bool isGiven(double v) { return std::isfinite(v) && v != Chart::NoValue; }
bool isLiteral(int color) { return (static_cast<unsigned>(color) >> 24) != 0xff; }

// A literal colour moved toward white by t (0..1); other colours as they are.
int lighter(int color, double t) {
    if (!isLiteral(color)) return color;
    auto channel = [&](int shift) {
        int c = (color >> shift) & 0xff;
        return static_cast<int>(c + (255 - c) * t + 0.5) << shift;
    };
    return (color & static_cast<int>(0xff000000)) | channel(16) | channel(8) | channel(0);
}

int clampRadius(double r, int limit) {
    if (!(r > 0)) return 0;
    return std::max(1, static_cast<int>(std::min<double>(std::floor(r + 0.5), limit)));
}

class AngularMeterImpl : public AngularMeter, public BaseMeterImpl {
public:
    AngularMeterImpl() {
        const int tickWidths[3] = {1, 1, 1};
        initStyles("bold", 10, Chart::LineColor, 1, tickWidths);
    }

    void setMeter(int cx, int cy, int radius, double startAngle, double endAngle) override {
        cx_ = cx;
        cy_ = cy;
        radius_ = std::max(0, radius);
        if (std::isfinite(startAngle) && std::isfinite(endAngle)) {
            startAngle_ = startAngle;
            endAngle_ = endAngle;
        }
        placed_ = true;
    }

    void addRing(int startRadius, int endRadius, int fillColor, int edgeColor) override {
        int edge = edgeColor == -1 ? fillColor : edgeColor;
        int outer = std::max(startRadius, endRadius), inner = std::max(0, std::min(startRadius, endRadius));
        if (outer <= 0) return;
        addDecoration([=](DrawArea* d) { d->ring(cx(), cy(), outer, outer, inner, inner, edge, fillColor); });
    }

    void addRingSector(int startRadius, int endRadius, double a1, double a2, int fillColor, int edgeColor) override {
        int edge = edgeColor == -1 ? fillColor : edgeColor;
        int outer = std::max(startRadius, endRadius), inner = std::max(0, std::min(startRadius, endRadius));
        if (outer <= 0 || !std::isfinite(a1) || !std::isfinite(a2)) return;
        addDecoration([=](DrawArea* d) {
            d->ringSector(cx(), cy(), outer, outer, inner, inner, a1, a2, edge, fillColor);
        });
    }

    void addZone(double startValue, double endValue, int startRadius, int endRadius, int fillColor,
                 int edgeColor) override {
        if (!isGiven(startValue) || !isGiven(endValue)) return;
        int edge = edgeColor == -1 || edgeColor == Chart::Transparent ? fillColor : edgeColor;
        addDecoration([=](DrawArea* d) { paintZone(d, startValue, endValue, startRadius, endRadius, fillColor, edge); });
    }

    void addZone(double startValue, double endValue, int fillColor, int edgeColor) override {
        if (!isGiven(startValue) || !isGiven(endValue)) return;
        int edge = edgeColor == -1 || edgeColor == Chart::Transparent ? fillColor : edgeColor;
        addDecoration([=](DrawArea* d) {
            int r = radius();
            paintZone(d, startValue, endValue, r, r + tickLength(kMajor), fillColor, edge);
        });
    }

    void addScaleBackground(int bgRadius, int fillColor, int edgeWidth, int edgeColor, int scaleRadius,
                            double startAngle, double endAngle) override {
        int edge = edgeColor == -1 ? fillColor : edgeColor;
        if (bgRadius <= 0 || (!visible(fillColor) && !visible(edge))) return;
        if (scaleRadius != kAutomatic && scaleRadius > 0) radius_ = scaleRadius;
        bool sector = isGiven(startAngle) && isGiven(endAngle);
        addDecoration([=](DrawArea* d) {
            double a1 = sector ? startAngle : startAngle_, a2 = sector ? endAngle : endAngle_;
            bool whole = !sector && isFullCircle();
            auto disc = [&](int r, int color) {
                if (r <= 0) return;
                if (whole)
                    d->circle(cx(), cy(), r, r, color, color);
                else
                    d->sector(cx(), cy(), r, r, a1, a2, color, color);
            };
            if (edgeWidth > 0) {
                disc(bgRadius, edge);
                disc(bgRadius - edgeWidth, fillColor);
            } else {
                disc(bgRadius, fillColor);
            }
        });
    }

    void setCap(int radius, int fillColor, int edgeColor) override {
        cap_ = Cap{};
        cap_.radius = radius;
        cap_.fill = fillColor;
        cap_.edge = edgeColor;
        capSet_ = true;
    }

    void setCap2(int backColor, int frontColor, int frontEdgeColor, double lightingRatio, double backRadiusRatio,
                 double frontRadiusRatio, double frontEdgeWidthRatio) override {
        cap_ = Cap{};
        cap_.ratio = true;
        cap_.back = backColor;
        cap_.fill = frontColor;
        cap_.edge = frontEdgeColor;
        cap_.lighting = std::isfinite(lightingRatio) ? lightingRatio : 0.2;
        cap_.backRatio = std::isfinite(backRadiusRatio) ? backRadiusRatio : 0;
        cap_.frontRatio = std::isfinite(frontRadiusRatio) ? frontRadiusRatio : 0;
        cap_.edgeRatio = std::isfinite(frontEdgeWidthRatio) ? frontEdgeWidthRatio : 0;
        capSet_ = true;
    }

    void addGlare(int radius, double span, double rotate, int glareRadius, double intensity) override {
        if (!std::isfinite(span) || !std::isfinite(rotate) || !std::isfinite(intensity) || intensity <= 0) return;
        glare_ = Glare{radius, std::clamp(span, 1.0, 359.0), rotate, glareRadius, std::min(intensity, 1.0)};
        hasGlare_ = true;
    }

    using BaseMeterImpl::addPointer;
    MeterPointer* addPointer(double value, int fillColor, int edgeColor, int pointerType, double startOffset,
                             double endOffset, double widthRatio) override {
        if (!capSet_) setCap2(0x808080, 0x000000, Chart::Transparent, 0.2, 0.15, 0.11, 0.01);
        MeterPointerImpl* p = newPointer(value, fillColor, edgeColor);
        p->setShapeAndOffset(pointerType, startOffset, endOffset, widthRatio);
        return p;
    }

    int relativeLinearGradient(IntArray gradient, double angle, double radius) override {
        double r = radius > 0 ? radius : this->radius();
        double a = std::isfinite(angle) ? angle : 0;
        return getRawDrawArea()->linearGradientColor(
            static_cast<int>(std::floor(cx() + r * sinDeg(a) + 0.5)), static_cast<int>(std::floor(cy() - r * cosDeg(a) + 0.5)),
            static_cast<int>(std::floor(cx() - r * sinDeg(a) + 0.5)), static_cast<int>(std::floor(cy() + r * cosDeg(a) + 0.5)),
            gradient, false);
    }

    int relativeRadialGradient(IntArray gradient, double radius) override {
        int r = radius > 0 && radius < 1e6 ? static_cast<int>(radius) : this->radius();
        return getRawDrawArea()->radialGradientColor(cx(), cy(), r, r, gradient, false);
    }

    double exactCoor(double v) const override {
        if (upper_ == lower_) return startAngle_;
        return startAngle_ + (v - lower_) / (upper_ - lower_) * (endAngle_ - startAngle_);
    }

    void paintPointer(DrawArea* d, const MeterPointerImpl& p) override {
        double a = exactCoor(std::clamp(p.value(), std::min(lower_, upper_), std::max(lower_, upper_)));
        double r = radius();
        if (std::isfinite(a) && r > 0) {
            std::vector<double> x, y;
            p.outline(x, y);
            double across = r * p.widthRatio() / 1000, along = r * p.lengthRatio() / 1000;
            for (size_t i = 0; i < x.size(); ++i) {
                x[i] *= across;
                y[i] *= along;
            }
            double px = cx() + p.startOffset() * r * sinDeg(a), py = cy() - p.startOffset() * r * cosDeg(a);
            d->polygonEx(DoubleArray(x.data(), static_cast<int>(x.size())), DoubleArray(y.data(), static_cast<int>(y.size())),
                         p.edgeColor(), p.fillColor(), 1, a + 180, px, py);
        }
        if (&p == lastPointer_) paintCap(d);
    }

private:
    struct Cap {
        bool ratio = false;
        int radius = 3;
        int fill = 0xdddddd;
        int edge = 0x000000;
        int back = 0x888888;
        double lighting = 0.2, backRatio = 0.15, frontRatio = 0.11, edgeRatio = 0.01;
    };
    struct Glare {
        int radius;
        double span, rotate;
        int glareRadius;
        double intensity;
    };

    // Where no setMeter call placed the dial, it fills the chart.
    int cx() const { return placed_ ? cx_ : getWidth() / 2; }
    int cy() const { return placed_ ? cy_ : (isFullCircle() ? getHeight() / 2 : getHeight() * 3 / 4); }
    int radius() const {
        if (placed_) return radius_;
        int fit = isFullCircle() ? std::min(getWidth(), getHeight()) / 2 : std::min(getWidth() / 2, getHeight() * 3 / 4);
        return std::max(1, fit - 20);
    }
    int radiusLimit() const { return 10 * (getWidth() + getHeight()); }
    bool visible(int color) const { return getRawDrawArea()->getARGBColor(color) != Chart::Transparent; }

    bool isFullCircle() const override { return std::fabs(std::fabs(endAngle_ - startAngle_) - 360) < 0.1; }

    void paintZone(DrawArea* d, double v1, double v2, int r1, int r2, int fill, int edge) {
        int outer = std::max(r1, r2), inner = std::max(0, std::min(r1, r2));
        double lo = std::min(lower_, upper_), hi = std::max(lower_, upper_);
        double a1 = exactCoor(std::clamp(v1, lo, hi)), a2 = exactCoor(std::clamp(v2, lo, hi));
        if (outer > 0 && a1 != a2) d->ringSector(cx(), cy(), outer, outer, inner, inner, a1, a2, edge, fill);
    }

    // A disc shaded as lit from its upper left.
    void shadedDisc(DrawArea* d, int r, int color, int edge, double lighting) {
        if (r <= 0) return;
        int fill = color;
        if (lighting < 1 && isLiteral(color)) {
            int glow = lighter(color, std::clamp(1 - lighting, 0.0, 1.0) * 0.6);
            fill = d->radialGradientColor(cx() - r / 3, cy() - r / 3, r * 3 / 2, r * 3 / 2, glow, color, false);
        }
        d->circle(cx(), cy(), r, r, edge, fill);
    }

    void paintCap(DrawArea* d) {
        if (!cap_.ratio) {
            if (cap_.radius > 0) d->circle(cx(), cy(), cap_.radius, cap_.radius, cap_.edge, cap_.fill);
            return;
        }
        int r = radius(), limit = radiusLimit();
        int back = clampRadius(cap_.backRatio * r, limit);
        shadedDisc(d, back, cap_.back, cap_.back, cap_.lighting);
        int front = clampRadius(cap_.frontRatio * r, limit), edgeWidth = clampRadius(cap_.edgeRatio * r, limit);
        if (front <= 0) return;
        if (visible(cap_.edge) && edgeWidth > 0) {
            d->circle(cx(), cy(), front, front, cap_.edge, cap_.edge);
            front -= edgeWidth;
        }
        shadedDisc(d, front, cap_.fill, cap_.fill, cap_.lighting);
    }

    void paintAxis(DrawArea* d) {
        if (cap_.ratio) shadedDisc(d, clampRadius(cap_.backRatio * radius(), radiusLimit()), cap_.back, cap_.back, cap_.lighting);
        if (!visible(axisColor_) || axisWidth_ < 1) return;
        int r = radius();
        if (axisWidth_ == 1) {
            if (std::fabs(endAngle_ - startAngle_) > 359.9)
                d->circle(cx(), cy(), r, r, axisColor_, Chart::Transparent);
            else
                d->arc(cx(), cy(), r, r, startAngle_, endAngle_, axisColor_);
            return;
        }
        int outer = r + axisWidth_ / 2, inner = std::max(0, outer - axisWidth_);
        if (std::fabs(endAngle_ - startAngle_) > 359.9)
            d->ring(cx(), cy(), outer, outer, inner, inner, axisColor_, axisColor_);
        else
            d->ringSector(cx(), cy(), outer, outer, inner, inner, startAngle_, endAngle_, axisColor_, axisColor_);
    }

    void paintTick(DrawArea* d, double a, TickKind kind) {
        int length = tickLength(kind), width = tickWidth(kind), color = tickColor(kind);
        if (length == 0 || width < 1 || !visible(color)) return;
        double r = radius();
        double px = cx() + r * sinDeg(a), py = cy() - r * cosDeg(a);
        if (width == 1) {
            d->line(px, py, cx() + (r + length) * sinDeg(a), cy() - (r + length) * cosDeg(a), color, 1);
            return;
        }
        double x[4] = {1.0 - width, width - 1.0, width - 1.0, 1.0 - width};
        double y[4] = {0, 0, 2.0 * length, 2.0 * length};
        d->polygonEx(DoubleArray(x, 4), DoubleArray(y, 4), color, color, 0.5, a + 180, px, py);
    }

    void paintLabel(DrawArea* d, double a, const std::string& text) {
        int outward = 0, inward = 0;
        for (TickKind k : {kMajor, kMinor, kMicro}) {
            outward = std::max(outward, tickLength(k));
            inward = std::max(inward, -tickLength(k));
        }
        std::unique_ptr<LabelBox> label = makeLabel(text, 0, 0, Chart::Center);
        double sa = sinDeg(a), ca = cosDeg(a);
        // The box's reach along the radius, so its near side rather than its centre keeps the gap.
        double reach = (std::fabs(sa) * label->getWidth() + std::fabs(ca) * label->getHeight()) / 2;
        double r = labelInside_ ? radius() - inward - 3 - labelOffset_ - reach : radius() + outward + 3 + labelOffset_ + reach;
        label->setPos(static_cast<int>(std::floor(cx() + r * sa + 0.5)), static_cast<int>(std::floor(cy() - r * ca + 0.5)));
        label->paint(d);
    }

    void paintScale(DrawArea* d, const std::vector<Tick>& ticks) override {
        paintAxis(d);
        for (const Tick& t : ticks) paintTick(d, exactCoor(t.value), t.kind);
        for (const Tick& t : ticks)
            if (!t.label.empty()) paintLabel(d, exactCoor(t.value), t.label);
    }

    void paintColorSegment(DrawArea* d, const ColorSegment& seg) override {
        double a1 = exactCoor(seg.from), a2 = exactCoor(seg.to);
        int steps = std::max(2, static_cast<int>(std::ceil(std::fabs(a2 - a1) / 2)));
        std::vector<double> x, y;
        for (int side = 0; side < 2; ++side)
            for (int k = 0; k <= steps; ++k) {
                double f = side == 0 ? double(k) / steps : double(steps - k) / steps;
                double a = a1 + (a2 - a1) * f, r = radius() + seg.offset(seg.from + (seg.to - seg.from) * f, side == 1);
                x.push_back(cx() + r * sinDeg(a));
                y.push_back(cy() - r * cosDeg(a));
            }
        int gradient[4] = {0, a1 < a2 ? seg.fromColor : seg.toColor, 256, a1 < a2 ? seg.toColor : seg.fromColor};
        int fill = d->angleGradientColor(cx(), cy(), std::min(a1, a2), std::max(a1, a2), 1, 1, IntArray(gradient, 4));
        d->polygon(DoubleArray(x.data(), static_cast<int>(x.size())), DoubleArray(y.data(), static_cast<int>(y.size())),
                   seg.edgeColor, fill);
    }

    void paintLast(DrawArea* d) override {
        if (!hasGlare_) return;
        double r = glare_.radius > 0 ? glare_.radius : radius();
        if (r <= 0) return;
        double half = glare_.span / 2, rot = glare_.rotate;
        double chordHalf = r * sinDeg(half), chordDistance = r * cosDeg(half);
        double gr = glare_.glareRadius > 0 ? glare_.glareRadius : r * 1.5;
        gr = std::max(gr, chordHalf);
        double k = std::sqrt(gr * gr - chordHalf * chordHalf) - chordDistance;
        double ux = sinDeg(rot), uy = -cosDeg(rot);
        double gcx = cx() - k * ux, gcy = cy() - k * uy;
        std::vector<double> x, y;
        int steps = std::max(8, static_cast<int>(glare_.span / 3));
        for (int i = 0; i <= steps; ++i) {
            double a = rot - half + glare_.span * i / steps;
            x.push_back(cx() + r * sinDeg(a));
            y.push_back(cy() - r * cosDeg(a));
        }
        double lowerHalf = std::asin(std::min(1.0, chordHalf / gr)) * 180 / kPi;
        for (int i = 0; i <= steps; ++i) {
            double a = rot + lowerHalf - 2 * lowerHalf * i / steps;
            x.push_back(gcx + gr * sinDeg(a));
            y.push_back(gcy - gr * cosDeg(a));
        }
        int topAlpha = static_cast<int>(std::min(1.0, glare_.intensity * 4) * 255 + 0.5);
        int lowAlpha = static_cast<int>(glare_.intensity * 0.5 * 255 + 0.5);
        int gradient[4] = {0, ((255 - topAlpha) << 24) | 0xffffff, 256, ((255 - lowAlpha) << 24) | 0xffffff};
        double lowTop = gr - k;
        int fill = d->linearGradientColor(static_cast<int>(cx() + r * ux), static_cast<int>(cy() + r * uy),
                                          static_cast<int>(cx() + lowTop * ux), static_cast<int>(cy() + lowTop * uy),
                                          IntArray(gradient, 4), false);
        d->polygon(DoubleArray(x.data(), static_cast<int>(x.size())), DoubleArray(y.data(), static_cast<int>(y.size())),
                   Chart::Transparent, fill);
    }

    int cx_ = 0, cy_ = 0, radius_ = 0;
    double startAngle_ = -90, endAngle_ = 90;
    bool placed_ = false;
    Cap cap_;
    bool capSet_ = false;
    Glare glare_{};
    bool hasGlare_ = false;
};

}  // namespace

AngularMeter* AngularMeter::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* m = new AngularMeterImpl();
    m->setSize(width, height);
    m->setBackground(bgColor, edgeColor, raisedEffect);
    return m;
}

}  // namespace plotvane

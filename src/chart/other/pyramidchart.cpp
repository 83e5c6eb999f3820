// Pyramid, cone and funnel charts.
//
// The solid is described by its profile: the half-width r(t) at each height t from its top (0) to
// its base (1). A pyramid and a cone grow linearly from the apex; a funnel shrinks linearly from the
// top to a tube, which keeps its width to the base. Each value with a number is one layer, as tall as
// its share of the sum of magnitudes once the gaps between layers are taken off; a layer reaching
// across the funnel's neck is cut there into two slabs, so that every slab is a frustum.
//
// A slab is a prism (a pyramid's n sides, a cone's 120) between two horizontal polygons. A point at
// angle a round the axis, radius r and height y lies at x = r sin(a), depth z = r cos(a) (towards the
// viewer), and projects to screen (cx + x, top + y + z sin(elevation)) before the whole picture is
// turned by the twist about (cx, cy). The solid is convex, so of one slab exactly the faces whose
// outward normal points at the viewer are drawn, and they never overlap; the top cap shows when the
// viewer is above (the bottom cap when below). Slabs are painted from the far end of the stack to the
// near one: from the base up when looking down, since an upper slab hangs in front of the cap of the
// one below it.
//
// Each face takes a brightness from a light at the viewer's upper left: ambient + diffuse (n.l) +
// specular (r.v)^shininess; with gradient shading the face is filled with a gradient from the start
// to the end brightness on top of that light, across the face of a pyramid, across the whole width
// of a round solid. A cone's faces have no edges (their fill
// doubles as the edge so no seam shows); a pyramid's take the layer border.
//
// Labels: a centre label inside each layer, and side labels in a column at each side, level with
// their layer's middle, spread apart with spreadLabels when they would overlap, each joined to the
// layer's silhouette by a line.
#include <plotvane/pyramidchart.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/basechart_p.h"
#include "chart/imagemap_p.h"
#include "chart/other/labelspread_p.h"
#include "chart/xy/labelbox_p.h"
#include "foundation/lasterror_p.h"
#include "text/pvparser_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;
// Each layer is a solid of its own with its labels; far past a pixel each they are invisible.
constexpr int kMaxLayers = 10000;

enum Side { kCenter = 0, kRight = 1, kLeft = 2 };

struct LabelSetting {
    std::string tmpl;
    bool set = false;
    std::unique_ptr<LabelBox> style;
};

struct Vec {
    double x, y, z;  // x right, y up, z towards the viewer
};

Vec normalise(Vec v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return n > 0 ? Vec{v.x / n, v.y / n, v.z / n} : Vec{0, 0, 1};
}

double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

PyramidLayer::~PyramidLayer() = default;

class PyramidChartImpl;

class PyramidLayerImpl final : public PyramidLayer {
public:
    PyramidLayerImpl(PyramidChartImpl* chart, int index, double value, std::string name)
        : chart_(chart), index_(index), value_(std::isfinite(value) ? value : Chart::NoValue), name_(std::move(name)) {}

    TextBox* setCenterLabel(const char* t, const char* font, double size, int color) override {
        return setLabel(kCenter, t, font, size, color);
    }
    TextBox* setRightLabel(const char* t, const char* font, double size, int color) override {
        return setLabel(kRight, t, font, size, color);
    }
    TextBox* setLeftLabel(const char* t, const char* font, double size, int color) override {
        return setLabel(kLeft, t, font, size, color);
    }
    void setColor(int color) override { color_ = color; }
    void setJoinLine(int color, int width) override {
        joinColor_ = color;
        if (width != -1) joinWidth_ = width;
    }
    void setJoinLineGap(int pyramidGap, int pointerGap, int textGap) override {
        gaps_[0] = pyramidGap;
        if (pointerGap != -1) gaps_[1] = pointerGap;
        if (textGap != -1) gaps_[2] = textGap;
    }
    void setLayerBorder(int color, int width) override {
        borderColor_ = color;
        if (width != -1) borderWidth_ = width;
    }
    void setLayerGap(double layerGap) override { gap_ = std::isfinite(layerGap) ? std::clamp(layerGap, 0.0, 1.0) : -1; }

    bool hasValue() const { return value_ != Chart::NoValue; }

    PyramidChartImpl* chart_;
    int index_;
    double value_;
    std::string name_;
    int color_ = -1;
    int joinColor_ = -1, joinWidth_ = -1, borderColor_ = -1, borderWidth_ = -1;
    int gaps_[3] = {-1, -1, -1};
    double gap_ = -1;
    LabelSetting labels_[3];

    // Laid out: the layer's span from the top of the solid (0) to its base (1), and its labels.
    double t0_ = 0, t1_ = 0, fraction_ = 0;
    std::unique_ptr<LabelBox> shown_[3];

private:
    TextBox* setLabel(int side, const char* t, const char* font, double size, int color);
};

class PyramidChartImpl final : public PyramidChart, public virtual BaseChartImpl {
public:
    PyramidChartImpl() {
        for (LabelSetting& l : labels_) {
            l.style = std::make_unique<LabelBox>(getRawDrawArea());
            l.style->setFontSize(8, 0);
            l.style->setMargin(0);
        }
    }

    void setPyramidSize(int cx, int cy, int radius, int height) override { setSolid(kPyramid, cx, cy, radius, height); }
    void setConeSize(int cx, int cy, int radius, int height) override { setSolid(kCone, cx, cy, radius, height); }
    void setFunnelSize(int cx, int cy, int radius, int height, double tubeRadius, double tubeHeight) override {
        setSolid(kFunnel, cx, cy, radius, height);
        tubeRadius_ = std::isfinite(tubeRadius) ? std::clamp(tubeRadius, 0.0, 1.0) : 0.2;
        tubeHeight_ = std::isfinite(tubeHeight) ? std::clamp(tubeHeight, 0.0, 1.0) : 0.3;
    }
    void setData(DoubleArray data, StringArray labels) override {
        if (data.data && data.len > kMaxLayers) {
            setLastError("%d layers are more than a pyramid can show (at most %d)", data.len, kMaxLayers);
            return;
        }
        layers_.clear();
        for (int i = 0; data.data && i < data.len; ++i)
            layers_.push_back(std::make_unique<PyramidLayerImpl>(
                this, i, data[i], labels.data && i < labels.len && labels[i] ? labels[i] : ""));
    }
    TextBox* setCenterLabel(const char* t, const char* font, double size, int color) override {
        return setLabel(kCenter, t, font, size, color);
    }
    TextBox* setRightLabel(const char* t, const char* font, double size, int color) override {
        return setLabel(kRight, t, font, size, color);
    }
    TextBox* setLeftLabel(const char* t, const char* font, double size, int color) override {
        return setLabel(kLeft, t, font, size, color);
    }
    void setPyramidSides(int noOfSides) override { sides_ = std::clamp(noOfSides, 3, 100); }
    void setViewAngle(double elevation, double rotation, double twist) override {
        if (std::isfinite(elevation)) elevation_ = std::clamp(elevation, -80.0, 80.0);
        if (std::isfinite(rotation)) rotation_ = rotation;
        if (std::isfinite(twist)) twist_ = twist;
    }
    void setGradientShading(double startBrightness, double endBrightness) override {
        if (std::isfinite(startBrightness) && std::isfinite(endBrightness)) {
            gradient_[0] = std::clamp(startBrightness, 0.0, 4.0);
            gradient_[1] = std::clamp(endBrightness, 0.0, 4.0);
        }
    }
    void setLighting(double ambient, double diffuse, double specular, double shininess) override {
        const double v[4] = {ambient, diffuse, specular, shininess};
        for (int k = 0; k < 4; ++k)
            if (std::isfinite(v[k])) light_[k] = std::clamp(v[k], 0.0, 1000.0);
    }
    void setJoinLine(int color, int width) override {
        joinColor_ = color;
        if (width != -1) joinWidth_ = std::max(0, width);
    }
    void setJoinLineGap(int pyramidGap, int pointerGap, int textGap) override {
        gaps_[0] = std::max(0, pyramidGap);
        if (pointerGap != -1) gaps_[1] = std::max(0, pointerGap);
        if (textGap != -1) gaps_[2] = std::max(0, textGap);
    }
    void setLayerBorder(int color, int width) override {
        borderColor_ = color;
        if (width != -1) borderWidth_ = std::max(0, width);
    }
    void setLayerGap(double layerGap) override {
        if (std::isfinite(layerGap)) layerGap_ = std::clamp(layerGap, 0.0, 1.0);
    }
    PyramidLayer* getLayer(int layerNo) override {
        return static_cast<unsigned>(layerNo) < layers_.size() ? layers_[static_cast<size_t>(layerNo)].get() : nullptr;
    }

    LabelBox* labelStyle(int side) { return labels_[side].style.get(); }
    std::string formatLabel(const std::string& tmpl, const PyramidLayerImpl& layer, int escapeFlags = 0);
    // The layer's outline seen from the front, its depth left out, so that areas of neighbouring
    // layers meet without overlapping.
    std::vector<int> layerOutline(const PyramidLayerImpl& layer) const;

protected:
    void onLayoutLegend() override;
    void onLayoutChart() override;
    void onPaint() override;
    std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                  int offsetY) override;

private:
    enum Shape { kPyramid, kCone, kFunnel };

    void setSolid(Shape shape, int cx, int cy, int radius, int height) {
        shape_ = shape;
        cx_ = cx;
        cy_ = cy;
        radius_ = std::clamp(radius, 1, 100000);
        height_ = std::clamp(height, 1, 100000);
    }
    TextBox* setLabel(int side, const char* t, const char* font, double size, int color) {
        LabelSetting& l = labels_[side];
        l.tmpl = t ? t : "";
        l.set = true;
        l.style->setFontStyle(font ? font : "", 0);
        l.style->setFontSize(size > 0 ? size : 8, 0);
        l.style->setFontColor(color == -1 ? Chart::TextColor : color);
        return l.style.get();
    }
    // Half-width of the solid at height t (0 top, 1 base).
    double profile(double t) const;
    double screenY(double t) const { return cy_ - height_ / 2.0 + t * height_; }
    // Screen point of (x, depth z) at height t, the twist applied.
    void project(double x, double z, double t, double& sx, double& sy) const;
    int sides() const { return shape_ == kPyramid ? sides_ : 120; }
    void paintSlab(DrawArea* d, const PyramidLayerImpl& layer, double t0, double t1);
    int faceColor(DrawArea* d, int color, Vec normal, double x0, double y0, double x1, double y1) const;
    void layoutLabels();
    void paintLabels(DrawArea* d, PyramidLayerImpl& layer);

    Shape shape_ = kPyramid;
    int cx_ = 100, cy_ = 100, radius_ = 100, height_ = 150;
    double tubeRadius_ = 0.2, tubeHeight_ = 0.3;
    int sides_ = 4;
    double elevation_ = 15, rotation_ = 0, twist_ = 0;
    double gradient_[2] = {1, 1};
    double light_[4] = {0.55, 0.5, 0.6, 12};
    int joinColor_ = Chart::LineColor, joinWidth_ = 1;
    int gaps_[3] = {4, 20, 4};
    int borderColor_ = Chart::Transparent, borderWidth_ = 1;
    double layerGap_ = 0;
    LabelSetting labels_[3];
    std::vector<std::unique_ptr<PyramidLayerImpl>> layers_;
};

TextBox* PyramidLayerImpl::setLabel(int side, const char* t, const char* font, double size, int color) {
    LabelSetting& l = labels_[side];
    l.tmpl = t ? t : "";
    l.set = true;
    if (!l.style) l.style = chart_->labelStyle(side)->copyWith("", 0, 0, Chart::TopLeft);
    if (font && *font) l.style->setFontStyle(font, 0);
    if (size > 0) l.style->setFontSize(size, 0);
    if (color != -1) l.style->setFontColor(color);
    return l.style.get();
}

PyramidChart* PyramidChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* c = new PyramidChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    return c;
}

double PyramidChartImpl::profile(double t) const {
    t = std::clamp(t, 0.0, 1.0);
    if (shape_ != kFunnel) return radius_ * t;
    const double neck = 1 - tubeHeight_;
    if (t >= neck) return radius_ * tubeRadius_;
    return radius_ * (1 - (1 - tubeRadius_) * (neck > 0 ? t / neck : 1));
}

void PyramidChartImpl::project(double x, double z, double t, double& sx, double& sy) const {
    const double px = x, py = screenY(t) + z * std::sin(elevation_ * kPi / 180) - cy_;
    const double c = std::cos(twist_ * kPi / 180), s = std::sin(twist_ * kPi / 180);
    sx = cx_ + px * c - py * s;
    sy = cy_ + px * s + py * c;
}

std::string PyramidChartImpl::formatLabel(const std::string& tmpl, const PyramidLayerImpl& layer, int escapeFlags) {
    PVParser parser(tmpl.c_str(), escapeFlags);
    Formatter& f = getFormatter();
    while (const char* name = parser.getNextAttr()) {
        const std::string field = name;
        const char* code = parser.getFormatString();
        if (field == "label")
            parser.replaceAttr(layer.name_.c_str());
        else if (field == "value")
            parser.replaceAttr(f.format(code, layer.value_));
        else if (field == "percent")
            parser.replaceAttr(f.format(code && *code ? code : "2", 100 * layer.fraction_));
        else if (field == "index")
            parser.replaceAttr(std::to_string(layer.index_).c_str());
        else
            formatCustomAttr(parser, f, 0, layer.index_, name);
    }
    return parser.getResult(&f);
}

std::vector<int> PyramidChartImpl::layerOutline(const PyramidLayerImpl& layer) const {
    std::vector<double> heights = {layer.t0_};
    const double neck = 1 - tubeHeight_;
    if (shape_ == kFunnel && layer.t0_ < neck && layer.t1_ > neck) heights.push_back(neck);
    heights.push_back(layer.t1_);
    std::vector<int> xy;
    for (int side : {1, -1}) {
        for (size_t k = 0; k < heights.size(); ++k) {
            const double t = side > 0 ? heights[k] : heights[heights.size() - 1 - k];
            double sx, sy;
            project(side * profile(t), 0, t, sx, sy);
            xy.push_back(roundPixel(sx));
            xy.push_back(roundPixel(sy));
        }
    }
    return xy;
}

std::string PyramidChartImpl::onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                                int offsetX, int offsetY) {
    std::string map;
    AreaTemplates t = areaTemplates("", "", "", url, queryFormat, extraAttr,
                                    "index={index}&label={label}&value={value}&percent={percent}");
    if (!t.enabled) return map;
    layout();
    for (const auto& l : layers_) {
        if (!l->hasValue() || !(l->t1_ > l->t0_)) continue;
        std::vector<int> xy = layerOutline(*l);
        if (!fitHotSpot(xy)) continue;
        appendArea(map, xy, offsetX, offsetY,
                   t.extra.empty() ? t.extra : formatLabel(t.extra, *l, PVParser::EscapeHtml),
                   t.link.empty() ? t.link : formatLabel(t.link, *l, PVParser::EscapeUrl));
    }
    return map;
}

// Shares, and each layer's span of the solid's height.
void PyramidChartImpl::onLayoutLegend() {
    double total = 0;
    int shown = 0;
    for (auto& l : layers_)
        if (l->hasValue()) total += std::fabs(l->value_), ++shown;
    if (!(std::isfinite(total))) total = 0;
    double gaps = 0;
    bool first = true;
    for (auto& l : layers_) {
        if (!l->hasValue()) continue;
        l->fraction_ = total > 0 ? std::fabs(l->value_) / total : 1.0 / shown;
        if (!first) gaps += l->gap_ >= 0 ? l->gap_ : layerGap_;
        first = false;
    }
    const double scale = std::max(0.0, 1 - gaps);
    // Layers are stacked from the base of a pyramid or cone, from the top of a funnel.
    double t = shape_ == kFunnel ? 0 : 1;
    first = true;
    for (auto& l : layers_) {
        if (!l->hasValue()) continue;
        const double gap = first ? 0 : (l->gap_ >= 0 ? l->gap_ : layerGap_);
        first = false;
        const double h = l->fraction_ * scale;
        if (shape_ == kFunnel) {
            l->t0_ = t + gap;
            l->t1_ = t = l->t0_ + h;
        } else {
            l->t1_ = t - gap;
            l->t0_ = t = l->t1_ - h;
        }
    }
    for (auto& l : layers_) {
        if (l->color_ == -1) l->color_ = Chart::DataColor + l->index_;
        if (l->joinColor_ == -1) l->joinColor_ = joinColor_;
        if (l->joinWidth_ == -1) l->joinWidth_ = joinWidth_;
        if (l->borderColor_ == -1) l->borderColor_ = borderColor_;
        if (l->borderWidth_ == -1) l->borderWidth_ = borderWidth_;
        for (int k = 0; k < 3; ++k)
            if (l->gaps_[k] == -1) l->gaps_[k] = gaps_[k];
    }
}

void PyramidChartImpl::onLayoutChart() { layoutLabels(); }

void PyramidChartImpl::onPaint() {
    DrawArea* d = getRawDrawArea();
    std::vector<PyramidLayerImpl*> order;
    for (auto& l : layers_)
        if (l->hasValue() && l->t1_ > l->t0_) order.push_back(l.get());
    // Far end of the stack first: the base when looking down.
    std::sort(order.begin(), order.end(), [this](PyramidLayerImpl* a, PyramidLayerImpl* b) {
        return elevation_ >= 0 ? a->t0_ > b->t0_ : a->t0_ < b->t0_;
    });
    const double neck = 1 - tubeHeight_;
    for (PyramidLayerImpl* l : order) {
        if (shape_ == kFunnel && l->t0_ < neck && l->t1_ > neck) {
            const bool down = elevation_ >= 0;
            paintSlab(d, *l, down ? neck : l->t0_, down ? l->t1_ : neck);
            paintSlab(d, *l, down ? l->t0_ : neck, down ? neck : l->t1_);
        } else {
            paintSlab(d, *l, l->t0_, l->t1_);
        }
    }
    for (auto& l : layers_) paintLabels(d, *l);
}

int PyramidChartImpl::faceColor(DrawArea* d, int color, Vec n, double x0, double y0, double x1, double y1) const {
    const Vec lightDir = normalise({-0.45, 0.55, 0.7}), view{0, std::sin(elevation_ * kPi / 180), std::cos(elevation_ * kPi / 180)};
    const double nl = std::max(0.0, dot(n, lightDir));
    const Vec r{2 * nl * n.x - lightDir.x, 2 * nl * n.y - lightDir.y, 2 * nl * n.z - lightDir.z};
    const double specular = std::pow(std::max(0.0, dot(r, view)), std::max(1.0, light_[3]));
    const double b = light_[0] + light_[1] * nl + light_[2] * specular;
    const int base = d->getARGBColor(color);
    if (gradient_[0] == 1 && gradient_[1] == 1) return d->adjustBrightness(base, b);
    return d->linearGradientColor(roundPixel(x0), roundPixel(y0), roundPixel(x1), roundPixel(y1),
                                  d->adjustBrightness(base, b * gradient_[0]), d->adjustBrightness(base, b * gradient_[1]));
}

void PyramidChartImpl::paintSlab(DrawArea* d, const PyramidLayerImpl& layer, double t0, double t1) {
    const int n = sides();
    const double r0 = profile(t0), r1 = profile(t1);
    const double slope = (r1 - r0) / std::max(1e-9, (t1 - t0) * height_);  // widening per pixel downwards
    const double tilt = std::atan(slope);
    const double el = elevation_ * kPi / 180;
    const Vec view{0, std::sin(el), std::cos(el)};
    const bool round = shape_ != kPyramid;
    const int border = round ? Chart::Transparent : layer.borderColor_;
    int c = layer.color_;
    d->setColorTable(&c, 1, Chart::SameAsMainColor & 0xffff);
    // Unturned, a corner of a pyramid faces the viewer, so two lit faces show.
    auto angle = [&](int k) { return (rotation_ + 360.0 * k / n) * kPi / 180; };
    for (int k = 0; k < n; ++k) {
        const double a0 = angle(k), a1 = angle(k + 1), am = (a0 + a1) / 2;
        const Vec normal{std::cos(tilt) * std::sin(am), std::sin(tilt), std::cos(tilt) * std::cos(am)};
        if (dot(normal, view) <= 0) continue;
        double x[4], y[4];
        project(r0 * std::sin(a0), r0 * std::cos(a0), t0, x[0], y[0]);
        project(r0 * std::sin(a1), r0 * std::cos(a1), t0, x[1], y[1]);
        project(r1 * std::sin(a1), r1 * std::cos(a1), t1, x[2], y[2]);
        project(r1 * std::sin(a0), r1 * std::cos(a0), t1, x[3], y[3]);
        // A round solid's faces share one gradient across its width, so no facet shows.
        const double gx0 = round ? cx_ - radius_ : std::min(x[0], x[3]), gx1 = round ? cx_ + radius_ : std::max(x[1], x[2]);
        const int fill = faceColor(d, layer.color_, normal, gx0, y[3], gx1, y[3]);
        d->polygon(DoubleArray(x, 4), DoubleArray(y, 4), border == Chart::Transparent ? fill : border, fill);
    }
    // The cap facing the viewer.
    const double capT = elevation_ >= 0 ? t0 : t1, capR = elevation_ >= 0 ? r0 : r1;
    if (capR < 0.5 || elevation_ == 0) return;
    std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        project(capR * std::sin(angle(k)), capR * std::cos(angle(k)), capT, x[static_cast<size_t>(k)], y[static_cast<size_t>(k)]);
    const int fill = faceColor(d, layer.color_, Vec{0, elevation_ >= 0 ? 1.0 : -1.0, 0}, x[0], y[0], x[0], y[0]);
    d->polygon(DoubleArray(x.data(), n), DoubleArray(y.data(), n), border == Chart::Transparent ? fill : border, fill);
}

void PyramidChartImpl::layoutLabels() {
    std::vector<SpreadItem> columns[3];
    std::vector<LabelBox*> boxes[3];
    for (auto& lp : layers_) {
        PyramidLayerImpl& l = *lp;
        for (int side = 0; side < 3; ++side) {
            l.shown_[side].reset();
            const LabelSetting& own = l.labels_[side];
            const LabelSetting& chart = labels_[side];
            const std::string& tmpl = own.set ? own.tmpl : chart.tmpl;
            const LabelBox* style = own.style ? own.style.get() : chart.style.get();
            if (!l.hasValue() || tmpl.empty() || !(own.set || chart.set)) continue;
            const double mid = (l.t0_ + l.t1_) / 2;
            double sx, sy;
            project(0, 0, mid, sx, sy);
            const int reach = roundPixel(radius_) + l.gaps_[0] + l.gaps_[1] + l.gaps_[2];
            const int x = side == kCenter ? roundPixel(sx) : side == kRight ? cx_ + reach : cx_ - reach;
            const int alignment = side == kCenter ? Chart::Center : side == kRight ? Chart::Left : Chart::Right;
            l.shown_[side] = style->copyWith(formatLabel(tmpl, l), x, roundPixel(sy), alignment);
            if (side == kCenter) continue;
            LabelBox& box = *l.shown_[side];
            columns[side].push_back({double(box.getTopY()), double(box.getHeight())});
            boxes[side].push_back(&box);
        }
    }
    for (int side : {kRight, kLeft}) {
        // Funnel layers run downwards, pyramid layers upwards: spread them top to bottom.
        std::vector<size_t> order(columns[side].size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return columns[side][a].want < columns[side][b].want; });
        std::vector<SpreadItem> sorted;
        for (size_t i : order) sorted.push_back(columns[side][i]);
        spreadLabels(sorted, 0, getHeight());
        for (size_t k = 0; k < order.size(); ++k) {
            LabelBox& box = *boxes[side][order[k]];
            box.setPos(box.offsetX(), box.offsetY() + roundPixel(sorted[k].top) - box.getTopY());
        }
    }
}

void PyramidChartImpl::paintLabels(DrawArea* d, PyramidLayerImpl& l) {
    int c = l.color_;
    d->setColorTable(&c, 1, Chart::SameAsMainColor & 0xffff);
    for (int side : {kRight, kLeft}) {
        if (!l.shown_[side]) continue;
        LabelBox& box = *l.shown_[side];
        const double mid = (l.t0_ + l.t1_) / 2;
        const int sign = side == kRight ? 1 : -1;
        // The silhouette at the layer's middle: the widest the cross-section reaches sideways.
        double sx, sy;
        project(sign * profile(mid), 0, mid, sx, sy);
        const int from = roundPixel(sx) + sign * l.gaps_[0];
        const int to = side == kRight ? box.getLeftX() - l.gaps_[2] : box.getLeftX() + box.getWidth() + l.gaps_[2];
        const int y = box.getTopY() + box.getHeight() / 2;
        if (l.joinWidth_ > 0 && sign * (to - from) > 0) {
            const int bend = to - sign * std::min(sign * (to - from), 8);
            d->line(from, roundPixel(sy), bend, y, l.joinColor_, l.joinWidth_);
            d->line(bend, y, to, y, l.joinColor_, l.joinWidth_);
        }
        box.paint(d);
    }
    if (l.shown_[kCenter]) l.shown_[kCenter]->paint(d);
}

}  // namespace plotvane

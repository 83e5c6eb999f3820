// The polar chart: layout, background, zones, grid and the angular labels.
//
// A radius value r lies R = the radial axis's offset of |r| pixels from the centre (pointing the
// other way for a negative r; never inside the centre, so a log axis puts zero there); an angle
// value a lies at screen angle start + dir * 360 * t, t being a's share of the angular scale: a / n
// on a label axis of n labels (so the labels share the circle evenly and the last does not fall
// on the first), (a - lower) / (upper - lower) on a numeric one. Angles outside the scale simply
// go on round the circle.
//
// Rings, zones and the edge are outlines at a radius between two screen angles: arcs, or with the
// polygon grid the straight chords between neighbouring spokes (the ray at angle t meets the chord
// of spokes s1 < t < s2 at R cos(h) / cos(t - m), m the chord's middle and h half its span). A
// polygon needs at least three spokes less than half a turn apart; otherwise rings are circles.
// Filled rings are one polygon: the outer outline one way and the inner one back.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/imagemap_p.h"
#include "chart/legendbox_p.h"
#include "chart/other/polarchart_p.h"
#include "chart/xy/linepen_p.h"
#include "chart/pixel_p.h"
#include "draw/canvaslimits_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

AngularAxis::~AngularAxis() = default;
RadialAxis::~RadialAxis() = default;

namespace {

using polar::isSet;
using polar::kPi;
using polar::wrap360;

// Screen angles this close are one spoke.
constexpr double kAngleTolerance = 1e-9;

}  // namespace

void PolarChartImpl::strokePath(DrawArea* d, const std::vector<double>& xs, const std::vector<double>& ys, int color,
                                int width) {
    if (xs.size() < 2 || width < 1 || color == Chart::Transparent) return;
    // The clip only keeps the pen finite.
    const FrameBox clip{-1e6, -1e6, 1e6, 1e6};
    LinePen pen(d, clip, false, 0, 0, LineStyle{color, width}, LineStyle{color, width});
    std::vector<LinePoint> path;
    path.reserve(xs.size());
    for (size_t k = 0; k < xs.size(); ++k) path.push_back({xs[k], ys[k], false});
    pen.draw(path);
}

PolarChart* PolarChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* c = new PolarChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    return c;
}

PolarChartImpl::PolarChartImpl() : angular_(this), radial_(this) {
    angular_.setLinearScale(0, 360, 30, 0);
    // Radii grow from the centre: the scale leans to zero as a y axis does.
    radial_.scale().setDefaultAutoScale(0.1, 0.1, 0.8);
}

PolarChartImpl::~PolarChartImpl() = default;

void PolarChartImpl::setPlotArea(int x, int y, int r, int bgColor, int edgeColor, int edgeWidth) {
    placed_ = true;
    cx_ = x;
    cy_ = y;
    radius_ = std::clamp(r, 1, 1000000);
    bgColor1_ = bgColor;
    edgeColor_ = edgeColor;
    edgeWidth_ = std::clamp(edgeWidth, 0, 1000);
}

void PolarChartImpl::setPlotAreaBg(int bgColor1, int bgColor2, bool altRings) {
    bgColor1_ = bgColor1;
    bgColor2_ = bgColor2;
    altRings_ = altRings;
}

void PolarChartImpl::setGridColor(int rGridColor, int rGridWidth, int aGridColor, int aGridWidth) {
    rGridColor_ = rGridColor;
    rGridWidth_ = std::clamp(rGridWidth, 0, 1000);
    aGridColor_ = aGridColor;
    aGridWidth_ = std::clamp(aGridWidth, 0, 1000);
}

void PolarChartImpl::setGridStyle(bool polygonGrid, bool gridOnTop) {
    polygonGrid_ = polygonGrid;
    gridOnTop_ = gridOnTop;
}

void PolarChartImpl::setStartAngle(double startAngle, bool clockwise) {
    if (std::isfinite(startAngle)) startAngle_ = wrap360(startAngle);
    clockwise_ = clockwise;
}

int PolarChartImpl::getXCoor(double r, double a) {
    layout();
    double x, y;
    return toPixel(r, a, x, y) ? roundPixel(x) : Chart::NoIntValue;
}

int PolarChartImpl::getYCoor(double r, double a) {
    layout();
    double x, y;
    return toPixel(r, a, x, y) ? roundPixel(y) : Chart::NoIntValue;
}

double PolarChartImpl::radialPixels(double r) const {
    if (!isSet(r)) return Chart::NoValue;
    double m = radial_.scale().coorOf(std::fabs(r));
    if (!isSet(m)) return Chart::NoValue;
    m = std::max(m, 0.0);
    return r < 0 ? -m : m;
}

double PolarChartImpl::screenAngle(double a) const {
    if (!isSet(a)) return Chart::NoValue;
    const AxisScale& s = angular_.scale();
    double turn;
    if (s.isLabelAxis()) {
        turn = a / static_cast<double>(std::max<size_t>(s.labelAxisCount(), 1));
    } else {
        double lo = s.getMinValue(), hi = s.getMaxValue();
        turn = isSet(lo) && isSet(hi) && hi != lo ? (a - lo) / (hi - lo) : a / 360;
    }
    if (s.runsBackwards()) turn = -turn;
    return wrap360(startAngle_ + (clockwise_ ? 360 : -360) * std::fmod(turn, 1.0));
}

bool PolarChartImpl::toPixel(double r, double a, double& x, double& y) const {
    double R = radialPixels(r), t = screenAngle(a);
    if (!isSet(R) || !isSet(t)) return false;
    x = cx_ + R * std::sin(t * kPi / 180);
    y = cy_ - R * std::cos(t * kPi / 180);
    return true;
}

std::string PolarChartImpl::angularLabel(double a) {
    const char* text = isSet(a) ? angular_.getLabel(a) : nullptr;
    return text ? text : "";
}

void PolarChartImpl::onLayoutLegend() {
    for (size_t k = 0; k < layers_.size(); ++k) layers_[k]->layoutLegend(static_cast<int>(k));
}

void PolarChartImpl::layoutAngular() {
    double lo = Chart::NoValue, hi = Chart::NoValue;
    for (auto& l : layers_) l->angleRange(lo, hi);
    angular_.layout(lo, hi);
}

void PolarChartImpl::fitRoom() {
    constexpr int kPadding = 8;
    const ChartRoom& room = this->room();
    int labelWidth = 0, labelHeight = 0;
    for (const AxisImpl::Label& l : angular_.builtLabels()) {
        labelWidth = std::max(labelWidth, l.box->getWidth());
        labelHeight = std::max(labelHeight, l.box->getHeight());
    }
    const int gap = angularTextGap() + kPadding, title = titleRoom();
    int w = room.right - room.left - 2 * (labelWidth + gap);
    int h = room.bottom - room.top - 2 * (labelHeight + gap) - title;
    cx_ = (room.left + room.right) / 2;
    cy_ = (room.top + room.bottom + (titleAbove() ? title : -title)) / 2;
    radius_ = std::max(1, std::min(w, h) / 2);
}

void PolarChartImpl::onLayoutChart() {
    layoutAngular();
    if (!placed_) fitRoom();
    double lo = Chart::NoValue, hi = 0;
    for (auto& l : layers_) l->radiusRange(lo, hi);
    radial_.setAngle(startAngle_);
    radial_.place(cx_, cy_, radius_);
    radial_.layout(lo, hi);
    spokes_ = spokeAngles();
    for (auto& l : layers_) l->layout();
}

std::vector<double> PolarChartImpl::spokeAngles() const {
    std::vector<double> angles;
    for (const AxisTick& t : angular_.scale().getTicks()) {
        if (t.kind != TickKind::Major) continue;
        double a = screenAngle(t.value);
        if (isSet(a)) angles.push_back(a);
    }
    std::sort(angles.begin(), angles.end());
    // The upper end of a numeric scale comes round onto its lower end.
    angles.erase(std::unique(angles.begin(), angles.end(),
                             [](double p, double q) { return std::fabs(p - q) < kAngleTolerance; }),
                 angles.end());
    if (angles.size() > 1 && angles.back() - angles.front() > 360 - kAngleTolerance) angles.pop_back();
    return angles;
}

bool PolarChartImpl::polygonRings() const {
    const size_t n = spokes_.size();
    if (!polygonGrid_ || n < 3) return false;
    for (size_t k = 0; k < n; ++k) {
        double next = k + 1 < n ? spokes_[k + 1] : spokes_[0] + 360;
        if (next - spokes_[k] >= 180) return false;
    }
    return true;
}

double PolarChartImpl::outlineRadius(double R, double t) const {
    if (!polygonRings()) return R;
    // The chord under angle t, between the spokes around it.
    const size_t n = spokes_.size();
    double w = wrap360(t);
    size_t i = static_cast<size_t>(std::upper_bound(spokes_.begin(), spokes_.end(), w) - spokes_.begin());
    double s1 = i == 0 ? spokes_[n - 1] - 360 : spokes_[i - 1];
    double s2 = i == n ? spokes_[0] + 360 : spokes_[i];
    double half = (s2 - s1) / 2, mid = s1 + half;
    return R * std::cos(half * kPi / 180) / std::cos((w - mid) * kPi / 180);
}

void PolarChartImpl::ringPath(double R, double from, double to, std::vector<double>& xs, std::vector<double>& ys) const {
    auto put = [&](double r, double t) {
        xs.push_back(cx_ + r * std::sin(t * kPi / 180));
        ys.push_back(cy_ - r * std::cos(t * kPi / 180));
    };
    const double dir = to >= from ? 1 : -1;
    if (!polygonRings()) {
        double sweep = std::fabs(to - from);
        int steps = static_cast<int>(std::clamp(std::ceil(sweep * kPi / 180 * R / 3), 8.0, 3600.0));
        for (int k = 0; k <= steps; ++k) put(R, from + (to - from) * k / steps);
        return;
    }
    put(outlineRadius(R, from), from);
    // Spokes strictly between, in the direction of travel.
    double base = std::floor(std::min(from, to) / 360) * 360;
    std::vector<double> corners;
    for (double turn = base; turn < std::max(from, to); turn += 360)
        for (double s : spokes_) {
            double t = turn + s;
            if (t > std::min(from, to) + kAngleTolerance && t < std::max(from, to) - kAngleTolerance) corners.push_back(t);
        }
    if (dir < 0) std::reverse(corners.begin(), corners.end());
    for (double t : corners) put(R, t);
    put(outlineRadius(R, to), to);
}

void PolarChartImpl::fillRing(DrawArea* d, double r1, double r2, double from, double to, int color,
                              int edge) const {
    if ((color == Chart::Transparent && edge == Chart::Transparent) || !(r2 > r1)) return;
    std::vector<double> xs, ys;
    ringPath(r2, from, to, xs, ys);
    if (r1 > 0)
        ringPath(r1, to, from, xs, ys);
    else if (std::fabs(to - from) < 360) {
        xs.push_back(cx_);
        ys.push_back(cy_);
    }
    d->polygon(DoubleArray(xs.data(), static_cast<int>(xs.size())), DoubleArray(ys.data(), static_cast<int>(ys.size())),
               edge, color);
}

std::vector<double> PolarChartImpl::ringRadii() const {
    std::vector<double> radii;
    for (const AxisTick& t : radial_.scale().getTicks()) {
        if (t.kind != TickKind::Major) continue;
        double R = radialPixels(t.value);
        if (isSet(R) && R > 0.5 && R <= radius_ + 0.5) radii.push_back(R);
    }
    std::sort(radii.begin(), radii.end());
    return radii;
}

void PolarChartImpl::paintBackground(DrawArea* d) {
    const double full = startAngle_ + 360;
    if (!(altRings_ && bgColor2_ != -1 && bgColor2_ != bgColor1_)) {
        fillRing(d, 0, radius_, startAngle_, full, bgColor1_);
        return;
    }
    std::vector<double> radii = ringRadii();
    if (radii.empty() || radii.back() < radius_ - 0.5) radii.push_back(radius_);
    double inner = 0;
    for (size_t k = 0; k < radii.size(); ++k) {
        fillRing(d, inner, radii[k], startAngle_, full, k % 2 == 0 ? bgColor1_ : bgColor2_);
        inner = radii[k];
    }
}

void PolarChartImpl::paintZones(DrawArea* d) {
    for (const AngularAxisImpl::SectorZone& z : angular_.sectorZones()) {
        double a1 = screenAngle(z.start), a2 = screenAngle(z.end);
        if (!isSet(a1) || !isSet(a2)) continue;
        // Screen angles wrap: the zone runs from its start the way the axis runs.
        double sweep = wrap360((a2 - a1) * (clockwise_ ? 1 : -1));
        if (sweep == 0 && z.end != z.start) sweep = 360;
        fillRing(d, z.inner, z.outer < 0 ? radius_ : z.outer, a1, a1 + (clockwise_ ? sweep : -sweep), z.fill,
                 z.edge);
    }
    for (const AxisImpl::Zone& z : radial_.zones()) {
        double r1 = radialPixels(z.start), r2 = radialPixels(z.end);
        if (!isSet(r1) || !isSet(r2)) continue;
        r1 = std::clamp(std::fabs(r1), 0.0, double(radius_));
        r2 = std::clamp(std::fabs(r2), 0.0, double(radius_));
        fillRing(d, std::min(r1, r2), std::max(r1, r2), startAngle_, startAngle_ + 360, z.color);
    }
}

void PolarChartImpl::paintGrid(DrawArea* d) {
    const double full = startAngle_ + 360;
    std::vector<double> xs, ys;
    for (double R : ringRadii()) {
        xs.clear();
        ys.clear();
        ringPath(R, startAngle_, full, xs, ys);
        strokePath(d, xs, ys, rGridColor_, rGridWidth_);
    }
    if (aGridWidth_ > 0 && aGridColor_ != Chart::Transparent)
        for (double t : spokes_)
            d->line(cx_, cy_, cx_ + radius_ * std::sin(t * kPi / 180), cy_ - radius_ * std::cos(t * kPi / 180),
                    aGridColor_, aGridWidth_);
}

double PolarChartImpl::angularValueAt(double screen) const {
    double turn = wrap360((clockwise_ ? 1 : -1) * (screen - startAngle_)) / 360;
    const AxisScale& s = angular_.scale();
    if (s.runsBackwards()) turn = turn > 0 ? 1 - turn : 0;
    if (s.isLabelAxis()) return turn * static_cast<double>(std::max<size_t>(s.labelAxisCount(), 1));
    double lo = s.getMinValue(), hi = s.getMaxValue();
    return isSet(lo) && isSet(hi) && hi != lo ? lo + turn * (hi - lo) : turn * 360;
}

std::string PolarChartImpl::angularLabelMap(const char* url, const char* queryFormat, const char* extraAttr,
                                            int offsetX, int offsetY) {
    std::string map;
    AreaTemplates t = areaTemplates("", "", "", url, queryFormat, extraAttr, AxisImpl::kAxisQuery);
    if (!t.enabled) return map;
    layout();
    for (PlacedLabel& l : placeAngularLabels()) {
        const std::string& text = l.box->text();
        if (text.empty()) continue;
        appendArea(map, l.box->imageSpot(0, 0), offsetX, offsetY,
                   angular_.fillAxisArea(t.extra, l.value, text, PVParser::EscapeHtml),
                   angular_.fillAxisArea(t.link, l.value, text, PVParser::EscapeUrl));
    }
    return map;
}

std::string PolarChartImpl::angularSegmentMap(int segments, int mapWidth, const char* url, const char* queryFormat,
                                              const char* extraAttr, int offsetX, int offsetY) {
    std::string map;
    AreaTemplates t = areaTemplates("", "", "", url, queryFormat, extraAttr, AxisImpl::kAxisQuery);
    if (!t.enabled || segments <= 0 || mapWidth <= 0) return map;
    layout();
    // Segments narrower than a pixel of the circle could not be told apart.
    segments = std::min(segments, std::max(1, static_cast<int>(2 * kPi * radius_)));
    const double inner = radius_, outer = radius_ + std::min(mapWidth, 100000);
    for (int k = 0; k < segments; ++k) {
        const double from = startAngle_ + 360.0 * k / segments, to = startAngle_ + 360.0 * (k + 1) / segments;
        // Arcs in steps of at most 30 degrees, out along the outer edge and back along the inner.
        const int steps = static_cast<int>(std::ceil((to - from) / 30 - 1e-9));
        std::vector<int> xy;
        for (int side = 0; side < 2; ++side) {
            for (int i = 0; i <= steps; ++i) {
                double a = side == 0 ? from + (to - from) * i / steps : to - (to - from) * i / steps;
                double r = side == 0 ? outer : inner;
                xy.push_back(roundPixel(cx_ + r * std::sin(a * kPi / 180)));
                xy.push_back(roundPixel(cy_ - r * std::cos(a * kPi / 180)));
            }
        }
        if (!fitHotSpot(xy)) continue;
        double value = angularValueAt(wrap360((from + to) / 2));
        std::string label = angular_.formattedLabel(value, nullptr);
        appendArea(map, xy, offsetX, offsetY, angular_.fillAxisArea(t.extra, value, label, PVParser::EscapeHtml),
                   angular_.fillAxisArea(t.link, value, label, PVParser::EscapeUrl));
    }
    return map;
}

AngularAxisImpl::AngularAxisImpl(PolarChartImpl* chart) : AxisImpl(chart, Chart::Top), polar_(chart) {}

void AngularAxisImpl::addZone(double startValue, double endValue, int color) {
    if (!isSet(startValue) || !isSet(endValue)) return;
    sectorZones_.push_back({startValue, endValue, 0, -1, color, Chart::Transparent});
}

void AngularAxisImpl::addZone(double startValue, double endValue, int startRadius, int endRadius,
                              int fillColor, int edgeColor) {
    const int r1 = std::clamp(startRadius, 0, kMaxCoordinate), r2 = std::clamp(endRadius, 0, kMaxCoordinate);
    if (!isSet(startValue) || !isSet(endValue) || r1 == r2) return;
    const int edge = edgeColor == -1 || edgeColor == Chart::Transparent ? fillColor : edgeColor;
    sectorZones_.push_back({startValue, endValue, std::min(r1, r2), std::max(r1, r2), fillColor, edge});
}

const char* AngularAxisImpl::getAxisImageMap(int noOfSegments, int mapWidth, const char* url, const char* queryFormat,
                                             const char* extraAttr, int offsetX, int offsetY) {
    mapText_ = polar_->angularSegmentMap(noOfSegments, mapWidth, url, queryFormat, extraAttr, offsetX, offsetY);
    return mapText_.c_str();
}

const char* AngularAxisImpl::getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                             int offsetX, int offsetY) {
    mapText_ = polar_->angularLabelMap(url, queryFormat, extraAttr, offsetX, offsetY);
    return mapText_.c_str();
}

void PolarChartImpl::onPaint() {
    DrawArea* d = getRawDrawArea();
    paintBackground(d);
    paintZones(d);
    if (!gridOnTop_) paintGrid(d);
    paintMarks(d, false);
    for (auto& l : layers_) l->paint(d);
    if (gridOnTop_) paintGrid(d);
    paintMarks(d, true);
    if (edgeColor_ != Chart::Transparent) {
        std::vector<double> xs, ys;
        ringPath(radius_, startAngle_, startAngle_ + 360, xs, ys);
        strokePath(d, xs, ys, edgeColor_, edgeWidth_);
    }
    for (auto& l : layers_) l->paintSymbols(d);
    radial_.paint(d);
    paintAngularTicks(d);
    paintAngularLabels(d);
    paintAngularTitle(d);
    for (auto& l : layers_) l->paintLabels(d);
}

std::string PolarChartImpl::onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                              int offsetX, int offsetY) {
    std::string map;
    for (auto& l : layers_) map += l->getHTMLImageMap(url, queryFormat, extraAttr, offsetX, offsetY);
    return map;
}

}  // namespace plotvane

// Pie and donut charts: settings, shares, where each sector lies, legend entries and hot spots.
// Painting is in piepaint.cpp, labels in pielabels.cpp.
//
// Each value with a number gets a sector whose sweep is its share of the sum of magnitudes (so
// negative values count by size); when that sum is 0 every sector gets an equal share. Values that
// are NaN or infinite get no sector, no label and no legend entry. Sectors run from the start
// angle, clockwise or anticlockwise; a sector's angles never wrap (end = start + sweep), which keeps
// every later test a plain comparison. Explosions move a sector's centre along its mid angle,
// flattened like the ellipse in 3D, and an explode group moves a run of sectors along the run's mid
// angle; the offsets of several groups add up.
#include "chart/other/piechart_p.h"

#include <algorithm>
#include <cmath>

#include "chart/box_p.h"
#include "chart/imagemap_p.h"
#include "chart/legendbox_p.h"
#include "text/pvparser_p.h"
#include "chart/pixel_p.h"
#include "foundation/lasterror_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 2 * kPi;
// Each sector is laid out and labelled on its own; past this they are slivers anyway.
constexpr int kMaxSectors = 10000;

double wrapAngle(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

void styleBox(LabelBox& box, const char* font, double fontSize, int fontColor) {
    box.setFontStyle(font ? font : "", 0);
    box.setFontSize(fontSize, 0);
    box.setFontColor(fontColor);
}

}  // namespace

Sector::~Sector() = default;

// ---- sectors

SectorImpl::SectorImpl(PieChartImpl* chart, int index, double value, std::string name, std::string icon)
    : index_(index), value_(std::isfinite(value) ? value : Chart::NoValue), name_(std::move(name)),
      icon_(std::move(icon)), color_(Chart::DataColor + index), chart_(chart) {}

void SectorImpl::setColor(int color, int edgeColor, int joinLineColor) {
    color_ = color;
    if (edgeColor != -1) edgeColor_ = edgeColor;
    if (joinLineColor != -1) joinColor_ = joinLineColor;
}

void SectorImpl::setStyle(int shadingMethod, int edgeColor, int edgeWidth) {
    if (shadingMethod != -1) shading_ = shadingMethod;
    if (edgeColor != -1) edgeColor_ = edgeColor;
    if (edgeWidth != -1) edgeWidth_ = edgeWidth;
}

TextBox* SectorImpl::setLabelStyle(const char* font, double fontSize, int fontColor) {
    if (!labelStyle_) labelStyle_ = chart_->labelPrototype()->copyWith("", 0, 0, Chart::TopLeft);
    styleBox(*labelStyle_, font, fontSize, fontColor);
    return labelStyle_.get();
}

void SectorImpl::setLabelPos(int pos, int joinLineColor) {
    labelLayout_ = pos > 32767 ? Chart::SideLayout : Chart::CircleLayout;
    labelPos_ = pos > 32767 ? pos & 0x7fff : pos;
    if (joinLineColor != -1) joinColor_ = joinLineColor;
}

void SectorImpl::setLabelLayout(int layoutMethod, int pos) {
    labelLayout_ = layoutMethod;
    if (pos != -1) labelPos_ = pos;
}

void SectorImpl::setJoinLine(int joinLineColor, int joinLineWidth) {
    joinColor_ = joinLineColor;
    joinWidth_ = joinLineWidth;
}

// The top face as a polygon: the outer arc one way, the hole's arc (or the centre) back.
std::vector<int> SectorImpl::imageSpot(int offsetX, int offsetY) const {
    std::vector<int> xy;
    if (!hasValue() || g_.end <= g_.start) return xy;
    const double sweep = g_.end - g_.start;
    const int steps = std::max(1, static_cast<int>(std::ceil(sweep / (kPi / 18))));
    auto add = [&](double a, int rx, int ry) {
        xy.push_back(roundPixel(g_.cx + rx * std::sin(a)) + offsetX);
        xy.push_back(roundPixel(g_.cy - ry * std::cos(a)) + offsetY);
    };
    for (int k = 0; k <= steps; ++k) add(g_.start + sweep * k / steps, g_.rx, g_.ry);
    if (g_.irx > 0 || g_.iry > 0)
        for (int k = steps; k >= 0; --k) add(g_.start + sweep * k / steps, g_.irx, g_.iry);
    else
        add(0, 0, 0);
    return xy;
}

const char* SectorImpl::getImageCoor(int offsetX, int offsetY) {
    std::vector<int> xy = imageSpot(offsetX, offsetY);
    coor_.clear();
    // Written as a polygon whatever its count, as a sector always is.
    if (!xy.empty()) {
        coor_ = "shape=\"poly\" coords=\"";
        for (size_t k = 0; k < xy.size(); ++k) coor_ += (k ? "," : "") + std::to_string(xy[k]);
        coor_ += '"';
    }
    return coor_.c_str();
}

const char* SectorImpl::getLabelCoor(int offsetX, int offsetY) {
    if (!label_) {
        coor_.clear();
        return coor_.c_str();
    }
    return label_->getImageCoor(offsetX, offsetY);
}

// ---- the chart

PieChart* PieChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* c = new PieChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    return c;
}

PieChartImpl::PieChartImpl() : labelStyle_(std::make_unique<LabelBox>(getRawDrawArea())) {
    labelStyle_->setFontSize(8, 0);
    labelStyle_->setBackground(-1, Chart::Transparent, 0);
}

PieChartImpl::~PieChartImpl() = default;

void PieChartImpl::setDonutSize(int x, int y, int r, int r2) {
    cx_ = x;
    cy_ = y;
    r_ = std::max(r, r2) < 2 ? 1 : std::max(r, r2);
    r2_ = std::max(0, std::min(r, r2));
    if (r2_ >= r_) r2_ = 0;
}

void PieChartImpl::set3D(int depth, double angle, bool shadowMode) {
    depth_ = depth == -1 ? std::max(1, getHeight() / 20) : std::max(0, depth);
    angle3D_ = angle == -1 ? (depth == 0 ? 0 : 45) : angle;
    shadowMode_ = shadowMode;
}

void PieChartImpl::set3D(DoubleArray depths, double angle, bool shadowMode) {
    depths_.clear();
    for (int i = 0; depths.data && i < depths.len; ++i)
        depths_.push_back(std::isfinite(depths[i]) ? std::clamp(depths[i], 0.0, 1e5) : 0.0);
    angle3D_ = angle == -1 ? 45 : angle;
    shadowMode_ = shadowMode;
}

void PieChartImpl::setSectorStyle(int shadingMethod, int edgeColor, int edgeWidth) {
    if (shadingMethod != -1) shading_ = shadingMethod;
    if (edgeColor != -1) edgeColor_ = edgeColor;
    if (edgeWidth != -1) edgeWidth_ = edgeWidth;
}

void PieChartImpl::setStartAngle(double startAngle, bool clockWise) {
    double a = std::isfinite(startAngle) ? std::fmod(startAngle, 360.0) : 0;
    if (a < 0) a += 360;
    startAngle_ = clockWise ? a : a - 360;
}

void PieChartImpl::setExplodeGroup(int startSector, int endSector, int distance) {
    explodeGroups_.push_back({startSector, endSector, distance});
}

TextBox* PieChartImpl::setLabelStyle(const char* font, double fontSize, int fontColor) {
    styleBox(*labelStyle_, font, fontSize, fontColor);
    return labelStyle_.get();
}

void PieChartImpl::setLabelPos(int pos, int joinLineColor) {
    labelLayout_ = pos > 32767 ? Chart::SideLayout : Chart::CircleLayout;
    labelPos_ = pos > 32767 ? pos & 0x7fff : pos;
    joinColor_ = joinLineColor;
}

void PieChartImpl::setLabelLayout(int layoutMethod, int pos, int topBound, int bottomBound) {
    labelLayout_ = layoutMethod == Chart::SideLayout ? Chart::SideLayout : Chart::CircleLayout;
    labelPos_ = pos;
    topBound_ = topBound;
    bottomBound_ = bottomBound;
}

void PieChartImpl::setJoinLine(int joinLineColor, int joinLineWidth) {
    joinColor_ = joinLineColor;
    joinWidth_ = joinLineWidth;
}

void PieChartImpl::setLineColor(int edgeColor, int joinLineColor) {
    if (edgeColor != -1) edgeColor_ = edgeColor;
    if (joinLineColor != -1) joinColor_ = joinLineColor;
}

void PieChartImpl::setData(DoubleArray data, StringArray labels, StringArray icons) {
    if (data.data && data.len > kMaxSectors) {
        setLastError("%d sectors are more than a pie can show (at most %d)", data.len, kMaxSectors);
        return;
    }
    sectors_.clear();
    for (int i = 0; data.data && i < data.len; ++i) {
        std::string name = labels.data && i < labels.len && labels[i] ? labels[i] : "";
        std::string icon = icons.data && i < icons.len && icons[i] ? icons[i] : "";
        sectors_.push_back(std::make_unique<SectorImpl>(this, i, data[i], std::move(name), std::move(icon)));
    }
}

Sector* PieChartImpl::sector(int sectorNo) {
    return static_cast<unsigned>(sectorNo) < sectors_.size() ? sectors_[static_cast<size_t>(sectorNo)].get()
                                                             : nullptr;
}

std::string PieChartImpl::formatSectorText(const std::string& format, const SectorImpl& s, int flags) {
    PVParser parser(format.c_str(), flags);
    Formatter& f = getFormatter();
    while (const char* name = parser.getNextAttr()) {
        const std::string field = name;
        const char* code = parser.getFormatString();
        const char* fmt = code && *code ? code : nullptr;
        if (field == "label" || field == "dataSetName")
            parser.replaceAttr(s.name_.c_str());
        else if (field == "value")
            parser.replaceAttr(f.format(code, s.value_));
        else if (field == "percent")
            parser.replaceAttr(f.format(fmt ? fmt : "2", 100 * s.fraction_));
        else if (field == "sector" || field == "dataSet" || field == "dataItem")
            parser.replaceAttr(std::to_string(s.index_).c_str());
        else
            formatCustomAttr(parser, f, 0, s.index_, name);
    }
    return parser.getResult(&f);
}

class PieChartImpl::SectorLegend final : public LegendText {
public:
    SectorLegend(PieChartImpl* chart, const SectorImpl* s) : chart_(chart), s_(s) {}
    std::string getText(const char* format, int escapeFlags) override {
        return chart_->formatSectorText(format && *format ? format : "{label}", *s_,
                                        escapeFlags ? escapeFlags : PVParser::LegacyFields);
    }

private:
    PieChartImpl* chart_;
    const SectorImpl* s_;
};

void PieChartImpl::onLayoutLegend() {
    double total = 0;
    int counted = 0;
    for (auto& s : sectors_)
        if (s->hasValue()) total += std::fabs(s->value_), ++counted;
    for (auto& s : sectors_) {
        if (!s->hasValue()) s->fraction_ = 0;
        else s->fraction_ = total > 0 && std::isfinite(total) ? std::fabs(s->value_) / total : 1.0 / counted;
    }
    LegendBoxImpl* legend = this->legend();
    if (!legend) return;
    for (auto& s : sectors_)
        if (s->hasValue() && !s->name_.empty())
            legend->addKey(10000 * (s->index_ + 1), std::make_unique<SectorLegend>(this, s.get()), s->color_, -1,
                           nullptr);
}

void PieChartImpl::resolveDefaults() {
    const bool side = labelLayout_ == Chart::SideLayout;
    if (labelFormat_.empty()) labelFormat_ = side ? "{label} ({percent}%)" : "{label}\n{percent}%";
    if (labelPos_ == -1) labelPos_ = side ? static_cast<int>(r_ * 0.35) : r_ / 10;
    if (joinColor_ == -1) joinColor_ = side ? Chart::LineColor : Chart::Transparent;
    if (edgeColor_ == -1) edgeColor_ = Chart::SameAsMainColor;
    if (topBound_ == -1) topBound_ = 0;
    if (bottomBound_ == -1) bottomBound_ = getHeight();
    // Side labels default to boxes in their sector's colour.
    auto resolveBackground = [](LabelBox& box, bool sideLabel) {
        if (box.style().fillColor == -1)
            box.setBackground(sideLabel ? Chart::SameAsMainColor : Chart::Transparent, box.style().edgeColor,
                              box.style().raisedEffect);
    };
    resolveBackground(*labelStyle_, side);
    for (auto& s : sectors_) {
        if (s->labelStyle_) resolveBackground(*s->labelStyle_, (s->labelLayout_ == -1 ? labelLayout_ : s->labelLayout_) == Chart::SideLayout);
        if (s->joinColor_ == -1) s->joinColor_ = joinColor_;
        if (s->joinWidth_ == -1) s->joinWidth_ = joinWidth_;
        if (s->edgeColor_ == -1) s->edgeColor_ = edgeColor_;
        if (s->edgeWidth_ == -1) s->edgeWidth_ = edgeWidth_;
        if (s->shading_ == -1) s->shading_ = shading_;
        if (s->labelPos_ == -1) s->labelPos_ = labelPos_;
        if (s->labelLayout_ == -1) s->labelLayout_ = labelLayout_;
        if (s->labelFormat_.empty()) s->labelFormat_ = labelFormat_;
    }
}

void PieChartImpl::positionSectors() {
    const double tilt = angle3D_ * kPi / 180;
    int rx = r_, ry = r_, irx = r2_, iry = r2_;
    if (shadowMode_) {
        depthDir_ = tilt;
    } else {
        ry = static_cast<int>(r_ * std::fabs(std::cos(tilt)));
        iry = static_cast<int>(r2_ * std::fabs(std::cos(tilt)));
        depthDir_ = kPi;
    }
    auto offset = [&](double depth, int& dx, int& dy) {
        dx = roundPixel(std::sin(depthDir_) * depth);
        dy = -roundPixel(std::cos(depthDir_) * depth);
    };
    int chartDx, chartDy;
    offset(depth_, chartDx, chartDy);
    const double ratio = rx > 0 ? double(ry) / rx : 1;
    const int defaultExplode = rx / 4;
    const double from = startAngle_ * kPi / 180;
    double done = 0;
    for (auto& s : sectors_) {
        const double sweep = std::clamp(kTwoPi * s->fraction_, 0.0, kTwoPi);
        SectorGeometry& g = s->g_;
        g.start = wrapAngle(clockwise() ? from + done : from - done - sweep);
        g.end = g.start + sweep;
        done += sweep;
        int sdx = 0, sdy = 0;
        const size_t i = static_cast<size_t>(s->index_);
        offset(i < depths_.size() ? depths_[i] : 0, sdx, sdy);
        g.rx = rx, g.ry = ry, g.irx = irx, g.iry = iry;
        g.cx = cx_ - sdx;
        g.cy = cy_ - sdy;
        g.dx = sdx + chartDx;
        g.dy = sdy + chartDy;
        const int e = s->explode_ == -1 ? defaultExplode : s->explode_;
        if (e > 0) {
            g.cx += roundPixel(std::sin(g.mid()) * e);
            g.cy -= roundPixel(std::cos(g.mid()) * e * ratio);
        }
    }
    explodeGroups(defaultExplode, ratio);
}

void PieChartImpl::explodeGroups(int defaultDistance, double ratio) {
    const int n = static_cast<int>(sectors_.size());
    auto move = [&](SectorImpl& s, double angle, int e) {
        s.g_.cx += roundPixel(std::sin(angle) * e);
        s.g_.cy -= roundPixel(std::cos(angle) * e * ratio);
    };
    for (const ExplodeGroup& group : explodeGroups_) {
        const int e = group.distance == -1 ? defaultDistance : group.distance;
        if (e <= 0 || n == 0) continue;
        if (group.first == -1 && group.last == -1) {
            for (auto& s : sectors_) move(*s, s->g_.mid(), e);
            continue;
        }
        const int first = std::clamp(group.first, 0, n - 1), last = std::clamp(group.last, 0, n - 1);
        if ((first == 0 && last == n - 1) || first == last + 1) continue;
        // The run in drawing order, and its angular middle.
        std::vector<SectorImpl*> run;
        double sweep = 0;
        for (int i = first;; i = (i + 1) % n) {
            run.push_back(sectors_[static_cast<size_t>(i)].get());
            sweep += run.back()->g_.end - run.back()->g_.start;
            if (i == last) break;
        }
        const double begin = clockwise() ? run.front()->g_.start : run.back()->g_.start;
        for (SectorImpl* s : run) move(*s, begin + sweep / 2, e);
    }
}

void PieChartImpl::onLayoutChart() {
    resolveDefaults();
    positionSectors();
    layoutLabels();
}

void PieChartImpl::onPaint() {
    DrawArea* d = getRawDrawArea();
    paintSectors(d);
    for (auto& s : sectors_) paintLabel(d, *s);
}

std::string PieChartImpl::onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                            int offsetX, int offsetY) {
    std::string map;
    AreaTemplates t = areaTemplates("", "", "", url, queryFormat, extraAttr,
                                    "sector={sector}&label={label}&value={value}&percent={percent}");
    if (!t.enabled || sectors_.empty()) return map;
    const std::string &link = t.link, &extra = t.extra;
    for (const auto& s : sectors_) {
        if (!s->hasValue()) continue;
        // The link goes through the field round without the legacy '&' fields: its '&' are separators.
        std::string sectorLink = link.empty() ? link : formatSectorText(link, *s, PVParser::EscapeUrl);
        std::string sectorExtra = extra.empty() ? extra : formatSectorText(extra, *s, PVParser::EscapeHtml);
        appendArea(map, s->imageSpot(0, 0), offsetX, offsetY, sectorExtra, sectorLink);
        if (s->label_) appendArea(map, s->label_->imageSpot(0, 0), offsetX, offsetY, sectorExtra, sectorLink);
    }
    return map;
}

}  // namespace plotvane

// 3D scatter charts: groups of (x, y, z) points as symbols in the 3D box, optionally with drop
// lines to the floor wall, coloured per group or by z through the colour axis.
//
// Symbols are flat pictures facing the viewer, so painting them from the farthest to the nearest
// hides them correctly. A drop line runs from its point back to the wall and may pass behind other
// points: each is drawn just before the first symbol nearer than its foot, so symbols in front
// cover it while the line still covers what lies behind its foot.
//
// Hot spots are the symbols' squares, nearest first: where symbols overlap, the one drawn on top is
// the one a pointer finds.
#include <plotvane/drawarea.h>
#include <plotvane/threedchart.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <plotvane/drawarea.h>

#include "chart/imagemap_p.h"
#include "chart/legendbox_p.h"
#include "chart/other/threedchart_p.h"
#include "chart/xy/symbols_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

ThreeDScatterGroup::~ThreeDScatterGroup() = default;

namespace {

bool present(double v) { return v != Chart::NoValue && std::isfinite(v); }

std::vector<double> copyOf(DoubleArray a) {
    std::vector<double> r;
    if (!a.data || a.len <= 0) return r;
    r.assign(a.data, a.data + a.len);
    for (double& v : r)
        if (!present(v)) v = Chart::NoValue;
    return r;
}

}  // namespace

class ThreeDScatterGroupImpl final : public ThreeDScatterGroup {
public:
    ThreeDScatterGroupImpl(int index, const char* name, DoubleArray x, DoubleArray y, DoubleArray z)
        : index_(index), name_(name ? name : ""), x_(copyOf(x)), y_(copyOf(y)), z_(copyOf(z)) {}
    ~ThreeDScatterGroupImpl() override {
        if (icon_) icon_->destroy();
    }
    ThreeDScatterGroupImpl(const ThreeDScatterGroupImpl&) = delete;
    ThreeDScatterGroupImpl& operator=(const ThreeDScatterGroupImpl&) = delete;

    void setDataSymbol(int symbol, int size, int fillColor, int edgeColor, int lineWidth) override {
        mainColor_ = fillColor == -1 ? Chart::DataColor + index_ : fillColor;
        edgeColor_ = edgeColor;
        symbol_.setShape(symbol, size, fillColor == Chart::SameAsMainColor ? Chart::SameAsMainColor : -1,
                         edgeColor == Chart::SameAsMainColor ? Chart::SameAsMainColor : -1, lineWidth);
    }
    void setDataSymbol(const char* image) override {
        symbol_.setImage(image);
        mainColor_ = Chart::Transparent;
        edgeColor_ = Chart::LineColor;
    }
    void setDataSymbol(DrawArea* obj) override {
        symbol_.setDrawing(obj);
        mainColor_ = Chart::Transparent;
        edgeColor_ = Chart::LineColor;
    }
    void setDataSymbol(IntArray polygon, int size, int fillColor, int edgeColor) override {
        symbol_.setPolygon(polygon, size, fillColor == Chart::SameAsMainColor ? Chart::SameAsMainColor : -1,
                           edgeColor == Chart::SameAsMainColor ? Chart::SameAsMainColor : -1);
        mainColor_ = fillColor == -1 ? Chart::DataColor + index_ : fillColor;
        edgeColor_ = edgeColor;
    }
    void setDropLine(int color, int width) override {
        dropColor_ = color;
        dropWidth_ = width;
    }
    void setLegendIcon(int width, int height, int edgeColor) override {
        iconWidth_ = width;
        iconHeight_ = height;
        iconEdge_ = edgeColor;
    }
    void setSymbolOffset(int offsetX, int offsetY) override {
        offsetX_ = offsetX;
        offsetY_ = offsetY;
    }

    // The legend's picture of the group: its symbol, or the symbol drawn into a box of the legend
    // icon's size when one is set.
    DrawArea* legendIcon(DrawArea* chartArea, int color) {
        symbol_.prepare(chartArea, color, edgeColor_);
        if (iconWidth_ <= 0) return symbol_.image();
        const int h = iconHeight_ > 0 ? iconHeight_ : iconWidth_;
        if (icon_) icon_->destroy();
        icon_ = chartArea->subDrawArea(std::min(iconWidth_, 1000), std::min(h, 1000));
        symbol_.paint(icon_, icon_->getWidth() / 2, icon_->getHeight() / 2, icon_->getWidth(), icon_->getHeight());
        if (iconEdge_ != -1) icon_->rect(0, 0, icon_->getWidth() - 1, icon_->getHeight() - 1, iconEdge_, Chart::Transparent);
        return icon_;
    }

    bool hasDropLine() const { return dropColor_ != Chart::Transparent && dropWidth_ >= 1; }

    int index_;
    std::string name_;
    std::vector<double> x_, y_, z_;
    DataSymbol symbol_;
    int offsetX_ = 0, offsetY_ = 0;
    int mainColor_ = Chart::DataColor;
    int edgeColor_ = Chart::LineColor;
    int dropColor_ = Chart::Transparent;
    int dropWidth_ = 0;
    int iconWidth_ = -1, iconHeight_ = -1, iconEdge_ = -1;
    DrawArea* icon_ = nullptr;
};

class ThreeDScatterChartImpl final : public ThreeDScatterChart, public ThreeDChartImpl {
public:
    ThreeDScatterGroup* addScatterGroup(DoubleArray xData, DoubleArray yData, DoubleArray zData, const char* name,
                                        int symbol, int symbolSize, int fillColor, int edgeColor) override {
        groups_.push_back(std::make_unique<ThreeDScatterGroupImpl>(static_cast<int>(groups_.size()), name, xData,
                                                                   yData, zData));
        groups_.back()->setDataSymbol(symbol, symbolSize, fillColor, edgeColor, 1);
        return groups_.back().get();
    }

    void initScatter() { initFrame(); }

protected:
    void onLayoutLegend() override;
    void layoutContents() override;
    void paintContents(int farCorner) override;
    std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                  int offsetY) override;

private:
    struct Record {
        Point3D at, foot;  // transformed
        double z;
        const ThreeDScatterGroupImpl* group;
        int item;
    };
    // The points that show, farthest first, with their feet on the floor at floorY.
    std::vector<Record> depthOrder(double floorY);
    std::string formatPoint(const std::string& tmpl, const ThreeDScatterGroupImpl& g, int item, int escapeFlags);
    // The colour a point is painted in: its group's, or the colour axis's for its z.
    int colorOf(const ThreeDScatterGroupImpl& g, double z) {
        return g.mainColor_ == Chart::SameAsMainColor ? colorAxisImpl().getColor(z) : g.mainColor_;
    }

    std::vector<std::unique_ptr<ThreeDScatterGroupImpl>> groups_;
};

ThreeDScatterChart* ThreeDScatterChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* c = new ThreeDScatterChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    c->initScatter();
    return c;
}

void ThreeDScatterChartImpl::onLayoutLegend() {
    LegendBoxImpl* legend = this->legend();
    if (!legend) return;
    for (const auto& g : groups_) {
        const int color = g->mainColor_ == Chart::SameAsMainColor ? Chart::DataColor + g->index_ : g->mainColor_;
        legend->addKey(g->name_.c_str(), color, -1, g->legendIcon(getRawDrawArea(), color));
    }
}

void ThreeDScatterChartImpl::layoutContents() {
    double lo[3] = {Chart::NoValue, Chart::NoValue, Chart::NoValue}, hi[3] = {Chart::NoValue, Chart::NoValue,
                                                                               Chart::NoValue};
    // Only whole points count: one with a missing coordinate is not drawn, so it widens nothing.
    for (const auto& g : groups_) {
        const size_t n = std::min({g->x_.size(), g->y_.size(), g->z_.size()});
        for (size_t k = 0; k < n; ++k) {
            const double v[3] = {g->x_[k], g->y_[k], g->z_[k]};
            if (!present(v[0]) || !present(v[1]) || !present(v[2])) continue;
            for (int a = 0; a < 3; ++a) {
                lo[a] = lo[a] == Chart::NoValue ? v[a] : std::min(lo[a], v[a]);
                hi[a] = hi[a] == Chart::NoValue ? v[a] : std::max(hi[a], v[a]);
            }
        }
    }
    xAxisImpl().layout(lo[0], hi[0]);
    yAxisImpl().layout(lo[1], hi[1]);
    zAxisImpl().layout(lo[2], hi[2]);
    colorAxisImpl().layoutScale(lo[2], hi[2]);
}

std::vector<ThreeDScatterChartImpl::Record> ThreeDScatterChartImpl::depthOrder(double floorY) {
    std::vector<Record> records;
    for (const auto& g : groups_) {
        const size_t n = std::min({g->x_.size(), g->y_.size(), g->z_.size()});
        for (size_t k = 0; k < n; ++k) {
            const Point3D m = modelOf(g->x_[k], g->y_[k], g->z_[k]);
            if (!std::isfinite(m.x + m.y + m.z)) continue;
            const Point3D at = engine().transformPoint(m);
            if (!std::isfinite(engine().toDisplayX(at) + engine().toDisplayY(at))) continue;
            records.push_back(
                {at, engine().transformPoint({m.x, floorY, m.z}), g->z_[k], g.get(), static_cast<int>(k)});
        }
    }
    std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.at.z < b.at.z; });
    return records;
}

void ThreeDScatterChartImpl::paintContents(int farCorner) {
    DrawArea* d = getRawDrawArea();
    const std::vector<Record> records = depthOrder(farCorner & 2 ? boxHeight() : 0);
    bool anyDrop = false;
    for (const auto& g : groups_) anyDrop = anyDrop || g->hasDropLine();
    std::vector<const Record*> drops;
    if (anyDrop) {
        for (const Record& r : records)
            if (r.group->hasDropLine()) drops.push_back(&r);
        std::stable_sort(drops.begin(), drops.end(), [](const Record* a, const Record* b) { return a->foot.z < b->foot.z; });
    }
    auto drawDrop = [&](const Record& r) {
        const ThreeDScatterGroupImpl& g = *r.group;
        const int color = g.dropColor_ == Chart::SameAsMainColor ? colorOf(g, r.z) : g.dropColor_;
        d->line(engine().toDisplayX(r.foot) + g.offsetX_, engine().toDisplayY(r.foot) + g.offsetY_,
                engine().toDisplayX(r.at) + g.offsetX_, engine().toDisplayY(r.at) + g.offsetY_, color, g.dropWidth_);
    };
    size_t nextDrop = 0;
    std::vector<int> prepared(groups_.size(), Chart::Transparent - 1);
    for (const Record& r : records) {
        while (nextDrop < drops.size() && drops[nextDrop]->foot.z <= r.at.z) drawDrop(*drops[nextDrop++]);
        ThreeDScatterGroupImpl& g = *groups_[static_cast<size_t>(r.group->index_)];
        const int color = colorOf(g, r.z);
        if (prepared[g.index_] != color) {
            g.symbol_.prepare(d, color, g.edgeColor_);
            prepared[g.index_] = color;
        }
        g.symbol_.paint(d, static_cast<int>(std::lround(engine().toDisplayX(r.at))) + g.offsetX_,
                        static_cast<int>(std::lround(engine().toDisplayY(r.at))) + g.offsetY_);
    }
    while (nextDrop < drops.size()) drawDrop(*drops[nextDrop++]);
}

std::string ThreeDScatterChartImpl::formatPoint(const std::string& tmpl, const ThreeDScatterGroupImpl& g, int item,
                                                int escapeFlags) {
    if (tmpl.empty()) return tmpl;
    PVParser parser(tmpl.c_str(), escapeFlags);
    Formatter& f = getFormatter();
    const size_t k = static_cast<size_t>(item);
    while (const char* name = parser.getNextAttr()) {
        const std::string field = name;
        const char* code = parser.getFormatString();
        if (field == "x") parser.replaceAttr(f.format(code, g.x_[k]));
        else if (field == "y") parser.replaceAttr(f.format(code, g.y_[k]));
        else if (field == "z") parser.replaceAttr(f.format(code, g.z_[k]));
        else if (field == "dataSet") parser.replaceAttr(std::to_string(g.index_).c_str());
        else if (field == "dataItem") parser.replaceAttr(std::to_string(item).c_str());
        else if (field == "name" || field == "dataSetName") parser.replaceAttr(g.name_.c_str());
        else formatCustomAttr(parser, f, g.index_, item, name);
    }
    return parser.getResult(&f);
}

std::string ThreeDScatterChartImpl::onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                                      int offsetX, int offsetY) {
    std::string map;
    AreaTemplates t = areaTemplates("", "", "", url, queryFormat, extraAttr,
                                    "x={x}&y={y}&z={z}&dataSet={dataSet}&dataSetName={name}");
    if (!t.enabled) return map;
    layout();
    const std::vector<Record> records = depthOrder(0);
    for (auto r = records.rbegin(); r != records.rend(); ++r) {
        const ThreeDScatterGroupImpl& g = *r->group;
        const int x = static_cast<int>(std::lround(engine().toDisplayX(r->at))) + g.offsetX_;
        const int y = static_cast<int>(std::lround(engine().toDisplayY(r->at))) + g.offsetY_;
        if (x < 0 || y < 0 || x >= getWidth() || y >= getHeight()) continue;
        const int half = std::max({g.symbol_.width(), g.symbol_.height(), 5}) / 2;
        appendArea(map, {x - half, y - half, x + half, y + half}, offsetX, offsetY,
                   formatPoint(t.extra, g, r->item, PVParser::EscapeHtml),
                   formatPoint(t.link, g, r->item, PVParser::EscapeUrl));
    }
    return map;
}

}  // namespace plotvane

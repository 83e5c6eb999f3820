// 3D scatter charts: groups of (x, y, z) points as symbols in the 3D box, optionally with drop
// lines to the walls, coloured per group or by z through the colour axis.
//
// Symbols are flat pictures facing the viewer, so painting them from the farthest to the nearest
// hides them correctly. A drop line runs from its point straight to a wall (the floor, the side or
// the back wall, on whichever side of the box the view puts it) and may pass behind other points:
// each is drawn just before the first symbol nearer than its foot, so symbols in front cover it
// while the line still covers what lies behind its foot.
#include <plotvane/drawarea.h>
#include <plotvane/threedchart.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

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
        shape_ = {symbol, {}, lineWidth, edgeColor == Chart::SameAsMainColor};
    }
    void setDataSymbol(const char* image) override {
        shape_ = Shape();
        symbol_.setImage(image);
        mainColor_ = Chart::Transparent;
        edgeColor_ = Chart::LineColor;
    }
    void setDataSymbol(DrawArea* obj) override {
        shape_ = Shape();
        symbol_.setDrawing(obj);
        mainColor_ = Chart::Transparent;
        edgeColor_ = Chart::LineColor;
    }
    void setDataSymbol(IntArray polygon, int size, int fillColor, int edgeColor) override {
        symbol_.setPolygon(polygon, size, fillColor == Chart::SameAsMainColor ? Chart::SameAsMainColor : -1,
                           edgeColor == Chart::SameAsMainColor ? Chart::SameAsMainColor : -1);
        shape_ = {Chart::Plotvane_CustomSymbol, {}, 1, edgeColor == Chart::SameAsMainColor};
        if (polygon.data && polygon.len > 0) shape_.polygon.assign(polygon.data, polygon.data + polygon.len);
        mainColor_ = fillColor == -1 ? Chart::DataColor + index_ : fillColor;
        edgeColor_ = edgeColor;
    }
    void setDropLine(int color, int width) override {
        dropColor_ = color;
        dropWidth_ = width;
    }
    void setDropLineWalls(bool toXY, bool toYZ, bool toZX) override {
        dropWalls_[0] = toXY;
        dropWalls_[1] = toYZ;
        dropWalls_[2] = toZX;
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
    // The symbol's shape when it is one (not a picture), for drawing it in a colour of each point's.
    struct Shape {
        int code = 0;
        std::vector<int> polygon;
        int lineWidth = 1;
        bool edgeFollowsFill = false;
    } shape_;
    int offsetX_ = 0, offsetY_ = 0;
    int mainColor_ = Chart::DataColor;
    int edgeColor_ = Chart::LineColor;
    int dropColor_ = Chart::Transparent;
    int dropWidth_ = 0;
    bool dropWalls_[3] = {true, false, false};  // xy, yz, zx
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
    std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                  int offsetY) override;
    void layoutContents() override;
    void addContents(int farCorner) override;
    void paintMark(DrawArea* d, int id) override;

private:
    struct Record {
        Point3D at;  // transformed
        double z;
        const ThreeDScatterGroupImpl* group;
        size_t item;
    };
    // A painted symbol, for the image map: its box on the picture and the point it stands for.
    struct HotSpot {
        int left, top, right, bottom;
        const ThreeDScatterGroupImpl* group;
        size_t item;
    };
    std::string formatPointText(const std::string& format, const HotSpot& h, int flags);
    // The colour a point is painted in: its group's, or the colour axis's for its z.
    int colorOf(const ThreeDScatterGroupImpl& g, double z) {
        return g.mainColor_ == Chart::SameAsMainColor ? colorAxisImpl().getColor(z) : g.mainColor_;
    }

    std::vector<std::unique_ptr<ThreeDScatterGroupImpl>> groups_;
    std::vector<Record> records_;
    std::vector<int> prepared_;      // the colour each group's symbol was last prepared in
    std::vector<HotSpot> hotSpots_;  // farthest first, as painted
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

void ThreeDScatterChartImpl::addContents(int farCorner) {
    // The wall planes: the floor across the upright, the yz wall across x, the zx wall across depth.
    const double floorY = farCorner & 2 ? boxHeight() : 0;
    const double sideX = farCorner & 1 ? boxWidth() : 0;
    const double backZ = farCorner & 4 ? boxDepth() : 0;
    records_.clear();
    hotSpots_.clear();
    prepared_.assign(groups_.size(), Chart::Transparent - 1);
    ThreeDEngine& e = engine();
    for (const auto& g : groups_) {
        const size_t n = std::min({g->x_.size(), g->y_.size(), g->z_.size()});
        for (size_t k = 0; k < n; ++k) {
            const Point3D m = modelOf(g->x_[k], g->y_[k], g->z_[k]);
            if (!std::isfinite(m.x + m.y + m.z)) continue;
            const Point3D at = e.transformPoint(m);
            if (!std::isfinite(e.toDisplayX(at) + e.toDisplayY(at))) continue;
            records_.push_back({at, g->z_[k], g.get(), k});
            if (!g->hasDropLine()) continue;
            const int color = g->dropColor_ == Chart::SameAsMainColor ? colorOf(*g, g->z_[k]) : g->dropColor_;
            const Point3D feet[3] = {{m.x, floorY, m.z}, {sideX, m.y, m.z}, {m.x, m.y, backZ}};
            // Keyed by its foot, and made before the symbols, so that a line goes just before the
            // first symbol nearer than its foot.
            const int point = e.createPoint(m);
            for (int w = 0; w < 3; ++w) {
                if (!g->dropWalls_[w]) continue;
                const int foot = e.createPoint(feet[w]);
                e.createEdge(foot, point, color, g->dropWidth_, PaintLayer::Contents, e.transformPoint(feet[w]).z,
                             g->offsetX_, g->offsetY_);
            }
        }
    }
    for (size_t r = 0; r < records_.size(); ++r)
        e.createMark(static_cast<int>(r), PaintLayer::Contents, records_[r].at.z);
}

void ThreeDScatterChartImpl::paintMark(DrawArea* d, int id) {
    const Record& r = records_[static_cast<size_t>(id)];
    ThreeDScatterGroupImpl& g = *groups_[static_cast<size_t>(r.group->index_)];
    const int color = colorOf(g, r.z);
    const int sx = static_cast<int>(std::lround(engine().toDisplayX(r.at))) + g.offsetX_;
    const int sy = static_cast<int>(std::lround(engine().toDisplayY(r.at))) + g.offsetY_;
    // A shape coloured point by point is drawn in place: a picture of it made for each colour, to
    // be stamped once, would cost many times more.
    const bool direct = g.mainColor_ == Chart::SameAsMainColor && g.shape_.code != 0;
    // The first preparation also settles the symbol's size.
    if (prepared_[g.index_] == Chart::Transparent - 1 || (!direct && prepared_[g.index_] != color)) {
        g.symbol_.prepare(d, color, g.edgeColor_);
        prepared_[g.index_] = color;
    }
    if (direct)
        drawSymbolShape(d, g.shape_.code, g.shape_.polygon, sx, sy, g.symbol_.width(), g.symbol_.height(), color,
                        g.shape_.edgeFollowsFill ? Chart::SameAsMainColor : g.edgeColor_, g.shape_.lineWidth);
    else
        g.symbol_.paint(d, sx, sy);
    // Tiny symbols still get an area a pointer can find.
    const int halfW = std::max(g.symbol_.width(), 4) / 2, halfH = std::max(g.symbol_.height(), 4) / 2;
    hotSpots_.push_back({sx - halfW, sy - halfH, sx + halfW, sy + halfH, r.group, r.item});
}

std::string ThreeDScatterChartImpl::formatPointText(const std::string& format, const HotSpot& h, int flags) {
    PVParser parser(format.c_str(), flags);
    Formatter& f = getFormatter();
    const ThreeDScatterGroupImpl& g = *h.group;
    while (const char* name = parser.getNextAttr()) {
        const std::string field = name;
        const char* code = parser.getFormatString();
        if (field == "x")
            parser.replaceAttr(f.format(code, g.x_[h.item]));
        else if (field == "y")
            parser.replaceAttr(f.format(code, g.y_[h.item]));
        else if (field == "z" || field == "value")
            parser.replaceAttr(f.format(code, g.z_[h.item]));
        else if (field == "dataSetName")
            parser.replaceAttr(g.name_.c_str());
        else if (field == "dataSet")
            parser.replaceAttr(std::to_string(g.index_).c_str());
        else if (field == "dataItem")
            parser.replaceAttr(std::to_string(h.item).c_str());
        else
            formatCustomAttr(parser, f, g.index_, static_cast<int>(h.item), name);
    }
    return parser.getResult(&f);
}

// The nearest symbol is painted last; its area comes first, where a browser looks first.
std::string ThreeDScatterChartImpl::onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                                      int offsetX, int offsetY) {
    std::string map;
    if (std::string(url) == "{disable}") return map;
    const std::string query = combineQuery(queryFormat, "x={x}&y={y}&z={z}&dataSet={dataSet}&dataItem={dataItem}");
    const std::string link = urlJoin(withoutNone(url), withoutNone(query)), extra = withoutNone(extraAttr);
    for (auto h = hotSpots_.rbegin(); h != hotSpots_.rend(); ++h) {
        const std::string pointLink = link.empty() ? link : formatPointText(link, *h, PVParser::EscapeUrl);
        const std::string pointExtra = extra.empty() ? extra : formatPointText(extra, *h, PVParser::EscapeHtml);
        appendArea(map, {h->left, h->top, h->right, h->bottom}, offsetX, offsetY, pointExtra, pointLink);
    }
    return map;
}

}  // namespace plotvane

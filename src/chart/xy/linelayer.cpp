// The line layer: data sets as lines through their points, with gaps, symbols, labels and 3D
// ribbons.
//
// Layout turns every data set into a line object of the layer's variant. Points enter in index
// order as frame pixels; a missing x or value breaks the line after the previous point. Only the
// x range of the plot (and the one point beyond each edge) enters at all, so a long series viewed
// through a narrow window costs little more than the window; in fast line mode the points are
// also thinned per pixel column once there are three or more of them per pixel. A flat plain
// line keeps no points: painting feeds them from the data straight into the pen, so a million
// points cost no memory beyond the data, and the line object makes them only if asked (getY).
//
// Painting goes from the last data set to the first, so the first is on top. A flat line is one
// polyline per data set (LinePen clips and thins it); segments that bridge a missing value take
// the gap style, and a transparent gap colour leaves a hole. In 3D the layer's depth is shared
// among the data sets: each line stands on its own plane, one share further back than the one
// before, and each segment is a ribbon one share deep, darker where the viewer sees its back. A
// cylinder border effect shades the ribbons' faces across their depth with one z colour per data
// set, its plane moved to each segment, so a slanted ribbon is lit the same way as a level one.
// Symbols follow, again from the last data set to the first; labels come with the other layers'
// in postPaint, hung above the symbol and turned inward near the plot's edges.
#include "chart/xy/linelayer_p.h"

#include <plotvane/drawarea.h>

#include <cmath>

#include "chart/xy/axis_p.h"
#include "chart/xy/linepen_p.h"
#include "chart/xy/plotarea_p.h"
#include "chart/xy/xychart_p.h"
#include "foundation/effectcode_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

std::vector<double> cleanCopy(XYChartImpl* chart, DoubleArray a) {
    DoubleArray kept = chart->filterData(a);
    std::vector<double> v(kept.data, kept.data + std::max(kept.len, 0));
    for (double& x : v)
        if (!std::isfinite(x)) x = Chart::NoValue;
    return v;
}

}  // namespace

LineLayer::~LineLayer() = default;

LineLayerImpl::LineLayerImpl() { LayerImpl::setDataCombineMethod(Chart::Overlay); }

LineLayerImpl::~LineLayerImpl() = default;

void LineLayerImpl::setGapColor(int lineColor, int lineWidth) {
    gapColor_ = lineColor;
    gapLineWidth_ = lineWidth;
}

LineObj* LineLayerImpl::getLine(int dataSet) {
    return dataSet >= 0 && dataSet < static_cast<int>(lines_.size()) ? lines_[static_cast<size_t>(dataSet)].get()
                                                                      : nullptr;
}

void LineLayerImpl::setSymbolScale(DoubleArray zData, int scaleType, DoubleArray zData2, int scaleType2) {
    scaleW_ = {cleanCopy(chart(), zData), scaleType};
    scaleH_ = {cleanCopy(chart(), zData2), scaleType2};
}

std::unique_ptr<MultiLine> LineLayerImpl::newLine() { return std::make_unique<MultiLine>(); }

FrameBox LineLayerImpl::frameBox() const {
    return {static_cast<double>(frameX()), static_cast<double>(frameY()), static_cast<double>(frameX() + frameWidth()),
            static_cast<double>(frameY() + frameHeight())};
}

void LineLayerImpl::planeOffset(int ds, int& sx, int& sy) const {
    int n = std::max(dataSetCount(), 1);
    sx = depthX() / n * ds;
    sy = -(depthY() / n) * ds;
}

template <class Sink>
void LineLayerImpl::feed(int ds, Sink& sink) const {
    const DataSetImpl& set = dataSet(ds);
    FrameBox box = frameBox();
    RangeFeed<Sink> feed(sink, box.left, box.right);
    PixelMap toX = xPixelMap(), toY = yPixelMap(set.axis());
    const std::vector<double>& values = set.values();
    for (int i = 0; i < set.size(); ++i) feed.add(toX(xValue(i)), toY(values[static_cast<size_t>(i)]));
}

void LineLayerImpl::layoutChart() {
    LayerImpl::layoutChart();
    lines_.clear();
    FrameBox box = frameBox();
    AxisImpl* x = xAxis();
    double span = std::fabs(x->coorOf(x->getMaxValue()) - x->coorOf(x->getMinValue()));
    bool thin = fastLineMode_ && span > 0 && maxDataLength() >= 3 * span;
    bool ribbons = depthX() > 0 || depthY() > 0;
    for (int ds = 0; ds < dataSetCount(); ++ds) {
        std::unique_ptr<MultiLine> line = newLine();
        auto fill = [this, ds](MultiLine& l) {
            // Reserved, not touched: only the points kept take memory, and none move as it fills.
            l.points().reserve(static_cast<size_t>(dataSet(ds).size()));
            feed(ds, l);
        };
        // A flat line drawn as its points goes from the data to the drawing area when painted.
        if (!thin && !ribbons && !line->hasOwnPath())
            line->setSource(fill);
        else
            fill(*line);
        if (thin) thinColumns(line->points());
        int sx, sy;
        planeOffset(ds, sx, sy);
        double fx = isSwapped() ? sy : sx, fy = isSwapped() ? sx : sy;
        FrameBox view{box.left + fx, box.top + fy, box.right + fx, box.bottom + fy};
        line->layout(-fx, -fy, view);
        lines_.push_back(std::move(line));
    }
}

void LineLayerImpl::paint(DrawArea* d) {
    if (static_cast<int>(lines_.size()) != dataSetCount()) return;
    bool ribbons = depthX() > 0 || depthY() > 0;
    for (int ds = dataSetCount(); ds-- > 0;) {
        DataSetImpl& set = dataSet(ds);
        int color = set.dataColor();
        d->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
        if (ribbons) {
            paintRibbons(d, ds);
            continue;
        }
        const MultiLine& line = *lines_[static_cast<size_t>(ds)];
        LineStyle gap{gapColor_, gapLineWidth_ == -1 ? set.lineWidth() : gapLineWidth_};
        LinePen pen(d, frameBox(), isSwapped(), line.dx(), line.dy(), {color, set.lineWidth()}, gap);
        if (line.isStreamed()) {
            feed(ds, pen);
            pen.finish();
        } else {
            pen.draw(line.path());
        }
    }
    for (int ds = dataSetCount(); ds-- > 0;) paintSymbols(d, ds);
}

void LineLayerImpl::paintRibbons(DrawArea* d, int ds) {
    DataSetImpl& set = dataSet(ds);
    const MultiLine& line = *lines_[static_cast<size_t>(ds)];
    int n = std::max(dataSetCount(), 1);
    int depthX = this->depthX() / n, depthY = this->depthY() / n;
    int gapWidth = gapLineWidth_ == -1 ? set.lineWidth() : gapLineWidth_;
    const std::vector<LinePoint>& path = line.path();
    FrameBox box = frameBox();
    int tube = tubeColor(d, set.dataColor());
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        bool gap = path[i].breakAfter;
        if ((gap ? gapWidth : set.lineWidth()) < 1 || (gap && gapColor_ == Chart::Transparent)) continue;
        const LinePoint& a = path[i];
        const LinePoint& b = path[i + 1];
        if ((a.x < box.left && b.x < box.left) || (a.x > box.right && b.x > box.right)) continue;
        double ax, ay, bx, by;
        screenPoint(a.x - line.dx(), a.y - line.dy(), ax, ay);
        screenPoint(b.x - line.dx(), b.y - line.dy(), bx, by);
        int x1 = roundPixel(ax), y1 = roundPixel(ay), x2 = roundPixel(bx), y2 = roundPixel(by);
        bool back = ribbonShowsBack(x2 - x1, y2 - y1, depthX, depthY, isSwapped());
        // A gap in the line's own colour is shaded like the line.
        bool own = !gap || gapColor_ == Chart::SameAsMainColor;
        int fill = !own ? gapColor_ : back ? set.shadowColor() : set.dataColor();
        int edge = !own ? gapColor_ : back ? set.shadowEdgeColor() : set.edgeColor();
        if (own && !back && tube != Chart::Transparent) {
            // Across the ribbon from its front edge (0) to its back edge (1), whatever its slope.
            fill = d->transformZColor(tube, x1, y1, 0, x2, y2, 0, x1 + depthX, y1 - depthY, 1);
        }
        d->surface(x1, y1, x2, y2, depthX, -depthY, edge, fill);
    }
}

int LineLayerImpl::tubeColor(DrawArea* d, int color) const {
    EffectCode e = decodeEffect(borderEffect());
    int base = d->getARGBColor(color);
    if (e.kind != EffectCode::Cylinder || d->isDynamic(base)) return Chart::Transparent;
    std::vector<int> table = phongProfile(e);
    for (size_t k = 1; k < table.size(); k += 2) table[k] = DrawArea::rawColorAdjustBrightness(base, table[k]);
    return d->zColor(IntArray(table.data(), static_cast<int>(table.size())), 0, 1);
}

double LineLayerImpl::scaledSize(const SymbolScale& s, int i, double x, double v,
                                 const AxisImpl* axis) const {
    double z = i < static_cast<int>(s.z.size()) ? s.z[static_cast<size_t>(i)] : Chart::NoValue;
    if (z == Chart::NoValue) return Chart::NoValue;
    if (s.type == Chart::XAxisScale) {
        double a = pixelX(x), b = pixelX(x + z);
        return a == Chart::NoValue || b == Chart::NoValue ? Chart::NoValue : std::fabs(b - a);
    }
    if (s.type == Chart::YAxisScale) {
        double a = pixelY(v, axis), b = pixelY(v + z, axis);
        return a == Chart::NoValue || b == Chart::NoValue ? Chart::NoValue : std::fabs(b - a);
    }
    return std::fabs(z);
}

bool LineLayerImpl::symbolSize(int ds, int i, int& w, int& h) {
    DataSetImpl& set = dataSet(ds);
    w = set.symbol().width();
    h = set.symbol().height();
    if (scaleW_.z.empty()) return true;
    double x = xValue(i), v = set.valueAt(i);
    double sw = scaledSize(scaleW_, i, x, v, set.axis());
    if (sw == Chart::NoValue) return false;
    double sh = scaleH_.z.empty() ? sw : scaledSize(scaleH_, i, x, v, set.axis());
    if (sh == Chart::NoValue) return false;
    w = roundPixel(std::min(sw, 1e4));
    h = roundPixel(std::min(sh, 1e4));
    // Screen width runs along the x axis only when not swapped.
    if (isSwapped()) std::swap(w, h);
    return true;
}

void LineLayerImpl::paintSymbols(DrawArea* d, int ds) {
    DataSetImpl& set = dataSet(ds);
    if (set.symbol().isEmpty()) return;
    AxisImpl* xa = xAxis();
    bool reversed = xa->coorOf(xa->getMinValue()) > xa->coorOf(xa->getMaxValue());
    int sx, sy;
    planeOffset(ds, sx, sy);
    FrameBox box = frameBox();
    // Symbols reaching into the plot from outside still show.
    double reach = std::max(set.symbol().width(), set.symbol().height()) + 1;
    int n = set.size();
    for (int k = 0; k < n; ++k) {
        int i = reversed ? n - 1 - k : k;
        double xv = xValue(i), v = set.valueAt(i);
        if (xv == Chart::NoValue || v == Chart::NoValue) continue;
        double px = pixelX(xv);
        if (px == Chart::NoValue || (scaleW_.z.empty() && (px < box.left - reach || px > box.right + reach))) continue;
        double py = pixelY(v, set.axis());
        if (py == Chart::NoValue) continue;
        int w, h;
        if (!symbolSize(ds, i, w, h)) continue;
        double x, y;
        screenPoint(px, py, x, y);
        int cx = roundPixel(x) + sx + set.symbolOffsetX(), cy = roundPixel(y) + sy + set.symbolOffsetY();
        if (scaleW_.z.empty())
            set.symbol().paint(d, cx, cy);
        else
            set.symbol().paint(d, cx, cy, w, h);
    }
}

LabelSpot LineLayerImpl::dataLabelSpot(int ds, int i, int wanted, int width, int height) {
    DataSetImpl& set = dataSet(ds);
    double sx, sy;
    screenPoint(pixelX(xValue(i)), pixelY(set.valueAt(i), set.axis()), sx, sy);
    int ox, oy;
    planeOffset(ds, ox, oy);
    int x = roundPixel(sx) + ox + set.symbolOffsetX();
    int y = roundPixel(sy) + oy + set.symbolOffsetY();
    int w = 0, h = 0;
    if (!set.symbol().isEmpty() && !symbolSize(ds, i, w, h)) w = h = 0;
    // The label hangs from the point by its alignment, moved off the symbol by half its size.
    auto spotFor = [&](int col, int row) {
        LabelSpot spot{x, y, row * 3 + col + 1};
        if (row == 0)
            spot.y -= (h + 1) / 2;
        else if (row == 2)
            spot.y += (h + 1) / 2;
        else if (col == 0)
            spot.x += (w + 1) / 2;
        else if (col == 2)
            spot.x -= (w + 1) / 2;
        return spot;
    };
    int a = wanted ? wanted : Chart::BottomCenter;
    int col = (a - 1) % 3, row = (a - 1) / 3;
    LabelSpot spot = spotFor(col, row);
    // A label that would leave the plot area turns inward.
    int left = isSwapped() ? frameY() : frameX(), right = left + (isSwapped() ? frameHeight() : frameWidth());
    int top = isSwapped() ? frameX() : frameY(), bottom = top + (isSwapped() ? frameWidth() : frameHeight());
    int boxLeft = spot.x - DrawArea::alignX(width, spot.alignment);
    int boxTop = spot.y - DrawArea::alignY(height, spot.alignment);
    if (row == 0 && boxTop < top)
        row = 2;
    else if (row == 2 && boxTop + height > bottom)
        row = 0;
    if (boxLeft < left)
        col = 0;
    else if (boxLeft + width > right)
        col = 2;
    return spotFor(col, row);
}

int LineLayerImpl::legendLineWidth(int ds) { return std::max(dataSet(ds).lineWidth(), 0); }

LineLayer* XYChartImpl::addLineLayer(int dataCombineMethod, int depth) {
    auto* layer = new LineLayerImpl();
    addLayer(layer);
    layer->setDataCombineMethod(dataCombineMethod);
    if (depth != 0) layer->set3D(depth, 0);
    return layer;
}

LineLayer* XYChartImpl::addLineLayer(DoubleArray data, int color, const char* name, int depth) {
    if (data.data && data.len > LayerImpl::kMaxPoints) return nullptr;
    LineLayer* layer = addLineLayer(Chart::Overlay, depth);
    layer->addDataSet(data, color, name);
    return layer;
}

LineLayer* XYChartImpl::addScatterLayer(DoubleArray xData, DoubleArray yData, const char* name, int symbol,
                                        int symbolSize, int fillColor, int edgeColor) {
    LineLayer* layer = addLineLayer(Chart::Overlay, 0);
    if (xData.len > 0 && xData.data) layer->setXData(xData);
    layer->addDataSet(yData, fillColor, name)->setDataSymbol(symbol, symbolSize, -1, edgeColor, 1);
    layer->setLineWidth(0);
    layer->setImageMapWidth(0);
    plotArea().setScaleMode(PlotAreaImpl::kScatterMode);
    return layer;
}

}  // namespace plotvane

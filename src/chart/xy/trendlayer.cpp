// The trend layer: a regression curve fitted to each data set, with confidence and prediction
// bands.
//
// Models. Every model is a least-squares polynomial in transformed coordinates (u, v): the linear
// and polynomial models fit y against x; the line through a fixed point fits y - y0 against
// x - x0 with no constant term; the exponential model fits ln|y - y0| against x (its sign s, above
// or below y0, taken from the first point) and reads back y0 + s e^v; the logarithmic model fits
// y against ln|x - x0|. The fixed point is (0, the layer's base line). Points whose transform is
// undefined (y = y0, x = x0) stay out, as do missing, NaN and infinite coordinates.
//
// A straight line over points that all share one x has no slope: it is drawn as the vertical
// line at that x, and its intercept reports the x. Any other fit that the points cannot fix
// (fewer distinct x than coefficients) leaves everything undefined and draws nothing.
//
// Bands. At u the fitted v has the standard error s L(u), L being the fit's leverage; a band of
// probability c reaches t s L(u) (confidence) or t s sqrt(1 + L(u)^2) (prediction) either side of
// the curve, t being Student's quantile at (1 + c) / 2 with n less the number of coefficients as
// degrees of freedom, and is carried back through the model's transform. A fit that leaves no
// degree of freedom draws no band. Levels above 1 are percentages.
//
// Drawing. Each curve is sampled every two pixels across the x range of its points (within the
// plot), so curved fits and log axes look smooth; the line goes through the shared line pen,
// which clips it to the plot. Bands are filled polygons between the curve and each edge, clipped
// to the plot, under every line; prediction bands (the wider kind) go first, and within a kind the
// higher levels. The sampled line is the layer's line object and, widened, its hot spot.
#include <plotvane/drawarea.h>
#include <plotvane/trendlayer.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "chart/box_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/layer_p.h"
#include "chart/xy/linepen_p.h"
#include "chart/xy/regression_p.h"
#include "chart/xy/studentt_p.h"
#include "chart/xy/xychart_p.h"
#include "text/formatter_p.h"

namespace plotvane {

TrendLayer::~TrendLayer() = default;

namespace {

constexpr double kSampleStep = 2;

bool present(double v) { return v != Chart::NoValue && std::isfinite(v); }

}  // namespace

// One data set's fit in the layer's model.
class TrendFit {
public:
    void fit(const std::vector<double>& x, const std::vector<double>& y, int type, double y0);
    bool isDefined() const { return vertical_ || poly_.isDefined(); }
    bool isVertical() const { return vertical_; }
    double verticalX() const { return verticalX_; }
    double valueAt(double x) const;
    // The band edges at x for a band reaching t standard errors of the fitted mean (prediction
    // adds the point's own scatter); false where there is none.
    bool bandAt(double x, double t, bool prediction, double& lower, double& upper) const;
    // Student's quantile for a band of level c; NoValue when the fit leaves no degree of freedom.
    double quantile(double c) const;
    double slope() const;
    double intercept() const;
    double correlation() const { return vertical_ ? 0 : isDefined() ? poly_.correlation() : Chart::NoValue; }
    double stdError() const { return vertical_ ? verticalStdError_ : isDefined() ? poly_.stdError() : Chart::NoValue; }
    double coefficient(int i) const;

private:
    // The model's coordinates: u of an x (false where it is undefined), and y of a v.
    bool toU(double x, double& u) const;
    double fromV(double v) const;

    int type_ = Chart::LinearRegression;
    double y0_ = 0;
    double sign_ = 1;
    PolynomialFit poly_;
    bool vertical_ = false;
    double verticalX_ = 0;
    double verticalStdError_ = 0;
};

void TrendFit::fit(const std::vector<double>& x, const std::vector<double>& y, int type, double y0) {
    type_ = type;
    y0_ = y0;
    vertical_ = false;
    std::vector<double> u, v;
    u.reserve(x.size());
    v.reserve(x.size());
    sign_ = 1;
    for (size_t i = 0; i < x.size(); ++i) {
        double a = x[i], b = y[i];
        if (type == Chart::ExponentialRegression) {
            if (b == y0) continue;
            if (v.empty()) sign_ = b > y0 ? 1 : -1;
            b = std::log(std::fabs(b - y0));
        } else if (type == Chart::LogarithmicRegression) {
            if (a == 0) continue;
            a = std::log(std::fabs(a));
        } else if (type == Chart::ConstrainedLinearRegression) {
            b -= y0;
        }
        u.push_back(a);
        v.push_back(b);
    }
    int degree = type >= 2 ? type : 1;
    if (poly_.fit(u, v, degree, type == Chart::ConstrainedLinearRegression) || u.empty()) return;
    if (type != Chart::LinearRegression || std::any_of(u.begin(), u.end(), [&u](double a) { return a != u[0]; }))
        return;
    // All x equal: the vertical line there, and the spread of y about its mean.
    vertical_ = true;
    verticalX_ = u[0];
    double mean = 0, syy = 0;
    for (double b : v) mean += b / static_cast<double>(v.size());
    for (double b : v) syy += (b - mean) * (b - mean);
    int n = static_cast<int>(v.size());
    verticalStdError_ = std::sqrt(syy / (n > 2 ? n - 2 : n));
}

bool TrendFit::toU(double x, double& u) const {
    u = x;
    if (type_ != Chart::LogarithmicRegression) return true;
    if (x == 0) return false;
    u = std::log(std::fabs(x));
    return true;
}

double TrendFit::fromV(double v) const {
    if (type_ == Chart::ExponentialRegression) return y0_ + sign_ * std::exp(v);
    if (type_ == Chart::ConstrainedLinearRegression) return y0_ + v;
    return v;
}

double TrendFit::valueAt(double x) const {
    double u;
    if (!poly_.isDefined() || !present(x) || !toU(x, u)) return Chart::NoValue;
    double y = fromV(poly_.value(u));
    return present(y) ? y : Chart::NoValue;
}

double TrendFit::quantile(double c) const {
    if (!poly_.isDefined()) return Chart::NoValue;
    int coefficients = type_ == Chart::ConstrainedLinearRegression ? 1 : poly_.degree() + 1;
    int dof = poly_.count() - coefficients;
    if (dof < 1) return Chart::NoValue;
    double level = c > 1 ? c / 100 : c;
    return studentTQuantileUpper((1 - level) / 2, dof);
}

bool TrendFit::bandAt(double x, double t, bool prediction, double& lower, double& upper) const {
    double u;
    if (!poly_.isDefined() || !present(x) || !toU(x, u)) return false;
    double h = poly_.leverage(u);
    double reach = t * poly_.stdError() * (prediction ? std::sqrt(1 + h * h) : h);
    double v = poly_.value(u);
    lower = fromV(v - reach);
    upper = fromV(v + reach);
    if (lower > upper) std::swap(lower, upper);
    return present(lower) && present(upper);
}

double TrendFit::slope() const { return vertical_ ? Chart::NoValue : coefficient(1); }

double TrendFit::intercept() const { return vertical_ ? verticalX_ : coefficient(0); }

double TrendFit::coefficient(int i) const {
    if (vertical_ || !poly_.isDefined()) return Chart::NoValue;
    // The line through the fixed point, in x and y: y0 + slope x.
    if (type_ == Chart::ConstrainedLinearRegression) return i == 0 ? y0_ : i == 1 ? poly_.coefficient(1) : 0;
    return poly_.coefficient(i);
}

class TrendLayerImpl final : public TrendLayer, public virtual LayerImpl {
public:
    TrendLayerImpl() { LayerImpl::setDataCombineMethod(Chart::Overlay); }

    void setRegressionType(int regressionType) override;
    void setImageMapWidth(int width) override { imageMapWidth_ = std::clamp(width, 0, 10000); }
    LineObj* getLine() override { return lines_.empty() ? nullptr : lines_.front().get(); }
    double getSlope() override { return firstFit().slope(); }
    double getIntercept() override { return firstFit().intercept(); }
    double getCorrelation() override { return firstFit().correlation(); }
    double getStdError() override { return firstFit().stdError(); }
    double getCoefficient(int i) override { return firstFit().coefficient(i); }
    void addConfidenceBand(double confidence, int upperFillColor, int upperEdgeColor, int upperLineWidth,
                           int lowerFillColor, int lowerEdgeColor, int lowerLineWidth) override;
    void addPredictionBand(double confidence, int upperFillColor, int upperEdgeColor, int upperLineWidth,
                           int lowerFillColor, int lowerEdgeColor, int lowerLineWidth) override;
    // Trend lines never stack.
    void setDataCombineMethod(int) override {}

    void hotSpot(int ds, int item, std::vector<int>& xy) override;
    void layoutChart() override;
    void paint(DrawArea* d) override;

protected:
    int legendLineWidth(int ds) override { return std::max(dataSet(ds).lineWidth(), 1); }
    LabelSpot dataLabelSpot(int ds, int i, int wanted, int width, int height) override;
    bool layerField(std::string_view name, const char* format, int ds, int item, std::string& text) override;
    std::string defaultImageMapQuery() const override { return "dataSetName={dataSetName}"; }
    HotSpots hotSpotKind() const override { return HotSpots::PerDataSet; }

private:
    struct Band {
        bool prediction;
        double level;
        int fill[2];   // upper, lower
        int edge[2];
        int width[2];
    };

    void addBand(bool prediction, double confidence, int upperFill, int upperEdge, int upperWidth, int lowerFill,
                 int lowerEdge, int lowerWidth);
    TrendFit fitOf(int ds) const;
    const TrendFit& firstFit();
    FrameBox frameBox() const;
    // The x value at a pixel along the x axis of the layer's frame.
    double xAtPixel(double px) const;
    // The pixels along the x axis where data set ds's curve is drawn.
    std::vector<double> samplePixels(int ds) const;
    double toPixelY(double v, const AxisImpl* axis) const;
    void paintBand(DrawArea* d, int ds, const Band& band);

    int regressionType_ = Chart::LinearRegression;
    int imageMapWidth_ = 5;
    std::vector<Band> bands_;
    std::vector<TrendFit> fits_;
    TrendFit queried_;
    std::vector<std::unique_ptr<MultiLine>> lines_;
    std::vector<std::vector<int>> hotSpots_;
};

void TrendLayerImpl::setRegressionType(int regressionType) {
    bool known = regressionType >= Chart::LogarithmicRegression && regressionType <= 255;
    regressionType_ = known ? regressionType : Chart::LinearRegression;
}

void TrendLayerImpl::addConfidenceBand(double confidence, int upperFillColor, int upperEdgeColor,
                                       int upperLineWidth, int lowerFillColor, int lowerEdgeColor,
                                       int lowerLineWidth) {
    addBand(false, confidence, upperFillColor, upperEdgeColor, upperLineWidth, lowerFillColor, lowerEdgeColor,
            lowerLineWidth);
}

void TrendLayerImpl::addPredictionBand(double confidence, int upperFillColor, int upperEdgeColor,
                                       int upperLineWidth, int lowerFillColor, int lowerEdgeColor,
                                       int lowerLineWidth) {
    addBand(true, confidence, upperFillColor, upperEdgeColor, upperLineWidth, lowerFillColor, lowerEdgeColor,
            lowerLineWidth);
}

void TrendLayerImpl::addBand(bool prediction, double confidence, int upperFill, int upperEdge, int upperWidth,
                             int lowerFill, int lowerEdge, int lowerWidth) {
    if (std::isnan(confidence)) return;
    Band b{prediction, std::clamp(confidence, 0.00001, 99.99999), {upperFill, lowerFill == -1 ? upperFill : lowerFill},
           {upperEdge, lowerEdge == -1 ? upperEdge : lowerEdge}, {upperWidth, lowerWidth == -1 ? upperWidth : lowerWidth}};
    // Wider bands first, so none hides a narrower one: prediction before confidence, higher
    // levels first (a level above 1 is a percentage).
    auto key = [](const Band& x) { return std::make_pair(!x.prediction, -(x.level > 1 ? x.level / 100 : x.level)); };
    bands_.insert(std::upper_bound(bands_.begin(), bands_.end(), b,
                                   [&key](const Band& x, const Band& y) { return key(x) < key(y); }),
                  b);
}

TrendFit TrendLayerImpl::fitOf(int ds) const {
    const DataSetImpl& set = dataSet(ds);
    std::vector<double> x, y;
    for (int i = 0; i < set.size(); ++i) {
        double a = xValue(i), b = set.valueAt(i);
        if (present(a) && present(b)) x.push_back(a), y.push_back(b);
    }
    TrendFit f;
    f.fit(x, y, regressionType_, baseLine());
    return f;
}

const TrendFit& TrendLayerImpl::firstFit() {
    // Asked before layout (or after the data changed), the fit is made afresh.
    queried_ = dataSetCount() > 0 ? fitOf(0) : TrendFit();
    return queried_;
}

FrameBox TrendLayerImpl::frameBox() const {
    return {static_cast<double>(frameX()), static_cast<double>(frameY()), static_cast<double>(frameX() + frameWidth()),
            static_cast<double>(frameY() + frameHeight())};
}

double TrendLayerImpl::xAtPixel(double px) const {
    double offset = isSwapped() ? frameX() + frameWidth() - px : px - frameX();
    return xAxis()->scale().valueAt(offset);
}

std::vector<double> TrendLayerImpl::samplePixels(int ds) const {
    const DataSetImpl& set = dataSet(ds);
    double lo = Chart::NoValue, hi = Chart::NoValue;
    for (int i = 0; i < set.size(); ++i) {
        if (!present(set.valueAt(i))) continue;
        double p = pixelX(xValue(i));
        if (p == Chart::NoValue) continue;
        lo = lo == Chart::NoValue ? p : std::min(lo, p);
        hi = hi == Chart::NoValue ? p : std::max(hi, p);
    }
    std::vector<double> px;
    if (lo == Chart::NoValue) return px;
    lo = std::max(lo, static_cast<double>(frameX()));
    hi = std::min(hi, static_cast<double>(frameX() + frameWidth()));
    if (lo > hi) return px;
    int steps = static_cast<int>(std::ceil((hi - lo) / kSampleStep));
    for (int k = 0; k <= steps; ++k) px.push_back(steps == 0 ? lo : lo + (hi - lo) * k / steps);
    return px;
}

double TrendLayerImpl::toPixelY(double v, const AxisImpl* axis) const {
    double p = pixelY(v, axis);
    if (p == Chart::NoValue || std::isnan(p)) return Chart::NoValue;
    // Far values only need to stay far: the pen and the band clip them.
    return std::clamp(p, frameY() - 1e5, frameY() + frameHeight() + 1e5);
}

void TrendLayerImpl::layoutChart() {
    LayerImpl::layoutChart();
    fits_.clear();
    lines_.clear();
    hotSpots_.clear();
    FrameBox box = frameBox();
    for (int ds = 0; ds < dataSetCount(); ++ds) {
        fits_.push_back(fitOf(ds));
        const TrendFit& fit = fits_.back();
        auto line = std::make_unique<MultiLine>();
        if (fit.isVertical()) {
            double px = pixelX(fit.verticalX());
            if (px != Chart::NoValue && px >= box.left && px <= box.right) {
                line->setData(px, box.top);
                line->setData(px, box.bottom);
            }
        } else if (fit.isDefined()) {
            const AxisImpl* axis = dataSet(ds).axis();
            for (double px : samplePixels(ds)) line->setData(px, toPixelY(fit.valueAt(xAtPixel(px)), axis));
        }
        line->layout(0, 0, box);
        // The hot spot: the line widened across, from a point every few samples.
        std::vector<int> upper, lower;
        const std::vector<LinePoint>& points = line->path();
        for (size_t k = 0; k < points.size(); k += points.size() > 40 ? points.size() / 20 : 1) {
            for (int side : {-1, 1}) {
                double sx, sy;
                screenPoint(points[k].x, std::clamp(points[k].y, box.top, box.bottom) + side * imageMapWidth_, sx, sy);
                std::vector<int>& chain = side < 0 ? upper : lower;
                chain.push_back(static_cast<int>(std::floor(sx + 0.5)));
                chain.push_back(static_cast<int>(std::floor(sy + 0.5)));
            }
        }
        for (size_t k = lower.size(); k >= 2; k -= 2) upper.insert(upper.end(), {lower[k - 2], lower[k - 1]});
        hotSpots_.push_back(upper.size() >= 6 ? upper : std::vector<int>());
        lines_.push_back(std::move(line));
    }
}

void TrendLayerImpl::paintBand(DrawArea* d, int ds, const Band& band) {
    const TrendFit& fit = fits_[static_cast<size_t>(ds)];
    double t = fit.quantile(band.level);
    if (t == Chart::NoValue || fit.isVertical()) return;
    const AxisImpl* axis = dataSet(ds).axis();
    std::vector<LinePoint> centre, edges[2];
    for (double px : samplePixels(ds)) {
        double x = xAtPixel(px), lower, upper;
        double mid = toPixelY(fit.valueAt(x), axis);
        if (mid == Chart::NoValue || !fit.bandAt(x, t, band.prediction, lower, upper)) continue;
        double a = toPixelY(upper, axis), b = toPixelY(lower, axis);
        if (a == Chart::NoValue || b == Chart::NoValue) continue;
        centre.push_back({px, mid, false});
        edges[0].push_back({px, a, false});
        edges[1].push_back({px, b, false});
    }
    if (centre.size() < 2) return;
    FrameBox box = frameBox();
    for (int side = 0; side < 2; ++side) {
        std::vector<LinePoint> poly(edges[side]);
        poly.insert(poly.end(), centre.rbegin(), centre.rend());
        clipPolygon(poly, box);
        if (poly.size() >= 3 && band.fill[side] != Chart::Transparent) {
            std::vector<double> xs, ys;
            for (const LinePoint& p : poly) {
                double sx, sy;
                screenPoint(p.x, p.y, sx, sy);
                xs.push_back(sx);
                ys.push_back(sy);
            }
            d->polygon(DoubleArray(xs.data(), static_cast<int>(xs.size())),
                       DoubleArray(ys.data(), static_cast<int>(ys.size())), Chart::Transparent, band.fill[side]);
        }
        int width = band.width[side] == -1 ? dataSet(ds).lineWidth() : band.width[side];
        if (band.edge[side] != Chart::Transparent && width >= 1) {
            LinePen pen(d, box, isSwapped(), 0, 0, {band.edge[side], width}, {Chart::Transparent, 0});
            pen.draw(edges[side]);
        }
    }
}

void TrendLayerImpl::paint(DrawArea* d) {
    if (!d || static_cast<int>(lines_.size()) != dataSetCount()) return;
    for (const Band& band : bands_)
        for (int ds = 0; ds < dataSetCount(); ++ds) paintBand(d, ds, band);
    for (int ds = dataSetCount(); ds-- > 0;) {
        DataSetImpl& set = dataSet(ds);
        int color = set.dataColor();
        d->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
        LinePen pen(d, frameBox(), isSwapped(), 0, 0, {color, set.lineWidth()}, {Chart::Transparent, 0});
        pen.draw(lines_[static_cast<size_t>(ds)]->path());
    }
}

LabelSpot TrendLayerImpl::dataLabelSpot(int ds, int i, int wanted, int width, int height) {
    double y = ds < static_cast<int>(fits_.size()) ? fits_[static_cast<size_t>(ds)].valueAt(xValue(i)) : Chart::NoValue;
    double px = pixelX(xValue(i)), py = toPixelY(y, dataSet(ds).axis());
    if (px == Chart::NoValue || py == Chart::NoValue) return LayerImpl::dataLabelSpot(ds, i, wanted, width, height);
    double sx, sy;
    screenPoint(px, py, sx, sy);
    int alignment = wanted ? wanted : isSwapped() ? Chart::Left : Chart::BottomCenter;
    return {static_cast<int>(std::floor(sx + 0.5)), static_cast<int>(std::floor(sy + 0.5)), alignment};
}

bool TrendLayerImpl::layerField(std::string_view name, const char* format, int ds, int, std::string& text) {
    static const char* const names[] = {"slope", "intercept", "correlation", "stdError"};
    auto known = std::find_if(std::begin(names), std::end(names), [&name](const char* n) { return name == n; });
    if (known == std::end(names) || dataSetCount() == 0) return false;
    TrendFit fit = fitOf(ds >= 0 && ds < dataSetCount() ? ds : 0);
    double values[] = {fit.slope(), fit.intercept(), fit.correlation(), fit.stdError()};
    text = chart()->getFormatter().format(format, values[known - std::begin(names)]);
    return true;
}

void TrendLayerImpl::hotSpot(int dataSet, int, std::vector<int>& xy) {
    xy.clear();
    if (dataSet >= 0 && dataSet < static_cast<int>(hotSpots_.size())) xy = hotSpots_[static_cast<size_t>(dataSet)];
}

TrendLayer* XYChartImpl::addTrendLayer(DoubleArray data, int color, const char* name, int depth) {
    auto* layer = new TrendLayerImpl();
    addLayer(layer);
    layer->addDataSet(data, color, name);
    if (depth != 0) layer->set3D(depth, 0);
    return layer;
}

TrendLayer* XYChartImpl::addTrendLayer(DoubleArray xData, DoubleArray yData, int color, const char* name, int depth) {
    TrendLayer* layer = addTrendLayer(yData, color, name, depth);
    layer->setXData(xData);
    return layer;
}

}  // namespace plotvane

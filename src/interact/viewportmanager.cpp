// The view port of an interactive chart: a rectangle in the unit square of the full data range.
// Every zoom and drag comes down to setRange: a new size clamped between the zoom limits (moving the
// offset by half the clamped amount keeps the result centred on what was asked) and a position
// relative to where the drag started, clamped so the view stays inside the data. Inputs that are
// not finite, and plot areas of no size, change nothing, so the view port never becomes NaN.

#include <plotvane/viewportmanager.h>

#include <plotvane/axis.h>
#include <plotvane/basechart.h>
#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace plotvane {

namespace {

constexpr size_t kMaxMetricValue = 1024;

enum ScaleKind { kLinear = 3, kLog = 4, kDate = 5 };

bool finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Clamps into [lo, hi], accepting the bounds in either order.
double clampEither(double v, double a, double b) { return std::clamp(v, std::min(a, b), std::max(a, b)); }

class ViewPortManagerImpl final : public ViewPortManager {
  public:
    void destroy() override { delete this; }

    void setChartMetrics(const char* metrics) override {
        if (!metrics) {
            plotLeft_ = plotTop_ = plotWidth_ = plotHeight_ = 0;
            return;
        }
        std::string text = metrics;
        for (size_t at = 0; at <= text.size();) {
            size_t end = text.find('&', at);
            if (end == std::string::npos) end = text.size();
            std::string pair = text.substr(at, end - at);
            at = end + 1;
            size_t eq = pair.find('=');
            if (eq == std::string::npos) continue;
            std::string key = pair.substr(0, eq), value = pair.substr(eq + 1, kMaxMetricValue);
            long v = std::strtol(value.c_str(), nullptr, 10);
            int n = static_cast<int>(std::clamp(v, -1000000000L, 1000000000L));
            if (key == "vl") plotLeft_ = n;
            else if (key == "vt") plotTop_ = n;
            else if (key == "vw") plotWidth_ = n;
            else if (key == "vh") plotHeight_ = n;
            else if (key == "w") chartWidth_ = n;
            else if (key == "h") chartHeight_ = n;
        }
    }
    int getPlotAreaLeft() const override { return plotLeft_; }
    int getPlotAreaTop() const override { return plotTop_; }
    int getPlotAreaWidth() const override { return plotWidth_; }
    int getPlotAreaHeight() const override { return plotHeight_; }
    void setPlotAreaMouseMargin(int left, int right, int top, int bottom) override {
        marginLeft_ = left;
        marginRight_ = right;
        marginTop_ = top;
        marginBottom_ = bottom;
    }
    bool inPlotArea(int x, int y) const override {
        long long right = static_cast<long long>(plotLeft_) + plotWidth_,
                  bottom = static_cast<long long>(plotTop_) + plotHeight_;
        return x >= std::min<long long>(plotLeft_, right) && x <= std::max<long long>(plotLeft_, right) &&
               y >= std::min<long long>(plotTop_, bottom) && y <= std::max<long long>(plotTop_, bottom);
    }
    bool inExtendedPlotArea(int x, int y) const override {
        long long left = std::max(0LL, static_cast<long long>(plotLeft_) - marginLeft_);
        long long right = std::min(chartWidth_ - 1LL, static_cast<long long>(plotLeft_) + plotWidth_ + marginRight_);
        long long top = std::max(0LL, static_cast<long long>(plotTop_) - marginTop_);
        long long bottom = std::min(chartHeight_ - 1LL, static_cast<long long>(plotTop_) + plotHeight_ + marginBottom_);
        return x >= left && x <= right && y >= top && y <= bottom;
    }

    double getViewPortLeft() const override { return left_; }
    double getViewPortTop() const override { return top_; }
    double getViewPortWidth() const override { return width_; }
    double getViewPortHeight() const override { return height_; }
    void setViewPortLeft(double v) override { left_ = v; }
    void setViewPortTop(double v) override { top_ = v; }
    void setViewPortWidth(double v) override { width_ = v; }
    void setViewPortHeight(double v) override { height_ = v; }
    void validateViewPort() override {
        width_ = std::isfinite(width_) ? std::clamp(width_, 0.0, 1.0) : 1;
        height_ = std::isfinite(height_) ? std::clamp(height_, 0.0, 1.0) : 1;
        left_ = std::isfinite(left_) ? std::clamp(left_, 0.0, 1 - width_) : 0;
        top_ = std::isfinite(top_) ? std::clamp(top_, 0.0, 1 - height_) : 0;
    }

    double getZoomInWidthLimit() const override { return zoomInWidth_; }
    double getZoomOutWidthLimit() const override { return zoomOutWidth_; }
    double getZoomInHeightLimit() const override { return zoomInHeight_; }
    double getZoomOutHeightLimit() const override { return zoomOutHeight_; }
    void setZoomInWidthLimit(double v) override { zoomInWidth_ = v; }
    void setZoomOutWidthLimit(double v) override { zoomOutWidth_ = v; }
    void setZoomInHeightLimit(double v) override { zoomInHeight_ = v; }
    void setZoomOutHeightLimit(double v) override { zoomOutHeight_ = v; }
    bool canZoomIn(int d) const override {
        return (d != kDirectionVertical && width_ > zoomInWidth_) || (d != kDirectionHorizontal && height_ > zoomInHeight_);
    }
    bool canZoomOut(int d) const override {
        return (d != kDirectionVertical && zoomOutWidth_ > width_) ||
               (d != kDirectionHorizontal && zoomOutHeight_ > height_);
    }

    void startDrag() override {
        dragLeft_ = left_;
        dragTop_ = top_;
    }
    bool dragTo(int d, int dx, int dy) override {
        if (!hasPlotArea()) return false;
        return setRange(d, -dx * width_ / plotWidth_, width_, -dy * height_ / plotHeight_, height_);
    }
    bool zoomAt(int d, int x, int y, double ratio) override {
        if (!hasPlotArea() || !finite({ratio}) || ratio <= 0) return false;
        startDrag();
        double newWidth = width_ / ratio, newHeight = height_ / ratio;
        double dx = (x - plotLeft_) * width_ / plotWidth_ - 0.5 * newWidth;
        double dy = (y - plotTop_) * height_ / plotHeight_ - 0.5 * newHeight;
        return setRange(d, dx, newWidth, dy, newHeight);
    }
    bool zoomTo(int d, int x1, int y1, int x2, int y2) override {
        if (!hasPlotArea()) return false;
        startDrag();
        double newWidth = width_ * std::abs(static_cast<double>(x1) - x2) / plotWidth_;
        double newHeight = height_ * std::abs(static_cast<double>(y1) - y2) / plotHeight_;
        double dx = (std::min(x1, x2) - plotLeft_) * width_ / plotWidth_;
        double dy = (std::min(y1, y2) - plotTop_) * height_ / plotHeight_;
        return setRange(d, dx, newWidth, dy, newHeight);
    }
    bool zoomAround(int x, int y, double xRatio, double yRatio) override {
        if (!hasPlotArea() || !finite({xRatio, yRatio}) || xRatio <= 0 || yRatio <= 0) return false;
        double newWidth = std::max(std::min(width_ / xRatio, zoomOutWidth_), zoomInWidth_);
        double newHeight = std::max(std::min(height_ / yRatio, zoomOutHeight_), zoomInHeight_);
        if (!finite({newWidth, newHeight}) || (newWidth == width_ && newHeight == height_)) return false;
        left_ += (width_ - newWidth) * (x - plotLeft_) / plotWidth_;
        top_ += (height_ - newHeight) * (y - plotTop_) / plotHeight_;
        width_ = newWidth;
        height_ = newHeight;
        validateViewPort();
        return true;
    }

    void setFullRange(const char* id, double minValue, double maxValue) override {
        if (!id) return;
        attrs_[std::string(id) + "_min"] = minValue;
        attrs_[std::string(id) + "_max"] = maxValue;
    }
    void clearAllRanges() override {
        attrs_.clear();
        pending_.clear();
    }
    bool updateFullRangeH(const char* id, double minValue, double maxValue, int updateType) override {
        return updateFullRange(id, minValue, maxValue, updateType, true, false);
    }
    bool updateFullRangeV(const char* id, double minValue, double maxValue, int updateType) override {
        return updateFullRange(id, minValue, maxValue, updateType, false, true);
    }
    bool updateFullRangeHV(int direction, const char* id, double minValue, double maxValue,
                           int updateType) override {
        if (direction < Chart::DirectionHorizontal || direction > Chart::DirectionHorizontalVertical) return false;
        return updateFullRange(id, minValue, maxValue, updateType, direction != Chart::DirectionVertical,
                               direction != Chart::DirectionHorizontal);
    }
    double getValueAtViewPort(const char* id, double ratio, bool isLogScale) const override {
        double lo = rangeMin(id), hi = rangeMax(id);
        return isLogScale ? lo * std::pow(hi / lo, ratio) : lo + ratio * (hi - lo);
    }
    double getViewPortAtValue(const char* id, double value, bool isLogScale) const override {
        double lo = rangeMin(id), hi = rangeMax(id);
        return isLogScale ? std::log(value / lo) / std::log(hi / lo) : (value - lo) / (hi - lo);
    }

    void syncLinearAxisWithViewPort(const char* id, Axis* axis) override { sync(id, axis, kLinear); }
    void syncLogAxisWithViewPort(const char* id, Axis* axis) override { sync(id, axis, kLog); }
    void syncDateAxisWithViewPort(const char* id, Axis* axis) override { sync(id, axis, kDate); }
    void commitPendingSyncAxis(BaseChart* chart) override {
        if (!chart || pending_.empty()) return;
        // The axes choose their automatic scales while the chart lays out.
        chart->layout();
        std::vector<PendingSyncAxis> pending;
        pending.swap(pending_);
        for (const PendingSyncAxis& p : pending) {
            setFullRange(p.id.c_str(), p.axis->getMinValue(), p.axis->getMaxValue());
            if (rangeMin(p.id.c_str()) != rangeMax(p.id.c_str())) sync(p.id.c_str(), p.axis, p.kind);
        }
    }

    double getCustomAttr(const char* key) const override {
        auto it = key ? attrs_.find(key) : attrs_.end();
        return it == attrs_.end() ? 0 : it->second;
    }
    void setCustomAttr(const char* key, double value) override {
        if (key) attrs_[key] = value;
    }

  private:
    struct PendingSyncAxis {
        std::string id;
        Axis* axis;
        int kind;
    };

    bool hasPlotArea() const { return plotWidth_ != 0 && plotHeight_ != 0; }

    double rangeMin(const char* id) const { return id ? getCustomAttr((std::string(id) + "_min").c_str()) : 0; }
    double rangeMax(const char* id) const { return id ? getCustomAttr((std::string(id) + "_max").c_str()) : 0; }

    // One axis of setRange: the size clamped between the limits, the position after the drag.
    static void fitAxis(double offset, double newSize, double start, double inLimit, double outLimit, double& pos,
                        double& size) {
        if (newSize != size) {
            double clamped = clampEither(newSize, inLimit, outLimit);
            offset -= (clamped - newSize) / 2;
            size = clamped;
        }
        pos = clampEither(offset + start, 0, 1 - size);
    }

    bool setRange(int d, double dx, double newWidth, double dy, double newHeight) {
        if (!finite({dx, newWidth, dy, newHeight})) return false;
        bool widthStuck = newWidth < width_ && width_ < zoomInWidth_;
        if (widthStuck || d == kDirectionVertical) {
            if (newHeight < height_ && height_ < zoomInHeight_) return false;
            if (d == kDirectionHorizontal) return false;
            if (d == kDirectionVertical) dx = 0;
        }
        double left = left_, top = top_, width = width_, height = height_;
        if (d != kDirectionVertical) fitAxis(dx, newWidth, dragLeft_, zoomInWidth_, zoomOutWidth_, left, width);
        if (d != kDirectionHorizontal) fitAxis(dy, newHeight, dragTop_, zoomInHeight_, zoomOutHeight_, top, height);
        if (!finite({left, top, width, height})) return false;
        if (left == left_ && top == top_ && width == width_ && height == height_) return false;
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
        return true;
    }

    // Both sides of the view port move from the range as it was, so one update serves both.
    bool updateFullRange(const char* id, double minValue, double maxValue, int updateType, bool horizontal,
                         bool vertical) {
        if (!id || !finite({minValue, maxValue})) return false;
        double oldMin = rangeMin(id), oldMax = rangeMax(id);
        if (oldMin == minValue && oldMax == maxValue) return false;
        setFullRange(id, minValue, maxValue);
        if (oldMin == oldMax || updateType == 0 || minValue == maxValue) return true;
        if (horizontal) keepVisible(oldMin, oldMax, minValue, maxValue, updateType, left_, width_);
        if (vertical) keepVisible(oldMin, oldMax, minValue, maxValue, updateType, top_, height_);
        return true;
    }

    void keepVisible(double oldMin, double oldMax, double minValue, double maxValue, int updateType, double& pos,
                     double& size) {
        double visibleLo = oldMin + pos * (oldMax - oldMin), visibleHi = oldMin + (pos + size) * (oldMax - oldMin);
        double shift = updateType == 2 ? maxValue - oldMax : updateType == 3 ? minValue - oldMin : 0;
        double lo = (visibleLo + shift - minValue) / (maxValue - minValue);
        double hi = (visibleHi + shift - minValue) / (maxValue - minValue);
        if (!finite({lo, hi})) return;
        if (lo > hi) std::swap(lo, hi);
        // The kept values may be a larger or smaller part of the new range than the limits allow.
        bool horizontal = &size == &width_;
        double limited = std::min(clampEither(hi - lo, horizontal ? zoomInWidth_ : zoomInHeight_,
                                              horizontal ? zoomOutWidth_ : zoomOutHeight_), 1.0);
        lo = (lo + hi - limited) / 2;
        hi = lo + limited;
        if (lo < 0) {
            hi -= lo;
            lo = 0;
        } else if (hi > 1) {
            lo -= hi - 1;
            hi = 1;
        }
        pos = lo;
        size = hi - lo;
    }

    void sync(const char* id, Axis* axis, int kind) {
        if (!id || !axis) return;
        double lo = rangeMin(id), hi = rangeMax(id);
        if (lo == hi) {
            pending_.push_back({id, axis, kind});
            return;
        }
        int alignment = axis->getAlignment();
        bool horizontal = alignment == Chart::Top || alignment == Chart::Bottom;
        double r1 = horizontal ? left_ : 1 - top_ - height_, r2 = horizontal ? left_ + width_ : 1 - top_;
        double v1 = getValueAtViewPort(id, r1, kind == kLog), v2 = getValueAtViewPort(id, r2, kind == kLog);
        if (kind == kLog) axis->setLogScale(v1, v2);
        else if (kind == kDate) axis->setDateScale(v1, v2);
        else axis->setLinearScale(v1, v2);
    }

    int chartWidth_ = 0, chartHeight_ = 0;
    int plotLeft_ = 0, plotTop_ = 0, plotWidth_ = 0, plotHeight_ = 0;
    int marginLeft_ = 5, marginRight_ = 5, marginTop_ = 5, marginBottom_ = 5;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
    double zoomInWidth_ = 0.01, zoomOutWidth_ = 1, zoomInHeight_ = 0.01, zoomOutHeight_ = 1;
    double dragLeft_ = 0, dragTop_ = 0;
    std::vector<PendingSyncAxis> pending_;
    std::map<std::string, double> attrs_;
};

}  // namespace

ViewPortManager* ViewPortManager::create() { return new (std::nothrow) ViewPortManagerImpl(); }

}  // namespace plotvane

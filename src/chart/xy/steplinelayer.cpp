// Step-line layers: points joined by a horizontal run and a vertical riser.
//
// The points are first put on whole pixels, so runs and risers land on pixel rows and columns.
// The alignment decides where the riser between two points stands: at the later point's x (the
// left family: a value holds from its own x until the next point), halfway between them (the
// centre family, which also holds the first and the last value half a step beyond their points),
// or at the earlier point's x (the right family: a value holds up to its own x). A break after a
// point moves to the corner inserted after it, so the step that bridges a missing value is drawn
// in the gap style.
#include <cmath>

#include "chart/xy/linelayer_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

namespace {

class StepLine final : public MultiLine {
public:
    explicit StepLine(int alignment) : alignment_(alignment) {}
    bool hasOwnPath() const override { return true; }

protected:
    bool buildPath(const FrameBox& view, std::vector<LinePoint>& path) override;

private:
    int alignment_;
};

double pixel(double v) { return std::floor(std::clamp(v, -1e9, 1e9) + 0.5); }

bool StepLine::buildPath(const FrameBox&, std::vector<LinePoint>& path) {
    int family = (alignment_ - 1) % 3;  // 0 left, 1 centre, 2 right
    if (alignment_ < 1 || alignment_ > 9) family = 2;
    size_t n = points_.size();
    auto at = [this](size_t i) { return LinePoint{pixel(points_[i].x), pixel(points_[i].y), points_[i].breakAfter}; };
    for (size_t i = 0; i < n; ++i) {
        LinePoint p = at(i);
        if (i + 1 == n) {
            path.push_back(p);
            if (family == 1 && n > 1) path.push_back({p.x + std::trunc((p.x - at(i - 1).x) / 2), p.y, false});
            continue;
        }
        LinePoint q = at(i + 1);
        if (family == 1 && i == 0) path.push_back({p.x - std::trunc((q.x - p.x) / 2), p.y, false});
        bool brk = p.breakAfter;
        p.breakAfter = false;
        path.push_back(p);
        if (family == 0) {
            path.push_back({q.x, p.y, brk});
        } else if (family == 2) {
            path.push_back({p.x, q.y, brk});
        } else {
            double mid = std::trunc((p.x + q.x) / 2);
            path.push_back({mid, p.y, brk});
            path.push_back({mid, q.y, false});
        }
    }
    return true;
}

class StepLineLayerImpl final : public StepLineLayer, public LineLayerImpl {
public:
    void setAlignment(int alignment) override { alignment_ = alignment; }

protected:
    std::unique_ptr<MultiLine> newLine() override { return std::make_unique<StepLine>(alignment_); }

private:
    int alignment_ = Chart::Left;
};

}  // namespace

StepLineLayer::~StepLineLayer() = default;

StepLineLayer* XYChartImpl::addStepLineLayer() {
    auto* layer = new StepLineLayerImpl();
    addLayer(layer);
    return layer;
}

StepLineLayer* XYChartImpl::addStepLineLayer(DoubleArray data, int color, const char* name) {
    StepLineLayer* layer = addStepLineLayer();
    layer->addDataSet(data, color, name);
    return layer;
}

}  // namespace plotvane

#ifndef PLOTVANE_CHART_XY_COLORAXIS_P_H
#define PLOTVANE_CHART_XY_COLORAXIS_P_H

// The colour axis: an axis whose scale also yields colours (through a ColorMapper built from its
// ticks, or from explicit stops), painted as a colour bar in a box. Its owner (a contour layer, a
// 3D chart) lays it out over a value range and paints it where the owner's painting order wants.

#include <plotvane/coloraxis.h>

#include <memory>
#include <vector>

#include "chart/xy/axis_p.h"
#include "chart/xy/colormapper_p.h"

namespace plotvane {

class ColorAxisImpl final : public ColorAxis, public AxisImpl {
public:
    explicit ColorAxisImpl(BaseChartImpl* chart);

    // ColorAxis
    void setColorGradient(bool isContinuous, IntArray colors, int underflowColor, int overflowColor) override;
    void setColorScale(DoubleArray colorStops, int underflowColor, int overflowColor) override;
    int getColor(double z) override { return mapper_ ? mapper_->getColor(z) : Chart::Transparent; }
    void setLevels(int maxLevels) override { levels_ = maxLevels > 0 ? maxLevels : kDefaultLevels; }
    void setCompactAxis(bool b) override;
    void setAxisPos(int x, int y, int alignment) override;
    void setAxisBorder(int edgeColor, int raisedEffect) override;
    void setBoundingBox(int fillColor, int edgeColor, int raisedEffect) override;
    void setBoxMargin(int m) override { setBoxMargin(m, m, m, m); }
    void setBoxMargin(int leftMargin, int rightMargin, int topMargin, int bottomMargin) override;
    void setRoundedCorners(int r1, int r2, int r3, int r4) override;
    int getBoxWidth() override;
    int getBoxHeight() override;
    bool isSmooth() override { return smooth_; }

    // Axis settings the colour axis reads differently: the width is the bar's, and an automatic
    // tick density or label step follows the levels and the room for labels.
    void setWidth(int width) override;
    void setTickDensity(int majorTickSpacing, int minorTickSpacing) override;
    void setLabelStep(int majorTickStep, int minorTickStep, int majorTickOffset, int minorTickOffset) override;

    // For the owner. Where the box goes unless the program placed it, and the length of the bar
    // unless the program gave one.
    void setDefaultPlace(int x, int y, int alignment, int length);
    // Scales the axis over [zMin, zMax] (NoValue: no data) and builds the colours from its ticks.
    void layoutScale(double zMin, double zMax);
    void paintAxis(DrawArea* d);
    const ColorMapper* mapper() const { return mapper_.get(); }

private:
    static constexpr int kDefaultLevels = 16;

    struct Box {
        int left = 0, top = 0, width = 0, height = 0;
        int barLeft = 0, barTop = 0, barRight = 0, barBottom = 0;
    };
    int barWidth() const;
    void buildMapper();
    void computeBox();
    void paintBar(DrawArea* d);

    std::vector<int> gradient_;
    bool continuous_ = true;
    int underflowColor_ = -1;
    int overflowColor_ = -1;
    std::vector<double> stopValues_;
    std::vector<int> stopColors_;
    std::unique_ptr<ColorMapper> mapper_;
    bool smooth_ = false;
    bool removed_ = false;  // a colour scale too short to use: no colours at all

    int levels_ = kDefaultLevels;
    bool compact_ = false;
    bool userTickDensity_ = false;
    bool userLabelStep_ = false;
    bool userPos_ = false;
    int posX_ = 0, posY_ = 0, posAlignment_ = Chart::TopLeft;
    int defaultLength_ = 0;
    int barWidth_ = -1;
    int borderColor_ = Chart::LineColor;
    int borderEffect_ = 0;
    bool boxOn_ = false;
    int boxFill_ = Chart::Transparent;
    int boxEdge_ = Chart::Transparent;
    int boxEffect_ = 0;
    int margins_[4] = {5, 5, 5, 5};  // left, right, top, bottom
    int radii_[4] = {0, 0, 0, 0};
    bool boxValid_ = false;
    Box box_;
};

}  // namespace plotvane

#endif

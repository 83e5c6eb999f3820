#ifndef PLOTVANE_CHART_XY_PLOTAREA_P_H
#define PLOTVANE_CHART_XY_PLOTAREA_P_H

// The plot area of an XY chart: its rectangle, background, grid and clipping, the axes around it
// (owned here) and the order of the layers (owned here too, in creation order).

#include <plotvane/xychart.h>

#include <memory>
#include <string>
#include <vector>

#include "chart/xy/axis_p.h"

namespace plotvane {

class LayerImpl;
class XYChartImpl;

class PlotAreaImpl final : public PlotArea {
public:
    // Scale modes the layer factories set: points, vectors, prices, contours.
    enum ScaleMode { kDefaultMode = 0, kScatterMode = 1, kVectorMode = 2, kPriceMode = 3, kContourMode = 4 };

    explicit PlotAreaImpl(XYChartImpl* chart);
    ~PlotAreaImpl() override;

    void setBackground(int color, int altBgColor, int edgeColor) override;
    void setBackground(const char* img, int align) override;
    void setAltBgColor(bool horizontal, int color1, int color2, int edgeColor) override;
    void set4QBgColor(int q1Color, int q2Color, int q3Color, int q4Color, int edgeColor) override;
    void setGridColor(int hGridColor, int vGridColor, int minorHGridColor, int minorVGridColor) override;
    void setGridWidth(int hGridWidth, int vGridWidth, int minorHGridWidth, int minorVGridWidth) override;
    void setGridAxis(const Axis* xGridAxis, const Axis* yGridAxis) override;
    void moveGridBefore(Layer* layer) override;
    int getLeftX() override { return x_; }
    int getTopY() override { return y_; }
    int getWidth() override { return width_; }
    int getHeight() override { return height_; }
    int getRightX() override { return x_ + width_; }
    int getBottomY() override { return y_ + height_; }

    void setRect(int x, int y, int width, int height);
    // Stored axes: 0 xAxis, 1 xAxis2, 2 yAxis, 3 yAxis2, then the added ones.
    AxisImpl* axis(size_t i) const { return i < axes_.size() ? axes_[i].get() : nullptr; }
    AxisImpl* findAxis(const Axis* a) const;
    AxisImpl* addAxis(int align, int offset);
    void setSwapXY(bool b);
    void setXAxisOnTop(bool b);
    void setYAxisOnRight(bool b);
    bool swapped() const { return swapXY_; }
    void setAxisAtOrigin(int originMode, int symmetryMode);
    void setClipping(int margin) { clipMargin_ = margin; }
    void setScaleMode(int mode) { scaleMode_ = mode; }

    // Takes ownership; inserted behind every layer but those kept under the grid.
    void addLayer(LayerImpl* layer);
    LayerImpl* getLayer(int i) const;
    LayerImpl* getLayerByZ(int i) const;
    int layerCount() const { return static_cast<int>(layers_.size()); }
    void moveFront(LayerImpl* layer, LayerImpl* other);
    void moveBack(LayerImpl* layer, LayerImpl* other);
    const std::vector<LayerImpl*>& layers() const { return layers_; }

    void layoutAxes();
    bool isLaidOut() const { return laidOut_; }
    void pack(int leftX, int topY, int rightX, int bottomY, int minWidth, int minHeight);
    // The plot rectangle grown by the axes' labels and titles, as laid out.
    PixelRect extentWithAxes();
    int depthX() const { return depthX_; }
    int depthY() const { return depthY_; }
    void paint(DrawArea* d);

private:
    AxisImpl* sideAxis(int side) const;
    void assignSides();
    void placeAxes();
    void scaleAxes();
    void scaleYAxis(AxisImpl* axis, double lo, double hi, bool percentage);
    void applyDefaultAutoScale(AxisImpl* axis);
    void placeAtOrigin();
    AxisImpl* gridAxis(bool xDirection) const;
    // The plot rectangle on the back wall, and the move that takes an axis's pixels there.
    PixelRect rect() const;
    int wallShift(const AxisImpl* axis) const;
    void paintBackground(DrawArea* d);
    void paintBands(DrawArea* d);
    void paintGrid(DrawArea* d);
    void paintMarks(DrawArea* d, bool onTop);
    void paintBorder(DrawArea* d);
    void clip(DrawArea* d, bool on);

    XYChartImpl* chart_;
    std::vector<std::unique_ptr<AxisImpl>> axes_;
    std::vector<std::unique_ptr<LayerImpl>> layersByCreation_;
    std::vector<LayerImpl*> layers_;  // front-most first
    bool yAxisOnRight_ = false;
    bool xAxisOnTop_ = false;
    bool swapXY_ = false;
    int axisAtOrigin_ = 0;
    int symmetryMode_ = 0;
    int scaleMode_ = kDefaultMode;
    int x_ = 0;
    int y_ = 0;
    int width_ = 0;
    int height_ = 0;
    int depthX_ = 0;
    int depthY_ = 0;
    int clipMargin_ = 0x7fffffff;
    int edgeColor_ = -1;
    int bgColor_ = Chart::Transparent;
    int altBgColor_ = Chart::Transparent;
    bool altVertical_ = false;
    std::string bgImagePath_;
    int bgImageAlign_ = Chart::Center;
    int hGridColor_ = 0xe0e0e0;
    int minorHGridColor_ = -1;
    int vGridColor_ = -1;
    int minorVGridColor_ = -1;
    int hGridWidth_ = 1;
    int minorHGridWidth_ = -1;
    int vGridWidth_ = -1;
    int minorVGridWidth_ = -1;
    int gridLayerCount_ = 0;
    AxisImpl* xGridAxis_ = nullptr;
    AxisImpl* yGridAxis_ = nullptr;
    bool laidOut_ = false;
};

}  // namespace plotvane

#endif

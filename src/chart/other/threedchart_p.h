#ifndef PLOTVANE_CHART_OTHER_THREEDCHART_P_H
#define PLOTVANE_CHART_OTHER_THREEDCHART_P_H

// The frame shared by the true-3D charts: the box, its axes and walls, the view, and the engine
// that projects, lights and paints. A chart type lays out its axes over its data in layoutContents
// and, in addContents, gives the engine what it shows inside the box: surfaces, edges and marks of
// the Contents layer, painted after the walls and axes; the engine calls paintMark back for each
// of its marks in turn. The colour axis is painted last.

#include <plotvane/threedchart.h>

#include <memory>
#include <string>

#include "chart/basechart_p.h"
#include "chart/other/threedengine_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/coloraxis_p.h"

namespace plotvane {

class ThreeDChartImpl : public virtual ThreeDChart, public virtual BaseChartImpl {
public:
    ThreeDChartImpl();
    ~ThreeDChartImpl() override;

    void setPlotRegion(int cx, int cy, int xWidth, int yDepth, int zHeight) override;
    void setViewAngle(double elevation, double rotation, double twist) override;
    void setPerspective(double perspective) override;
    Axis* xAxis() override { return x_.get(); }
    Axis* yAxis() override { return y_.get(); }
    Axis* zAxis() override { return z_.get(); }
    ColorAxis* setColorAxis(int x, int y, int alignment, int length, int orientation) override;
    ColorAxis* colorAxis() override { return color_.get(); }
    void setZAxisPos(int pos) override { zAxisPos_ = pos; }
    void setWallVisibility(bool xyVisible, bool yzVisible, bool zxVisible) override;
    void setWallColor(int xyColor, int yzColor, int zxColor, int borderColor) override;
    void setWallThickness(int xyThickness, int yzThickness, int zxThickness) override;
    void setWallGrid(int majorXGridColor, int majorYGridColor, int majorZGridColor, int minorXGridColor,
                     int minorYGridColor, int minorZGridColor) override;
    int getXCoor(double x, double y, double z) override;
    int getYCoor(double x, double y, double z) override;

protected:
    // Sizes that follow the chart's, for create() to call once the size is set.
    void initFrame();
    // Data values to model space: x across, z up, y in depth (the smallest y nearest the front
    // before any rotation). NoValue or an unscaled axis gives a non-finite coordinate.
    Point3D modelOf(double x, double y, double z) const;
    const ThreeDEngine& engine() const { return engine_; }
    ThreeDEngine& engine() { return engine_; }
    AxisImpl& xAxisImpl() { return *x_; }
    AxisImpl& yAxisImpl() { return *y_; }
    AxisImpl& zAxisImpl() { return *z_; }
    ColorAxisImpl& colorAxisImpl() { return *color_; }
    int boxWidth() const { return xWidth_; }
    int boxDepth() const { return yDepth_; }
    int boxHeight() const { return zHeight_; }

    virtual void layoutContents() = 0;
    // farCorner: bit 0 the x end, bit 1 the upright end, bit 2 the depth end farthest away.
    virtual void addContents(int farCorner) = 0;
    virtual void paintMark(DrawArea*, int) {}

    void onLayoutLegend() override {}
    void onLayoutChart() override;
    void onPaint() override;
    std::string onGetHTMLImageMap(const char*, const char*, const char*, int, int) override { return std::string(); }

private:
    Point3D corner(int index) const;
    int farthestCorner() const;
    void addWalls(int far);
    void addWallGrid(int far);
    void paintAxes(DrawArea* d, int far);
    void paintAxisAlong(DrawArea* d, AxisImpl& axis, int dim, Point3D from, Point3D to);
    void wallFace(const Point3D* p, int edgeColor, int fillColor);
    void gridLine(Point3D a, Point3D b, int color);

    int cx_ = 240, cy_ = 180, xWidth_ = 240, zHeight_ = 180, yDepth_ = 240;
    double elevation_ = 30;
    double rotation_ = -45;  // stored negated
    double twist_ = 0;
    double perspective_ = 12;
    std::unique_ptr<AxisImpl> x_, y_, z_;
    std::unique_ptr<ColorAxisImpl> color_;
    int zAxisPos_ = 8;
    int majorGrid_[3] = {0xcccccc, 0xcccccc, 0xcccccc};
    int minorGrid_[3] = {0xdddddd, 0xdddddd, 0xdddddd};
    bool wallVisible_[3] = {true, true, true};  // xy, yz, zx
    int wallThickness_[3] = {10, 10, 10};
    int wallColor_[3] = {0xeeeeee, 0xeeeeee, 0xeeeeee};
    int wallBorder_ = 0x888888;
    ThreeDEngine engine_;
};

}  // namespace plotvane

#endif

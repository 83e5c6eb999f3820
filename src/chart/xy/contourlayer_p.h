#ifndef PLOTVANE_CHART_XY_CONTOURLAYER_P_H
#define PLOTVANE_CHART_XY_CONTOURLAYER_P_H

#include <plotvane/contourlayer.h>

#include <array>
#include <memory>
#include <vector>

#include "chart/xy/coloraxis_p.h"
#include "chart/xy/contourfield_p.h"
#include "chart/xy/isolines_p.h"
#include "chart/xy/layer_p.h"

namespace plotvane {

class ContourLayerImpl final : public ContourLayer, public LayerImpl {
public:
    explicit ContourLayerImpl(XYChartImpl* chart);

    void setPoints(DoubleArray xData, DoubleArray yData);
    void setZData(DoubleArray zData) override;
    void setZBounds(double minZ, double maxZ) override;
    void setSmoothInterpolation(bool b) override { smooth_ = b; }
    void setHeatMap(bool b) override { heatMap_ = b; }
    void setContourColor(int contourColor, int minorContourColor) override;
    void setContourWidth(int contourWidth, int minorContourWidth) override;
    void setExactContour(bool contour) override { setExactContour(contour, contour); }
    void setExactContour(bool contour, bool markContour) override;
    ColorAxis* colorAxis() override { return axis_.get(); }
    ColorAxis* setColorAxis(int x, int y, int alignment, int length, int orientation) override;

    double getMinX() override;
    double getMaxX() override;
    double getPosMinX() override;
    double getNegMaxX() override;
    double getMinY(const AxisImpl* axis) override;
    double getMaxY(const AxisImpl* axis) override;
    double getPosMinY(const AxisImpl* axis) override;
    double getNegMaxY(const AxisImpl* axis) override;
    void layoutChart() override;
    void paint(DrawArea* d) override;
    void postPaint(DrawArea* d) override;

    // The data as given (after the trim window), for hot spots.
    const std::vector<double>& xValues() const { return x_; }
    const std::vector<double>& yValues() const { return y_; }
    const std::vector<double>& zValues() const { return z_; }
    ColorAxisImpl& colorAxisImpl() { return *axis_; }
    // The contour lines drawn by the last paint, per level, in screen pixels.
    struct Level {
        double value;
        bool major;
        std::vector<IsoLine> lines;
    };
    const std::vector<Level>& levels() const { return levels_; }

private:
    // The points with an x and a y, their z clamped into the bounds, arranged as a grid or
    // triangulated; rebuilt when the data change.
    struct Prepared {
        std::vector<double> x, y, z;
        bool isGrid = false;
        ContourGrid grid;
        std::vector<std::array<int, 3>> triangles;
        double minX, maxX, minY, maxY, minZ, maxZ;  // NoValue when empty
        double posMinX, negMaxX, posMinY, negMaxY;
    };
    const Prepared& prepared();
    // The x (or y) extent, widened by half a cell on each side for a heat map.
    void extent(bool alongX, double& lo, double& hi);
    double zBounded(double z) const;
    // Samples the z field at the pixels of the rectangle (or at four points per pixel).
    bool sampleField(int left, int top, int width, int height, double step, PixelField& field);
    void paintFill(DrawArea* d, int left, int top, int width, int height);
    void traceLines(const PixelField& field, int left, int top, double step);
    void paintLines(DrawArea* d);

    std::unique_ptr<ColorAxisImpl> axis_;
    std::vector<double> x_, y_, z_;
    double zLow_ = Chart::NoValue;
    double zHigh_ = Chart::NoValue;
    bool smooth_ = false;
    bool heatMap_ = false;
    bool exactFill_ = false;
    bool exactLines_ = false;
    int contourColor_ = Chart::LineColor;
    int minorContourColor_ = -1;
    int contourWidth_ = 1;
    int minorContourWidth_ = -1;
    bool dirty_ = true;
    Prepared prepared_;
    // The fill pictures stay alive as long as the drawing that refers to them.
    std::vector<std::vector<int>> fills_;
    std::vector<Level> levels_;
};

}  // namespace plotvane

#endif

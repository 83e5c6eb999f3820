#ifndef PLOTVANE_THREEDCHART_H
#define PLOTVANE_THREEDCHART_H

// Charts in a true 3D box: a surface over an (x, y) grid and groups of (x, y, z) points. The box
// has an x axis across, a y axis in depth and a z axis upright; the viewer looks at it from an
// elevation above the floor after the box is turned by a rotation about its upright axis, and the
// picture can be twisted about the line of sight. Three walls stand behind the contents, on the
// box faces farthest from the viewer.

#include <plotvane/basechart.h>
#include <plotvane/coloraxis.h>

namespace plotvane {

class PLOTVANE_API ThreeDChart : public virtual BaseChart {
public:
    // Centre of the box on the chart and its width (x), depth (y) and height (z) in pixels.
    virtual void setPlotRegion(int cx, int cy, int xWidth, int yDepth, int zHeight) = 0;
    // Degrees; NoValue keeps an angle.
    virtual void setViewAngle(double elevation, double rotation = Chart::NoValue, double twist = Chart::NoValue) = 0;
    // How strongly nearer parts look bigger, in percent; 0 is a parallel projection.
    virtual void setPerspective(double perspective) = 0;
    virtual Axis* xAxis() = 0;
    virtual Axis* yAxis() = 0;
    virtual Axis* zAxis() = 0;
    // Moves the colour axis's box to (x, y) by the alignment, and sets its length and orientation.
    virtual ColorAxis* setColorAxis(int x, int y, int alignment, int length, int orientation) = 0;
    virtual ColorAxis* colorAxis() = 0;
    // Chart::Left or Chart::Right puts the z axis on the left or right of the picture; 8 chooses.
    virtual void setZAxisPos(int pos) = 0;
    // xy is the floor, yz the side wall, zx the back wall. -1 arguments take the previous one.
    virtual void setWallVisibility(bool xyVisible, bool yzVisible, bool zxVisible) = 0;
    virtual void setWallColor(int xyColor, int yzColor = -1, int zxColor = -1, int borderColor = -1) = 0;
    virtual void setWallThickness(int xyThickness, int yzThickness = -1, int zxThickness = -1) = 0;
    virtual void setWallGrid(int majorXGridColor, int majorYGridColor = -1, int majorZGridColor = -1,
                             int minorXGridColor = -1, int minorYGridColor = -1, int minorZGridColor = -1) = 0;
    // Where a data point shows on the chart, once it is laid out.
    virtual int getXCoor(double x, double y, double z) = 0;
    virtual int getYCoor(double x, double y, double z) = 0;
};

class PLOTVANE_API SurfaceChart : public virtual ThreeDChart {
public:
    static SurfaceChart* create(int width, int height, int bgColor = Chart::BackgroundColor,
                                int edgeColor = Chart::Transparent, int raisedEffect = 0);

    // z over a grid: z has one value per (x, y) pair, rows of x for each y in turn. Alternatively
    // x, y and z of equal length give one point each; points on a common grid at least half filled
    // fill it, and grid places without a point are holes; sparser points are scattered data, joined
    // into triangles and interpolated linearly onto an even grid (50 x 50 unless setInterpolation
    // says otherwise). NoValue or non-finite z is a hole.
    virtual void setData(DoubleArray xData, DoubleArray yData, DoubleArray zData) = 0;
    // Resamples the data on a finer grid of this many points (0: keep); smooth uses cubic curves
    // through the data, otherwise straight lines. Scattered data are always interpolated linearly.
    virtual void setInterpolation(int xSamples, int ySamples = -1, bool isSmooth = true) = 0;
    // A light from the viewer's upper left.
    virtual void setLighting(double ambientIntensity, double diffuseIntensity, double specularIntensity,
                             double shininess) = 0;
    // Chart::RectangularShading: one shade per grid cell; Chart::TriangularShading: one per half
    // cell; Chart::SmoothShading: shades follow the averaged normals at the cells' corners.
    // wireframeColor, when not Transparent, outlines the cells.
    virtual void setShadingMode(int shadingMode, int wireframeColor = Chart::Transparent) = 0;
    // Lines on the surface where x and y take the axes' major and minor tick values.
    virtual void setSurfaceAxisGrid(int majorXGridColor, int majorYGridColor = -1, int minorXGridColor = -1,
                                    int minorYGridColor = -1) = 0;
    // Lines on the surface along the data grid.
    virtual void setSurfaceDataGrid(int xGridColor, int yGridColor = -1) = 0;
    // Contour lines on the surface at the colour axis's major ticks.
    virtual void setContourColor(int contourColor, int minorContourColor = -1) = 0;
    // The underside: its colour's brightness, a colour of its own (-1: the colour axis's), and
    // whether the light reaches it.
    virtual void setBackSideBrightness(double brightness) = 0;
    virtual void setBackSideColor(int color) = 0;
    virtual void setBackSideLighting(bool lighting) = 0;
};

class PLOTVANE_API ThreeDScatterGroup {
public:
    // fillColor -1: the group's data colour; Chart::SameAsMainColor: the colour axis's colour of
    // the point's z.
    virtual void setDataSymbol(int symbol, int size = 5, int fillColor = -1, int edgeColor = -1,
                               int lineWidth = 1) = 0;
    virtual void setDataSymbol(const char* image) = 0;
    virtual void setDataSymbol(DrawArea* obj) = 0;
    virtual void setDataSymbol(IntArray polygon, int size = 11, int fillColor = -1, int edgeColor = -1) = 0;
    // A line from each point down to the floor of the box, or to the walls setDropLineWalls names.
    virtual void setDropLine(int dropLineColor, int dropLineWidth = 1) = 0;
    // The walls drop lines run to, one line to each: the floor (xy), the side wall (yz) and the back
    // wall (zx), wherever the view puts them.
    virtual void setDropLineWalls(bool toXY, bool toYZ = false, bool toZX = false) = 0;
    virtual void setLegendIcon(int width, int height = -1, int edgeColor = -1) = 0;
    virtual void setSymbolOffset(int offsetX, int offsetY) = 0;

protected:
    virtual ~ThreeDScatterGroup();
};

class PLOTVANE_API ThreeDScatterChart : public virtual ThreeDChart {
public:
    static ThreeDScatterChart* create(int width, int height, int bgColor = Chart::BackgroundColor,
                                      int edgeColor = Chart::Transparent, int raisedEffect = 0);
    // The chart owns the group. NaN coordinates leave a point out.
    virtual ThreeDScatterGroup* addScatterGroup(DoubleArray xData, DoubleArray yData, DoubleArray zData,
                                                const char* name = "", int symbol = Chart::CircleSymbol,
                                                int symbolSize = 5, int fillColor = -1, int edgeColor = -1) = 0;
};

}  // namespace plotvane

#endif

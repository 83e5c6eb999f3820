#ifndef PLOTVANE_CHART_OTHER_POLARCHART_P_H
#define PLOTVANE_CHART_OTHER_POLARCHART_P_H

// The polar chart and what its layers ask of it. The chart maps (radius, angle) values to pixels
// through its two axes, both the XY axis object: the radial axis is an axis drawn at the start
// angle from the centre, so it scales, ticks and paints itself as any slanted axis; the angular
// axis lends only its scale, labels and style, which the chart spreads round the circle.

#include <plotvane/polarchart.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/basechart_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/labelbox_p.h"
#include "chart/xy/symbols_p.h"

namespace plotvane {

class PolarChartImpl;

// The axis round the circle: its labels and segments lie where the polar chart puts them.
class AngularAxisImpl final : public AngularAxis, public AxisImpl {
public:
    explicit AngularAxisImpl(PolarChartImpl* chart);
    void addZone(double startValue, double endValue, int color) override;
    void addZone(double startValue, double endValue, int startRadius, int endRadius, int fillColor,
                 int edgeColor) override;
    const char* getAxisImageMap(int noOfSegments, int mapWidth, const char* url, const char* queryFormat,
                                const char* extraAttr, int offsetX, int offsetY) override;
    const char* getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                int offsetY) override;

    // A zone between two angle values and two radii in pixels; an outer radius of -1 reaches the
    // plot area's edge.
    struct SectorZone {
        double start;
        double end;
        int inner;
        int outer;
        int fill;
        int edge;
    };
    const std::vector<SectorZone>& sectorZones() const { return sectorZones_; }

private:
    PolarChartImpl* polar_;
    std::string mapText_;
    std::vector<SectorZone> sectorZones_;
};

class RadialAxisImpl final : public RadialAxis, public AxisImpl {
public:
    explicit RadialAxisImpl(BaseChartImpl* chart) : AxisImpl(chart, Chart::Left) {}
};

namespace polar {
constexpr double kPi = 3.14159265358979323846;
// Neither missing nor NaN nor infinite.
inline bool isSet(double v) { return v != Chart::NoValue && std::isfinite(v); }
// Degrees into [0, 360).
inline double wrap360(double a) {
    double w = std::fmod(a, 360.0);
    return w < 0 ? w + 360 : w;
}
}  // namespace polar

// As many values as a layer of an XY chart holds; longer arrays are refused whole.
constexpr int kMaxPolarPoints = 1 << 24;
// The values of an array, NaN and infinities as NoValue; empty past the limit.
std::vector<double> polarValues(DoubleArray a);

// A point as laid out: its index in the data, its values and its pixels.
struct PolarPoint {
    int index;
    double r;
    double a;
    double x;
    double y;
    bool gapBefore;  // a missing value lies between this point and the one before
};

class PolarLayerImpl : public virtual PolarLayer {
public:
    PolarLayerImpl(PolarChartImpl* chart, DoubleArray data, int color, const char* name);
    ~PolarLayerImpl() override;
    PolarLayerImpl(const PolarLayerImpl&) = delete;
    PolarLayerImpl& operator=(const PolarLayerImpl&) = delete;

    void setData(DoubleArray data, int color, const char* name) override;
    void setAngles(DoubleArray angles) override;
    void setBorderColor(int edgeColor) override { borderColor_ = edgeColor; }
    void setLineWidth(int w) override { lineWidth_ = w; }
    void setDataSymbol(int symbol, int size, int fillColor, int edgeColor, int lineWidth) override;
    void setDataSymbol(const char* image) override { symbol_.setImage(image); }
    void setDataSymbol(DrawArea* obj) override { symbol_.setDrawing(obj); }
    void setDataSymbol(IntArray polygon, int size, int fillColor, int edgeColor) override;
    void setSymbolScale(DoubleArray sizes, int scaleType) override;
    void setSymbolOffset(int offsetX, int offsetY) override;
    void setImageMapWidth(int width) override;
    void setDataLabelFormat(const char* formatString) override;
    TextBox* setDataLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) override;
    TextBox* addCustomDataLabel(int i, const char* label, const char* font, double fontSize, int fontColor,
                                double fontAngle) override;
    void setHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr) override;
    const char* getImageCoor(int dataItem, int offsetX, int offsetY) override;
    const char* getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                int offsetY) override;

    // The radii present, for the radial axis's range.
    void radiusRange(double& lo, double& hi) const;
    void angleRange(double& lo, double& hi) const;
    // Colours resolved and the legend entry added.
    void layoutLegend(int z);
    // Points turned into pixels and hot spots made.
    virtual void layout();
    // Fills and lines; symbols and labels come after every layer's main pass.
    virtual void paint(DrawArea* d) = 0;
    void paintSymbols(DrawArea* d);
    void paintLabels(DrawArea* d);
    std::string formatLabel(const std::string& tmpl, int i, int escapeFlags = 0);

protected:
    PolarChartImpl* chart() const { return chart_; }
    const std::vector<PolarPoint>& points() const { return points_; }
    int color() const { return color_; }
    int edgeColor() const { return borderColor_ == -1 ? color_ : borderColor_; }
    int lineWidth() const { return lineWidth_; }
    int pointCount() const;
    double radiusAt(int i) const;
    double angleAt(int i) const;
    // The legend key: a line of this width (-1: a box).
    virtual int legendLineWidth() const { return -1; }
    // The legend key's drawing, null for a plain key; the layer keeps it.
    virtual DrawArea* legendIcon() { return symbol_.image(); }
    virtual std::string defaultLabel() const { return "{value}"; }
    virtual std::string defaultImageMapQuery() const { return "x={x}&label={label}&name={name}&value={value}"; }
    // Whether a missing value lies after the last point or before the first: the loop's
    // closing segment then bridges a gap.
    bool wrapGap() const { return wrapGap_; }
    // An image-map shape and its coordinates (x, y pairs, or x, y, radius for a circle).
    struct HotSpot {
        std::string shape;
        std::vector<int> coords;
    };
    virtual HotSpot hotSpot(const PolarPoint& p) const;
    // A field of the layer type's own ({dir}, {len} ...); false when `name` is not one.
    virtual bool layerField(const std::string& name, const char* format, int i, std::string& text) const;

private:
    class LegendEntry;

    PolarChartImpl* chart_;
    std::vector<double> data_;
    std::vector<double> angles_;
    bool hasAngles_ = false;
    int color_;
    std::string name_;
    int borderColor_ = -1;
    int lineWidth_ = 1;
    DataSymbol symbol_;
    std::vector<double> symbolSizes_;
    int symbolScaleType_ = Chart::PixelScale;
    int symbolOffsetX_ = 0;
    int symbolOffsetY_ = 0;
    int imageMapWidth_ = 10;
    std::string labelFormat_;
    bool labelsOn_ = false;
    std::unique_ptr<LabelBox> labelStyle_;
    std::map<int, std::unique_ptr<LabelBox>> customLabels_;
    std::string mapUrl_;
    std::string mapQuery_;
    std::string mapExtraAttr_;

    // The shape and coords attributes of point i's hot spot, empty when it has none.
    std::string hotSpotAttributes(int i, int offsetX, int offsetY) const;
    // The symbol size at point i in pixels, or -1 for the symbol's own.
    int symbolSize(int i) const;

    std::vector<PolarPoint> points_;
    bool wrapGap_ = false;
    std::vector<HotSpot> hotSpots_;  // by data index
    std::string text_;
};

class PolarChartImpl final : public PolarChart, public virtual BaseChartImpl {
public:
    PolarChartImpl();
    ~PolarChartImpl() override;

    void setPlotArea(int x, int y, int r, int bgColor, int edgeColor, int edgeWidth) override;
    void setPlotAreaBg(int bgColor1, int bgColor2, bool altRings) override;
    void setGridColor(int rGridColor, int rGridWidth, int aGridColor, int aGridWidth) override;
    void setGridStyle(bool polygonGrid, bool gridOnTop) override;
    void setStartAngle(double startAngle, bool clockwise) override;
    AngularAxis* angularAxis() override { return &angular_; }
    RadialAxis* radialAxis() override { return &radial_; }
    int getXCoor(double r, double a) override;
    int getYCoor(double r, double a) override;

    PolarLineLayer* addLineLayer(DoubleArray data, int color, const char* name) override;
    PolarAreaLayer* addAreaLayer(DoubleArray data, int color, const char* name) override;
    PolarSplineLineLayer* addSplineLineLayer(DoubleArray data, int color, const char* name) override;
    PolarSplineAreaLayer* addSplineAreaLayer(DoubleArray data, int color, const char* name) override;
    PolarVectorLayer* addVectorLayer(DoubleArray rData, DoubleArray aData, DoubleArray lengths,
                                     DoubleArray directions, int lengthScale, int color, const char* name) override;

    // For the layers, once laid out. Pixels from the centre of a radius (negative radii point
    // the other way), screen degrees clockwise from 12 o'clock of an angle value, and the pixel
    // of both; false when either value is missing.
    double radialPixels(double r) const;
    double screenAngle(double a) const;
    bool toPixel(double r, double a, double& x, double& y) const;
    double centreX() const { return cx_; }
    double centreY() const { return cy_; }
    int radius() const { return radius_; }
    AngularAxisImpl& angular() { return angular_; }
    RadialAxisImpl& radial() { return radial_; }
    // The text of the angular label at a value, empty when none stands there.
    std::string angularLabel(double a);
    // The angular labels as painted, each with its value.
    struct PlacedLabel {
        double value;
        std::unique_ptr<LabelBox> box;
    };
    std::vector<PlacedLabel> placeAngularLabels();
    // The angular axis value at a screen angle (degrees clockwise from 12 o'clock).
    double angularValueAt(double screen) const;
    // The angular axis's maps: an area per label, or the ring outside the circle cut into segments.
    std::string angularLabelMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                int offsetY);
    std::string angularSegmentMap(int segments, int mapWidth, const char* url, const char* queryFormat,
                                  const char* extraAttr, int offsetX, int offsetY);

protected:
    bool autoLayout() const override { return !placed_; }
    void onLayoutLegend() override;
    void onLayoutChart() override;
    void onPaint() override;
    std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                  int offsetY) override;

private:
    template <class Layer>
    Layer* adopt(std::unique_ptr<Layer> layer) {
        Layer* raw = layer.get();
        layers_.push_back(std::move(layer));
        return raw;
    }
    void layoutAngular();
    void fitRoom();
    // Through the line pen, which takes any width.
    static void strokePath(DrawArea* d, const std::vector<double>& xs, const std::vector<double>& ys, int color,
                           int width);
    // Whether rings are the grid polygon (at least three spokes less than half a turn apart).
    bool polygonRings() const;
    // How far from the centre the ring of radius R runs at screen angle t.
    double outlineRadius(double R, double t) const;
    // How far angular labels and mark texts stand out from the edge.
    int angularTextGap() const;
    // Where the angular axis's title goes: below the circle, or above it when placed at the top.
    bool titleAbove() const;
    int titleRoom();
    // Screen angles of the spokes, ascending from the start angle.
    std::vector<double> spokeAngles() const;
    // Appends the outline at R pixels from screen angle `from` to `to` (either way round): an arc,
    // or the grid polygon's edges with a corner at each spoke passed.
    void ringPath(double R, double from, double to, std::vector<double>& xs, std::vector<double>& ys) const;
    void fillRing(DrawArea* d, double r1, double r2, double from, double to, int color,
                  int edge = Chart::Transparent) const;
    void paintBackground(DrawArea* d);
    void paintZones(DrawArea* d);
    void paintGrid(DrawArea* d);
    void paintAngularTicks(DrawArea* d);
    void paintAngularLabels(DrawArea* d);
    void paintAngularTitle(DrawArea* d);
    void paintMarks(DrawArea* d, bool onTop);
    // Radii of the radial ticks, ascending, in pixels.
    std::vector<double> ringRadii() const;

    AngularAxisImpl angular_;
    RadialAxisImpl radial_;
    std::vector<std::unique_ptr<PolarLayerImpl>> layers_;
    bool placed_ = false;
    int cx_ = 150;
    int cy_ = 100;
    int radius_ = 70;
    int edgeColor_ = Chart::Transparent;
    int edgeWidth_ = 1;
    int bgColor1_ = Chart::Transparent;
    int bgColor2_ = -1;
    bool altRings_ = true;
    int rGridColor_ = static_cast<int>(0x80000000);
    int rGridWidth_ = 1;
    int aGridColor_ = static_cast<int>(0x80000000);
    int aGridWidth_ = 1;
    bool polygonGrid_ = true;
    bool gridOnTop_ = true;
    double startAngle_ = 0;
    bool clockwise_ = true;
    std::vector<double> spokes_;  // screen angles, laid out
};

}  // namespace plotvane

#endif

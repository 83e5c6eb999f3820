#ifndef PLOTVANE_CHART_OTHER_PIECHART_P_H
#define PLOTVANE_CHART_OTHER_PIECHART_P_H

#include <plotvane/piechart.h>

#include <memory>
#include <string>
#include <vector>

#include "chart/basechart_p.h"
#include "chart/xy/labelbox_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

class PieChartImpl;

// Where a sector lies once laid out. Angles are radians clockwise from 12 o'clock, start in
// [0, 2 pi) and end = start + sweep, so a sector never wraps.
struct SectorGeometry {
    double start = 0, end = 0;
    double mid() const { return (start + end) / 2; }
    int cx = 0, cy = 0;        // centre of the top face, explosion included
    int rx = 0, ry = 0;        // outer radii of the top face
    int irx = 0, iry = 0;      // hole
    int dx = 0, dy = 0;        // where the bottom face lies from the top face
};

class SectorImpl final : public Sector {
public:
    SectorImpl(PieChartImpl* chart, int index, double value, std::string name, std::string icon);

    void setColor(int color, int edgeColor, int joinLineColor) override;
    void setStyle(int shadingMethod, int edgeColor, int edgeWidth) override;
    void setExplode(int distance) override { explode_ = distance; }
    void setLabelFormat(const char* format) override { labelFormat_ = format ? format : ""; }
    TextBox* setLabelStyle(const char* font, double fontSize, int fontColor) override;
    void setLabelPos(int pos, int joinLineColor) override;
    void setLabelLayout(int layoutMethod, int pos) override;
    void setJoinLine(int joinLineColor, int joinLineWidth) override;
    const char* getImageCoor(int offsetX, int offsetY) override;
    const char* getLabelCoor(int offsetX, int offsetY) override;
    // The top face's polygon (x, y pairs) with the offsets added; empty for a sector of no size.
    std::vector<int> imageSpot(int offsetX, int offsetY) const;
    double getPercent() override { return 100 * fraction_; }

    bool hasValue() const { return value_ != Chart::NoValue; }

    // Settings; -1 inherits the chart's.
    int index_;
    double value_;
    std::string name_, icon_;
    int color_;
    int edgeColor_ = -1, edgeWidth_ = -1, shading_ = -1;
    int explode_ = 0;
    std::string labelFormat_;
    std::unique_ptr<LabelBox> labelStyle_;  // null: the chart's
    int labelPos_ = -1, labelLayout_ = -1, joinColor_ = -1, joinWidth_ = -1;

    // Laid out.
    double fraction_ = 0;
    SectorGeometry g_;
    std::unique_ptr<LabelBox> label_;  // null: no label
    int rimX_ = 0, rimY_ = 0;          // where a join line meets the rim
    int elbowX_ = 0, elbowY_ = 0;      // side labels: where the join line turns

private:
    PieChartImpl* chart_;
    std::string coor_;
};

class PieChartImpl final : public PieChart, public virtual BaseChartImpl {
public:
    PieChartImpl();
    ~PieChartImpl() override;

    void setPieSize(int x, int y, int r) override { setDonutSize(x, y, r, 0); }
    void setDonutSize(int x, int y, int r, int r2) override;
    void set3D(int depth, double angle, bool shadowMode) override;
    void set3D(DoubleArray depths, double angle, bool shadowMode) override;
    void setSectorStyle(int shadingMethod, int edgeColor, int edgeWidth) override;
    void setStartAngle(double startAngle, bool clockWise) override;
    void setExplode(int sectorNo, int distance) override { setExplodeGroup(sectorNo, sectorNo, distance); }
    void setExplodeGroup(int startSector, int endSector, int distance) override;
    void setLabelFormat(const char* formatString) override { labelFormat_ = formatString ? formatString : ""; }
    TextBox* setLabelStyle(const char* font, double fontSize, int fontColor) override;
    void setLabelPos(int pos, int joinLineColor) override;
    void setLabelLayout(int layoutMethod, int pos, int topBound, int bottomBound) override;
    void setJoinLine(int joinLineColor, int joinLineWidth) override;
    void setLineColor(int edgeColor, int joinLineColor) override;
    void setData(DoubleArray data, StringArray labels, StringArray icons) override;
    Sector* sector(int sectorNo) override;

    // For sectors and the painting and label files.
    LabelBox* labelPrototype() { return labelStyle_.get(); }
    std::string formatSectorText(const std::string& format, const SectorImpl& s, int flags = PVParser::LegacyFields);
    double depthDirection() const { return depthDir_; }
    bool clockwise() const { return startAngle_ >= 0; }

protected:
    void onLayoutLegend() override;
    void onLayoutChart() override;
    void onPaint() override;
    std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                  int offsetY) override;

private:
    struct ExplodeGroup {
        int first, last, distance;
    };
    class SectorLegend;

    void resolveDefaults();
    void positionSectors();
    void explodeGroups(int defaultDistance, double ratio);
    // pielabels.cpp
    void layoutLabels();
    void spreadSideLabels();
    void spreadCircleLabels();
    void paintLabel(DrawArea* d, SectorImpl& s);
    // piepaint.cpp
    void paintSectors(DrawArea* d);

    int cx_ = 150, cy_ = 100, r_ = 70, r2_ = 0;
    double startAngle_ = 0;  // degrees in [0, 360); anticlockwise pies store it less 360
    double angle3D_ = 0, depth_ = 0;
    bool shadowMode_ = false;
    std::vector<double> depths_;
    double depthDir_ = 3.14159265358979;
    std::vector<std::unique_ptr<SectorImpl>> sectors_;
    std::vector<ExplodeGroup> explodeGroups_;
    std::string labelFormat_;
    std::unique_ptr<LabelBox> labelStyle_;
    int labelPos_ = -1, labelLayout_ = Chart::CircleLayout, topBound_ = -1, bottomBound_ = -1;
    int joinColor_ = -1, joinWidth_ = 1;
    int edgeColor_ = -1, edgeWidth_ = 1, shading_ = Chart::DefaultShading;
};

}  // namespace plotvane

#endif

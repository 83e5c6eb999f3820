#ifndef PLOTVANE_CHART_BASECHART_P_H
#define PLOTVANE_CHART_BASECHART_P_H

// The shared implementation of every chart type. A chart type derives from its public interface
// and, virtually, from BaseChartImpl, and supplies the four hooks of the pipeline:
//
//   onLayoutLegend  fill the legend with entries (the legend then lays itself out),
//   onLayoutChart   lay out the chart's own parts, knowing the legend's size,
//   onPaint         paint them; drawExtraObjs(z) interleaves free objects up to a z,
//   onGetHTMLImageMap  the image-map areas of the chart's parts.

#include <plotvane/basechart.h>
#include <plotvane/drawarea.h>

#include <memory>
#include <string>
#include <vector>

#include "chart/drawobj_p.h"
#include "text/extrafields_p.h"
#include "text/formatter_p.h"

namespace plotvane {

class LegendBoxImpl;

// Pixels left for a chart type's own parts; right and bottom are one past the last.
struct ChartRoom {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
class TextBoxImpl;
class PVParser;

class BaseChartImpl : public virtual BaseChart {
public:
    BaseChartImpl();
    ~BaseChartImpl() override;
    BaseChartImpl(const BaseChartImpl&) = delete;
    BaseChartImpl& operator=(const BaseChartImpl&) = delete;

    void destroy() override;
    void enableVectorOutput() override;
    void setSize(int width, int height) override;
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    int getAbsOffsetX() const override;
    int getAbsOffsetY() const override;

    void setBackground(int color, int edgeColor, int raisedEffect) override;
    void setBorder(int color) override { borderColor_ = color; }
    void setRoundedFrame(int extColor, int r1, int r2, int r3, int r4) override;
    void setThickFrame(int thickness, int frameColor, int outerEdgeColor, int innerEdgeColor) override;
    void setWallpaper(const char* path) override;
    void setBgImage(const char* path, int align) override;
    void setDropShadow(int color, int offsetX, int offsetY, int blurRadius) override;

    void setTransparentColor(int color) override { drawArea_->setTransparentColor(color); }
    void setAntiAlias(bool shapeAntiAlias, int textAntiAlias) override;
    void setSearchPath(const char* path) override { drawArea_->setSearchPath(path); }
    void setOutputOptions(const char* options) override { drawArea_->setOutputOptions(options); }
    void setDefaultFonts(const char* normal, const char* bold, const char* italic, const char* boldItalic) override;
    void setFontTable(int index, const char* font) override { drawArea_->setFontTable(index, font); }

    TextBox* addTitle(int alignment, const char* text, const char* font, double fontSize, int fontColor, int bgColor,
                      int edgeColor) override;
    TextBox* addTitle(const char* text, const char* font, double fontSize, int fontColor, int bgColor,
                      int edgeColor) override;
    LegendBox* addLegend(int x, int y, bool vertical, const char* font, double fontSize) override;
    LegendBox* addLegend(int x, int y, int noOfCols, const char* font, double fontSize) override;
    LegendBox* getLegend() override;

    DrawArea* getDrawArea() override;
    DrawArea* initDynamicLayer() override;
    void removeDynamicLayer() override;

    TextBox* addText(int x, int y, const char* text, const char* font, double fontSize, int fontColor,
                     int alignment, double angle, bool vertical) override;
    Line* addLine(int x1, int y1, int x2, int y2, int color, int lineWidth) override;
    PVMLTable* addTable(int x, int y, int alignment, int col, int row) override;
    void addExtraField(StringArray texts) override { extraFields_.addExtraField(texts); }
    void addExtraField(DoubleArray numbers) override { extraFields_.addExtraField(numbers); }

    void setColor(int paletteEntry, int color) override;
    void setColors(int paletteEntry, const int* colors) override;
    void setColors(int paletteEntry, IntArray colors) override;
    void setColors(const int* colors) override { setColors(0, colors); }
    void setColors(IntArray colors) override { setColors(0, colors); }
    int getColor(int paletteEntry) override;
    int halfColor(int color) override { return drawArea_->halfColor(color); }
    int adjustBrightness(int color, double brightness) override;
    int autoColor() override { return nextAutoColor_++; }
    int dashLineColor(int color, int patternCode) override { return drawArea_->dashLineColor(color, patternCode); }
    int patternColor(IntArray pixels, int height, int startX, int startY) override;
    int patternColor(const int* pixels, int length, int height, int startX, int startY) override;
    int patternColor(const char* filename, int startX, int startY) override;
    int gradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor) override;
    int gradientColor(IntArray gradient, double angle, double scale, int startX, int startY) override;
    int gradientColor(const int* gradient, int length, double angle, double scale, int startX, int startY) override;
    int linearGradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor,
                            bool periodic) override;
    int linearGradientColor(int startX, int startY, int endX, int endY, IntArray gradient, bool periodic) override;
    int radialGradientColor(int cx, int cy, int rx, int ry, int startColor, int endColor, bool periodic) override;
    int radialGradientColor(int cx, int cy, int rx, int ry, IntArray gradient, bool periodic) override;

    void setNumberFormat(char thousandSeparator, char decimalPointChar, char signChar) override;
    void setMonthNames(StringArray names) override { formatter_.setMonthNames(names.data, names.len); }
    void setWeekDayNames(StringArray names) override { formatter_.setWeekDayNames(names.data, names.len); }
    void setAMPM(const char* am, const char* pm) override { formatter_.setAMPM(am, pm); }
    const char* formatValue(double value, const char* format) override;

    void layoutLegend() override;
    void layout() override;
    bool makeChart(const char* filename) override;
    bool makeChart(int format, const char** data, int* len) override;
    MemBlock makeChart(int format) override;
    DrawArea* makeChart() override;

    const char* getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                int offsetY) override;
    const char* getChartMetrics() override;
    const char* getJsChartModel(const char*) override { return "{}"; }

    // For chart types and the objects a chart owns.
    DrawArea* getRawDrawArea() const { return drawArea_; }
    Formatter& getFormatter() { return formatter_; }
    int getFrameThickness() const { return frameThickness_; }
    // The legend if one was asked for, else null.
    LegendBoxImpl* legend() const { return legend_.get(); }
    // The default box of the chart's titles and free texts: a style set on it reaches every one of
    // them that has not set that style itself.
    TextBoxImpl* defaultTextBox();
    // The chart that contains this one, and where this one sits in it.
    void setContainer(const BaseChart* container, int x, int y);
    // Takes ownership.
    void addDrawObj(DrawObj* obj) { drawObjects_.add(obj); }
    // Paints the free objects not yet painted whose z is at most maxZ.
    void drawExtraObjs(int maxZ) { drawObjects_.paintUpTo(drawArea_, maxZ); }
    // 0x100 + alignment: a corner radius; 0x200 + side: that edge of the view. 0 otherwise.
    virtual double getProperty(int code) const;
    // Replaces the parser's current field when it names an extra field.
    bool formatCustomAttr(PVParser& parser, Formatter& formatter, int dataSet, int dataItem, const char* attr) const;
    // The text of an extra field; false when the name is not one.
    bool customFieldText(const char* name, const char* format, Formatter& formatter, int dataSet, int dataItem,
                         std::string& text) const;
    virtual DoubleArray filterData(DoubleArray values) { return values; }
    virtual StringArray filterData(StringArray values) { return values; }

protected:
    // True when the chart type must place its parts itself because the program placed none.
    // Titles on one side then stack, an unplaced legend goes above the rest, and room() is what
    // is left for onLayoutChart. Chart types that can lay themselves out answer it.
    virtual bool autoLayout() const { return false; }
    // A free object the program destroyed: forget any other reference to it.
    virtual void forgetDrawObj(DrawObj* obj);
    const ChartRoom& room() const { return room_; }

    virtual void onLayoutLegend() = 0;
    virtual void onLayoutChart() = 0;
    virtual void onPaint() = 0;
    virtual std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                          int offsetX, int offsetY) = 0;

private:
    // chartbackground.cpp
    void prepareBackground();
    void drawFrame();
    void paint();
    // autolayout.cpp
    void stackTitles();
    void placeLegend();
    void leaveLegendOut();

    DrawArea* drawArea_;
    Formatter formatter_;
    std::unique_ptr<LegendBoxImpl> legend_;
    std::unique_ptr<TextBoxImpl> defaultText_;
    DrawObjList drawObjects_;
    struct Title {
        TextBoxImpl* box;
        int alignment;
    };
    std::vector<Title> titles_;
    ChartRoom room_;
    ExtraFields extraFields_;
    const BaseChart* container_ = nullptr;
    int containerX_ = 0;
    int containerY_ = 0;

    int width_ = 480;
    int height_ = 360;
    bool layoutDone_ = false;
    bool legendLaidOut_ = false;
    bool backgroundReady_ = false;
    bool painted_ = false;

    std::string bgImagePath_;
    int bgImageAlign_ = -1;  // 1-9: placed once; otherwise tiled
    int borderColor_ = Chart::Transparent;
    int raisedEffect_ = 0;
    int cornerRadius_[4] = {0, 0, 0, 0};  // top-left, top-right, bottom-right, bottom-left
    int extColor_ = 0xffffff;
    int frameThickness_ = 0;
    int frameColor_ = Chart::LineColor;
    int frameInnerEdgeColor_ = Chart::Transparent;
    int shadowColor_ = Chart::Transparent;
    int shadowOffsetX_ = 10;
    int shadowOffsetY_ = 10;
    int shadowBlur_ = 10;
    int nextAutoColor_ = Chart::DataColor;

    std::string formatted_;
    std::string imageMap_;
    std::string metrics_;
};

}  // namespace plotvane

#endif

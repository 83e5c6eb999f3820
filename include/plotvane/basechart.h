#ifndef PLOTVANE_BASECHART_H
#define PLOTVANE_BASECHART_H

// What every chart type shares: size, background and frame, titles and free objects, the legend,
// palette and number settings, and output. A chart lays itself out once, on the first output (or
// layout call); settings changed afterwards are kept but do not move what is already drawn, and a
// later output adds only the objects created since.
//
// Overloads stand for the numbered names of the flat interface (addTitle2, makeChart2 ...).

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>

namespace plotvane {

class DrawArea;
class LegendBox;
class Line;
class PVMLTable;
class TextBox;

class PLOTVANE_API BaseChart {
public:
    virtual void destroy() = 0;
    virtual void enableVectorOutput() = 0;

    virtual void setSize(int width, int height) = 0;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    // Where the chart sits in the picture of the chart that contains it; 0 when alone.
    virtual int getAbsOffsetX() const = 0;
    virtual int getAbsOffsetY() const = 0;

    virtual void setBackground(int color, int edgeColor = Chart::Transparent, int raisedEffect = 0) = 0;
    virtual void setBorder(int color) = 0;
    // Radii of the top-left, top-right, bottom-right and bottom-left corners (-1 copies r1);
    // extColor paints outside them.
    virtual void setRoundedFrame(int extColor = 0xffffff, int r1 = 10, int r2 = -1, int r3 = -1, int r4 = -1) = 0;
    virtual void setThickFrame(int thickness, int frameColor = -1, int outerEdgeColor = -1,
                               int innerEdgeColor = -1) = 0;
    // A background image tiled over the chart, or placed once at an alignment.
    virtual void setWallpaper(const char* path) = 0;
    virtual void setBgImage(const char* path, int align = Chart::Center) = 0;
    // An offsetY of 0x7fffffff is the same as offsetX.
    virtual void setDropShadow(int color = 0xaaaaaa, int offsetX = 5, int offsetY = 0x7fffffff,
                               int blurRadius = 5) = 0;

    virtual void setTransparentColor(int color) = 0;
    virtual void setAntiAlias(bool shapeAntiAlias = true, int textAntiAlias = Chart::AutoAntiAlias) = 0;
    virtual void setSearchPath(const char* path) = 0;
    virtual void setOutputOptions(const char* options) = 0;
    virtual void setDefaultFonts(const char* normal, const char* bold = "", const char* italic = "",
                                 const char* boldItalic = "") = 0;
    virtual void setFontTable(int index, const char* font) = 0;

    // A title along an edge (spanning it) or in the middle; an empty font is "bold".
    virtual TextBox* addTitle(int alignment, const char* text, const char* font = "", double fontSize = 12,
                              int fontColor = Chart::TextColor, int bgColor = Chart::Transparent,
                              int edgeColor = Chart::Transparent) = 0;
    virtual TextBox* addTitle(const char* text, const char* font = "", double fontSize = 12,
                              int fontColor = Chart::TextColor, int bgColor = Chart::Transparent,
                              int edgeColor = Chart::Transparent) = 0;
    virtual LegendBox* addLegend(int x, int y, bool vertical = true, const char* font = "",
                                 double fontSize = 10) = 0;
    // noOfCols: a number of columns, Chart::AutoGrid, or 0 for entries flowing in rows.
    virtual LegendBox* addLegend(int x, int y, int noOfCols, const char* font = "", double fontSize = 10) = 0;
    // Created on first use, and shown only once positioned (by the program, or by an XY chart
    // that lays itself out).
    virtual LegendBox* getLegend() = 0;

    // The drawing surface with its background, before the chart is laid out or painted.
    virtual DrawArea* getDrawArea() = 0;
    // Paints the chart, then opens a layer on its surface that removeDynamicLayer rolls back.
    virtual DrawArea* initDynamicLayer() = 0;
    virtual void removeDynamicLayer() = 0;

    virtual TextBox* addText(int x, int y, const char* text, const char* font = "", double fontSize = 8,
                             int fontColor = Chart::TextColor, int alignment = Chart::TopLeft, double angle = 0,
                             bool vertical = false) = 0;
    virtual Line* addLine(int x1, int y1, int x2, int y2, int color = Chart::LineColor, int lineWidth = 1) = 0;
    // Null while label tables are not available.
    virtual PVMLTable* addTable(int x, int y, int alignment, int col, int row) = 0;
    // Columns of values that labels reach as field0, field1 ...
    virtual void addExtraField(StringArray texts) = 0;
    virtual void addExtraField(DoubleArray numbers) = 0;

    // Palette entries may be given as indexes or as palette colour codes.
    virtual void setColor(int paletteEntry, int color) = 0;
    // Colour lists given by pointer end at 0xffffffff.
    virtual void setColors(int paletteEntry, const int* colors) = 0;
    virtual void setColors(int paletteEntry, IntArray colors) = 0;
    virtual void setColors(const int* colors) = 0;
    virtual void setColors(IntArray colors) = 0;
    virtual int getColor(int paletteEntry) = 0;
    virtual int halfColor(int color) = 0;
    virtual int adjustBrightness(int color, double brightness) = 0;
    // Data colours in turn: the first call gives Chart::DataColor.
    virtual int autoColor() = 0;
    virtual int dashLineColor(int color, int patternCode = Chart::DashLine) = 0;
    virtual int patternColor(IntArray pixels, int height, int startX = 0, int startY = 0) = 0;
    virtual int patternColor(const int* pixels, int length, int height, int startX = 0, int startY = 0) = 0;
    virtual int patternColor(const char* filename, int startX = 0, int startY = 0) = 0;
    virtual int gradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor) = 0;
    virtual int gradientColor(IntArray gradient, double angle = 90, double scale = 1, int startX = 0,
                              int startY = 0) = 0;
    virtual int gradientColor(const int* gradient, int length, double angle = 90, double scale = 1,
                              int startX = 0, int startY = 0) = 0;
    virtual int linearGradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor,
                                    bool periodic = false) = 0;
    virtual int linearGradientColor(int startX, int startY, int endX, int endY, IntArray gradient,
                                    bool periodic = false) = 0;
    virtual int radialGradientColor(int cx, int cy, int rx, int ry, int startColor, int endColor,
                                    bool periodic = false) = 0;
    virtual int radialGradientColor(int cx, int cy, int rx, int ry, IntArray gradient, bool periodic = false) = 0;

    virtual void setNumberFormat(char thousandSeparator = '~', char decimalPointChar = '.',
                                 char signChar = '-') = 0;
    virtual void setMonthNames(StringArray names) = 0;
    virtual void setWeekDayNames(StringArray names) = 0;
    virtual void setAMPM(const char* am, const char* pm) = 0;
    // A format code, or a template whose {value} fields take the value. The text stays valid until
    // the next call.
    virtual const char* formatValue(double value, const char* format) = 0;

    virtual void layoutLegend() = 0;
    virtual void layout() = 0;
    // By the file name's suffix (PNG for an unknown one); an empty name writes nothing and succeeds.
    virtual bool makeChart(const char* filename) = 0;
    // Format codes: Chart::PNG ... Chart::PDF, 8 for the text dump, 9 for the raw image; other
    // values give PNG. The bytes belong to the chart's drawing surface.
    virtual bool makeChart(int format, const char** data, int* len) = 0;
    virtual MemBlock makeChart(int format) = 0;
    virtual DrawArea* makeChart() = 0;

    virtual const char* getHTMLImageMap(const char* url, const char* queryFormat = "", const char* extraAttr = "",
                                        int offsetX = 0, int offsetY = 0) = 0;
    // "w=..&h=..&vl=..&vt=..&vw=..&vh=..": the picture's size and the view inside it.
    virtual const char* getChartMetrics() = 0;
    // A JSON model of the chart for browser-side viewers; today an empty object.
    virtual const char* getJsChartModel(const char* options = nullptr) = 0;

protected:
    virtual ~BaseChart();
};

}  // namespace plotvane

#endif

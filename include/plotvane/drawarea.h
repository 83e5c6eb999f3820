#ifndef PLOTVANE_DRAWAREA_H
#define PLOTVANE_DRAWAREA_H

// The drawing surface. Every call is recorded; pixels are produced only when a picture, a pixel
// or a file is asked for, so one drawing can be written as PNG, SVG, PDF or a text dump, and can
// be merged into other drawings as a symbol.
//
// Colours are 0xTTRRGGBB with transparency (not opacity) in the top byte, palette references
// 0xffff0000 + i, dynamic colours 0xfffe0000 + n handed out by the colour factories below, and
// metal colours 0xff8xxxxx. Angles of arcs and sectors are degrees clockwise from 12 o'clock.
//
// Operations that the flat interface numbers (text2, fill2, outPNG2, patternColor2 ...) are the
// C++ overloads of the unnumbered name.

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>
#include <plotvane/ostrstream.h>

#include <cstdint>

namespace plotvane {

class TTFText;
class GlyphContainer;
class DrawBMP;

// Where a zone colour splits, asked for when the colour is first drawn with (axes and marks
// implement it).
class PLOTVANE_API ZoneSplitter {
public:
    virtual ~ZoneSplitter();
    // true: the split runs along y (pixels below the split take the first colour), else along x.
    virtual bool isHorizontalSplit() const = 0;
    virtual int getSplitPosition() const = 0;
    // true: the two colours trade places, so the second takes the pixels past the split. Asked
    // at each use, like the position, so a split can follow an axis turned round after the fact.
    virtual bool swapsColors() const { return false; }
};

class PLOTVANE_API DrawArea {
public:
    static DrawArea* create();

    virtual DrawArea* addRef() = 0;
    // Drops one reference; the last one deletes the area.
    virtual void destroy() = 0;

    virtual bool isEmpty() const = 0;
    // The raster canvas, brought up to date with everything recorded so far.
    virtual DrawBMP* getCanvas() = 0;
    virtual void enableVectorOutput() = 0;
    virtual bool hasVectorOutput() const = 0;

    // Everything drawn between initDynamicLayer and removeDynamicLayer can be rolled back.
    // keepBase keeps the layer open for the next round.
    virtual void initDynamicLayer() = 0;
    virtual void removeDynamicLayer(bool keepBase = false) = 0;

    virtual void setSize(int width, int height, int bgColor = 0xffffff) = 0;
    virtual void resize(int newWidth, int newHeight, int filter = Chart::LinearFilter, double blur = 1) = 0;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    virtual const uint32_t* getPixels() = 0;

    virtual void setClipRect(int left, int top, int right, int bottom) = 0;
    virtual int* getClipRect(int rect[4]) const = 0;
    virtual void setBgColor(int color) = 0;
    virtual void addDropShadow(int mode, int xOffset, int yOffset, int blurRadius, int color) = 0;
    virtual void roundedFrame(int x1, int y1, int x2, int y2, int r1, int r2, int r3, int r4, int thickness,
                              int frameColor, int outerEdgeColor, int innerEdgeColor) = 0;

    virtual void move(double xOffset, double yOffset, int bgColor = 0xffffff, int filter = Chart::LinearFilter,
                      double blur = 1) = 0;
    // A centre of -1 means the middle of the area.
    virtual void rotate(double angle, int bgColor = 0xffffff, double cx = -1, double cy = -1,
                        int filter = Chart::LinearFilter, double blur = 1) = 0;
    virtual void hFlip() = 0;
    virtual void vFlip() = 0;
    // Draws this drawing into d, scaled to newWidth x newHeight (-1: this area's size).
    virtual void clone(DrawArea* d, int x, int y, int alignment, int newWidth = -1, int newHeight = -1,
                       int filter = Chart::LinearFilter, double blur = 1) = 0;

    virtual void pixel(int x, int y, int color) = 0;
    virtual int getPixel(int x, int y) = 0;
    virtual void commitAllSuperPixels() = 0;

    virtual void hline(int x1, int x2, int y, int color) = 0;
    virtual void vline(int y1, int y2, int x, int color) = 0;
    virtual void line(double x1, double y1, double x2, double y2, int color, int lineWidth = 1) = 0;
    // Polylines: consecutive lineTo segments that join end to start are recorded as one polyline.
    // initLineTo ends the current polyline (and moves the pen).
    virtual void initLineTo() = 0;
    virtual void initLineTo(double x, double y) = 0;
    virtual void lineTo(double x1, double y1, double x2, double y2, int color, int lineWidth = 1) = 0;

    virtual void arc(int cx, int cy, int rx, int ry, double startAngle, double endAngle, int color) = 0;
    virtual void rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor, int raisedEffect = 0) = 0;
    // Radii of the top-left, top-right, bottom-right and bottom-left corners.
    virtual void roundedRect(int x1, int y1, int x2, int y2, int r1, int r2, int r3, int r4, int edgeColor,
                             int fillColor, int raisedEffect = 0) = 0;
    virtual void clipRoundedCorners(int r1, int r2, int r3, int r4, int bgColor) = 0;

    virtual void polygon(const int* x, const int* y, int count, int edgeColor, int fillColor) = 0;
    virtual void polygon(IntArray x, IntArray y, int edgeColor, int fillColor) = 0;
    virtual void polygon(DoubleArray x, DoubleArray y, int edgeColor, int fillColor) = 0;
    // Points given as x0, y0, x1, y1, ...
    virtual void polygon(DoubleArray xy, int edgeColor, int fillColor) = 0;
    // Each point is scaled, turned clockwise by angle degrees about the origin and moved to (x, y).
    virtual void polygonEx(DoubleArray x, DoubleArray y, int edgeColor, int fillColor, double scale = 1,
                           double angle = 0, double xOffset = 0, double yOffset = 0) = 0;
    // Even-odd fill without edge lines.
    virtual void exactPolygon(DoubleArray x, DoubleArray y, int color) = 0;

    // The side face of an extruded segment: (x1, y1)-(x2, y2) and the same moved by (depthX, depthY).
    virtual void surface(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor,
                         int fillColor) = 0;
    // noEdges: fill only, so adjoining faces do not draw their shared edges twice.
    virtual void surfaceEx(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor, int fillColor,
                           bool noEdges) = 0;
    virtual void sector(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor, int fillColor) = 0;
    // The wall of an elliptic cylinder between two angles, extruded by (depthX, depthY).
    virtual void cylinder(int cx, int cy, int rx, int ry, double a1, double a2, int depthX, int depthY,
                          int edgeColor, int fillColor) = 0;
    virtual void circle(int cx, int cy, int rx, int ry, int edgeColor, int fillColor) = 0;
    virtual void ringSector(int cx, int cy, int rx, int ry, int irx, int iry, double a1, double a2,
                            int edgeColor, int fillColor) = 0;
    // Edge colours of the outer arc, inner arc, start side and end side; drawEdges false fills only.
    virtual void ringSectorEx(int cx, int cy, int rx, int ry, int irx, int iry, double a1, double a2,
                              int outerEdgeColor, int innerEdgeColor, int startEdgeColor, int endEdgeColor,
                              bool drawEdges, int fillColor) = 0;
    virtual void ring(int cx, int cy, int rx, int ry, int irx, int iry, int edgeColor, int fillColor) = 0;
    // startFlag: the shape meets another one above (its first row is left to it); lowerEdgeOnly: the
    // outer edge line is drawn along the lower half only (the visible rim of a 3D ring).
    virtual void ringEx(int cx, int cy, int rx, int ry, int irx, int iry, int outerEdgeColor, int innerEdgeColor,
                        bool drawEdges, int fillColor, bool startFlag, bool lowerEdgeOnly) = 0;
    // The region between an elliptic arc and its chord.
    virtual void circleSegment(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor,
                               int fillColor) = 0;
    // The area between a polyline and the horizontal line y = baseY.
    virtual void vFill(DoubleArray x, DoubleArray y, double baseY, int fillColor) = 0;
    // A smooth curve through the points (Catmull-Rom with the given tension, 0 gives straight lines).
    virtual void joinWithSpline(DoubleArray x, DoubleArray y, int color, int lineWidth = 1,
                                double tension = 0.5) = 0;
    // A triangle whose vertices (x, y) carry a brightness factor b each.
    virtual void gouraudShading(double x1, double y1, double b1, double x2, double y2, double b2, double x3,
                                double y3, double b3, int color) = 0;

    // Flood fills act on the canvas directly and are not recorded.
    virtual void fill(int x, int y, int color, int borderColor) = 0;
    virtual void fill(int x, int y, int color) = 0;

    // Text, laid out by the font engine: draw at once, or create a TTFText to measure and draw.
    virtual void text(const char* str, const char* font, double fontSize, int x, int y, int color) = 0;
    virtual void text(const char* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                      double angle, bool vertical, int x, int y, int color,
                      int alignment = Chart::TopLeft) = 0;
    virtual TTFText* text(const char* str, const char* font, double fontSize) = 0;
    virtual TTFText* text(const char* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                          double angle, bool vertical) = 0;
    virtual TTFText* text(const wchar_t* str, const char* font, int fontIndex, double fontHeight,
                          double fontWidth, double angle, bool vertical) = 0;
    virtual TTFText* textEx(const char* str, const char* font, int fontIndex, double fontHeight,
                            double fontWidth, double angle, bool vertical, int maxWidth, int maxLines) = 0;
    virtual TTFText* textEx(const wchar_t* str, const char* font, int fontIndex, double fontHeight,
                            double fontWidth, double angle, bool vertical, int maxWidth, int maxLines) = 0;
    virtual void close(TTFText* text) = 0;
    // Records a run of laid-out glyphs [start, end) at an offset.
    virtual void renderGlyphs(GlyphContainer& glyphs, int start, int end, int x, int y, int color) = 0;

    // Draws d as a symbol; transparency 0 (opaque) to 255 (invisible).
    virtual void merge(DrawArea* d, int x, int y, int alignment, int transparency) = 0;
    // Merges a caller's ARGB pixel array; the caller keeps it alive until the drawing is output.
    virtual void merge(IntArray pixels, int width, int x, int y) = 0;
    virtual void tile(DrawArea* d, int transparency) = 0;

    // Image loading; on failure false, and the area is left as it was.
    virtual void setSearchPath(const char* path) = 0;
    virtual const char* getSearchPath() const = 0;
    virtual bool loadGIF(const char* filename) = 0;
    virtual bool loadPNG(const char* filename) = 0;
    virtual bool loadJPG(const char* filename) = 0;
    virtual bool loadWMP(const char* filename) = 0;
    virtual bool load(const char* filename) = 0;

    // Image warps of the canvas, not recorded (except affineTransform).
    virtual void rAffineTransform(double a, double b, double c, double d, double e, double f,
                                  int bgColor = 0xffffff, int filter = Chart::LinearFilter, double blur = 1) = 0;
    virtual void affineTransform(double a, double b, double c, double d, double e, double f,
                                 int bgColor = 0xffffff, int filter = Chart::LinearFilter, double blur = 1) = 0;
    virtual void sphereTransform(int xDiameter, int yDiameter, int bgColor = 0xffffff,
                                 int filter = Chart::LinearFilter, double blur = 1) = 0;
    virtual void hCylinderTransform(int yDiameter, int bgColor = 0xffffff, int filter = Chart::LinearFilter,
                                    double blur = 1) = 0;
    virtual void vCylinderTransform(int xDiameter, int bgColor = 0xffffff, int filter = Chart::LinearFilter,
                                    double blur = 1) = 0;
    virtual void vTriangleTransform(int tHeight = -1, int bgColor = 0xffffff, int filter = Chart::LinearFilter,
                                    double blur = 1) = 0;
    virtual void hTriangleTransform(int tWidth = -1, int bgColor = 0xffffff, int filter = Chart::LinearFilter,
                                    double blur = 1) = 0;
    virtual void shearTransform(double xShear, double yShear = 0, int bgColor = 0xffffff,
                                int filter = Chart::LinearFilter, double blur = 1) = 0;
    virtual void waveTransform(int period, double amplitude, double direction = 0, double startAngle = 0,
                               bool longitudinal = false, int bgColor = 0xffffff,
                               int filter = Chart::LinearFilter, double blur = 1) = 0;

    // Output to a file: the format follows the file name's suffix.
    virtual bool out(const char* filename) = 0;
    virtual bool outGIF(const char* filename) = 0;
    virtual bool outPNG(const char* filename) = 0;
    virtual bool outJPG(const char* filename, int quality = 80) = 0;
    virtual bool outWMP(const char* filename) = 0;
    virtual bool outBMP(const char* filename) = 0;
    virtual bool outSVG(const char* filename, const char* options = nullptr) = 0;
    virtual bool outPDF(const char* filename) = 0;
    virtual bool outAGF(const char* filename) = 0;
    // Output to memory owned by the area, valid until the next output or its destruction.
    virtual bool outGIF(const char** data, int* len) = 0;
    virtual bool outPNG(const char** data, int* len) = 0;
    virtual bool outJPG(const char** data, int* len, int quality = 80) = 0;
    virtual bool outWMP(const char** data, int* len) = 0;
    virtual bool outBMP(const char** data, int* len) = 0;
    virtual MemBlock outGIF() = 0;
    virtual MemBlock outPNG() = 0;
    virtual MemBlock outJPG(int quality = 80) = 0;
    virtual MemBlock outWMP() = 0;
    virtual MemBlock outBMP() = 0;
    virtual MemBlock outSVG() = 0;
    virtual MemBlock outSVG2(const char* options) = 0;
    virtual MemBlock outPDF() = 0;
    virtual MemBlock outAGF() = 0;
    virtual MemBlock outFastImage() = 0;
    // "key=value;key=value" for the vector writers.
    virtual void setOutputOptions(const char* options) = 0;
    // Hands the last memory output to the process-wide output cache under the key.
    virtual bool cacheOutput(const char* key) = 0;

    virtual void setPaletteMode(int mode) = 0;
    virtual void setDitherMethod(int method) = 0;
    virtual void setTransparentColor(int color) = 0;
    virtual void setAntiAliasText(int mode) = 0;
    virtual void setAntiAlias(bool shapeAntiAlias = true, int textAntiAlias = Chart::AutoAntiAlias) = 0;
    virtual void setInterlace(bool interlace) = 0;

    // Palette: writes count colours from offset (a count below 0: the list ends at 0xffffffff).
    virtual void setColorTable(const int* colors, int count, int offset) = 0;
    virtual void setColorTable(IntArray colors, int offset) = 0;
    virtual int getARGBColor(int color) = 0;
    // Resolved copies, valid until the next call of the same kind.
    virtual IntArray getARGBGradient(IntArray gradient) = 0;
    virtual IntArray getARGBColor(IntArray colors) = 0;
    // The colour that a colour or brush has at one pixel of the canvas.
    virtual int getARGBColor(int color, int x, int y) = 0;
    virtual bool isOpaque(int color) = 0;
    virtual bool isDynamic(int color) = 0;
    virtual int halfColor(int color) = 0;
    virtual int adjustBrightness(int color, double brightness) = 0;

    // Dynamic colours behave as a stack: freeColor releases only the newest.
    virtual int dynamicColor() = 0;
    virtual void freeColor(int color) = 0;
    virtual int dashLineColor(int color, int patternCode = Chart::DashLine) = 0;
    virtual int patternColor(IntArray pixels, int height, int startX = 0, int startY = 0) = 0;
    virtual int patternColor(const int* pixels, int length, int height, int startX = 0, int startY = 0) = 0;
    virtual int patternColor(const char* filename, int startX = 0, int startY = 0) = 0;
    virtual int gradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor) = 0;
    // Gradients are (position 0-256, colour) pairs; angle 0 runs left to right, 90 top to bottom.
    virtual int gradientColor(IntArray gradient, double angle = 90, double scale = 1, int startX = 0,
                              int startY = 0) = 0;
    virtual int gradientColor(const int* gradient, int length, double angle = 90, double scale = 1,
                              int startX = 0, int startY = 0) = 0;
    virtual int linearGradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor,
                                    bool periodic = false) = 0;
    virtual int linearGradientColor(int startX, int startY, int endX, int endY, IntArray gradient,
                                    bool periodic = false) = 0;
    virtual int preciseLinearGradientColor(double startX, double startY, double endX, double endY,
                                           IntArray gradient, bool periodic = false) = 0;
    virtual int radialGradientColor(int cx, int cy, int rx, int ry, int startColor, int endColor,
                                    bool periodic = false) = 0;
    virtual int radialGradientColor(int cx, int cy, int rx, int ry, IntArray gradient,
                                    bool periodic = false) = 0;
    // Lighting tables are (position 0-256, brightness x 1024) pairs. mode 0x80000001 lights relative to
    // the shape being filled; other modes are the start point of the lighting vector.
    virtual int lightingColor(IntArray table, IntArray reserved, int baseColor, double angle, double scale,
                              int mode, int param) = 0;
    virtual int linearLightingColor(IntArray table, IntArray reserved, int baseColor, int startX, int startY,
                                    int endX, int endY) = 0;
    virtual int radialLightingColor(IntArray table, IntArray reserved, int baseColor, int cx, int cy, int rx,
                                    int ry) = 0;
    // Centre, start and end angle, and the x and y scale of the plane the angle is measured in.
    virtual int angleGradientColor(double cx, double cy, double startAngle, double endAngle, double xScale,
                                   double yScale, IntArray gradient) = 0;
    virtual int zoneColor(const ZoneSplitter* split, int colorA, int colorB) = 0;
    // Colours by height over 3D surfaces. A z colour maps z = zLow to position 0 and zHigh to 256
    // of the gradient (ends clamped). Each pixel (x, y) has the z of a plane, z = a*x + b*y + c,
    // level at zLow until transformZColor gives it one; a surface moves the plane for each facet
    // it fills and keeps the same colour id. Returns the z colour, or Transparent when it is not one.
    virtual int zColor(IntArray gradient, double zLow = 0, double zHigh = 256) = 0;
    virtual int transformZColor(int zColor, double a, double b, double c) = 0;
    // The plane through three points (x, y, z); three points on a line give a level plane at their
    // mean z.
    virtual int transformZColor(int zColor, double x1, double y1, double z1, double x2, double y2, double z2,
                                double x3, double y3, double z3) = 0;
    virtual void reduceColors(int colorCount, bool dither = false) = 0;

    // Font names: "normal", "bold", "italic", "boldItalic" and "fontN" refer to the font table.
    virtual void setDefaultFonts(const char* normal, const char* bold = "", const char* italic = "",
                                 const char* boldItalic = "") = 0;
    virtual void setFontTable(int index, const char* font) = 0;
    virtual const char* resolveFont(const char* name) = 0;

    // A transparent child area whose drawing can be merged back rotated (mergeParent). It uses this
    // area's palette and dynamic colours and must not outlive it.
    virtual DrawArea* subDrawArea(int width, int height) = 0;
    virtual void mergeParent(int x, int y, double angle) = 0;

    // Named areas kept by this one (for images loaded once), and shapes registered for markup.
    virtual DrawArea* getDrawAreaCache(const char* name) = 0;
    virtual void putDrawAreaCache(const char* name, DrawArea* d) = 0;
    virtual int registerShape(DrawArea* shape) = 0;
    virtual DrawArea* getRegisteredShape(int id) = 0;

    // Offsets of a box of the given size for an alignment code (numeric keypad layout).
    static int alignX(int width, int alignment);
    static int alignY(int height, int alignment);
    // 0 PNG, 1 GIF, 2 JPEG, 4 BMP, -1 unknown.
    static int getImageType(MemBlock data);
    static bool getImageSize(MemBlock data, int* width, int* height);
    static const char* getMediaType(int imageType);
    // k is the brightness factor times 1024.
    static int rawColorAdjustBrightness(int color, int k);
    static bool encodePNG(vek::ostream& out, const uint32_t* pixels, int width, int height);
    // Searches for a font as text would, one line per file tried into buffer; true when found.
    static bool testFont(const char* font, int fontIndex, double height, double width, double angle, char* buffer,
                         int bufferLength);
    static void setFontSearchPath(const char* path);
    static const char* getFontSearchPath();

protected:
    virtual ~DrawArea();
};

}  // namespace plotvane

#endif

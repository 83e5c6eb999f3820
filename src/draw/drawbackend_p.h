#ifndef PLOTVANE_DRAW_DRAWBACKEND_P_H
#define PLOTVANE_DRAW_DRAWBACKEND_P_H

// The one interface between the drawing recorder and what it replays into: the raster canvas,
// the SVG and PDF writers and the text dump. Each operation is one recorded command, with its
// colours already resolved to literal colours or dynamic colour ids (0xfffe0000 + n). A dynamic
// id refers to a brush defined earlier in the same replay (or, for a sub drawing, in a parent).
//
// Geometry: pixels, y down. Angles of arcs are degrees clockwise from 12 o'clock, so the point at
// angle a is (cx + rx * sin a, cy - ry * cos a).

#include <vector>

namespace plotvane {

class GlyphContainer;

// One edge of a filled shape ("Shape" record items).
struct PathItem {
    enum Kind { Line = 0, Arc = 1, Arc2 = 2 };
    Kind kind = Line;
    // Line: x1, y1, x2, y2 in d[0..3].
    // Arc and Arc2: centre (d[0], d[1]), radii (rx, ry), then one y-monotonic piece of the ellipse
    // from angle d[2] to d[3], contributing crossings to rows minY = d[4] up to maxY = d[5].
    // Arc2 adds d[6], d[7]: the angle range along which the edge line is drawn, when `flag` is set.
    double d[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int rx = 0, ry = 0;
    int color = 0;      // colour of the edge line (Transparent: no line)
    bool flag = false;  // Line: exact (no snapping to integers); Arc2: draw the edge line
};

class DrawBackend {
public:
    virtual ~DrawBackend() = default;

    // Canvas set-up.
    virtual void setSubDrawMode() = 0;
    virtual void setSize(int width, int height, int bgColor) = 0;
    virtual void resize(int width, int height) = 0;
    // Maps each destination pixel (x, y) to the source point (a*x + b*y + c, d*x + e*y + f).
    virtual void affineTransform(double a, double b, double c, double d, double e, double f, int bgColor,
                                 int filter, double blur) = 0;
    virtual void setClipRect(int left, int top, int right, int bottom) = 0;
    virtual void setBgColor(int color) = 0;
    virtual void clipRoundedCorners(int r1, int r2, int r3, int r4, int bgColor) = 0;
    // Charts pass the shadow colour as `mode` and the colour of the surroundings as `color`; the
    // canvas grows to hold the offset, blurred shadow.
    virtual void addDropShadow(int mode, int xOffset, int yOffset, int blurRadius, int color) = 0;

    // Lines. A polyline is replayed as initLineTo(start) then lineTo for every further point;
    // initLineTo() with no arguments ends it.
    virtual void line(double x1, double y1, double x2, double y2, int color, int width) = 0;
    virtual void initLineTo() = 0;
    virtual void initLineTo(double x, double y) = 0;
    virtual void lineTo(double x, double y, int color, int width) = 0;

    // Filled shapes. Corner radii in pixels; the five colours of a multi-radius rectangle are the
    // top, right, bottom and left edge colours and then the fill.
    virtual void roundedRect(double x1, double y1, double x2, double y2, int radius, int edgeColor,
                             int fillColor) = 0;
    virtual void multiRoundedRect(double x1, double y1, double x2, double y2, const int radii[4],
                                  const int colors[5]) = 0;
    virtual void polygon(const double* x, const double* y, int n, int edgeColor, int fillColor) = 0;
    // Even-odd fill with no edge lines.
    virtual void exactPolygon(const double* x, const double* y, int n, int color) = 0;
    // startFlag: the first row is skipped and spans widen by half a pixel (shapes that meet).
    virtual void shape(int fillColor, bool startFlag, bool noEdges, const std::vector<PathItem>& edges) = 0;
    // Vertices (x, y) with a brightness factor each (1 = the colour as given).
    virtual void gouraudShadedTriangle(const double v[9], int color) = 0;
    virtual void commitSuperPixels() = 0;

    // Glyphs [first, end) with their line's top left at (dx, dy).
    virtual void text(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color) = 0;
    // The same, turned by `turn` degrees (90, 180 or 270) counter-clockwise on screen about the pixel
    // corner (dx, dy): the pixel that text would cover at (dx + a, dy + b) is covered at
    // (dx + b, dy - a - 1), (dx - a - 1, dy - b - 1) or (dx - b - 1, dy + a).
    virtual void turnedText(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color,
                            int turn) = 0;

    // Symbols: a sub drawing replayed once into a back-end of the same kind, then merged by id.
    // createSymbol returns null when the id is already defined.
    virtual DrawBackend* createSymbol(int id) = 0;
    virtual void removeSymbol(int id) = 0;
    virtual void mergeSymbol(int id, int x, int y, int width, int height, int transparency) = 0;
    virtual void mergeSymbolRotated(int id, double x, double y, double angle) = 0;
    virtual void mergeBitMap(const int* pixels, int count, int width, int x, int y) = 0;
    // An encoded image file (imageType as getImageType gives it) becomes the whole canvas.
    virtual void loadStream(const unsigned char* data, int length, int imageType, int width, int height) = 0;

    // Brush definitions. Gradient stops and lighting tables are (position 0-256, value) pairs; a
    // lighting value is a brightness factor times 1024.
    virtual void adjustBrightness(int id, int base, double factor) = 0;
    virtual void transformedColor(int id, int base, const double m[6]) = 0;
    virtual void brushedTextureColor(int id, int base, int width) = 0;
    virtual void dashLineColor(int id, int color, int pattern) = 0;
    // Position 0 at (x1, y1), 256 at (x2, y2).
    virtual void linearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                                     const std::vector<int>& stops) = 0;
    virtual void radialGradientColor(int id, int cx, int cy, int rx, int ry, bool periodic,
                                     const std::vector<int>& stops) = 0;
    // d: centre x, y, start and end angle (degrees clockwise from 12 o'clock), x and y scale of the
    // plane in which the angle is measured.
    virtual void angleGradientColor(int id, const double d[6], const std::vector<int>& stops) = 0;
    // Coordinates are fractions (0-1) of the bounding box of the shape being filled.
    virtual void relativeLinearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                                             const std::vector<int>& stops) = 0;
    // d: angle in degrees, scale, start x, start y.
    virtual void lightingColor(int id, int base, const double d[4], bool periodic, const std::vector<int>& table) = 0;
    // d: x1, y1, x2, y2 as for linear gradients.
    virtual void linearLightingColor(int id, int base, const double d[4], bool periodic,
                                     const std::vector<int>& table) = 0;
    virtual void radialLightingColor(int id, int base, int cx, int cy, int rx, int ry,
                                     const std::vector<int>& table) = 0;
    // d: x1, y1, x2, y2 as fractions of the filled shape's bounding box.
    virtual void relativeLinearLightingColor(int id, int base, const double d[4], bool periodic,
                                             const std::vector<int>& table) = 0;
    virtual void patternColor(int id, int width, int height, int startX, int startY,
                              const std::vector<int>& pixels) = 0;
    virtual void patternColor2(int id, int startX, int startY, const char* fileName) = 0;
    // horizontal: split along y (y > split gives colorA), else along x.
    virtual void zoneColor(int id, bool horizontal, int split, int colorA, int colorB) = 0;

    // A message about a record that could not be read; back-ends may ignore it.
    virtual void comment(const char* text) = 0;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_DRAW_DRAWAREA_P_H
#define PLOTVANE_DRAW_DRAWAREA_P_H

// The implementation of DrawArea: argument checks and clamping, colour resolution, dynamic
// colours and their brushes, output settings, and the recorder (MetaDraw) that every drawing
// call ends in. The canvas (DrawBMP) is made on first need and replays only what it has not seen.

#include <plotvane/drawarea.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "draw/metadraw_p.h"
#include "foundation/lasterror_p.h"
#include "foundation/palette_p.h"

namespace plotvane {

class MetaBrush;
struct EffectCode;

// Loading failures, kept as the area's last error.
enum LoadError {
    kLoadOpenFailed = 0x7FFFFF01,
    kLoadBadSize = 0x7FFFFF02,
    kLoadTooManyPixels = 0x7FFFFF03,
    kLoadFileTooLarge = 0x7FFFFF04,
    kLoadWrongType = 0x7FFFFF06,
    kLoadNoMemory = 0x7FFFFF07,
};

// Palette, dynamic colour slots and the cache of derived colours. A sub area shares its parent's.
struct ColorState {
    struct Derived {
        int request;  // the colour asked for
        int key;      // 0 for a metal colour, k | 0x10000000 for a brightness adjustment
        int result;
    };
    Palette palette;
    std::vector<int> slots;  // 1 = in use
    std::vector<Derived> derived;
};

class DrawAreaImpl : public DrawArea {
public:
    DrawAreaImpl();
    DrawAreaImpl(const DrawAreaImpl&) = delete;
    DrawAreaImpl& operator=(const DrawAreaImpl&) = delete;

    MetaDraw* meta() const { return meta_; }
    int lastError() const { return lastError_; }
    int replayPosition() const { return replayPos_; }
    DrawBMP* makeCanvas();
    // Opens a file by name, trying the search path for relative names.
    FILE* urlfopen(const char* name, const char* mode);
    void reportLoadError(const char* filename, int type, int error);
    // Reads a whole image file of the expected type; 0 or a LoadError.
    int loadBitMap(const char* name, int expectedType, std::vector<unsigned char>& file, int& width,
                   int& height);
    void mergeRotated(DrawAreaImpl* src, double x, double y, double angle);

    DrawArea* addRef() override;
    void destroy() override;
    bool isEmpty() const override;
    DrawBMP* getCanvas() override;
    void enableVectorOutput() override {}
    bool hasVectorOutput() const override { return true; }
    void initDynamicLayer() override;
    void removeDynamicLayer(bool keepBase) override;

    void setSize(int width, int height, int bgColor) override;
    void resize(int newWidth, int newHeight, int filter, double blur) override;
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    const uint32_t* getPixels() override;
    void setClipRect(int left, int top, int right, int bottom) override;
    int* getClipRect(int rect[4]) const override;
    void setBgColor(int color) override;
    void addDropShadow(int mode, int xOffset, int yOffset, int blurRadius, int color) override;
    void roundedFrame(int x1, int y1, int x2, int y2, int r1, int r2, int r3, int r4, int thickness,
                      int frameColor, int outerEdgeColor, int innerEdgeColor) override;
    void move(double xOffset, double yOffset, int bgColor, int filter, double blur) override;
    void rotate(double angle, int bgColor, double cx, double cy, int filter, double blur) override;
    void hFlip() override;
    void vFlip() override;
    void clone(DrawArea* d, int x, int y, int alignment, int newWidth, int newHeight, int filter,
               double blur) override;

    void pixel(int x, int y, int color) override;
    int getPixel(int x, int y) override;
    void commitAllSuperPixels() override;
    void hline(int x1, int x2, int y, int color) override;
    void vline(int y1, int y2, int x, int color) override;
    void line(double x1, double y1, double x2, double y2, int color, int lineWidth) override;
    void initLineTo() override;
    void initLineTo(double x, double y) override;
    void lineTo(double x1, double y1, double x2, double y2, int color, int lineWidth) override;

    void arc(int cx, int cy, int rx, int ry, double startAngle, double endAngle, int color) override;
    void rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor, int raisedEffect) override;
    void roundedRect(int x1, int y1, int x2, int y2, int r1, int r2, int r3, int r4, int edgeColor, int fillColor,
                     int raisedEffect) override;
    void clipRoundedCorners(int r1, int r2, int r3, int r4, int bgColor) override;
    void polygon(const int* x, const int* y, int count, int edgeColor, int fillColor) override;
    void polygon(IntArray x, IntArray y, int edgeColor, int fillColor) override;
    void polygon(DoubleArray x, DoubleArray y, int edgeColor, int fillColor) override;
    void polygon(DoubleArray xy, int edgeColor, int fillColor) override;
    void polygonEx(DoubleArray x, DoubleArray y, int edgeColor, int fillColor, double scale, double angle,
                   double xOffset, double yOffset) override;
    void exactPolygon(DoubleArray x, DoubleArray y, int color) override;
    void surface(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor, int fillColor) override;
    void surfaceEx(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor, int fillColor,
                   bool noEdges) override;
    void sector(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor, int fillColor) override;
    void cylinder(int cx, int cy, int rx, int ry, double a1, double a2, int depthX, int depthY, int edgeColor,
                  int fillColor) override;
    void circle(int cx, int cy, int rx, int ry, int edgeColor, int fillColor) override;
    void ringSector(int cx, int cy, int rx, int ry, int irx, int iry, double a1, double a2, int edgeColor,
                    int fillColor) override;
    void ringSectorEx(int cx, int cy, int rx, int ry, int irx, int iry, double a1, double a2, int outerEdgeColor,
                      int innerEdgeColor, int startEdgeColor, int endEdgeColor, bool drawEdges,
                      int fillColor) override;
    void ring(int cx, int cy, int rx, int ry, int irx, int iry, int edgeColor, int fillColor) override;
    void ringEx(int cx, int cy, int rx, int ry, int irx, int iry, int outerEdgeColor, int innerEdgeColor,
                bool drawEdges, int fillColor, bool startFlag, bool lowerEdgeOnly) override;
    void circleSegment(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor,
                       int fillColor) override;
    void vFill(DoubleArray x, DoubleArray y, double baseY, int fillColor) override;
    void joinWithSpline(DoubleArray x, DoubleArray y, int color, int lineWidth, double tension) override;
    void gouraudShading(double x1, double y1, double b1, double x2, double y2, double b2, double x3, double y3,
                        double b3, int color) override;
    void fill(int x, int y, int color, int borderColor) override;
    void fill(int x, int y, int color) override;

    // Text operations (drawareatext.cpp, with the font engine).
    void text(const char* str, const char* font, double fontSize, int x, int y, int color) override;
    void text(const char* str, const char* font, int fontIndex, double fontHeight, double fontWidth, double angle,
              bool vertical, int x, int y, int color, int alignment) override;
    TTFText* text(const char* str, const char* font, double fontSize) override;
    TTFText* text(const char* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                  double angle, bool vertical) override;
    TTFText* text(const wchar_t* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                  double angle, bool vertical) override;
    TTFText* textEx(const char* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                    double angle, bool vertical, int maxWidth, int maxLines) override;
    TTFText* textEx(const wchar_t* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                    double angle, bool vertical, int maxWidth, int maxLines) override;
    void close(TTFText* text) override;
    void renderGlyphs(GlyphContainer& glyphs, int start, int end, int x, int y, int color) override;
    // renderGlyphs turned by 0, 90, 180 or 270 degrees counter-clockwise about (x, y) (the
    // DrawBackend::turnedText mapping); other turns draw nothing.
    void renderTurnedGlyphs(GlyphContainer& glyphs, int start, int end, int x, int y, int color, int turn);

    void merge(DrawArea* d, int x, int y, int alignment, int transparency) override;
    void merge(IntArray pixels, int width, int x, int y) override;
    void tile(DrawArea* d, int transparency) override;

    void setSearchPath(const char* path) override;
    const char* getSearchPath() const override { return searchPath_.c_str(); }
    bool loadGIF(const char* filename) override;
    bool loadPNG(const char* filename) override;
    bool loadJPG(const char* filename) override;
    bool loadWMP(const char* filename) override;
    bool load(const char* filename) override;

    void rAffineTransform(double a, double b, double c, double d, double e, double f, int bgColor, int filter,
                          double blur) override;
    void affineTransform(double a, double b, double c, double d, double e, double f, int bgColor, int filter,
                         double blur) override;
    void sphereTransform(int xDiameter, int yDiameter, int bgColor, int filter, double blur) override;
    void hCylinderTransform(int yDiameter, int bgColor, int filter, double blur) override;
    void vCylinderTransform(int xDiameter, int bgColor, int filter, double blur) override;
    void vTriangleTransform(int tHeight, int bgColor, int filter, double blur) override;
    void hTriangleTransform(int tWidth, int bgColor, int filter, double blur) override;
    void shearTransform(double xShear, double yShear, int bgColor, int filter, double blur) override;
    void waveTransform(int period, double amplitude, double direction, double startAngle, bool longitudinal,
                       int bgColor, int filter, double blur) override;

    bool out(const char* filename) override;
    bool outGIF(const char* filename) override;
    bool outPNG(const char* filename) override;
    bool outJPG(const char* filename, int quality) override;
    bool outWMP(const char* filename) override;
    bool outBMP(const char* filename) override;
    bool outSVG(const char* filename, const char* options) override;
    bool outPDF(const char* filename) override;
    bool outAGF(const char* filename) override;
    bool outGIF(const char** data, int* len) override;
    bool outPNG(const char** data, int* len) override;
    bool outJPG(const char** data, int* len, int quality) override;
    bool outWMP(const char** data, int* len) override;
    bool outBMP(const char** data, int* len) override;
    MemBlock outGIF() override;
    MemBlock outPNG() override;
    MemBlock outJPG(int quality) override;
    MemBlock outWMP() override;
    MemBlock outBMP() override;
    MemBlock outSVG() override;
    MemBlock outSVG2(const char* options) override;
    MemBlock outPDF() override;
    MemBlock outAGF() override;
    MemBlock outFastImage() override;
    void setOutputOptions(const char* options) override;
    bool cacheOutput(const char* key) override;

    void setPaletteMode(int mode) override { paletteMode_ = mode; }
    void setDitherMethod(int method) override { ditherMethod_ = method; }
    void setTransparentColor(int color) override;
    void setAntiAliasText(int mode) override { textAntiAlias_ = mode; }
    void setAntiAlias(bool shapeAntiAlias, int textAntiAlias) override;
    void setInterlace(bool interlace) override { interlace_ = interlace; }

    void setColorTable(const int* colors, int count, int offset) override;
    void setColorTable(IntArray colors, int offset) override;
    // Plain colours, below the metal and palette codes, are their own ARGB value; every drawing
    // call resolves its colours, so that case is inline.
    int getARGBColor(int color) final {
        return static_cast<uint32_t>(color) < 0xff800000u ? color : codedARGBColor(color);
    }
    IntArray getARGBGradient(IntArray gradient) override;
    IntArray getARGBColor(IntArray colors) override;
    int getARGBColor(int color, int x, int y) override;
    bool isOpaque(int color) override;
    bool isDynamic(int color) override;
    int halfColor(int color) override;
    int adjustBrightness(int color, double brightness) override;
    int dynamicColor() override;
    void freeColor(int color) override;
    int dashLineColor(int color, int patternCode) override;
    int patternColor(IntArray pixels, int height, int startX, int startY) override;
    int patternColor(const int* pixels, int length, int height, int startX, int startY) override;
    int patternColor(const char* filename, int startX, int startY) override;
    int gradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor) override;
    int gradientColor(IntArray gradient, double angle, double scale, int startX, int startY) override;
    int gradientColor(const int* gradient, int length, double angle, double scale, int startX,
                      int startY) override;
    int linearGradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor,
                            bool periodic) override;
    int linearGradientColor(int startX, int startY, int endX, int endY, IntArray gradient, bool periodic) override;
    int preciseLinearGradientColor(double startX, double startY, double endX, double endY, IntArray gradient,
                                   bool periodic) override;
    int radialGradientColor(int cx, int cy, int rx, int ry, int startColor, int endColor, bool periodic) override;
    int radialGradientColor(int cx, int cy, int rx, int ry, IntArray gradient, bool periodic) override;
    int lightingColor(IntArray table, IntArray reserved, int baseColor, double angle, double scale, int mode,
                      int param) override;
    int linearLightingColor(IntArray table, IntArray reserved, int baseColor, int startX, int startY, int endX,
                            int endY) override;
    int radialLightingColor(IntArray table, IntArray reserved, int baseColor, int cx, int cy, int rx,
                            int ry) override;
    int angleGradientColor(double cx, double cy, double startAngle, double endAngle, double xScale, double yScale,
                           IntArray gradient) override;
    int zoneColor(const ZoneSplitter* split, int colorA, int colorB) override;
    int zColor(IntArray gradient, double zLow, double zHigh) override;
    int transformZColor(int zColor, double a, double b, double c) override;
    int transformZColor(int zColor, double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                        double y3, double z3) override;
    void reduceColors(int colorCount, bool dither) override;

    void setDefaultFonts(const char* normal, const char* bold, const char* italic, const char* boldItalic) override;
    void setFontTable(int index, const char* font) override;
    const char* resolveFont(const char* name) override;

    DrawArea* subDrawArea(int width, int height) override;
    void mergeParent(int, int, double) override {}
    DrawArea* getDrawAreaCache(const char* name) override;
    void putDrawAreaCache(const char* name, DrawArea* d) override;
    int registerShape(DrawArea* shape) override;
    DrawArea* getRegisteredShape(int id) override;

protected:
    ~DrawAreaImpl() override;
    // A sub area of parent: shares its colours, inherits its search path and anti-alias settings.
    explicit DrawAreaImpl(DrawAreaImpl* parent);
    DrawAreaImpl* parent_ = nullptr;

private:
    // The looks of roundedRect's effect codes (boxeffects.cpp). Corners in radii order.
    void bevel(int x1, int y1, int x2, int y2, const int radii[4], int inset, int fill, int depth);
    void glare(int x1, int y1, int x2, int y2, const int radii[4], int side, int size, int inset);
    int litFill(int x1, int y1, int x2, int y2, int fill, const EffectCode& e);
    void resetClip();
    int dynamicIndex(int color) const;  // slot index of a dynamic id, -1 otherwise
    int newBrush(MetaBrush* brush);     // allocates an id and binds the brush to it
    int codedARGBColor(int color);
    int resolveMetal(int request);
    int cachedDerived(int request, int key) const;
    std::vector<int> resolvedGradient(IntArray gradient);
    // Memory outputs: rewinds the stream, runs the writer, returns the block or an empty one.
    template <typename Writer>
    MemBlock toMemory(Writer write);
    template <typename Writer>
    bool toFile(const char* filename, Writer write);
    bool writeRaster(vek::ostream& out, int format, int quality);
    // Puts the bytes at the path through a temporary in the same folder, so a failed write never
    // leaves a truncated file or removes the one that was there.
    static bool replaceFile(const char* filename, const char* bytes, int length);
    // SVG (or PDF) of the recording; explicit options are looked up before the area's own.
    bool writeVector(vek::ostream& out, bool pdf, const char* explicitOptions);
    void writeDump(vek::ostream& out);
    bool loadTyped(const char* filename, int type);

    int refs_ = 1;
    MetaDraw* meta_ = nullptr;
    DrawBMP* canvas_ = nullptr;
    int replayPos_ = 0;
    int lastError_ = 0;
    int width_ = 1;
    int height_ = 1;
    int bgColor_ = 0xffffff;  // as last set, so a bevel without a fill can be shaded from it
    bool dynamicLayer_ = false;
    int layerColorCount_ = 0;
    int layerDerivedCount_ = 0;
    int cornerRadii_[4] = {0, 0, 0, 0};
    int clip_[4] = {0, 0, 0, 0};

    bool interlace_ = false;
    int transparentColor_ = Chart::Transparent;
    int textAntiAlias_ = Chart::AutoAntiAlias;
    bool antiAlias_ = true;
    int paletteMode_ = 0;
    int ditherMethod_ = 0;

    std::shared_ptr<ColorState> colors_;
    DrawAreaImpl* colorRoot_ = this;  // whose recorder keeps the brushes
    std::vector<int> gradientBuffer_;
    std::vector<int> colorBuffer_;

    std::string searchPath_;
    std::vector<std::string> fonts_ = {"arial.ttf", "arialbd.ttf", "ariali.ttf", "arialbi.ttf"};
    std::vector<std::pair<std::string, DrawArea*>> drawAreaCache_;
    std::vector<DrawArea*> shapes_;
    vek::ostrstream memory_;
};

template <typename Writer>
inline MemBlock DrawAreaImpl::toMemory(Writer write) {
    memory_.reset();
    if (!write(memory_) || memory_.tell() <= 0) {
        setLastError("the image could not be encoded");
        memory_.reset();
        return MemBlock();
    }
    return MemBlock(memory_.data(), memory_.tell());
}

template <typename Writer>
inline bool DrawAreaImpl::toFile(const char* filename, Writer write) {
    if (!filename || !*filename) {
        setLastError("no file name");
        return false;
    }
    vek::ostrstream buffer;
    if (!write(buffer) || buffer.tell() <= 0) {
        setLastError("cannot encode the image for %s", filename);
        return false;
    }
    return replaceFile(filename, buffer.data(), buffer.tell());
}

}  // namespace plotvane

#endif

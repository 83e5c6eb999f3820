#ifndef PLOTVANE_DRAW_DRAWBMP_P_H
#define PLOTVANE_DRAW_DRAWBMP_P_H

// The raster canvas: replays recorded commands into a 32-bit ARGB pixel buffer. Besides the
// recorded operations it offers the direct pixel access, flood fills and image warps that a
// drawing area applies to its canvas without recording them.

#include <cstdint>

#include "draw/drawbackend_p.h"
#include "draw/effects_p.h"
#include "draw/imageio_p.h"

namespace plotvane {

class DrawBMP : public DrawBackend {
public:
    // parent: the canvas of the enclosing drawing, whose brushes a sub drawing may use.
    static DrawBMP* create(DrawBMP* parent = nullptr);
    ~DrawBMP() override = default;

    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    virtual uint32_t* getPixels() = 0;
    // The finished picture for a writer: pending super pixels are resolved to colours first.
    RasterImage image() {
        commitSuperPixels();
        return RasterImage{getPixels(), getWidth(), getHeight()};
    }

    virtual void pixel(int x, int y, int color) = 0;
    virtual int getPixel(int x, int y) const = 0;
    // The colour of a colour or brush id at a pixel, following brush chains.
    virtual int getARGBColor(int color, int x, int y) = 0;
    virtual void fill(int x, int y, int color) = 0;
    virtual void fill(int x, int y, int color, int borderColor) = 0;
    virtual void reduceColors(int colorCount, bool dither) = 0;

    // Image warps, resampled with the given filter and blur.
    // rAffineTransform maps each source pixel (x, y) to (a*x + b*y + c, d*x + e*y + f).
    virtual void rAffineTransform(double a, double b, double c, double d, double e, double f, int bgColor,
                                  int filter, double blur) = 0;
    virtual void sphereTransform(int xDiameter, int yDiameter, int bgColor, int filter, double blur) = 0;
    virtual void hCylinderTransform(int yDiameter, int bgColor, int filter, double blur) = 0;
    virtual void vCylinderTransform(int xDiameter, int bgColor, int filter, double blur) = 0;
    virtual void vTriangleTransform(int tHeight, int bgColor, int filter, double blur) = 0;
    virtual void hTriangleTransform(int tWidth, int bgColor, int filter, double blur) = 0;
    virtual void shearTransform(double xShear, double yShear, int bgColor, int filter, double blur) = 0;
    virtual void waveTransform(int period, double amplitude, double direction, double startAngle,
                               bool longitudinal, int bgColor, int filter, double blur) = 0;

    // The last drop shadow alone (empty when none was added), for the vector writers.
    virtual const ShadowLayer& shadowLayer() const = 0;

    virtual void initDynamicLayer() = 0;
    virtual void clearDynamicLayer(bool keepBase) = 0;

    // Settings handed over by the drawing area before every replay.
    void setAntiAlias(bool shapes, int textMode) {
        antiAlias_ = shapes;
        textAntiAlias_ = textMode;
    }
    void setInterlace(bool on) { settings_.interlace = on; }
    void setTransparentColor(int color) { settings_.transparentColor = color; }
    void setDitherMethod(int method) { settings_.ditherMethod = method; }
    void setPaletteMode(int mode) { settings_.paletteMode = mode; }
    RasterSettings& settings() { return settings_; }
    bool antiAlias() const { return antiAlias_; }
    int textAntiAlias() const { return textAntiAlias_; }

protected:
    RasterSettings settings_;
    bool antiAlias_ = true;
    int textAntiAlias_ = 2;
};

}  // namespace plotvane

#endif

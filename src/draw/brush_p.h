#ifndef PLOTVANE_DRAW_BRUSH_P_H
#define PLOTVANE_DRAW_BRUSH_P_H

// Brushes: what a dynamic colour id (0xfffe0000 + n) stands for on the raster canvas. A brush
// answers the colour at a pixel; that answer may itself be another id, which the canvas follows
// (at most 20 links). Brushes built over a base colour (lighting, brightness, transformed, texture)
// ask the canvas for the base's colour at the pixel through BrushContext.
//
// One file per family: gradientbrush.cpp (linear, radial, angle, relative, lighting),
// patternbrush.cpp (pattern, transformed), dashbrush.cpp, adjustbrush.cpp (brightness, zone),
// metalbrush.cpp (brushed texture).

#include <cstdint>
#include <memory>
#include <vector>

namespace plotvane {

// What a brush may ask of the canvas it paints on.
class BrushContext {
public:
    virtual ~BrushContext() = default;
    // The literal colour of c at (x, y), following brush chains.
    virtual uint32_t colorAt(uint32_t c, int x, int y) = 0;
    // The bounding box of the shape being filled, for brushes relative to it.
    struct Box {
        double x0 = 0, y0 = 0, x1 = 1, y1 = 1;
        bool operator==(const Box& o) const { return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1; }
    };
    virtual const Box& shapeBox() const = 0;
};

class ColorBrush {
public:
    virtual ~ColorBrush() = default;
    virtual uint32_t getColor(int x, int y) = 0;
};

using BrushPtr = std::unique_ptr<ColorBrush>;

// A 256-entry (or longer) table of colours interpolated between (position, colour) stops; positions
// run 0-256 along the gradient. Used by the gradient brushes and exposed for tests.
std::vector<uint32_t> buildGradientTable(const std::vector<int>& stops, int length);

BrushPtr makeLinearGradientBrush(double x1, double y1, double x2, double y2, bool periodic,
                                 const std::vector<int>& stops);
BrushPtr makeRelativeLinearGradientBrush(BrushContext& ctx, double x1, double y1, double x2, double y2,
                                         bool periodic, const std::vector<int>& stops);
BrushPtr makeRadialGradientBrush(int cx, int cy, int rx, int ry, bool periodic,
                                 const std::vector<int>& stops);
BrushPtr makeAngleGradientBrush(const double d[6], const std::vector<int>& stops);
// Lighting: `table` holds (position, brightness x 1024) pairs applied to the base colour.
// Kinds: a direction (angle, scale, start point), a line, a circle, or a line relative to the shape.
BrushPtr makeLightingBrush(BrushContext& ctx, uint32_t base, const double d[4], bool periodic,
                           const std::vector<int>& table);
BrushPtr makeLinearLightingBrush(BrushContext& ctx, uint32_t base, const double d[4], bool periodic,
                                 const std::vector<int>& table);
BrushPtr makeRadialLightingBrush(BrushContext& ctx, uint32_t base, int cx, int cy, int rx, int ry,
                                 const std::vector<int>& table);
BrushPtr makeRelativeLinearLightingBrush(BrushContext& ctx, uint32_t base, const double d[4], bool periodic,
                                         const std::vector<int>& table);

BrushPtr makePatternBrush(int width, int height, int startX, int startY, std::vector<uint32_t> pixels);
BrushPtr makeTransformedBrush(BrushContext& ctx, uint32_t base, const double m[6]);
BrushPtr makeDashLineBrush(uint32_t color, int pattern);
BrushPtr makeBrightnessBrush(BrushContext& ctx, uint32_t base, double factor);
BrushPtr makeZoneBrush(bool horizontal, int split, uint32_t colorA, uint32_t colorB);
BrushPtr makeMetalTextureBrush(BrushContext& ctx, uint32_t base, int width);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_VECTOR_VECTORBRUSH_P_H
#define PLOTVANE_VECTOR_VECTORBRUSH_P_H

// The brush definitions of a replay, reduced to what a vector file can say. A vector format has
// solid colours, linear and radial gradients, image tiles, dash arrays and clipping; every brush of
// the drawing engine is brought down to one of those when it is defined, so the writers only
// translate a handful of kinds:
//   - brightness-adjusted and transformed brushes rework the stops or the geometry of their base;
//   - lighting brushes become gradients of the base colour brightened and darkened by the table
//     (a brush as base contributes its main colour);
//   - a brushed texture is drawn as the brush it textures (the noise is not worth a bitmap);
//   - an angle gradient, which neither format has, becomes a tile as large as the picture, its
//     pixels computed as the raster computes them (beyond kMaxAngleTilePixels, the mean colour of
//     its stops).
// All geometry is in pixels of the drawing; the writers add their half-pixel shift.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plotvane {

constexpr uint32_t kTransparent = 0xff000000u;
constexpr long long kMaxAngleTilePixels = 4000000;

inline bool isDynamicColor(int c) { return (static_cast<uint32_t>(c) & 0xffff0000u) == 0xfffe0000u; }

// The mean of each channel (mid grey for no pixels).
uint32_t averageColor(const std::vector<uint32_t>& pixels);
// Brightness factor k in 1024ths: darker by scaling, brighter by moving towards white.
uint32_t adjustColorBrightness(uint32_t color, int k);

// The single colour standing in for a Gouraud-shaded triangle (v: x, y, brightness per vertex):
// the colour at the mean brightness. Brush ids are returned unchanged.
int meanShadedColor(const double v[9], int color);

struct VectorPaint {
    enum Kind { None, Solid, Linear, Radial, Pattern, Dash, Zone };
    Kind kind = None;
    uint32_t color = kTransparent;  // Solid

    // Linear: position 0 at (x1, y1), 256 at (x2, y2). Radial: centre (x1, y1), radii x2, y2.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool relative = false;  // coordinates are fractions of the filled shape's bounding box
    bool periodic = false;
    bool transformed = false;
    double matrix[6] = {1, 0, 0, 1, 0, 0};  // gradient space to pixels: (a*x + b*y + c, d*x + e*y + f)
    std::vector<int> stops;                 // (position 0-256, literal colour) pairs, at least two

    // Pattern: a tile repeating from (x1, y1) = start; pixels, or encoded file bytes (or both).
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    std::string encoded;
    int imageType = -1;

    // Dash: on/off lengths packed from the top byte down, over the line colour `colorA`.
    int dash = 0;
    // Zone: (horizontal ? y : x) > split is painted with colorA, the rest with colorB.
    bool horizontal = false;
    int split = 0;
    int colorA = 0, colorB = 0;

    bool isGradient() const { return kind == Linear || kind == Radial; }
};

class BrushTable {
public:
    explicit BrushTable(const BrushTable* parent = nullptr) : parent_(parent) {}

    // Defines or replaces the brush of a dynamic id.
    void define(int id, VectorPaint paint) { brushes_[id] = std::move(paint); }
    // The brush of an id, looking in the enclosing drawings too; null when none.
    const VectorPaint* find(int id) const;

    // The one colour that best stands for a colour or brush.
    uint32_t mainColor(int color) const;

    // The brush definitions as they arrive from a replay.
    void adjustBrightness(int id, int base, double factor);
    void transformed(int id, int base, const double m[6]);
    void alias(int id, int base);
    void dashLine(int id, int color, int pattern);
    void linearGradient(int id, double x1, double y1, double x2, double y2, bool periodic, bool relative,
                        const std::vector<int>& stops);
    void radialGradient(int id, double cx, double cy, double rx, double ry, bool periodic,
                        const std::vector<int>& stops);
    // d: centre, start and end angles, x and y scales; the tile covers width x height pixels.
    void angleGradient(int id, const double d[6], const std::vector<int>& stops, int width, int height);
    // Lighting: a gradient whose stops are the base's main colour scaled by the table's factors.
    void lighting(int id, int base, VectorPaint::Kind kind, const double geometry[4], bool periodic, bool relative,
                  const std::vector<int>& table);
    void pattern(int id, int width, int height, int startX, int startY, const std::vector<int>& pixels);
    void patternFile(int id, int startX, int startY, const char* fileName);
    void zone(int id, bool horizontal, int split, int colorA, int colorB);

private:
    const BrushTable* parent_;
    std::unordered_map<int, VectorPaint> brushes_;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_VECTOR_VECTORBACKEND_P_H
#define PLOTVANE_VECTOR_VECTORBACKEND_P_H

// What the SVG and PDF writers share: every brush definition becomes an entry of one BrushTable,
// which each writer turns into its own paint constructs when a shape first uses the brush.

#include <plotvane/ostrstream.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "draw/drawbackend_p.h"
#include "draw/effects_p.h"
#include "vector/vectorbrush_p.h"

namespace plotvane {

// Sub drawings of a writer by id. A symbol defined in an enclosing drawing is found from inside it.
template <class Writer>
class SymbolTable {
public:
    void setParent(const SymbolTable* parent) { parent_ = parent; }
    // A new writer for the id; null when the id is defined here or in an enclosing drawing.
    template <class... Args>
    Writer* create(int id, Args&&... args) {
        if (find(id)) return nullptr;
        std::unique_ptr<Writer>& slot = symbols_[id];
        slot = std::make_unique<Writer>(std::forward<Args>(args)...);
        return slot.get();
    }
    Writer* find(int id) const {
        for (const SymbolTable* t = this; t; t = t->parent_) {
            auto it = t->symbols_.find(id);
            if (it != t->symbols_.end()) return it->second.get();
        }
        return nullptr;
    }
    void remove(int id) { symbols_.erase(id); }

private:
    const SymbolTable* parent_ = nullptr;
    std::map<int, std::unique_ptr<Writer>> symbols_;
};

class VectorBackend : public DrawBackend {
public:
    // Writes the document; false when nothing could be written.
    virtual bool finish(vek::ostream& out) = 0;

    // Consecutive segments of one style are collected and written as one element.
    void initLineTo() override { commitCurrentLine(); }
    void initLineTo(double x, double y) override;
    void lineTo(double x, double y, int color, int width) override;

    void exactPolygon(const double* x, const double* y, int n, int color) override {
        polygon(x, y, n, static_cast<int>(kTransparent), color);
    }
    void commitSuperPixels() override {}
    // Neither format can blur, so a drop shadow is handed over from the raster, which draws it.
    void addDropShadow(int, int, int, int, int) override { wantsShadow_ = true; }
    bool wantsShadow() const { return wantsShadow_; }
    // The layer must outlive finish().
    void setShadowLayer(const ShadowLayer* layer) { shadow_ = layer; }
    void comment(const char*) override {}

    void adjustBrightness(int id, int base, double factor) override;
    void transformedColor(int id, int base, const double m[6]) override;
    void brushedTextureColor(int id, int base, int width) override;
    void dashLineColor(int id, int color, int pattern) override;
    void linearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                             const std::vector<int>& stops) override;
    void radialGradientColor(int id, int cx, int cy, int rx, int ry, bool periodic,
                             const std::vector<int>& stops) override;
    void angleGradientColor(int id, const double d[6], const std::vector<int>& stops) override;
    void relativeLinearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                                     const std::vector<int>& stops) override;
    void lightingColor(int id, int base, const double d[4], bool periodic, const std::vector<int>& table) override;
    void linearLightingColor(int id, int base, const double d[4], bool periodic,
                             const std::vector<int>& table) override;
    void radialLightingColor(int id, int base, int cx, int cy, int rx, int ry,
                             const std::vector<int>& table) override;
    void relativeLinearLightingColor(int id, int base, const double d[4], bool periodic,
                                     const std::vector<int>& table) override;
    void patternColor(int id, int width, int height, int startX, int startY,
                      const std::vector<int>& pixels) override;
    void patternColor2(int id, int startX, int startY, const char* fileName) override;
    void zoneColor(int id, bool horizontal, int split, int colorA, int colorB) override;

protected:
    // A sub drawing looks brushes up in its parent's table too.
    explicit VectorBackend(const BrushTable* parent) : brushes_(parent) {}
    // Drops whatever the writer derived from a brush that is about to be redefined.
    virtual void forget(int id) = 0;
    virtual int pictureWidth() const = 0;
    virtual int pictureHeight() const = 0;

    // Writes the collected polyline as one element (when it has two points or more) and empties it.
    virtual void commitCurrentLine() = 0;

    BrushTable brushes_;
    const ShadowLayer* shadow_ = nullptr;
    bool wantsShadow_ = false;
    struct Polyline {
        std::vector<double> x, y;
        int color = 0;
        int width = 1;
    } line_;
};

}  // namespace plotvane

#endif

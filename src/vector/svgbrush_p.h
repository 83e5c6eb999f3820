#ifndef PLOTVANE_VECTOR_SVGBRUSH_P_H
#define PLOTVANE_VECTOR_SVGBRUSH_P_H

// Brushes as SVG paint: gradients and tiles become definitions that elements refer to with
// url(#...); solid colours and dash patterns become attributes of the painting element. A zone
// brush is painted by the writer as two clipped elements, each with one of its colours.

#include <string>
#include <unordered_map>

#include "vector/svgbuilder_p.h"
#include "vector/vectorbrush_p.h"

namespace plotvane {

class SVGBrush {
public:
    // defs: where definitions go; nextId: the document's element id counter.
    SVGBrush(std::string& defs, long long& nextId) : defs_(defs), nextId_(nextId) {}

    // Writes the paint attributes of a colour or brush id on an open element; false when it paints
    // nothing (then the element should be dropped).
    bool shade(SVGBuilder& b, int color, bool stroke, const BrushTable& table) {
        return shadeColor(b, color, stroke, table, 0);
    }
    // A brush was redefined: its definition must be written again on next use.
    void forget(const VectorPaint* paint) { ids_.erase(paint); }

private:
    bool shadeColor(SVGBuilder& b, int color, bool stroke, const BrushTable& table, int depth);
    bool shadePaint(SVGBuilder& b, const VectorPaint& p, bool stroke, const BrushTable& table, int depth);
    // The element id of a gradient or tile definition, writing it on first use; -1 if it has none.
    long long getDefinition(const VectorPaint& p);
    void writeStops(SVGBuilder& b, const VectorPaint& p);

    std::string& defs_;
    long long& nextId_;
    std::unordered_map<const VectorPaint*, long long> ids_;
};

// "#rrggbb" and, unless opaque, the opacity (255 - t) / 255: attributes `name` and `name`-opacity.
void svgColorAttrs(SVGBuilder& b, const char* name, uint32_t color);

}  // namespace plotvane

#endif

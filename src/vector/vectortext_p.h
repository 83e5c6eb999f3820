#ifndef PLOTVANE_VECTOR_VECTORTEXT_P_H
#define PLOTVANE_VECTOR_VECTORTEXT_P_H

// Glyph runs as vector text: a run is a stretch of glyphs sharing face, colour and baseline, drawn
// as one text object with the glyphs at their laid-out pen positions.

#include <vector>

#include "draw/glyph_p.h"

namespace plotvane {

struct TextRun {
    FontFace* face = nullptr;
    int color = 0;
    double baseline = 0;
    std::vector<int> chars;     // code points shown
    std::vector<double> xs;     // pen x of each character
    std::vector<double> advances;
};

// The baseline origin of a glyph drawn at (dx, dy): its pen position, which the layout keeps on
// the baseline.
inline double glyphX(const Glyph& g, int dx) { return dx + g.x0; }
inline double glyphBaseline(const Glyph& g, int dy) { return dy + g.y0; }

// Splits glyphs [first, end) into runs; spacers and glyphs without a face break runs and show
// nothing. A glyph's colour of -1 takes `color`.
std::vector<TextRun> textRuns(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color);

}  // namespace plotvane

#endif

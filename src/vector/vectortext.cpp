#include "vector/vectortext_p.h"

#include <cmath>

namespace plotvane {

std::vector<TextRun> textRuns(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color) {
    std::vector<TextRun> runs;
    if (first < 0) first = 0;
    if (end > glyphs.size()) end = glyphs.size();
    bool open = false;
    for (int i = first; i < end; ++i) {
        const Glyph& g = glyphs[i];
        int ch = g.shapedCh ? g.shapedCh : g.ch;
        if (ch == kSpacerChar || !g.face || ch <= 0) {
            open = false;
            continue;
        }
        int c = g.color == -1 ? color : g.color;
        double y = glyphBaseline(g, dy);
        if (!open || runs.back().face != g.face || runs.back().color != c || std::fabs(runs.back().baseline - y) > 0.01) {
            runs.emplace_back();
            runs.back().face = g.face;
            runs.back().color = c;
            runs.back().baseline = y;
            open = true;
        }
        TextRun& run = runs.back();
        run.chars.push_back(ch);
        run.xs.push_back(glyphX(g, dx));
        run.advances.push_back(g.glyph ? g.glyph->advance : g.x1 - g.x0);
    }
    return runs;
}

}  // namespace plotvane

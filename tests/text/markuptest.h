#ifndef PLOTVANE_TESTS_TEXT_MARKUPTEST_H
#define PLOTVANE_TESTS_TEXT_MARKUPTEST_H

// Helpers of the markup tests: text built through the public entry and looked at through the
// block's laid-out pieces.

#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <memory>
#include <string>

#include "fontfixture.h"
#include "support/areaptr.h"
#include "text/ttfblocks_p.h"
#include "text/ttftextimpl_p.h"

namespace markuptest {

using plotvane_test::AreaPtr;

inline AreaPtr newArea(int width = 300, int height = 200) { return plotvane_test::newArea(width, height); }

inline std::string dump(plotvane::DrawArea* d) {
    plotvane::MemBlock m = d->outAGF();
    return std::string(m.data ? m.data : "", static_cast<size_t>(m.len));
}

// Markup text in DejaVu Sans 10 points, destroyed at the end of the scope.
struct Markup {
    plotvane::TTFBlocks* t;
    explicit Markup(const std::string& s, int maxWidth = 0, int maxLines = 0x7fffffff, double angle = 0,
                    plotvane::DrawArea* d = nullptr, double size = 10)
        : t(static_cast<plotvane::TTFBlocks*>(plotvane::TTFText::create(d, s.c_str(), plotvane_test::kDejaVuSans.c_str(), 0,
                                                                        size, size, angle, false, 1, maxWidth, maxLines))) {}
    ~Markup() { plotvane::TTFText::destroy(t); }
    Markup(const Markup&) = delete;
    Markup& operator=(const Markup&) = delete;
    plotvane::TTFBlocks* operator->() const { return t; }
};

inline plotvane::TTFTextImpl* runOf(const plotvane::TTFBlocks* b, size_t piece) {
    return dynamic_cast<plotvane::TTFTextImpl*>(b->placed().at(piece).text);
}

// The characters of a run's current line, spacers as "_".
inline std::string lineText(plotvane::TTFTextImpl* run) {
    std::string out;
    if (!run) return "<not a run>";
    for (int i = run->lineBegin(); i < run->lineEnd(); ++i) {
        int ch = run->glyphs()[i].ch;
        out += ch == plotvane::kSpacerChar ? '_' : ch < 128 ? static_cast<char>(ch) : '?';
    }
    return out;
}

// Every line of the text: its runs' characters, pieces of a line separated by "|".
inline std::string linesOf(const plotvane::TTFBlocks* b) {
    std::string out;
    int line = -1;
    for (size_t k = 0; k < b->placed().size(); ++k) {
        const auto& p = b->placed()[k];
        if (p.line != line && line >= 0) out += "/";
        else if (line >= 0) out += "|";
        line = p.line;
        auto* run = dynamic_cast<plotvane::TTFTextImpl*>(p.text);
        out += run ? lineText(run) : "#";
    }
    return out;
}

}  // namespace markuptest

#endif

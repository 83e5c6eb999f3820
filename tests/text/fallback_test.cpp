#include <gtest/gtest.h>

#include <string>

#include "draw/glyph_p.h"
#include "text/fontconfiglookup_p.h"
#include "text/ttftextimpl_p.h"

using namespace plotvane;

namespace {

// Whether some installed font has the character, asked of the system directly.
bool installed(char32_t c) {
    static FontConfigLookup probe;
    return !probe.findCovering(static_cast<int>(c), 0).path.empty();
}

}  // namespace

TEST(GlyphFallback, EveryScriptOfATitleShowsWhereAFontHasIt) {
    const std::u32string title = U"Grüße · Ελληνικά · Кириллица · 中文 · العربية";
    for (const char* font : {"arialbd.ttf", "arial.ttf;timesbd.ttf", "DejaVuSans.ttf"}) {
        SCOPED_TRACE(font);
        TTFTextImpl text(nullptr, false, title.size());
        TextStyle style;
        style.font = font;
        style.height = 12;
        style.width = 12;
        text.addText(title.data(), title.size(), style);
        GlyphContainer& g = text.glyphs();
        ASSERT_EQ(static_cast<size_t>(g.size()), title.size());
        int missing = 0;
        for (int i = 0; i < g.size(); ++i) {
            char32_t c = title[static_cast<size_t>(i)];
            if (c == U' ') continue;
            if (!installed(c)) {
                ++missing;
                continue;
            }
            ASSERT_NE(g[i].glyph, nullptr);
            // A box stands in only for a character its face lacks.
            EXPECT_NE(g[i].face->getGlyph(g[i].ch, g[i].mode), nullptr) << "U+" << std::hex << static_cast<int>(c);
        }
        if (missing) GTEST_SKIP() << missing << " characters have no installed font";
    }
}

TEST(GlyphFallback, NothingHasItStillGivesABox) {
    const std::u32string text = U"a\U000F0001b";  // a private-use character no font is asked for
    TTFTextImpl run(nullptr, false, 3);
    TextStyle style;
    style.height = 10;
    style.width = 10;
    run.addText(text.data(), text.size(), style);
    ASSERT_EQ(run.glyphs().size(), 3);
    EXPECT_EQ(run.glyphs()[1].face->getGlyph(0xF0001, run.glyphs()[1].mode), nullptr);
}

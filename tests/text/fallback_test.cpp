#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
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

TEST(GlyphFallback, TheFontConfigurationIsLoadedOnlyWhenAsked) {
    // In a process of its own, where nothing has touched fonts yet: text in the default fonts
    // draws without the fontconfig library, and a character they lack brings it in.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto fontConfigMapped = [] {
        void* handle = dlopen(FontConfigLookup().library().c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle) dlclose(handle);
        return handle != nullptr;
    };
    auto draw = [](const std::u32string& text) {
        TTFTextImpl run(nullptr, false, text.size());
        TextStyle style;
        style.font = "arialbd.ttf";
        run.addText(text.data(), text.size(), style);
    };
    EXPECT_EXIT(
        {
            draw(U"Monthly results 0123456789");
            if (fontConfigMapped()) std::_Exit(1);
            draw(U"\u4e2d\u6587");
            std::_Exit(fontConfigMapped() ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(GlyphFallback, AFontConfigurationThatCannotBeOpenedGivesNoAnswers) {
    FontConfigLookup missing("/no/such/folder/libfontconfig.so.1");
    EXPECT_TRUE(missing.find("DejaVu Sans", 0).path.empty());
    EXPECT_TRUE(missing.findCovering(0x4e2d, 1).path.empty());
    EXPECT_TRUE(missing.loaded());
    // A library without fontconfig's functions is no configuration either.
    FontConfigLookup wrong("libz.so.1");
    EXPECT_TRUE(wrong.find("DejaVu Sans", 0).path.empty());

    FontConfigLookup real;
    EXPECT_EQ(real.find("DejaVu Sans", 1).family, "DejaVu Sans");
}

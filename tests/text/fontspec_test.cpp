#include "text/fontpath_p.h"
#include "text/fontspec_p.h"

#include <plotvane/ttftext.h>

#include <gtest/gtest.h>

using namespace plotvane;

TEST(FontSpec, ParsesIndexAndStyleWordsFromTheEnd) {
    FontSpec s = parseFontSpec("  simsun.ttc|1 bold\t", 0);
    EXPECT_EQ(s.base, "simsun.ttc");
    EXPECT_EQ(s.index, 1);
    EXPECT_EQ(s.flags, kSyntheticBold);
    EXPECT_EQ(s.text, "simsun.ttc|1 bold");

    s = parseFontSpec("Times New Roman Italic  BOLD", 3);
    EXPECT_EQ(s.base, "Times New Roman");
    EXPECT_EQ(s.index, 3);
    EXPECT_EQ(s.flags, kSyntheticBold | kSyntheticItalic);

    // The first word that is not a style word stops the scan.
    s = parseFontSpec("bold Face italic", 0);
    EXPECT_EQ(s.base, "bold Face");
    EXPECT_EQ(s.flags, kSyntheticItalic);

    EXPECT_EQ(parseFontSpec("msgothic.ttc|2", 7).index, 2);
    EXPECT_EQ(parseFontSpec("a.ttc|0x10", 0).index, 16);
    EXPECT_EQ(parseFontSpec("a.ttc|-4", 0).index, 0);
    EXPECT_EQ(parseFontSpec("a|b.ttf|3", 0).base, "a|b.ttf");
    EXPECT_EQ(parseFontSpec(nullptr, 0).base, "");
    EXPECT_EQ(parseFontSpec(std::string(5000, 'x').c_str(), 0).base.size(), 1023u);
}

TEST(FontSpec, MapsWindowsNamesAndKnownFamilies) {
    int flags = kSyntheticBold;
    StandardFont f;
    ASSERT_TRUE(mapStandardFont("ARIALBD.TTF  ", flags, f));
    EXPECT_EQ(f.family, "Arial");
    EXPECT_EQ(f.style, 1);
    EXPECT_EQ(flags, kSyntheticBold);  // a file name keeps the requested styling

    ASSERT_TRUE(mapStandardFont("couri.ttf", flags, f));
    EXPECT_EQ(f.family, "Courier New");
    EXPECT_EQ(f.style, 2);

    flags = kSyntheticBold | kSyntheticItalic;
    ASSERT_TRUE(mapStandardFont("verdana", flags, f));
    EXPECT_EQ(f.family, "Verdana");
    EXPECT_EQ(f.style, 3);
    EXPECT_EQ(flags, 0);  // a family looks for the real styled face instead

    EXPECT_FALSE(mapStandardFont("Helvetica", flags, f));
    EXPECT_FALSE(mapStandardFont("arial.ttf" + std::string(60, ' ') + "x", flags, f));
}

TEST(FontSpec, PointsBecomePixelsAt96Dpi) {
    EXPECT_EQ(pointsToPixels(9), 12);
    EXPECT_EQ(pointsToPixels(10), 13);
    EXPECT_EQ(pointsToPixels(12), 16);
    EXPECT_EQ(pointsToPixels(7.5), 10);
    EXPECT_EQ(pointsToPixels(0), 0);
    EXPECT_EQ(pointsToPixels(-3), 0);
    EXPECT_EQ(pointsToPixels(0.0 / 0.0), 0);
    EXPECT_EQ(pointsToPixels(1e300), 5461);
}

namespace {

std::vector<std::string> prefixes(const std::vector<FontSearchEntry>& path) {
    std::vector<std::string> out;
    for (const FontSearchEntry& e : path) out.push_back(e.prefix + (e.index ? "+" : ""));
    return out;
}

}  // namespace

TEST(FontPath, SplitsAtSemicolonsElseColons) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitFontPath("/a:/b/"), (V{"/a/", "/b/"}));
    // A ";" ahead separates; where none follows, ":" does.
    EXPECT_EQ(splitFontPath("C:\\fonts;/usr/x"), (V{"C:\\fonts/", "/usr/x/"}));
    EXPECT_EQ(splitFontPath("/a;/b:/c;/d"), (V{"/a/", "/b:/c/", "/d/"}));
    EXPECT_EQ(splitFontPath("/a;/b:/c"), (V{"/a/", "/b/", "/c/"}));
    EXPECT_EQ(splitFontPath(";;/x;"), (V{"/x/"}));
    EXPECT_EQ(splitFontPath(""), V{});
}

TEST(FontPath, BuildsTheDefaultListAroundTheCustomPath) {
    using V = std::vector<std::string>;
    FontPathSources s;
    s.systemFolders = {"/usr/share/fonts", "/home/u/.fonts/"};
    s.moduleFonts = "/lib/fonts";
    EXPECT_EQ(prefixes(buildSearchPath(s)), (V{"", "/usr/share/fonts/+", "/home/u/.fonts/+", "/lib/fonts/+"}));

    // FONTPATH replaces the system folders.
    s.fontPathEnv = "/env1:/env2";
    V withEnv = {"/env1/+", "/env2/+", "", "/lib/fonts/+"};
    EXPECT_EQ(prefixes(buildSearchPath(s)), withEnv);

    s.customPath = "/fonts/extra;%PATH%;/after";
    V spliced = {"/fonts/extra/+"};
    spliced.insert(spliced.end(), withEnv.begin(), withEnv.end());
    spliced.push_back("/after/+");
    EXPECT_EQ(prefixes(buildSearchPath(s)), spliced);

    s.customPath = "/only";
    EXPECT_EQ(prefixes(buildSearchPath(s)), (V{"/only/+"}));

    // The program's path is what the next driver reads.
    Chart::setFontSearchPath("/mine;%PATH%");
    EXPECT_STREQ(Chart::getFontSearchPath(), "/mine;%PATH%");
    EXPECT_EQ(currentFontPathSources().customPath, "/mine;%PATH%");
    Chart::setFontSearchPath(nullptr);
    EXPECT_STREQ(Chart::getFontSearchPath(), "");
}

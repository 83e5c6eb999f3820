#include "text/fontspec_p.h"
#include "text/glyphbitmap_p.h"
#include "text/libttfdriver_p.h"

#include "fontfixture.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace plotvane;
using namespace plotvane_test;

namespace {

class GlyphTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::unique_ptr<LibTTFFontDriver> driver = driverFor(folder.path());

    LibTTFSizedFontFace* face(const std::string& spec, double height, double width = -1) {
        return static_cast<LibTTFSizedFontFace*>(driver->openFace(spec.c_str(), 0, height, width < 0 ? height : width, 0));
    }
    static int pixelWidth(const FontGlyph* g) { return g->pitch / (g->format == FontGlyph::ColorSubpixel ? 3 : 1); }
    static int ink(const FontGlyph* g) {
        return std::accumulate(g->bitmap, g->bitmap + g->pitch * g->rows, 0);
    }
};

GlyphBitmap bitmapOf(int width, int rows, std::vector<unsigned char> data, int bytesPerPixel = 1) {
    GlyphBitmap b;
    b.width = width;
    b.rows = rows;
    b.bytesPerPixel = bytesPerPixel;
    b.data = std::move(data);
    return b;
}

}  // namespace

TEST_F(GlyphTest, MetricsAndAdvancesAreFreeTypesOwn) {
    FT_Library lib;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Face ft;
    ASSERT_EQ(FT_New_Face(lib, kDejaVuSans.c_str(), 0, &ft), 0);
    for (double points : {7.5, 9.0, 10.0, 12.0, 30.0}) {
        int pixels = pointsToPixels(points);
        ASSERT_EQ(FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(pixels)), 0);
        LibTTFSizedFontFace* f = face(kDejaVuSans, points);
        EXPECT_EQ(f->ascender, ft->size->metrics.ascender / 64) << points;
        EXPECT_EQ(f->descender, -ft->size->metrics.descender / 64) << points;
        EXPECT_EQ(f->lineHeight, ft->size->metrics.height / 64) << points;
        EXPECT_EQ(f->getSizeInPixels(), pixels);

        ASSERT_EQ(FT_Load_Glyph(ft, FT_Get_Char_Index(ft, 'W'), FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH), 0);
        FontGlyph* w = f->getGlyph('W', 1);
        EXPECT_EQ(w->advance, ft->glyph->advance.x / 64.0) << points;
        EXPECT_EQ(w->verticalAdvance, f->lineHeight);
    }
    FT_Done_Face(ft);
    FT_Done_FreeType(lib);

    // The smaller of height and width gives the size; a non-positive one is ignored.
    EXPECT_EQ(face(kDejaVuSans, 12, 9)->getSizeInPixels(), 12);
    EXPECT_EQ(face(kDejaVuSans, 12, 0)->getSizeInPixels(), 16);
}

TEST_F(GlyphTest, AutomaticModeAntiAliasesFromFifteenPointsOrEightBold) {
    EXPECT_EQ(face(kDejaVuSans, 14.9)->effectiveMode(2), 0);
    EXPECT_EQ(face(kDejaVuSans, 15)->effectiveMode(2), 1);
    EXPECT_EQ(face(kDejaVuSans, 10, 15)->effectiveMode(2), 1);
    EXPECT_EQ(face(kDejaVuSansBold, 7.9)->effectiveMode(2), 0);
    EXPECT_EQ(face(kDejaVuSansBold, 8)->effectiveMode(2), 1);
    EXPECT_EQ(face(kDejaVuSans + " bold", 8)->effectiveMode(3), 1);
    EXPECT_EQ(face(kDejaVuSans + " bold", 7.9)->effectiveMode(3), 0);

    LibTTFSizedFontFace* small = face(kDejaVuSans, 9);
    EXPECT_EQ(small->effectiveMode(0), 0);
    EXPECT_EQ(small->effectiveMode(1), 1);
    EXPECT_EQ(small->effectiveMode(4), 4);
    EXPECT_EQ(small->effectiveMode(5), 5);

    // Files named like Type 1 fonts are always smoothed and never sub-pixel rendered.
    folder.put("fake.pfb", readFile(kDejaVuSans));
    LibTTFSizedFontFace* type1 = face("fake.pfb", 9);
    EXPECT_EQ(type1->style() & kType1Font, kType1Font);
    EXPECT_EQ(type1->effectiveMode(2), 1);
    EXPECT_EQ(type1->effectiveMode(5), 1);
    EXPECT_EQ(type1->getGlyph('a', 5)->format, FontGlyph::Grey);
}

TEST_F(GlyphTest, SyntheticBoldAndItalicWidenTheBitmap) {
    for (int mode : {0, 1, 4, 5}) {
        FontGlyph* plain = face(kDejaVuSans, 20)->getGlyph('l', mode);
        FontGlyph* bold = face(kDejaVuSans + " bold", 20)->getGlyph('l', mode);
        FontGlyph* italic = face(kDejaVuSans + " italic", 20)->getGlyph('l', mode);
        EXPECT_EQ(pixelWidth(bold), pixelWidth(plain) + 1) << mode;
        EXPECT_GT(ink(bold), ink(plain)) << mode;
        EXPECT_EQ(bold->advance, plain->advance);
        // A 20-point "l" stands about 15 rows above the baseline: a quarter of that is the slant.
        EXPECT_GE(pixelWidth(italic), pixelWidth(plain) + 3) << mode;
        EXPECT_EQ(bold->rows, plain->rows);
    }
}

TEST_F(GlyphTest, RenderModesAndTheMissingGlyphBox) {
    LibTTFSizedFontFace* f = face(kDejaVuSans, 20);
    FontGlyph* grey = f->getGlyph('o', 1);
    FontGlyph* mono = f->getGlyph('o', 0);
    FontGlyph* lcdGrey = f->getGlyph('o', 4);
    FontGlyph* lcd = f->getGlyph('o', 5);
    EXPECT_EQ(grey->format, FontGlyph::Grey);
    for (int i = 0; i < mono->pitch * mono->rows; ++i) ASSERT_TRUE(mono->bitmap[i] == 0 || mono->bitmap[i] == 255);
    EXPECT_EQ(lcd->format, FontGlyph::ColorSubpixel);
    EXPECT_EQ(lcd->pitch % 3, 0);
    EXPECT_EQ(lcdGrey->format, FontGlyph::Grey);
    EXPECT_EQ(lcdGrey->pitch * 3, lcd->pitch);
    // The LCD filter spreads at least one pixel each way.
    EXPECT_LT(lcd->left, mono->left);
    EXPECT_GE(pixelWidth(lcd), pixelWidth(mono) + 2);

    EXPECT_EQ(f->getGlyph(0x10fffd, 1), nullptr);
    EXPECT_EQ(f->getGlyph(-5, 1), nullptr);
    FontGlyph* box = f->getGlyph(0, 1);
    ASSERT_NE(box, nullptr);
    ASSERT_GE(box->rows, 3);
    int w = box->pitch;
    ASSERT_GE(w, 3);
    auto at = [box, w](int x, int y) { return box->bitmap[y * w + x]; };
    for (int x = 0; x < w; ++x) EXPECT_TRUE(at(x, 0) == 255 && at(x, box->rows - 1) == 255);
    for (int y = 0; y < box->rows; ++y) EXPECT_TRUE(at(0, y) == 255 && at(w - 1, y) == 255);
    EXPECT_EQ(at(w / 2, box->rows / 2), 0);
}

TEST(GlyphBitmap, BoldSmearsOnePixelRight) {
    GlyphBitmap b = bitmapOf(3, 1, {200, 0, 100});
    emboldenBitmap(b);
    EXPECT_EQ(b.data, (std::vector<unsigned char>{200, 200, 100, 100}));
    GlyphBitmap lcd = bitmapOf(3, 1, {10, 20, 250}, 3);
    emboldenBitmap(lcd);
    EXPECT_EQ(lcd.data, (std::vector<unsigned char>{10, 20, 250, 10, 20, 250}));
    GlyphBitmap saturating = bitmapOf(2, 1, {200, 200});
    emboldenBitmap(saturating);
    EXPECT_EQ(saturating.data, (std::vector<unsigned char>{200, 255, 200}));
}

TEST(GlyphBitmap, SlantShiftsRowsByAQuarterOfTheirHeight) {
    // Rows 8 above the baseline move 2 right, rows 2 below move 1 left (halves away from zero).
    GlyphBitmap b = bitmapOf(1, 11, std::vector<unsigned char>(11, 255));
    b.top = 8;
    b.left = 3;
    slantBitmap(b);
    EXPECT_EQ(b.width, 4);
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.row(0)[3], 255);   // shift 2, placed at 2 - (-1)
    EXPECT_EQ(b.row(8)[1], 255);   // on the baseline: no shift
    EXPECT_EQ(b.row(10)[0], 255);  // 2 below: round(-0.5) = -1
    EXPECT_EQ(std::accumulate(b.data.begin(), b.data.end(), 0), 11 * 255);
}

TEST(GlyphBitmap, LcdFilterQuantisesSpreadsAndReduces) {
    GlyphBitmap b = bitmapOf(3, 1, {255, 100, 30}, 3);
    b.left = 4;
    filterLcd(b);
    ASSERT_EQ(b.width, 9);
    EXPECT_EQ(b.left, 3);
    // Quantised to 255, 128, 0 at positions 3..5 of the output.
    std::vector<unsigned char> expected = {0, 16 * 255 >> 8, (80 * 255 + 16 * 128) >> 8, (96 * 255 + 80 * 128) >> 8,
                                           (80 * 255 + 96 * 128) >> 8, (16 * 255 + 80 * 128) >> 8, (16 * 128) >> 8, 0,
                                           0};
    EXPECT_EQ(b.data, expected);

    GlyphBitmap full = bitmapOf(9, 1, std::vector<unsigned char>(9, 255), 3);
    filterLcd(full);
    EXPECT_EQ(full.data[6], 255);  // 288/256 of full coverage clamps

    GlyphBitmap rgb = bitmapOf(6, 1, {40, 80, 120, 255, 255, 255}, 3);
    reduceLcdToGrey(rgb);
    EXPECT_EQ(rgb.bytesPerPixel, 1);
    EXPECT_EQ(rgb.data, (std::vector<unsigned char>{80, 255}));
}

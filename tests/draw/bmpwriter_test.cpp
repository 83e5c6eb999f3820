#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/imageio_p.h"
#include "imageoracle.h"

using namespace plotvane;
using plotvane_test::bytesOf;
using plotvane_test::matchesWithPillow;

namespace {

std::string bmp(const std::vector<uint32_t>& pixels, int width, int height, const RasterSettings& settings) {
    vek::ostrstream out;
    EXPECT_TRUE(writeBMP(out, RasterImage{pixels.data(), width, height}, settings));
    return bytesOf(out);
}

uint32_t le32(const std::string& file, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(file[at + i]);
    return v;
}

std::vector<uint32_t> stripes(int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * width + x] = (x + 2 * y) % 3 == 0 ? 0x204060 : x < 3 ? 0xff0000 : 0x00ff80;
    return pixels;
}

}  // namespace

TEST(BmpWriter, PaletteAndTrueColourFiles) {
    const int width = 5, height = 3;  // rows need padding in every form
    auto pixels = stripes(width, height);
    std::string file = bmp(pixels, width, height, RasterSettings());
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(le32(file, 10), 54u + 4 * 3);          // data offset after 3 palette entries
    EXPECT_EQ(le32(file, 2), 54u + 4 * 3 + 8 * 3);   // rows of 5 bytes padded to 8
    EXPECT_EQ(le32(file, 28) & 0xffff, 8u);
    EXPECT_EQ(le32(file, 46), 3u);
    EXPECT_TRUE(matchesWithPillow(file, ".bmp", pixels, width, height));

    for (int mode : {2, 128, 129}) {
        RasterSettings trueColor;
        trueColor.paletteMode = mode;
        file = bmp(pixels, width, height, trueColor);
        EXPECT_EQ(le32(file, 28) & 0xffff, 24u);
        EXPECT_EQ(file.size(), 54u + 16 * 3);  // 15 bytes padded to 16
        EXPECT_TRUE(matchesWithPillow(file, ".bmp", pixels, width, height));
    }
    // Mode 130 may still use a palette.
    RasterSettings level2;
    level2.paletteMode = 130;
    EXPECT_EQ(le32(bmp(pixels, width, height, level2), 28) & 0xffff, 8u);
}

TEST(BmpWriter, AlphaIsPremultiplied) {
    const int width = 3, height = 2;
    std::vector<uint32_t> pixels = {0x00ff8040, 0x80ff8040, 0xff123456, 0x7f102030, 0x00000000, 0x40ffffff};
    RasterSettings alpha;
    alpha.transparentColor = -1;
    std::string file = bmp(pixels, width, height, alpha);
    EXPECT_EQ(le32(file, 14), 56u);
    EXPECT_EQ(le32(file, 10), 70u);
    EXPECT_EQ(le32(file, 28) & 0xffff, 32u);
    EXPECT_EQ(le32(file, 54 + 12), 0xff000000u);  // alpha mask
    // Row 0 is stored last. Opacity 0x7f (< 128) scales by 127/256, 0x80 by 129/256, 0xff by 256/256.
    size_t row0 = 70 + 12;
    EXPECT_EQ(le32(file, row0), 0xffff8040u);
    EXPECT_EQ(le32(file, row0 + 4), 0x7f7e3f1fu);
    EXPECT_EQ(le32(file, row0 + 8), 0x00000000u);
    EXPECT_EQ(le32(file, 70), 0x80081018u);

    // -2 asks for alpha only when the background has transparency.
    RasterSettings onlyIfNeeded;
    onlyIfNeeded.transparentColor = -2;
    onlyIfNeeded.paletteMode = 2;
    EXPECT_EQ(le32(bmp(pixels, width, height, onlyIfNeeded), 28) & 0xffff, 24u);
    onlyIfNeeded.bgHasTransparency = true;
    EXPECT_EQ(le32(bmp(pixels, width, height, onlyIfNeeded), 28) & 0xffff, 32u);

    // The colours as an independent reader sees them (it ignores the alpha bytes checked above).
    std::vector<uint32_t> premultiplied = {0xff8040, 0x7e3f1f, 0x000000, 0x081018, 0x000000, 0xbfbfbf};
    EXPECT_TRUE(matchesWithPillow(file, ".bmp", premultiplied, width, height));
}

TEST(BmpWriter, FastImageAndLoading) {
    auto pixels = stripes(4, 4);
    RasterSettings settings;
    vek::ostrstream out;
    ASSERT_TRUE(writeFastImage(out, RasterImage{pixels.data(), 4, 4}, settings));
    EXPECT_EQ(settings.paletteMode, 2);
    EXPECT_EQ(bytesOf(out).substr(0, 2), "BM");
    EXPECT_EQ(le32(bytesOf(out), 28) & 0xffff, 24u);

    RasterSettings withAlpha;
    withAlpha.transparentColor = -1;
    withAlpha.paletteMode = 1;  // kept
    vek::ostrstream png;
    ASSERT_TRUE(writeFastImage(png, RasterImage{pixels.data(), 4, 4}, withAlpha));
    EXPECT_EQ(withAlpha.paletteMode, 1);
    EXPECT_EQ(png.data()[1], 'P');

    // There is no BMP reader.
    std::string file = bytesOf(out);
    std::vector<uint32_t> decoded;
    int w = 0, h = 0;
    EXPECT_EQ(getImageType(reinterpret_cast<const unsigned char*>(file.data()), static_cast<int>(file.size())),
              kImageBMP);
    EXPECT_FALSE(decodeImage(reinterpret_cast<const unsigned char*>(file.data()), static_cast<int>(file.size()),
                             kImageBMP, decoded, w, h));
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/imageio_p.h"
#include "imageoracle.h"

using namespace plotvane;
using plotvane_test::bytesOf;
using plotvane_test::matchesWithPillow;

namespace {

std::string wbmp(const std::vector<uint32_t>& pixels, int width, int height, int dither = 0) {
    RasterSettings settings;
    settings.ditherMethod = dither;
    vek::ostrstream out;
    EXPECT_TRUE(writeWMP(out, RasterImage{pixels.data(), width, height}, settings));
    return bytesOf(out);
}

int whiteCount(const std::string& file, size_t headerBytes) {
    int count = 0;
    for (size_t i = headerBytes; i < file.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) count += (static_cast<unsigned char>(file[i]) >> bit) & 1;
    return count;
}

}  // namespace

TEST(WbmpWriter, ThresholdAndRowPadding) {
    const int width = 10, height = 2;
    std::vector<uint32_t> pixels(width * height, 0x000000);
    pixels[0] = 0xffffff;
    pixels[9] = 0x808000;           // 256: dark
    pixels[width + 1] = 0x7f8080;   // 383: just above half
    pixels[width + 2] = 0x7f7f80;   // 382: not above half
    std::string file = wbmp(pixels, width, height);
    ASSERT_EQ(file.size(), 4u + 2 * 2);  // type, header, width, height; two bytes per row
    EXPECT_EQ(file.substr(0, 4), std::string("\0\0\x0a\x02", 4));
    EXPECT_EQ(file.substr(4), std::string("\x80\x00\x40\x00", 4));  // the last six bits of each row are zero

    std::vector<uint32_t> expected(width * height, 0x000000);
    expected[0] = expected[width + 1] = 0xffffff;
    EXPECT_TRUE(matchesWithPillow(file, ".wbmp", expected, width, height));

    // Widths of 128 and more take two bytes of seven bits each.
    std::vector<uint32_t> wide(300, 0xffffff);
    file = wbmp(wide, 300, 1);
    EXPECT_EQ(file.substr(2, 3), std::string("\x82\x2c\x01", 3));
    EXPECT_TRUE(matchesWithPillow(file, ".wbmp", wide, 300, 1));
}

TEST(WbmpWriter, Dithering) {
    const int width = 64, height = 64;
    for (uint32_t grey : {0x404040u, 0x808080u, 0xc0c0c0u}) {
        std::vector<uint32_t> pixels(width * height, grey);
        int level = static_cast<int>(grey & 0xff);
        EXPECT_EQ(whiteCount(wbmp(pixels, width, height, 0), 4), level > 127 ? width * height : 0);
        // Error diffusion keeps the grey level as the share of white pixels.
        double share = whiteCount(wbmp(pixels, width, height, 2), 4) / double(width * height);
        EXPECT_NEAR(share, level / 255.0, 0.02) << "grey " << level;
    }
    // The ordered matrix spans only half the brightness range: mid grey splits evenly, in a
    // pattern that repeats every four pixels; dark grey stays black.
    std::vector<uint32_t> mid(width * height, 0x808080);
    std::string file = wbmp(mid, width, height, 1);
    EXPECT_EQ(whiteCount(file, 4), width * height / 2);
    for (size_t row = 4; row < 4 + 8 * size_t(height); row += 8) {
        EXPECT_EQ(file.substr(row, 8), file.substr(4 + (row - 4) % 32, 8));
        EXPECT_EQ(file[row], file[row + 1]);
    }
    std::vector<uint32_t> dark(width * height, 0x404040);
    EXPECT_EQ(whiteCount(wbmp(dark, width, height, 1), 4), 0);
}

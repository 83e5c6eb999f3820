#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "draw/imageio_p.h"
#include "imageoracle.h"

using namespace plotvane;
using plotvane_test::bytesOf;
using plotvane_test::readWithLibjpeg;
using plotvane_test::samePixels;

namespace {

std::vector<uint32_t> smooth(int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = 0x40000000u | (x * 255 / width) << 16 | (y * 255 / height) << 8 | 0x60;
    return pixels;
}

std::string jpeg(const std::vector<uint32_t>& pixels, int width, int height, int quality, bool progressive) {
    RasterSettings settings;
    settings.interlace = progressive;
    vek::ostrstream out;
    EXPECT_TRUE(writeJPG(out, RasterImage{pixels.data(), width, height}, settings, quality));
    return bytesOf(out);
}

double meanError(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16}) sum += std::abs(int((a[i] >> shift) & 0xff) - int((b[i] >> shift) & 0xff));
    return sum / (3.0 * a.size());
}

bool decode(const std::string& file, std::vector<uint32_t>& pixels, int& width, int& height) {
    return decodeImage(reinterpret_cast<const unsigned char*>(file.data()), static_cast<int>(file.size()), kImageJPG,
                       pixels, width, height);
}

}  // namespace

// Mean error per channel against the source (transparency dropped): below 2 at quality 90.
TEST(JpegWriter, LibjpegReadsBaselineAndProgressive) {
    const int width = 120, height = 70;
    auto pixels = smooth(width, height);
    std::vector<uint32_t> opaque = pixels;
    for (uint32_t& p : opaque) p &= 0xffffff;
    for (bool progressive : {false, true}) {
        std::string file = jpeg(pixels, width, height, 90, progressive);
        int w = 0, h = 0;
        bool isProgressive = !progressive;
        auto decoded = readWithLibjpeg(file, w, h, isProgressive);
        EXPECT_EQ(isProgressive, progressive);
        ASSERT_EQ(w, width);
        ASSERT_EQ(h, height);
        EXPECT_LT(meanError(decoded, opaque), 2.0);
        // Frame marker SOF0 or SOF2, and its size found by the header scan.
        EXPECT_NE(file.find(progressive ? "\xff\xc2" : "\xff\xc0"), std::string::npos);
        getImageSize(reinterpret_cast<const unsigned char*>(file.data()), static_cast<int>(file.size()), w, h);
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        // Our reader gives exactly what libjpeg gives.
        std::vector<uint32_t> ours;
        ASSERT_TRUE(decode(file, ours, w, h));
        EXPECT_TRUE(samePixels(ours, decoded));
    }
    // Lower quality, smaller file; default quality in between.
    EXPECT_LT(jpeg(pixels, width, height, 10, false).size(), jpeg(pixels, width, height, -1, false).size());
    EXPECT_LT(jpeg(pixels, width, height, -1, false).size(), jpeg(pixels, width, height, 100, false).size());
}

TEST(JpegReader, DamageNeverExits) {
    auto pixels = smooth(64, 64);
    const std::string file = jpeg(pixels, 64, 64, 75, false);
    std::vector<uint32_t> out = {3};
    int w = -1, h = -1;
    auto rejected = [&](const std::string& damaged) {
        return !decode(damaged, out, w, h) && out == std::vector<uint32_t>{3} && w == -1 && h == -1;
    };
    EXPECT_TRUE(rejected(file.substr(0, file.size() / 2)));  // truncated scan
    EXPECT_TRUE(rejected(file.substr(0, 300)));              // inside the tables
    EXPECT_TRUE(rejected(std::string("\xff\xd8\xff\xd9", 4)));
    std::string badTable = file;
    badTable[file.find("\xff\xdb") + 4] = '\x7f';  // quantisation table id 15
    EXPECT_TRUE(rejected(badTable));
    // The frame header claims 65000 x 65000 pixels over a few kilobytes.
    std::string liar = file;
    size_t frame = liar.find("\xff\xc0");
    liar[frame + 5] = liar[frame + 7] = '\xfd';
    liar[frame + 6] = liar[frame + 8] = '\xe8';
    EXPECT_TRUE(rejected(liar));
    vek::ostrstream sink;
    EXPECT_FALSE(writeJPG(sink, RasterImage{pixels.data(), 0, 64}, RasterSettings(), 75));
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/imageio_p.h"
#include "imageoracle.h"

using namespace plotvane;
using plotvane_test::bytesOf;
using plotvane_test::matchesWithPillow;
using plotvane_test::samePixels;

namespace {

std::string gif(const std::vector<uint32_t>& pixels, int width, int height, const RasterSettings& settings = {}) {
    vek::ostrstream out;
    EXPECT_TRUE(writeGIF(out, RasterImage{pixels.data(), width, height}, settings));
    return bytesOf(out);
}

bool decode(const std::string& file, std::vector<uint32_t>& pixels, int& width, int& height) {
    return decodeImage(reinterpret_cast<const unsigned char*>(file.data()), static_cast<int>(file.size()), kImageGIF,
                       pixels, width, height);
}

// Pseudo-random indices into `colors` colours: poor LZW matches, so the string table fills and clears.
std::vector<uint32_t> noise(int width, int height, int colors) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    uint32_t state = 12345;
    for (uint32_t& p : pixels) {
        state = state * 1103515245u + 12345u;
        uint32_t k = (state >> 16) % colors;
        p = (k << 16) | ((255 - k) << 8) | ((k * 5) & 0xff);
    }
    return pixels;
}

}  // namespace

TEST(GifWriter, TwoColoursGiveTheSmallestFile) {
    const int width = 7, height = 3;
    std::vector<uint32_t> pixels(width * height, 0x000000);
    for (int i = 0; i < width * height; i += 3) pixels[i] = 0xff8000;
    std::string file = gif(pixels, width, height);
    EXPECT_EQ(file.substr(0, 6), "GIF87a");
    EXPECT_EQ(static_cast<unsigned char>(file[10]), 0x80u);  // global table of 2 entries, 1 bit
    EXPECT_EQ(file[13 + 6], '\x2c');                         // image right after the 2-entry table
    EXPECT_EQ(file[13 + 6 + 9], '\0');                       // not interlaced
    EXPECT_EQ(file[13 + 6 + 10], '\x02');                    // LZW code size 2
    EXPECT_EQ(file.back(), '\x3b');
    std::string facts;
    EXPECT_TRUE(matchesWithPillow(file, ".gif", pixels, width, height, &facts));
    EXPECT_NE(facts.find("format=GIF"), std::string::npos) << facts;
}

TEST(GifWriter, TransparentWhiteAndInterlace) {
    const int width = 12, height = 8;
    std::vector<uint32_t> pixels(width * height, 0xffffff);
    for (int x = 2; x < 10; ++x) pixels[3 * width + x] = 0x0000ff;
    pixels[5] = 0x00ff00;
    RasterSettings settings;
    settings.transparentColor = 0xffffff;
    settings.interlace = true;  // only 8 rows: written straight
    std::string file = gif(pixels, width, height, settings);
    EXPECT_EQ(file.substr(0, 6), "GIF89a");
    EXPECT_EQ(static_cast<unsigned char>(file[10]), 0x91u);  // 4 entries
    const std::string control("\x21\xf9\x04\x01\x00\x00\x00\x00", 8);
    EXPECT_EQ(file.substr(13 + 12, 8), control);  // names white, entered first as index 0
    EXPECT_EQ(file[13 + 12 + 8 + 9], '\0');

    std::vector<uint32_t> expected = pixels;
    for (uint32_t& p : expected)
        if (p == 0xffffff) p = 0xffffffff;
    std::string facts;
    EXPECT_TRUE(matchesWithPillow(file, ".gif", expected, width, height, &facts));
    EXPECT_NE(facts.find("version=GIF89a transparency=0"), std::string::npos) << facts;

    std::vector<uint32_t> tall = noise(13, 21, 6);
    file = gif(tall, 13, 21, settings);
    EXPECT_EQ(file[13 + 24 + 8 + 9], '\x40');
    EXPECT_TRUE(matchesWithPillow(file, ".gif", tall, 13, 21));
}

TEST(GifWriter, LongNoiseAndQuantisedPictures) {
    // 256 colours of noise: 8-bit codes, the table clears many times.
    const int width = 301, height = 203;
    std::vector<uint32_t> pixels = noise(width, height, 256);
    std::string file = gif(pixels, width, height);
    EXPECT_EQ(file[13 + 768 + 10], '\x08');
    EXPECT_TRUE(matchesWithPillow(file, ".gif", pixels, width, height));

    // Few colours in long runs: the codes reach 12 bits.
    std::vector<uint32_t> runs(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < runs.size(); ++i) runs[i] = (i / 997) % 3 ? 0x123456 : 0xabcdef;
    EXPECT_TRUE(matchesWithPillow(gif(runs, width, height), ".gif", runs, width, height));

    // More than 256 colours are quantised even without a forced palette; our reader and Pillow agree.
    std::vector<uint32_t> many = noise(64, 64, 2000);
    for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<uint32_t>(i * 4099) & 0xffffff;
    file = gif(many, 64, 64);
    std::vector<uint32_t> decoded;
    int w = 0, h = 0;
    ASSERT_TRUE(decode(file, decoded, w, h));
    std::string facts;
    EXPECT_TRUE(matchesWithPillow(file, ".gif", decoded, w, h, &facts));
    EXPECT_NE(facts.find("mode=P"), std::string::npos) << facts;
}

TEST(GifReader, ReadsWhatTheWriterWrites) {
    for (bool interlace : {false, true}) {
        for (int height : {1, 8, 9, 33}) {
            std::vector<uint32_t> pixels = noise(17, height, 5);
            RasterSettings settings;
            settings.interlace = interlace;
            std::vector<uint32_t> decoded;
            int w = 0, h = 0;
            ASSERT_TRUE(decode(gif(pixels, 17, height, settings), decoded, w, h));
            EXPECT_EQ(w, 17);
            EXPECT_EQ(h, height);
            EXPECT_TRUE(samePixels(decoded, pixels)) << interlace << " " << height;
        }
    }
}

TEST(GifReader, RejectsDamage) {
    std::vector<uint32_t> pixels = noise(40, 40, 16);
    const std::string file = gif(pixels, 40, 40);
    const size_t dataStart = 13 + 48 + 10 + 1;  // header, table, descriptor, code size
    std::vector<uint32_t> out = {7};
    int w = -1, h = -1;
    auto rejected = [&](const std::string& damaged) {
        return !decode(damaged, out, w, h) && out == std::vector<uint32_t>{7} && w == -1 && h == -1;
    };
    for (size_t cut = 0; cut + 2 < file.size(); cut += 23) EXPECT_TRUE(rejected(file.substr(0, cut))) << cut;

    std::string badVersion = file;
    badVersion[4] = '8';
    EXPECT_TRUE(rejected(badVersion));
    std::string badCodeSize = file;
    badCodeSize[dataStart - 1] = 12;
    EXPECT_TRUE(rejected(badCodeSize));
    // A first code that points into the empty string table (the clear code is followed by 0x1f).
    std::string badCode = file;
    badCode[dataStart + 1] = '\xff';
    badCode[dataStart + 2] = '\xff';
    EXPECT_TRUE(rejected(badCode));
    // The logical screen claims 65535 x 65535 pixels.
    std::string liar = file;
    liar[6] = liar[7] = liar[8] = liar[9] = '\xff';
    EXPECT_TRUE(rejected(liar));
    std::string noImage = file.substr(0, 13 + 48) + ";";
    EXPECT_TRUE(rejected(noImage));
    std::string unknownBlock = file.substr(0, 13 + 48) + "!" + file.substr(13 + 48);
    unknownBlock[13 + 48 + 1] = 'x';
    EXPECT_TRUE(rejected(unknownBlock));
}

TEST(GifReader, FramesOnTheLogicalScreen) {
    // A 4 x 3 screen holding a 2 x 2 frame at (1, 1) with a local table, built by hand:
    // frame pixels are indices 0 1 / 1 0 into red and blue; LZW code size 2: clear(4) 0 1 1 in
    // 3 bits, then 0 end(5) in 4 bits, as the table has reached 8 entries.
    std::string file("GIF89a\x04\x00\x03\x00\x00\x00\x00", 13);
    file += std::string("\x21\xf9\x04\x01\x00\x00\x01\x00", 8);  // index 1 is transparent
    file += std::string("\x2c\x01\x00\x01\x00\x02\x00\x02\x00\x80", 10);
    file += std::string("\xff\x00\x00\x00\x00\xff", 6);
    uint32_t bits = 4 | (0 << 3) | (1 << 6) | (1 << 9) | (0 << 12) | (5 << 16);
    file += std::string("\x02\x03", 2);
    file += static_cast<char>(bits & 0xff);
    file += static_cast<char>((bits >> 8) & 0xff);
    file += static_cast<char>((bits >> 16) & 0xff);
    file += std::string("\x00\x3b", 2);
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(decode(file, pixels, w, h));
    const uint32_t t = 0xff000000u, r = 0xff0000u;
    EXPECT_TRUE(samePixels(pixels, {t, t, t, t, t, r, t, t, t, t, r, t}));
}

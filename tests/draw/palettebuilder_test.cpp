#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "draw/palettebuilder_p.h"

using namespace plotvane;

namespace {

// The plain way to number colours: one map look-up per pixel, in order of first appearance.
// Returns the colour count, or 0 past 256 colours.
int referencePalette(const std::vector<uint32_t>& pixels, int transparentRGB, std::vector<uint32_t>& palette,
                     std::vector<uint8_t>& indices) {
    std::map<uint32_t, int> indexOf;
    palette.clear();
    indices.clear();
    auto indexOfColour = [&](uint32_t rgb) {
        auto found = indexOf.emplace(rgb, static_cast<int>(palette.size()));
        if (found.second) palette.push_back(rgb);
        return found.first->second;
    };
    if (transparentRGB >= 0) indexOfColour(static_cast<uint32_t>(transparentRGB));
    for (uint32_t pixel : pixels) {
        int index = indexOfColour(pixel & 0xffffff);
        if (index > 255) return 0;
        indices.push_back(static_cast<uint8_t>(index));
    }
    return static_cast<int>(palette.size());
}

// Runs of random length (1 to 40, so that runs end anywhere in and across blocks of eight) in
// colours drawn from a set of `colours`, with random transparency bytes, which must be ignored.
std::vector<uint32_t> runsPicture(std::mt19937& random, size_t total, int colours) {
    std::vector<uint32_t> set(static_cast<size_t>(colours));
    for (uint32_t& c : set) c = static_cast<uint32_t>(random()) & 0xffffff;
    std::vector<uint32_t> pixels;
    while (pixels.size() < total) {
        uint32_t rgb = set[random() % set.size()];
        size_t length = 1 + random() % 40;
        for (size_t k = 0; k < length && pixels.size() < total; ++k)
            pixels.push_back(rgb | (random() % 3 == 0 ? static_cast<uint32_t>(random()) << 24 : 0u));
    }
    return pixels;
}

// Rows that mostly repeat the row above, as columns and boxes make them: new transparency bytes,
// and now and then one pixel of another colour, which may be new.
std::vector<uint32_t> columnsPicture(std::mt19937& random, int width, int height, int colours) {
    std::vector<uint32_t> pixels = runsPicture(random, static_cast<size_t>(width), colours);
    for (int y = 1; y < height; ++y) {
        if (random() % 4 == 0) {
            auto row = runsPicture(random, static_cast<size_t>(width), colours);
            pixels.insert(pixels.end(), row.begin(), row.end());
            continue;
        }
        for (int x = 0; x < width; ++x)
            pixels.push_back((pixels[pixels.size() - width] & 0xffffff) | static_cast<uint32_t>(random() % 2) << 24);
        if (random() % 2) pixels[pixels.size() - 1 - random() % width] = static_cast<uint32_t>(random()) & 0xffffff;
    }
    return pixels;
}

}  // namespace

TEST(PaletteBuilder, RunScanMatchesPlainNumbering) {
    std::mt19937 random(7);
    const struct {
        int width, height;
    } sizes[] = {{1, 1}, {7, 1}, {8, 1}, {9, 3}, {37, 11}, {64, 64}, {801, 13}};
    for (const auto& size : sizes) {
        for (int colours : {1, 2, 5, 200, 256, 300}) {
            for (int transparent : {static_cast<int>(0xff000000), 0x123456, -2, -3}) {
                SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " colours " << colours
                                                << " transparent " << transparent);
                auto pixels = transparent == -3
                                  ? columnsPicture(random, size.width, size.height, colours)
                                  : runsPicture(random, static_cast<size_t>(size.width) * size.height, colours);
                if (transparent == 0x123456 && colours == 5) pixels[pixels.size() / 2] = 0x80123456;
                std::vector<uint32_t> palette;
                std::vector<uint8_t> indices;
                int transparentRGB = transparent >= 0 ? transparent : -1;
                int expected = referencePalette(pixels, transparentRGB, palette, indices);

                PaletteImage indexed;
                int count = makePaletteImage(RasterImage{pixels.data(), size.width, size.height}, transparent, 0, 0,
                                             indexed);
                ASSERT_EQ(count, expected);
                if (expected == 0) continue;
                EXPECT_EQ(std::vector<uint32_t>(indexed.palette, indexed.palette + count), palette);
                EXPECT_EQ(std::vector<uint8_t>(indexed.indices.begin(), indexed.indices.end()), indices);
                EXPECT_EQ(indexed.transparentIndex, transparentRGB >= 0 ? 0 : -1);
            }
        }
    }
}

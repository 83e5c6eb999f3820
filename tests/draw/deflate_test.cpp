#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "../fuzz/deflate_input.h"
#include "draw/deflate_p.h"
#include "imageoracle.h"
#include "support/golden.h"

using namespace plotvane;
using plotvane_test::inflateWithZlib;

namespace {

struct Compressed {
    std::string stream;
    std::string rows;  // what went in
};

size_t longestOf(const std::vector<std::string>& rows) {
    size_t longest = 0;
    for (const std::string& row : rows) longest = std::max(longest, row.size());
    return longest;
}

size_t totalOf(const std::vector<std::string>& rows) {
    size_t total = 0;
    for (const std::string& row : rows) total += row.size();
    return total;
}

// The rows through `deflater`, restarted for them and told they make `announced` bytes; the
// output is taken after every row when `takeEachRow`.
Compressed deflateRows(RowDeflater& deflater, const std::vector<std::string>& rows, int pixelBytes,
                       bool takeEachRow = false, size_t announced = 0) {
    deflater.restart(pixelBytes, longestOf(rows), announced);
    Compressed result;
    auto take = [&] {
        result.stream.append(reinterpret_cast<const char*>(deflater.output()), deflater.outputSize());
        deflater.takeOutput();
    };
    for (const std::string& row : rows) {
        std::memcpy(deflater.addRow(row.size()), row.data(), row.size());
        result.rows += row;
        if (takeEachRow) take();
    }
    deflater.finish();
    take();
    return result;
}

Compressed deflateRows(const std::vector<std::string>& rows, int pixelBytes, bool takeEachRow = false,
                       size_t announced = 0) {
    RowDeflater deflater(pixelBytes, longestOf(rows));
    return deflateRows(deflater, rows, pixelBytes, takeEachRow, announced);
}

::testing::AssertionResult inflatesBack(const Compressed& c) {
    std::string back;
    if (!inflateWithZlib(c.stream, back)) return ::testing::AssertionFailure() << "zlib refuses the stream";
    if (back != c.rows) return ::testing::AssertionFailure() << "inflates to other bytes";
    return ::testing::AssertionSuccess();
}

std::string randomBytes(std::mt19937& random, size_t n, int alphabet = 256) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(random() % alphabet);
    return s;
}

}  // namespace

TEST(RowDeflater, StreamsOfEveryShapeInflateBack) {
    std::mt19937 random(11);

    // The smallest picture: one row of a filter byte and one pixel.
    EXPECT_TRUE(inflatesBack(deflateRows({std::string("\0\7", 2)}, 1)));

    // Noise defeats every copy: stored blocks, five bytes over the raw size per block of literals.
    std::vector<std::string> noise;
    for (int y = 0; y < 40; ++y) noise.push_back(randomBytes(random, 5001));
    Compressed noisy = deflateRows(noise, 3);
    EXPECT_TRUE(inflatesBack(noisy));
    EXPECT_LE(noisy.stream.size(), noisy.rows.size() + 5 * (noisy.rows.size() / 16384 + 1) + 6);

    // Six megabytes of one colour: runs and the row above, past the window and the pending buffer.
    std::string flat(3001, '\x5a');
    flat[0] = 0;
    Compressed blank = deflateRows(std::vector<std::string>(2000, flat), 3);
    EXPECT_TRUE(inflatesBack(blank));
    EXPECT_LT(blank.stream.size(), blank.rows.size() / 500);

    // Glyphs: a few byte strings scattered along noise-free rows, repeated far apart.
    std::vector<std::string> glyphs;
    for (int g = 0; g < 8; ++g) glyphs.push_back(randomBytes(random, 40));
    std::vector<std::string> text;
    for (int y = 0; y < 200; ++y) {
        std::string row(1, '\0');
        while (row.size() < 1201) row += glyphs[random() % glyphs.size()];
        text.push_back(row.substr(0, 1201));
    }
    Compressed glyphRows = deflateRows(text, 1);
    EXPECT_TRUE(inflatesBack(glyphRows));
    EXPECT_LT(glyphRows.stream.size(), glyphRows.rows.size() / 5);

    // Four-letter noise: many literals and short copies, so many blocks of dynamic codes.
    std::vector<std::string> letters;
    for (int y = 0; y < 400; ++y) letters.push_back(randomBytes(random, 1000, 4));
    Compressed manyBlocks = deflateRows(letters, 4);
    EXPECT_TRUE(inflatesBack(manyBlocks));
    EXPECT_LT(manyBlocks.stream.size(), manyBlocks.rows.size() / 3);

    // A row longer than the pending buffer, then rows of changing lengths (the passes of an
    // interlaced picture), each repeated once.
    std::vector<std::string> shapes;
    std::string wide = randomBytes(random, 300000, 3);
    shapes.push_back(wide);
    shapes.push_back(wide);
    for (size_t length : {5, 5, 9, 2, 2, 17, 300001}) shapes.push_back(randomBytes(random, length, 2));
    Compressed changing = deflateRows(shapes, 2);
    EXPECT_TRUE(inflatesBack(changing));

    // Taking the output piece by piece makes the same stream.
    EXPECT_EQ(deflateRows(text, 1, true).stream, glyphRows.stream);
    EXPECT_EQ(deflateRows(shapes, 2, true).stream, changing.stream);

    // Streams held whole, and streams whose announced size is wrong either way or too large to hold.
    const size_t letterBytes = totalOf(letters);
    for (size_t announced : {letterBytes, letterBytes / 3, letterBytes * 2}) {
        SCOPED_TRACE(announced);
        EXPECT_TRUE(inflatesBack(deflateRows(letters, 4, false, announced)));
        EXPECT_TRUE(inflatesBack(deflateRows(letters, 4, true, announced)));
    }
    EXPECT_TRUE(inflatesBack(deflateRows(std::vector<std::string>(2000, flat), 3, false, blank.rows.size())));
}

TEST(RowDeflater, ReusedEncoderMakesTheStreamsOfFreshOnes) {
    // Streams after others on one encoder must not see their bytes: a long one that moves the
    // window, a wide one that grows the buffer, then short ones that repeat what came before.
    std::mt19937 random(5);
    std::vector<std::string> glyphs;
    for (int g = 0; g < 6; ++g) glyphs.push_back(randomBytes(random, 30, 5));
    auto glyphRows = [&](int count, size_t length) {
        std::vector<std::string> rows;
        for (int y = 0; y < count; ++y) {
            std::string row(1, '\0');
            while (row.size() < length) row += glyphs[random() % glyphs.size()];
            rows.push_back(row.substr(0, length));
        }
        return rows;
    };
    // Frames of an animation share their first rows with the frame before, whose work a stream
    // takes over; what it makes must not depend on that.
    const std::vector<std::string> base = glyphRows(300, 301);
    auto changedFrom = [&](const std::vector<std::string>& from, size_t row, size_t rows, size_t at = 0) {
        std::vector<std::string> frame = from;
        for (size_t y = row; y < row + rows && y < frame.size(); ++y) frame[y] = glyphRows(1, from[y].size())[0];
        if (at) frame[row][at] ^= 1;
        return frame;
    };
    auto changed = [&](size_t row, size_t rows, size_t at = 0) { return changedFrom(base, row, rows, at); };
    const std::vector<std::vector<std::string>> pictures = {
        glyphRows(900, 1201), glyphRows(3, 400000), glyphRows(40, 301), glyphRows(40, 301), glyphRows(1, 2),
        base, base, changed(200, 10), changed(100, 150), changed(290, 1), changed(299, 1, 300), changed(150, 1, 7),
        changed(0, 1, 1), base, glyphRows(299, 301), base};
    RowDeflater reused(3, 1);
    for (size_t k = 0; k < pictures.size(); ++k) {
        SCOPED_TRACE(k);
        Compressed again = deflateRows(reused, pictures[k], 3);
        EXPECT_TRUE(inflatesBack(again));
        EXPECT_EQ(again.stream, deflateRows(pictures[k], 3).stream);
    }
    // Pictures past the pending buffer that announce their size are held whole and taken over too.
    const std::vector<std::string> large = glyphRows(1000, 1201);
    const std::vector<std::vector<std::string>> frames = {
        large, large, changedFrom(large, 900, 3), changedFrom(large, 400, 1, 600), changedFrom(large, 999, 1, 1200),
        changedFrom(large, 0, 1, 1), large};
    for (size_t k = 0; k < frames.size(); ++k) {
        SCOPED_TRACE(k);
        Compressed again = deflateRows(reused, frames[k], 3, false, totalOf(frames[k]));
        EXPECT_TRUE(inflatesBack(again));
        EXPECT_EQ(again.stream, deflateRows(frames[k], 3, false, totalOf(frames[k])).stream);
    }
    // Two whole streams of the largest size held, their symbols and the search tables: well within
    // what the PNG writer lets a thread keep (8 MB).
    EXPECT_LT(reused.footprint(), size_t{6} << 20);
}

TEST(RowDeflater, FuzzSeedsInflateBack) {
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(plotvane_test::testPath("fuzz/corpus/deflate"))) {
        std::string bytes = plotvane_test::readFile(entry.path().string());
        EXPECT_TRUE(plotvane_fuzz::deflateRoundTrip(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
            << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 5);
}

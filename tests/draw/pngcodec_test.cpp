#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "draw/imageio_p.h"
#include "draw/palettebuilder_p.h"
#include "imageoracle.h"

using namespace plotvane;
using plotvane_test::bytesOf;
using plotvane_test::LibpngView;
using plotvane_test::readWithLibpng;
using plotvane_test::samePixels;
using plotvane_test::withRowsInflated;

namespace {

// A picture of exactly `colors` distinct opaque colours, each used at least once.
std::vector<uint32_t> picture(int width, int height, int colors) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t k = static_cast<uint32_t>(i % colors);
        pixels[i] = (k & 0xff) << 16 | ((k >> 8) * 37 + 0x20) << 8 | ((k * 7) & 0xff);
    }
    return pixels;
}

std::string png(const std::vector<uint32_t>& pixels, int width, int height, const RasterSettings& settings = {},
                int level = -1) {
    vek::ostrstream out;
    EXPECT_TRUE(writePNG(out, RasterImage{pixels.data(), width, height}, settings, level));
    return bytesOf(out);
}

}  // namespace

TEST(PngWriter, ChoosesPaletteDepthByColourCount) {
    struct Case {
        int colors, colorType, bitDepth;
    } cases[] = {{2, 3, 1}, {3, 3, 2}, {4, 3, 2}, {5, 3, 4}, {16, 3, 4}, {17, 3, 8}, {256, 3, 8}, {257, 2, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colors);
        const int width = 37, height = 9;  // odd width: packed rows end mid-byte
        auto pixels = picture(width, height, c.colors);
        auto view = readWithLibpng(png(pixels, width, height));
        ASSERT_TRUE(view.ok);
        EXPECT_EQ(view.colorType, c.colorType);
        EXPECT_EQ(view.bitDepth, c.bitDepth);
        EXPECT_EQ(view.paletteSize, c.colorType == 3 ? c.colors : 0);
        EXPECT_EQ(view.transCount, 0);
        EXPECT_TRUE(samePixels(view.pixels, pixels));
    }
}

TEST(PngWriter, TransparentColourAndAlpha) {
    const int width = 5, height = 4;
    std::vector<uint32_t> pixels(width * height, 0xffffff);
    pixels[3] = 0x336699;
    pixels[7] = 0x80112233;  // half transparent

    RasterSettings marked;
    marked.transparentColor = 0xffffff;
    auto view = readWithLibpng(png(pixels, width, height, marked));
    ASSERT_TRUE(view.ok);
    EXPECT_EQ(view.colorType, 3);
    EXPECT_EQ(view.transCount, 1);  // white entered first: index 0
    EXPECT_EQ(view.pixels[0], 0xffffffffu);
    EXPECT_EQ(view.pixels[3], 0x336699u);
    EXPECT_EQ(view.pixels[7], 0x112233u);  // no alpha channel: transparency of pixels is dropped

    RasterSettings trueColor = marked;
    trueColor.paletteMode = 2;
    view = readWithLibpng(png(pixels, width, height, trueColor));
    EXPECT_EQ(view.colorType, 2);
    EXPECT_TRUE(view.transColor);
    EXPECT_EQ(view.pixels[0] >> 24, 0xffu);

    RasterSettings alpha;
    alpha.transparentColor = -1;
    view = readWithLibpng(png(pixels, width, height, alpha));
    EXPECT_EQ(view.colorType, 6);
    EXPECT_TRUE(samePixels(view.pixels, pixels));

    RasterSettings background;
    background.bgHasTransparency = true;
    view = readWithLibpng(png(pixels, width, height, background));
    EXPECT_EQ(view.colorType, 6);

    // A forced palette keeps the palette even when alpha would be wanted.
    alpha.paletteMode = 1;
    view = readWithLibpng(png(pixels, width, height, alpha));
    EXPECT_EQ(view.colorType, 3);
}

TEST(PngWriter, LevelModesInterlaceAndQuantising) {
    const int width = 64, height = 48;
    auto pixels = picture(width, height, 3);
    RasterSettings stored;
    stored.paletteMode = 128;
    std::string level0 = png(pixels, width, height, stored);
    RasterSettings best;
    best.paletteMode = 137;
    std::string level9 = png(pixels, width, height, best);
    EXPECT_GT(level0.size(), size_t(width * height * 3));  // stored blocks: no compression at all
    EXPECT_LT(level9.size(), level0.size() / 10);
    for (const std::string* file : {&level0, &level9}) {
        auto view = readWithLibpng(*file);
        EXPECT_EQ(view.colorType, 2);
        EXPECT_TRUE(samePixels(view.pixels, pixels));
    }

    RasterSettings interlaced;
    interlaced.interlace = true;
    for (int colors : {4, 1000}) {
        auto many = picture(width, height, colors);
        auto view = readWithLibpng(png(many, width, height, interlaced));
        EXPECT_EQ(view.interlace, PNG_INTERLACE_ADAM7);
        EXPECT_TRUE(samePixels(view.pixels, many));
    }

    // A forced palette on a smooth gradient of 4096 colours: quantised, close to the original.
    std::vector<uint32_t> gradient(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) gradient[y * width + x] = (x * 4) << 16 | (y * 5) << 8 | ((x + y) * 2);
    for (int dither : {0, 1, 2}) {
        RasterSettings forced;
        forced.paletteMode = 1;
        forced.ditherMethod = dither;
        auto view = readWithLibpng(png(gradient, width, height, forced));
        ASSERT_EQ(view.colorType, 3);
        EXPECT_LE(view.paletteSize, 256);
        long long error = 0;
        for (size_t i = 0; i < gradient.size(); ++i)
            for (int shift : {0, 8, 16})
                error += std::abs(int((gradient[i] >> shift) & 0xff) - int((view.pixels[i] >> shift) & 0xff));
        EXPECT_LT(double(error) / (3.0 * gradient.size()), dither == 1 ? 16.0 : 8.0) << "dither " << dither;
    }
}

namespace {

// How a picture is handed to libpng when libpng's own transforms make the file rows: 8-bit index
// rows packed by libpng, or ARGB rows reordered, stripped or alpha-inverted by libpng.
struct TransformJob {
    int width, height, colorType, bitDepth, level;
    bool interlace;
    png_color palette[256];
    int paletteCount;
    png_byte alphaOfIndex[256];
    int transCount;
    png_color_16 transColor;
    bool hasTransColor;
    png_bytep* rows;
};

void toString(png_structp png, png_bytep data, size_t n) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}

bool writeWithTransforms(const TransformJob& job, std::string* file) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, file, toString, nullptr);
    png_set_IHDR(png, info, job.width, job.height, job.bitDepth, job.colorType,
                 job.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (job.paletteCount) png_set_PLTE(png, info, job.palette, job.paletteCount);
    if (job.transCount) png_set_tRNS(png, info, job.alphaOfIndex, job.transCount, nullptr);
    if (job.hasTransColor) png_set_tRNS(png, info, nullptr, 0, &job.transColor);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    if (job.level >= 0) png_set_compression_level(png, job.level);
    png_write_info(png, info);
    const uint32_t probe = 1;
    bool little = *reinterpret_cast<const unsigned char*>(&probe) == 1;
    if (job.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);
    } else if (job.colorType == PNG_COLOR_TYPE_RGB_ALPHA) {
        png_set_invert_alpha(png);
        if (little)
            png_set_bgr(png);
        else
            png_set_swap_alpha(png);
    } else {
        if (little) png_set_bgr(png);
        png_set_filler(png, 0, little ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    }
    png_write_image(png, job.rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The file writePNG should make of these pixels, in the form its header names.
std::string withTransforms(const std::vector<uint32_t>& pixels, int width, int height, const RasterSettings& settings,
                           const LibpngView& form) {
    auto job = std::make_unique<TransformJob>();
    *job = TransformJob{};
    job->width = width;
    job->height = height;
    job->colorType = form.colorType;
    job->bitDepth = form.bitDepth;
    job->level = settings.paletteMode >= 128 ? settings.paletteMode - 128 : -1;
    job->interlace = settings.interlace;
    PaletteImage indexed;
    std::vector<png_bytep> rows;
    if (form.colorType == PNG_COLOR_TYPE_PALETTE) {
        makePaletteImage(RasterImage{pixels.data(), width, height}, settings.transparentColor, settings.paletteMode,
                         settings.ditherMethod, indexed);
        job->paletteCount = indexed.colorCount;
        for (int i = 0; i < indexed.colorCount; ++i) {
            uint32_t c = indexed.palette[i];
            job->palette[i] = png_color{png_byte(c >> 16), png_byte(c >> 8), png_byte(c)};
        }
        if (indexed.transparentIndex >= 0) {
            job->transCount = indexed.transparentIndex + 1;
            std::memset(job->alphaOfIndex, 255, sizeof job->alphaOfIndex);
            job->alphaOfIndex[indexed.transparentIndex] = 0;
        }
        for (int y = 0; y < height; ++y) rows.push_back(indexed.indices.data() + size_t(y) * width);
    } else {
        if (form.transColor) {
            uint32_t c = static_cast<uint32_t>(settings.transparentColor);
            job->hasTransColor = true;
            job->transColor = png_color_16{0, png_uint_16((c >> 16) & 0xff), png_uint_16((c >> 8) & 0xff),
                                           png_uint_16(c & 0xff), 0};
        }
        for (int y = 0; y < height; ++y)
            rows.push_back(reinterpret_cast<png_bytep>(const_cast<uint32_t*>(pixels.data() + size_t(y) * width)));
    }
    job->rows = rows.data();
    std::string file;
    EXPECT_TRUE(writeWithTransforms(*job, &file));
    return file;
}

}  // namespace

TEST(PngWriter, OwnRowsEqualLibpngTransforms) {
    // Every colour form and depth, odd widths (packed rows end mid-byte), one-pixel-wide pictures
    // (Adam7 passes without columns), translucent pixels and both kinds of tRNS. Our own deflate
    // makes other bytes than zlib's, so the files are compared with their rows inflated.
    struct Case {
        int colors, colorType, bitDepth;
        int transparent;
        int mode;
    } cases[] = {
        {2, 3, 1, static_cast<int>(0xff000000), 0}, {3, 3, 2, 0x000020, 0},  {5, 3, 4, static_cast<int>(0xff000000), 0},
        {17, 3, 8, 0x123456, 0},                    {300, 2, 8, 0x000020, 0}, {300, 6, 8, -1, 0},
        {5, 2, 8, static_cast<int>(0xff000000), 2}, {40, 2, 8, 0x000020, 129},      {40, 6, 8, -1, 130},
    };
    for (const Case& c : cases) {
        for (int width : {1, 13, 37}) {
            for (bool interlace : {false, true}) {
                SCOPED_TRACE(testing::Message() << c.colors << " colours, mode " << c.mode << ", width " << width
                                                << (interlace ? ", interlaced" : ""));
                const int height = std::max(11, c.colors / width + 1);  // every colour present
                auto pixels = picture(width, height, c.colors);
                if (c.transparent == -1) pixels.back() |= 0x7f000000;
                RasterSettings settings;
                settings.transparentColor = c.transparent;
                settings.paletteMode = c.mode;
                settings.interlace = interlace;
                std::string ours = png(pixels, width, height, settings);
                auto view = readWithLibpng(ours);
                ASSERT_TRUE(view.ok);
                EXPECT_EQ(view.colorType, c.colorType);
                EXPECT_EQ(view.bitDepth, c.bitDepth);
                std::string theirs = withTransforms(pixels, width, height, settings, view);
                if (c.mode >= 128) {
                    EXPECT_TRUE(ours == theirs);  // both through zlib at one level
                }
                std::string oursInflated = withRowsInflated(ours);
                EXPECT_FALSE(oursInflated.empty());
                EXPECT_TRUE(oursInflated == withRowsInflated(theirs));
            }
        }
    }
}

TEST(PngWriter, DefaultCompressionReadsBackInLibpngAndPillow) {
    struct Case {
        const char* name;
        int width, height;
        std::vector<uint32_t> pixels;
        RasterSettings settings;
    };
    std::vector<Case> cases;
    auto add = [&](const char* name, int width, int height, std::vector<uint32_t> pixels, RasterSettings settings = {}) {
        cases.push_back(Case{name, width, height, std::move(pixels), settings});
    };
    add("one pixel", 1, 1, {0x123456});
    add("one column", 1, 300, picture(1, 300, 7));
    add("one row", 300, 1, picture(300, 1, 7));
    add("256 colours", 64, 40, picture(64, 40, 256));
    add("257 colours", 64, 40, picture(64, 40, 257));
    std::vector<uint32_t> noise(200 * 150);
    uint32_t state = 1;
    for (uint32_t& p : noise) p = (state = state * 1664525u + 1013904223u) >> 8;
    add("noise", 200, 150, noise);
    // Long runs of one colour in true colour: 300 colours in the first row, then one.
    std::vector<uint32_t> runs(1500 * 800, 0x2b5f8a);
    for (int x = 0; x < 300; ++x) runs[x] = static_cast<uint32_t>(x * 0x010203) & 0xffffff;
    add("long runs", 1500, 800, runs);
    RasterSettings marked;
    marked.transparentColor = 0x000020;
    add("palette with a transparent colour", 37, 23, picture(37, 23, 12), marked);
    RasterSettings alpha;
    alpha.transparentColor = -1;
    std::vector<uint32_t> translucent = picture(37, 23, 300);
    for (size_t i = 0; i < translucent.size(); i += 3) translucent[i] |= static_cast<uint32_t>(i % 256) << 24;
    add("alpha", 37, 23, translucent, alpha);
    RasterSettings interlaced;
    interlaced.interlace = true;
    add("interlaced palette", 37, 23, picture(37, 23, 5), interlaced);
    add("interlaced one pixel", 1, 1, {0x654321}, interlaced);
    alpha.interlace = true;
    add("interlaced alpha", 37, 23, translucent, alpha);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = png(c.pixels, c.width, c.height, c.settings);
        std::vector<uint32_t> expected = c.pixels;
        for (uint32_t& p : expected)
            if (hasTransparentRGB(c.settings.transparentColor) && (p & 0xffffff) == uint32_t(c.settings.transparentColor))
                p |= 0xff000000u;
        auto view = readWithLibpng(file);
        ASSERT_TRUE(view.ok);
        EXPECT_EQ(view.interlace != 0, c.settings.interlace);
        EXPECT_TRUE(samePixels(view.pixels, expected));
        EXPECT_TRUE(plotvane_test::matchesWithPillow(file, ".png", expected, c.width, c.height));
    }
}

TEST(PngWriter, PicturesAgainOnOneThreadMakeTheBytesOfAFreshThread) {
    // A thread takes over the work of its last picture of the same size: up to 2 MB of rows (here
    // 1.05 MB of true colour, held whole) and pictures that fit the pending rows (palette). The
    // files must be those a thread that never encoded anything makes.
    const int width = 700, height = 500;
    std::vector<uint32_t> trueColour(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            trueColour[static_cast<size_t>(y) * width + x] = ((x / 7) * 0x030201 + (y / 5) * 0x010305) & 0xffffff;
    auto changedRow = [&](std::vector<uint32_t> pixels, int y) {
        for (int x = 0; x < width; x += 3) pixels[static_cast<size_t>(y) * width + x] ^= 0x010101;
        return pixels;
    };
    std::vector<uint32_t> lastPixel = trueColour;
    lastPixel.back() ^= 1;
    const std::vector<std::vector<uint32_t>> sequence = {
        trueColour, trueColour, lastPixel, changedRow(trueColour, height - 1), changedRow(trueColour, height - 1),
        changedRow(trueColour, height / 2), picture(width, height, 40), picture(width, height, 40), trueColour};
    std::vector<std::string> here;
    for (const std::vector<uint32_t>& p : sequence) here.push_back(png(p, width, height));
    for (size_t k = 0; k < sequence.size(); ++k) {
        SCOPED_TRACE(k);
        std::string fresh;
        std::thread([&] { fresh = png(sequence[k], width, height); }).join();
        EXPECT_EQ(here[k], fresh);
        EXPECT_TRUE(samePixels(readWithLibpng(here[k]).pixels, sequence[k]));
    }
    EXPECT_EQ(readWithLibpng(here[0]).colorType, PNG_COLOR_TYPE_RGB);
}

TEST(PngWriter, DefaultCompressionKeepsUpWithZlib) {
    // A true-colour chart: a vertical gradient behind bars and a dark anti-aliased sine line.
    const int width = 400, height = 300;
    std::vector<uint32_t> pixels(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t shade = 0xc0 + y * 0x3f / height;
            uint32_t c = shade << 16 | shade << 8 | 0xff;
            if (x % 50 > 20 && x % 50 < 40 && y > 300 - (x * 7) % 250) c = 0x3366cc;
            int line = 150 + static_cast<int>(std::lround(80 * std::sin(x / 30.0)));
            if (std::abs(y - line) <= 1) c = static_cast<uint32_t>(std::abs(y - line) * 0x404040 + (x & 3) * 0x010101);
            pixels[y * width + x] = c;
        }
    RasterSettings trueColor;
    trueColor.paletteMode = 2;
    std::string ours = png(pixels, width, height, trueColor);
    RasterSettings level6;
    level6.paletteMode = 128 + 6;
    std::string zlib6 = png(pixels, width, height, level6);
    EXPECT_EQ(readWithLibpng(ours).colorType, PNG_COLOR_TYPE_RGB);
    EXPECT_LT(ours.size(), zlib6.size() * 11 / 10);
    EXPECT_TRUE(samePixels(readWithLibpng(ours).pixels, pixels));
}

TEST(PngWriter, EncodePngAndBadInput) {
    std::vector<uint32_t> opaque = {0x112233, 0x445566};
    auto view = readWithLibpng([&] {
        vek::ostrstream out;
        EXPECT_TRUE(encodePNG(out, opaque.data(), 2, 1));
        return bytesOf(out);
    }());
    EXPECT_EQ(view.colorType, 3);
    std::vector<uint32_t> translucent = {0x112233, 0x40445566};
    view = readWithLibpng([&] {
        vek::ostrstream out;
        EXPECT_TRUE(encodePNG(out, translucent.data(), 2, 1));
        return bytesOf(out);
    }());
    EXPECT_EQ(view.colorType, 6);
    EXPECT_TRUE(samePixels(view.pixels, translucent));

    vek::ostrstream out;
    EXPECT_FALSE(encodePNG(out, nullptr, 2, 1));
    EXPECT_FALSE(writePNG(out, RasterImage{opaque.data(), 0, 1}, RasterSettings()));
    EXPECT_FALSE(writePNG(out, RasterImage{opaque.data(), 2, -1}, RasterSettings()));
    EXPECT_EQ(out.tell(), 0);
}

namespace {

// A PNG written by libpng's own simplified interface.
std::string libpngFile(const std::vector<unsigned char>& samples, int width, int height, png_uint_32 format) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, samples.data(), 0, nullptr));
    std::string file(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, &file[0], &size, 0, samples.data(), 0, nullptr));
    file.resize(size);
    return file;
}

bool decode(const std::string& file, std::vector<uint32_t>& pixels, int& width, int& height, int type = kImagePNG) {
    return decodeImage(reinterpret_cast<const unsigned char*>(file.data()), static_cast<int>(file.size()), type, pixels,
                       width, height);
}

}  // namespace

TEST(PngReader, ExpandsEveryFormToARGB) {
    std::vector<unsigned char> grey = {0, 128, 255, 7};
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(decode(libpngFile(grey, 2, 2, PNG_FORMAT_GRAY), pixels, width, height));
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x000000, 0x808080, 0xffffff, 0x070707}));

    std::vector<unsigned char> greyAlpha = {10, 255, 20, 0};
    ASSERT_TRUE(decode(libpngFile(greyAlpha, 2, 1, PNG_FORMAT_GA), pixels, width, height));
    EXPECT_EQ(pixels[0], 0x000a0a0au);
    EXPECT_EQ(pixels[1] >> 24, 0xffu);

    // 16-bit linear samples are stripped to 8 bits.
    std::vector<uint16_t> wide = {0xffff, 0, 0, 0xffff};
    std::vector<unsigned char> wideBytes(reinterpret_cast<unsigned char*>(wide.data()),
                                         reinterpret_cast<unsigned char*>(wide.data() + wide.size()));
    ASSERT_TRUE(decode(libpngFile(wideBytes, 1, 1, PNG_FORMAT_LINEAR_RGB_ALPHA), pixels, width, height));
    EXPECT_EQ(pixels[0], 0x00ff0000u);

    // Palette with tRNS and Adam7, as our own writer makes them, read back exactly.
    std::vector<uint32_t> source = picture(23, 17, 5);
    source[0] = 0xffffff;
    RasterSettings settings;
    settings.transparentColor = 0xffffff;
    settings.interlace = true;
    ASSERT_TRUE(decode(png(source, 23, 17, settings), pixels, width, height));
    source[0] = 0xffffffff;
    EXPECT_TRUE(samePixels(pixels, source));
}

TEST(PngReader, RejectsDamageAndLeavesOutputsAlone) {
    auto source = picture(40, 30, 300);
    std::string file = png(source, 40, 30);
    std::vector<uint32_t> pixels = {42};
    int width = -7, height = -8;
    auto untouched = [&] { return pixels == std::vector<uint32_t>{42} && width == -7 && height == -8; };

    for (size_t cut : {size_t(0), size_t(8), size_t(30), file.size() / 2, file.size() - 13})
        EXPECT_FALSE(decode(file.substr(0, cut), pixels, width, height)) << cut;
    std::string corrupt = file;
    corrupt[40] ^= 0x55;  // inside the first IDAT: CRC mismatch
    EXPECT_FALSE(decode(corrupt, pixels, width, height));
    EXPECT_TRUE(untouched());

    // A header that claims 100000 x 100000 pixels (valid CRC) over a few bytes of data.
    std::string liar = png(std::vector<uint32_t>{1}, 1, 1);
    const unsigned char huge[8] = {0, 1, 0x86, 0xa0, 0, 1, 0x86, 0xa0};
    liar.replace(16, 8, reinterpret_cast<const char*>(huge), 8);
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const unsigned char*>(liar.data()) + 12, 17));
    for (int i = 0; i < 4; ++i) liar[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    int w = 0, h = 0;
    getImageSize(reinterpret_cast<const unsigned char*>(liar.data()), static_cast<int>(liar.size()), w, h);
    EXPECT_EQ(w, 100000);
    EXPECT_FALSE(decode(liar, pixels, width, height));
    EXPECT_FALSE(decode(file, pixels, width, height, kImageBMP));
    EXPECT_FALSE(decode(file, pixels, width, height, 3));
    EXPECT_TRUE(untouched());

    ASSERT_TRUE(decode(file, pixels, width, height));
    EXPECT_TRUE(samePixels(pixels, source));
}

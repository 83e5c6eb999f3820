#ifndef PLOTVANE_TESTS_DRAW_IMAGEORACLE_H
#define PLOTVANE_TESTS_DRAW_IMAGEORACLE_H

// Decoders that this project did not write, used to check what the writers produce: libpng and
// libjpeg called directly, and Pillow (plus netpbm for WBMP) through tests/draw/pil_compare.py.

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

#include <plotvane/ostrstream.h>

#include "support/golden.h"

namespace plotvane_test {

// Equal pixel vectors, or a message naming the first pixel that differs.
inline ::testing::AssertionResult samePixels(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " pixels, expected " << expected.size();
    for (size_t i = 0; i < actual.size(); ++i)
        if (actual[i] != expected[i])
            return ::testing::AssertionFailure() << "pixel " << i << " is " << std::hex << actual[i] << ", expected "
                                                 << expected[i];
    return ::testing::AssertionSuccess();
}

inline std::string bytesOf(const vek::ostrstream& out) { return std::string(out.data(), static_cast<size_t>(out.tell())); }

// A PNG as libpng reports it, with its pixels expanded to ARGB (transparency in the top byte).
struct LibpngView {
    bool ok = false;
    int width = 0, height = 0, colorType = -1, bitDepth = 0, interlace = 0, paletteSize = 0, transCount = 0;
    bool transColor = false;
    std::vector<uint32_t> pixels;
};

inline LibpngView readWithLibpng(const std::string& file) {
    LibpngView view;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    // The header facts come from the low-level interface, the pixels from the simplified one.
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    struct Source {
        const std::string* bytes;
        size_t position;
    } source{&file, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return view;
    }
    png_set_read_fn(png, &source, [](png_structp p, png_bytep out, size_t n) {
        auto* s = static_cast<Source*>(png_get_io_ptr(p));
        if (n > s->bytes->size() - s->position) png_error(p, "eof");
        std::memcpy(out, s->bytes->data() + s->position, n);
        s->position += n;
    });
    png_read_info(png, info);
    view.width = static_cast<int>(png_get_image_width(png, info));
    view.height = static_cast<int>(png_get_image_height(png, info));
    view.colorType = png_get_color_type(png, info);
    view.bitDepth = png_get_bit_depth(png, info);
    view.interlace = png_get_interlace_type(png, info);
    png_colorp palette = nullptr;
    png_get_PLTE(png, info, &palette, &view.paletteSize);
    png_bytep trans = nullptr;
    png_color_16p transValues = nullptr;
    if (png_get_tRNS(png, info, &trans, &view.transCount, &transValues)) view.transColor = view.colorType != 3;
    png_destroy_read_struct(&png, &info, nullptr);

    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return view;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return view;
    view.pixels.resize(rgba.size() / 4);
    for (size_t i = 0; i < view.pixels.size(); ++i)
        view.pixels[i] = (uint32_t(255 - rgba[4 * i + 3]) << 24) | (uint32_t(rgba[4 * i]) << 16) |
                         (uint32_t(rgba[4 * i + 1]) << 8) | rgba[4 * i + 2];
    view.ok = true;
    return view;
}

// A zlib stream inflated by zlib; false unless it is complete, checksum included, and nothing follows.
inline bool inflateWithZlib(const std::string& stream, std::string& bytes) {
    bytes.clear();
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    int status = Z_OK;
    char piece[65536];
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(piece);
        z.avail_out = sizeof piece;
        status = inflate(&z, Z_NO_FLUSH);
        bytes.append(piece, sizeof piece - z.avail_out);
        if (status == Z_BUF_ERROR && z.avail_in > 0) status = Z_OK;
    }
    bool complete = status == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return complete;
}

// A PNG with its IDAT chunks replaced by the bytes they inflate to, after the other chunks: two
// files equal in this form hold the same chunks and rows, however the rows were compressed.
// Empty when the image data does not inflate.
inline std::string withRowsInflated(const std::string& file) {
    auto number = [&](size_t at) {
        const auto* b = reinterpret_cast<const unsigned char*>(file.data()) + at;
        return size_t(b[0]) << 24 | size_t(b[1]) << 16 | size_t(b[2]) << 8 | b[3];
    };
    std::string chunks = file.substr(0, 8), data;
    for (size_t at = 8; at + 12 <= file.size();) {
        size_t length = number(at);
        if (file.compare(at + 4, 4, "IDAT") == 0) data += file.substr(at + 8, length);
        else chunks += file.substr(at, 12 + length);
        at += 12 + length;
    }
    std::string rows;
    if (!inflateWithZlib(data, rows)) return std::string();
    return chunks + rows;
}

// A JPEG decoded by libjpeg into 0x00RRGGBB pixels; empty when libjpeg fails.
inline std::vector<uint32_t> readWithLibjpeg(const std::string& file, int& width, int& height, bool& progressive) {
    std::vector<uint32_t> pixels;
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()), file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    progressive = info.progressive_mode;
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < width; ++x)
            pixels.push_back((uint32_t(row[3 * x]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x + 2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}

// Runs Pillow on the file and compares with the expected ARGB pixels (exactly, as files carry
// opacity = 255 - transparency). facts receives Pillow's description line.
inline ::testing::AssertionResult matchesWithPillow(const std::string& file, const std::string& extension,
                                                   const std::vector<uint32_t>& expected, int width, int height,
                                                   std::string* facts = nullptr) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string base = ::testing::TempDir() + "plotvane_" + test->test_suite_name() + "_" + test->name() + "_" +
                       std::to_string(getpid());
    std::string imagePath = base + extension;
    std::string expectedPath = base + ".rgba";
    writeFile(imagePath, file);
    std::string rgba;
    for (uint32_t c : expected) {
        rgba += static_cast<char>((c >> 16) & 0xff);
        rgba += static_cast<char>((c >> 8) & 0xff);
        rgba += static_cast<char>(c & 0xff);
        rgba += static_cast<char>(255 - (c >> 24));
    }
    writeFile(expectedPath, rgba);
    std::string command = "/usr/bin/python3 " + testPath("draw/pil_compare.py") + " " + imagePath + " " +
                          expectedPath + " " + std::to_string(width) + " " + std::to_string(height) + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return ::testing::AssertionFailure() << "cannot run " << command;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = pclose(pipe);
    std::remove(imagePath.c_str());
    std::remove(expectedPath.c_str());
    if (facts) *facts = output.substr(0, output.find('\n'));
    if (status != 0) return ::testing::AssertionFailure() << output;
    return ::testing::AssertionSuccess();
}

}  // namespace plotvane_test

#endif

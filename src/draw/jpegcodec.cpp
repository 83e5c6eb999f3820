// JPEG through libjpeg. The encoder takes RGB rows converted one at a time from the ARGB canvas
// (JPEG has no transparency) and writes through an 8192-byte buffer into the output stream. The
// decoder reads from memory and always produces RGB, which becomes opaque ARGB.
//
// libjpeg's default error handler prints and calls exit(); ours jumps back to the call instead, so
// a broken file or a failing stream only makes the call return false. The libjpeg calls live in
// functions whose frames hold no C++ objects, as longjmp would skip their destructors. A truncated
// file is only a warning to libjpeg (it pads with grey); here it is damage. Progressive files may
// hold any number of scans, each costing a pass over the picture, so a scan limit keeps hostile
// files from spending minutes.
//
// libjpeg is opened when a JPEG is first written or read (foundation/ondemand_p.h); without it
// both fail.
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <vector>

#include "draw/imagedecode_p.h"
#include "draw/imageio_p.h"
#include "foundation/lasterror_p.h"
#include "foundation/ondemand_p.h"

namespace plotvane {

namespace {

constexpr int kBufferSize = 8192;
constexpr int kMaxScans = 500;
// Each 8 x 8 block costs at least one bit in the first (DC) scan of a Huffman-coded file, so a
// file of n bytes holds at most 512 n pixels. Arithmetic coding can go below a bit per block; a
// looser bound still keeps a few bytes from claiming a giant picture.
constexpr long long kMaxHuffmanPixelsPerByte = 64 * 8;
constexpr long long kMaxArithmeticPixelsPerByte = 4096;

// The library's functions this file calls.
#define PLOTVANE_JPEG_FUNCTIONS(F) \
    F(jpeg_std_error) \
    F(jpeg_CreateCompress) \
    F(jpeg_set_defaults) \
    F(jpeg_set_quality) \
    F(jpeg_simple_progression) \
    F(jpeg_start_compress) \
    F(jpeg_write_scanlines) \
    F(jpeg_finish_compress) \
    F(jpeg_destroy_compress) \
    F(jpeg_CreateDecompress) \
    F(jpeg_mem_src) \
    F(jpeg_read_header) \
    F(jpeg_start_decompress) \
    F(jpeg_read_scanlines) \
    F(jpeg_finish_decompress) \
    F(jpeg_destroy_decompress)
struct Libjpeg {
    PLOTVANE_JPEG_FUNCTIONS(PLOTVANE_ONDEMAND_MEMBER)
};

// Null, with the reason recorded, where the library cannot be opened.
const Libjpeg* libjpeg() {
    static const std::unique_ptr<Libjpeg> functions = [] {
        OnDemandLibrary library(PLOTVANE_JPEG_LIBRARY);
        auto table = std::make_unique<Libjpeg>();
        PLOTVANE_JPEG_FUNCTIONS(PLOTVANE_ONDEMAND_TAKE)
        if (!library.complete()) table.reset();
        return table;
    }();
    if (!functions) setLastError("JPEG: cannot open %s", PLOTVANE_JPEG_LIBRARY);
    return functions.get();
}

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1); }

void onMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) jumpOnError(info);
}

void silenceOutput(j_common_ptr) {}

void installErrorJump(const Libjpeg& jpeg, ErrorJump& error) {
    jpeg.jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOnError;
    error.manager.emit_message = onMessage;
    error.manager.output_message = silenceOutput;
}

struct StreamDestination {
    jpeg_destination_mgr manager;
    vek::ostream* out;
    JOCTET buffer[kBufferSize];
};

void initDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<StreamDestination*>(info->dest);
    dest->manager.next_output_byte = dest->buffer;
    dest->manager.free_in_buffer = kBufferSize;
}

boolean emptyBuffer(j_compress_ptr info) {
    auto* dest = reinterpret_cast<StreamDestination*>(info->dest);
    dest->out->write(reinterpret_cast<const char*>(dest->buffer), kBufferSize);
    dest->manager.next_output_byte = dest->buffer;
    dest->manager.free_in_buffer = kBufferSize;
    return TRUE;
}

void termDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<StreamDestination*>(info->dest);
    int used = kBufferSize - static_cast<int>(dest->manager.free_in_buffer);
    dest->out->write(reinterpret_cast<const char*>(dest->buffer), used);
}

// rowBuffer holds 3 * width bytes.
bool runJpegWriter(const Libjpeg& jpeg, vek::ostream& out, const RasterImage& image, int quality, bool progressive,
                   JSAMPLE* rowBuffer, StreamDestination* destination) {
    jpeg_compress_struct info{};
    ErrorJump error{};
    installErrorJump(jpeg, error);
    info.err = &error.manager;
    if (setjmp(error.jump)) {
        jpeg.jpeg_destroy_compress(&info);
        return false;
    }
    jpeg.jpeg_CreateCompress(&info, JPEG_LIB_VERSION, sizeof info);
    destination->out = &out;
    destination->manager.init_destination = initDestination;
    destination->manager.empty_output_buffer = emptyBuffer;
    destination->manager.term_destination = termDestination;
    info.dest = &destination->manager;
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg.jpeg_set_defaults(&info);
    if (quality >= 0) jpeg.jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg.jpeg_simple_progression(&info);
    jpeg.jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const uint32_t* row = image.pixels + static_cast<size_t>(info.next_scanline) * image.width;
        for (int x = 0; x < image.width; ++x) {
            rowBuffer[3 * x] = static_cast<JSAMPLE>(row[x] >> 16);
            rowBuffer[3 * x + 1] = static_cast<JSAMPLE>(row[x] >> 8);
            rowBuffer[3 * x + 2] = static_cast<JSAMPLE>(row[x]);
        }
        JSAMPROW rows[1] = {rowBuffer};
        jpeg.jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg.jpeg_finish_compress(&info);
    jpeg.jpeg_destroy_compress(&info);
    return true;
}

void limitScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        jumpOnError(info);
}

// Decodes in two calls sharing one libjpeg object: the header (so the caller can allocate), then
// the pixels. The object is destroyed by finish() whatever happened.
class JpegReader {
public:
    JpegReader(const Libjpeg& jpeg, const unsigned char* data, int length)
        : jpeg_(jpeg), data_(data), length_(length) {
        installErrorJump(jpeg_, error_);
        info_.err = &error_.manager;
        progress_.progress_monitor = limitScans;
    }
    ~JpegReader() {
        if (created_) jpeg_.jpeg_destroy_decompress(&info_);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    bool readHeader(int& width, int& height) {
        if (setjmp(error_.jump)) return false;
        jpeg_.jpeg_CreateDecompress(&info_, JPEG_LIB_VERSION, sizeof info_);
        created_ = true;
        info_.progress = &progress_;
        jpeg_.jpeg_mem_src(&info_, data_, static_cast<unsigned long>(length_));
        if (jpeg_.jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK) return false;
        long long maxPerByte = info_.arith_code ? kMaxArithmeticPixelsPerByte : kMaxHuffmanPixelsPerByte;
        if (!acceptableSize(info_.image_width, info_.image_height, length_, maxPerByte)) return false;
        // libjpeg gives CMYK (and YCCK converted to it) only as CMYK; the conversion to RGB is ours.
        cmyk_ = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        info_.out_color_space = cmyk_ ? JCS_CMYK : JCS_RGB;
        jpeg_.jpeg_start_decompress(&info_);
        if (info_.output_components != (cmyk_ ? 4 : 3)) return false;
        width = static_cast<int>(info_.output_width);
        height = static_cast<int>(info_.output_height);
        return true;
    }

    // rowBuffer holds 4 * width bytes.
    bool readPixels(uint32_t* pixels, JSAMPLE* rowBuffer) {
        if (setjmp(error_.jump)) return false;
        // Adobe's files store CMYK inverted (0 is full ink); others store it plainly.
        const unsigned flip = cmyk_ && !info_.saw_Adobe_marker ? 255 : 0;
        while (info_.output_scanline < info_.output_height) {
            uint32_t* out = pixels + static_cast<size_t>(info_.output_scanline) * info_.output_width;
            JSAMPROW rows[1] = {rowBuffer};
            if (jpeg_.jpeg_read_scanlines(&info_, rows, 1) != 1) return false;
            for (JDIMENSION x = 0; x < info_.output_width; ++x) {
                if (!cmyk_) {
                    out[x] = (uint32_t(rowBuffer[3 * x]) << 16) | (uint32_t(rowBuffer[3 * x + 1]) << 8) |
                             rowBuffer[3 * x + 2];
                    continue;
                }
                const JSAMPLE* p = rowBuffer + 4 * x;
                const unsigned k = p[3] ^ flip;
                auto channel = [k, flip](JSAMPLE ink) { return ((ink ^ flip) * k + 127) / 255; };
                out[x] = (channel(p[0]) << 16) | (channel(p[1]) << 8) | channel(p[2]);
            }
        }
        jpeg_.jpeg_finish_decompress(&info_);
        return true;
    }

private:
    const Libjpeg& jpeg_;
    const unsigned char* data_;
    int length_;
    jpeg_decompress_struct info_{};
    ErrorJump error_{};
    jpeg_progress_mgr progress_{};
    bool created_ = false;
    bool cmyk_ = false;
};

}  // namespace

bool writeJPG(vek::ostream& out, const RasterImage& image, const RasterSettings& settings, int quality) {
    if (!image.pixels || image.width < 1 || image.height < 1 || image.width > 65500 || image.height > 65500)
        return false;
    const Libjpeg* jpeg = libjpeg();
    if (!jpeg) return false;
    std::vector<JSAMPLE> row(static_cast<size_t>(image.width) * 3);
    std::vector<StreamDestination> destination(1);
    return runJpegWriter(*jpeg, out, image, quality, settings.interlace, row.data(), destination.data());
}

bool decodeJPG(const unsigned char* data, int length, DecodedImage& result) {
    const Libjpeg* jpeg = libjpeg();
    if (!jpeg) return false;
    JpegReader reader(*jpeg, data, length);
    int width = 0;
    int height = 0;
    if (!reader.readHeader(width, height)) return false;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 4);
    if (!reader.readPixels(pixels.data(), row.data())) return false;
    result.pixels.swap(pixels);
    result.width = width;
    result.height = height;
    return true;
}

}  // namespace plotvane

// PNG through libpng. Writing picks the smallest faithful form: a palette (packed to 1, 2, 4 or 8
// bits) when the picture has at most 256 colours and needs no alpha, else 8-bit RGB, or RGBA when
// alpha is wanted. Rows are made in their file form: 8-bit index rows straight from the index
// image, others converted first (packing the indices, or taking R, G, B and opacity out of the
// ARGB words). libpng's own transforms would do the same work a byte at a time behind per-pixel
// branches, at twice the cost. Filtering is off: chart pictures are long runs of flat colour,
// which deflate handles on its own, and the filter search would cost more than it saves. Index
// rows are not checked against the palette size: the palette builder never hands out an index
// past its colours.
//
// At the default compression the rows go to the library's own deflate encoder (deflate.cpp),
// which is several times faster than zlib on chart pictures for about the same size, and its
// stream is written as IDAT chunks through libpng; interlaced pictures are split into their seven
// passes here. An explicit compression level leaves the rows and their compression to libpng.
//
// libpng reports errors by longjmp. Every libpng call therefore sits in a small function that
// owns the jump buffer and keeps no C++ objects with destructors in its frame; memory is prepared
// by the callers. Reading expands every form to 8-bit RGBA and turns opacity into transparency.
#include <png.h>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <vector>

#include "draw/deflate_p.h"
#include "draw/imagedecode_p.h"
#include "draw/imageio_p.h"
#include "draw/palettebuilder_p.h"

namespace plotvane {

namespace {

// deflate emits at most 258 bytes for two bits, so a PNG inflates to at most ~1032 times its size.
constexpr long long kMaxInflateRatio = 1040;
// Compressed bytes gathered before they are written as one IDAT chunk.
constexpr size_t kChunkBytes = 256 * 1024;

bool littleEndianHost() {
    const uint32_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// A row of the picture in file form; `row` has room for width * 4 + 1 bytes.
using RowConverter = void (*)(const void* source, png_bytep row, int width);

// The word whose bytes in memory are those of v from the most significant down.
uint32_t fileOrder(uint32_t v) { return littleEndianHost() ? __builtin_bswap32(v) : v; }

// R, G, B from ARGB words; each store writes one byte too many, which the next pixel overwrites.
void rgbRow(const void* source, png_bytep row, int width) {
    const uint32_t* argb = static_cast<const uint32_t*>(source);
    for (int x = 0; x < width; ++x) {
        uint32_t word = fileOrder(argb[x] << 8);
        std::memcpy(row + 3 * x, &word, 4);
    }
}

// R, G, B and opacity (255 - transparency) from ARGB words.
void rgbaRow(const void* source, png_bytep row, int width) {
    const uint32_t* argb = static_cast<const uint32_t*>(source);
    for (int x = 0; x < width; ++x) {
        uint32_t word = fileOrder(argb[x] << 8 | (~argb[x] >> 24));
        std::memcpy(row + 4 * x, &word, 4);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same with one byte shuffle per four pixels, where the processor has it: the plain loops take
// a tenth of a true-colour picture's encoding. Each store of rgbRowShuffled writes four bytes
// past its twelve, which the next store or the row's slack takes.
__attribute__((target("ssse3"))) void rgbRowShuffled(const void* source, png_bytep row, int width) {
    const auto* argb = static_cast<const uint32_t*>(source);
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(argb + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 3 * x), _mm_shuffle_epi8(pixels, order));
    }
    rgbRow(argb + x, row + 3 * x, width - x);
}

__attribute__((target("ssse3"))) void rgbaRowShuffled(const void* source, png_bytep row, int width) {
    const auto* argb = static_cast<const uint32_t*>(source);
    const __m128i order = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
    const __m128i opacity = _mm_set1_epi32(static_cast<int>(0xff000000u));
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(argb + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 4 * x),
                         _mm_xor_si128(_mm_shuffle_epi8(pixels, order), opacity));
    }
    rgbaRow(argb + x, row + 4 * x, width - x);
}

RowConverter rgbConverter() {
    static const RowConverter pick = __builtin_cpu_supports("ssse3") ? rgbRowShuffled : rgbRow;
    return pick;
}
RowConverter rgbaConverter() {
    static const RowConverter pick = __builtin_cpu_supports("ssse3") ? rgbaRowShuffled : rgbaRow;
    return pick;
}
#else
RowConverter rgbConverter() { return rgbRow; }
RowConverter rgbaConverter() { return rgbaRow; }
#endif

// Indices below 2^bits, leftmost pixel in the high bits, the last byte padded with zero bits.
template <int bits>
void packRow(const void* source, png_bytep row, int width) {
    constexpr int perByte = 8 / bits;
    const uint8_t* index = static_cast<const uint8_t*>(source);
    int whole = width / perByte;
    for (int i = 0; i < whole; ++i, index += perByte) {
        unsigned byte = 0;
        for (int k = 0; k < perByte; ++k) byte = byte << bits | index[k];
        row[i] = static_cast<png_byte>(byte);
    }
    int rest = width - whole * perByte;
    if (rest > 0) {
        unsigned byte = 0;
        for (int k = 0; k < rest; ++k) byte = byte << bits | index[k];
        row[whole] = static_cast<png_byte>(byte << (bits * (perByte - rest)));
    }
}

void writeToStream(png_structp png, png_bytep bytes, size_t n) {
    static_cast<vek::ostream*>(png_get_io_ptr(png))->write(reinterpret_cast<const char*>(bytes), static_cast<int>(n));
}
void flushStream(png_structp) {}

// Everything libpng needs for one file, prepared before the jump buffer is armed.
struct PngJob {
    vek::ostream* out = nullptr;
    int width = 0;
    int height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlace = false;
    int level = -1;
    png_color palette[256] = {};
    int paletteCount = 0;
    png_byte alphaOfIndex[256] = {};
    int transCount = 0;
    png_color_16 transColor = {};
    bool hasTransColor = false;
    const unsigned char* source = nullptr;  // row 0 of the picture
    size_t sourceStride = 0;                // bytes from one source row to the next
    int sourcePixelBytes = 1;               // 1 for indices, 4 for ARGB words
    RowConverter convertRow = nullptr;      // none: source rows are file rows
    png_bytep rowBuffer = nullptr;
    RowDeflater* deflater = nullptr;        // none: libpng compresses at `level`
    uint32_t* passRow = nullptr;            // the pixels of one row of an Adam7 pass
};

int bitsPerPixel(const PngJob& job) {
    int channels = job.colorType == PNG_COLOR_TYPE_RGB ? 3 : job.colorType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 1;
    return channels * job.bitDepth;
}

void writeChunk(png_structp png, const char* name, const png_byte* data, size_t length) {
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(name), data, length);
}

void writeDeflated(png_structp png, RowDeflater& deflater) {
    writeChunk(png, "IDAT", deflater.output(), deflater.outputSize());
    deflater.takeOutput();
}

// The image data through our own deflate encoder, then the end of the file.
void writeOwnImageData(png_structp png, const PngJob& job) {
    RowDeflater& deflater = *job.deflater;
    const int passes = job.interlace ? 7 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int columns = job.interlace ? PNG_PASS_COLS(job.width, pass) : job.width;
        const int rows = job.interlace ? PNG_PASS_ROWS(job.height, pass) : job.height;
        if (columns == 0 || rows == 0) continue;  // a pass without pixels has no rows at all
        const size_t rowBytes = (static_cast<size_t>(columns) * bitsPerPixel(job) + 7) / 8;
        for (int r = 0; r < rows; ++r) {
            const int y = job.interlace ? static_cast<int>(PNG_ROW_FROM_PASS_ROW(r, pass)) : r;
            const unsigned char* source = job.source + y * job.sourceStride;
            const int step = job.interlace ? PNG_PASS_COL_OFFSET(pass) : 1;
            if (step > 1) {
                const unsigned char* from = source + PNG_PASS_START_COL(pass) * job.sourcePixelBytes;
                auto* into = reinterpret_cast<unsigned char*>(job.passRow);
                for (int k = 0; k < columns; ++k, from += step * job.sourcePixelBytes, into += job.sourcePixelBytes)
                    std::memcpy(into, from, static_cast<size_t>(job.sourcePixelBytes));
                source = reinterpret_cast<const unsigned char*>(job.passRow);
            }
            png_bytep row = deflater.addRow(rowBytes + 1);
            row[0] = PNG_FILTER_VALUE_NONE;
            if (job.convertRow) job.convertRow(source, row + 1, columns);
            else std::memcpy(row + 1, source, rowBytes);
            if (deflater.outputSize() >= kChunkBytes) writeDeflated(png, deflater);
        }
    }
    deflater.finish();
    writeDeflated(png, deflater);
    writeChunk(png, "IEND", nullptr, 0);
}

bool runPngWriter(const PngJob& job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, job.out, writeToStream, flushStream);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.width), static_cast<png_uint_32>(job.height), job.bitDepth,
                 job.colorType, job.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (job.paletteCount > 0) png_set_PLTE(png, info, job.palette, job.paletteCount);
    if (job.transCount > 0) png_set_tRNS(png, info, job.alphaOfIndex, job.transCount, nullptr);
    if (job.hasTransColor) png_set_tRNS(png, info, nullptr, 0, &job.transColor);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    if (job.level >= 0) png_set_compression_level(png, job.level);
#ifdef PNG_CHECK_FOR_INVALID_INDEX_SUPPORTED
    if (job.paletteCount > 0) png_set_check_for_invalid_index(png, 0);
#endif
    png_write_info(png, info);
    if (job.deflater) {
        writeOwnImageData(png, job);
        png_destroy_write_struct(&png, &info);
        return true;
    }
    // Adam7 takes every row once per pass; rows a pass skips need no converting.
    int passes = job.interlace ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < job.height; ++y) {
            const unsigned char* source = job.source + y * job.sourceStride;
            png_bytep row = const_cast<png_bytep>(source);
            if (job.convertRow) {
                if (passes == 1 || PNG_ROW_IN_INTERLACE_PASS(y, pass)) job.convertRow(source, job.rowBuffer, job.width);
                row = job.rowBuffer;
            }
            png_write_row(png, row);
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool validImage(const RasterImage& image) {
    return image.pixels && image.width > 0 && image.height > 0 &&
           static_cast<long long>(image.width) * image.height <= kMaxImagePixels;
}

void reserveOutput(vek::ostream& out, const RasterImage& image) {
    if (auto* memory = dynamic_cast<vek::ostrstream*>(&out)) {
        long long size = static_cast<long long>(image.width) * image.height * 4 + 50000;
        if (size <= 0x7fffffff) memory->ensureSize(static_cast<int>(size));
    }
}

// What the encoder keeps on each thread between pictures: a program that makes chart after chart
// would otherwise pay more for fresh pages than for the encoding itself. Work areas that a large
// picture grew past kKeptBytes are let go once it is written.
struct PngWorkspace {
    std::unique_ptr<RowDeflater> deflater;
    PaletteImage indexed;
    std::vector<uint32_t> passRow;

    RowDeflater& deflaterFor(int pixelBytes, size_t longestRow, size_t streamBytes) {
        if (deflater) deflater->restart(pixelBytes, longestRow, streamBytes);
        else deflater = std::make_unique<RowDeflater>(pixelBytes, longestRow, streamBytes);
        return *deflater;
    }
    void trim() {
        constexpr size_t kKeptBytes = size_t{8} << 20;
        if (deflater && deflater->footprint() > kKeptBytes) deflater.reset();
        if (indexed.indices.capacity() > kKeptBytes) decltype(indexed.indices)().swap(indexed.indices);
    }
};

PngWorkspace& workspace() {
    thread_local PngWorkspace kept;
    return kept;
}

bool runPngWriterFrom(PngJob& job, const void* source, size_t sourceStride, int sourcePixelBytes,
                      RowConverter convertRow) {
    job.source = static_cast<const unsigned char*>(source);
    job.sourceStride = sourceStride;
    job.sourcePixelBytes = sourcePixelBytes;
    job.convertRow = convertRow;
    std::vector<png_byte> rowBuffer;
    if (job.level >= 0) {
        rowBuffer.resize(convertRow ? static_cast<size_t>(job.width) * 4 + 1 : 0);
        job.rowBuffer = rowBuffer.data();
    } else {
        PngWorkspace& kept = workspace();
        size_t rowBytes = (static_cast<size_t>(job.width) * bitsPerPixel(job) + 7) / 8;
        // Interlaced rows change length pass by pass, which no later picture can take over.
        const size_t streamBytes = job.interlace ? 0 : (rowBytes + 1) * static_cast<size_t>(job.height);
        job.deflater = &kept.deflaterFor(std::max(1, bitsPerPixel(job) / 8), rowBytes + 1, streamBytes);
        if (job.interlace) kept.passRow.resize((static_cast<size_t>(job.width) + 1) / 2);
        job.passRow = kept.passRow.data();
    }
    return runPngWriter(job);
}

bool writePalettePNG(vek::ostream& out, const RasterImage& image, const RasterSettings& settings, int level,
                     const PaletteImage& indexed) {
    auto job = std::make_unique<PngJob>();
    job->out = &out;
    job->width = image.width;
    job->height = image.height;
    job->interlace = settings.interlace;
    job->level = level;
    job->colorType = PNG_COLOR_TYPE_PALETTE;
    int n = indexed.colorCount;
    job->bitDepth = n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
    job->paletteCount = n;
    for (int i = 0; i < n; ++i) {
        uint32_t c = indexed.palette[i];
        job->palette[i] = png_color{png_byte(c >> 16), png_byte(c >> 8), png_byte(c)};
    }
    if (indexed.transparentIndex >= 0) {
        job->transCount = indexed.transparentIndex + 1;
        std::memset(job->alphaOfIndex, 255, sizeof job->alphaOfIndex);
        job->alphaOfIndex[indexed.transparentIndex] = 0;
    }
    RowConverter pack = job->bitDepth == 1 ? packRow<1> : job->bitDepth == 2 ? packRow<2> : packRow<4>;
    return runPngWriterFrom(*job, indexed.indices.data(), static_cast<size_t>(image.width), 1,
                            job->bitDepth < 8 ? pack : nullptr);
}

bool writeTrueColorPNG(vek::ostream& out, const RasterImage& image, const RasterSettings& settings, int level,
                       bool alpha) {
    auto job = std::make_unique<PngJob>();
    job->out = &out;
    job->width = image.width;
    job->height = image.height;
    job->interlace = settings.interlace;
    job->level = level;
    job->colorType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    if (!alpha && hasTransparentRGB(settings.transparentColor)) {
        uint32_t c = static_cast<uint32_t>(settings.transparentColor);
        job->hasTransColor = true;
        job->transColor.red = static_cast<png_uint_16>((c >> 16) & 0xff);
        job->transColor.green = static_cast<png_uint_16>((c >> 8) & 0xff);
        job->transColor.blue = static_cast<png_uint_16>(c & 0xff);
    }
    return runPngWriterFrom(*job, image.pixels, static_cast<size_t>(image.width) * 4, 4,
                            alpha ? rgbaConverter() : rgbConverter());
}

// Reading from memory; running past the end is a libpng error.
struct MemorySource {
    const unsigned char* data;
    size_t length;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep bytes, size_t n) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (n > source->length - source->position) png_error(png, "truncated");
    std::memcpy(bytes, source->data + source->position, n);
    source->position += n;
}

class PngReader {
public:
    PngReader(const unsigned char* data, int length) : source_{data, static_cast<size_t>(length), 0} {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~PngReader() {
        if (png_) png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Reads the header and sets up expansion to 8-bit RGBA; false for damaged or implausible files.
    bool readHeader(int& width, int& height) {
        if (!png_ || !info_) return false;
        if (setjmp(png_jmpbuf(png_))) return false;
        png_set_read_fn(png_, &source_, readFromMemory);
        png_set_user_limits(png_, 0x7fffffff, 0x7fffffff);
        png_read_info(png_, info_);
        png_uint_32 w = png_get_image_width(png_, info_);
        png_uint_32 h = png_get_image_height(png_, info_);
        int bitsPerPixel = png_get_channels(png_, info_) * png_get_bit_depth(png_, info_);
        if (bitsPerPixel <= 0 || !acceptableSize(w, h, static_cast<long long>(source_.length),
                                                  kMaxInflateRatio * 8 / bitsPerPixel))
            return false;
        int colorType = png_get_color_type(png_, info_);
        png_set_strip_16(png_);
        if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png_);
        if (png_get_valid(png_, info_, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png_);
        if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
            png_set_expand_gray_1_2_4_to_8(png_);
            png_set_gray_to_rgb(png_);
        }
        if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png_, info_, PNG_INFO_tRNS))
            png_set_add_alpha(png_, 0xff, PNG_FILLER_AFTER);
        png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);
        if (png_get_rowbytes(png_, info_) != static_cast<size_t>(w) * 4) return false;
        width = static_cast<int>(w);
        height = static_cast<int>(h);
        return true;
    }

    bool readRows(png_bytep* rows) {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_read_image(png_, rows);
        png_read_end(png_, nullptr);
        return true;
    }

private:
    MemorySource source_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

bool writePNG(vek::ostream& out, const RasterImage& image, const RasterSettings& settings, int level) {
    if (!validImage(image)) return false;
    bool alpha = needsAlpha(settings);
    int mode = settings.paletteMode;
    bool trueColorLevel = mode >= 128 && mode <= 137;
    if (trueColorLevel) level = mode - 128;
    if (level == 0) reserveOutput(out, image);
    PngWorkspace& kept = workspace();
    bool written;
    if (!trueColorLevel && (mode == 1 || (mode != 2 && !alpha)) &&
        makePaletteImage(image, settings.transparentColor, mode, settings.ditherMethod, kept.indexed) > 0)
        written = writePalettePNG(out, image, settings, level, kept.indexed);
    else
        written = writeTrueColorPNG(out, image, settings, level, alpha);
    kept.trim();
    return written;
}

bool encodePNG(vek::ostream& out, const uint32_t* pixels, int width, int height) {
    RasterImage image{pixels, width, height};
    if (!validImage(image)) return false;
    RasterSettings settings;
    size_t total = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < total; ++i) {
        if (pixels[i] >> 24) {
            settings.transparentColor = -1;
            break;
        }
    }
    return writePNG(out, image, settings);
}

bool decodePNG(const unsigned char* data, int length, DecodedImage& result) {
    PngReader reader(data, length);
    int width = 0;
    int height = 0;
    if (!reader.readHeader(width, height)) return false;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(pixels.data() + static_cast<size_t>(y) * width);
    if (!reader.readRows(rows.data())) return false;
    for (uint32_t& pixel : pixels) {
        unsigned char rgba[4];
        std::memcpy(rgba, &pixel, 4);
        pixel = (uint32_t(255 - rgba[3]) << 24) | (uint32_t(rgba[0]) << 16) | (uint32_t(rgba[1]) << 8) | rgba[2];
    }
    result.pixels.swap(pixels);
    result.width = width;
    result.height = height;
    return true;
}

}  // namespace plotvane

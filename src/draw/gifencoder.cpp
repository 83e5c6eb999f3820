// GIF writing. The picture is first reduced to a palette (exactly when it has at most 256 colours,
// by octree quantisation otherwise), then compressed with variable-length-code LZW: codes start one
// bit wider than the pixel size and widen up to 12 bits as the string table fills; a full table
// (4096 codes) is announced with a clear code and started afresh. The string table is an
// open-addressed hash of 5003 slots keyed by (pixel << 12) + prefix code, with a secondary probe
// step, which keeps each pixel to a few comparisons. Codes are packed least significant bit first
// and written in sub-blocks of at most 254 bytes, each preceded by its length.
#include "draw/gifencoder_p.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "draw/gifrows_p.h"
#include "draw/imageio_p.h"
#include "draw/palettebuilder_p.h"

namespace plotvane {

namespace {

constexpr int kHashSize = 5003;
constexpr int kMaxBits = 12;
constexpr int kMaxCodes = 1 << kMaxBits;
constexpr int kBlockLimit = 254;

void put16(vek::ostream& out, int v) {
    out << static_cast<char>(v & 0xff) << static_cast<char>((v >> 8) & 0xff);
}

class LZWCompressor {
public:
    LZWCompressor(vek::ostream& out, int codeSize)
        : out_(out), initBits_(codeSize + 1), clearCode_(1 << codeSize), endCode_(clearCode_ + 1) {}

    void compress(const uint8_t* indices, int width, int height, bool interlaced) {
        std::fill(std::begin(hashKeys_), std::end(hashKeys_), -1);
        bits_ = initBits_;
        maxCode_ = (1 << bits_) - 1;
        freeCode_ = clearCode_ + 2;
        output(clearCode_);
        int prefix = -1;
        for (int y : gifRowOrder(height, interlaced)) {
            const uint8_t* row = indices + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x) {
                int c = row[x];
                if (prefix < 0) {
                    prefix = c;
                    continue;
                }
                prefix = extend(prefix, c);
            }
        }
        output(prefix);
        output(endCode_);
    }

private:
    // Looks up prefix + c; returns the code for the longer string, or emits prefix and returns c.
    int extend(int prefix, int c) {
        long key = (static_cast<long>(c) << kMaxBits) + prefix;
        int i = (c << 4) ^ prefix;
        if (hashKeys_[i] == key) return codes_[i];
        if (hashKeys_[i] >= 0) {
            int step = i == 0 ? 1 : kHashSize - i;
            do {
                i -= step;
                if (i < 0) i += kHashSize;
                if (hashKeys_[i] == key) return codes_[i];
            } while (hashKeys_[i] >= 0);
        }
        output(prefix);
        if (freeCode_ < kMaxCodes) {
            codes_[i] = freeCode_++;
            hashKeys_[i] = key;
        } else {
            std::fill(std::begin(hashKeys_), std::end(hashKeys_), -1);
            freeCode_ = clearCode_ + 2;
            clearPending_ = true;
            output(clearCode_);
        }
        return c;
    }

    void output(int code) {
        accumulator_ |= static_cast<unsigned long>(code) << accumulatedBits_;
        accumulatedBits_ += bits_;
        while (accumulatedBits_ >= 8) {
            putByte(static_cast<char>(accumulator_ & 0xff));
            accumulator_ >>= 8;
            accumulatedBits_ -= 8;
        }
        // The decoder widens its codes once the table outgrows them; follow it in step.
        if (freeCode_ > maxCode_ || clearPending_) {
            if (clearPending_) {
                bits_ = initBits_;
                maxCode_ = (1 << bits_) - 1;
                clearPending_ = false;
            } else {
                ++bits_;
                maxCode_ = bits_ == kMaxBits ? kMaxCodes : (1 << bits_) - 1;
            }
        }
        if (code == endCode_) {
            while (accumulatedBits_ > 0) {
                putByte(static_cast<char>(accumulator_ & 0xff));
                accumulator_ >>= 8;
                accumulatedBits_ = std::max(0, accumulatedBits_ - 8);
            }
            flushBlock();
        }
    }

    void putByte(char byte) {
        block_[blockLength_++] = byte;
        if (blockLength_ >= kBlockLimit) flushBlock();
    }

    void flushBlock() {
        if (blockLength_ == 0) return;
        out_ << static_cast<char>(blockLength_);
        out_.write(block_, blockLength_);
        blockLength_ = 0;
    }

    vek::ostream& out_;
    const int initBits_;
    const int clearCode_;
    const int endCode_;
    int bits_ = 0;
    int maxCode_ = 0;
    int freeCode_ = 0;
    bool clearPending_ = false;
    unsigned long accumulator_ = 0;
    int accumulatedBits_ = 0;
    long hashKeys_[kHashSize];
    int codes_[kHashSize];
    char block_[kBlockLimit];
    int blockLength_ = 0;
};

}  // namespace

void GIFEncoder::encode(vek::ostream& out, const uint8_t* indices, int width, int height, const uint32_t* palette,
                        int colorCount, bool interlace, int backgroundIndex, int transparentIndex) {
    int bits = 1;
    while (bits < 8 && (1 << bits) < colorCount) ++bits;
    bool interlaced = interlace && height >= 9;

    out << (transparentIndex >= 0 ? "GIF89a" : "GIF87a");
    put16(out, width);
    put16(out, height);
    out << static_cast<char>(0x80 | ((bits - 1) << 4) | (bits - 1));
    out << static_cast<char>(backgroundIndex) << '\0';
    for (int i = 0; i < (1 << bits); ++i) {
        uint32_t c = i < colorCount ? palette[i] : 0;
        out << static_cast<char>((c >> 16) & 0xff) << static_cast<char>((c >> 8) & 0xff) << static_cast<char>(c & 0xff);
    }
    if (transparentIndex >= 0) {
        const char control[] = {'\x21', '\xf9', '\x04', '\x01', '\0', '\0', static_cast<char>(transparentIndex), '\0'};
        out.write(control, sizeof control);
    }
    out << '\x2c';
    put16(out, 0);
    put16(out, 0);
    put16(out, width);
    put16(out, height);
    out << static_cast<char>(interlaced ? 0x40 : 0);

    int codeSize = std::max(2, bits);
    out << static_cast<char>(codeSize);
    auto compressor = std::make_unique<LZWCompressor>(out, codeSize);
    compressor->compress(indices, width, height, interlaced);
    out << '\0' << '\x3b';
}

bool writeGIF(vek::ostream& out, const RasterImage& image, const RasterSettings& settings) {
    if (!image.pixels || image.width < 1 || image.height < 1 || image.width > 0xffff || image.height > 0xffff)
        return false;
    // GIF has no true colour: a picture without an exact palette is quantised whatever the mode.
    PaletteImage indexed;
    if (makePaletteImage(image, settings.transparentColor, 1, settings.ditherMethod, indexed) <= 0) return false;
    GIFEncoder::encode(out, indexed.indices.data(), image.width, image.height, indexed.palette, indexed.colorCount,
                       settings.interlace, 0, indexed.transparentIndex);
    return true;
}

}  // namespace plotvane

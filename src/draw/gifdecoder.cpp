// GIF reading: the header, the global colour table, then blocks up to the first image, which is
// decoded into ARGB on a canvas the size of the logical screen (pixels outside the image, and the
// transparent index named by a graphic control extension, become fully transparent).
//
// The LZW decoder is the usual one: a table of (prefix code, last pixel) pairs that grows by one
// entry per code, codes widening from the minimum size + 1 up to 12 bits, strings unwound through a
// stack. Every input is treated as hostile: all reads are bounds-checked, a code beyond the next
// free entry or a first code that is not a pixel is damage, a full table simply stops growing
// (some encoders delay their clear code), and the decoded pixels are collected in a buffer that
// grows with the data actually decoded rather than with the size the header claims. An image that
// ends before all of its pixels have arrived is damage too.
#include <cstring>
#include <cstddef>
#include <vector>

#include "draw/gifrows_p.h"
#include "draw/imagedecode_p.h"

namespace plotvane {

namespace {

constexpr int kMaxCodes = 4096;
// One LZW code of at least 2 bits stands for at most 4096 pixels.
constexpr long long kMaxPixelsPerByte = 4096 * 4;
constexpr uint32_t kTransparent = 0xff000000u;

// Bounds-checked reading of the file bytes.
class ByteReader {
public:
    ByteReader(const unsigned char* data, int length) : data_(data), length_(length) {}
    bool byte(int& value) {
        if (position_ >= length_) return false;
        value = data_[position_++];
        return true;
    }
    bool word(int& value) {
        if (length_ - position_ < 2) return false;
        value = data_[position_] | (data_[position_ + 1] << 8);
        position_ += 2;
        return true;
    }
    const unsigned char* take(int n) {
        if (n < 0 || length_ - position_ < n) return nullptr;
        const unsigned char* p = data_ + position_;
        position_ += n;
        return p;
    }
    // Skips a chain of sub-blocks up to and including the zero-length terminator.
    bool skipSubBlocks() {
        int n = 0;
        while (byte(n) && n > 0)
            if (!take(n)) return false;
        return n == 0 && position_ <= length_;
    }
    int remaining() const { return length_ - position_; }

private:
    const unsigned char* data_;
    int length_;
    int position_ = 0;
};

// The LZW code stream spread over sub-blocks, read least significant bit first.
class CodeReader {
public:
    explicit CodeReader(ByteReader& bytes) : bytes_(bytes) {}
    // False at the end of the data (block terminator or end of file).
    bool code(int bits, int& value) {
        while (held_ < bits) {
            if (blockLeft_ == 0) {
                if (ended_ || !bytes_.byte(blockLeft_) || blockLeft_ == 0) {
                    ended_ = true;
                    return false;
                }
            }
            int b = 0;
            if (!bytes_.byte(b)) {
                ended_ = true;
                return false;
            }
            --blockLeft_;
            buffer_ |= static_cast<uint32_t>(b) << held_;
            held_ += 8;
        }
        value = static_cast<int>(buffer_ & ((1u << bits) - 1));
        buffer_ >>= bits;
        held_ -= bits;
        return true;
    }

private:
    ByteReader& bytes_;
    uint32_t buffer_ = 0;
    int held_ = 0;
    int blockLeft_ = 0;
    bool ended_ = false;
};

// Decodes exactly `total` pixel indices; false when the data is damaged or ends early.
bool decodeLZW(ByteReader& bytes, long long total, std::vector<uint8_t>& out) {
    int minimumSize = 0;
    if (!bytes.byte(minimumSize) || minimumSize < 1 || minimumSize > 11) return false;
    const int clearCode = 1 << minimumSize;
    const int endCode = clearCode + 1;
    std::vector<uint16_t> prefix(kMaxCodes);
    std::vector<uint8_t> suffix(kMaxCodes);
    std::vector<uint8_t> stack(kMaxCodes + 1);
    for (int i = 0; i < clearCode && i < 256; ++i) suffix[i] = static_cast<uint8_t>(i);

    CodeReader codes(bytes);
    int bits = minimumSize + 1;
    int next = clearCode + 2;
    int previous = -1;
    int first = 0;
    int code = 0;
    while (static_cast<long long>(out.size()) < total) {
        if (!codes.code(bits, code)) return false;
        if (code == clearCode) {
            bits = minimumSize + 1;
            next = clearCode + 2;
            previous = -1;
            continue;
        }
        if (code == endCode) return false;
        if (previous < 0) {
            if (code >= clearCode) return false;
            first = code;
            previous = code;
            out.push_back(static_cast<uint8_t>(code));
            continue;
        }
        if (code > next || (code == next && next >= kMaxCodes)) return false;
        int incoming = code;
        int depth = 0;
        if (code == next) {  // the string just being defined: previous string + its first pixel
            stack[depth++] = static_cast<uint8_t>(first);
            code = previous;
        }
        while (code >= clearCode) {
            stack[depth++] = suffix[code];
            code = prefix[code];
        }
        first = code;
        stack[depth++] = static_cast<uint8_t>(first);
        if (next < kMaxCodes) {
            prefix[next] = static_cast<uint16_t>(previous);
            suffix[next] = static_cast<uint8_t>(first);
            ++next;
            if (next == (1 << bits) && bits < 12) ++bits;
        }
        previous = incoming;
        while (depth > 0 && static_cast<long long>(out.size()) < total) out.push_back(stack[--depth]);
    }
    return true;
}

class GIFDecoder {
public:
    GIFDecoder(const unsigned char* data, int length) : bytes_(data, length) {}

    bool decode(DecodedImage& result) {
        const unsigned char* header = bytes_.take(6);
        if (!header || std::memcmp(header, "GIF", 3) != 0 ||
            (std::memcmp(header + 3, "87a", 3) != 0 && std::memcmp(header + 3, "89a", 3) != 0))
            return false;
        int width = 0, height = 0, flags = 0, background = 0, aspect = 0;
        if (!bytes_.word(width) || !bytes_.word(height) || !bytes_.byte(flags) || !bytes_.byte(background) ||
            !bytes_.byte(aspect))
            return false;
        if (!acceptableSize(width, height, bytes_.remaining() + 13, kMaxPixelsPerByte)) return false;
        if ((flags & 0x80) && !readColorTable(flags, globalColors_)) return false;
        for (;;) {
            int block = 0;
            if (!bytes_.byte(block)) return false;
            if (block == 0x3b) return false;  // no image at all
            if (block == 0x21) {
                if (!readExtension()) return false;
            } else if (block == 0x2c) {
                return readImage(width, height, result);
            } else {
                return false;
            }
        }
    }

private:
    bool readColorTable(int flags, std::vector<uint32_t>& table) {
        int count = 2 << (flags & 7);
        const unsigned char* rgb = bytes_.take(3 * count);
        if (!rgb) return false;
        table.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            table[i] = (uint32_t(rgb[3 * i]) << 16) | (uint32_t(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
        return true;
    }

    bool readExtension() {
        int label = 0;
        if (!bytes_.byte(label)) return false;
        if (label == 0xf9) {
            int size = 0;
            if (!bytes_.byte(size)) return false;
            const unsigned char* control = bytes_.take(size);
            if (!control) return false;
            if (size >= 4) transparentIndex_ = (control[0] & 1) ? control[3] : -1;
        }
        return bytes_.skipSubBlocks();
    }

    bool readImage(int width, int height, DecodedImage& result) {
        int left = 0, top = 0, frameWidth = 0, frameHeight = 0, flags = 0;
        if (!bytes_.word(left) || !bytes_.word(top) || !bytes_.word(frameWidth) || !bytes_.word(frameHeight) ||
            !bytes_.byte(flags))
            return false;
        std::vector<uint32_t> localColors;
        if ((flags & 0x80) && !readColorTable(flags, localColors)) return false;
        const std::vector<uint32_t>& colors = (flags & 0x80) ? localColors : globalColors_;

        long long total = static_cast<long long>(frameWidth) * frameHeight;
        if (total > kMaxImagePixels) return false;
        std::vector<uint8_t> indices;
        if (total > 0 && !decodeLZW(bytes_, total, indices)) return false;

        std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, kTransparent);
        std::vector<int> rows = gifRowOrder(frameHeight, (flags & 0x40) != 0);
        for (int k = 0; k < frameHeight; ++k) {
            int y = top + rows[k];
            if (y >= height) continue;
            const uint8_t* source = indices.data() + static_cast<size_t>(k) * frameWidth;
            uint32_t* target = pixels.data() + static_cast<size_t>(y) * width;
            for (int x = 0; x < frameWidth && left + x < width; ++x) {
                int index = source[x];
                if (index == transparentIndex_)
                    target[left + x] = kTransparent;
                else
                    target[left + x] = index < static_cast<int>(colors.size()) ? colors[index] : 0;
            }
        }
        result.pixels.swap(pixels);
        result.width = width;
        result.height = height;
        return true;
    }

    ByteReader bytes_;
    std::vector<uint32_t> globalColors_;
    int transparentIndex_ = -1;
};

}  // namespace

bool decodeGIF(const unsigned char* data, int length, DecodedImage& result) {
    GIFDecoder decoder(data, length);
    return decoder.decode(result);
}

}  // namespace plotvane

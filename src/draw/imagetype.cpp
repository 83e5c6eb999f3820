// Recognising an image file from its first bytes, and reading its picture size from the header
// alone. PNG, GIF and BMP keep the size at fixed offsets; JPEG keeps it in the first frame header
// (SOF), so the marker segments before it are walked by their lengths. Both functions only read
// inside the given length, so any truncated or hostile buffer yields "unknown" (-1, or 0 x 0).
#include "draw/imageio_p.h"

#include <cstdint>

namespace plotvane {

namespace {

uint32_t bigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t littleEndian32(const unsigned char* p) {
    return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

bool isFrameMarker(unsigned char code) {
    return code >= 0xc0 && code <= 0xcf && code != 0xc4 && code != 0xc8 && code != 0xcc;
}

// Width and height of the first frame, or false when a scan or the end of the image comes first.
bool jpegFrameSize(const unsigned char* data, int length, uint32_t& width, uint32_t& height) {
    int pos = 3;
    for (;;) {
        while (pos < length && data[pos] == 0xff) ++pos;
        if (pos >= length) return false;
        unsigned char code = data[pos];
        int segment = pos - 1;  // offset of the 0xFF that introduced the marker
        if (code == 0xda || code == 0xd9) return false;
        if (isFrameMarker(code)) {
            if (segment + 9 > length) return false;
            height = (uint32_t(data[segment + 5]) << 8) | data[segment + 6];
            width = (uint32_t(data[segment + 7]) << 8) | data[segment + 8];
            return true;
        }
        if (pos + 2 >= length) return false;
        int segmentLength = (data[pos + 1] << 8) | data[pos + 2];
        if (segmentLength < 2) return false;
        pos += 1 + segmentLength;
    }
}

}  // namespace

int getImageType(const unsigned char* data, int length) {
    if (!data || length < 3) return kImageUnknown;
    if (data[0] == 0x89 && data[1] == 'P' && data[2] == 'N') return kImagePNG;
    if (data[0] == 'G' && data[1] == 'I' && data[2] == 'F') return kImageGIF;
    if (data[0] == 0xff && data[1] == 0xd8 && data[2] == 0xff) return kImageJPG;
    if (data[0] == 'B' && data[1] == 'M') return kImageBMP;
    return kImageUnknown;
}

void getImageSize(const unsigned char* data, int length, int& width, int& height) {
    width = height = 0;
    uint32_t w = 0;
    uint32_t h = 0;
    switch (getImageType(data, length)) {
    case kImagePNG:
        if (length < 24) return;
        w = bigEndian32(data + 16);
        h = bigEndian32(data + 20);
        break;
    case kImageGIF:
        if (length < 10) return;
        w = data[6] | (data[7] << 8);
        h = data[8] | (data[9] << 8);
        break;
    case kImageBMP: {
        if (length < 26) return;
        w = littleEndian32(data + 18);
        auto rows = static_cast<int32_t>(littleEndian32(data + 22));
        // A negative height marks rows stored top-down; the picture is as tall either way.
        h = rows < 0 ? 0u - static_cast<uint32_t>(rows) : static_cast<uint32_t>(rows);
        break;
    }
    case kImageJPG:
        if (!jpegFrameSize(data, length, w, h)) return;
        break;
    default:
        return;
    }
    if (w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu) return;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

}  // namespace plotvane

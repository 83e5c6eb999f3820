#ifndef PLOTVANE_DRAW_IMAGEDECODE_P_H
#define PLOTVANE_DRAW_IMAGEDECODE_P_H

#include <cstdint>
#include <vector>

#include "draw/canvaslimits_p.h"

namespace plotvane {

struct DecodedImage {
    std::vector<uint32_t> pixels;  // ARGB with transparency in the top byte
    int width = 0;
    int height = 0;
};

// The largest picture a decoder will produce.
constexpr long long kMaxImagePixels = kMaxCanvasPixels;

// True when a picture of width x height may be allocated: a sensible size, and no larger than
// maxPixelsPerByte times the encoded length could describe (so a tiny file cannot claim a huge
// picture and make the decoder allocate for it).
bool acceptableSize(long long width, long long height, long long length, long long maxPixelsPerByte);

// Each decoder leaves the result untouched unless it returns true.
bool decodePNG(const unsigned char* data, int length, DecodedImage& result);
bool decodeJPG(const unsigned char* data, int length, DecodedImage& result);
bool decodeGIF(const unsigned char* data, int length, DecodedImage& result);

}  // namespace plotvane

#endif

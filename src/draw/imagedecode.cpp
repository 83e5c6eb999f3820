// The reader entry: picks the decoder by type and hands over the pixels only on success.
#include "draw/imagedecode_p.h"
#include "draw/imageio_p.h"

namespace plotvane {

bool acceptableSize(long long width, long long height, long long length, long long maxPixelsPerByte) {
    if (width < 1 || height < 1 || width > kMaxImagePixels || height > kMaxImagePixels) return false;
    long long pixels = width * height;
    return pixels <= kMaxImagePixels && pixels <= length * maxPixelsPerByte;
}

bool decodeImage(const unsigned char* data, int length, int type, std::vector<uint32_t>& pixels, int& width,
                 int& height) {
    if (!data || length <= 0) return false;
    DecodedImage image;
    bool ok = false;
    switch (type) {
    case kImagePNG: ok = decodePNG(data, length, image); break;
    case kImageGIF: ok = decodeGIF(data, length, image); break;
    case kImageJPG: ok = decodeJPG(data, length, image); break;
    default: break;
    }
    if (!ok) return false;
    pixels.swap(image.pixels);
    width = image.width;
    height = image.height;
    return true;
}

}  // namespace plotvane

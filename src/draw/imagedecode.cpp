// The reader entry: reads an image file within its limits, picks the decoder by type and hands
// over the pixels only on success.
#include "draw/imagedecode_p.h"
#include "draw/imageio_p.h"

#include <algorithm>
#include <new>

#include <sys/stat.h>

namespace plotvane {

ImageRead readImageBytes(FILE* f, std::vector<unsigned char>& bytes) {
    bytes.clear();
    if (!f) return ImageRead::CannotOpen;
    // Devices and pipes may never end.
    struct stat info;
    if (fstat(fileno(f), &info) != 0 || !S_ISREG(info.st_mode)) return ImageRead::CannotOpen;
    if (info.st_size > static_cast<off_t>(kMaxImageFileBytes)) return ImageRead::TooLarge;
    std::vector<unsigned char> buffer;
    size_t length = 0;
    try {
        for (size_t size = 8192;; size = std::min(size * 2, kMaxImageFileBytes + 1)) {
            buffer.resize(size);
            length += std::fread(buffer.data() + length, 1, size - length, f);
            if (length < size) break;
            if (length > kMaxImageFileBytes) return ImageRead::TooLarge;
        }
        buffer.resize(length);
    } catch (const std::bad_alloc&) {
        return ImageRead::NoMemory;
    }
    bytes.swap(buffer);
    return ImageRead::Ok;
}

ImageRead readImageBytes(const char* path, std::vector<unsigned char>& bytes) {
    FILE* f = path && *path ? std::fopen(path, "rb") : nullptr;
    if (!f) return ImageRead::CannotOpen;
    ImageRead result = readImageBytes(f, bytes);
    std::fclose(f);
    return result;
}

bool acceptableSize(long long width, long long height, long long length, long long maxPixelsPerByte) {
    return acceptableCanvas(width, height) && width * height <= length * maxPixelsPerByte;
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

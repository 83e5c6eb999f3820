#ifndef PLOTVANE_DRAW_IMAGEIO_P_H
#define PLOTVANE_DRAW_IMAGEIO_P_H

// Image files: the writers turn an ARGB pixel buffer into PNG, JPEG, GIF, BMP or WBMP bytes, the
// readers turn PNG, GIF or JPEG bytes back into pixels. Pixels are 0xTTRRGGBB words with
// transparency (not opacity) in the top byte; files carry opacity = 255 - transparency.

#include <plotvane/ostrstream.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace plotvane {

struct RasterImage {
    const uint32_t* pixels = nullptr;  // width * height words, row 0 at the top
    int width = 0;
    int height = 0;
};

// The writer settings a drawing area hands to its canvas.
struct RasterSettings {
    bool interlace = false;
    // 0xff000000: none; -1: full alpha; -2: alpha only when the background has transparency (BMP);
    // other values: the RGB colour marked transparent.
    int transparentColor = static_cast<int>(0xff000000);
    bool bgHasTransparency = false;
    int paletteMode = 0;   // 0 try a palette, 1 force one, 2 never; 128 + n: true colour at zlib level n
    int ditherMethod = 0;  // 0 nearest, 1 ordered, 2 error diffusion
};

enum ImageType { kImagePNG = 0, kImageGIF = 1, kImageJPG = 2, kImageBMP = 4, kImageUnknown = -1 };

// The type of an encoded file from its first bytes.
int getImageType(const unsigned char* data, int length);
// Width and height from the file header; both 0 when unknown.
void getImageSize(const unsigned char* data, int length, int& width, int& height);

// Each writer returns false (having written nothing useful) on any library or memory error.
bool writePNG(vek::ostream& out, const RasterImage& image, const RasterSettings& settings, int level = -1);
bool writeJPG(vek::ostream& out, const RasterImage& image, const RasterSettings& settings, int quality = -1);
bool writeGIF(vek::ostream& out, const RasterImage& image, const RasterSettings& settings);
bool writeBMP(vek::ostream& out, const RasterImage& image, const RasterSettings& settings);
bool writeWMP(vek::ostream& out, const RasterImage& image, const RasterSettings& settings);
// Uncompressed BMP when no alpha is needed, else PNG at level 0. Sets the palette mode to 2 unless it is 1.
bool writeFastImage(vek::ostream& out, const RasterImage& image, RasterSettings& settings);
// Any pixel array as PNG, with alpha when some pixel has transparency (for embedding in vector files).
bool encodePNG(vek::ostream& out, const uint32_t* pixels, int width, int height);

// The longest image file read: longer ones, and anything but a regular file (a device may never
// end), are refused before they fill memory.
constexpr size_t kMaxImageFileBytes = size_t{64} << 20;

enum class ImageRead { Ok, CannotOpen, TooLarge, NoMemory };
// The whole file into bytes (left empty unless Ok). The FILE form does not close the file.
ImageRead readImageBytes(FILE* f, std::vector<unsigned char>& bytes);
ImageRead readImageBytes(const char* path, std::vector<unsigned char>& bytes);

// Decodes a PNG (type 0), GIF (1) or JPEG (2) file into ARGB pixels. False for damaged data, other
// types, or more than 125,000,000 pixels; the outputs are then untouched.
bool decodeImage(const unsigned char* data, int length, int type, std::vector<uint32_t>& pixels, int& width,
                 int& height);

}  // namespace plotvane

#endif

// Windows bitmap writing, uncompressed: an 8-bit palette file when the picture has a palette form,
// otherwise 24-bit BGR, or 32-bit with an alpha mask when alpha is wanted. Rows are stored bottom
// to top and padded to four bytes. 32-bit pixels are stored premultiplied by their opacity, the
// form that Windows' alpha blending expects.
#include <cstddef>
#include <vector>

#include "draw/imagedecode_p.h"
#include "draw/imageio_p.h"
#include "draw/palettebuilder_p.h"

namespace plotvane {

namespace {

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(vek::ostream& out) : out_(out) {}
    void u16(uint32_t v) { bytes(v, 2); }
    void u32(uint32_t v) { bytes(v, 4); }

private:
    void bytes(uint32_t v, int n) {
        char b[4];
        for (int i = 0; i < n; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xff);
        out_.write(b, n);
    }
    vek::ostream& out_;
};

// File header plus the info header's fields up to the colour counts.
void writeHeaders(vek::ostream& out, const RasterImage& image, uint32_t infoSize, uint32_t paletteBytes, int bits,
                  uint32_t rowBytes, uint32_t colors) {
    uint32_t imageBytes = rowBytes * static_cast<uint32_t>(image.height);
    uint32_t offset = 14 + infoSize + paletteBytes;
    LittleEndianWriter le(out);
    out << 'B' << 'M';
    le.u32(offset + imageBytes);
    le.u16(0);
    le.u16(0);
    le.u32(offset);
    le.u32(infoSize);
    le.u32(static_cast<uint32_t>(image.width));
    le.u32(static_cast<uint32_t>(image.height));
    le.u16(1);
    le.u16(static_cast<uint32_t>(bits));
    le.u32(0);  // no compression
    le.u32(imageBytes);
    le.u32(0);
    le.u32(0);
    le.u32(colors);
    le.u32(colors);
}

void writePaletteBMP(vek::ostream& out, const RasterImage& image, const PaletteImage& indexed) {
    uint32_t rowBytes = (static_cast<uint32_t>(image.width) + 3) & ~3u;
    uint32_t n = static_cast<uint32_t>(indexed.colorCount);
    writeHeaders(out, image, 40, 4 * n, 8, rowBytes, n);
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t c = indexed.palette[i];
        out << static_cast<char>(c & 0xff) << static_cast<char>((c >> 8) & 0xff) << static_cast<char>((c >> 16) & 0xff)
            << '\0';
    }
    std::vector<char> row(rowBytes, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* source = indexed.indices.data() + static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) row[x] = static_cast<char>(source[x]);
        out.write(row.data(), static_cast<int>(rowBytes));
    }
}

void writeTrueColorBMP(vek::ostream& out, const RasterImage& image, bool alpha) {
    uint32_t pixelBytes = alpha ? 4 : 3;
    uint32_t rowBytes = (static_cast<uint32_t>(image.width) * pixelBytes + 3) & ~3u;
    writeHeaders(out, image, alpha ? 56 : 40, 0, alpha ? 32 : 24, rowBytes, 0);
    if (alpha) {
        LittleEndianWriter le(out);
        le.u32(0x00ff0000);
        le.u32(0x0000ff00);
        le.u32(0x000000ff);
        le.u32(0xff000000);
    }
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint32_t* source = image.pixels + static_cast<size_t>(y) * image.width;
        unsigned char* p = row.data();
        for (int x = 0; x < image.width; ++x) {
            uint32_t c = source[x];
            uint32_t r = (c >> 16) & 0xff, g = (c >> 8) & 0xff, b = c & 0xff;
            if (alpha) {
                uint32_t opacity = 255 - (c >> 24);
                uint32_t scale = opacity >= 128 ? opacity + 1 : opacity;
                *p++ = static_cast<unsigned char>((b * scale) >> 8);
                *p++ = static_cast<unsigned char>((g * scale) >> 8);
                *p++ = static_cast<unsigned char>((r * scale) >> 8);
                *p++ = static_cast<unsigned char>(opacity);
            } else {
                *p++ = static_cast<unsigned char>(b);
                *p++ = static_cast<unsigned char>(g);
                *p++ = static_cast<unsigned char>(r);
            }
        }
        out.write(reinterpret_cast<const char*>(row.data()), static_cast<int>(rowBytes));
    }
}

}  // namespace

bool writeBMP(vek::ostream& out, const RasterImage& image, const RasterSettings& settings) {
    if (!image.pixels || image.width < 1 || image.height < 1 ||
        static_cast<long long>(image.width) * image.height > kMaxImagePixels)
        return false;
    int mode = settings.paletteMode;
    bool alpha = settings.transparentColor == -1 || (settings.transparentColor == -2 && settings.bgHasTransparency);
    bool forceTrueColor = mode == 2 || mode == 128 || mode == 129;
    if (mode == 128 || mode == 129) alpha = needsAlpha(settings);
    if (!forceTrueColor && (mode == 1 || !alpha)) {
        PaletteImage indexed;
        if (makePaletteImage(image, settings.transparentColor, mode, settings.ditherMethod, indexed) > 0) {
            writePaletteBMP(out, image, indexed);
            return true;
        }
    }
    writeTrueColorBMP(out, image, alpha);
    return true;
}

}  // namespace plotvane

// Pictures between the host and the library. Out: the chart or drawing is rendered as a BMP in
// memory, the only format the library writes uncompressed, and the BMP is decoded into a new host
// picture through its bitmap description. In: the picture's pixels (and its mask, for pictures
// without an alpha channel) become library colours, 0xTTRRGGBB with TT the transparency.
#include "host/hostextras_p.h"
#include "host/hostglue_p.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace host {

extern REALclassDefinition kDef_PVBaseChartRQX;
extern REALclassDefinition kDef_PVDrawAreaRQX;
extern REALclassDefinition kDef_PVDataSetRQX;
extern REALclassDefinition kDef_PVPolarLayerRQX;
extern REALclassDefinition kDef_PVThreeDScatterGroupRQX;

namespace {

Service<REALBuildPictureFromBufferProc> buildPicture{"REALBuildPictureFromBuffer"};
Service<REALLockPictureDescriptionProc> lockPicture{"REALLockPictureDescription"};
Service<REALUnlockPictureDescriptionProc> unlockPicture{"REALUnlockPictureDescription"};
Service<REALPictureClearCacheProc> clearCache{"REALPictureClearCache"};
Service<REALGetPictureMaskProc> pictureMask{"REALGetPictureMask"};
Service<REALGetPropValueIntProc> getPropInt{"REALGetPropValueInt"};
Service<REALGetPropValueBoolProc> getPropBool{"REALGetPropValueBool"};
Service<REALUnlockObjectProc> unlockObject{"REALUnlockObject"};
Service<PluginNewInstanceProc> newInstance{"PluginNewInstance"};
Service<REALLoadObjectMethodProc> loadMethod{"REALLoadObjectMethod"};
Service<PluginPictureGetTypeProc> pictureType{"PluginPictureGetType"};

void unlock(REALobject o) {
    if (o)
        if (auto f = unlockObject.get()) f(o);
}

// A blank bitmap picture: built from no pixels where the host can, else made by the Picture
// class's own constructor.
REALpicture newPicture(int width, int height) {
    if (auto build = buildPicture.get()) return build(width, height, nullptr, 0);
    auto make = newInstance.get();
    auto load = loadMethod.get();
    REALpicture pic = make && load ? make("Picture") : nullptr;
    if (!pic) return nullptr;
    auto construct = reinterpret_cast<void (*)(REALobject, RBInteger, RBInteger)>(
        load(pic, "Constructor(width as integer, height as integer)"));
    if (!construct) {
        unlock(pic);
        return nullptr;
    }
    construct(pic, width, height);
    return pic;
}

// A picture that is not a bitmap (a vector picture) drawn into a new bitmap of its size.
REALpicture bitmapOf(REALpicture pic, int width, int height) {
    REALpicture bitmap = newPicture(width, height);
    auto load = loadMethod.get();
    auto draw = bitmap && load ? reinterpret_cast<void (*)(REALobject, REALpicture, RBInteger, RBInteger, RBInteger,
                                                          RBInteger, RBInteger, RBInteger, RBInteger, RBInteger)>(
                                     load(bitmap, "DrawPicture(Image as Picture, x as Integer, y as Integer, "
                                                  "w as Integer, h as Integer, sx as Integer = 0, sy as Integer = 0, "
                                                  "sw as Integer = -10000, sh as Integer = -10000)"))
                                 : nullptr;
    if (!draw) {
        unlock(bitmap);
        return nullptr;
    }
    draw(bitmap, pic, 0, 0, width, height, 0, 0, -10000, -10000);
    return bitmap;
}

std::uint32_t readLE(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// Bits of a bit-field mask: where it starts and how wide it is.
struct Field {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Field(std::uint32_t m) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        while (bits + shift < 32 && ((m >> (shift + bits)) & 1)) ++bits;
    }
    unsigned get(std::uint32_t v, unsigned absent) const {
        if (!mask) return absent;
        const std::uint32_t raw = (v & mask) >> shift;
        return bits >= 8 ? raw >> (bits - 8) : raw * 255 / ((1u << bits) - 1);
    }
};

// Decodes a BMP into 0xAARRGGBB pixels (alpha 255 opaque), rows top-down; false for anything but
// an uncompressed or bit-field BMP of 1 to 32 bits per pixel.
bool decodeBMP(const unsigned char* data, std::size_t size, int& width, int& height, std::vector<std::uint32_t>& out) {
    if (size < 54 || data[0] != 'B' || data[1] != 'M') return false;
    const std::uint32_t offset = readLE(data + 10, 4);
    const std::uint32_t headerSize = readLE(data + 14, 4);
    const std::int32_t w = static_cast<std::int32_t>(readLE(data + 18, 4));
    const std::int32_t h = static_cast<std::int32_t>(readLE(data + 22, 4));
    const unsigned planes = readLE(data + 26, 2), bpp = readLE(data + 28, 2);
    const unsigned compression = readLE(data + 30, 4);
    if (planes != 1 || (compression != 0 && compression != 3) || bpp < 1 || bpp > 32 || w <= 0 || h == 0 ||
        h == INT32_MIN || headerSize < 40)
        return false;
    const bool topDown = h < 0;
    width = w;
    height = topDown ? -h : h;
    if (static_cast<long long>(width) * height > (1LL << 28)) return false;
    Field red(0x00ff0000), green(0x0000ff00), blue(0x000000ff), alpha(0);
    if (bpp == 16 && compression == 0) red = Field(0x7c00), green = Field(0x03e0), blue = Field(0x001f);
    if (compression == 3) {
        const std::size_t masks = headerSize > 40 ? 14 + 40 : 14 + headerSize;
        if (size < masks + 12) return false;
        red = Field(readLE(data + masks, 4));
        green = Field(readLE(data + masks + 4, 4));
        blue = Field(readLE(data + masks + 8, 4));
        if (headerSize >= 56 && size >= masks + 16) alpha = Field(readLE(data + masks + 12, 4));
    }
    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        std::uint32_t colours = readLE(data + 46, 4);
        if (!colours) colours = 1u << bpp;
        const std::size_t at = 14 + headerSize;
        for (std::uint32_t i = 0; i < colours && at + 4 * i + 4 <= size; ++i)
            palette.push_back(0xff000000u | readLE(data + at + 4 * i, 3));
    }
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    if (offset > size || rowBytes * height > size - offset) return false;
    out.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + offset + rowBytes * (topDown ? y : height - 1 - y);
        std::uint32_t* dst = out.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (bpp <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * bpp;
                const unsigned index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                dst[x] = index < palette.size() ? palette[index] : 0xff000000u;
                continue;
            }
            const std::uint32_t v = readLE(row + static_cast<std::size_t>(x) * (bpp / 8), static_cast<int>(bpp / 8));
            const unsigned a = alpha.get(v, 255);
            // BMPs with alpha hold colours multiplied by it; pictures hold them straight.
            auto straight = [a](unsigned c) { return a == 255 ? c : a == 0 ? 0 : std::min(255u, (c * 255 + a / 2) / a); };
            dst[x] = (a << 24) | (straight(red.get(v, 0)) << 16) | (straight(green.get(v, 0)) << 8) | straight(blue.get(v, 0));
        }
    }
    return true;
}

REALpicture pictureFromBMP(const char* data, int len) {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    if (!data || len <= 0 || !decodeBMP(reinterpret_cast<const unsigned char*>(data), static_cast<std::size_t>(len),
                                        width, height, pixels))
        return nullptr;
    auto lock = lockPicture.get();
    REALpicture pic = lock ? newPicture(width, height) : nullptr;
    REALpictureDescription desc{};
    if (!pic || !lock(pic, &desc)) return pic;
    if (desc.bitsPerPixel == 32 && desc.width == width && desc.height == height) {
        for (int y = 0; y < height; ++y)
            std::memcpy(static_cast<char*>(desc.data) + static_cast<std::ptrdiff_t>(y) * desc.bytesPerRow,
                        pixels.data() + static_cast<std::size_t>(y) * width, static_cast<std::size_t>(width) * 4);
    }
    if (auto f = unlockPicture.get()) f(pic);
    if (auto f = clearCache.get()) f(pic);
    return pic;
}

int intProperty(REALobject o, const char* name) {
    std::int32_t v = 0;
    auto f = getPropInt.get();
    return f && f(o, name, &v) ? v : 0;
}

// The picture's pixels as library colours, rows top-down.
std::vector<int> libraryPixels(REALpicture pic, int& width, int& height) {
    if (!pic) throw HostRaise{"NilObjectException", "picture is nil"};
    width = intProperty(pic, "Width");
    height = intProperty(pic, "Height");
    bool hasAlpha = false;
    if (auto f = getPropBool.get()) f(pic, "HasAlphaChannel", &hasAlpha);
    std::vector<int> out;
    if (width <= 0 || height <= 0) return out;
    if (auto type = pictureType.get(); type && type(pic) != kREALPictureBitmap) {
        REALpicture bitmap = bitmapOf(pic, width, height);
        if (bitmap) out = libraryPixels(bitmap, width, height);
        unlock(bitmap);
        return out;
    }
    auto lock = lockPicture.get();
    REALpictureDescription desc{};
    if (!lock || !lock(pic, &desc)) return out;
    out.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height && y < desc.height; ++y)
        for (int x = 0; x < width && x < desc.width; ++x) {
            const std::uint32_t p = static_cast<const std::uint32_t*>(
                static_cast<const void*>(static_cast<const char*>(desc.data) + static_cast<std::ptrdiff_t>(y) * desc.bytesPerRow))[x];
            const std::uint32_t a = hasAlpha ? p >> 24 : 255;
            out[static_cast<std::size_t>(y) * width + x] = static_cast<int>(((255 - a) << 24) | (p & 0xffffff));
        }
    if (auto f = unlockPicture.get()) f(pic);
    if (hasAlpha) return out;
    // Without alpha the mask says what shows: black opaque, white transparent.
    auto maskOf = pictureMask.get();
    REALpicture mask = maskOf ? maskOf(pic, false) : nullptr;
    if (mask && lock(mask, &desc)) {
        for (int y = 0; y < height && y < desc.height; ++y)
            for (int x = 0; x < width && x < desc.width; ++x) {
                const std::uint32_t m = static_cast<const std::uint32_t*>(static_cast<const void*>(
                    static_cast<const char*>(desc.data) + static_cast<std::ptrdiff_t>(y) * desc.bytesPerRow))[x];
                int& c = out[static_cast<std::size_t>(y) * width + x];
                c = static_cast<int>((((m >> 16) & 0xff) << 24) | (static_cast<std::uint32_t>(c) & 0xffffff));
            }
        if (auto f = unlockPicture.get()) f(mask);
    }
    unlock(mask);
    return out;
}

}  // namespace

REALpicture makeChartPicture(REALobject self) {
    return call<abc::BaseChart>(self, kDef_PVBaseChartRQX, [&](abc::BaseChart* w) -> REALpicture {
        const char* data = nullptr;
        int len = 0;
        if (!w->makeChart2(PV_BMP, &data, &len)) return nullptr;
        return pictureFromBMP(data, len);
    });
}

REALpicture outPicture(REALobject self) {
    return call<abc::DrawArea>(self, kDef_PVDrawAreaRQX, [&](abc::DrawArea* w) -> REALpicture {
        const char* data = nullptr;
        int len = 0;
        if (!w->outBMP2(&data, &len)) return nullptr;
        return pictureFromBMP(data, len);
    });
}

namespace {

// A pattern colour made from the picture's pixels by the chart or drawing W.
template <class W>
RBInteger pictureColor(REALobject self, const REALclassDefinition& root, REALpicture pic, RBInteger startX,
                       RBInteger startY) {
    return call<W>(self, root, [&](W* w) -> RBInteger {
        int width = 0, height = 0;
        const std::vector<int> pixels = libraryPixels(pic, width, height);
        if (pixels.empty()) return -1;
        return w->patternColor(pixels.data(), static_cast<int>(pixels.size()), height, px(startX), px(startY));
    });
}

// The picture as the symbol of W's data points: drawn once into a drawing of its size.
template <class W>
void pictureSymbol(REALobject self, const REALclassDefinition& root, REALpicture pic) {
    call<W>(self, root, [&](W* w) {
        int width = 0, height = 0;
        const std::vector<int> pixels = libraryPixels(pic, width, height);
        if (pixels.empty()) return;
        // The symbol keeps its own reference to the drawing.
        abc::DrawArea symbol;
        symbol.setSize(width, height, PV_Transparent);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) symbol.pixel(x, y, pixels[static_cast<std::size_t>(y) * width + x]);
        w->setDataSymbol3(&symbol);
    });
}

}  // namespace

RBInteger chartPatternColor(REALobject self, REALpicture pic, RBInteger startX, RBInteger startY) {
    return pictureColor<abc::BaseChart>(self, kDef_PVBaseChartRQX, pic, startX, startY);
}

RBInteger drawAreaPatternColor(REALobject self, REALpicture pic, RBInteger startX, RBInteger startY) {
    return pictureColor<abc::DrawArea>(self, kDef_PVDrawAreaRQX, pic, startX, startY);
}

void dataSetSymbolPicture(REALobject self, REALpicture pic) {
    pictureSymbol<abc::DataSet>(self, kDef_PVDataSetRQX, pic);
}

void polarLayerSymbolPicture(REALobject self, REALpicture pic) {
    pictureSymbol<abc::PolarLayer>(self, kDef_PVPolarLayerRQX, pic);
}

void scatterGroupSymbolPicture(REALobject self, REALpicture pic) {
    pictureSymbol<abc::ThreeDScatterGroup>(self, kDef_PVThreeDScatterGroupRQX, pic);
}

}  // namespace host

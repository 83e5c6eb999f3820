// Text: glyph coverage bitmaps blended in a gamma-corrected space.
//
// Consumes the 8-bit coverage bitmaps of the font engine, grey (one byte a pixel) or colour
// sub-pixel (three bytes a pixel: red, green and blue coverage), and a text anti-alias mode; produces
// blended pixels. Coverage multiplies the colour's opacity. Over an opaque pixel each channel is
// mixed as back((fwd(src) * a + fwd(dst) * (255 - a)) / 255), with fwd(v) = (v/255)^(gamma) and back
// its inverse, both 256-entry tables rebuilt only when the gamma changes (the usual gamma's tables
// are made once per process); this keeps thin dark text on light backgrounds from looking washed
// out. Over a pixel with transparency the plain blend is used. Kind 0 thresholds coverage at one
// half; the sub-pixel kinds use a coverage per channel (kind 4 averages it back to one value). A
// super pixel under a glyph is released first.
//
// Nearly all text is grey coverage in a plain colour: that case has its own loop, which takes the
// source side of the mix out of the pixel loop and writes fully covered pixels of opaque text
// directly. The general loop stays as the reference it must match.
//
// Text turned by quarter turns (labels along a y axis) is blended straight from the upright
// bitmaps: each glyph's placement carries the byte steps that walk its bitmap along a canvas row
// and down a canvas column, so a turned glyph costs what an upright one does and needs neither a
// turned copy nor a canvas of its own.
#include "draw/glyphblend_p.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "draw/canvas_p.h"
#include "draw/glyph_p.h"

namespace plotvane {

namespace {

constexpr int kDefaultGamma = 140;

struct GammaTables {
    uint8_t forward[256];
    uint8_t back[256];
};

void buildTables(int gamma, uint8_t* forward, uint8_t* back) {
    const double e = gamma / 100.0;
    for (int v = 0; v < 256; ++v) {
        forward[v] = static_cast<uint8_t>(std::lround(std::pow(v / 255.0, e) * 255));
        back[v] = static_cast<uint8_t>(std::lround(std::pow(v / 255.0, 1 / e) * 255));
    }
}

// Every canvas (and every turned label's own canvas) starts with these.
const GammaTables& defaultTables() {
    static const GammaTables tables = [] {
        GammaTables t;
        buildTables(kDefaultGamma, t.forward, t.back);
        return t;
    }();
    return tables;
}

}  // namespace

// One glyph's bitmap on the canvas, clipped: pixels [x0, x1] x [y0, y1] inclusive. The coverage
// of canvas pixel (left, top) is at `origin`; one pixel right is xStep bytes on, one down yStep.
struct GlyphBlender::Placement {
    const unsigned char* origin;
    std::ptrdiff_t xStep, yStep;
    bool sub;
    int left, top;
    int x0, x1, y0, y1;

    const unsigned char* at(int x, int y) const { return origin + (y - top) * yStep + (x - left) * xStep; }
};

namespace {

// Where the glyph's bitmap goes: a (a0, b0) upright at the pixel offset of its top-left corner
// from the turn's pivot, w x h pixels; turned, the box and the walk through the bitmap.
bool placeTurned(const FontGlyph& fg, long long a0, long long b0, int bpp, int turn, long long& left,
                 long long& top, int& width, int& height, const unsigned char*& origin, std::ptrdiff_t& xStep,
                 std::ptrdiff_t& yStep) {
    const int w = fg.pitch / bpp, h = fg.rows;
    const std::ptrdiff_t pitch = fg.pitch, last = static_cast<std::ptrdiff_t>(w - 1) * bpp;
    switch (turn) {
        case 0:
            left = a0, top = b0, width = w, height = h;
            origin = fg.bitmap, xStep = bpp, yStep = pitch;
            return true;
        case 90:
            left = b0, top = -a0 - w, width = h, height = w;
            origin = fg.bitmap + last, xStep = pitch, yStep = -bpp;
            return true;
        case 180:
            left = -a0 - w, top = -b0 - h, width = w, height = h;
            origin = fg.bitmap + (h - 1) * pitch + last, xStep = -bpp, yStep = -pitch;
            return true;
        case 270:
            left = -b0 - h, top = a0, width = h, height = w;
            origin = fg.bitmap + (h - 1) * pitch, xStep = -pitch, yStep = bpp;
            return true;
        default:
            return false;
    }
}

}  // namespace

void GlyphBlender::decodeMode(int mode, int& kind, int& gamma) {
    kind = mode & 63;
    gamma = (mode >> 6) & 1023;
    if (kind == 2) {
        kind = 5;
        gamma = kDefaultGamma;
    }
    if (kind == 3) kind = 4;
    if (gamma == 0) gamma = kDefaultGamma;
}

void GlyphBlender::setGamma(int gamma) {
    if (gamma == gamma_) return;
    gamma_ = gamma;
    if (gamma == kDefaultGamma) {
        std::memcpy(forward_, defaultTables().forward, sizeof forward_);
        std::memcpy(back_, defaultTables().back, sizeof back_);
    } else {
        buildTables(gamma, forward_, back_);
    }
}

void GlyphBlender::draw(Canvas& cv, const GlyphContainer& glyphs, int first, int end, int dx, int dy,
                        uint32_t color, int turn) {
    run(cv, glyphs, first, end, dx, dy, color, turn, true);
}

void GlyphBlender::drawReference(Canvas& cv, const GlyphContainer& glyphs, int first, int end, int dx, int dy,
                                 uint32_t color, int turn) {
    run(cv, glyphs, first, end, dx, dy, color, turn, false);
}

void GlyphBlender::run(Canvas& cv, const GlyphContainer& glyphs, int first, int end, int dx, int dy,
                       uint32_t color, int turn, bool fast) {
    int kind, gamma;
    decodeMode(cv.textMode(), kind, gamma);
    setGamma(gamma);
    first = std::max(first, 0);
    end = std::min(end, glyphs.size());
    Placement placed;
    const Placement* pending = nullptr;  // placed, waiting to be blended
    uint32_t pendingColor = 0;
    for (int gi = first; gi < end; ++gi) {
        const Glyph& g = glyphs[gi];
        const FontGlyph* fg = g.glyph;
        if (!fg || !fg->bitmap || g.ch == kSpacerChar || fg->pitch <= 0 || fg->rows <= 0) continue;
        // The layout folds offsets into the pen position.
        if (!(std::fabs(g.x0) < 1e9 && std::fabs(g.y0) < 1e9)) continue;
        const uint32_t c = g.color == -1 ? color : static_cast<uint32_t>(g.color);
        if (c == kTransparent) continue;
        Placement p;
        p.sub = fg->format == FontGlyph::ColorSubpixel;
        const int bpp = p.sub ? 3 : 1;
        long long left, top;
        int width, height;
        if (!placeTurned(*fg, static_cast<long long>(std::floor(g.x0 + 0.5)) + fg->left,
                         static_cast<long long>(std::floor(g.y0 + 0.5)) - fg->top, bpp, turn, left, top, width,
                         height, p.origin, p.xStep, p.yStep))
            return;
        left += dx;
        top += dy;
        if (left < cv.clip.left - width || left > cv.clip.right || top < cv.clip.top - height || top > cv.clip.bottom)
            continue;
        p.left = static_cast<int>(left);
        p.top = static_cast<int>(top);
        p.x0 = std::max(p.left, cv.clip.left);
        p.x1 = std::min(p.left + width - 1, cv.clip.right);
        p.y0 = std::max(p.top, cv.clip.top);
        p.y1 = std::min(p.top + height - 1, cv.clip.bottom);
        if (p.x0 > p.x1 || p.y0 > p.y1) continue;
        // A glyph touches a few pixels on each of a dozen rows of a canvas that is usually far
        // larger than the cache: its rows are asked for while the glyph before it is blended. So is
        // its bitmap, which the canvas has often pushed out of the cache when a text uses many
        // different glyphs.
        for (int y = p.y0; y <= p.y1; ++y) {
            __builtin_prefetch(cv.pixels() + cv.index(p.x0, y), 1);
            __builtin_prefetch(cv.pixels() + cv.index(p.x1, y), 1);
        }
        for (std::ptrdiff_t k = 0, size = std::min<std::ptrdiff_t>(std::ptrdiff_t{fg->pitch} * fg->rows, 1024); k < size; k += 64)
            __builtin_prefetch(fg->bitmap + k);
        if (pending) blendPlaced(cv, *pending, kind, pendingColor, fast);
        placed = p;
        pending = &placed;
        pendingColor = c;
    }
    if (pending) blendPlaced(cv, *pending, kind, pendingColor, fast);
}

void GlyphBlender::blendPlaced(Canvas& cv, const Placement& p, int kind, uint32_t c, bool fast) {
    if (fast && !p.sub && !Canvas::isCode(c))
        blendGreyLiteral(cv, p, kind, c);
    else
        blendGeneral(cv, p, kind, c);
}

void GlyphBlender::blendGeneral(Canvas& cv, const Placement& p, int kind, uint32_t c) {
    const bool sub = p.sub;
    for (int y = p.y0; y <= p.y1; ++y) {
        const unsigned char* q = p.at(p.x0, y);
        for (int x = p.x0; x <= p.x1; ++x, q += p.xStep) {
            uint32_t cov[3] = {q[0], q[sub ? 1 : 0], q[sub ? 2 : 0]};
            if (sub && kind != 5) cov[0] = cov[1] = cov[2] = (cov[0] + cov[1] + cov[2] + 1) / 3;
            if (kind == 0)
                for (uint32_t& k : cov) k = k >= 128 ? 255 : 0;
            if ((cov[0] | cov[1] | cov[2]) == 0) continue;
            const uint32_t s = Canvas::isCode(c) ? cv.colorAt(c, x, y) : c;
            const uint32_t opacity = 255 - (s >> 24);
            if (opacity == 0) continue;
            const size_t i = cv.index(x, y);
            cv.store(i, cv.plainAt(i));
            uint32_t& d = cv.pixels()[i];
            if ((d >> 24) != 0 || kind == 0) {
                cv.blendInto(d, withOpacity(s, (cov[0] + cov[1] + cov[2]) / 3));
                continue;
            }
            uint32_t out = 0;
            for (int ch = 0; ch < 3; ++ch) {
                const int shift = 16 - 8 * ch;
                const uint32_t a = cov[ch] * opacity / 255;
                const uint32_t sv = forward_[(s >> shift) & 255], dv = forward_[(d >> shift) & 255];
                out |= static_cast<uint32_t>(back_[(sv * a + dv * (255 - a) + 127) / 255]) << shift;
            }
            d = out;
        }
    }
}

// Grey coverage in a literal colour. Over an opaque pixel the three channels are mixed at once:
// their gamma values sit in 16-bit lanes of one 64-bit word, every lane's sum stays below 65535,
// and there floor(v / 255) is (v + (v >> 8) + 1) >> 8, so one multiply per operand and a few
// shifts replace three divisions. Translucent, transparent and super pixels, and kind 0, go
// through onePixel(), the general path's arithmetic for a single pixel.
void GlyphBlender::blendGreyLiteral(Canvas& cv, const Placement& p, int kind, uint32_t s) {
    const uint32_t opacity = 255 - (s >> 24);
    if (opacity == 0) return;
    auto lanes = [](uint32_t r, uint32_t g, uint32_t b) {
        return (static_cast<uint64_t>(r) << 32) | (static_cast<uint64_t>(g) << 16) | b;
    };
    const uint64_t source = lanes(forward_[(s >> 16) & 255], forward_[(s >> 8) & 255], forward_[s & 255]);
    const uint32_t solid = (static_cast<uint32_t>(back_[forward_[(s >> 16) & 255]]) << 16) |
                           (static_cast<uint32_t>(back_[forward_[(s >> 8) & 255]]) << 8) | back_[forward_[s & 255]];
    const bool opaque = opacity == 255;
    // Opaque text over opaque pixels leaves an uncovered pixel and paints a covered one solid: a
    // select rather than a branch, since which of the two a pixel is follows the glyph's shape, and
    // a text of more than a few hundred different glyphs defeats the branch predictor.
    const bool select = opaque && kind != 0;
    uint32_t* pixels = cv.pixels();
    for (int y = p.y0; y <= p.y1; ++y) {
        const unsigned char* q = p.at(p.x0, y);
        uint32_t* line = pixels + cv.index(0, y);
        for (int x = p.x0; x <= p.x1; ++x, q += p.xStep) {
            const uint32_t k = *q;
            uint32_t& d = line[x];
            const uint32_t before = d;
            if (select && (before >> 24) == 0 && k - 1 >= 254) {
                d = k ? solid : before;
                continue;
            }
            if (k == 0) continue;
            if ((d >> 24) != 0 || kind == 0) {
                onePixel(cv, d, kind, s, k);
                continue;
            }
            if (k == 255 && opaque) {
                d = solid;
                continue;
            }
            const uint32_t a = opaque ? k : k * opacity / 255;
            uint64_t v = source * a +
                         lanes(forward_[(d >> 16) & 255], forward_[(d >> 8) & 255], forward_[d & 255]) * (255 - a) +
                         0x007f007f007fu;
            v = (v + ((v >> 8) & 0x00ff00ff00ffu) + 0x000100010001u) >> 8;
            d = (static_cast<uint32_t>(back_[(v >> 32) & 255]) << 16) |
                (static_cast<uint32_t>(back_[(v >> 16) & 255]) << 8) | back_[v & 255];
        }
    }
}

// One pixel of grey coverage k (not 0) in the literal colour s, as the general path blends it.
void GlyphBlender::onePixel(Canvas& cv, uint32_t& d, int kind, uint32_t s, uint32_t k) {
    if (kind == 0) {
        if (k < 128) return;
        k = 255;
    }
    const size_t i = static_cast<size_t>(&d - cv.pixels());
    cv.store(i, cv.plainAt(i));
    if ((d >> 24) != 0 || kind == 0) {
        d = blend(withOpacity(s, k), d);
        return;
    }
    const uint32_t a = k * (255 - (s >> 24)) / 255;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t sv = forward_[(s >> shift) & 255], dv = forward_[(d >> shift) & 255];
        out |= static_cast<uint32_t>(back_[(sv * a + dv * (255 - a) + 127) / 255]) << shift;
    }
    d = out;
}

}  // namespace plotvane

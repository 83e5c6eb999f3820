// Text: glyph coverage bitmaps blended in a gamma-corrected space.
//
// Consumes the 8-bit coverage bitmaps of the font engine, grey (one byte a pixel) or colour
// sub-pixel (three bytes a pixel: red, green and blue coverage), and a text anti-alias mode; produces
// blended pixels. Coverage multiplies the colour's opacity. Over an opaque pixel each channel is
// mixed as back((fwd(src) * a + fwd(dst) * (255 - a)) / 255), with fwd(v) = (v/255)^(gamma) and back
// its inverse, both 256-entry tables rebuilt only when the gamma changes; this keeps thin dark text
// on light backgrounds from looking washed out. Over a pixel with transparency the plain blend is
// used. Kind 0 thresholds coverage at one half; the sub-pixel kinds use a coverage per channel
// (kind 4 averages it back to one value). A super pixel under a glyph is released first.
#include "draw/glyphblend_p.h"

#include <algorithm>
#include <cmath>

#include "draw/canvas_p.h"
#include "draw/glyph_p.h"

namespace plotvane {

namespace {
constexpr int kDefaultGamma = 140;
}

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
    const double e = gamma / 100.0;
    for (int v = 0; v < 256; ++v) {
        forward_[v] = static_cast<uint8_t>(std::lround(std::pow(v / 255.0, e) * 255));
        back_[v] = static_cast<uint8_t>(std::lround(std::pow(v / 255.0, 1 / e) * 255));
    }
}

void GlyphBlender::draw(Canvas& cv, const GlyphContainer& glyphs, int first, int end, int dx, int dy,
                        uint32_t color) {
    int kind, gamma;
    decodeMode(cv.textMode(), kind, gamma);
    setGamma(gamma);
    first = std::max(first, 0);
    end = std::min(end, glyphs.size());
    for (int gi = first; gi < end; ++gi) {
        const Glyph& g = glyphs[gi];
        const FontGlyph* fg = g.glyph;
        if (!fg || !fg->bitmap || g.ch == kSpacerChar || fg->pitch <= 0 || fg->rows <= 0) continue;
        const double px = dx + g.x0, py = dy + g.y0;  // the layout folds offsets into the pen position
        if (!(std::fabs(px) < 1e9 && std::fabs(py) < 1e9)) continue;
        const uint32_t c = g.color == -1 ? color : static_cast<uint32_t>(g.color);
        if (c == kTransparent) continue;
        const bool sub = fg->format == FontGlyph::ColorSubpixel;
        const int bpp = sub ? 3 : 1;
        const int w = fg->pitch / bpp;
        const int left = static_cast<int>(std::floor(px + 0.5)) + fg->left;
        const int top = static_cast<int>(std::floor(py + 0.5)) - fg->top;
        const int x0 = std::max(left, cv.clip.left), x1 = std::min(left + w - 1, cv.clip.right);
        const int y0 = std::max(top, cv.clip.top), y1 = std::min(top + fg->rows - 1, cv.clip.bottom);
        for (int y = y0; y <= y1; ++y) {
            const unsigned char* row = fg->bitmap + static_cast<size_t>(y - top) * fg->pitch;
            for (int x = x0; x <= x1; ++x) {
                const unsigned char* p = row + static_cast<size_t>(x - left) * bpp;
                uint32_t cov[3] = {p[0], p[sub ? 1 : 0], p[sub ? 2 : 0]};
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
}

}  // namespace plotvane

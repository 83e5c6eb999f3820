#ifndef PLOTVANE_DRAW_BLEND_P_H
#define PLOTVANE_DRAW_BLEND_P_H

// Blending of 0xTTRRGGBB colours, where the top byte is transparency (0 opaque, 255 invisible).
//
// Consumes a literal source colour and the stored destination word; produces the new stored word.
// Everything is integer arithmetic: the common case (an opaque destination) mixes red and blue as
// one packed pair under the mask 0x00ff00ff and green alone, so a blend costs two multiplies per
// operand. A result that ends fully transparent is always stored as exactly 0xff000000, because
// stored words from 0xff800000 up are super-pixel references, never colours.

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plotvane {

constexpr uint32_t kTransparent = 0xff000000u;
// Stored words from here up refer to super-pixel records; colour codes from here up are brushes.
constexpr uint32_t kFirstCode = 0xff800000u;

inline uint32_t transparencyOf(uint32_t c) {
    return c >> 24;
}

// Fully transparent colours collapse to the one canonical value.
inline uint32_t canonical(uint32_t c) {
    return (c >> 24) == 255 ? kTransparent : c;
}

inline uint32_t blend(uint32_t s, uint32_t d) {
    const uint32_t ts = s >> 24;
    if (ts == 255) return d;
    const uint32_t td = d >> 24;
    if (ts == 0 || td == 255) return s;
    if (td == 0) {
        const uint32_t a = ts >= 128 ? ts + 1 : ts;
        const uint32_t rb =
            (((s & 0xff00ffu) * (256 - a) + (d & 0xff00ffu) * a + 0x800080u) >> 8) & 0xff00ffu;
        const uint32_t g = (((s & 0xff00u) * (256 - a) + (d & 0xff00u) * a + 0x8000u) >> 8) & 0xff00u;
        return rb | g;
    }
    const uint32_t k = (255 - td) * ts;
    const uint32_t sw = (255 - ts) * 255;
    const uint32_t den = 65025 - td * ts;
    const uint32_t t = td * ts / 255;
    if (t >= 255) return kTransparent;
    const uint32_t r = (((d >> 16) & 255) * k + ((s >> 16) & 255) * sw) / den;
    const uint32_t g = (((d >> 8) & 255) * k + ((s >> 8) & 255) * sw) / den;
    const uint32_t b = ((d & 255) * k + (s & 255) * sw) / den;
    return (t << 24) | (r << 16) | (g << 8) | b;
}

// One source colour blended over many words: the source's share of the packed channels is taken
// once, so each opaque destination costs two multiplies and no branch on the source. Equal to
// blend(s, d) for every d.
class BlendSource {
public:
    explicit BlendSource(uint32_t s) : s_(s) {
        const uint32_t ts = s >> 24;
        a_ = ts >= 128 ? ts + 1 : ts;
        rb_ = (s & 0xff00ffu) * (256 - a_) + 0x800080u;
        g_ = (s & 0xff00u) * (256 - a_) + 0x8000u;
        mixes_ = ts != 0 && ts != 255;
    }
    uint32_t over(uint32_t d) const {
        if (!mixes_ || (d >> 24) != 0) return blend(s_, d);
        return (((rb_ + (d & 0xff00ffu) * a_) >> 8) & 0xff00ffu) | (((g_ + (d & 0xff00u) * a_) >> 8) & 0xff00u);
    }
    uint32_t color() const { return s_; }
    // Over n contiguous words, none of them a super-pixel reference.
    void overRow(uint32_t* d, int n) const;

private:
    uint32_t s_, a_, rb_, g_;
    bool mixes_;
};

// Four words at a time where SSE2 is at hand. Each channel's mix, s * (256 - a) + d * a + 128, stays
// below 65536, so channels unpacked to 16-bit lanes give exactly the packed pairs' result; a group
// of four with any destination that is not opaque goes word by word. Opaque words keep transparency
// 0: their lane and its base are both zero.
inline void BlendSource::overRow(uint32_t* d, int n) const {
    int i = 0;
    if (!mixes_) {
        if ((s_ >> 24) == 0)
            std::fill_n(d, n, s_);
        else
            for (; i < n; ++i) d[i] = blend(s_, d[i]);
        return;
    }
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i weight = _mm_set1_epi16(static_cast<short>(a_));
    const uint32_t keep = 256 - a_;
    const auto lane = [&](int shift) { return static_cast<short>(((s_ >> shift) & 255) * keep + 128); };
    const __m128i base = _mm_setr_epi16(lane(0), lane(8), lane(16), 0, lane(0), lane(8), lane(16), 0);
    for (; i + 4 <= n; i += 4) {
        __m128i* p = reinterpret_cast<__m128i*>(d + i);
        const __m128i v = _mm_loadu_si128(p);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(v, 24), zero)) != 0xffff) {
            for (int k = i; k < i + 4; ++k) d[k] = over(d[k]);
            continue;
        }
        const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), weight), base), 8);
        const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), weight), base), 8);
        _mm_storeu_si128(p, _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) d[i] = over(d[i]);
}

// The colour with its opacity multiplied by k/16 (k in 0..16).
inline uint32_t withCoverage(uint32_t c, uint32_t k) {
    const uint32_t t = 255 - (((255 - (c >> 24)) * k) >> 4);
    return t == 255 ? kTransparent : (t << 24) | (c & 0xffffffu);
}

// The colour with its opacity multiplied by a/255.
inline uint32_t withOpacity(uint32_t c, uint32_t a) {
    const uint32_t t = 255 - (255 - (c >> 24)) * a / 255;
    return t == 255 ? kTransparent : (t << 24) | (c & 0xffffffu);
}

// Brightness scaled by k/1024: darker below 1024 by multiplying, lighter above by moving towards
// white.
inline uint32_t rawColorAdjustBrightness(uint32_t c, int k) {
    if ((c >> 24) == 255) return kTransparent;
    if (k < 0) return c & 0xff000000u;
    uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
    if (k <= 1024) {
        r = (r * k) >> 10;
        g = (g * k) >> 10;
        b = (b * k) >> 10;
    } else {
        const uint32_t m = static_cast<uint32_t>((k / 2 + 262144) / k);
        r = 255 - (((255 - r) * m) >> 8);
        g = 255 - (((255 - g) * m) >> 8);
        b = 255 - (((255 - b) * m) >> 8);
    }
    return (c & 0xff000000u) | (r << 16) | (g << 8) | b;
}

// True when every channel, transparency included, differs by at most `tolerance`.
inline bool nearColor(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

// Per-channel weighted mean of a (weight wa) and b (weight wb), rounded; transparent results are
// canonical.
inline uint32_t mixColors(uint32_t a, uint32_t wa, uint32_t b, uint32_t wb) {
    const uint32_t total = wa + wb;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t v = (((a >> shift) & 255) * wa + ((b >> shift) & 255) * wb + total / 2) / total;
        out |= v << shift;
    }
    return canonical(out);
}

}  // namespace plotvane

#endif

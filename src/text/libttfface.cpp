// Sized faces and glyph rendering.
//
// A sized face is a font file at one pixel size with optional synthetic bold and italic. Many sized
// faces share one FreeType face, so each sets its pixel size again before loading a glyph if
// another used the face meanwhile. Glyphs are rendered once per character and effective render
// mode and kept as 8-bit coverage (three bytes a pixel for colour sub-pixel text).
//
// Small text is drawn without anti-aliasing in the automatic mode: below 15 points (8 for bold
// faces) hinted monochrome glyphs are crisper than grey ones on a screen. Monochrome and the
// sub-pixel modes load with LCD-targeted hinting, which keeps horizontal positions unsnapped.
// Synthetic italic shears the outline before rendering where there is an outline; bitmap
// finishing (bold, italic for bitmaps, the LCD filter) lives in glyphbitmap.cpp.

#include "text/fontspec_p.h"
#include "text/libttfdriver_p.h"
#include "text/textlock_p.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace plotvane {

namespace {

uint64_t glyphKey(int ch, int mode) {
    return (static_cast<uint64_t>(mode) << 32) | static_cast<uint32_t>(ch);
}

// Copies a rendered FreeType bitmap into byte coverage; false for pixel formats text cannot use.
bool importBitmap(const FT_Bitmap& src, GlyphBitmap& b) {
    int rows = static_cast<int>(src.rows);
    int width = static_cast<int>(src.width);
    int pitch = std::abs(src.pitch);
    auto row = [&](int y) {
        return src.pitch >= 0 ? src.buffer + static_cast<ptrdiff_t>(y) * pitch
                              : src.buffer + static_cast<ptrdiff_t>(rows - 1 - y) * pitch;
    };
    switch (src.pixel_mode) {
        case FT_PIXEL_MODE_MONO:
            b.resize(width, rows);
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < width; ++x) b.row(y)[x] = (row(y)[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            return true;
        case FT_PIXEL_MODE_GRAY: {
            int top = std::max(1, src.num_grays - 1);
            b.resize(width, rows);
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < width; ++x) b.row(y)[x] = static_cast<unsigned char>(std::min(255, row(y)[x] * 255 / top));
            return true;
        }
        case FT_PIXEL_MODE_LCD:
            b.bytesPerPixel = 3;
            b.resize(width - width % 3, rows);
            for (int y = 0; y < rows; ++y) std::copy(row(y), row(y) + b.width, b.row(y));
            return true;
        case FT_PIXEL_MODE_BGRA:
            b.resize(width, rows);
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < width; ++x) b.row(y)[x] = row(y)[4 * x + 3];
            return true;
        default:
            return false;
    }
}

struct OutlineWriter {
    GlyphOutline& out;

    void add(GlyphOutline::Op op, std::initializer_list<const FT_Vector*> points) {
        out.ops.push_back(op);
        for (const FT_Vector* p : points) {
            out.xy.push_back(p->x / 64.0);
            out.xy.push_back(p->y / 64.0);
        }
    }
    static int move(const FT_Vector* to, void* w) { return static_cast<OutlineWriter*>(w)->add(GlyphOutline::Move, {to}), 0; }
    static int line(const FT_Vector* to, void* w) { return static_cast<OutlineWriter*>(w)->add(GlyphOutline::Line, {to}), 0; }
    static int conic(const FT_Vector* c, const FT_Vector* to, void* w) {
        return static_cast<OutlineWriter*>(w)->add(GlyphOutline::Quad, {c, to}), 0;
    }
    static int cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* w) {
        return static_cast<OutlineWriter*>(w)->add(GlyphOutline::Cubic, {c1, c2, to}), 0;
    }
};

}  // namespace

LibTTFFontGlyph::LibTTFFontGlyph(LibTTFSizedFontFace* face, int mode, GlyphBitmap&& b, double advance_,
                                 double lineHeight, double now)
    : stamp(now), face_(face), mode_(mode), pixels_(std::move(b.data)) {
    advance = advance_;
    verticalAdvance = lineHeight;
    top = b.top;
    left = b.left;
    pitch = b.width;
    rows = b.rows;
    format = b.bytesPerPixel == 3 ? ColorSubpixel : Grey;
    bitmap = pixels_.empty() ? nullptr : pixels_.data();
}

LibTTFSizedFontFace::LibTTFSizedFontFace(LibTTFFontFace* parent, double height, double width, int style)
    : parent_(parent), height_(height), width_(width), style_(style) {
    pixelHeight_ = std::max(1, pointsToPixels(height));
    pixelWidth_ = pointsToPixels(width);
    FT_Face face = parent->ftFace();
    if (face && parent->usePixelSizes(pixelWidth_, pixelHeight_)) {
        const FT_Size_Metrics& m = face->size->metrics;
        ascender = static_cast<int>(m.ascender / 64);
        descender = static_cast<int>(std::labs(m.descender) / 64);
        lineHeight = static_cast<int>(m.height / 64);
    }
    if (face) {
        family_ = face->family_name ? face->family_name : "";
        const char* ps = FT_Get_Postscript_Name(face);
        psName_ = ps ? ps : "";
    }
    antiAlias_ = (style & kType1Font) || (isBold() && (height >= 8 || width >= 8)) || height >= 15 || width >= 15;
}

bool LibTTFSizedFontFace::isItalic() const {
    FT_Face face = parent_->ftFace();
    return isArtificialItalic() || (face && (face->style_flags & FT_STYLE_FLAG_ITALIC));
}

bool LibTTFSizedFontFace::isBold() const {
    FT_Face face = parent_->ftFace();
    return isArtificialBold() || (face && (face->style_flags & FT_STYLE_FLAG_BOLD));
}

double LibTTFSizedFontFace::getSizeInPixels() const {
    double small = std::min(height_, width_);
    return pointsToPixels(small > 0 ? small : std::max(height_, width_));
}

const char* LibTTFSizedFontFace::getPathName() const { return parent_->path().c_str(); }

int LibTTFSizedFontFace::getFontIndex() const { return parent_->index(); }

int LibTTFSizedFontFace::effectiveMode(int mode) const {
    bool type1 = (style_ & kType1Font) != 0;
    switch (mode & 0x3f) {
        case 0: return 0;
        case 1: return 1;
        case 4: return type1 ? 1 : 4;
        case 5: return type1 ? 1 : 5;
        default: return antiAlias_ ? 1 : 0;
    }
}

void LibTTFSizedFontFace::evictGlyphs(double now) {
    size_t before = glyphs_.size();
    for (auto it = glyphs_.begin(); it != glyphs_.end();) {
        if (it->second->refs() < 1 && std::fabs(now - it->second->stamp) >= 60)
            it = glyphs_.erase(it);
        else
            ++it;
    }
    if (glyphs_.size() != before) recent_.fill(Recent());
}

FontGlyph* LibTTFSizedFontFace::getGlyph(int ch, int mode) {
    int effective = effectiveMode(mode);
    uint64_t key = glyphKey(ch, effective);
    Recent& recent = recent_[(static_cast<uint32_t>(key) * 0x9e3779b1u + static_cast<uint32_t>(effective) * 0x85ebca6bu) >>
                             (32 - kRecentBits)];
    if (recent.key == key) {
        if (recent.glyph) recent.glyph->stamp = parent_->driver()->now();
        return recent.glyph;
    }
    auto hit = glyphs_.find(key);
    if (hit != glyphs_.end()) {
        hit->second->stamp = parent_->driver()->now();
        recent = {key, hit->second.get()};
        return hit->second.get();
    }
    if (missing_.count(ch)) {
        recent = {key, nullptr};
        return nullptr;
    }
    double now = parent_->driver()->now();
    FT_Face face = parent_->ftFace();
    if (!face) return nullptr;
    FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(static_cast<uint32_t>(ch)));
    if (index == 0 && ch != 0) {
        // Bounded: text of random code points must not grow it without end.
        if (missing_.size() < kMaxMissing) missing_.insert(ch);
        recent = {key, nullptr};
        return nullptr;
    }
    if (!parent_->usePixelSizes(pixelWidth_, pixelHeight_)) return nullptr;
    bool lcdHinting = effective == 0 || effective == 4 || effective == 5;
    if (FT_Load_Glyph(face, index, FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | (lcdHinting ? FT_LOAD_TARGET_LCD : 0)))
        return nullptr;
    FT_GlyphSlot slot = face->glyph;

    bool slantPending = (style_ & kSyntheticItalic) != 0;
    if (slantPending && effective != 0 && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Matrix shear = {0x10000, 0x4000, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
        slantPending = false;
    }
    FT_Render_Mode renderMode = (index == 0 || effective == 0)          ? FT_RENDER_MODE_MONO
                                : (effective == 4 || effective == 5) ? FT_RENDER_MODE_LCD
                                                                     : FT_RENDER_MODE_NORMAL;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, renderMode)) return nullptr;

    GlyphBitmap b;
    if (!importBitmap(slot->bitmap, b)) return nullptr;
    b.left = slot->bitmap_left;
    b.top = slot->bitmap_top;
    if (index == 0) makeHollowBox(b);
    if (style_ & kSyntheticBold) emboldenBitmap(b);
    if (slantPending) slantBitmap(b);
    if (b.bytesPerPixel == 3) {
        filterLcd(b);
        if (effective == 4) reduceLcdToGrey(b);
    }
    auto glyph = std::make_unique<LibTTFFontGlyph>(this, effective, std::move(b), slot->advance.x / 64.0, lineHeight, now);
    LibTTFFontGlyph* result = glyph.get();
    glyphs_[key] = std::move(glyph);
    recent = {key, result};
    return result;
}

bool LibTTFSizedFontFace::getOutline(int ch, GlyphOutline& out) {
    // Writers ask outside any text layout, and the face is shared with the glyph renderer.
    TextLock lock;
    out.ops.clear();
    out.xy.clear();
    FT_Face face = parent_->ftFace();
    if (!face || !parent_->usePixelSizes(pixelWidth_, pixelHeight_)) return false;
    FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(static_cast<uint32_t>(ch)));
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (style_ & kSyntheticItalic) {
        FT_Matrix shear = {0x10000, 0x4000, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (style_ & kSyntheticBold) FT_Outline_Embolden(&slot->outline, pixelHeight_ * 64 / 24);
    FT_Outline_Funcs funcs = {&OutlineWriter::move, &OutlineWriter::line, &OutlineWriter::conic, &OutlineWriter::cubic, 0, 0};
    OutlineWriter writer{out};
    return FT_Outline_Decompose(&slot->outline, &funcs, &writer) == 0;
}

}  // namespace plotvane

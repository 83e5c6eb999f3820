#ifndef PLOTVANE_DRAW_GLYPH_P_H
#define PLOTVANE_DRAW_GLYPH_P_H

// What the drawing engine needs to know of laid-out text: positioned glyphs with coverage bitmaps,
// grouped in a shared container. The font engine (src/text) implements the faces and glyphs; the
// recorder stores containers, and the back-ends blend or write them.

#include <cstddef>
#include <vector>

namespace plotvane {

// A glyph's outline in pixels from the pen position on the baseline, y growing upwards, as the
// font file has it: each contour starts with a Move; Quad takes two points, Cubic three.
struct GlyphOutline {
    enum Op : unsigned char { Move, Line, Quad, Cubic };
    std::vector<Op> ops;
    std::vector<double> xy;
};

// One font file at one size and style.
class FontFace {
public:
    virtual ~FontFace() = default;
    virtual class FontGlyph* getGlyph(int ch, int mode) = 0;
    // False when the face has no outline for the character (bitmap fonts, missing glyphs).
    virtual bool getOutline(int ch, GlyphOutline& out) = 0;
    virtual void addRef() = 0;
    virtual void release() = 0;
    virtual bool isItalic() const = 0;
    virtual bool isBold() const = 0;
    virtual bool isArtificialItalic() const = 0;
    virtual bool isArtificialBold() const = 0;
    virtual double getSizeInPixels() const = 0;
    virtual const char* getFamilyName() const = 0;
    virtual const char* getPSName() const = 0;
    virtual const char* getPathName() const = 0;
    virtual int getFontIndex() const = 0;

    int ascender = 0;    // pixels above the baseline
    int descender = 0;   // pixels below the baseline, positive
    int lineHeight = 0;  // pixels
};

// A rendered glyph: an 8-bit coverage bitmap (three bytes a pixel in the colour sub-pixel format)
// with its placement relative to the pen position on the baseline.
class FontGlyph {
public:
    virtual ~FontGlyph() = default;
    virtual void addRef() = 0;
    virtual void release() = 0;

    enum Format { Grey = 1, ColorSubpixel = 5 };

    double advance = 0;         // pixels
    double verticalAdvance = 0;  // pixels (the face's line height)
    int top = 0;                 // rows above the baseline
    int left = 0;                // left bearing in pixels
    int pitch = 0;               // bytes per bitmap row
    int rows = 0;
    int format = Grey;
    const unsigned char* bitmap = nullptr;
};

// The character code of a spacer: it has no glyph and only occupies its width.
constexpr int kSpacerChar = 65535;

// One positioned character of a run.
struct Glyph {
    int ch = 0;
    int shapedCh = 0;  // the character shown instead of ch (0 = none)
    FontFace* face = nullptr;
    int mode = 0;  // effective render mode
    FontGlyph* glyph = nullptr;
    int ascender = 0;
    int descender = 0;
    int lineGap = 0;
    int color = -1;                             // -1: the colour the text is drawn with
    int bgColor = static_cast<int>(0xff000000);  // none
    int underline = 0;                          // thickness in pixels, 0 = none
    double xOffset = 0;
    double yOffset = 0;
    // Pen position on the baseline before (x0, y0) and after (x1, y1) the glyph, offsets included,
    // relative to the top left of its line: the bitmap's top-left pixel goes at
    // (round(x0) + left, round(y0) - top) from where the line is drawn.
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    double spacerWidth = 0;
};

// A reference-counted run of glyphs; shared by a text object and every recording that draws it.
class GlyphContainer {
public:
    // Room for `capacity` glyphs up front; a run sized to its text keeps thousands of short labels
    // compact in memory.
    explicit GlyphContainer(size_t capacity = 30) { glyphs_.reserve(capacity); }
    GlyphContainer(const GlyphContainer&) = delete;
    GlyphContainer& operator=(const GlyphContainer&) = delete;

    Glyph& operator[](int i) { return glyphs_[static_cast<size_t>(i)]; }
    const Glyph& operator[](int i) const { return glyphs_[static_cast<size_t>(i)]; }
    int size() const { return static_cast<int>(glyphs_.size()); }
    std::vector<Glyph>& glyphs() { return glyphs_; }

    void addRef() { ++refs_; }
    // Drops one reference; deletes the container with the last one.
    void deRef() {
        if (--refs_ <= 0) delete this;
    }
    void setTag(int tag) { tag_ = tag; }
    int getTag() const { return tag_; }
    // A recording draws these glyphs: whoever lays them out again must work on a copy.
    void markRecorded() { recorded_ = true; }
    bool recorded() const { return recorded_; }

    // Called as the last reference goes, so the font engine can drop the glyph and face references
    // the container holds (under its own lock).
    using ReleaseHook = void (*)(GlyphContainer&);
    void setReleaseHook(ReleaseHook hook) { releaseHook_ = hook; }

private:
    ~GlyphContainer() {
        if (releaseHook_) releaseHook_(*this);
    }
    ReleaseHook releaseHook_ = nullptr;
    std::vector<Glyph> glyphs_;
    int refs_ = 1;
    int tag_ = 0;
    bool recorded_ = false;
};

}  // namespace plotvane

#endif

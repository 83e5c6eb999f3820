#ifndef PLOTVANE_TEXT_TTFTEXTIMPL_P_H
#define PLOTVANE_TEXT_TTFTEXTIMPL_P_H

#include <plotvane/ttftext.h>

#include "draw/glyph_p.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace plotvane {

class DrawAreaImpl;

// The style characters are added in. The markup parser keeps one and changes it between
// stretches of text; the pending advances are consumed by the next character.
struct TextStyle {
    std::string font = "arial.ttf";  // specification, already resolved through the font table
    int fontIndex = 0;
    double height = 10;  // points; 0 or less: no face, characters are dropped
    double width = 10;
    double angle = 0;
    int color = -1;
    int bgColor = static_cast<int>(0xff000000);
    int underline = 0;   // thickness in pixels
    int renderMode = 2;  // as adjusted for the text's angle (adjustRenderMode)
    double xOffset = 0;  // pixels
    double yOffset = 0;  // pixels, up
    double advance = 0;    // space before the next character, pixels
    double advanceTo = 0;  // the next character starts at least this far from the line start
};

// The render mode a text at this angle uses: automatic becomes grey when the text is not upright
// or sideways, colour sub-pixel becomes grey sub-pixel when it is not upright.
int adjustRenderMode(int mode, double angle);

// One run of glyphs and the line of it currently laid out. Spacers (kSpacerChar) hold a width in
// pixels, or, when negative, minus the position from the line start the pen moves on to.
class TTFTextImpl : public TTFText {
public:
    // With room for 30 glyphs, or for `capacity` when a longer text is known to come.
    TTFTextImpl(DrawArea* d, bool vertical, size_t capacity);
    ~TTFTextImpl() override;
    TTFTextImpl(const TTFTextImpl&) = delete;
    TTFTextImpl& operator=(const TTFTextImpl&) = delete;

    // Appends characters in style, taking its pending advances.
    void addText(const char32_t* chars, size_t count, TextStyle& style);
    // Puts a pending advance of style at the end of the run.
    void finish(TextStyle& style);
    void setMeasureByInk(bool byInk) { byInk_ = byInk; }
    // A character of a right-to-left script was added.
    bool needsBidi() const { return needsBidi_; }
    // Once the run is complete: levels for its glyphs (1 left to right, 2 right to left, else
    // automatic), then mirrored and Arabic forms. Nothing happens for a run without such characters.
    void computeBidiLevels(int direction);

    void destroy() override { delete this; }
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    int getLineDistance() const override { return lineDistance_; }
    int getAscender() const override { return ascender_; }
    int getDescender() const override { return descender_; }
    bool startLayout(int x, int maxWidth, int maxLines) override;
    TTFText* getNextLine() override;
    void draw(int x, int y, int color, int alignment) override;
    void drawOn(DrawArea* d, int x, int y, int color, int alignment) override;

    // What drawing the current line needs, relative to the origin (top left of the line): the
    // glyphs [lineBegin, lineEnd), background rectangles and underlines. A glyph's (x0, y0) is its
    // pen position on the baseline, offsets included: its bitmap goes at (round(x0) + left,
    // round(y0) - top). (x1, y1) is the pen position after it.
    GlyphContainer& glyphs() { return *glyphs_; }
    int lineBegin() const { return first_; }
    int lineEnd() const { return end_; }
    struct Fill {
        int x0, y0, x1, y1;  // inclusive
        int color;
    };
    struct Underline {
        int x0, x1, y;  // inclusive
        int thickness;
        int color;  // -1: the text colour
    };
    std::vector<Fill> backgrounds(int originX, int originY) const;
    std::vector<Underline> underlines(int originX, int originY) const;
    // The current line is glyphs only: no backgrounds, no underlines.
    bool isPlainLine() const;
    // Draws the current line with its top left at (x, y), turned 90, 180 or 270 degrees
    // counter-clockwise about that point.
    void drawTurned(DrawAreaImpl* d, int x, int y, int color, int turn);

private:
    TTFTextImpl(const TTFTextImpl& previous, int start);
    void addSpacers(TextStyle& style, FontFace* face);
    void addRecord(Glyph g);
    double advanceOf(const Glyph& g, double linePen) const;
    int breakLine(int overflow, int x) const;
    int truncateLine(int overflow, int x, double limit);
    void restoreTruncation();
    // Forgets the lines after this one, putting back what their truncation replaced.
    void dropContinuation();
    // Before changing glyph records a recording holds: this line and those after it move to a copy.
    void detachFromRecordings();
    void place(int x);
    void measureInk();
    void shapeGlyphs();
    // The current line's glyph indices in visual order; left empty when that is logical order.
    void lineOrder(std::vector<int>& order) const;
    // Shows display character ch for glyph i, when its face has it.
    void showAs(int i, int ch);

    DrawArea* drawArea_;
    GlyphContainer* glyphs_;
    bool vertical_;
    bool byInk_ = false;
    bool needsBidi_ = false;
    int start_ = 0;  // first glyph of this run or continuation
    int first_ = 0, end_ = 0;
    int width_ = 0, height_ = 0, ascender_ = 0, descender_ = 0, lineDistance_ = 0;
    // Metrics of the run's first face, for a line without glyphs.
    int baseAscender_ = 0, baseDescender_ = 0, baseLineGap_ = 0;
    bool hasBase_ = false;
    int maxWidth_ = 0x7fffffff;  // of the last layout, for the continuation
    // Glyphs replaced by the "..." of a truncated line, and how many dots were appended.
    std::vector<std::pair<int, Glyph>> replaced_;
    int appended_ = 0;
    std::unique_ptr<TTFTextImpl> next_;
    // One level per glyph of the run, held by its first line (which outlives the continuation
    // lines it owns) and pointed at by them; none for runs that read left to right throughout.
    std::vector<signed char> ownLevels_;
    const std::vector<signed char>* levels_ = nullptr;
    signed char paragraphLevel_ = 0;
};

}  // namespace plotvane

#endif

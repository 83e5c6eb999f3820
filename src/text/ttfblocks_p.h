#ifndef PLOTVANE_TEXT_TTFBLOCKS_P_H
#define PLOTVANE_TEXT_TTFBLOCKS_P_H

#include <plotvane/ttftext.h>

#include "text/blockparser_p.h"
#include "text/ttftextimpl_p.h"

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <string>
#include <vector>

namespace plotvane {

class PVMLScanner;

// Marked-up text: a block of lines, each holding runs of glyphs (TTFTextImpl), nested blocks and
// images side by side. Every text a chart draws is one of these; the whole string is the content
// of the top-level block.
class TTFBlocks : public TTFText {
public:
    // Nested blocks deeper than this are taken as part of the enclosing one.
    static constexpr int kMaxDepth = 32;

    // The top-level block of text, built (not yet laid out) in style at the given angle.
    static TTFBlocks* create(DrawArea* d, const std::u32string& text, const TextStyle& style, double angle,
                             bool vertical);
    ~TTFBlocks() override;
    TTFBlocks(const TTFBlocks&) = delete;
    TTFBlocks& operator=(const TTFBlocks&) = delete;

    void destroy() override { delete this; }
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    int getLineDistance() const override { return lineDistance_; }
    int getAscender() const override { return ascender_; }
    int getDescender() const override { return descender_; }
    bool startLayout(int x, int maxWidth, int maxLines) override;
    // A block is laid out as one object: never a continuation.
    TTFText* getNextLine() override { return nullptr; }
    void draw(int x, int y, int color, int alignment) override;
    void drawOn(DrawArea* d, int x, int y, int color, int alignment) override;

    // What layout produced: each piece of text with its place relative to the block's content
    // (margins not included) and its output line.
    struct Placed {
        TTFText* text;
        int x, y;
        int line;
    };
    const std::pmr::vector<Placed>& placed() const { return placed_; }
    int lineCount() const { return static_cast<int>(lines_.size()); }
    const BlockAttributes& attributes() const { return attr_; }
    bool rightToLeft() const { return attr_.rtl > 0 || (attr_.rtl < 0 && rtlText_); }
    int unrotatedWidth() const { return plainWidth_; }
    int unrotatedHeight() const { return plainHeight_; }

private:
    struct Source {
        std::unique_ptr<TTFText, void (*)(TTFText*)> text;
        int line;
    };
    struct Line {
        int x = 0, width = 0;
    };
    class Builder;

    TTFBlocks(DrawArea* d, const BlockAttributes& a);
    bool placeLines(int maxWidth, int maxLines, bool wrap);
    void arrange();
    void drawContent(DrawArea* d, int originX, int originY, int color, int alignment);
    // Draws a block turned by a multiple of 90 degrees run by run, turned in place; false (nothing
    // drawn) when the block holds more than plain runs or is turned otherwise.
    bool drawTurned(DrawArea* d, int originX, int originY, int color, int alignment);
    void pieceOrigin(const Placed& p, int alignment, int& x, int& y) const;
    bool hasFrame() const;

    DrawArea* drawArea_;
    BlockAttributes attr_;
    bool rtlText_ = false;  // the first character with a direction reads right to left
    // A label's pieces and lines fit in the block itself, so laying one out asks the heap for none
    // of these lists; a longer text moves on to the heap. Declared before the lists that use it.
    alignas(std::max_align_t) unsigned char pieceRoom_[192];
    std::pmr::monotonic_buffer_resource pieceMemory_{pieceRoom_, sizeof pieceRoom_};
    std::pmr::vector<Source> sources_{&pieceMemory_};
    std::pmr::vector<Placed> placed_{&pieceMemory_};
    std::pmr::vector<Line> lines_{&pieceMemory_};
    int width_ = 0, height_ = 0, ascender_ = 0, descender_ = 0, lineDistance_ = 0;
    int plainWidth_ = 0, plainHeight_ = 0;
};

}  // namespace plotvane

#endif

// Marked-up text as a tree of blocks.
//
// Building cuts the text once, left to right: characters and style commands go into the current
// run (a TTFTextImpl, whose glyphs each keep the style they were added in); "br" and line feeds end
// the line; "block" opens a nested TTFBlocks that reads on until its end command in a copy of the
// current style; "img" puts a TTFImage on the line. A line that received nothing gets an empty run
// so that it keeps the height of its font. Nesting deeper than kMaxDepth is flattened (the extra
// opening and closing commands are skipped in pairs), which bounds the recursion whatever the
// input.
//
// Layout first fills lines: without a width limit each source line is one output line; with one,
// pieces are placed left to right, a run breaking itself into continuation lines and a nested
// block or image that does not fit moving to a new line. Every piece is laid out a bounded number
// of times per layout, so a long text costs time in proportion to its length. Each line is then
// arranged: its pieces side by side from the start its horizontal alignment gives, vertically by
// the block's vertical alignment, and the line moved down below the previous one by the largest
// line distance (times the line spacing). Last, the block's own size (fixed or measured), margins,
// and, for a turned block, the bounding box of the turned rectangle.
//
// Drawing hands each piece its place. A block of plain runs turned by a quarter, half or
// three-quarter turn (the usual axis title) hands each run its turned place and the turn, and the
// glyphs are drawn turned where they land. Anything else turned (other angles, backgrounds,
// underlines, images, nested blocks) is drawn upright into a sub drawing area and merged back
// turned, so runs never need to know about other angles beyond measuring by ink.

#include "text/ttfblocks_p.h"

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include "draw/drawarea_p.h"
#include "text/pvmlparser_p.h"
#include "text/textlock_p.h"
#include "text/textparser_p.h"
#include "text/ttfimage_p.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;
// A turned block larger than this on a side is not drawn: no canvas is that large, and the
// upright copy would be.
constexpr int kMaxTurnedSide = 1 << 15;

void destroyText(TTFText* t) { t->destroy(); }

int clampInt(long long v) { return static_cast<int>(std::max<long long>(-(1 << 30), std::min<long long>(1 << 30, v))); }

bool isRightToLeft(char32_t c) { return (c >= 0x590 && c <= 0x8ff) || (c >= 0xfb1d && c <= 0xfefc); }

bool isLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xc0; }

double normalisedAngle(double angle) {
    if (!std::isfinite(angle)) return 0;
    double a = std::fmod(angle, 360);
    if (a < 0) a += 360;
    return a >= 360 ? 0 : a;
}

}  // namespace

class TTFBlocks::Builder {
public:
    Builder(DrawArea* d, const std::u32string& text, bool vertical) : drawArea_(d), scanner_(text), vertical_(vertical) {}
    // Fills block with text up to its end command (or the end of the text).
    void fill(TTFBlocks& block, const TextStyle& style, int depth);

private:
    DrawArea* drawArea_;
    PVMLScanner scanner_;
    bool vertical_;
    int skippedOpens_ = 0;  // nested blocks refused for depth, whose end commands are skipped too
};

void TTFBlocks::Builder::fill(TTFBlocks& block, const TextStyle& style, int depth) {
    TextParser parser(drawArea_, style);
    TTFTextImpl* run = nullptr;
    int line = 0;
    bool lineUsed = false;
    bool directionKnown = false;
    auto add = [&](TTFText* t) {
        block.sources_.push_back({std::unique_ptr<TTFText, void (*)(TTFText*)>(t, destroyText), line});
        lineUsed = true;
    };
    auto newRun = [&](size_t capacity) {
        run = new TTFTextImpl(drawArea_, vertical_, capacity);
        add(run);
    };
    auto endRun = [&] {
        TextStyle& s = parser.style();
        if (!run && (s.advance != 0 || s.advanceTo > 0)) newRun(2);
        if (run) {
            run->finish(s);
            run->computeBidiLevels(block.attr_.rtl == 0 ? 1 : block.attr_.rtl > 0 ? 2 : 0);
        }
        run = nullptr;
    };
    auto endLine = [&] {
        endRun();
        if (!lineUsed) {
            newRun(0);
            run->addText(nullptr, 0, parser.style());
            run = nullptr;
        }
        ++line;
        lineUsed = false;
    };
    const char32_t* text = scanner_.text().data();
    for (PVMLToken t = scanner_.next(); t.kind != PVMLToken::End; t = scanner_.next()) {
        const char32_t* begin = text + t.begin;
        const char32_t* end = text + t.end;
        if (t.kind == PVMLToken::LineBreak) {
            endLine();
            continue;
        }
        if (t.kind == PVMLToken::Chars) {
            for (const char32_t* c = begin; c < end && !directionKnown; ++c) {
                if (!isLetter(*c)) continue;
                directionKnown = true;
                block.rtlText_ = isRightToLeft(*c);
            }
            if (!run) newRun(static_cast<size_t>(end - begin));
            run->addText(begin, static_cast<size_t>(end - begin), parser.style());
            continue;
        }
        switch (commandStructure(begin, end)) {
            case Structure::Style:
                parser.applyCommand(begin, end);
                break;
            case Structure::LineBreak:
                endLine();
                break;
            case Structure::Image:
                endRun();
                add(new TTFImage(drawArea_, parseAVList(begin, end)));
                break;
            case Structure::Block: {
                if (depth + 1 >= kMaxDepth) {
                    ++skippedOpens_;
                    break;
                }
                endRun();
                BlockAttributes a = parseAVList(begin, end);
                auto* nested = new TTFBlocks(drawArea_, a);
                add(nested);
                TextStyle inner = parser.style();
                inner.renderMode = adjustRenderMode(inner.renderMode, a.angle);
                fill(*nested, inner, depth + 1);
                break;
            }
            case Structure::EndBlock:
                if (skippedOpens_ > 0) {
                    --skippedOpens_;
                    break;
                }
                endRun();
                if (!lineUsed) endLine();
                return;
        }
    }
    endRun();
    if (!lineUsed) endLine();
}

TTFBlocks::TTFBlocks(DrawArea* d, const BlockAttributes& a) : drawArea_(d), attr_(a) {
    attr_.angle = normalisedAngle(attr_.angle);
}

TTFBlocks::~TTFBlocks() = default;

TTFBlocks* TTFBlocks::create(DrawArea* d, const std::u32string& text, const TextStyle& style, double angle,
                             bool vertical) {
    TextLock lock;
    BlockAttributes top;
    top.angle = angle;
    auto* blocks = new TTFBlocks(d, top);
    Builder(d, text, vertical).fill(*blocks, style, 0);
    double turn = std::fmod(blocks->attr_.angle, 90);
    if (turn > 0.1 && !blocks->sources_.empty())
        if (auto* last = dynamic_cast<TTFTextImpl*>(blocks->sources_.back().text.get())) last->setMeasureByInk(true);
    return blocks;
}

// Fills placed_ with the pieces of each output line, at their x along the line; true when text
// was left out (a truncated run, or lines past maxLines).
bool TTFBlocks::placeLines(int maxWidth, int maxLines, bool wrap) {
    placed_.clear();
    int line = -1, lines = 0;
    int sourceLine = INT_MIN;
    long long x = 0;
    auto newLine = [&] {
        ++line;
        x = 0;
        return ++lines <= maxLines || !wrap;
    };
    auto place = [&](TTFText* t) {
        placed_.push_back({t, clampInt(x), 0, line});
        x += t->getWidth();
    };
    for (size_t i = 0; i < sources_.size(); ++i) {
        TTFText* t = sources_[i].text.get();
        if (sources_[i].line != sourceLine) {
            sourceLine = sources_[i].line;
            if (!newLine()) return true;
        }
        if (!wrap) {
            t->startLayout(clampInt(x), INT_MAX, INT_MAX);
            place(t);
            continue;
        }
        bool stop = t->startLayout(clampInt(x), maxWidth, maxLines - lines + 1);
        if (x > 0 && x + t->getWidth() > maxWidth) {
            if (!newLine()) return true;
            stop = t->startLayout(0, maxWidth, maxLines - lines + 1);
        }
        place(t);
        for (TTFText* next = stop ? nullptr : t->getNextLine(); next; next = stop ? nullptr : next->getNextLine()) {
            if (!newLine()) return true;
            stop = next->startLayout(0, maxWidth, maxLines - lines + 1);
            place(next);
        }
        if (stop) return true;
    }
    return false;
}

// Lines side by side and one under the other, then the block's size, margins and turn.
void TTFBlocks::arrange() {
    int lineCount = placed_.empty() ? 0 : placed_.back().line + 1;
    lines_.assign(static_cast<size_t>(lineCount), Line());
    int linePos = 0, content = 0, lastBottom = 0;
    for (size_t b = 0, e = 0; b < placed_.size(); b = e) {
        int line = placed_[b].line;
        long long lineWidth = 0;
        for (e = b; e < placed_.size() && placed_[e].line == line; ++e) lineWidth += placed_[e].text->getWidth();
        int width = clampInt(lineWidth);
        int x = attr_.halign == AlignCenter ? -width / 2 : attr_.halign == AlignRight ? -width : 0;
        lines_[static_cast<size_t>(line)] = {x, width};
        int top = INT_MAX, bottom = INT_MIN, advance = INT_MIN;
        for (size_t k = b; k < e; ++k) {
            TTFText* t = placed_[k].text;
            int h = t->getHeight(), asc = t->getAscender();
            int y = attr_.valign == AlignBottom      ? -h
                    : attr_.valign == AlignTop       ? 0
                    : attr_.valign == AlignCenter    ? -asc / 2
                    : attr_.valign == AlignAbsCenter ? -h / 2
                                                     : -asc;
            placed_[k].x += x;
            placed_[k].y = y;
            top = std::min(top, y);
            bottom = std::max(bottom, y + h);
            advance = std::max(advance, clampInt(y + static_cast<long long>(std::floor(t->getLineDistance() * attr_.lineSpacing + 0.5))));
        }
        for (size_t k = b; k < e; ++k) placed_[k].y = clampInt(static_cast<long long>(linePos) + placed_[k].y - top);
        content = clampInt(static_cast<long long>(linePos) + bottom - top);
        linePos = clampInt(static_cast<long long>(linePos) + advance - top);
        lastBottom = bottom;
    }

    int shiftX = 0, shiftY = 0;
    if (attr_.width < 0) {
        int left = 0, right = 0;
        for (size_t k = 0; k < lines_.size(); ++k) {
            left = k == 0 ? lines_[k].x : std::min(left, lines_[k].x);
            right = k == 0 ? lines_[k].x + lines_[k].width : std::max(right, lines_[k].x + lines_[k].width);
        }
        shiftX = -left;
        width_ = right - left;
    } else {
        shiftX = attr_.halign == AlignCenter ? attr_.width / 2 : attr_.halign == AlignRight ? attr_.width : 0;
        width_ = attr_.width;
    }
    if (attr_.height < 0) {
        height_ = content;
    } else {
        int room = attr_.height - content;
        shiftY = attr_.valign == AlignBottom ? room : (attr_.valign == AlignCenter || attr_.valign == AlignAbsCenter) ? room / 2 : 0;
        height_ = attr_.height;
    }
    for (Line& l : lines_) l.x += shiftX;
    for (Placed& p : placed_) {
        p.x += shiftX;
        p.y += shiftY;
    }

    const int* m = attr_.margin;
    plainWidth_ = clampInt(static_cast<long long>(width_) + m[0] + m[1]);
    plainHeight_ = clampInt(static_cast<long long>(height_) + m[2] + m[3]);
    bool baseline = attr_.valign == AlignBaseline && !placed_.empty();
    ascender_ = baseline ? clampInt(static_cast<long long>(m[2]) + shiftY + content - lastBottom) : plainHeight_;
    descender_ = plainHeight_ - ascender_;
    lineDistance_ = clampInt(static_cast<long long>(m[2]) + shiftY + linePos + m[3]);
    if (attr_.height >= 0) lineDistance_ = std::max(lineDistance_, plainHeight_);
    width_ = plainWidth_;
    height_ = plainHeight_;
    if (attr_.angle != 0) {
        double a = attr_.angle * kPi / 180, s = std::fabs(std::sin(a)), c = std::fabs(std::cos(a));
        width_ = static_cast<int>(std::ceil(plainHeight_ * s + plainWidth_ * c - 0.1));
        height_ = static_cast<int>(std::ceil(plainHeight_ * c + plainWidth_ * s - 0.1));
        ascender_ = lineDistance_ = height_;
        descender_ = 0;
    }
}

bool TTFBlocks::startLayout(int, int maxWidth, int maxLines) {
    TextLock lock;
    if (attr_.maxWidth > 0) maxWidth = attr_.maxWidth;
    // A block cut short by its own line limit is complete as far as the enclosing line goes.
    bool ownLimit = attr_.truncate > 0 && attr_.truncate < maxLines;
    if (ownLimit) maxLines = attr_.truncate;
    bool wrap = attr_.maxWidth > 0 || (maxWidth >= 1 && maxWidth <= 0x10000000);
    bool truncated = placeLines(maxWidth, maxLines, wrap);
    arrange();
    return truncated && !ownLimit;
}

void TTFBlocks::draw(int x, int y, int color, int alignment) { drawOn(drawArea_, x, y, color, alignment); }

void TTFBlocks::drawOn(DrawArea* d, int x, int y, int color, int alignment) {
    if (!d) return;
    int originX = x - DrawArea::alignX(width_, alignment);
    int originY = y - DrawArea::alignY(height_, alignment);
    if (attr_.angle == 0) {
        drawContent(d, originX, originY, color, alignment);
        return;
    }
    if (drawTurned(d, originX, originY, color, alignment)) return;
    if (plainWidth_ < 1 || plainHeight_ < 1 || plainWidth_ > kMaxTurnedSide || plainHeight_ > kMaxTurnedSide) return;
    DrawArea* upright = d->subDrawArea(plainWidth_ + 10, plainHeight_);
    drawContent(upright, 5, 0, color, alignment);
    double a = attr_.angle * kPi / 180;
    upright->mergeParent(originX - static_cast<int>(std::floor(5 * std::fabs(std::cos(a)) + 0.5)),
                         originY - static_cast<int>(std::floor(5 * std::fabs(std::sin(a)) + 0.5)), attr_.angle);
    upright->destroy();
}

bool TTFBlocks::hasFrame() const {
    const int none = static_cast<int>(0xff000000);
    return attr_.bgColor != none || (attr_.edgeColor != none && attr_.edgeColor != -1);
}

// Where a piece goes relative to the block's top left, margins included.
void TTFBlocks::pieceOrigin(const Placed& p, int alignment, int& x, int& y) const {
    const int* m = attr_.margin;
    x = p.x;
    if (rightToLeft() || alignment != Chart::TopLeft) {
        const Line& l = lines_[static_cast<size_t>(p.line)];
        int contentWidth = plainWidth_ - m[0] - m[1];
        int lineLeft = alignment == Chart::TopLeft ? l.x : DrawArea::alignX(contentWidth - l.width + 1, alignment);
        int along = p.x - l.x;
        if (rightToLeft()) along = l.width - along - p.text->getWidth();
        x = lineLeft + along;
    }
    x += m[0];
    y = p.y + m[2];
}

bool TTFBlocks::drawTurned(DrawArea* d, int originX, int originY, int color, int alignment) {
    int turn = attr_.angle == 90 ? 90 : attr_.angle == 180 ? 180 : attr_.angle == 270 ? 270 : 0;
    if (!turn || hasFrame()) return false;
    for (const Placed& p : placed_) {
        auto* run = dynamic_cast<TTFTextImpl*>(p.text);
        if (!run || !run->isPlainLine()) return false;
    }
    // The pixel corner the upright block's top left turns about, so that the turned block's top
    // left lands on the origin.
    int pivotX = turn == 90 ? originX : turn == 180 ? originX + plainWidth_ : originX + plainHeight_;
    int pivotY = turn == 90 ? originY + plainWidth_ : turn == 180 ? originY + plainHeight_ : originY;
    auto* area = static_cast<DrawAreaImpl*>(d);
    for (const Placed& p : placed_) {
        int x, y;
        pieceOrigin(p, alignment, x, y);
        int tx = turn == 90 ? y : turn == 180 ? -x : -y;
        int ty = turn == 90 ? -x : turn == 180 ? -y : x;
        static_cast<TTFTextImpl*>(p.text)->drawTurned(area, pivotX + tx, pivotY + ty, color, turn);
    }
    return true;
}

void TTFBlocks::drawContent(DrawArea* d, int originX, int originY, int color, int alignment) {
    if (hasFrame()) {
        int fill = attr_.bgColor, edge = attr_.edgeColor;
        d->rect(originX, originY, originX + plainWidth_ - 1, originY + plainHeight_ - 1, edge == -1 ? fill : edge, fill);
    }
    for (const Placed& p : placed_) {
        int x, y;
        pieceOrigin(p, alignment, x, y);
        p.text->drawOn(d, originX + x, originY + y, color, Chart::TopLeft);
    }
}

}  // namespace plotvane

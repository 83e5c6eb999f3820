// Single-style runs of text: building glyph records and breaking them into lines.
//
// A run is a list of glyph records shared (through its reference-counted container) with the
// continuation lines cut from it and with every recorded drawing of it. Each record holds a
// reference on its glyph and on the face that rendered it, so the font cache cannot evict what a
// text may still draw; the references are dropped under the text lock when the last holder of the
// container lets go.
//
// A recording keeps drawing the glyph records it was given, so a run that is laid out again after
// being drawn first takes a copy of its records (copy on write), for itself and the lines after
// it; the common case, text drawn once and destroyed, copies nothing.
//
// Layout places glyphs from the line's first one until the pen passes the width left on the line.
// An ordinary line then breaks before its last run of blanks; a word longer than a whole line is
// cut where it overflows. The last permitted line instead ends in "...": the overflowing glyph and
// the two after it become dots, stepping back one glyph at a time until the dots fit. Positions
// are pen positions on the baseline relative to the line's top left; line metrics come from the
// faces (the common case) or, for text turned by an odd angle, from the ink, so that the rotated
// box hugs what is visible.

#include "text/ttftextimpl_p.h"

#include <plotvane/drawarea.h>

#include "draw/drawarea_p.h"

#include "text/bidi_p.h"
#include "text/fontdriver_p.h"
#include "text/libttfdriver_p.h"
#include "text/textlock_p.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plotvane {

namespace {

bool isBreak(int ch) { return ch == ' ' || ch == '\t' || (ch >= 0x2000 && ch <= 0x200b); }

// Pixel positions, kept inside int however far spacers and offsets push the pen.
int rounded(double v) { return static_cast<int>(std::max(-1e9, std::min(1e9, std::floor(v + 0.5)))); }

void retain(Glyph& g) {
    if (g.glyph) g.glyph->addRef();
    if (g.face) g.face->addRef();
}

void releaseRefs(Glyph& g) {
    if (g.glyph) g.glyph->release();
    if (g.face) g.face->release();
}

void releaseContainer(GlyphContainer& c) {
    TextLock lock;
    if (!MainFontDriver::alive()) return;
    for (Glyph& g : c.glyphs()) releaseRefs(g);
}

// A record for glyph g of its own face.
Glyph recordFor(FontGlyph* g, int ch, const Glyph& styleFrom) {
    Glyph r = styleFrom;
    auto* ttf = static_cast<LibTTFFontGlyph*>(g);
    r.ch = ch;
    r.shapedCh = 0;
    r.glyph = g;
    r.face = ttf->face();
    r.mode = ttf->mode();
    r.ascender = r.face->ascender;
    r.descender = r.face->descender;
    r.lineGap = r.face->lineHeight - r.face->ascender;
    r.spacerWidth = 0;
    return r;
}

// A character the chosen fonts lack, from whichever installed font has it in the nearest style.
// The face goes into `opened`, for the caller to release once the glyph is retained. A face this
// text already fell back to is asked first: a word in another script takes all its letters from
// one font, and asking the font configuration for each letter costs more than the letter.
FontGlyph* fallbackGlyph(FontFace& face, int ch, const TextStyle& style, std::vector<FontFace*>& opened) {
    for (FontFace* f : opened)
        if (FontGlyph* g = f->getGlyph(ch, style.renderMode)) return g;
    int wanted = (face.isBold() ? 1 : 0) | (face.isItalic() ? 2 : 0);
    FontFace* other = MainFontDriver::getFallbackFace(ch, wanted, style.height, style.width, style.angle);
    if (!other) return nullptr;
    opened.push_back(other);
    return other->getGlyph(ch, style.renderMode);
}

bool multipleOf(double angle, double step) {
    double r = std::fmod(angle, step);
    return std::fabs(r) < 1e-9 || std::fabs(std::fabs(r) - step) < 1e-9;
}

}  // namespace

int adjustRenderMode(int mode, double angle) {
    int kind = mode & 0x3f;
    if (kind == 2 && !multipleOf(angle, 90)) return (mode & ~0x3f) | 1;
    if (kind == 5 && !multipleOf(angle, 360)) return (mode & ~0x3f) | 4;
    return mode;
}

TTFTextImpl::TTFTextImpl(DrawArea* d, bool vertical, size_t capacity)
    : drawArea_(d), glyphs_(new GlyphContainer(std::max<size_t>(capacity, 30))), vertical_(vertical) {
    glyphs_->setReleaseHook(releaseContainer);
}

TTFTextImpl::TTFTextImpl(const TTFTextImpl& previous, int start)
    : drawArea_(previous.drawArea_),
      glyphs_(previous.glyphs_),
      vertical_(previous.vertical_),
      start_(start),
      first_(start),
      end_(start),
      baseAscender_(previous.baseAscender_),
      baseDescender_(previous.baseDescender_),
      baseLineGap_(previous.baseLineGap_),
      hasBase_(previous.hasBase_),
      maxWidth_(previous.maxWidth_),
      levels_(previous.levels_),
      paragraphLevel_(previous.paragraphLevel_) {
    glyphs_->addRef();
    // Only as far as the line the previous one had room for: the rest of a long text is laid out
    // when its own lines are asked for.
    startLayout(0, maxWidth_, std::numeric_limits<int>::max());
}

TTFTextImpl::~TTFTextImpl() {
    // One line at a time: a text of many lines would overflow the stack through nested destructors.
    for (std::unique_ptr<TTFTextImpl> line = std::move(next_); line;) line = std::move(line->next_);
    // Recordings may still draw this line: its dots stay in the container.
    if (!replaced_.empty()) {
        TextLock lock;
        if (MainFontDriver::alive())
            for (auto& saved : replaced_) releaseRefs(saved.second);
    }
    glyphs_->deRef();
}

void TTFTextImpl::detachFromRecordings() {
    GlyphContainer* shared = glyphs_;
    if (!shared->recorded()) return;
    auto* copy = new GlyphContainer;  // this line's reference
    copy->setReleaseHook(releaseContainer);
    copy->glyphs() = shared->glyphs();
    for (Glyph& g : copy->glyphs()) retain(g);
    int lines = 0;
    for (TTFTextImpl* line = this; line && line->glyphs_ == shared; line = line->next_.get()) {
        if (lines++) copy->addRef();
        line->glyphs_ = copy;
    }
    while (lines-- > 0) shared->deRef();
}

void TTFTextImpl::dropContinuation() {
    std::vector<TTFTextImpl*> chain;
    for (TTFTextImpl* line = next_.get(); line; line = line->next_.get()) chain.push_back(line);
    // The last line's truncation was made last, so it is undone first.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->restoreTruncation();
    next_.reset();
}

void TTFTextImpl::addRecord(Glyph g) {
    retain(g);
    glyphs_->glyphs().push_back(g);
}

void TTFTextImpl::addSpacers(TextStyle& style, FontFace* face) {
    Glyph spacer;
    spacer.ch = kSpacerChar;
    spacer.mode = style.renderMode;
    spacer.color = style.color;
    spacer.bgColor = style.bgColor;
    spacer.underline = style.underline;
    spacer.ascender = face ? face->ascender : baseAscender_;
    spacer.descender = face ? face->descender : baseDescender_;
    spacer.lineGap = face ? face->lineHeight - face->ascender : baseLineGap_;
    if (style.advance != 0) {
        spacer.spacerWidth = std::max(0.0, style.advance);
        addRecord(spacer);
    }
    if (style.advanceTo > 0) {
        spacer.spacerWidth = -style.advanceTo;
        addRecord(spacer);
    }
    style.advance = style.advanceTo = 0;
}

void TTFTextImpl::addText(const char32_t* chars, size_t count, TextStyle& style) {
    TextLock lock;
    FontFace* face = style.height > 0 ? MainFontDriver::getFace(style.font.c_str(), style.fontIndex, style.height,
                                                                style.width, style.angle)
                                      : nullptr;
    if (face && !hasBase_) {
        hasBase_ = true;
        baseAscender_ = face->ascender;
        baseDescender_ = face->descender;
        baseLineGap_ = face->lineHeight - face->ascender;
    }
    Glyph styled;
    styled.color = style.color;
    styled.bgColor = style.bgColor;
    styled.underline = style.underline;
    styled.xOffset = style.xOffset;
    styled.yOffset = style.yOffset;
    std::vector<Glyph>& records = glyphs_->glyphs();
    if (records.capacity() - records.size() < count)
        records.reserve(std::max(records.size() + count, 2 * records.capacity()));
    // The records go into memory no one has touched for long; it is asked for while the glyphs
    // are looked up.
    const char* room = reinterpret_cast<const char*>(records.data() + records.size());
    for (size_t offset = 0; offset < count * sizeof(Glyph); offset += 64) __builtin_prefetch(room + offset, 1);
    // Scratch kept across texts: a label in another script would otherwise allocate it each time.
    static thread_local std::vector<FontFace*> fallbacks;
    fallbacks.clear();
    for (size_t i = 0; i < count; ++i) {
        if (style.advance != 0 || style.advanceTo > 0) addSpacers(style, face);
        char32_t c = chars[i];
        if (isBidiChar(static_cast<int>(c))) needsBidi_ = true;
        if (!face) continue;
        int ch = c > 0x7fffffff ? 0 : static_cast<int>(c);
        FontGlyph* g = face->getGlyph(ch, style.renderMode);
        if (!g) g = fallbackGlyph(*face, ch, style, fallbacks);
        if (!g) g = face->getGlyph(0, style.renderMode);
        if (g) addRecord(recordFor(g, ch, styled));
    }
    for (FontFace* f : fallbacks) f->release();
    fallbacks.clear();
    if (face) face->release();
}

void TTFTextImpl::finish(TextStyle& style) {
    TextLock lock;
    if (style.advance != 0 || style.advanceTo > 0) addSpacers(style, nullptr);
}

void TTFTextImpl::computeBidiLevels(int direction) {
    if (!needsBidi_) return;
    TextLock lock;
    GlyphContainer& g = *glyphs_;
    const int n = g.size();
    // Scratch reused across runs: thousands of short labels would otherwise allocate it each time.
    static thread_local std::vector<unsigned char> types;
    types.resize(static_cast<size_t>(n));
    bool rightToLeft = direction == 2;
    for (int i = 0; i < n; ++i) {
        int t = g[i].glyph ? vek::getBidiType(g[i].ch) : kBidiNeutral;
        types[static_cast<size_t>(i)] = static_cast<unsigned char>(t);
        rightToLeft |= t == kBidiR || t == kBidiAL || t == kBidiAN;
    }
    // Nothing reads right to left (marks or Hebrew points alone): every level would be 0.
    if (!rightToLeft) return;
    ownLevels_.resize(static_cast<size_t>(n));
    paragraphLevel_ = static_cast<signed char>(resolveBidiLevels(types.data(), n, direction, ownLevels_.data()));
    levels_ = &ownLevels_;
    shapeGlyphs();
}

void TTFTextImpl::showAs(int i, int ch) {
    Glyph& r = (*glyphs_)[i];
    FontGlyph* shown = r.face ? r.face->getGlyph(ch, r.mode) : nullptr;
    if (!shown) return;
    shown->addRef();
    r.glyph->release();
    r.glyph = shown;
    r.shapedCh = ch;
}

void TTFTextImpl::shapeGlyphs() {
    GlyphContainer& g = *glyphs_;
    const std::vector<signed char>& levels = *levels_;
    const int n = g.size();
    static thread_local std::vector<wchar_t> text;
    for (int i = 0; i < n;) {
        if (!(levels[static_cast<size_t>(i)] & 1)) {
            ++i;
            continue;
        }
        int end = i;
        while (end < n && (levels[static_cast<size_t>(end)] & 1)) ++end;
        text.resize(static_cast<size_t>(end - i));
        for (int k = i; k < end; ++k) {
            int ch = g[k].glyph ? g[k].ch : kSpacerChar;
            int mirror = mirroredChar(ch);
            text[static_cast<size_t>(k - i)] = static_cast<wchar_t>(mirror ? mirror : ch);
        }
        if (end - i >= 2) vek::arabicShape(text.data(), 0, end - i);
        for (int k = i; k < end; ++k) {
            int shown = static_cast<int>(text[static_cast<size_t>(k - i)]);
            Glyph& r = g[k];
            if (!r.glyph || shown == r.ch) continue;
            if (shown == kSpacerChar) {
                // The LAM of a ligature: its ALEF draws both.
                r.glyph->release();
                r.glyph = nullptr;
                r.spacerWidth = 0;
                r.shapedCh = kSpacerChar;
            } else {
                showAs(k, shown);
            }
        }
        i = end;
    }
}

double TTFTextImpl::advanceOf(const Glyph& g, double linePen) const {
    if (!g.glyph) return g.spacerWidth >= 0 ? g.spacerWidth : std::max(0.0, -g.spacerWidth - linePen);
    return vertical_ ? g.ascender + g.lineGap : g.glyph->advance;
}

bool TTFTextImpl::startLayout(int x, int maxWidth, int maxLines) {
    TextLock lock;
    detachFromRecordings();
    dropContinuation();  // its line started where this one used to end
    restoreTruncation();
    maxWidth_ = maxWidth;
    GlyphContainer& g = *glyphs_;
    int n = g.size();
    first_ = start_;
    if (byInk_)
        while (first_ < n && isBreak(g[first_].ch)) ++first_;

    double limit = static_cast<double>(maxWidth) - x;
    double pen = 0;
    int overflow = -1;
    for (int i = first_; i < n; ++i) {
        double advance = advanceOf(g[i], x + pen);
        if (pen + advance > limit) {
            overflow = i;
            break;
        }
        pen += advance;
    }
    bool truncated = overflow >= 0 && maxLines < 2;
    if (overflow < 0)
        end_ = n;
    else if (truncated)
        end_ = truncateLine(overflow, x, limit);
    else
        end_ = breakLine(overflow, x);
    place(x);
    return truncated;
}

int TTFTextImpl::breakLine(int overflow, int x) const {
    const GlyphContainer& g = *glyphs_;
    for (int i = overflow; i > first_; --i) {
        if (!isBreak(g[i].ch)) continue;
        while (i > first_ && isBreak(g[i - 1].ch)) --i;
        if (i > first_) return i;
        break;
    }
    return x < 1 ? std::max(overflow, first_ + 1) : first_;
}

int TTFTextImpl::truncateLine(int overflow, int x, double limit) {
    GlyphContainer& g = *glyphs_;
    // Pen positions before each glyph up to the overflowing one: only a truncated line needs them.
    std::vector<double> starts;
    double pen = 0;
    for (int i = first_; i <= overflow; ++i) {
        starts.push_back(pen);
        pen += advanceOf(g[i], x + pen);
    }
    FontFace* face = nullptr;
    int mode = 0;
    for (int i = overflow; i >= first_ && !face; --i) face = g[i].face, mode = g[i].mode;
    FontGlyph* dot = face ? face->getGlyph('.', mode) : nullptr;
    if (!dot) return overflow;
    Glyph dotRecord = recordFor(dot, '.', g[overflow]);
    double dotAdvance = vertical_ ? dotRecord.ascender + dotRecord.lineGap : dot->advance;
    for (int s = overflow; s >= first_; --s) {
        if (std::floor(starts[static_cast<size_t>(s - first_)] + 3 * dotAdvance) > limit) continue;
        for (int k = s; k < s + 3; ++k) {
            if (k < g.size()) {
                replaced_.emplace_back(k, g[k]);
                g[k] = dotRecord;
                retain(g[k]);
            } else {
                addRecord(dotRecord);
                ++appended_;
            }
        }
        return s + 3;
    }
    return first_ + 1;
}

void TTFTextImpl::restoreTruncation() {
    GlyphContainer& g = *glyphs_;
    for (; appended_ > 0; --appended_) {
        releaseRefs(g.glyphs().back());
        g.glyphs().pop_back();
    }
    for (auto it = replaced_.rbegin(); it != replaced_.rend(); ++it) {
        releaseRefs(g[it->first]);
        g[it->first] = it->second;
    }
    replaced_.clear();
}

void TTFTextImpl::place(int x) {
    GlyphContainer& g = *glyphs_;
    int asc = 0, desc = 0, gap = 0;
    if (first_ == end_) {
        asc = baseAscender_, desc = baseDescender_, gap = baseLineGap_;
    }
    for (int i = first_; i < end_; ++i) {
        asc = std::max(asc, g[i].ascender);
        desc = std::max(desc, g[i].descender);
        gap = std::max(gap, g[i].lineGap);
    }
    int inkWidth = 0;
    if (vertical_) {
        for (int i = first_; i < end_; ++i)
            if (g[i].glyph) inkWidth = std::max(inkWidth, g[i].glyph->pitch / (g[i].glyph->format == FontGlyph::ColorSubpixel ? 3 : 1));
    }
    static thread_local std::vector<int> order;
    order.clear();
    if (levels_) lineOrder(order);
    double pen = 0;
    for (int v = first_; v < end_; ++v) {
        Glyph& r = g[order.empty() ? v : order[static_cast<size_t>(v - first_)]];
        double advance = advanceOf(r, x + pen);
        if (!vertical_) {
            r.x0 = pen + r.xOffset;
            r.x1 = r.x0 + advance;
            r.y0 = r.y1 = asc - r.yOffset;
        } else {
            int pixels = r.glyph ? r.glyph->pitch / (r.glyph->format == FontGlyph::ColorSubpixel ? 3 : 1) : 0;
            int left = r.glyph ? r.glyph->left : 0;
            r.x0 = (inkWidth - pixels) / 2 - left + r.xOffset;
            r.x1 = r.x0 + (r.glyph ? r.glyph->advance : 0);
            r.y0 = pen + r.ascender - r.yOffset;
            r.y1 = r.y0 + advance;
        }
        pen += advance;
    }
    width_ = vertical_ ? inkWidth : rounded(pen);
    height_ = vertical_ ? rounded(pen) : asc + desc;
    ascender_ = asc;
    descender_ = desc;
    lineDistance_ = asc + gap;
    if (byInk_) measureInk();
}

void TTFTextImpl::lineOrder(std::vector<int>& order) const {
    const std::vector<signed char>& all = *levels_;
    const int n = end_ - first_;
    const int known = std::max(0, std::min(end_, static_cast<int>(all.size())) - first_);
    const signed char* line = all.data() + std::min(static_cast<size_t>(first_), all.size());
    if (known < n) {
        // Dots appended by truncation have no level of their own.
        static thread_local std::vector<signed char> padded;
        padded.assign(line, line + known);
        padded.resize(static_cast<size_t>(n), paragraphLevel_);
        line = padded.data();
    }
    if (std::all_of(line, line + n, [](signed char level) { return level == 0; })) return;
    visualOrder(line, n, order);
    for (int& o : order) o += first_;
}

void TTFTextImpl::measureInk() {
    GlyphContainer& g = *glyphs_;
    int minX = std::numeric_limits<int>::max(), minY = minX;
    int maxX = std::numeric_limits<int>::min(), maxY = maxX;
    auto extend = [&](int x0, int y0, int x1, int y1) {
        minX = std::min(minX, x0), minY = std::min(minY, y0);
        maxX = std::max(maxX, x1), maxY = std::max(maxY, y1);
    };
    for (int i = first_; i < end_; ++i) {
        const Glyph& r = g[i];
        if (r.glyph && r.glyph->rows > 0 && r.glyph->pitch > 0) {
            int x0 = rounded(r.x0) + r.glyph->left, y0 = rounded(r.y0) - r.glyph->top;
            int pixels = r.glyph->pitch / (r.glyph->format == FontGlyph::ColorSubpixel ? 3 : 1);
            extend(x0, y0, x0 + pixels, y0 + r.glyph->rows);
        } else if (!r.glyph) {
            extend(rounded(r.x0), rounded(r.y0) - r.ascender, rounded(r.x1), rounded(r.y0) + r.descender);
        }
    }
    if (minX > maxX) {
        width_ = height_ = ascender_ = descender_ = lineDistance_ = 0;
        return;
    }
    for (int i = first_; i < end_; ++i) {
        g[i].y0 -= minY;
        g[i].y1 -= minY;
    }
    width_ = maxX - minX;
    height_ = ascender_ = lineDistance_ = maxY - minY;
    descender_ = 0;
}

TTFText* TTFTextImpl::getNextLine() {
    const GlyphContainer& g = *glyphs_;
    int start = end_;
    while (start < g.size() && isBreak(g[start].ch)) ++start;
    if (start >= g.size()) return nullptr;
    if (next_ && next_->start_ != start) dropContinuation();
    if (!next_) next_.reset(new TTFTextImpl(*this, start));
    return next_.get();
}

std::vector<TTFTextImpl::Fill> TTFTextImpl::backgrounds(int originX, int originY) const {
    std::vector<Fill> out;
    const GlyphContainer& g = *glyphs_;
    for (int i = first_; i < end_; ++i) {
        const Glyph& r = g[i];
        if (r.bgColor == static_cast<int>(0xff000000)) continue;
        if (!vertical_) {
            out.push_back({originX + rounded(r.x0), originY, originX + rounded(r.x1) - 1, originY + height_ - 1, r.bgColor});
        } else {
            int top = rounded(r.y0 + r.yOffset) - r.ascender;
            out.push_back({originX, originY + top, originX + width_ - 1, originY + top + rounded(r.y1 - r.y0) - 1, r.bgColor});
        }
    }
    return out;
}

std::vector<TTFTextImpl::Underline> TTFTextImpl::underlines(int originX, int originY) const {
    std::vector<Underline> out;
    const GlyphContainer& g = *glyphs_;
    for (int i = first_; i < end_; ++i) {
        const Glyph& r = g[i];
        if (r.underline <= 0) continue;
        Underline u{originX + rounded(r.x0), originX + rounded(r.x1) - 1,
                    originY + height_ - descender_ + r.underline / 2 + 1, r.underline, r.color};
        if (!out.empty()) {
            Underline& last = out.back();
            if (last.color == u.color && last.thickness == u.thickness && last.y == u.y && u.x0 == last.x1 + 1) {
                last.x1 = u.x1;
                continue;
            }
        }
        out.push_back(u);
    }
    return out;
}

bool TTFTextImpl::isPlainLine() const {
    const GlyphContainer& g = *glyphs_;
    for (int i = first_; i < end_; ++i)
        if (g[i].bgColor != static_cast<int>(0xff000000) || g[i].underline > 0) return false;
    return true;
}

void TTFTextImpl::drawTurned(DrawAreaImpl* d, int x, int y, int color, int turn) {
    if (d && first_ < end_) d->renderTurnedGlyphs(*glyphs_, first_, end_, x, y, d->getARGBColor(color), turn);
}

void TTFTextImpl::draw(int x, int y, int color, int alignment) { drawOn(drawArea_, x, y, color, alignment); }

void TTFTextImpl::drawOn(DrawArea* d, int x, int y, int color, int alignment) {
    if (!d || first_ >= end_) return;
    int originX = x - DrawArea::alignX(width_, alignment);
    int originY = y - DrawArea::alignY(height_, alignment);
    int textColor = d->getARGBColor(color);
    for (const Fill& f : backgrounds(originX, originY)) d->rect(f.x0, f.y0, f.x1, f.y1, f.color, f.color);
    d->renderGlyphs(*glyphs_, first_, end_, originX, originY, textColor);
    for (const Underline& u : underlines(originX, originY))
        d->line(u.x0, u.y, u.x1, u.y, u.color == -1 ? textColor : u.color, u.thickness);
}

}  // namespace plotvane

#ifndef PLOTVANE_VECTOR_SVGBUILDER_P_H
#define PLOTVANE_VECTOR_SVGBUILDER_P_H

// Writes SVG elements straight into a document buffer: open a tag, add attributes, close. Values
// are single-quoted; callers pass attribute text that is already escaped.

#include <cstdint>
#include <string>

#include "vector/vectornum_p.h"

namespace plotvane {

class SVGBuilder {
public:
    explicit SVGBuilder(std::string& out) : out_(out) {}
    ~SVGBuilder() { closeAll(); }
    SVGBuilder(const SVGBuilder&) = delete;
    SVGBuilder& operator=(const SVGBuilder&) = delete;

    // Opens an element; an id of -1 means none, otherwise id='b<id>'. Ignored beyond 20 levels.
    SVGBuilder& tag(const char* name, long long id = -1);
    SVGBuilder& av(const char* name, const char* value);
    SVGBuilder& av(const char* name, long long value);
    // A number with `decimals` places (see appendNumber).
    SVGBuilder& av(const char* name, double value, int decimals, int digits = 6);
    SVGBuilder& coor(const char* name, double value) { return av(name, value, 3); }
    SVGBuilder& color(const char* name, uint32_t rgb);
    // name='url(#b<id>)'
    SVGBuilder& url(const char* name, long long id);
    // Starts an attribute whose value the caller appends to out(); endAttr closes the quote.
    std::string& beginAttr(const char* name);
    void endAttr() {
        if (!skipped_) out_ += '\'';
    }
    // Character data (already escaped) inside the innermost element.
    SVGBuilder& text(const std::string& escaped);
    SVGBuilder& close();
    void closeAll() {
        while (depth_ > 0) close();
    }
    std::string& out() { return out_; }

private:
    void openContent();

    static constexpr int kMaxDepth = 20;
    std::string& out_;
    const char* names_[kMaxDepth] = {};
    bool hasContent_[kMaxDepth] = {};
    int depth_ = 0;
    int skipped_ = 0;      // tags refused for depth, so their closes are ignored too
    std::string scratch_;  // where the attributes of a refused tag go
};

}  // namespace plotvane

#endif

#include "vector/svgbuilder_p.h"

namespace plotvane {

void SVGBuilder::openContent() {
    if (depth_ > 0 && !hasContent_[depth_ - 1]) {
        out_ += '>';
        hasContent_[depth_ - 1] = true;
    }
}

SVGBuilder& SVGBuilder::tag(const char* name, long long id) {
    if (depth_ == kMaxDepth || skipped_ > 0) {
        ++skipped_;
        return *this;
    }
    openContent();
    out_ += '<';
    out_ += name;
    names_[depth_] = name;
    hasContent_[depth_] = false;
    ++depth_;
    if (id >= 0) {
        out_ += " id='b";
        appendInt(out_, id);
        out_ += '\'';
    }
    return *this;
}

SVGBuilder& SVGBuilder::av(const char* name, const char* value) {
    beginAttr(name) += value;
    endAttr();
    return *this;
}

SVGBuilder& SVGBuilder::av(const char* name, long long value) {
    appendInt(beginAttr(name), value);
    endAttr();
    return *this;
}

SVGBuilder& SVGBuilder::av(const char* name, double value, int decimals, int digits) {
    appendNumber(beginAttr(name), value, decimals, digits);
    endAttr();
    return *this;
}

SVGBuilder& SVGBuilder::color(const char* name, uint32_t rgb) {
    appendHexColor(beginAttr(name), rgb);
    endAttr();
    return *this;
}

SVGBuilder& SVGBuilder::url(const char* name, long long id) {
    std::string& to = beginAttr(name) += "url(#b";
    appendInt(to, id);
    to += ')';
    endAttr();
    return *this;
}

std::string& SVGBuilder::beginAttr(const char* name) {
    if (skipped_) {
        scratch_.clear();
        return scratch_;
    }
    out_ += ' ';
    out_ += name;
    out_ += "='";
    return out_;
}

SVGBuilder& SVGBuilder::text(const std::string& escaped) {
    if (skipped_) return *this;
    openContent();
    out_ += escaped;
    return *this;
}

SVGBuilder& SVGBuilder::close() {
    if (skipped_ > 0) {
        --skipped_;
        return *this;
    }
    if (depth_ == 0) return *this;
    --depth_;
    if (hasContent_[depth_]) {
        out_ += "</";
        out_ += names_[depth_];
        out_ += '>';
    } else {
        out_ += "/>";
    }
    if (depth_ == 0) out_ += '\n';
    return *this;
}

}  // namespace plotvane

// Reading image maps back. The text is cut after every '>' into elements; each element with a
// coords attribute becomes a region whose shape follows from its number of coordinates: 3 a circle,
// 4 a rectangle, anything else a polygon (even-odd rule). A bounding box per region, kept in one
// flat array, rejects almost every region with four comparisons, so a search among ten thousand
// regions touches little more than that array. With many regions the previous hit is tried first:
// a pointer moving over a chart mostly stays in the same area.
//
// The text may come from anywhere: coordinates are clamped, unterminated quotes end at the end of
// the element, entities that do not decode are kept as written.

#include <plotvane/imagemaphandler.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace plotvane {

namespace {

// Coordinates beyond this cannot matter to a picture and keep squares inside a double's precision.
constexpr long kMaxCoordinate = 1000000000L;
// Above this many regions the previous hit is tried first.
constexpr size_t kRecentFirst = 200;

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':'; }

bool equalIgnoringCase(const char* a, const char* b, size_t n) {
    for (size_t k = 0; k < n; ++k)
        if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k])))
            return false;
    return true;
}

// The value of attribute `name` in an element, and whether it was there.
bool getAttr(const char* begin, const char* end, const char* name, std::string& value) {
    size_t len = std::strlen(name);
    for (const char* eq = begin; (eq = static_cast<const char*>(std::memchr(eq, '=', end - eq))); ++eq) {
        const char* n = eq;
        while (n > begin && n[-1] == ' ') --n;
        if (static_cast<size_t>(n - begin) < len || !equalIgnoringCase(n - len, name, len)) continue;
        if (n - len > begin && isNameChar(n[-static_cast<std::ptrdiff_t>(len) - 1])) continue;
        const char* v = eq + 1;
        while (v < end && *v == ' ') ++v;
        const char* stop;
        if (v < end && (*v == '"' || *v == '\'')) {
            char quote = *v++;
            stop = static_cast<const char*>(std::memchr(v, quote, end - v));
            if (!stop) stop = end;
        } else {
            stop = v;
            while (stop < end && *stop != ' ' && *stop != '>') ++stop;
        }
        value.assign(v, stop);
        return true;
    }
    return false;
}

void appendUtf8(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Decodes "&#NNN;", "&#xHH;" and the few named entities a link may carry.
std::string htmlUnescape(const std::string& text) {
    static const std::pair<const char*, char> named[] = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'},
                                                         {"apos;", '\''}};
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '&') {
            out += text[k];
            continue;
        }
        bool done = false;
        if (k + 1 < text.size() && text[k + 1] == '#') {
            size_t d = k + 2;
            bool hex = d < text.size() && (text[d] == 'x' || text[d] == 'X');
            if (hex) ++d;
            size_t start = d;
            unsigned long c = 0;
            for (int digit; d < text.size() && d - start < 8; ++d) {
                digit = hexDigit(text[d]);
                if (digit < 0 || (!hex && digit > 9)) break;
                c = c * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
            }
            if (d > start && d < text.size() && text[d] == ';' && c > 0 && c <= 0x10ffff && (c < 0xd800 || c > 0xdfff)) {
                appendUtf8(out, c);
                k = d;
                done = true;
            }
        } else {
            for (const auto& e : named) {
                size_t n = std::strlen(e.first);
                if (text.compare(k + 1, n, e.first) == 0) {
                    out += e.second;
                    k += n;
                    done = true;
                    break;
                }
            }
        }
        if (!done) out += '&';
    }
    return out;
}

std::string percentDecode(const std::string& text) {
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        int hi, lo;
        if (text[k] == '%' && k + 2 < text.size() && (hi = hexDigit(text[k + 1])) >= 0 && (lo = hexDigit(text[k + 2])) >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            k += 2;
        } else {
            out += text[k];
        }
    }
    return out;
}

std::vector<int> parseCoords(const std::string& text) {
    std::vector<int> xy;
    const char* p = text.c_str();
    while (*p) {
        char* end = nullptr;
        long v = std::strtol(p, &end, 10);
        if (end == p) {
            // Not a number: skip to the next comma, as a browser would read it as zero.
            const char* comma = std::strchr(p, ',');
            xy.push_back(0);
            if (!comma) break;
            p = comma + 1;
            continue;
        }
        xy.push_back(static_cast<int>(std::clamp(v, -kMaxCoordinate, kMaxCoordinate)));
        p = end;
        while (*p && *p != ',') ++p;
        if (*p == ',') ++p;
    }
    return xy;
}

struct Region {
    size_t begin = 0, end = 0;  // the element in the text
    std::vector<int> xy;
};

struct Bounds {
    long long left, top, right, bottom;
};

bool insideShape(const std::vector<int>& xy, int x, int y) {
    size_t n = xy.size();
    if (n == 3) {
        double dx = static_cast<double>(x) - xy[0], dy = static_cast<double>(y) - xy[1];
        return dx * dx + dy * dy <= static_cast<double>(xy[2]) * xy[2];
    }
    if (n == 4)
        return x >= std::min(xy[0], xy[2]) && x <= std::max(xy[0], xy[2]) && y >= std::min(xy[1], xy[3]) &&
               y <= std::max(xy[1], xy[3]);
    size_t points = n / 2;
    if (points < 3) return false;
    bool inside = false;
    for (size_t i = 0, j = points - 1; i < points; j = i++) {
        double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        if ((yi <= y && y < yj) || (yj <= y && y < yi)) {
            double xc = (xi - xj) * (y - yj) / (yi - yj) + xj;
            if (xc > x) inside = !inside;
        }
    }
    return inside;
}

Bounds boundsOf(const std::vector<int>& xy) {
    if (xy.size() == 3) return {static_cast<long long>(xy[0]) - std::abs(xy[2]), static_cast<long long>(xy[1]) - std::abs(xy[2]),
                                static_cast<long long>(xy[0]) + std::abs(xy[2]), static_cast<long long>(xy[1]) + std::abs(xy[2])};
    if (xy.size() < 4) return {1, 1, 0, 0};  // never hit
    Bounds b{xy[0], xy[1], xy[0], xy[1]};
    for (size_t k = 0; k + 1 < xy.size(); k += 2) {
        b.left = std::min<long long>(b.left, xy[k]);
        b.right = std::max<long long>(b.right, xy[k]);
        b.top = std::min<long long>(b.top, xy[k + 1]);
        b.bottom = std::max<long long>(b.bottom, xy[k + 1]);
    }
    return b;
}

class ImageMapHandlerImpl final : public ImageMapHandler {
  public:
    explicit ImageMapHandlerImpl(const char* text) : text_(text ? text : "") { parse(); }

    void destroy() override { delete this; }

    int getHotSpot(int x, int y) override {
        if (regions_.size() > kRecentFirst && hit_ >= 0 && contains(static_cast<size_t>(hit_), x, y)) return hit_ + 1;
        hit_ = -1;
        for (size_t k = 0; k < regions_.size(); ++k) {
            if (contains(k, x, y)) {
                hit_ = static_cast<int>(k);
                break;
            }
        }
        return hit_ + 1;
    }

    const char* getKey(int i) override {
        const auto* entry = entryAt(i);
        return entry ? entry->first.c_str() : nullptr;
    }

    const char* getValue(int i) override {
        const auto* entry = entryAt(i);
        return entry ? entry->second.c_str() : nullptr;
    }

    const char* getValue(const char* key) override {
        if (!key || !buildTable()) return nullptr;
        size_t len = std::strlen(key);
        for (const auto& entry : table_)
            if (entry.first.size() == len && equalIgnoringCase(entry.first.c_str(), key, len)) return entry.second.c_str();
        return nullptr;
    }

  private:
    void parse() {
        size_t start = 0;
        std::string coords;
        while (start < text_.size()) {
            size_t close = text_.find('>', start);
            size_t end = close == std::string::npos ? text_.size() : close + 1;
            const char* b = text_.c_str() + start;
            if (getAttr(b, text_.c_str() + end, "coords", coords)) {
                Region r;
                r.begin = start;
                r.end = end;
                r.xy = parseCoords(coords);
                bounds_.push_back(boundsOf(r.xy));
                regions_.push_back(std::move(r));
            }
            start = end;
        }
    }

    bool contains(size_t k, int x, int y) const {
        const Bounds& b = bounds_[k];
        if (x < b.left || x > b.right || y < b.top || y > b.bottom) return false;
        return insideShape(regions_[k].xy, x, y);
    }

    bool attr(const Region& r, const char* name, std::string& value) const {
        return getAttr(text_.c_str() + r.begin, text_.c_str() + r.end, name, value);
    }

    bool buildTable() {
        if (hit_ < 0) return false;
        if (tableFor_ == hit_) return true;
        table_.clear();
        const Region& r = regions_[static_cast<size_t>(hit_)];
        std::string value;
        if (attr(r, "href", value)) {
            std::string link = htmlUnescape(value);
            size_t q = link.find('?');
            table_.emplace_back("path", link.substr(0, q));
            for (size_t at = q; at != std::string::npos && at < link.size();) {
                size_t next = link.find('&', at + 1);
                std::string pair = link.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
                at = next;
                if (pair.empty()) continue;
                size_t eq = pair.find('=');
                std::string key = percentDecode(pair.substr(0, eq));
                for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                table_.emplace_back(key, eq == std::string::npos ? std::string() : percentDecode(pair.substr(eq + 1)));
            }
        }
        attr(r, "coords", value);
        table_.emplace_back("coords", value);
        value.clear();
        attr(r, "title", value);
        table_.emplace_back("title", htmlUnescape(value));
        tableFor_ = hit_;
        return true;
    }

    const std::pair<std::string, std::string>* entryAt(int i) {
        if (i < 0 || !buildTable() || static_cast<size_t>(i) >= table_.size()) return nullptr;
        return &table_[static_cast<size_t>(i)];
    }

    std::string text_;
    std::vector<Region> regions_;
    std::vector<Bounds> bounds_;
    int hit_ = -1;
    std::vector<std::pair<std::string, std::string>> table_;
    int tableFor_ = -1;
};

}  // namespace

ImageMapHandler* ImageMapHandler::create(const char* imageMap) {
    return new (std::nothrow) ImageMapHandlerImpl(imageMap);
}

}  // namespace plotvane

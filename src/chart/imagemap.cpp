// Image-map text: templates joined once per producer, then one area element per shape.
#include "imagemap_p.h"

#include <algorithm>
#include <initializer_list>

namespace plotvane {

namespace {

// Writes v's digits ending at `end`; returns where they start.
char* intDigits(char* end, int v) {
    unsigned magnitude = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    do {
        *--end = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (v < 0) *--end = '-';
    return end;
}

// Appends the numbers separated by commas, built back to front in one buffer and added at once.
void appendInts(std::string& out, std::initializer_list<int> values) {
    char buffer[4 * 12];
    char* const end = buffer + sizeof buffer;
    char* first = end;
    for (auto v = values.end(); v != values.begin();) {
        if (first != end) *--first = ',';
        first = intDigits(first, *--v);
    }
    out.append(first, static_cast<size_t>(end - first));
}

void appendRect(std::string& out, int left, int top, int right, int bottom) {
    out += "shape=\"rect\" coords=\"";
    appendInts(out, {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
    out += '"';
}

void finishArea(std::string& map, const std::string& extra, const std::string& link) {
    if (!extra.empty()) {
        map += ' ';
        map += extra;
    }
    if (!link.empty()) {
        map += " href=\"";
        map += link;
        map += '"';
    }
    map += " />\n";
}

void replaceAll(std::string& text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

std::string combineQuery(const std::string& given, const std::string& fallback) {
    if (given.empty()) return fallback;
    std::string text = given;
    replaceAll(text, "{default}", fallback);
    return text;
}

std::string urlJoin(const std::string& url, const std::string& query) {
    if (url.empty()) return std::string();
    if (url.find("{queryParam}") != std::string::npos) {
        // The query's own separators must survive being pasted into a url that has its own.
        std::string param = query;
        std::replace(param.begin(), param.end(), '&', '\x1e');
        std::string text = url;
        replaceAll(text, "{queryParam}", param);
        return text;
    }
    if (query.empty() || query == " ") return url;
    if (query[0] == '?' || query[0] == '&') return url + query;
    return url + (url.find('?') == std::string::npos ? '?' : '&') + query;
}

std::string withoutNone(std::string text) {
    replaceAll(text, "{none}", "");
    return text;
}

AreaTemplates areaTemplates(const std::string& ownUrl, const std::string& ownQuery, const std::string& ownExtra,
                            const char* url, const char* queryFormat, const char* extraAttr,
                            const std::string& defaultQuery) {
    AreaTemplates t;
    std::string link = combineQuery(ownUrl, url ? url : "");
    if (link == "{disable}") return t;
    t.enabled = true;
    std::string query = combineQuery(combineQuery(ownQuery, queryFormat ? queryFormat : ""), defaultQuery);
    t.extra = withoutNone(combineQuery(ownExtra, extraAttr ? extraAttr : ""));
    t.link = urlJoin(withoutNone(link), withoutNone(query));
    return t;
}

std::string imageMapRect(int left, int top, int right, int bottom) {
    std::string text;
    appendRect(text, left, top, right, bottom);
    return text;
}

bool fitHotSpot(std::vector<int>& xy) {
    // Held to a billion pixels as everywhere, so that adding offsets cannot overflow.
    for (int& v : xy) v = std::clamp(v, -1000000000, 1000000000);
    if (xy.size() < 3 || std::all_of(xy.begin(), xy.end(), [](int v) { return v == 0; })) return false;
    if (xy.size() < 5) return true;
    int minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
    for (size_t k = 0; k + 1 < xy.size(); k += 2) {
        minX = std::min(minX, xy[k]);
        maxX = std::max(maxX, xy[k]);
        minY = std::min(minY, xy[k + 1]);
        maxY = std::max(maxY, xy[k + 1]);
    }
    if (maxX == 0 && maxY == 0) return false;
    minX = std::max(minX, 0);
    minY = std::max(minY, 0);
    if (maxX - minX < 3 || maxY - minY < 3) xy = {minX, minY, maxX, maxY};
    return true;
}

void appendCoordAttributes(std::string& out, const std::vector<int>& xy, int offsetX, int offsetY) {
    if (xy.size() == 4) {
        appendRect(out, xy[0] + offsetX, xy[1] + offsetY, xy[2] + offsetX, xy[3] + offsetY);
        return;
    }
    out += "shape=\"poly\" coords=\"";
    for (size_t k = 0; k + 1 < xy.size(); k += 2) {
        if (k) out += ',';
        appendInts(out, {xy[k] + offsetX, xy[k + 1] + offsetY});
    }
    out += '"';
}

void appendArea(std::string& map, const std::vector<int>& xy, int offsetX, int offsetY, const std::string& extra,
                const std::string& link) {
    if (xy.size() < 3 || std::all_of(xy.begin(), xy.end(), [](int v) { return v == 0; })) return;
    map += "<area ";
    appendCoordAttributes(map, xy, offsetX, offsetY);
    finishArea(map, extra, link);
}

void appendAreaWith(std::string& map, const std::string& shapeAttributes, const std::string& extra,
                    const std::string& link) {
    map += "<area ";
    map += shapeAttributes;
    finishArea(map, extra, link);
}

}  // namespace plotvane

#ifndef PLOTVANE_TESTS_DRAW_DRAWTEST_H
#define PLOTVANE_TESTS_DRAW_DRAWTEST_H

// Helpers shared by the drawing tests: the text dump of an area, its record names, and a
// back-end double that logs every call it receives.

#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "draw/drawarea_p.h"
#include "support/areaptr.h"
#include "draw/drawbackend_p.h"

namespace drawtest {

using plotvane_test::AreaPtr;

inline plotvane::DrawAreaImpl* impl(plotvane::DrawArea* d) { return static_cast<plotvane::DrawAreaImpl*>(d); }

inline AreaPtr newArea(int width = 100, int height = 80) { return plotvane_test::newArea(width, height); }

inline std::string dump(plotvane::DrawArea* d) {
    plotvane::MemBlock m = d->outAGF();
    return std::string(m.data ? m.data : "", static_cast<size_t>(m.len));
}

// The record names of the dump, one per line, without arguments (nested symbols included).
inline std::vector<std::string> recordNames(plotvane::DrawArea* d) {
    std::vector<std::string> names;
    std::istringstream in(dump(d));
    for (std::string line; std::getline(in, line);) names.push_back(line.substr(0, line.find('(')));
    return names;
}

inline int countRecords(plotvane::DrawArea* d, const std::string& name) {
    int n = 0;
    for (const std::string& r : recordNames(d)) n += r == name;
    return n;
}

// Object ids come from a process-wide counter, so they depend on what ran before in the same
// process; renumbering them 0, 1, 2 ... in order of first appearance makes a dump comparable.
inline std::string withRelativeIds(const std::string& text) {
    static const std::regex idRecord("^(DefineSymbol|EndDefineSymbol|MergeWithScaling|MergeWithRotation|MergeBitMap|LoadStream)\\((\\d+)");
    std::map<std::string, int> ids;
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, idRecord)) {
            auto it = ids.emplace(m[2].str(), static_cast<int>(ids.size())).first;
            line = m[1].str() + "(" + std::to_string(it->second) + m.suffix().str();
        }
        out += line + "\n";
    }
    return out;
}

// Logs "name" or "name(args)" for every call; symbols get their own logging back-ends.
class LoggingBackend : public plotvane::DrawBackend {
public:
    std::vector<std::string> calls;
    int count(const std::string& name) const {
        int n = 0;
        for (const std::string& c : calls) n += c.substr(0, c.find('(')) == name;
        return n;
    }

    void setSubDrawMode() override { log("setSubDrawMode"); }
    void setSize(int w, int h, int bg) override { log("setSize", {double(w), double(h), double(unsigned(bg))}); }
    void resize(int w, int h) override { log("resize", {double(w), double(h)}); }
    void affineTransform(double a, double b, double c, double d, double e, double f, int, int, double) override {
        log("affineTransform", {a, b, c, d, e, f});
    }
    void setClipRect(int l, int t, int r, int b) override { log("setClipRect", {double(l), double(t), double(r), double(b)}); }
    void setBgColor(int) override { log("setBgColor"); }
    void clipRoundedCorners(int, int, int, int, int) override { log("clipRoundedCorners"); }
    void addDropShadow(int, int, int, int, int) override { log("addDropShadow"); }
    void line(double x1, double y1, double x2, double y2, int, int w) override { log("line", {x1, y1, x2, y2, double(w)}); }
    void initLineTo() override { log("initLineTo"); }
    void initLineTo(double x, double y) override { log("initLineTo", {x, y}); }
    void lineTo(double x, double y, int, int w) override { log("lineTo", {x, y, double(w)}); }
    void roundedRect(double, double, double, double, int, int, int) override { log("roundedRect"); }
    void multiRoundedRect(double, double, double, double, const int[4], const int[5]) override { log("multiRoundedRect"); }
    void polygon(const double*, const double*, int n, int, int) override { log("polygon", {double(n)}); }
    void exactPolygon(const double*, const double*, int n, int) override { log("exactPolygon", {double(n)}); }
    void shape(int, bool, bool, const std::vector<plotvane::PathItem>& edges) override {
        log("shape", {double(edges.size())});
        lastShape = edges;
    }
    void gouraudShadedTriangle(const double[9], int) override { log("gouraudShadedTriangle"); }
    void commitSuperPixels() override { log("commitSuperPixels"); }
    void text(const plotvane::GlyphContainer&, int first, int end, int, int, int) override {
        log("text", {double(first), double(end)});
    }
    void turnedText(const plotvane::GlyphContainer&, int first, int end, int x, int y, int, int turn) override {
        log("turnedText", {double(first), double(end), double(x), double(y), double(turn)});
    }
    plotvane::DrawBackend* createSymbol(int id) override {
        log("createSymbol", {double(id)});
        symbols.push_back(std::make_unique<LoggingBackend>());
        return symbols.back().get();
    }
    void removeSymbol(int id) override { log("removeSymbol", {double(id)}); }
    void mergeSymbol(int id, int, int, int, int, int) override { log("mergeSymbol", {double(id)}); }
    void mergeSymbolRotated(int id, double x, double y, double a) override { log("mergeSymbolRotated", {double(id), x, y, a}); }
    void mergeBitMap(const int*, int count, int, int, int) override { log("mergeBitMap", {double(count)}); }
    void loadStream(const unsigned char*, int length, int, int, int) override { log("loadStream", {double(length)}); }
    void adjustBrightness(int, int, double) override { log("adjustBrightness"); }
    void transformedColor(int, int, const double[6]) override { log("transformedColor"); }
    void brushedTextureColor(int, int, int) override { log("brushedTextureColor"); }
    void dashLineColor(int, int, int) override { log("dashLineColor"); }
    void linearGradientColor(int, double, double, double, double, bool, const std::vector<int>&) override {
        log("linearGradientColor");
    }
    void radialGradientColor(int, int, int, int, int, bool, const std::vector<int>&) override { log("radialGradientColor"); }
    void angleGradientColor(int, const double[6], const std::vector<int>&) override { log("angleGradientColor"); }
    void relativeLinearGradientColor(int, double, double, double, double, bool, const std::vector<int>&) override {
        log("relativeLinearGradientColor");
    }
    void lightingColor(int, int, const double[4], bool, const std::vector<int>&) override { log("lightingColor"); }
    void linearLightingColor(int, int, const double[4], bool, const std::vector<int>&) override {
        log("linearLightingColor");
    }
    void radialLightingColor(int, int, int, int, int, int, const std::vector<int>&) override { log("radialLightingColor"); }
    void relativeLinearLightingColor(int, int, const double[4], bool, const std::vector<int>&) override {
        log("relativeLinearLightingColor");
    }
    void patternColor(int, int, int, int, int, const std::vector<int>&) override { log("patternColor"); }
    void patternColor2(int, int, int, const char*) override { log("patternColor2"); }
    void zoneColor(int, bool, int, int, int) override { log("zoneColor"); }
    void comment(const char* text) override { calls.push_back(std::string("comment: ") + text); }

    std::vector<plotvane::PathItem> lastShape;
    std::vector<std::unique_ptr<LoggingBackend>> symbols;

private:
    void log(const char* name, std::initializer_list<double> args = {}) {
        std::ostringstream s;
        s << name;
        if (args.size()) {
            const char* sep = "(";
            for (double a : args) {
                s << sep << a;
                sep = ", ";
            }
            s << ")";
        }
        calls.push_back(s.str());
    }
};

}  // namespace drawtest

#endif

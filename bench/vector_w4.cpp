// W4: the W3 dashboard (600 x 400, 3 series x 12 months of bars, a line series of width 2, title,
// legend, axis titles and labels: about 40 bars and 60 text runs) written as SVG and as PDF into
// memory. The drawing is replayed straight into the writers, as a recorder would, so the figures
// are the writers' own cost. Prints charts per second (median of 5 runs of 200 charts).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "draw/glyph_p.h"
#include "vector/drawpdf_p.h"
#include "vector/drawsvg_p.h"

using namespace plotvane;

namespace {

class BenchGlyph : public FontGlyph {
public:
    void addRef() override {}
    void release() override {}
};

class BenchFace : public FontFace {
public:
    explicit BenchFace(double px, bool bold) : px_(px), bold_(bold) {
        glyph_.advance = px * 0.6;
        ascender = static_cast<int>(px * 0.93);
        descender = static_cast<int>(px * 0.24);
    }
    FontGlyph* getGlyph(int, int) override { return &glyph_; }
    void addRef() override {}
    void release() override {}
    bool isItalic() const override { return false; }
    bool isBold() const override { return bold_; }
    bool isArtificialItalic() const override { return false; }
    bool isArtificialBold() const override { return false; }
    double getSizeInPixels() const override { return px_; }
    const char* getFamilyName() const override { return "DejaVu Sans"; }
    const char* getPSName() const override { return "DejaVuSans"; }
    const char* getPathName() const override {
        return bold_ ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                     : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    }
    int getFontIndex() const override { return 0; }

private:
    double px_;
    bool bold_;
    BenchGlyph glyph_;
};

struct Label {
    GlyphContainer* glyphs;
    int x, y;
};

Label makeLabel(FontFace& face, const std::string& text, int x, int y) {
    auto* g = new GlyphContainer();
    double pen = 0;
    for (char ch : text) {
        Glyph glyph;
        glyph.ch = static_cast<unsigned char>(ch);
        glyph.face = &face;
        glyph.glyph = face.getGlyph(glyph.ch, 1);
        glyph.ascender = face.ascender;
        glyph.x0 = pen;
        pen += glyph.glyph->advance;
        glyph.x1 = pen;
        g->glyphs().push_back(glyph);
    }
    return {g, x, y};
}

struct Chart {
    BenchFace normal{13.3, false}, bold{20, true};
    std::vector<Label> labels;
    Chart() {
        const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        labels.push_back(makeLabel(bold, "Monthly Revenue by Region", 180, 8));
        for (int i = 0; i < 12; ++i) labels.push_back(makeLabel(normal, months[i], 78 + i * 42, 352));
        for (int i = 0; i <= 11; ++i) labels.push_back(makeLabel(normal, std::to_string(i * 10), 30, 340 - i * 26));
        const char* legend[] = {"North", "South", "West", "Target"};
        for (int i = 0; i < 4; ++i) labels.push_back(makeLabel(normal, legend[i], 120 + i * 100, 40));
        labels.push_back(makeLabel(normal, "Month", 290, 375));
        labels.push_back(makeLabel(normal, "USD (thousands)", 4, 180));
        while (labels.size() < 60) labels.push_back(makeLabel(normal, std::to_string(labels.size() * 7 % 110), 300, 200));
    }
    ~Chart() {
        for (Label& l : labels) l.glyphs->deRef();
    }
    void draw(DrawBackend& d) const {
        d.setSize(600, 400, 0xffffff);
        d.roundedRect(60, 60, 570, 345, 0, 0x888888, 0xf8f8f8);
        for (int i = 1; i < 11; ++i) d.line(60, 345 - i * 26, 570, 345 - i * 26, 0xdddddd, 1);
        const int colors[3] = {0x3366cc, 0xdc3912, 0xff9900};
        for (int m = 0; m < 12; ++m)
            for (int s = 0; s < 3; ++s) {
                double x0 = 66 + m * 42 + s * 10, top = 345 - ((m * 17 + s * 29) % 100 + 5) * 2.6;
                double xs[4] = {x0, x0 + 9, x0 + 9, x0}, ys[4] = {top, top, 345, 345};
                d.polygon(xs, ys, 4, 0x000000, colors[s]);
            }
        d.initLineTo(80, 200);
        for (int m = 1; m < 12; ++m) d.lineTo(80 + m * 42, 200 - (m * 23 % 80), 0x109618, 2);
        d.initLineTo();
        for (int i = 0; i < 4; ++i) d.roundedRect(105 + i * 100, 42, 115 + i * 100, 52, 0, 0x000000, colors[i % 3]);
        for (const Label& l : labels) d.text(*l.glyphs, 0, l.glyphs->size(), l.x, l.y, 0x000000);
    }
};

template <class Writer>
double chartsPerSecond(const Chart& chart, int charts, size_t& bytes) {
    VectorOptions options;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < charts; ++i) {
        std::unique_ptr<Writer> w(Writer::create(options));
        chart.draw(*w);
        vek::ostrstream out;
        w->finish(out);
        bytes = static_cast<size_t>(out.tell());
    }
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return charts / elapsed.count();
}

template <class Writer>
void report(const char* name, const Chart& chart) {
    std::vector<double> runs;
    size_t bytes = 0;
    chartsPerSecond<Writer>(chart, 20, bytes);  // warm the font cache
    for (int r = 0; r < 5; ++r) runs.push_back(chartsPerSecond<Writer>(chart, 200, bytes));
    std::sort(runs.begin(), runs.end());
    std::printf("W4 %s: %.0f charts/s (median of 5 x 200; %zu bytes each)\n", name, runs[2], bytes);
}

}  // namespace

int main() {
    Chart chart;
    report<DrawSVG>("SVG", chart);
    report<DrawPDF>("PDF", chart);
    return 0;
}

#ifndef PLOTVANE_TESTS_VECTOR_VECTORTEST_H
#define PLOTVANE_TESTS_VECTOR_VECTORTEST_H

// Shared by the vector writer tests: a font face over a real TrueType file, glyph runs built by
// hand, a small chart-like scene driven through the back-end interface in the order a replay
// would use, and helpers to run the external checkers and read their rasters.

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "draw/drawbackend_p.h"
#include "draw/glyph_p.h"
#include "support/golden.h"
#include "vector/vectoroptions_p.h"

namespace vectortest {

constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class FakeGlyph : public plotvane::FontGlyph {
public:
    void addRef() override {}
    void release() override {}
};

// A face whose advances come from the font file itself, as the font engine's would.
class FakeFace : public plotvane::FontFace {
public:
    explicit FakeFace(double pixels, const char* path = kDejaVu, const char* family = "DejaVu Sans",
                      bool bold = false, bool italic = false)
        : pixels_(pixels), path_(path), family_(family), bold_(bold), italic_(italic) {
        if (FT_Init_FreeType(&lib_) == 0 && FT_New_Face(lib_, path, 0, &face_) == 0)
            FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels + 0.5));
        ascender = static_cast<int>(pixels * 0.93 + 0.5);
        descender = static_cast<int>(pixels * 0.24 + 0.5);
        lineHeight = ascender + descender;
    }
    ~FakeFace() override {
        if (face_) FT_Done_Face(face_);
        if (lib_) FT_Done_FreeType(lib_);
    }
    plotvane::FontGlyph* getGlyph(int ch, int) override {
        auto& g = glyphs_[ch];
        if (!g) {
            g = std::make_unique<FakeGlyph>();
            g->advance = pixels_ * 0.6;
            if (face_ && FT_Load_Char(face_, static_cast<FT_ULong>(ch), FT_LOAD_NO_HINTING) == 0)
                g->advance = face_->glyph->linearHoriAdvance / 65536.0;
        }
        return g.get();
    }
    bool getOutline(int, plotvane::GlyphOutline&) override { return false; }
    void addRef() override {}
    void release() override {}
    bool isItalic() const override { return italic_; }
    bool isBold() const override { return bold_; }
    bool isArtificialItalic() const override { return false; }
    bool isArtificialBold() const override { return false; }
    double getSizeInPixels() const override { return pixels_; }
    const char* getFamilyName() const override { return family_.c_str(); }
    const char* getPSName() const override { return ""; }
    const char* getPathName() const override { return path_.c_str(); }
    int getFontIndex() const override { return 0; }

private:
    double pixels_;
    std::string path_, family_;
    bool bold_, italic_;
    FT_Library lib_ = nullptr;
    FT_Face face_ = nullptr;
    std::map<int, std::unique_ptr<FakeGlyph>> glyphs_;
};

// A run of UTF-32 text laid out from (0, 0) with the face's advances; the container is released
// by the caller with deRef().
inline plotvane::GlyphContainer* layoutText(FakeFace& face, const std::u32string& text, int color = -1) {
    auto* glyphs = new plotvane::GlyphContainer();
    double pen = 0;
    for (char32_t ch : text) {
        plotvane::Glyph g;
        g.ch = static_cast<int>(ch);
        g.face = &face;
        g.glyph = face.getGlyph(g.ch, 1);
        g.ascender = face.ascender;
        g.descender = face.descender;
        g.color = color;
        g.x0 = pen;
        g.x1 = pen + g.glyph->advance;
        g.y1 = face.ascender + face.descender;
        pen = g.x1;
        glyphs->glyphs().push_back(g);
    }
    return glyphs;
}

inline void drawText(plotvane::DrawBackend& out, FakeFace& face, const std::u32string& text, int x, int y, int color) {
    plotvane::GlyphContainer* glyphs = layoutText(face, text);
    out.text(*glyphs, 0, glyphs->size(), x, y, color);
    glyphs->deRef();
}

// A dashboard-like picture: background, grid, gradient-filled plot area, bars, a polyline, a dashed
// line and labels. The dynamic ids are defined before their first use, as a replay does.
inline void drawScene(plotvane::DrawBackend& out, FakeFace& face, int bars = 12, int labels = 8) {
    const int gradient = static_cast<int>(0xfffe0001u), dash = static_cast<int>(0xfffe0002u);
    out.setSize(600, 400, 0xffffff);
    out.linearGradientColor(gradient, 0, 40, 0, 360, false, {0, 0xe8f0ff, 256, 0xffffff});
    out.roundedRect(50, 40, 570, 360, 0, 0x888888, gradient);
    for (int i = 1; i < 8; ++i) out.line(50, 40 + i * 40, 570, 40 + i * 40, 0xdddddd, 1);
    out.setClipRect(50, 40, 570, 360);
    for (int i = 0; i < bars; ++i) {
        double x0 = 60 + i * (500.0 / bars), x1 = x0 + 500.0 / bars * 0.6, top = 340 - (i * 37 % 250);
        double xs[4] = {x0, x1, x1, x0}, ys[4] = {top, top, 360, 360};
        out.polygon(xs, ys, 4, 0x204080, i % 2 ? 0x3366cc : 0x66aa33);
    }
    out.initLineTo(60, 300);
    for (int i = 1; i <= 20; ++i) out.lineTo(60 + i * 25, 300 - (i * 53 % 180), 0xcc0000, 3);
    out.initLineTo();
    out.dashLineColor(dash, 0x000000, 0x08040000);
    out.line(50, 120, 570, 120, dash, 2);
    out.setClipRect(0, 0, 599, 399);
    for (int i = 0; i < labels; ++i) drawText(out, face, U"Label " + std::u32string(1, U'A' + i % 26), 60 + i * 60, 370, 0x333333);
    drawText(out, face, U"Revenue & <costs>", 220, 10, 0x000000);
}

inline bool haveTool(const char* name) {
    std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// Runs a shell command, returning its exit status and (optionally) its standard output.
inline int run(const std::string& cmd, std::string* output = nullptr) {
    std::string full = cmd + " 2>&1";
    FILE* p = popen(full.c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    size_t n;
    std::string text;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
    int status = pclose(p);
    if (output) *output = text;
    return status;
}

inline std::string tempPath(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/plotvane_vector_" + std::to_string(getpid()) + "_" + name;
}

struct Raster {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

// Reads a PNG file into RGBA composited over white.
inline Raster readPNG(const std::string& path) {
    Raster r;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return r;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> buf(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buf.data(), 0, nullptr)) return r;
    r.width = static_cast<int>(image.width);
    r.height = static_cast<int>(image.height);
    for (size_t i = 0; i < buf.size(); i += 4) {
        unsigned a = buf[i + 3];
        for (int c = 0; c < 3; ++c) buf[i + c] = static_cast<unsigned char>((buf[i + c] * a + 255 * (255 - a)) / 255);
        buf[i + 3] = 255;
    }
    r.rgba = std::move(buf);
    return r;
}

struct Difference {
    double mean = 0;
    double worstBlock = 0;  // mean channel difference of the worst 8x8 block
    int worstX = 0, worstY = 0;
};

inline Difference compare(const Raster& a, const Raster& b) {
    Difference d;
    double total = 0;
    for (int by = 0; by < a.height; by += 8)
        for (int bx = 0; bx < a.width; bx += 8) {
            double block = 0;
            int n = 0;
            for (int y = by; y < std::min(by + 8, a.height); ++y)
                for (int x = bx; x < std::min(bx + 8, a.width); ++x)
                    for (int c = 0; c < 3; ++c, ++n) {
                        size_t i = (static_cast<size_t>(y) * static_cast<size_t>(a.width) + static_cast<size_t>(x)) * 4 +
                                   static_cast<size_t>(c);
                        block += std::abs(int(a.rgba[i]) - int(b.rgba[i]));
                    }
            total += block;
            if (block / n > d.worstBlock) {
                d.worstBlock = block / n;
                d.worstX = bx;
                d.worstY = by;
            }
        }
    d.mean = total / (double(a.width) * a.height * 3);
    return d;
}

// One drawing as our PNG, and as SVG and PDF rasterised by librsvg and poppler at one device pixel
// per drawing pixel.
struct ThreeWays {
    bool ok = false;
    std::string log;
    Raster own, fromSVG, fromPDF;
};

inline ThreeWays renderThreeWays(plotvane::DrawArea* d, const std::string& name) {
    ThreeWays r;
    std::string png = tempPath(name + ".png"), svg = tempPath(name + ".svg"), pdf = tempPath(name + ".pdf");
    std::string svgPNG = tempPath(name + "_svg.png"), pdfBase = tempPath(name + "_pdf");
    r.ok = d->out(png.c_str()) && d->out(svg.c_str()) && d->out(pdf.c_str()) &&
           run("rsvg-convert -f png -o " + svgPNG + " " + svg, &r.log) == 0 &&
           run("pdftoppm -r 96 -png -singlefile " + pdf + " " + pdfBase, &r.log) == 0;
    if (r.ok) {
        r.own = readPNG(png);
        r.fromSVG = readPNG(svgPNG);
        r.fromPDF = readPNG(pdfBase + ".png");
    }
    for (const std::string& p : {png, svg, pdf, svgPNG, pdfBase + ".png"}) std::remove(p.c_str());
    return r;
}

inline plotvane::VectorOptions options(std::map<std::string, std::string> values = {}) {
    auto shared = std::make_shared<std::map<std::string, std::string>>(std::move(values));
    plotvane::VectorOptions o;
    o.lookup = [shared](const char* key) -> const char* {
        auto it = shared->find(key);
        return it == shared->end() ? nullptr : it->second.c_str();
    };
    o.clock = [] { return static_cast<std::time_t>(1700000000); };
    return o;
}

}  // namespace vectortest

#endif

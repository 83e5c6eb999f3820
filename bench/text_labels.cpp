// Text throughput: 10,000 short labels (6 to 12 characters; "arial.ttf" and "timesbd.ttf" at 9 and
// 12 points; every fifth one turned 90 degrees) laid out and drawn on one 1600 x 1200 canvas, beside
// cairo drawing the same strings with its FreeType back-end from the same font files at the same
// pixel sizes. The first run fills the glyph caches; the figures are medians of the warm runs.
//
// Ours is timed as layout + record (DrawArea::text), replay to pixels (getCanvas) and total; cairo
// draws as it goes, timed as a whole. "ours (grey)" draws every label anti-aliased, as cairo does,
// where the default mode draws small regular text crisp (monochrome). "ours (mixed)" draws the same
// number of labels, half their characters Arabic letters, through the bidi and shaping pass; its
// time is reported against the Latin-only figure of the same run.
//
//   bench_text_labels [runs] [folder]   folder: also write ours.png and cairo.png there
#include <plotvane/drawarea.h>

#include "text/fontdriver_p.h"
#include "text/textlock_p.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace plotvane;

namespace {

constexpr int kWidth = 1600, kHeight = 1200, kLabels = 10000;
const char* const kFonts[2] = {"arial.ttf", "timesbd.ttf"};
const double kSizes[2] = {9, 12};

struct Label {
    std::string text;
    int font;     // index into kFonts
    int size;     // index into kSizes
    int x, y;
    bool turned;  // 90 degrees, reading upwards
    int color;
};

void appendUtf8(std::string& s, int c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else {
        s += static_cast<char>(0xc0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3f));
    }
}

// mixed: about half the characters are basic Arabic letters.
std::vector<Label> makeLabels(bool mixed) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,-%$()";
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    std::vector<Label> labels(kLabels);
    for (int i = 0; i < kLabels; ++i) {
        Label& l = labels[static_cast<size_t>(i)];
        int length = 6 + static_cast<int>(next() % 7);
        for (int k = 0; k < length; ++k) {
            if (mixed && next() % 2) appendUtf8(l.text, 0x627 + static_cast<int>(next() % 36));
            else l.text += kChars[next() % (sizeof(kChars) - 1)];
        }
        l.font = i % 2;
        l.size = (i / 2) % 2;
        l.turned = i % 5 == 4;
        l.x = static_cast<int>(next() % (kWidth - 100));
        l.y = static_cast<int>(next() % (kHeight - 100));
        l.color = static_cast<int>(next() % 0xc0c0c0);
    }
    return labels;
}

int pixels(double points) { return static_cast<int>(points * 96 + 36) / 72; }

double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct OursTimes {
    double layout, replay, total;
};

OursTimes runOurs(const std::vector<Label>& labels, int textMode, const char* png) {
    auto t0 = cpuNow();
    DrawArea* d = DrawArea::create();
    d->setSize(kWidth, kHeight, 0xffffff);
    d->setAntiAliasText(textMode);
    for (const Label& l : labels) {
        double pt = kSizes[l.size];
        d->text(l.text.c_str(), kFonts[l.font], 0, pt, pt, l.turned ? 90 : 0, false, l.x, l.y, l.color,
                Chart::TopLeft);
    }
    auto t1 = cpuNow();
    d->getCanvas();
    auto t2 = cpuNow();
    if (png) d->outPNG(png);
    d->destroy();
    return {t1 - t0, t2 - t1, t2 - t0};
}

// The files our font engine resolves the two names to, so that both sides draw the same faces.
std::string resolvedPath(const char* name) {
    TextLock lock;
    FontFace* face = MainFontDriver::getFace(name, 0, 12, 12, 0);
    std::string path = face ? face->getPathName() : "";
    if (face) face->release();
    return path;
}

class CairoSide {
public:
    CairoSide() {
        FT_Init_FreeType(&library_);
        for (int i = 0; i < 2; ++i) {
            std::string path = resolvedPath(kFonts[i]);
            if (path.empty() || FT_New_Face(library_, path.c_str(), 0, &ft_[i])) {
                std::fprintf(stderr, "cannot open %s\n", kFonts[i]);
                std::exit(1);
            }
            faces_[i] = cairo_ft_font_face_create_for_ft_face(ft_[i], 0);
        }
    }
    ~CairoSide() {
        for (int i = 0; i < 2; ++i) {
            cairo_font_face_destroy(faces_[i]);
            FT_Done_Face(ft_[i]);
        }
        FT_Done_FreeType(library_);
    }

    // Text to glyphs, measured (the layout), then drawn at the label's top left.
    double run(const std::vector<Label>& labels, const char* png) {
        auto t0 = cpuNow();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        for (const Label& l : labels) {
            cairo_set_font_face(cr, faces_[l.font]);
            cairo_set_font_size(cr, pixels(kSizes[l.size]));
            cairo_set_source_rgb(cr, ((l.color >> 16) & 255) / 255.0, ((l.color >> 8) & 255) / 255.0,
                                 (l.color & 255) / 255.0);
            cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
            cairo_font_extents_t fe;
            cairo_scaled_font_extents(font, &fe);
            cairo_glyph_t* glyphs = nullptr;
            int count = 0;
            cairo_scaled_font_text_to_glyphs(font, 0, 0, l.text.c_str(), static_cast<int>(l.text.size()), &glyphs,
                                             &count, nullptr, nullptr, nullptr);
            cairo_text_extents_t te;
            cairo_scaled_font_glyph_extents(font, glyphs, count, &te);
            cairo_save(cr);
            if (l.turned) {
                cairo_translate(cr, l.x + std::ceil(fe.ascent), l.y + std::ceil(te.x_advance));
                cairo_rotate(cr, -M_PI / 2);
            } else {
                cairo_translate(cr, l.x, l.y + std::ceil(fe.ascent));
            }
            cairo_show_glyphs(cr, glyphs, count);
            cairo_restore(cr);
            cairo_glyph_free(glyphs);
        }
        cairo_surface_flush(surface);
        auto t1 = cpuNow();
        if (png) cairo_surface_write_to_png(surface, png);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return t1 - t0;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face ft_[2] = {nullptr, nullptr};
    cairo_font_face_t* faces_[2] = {nullptr, nullptr};
};

void report(const char* name, double cold, double warm) {
    std::printf("%-22s first %7.1f ms   median %7.1f ms   %9.0f labels/s\n", name, cold * 1e3, warm * 1e3,
                kLabels / warm);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 7;
    std::string folder = argc > 2 ? argv[2] : "";
    std::string oursPng = folder + "/ours.png", cairoPng = folder + "/cairo.png";
    std::vector<Label> labels = makeLabels(false), mixedLabels = makeLabels(true);

    CairoSide cairo;
    std::vector<double> layout, replay, total, greyLayout, greyReplay, grey, cairoTimes, mixed, mixedLayout, mixedReplay;
    OursTimes oursCold{}, greyCold{}, mixedCold{};
    double cairoCold = 0;
    // Interleaved, so that both sides see the same machine load.
    for (int r = 0; r <= runs; ++r) {
        bool last = r == runs;
        OursTimes o = runOurs(labels, Chart::AutoAntiAlias, last && !folder.empty() ? oursPng.c_str() : nullptr);
        OursTimes g = runOurs(labels, Chart::AntiAlias, nullptr);
        OursTimes m = runOurs(mixedLabels, Chart::AutoAntiAlias, nullptr);
        double c = cairo.run(labels, last && !folder.empty() ? cairoPng.c_str() : nullptr);
        if (r == 0) {
            oursCold = o;
            greyCold = g;
            mixedCold = m;
            cairoCold = c;
            continue;
        }
        layout.push_back(o.layout);
        replay.push_back(o.replay);
        total.push_back(o.total);
        greyLayout.push_back(g.layout);
        greyReplay.push_back(g.replay);
        grey.push_back(g.total);
        mixed.push_back(m.total);
        mixedLayout.push_back(m.layout);
        mixedReplay.push_back(m.replay);
        cairoTimes.push_back(c);
    }
    std::printf("%d labels on %dx%d, %d warm runs\n", kLabels, kWidth, kHeight, runs);
    std::printf("ours: layout + record %.1f ms, replay %.1f ms (medians)\n", median(layout) * 1e3,
                median(replay) * 1e3);
    std::printf("ours (grey): layout + record %.1f ms, replay %.1f ms (medians)\n", median(greyLayout) * 1e3,
                median(greyReplay) * 1e3);
    std::printf("ours (mixed): layout + record %.1f ms, replay %.1f ms (medians)\n", median(mixedLayout) * 1e3,
                median(mixedReplay) * 1e3);
    report("ours", oursCold.total, median(total));
    report("ours (grey)", greyCold.total, median(grey));
    report("ours (mixed)", mixedCold.total, median(mixed));
    report("cairo", cairoCold, median(cairoTimes));
    std::printf("mixed Arabic and Latin / Latin-only time: %.2f\n", median(mixed) / median(total));
    std::printf("ours / cairo time: %.2f (grey %.2f)\n", median(total) / median(cairoTimes),
                median(grey) / median(cairoTimes));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}

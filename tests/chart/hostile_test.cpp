// What a hostile caller can hand the library through its public interface: forged and damaged
// image files, absurd sizes, huge texts and data, extreme integers. Each case runs in a child
// process under a time limit (and an address-space limit where no sanitizer reserves shadow
// memory), so a hang or a blow-up fails that case instead of the whole suite.
#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "draw/imageio_p.h"

using namespace plotvane;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr unsigned kSecondsPerCase = 20;
constexpr rlim_t kBytesPerCase = rlim_t{4} << 30;

// Runs the case in a child; empty when it returned true in time, else what went wrong.
std::string guarded(const std::function<bool()>& body) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) return "fork failed";
    if (child == 0) {
        if (!kSanitized) {
            rlimit limit{kBytesPerCase, kBytesPerCase};
            setrlimit(RLIMIT_AS, &limit);
        }
        alarm(kSecondsPerCase);
        try {
            _exit(body() ? 0 : 1);
        } catch (...) {
            _exit(2);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) return "an exception escaped";
    if (WIFEXITED(status)) return WEXITSTATUS(status) == 0 ? "" : "wrong result";
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return "no answer in time";
    return "killed by signal " + std::to_string(WIFSIGNALED(status) ? WTERMSIG(status) : -1);
}

#define EXPECT_SURVIVES(...) EXPECT_EQ(guarded(__VA_ARGS__), "")

// A folder of its own for the files one test makes, removed with them.
class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/plotvane_hostile_XXXXXX";
        if (mkdtemp(pattern)) dir_ = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
    }
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        std::string path = dir_ + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }

private:
    std::string dir_;
};

std::vector<unsigned char> encoded(int format, int w, int h) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 0x010305u) & 0xffffffu;
    RasterImage image{pixels.data(), w, h};
    RasterSettings settings;
    vek::ostrstream out;
    bool ok = format == kImagePNG ? writePNG(out, image, settings)
              : format == kImageGIF ? writeGIF(out, image, settings)
                                    : writeJPG(out, image, settings, 90);
    if (!ok) return {};
    return std::vector<unsigned char>(out.data(), out.data() + out.tell());
}

void putBigEndian32(std::vector<unsigned char>& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<unsigned char>(v >> (24 - 8 * k));
}

// A PNG signature and header claiming width x height, then nothing.
std::vector<unsigned char> headerOnlyPNG(uint32_t w, uint32_t h) {
    std::vector<unsigned char> b = encoded(kImagePNG, 4, 4);
    b.resize(33);
    putBigEndian32(b, 16, w);
    putBigEndian32(b, 20, h);
    return b;
}

// A small JPEG whose frame header claims width x height.
std::vector<unsigned char> forgedJPEG(int w, int h) {
    std::vector<unsigned char> b = encoded(kImageJPG, 16, 16);
    for (size_t i = 2; i + 9 < b.size(); ++i)
        if (b[i] == 0xff && (b[i + 1] == 0xc0 || b[i + 1] == 0xc2)) {
            b[i + 5] = static_cast<unsigned char>(h >> 8), b[i + 6] = static_cast<unsigned char>(h);
            b[i + 7] = static_cast<unsigned char>(w >> 8), b[i + 8] = static_cast<unsigned char>(w);
            break;
        }
    return b;
}

XYChart* smallChart(int width = 300, int height = 200) {
    XYChart* c = XYChart::create(width, height);
    c->setPlotArea(20, 10, width - 40, height - 30);
    const double data[] = {3, 1, 4, 1, 5};
    c->addLineLayer(DoubleArray(data, 5), 0x3366cc, "data");
    return c;
}

// The picture written is as large as the chart says it is.
bool outputMatches(BaseChart* c) {
    MemBlock png = c->makeChart(Chart::PNG);
    DrawArea* d = c->makeChart();
    if (!png.data || png.len < 24 || !d) return false;
    std::vector<unsigned char> b(png.data, png.data + png.len);
    int w = 0, h = 0;
    getImageSize(b.data(), png.len, w, h);
    return w == d->getWidth() && h == d->getHeight();
}

std::string repeated(const std::string& unit, size_t count) {
    std::string s;
    s.reserve(unit.size() * count);
    for (size_t i = 0; i < count; ++i) s += unit;
    return s;
}

// Every image loader a chart has, fed the same file.
void expectChartsSurviveImage(const std::string& path) {
    EXPECT_SURVIVES([&] {
        XYChart* c = smallChart();
        c->setWallpaper(path.c_str());
        bool ok = outputMatches(c);
        c->destroy();
        return ok;
    }) << "wallpaper " << path;
    EXPECT_SURVIVES([&] {
        XYChart* c = smallChart();
        c->setBgImage(path.c_str(), Chart::Center);
        c->getPlotArea()->setBackground(path.c_str());
        bool ok = outputMatches(c);
        c->destroy();
        return ok;
    }) << "background " << path;
    EXPECT_SURVIVES([&] {
        XYChart* c = smallChart();
        const double data[] = {1, 2, 3};
        c->addScatterLayer(DoubleArray(), DoubleArray(data, 3))->getDataSet(0)->setDataSymbol(path.c_str());
        c->addBarLayer(DoubleArray(data, 3), c->patternColor(path.c_str()));
        c->addText(10, 10, ("<*img=" + path + "*>").c_str());
        bool ok = outputMatches(c) && c->makeChart(Chart::SVG).len > 0 && c->makeChart(Chart::PDF).len > 0;
        c->destroy();
        return ok;
    }) << "symbol, pattern, markup " << path;
}

TEST(Hostile, ForgedImagesNeitherHangNorChangeTheChartSize) {
    Scratch s;
    expectChartsSurviveImage(s.write("wide.png", headerOnlyPNG(8388624, 12)));
    expectChartsSurviveImage(s.write("huge.jpg", forgedJPEG(11000, 11000)));
    expectChartsSurviveImage("/dev/zero");
    // Longer than any image file may be: refused before it is read whole.
    std::string longFile = s.write("long.png", encoded(kImagePNG, 4, 4));
    ASSERT_EQ(truncate(longFile.c_str(), off_t{65} << 20), 0);
    expectChartsSurviveImage(longFile);
}

TEST(Hostile, BitFlippedImagesNeitherHangNorCrash) {
    Scratch s;
    for (int format : {kImagePNG, kImageGIF, kImageJPG}) {
        const std::vector<unsigned char> good = encoded(format, 24, 16);
        EXPECT_SURVIVES([&] {
            for (size_t i = 0; i < 160; ++i) {
                std::vector<unsigned char> bad = good;
                size_t at = (i * 7919) % bad.size();
                bad[at] ^= static_cast<unsigned char>(1u << (i % 8));
                std::string path = s.write("flip", bad);
                XYChart* c = smallChart(60, 40);
                c->setWallpaper(path.c_str());
                bool ok = outputMatches(c);
                c->destroy();
                if (!ok) return false;
            }
            return true;
        }) << "format " << format;
    }
}

// A loaded picture is all there or not there at all: the size reported and the pixels agree.
TEST(Hostile, ImagesWithMissingDataAreRefused) {
    Scratch s;
    std::vector<unsigned char> gif = encoded(kImageGIF, 40, 30);
    std::vector<unsigned char> jpg = encoded(kImageJPG, 40, 30);
    std::vector<unsigned char> headerGIF(gif.begin(), gif.begin() + 13);
    std::vector<unsigned char> truncatedGIF(gif.begin(), gif.begin() + gif.size() / 2);
    std::vector<unsigned char> halfJPG(jpg.begin(), jpg.begin() + jpg.size() / 2);
    for (const std::string& path :
         {s.write("h.gif", headerGIF), s.write("t.gif", truncatedGIF), s.write("h.png", headerOnlyPNG(40, 30)),
          s.write("half.jpg", halfJPG)}) {
        EXPECT_SURVIVES([&] {
            DrawArea* d = DrawArea::create();
            d->setSize(7, 5);
            bool loaded = d->load(path.c_str());
            MemBlock png = d->outPNG();
            int w = 0, h = 0;
            getImageSize(reinterpret_cast<const unsigned char*>(png.data), png.len, w, h);
            bool ok = !loaded && d->getWidth() == 7 && d->getHeight() == 5 && w == 7 && h == 5;
            d->destroy();
            return ok;
        }) << path;
    }
}

// Red in Adobe's inverted CMYK, stored as CMYK or as YCCK.
std::vector<unsigned char> cmykJPEG(J_COLOR_SPACE stored) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 8;
    info.image_height = 6;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, stored);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row;
    for (int x = 0; x < 8; ++x) row.insert(row.end(), {255, 0, 0, 255});
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

TEST(Hostile, CmykJpegsLoadInColour) {
    Scratch s;
    for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        std::string path = s.write("cmyk.jpg", cmykJPEG(stored));
        EXPECT_SURVIVES([&] {
            DrawArea* d = DrawArea::create();
            bool ok = d->load(path.c_str()) && d->getWidth() == 8 && d->getHeight() == 6;
            int red = ok ? d->getPixel(4, 3) : 0;
            d->destroy();
            return ok && ((red >> 16) & 0xff) > 230 && ((red >> 8) & 0xff) < 30 && (red & 0xff) < 30;
        }) << stored;
    }
}

// Sizes beyond the limits are refused; the size reported is always the size written.
TEST(Hostile, AbsurdSizesAreRefusedNotMisreported) {
    for (int side : {100000, INT_MAX}) {
        EXPECT_SURVIVES([side] {
            XYChart* c = XYChart::create(side, side);
            if (!c) return true;
            bool ok = outputMatches(c);
            c->destroy();
            return ok;
        }) << side;
        EXPECT_SURVIVES([side] {
            XYChart* c = smallChart();
            c->layout();
            c->setSize(side, side);
            bool ok = outputMatches(c) && c->getDrawArea()->getWidth() == 300;
            c->destroy();
            return ok;
        }) << side;
        EXPECT_SURVIVES([side] {
            DrawArea* d = DrawArea::create();
            d->setSize(side, side);
            d->resize(side, 3);
            d->addDropShadow(0, -side, -side, -side, 0x888888);
            MemBlock png = d->outPNG();
            int w = 0, h = 0;
            getImageSize(reinterpret_cast<const unsigned char*>(png.data), png.len, w, h);
            bool ok = w == d->getWidth() && h == d->getHeight();
            d->destroy();
            return ok;
        }) << side;
    }
    EXPECT_SURVIVES([] {
        DrawArea* d = DrawArea::create();
        d->setSize(300, 200);
        d->addDropShadow(0, -5, -7, -9, 0x888888);
        MemBlock png = d->outPNG();
        int w = 0, h = 0;
        getImageSize(reinterpret_cast<const unsigned char*>(png.data), png.len, w, h);
        bool ok = w == d->getWidth() && h == d->getHeight() && w >= 300 && h >= 200;
        d->destroy();
        return ok;
    });
    EXPECT_SURVIVES([] {
        XYChart* c = XYChart::create(300, 200);
        c->setPlotArea(-1, -1, 302, 202, 0xffffff, -1, 0x000000);
        bool ok = outputMatches(c) && c->makeChart()->getWidth() == 300;
        c->destroy();
        return ok;
    });
}

TEST(Hostile, HugeTextsAndLabelCounts) {
    const std::string words = repeated("lorem ipsum ", 1 << 17);
    const std::string newlines = repeated("a\n", 100000);
    const std::string breaks = repeated("a<*br*>", 100000);
    // A title and a wrapped box take a megabyte in stride; a format is expanded for every label.
    EXPECT_SURVIVES([&words] {
        XYChart* c = smallChart();
        c->addTitle(words.c_str());
        c->addText(10, 10, words.c_str())->setMaxWidth(200);
        bool ok = outputMatches(c);
        c->destroy();
        return ok;
    });
    for (const std::string* text : {&words, &newlines, &breaks}) {
        EXPECT_SURVIVES([text] {
            XYChart* c = smallChart();
            c->yAxis()->setLabelFormat(text->c_str());
            BarLayer* bars = c->addBarLayer(DoubleArray(std::vector<double>{1, 2}.data(), 2));
            bars->setDataLabelFormat(text->c_str());
            bool ok = outputMatches(c);
            c->destroy();
            return ok;
        });
    }
    // A million data labels: those past the limit are left out instead of laid out one by one.
    EXPECT_SURVIVES([] {
        std::vector<double> data(1000000, 5.0);
        XYChart* c = smallChart();
        c->addLineLayer(DoubleArray(data.data(), static_cast<int>(data.size())))->setDataLabelFormat("{value}");
        bool ok = outputMatches(c);
        c->destroy();
        return ok;
    });
    // Too many labels are refused; as many as allowed are drawn in time.
    for (int count : {1000000, 10000}) {
        EXPECT_SURVIVES([count] {
            std::vector<std::string> labels(static_cast<size_t>(count));
            std::vector<const char*> pointers;
            for (size_t i = 0; i < labels.size(); ++i) {
                labels[i] = std::to_string(i);
                pointers.push_back(labels[i].c_str());
            }
            XYChart* c = smallChart();
            TextBox* style = c->xAxis()->setLabels(StringArray(pointers.data(), count));
            bool ok = (style != nullptr) == (count <= 10000) && outputMatches(c);
            c->destroy();
            return ok;
        }) << count;
    }
}

// Thousands of lines of one text are released one after the other, not each inside the last.
TEST(Hostile, ManyLinesFitOnASmallStack) {
    EXPECT_SURVIVES([] {
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, size_t{256} << 10);
        bool ok = false;
        pthread_t thread;
        auto draw = [](void* result) -> void* {
            // Every word of a wrapped text is a line of its own.
            const std::string words = repeated("a ", 8000);
            XYChart* c = smallChart();
            c->addText(10, 10, words.c_str())->setMaxWidth(1);
            *static_cast<bool*>(result) = outputMatches(c);
            c->destroy();
            return nullptr;
        };
        if (pthread_create(&thread, &attr, draw, &ok) != 0) return false;
        pthread_join(thread, nullptr);
        return ok;
    });
}

TEST(Hostile, TooManyBarsAreRefusedAndAsManyAsAllowedAreDrawn) {
    for (int count : {10000000, 100000}) {
        EXPECT_SURVIVES([count] {
            std::vector<double> data(static_cast<size_t>(count));
            for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<double>(i % 1000);
            XYChart* c = smallChart();
            BarLayer* layer = c->addBarLayer(DoubleArray(data.data(), count));
            bool ok = (layer != nullptr) == (count <= 100000) && outputMatches(c);
            // Many data sets together count against the same limit.
            BarLayer* side = c->addBarLayer(Chart::Side);
            for (int k = 0; k < 3 && ok; ++k)
                ok = (side->addDataSet(DoubleArray(data.data(), 40000)) != nullptr) == (k < 2);
            c->destroy();
            return ok;
        }) << count;
    }
    EXPECT_SURVIVES([] {
        std::vector<double> data((1 << 24) + 1, 1.0);
        XYChart* c = smallChart();
        bool ok = !c->addLineLayer(DoubleArray(data.data(), static_cast<int>(data.size()))) &&
                  c->addLineLayer(DoubleArray(data.data(), 1 << 24)) != nullptr;
        c->destroy();
        return ok;
    });
}

TEST(Hostile, LayersAddedAfterOutput) {
    EXPECT_SURVIVES([] {
        XYChart* c = smallChart();
        c->addLegend(50, 20);
        c->layout();
        bool ok = c->makeChart(Chart::PNG).len > 0;
        const double data[] = {2, 7, 1};
        c->addBarLayer(DoubleArray(data, 3), 0xcc0000, "late");
        ok = ok && outputMatches(c);
        c->destroy();
        return ok;
    });
}

TEST(Hostile, ExtremeIntegersStayDefined) {
    EXPECT_SURVIVES([] {
        for (int v : {INT_MIN, INT_MIN + 1, -1, 0, INT_MAX}) {
            if ((Chart::glassEffect(v, v, v) & 0xff000000) != 0) return false;
        }
        return true;
    });
    EXPECT_SURVIVES([] {
        std::vector<double> times;
        for (int i = 0; i < 100; ++i) times.push_back(63000000000.0 + 86400.0 * i);
        ArrayMath* m = ArrayMath::create(DoubleArray(times.data(), static_cast<int>(times.size())));
        m->selectStartOfDay(INT_MAX, 0)->selectStartOfMonth(INT_MAX)->selectStartOfYear(INT_MIN);
        m->destroy();
        return true;
    });
    EXPECT_SURVIVES([] {
        XYChart* c = smallChart();
        for (int align : {Chart::Left, Chart::Right, Chart::Top, Chart::Bottom})
            for (int offset : {INT_MIN, INT_MAX}) c->addAxis(align, offset);
        LegendBox* legend = c->addLegend(INT_MAX, INT_MIN, true, "", 1e300);
        legend->setFontAngle(1e300);
        legend->setFontSize(-1e300, 1e300);
        c->addText(INT_MIN, INT_MAX, "far away", "", 1e9, 0, Chart::Center, -1e18);
        bool ok = outputMatches(c) && c->makeChart(Chart::SVG).len > 0 && c->makeChart(Chart::PDF).len > 0;
        c->destroy();
        return ok;
    });
    EXPECT_SURVIVES([] {
        DrawArea* d = DrawArea::create();
        d->setSize(200, 100);
        for (int raised : {-100, 100, Chart::glassEffect(), Chart::softLighting()}) {
            d->rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0x000000, 0x6699cc, raised);
            d->rect(INT_MAX - 2, INT_MAX - 2, INT_MAX, INT_MAX, 0x000000, 0x6699cc, raised);
            d->roundedRect(INT_MIN, 0, INT_MAX, 50, INT_MAX, INT_MIN, 5, 5, 0, 0x6699cc, raised);
        }
        const int pixels[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};
        for (int at : {INT_MIN, -3, INT_MAX - 1, INT_MAX}) d->merge(IntArray(pixels, 4), 2, at, at);
        bool ok = d->outPNG().len > 0 && d->outSVG().len > 0 && d->outPDF().len > 0;
        d->destroy();
        return ok;
    });
}

bool reasonMentions(const char* word) { return std::string(Chart::lastError()).find(word) != std::string::npos; }

// Numbered labels for count items, and the pointers to them.
struct NumberedLabels {
    explicit NumberedLabels(int count) : texts(static_cast<size_t>(count)) {
        for (size_t i = 0; i < texts.size(); ++i) {
            texts[i] = std::to_string(i);
            pointers.push_back(texts[i].c_str());
        }
    }
    StringArray array() const { return StringArray(pointers.data(), static_cast<int>(pointers.size())); }
    std::vector<std::string> texts;
    std::vector<const char*> pointers;
};

// Too many sectors or layers leave the chart as it was; as many as allowed, labelled, are drawn in time.
TEST(Hostile, PieSectorsAndPyramidLayersAreCounted) {
    for (int count : {10000, 10001, 50000000}) {
        EXPECT_SURVIVES([count] {
            bool allowed = count <= 10000;
            std::vector<double> data(static_cast<size_t>(count), 1.0);
            NumberedLabels labels(allowed ? count : 0);
            const double before[] = {1, 2, 3};
            PieChart* pie = PieChart::create(300, 300);
            pie->setPieSize(150, 150, 100);
            pie->setData(DoubleArray(before, 3));
            pie->setData(DoubleArray(data.data(), count), labels.array());
            bool ok = (pie->sector(count - 1) != nullptr) == allowed && (allowed || pie->sector(2) != nullptr) &&
                      (allowed || reasonMentions("sectors")) && outputMatches(pie);
            pie->destroy();
            PyramidChart* pyramid = PyramidChart::create(300, 300);
            pyramid->setPyramidSize(150, 150, 100, 250);
            pyramid->setData(DoubleArray(before, 3));
            pyramid->setData(DoubleArray(data.data(), count), labels.array());
            ok = ok && (pyramid->getLayer(count - 1) != nullptr) == allowed &&
                 (allowed || pyramid->getLayer(2) != nullptr) && (allowed || reasonMentions("layers")) &&
                 outputMatches(pyramid);
            pyramid->destroy();
            return ok;
        }) << count;
    }
}

// A meter's scale holds a bounded number of marks however they come; a full table is still drawn.
TEST(Hostile, MeterScalesHoldABoundedTable) {
    EXPECT_SURVIVES([] {
        AngularMeter* m = AngularMeter::create(300, 300);
        m->setMeter(150, 150, 120, -135, 135);
        m->setScale(0, 100, 10);
        // Adding labels one by one stops at the limit; replacing and removing still work there.
        for (int i = 0; i < 200000; ++i) m->addLabel(i * 0.0001, "x");
        bool ok = m->getTicks().len == 100000 && reasonMentions("labels");
        m->addLabel(0, "zero");
        m->addLabel(100, "");
        m->addLabel(55, "freed");
        m->addLabel(56, "over");
        ok = ok && std::string(m->getLabel(0)) == "zero" && m->getLabel(55) && !m->getLabel(56) &&
             m->getTicks().len == 100000 && outputMatches(m);
        // Too many labels at once leave the scale as it was.
        NumberedLabels many(100001);
        std::vector<double> values(100001, 1.0);
        m->setScale(0, 10, many.array());
        m->setScale(0, 10, DoubleArray(values.data(), static_cast<int>(values.size())), "{value}");
        ok = ok && m->getTicks().len == 100000;
        m->setScale(0, 10, StringArray(many.pointers.data(), 100000));
        DoubleArray ticks = m->getTicks();
        ok = ok && ticks.len == 100000 && std::string(m->getLabel(ticks[ticks.len - 1])) == "99999";
        m->destroy();
        return ok;
    });
    // The finest increments make a table under the limit.
    EXPECT_SURVIVES([] {
        LinearMeter* m = LinearMeter::create(400, 100);
        m->setMeter(20, 20, 360, 40);
        m->setScale(0, 1, 1e-300, 1e-300, 1e-300);
        int ticks = m->getTicks().len;
        bool ok = ticks > 50000 && ticks < 100000 && outputMatches(m);
        m->destroy();
        return ok;
    });
}

// A random walk of count prices, one a minute.
FinanceChart* financeChart(int count, std::vector<double>& storage) {
    storage.resize(static_cast<size_t>(count) * 2);
    double* t = storage.data();
    double* price = t + count;
    unsigned state = 7;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        t[i] = Chart::chartTime(2024, 1, 1) + 60.0 * i;
        price[i] = 100 + (state >> 24) / 16.0;
    }
    FinanceChart* c = FinanceChart::create(400);
    DoubleArray p(price, count);
    c->setData(DoubleArray(t, count), p, p, p, p, p, 0);
    c->addMainChart(150);
    return c;
}

TEST(Hostile, FinancePeriodsOfAnySizeAreSafe) {
    // Every period-taking indicator, with periods from none to far past the data.
    for (int period : {INT_MIN, -1, 0, 1, 300, 301, INT_MAX}) {
        EXPECT_SURVIVES([period] {
            std::vector<double> storage;
            FinanceChart* c = financeChart(300, storage);
            int p = period;
            c->addSimpleMovingAvg(p, 1);
            c->addExpMovingAvg(p, 1);
            c->addTriMovingAvg(p, 1);
            c->addWeightedMovingAvg(p, 1);
            c->addBollingerBand(p, 2, 1, 2);
            c->addDonchianChannel(p, 1, 2);
            c->addEnvelop(p, 0.1, 1, 2);
            c->addAroon(40, p, 1, 2);
            c->addAroonOsc(40, p, 1);
            c->addADX(40, p, 1, 2, 3);
            c->addATR(40, p, 1, 2);
            c->addBollingerWidth(40, p, 2, 1);
            c->addCCI(40, p, 1, 100, 2, 3);
            c->addChaikinMoneyFlow(40, p, 1);
            c->addChaikinVolatility(40, p, p, 1);
            c->addDPO(40, p, 1);
            c->addDonchianWidth(40, p, 1);
            c->addEaseOfMovement(40, p, 1, 2);
            c->addFastStochastic(40, p, p, 1, 2);
            c->addSlowStochastic(40, p, p, 1, 2);
            c->addMACD(40, p, p, p, 1, 2, 3);
            c->addPPO(40, p, p, p, 1, 2, 3);
            c->addPVO(40, p, p, p, 1, 2, 3);
            c->addMFI(40, p, 1, 20, 2, 3);
            c->addMomentum(40, p, 1);
            c->addNVI(40, p, 1, 2);
            c->addPVI(40, p, 1, 2);
            c->addROC(40, p, 1);
            c->addRSI(40, p, 1, 20, 2, 3);
            c->addStdDev(40, p, 1);
            c->addStochRSI(40, p, 1, 20, 2, 3);
            c->addTRIX(40, p, 1);
            c->addUltimateOscillator(40, p, p, p, 1, 20, 2, 3);
            c->addWilliamR(40, p, 1, 20, 2, 3);
            bool ok = outputMatches(c);
            c->destroy();
            return ok;
        }) << period;
    }
    // Indicators that scan their whole window at every point are refused past their work bound,
    // and computed just under it.
    EXPECT_SURVIVES([] {
        std::vector<double> storage;
        FinanceChart* c = financeChart(1000000, storage);
        bool ok = !c->addWeightedMovingAvg(101, 1) && reasonMentions("too much work") && !c->addAroon(40, 101, 1, 2) &&
                  !c->addAroonOsc(40, 1000000, 1) && !c->addCCI(40, INT_MAX, 1, 100, 2, 3);
        ok = ok && c->addWeightedMovingAvg(100, 1) && c->addCCI(40, 100, 1, 100, 2, 3) && c->addAroon(40, 99, 1, 2);
        c->destroy();
        return ok;
    });
}

TEST(Hostile, FinanceDataIsTakenUpToTheLimit) {
    EXPECT_SURVIVES([] {
        std::vector<double> storage;
        FinanceChart* c = financeChart(10, storage);
        std::vector<double> huge((size_t{1} << 24) + 1, 100.0);
        DoubleArray h(huge.data(), static_cast<int>(huge.size()));
        c->setData(h, h, h, h, h, h, 0);
        bool ok = reasonMentions("time stamps");
        LineLayer* close = c->addCloseLine(1);
        ok = ok && close && close->getDataSet(0)->getValue(0) == storage[10] && outputMatches(c);
        // As many as allowed are taken.
        h.len = 1 << 24;
        c->setData(h, h, h, h, h, h, 0);
        close = c->addCloseLine(1);
        ok = ok && close && close->getDataSet(0)->getValue((1 << 24) - 1) == 100.0;
        c->destroy();
        return ok;
    });
}

// A write that fails leaves what was at the path before.
TEST(Hostile, FailedWriteKeepsTheOldFile) {
    Scratch s;
    const std::vector<unsigned char> old(5000, 'x');
    for (const char* name : {"old.png", "old.svg", "old.pdf"}) {
        std::string path = s.write(name, old);
        EXPECT_SURVIVES([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small{1000, 1000};  // files may not grow past 1000 bytes: a full device
            setrlimit(RLIMIT_FSIZE, &small);
            XYChart* c = smallChart();
            bool written = c->makeChart(path.c_str());
            c->destroy();
            return !written;
        }) << name;
        FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_TRUE(f) << name;
        std::vector<unsigned char> now(6000);
        now.resize(std::fread(now.data(), 1, now.size(), f));
        std::fclose(f);
        EXPECT_EQ(now, old) << name;
    }
}

}  // namespace

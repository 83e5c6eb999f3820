#include <plotvane/basechart.h>
#include <plotvane/drawarea.h>
#include <plotvane/drawobj.h>
#include <plotvane/legendbox.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "chart/testchart.h"
#include "draw/imageoracle.h"
#include "support/golden.h"
#include "support/pinnedfonts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

// A decorated chart: title, rounded frame, drop shadow, wallpaper, free text, a line and a
// legend of three columns.
ChartPtr decoratedChart(const std::string& wallpaper) {
    auto tc = makeTestChart(360, 240);
    BaseChart* c = tc->api();
    c->setBackground(0xeef4ff, 0x335577);
    c->setWallpaper(wallpaper.c_str());
    c->setRoundedFrame(0xffffff, 16);
    c->setDropShadow(0x999999, 4);
    c->addTitle("Quarterly figures", "bold", 13, 0x202060, 0xccddee, 0x335577);
    c->addText(40, 200, "free text", "normal", 9, 0x444444);
    c->addLine(30, 190, 330, 190, 0x884400, 2);
    LegendBox* legend = c->addLegend(30, 36, 3, "normal", 9);
    legend->setBackground(0xffffff, 0x335577);
    legend->addKey("North", 0x4477aa);
    legend->addKey("South", 0xaa4477);
    legend->addKey("East", 0x44aa77);
    legend->addKey("West", 0x777777, 2);
    tc->addLayerKey(10010, "Forecast", 0x222222);
    return tc;
}

std::string wallpaperFile() {
    // A 120 x 80 tile: diagonal stripes.
    std::vector<uint32_t> pixels(120 * 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) pixels[static_cast<size_t>(y * 120 + x)] = (x + y) % 16 < 8 ? 0xf4f4fa : 0xe6e6f0;
    vek::ostrstream png;
    DrawArea::encodePNG(png, pixels.data(), 120, 80);
    std::string file = ::testing::TempDir() + "plotvane_wallpaper_" + std::to_string(getpid()) + ".png";
    writeFile(file, std::string(png.data(), static_cast<size_t>(png.tell())));
    return file;
}

// Recorded symbols and loaded images take process-wide ids; number them in order of appearance.
std::string withLocalSymbolIds(const std::string& dump) {
    static const std::regex id(R"((DefineSymbol|MergeWithScaling|MergeRotated|LoadStream)\((\d+))");
    std::map<std::string, int> local;
    std::string out;
    auto last = dump.cbegin();
    for (std::sregex_iterator it(dump.begin(), dump.end(), id), end; it != end; ++it) {
        const std::smatch& m = *it;
        std::string key = (m[1] == "LoadStream" ? "image " : "symbol ") + m[2].str();
        auto found = local.emplace(key, static_cast<int>(local.size()) + 1).first;
        out.append(last, m[0].first).append(m[1].str() + "(" + std::to_string(found->second));
        last = m[0].second;
    }
    return out.append(last, dump.cend());
}

// Whether the raster back-end draws shapes yet (its placeholder only fills the background).
bool rasterDraws() {
    DrawArea* d = DrawArea::create();
    d->setSize(4, 4, 0xffffff);
    d->rect(0, 0, 3, 3, 0x000000, 0x000000);
    bool draws = d->getPixel(1, 1) == 0x000000;
    d->destroy();
    return draws;
}

}  // namespace

TEST(ChartOutput, DecoratedChartMatchesGoldenDump) {
    std::string wallpaper = wallpaperFile();
    ChartPtr tc = decoratedChart(wallpaper);
    std::string dump = withLocalSymbolIds(dumpOf(tc->makeChart()));
    std::remove(wallpaper.c_str());
    EXPECT_TRUE(matchesGoldenText("chart", "decorated.agf", dump));
}

TEST(ChartOutput, DecoratedChartMatchesGoldenPicture) {
    if (!rasterDraws()) GTEST_SKIP() << "the raster back-end does not draw yet";
    PLOTVANE_SKIP_UNLESS_PINNED_FONTS();
    std::string wallpaper = wallpaperFile();
    ChartPtr tc = decoratedChart(wallpaper);
    MemBlock png = tc->api()->makeChart(Chart::PNG);
    std::remove(wallpaper.c_str());
    ASSERT_GT(png.len, 0);
    // Text rasterising may move by a shade between font engine versions: small per-channel slack.
    EXPECT_TRUE(matchesGoldenPNG("chart", "decorated.png", std::string(png.data, static_cast<size_t>(png.len)), 48));
}

TEST(ChartOutput, EveryRasterFormatIsReadableElsewhere) {
    if (!rasterDraws()) GTEST_SKIP() << "the raster back-end does not draw yet";
    std::string wallpaper = wallpaperFile();
    ChartPtr tc = decoratedChart(wallpaper);
    DrawArea* d = tc->makeChart();
    int width = d->getWidth(), height = d->getHeight();
    std::remove(wallpaper.c_str());

    MemBlock png = tc->api()->makeChart(Chart::PNG);
    LibpngView view = readWithLibpng(std::string(png.data, static_cast<size_t>(png.len)));
    ASSERT_TRUE(view.ok);
    EXPECT_EQ(view.width, width);
    EXPECT_EQ(view.height, height);

    MemBlock jpeg = tc->api()->makeChart(Chart::JPG);
    int w = 0, h = 0;
    bool progressive = false;
    EXPECT_FALSE(readWithLibjpeg(std::string(jpeg.data, static_cast<size_t>(jpeg.len)), w, h, progressive).empty());
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);

    struct Checked {
        int format;
        const char* suffix;
        const char* reader;
    };
    const std::string pil = "/usr/bin/python3 -c \"import sys; from PIL import Image; i = Image.open(sys.argv[1]); "
                            "i.load(); print('%dx%d' % i.size)\" ";
    for (Checked k : {Checked{Chart::GIF, ".gif", "pil"}, Checked{Chart::BMP, ".bmp", "pil"},
                      Checked{Chart::WMP, ".wbmp", "wbmptopbm"}}) {
        MemBlock bytes = tc->api()->makeChart(k.format);
        ASSERT_GT(bytes.len, 0) << k.suffix;
        std::string file = ::testing::TempDir() + "plotvane_chart_" + std::to_string(getpid()) + k.suffix;
        writeFile(file, std::string(bytes.data, static_cast<size_t>(bytes.len)));
        std::string command = std::string(k.reader) == "pil" ? pil + file : "wbmptopbm " + file + " | head -c 64";
        FILE* pipe = popen((command + " 2>&1").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
        EXPECT_EQ(pclose(pipe), 0) << k.suffix << ": " << output;
        if (std::string(k.reader) == "pil")
            EXPECT_EQ(output, std::to_string(width) + "x" + std::to_string(height) + "\n") << k.suffix;
        else
            EXPECT_NE(output.find(std::to_string(width) + " " + std::to_string(height)), std::string::npos) << output;
        std::remove(file.c_str());
    }
}

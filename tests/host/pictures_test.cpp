// Host pictures out of charts and drawings, and into symbols and patterns.
#include <plotvane/plotvane.h>

#include "hostfixture.h"
#include "support/golden.h"

namespace {

using namespace hosttest;

using Pictures = HostTest;

// Host pixels are 0xAARRGGBB with alpha 255 opaque; library colours keep transparency instead.
int libraryColour(std::uint32_t argb) { return static_cast<int>(((255 - (argb >> 24)) << 24) | (argb & 0xffffff)); }

std::string tempFile(const std::string& name) { return ::testing::TempDir() + "/host_" + name; }

TEST_F(Pictures, ChartPictureHasThePNGsPixels) {
    Value c = make("PVXYChartRQX", {I(120), I(80)});
    call(c, "setPlotArea", {I(10), I(10), I(100), I(60), I(0xffffc0), I(-1), I(0x000000)});
    // Enough colours for a true-colour BMP; the drawing below is a palette one.
    call(c, "setBackground", {call(c, "linearGradientColor", {I(0), I(0), I(120), I(80), I(0x000080), I(0xe0e0ff)})});
    call(c, "addAreaLayer", {Doubles({1, 4, 2, 5}), Colour(0x3366cc)});
    const Value pic = call(c, "makeChartPicture");
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(host.pictureOf(pic, width, height, argb));
    ASSERT_EQ(width, 120);
    ASSERT_EQ(height, 80);

    const std::string file = tempFile("picture.png");
    ASSERT_TRUE(call(c, "makeChart", {S(file)}).boolean);
    plotvane::DrawArea* png = plotvane::DrawArea::create();
    ASSERT_TRUE(png->load(file.c_str()));
    int differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            differing += libraryColour(argb[static_cast<std::size_t>(y) * width + x]) != png->getPixel(x, y);
    png->destroy();
    EXPECT_EQ(differing, 0);

    // A drawing's picture too.
    Value d = make("PVDrawAreaRQX");
    call(d, "setSize", {I(3), I(2), I(0x102030)});
    call(d, "pixel", {I(2), I(1), Colour(0xff0000)});
    ASSERT_TRUE(host.pictureOf(call(d, "outPicture"), width, height, argb));
    EXPECT_EQ(argb, (std::vector<std::uint32_t>{0xff102030, 0xff102030, 0xff102030, 0xff102030, 0xff102030, 0xffff0000}));
}

// A 7 x 7 symbol: a red square of 3 in a transparent frame, with a half-transparent corner.
std::vector<std::uint32_t> symbolPixels() {
    std::vector<std::uint32_t> p(49, 0x00000000);
    for (int y = 2; y < 5; ++y)
        for (int x = 2; x < 5; ++x) p[y * 7 + x] = 0xffff0000;
    p[0] = 0x800000ff;
    return p;
}

std::string scatterViaCpp(const std::vector<std::uint32_t>& symbol) {
    using namespace plotvane;
    XYChart* c = XYChart::create(160, 100);
    c->setPlotArea(20, 10, 120, 70);
    const double x[] = {1, 2, 3}, y[] = {2, 1, 3};
    LineLayer* layer = c->addScatterLayer(DoubleArray(x, 3), DoubleArray(y, 3));
    DrawArea* d = DrawArea::create();
    d->setSize(7, 7, Chart::Transparent);
    for (int i = 0; i < 49; ++i) d->pixel(i % 7, i / 7, libraryColour(symbol[i]));
    layer->getDataSet(0)->setDataSymbol(d);
    d->destroy();
    c->xAxis()->setLinearScale(0, 4);
    c->yAxis()->setLinearScale(0, 4);
    const std::string file = tempFile("symbol_cpp.png");
    const bool written = c->makeChart(file.c_str());
    c->destroy();
    return written ? plotvane_test::readFile(file) : "";
}

TEST_F(Pictures, HostPictureAsSymbolIsDrawn) {
    const std::string expected = scatterViaCpp(symbolPixels());
    ASSERT_FALSE(expected.empty());
    // The same picture with an alpha channel, and as opaque pixels with a mask (white hides).
    std::vector<std::uint32_t> opaque = symbolPixels(), mask(49, 0xffffffff);
    for (int i = 0; i < 49; ++i) {
        mask[i] = 0xff000000u | (0x010101u * (255 - (opaque[i] >> 24)));
        opaque[i] |= 0xff000000u;
    }
    // A vector picture reaches the plugin only drawn into a bitmap.
    for (int route = 0; route < 3; ++route) {
        const bool masked = route == 1;
        SCOPED_TRACE(route);
        Value pic = masked ? host.makePicture(7, 7, opaque, false)
                           : host.makePicture(7, 7, symbolPixels(), true, route == 2);
        if (masked) {
            ASSERT_TRUE(host.setPictureMask(pic, host.makePicture(7, 7, mask, true)));
        }
        Value c = make("PVXYChartRQX", {I(160), I(100)});
        call(c, "setPlotArea", {I(20), I(10), I(120), I(70)});
        Value layer = call(c, "addScatterLayer", {Doubles({1, 2, 3}), Doubles({2, 1, 3})});
        call(call(layer, "getDataSet", {I(0)}), "setDataSymbol", {pic});
        call(call(c, "xAxis"), "setLinearScale", {D(0), D(4)});
        call(call(c, "yAxis"), "setLinearScale", {D(0), D(4)});
        const std::string file = tempFile("symbol.png");
        ASSERT_TRUE(call(c, "makeChart", {S(file)}).boolean);
        EXPECT_TRUE(plotvane_test::readFile(file) == expected);
    }
}

TEST_F(Pictures, HostPictureAsPattern) {
    const std::vector<std::uint32_t> tile = {0xffff0000, 0xff00ff00, 0xff0000ff, 0x00000000};
    std::string png[2];
    {
        using namespace plotvane;
        XYChart* c = XYChart::create(60, 40);
        const int pixels[] = {0xff0000, 0x00ff00, 0x0000ff, static_cast<int>(0xff000000)};
        c->setBackground(c->patternColor(IntArray(pixels, 4), 2));
        const std::string file = tempFile("pattern_cpp.png");
        ASSERT_TRUE(c->makeChart(file.c_str()));
        c->destroy();
        png[0] = plotvane_test::readFile(file);
    }
    Value c = make("PVXYChartRQX", {I(60), I(40)});
    const Value colour = call(c, "patternColor", {host.makePicture(2, 2, tile, true)});
    call(c, "setBackground", {colour});
    const std::string file = tempFile("pattern.png");
    ASSERT_TRUE(call(c, "makeChart", {S(file)}).boolean);
    png[1] = plotvane_test::readFile(file);
    EXPECT_FALSE(png[0].empty());
    EXPECT_TRUE(png[0] == png[1]);
    // Nil is no picture.
    EXPECT_EQ(host.call(c, "patternColor", {Value()}).status, CallResult::Status::Raised);
}

// Hosts that cannot build pictures from buffers get them through the Picture class's constructor.
TEST(PicturesOnOlderHosts, PicturesMadeThroughThePictureClass) {
    std::vector<std::uint32_t> expected, got;
    for (int route = 0; route < 2; ++route) {
        testhost::HostOptions options;
        if (route == 1) options.missing = {"REALBuildPictureFromBuffer"};
        testhost::TestHost host(options);
        ASSERT_TRUE(host.load(PLOTVANE_HOST_PLUGIN));
        Value c = host.construct("PVPieChartRQX", {I(90), I(60)}).value;
        host.call(c, "setData", {Doubles({3, 2, 1})});
        int width = 0, height = 0;
        ASSERT_TRUE(host.pictureOf(host.call(c, "makeChartPicture", {}).value, width, height, route ? got : expected));
        EXPECT_EQ(width * height, 90 * 60);
    }
    EXPECT_EQ(got, expected);
}

}  // namespace

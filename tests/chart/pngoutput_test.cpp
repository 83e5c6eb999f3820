// Charts to PNG and back through decoders this project did not write: Pillow, and libpng read
// directly. The pictures must come back as the canvas holds them, whether the encoder chose a
// palette or true colour, and whether a stream took over the work of the picture before it (the
// frames of a pointer on a meter's dynamic layer, a series of similar charts).
#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "draw/imageoracle.h"

using namespace plotvane;
using plotvane_test::matchesWithPillow;
using plotvane_test::readWithLibpng;
using plotvane_test::samePixels;

namespace {

AngularMeter* gauge(double value) {
    AngularMeter* m = AngularMeter::create(250, 250, 0xeeeeee, 0x888888);
    m->setMeter(125, 135, 100, -135, 135);
    m->setScale(0, 100, 10, 5, 1);
    m->addZone(0, 60, 0x99dd77);
    m->addZone(60, 85, 0xffdd44);
    m->addZone(85, 100, 0xee5544);
    if (value >= 0) m->addPointer(value, 0x3366cc);
    return m;
}

PolarChart* radar() {
    static const double a[] = {62, 70, 81, 75, 90, 84, 77, 69}, b[] = {45, 52, 40, 61, 58, 66, 70, 64},
                        c3[] = {20, 28, 35, 30, 26, 38, 42, 33};
    PolarChart* c = PolarChart::create(320, 300, 0xffffff);
    c->setPlotArea(160, 150, 120, 0xf8f8ff, 0x808080);
    c->setPlotAreaBg(0xf8f8ff, 0xeaeef8);
    c->addAreaLayer(DoubleArray(a, 8), 0x80e03030)->setBorderColor(0xe03030);
    c->addAreaLayer(DoubleArray(b, 8), 0x8030a040)->setBorderColor(0x30a040);
    c->addAreaLayer(DoubleArray(c3, 8), 0x803050e0)->setBorderColor(0x3050e0);
    return c;
}

XYChart* bars() {
    static const double v[] = {56, 72, 65, 80, 91, 77};
    XYChart* c = XYChart::create(300, 200);
    c->setPlotArea(30, 20, 250, 150, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addBarLayer(DoubleArray(v, 6), 0x4477aa);
    return c;
}

std::vector<uint32_t> canvasOf(DrawArea* d) {
    const uint32_t* p = d->getPixels();
    std::vector<uint32_t> pixels(p, p + static_cast<size_t>(d->getWidth()) * d->getHeight());
    for (uint32_t& c : pixels) c &= 0xffffff;  // the files carry no alpha: every pixel opaque
    return pixels;
}

std::string bytesOf(MemBlock b) { return std::string(b.data ? b.data : "", static_cast<size_t>(b.len > 0 ? b.len : 0)); }

// The file as libpng and, when `pillow`, as Pillow decode it, against the canvas it came from.
::testing::AssertionResult decodesTo(const std::string& file, DrawArea* d, int colorType, bool pillow) {
    plotvane_test::LibpngView view = readWithLibpng(file);
    if (!view.ok) return ::testing::AssertionFailure() << "libpng refuses the file";
    if (view.colorType != colorType) return ::testing::AssertionFailure() << "colour type " << view.colorType;
    std::vector<uint32_t> expected = canvasOf(d);
    ::testing::AssertionResult same = samePixels(view.pixels, expected);
    if (!same || !pillow) return same;
    return matchesWithPillow(file, ".png", expected, d->getWidth(), d->getHeight());
}

}  // namespace

TEST(ChartPng, ChartsOfManyAndFewColoursDecodeToTheirCanvas) {
    struct Case {
        const char* name;
        BaseChart* chart;
        int colorType;
    } cases[] = {{"gauge", gauge(50), PNG_COLOR_TYPE_RGB},
                 {"radar", radar(), PNG_COLOR_TYPE_RGB},
                 {"bars", bars(), PNG_COLOR_TYPE_PALETTE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = bytesOf(c.chart->makeChart(Chart::PNG));
        EXPECT_TRUE(decodesTo(file, c.chart->makeChart(), c.colorType, true));
        c.chart->destroy();
    }
}

TEST(ChartPng, SeriesOfSimilarPicturesDecodeToTheirCanvas) {
    // Each frame shares rows with the one before, whose work its stream takes over: a pointer
    // moving both ways, standing still, and whole charts that differ only in their pointer.
    Owned<AngularMeter> m(gauge(-1));
    MeterPointer* pointer = m->addPointer(0, Chart::Transparent);
    m->makeChart();
    pointer->setColor(0x3366cc);
    int frame = 0;
    for (double value : {0.0, 37.0, 38.0, 99.0, 50.0, 50.0, 3.0}) {
        SCOPED_TRACE(value);
        DrawArea* d = m->initDynamicLayer();
        pointer->setPos(value);
        pointer->paint(d);
        std::string file = bytesOf(d->outPNG());
        EXPECT_TRUE(decodesTo(file, d, PNG_COLOR_TYPE_RGB, ++frame % 3 == 0));
        m->removeDynamicLayer();
    }
    for (double value : {20.0, 21.0, 80.0}) {
        SCOPED_TRACE(value);
        Owned<AngularMeter> whole(gauge(value));
        std::string file = bytesOf(whole->makeChart(Chart::PNG));
        EXPECT_TRUE(decodesTo(file, whole->makeChart(), PNG_COLOR_TYPE_RGB, value == 21.0));
    }
}

TEST(ChartPng, SameChartSameBytesWhateverEachThreadEncodedBefore) {
    // A stream takes over work from the picture its thread encoded before; the bytes must not
    // show it. Each value's gauge is made first on a thread of its own, then by four threads at
    // once, each going through the values in another order.
    const std::vector<double> values = {10, 11, 12, 40, 41, 90};
    auto pngOf = [](double value) {
        Owned<AngularMeter> m(gauge(value));
        return bytesOf(m->makeChart(Chart::PNG));
    };
    std::vector<std::string> alone(values.size());
    for (size_t k = 0; k < values.size(); ++k) std::thread([&, k] { alone[k] = pngOf(values[k]); }).join();
    std::vector<std::vector<std::string>> made(4, std::vector<std::string>(values.size()));
    std::vector<std::thread> threads;
    for (size_t t = 0; t < made.size(); ++t)
        threads.emplace_back([&, t] {
            std::vector<size_t> order(values.size());
            for (size_t k = 0; k < order.size(); ++k) order[k] = (k + t) % order.size();
            if (t % 2) std::reverse(order.begin(), order.end());
            for (size_t k : order) made[t][k] = pngOf(values[k]);
        });
    for (std::thread& t : threads) t.join();
    for (size_t t = 0; t < made.size(); ++t)
        for (size_t k = 0; k < values.size(); ++k)
            EXPECT_TRUE(made[t][k] == alone[k]) << "thread " << t << ", value " << values[k];
}

#include <gtest/gtest.h>

#include <plotvane/piechart.h>
#include <plotvane/legendbox.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "barchart.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using plotvane_test::matchesGoldenPNG;
using plotvane_test::matchesGoldenText;
using plotvane_test::Rect;
using plotvane_test::textDump;

namespace {

constexpr double kPi = 3.14159265358979;

struct PieDeleter {
    void operator()(PieChart* c) const { c->destroy(); }
};
using PiePtr = std::unique_ptr<PieChart, PieDeleter>;

const int kColors[] = {0xe03030, 0x30b040, 0x3050e0, 0xe0c020, 0xa040c0, 0x20b0c0, 0xe07020, 0x808080};

// A pie without labels, each sector in a colour of kColors.
PiePtr plainPie(const std::vector<double>& values, int w = 300, int h = 300, int r = 100) {
    PiePtr c(PieChart::create(w, h, 0xffffff));
    c->setPieSize(w / 2, h / 2, r);
    c->setData(DoubleArray(values.data(), int(values.size())));
    c->setLabelFormat(" ");
    for (size_t i = 0; i < values.size(); ++i) c->sector(int(i))->setColor(kColors[i % 8]);
    return c;
}

int rgb(DrawArea* d, double x, double y) {
    return d->getPixel(int(std::floor(x)), int(std::floor(y))) & 0xffffff;
}

// The sector of exactly this colour, or -1 (a blend, or the background).
int pureSector(int color, int count) {
    for (int i = 0; i < count; ++i)
        if (color == kColors[i]) return i;
    return -1;
}

Rect labelRect(Sector* s) {
    Rect r;
    r.valid = std::sscanf(s->getLabelCoor(), "shape=\"rect\" coords=\"%d,%d,%d,%d\"", &r.left, &r.top, &r.right,
                          &r.bottom) == 4;
    return r;
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

// An oracle independent of the goldens: walking a ring round the centre and classing each sample by
// colour gives every sector's sweep, which must match its share within half a degree, clockwise
// from 12 o'clock and anticlockwise from 3 o'clock. Samples in a blend between two sectors go half
// to each side.
TEST(PieChart, SweepsMeasuredAlongARingMatchTheShares) {
    const std::vector<double> values = {5, 10, 15, 20, 50, 3.5, 11};
    const int n = int(values.size());
    double total = 0;
    for (double v : values) total += v;
    for (bool clockwise : {true, false}) {
        // Large, so that the half pixel a row's sample may be off stays well under the tolerance.
        PiePtr c = plainPie(values, 500, 500, 240);
        c->setLineColor(Chart::Transparent);
        c->setStartAngle(clockwise ? 0 : 90, clockwise);
        DrawArea* d = c->makeChart();
        const int steps = 14400;
        std::vector<int> owner(steps);
        for (int k = 0; k < steps; ++k) {
            const double a = 2 * kPi * (k + 0.5) / steps;
            owner[size_t(k)] = pureSector(rgb(d, 250 + 220 * std::sin(a), 250 - 220 * std::cos(a)), n);
        }
        int first = 0;
        while (first < steps && owner[size_t(first)] < 0) ++first;
        ASSERT_LT(first, steps);
        std::vector<double> sweep(size_t(n), 0);
        for (int k = 0; k < steps;) {
            const int at = (first + k) % steps, s = owner[size_t(at)];
            int run = 0;
            while (k + run < steps && owner[size_t((first + k + run) % steps)] == s) ++run;
            int blend = 0;
            while (k + run + blend < steps && owner[size_t((first + k + run + blend) % steps)] < 0) ++blend;
            const int next = owner[size_t((first + k + run + blend) % steps)];
            sweep[size_t(s)] += run + blend / 2.0;
            sweep[size_t(next)] += blend / 2.0;
            k += run + blend;
        }
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(sweep[size_t(i)] * 360 / steps, 360 * values[size_t(i)] / total, 0.5) << "sector " << i;
        // Where the first sector lies: just after 12 o'clock, or just before 3 o'clock.
        const double inFirst = (clockwise ? 2 : 88) * kPi / 180;
        EXPECT_EQ(pureSector(rgb(d, 250 + 220 * std::sin(inFirst), 250 - 220 * std::cos(inFirst)), n), 0);
        EXPECT_NEAR(c->sector(4)->getPercent(), 50 * 100 / total, 1e-9);
    }
}

// In 3D every top shows its own colour and the front wall the darker colour of the sector in front,
// at every start angle, with and without an exploded sector: a back face painted after a front one
// would show through at one of these points.
TEST(PieChart, ThreeDPaintsBackBeforeFrontAtEveryStartAngle) {
    const std::vector<double> values = {14, 9, 22, 6, 17, 11, 21};
    const int n = int(values.size());
    for (int explode : {-1, 2})
        for (int start = 0; start < 360; start += 15) {
            PiePtr c = plainPie(values, 300, 260);
            c->setPieSize(150, 110, 100);
            c->set3D(30, 45);
            c->setSectorStyle(Chart::FlatShading);
            c->setStartAngle(start);
            if (explode >= 0) c->setExplode(explode, 20);
            DrawArea* d = c->makeChart();
            const double ry = std::floor(100 * std::cos(kPi / 4));
            double acc = 0;
            std::vector<double> from(size_t(n) + 1);
            for (int i = 0; i <= n; ++i) {
                from[size_t(i)] = start + acc;
                if (i < n) acc += 360 * values[size_t(i)] / 100;
            }
            for (int i = 0; i < n; ++i) {
                const double mid = (from[size_t(i)] + from[size_t(i) + 1]) / 2 * kPi / 180;
                EXPECT_EQ(rgb(d, 150 + 50 * std::sin(mid), 110 - 0.5 * ry * std::cos(mid)), kColors[i])
                    << "top of sector " << i << " at start " << start << ", explode " << explode;
            }
            for (int a = 120; a <= 240; a += 5) {
                const double rel = std::fmod(a - start + 720, 360);
                int owner = 0;
                while (owner < n - 1 && rel >= from[size_t(owner) + 1] - start) ++owner;
                // Near a seam, and anywhere near the exploded sector, a neighbour may rightly cover the wall.
                const double margin = std::abs(owner - explode) == 1 || std::abs(owner - explode) == n - 1 ? 15 : 2;
                const bool nearSeam = rel - (from[size_t(owner)] - start) < margin ||
                                      from[size_t(owner) + 1] - start - rel < margin;
                if (owner == explode || nearSeam) continue;
                const double ar = a * kPi / 180;
                const int wall = rgb(d, 150 + 99.5 * std::sin(ar), 110 - ry * std::cos(ar) + 15);
                EXPECT_EQ(wall, d->halfColor(kColors[owner]) & 0xffffff)
                    << "wall at " << a << " degrees, start " << start << ", explode " << explode;
            }
        }
}

// Data the chart must survive, with what each case must show.
TEST(PieChart, OddDataGivesTheDesignedResult) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    auto render = [](PieChart* c) {
        MemBlock png = c->makeChart(Chart::PNG);
        return png.len > 0;
    };
    {  // All zero: equal shares.
        PiePtr c = plainPie({0, 0, 0, 0});
        ASSERT_TRUE(render(c.get()));
        for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(c->sector(i)->getPercent(), 25);
    }
    {  // Negative values count by size; NaN and infinities get no sector and no hot spot.
        PiePtr c = plainPie({-30, 10, nan, inf, -inf, 60});
        ASSERT_TRUE(render(c.get()));
        EXPECT_DOUBLE_EQ(c->sector(0)->getPercent(), 30);
        EXPECT_DOUBLE_EQ(c->sector(5)->getPercent(), 60);
        for (int i : {2, 3, 4}) {
            EXPECT_EQ(c->sector(i)->getPercent(), 0);
            EXPECT_STREQ(c->sector(i)->getImageCoor(), "");
        }
        EXPECT_EQ(c->sector(-1), nullptr);
        EXPECT_EQ(c->sector(6), nullptr);
    }
    {  // One value among gaps is a whole disc: black sector edges leave no seam at its start.
        PiePtr c = plainPie({nan, 7, nan});
        c->setLineColor(0x000000);
        c->setStartAngle(0);
        DrawArea* d = c->makeChart();
        for (int y = 60; y < 140; y += 5) EXPECT_EQ(rgb(d, 150, y), kColors[1]) << y;
    }
    {  // A zero among others takes no angle; the others keep theirs.
        PiePtr c = plainPie({1, 0, 1});
        ASSERT_TRUE(render(c.get()));
        EXPECT_DOUBLE_EQ(c->sector(1)->getPercent(), 0);
        EXPECT_DOUBLE_EQ(c->sector(2)->getPercent(), 50);
    }
    {  // A donut given its radii the wrong way round; an empty chart; a thousand sectors with labels.
        PiePtr c = plainPie({1, 2});
        c->setDonutSize(150, 150, 30, 90);
        c->set3D();
        ASSERT_TRUE(render(c.get()));
        EXPECT_NE(std::string(c->sector(0)->getImageCoor()).find("poly"), std::string::npos);
        PiePtr empty(PieChart::create(100, 100));
        EXPECT_TRUE(render(empty.get()));
        std::vector<double> many(1000);
        for (size_t i = 0; i < many.size(); ++i) many[i] = double(i % 17 + 1);
        for (int layout : {Chart::SideLayout, Chart::CircleLayout}) {
            PiePtr big(PieChart::create(400, 300));
            big->setData(DoubleArray(many.data(), int(many.size())));
            big->setLabelLayout(layout);
            big->set3D();
            EXPECT_TRUE(render(big.get()));
        }
    }
    {  // A very long label is drawn whole.
        std::string text(2000, 'x');
        const char* labels[] = {text.c_str(), "b"};
        double v[] = {1, 2};
        PiePtr c(PieChart::create(300, 200));
        c->setData(DoubleArray(v, 2), StringArray(labels, 2));
        c->setLabelLayout(Chart::SideLayout);
        ASSERT_TRUE(render(c.get()));
        EXPECT_GT(labelRect(c->sector(0)).width(), 2000);
    }
}

// Side labels of random data, flat and 3D, never overlap one another and never rise above the top
// bound, however many there are; circle labels of crowded sectors move apart the same way.
TEST(PieChart, LabelsNeverOverlap) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 60; ++trial) {
        const int n = 1 + int(rng() % 40);
        std::vector<double> values;
        std::exponential_distribution<double> skew(1.0);
        for (int i = 0; i < n; ++i) values.push_back(std::pow(skew(rng), 3));
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i) names.push_back("Item " + std::to_string(i));
        std::vector<const char*> labels;
        for (auto& s : names) labels.push_back(s.c_str());
        const bool side = trial % 3 != 2;
        PiePtr c(PieChart::create(500, 400));
        c->setPieSize(250, 200, 90);
        c->setData(DoubleArray(values.data(), n), StringArray(labels.data(), n));
        c->setLabelLayout(side ? Chart::SideLayout : Chart::CircleLayout, -1, 20);
        if (trial % 2) c->set3D();
        c->setStartAngle(double(rng() % 360), trial % 4 != 1);
        c->layout();
        std::vector<Rect> rects;
        for (int i = 0; i < n; ++i) {
            rects.push_back(labelRect(c->sector(i)));
            ASSERT_TRUE(rects.back().valid);
            if (side) {
                EXPECT_GE(rects.back().top, 20);
            }
        }
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                EXPECT_FALSE(overlap(rects[size_t(i)], rects[size_t(j)]))
                    << "labels " << i << " and " << j << " of trial " << trial;
    }
}

// Explode groups: one that covers every sector does nothing; one from the last sector to the first
// moves both by the same offset and leaves the others.
TEST(PieChart, ExplodeGroups) {
    const std::vector<double> values = {3, 2, 4, 1};
    PiePtr plain = plainPie(values), all = plainPie(values), wrap = plainPie(values);
    all->setExplodeGroup(0, 3, 10);
    wrap->setExplodeGroup(3, 0, 10);
    for (auto* c : {plain.get(), all.get(), wrap.get()}) c->layout();
    auto firstPoint = [](Sector* s) {
        int x = 0, y = 0;
        std::sscanf(s->getImageCoor(), "shape=\"poly\" coords=\"%d,%d", &x, &y);
        return std::make_pair(x, y);
    };
    for (int i = 0; i < 4; ++i) EXPECT_EQ(firstPoint(all->sector(i)), firstPoint(plain->sector(i)));
    auto moved = [&](int i) {
        auto a = firstPoint(wrap->sector(i)), b = firstPoint(plain->sector(i));
        return std::make_pair(a.first - b.first, a.second - b.second);
    };
    EXPECT_EQ(moved(0), moved(3));
    EXPECT_NE(moved(0), std::make_pair(0, 0));
    EXPECT_EQ(moved(1), std::make_pair(0, 0));
    EXPECT_EQ(moved(2), std::make_pair(0, 0));
}

// One legend entry per sector that has a value and a name.
TEST(PieChart, LegendHasOneEntryPerNamedSector) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double v5[] = {1, nan, 2, 3, 4};
    const char* n5[] = {"a", "b", "", "d", "e"};
    double v3[] = {1, 3, 4};
    const char* n3[] = {"a", "d", "e"};
    PiePtr five(PieChart::create(300, 300)), three(PieChart::create(300, 300));
    five->setData(DoubleArray(v5, 5), StringArray(n5, 5));
    three->setData(DoubleArray(v3, 3), StringArray(n3, 3));
    LegendBox* l5 = five->addLegend(10, 10);
    LegendBox* l3 = three->addLegend(10, 10);
    five->layout();
    three->layout();
    EXPECT_EQ(l5->getHeight(), l3->getHeight());
    EXPECT_GT(l5->getHeight(), 20);
}

namespace {

enum class PieCase { FlatCircleLabels, DonutSideLabels, ManySmall };

PiePtr goldenPie(PieCase which) {
    static const double sales[] = {25, 18, 15, 12, 8, 30, 35};
    static const char* names[] = {"Labor", "Licenses", "Taxes", "Legal", "Insurance", "Facilities", "Production"};
    PiePtr c(PieChart::create(460, 300, 0xffffff));
    switch (which) {
        case PieCase::FlatCircleLabels:
            c->setPieSize(230, 150, 100);
            c->setData(DoubleArray(sales, 7), StringArray(names, 7));
            c->setLabelPos(20, Chart::LineColor);
            break;
        case PieCase::DonutSideLabels:
            c->setDonutSize(230, 140, 100, 45);
            c->set3D(20);
            c->setData(DoubleArray(sales, 7), StringArray(names, 7));
            c->setLabelLayout(Chart::SideLayout);
            c->setSectorStyle(Chart::RoundedEdgeShading);
            c->setExplode(2);
            break;
        case PieCase::ManySmall: {
            static std::vector<double> v;
            static std::vector<std::string> n;
            static std::vector<const char*> p;
            v = {120, 80};
            for (int i = 0; i < 22; ++i) v.push_back(1 + i % 3);
            n.clear();
            p.clear();
            for (size_t i = 0; i < v.size(); ++i) n.push_back("S" + std::to_string(i));
            for (auto& s : n) p.push_back(s.c_str());
            c->setPieSize(230, 150, 90);
            c->setData(DoubleArray(v.data(), int(v.size())), StringArray(p.data(), int(p.size())));
            c->setLabelFormat("{label} {percent|0}%");
            c->setJoinLine(Chart::LineColor);
            c->setStartAngle(30);
            break;
        }
    }
    return c;
}

const char* pieCaseName(PieCase which) {
    switch (which) {
        case PieCase::FlatCircleLabels: return "pie_circle_labels";
        case PieCase::DonutSideLabels: return "pie_donut_3d_side_labels";
        case PieCase::ManySmall: return "pie_many_small";
    }
    return "";
}

}  // namespace

TEST(PieChart, GoldenDumpsAndPictures) {
    for (PieCase which : {PieCase::FlatCircleLabels, PieCase::DonutSideLabels, PieCase::ManySmall}) {
        const std::string name = pieCaseName(which);
        EXPECT_TRUE(matchesGoldenText("chart", name + ".agf", drawtest::withRelativeIds(textDump(goldenPie(which).get()))));
        PiePtr c = goldenPie(which);
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", name + ".png", std::string(png.data, size_t(png.len)), 48));
    }
}

// A sector's own label settings: a format of one space hides its label (not its hot spot); its own
// style, made before the chart resolves its defaults, still gets a side label's box.
TEST(PieChart, SectorLabelSettings) {
    double v[] = {3, 2, 4};
    const char* names[] = {"a", "b", "c"};
    PiePtr c(PieChart::create(400, 300));
    c->setPieSize(200, 150, 60);
    c->setData(DoubleArray(v, 3), StringArray(names, 3));
    c->setLabelLayout(Chart::SideLayout);
    c->sector(0)->setLabelFormat(" ");
    c->sector(2)->setLabelStyle("", 16);
    DrawArea* d = c->makeChart();
    EXPECT_STREQ(c->sector(0)->getLabelCoor(), "");
    EXPECT_NE(std::string(c->sector(0)->getImageCoor()).find("poly"), std::string::npos);
    const Rect small = labelRect(c->sector(1)), big = labelRect(c->sector(2));
    ASSERT_TRUE(small.valid && big.valid);
    EXPECT_GT(big.height(), small.height());
    // The box takes the sector's colour.
    EXPECT_EQ(d->getPixel(big.left + 1, big.top + 1) & 0xffffff, d->getARGBColor(Chart::DataColor + 2) & 0xffffff);
}

// Sector edges as wide as asked: across a straight radial edge and across the rim, the run of
// edge-coloured pixels is as long as the width, on flat and 3D pies alike.
TEST(PieChart, SectorEdgeWidth) {
    auto darkRun = [](DrawArea* d, int x0, int y0, int dx, int dy, int n) {
        int dark = 0;
        for (int k = 0; k < n; ++k) {
            const int c = d->getPixel(x0 + k * dx, y0 + k * dy);
            dark += ((c >> 16) & 255) < 0x60 && ((c >> 8) & 255) < 0x60 && (c & 255) < 0x60;
        }
        return dark;
    };
    for (bool threeD : {false, true}) {
        for (int width : {1, 4, 7}) {
            PiePtr c = plainPie({1, 1, 1, 1});
            c->setSectorStyle(Chart::FlatShading, 0x000000, width);
            if (threeD) c->set3D(10, 0);
            DrawArea* d = c->makeChart();
            // The edge at 12 o'clock, crossed 50 px above the centre; the rim crossed at x = 170.
            EXPECT_EQ(darkRun(d, 130, 100, 1, 0, 40), width) << width << " " << threeD;
            EXPECT_NEAR(darkRun(d, 170, 30, 0, 1, 40), width, 1) << width << " " << threeD;
        }
    }
}

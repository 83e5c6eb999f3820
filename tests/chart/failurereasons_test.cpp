#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

using namespace plotvane;

namespace {

std::string reason() { return Chart::lastError(); }

std::string tempPath(const char* name) { return std::string(::testing::TempDir()) + name; }

}  // namespace

TEST(FailureReasons, FileOutputAndImageLoading) {
    Owned<XYChart> c(XYChart::create(60, 40));
    Chart::clearLastError();
    EXPECT_FALSE(c->makeChart("/no/such/dir/a.png"));
    EXPECT_EQ(reason(), "cannot open /no/such/dir/a.png: No such file or directory");
    std::string good = tempPath("reasons.png");
    EXPECT_TRUE(c->makeChart(good.c_str()));
    // A success leaves the last reason alone.
    EXPECT_EQ(reason(), "cannot open /no/such/dir/a.png: No such file or directory");

    Owned<DrawArea> d(DrawArea::create());
    EXPECT_FALSE(d->load("/no/such/picture.png"));
    EXPECT_EQ(reason(), "cannot open /no/such/picture.png: No such file or directory");
    std::string text = tempPath("reasons.txt");
    if (FILE* f = std::fopen(text.c_str(), "w")) {
        std::fputs("not an image at all", f);
        std::fclose(f);
    }
    std::string fake = tempPath("reasons_fake.png");
    std::rename(text.c_str(), fake.c_str());
    EXPECT_FALSE(d->load(fake.c_str()));
    EXPECT_EQ(reason(), fake + " is not a PNG image");
    EXPECT_TRUE(d->load(good.c_str()));
    EXPECT_EQ(d->getWidth(), 60);
    std::remove(good.c_str());
    std::remove(fake.c_str());
}

TEST(FailureReasons, SizesFontsAndMarkup) {
    Chart::clearLastError();
    Owned<XYChart> c(XYChart::create(-5, 100));
    c->makeChart();
    EXPECT_EQ(reason(), "bad size -5 x 100; using 1 x 100");

    Owned<DrawArea> d(DrawArea::create());
    d->setSize(200, 60);
    Chart::clearLastError();
    d->text("fine", "arial.ttf", 10, 5, 5, 0x000000);
    EXPECT_EQ(reason(), "");
    d->text("which font?", "NoSuchFontAnywhere", 10, 5, 5, 0x000000);
    EXPECT_EQ(reason().rfind("unknown font 'NoSuchFontAnywhere'; using '", 0), 0u) << reason();
    // Asked again, the answer comes from the cache and still says so.
    Chart::clearLastError();
    d->text("which font?", "NoSuchFontAnywhere", 10, 5, 5, 0x000000);
    EXPECT_EQ(reason().rfind("unknown font 'NoSuchFontAnywhere'", 0), 0u) << reason();

    d->text("<*colr=ff0000*>typo", "arial.ttf", 10, 5, 5, 0x000000);
    EXPECT_EQ(reason(), "markup: unknown tag 'colr'");
    d->text("closing <*/size*> nothing", "arial.ttf", 10, 5, 5, 0x000000);
    EXPECT_EQ(reason(), "markup: no 'size' to close");
}

TEST(FailureReasons, StayOnTheirThread) {
    Chart::clearLastError();
    std::thread([] {
        Owned<XYChart> c(XYChart::create(10, 10));
        EXPECT_FALSE(c->makeChart("/no/such/dir/b.png"));
        EXPECT_NE(reason(), "");
    }).join();
    EXPECT_EQ(reason(), "");
}

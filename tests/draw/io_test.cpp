#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "draw/drawarea_p.h"
#include "draw/drawtest.h"
#include "draw/imageio_p.h"
#include "draw/memcache_p.h"
#include "support/golden.h"

using namespace plotvane;
using drawtest::impl;
using drawtest::newArea;

namespace {

std::string tempPath(const std::string& name) { return ::testing::TempDir() + "plotvane_draw_" + name; }

bool codecsPresent() {
    const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    return getImageType(gif, 10) == kImageGIF;
}

}  // namespace

TEST(DrawAreaIO, LoadingFailuresLeaveTheAreaAsItWas) {
    auto d = newArea(30, 20);
    d->line(0, 0, 10, 10, 0, 1);
    std::string before = drawtest::dump(d.get());

    EXPECT_FALSE(d->load(tempPath("missing.png").c_str()));
    EXPECT_EQ(impl(d.get())->lastError(), kLoadOpenFailed);

    // A BMP file is read as GIF, and is not one.
    std::string bmp = tempPath("picture.bmp");
    plotvane_test::writeFile(bmp, std::string("BM") + std::string(60, '\0'));
    EXPECT_FALSE(d->load(bmp.c_str()));
    EXPECT_EQ(impl(d.get())->lastError(), kLoadWrongType);
    EXPECT_FALSE(d->loadWMP(bmp.c_str()));

    // A PNG name with GIF content is refused by the PNG loader.
    std::string gif = tempPath("zero.png");
    plotvane_test::writeFile(gif, std::string("GIF89a\0\0\0\0", 10) + std::string(20, '\0'));
    EXPECT_FALSE(d->load(gif.c_str()));
    EXPECT_EQ(impl(d.get())->lastError(), kLoadWrongType);

    if (codecsPresent()) {
        std::string zero = tempPath("zero.gif");
        plotvane_test::writeFile(zero, std::string("GIF89a\0\0\5\0", 10) + std::string(20, '\0'));
        EXPECT_FALSE(d->load(zero.c_str()));
        EXPECT_EQ(impl(d.get())->lastError(), kLoadBadSize);
        std::string huge = tempPath("huge.gif");
        plotvane_test::writeFile(huge, std::string("GIF89a\xff\xff\xff\xff", 10) + std::string(20, '\0'));
        EXPECT_FALSE(d->load(huge.c_str()));
        EXPECT_EQ(impl(d.get())->lastError(), kLoadTooManyPixels);
    }
    EXPECT_EQ(drawtest::dump(d.get()), before);
    EXPECT_EQ(d->getWidth(), 30);
    for (const char* f : {"picture.bmp", "zero.png", "zero.gif", "huge.gif"}) std::remove(tempPath(f).c_str());
}

TEST(DrawAreaIO, OutputsByNameAndToMemory) {
    auto d = newArea(30, 20);
    d->rect(1, 1, 10, 10, 0x000000, 0xff0000);
    std::string agf = tempPath("picture.AGF");
    ASSERT_TRUE(d->out(agf.c_str()));
    EXPECT_EQ(plotvane_test::readFile(agf), drawtest::dump(d.get()));
    std::remove(agf.c_str());
    EXPECT_FALSE(d->out(""));
    EXPECT_FALSE(d->outAGF((tempPath("no/such/folder") + "/x.agf").c_str()));

    // A memory output stays valid until the next one and can be handed to the output cache.
    MemBlock block = d->outAGF();
    ASSERT_GT(block.len, 0);
    std::string copy(block.data, static_cast<size_t>(block.len));
    ASSERT_TRUE(d->cacheOutput("agf-key"));
    MemBlock cached = MemCache::instance().lockBlock("agf-key");
    EXPECT_EQ(std::string(cached.data, static_cast<size_t>(cached.len)), copy);
    MemCache::instance().unlockBlock("agf-key");
    EXPECT_FALSE(d->cacheOutput("again"));  // the stream was handed over

    // Writers that fail give null pointers and no file.
    const char* data = "x";
    int len = 5;
    bool ok = d->outPNG(&data, &len);
    EXPECT_EQ(ok, len > 0);
    if (!ok) {
        EXPECT_EQ(data, nullptr);
    }

    // Vector outputs replay the whole recording; options given with the call come first.
    MemBlock svg = d->outSVG2("noxmldecl;nodoctype");
    ASSERT_GT(svg.len, 5);
    EXPECT_EQ(std::string(svg.data, 4), "<svg");
    ASSERT_TRUE(d->out(tempPath("upper.SVGZ").c_str()));
    std::string gz = plotvane_test::readFile(tempPath("upper.SVGZ"));
    ASSERT_GE(gz.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(gz[0]), 0x1f);
    EXPECT_EQ(static_cast<unsigned char>(gz[1]), 0x8b);
    ASSERT_TRUE(d->out(tempPath("x.pdf").c_str()));
    EXPECT_EQ(plotvane_test::readFile(tempPath("x.pdf")).substr(0, 5), "%PDF-");
}

TEST(DrawAreaIO, FontTableAndStaticHelpers) {
    auto d = newArea();
    EXPECT_STREQ(d->resolveFont(""), "arial.ttf");
    EXPECT_STREQ(d->resolveFont("bold"), "arialbd.ttf");
    EXPECT_STREQ(d->resolveFont("my.ttf"), "my.ttf");
    EXPECT_STREQ(d->resolveFont("Times New Roman"), "Times New Roman");
    d->setDefaultFonts("normal.ttf", nullptr, "", "bi.ttf");
    EXPECT_STREQ(d->resolveFont("normal"), "normal.ttf");
    EXPECT_STREQ(d->resolveFont("italic"), "ariali.ttf");
    d->setFontTable(6, "six.ttf");
    d->setFontTable(300, "ignored.ttf");
    EXPECT_STREQ(d->resolveFont("font6"), "six.ttf");
    EXPECT_STREQ(d->resolveFont("font5"), "");
    EXPECT_STREQ(d->resolveFont("font7"), "normal.ttf");
    EXPECT_STREQ(d->resolveFont("font-1"), "normal.ttf");
    EXPECT_STREQ(d->resolveFont("font0"), "normal.ttf");
    EXPECT_STREQ(d->resolveFont("fontx"), "fontx");

    EXPECT_EQ(DrawArea::alignX(11, Chart::Center), 5);
    EXPECT_EQ(DrawArea::alignX(11, Chart::TopRight), 10);
    EXPECT_EQ(DrawArea::alignX(11, 12), 0);
    EXPECT_EQ(DrawArea::alignY(11, Chart::BottomLeft), 10);
    EXPECT_EQ(DrawArea::alignY(11, Chart::Left), 5);
    EXPECT_EQ(DrawArea::alignY(11, 0), 0);
    EXPECT_EQ(DrawArea::getImageType(MemBlock("GI", 2)), -1);
    EXPECT_STREQ(DrawArea::getMediaType(kImageJPG), "image/jpeg");
}

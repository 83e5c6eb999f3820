#include <gtest/gtest.h>

#include "draw/drawtest.h"
#include "markuptest.h"
#include "support/golden.h"

using namespace plotvane;

// Every markup command drawn once; the dump shows where each run, block fill, underline, symbol
// and picture lands. Object ids are renumbered as in the drawing engine's own golden dump.
TEST(MarkupGolden, EveryCommand) {
    auto d = markuptest::newArea(480, 360);
    d->setSearchPath(plotvane_test::testPath("fuzz/corpus/png").c_str());
    markuptest::AreaPtr shape(DrawArea::create());
    shape->setSize(6, 6, Chart::Transparent);
    shape->rect(0, 0, 5, 5, 0x000000, 0xffcc00);
    ASSERT_EQ(d->registerShape(shape.get()), 0);

    const std::string bold = plotvane_test::kDejaVuSansBold;
    const std::string texts[] = {
        "Plain <*font=" + bold + "*>bold<*/font*> <*size=14*>big<*size=10*> <*height=14*>tall<*height=10*> "
        "<*width=16*>wide<*width=0*>",
        "<*color=CC0000*>red<*color=-1*> <*bgcolor=FFFF00*>marked<*bgcolor=FF000000*> <*underline=2*>under<*underline=0*> "
        "x<*sub*>2<*/font*> <*font,super*>n<*/font*> e<*xoffset=3,yoffset=4*>moved",
        "<*advance=30*>after an advance<*advanceto=200*>at 200, literal <<* and *>\nsecond line<*br*>third line",
        "<*block,halign=center,width=160,bgcolor=E0F0FF,edgecolor=336699,margin=4 6 2 8*>centred<*br*>block lines<*/block*>"
        " <*block,valign=top,linespacing=1.5,maxwidth=70,truncate=2*>wrapped and truncated to two lines<*/*>"
        " <*block,height=40,valign=bottom*>low<*/*>",
        "<*img=@circle,width=10,color=00FF00*> <*img=@star(6),size=14,color=FF8800,edgecolor=000000*> "
        "<*img=@@0*> <*img=rgb.png*> <*img=rgb.png,height=8*> <*img=*rgb.png,width=8*> "
        "<*block,angle=90,bgcolor=DDDDDD*>up<*/*> <*block,rtl=1*>first<*img=@square,size=6,color=0000FF*><*/*>",
    };
    int y = 10;
    for (const std::string& s : texts) {
        TTFText* t = TTFText::create(d.get(), s.c_str(), plotvane_test::kDejaVuSans.c_str(), 0, 10, 10, 0, false, 1, 460);
        t->drawOn(d.get(), 10, y, Chart::TextColor, Chart::TopLeft);
        y += t->getHeight() + 8;
        t->destroy();
    }
    TTFText* turned = TTFText::create(d.get(), "turned <*color=0000CC*>45", plotvane_test::kDejaVuSans.c_str(), 0, 12, 12,
                                      45, false, 1);
    turned->drawOn(d.get(), 400, 330, 0x000000, Chart::Center);
    turned->destroy();

    EXPECT_TRUE(plotvane_test::matchesGoldenText("text", "markup_every_command.agf", drawtest::withRelativeIds(drawtest::dump(d.get()))));
}

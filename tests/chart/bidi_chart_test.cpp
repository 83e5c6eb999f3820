// Right-to-left text where charts lay text out: a title, wrapped markup in a free text box and
// text turned by quarter and odd angles, as a recorded dump and as pixels.

#include <plotvane/basechart.h>
#include <plotvane/drawarea.h>
#include <plotvane/drawobj.h>

#include <gtest/gtest.h>

#include <string>

#include "chart/testchart.h"
#include "draw/drawtest.h"
#include "support/golden.h"
#include "support/pinnedfonts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

ChartPtr rightToLeftChart() {
    auto tc = makeTestChart(360, 260);
    BaseChart* c = tc->api();
    // Arabic with digits and brackets: "sales (2024) rose 15%".
    c->addTitle("\xd8\xa7\xd9\x84\xd9\x85\xd8\xa8\xd9\x8a\xd8\xb9\xd8\xa7\xd8\xaa (2024) \xd8\xb2\xd8\xa7\xd8\xaf\xd8\xaa 15%",
                kFont, 13, 0x202060);
    // Hebrew and Arabic words inside Latin text, wrapped.
    c->addText(10, 40,
               "<*block,maxwidth=200*>Revenue of \xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d in <*color=CC0000*>"
               "\xd8\xa7\xd9\x84\xd8\xb3\xd9\x84\xd8\xa7\xd9\x85<*color=-1*> grew by [3] points "
               "\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7 \xd8\xa8\xd9\x83\xd9\x85 (12, 13)<*/*>",
               kFont, 10, 0x000000);
    c->addText(300, 60, "\xd7\xa2\xd7\x91\xd7\xa8\xd7\x99\xd7\xaa 90", kFont, 10, 0x004400, Chart::TopLeft, 90);
    c->addText(200, 200, "\xd8\xb9\xd8\xb1\xd8\xa8\xd9\x8a <1>", kFont, 11, 0x440000, Chart::TopLeft, 30);
    return tc;
}

}  // namespace

TEST(BidiChart, TitleWrappedAndTurnedText) {
    ChartPtr tc = rightToLeftChart();
    EXPECT_TRUE(matchesGoldenText("chart", "bidi_text.agf", drawtest::withRelativeIds(dumpOf(tc->makeChart()))));
    PLOTVANE_SKIP_UNLESS_PINNED_FONTS();
    ChartPtr again = rightToLeftChart();
    MemBlock png = again->api()->makeChart(Chart::PNG);
    EXPECT_TRUE(matchesGoldenPNG("chart", "bidi_text.png", std::string(png.data, static_cast<size_t>(png.len)), 48));
}

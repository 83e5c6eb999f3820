#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <string>

#include "text/fontconfiglookup_p.h"

using namespace plotvane;

namespace {

// The font-family of the SVG text element that holds `text`.
std::string familyOf(const std::string& svg, const std::string& text) {
    size_t at = svg.find(">" + text);
    if (at == std::string::npos) return "";
    size_t family = svg.rfind("font-family:", at);
    if (family == std::string::npos) return "";
    return svg.substr(family, svg.find(';', family) - family);
}

}  // namespace

TEST(FallbackText, SVGNamesTheFontEachCharacterCameFrom) {
    FontConfigLookup probe;
    if (probe.findCovering(0x4e2d, 0).path.empty()) GTEST_SKIP() << "no installed font has CJK characters";
    Owned<XYChart> c(XYChart::create(400, 60));
    c->enableVectorOutput();
    c->addTitle("Latin 中文", "arial.ttf", 14);
    c->setPlotArea(10, 40, 380, 10);
    MemBlock m = c->makeChart(Chart::SVG);
    std::string svg(m.data, static_cast<size_t>(m.len));
    std::string latin = familyOf(svg, "Latin "), cjk = familyOf(svg, "中文");
    ASSERT_FALSE(latin.empty()) << svg;
    ASSERT_FALSE(cjk.empty()) << svg;
    EXPECT_NE(latin, cjk);
}

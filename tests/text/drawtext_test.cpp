#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <gtest/gtest.h>

#include "support/areaptr.h"

#include <memory>
#include <string>

using namespace plotvane;

namespace {
std::string dumpOf(DrawArea* d) {
    MemBlock b = d->outAGF();
    return std::string(b.data, static_cast<size_t>(b.len));
}
}  // namespace

TEST(DrawText, RecordsGlyphRunsPlacedByAlignment) {
    plotvane_test::AreaPtr d = plotvane_test::newArea(200, 100);
    TTFText* t = d->text("Hello", "arial.ttf", 0, 12, 12, 0, false);
    ASSERT_NE(t, nullptr);
    ASSERT_GT(t->getWidth(), 0);
    t->drawOn(d.get(), 100, 50, 0x000080, Chart::Center);
    std::string dump = dumpOf(d.get());
    // Centred: the origin is the point minus half the box.
    std::string expected = "\"Hello\", 0, 5, " + std::to_string(100 - t->getWidth() / 2) + ", " +
                           std::to_string(50 - t->getHeight() / 2) + ", 0x000080)";
    EXPECT_NE(dump.find(expected), std::string::npos) << dump;
    d->close(t);

    // Text outlives its TTFText in the recording.
    d->text("World", "bold", 10, 5, 5, Chart::TextColor);
    EXPECT_NE(dumpOf(d.get()).find("\"World\""), std::string::npos);
}

TEST(DrawText, EmptyAndInvisibleTextRecordNothing) {
    plotvane_test::AreaPtr d = plotvane_test::newArea(50, 50);
    std::string before = dumpOf(d.get());
    d->text("", "arial.ttf", 10, 0, 0, 0);
    d->text(nullptr, "arial.ttf", 10, 0, 0, 0);
    d->text("zero height", "arial.ttf", 0, 0, 0, 0);
    EXPECT_EQ(dumpOf(d.get()), before);
}

TEST(DrawText, FontTestThroughTheDrawingSurface) {
    static char report[16384];
    EXPECT_TRUE(DrawArea::testFont("arial.ttf", 0, 10, 10, 0, report, sizeof report));
    EXPECT_NE(std::string(report).find("Successfully opened"), std::string::npos) << report;
}

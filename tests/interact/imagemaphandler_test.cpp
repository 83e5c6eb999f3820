#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <string>

using namespace plotvane;

TEST(ImageMapHandler, ShapesEdgesAndOverlapOrder) {
    const char* map =
        "<map name='m'>"
        "<area shape=\"rect\" coords=\"30,20,10,40\" href=\"r.html\" />\n"
        "<AREA SHAPE=circle COORDS=100,100,10 href='c.html'>"
        "<area shape=\"poly\" coords=\"200,0,260,0,260,60,230,20,200,60\" href=\"p.html\" />\n"
        "<area shape=\"rect\" coords=\"0,0,300,300\" href=\"all.html\" />\n"
        "</map>";
    auto h = own(ImageMapHandler::create(map));
    EXPECT_EQ(h->getHotSpot(10, 20), 1);  // corners and edges belong to the rectangle
    EXPECT_EQ(h->getHotSpot(30, 40), 1);
    EXPECT_EQ(h->getHotSpot(107, 106), 2);
    EXPECT_EQ(h->getHotSpot(108, 107), 4);  // outside the circle, inside the catch-all
    EXPECT_EQ(h->getHotSpot(230, 10), 3);
    EXPECT_EQ(h->getHotSpot(230, 40), 4);  // in the polygon's notch
    EXPECT_EQ(h->getHotSpot(301, 0), 0);
    EXPECT_EQ(h->getKey(0), nullptr);
    EXPECT_EQ(h->getValue("path"), nullptr);
}

TEST(ImageMapHandler, ParametersOfTheCurrentArea) {
    auto h = own(ImageMapHandler::create(
        "<area shape=\"rect\" coords=\"0,0,9,9\" title='a &#62; b &#8364;' href=\"x/y.html?X=1&Name=A%26B&flag&amp;z=&#39;q&#39;\" />"));
    ASSERT_EQ(h->getHotSpot(5, 5), 1);
    const char* keys[] = {"path", "x", "name", "flag", "z", "coords", "title"};
    const char* values[] = {"x/y.html", "1", "A&B", "", "'q'", "0,0,9,9", "a > b \xe2\x82\xac"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_STREQ(h->getKey(i), keys[i]);
        EXPECT_STREQ(h->getValue(i), values[i]);
    }
    EXPECT_EQ(h->getKey(7), nullptr);
    EXPECT_EQ(h->getValue(-1), nullptr);
    EXPECT_STREQ(h->getValue("NAME"), "A&B");
}

TEST(ImageMapHandler, HostileTextIsReadAsFarAsItGoes) {
    auto nothing = own(ImageMapHandler::create(nullptr));
    EXPECT_EQ(nothing->getHotSpot(0, 0), 0);

    // Unterminated quote and tag, huge and malformed coordinates, entities that do not decode.
    auto h = own(ImageMapHandler::create(
        "<area coords=\"-99999999999999,-99999999999999,99999999999999,99999999999999\" title='&#99999999;&#;&bogus;' href='a?x%zz=1' />"
        "<area coords=\"1,,x,2,3\"><area coords='5,5,6,6 href=\"b"));
    ASSERT_EQ(h->getHotSpot(1000, -1000), 1);
    EXPECT_STREQ(h->getValue("title"), "&#99999999;&#;&bogus;");
    EXPECT_STREQ(h->getValue("x%zz"), "1");

    // A polygon of 100,000 points: a thin comb whose teeth alternate between hit and miss.
    std::string comb = "<area shape=poly coords=\"";
    for (int i = 0; i < 50000; ++i) comb += std::to_string(2 * i) + ",0," + std::to_string(2 * i + 1) + ",100,";
    comb += "100000,0\" href=\"c\">";
    auto big = own(ImageMapHandler::create(comb.c_str()));
    int inside = 0;
    for (int x = 0; x < 200; ++x) inside += big->getHotSpot(x, 50);
    EXPECT_GT(inside, 0);
    EXPECT_LT(inside, 200);
}

TEST(ImageMapHandler, ManyAreasStillFindTheFirstContainingOne) {
    // Past 200 areas the previous hit is tried first; it must still be the answer only when it
    // contains the point.
    std::string map;
    for (int i = 0; i < 300; ++i)
        map += "<area shape=\"rect\" coords=\"" + std::to_string(i * 10) + ",0," + std::to_string(i * 10 + 9) +
               ",9\" href=\"i.html?i=" + std::to_string(i) + "\" />\n";
    auto h = own(ImageMapHandler::create(map.c_str()));
    EXPECT_EQ(h->getHotSpot(2995, 5), 300);
    EXPECT_STREQ(h->getValue("i"), "299");
    EXPECT_EQ(h->getHotSpot(2991, 9), 300);
    EXPECT_EQ(h->getHotSpot(15, 5), 2);
    EXPECT_STREQ(h->getValue("i"), "1");
    EXPECT_EQ(h->getHotSpot(15, 10), 0);
    EXPECT_EQ(h->getValue("i"), nullptr);
}

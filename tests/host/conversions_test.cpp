// Arguments and results between the host and the library: pixel scaling, child objects, strings,
// arrays, dates, folder items, exceptions, and objects that outlive or die with their charts.
#include <plotvane/plotvane.h>

#include "hostfixture.h"
#include "support/golden.h"

#include <cstdio>

namespace {

using namespace hosttest;

using Conversions = HostTest;

const std::vector<double> kShares = {25, 18, 15};

std::string pieViaCpp(const std::string& file) {
    using namespace plotvane;
    PieChart* c = PieChart::create(720, 560);
    c->setPieSize(200, 200, 100);
    c->setData(DoubleArray(kShares.data(), 3), StringArray());
    c->setLabelStyle("", 8, Chart::Transparent);
    const bool written = c->makeChart(file.c_str());
    c->destroy();
    return written ? plotvane_test::readFile(file) : "";
}

TEST_F(Conversions, ScaleFactorIsClampedAndMultipliesPixelArguments) {
    auto scale = [&] { return ok(host.callShared("PVBaseChartRQX", "ScaleFactor", {})).number; };
    EXPECT_EQ(scale(), 1.0);
    ok(host.setShared("PVBaseChartRQX", "ScaleFactor", D(0.5)));
    EXPECT_EQ(scale(), 1.0);
    ok(host.setShared("PVBaseChartRQX", "ScaleFactor", D(500)));
    EXPECT_EQ(scale(), 100.0);
    ok(host.setShared("PVPieChartRQX", "ScaleFactor", I(2)));
    EXPECT_EQ(scale(), 2.0);

    // setPieSize(100, 100, 50) at ScaleFactor 2 is the library's setPieSize(200, 200, 100).
    Value pie = make("PVPieChartRQX", {I(360), I(280)});
    call(pie, "setPieSize", {I(100), I(100), I(50)});
    call(pie, "setData", {Doubles(kShares), Strings({})});
    call(pie, "setLabelStyle", {S(""), D(8), I(static_cast<int>(0xff000000))});
    const std::string file = ::testing::TempDir() + "/host_pie.png";
    ASSERT_TRUE(call(pie, "makeChart", {S(file)}).boolean);
    EXPECT_TRUE(plotvane_test::readFile(file) == pieViaCpp(::testing::TempDir() + "/host_pie_cpp.png"));
    // Image-map offsets are pixels too.
    const std::string scaled = call(pie, "getHTMLImageMap", {S("x"), S(""), S(""), I(5), I(7)}).text;
    ok(host.setShared("PVBaseChartRQX", "ScaleFactor", D(1)));
    EXPECT_EQ(scaled, call(pie, "getHTMLImageMap", {S("x"), S(""), S(""), I(10), I(14)}).text);
    EXPECT_NE(scaled, call(pie, "getHTMLImageMap", {S("x"), S(""), S(""), I(5), I(7)}).text);
}

TEST_F(Conversions, ChildObjectsAndNil) {
    Value pie = make("PVPieChartRQX", {I(300), I(300)});
    call(pie, "setData", {Doubles(kShares)});
    EXPECT_EQ(call(pie, "sector", {I(99)}).kind, Value::Kind::Nil);
    Value sector = call(pie, "sector", {I(1)});
    ASSERT_EQ(sector.kind, Value::Kind::Object);
    EXPECT_TRUE(host.isA(sector, "PVSectorRQX"));
    call(sector, "setColor", {Colour(0x336699)});

    // Read-only properties hand out the same library objects as the methods.
    Value c = make("PVXYChartRQX");
    Value axis = call(c, "yAxis");
    call(axis, "setLinearScale", {D(0), D(10)});
    EXPECT_EQ(call(call(c, "yAxis"), "getMaxValue").number, plotvane::Chart::NoValue);  // not laid out yet
    call(c, "layout");
    EXPECT_EQ(call(axis, "getMaxValue").number, 10.0);
    EXPECT_TRUE(host.isA(call(c, "addScatterLayer", {Doubles({1, 2}), Doubles({3, 4})}), "PVScatterLayerRQX"));
    // Chained operations give the same object back.
    Value a = make("PVArrayRQX", {Doubles({1, 2, 3})});
    Value same = call(a, "mul", {D(2)});
    EXPECT_EQ(same.object, a.object);
    const Value result = call(a, "result");
    ASSERT_EQ(result.elements->size(), 3u);
    EXPECT_EQ((*result.elements)[2].number, 6.0);
    // An integer array where the library takes doubles.
    Value ints;
    ints.kind = Value::Kind::Array;
    ints.elementKind = Value::Kind::Integer;
    ints.elements = std::make_shared<ValueList>(ValueList{I(4), I(5)});
    EXPECT_EQ(call(make("PVArrayRQX", {ints}), "sum").number, 9.0);
}

TEST_F(Conversions, UnconstructedObjectsAndLibraryFailuresRaiseHostExceptions) {
    // Too large to be a chart: the object exists but has no library chart behind it.
    Value huge = make("PVXYChartRQX", {I(1 << 20), I(1 << 20)});
    CallResult r = host.call(huge, "setPlotArea", {I(0), I(0), I(10), I(10)});
    ASSERT_EQ(r.status, CallResult::Status::Raised);
    EXPECT_TRUE(host.isA(r.value, "PVNotInitialzedExceptionRQX"));
    EXPECT_TRUE(host.isA(r.value, "RuntimeException"));
    EXPECT_EQ(host.exceptionMessage(r.value), "Object not initialzed correctly.");
    // A class the program cannot create itself.
    Value axis = make("PVAxisRQX");
    EXPECT_EQ(host.call(axis, "setTitle", {S("t")}).status, CallResult::Status::Raised);
    EXPECT_EQ(host.construct("PVMLTableRQX", {}).status, CallResult::Status::Error);

    Value c = make("PVXYChartRQX", {I(200), I(100)});
    Value nilFolder;
    r = host.call(c, "makeChart", {nilFolder});
    ASSERT_EQ(r.status, CallResult::Status::Raised);
    EXPECT_TRUE(host.isA(r.value, "NilObjectException"));
    EXPECT_EQ(r.message, "folderitem is nil");
    // The call after an exception runs normally.
    EXPECT_EQ(call(c, "getWidth").integer, 200);
    EXPECT_EQ(host.call(c, "noSuchMethod", {}).status, CallResult::Status::Error);
    EXPECT_EQ(host.call(c, "setSize", {S("wide")}).status, CallResult::Status::Error);
}

TEST_F(Conversions, StringsDatesAndFolderItems) {
    Value c = make("PVXYChartRQX", {I(300), I(200)});
    // UTF-8 text survives the round trip, also when it holds a zero-free multibyte run.
    EXPECT_EQ(call(c, "formatValue", {D(1234.5), S("{value|1,.} \xE2\x82\xAC")}).text,
              "1,234.5 \xE2\x82\xAC");
    plotvane::XYChart* cpp = plotvane::XYChart::create(1, 1);
    EXPECT_EQ(call(c, "formatValue", {D(3), S("")}).text, cpp->formatValue(3, ""));
    cpp->destroy();

    const Value date = host.makeDate(2024, 2, 29, 13, 45, 10);
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "chartTime", {date})).number,
              plotvane::Chart::chartTime(2024, 2, 29, 13, 45, 10));
    // Dates as x values give the chart of the same chart times.
    auto dates = [&](bool asObjects) {
        Value v;
        v.kind = Value::Kind::Array;
        v.elementKind = asObjects ? Value::Kind::Object : Value::Kind::Double;
        v.elements = std::make_shared<ValueList>();
        for (int d = 1; d <= 3; ++d)
            v.elements->push_back(asObjects ? host.makeDate(2024, 1, d) : D(plotvane::Chart::chartTime(2024, 1, d)));
        return v;
    };
    std::string png[2];
    for (int route = 0; route < 2; ++route) {
        Value chart = make("PVXYChartRQX", {I(300), I(200)});
        call(chart, "setPlotArea", {I(40), I(20), I(240), I(150)});
        call(chart, "addScatterLayer", {dates(route == 1), Doubles({1, 3, 2})});
        const std::string file = ::testing::TempDir() + "/host_dates" + std::to_string(route) + ".png";
        ASSERT_TRUE(call(chart, "makeChart", {S(file)}).boolean);
        png[route] = plotvane_test::readFile(file);
    }
    EXPECT_FALSE(png[0].empty());
    EXPECT_TRUE(png[0] == png[1]);

    // Folder items arrive as normalised POSIX paths.
    std::string dir = ::testing::TempDir();
    if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    const Value item = host.makeFolderItem(dir + "/./sub dir/../host folder item.png");
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "GetPath", {item})).text, dir + "/host folder item.png");
    ASSERT_TRUE(call(c, "makeChart", {item}).boolean);
    EXPECT_FALSE(plotvane_test::readFile(dir + "/host folder item.png").empty());
    std::remove((dir + "/host folder item.png").c_str());
}

TEST_F(Conversions, ChildrenKeepTheirChartAliveAndEverythingGoesWithTheProgram) {
    const int before = host.liveObjects();
    {
        Value layer;
        Value dataSet;
        {
            Value c = make("PVXYChartRQX", {I(300), I(200)});
            layer = call(c, "addBarLayer", {Doubles({1, 2, 3}), Colour(0xff0000), S("bars")});
            dataSet = call(layer, "getDataSet", {I(0)});
        }
        // The chart went out of the program's hands but its layer and data set still work.
        call(dataSet, "setDataColor", {Colour(0x00ff00)});
        EXPECT_EQ(call(dataSet, "getDataName").text, "bars");
        EXPECT_EQ(call(layer, "getDataSetCount").integer, 1);
        EXPECT_GT(host.liveObjects(), before);
    }
    EXPECT_EQ(host.liveObjects(), before);
}

// Each second form of an operation (colour arrays as color(), integer arrays, Dates for times,
// Dates for time stamps) gives what its first form gives.
TEST_F(Conversions, SecondFormsAgreeWithFirstForms) {
    auto array = [](Value::Kind kind, const std::vector<long long>& items) {
        Value v;
        v.kind = Value::Kind::Array;
        v.elementKind = kind;
        v.elements = std::make_shared<ValueList>();
        for (long long i : items) {
            Value e = I(i);
            e.kind = kind;
            v.elements->push_back(e);
        }
        return v;
    };
    auto bars = [&](const Value& data, const Value& colours) {
        Value c = make("PVXYChartRQX", {I(200), I(120)});
        call(c, "setPlotArea", {I(20), I(10), I(170), I(100)});
        call(c, "addBarLayer", {data, colours});
        const std::string file = ::testing::TempDir() + "/host_forms.png";
        EXPECT_TRUE(call(c, "makeChart", {S(file)}).boolean);
        return plotvane_test::readFile(file);
    };
    const std::string first = bars(Doubles({3, 5, 4}), array(Value::Kind::Integer, {0xff0000, 0x00ff00, 0x0000ff}));
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(first == bars(Doubles({3, 5, 4}), array(Value::Kind::Color, {0xff0000, 0x00ff00, 0x0000ff})));
    EXPECT_TRUE(first == bars(array(Value::Kind::Integer, {3, 5, 4}), array(Value::Kind::Integer, {0xff0000, 0x00ff00, 0x0000ff})));

    Value c = make("PVXYChartRQX", {I(300), I(200)});
    call(c, "setPlotArea", {I(40), I(20), I(240), I(150)});
    Value layer = call(c, "addLineLayer", {Doubles({1, 2, 3})});
    Value dates;
    dates.kind = Value::Kind::Array;
    dates.elementKind = Value::Kind::Object;
    dates.elements = std::make_shared<ValueList>(ValueList{host.makeDate(2024, 5, 1), host.makeDate(2024, 5, 11)});
    dates.elements->push_back(host.makeDate(2024, 5, 21));
    call(layer, "setXData", {dates});
    call(c, "layout");
    const Value mid = host.makeDate(2024, 5, 11);
    const long long x = call(c, "getXCoor", {mid}).integer;
    EXPECT_EQ(x, call(c, "getXCoor", {D(plotvane::Chart::chartTime(2024, 5, 11))}).integer);
    EXPECT_EQ(x, 160);
}

// Strings the host keeps in Latin-1 reach the library as UTF-8, on hosts of either age.
TEST(HostStrings, OtherEncodingsArriveAsUTF8) {
    for (double version : {2019.01, 2012.5}) {
        testhost::HostOptions options;
        options.version = version;
        options.stringEncoding = testhost::kREALTextEncodingLatin1;
        testhost::TestHost host(options);
        ASSERT_TRUE(host.load(PLOTVANE_HOST_PLUGIN));
        const Value c = host.construct("PVXYChartRQX", {}).value;
        EXPECT_EQ(host.call(c, "formatValue", {D(7), S("{value} caf\xC3\xA9 \xC2\xB0" "C")}).value.text,
                  "7 caf\xC3\xA9 \xC2\xB0" "C")
            << version;
    }
}

// A host without some services: what needs them is skipped, nothing else breaks.
TEST(MissingServices, CallsThroughMissingEntriesAreSkipped) {
    {
        testhost::HostOptions options;
        options.missing = {"PluginRegisterClass"};
        testhost::TestHost host(options);
        ASSERT_TRUE(host.load(PLOTVANE_HOST_PLUGIN));
        EXPECT_TRUE(host.registered().empty());
    }
    testhost::HostOptions options;
    options.missing = {"REALBuildStringWithEncoding", "RuntimeRaiseException", "PluginNewInstance"};
    testhost::TestHost host(options);
    ASSERT_TRUE(host.load(PLOTVANE_HOST_PLUGIN));
    CallResult c = host.construct("PVXYChartRQX", {I(200), I(100)});
    ASSERT_EQ(c.status, CallResult::Status::Ok);
    // Strings fall back to the older builder; child objects cannot be made and come back nil;
    // a failure that cannot be raised is dropped.
    EXPECT_EQ(host.call(c.value, "formatValue", {D(2.5), S("{value|2}")}).value.text, "2.50");
    EXPECT_EQ(host.call(c.value, "xAxis", {}).value.kind, Value::Kind::Nil);
    CallResult nilFolder = host.call(c.value, "makeChart", {Value()});
    EXPECT_EQ(nilFolder.status, CallResult::Status::Ok);
    EXPECT_FALSE(nilFolder.value.boolean);
}

}  // namespace

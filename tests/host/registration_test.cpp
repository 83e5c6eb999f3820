// What the plugin registers: the host's class table in registration order, the constants and the
// shared members, the record layout chosen by host version, and a host that lacks services.
#include <plotvane/plotvane.h>

#include "hostfixture.h"

#include <map>

namespace {

using namespace hosttest;

struct Row {
    const char* name;
    const char* parent;
    int methods;
    int properties;
};

// The host's class table, in the order the host sees the registrations.
const Row kTable[] = {
    {"PVThreeDChartRQX", "PVBaseChartRQX", 15, 3},
    {"PVMLTableRQX", "PVDrawObjRQX", 18, 0},
    {"PVPlotAreaRQX", "", 19, 0},
    {"PVScatterLayerRQX", "PVLineLayerRQX", 0, 0},
    {"PVLinearMeterRQX", "PVBaseMeterRQX", 9, 0},
    {"PVBaseChartRQX", "", 87, 0},
    {"PVPolarSplineLineLayerRQX", "PVPolarLineLayerRQX", 1, 0},
    {"PVMultiChartRQX", "PVBaseChartRQX", 6, 0},
    {"PVBoxWhiskerLayerRQX", "PVBaseBoxLayerRQX", 7, 0},
    {"PVPolarChartRQX", "PVBaseChartRQX", 30, 2},
    {"PVDataSetRQX", "", 26, 0},
    {"PVSectorRQX", "", 16, 0},
    {"PVLegendBoxRQX", "PVTextBoxRQX", 13, 0},
    {"PVPolarLineLayerRQX", "PVPolarLayerRQX", 3, 0},
    {"PVViewPortManagerRQX", "", 43, 0},
    {"PVBaseMeterRQX", "PVBaseChartRQX", 21, 0},
    {"PVStepLineLayerRQX", "PVLineLayerRQX", 1, 0},
    {"PVAxisRQX", "", 65, 0},
    {"PVDrawAreaRQX", "", 128, 0},
    {"PVThreeDScatterGroupRQX", "", 16, 0},
    {"PVRanTableRQX", "", 10, 0},
    {"PVRanSeriesRQX", "", 7, 0},
    {"PVPolarLayerRQX", "", 25, 0},
    {"PVDrawObjRQX", "", 3, 0},
    {"PVMarkRQX", "PVTextBoxRQX", 6, 0},
    {"PVPolarAreaLayerRQX", "PVPolarLayerRQX", 0, 0},
    {"PVTextBoxRQX", "PVBoxRQX", 13, 0},
    {"PVTTFTextRQX", "", 8, 0},
    {"PVLayerRQX", "", 57, 0},
    {"PVMeterPointerRQX", "PVDrawObjRQX", 17, 0},
    {"PVXYChartRQX", "PVBaseChartRQX", 99, 4},
    {"PVBarLayerRQX", "PVLayerRQX", 11, 0},
    {"PVAngularAxisRQX", "", 14, 0},
    {"PVLineRQX", "PVDrawObjRQX", 4, 0},
    {"PVCandleStickLayerRQX", "PVBaseBoxLayerRQX", 4, 0},
    {"PVLineObjRQX", "", 1, 0},
    {"PVSplineLayerRQX", "PVLineLayerRQX", 2, 0},
    {"PVPolarVectorLayerRQX", "PVPolarLayerRQX", 8, 0},
    {"PVImageMapHandlerRQX", "", 5, 0},
    {"PVFinanceSimulatorRQX", "", 8, 0},
    {"PVAngularMeterRQX", "PVBaseMeterRQX", 40, 0},
    {"PVAreaLayerRQX", "PVLayerRQX", 3, 0},
    {"PVInterLineLayerRQX", "PVLayerRQX", 2, 0},
    {"PVPieChartRQX", "PVBaseChartRQX", 24, 0},
    {"PVPolarSplineAreaLayerRQX", "PVPolarAreaLayerRQX", 1, 0},
    {"PVBoxRQX", "PVDrawObjRQX", 11, 0},
    {"PVTrendLayerRQX", "PVLayerRQX", 12, 0},
    {"PVLineLayerRQX", "PVLayerRQX", 7, 0},
    {"PVArrayRQX", "", 71, 0},
    {"PVVectorLayerRQX", "PVLayerRQX", 8, 0},
    {"PVBaseBoxLayerRQX", "PVLayerRQX", 5, 0},
    {"PVHLOCLayerRQX", "PVBaseBoxLayerRQX", 2, 0},
    {"PVRadialAxisRQX", "PVAxisRQX", 0, 0},
    {"PVThreeDScatterChartRQX", "PVThreeDChartRQX", 4, 0},
    {"PVNotInitialzedExceptionRQX", "RuntimeException", 0, 0},
    {"PVPyramidChartRQX", "PVBaseChartRQX", 26, 0},
    {"PVSurfaceChartRQX", "PVThreeDChartRQX", 16, 0},
    {"PVPyramidLayerRQX", "", 17, 0},
    {"PVContourLayerRQX", "PVLayerRQX", 10, 0},
    {"PVColorAxisRQX", "PVAxisRQX", 18, 0},
    {"PVFinanceChartRQX", "PVMultiChartRQX", 141, 0},};

// Classes whose method count differs from the table's, with what they register now: each has every
// operation of its library class with its colour, date and integer-array forms, and no more is
// described anywhere; the table class has a private constructor the count leaves no room for.
const std::map<std::string, int> kShort = {
    {"PVBoxWhiskerLayerRQX", 5}, {"PVPolarChartRQX", 29}, {"PVThreeDScatterGroupRQX", 14},
    {"PVRanTableRQX", 9}, {"PVMeterPointerRQX", 7}, {"PVXYChartRQX", 98}, {"PVBarLayerRQX", 9},
    {"PVAngularMeterRQX", 24}, {"PVBaseBoxLayerRQX", 4},
    {"PVPyramidChartRQX", 24}, {"PVPyramidLayerRQX", 14}, {"PVMLTableRQX", 19},
};

using Registration = HostTest;

TEST_F(Registration, ClassesComeInTheTablesOrderWithItsParentsAndCounts) {
    const auto& classes = host.registered();
    ASSERT_EQ(classes.size(), std::size(kTable));
    EXPECT_EQ(host.pluginVersion(), 13);
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const Row& row = kTable[i];
        const REALclassDefinition& def = *classes[i]->def;
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(def.name, row.name);
        EXPECT_EQ(std::string(def.superName ? def.superName : ""), row.parent);
        EXPECT_EQ(static_cast<int>(def.propertyCount), row.properties);
        EXPECT_EQ(def.mFlags, 4u);
        EXPECT_EQ(def.version, 13u);
        EXPECT_EQ(def.dataSize % 16, 0u);
        auto shortOf = kShort.find(row.name);
        EXPECT_EQ(static_cast<int>(def.methodCount), shortOf == kShort.end() ? row.methods : shortOf->second);
        // Every declaration is one the host can read.
        for (std::uint32_t m = 0; m < def.methodCount; ++m) {
            testhost::Declaration d;
            EXPECT_TRUE(testhost::parseDeclaration(def.methods[m].declaration, d)) << def.methods[m].declaration;
            const bool picture = std::string(def.methods[m].declaration).find("Picture") != std::string::npos;
            EXPECT_EQ(def.methods[m].mFlags, picture ? 0x40000u : d.name == "Constructor" && def.methods[m].mFlags != 4u ? 0x84u : 4u)
                << def.methods[m].declaration;
        }
    }
    for (const auto& [name, count] : kShort) EXPECT_NE(count, std::find_if(std::begin(kTable), std::end(kTable), [&](const Row& r) { return name == r.name; })->methods);
}

TEST_F(Registration, BaseChartCarriesTheConstantsScaleFactorAndSharedMembers) {
    const REALclassDefinition& base = *host.findClass("PVBaseChartRQX")->def;
    ASSERT_EQ(base.constantCount, 178u);
    EXPECT_STREQ(base.constants[0].declaration, "kTransparent = &hff000000");
    ASSERT_EQ(base.sharedPropertyCount, 1u);
    EXPECT_STREQ(base.sharedProperties[0].name, "ScaleFactor");

    const std::map<std::string, long long> constants = {
        {"kTopLeft", 7}, {"kBottomRight2", 13}, {"kQTIMG", 9}, {"kTextColor", static_cast<int>(0xffff0002)},
        {"kAltDashLine", 0x0A050505}, {"kPlotvane_ArrowSymbol", 18}, {"kGridLinesZ", 0x2000},
        {"kExponentialRegression", -1}, {"kAutoGrid", -2}, {"kRingShading", 8}, {"kCompatAntiAlias", 6}};
    for (const auto& [name, value] : constants) EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", name, {})).integer, value) << name;
    // Shared members are reached through a derived class too.
    EXPECT_EQ(ok(host.callShared("PVPieChartRQX", "kNoValue", {})).number, plotvane::Chart::NoValue);
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "kTouchBar", {})).number, plotvane::Chart::TouchBar);
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "glassEffect", {})).integer, plotvane::Chart::glassEffect());
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "StartOfMonthFilter", {I(2)})).integer,
              plotvane::Chart::StartOfMonthFilter(2));

    const Value palette = ok(host.callShared("PVBaseChartRQX", "defaultPalette", {}));
    ASSERT_EQ(palette.kind, Value::Kind::Array);
    ASSERT_EQ(palette.elements->size(), 41u);
    for (int i = 0; i < 41; ++i) EXPECT_EQ((*palette.elements)[i].integer, plotvane::Chart::defaultPalette[i]) << i;
    EXPECT_EQ(host.callShared("PVBaseChartRQX", "kNoSuchThing", {}).status, CallResult::Status::Error);
}

TEST_F(Registration, ColoursFromHostColours) {
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "ColorToInteger", {Colour(0x123456), I(128)})).integer,
              static_cast<int>(0x80123456u));
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "ColorToInteger", {Colour(0xabcdef)})).integer, 0xabcdef);
    EXPECT_EQ(ok(host.callShared("PVBaseChartRQX", "RGB", {I(1), I(2), I(3), I(4)})).integer, 0x04010203);
}

// Older hosts: the record layout follows the version, and hosts before 2012 miss the angular
// meter's last two methods.
TEST(RegistrationByVersion, ControlVersionAndAngularMeterFollowTheHost) {
    const std::pair<double, int> versions[] = {{2019.01, 13}, {2013.04, 13}, {2013.03, 12}, {2013.0, 11},
                                               {2012.5, 10}, {2011.0, 9}};
    int full = 0;
    for (const auto& [version, control] : versions) {
        testhost::HostOptions options;
        options.version = version;
        testhost::TestHost host(options);
        ASSERT_TRUE(host.load(PLOTVANE_HOST_PLUGIN));
        EXPECT_EQ(host.pluginVersion(), control) << version;
        const int meter = static_cast<int>(host.findClass("PVAngularMeterRQX")->def->methodCount);
        if (version >= 2012.0) full = meter;
        EXPECT_EQ(meter, version >= 2012.0 ? full : full - 2) << version;
        // Records in either layout serve the same calls.
        ASSERT_EQ(host.registered().size(), std::size(kTable));
        EXPECT_EQ(host.findClass("PVXYChartRQX")->def->methodCount, kShort.at("PVXYChartRQX"));
        const CallResult c = host.construct("PVXYChartRQX", {I(320), I(240)});
        ASSERT_EQ(c.status, CallResult::Status::Ok);
        Value layer = host.call(c.value, "addLineLayer", {Doubles({1, 3, 2})}).value;
        EXPECT_EQ(host.call(layer, "getDataSetCount", {}).value.integer, 1);
        EXPECT_EQ(host.call(host.call(c.value, "yAxis2", {}).value, "getAlignment", {}).value.integer,
                  plotvane::Chart::Right);
        EXPECT_EQ(host.callShared("PVBaseChartRQX", "kCenter", {}).value.integer, 5);
    }
    // Without a version service the plugin takes the last version it knows.
    testhost::HostOptions options;
    options.missing = {"REALGetRBVersion"};
    testhost::TestHost host(options);
    ASSERT_TRUE(host.load(PLOTVANE_HOST_PLUGIN));
    EXPECT_EQ(host.pluginVersion(), 13);
}

}  // namespace

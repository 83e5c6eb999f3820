// The host example programs parse, and run to their end when every object accepts every call: what
// remains for the real plugin to judge is the calls themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "basic.h"
#include "fakemodel.h"
#include "support/golden.h"

TEST(BasicExamples, EveryHostExampleParsesAndRuns) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PLOTVANE_HOST_EXAMPLES)) {
        if (entry.path().extension() != ".bas") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::string source = plotvane_test::readFile(entry.path().string());
        EXPECT_EQ(testhost::checkSyntax(source), "");
        basic_test::FakeModel model;
        model.permissive = true;
        std::ostringstream out;
        EXPECT_EQ(testhost::runProgram(source, model, out), "");
        EXPECT_EQ(out.str(), "");
        // Each writes its pictures in all three formats.
        int writes = 0;
        for (const std::string& call : model.log) writes += call.find(".makeChart(s\"") != std::string::npos;
        EXPECT_GE(writes, 3);
        EXPECT_EQ(writes % 3, 0);
        ++count;
    }
    EXPECT_GE(count, 7);
}

// The pictures of a host program and of its C++ twin can only be equal if the program computes the
// same numbers: the surface's heights, worked out by the interpreter, equal the C++ example's bit
// for bit.
TEST(BasicExamples, ComputedDataEqualTheCxxExamplesBitForBit) {
    basic_test::FakeModel model;
    model.permissive = true;
    std::ostringstream out;
    std::string source = plotvane_test::readFile(std::string(PLOTVANE_HOST_EXAMPLES) + "/surface_chart.bas");
    ASSERT_EQ(testhost::runProgram(source, model, out), "");
    const testhost::ValueList& args = model.lastArgs["setdata"];
    ASSERT_EQ(args.size(), 3u);

    const int n = 21;
    std::vector<double> x(n), z;
    for (int i = 0; i < n; ++i) x[i] = -3 + 6.0 * i / (n - 1);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            double u = x[i], v = x[j];
            z.push_back(3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
                        10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
                        std::exp(-(u + 1) * (u + 1) - v * v) / 3);
        }
    }
    auto same = [](const testhost::Value& array, const std::vector<double>& expected) {
        if (array.kind != testhost::Value::Kind::Array || array.elements->size() != expected.size()) return false;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const testhost::Value& e = (*array.elements)[i];
            if (e.kind != testhost::Value::Kind::Double || std::memcmp(&e.number, &expected[i], sizeof(double)) != 0) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(same(args[0], x));
    EXPECT_TRUE(same(args[1], x));
    EXPECT_TRUE(same(args[2], z));
}

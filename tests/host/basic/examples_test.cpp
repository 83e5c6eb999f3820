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

namespace {

// The number of pictures each program writes, counting its makeChart calls.
int runToTheEnd(const std::string& path) {
    SCOPED_TRACE(path);
    std::string source = plotvane_test::readFile(path);
    EXPECT_EQ(testhost::checkSyntax(source), "");
    basic_test::FakeModel model;
    model.permissive = true;
    std::ostringstream out;
    EXPECT_EQ(testhost::runProgram(source, model, out), "");
    EXPECT_EQ(out.str(), "");
    int writes = 0;
    for (const std::string& call : model.log) writes += call.find(".makeChart(s\"") != std::string::npos;
    return writes;
}

std::vector<std::string> programsIn(const std::string& folder) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(PLOTVANE_SOURCE_DIR) + "/" + folder)) {
        if (entry.path().extension() == ".bas") paths.push_back(entry.path().string());
    }
    return paths;
}

}  // namespace

TEST(BasicExamples, EveryHostProgramParsesAndRuns) {
    std::vector<std::string> examples = programsIn("examples/host");
    EXPECT_GE(examples.size(), 11u);
    for (const std::string& path : examples) {
        int writes = runToTheEnd(path);  // each picture as PNG, SVG and PDF
        EXPECT_GE(writes, 3) << path;
        EXPECT_EQ(writes % 3, 0) << path;
    }
    for (const std::string& path : programsIn("bench/host")) EXPECT_GE(runToTheEnd(path), 1) << path;
}

// The pictures of a host program and of its C++ twin can only be equal if the program computes the
// same numbers: the surface's heights, worked out by the interpreter, equal the C++ example's bit
// for bit.
TEST(BasicExamples, ComputedDataEqualTheCxxExamplesBitForBit) {
    basic_test::FakeModel model;
    model.permissive = true;
    std::ostringstream out;
    std::string source = plotvane_test::readFile(std::string(PLOTVANE_SOURCE_DIR) + "/examples/host/surface_chart.bas");
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

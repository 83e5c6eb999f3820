// The host example programs parse, and run to their end when every object accepts every call: what
// remains for the real plugin to judge is the calls themselves.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

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

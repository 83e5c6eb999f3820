#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../../fuzz/basic_input.h"
#include "fakemodel.h"
#include "support/golden.h"

// Every seed of the interpreter's fuzz target runs through the same entry in the default suite,
// with objects that accept every call.
TEST(BasicCorpus, SeedsRunCleanly) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(plotvane_test::testPath("fuzz/corpus/basic_parser"))) {
        SCOPED_TRACE(entry.path().filename().string());
        std::string bytes = plotvane_test::readFile(entry.path().string());
        basic_test::FakeModel model;
        model.permissive = true;
        EXPECT_TRUE(plotvane_fuzz::runBasicInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), model));
        ++count;
    }
    EXPECT_GE(count, 7);
}

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "../fuzz/markup_input.h"
#include "support/golden.h"

// Every seed of the markup fuzz target runs through the same entry in the default suite.
TEST(MarkupCorpus, SeedsRunCleanly) {
    std::filesystem::path dir = plotvane_test::testPath("fuzz/corpus/markup");
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        std::string bytes = plotvane_test::readFile(entry.path().string());
        SCOPED_TRACE(entry.path().filename().string());
        plotvane_fuzz::runMarkupInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++count;
    }
    EXPECT_GE(count, 10);
}

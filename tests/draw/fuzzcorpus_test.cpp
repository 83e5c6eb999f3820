// Replays the fuzzers' seed corpus through the header sniffing and the decoders. The seeds named
// after a kind of damage must be refused; the others decode to the size their header states.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "draw/imageio_p.h"
#include "support/golden.h"

using namespace plotvane;

TEST(FuzzCorpus, EverySeedDecodesOrIsRefused) {
    const std::vector<std::string> damage = {"truncated", "badcrc", "badcode", "liar"};
    int files = 0;
    for (const char* target : {"png", "gif", "jpeg", "imagetype"}) {
        for (const auto& entry : std::filesystem::directory_iterator(plotvane_test::testPath("fuzz/corpus/") + target)) {
            SCOPED_TRACE(entry.path().string());
            std::string bytes = plotvane_test::readFile(entry.path().string());
            const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
            int length = static_cast<int>(bytes.size());
            ++files;
            int type = getImageType(data, length);
            int headerWidth = -1, headerHeight = -1;
            getImageSize(data, length, headerWidth, headerHeight);
            std::vector<uint32_t> pixels;
            int width = 0, height = 0;
            bool decoded = decodeImage(data, length, type, pixels, width, height);
            if (std::string(target) == "imagetype") continue;
            bool damaged = false;
            for (const std::string& kind : damage) damaged |= entry.path().filename().string().find(kind) == 0;
            EXPECT_EQ(decoded, !damaged);
            if (decoded) {
                EXPECT_EQ(width, headerWidth);
                EXPECT_EQ(height, headerHeight);
                EXPECT_EQ(pixels.size(), static_cast<size_t>(width) * height);
            }
        }
    }
    EXPECT_GE(files, 20);
}

#include "support/golden.h"

#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace plotvane_test {

std::string testPath(const std::string& relative) { return std::string(PLOTVANE_TEST_DIR) + "/" + relative; }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

static bool updatingGoldens() {
    const char* flag = std::getenv("PLOTVANE_UPDATE_GOLDEN");
    return flag && *flag && std::string(flag) != "0";
}

::testing::AssertionResult matchesGoldenText(const std::string& area, const std::string& name,
                                             const std::string& actual) {
    std::string path = testPath("golden/" + area + "/" + name);
    if (updatingGoldens()) {
        writeFile(path, actual);
        return ::testing::AssertionSuccess();
    }
    if (!std::filesystem::exists(path)) return ::testing::AssertionFailure() << "no golden file " << path;
    std::string expected = readFile(path);
    if (expected == actual) return ::testing::AssertionSuccess();
    std::istringstream e(expected), a(actual);
    std::string el, al;
    for (int line = 1;; ++line) {
        bool me = static_cast<bool>(std::getline(e, el));
        bool ma = static_cast<bool>(std::getline(a, al));
        if (!me && !ma) break;
        if (el != al || me != ma)
            return ::testing::AssertionFailure()
                   << path << " differs at line " << line << "\n  expected: " << (me ? el : "<end>")
                   << "\n  actual:   " << (ma ? al : "<end>");
    }
    return ::testing::AssertionFailure() << path << " differs (line endings)";
}

namespace {

struct DecodedPNG {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

DecodedPNG decodePNG(const std::string& bytes) {
    DecodedPNG out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return out;
    image.format = PNG_FORMAT_RGBA;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) return out;
    out.ok = true;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

}  // namespace

::testing::AssertionResult matchesGoldenPNG(const std::string& area, const std::string& name, const std::string& png,
                                            int maxChannelDifference) {
    std::string path = testPath("golden/" + area + "/" + name);
    if (updatingGoldens()) {
        writeFile(path, png);
        return ::testing::AssertionSuccess();
    }
    DecodedPNG expected = decodePNG(readFile(path)), actual = decodePNG(png);
    if (!expected.ok) return ::testing::AssertionFailure() << "no readable golden picture " << path;
    if (!actual.ok) return ::testing::AssertionFailure() << "the picture is not a readable PNG";
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", golden "
                                             << expected.width << "x" << expected.height;
    for (size_t i = 0; i < actual.rgba.size(); ++i) {
        int difference = std::abs(int(actual.rgba[i]) - int(expected.rgba[i]));
        if (difference > maxChannelDifference) {
            size_t pixel = i / 4;
            return ::testing::AssertionFailure()
                   << path << ": pixel (" << pixel % static_cast<size_t>(actual.width) << ", "
                   << pixel / static_cast<size_t>(actual.width) << ") channel " << i % 4 << " differs by " << difference;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace plotvane_test

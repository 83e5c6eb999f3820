#include "support/golden.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

}  // namespace plotvane_test

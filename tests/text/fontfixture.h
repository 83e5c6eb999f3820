#ifndef PLOTVANE_TESTS_TEXT_FONTFIXTURE_H
#define PLOTVANE_TESTS_TEXT_FONTFIXTURE_H

// Fonts the tests rely on (Debian's fonts-dejavu-core and fonts-liberation2) and a scratch folder.

#include "support/golden.h"
#include "text/libttfdriver_p.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace plotvane_test {

inline const std::string kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline const std::string kDejaVuSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

inline std::string fileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// A fresh folder, removed with its files at the end of the test.
class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/plotvane-fonts-XXXXXX";
        const char* made = mkdtemp(pattern);
        path_ = made ? std::string(made) + "/" : std::string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string put(const std::string& name, const std::string& bytes) const {
        writeFile(path_ + name, bytes);
        return path_ + name;
    }

private:
    std::string path_;
};

inline double fakeNow = 1000;
inline double fakeClock() { return fakeNow; }

// A driver of its own that searches only the given folder (and the working directory), on the
// fake clock.
inline std::unique_ptr<plotvane::LibTTFFontDriver> driverFor(const std::string& folder) {
    plotvane::FontPathSources sources;
    sources.fontPathEnv = folder;
    auto d = std::make_unique<plotvane::LibTTFFontDriver>(plotvane::buildSearchPath(sources));
    d->setClock(fakeClock);
    return d;
}

}  // namespace plotvane_test

#endif

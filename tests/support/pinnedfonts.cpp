#include "support/pinnedfonts.h"

#include <plotvane/ttftext.h>

#include <cstdint>
#include <cstdio>

#include "support/golden.h"

namespace plotvane_test {

namespace {

struct PinnedFont {
    const char* name;  // as charts ask for it
    const char* path;
    size_t size;
    uint64_t fnv1a;  // of the whole file
};

// Debian's fonts-liberation2 2.1.5 and fonts-dejavu-core 2.37.
const PinnedFont kPinned[] = {
    {"arial.ttf", "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", 410712, 0xe306daaacface6d4ull},
    {"arialbd.ttf", "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf", 414456, 0x3b9759e73f381627ull},
};

uint64_t fnv1a(const std::string& bytes) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// The file the library opens for a font name, from its own search report.
std::string resolvedPath(const char* name) {
    char report[8192] = "";
    if (!plotvane::TTFText::test(name, 0, 10, 10, 0, report, sizeof report)) return std::string();
    const std::string text = report, marker = "Successfully opened ";
    size_t at = text.rfind(marker);
    if (at == std::string::npos) return std::string();
    at += marker.size();
    return text.substr(at, text.find('\n', at) - at);
}

}  // namespace

std::string pinnedFontsMismatch() {
    for (const PinnedFont& f : kPinned) {
        std::string found = resolvedPath(f.name);
        if (found != f.path)
            return std::string("golden pictures were made with ") + f.path + " for " + f.name + "; this machine gives " +
                   (found.empty() ? "no font" : found);
        std::string bytes = readFile(found);
        if (bytes.size() != f.size || fnv1a(bytes) != f.fnv1a)
            return std::string(f.path) + " is not the release the golden pictures were made with";
    }
    return std::string();
}

}  // namespace plotvane_test

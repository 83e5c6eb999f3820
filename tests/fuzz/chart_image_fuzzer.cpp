// Any file handed to a chart through one of its image loaders (chosen when the target is built)
// must give a picture of the chart's own size, with the image drawn or left out, and never a crash
// or a hang. The same file goes through the SVG and PDF writers, which embed it.
#include <plotvane/plotvane.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "draw/imageio_p.h"

using namespace plotvane;

namespace {

enum Loader { kWallpaper, kBgImage, kSymbol, kPattern, kMarkupImage };

// A name of this process's own; the file exists only while one input runs.
const std::string& scratchFile() {
    static const std::string path = [] {
        char name[] = "/tmp/plotvane_fuzz_XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        return std::string(name);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = scratchFile().c_str();
    FILE* f = std::fopen(path, "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    const int width = 120, height = 90;
    XYChart* c = XYChart::create(width, height);
    c->setPlotArea(10, 10, 100, 70);
    const double values[] = {1, 3, 2};
    LineLayer* line = c->addLineLayer(DoubleArray(values, 3));
    switch (PLOTVANE_FUZZ_LOADER) {
        case kWallpaper: c->setWallpaper(path); break;
        case kBgImage:
            c->setBgImage(path, Chart::Center);
            c->getPlotArea()->setBackground(path);
            break;
        case kSymbol: line->getDataSet(0)->setDataSymbol(path); break;
        case kPattern: c->addBarLayer(DoubleArray(values, 3), c->patternColor(path)); break;
        case kMarkupImage: c->addText(5, 5, ("<*img=" + std::string(path) + "*>").c_str()); break;
    }
    MemBlock png = c->makeChart(Chart::PNG);
    int w = 0, h = 0;
    getImageSize(reinterpret_cast<const unsigned char*>(png.data), png.len, w, h);
    if (w != width || h != height) std::abort();
    if (c->makeChart(Chart::SVG).len <= 0 || c->makeChart(Chart::PDF).len <= 0) std::abort();
    c->destroy();
    std::remove(path);
    return 0;
}

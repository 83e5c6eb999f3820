// The fast image: a picture written for speed rather than size. Without alpha it is an
// uncompressed BMP; with alpha a PNG at compression level 0, which only frames the raw rows.
#include "draw/imageio_p.h"
#include "draw/palettebuilder_p.h"

namespace plotvane {

bool writeFastImage(vek::ostream& out, const RasterImage& image, RasterSettings& settings) {
    if (settings.paletteMode != 1) settings.paletteMode = 2;
    if (needsAlpha(settings)) return writePNG(out, image, settings, 0);
    return writeBMP(out, image, settings);
}

}  // namespace plotvane

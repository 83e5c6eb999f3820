// Placeholder until the image codecs land: every writer and reader reports failure.
#include "draw/imageio_p.h"

namespace plotvane {

int getImageType(const unsigned char*, int) { return kImageUnknown; }
void getImageSize(const unsigned char*, int, int& width, int& height) { width = height = 0; }
bool writePNG(vek::ostream&, const RasterImage&, const RasterSettings&, int) { return false; }
bool writeJPG(vek::ostream&, const RasterImage&, const RasterSettings&, int) { return false; }
bool writeGIF(vek::ostream&, const RasterImage&, const RasterSettings&) { return false; }
bool writeBMP(vek::ostream&, const RasterImage&, const RasterSettings&) { return false; }
bool writeWMP(vek::ostream&, const RasterImage&, const RasterSettings&) { return false; }
bool writeFastImage(vek::ostream&, const RasterImage&, RasterSettings&) { return false; }
bool encodePNG(vek::ostream&, const uint32_t*, int, int) { return false; }
bool decodeImage(const unsigned char*, int, int, std::vector<uint32_t>&, int&, int&) { return false; }

}  // namespace plotvane

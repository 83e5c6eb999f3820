#ifndef PLOTVANE_DRAW_GIFENCODER_P_H
#define PLOTVANE_DRAW_GIFENCODER_P_H

#include <cstdint>

#include <plotvane/ostrstream.h>

namespace plotvane {

// Writes one palette picture as a complete GIF file.
class GIFEncoder {
public:
    // indices: width * height palette indices; palette: colorCount RGB colours (at most 256).
    // transparentIndex < 0 writes GIF87a, otherwise GIF89a with a graphic control extension.
    static void encode(vek::ostream& out, const uint8_t* indices, int width, int height, const uint32_t* palette,
                       int colorCount, bool interlace, int backgroundIndex, int transparentIndex);
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_VECTOR_DRAWSVG_P_H
#define PLOTVANE_VECTOR_DRAWSVG_P_H

// The SVG back-end: a replay target that collects definitions and body elements and writes one
// SVG 1.0 document (or its gzip form) at the end.

#include <plotvane/ostrstream.h>

#include <cstdint>

#include "vector/vectorbackend_p.h"
#include "vector/vectoroptions_p.h"

namespace plotvane {

class DrawSVG : public VectorBackend {
public:
    // Options read: "noxmldecl", "nodoctype", "width", "height", "compress".
    static DrawSVG* create(const VectorOptions& options);
    // The "bitmap" form: a document holding only the given pixels as one image.
    static bool writeBitmap(vek::ostream& out, const uint32_t* pixels, int width, int height,
                            const VectorOptions& options);

protected:
    using VectorBackend::VectorBackend;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_VECTOR_DRAWPDF_P_H
#define PLOTVANE_VECTOR_DRAWPDF_P_H

// The PDF back-end: a replay target that builds a one-page PDF 1.4 document.

#include <plotvane/ostrstream.h>

#include "vector/vectorbackend_p.h"
#include "vector/vectoroptions_p.h"

namespace plotvane {

class DrawPDF : public VectorBackend {
public:
    // Options read: "dpi", "width", "height", "pagewidth", "pageheight", "leftx", "topy".
    static DrawPDF* create(const VectorOptions& options);

protected:
    using VectorBackend::VectorBackend;
};

}  // namespace plotvane

#endif

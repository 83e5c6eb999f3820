#ifndef PLOTVANE_VECTOR_DRAWPDF_P_H
#define PLOTVANE_VECTOR_DRAWPDF_P_H

// The PDF back-end: a replay target that builds a one-page PDF 1.4 document.

#include <plotvane/ostrstream.h>

#include "draw/drawbackend_p.h"
#include "vector/vectoroptions_p.h"

namespace plotvane {

class DrawPDF : public DrawBackend {
public:
    // Options read: "dpi", "width", "height", "pagewidth", "pageheight", "leftx", "topy".
    static DrawPDF* create(const VectorOptions& options);
    // Writes the document; false when nothing could be written.
    virtual bool finish(vek::ostream& out) = 0;
};

}  // namespace plotvane

#endif

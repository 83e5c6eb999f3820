#ifndef PLOTVANE_VECTOR_PDFSHADING_P_H
#define PLOTVANE_VECTOR_PDFSHADING_P_H

// Brushes as PDF objects: gradients become shading patterns over stitched colour functions
// (periodic gradients repeat the function as often as the filled area needs), tiles become
// tiling patterns over an image, and pixel arrays become image XObjects with a soft mask for
// their transparency.

#include <cstdint>

#include "vector/pdfcontent_p.h"
#include "vector/pdfdocument_p.h"
#include "vector/vectorbrush_p.h"

namespace plotvane {

// An image XObject of ARGB pixels, with an /SMask when any pixel is not opaque; 0 on bad input.
int addImageObj(PDFDocument& doc, const uint32_t* pixels, int width, int height);

// A shading pattern for a gradient paint. toForm maps pixels of the drawing to the content
// stream's space; box (left, top, right, bottom in pixels) is the filled shape's extent, which
// relative gradients span and periodic gradients must cover.
int addGradientPattern(PDFDocument& doc, const VectorPaint& p, const PDFMatrix& toForm, const double box[4]);

// A tiling pattern repeating a tile of pixels; 0 when the tile has no pixels.
int addTilingPattern(PDFDocument& doc, const VectorPaint& p, const PDFMatrix& toForm);

// The opacity (0-255) that all of a gradient's stops share, or -1 when they differ.
int gradientOpacity(const VectorPaint& p);

// A graphics state whose soft mask gives a gradient the opacity of its stops, point by point, in
// the content space at the time it is set (the arguments are as for addGradientPattern); 0 on
// failure. Listed in the shared resources.
int addSoftMaskState(PDFDocument& doc, const VectorPaint& p, const PDFMatrix& toForm, const double box[4]);

}  // namespace plotvane

#endif

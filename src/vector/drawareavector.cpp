// SVG and PDF output of a drawing area: the whole recording is replayed into a fresh writer.
// Options passed with the call are looked up first, then those set on the area.
#include <memory>

#include "draw/drawarea_p.h"
#include "draw/drawbmp_p.h"
#include "draw/metadraw_p.h"
#include "draw/outputoptions_p.h"
#include "vector/drawpdf_p.h"
#include "vector/drawsvg_p.h"

namespace plotvane {

bool DrawAreaImpl::writeVector(vek::ostream& out, bool pdf, const char* explicitOptions) {
    auto explicitSet = std::make_shared<OutputOptions>(explicitOptions);
    MetaDraw* meta = meta_;
    VectorOptions options;
    options.lookup = [explicitSet, meta](const char* key) {
        const char* value = explicitSet->get(key);
        return value ? value : meta->getOutputOption(key);
    };
    if (!pdf && options.has("bitmap")) {
        const RasterImage image = getCanvas()->image();
        return DrawSVG::writeBitmap(out, image.pixels, image.width, image.height, options);
    }
    std::unique_ptr<VectorBackend> writer;
    if (pdf)
        writer.reset(DrawPDF::create(options));
    else
        writer.reset(DrawSVG::create(options));
    meta_->drawTo(writer.get(), 0);
    if (writer->wantsShadow()) writer->setShadowLayer(&getCanvas()->shadowLayer());
    return writer->finish(out);
}

bool DrawAreaImpl::outSVG(const char* filename, const char* options) {
    return toFile(filename, [this, options](vek::ostream& o) { return writeVector(o, false, options); });
}
bool DrawAreaImpl::outPDF(const char* filename) {
    return toFile(filename, [this](vek::ostream& o) { return writeVector(o, true, nullptr); });
}
MemBlock DrawAreaImpl::outSVG() { return outSVG2(nullptr); }
MemBlock DrawAreaImpl::outSVG2(const char* options) {
    return toMemory([this, options](vek::ostream& o) { return writeVector(o, false, options); });
}
MemBlock DrawAreaImpl::outPDF() {
    return toMemory([this](vek::ostream& o) { return writeVector(o, true, nullptr); });
}

}  // namespace plotvane

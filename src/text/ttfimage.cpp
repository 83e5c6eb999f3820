// Images inside markup text: "<*img=@circle,width=10,color=00FF00*>" for a built-in symbol,
// "@@3" for a shape the program registered with the drawing area, anything else an image file.
//
// Files are loaded once per drawing area and size: the loaded picture is kept in the area's cache
// under "name:width,height", so a label repeated over a chart reads its icon from disk once. A
// leading "*" asks for a fresh load (the file may change between charts); a backslash before "@"
// lets a file name start with "@". A picture given one side is scaled with its aspect ratio kept.
// Whatever cannot be found is an empty box of the requested size, never an error.

#include "text/ttfimage_p.h"

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include "text/markupsymbol_p.h"
#include "text/pvmlparser_p.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace plotvane {

namespace {

int roundedRatio(double v) { return static_cast<int>(std::min<double>(kMaxMarkupPixels, std::floor(v + 0.5))); }

}  // namespace

TTFImage::TTFImage(DrawArea* d, const BlockAttributes& a) : drawArea_(d), fill_(a.bgColor), edge_(a.edgeColor) {
    const std::string& spec = a.img;
    if (spec.size() > 1 && spec[0] == '@' && spec[1] == '@') {
        DrawArea* shape = d ? d->getRegisteredShape(std::atoi(spec.c_str() + 2)) : nullptr;
        if (shape) picture_ = shape->addRef();
        setSize(shape ? shape->getWidth() : 0, shape ? shape->getHeight() : 0, a);
    } else if (!spec.empty() && spec[0] == '@') {
        size_t nameEnd = spec.find_first_of("( \t", 1);
        symbol_ = markupSymbolKind(spec.substr(1, nameEnd == std::string::npos ? std::string::npos : nameEnd - 1));
        if (symbol_ && nameEnd != std::string::npos) {
            double param = std::atof(spec.c_str() + nameEnd + 1);
            // Fractions of the size (a square's rounding, a cross's arm width) are given from 0 to 1.
            const bool fractional =
                symbol_ == Chart::SquareShape || symbol_ == Chart::CrossSymbol || symbol_ == Chart::Cross2Symbol;
            if (fractional && param > 0 && param <= 1) param *= 4095;
            if (std::isfinite(param) && param > 0) symbol_ |= static_cast<int>(std::min(param, 4095.0)) << 12;
        }
        int size = a.width >= 0 ? a.width : a.height >= 0 ? a.height : 7;
        width_ = height_ = size;
    } else {
        loadPicture(d, spec[0] == '\\' && spec.size() > 1 && spec[1] == '@' ? spec.c_str() + 1 : spec.c_str(), a);
    }
}

TTFImage::~TTFImage() {
    if (picture_) picture_->destroy();
}

void TTFImage::setSize(int naturalWidth, int naturalHeight, const BlockAttributes& a) {
    width_ = a.width >= 0 ? a.width : std::max(0, naturalWidth);
    height_ = a.height >= 0 ? a.height : std::max(0, naturalHeight);
    if (naturalWidth > 0 && naturalHeight > 0) {
        if (a.width >= 0 && a.height < 0) height_ = roundedRatio(static_cast<double>(a.width) * naturalHeight / naturalWidth);
        if (a.height >= 0 && a.width < 0) width_ = roundedRatio(static_cast<double>(a.height) * naturalWidth / naturalHeight);
    }
}

void TTFImage::loadPicture(DrawArea* d, const char* spec, const BlockAttributes& a) {
    bool cached = *spec != '*';
    const char* name = cached ? spec : spec + 1;
    char key[1100];
    std::snprintf(key, sizeof key, "%s:%d,%d", name, a.width, a.height);
    DrawArea* picture = d && cached ? d->getDrawAreaCache(key) : nullptr;
    if (picture) {
        picture->addRef();
    } else if (d && *name) {
        picture = DrawArea::create();
        picture->setSize(1, 1, Chart::Transparent);
        picture->setSearchPath(d->getSearchPath());
        if (!picture->load(name)) {
            picture->destroy();
            picture = nullptr;
        } else if (cached) {
            d->putDrawAreaCache(key, picture);
        }
    }
    picture_ = picture;
    setSize(picture ? picture->getWidth() : 0, picture ? picture->getHeight() : 0, a);
}

void TTFImage::draw(int x, int y, int color, int alignment) { drawOn(drawArea_, x, y, color, alignment); }

void TTFImage::drawOn(DrawArea* d, int x, int y, int, int alignment) {
    if (!d || width_ < 1 || height_ < 1) return;
    int left = x - DrawArea::alignX(width_, alignment);
    int top = y - DrawArea::alignY(height_, alignment);
    if (symbol_) {
        drawMarkupSymbol(d, symbol_, left, top, std::min(width_, height_), fill_, edge_);
    } else if (picture_ && picture_ != d) {
        if (width_ == picture_->getWidth() && height_ == picture_->getHeight())
            d->merge(picture_, left, top, Chart::TopLeft, 0);
        else
            picture_->clone(d, left, top, Chart::TopLeft, width_, height_);
    }
}

}  // namespace plotvane

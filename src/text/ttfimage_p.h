#ifndef PLOTVANE_TEXT_TTFIMAGE_P_H
#define PLOTVANE_TEXT_TTFIMAGE_P_H

#include <plotvane/ttftext.h>

#include "text/blockparser_p.h"

namespace plotvane {

// A picture or symbol standing on a line of markup text like one large character: its box sits
// on the baseline. The picture is a loaded image file or a shape registered with the drawing area.
class TTFImage : public TTFText {
public:
    // d may be null: the image is then an empty box of the requested size.
    TTFImage(DrawArea* d, const BlockAttributes& a);
    ~TTFImage() override;
    TTFImage(const TTFImage&) = delete;
    TTFImage& operator=(const TTFImage&) = delete;

    void destroy() override { delete this; }
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    int getLineDistance() const override { return height_; }
    int getAscender() const override { return height_; }
    int getDescender() const override { return 0; }
    bool startLayout(int, int, int) override { return false; }
    TTFText* getNextLine() override { return nullptr; }
    void draw(int x, int y, int color, int alignment) override;
    void drawOn(DrawArea* d, int x, int y, int color, int alignment) override;

    bool hasPicture() const { return picture_ != nullptr; }
    int symbol() const { return symbol_; }

private:
    void loadPicture(DrawArea* d, const char* spec, const BlockAttributes& a);
    void setSize(int naturalWidth, int naturalHeight, const BlockAttributes& a);

    DrawArea* drawArea_;
    DrawArea* picture_ = nullptr;  // referenced
    int symbol_ = 0;               // shape code, when the image is a symbol
    int fill_ = 0, edge_ = 0;
    int width_ = 0, height_ = 0;
};

}  // namespace plotvane

#endif

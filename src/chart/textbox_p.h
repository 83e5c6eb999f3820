#ifndef PLOTVANE_CHART_TEXTBOX_P_H
#define PLOTVANE_CHART_TEXTBOX_P_H

// The text box behind titles, free texts and legends: a box (position, size, background, border,
// margins) around a text laid out once by the font engine and kept until a property changes.
// Styles a box has not set are read through its default box (getDefault), so a chart styles all
// its boxes at once through the one they share; position, size, text and alignment are each box's own.
// Only styles set somewhere along the chain are passed on, so a kind of box with defaults of its
// own (a legend's larger font) keeps them until the chart's default box is actually styled.

#include <plotvane/drawobj.h>

#include <string>
#include <vector>

#include "chart/box_p.h"

namespace plotvane {

class TTFText;

class TextBoxImpl : public virtual TextBox {
public:
    // Text is measured on d, the surface the box will normally paint on.
    explicit TextBoxImpl(DrawArea* d);
    ~TextBoxImpl() override;
    TextBoxImpl(const TextBoxImpl&) = delete;
    TextBoxImpl& operator=(const TextBoxImpl&) = delete;

    void copy(const Box* source) override;
    void setPos(int x, int y) override;
    void setSize(int width, int height) override;
    void setBackground(int color, int edgeColor, int raisedEffect) override;
    void setRoundedCorners(int r1, int r2, int r3, int r4) override;
    void setContainer(const BaseChart* chart) override { container_ = chart; }
    int getLeftX() override;
    int getTopY() override;
    int getWidth() override;
    int getHeight() override;
    const char* getImageCoor(int offsetX, int offsetY) override;
    // The box's corners on the chart (left, top, right, bottom) with the offsets added.
    std::vector<int> imageSpot(int offsetX, int offsetY);

    void setText(const char* text) override;
    void setAlignment(int alignment) override;
    void setFontStyle(const char* font, int fontIndex) override;
    void setFontSize(double height, double width) override;
    void setFontAngle(double angle, bool vertical) override;
    void setFontColor(int color) override;
    void setMargin(int m) override;
    void setMargin(int leftMargin, int rightMargin, int topMargin, int bottomMargin) override;
    void setWidth(int width) override;
    void setHeight(int height) override;
    void setMaxWidth(int maxWidth) override;
    void setTruncate(int maxWidth, int maxLines) override;
    void setOrigin(int x, int y, int alignment) override;

    void paint(DrawArea* d) override;

    // The box whose styles this one takes where it has set none; false (and nothing changed) when
    // that would make a box its own default.
    bool setDefault(TextBoxImpl* box);
    TextBoxImpl* getDefault() const { return default_; }
    // The point the box hangs from by its alignment, as set by setPos.
    int anchorX() const { return x_; }
    int anchorY() const { return y_; }
    int getAlignment() const { return alignment_; }

protected:
    // What a box may set itself or leave to its default box.
    enum Style : unsigned {
        kBackgroundSet = 1, kCornersSet = 2, kFontSet = 4, kFontSizeSet = 8, kAngleSet = 16, kFontColorSet = 32,
        kMarginsSet = 64
    };
    // Brings the unset styles up to date from the default boxes; every reader of a style calls it.
    void inheritStyles();

    enum Side { kLeft, kRight, kTop, kBottom };

    int margin(Side side) const;
    // Added to an automatic margin (titles make room for the chart's frame).
    virtual int extraMargin(Side) const { return 0; }
    double fontWidthOrHeight() const { return fontWidth_ > 0 ? fontWidth_ : fontHeight_; }
    // Paints the box with the given geometry, its text placed inside by the alignment.
    void paintBox(DrawArea* d, int left, int top, int width, int height);
    // The laid-out text, made on first use; null when the box has no text.
    TTFText* laidOutText();
    void discardText();

    DrawArea* area_;
    std::string text_;
    std::string font_;
    int fontIndex_ = 0;
    double fontHeight_ = 8;
    double fontWidth_ = 0;
    double angle_ = 0;
    bool vertical_ = false;
    int fontColor_ = Chart::TextColor;
    int alignment_ = Chart::TopLeft;
    int x_ = 0;
    int y_ = 0;
    bool hasOrigin_ = false;
    int originX_ = 0, originY_ = 0, originAlignment_ = -1;
    int width_ = 0;  // 0: sized by the text
    int height_ = 0;
    int maxWidth_ = 0;
    int maxLines_ = 0x7fffffff;
    int margins_[4] = {-1, -1, -1, -1};  // by Side; negative: automatic
    BoxStyle style_;
    std::string coor_;
    const BaseChart* container_ = nullptr;

private:
    TTFText* laidOut_ = nullptr;
    TextBoxImpl* default_ = nullptr;
    unsigned set_ = 0;
    unsigned given_ = 0;  // styles this box takes from its default chain
};

}  // namespace plotvane

#endif

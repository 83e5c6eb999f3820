#ifndef PLOTVANE_CHART_LEGENDBOX_P_H
#define PLOTVANE_CHART_LEGENDBOX_P_H

#include <plotvane/legendbox.h>

#include <memory>
#include <vector>

#include "chart/legendkey_p.h"
#include "chart/textbox_p.h"

namespace plotvane {

class LegendBoxImpl : public LegendBox, public TextBoxImpl {
public:
    // Entries with this sort key, or without a text source, only take part in sizing the keys.
    static constexpr int kSizingOnly = 0x7fffffff;
    // A position below this in either coordinate leaves the legend out.
    static constexpr int kUnplaced = -0xffffe;

    explicit LegendBoxImpl(DrawArea* d);
    ~LegendBoxImpl() override;

    void setCols(int noOfCols) override;
    void setReverse(bool b) override { reverse_ = b; }
    void addKey(const char* text, int color, int lineWidth, DrawArea* drawArea) override;
    void addKey(int pos, const char* text, int color, int lineWidth, DrawArea* drawArea) override;
    // The form layers use: the legend owns the text source and keeps a reference to the icon.
    void addKey(int z, std::unique_ptr<LegendText> text, int color, int lineWidth, DrawArea* icon);
    void setKeySize(int width, int height, int gap) override;
    void setKeySpacing(int keySpacing, int lineSpacing) override;
    void setKeyBorder(int edgeColor, int raisedEffect) override;
    void setLineStyleKey(bool b) override { lineStyleKey_ = b; }
    void setText(const char* entryTemplate) override;
    // Hides the whole box's getImageCoor, as the public class does.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
    const char* getImageCoor(int dataItem, int offsetX, int offsetY) override;
#pragma GCC diagnostic pop
    // An entry's corners (left, top, right, bottom) with the offsets added; empty when it has none.
    std::vector<int> itemSpot(int dataItem, int offsetX, int offsetY);
    const char* getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                int offsetY) override;

    int getLeftX() override { return left_; }
    int getTopY() override { return top_; }
    int getWidth() override { return boxWidth_; }
    int getHeight() override { return boxHeight_; }

    int getPreferredKeyWidth();
    int getPreferredKeyHeight();
    bool isPlaced() const { return x_ >= kUnplaced && y_ >= kUnplaced; }
    int shownCount() const;
    // Once; sizes the keys even when unplaced, places the entries only when placed. The styles
    // taken from the default box are settled here, for the painting too.
    void layout(DrawArea* d);
    void paint(DrawArea* d) override { paint(d, 0, 0); }
    void paint(DrawArea* d, int offsetX, int offsetY) override;

private:
    struct Item;
    void deriveKeySizes(DrawArea* d);
    int availableWidth(DrawArea* d) const;
    void arrangeGrid(int width, int& contentWidth, int& contentHeight);
    void arrangeFlow(int width, int& contentWidth, int& contentHeight);
    void placeBox(int contentWidth, int contentHeight);
    void paintItem(DrawArea* d, const Item& item, int left, int top) const;

    std::string entryText_;
    bool grid_ = true;
    int cols_ = 1;
    int keyWidth_ = -1;
    int keyHeight_ = -1;
    int keyGap_ = -1;
    int keySpacing_ = -1;
    int lineSpacing_ = -1;
    bool reverse_ = false;
    bool lineStyleKey_ = false;
    int keyBorderColor_ = Chart::LineColor;
    int keyBorderEffect_ = 0;
    std::vector<Item> items_;
    std::string imageMap_;
    std::vector<Item> sizingItems_;
    bool laidOut_ = false;
    bool arranged_ = false;  // laid out while placed: entries have texts and positions
    int left_ = 0;
    int top_ = 0;
    int boxWidth_ = 0;
    int boxHeight_ = 0;
};

}  // namespace plotvane

#endif

// Legend layout. Entries are sorted by their key (stable, so equal keys keep their order), their
// key boxes are sized from the font and the largest icon, and their texts are laid out within the
// width a column may take. Three arrangements follow: a fixed number of columns, a grid whose
// column count fits the available width to the widest entry, and a flow that fills rows left to
// right. The box then grows around the content and hangs from its position by its alignment.
//
// The available width is the legend's own limit when it has one, else the room between the
// position and the side of the surface the alignment faces.
#include "chart/legendbox_p.h"

#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "chart/imagemap_p.h"
#include "chart/legendkey_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

namespace {

struct TextDeleter {
    void operator()(TTFText* t) const { TTFText::destroy(t); }
};
struct AreaDeleter {
    void operator()(DrawArea* d) const { d->destroy(); }
};

class UserLegendText final : public LegendText {
public:
    explicit UserLegendText(const char* text) : text_(text) {}
    std::string getText(const char*, int) override { return text_; }

private:
    std::string text_;
};

constexpr int kUnbounded = 0x3fffffff;

bool isCentred(int alignment) { return alignment == 2 || alignment == 5 || alignment == 8; }
bool isRight(int alignment) { return alignment == 3 || alignment == 6 || alignment == 9; }
bool isBottom(int alignment) { return alignment >= 1 && alignment <= 3; }
bool isMiddle(int alignment) { return alignment >= 4 && alignment <= 6; }

}  // namespace

struct LegendBoxImpl::Item {
    int z = 0;
    std::unique_ptr<LegendText> source;
    int color = 0;
    int lineWidth = -1;
    std::unique_ptr<DrawArea, AreaDeleter> icon;
    std::unique_ptr<TTFText, TextDeleter> text;
    int x = 0, y = 0, width = 0, height = 0;

    int iconWidth() const { return icon ? icon->getWidth() : 0; }
    int iconHeight() const { return icon ? icon->getHeight() : 0; }
};

LegendBoxImpl::LegendBoxImpl(DrawArea* d) : TextBoxImpl(d) { fontHeight_ = 10; }

LegendBoxImpl::~LegendBoxImpl() = default;

int LegendBoxImpl::shownCount() const { return static_cast<int>(items_.size()); }

void LegendBoxImpl::setCols(int noOfCols) {
    cols_ = noOfCols;
    grid_ = noOfCols >= 1 || noOfCols == Chart::AutoGrid;
}

void LegendBoxImpl::addKey(const char* text, int color, int lineWidth, DrawArea* drawArea) {
    addKey(shownCount() + 1, text, color, lineWidth, drawArea);
}

void LegendBoxImpl::addKey(int pos, const char* text, int color, int lineWidth, DrawArea* drawArea) {
    addKey(pos, text ? std::make_unique<UserLegendText>(text) : nullptr, color, lineWidth, drawArea);
}

void LegendBoxImpl::addKey(int z, std::unique_ptr<LegendText> text, int color, int lineWidth, DrawArea* icon) {
    Item item;
    item.z = z;
    item.color = color;
    item.lineWidth = lineWidth;
    if (icon) item.icon.reset(icon->addRef());
    bool sizingOnly = z == kSizingOnly || !text;
    item.source = std::move(text);
    (sizingOnly ? sizingItems_ : items_).push_back(std::move(item));
}

void LegendBoxImpl::setKeySize(int width, int height, int gap) {
    keyWidth_ = width;
    keyHeight_ = height;
    keyGap_ = gap;
}

void LegendBoxImpl::setKeySpacing(int keySpacing, int lineSpacing) {
    keySpacing_ = keySpacing;
    lineSpacing_ = lineSpacing;
}

void LegendBoxImpl::setKeyBorder(int edgeColor, int raisedEffect) {
    keyBorderColor_ = edgeColor;
    keyBorderEffect_ = raisedEffect;
}

void LegendBoxImpl::setText(const char* entryTemplate) { entryText_ = entryTemplate ? entryTemplate : ""; }

int LegendBoxImpl::getPreferredKeyWidth() {
    inheritStyles();
    return keyWidth_ >= 0 ? keyWidth_ : static_cast<int>(std::floor(fontWidthOrHeight() + 0.5));
}

int LegendBoxImpl::getPreferredKeyHeight() {
    inheritStyles();
    return keyHeight_ >= 0 ? keyHeight_ : static_cast<int>(std::floor(fontHeight_ + 0.5));
}

void LegendBoxImpl::deriveKeySizes(DrawArea* d) {
    double fw = fontWidthOrHeight(), fh = fontHeight_;
    double keyW = fw, keyH = fh, lineKeyW = 2 * fw;
    bool anyIcon = false, anyLine = false, anyDynamic = false;
    auto consider = [&](const Item& item) {
        int w = item.iconWidth(), h = item.iconHeight();
        if (w && h) {
            anyIcon = true;
            keyW = std::max(keyW, static_cast<double>(w));
            keyH = std::max(keyH, static_cast<double>(h));
            lineKeyW = std::max(lineKeyW, static_cast<double>(item.lineWidth > 0 ? 2 * w : w));
        }
        anyLine = anyLine || item.lineWidth > 0;
        anyDynamic = anyDynamic || d->isDynamic(item.color);
    };
    for (const Item& item : sizingItems_) consider(item);
    for (const Item& item : items_) consider(item);
    if ((anyIcon && anyLine) || anyDynamic) lineStyleKey_ = true;
    if (lineStyleKey_ && anyLine) keyW = lineKeyW;

    auto fill = [](int& value, double derived) {
        if (value < 0) value = static_cast<int>(derived);
    };
    fill(keyWidth_, std::floor(keyW + 0.5));
    fill(keyHeight_, std::floor(keyH + 0.5));
    fill(keyGap_, fw * 0.5);
    fill(keySpacing_, grid_ ? 2 * fw : 3 * fw);
    fill(lineSpacing_, fh * 0.2);
    fill(margins_[kLeft], fw);
    fill(margins_[kRight], fw);
    fill(margins_[kTop], fh);
    fill(margins_[kBottom], fh);
}

int LegendBoxImpl::availableWidth(DrawArea* d) const {
    int width;
    if (maxWidth_ > 0) {
        width = maxWidth_;
    } else if (width_ > 0) {
        width = width_;
    } else {
        int surface = d->getWidth();
        if (isCentred(alignment_)) width = 2 * std::min(x_, surface - x_);
        else if (isRight(alignment_)) width = x_;
        else width = surface - x_;
    }
    return width - margins_[kLeft] - margins_[kRight];
}

void LegendBoxImpl::layout(DrawArea* d) {
    if (laidOut_ || !d) return;
    laidOut_ = true;
    inheritStyles();
    std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) { return a.z < b.z; });
    if (reverse_) std::reverse(items_.begin(), items_.end());
    if (entryText_.empty()) entryText_ = "{dataSetName}";
    deriveKeySizes(d);
    if (!isPlaced()) return;

    int width = availableWidth(d);
    int columnRoom = cols_ < 2 ? (maxWidth_ > 0 ? maxWidth_ - margins_[kLeft] - margins_[kRight] : kUnbounded)
                               : (width - (cols_ - 1) * keySpacing_) / cols_;
    int textRoom = std::max(1, columnRoom - keyWidth_ - keyGap_);
    for (Item& item : items_) {
        std::string text = item.source->getText(entryText_.c_str());
        item.text.reset(d->textEx(text.c_str(), font_.c_str(), fontIndex_, fontHeight_, fontWidth_, 0, false,
                                  textRoom, 0x7fffffff));
        item.width = keyWidth_ + keyGap_ + item.text->getWidth();
        item.height = std::max(keyHeight_ + 1, item.text->getHeight());
    }

    int contentWidth = 0, contentHeight = 0;
    if (grid_) arrangeGrid(width, contentWidth, contentHeight);
    else arrangeFlow(width, contentWidth, contentHeight);
    placeBox(contentWidth, contentHeight);
    arranged_ = true;
}

void LegendBoxImpl::arrangeGrid(int width, int& contentWidth, int& contentHeight) {
    int widest = 0;
    for (const Item& item : items_) widest = std::max(widest, item.width);
    int cols = cols_ == Chart::AutoGrid ? std::max(1, (width + keySpacing_) / std::max(1, keySpacing_ + widest))
                                        : std::max(1, cols_);
    int columnWidth = width_ > 0
                          ? std::max(1, (width_ - margins_[kLeft] - margins_[kRight] - (cols - 1) * keySpacing_) / cols)
                          : widest;
    int rowTop = 0, rowHeight = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        int column = static_cast<int>(i % static_cast<size_t>(cols));
        if (i > 0 && column == 0) {
            rowTop += rowHeight + lineSpacing_;
            rowHeight = 0;
        }
        items_[i].x = column * (keySpacing_ + columnWidth);
        items_[i].y = rowTop;
        rowHeight = std::max(rowHeight, items_[i].height);
    }
    int count = static_cast<int>(items_.size());
    contentWidth = count ? std::min(count, cols) * (columnWidth + keySpacing_) - keySpacing_ : 0;
    contentHeight = count ? rowTop + rowHeight : 0;
}

void LegendBoxImpl::arrangeFlow(int width, int& contentWidth, int& contentHeight) {
    int rowTop = 0, rowHeight = 0, rowEnd = 0;
    contentWidth = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        Item& item = items_[i];
        int x = 0;
        if (i > 0) {
            if (rowEnd + keySpacing_ + item.width < width) {
                x = rowEnd + keySpacing_;
            } else {
                rowTop += rowHeight + lineSpacing_;
                rowHeight = 0;
            }
        }
        item.x = x;
        item.y = rowTop;
        rowEnd = x + item.width;
        rowHeight = std::max(rowHeight, item.height);
        contentWidth = std::max(contentWidth, rowEnd);
    }
    contentHeight = items_.empty() ? 0 : rowTop + rowHeight;
}

void LegendBoxImpl::placeBox(int contentWidth, int contentHeight) {
    int l = margins_[kLeft], r = margins_[kRight], t = margins_[kTop], b = margins_[kBottom];
    int offsetX = 0, offsetY = 0;
    if (width_ <= 0) {
        boxWidth_ = contentWidth + l + r;
        left_ = isCentred(alignment_) ? x_ - (contentWidth / 2 + l) : isRight(alignment_) ? x_ - boxWidth_ + 1 : x_;
    } else {
        boxWidth_ = width_;
        left_ = x_ - DrawArea::alignX(boxWidth_, alignment_);
        offsetX = DrawArea::alignX(boxWidth_ - l - r - contentWidth, alignment_);
    }
    if (height_ <= 0) {
        boxHeight_ = contentHeight + t + b;
        top_ = isBottom(alignment_) ? y_ - boxHeight_ + 1 : isMiddle(alignment_) ? y_ - (contentHeight / 2 + t) : y_;
    } else {
        boxHeight_ = height_;
        top_ = y_ - DrawArea::alignY(boxHeight_, alignment_);
        offsetY = DrawArea::alignY(boxHeight_ - t - b - contentHeight, alignment_);
    }
    for (Item& item : items_) {
        item.x += offsetX;
        item.y += offsetY;
    }
}

void LegendBoxImpl::paint(DrawArea* d, int offsetX, int offsetY) {
    if (!d || !arranged_ || !isPlaced()) return;
    const int left = left_ + offsetX, top = top_ + offsetY;
    style_.paint(d, left, top, boxWidth_, boxHeight_);
    // Entries added after the legend was laid out have no text and no place in it.
    for (const Item& item : items_)
        if (item.text) paintItem(d, item, left, top);
}

void LegendBoxImpl::paintItem(DrawArea* d, const Item& item, int left, int top) const {
    int color = item.color;
    d->setColorTable(&color, 1, Chart::SameAsMainColor & 0xffff);
    int x = left + margins_[kLeft] + item.x, y = top + margins_[kTop] + item.y;
    int textHeight = item.text->getHeight();
    int keyTop = textHeight >= keyHeight_ ? y + (textHeight - keyHeight_) / 2 : y;
    int textTop = textHeight >= keyHeight_ ? y : y + (keyHeight_ - textHeight) / 2;
    int keyMidX = x + (keyWidth_ - 1) / 2, keyMidY = keyTop + (keyHeight_ - 1) / 2;
    if (lineStyleKey_ && item.lineWidth > 0) {
        d->line(x, keyMidY, x + keyWidth_ - 1, keyMidY, item.color, item.lineWidth);
        if (item.icon) d->merge(item.icon.get(), keyMidX, keyMidY, Chart::Center, 0);
    } else if (item.iconWidth() && item.iconHeight()) {
        d->merge(item.icon.get(), keyMidX, keyMidY, Chart::Center, 0);
    } else {
        d->rect(x, keyTop, x + keyWidth_ - 1, keyTop + keyHeight_ - 1, keyBorderColor_, item.color, keyBorderEffect_);
    }
    item.text->drawOn(d, x + keyWidth_ + keyGap_, textTop, fontColor_, Chart::TopLeft);
}

std::vector<int> LegendBoxImpl::itemSpot(int dataItem, int offsetX, int offsetY) {
    if (!arranged_ || dataItem < 0 || dataItem >= shownCount()) return {};
    const Item& item = items_[static_cast<size_t>(dataItem)];
    int x = left_ + margins_[kLeft] + item.x + offsetX, y = top_ + margins_[kTop] + item.y + offsetY;
    return {x, y, x + item.width - 1, y + item.height - 1};
}

const char* LegendBoxImpl::getImageCoor(int dataItem, int offsetX, int offsetY) {
    std::vector<int> spot = itemSpot(dataItem, offsetX, offsetY);
    coor_ = spot.empty() ? std::string() : imageMapRect(spot[0], spot[1], spot[2], spot[3]);
    return coor_.c_str();
}

const char* LegendBoxImpl::getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                           int offsetX, int offsetY) {
    imageMap_.clear();
    std::string given = url ? url : "";
    if (!arranged_ || given == "{disable}") return imageMap_.c_str();
    std::string query = queryFormat && *queryFormat ? queryFormat : "dataSet={dataSet}&dataSetName={dataSetName}";
    std::string link = urlJoin(withoutNone(given), withoutNone(query)), extra = withoutNone(extraAttr ? extraAttr : "");
    for (int i = 0; i < shownCount(); ++i) {
        LegendText& source = *items_[static_cast<size_t>(i)].source;
        appendArea(imageMap_, itemSpot(i, 0, 0), offsetX, offsetY,
                   extra.empty() ? extra : source.getText(extra.c_str(), PVParser::EscapeHtml),
                   link.empty() ? link : source.getText(link.c_str(), PVParser::EscapeUrl));
    }
    return imageMap_.c_str();
}

}  // namespace plotvane

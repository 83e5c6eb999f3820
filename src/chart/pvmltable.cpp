// Label tables.
//
// The grid is a row-major array of slots, each pointing at the cell that covers it: a cell
// spanning several rows and columns fills every slot of its span, and the cell itself remembers
// where it is anchored. The table owns its cells in a list, so removing a span or rebuilding the
// grid after an insertion never leaves a slot pointing at a freed cell.
//
// Columns are as wide as the widest cell that lies in them alone, unless their style gives a
// width. Cells spanning several columns then widen the free columns under them: in proportion to
// their widths, or evenly when the span is all fixed columns but one or more free ones of no width.
// Every spanning cell works from the widths the single cells gave, so the result does not depend
// on the order they were added in. Rows are the same sideways.
//
// A cell's unset styles come through a chain of default boxes: its row or column style, the one
// created later winning (styles are stamped with a counter that falls as they are made), then the
// table style, then the chart's default box. The table hands out cells and styles as text boxes
// that a program may change at any time, so handing one out marks the table for a new layout.

#include "chart/pvmltable_p.h"

#include "chart/textbox_p.h"
#include "draw/canvaslimits_p.h"

#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace plotvane {

namespace {

// Slots of one table; a 10,000-cell table is far inside it.
constexpr long long kMaxSlots = 1 << 22;

class PVMLTableImpl;

class Cell : public TextBoxImpl {
public:
    Cell(DrawArea* d, int col, int row, int counter) : TextBoxImpl(d), col(col), row(row), counter(counter) {}
    int col, row;
    int cols = 1, rows = 1;
    int counter;  // 0 data cells; falls with each row or column style made

    using TextBoxImpl::paintBox;
    int givenWidth() const { return width_; }
    int givenHeight() const { return height_; }
    // The size of the content, margins included, whatever size the box was given.
    int naturalWidth() {
        TTFText* t = laidOutText();
        return t ? t->getWidth() + margin(kLeft) + margin(kRight) : 0;
    }
    int naturalHeight() {
        TTFText* t = laidOutText();
        return t ? t->getHeight() + margin(kTop) + margin(kBottom) : 0;
    }
};

// Sizes of one dimension from the cells lying in it; span(i) is a cell's (first, count, natural).
struct Extent {
    int first, count, natural;
};

std::vector<int> computeSizes(int n, const std::vector<int>& fixed, const std::vector<Extent>& cells) {
    std::vector<int> size(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i)
        if (fixed[static_cast<size_t>(i)] > 0) size[static_cast<size_t>(i)] = fixed[static_cast<size_t>(i)];
    for (const Extent& e : cells)
        if (e.count == 1 && fixed[static_cast<size_t>(e.first)] <= 0)
            size[static_cast<size_t>(e.first)] = std::max(size[static_cast<size_t>(e.first)], e.natural);
    std::vector<int> grown = size;
    for (const Extent& e : cells) {
        if (e.count < 2) continue;
        long long total = 0, fixedTotal = 0;
        int freeCount = 0;
        for (int i = e.first; i < e.first + e.count; ++i) {
            total += size[static_cast<size_t>(i)];
            if (fixed[static_cast<size_t>(i)] > 0) fixedTotal += size[static_cast<size_t>(i)];
            else ++freeCount;
        }
        if (e.natural <= total || freeCount == 0) continue;
        for (int i = e.first; i < e.first + e.count; ++i) {
            if (fixed[static_cast<size_t>(i)] > 0) continue;
            long long want;
            if (total == fixedTotal)
                want = (e.natural - fixedTotal + freeCount - 1) / freeCount;
            else
                want = static_cast<long long>(std::ceil(static_cast<double>(size[static_cast<size_t>(i)]) *
                                                        static_cast<double>(e.natural - fixedTotal) /
                                                        static_cast<double>(total - fixedTotal)));
            int& g = grown[static_cast<size_t>(i)];
            g = static_cast<int>(std::min<long long>(std::max<long long>(g, want), kMaxCoordinate));
        }
    }
    return grown;
}

class PVMLTableImpl final : public PVMLTable {
public:
    PVMLTableImpl(DrawArea* d, TextBoxImpl* chartDefault, int cols, int rows) : area_(d), style_(d, 0, 0, 0x7fffffff) {
        style_.setBackground(static_cast<int>(0xff000000), static_cast<int>(0xffff0001), 0);
        if (chartDefault) style_.setDefault(chartDefault);
        resize(std::max(0, cols), std::max(0, rows));
    }

    void setPos(int x, int y, int alignment) override {
        x_ = std::clamp(x, -kMaxCoordinate, kMaxCoordinate);
        y_ = std::clamp(y, -kMaxCoordinate, kMaxCoordinate);
        alignment_ = alignment;
    }
    void setOrigin(int x, int y) override {
        originX_ = std::clamp(x, -kMaxCoordinate, kMaxCoordinate);
        originY_ = std::clamp(y, -kMaxCoordinate, kMaxCoordinate);
    }
    int getWidth() override {
        layoutIfNeeded();
        return sum(colWidths_);
    }
    int getHeight() override {
        layoutIfNeeded();
        return sum(rowHeights_);
    }
    int getColWidth(int col) override {
        layoutIfNeeded();
        return sizeAt(colWidths_, col);
    }
    int getRowHeight(int row) override {
        layoutIfNeeded();
        return sizeAt(rowHeights_, row);
    }
    void layout() override;

    int getColCount() override { return cols_; }
    int getRowCount() override { return rows_; }
    int appendRow() override { return insertRow(rows_); }
    int appendCol() override { return insertCol(cols_); }
    int insertRow(int index) override;
    int insertCol(int index) override;

    TextBox* setCell(int col, int row, int width, int height, const char* text) override;
    TextBox* setText(int col, int row, const char* text) override;
    TextBox* getCell(int col, int row) override;
    TextBox* getStyle() override {
        dirty_ = true;
        return &style_;
    }
    TextBox* getRowStyle(int row) override { return row >= 0 && row < rows_ ? styleOf(rowStyles_[static_cast<size_t>(row)]) : nullptr; }
    TextBox* getColStyle(int col) override { return col >= 0 && col < cols_ ? styleOf(colStyles_[static_cast<size_t>(col)]) : nullptr; }

    void paint(DrawArea* d) override;

    void setReversed(bool rows, bool cols) {
        reverseRows_ = rows;
        reverseCols_ = cols;
    }

private:
    static int sum(const std::vector<int>& v) {
        long long s = 0;
        for (int x : v) s += x;
        return static_cast<int>(std::min<long long>(s, kMaxCoordinate));
    }
    static int sizeAt(const std::vector<int>& sizes, int i) {
        return i >= 0 && static_cast<size_t>(i) < sizes.size() ? sizes[static_cast<size_t>(i)] : 0;
    }
    bool inside(int col, int row) const { return col >= 0 && row >= 0 && col < cols_ && row < rows_; }
    Cell*& slot(int col, int row) { return grid_[static_cast<size_t>(col + row * cols_)]; }
    Cell* styleOf(std::unique_ptr<Cell>& s) {
        if (!s) {
            s.reset(new Cell(area_, 0, 0, nextCounter_--));
            s->setDefault(&style_);
        }
        dirty_ = true;
        return s.get();
    }
    void resize(int cols, int rows) {
        cols_ = cols;
        rows_ = rows;
        rowStyles_.resize(static_cast<size_t>(rows));
        colStyles_.resize(static_cast<size_t>(cols));
        rebuildGrid();
    }
    void rebuildGrid() {
        grid_.assign(static_cast<size_t>(cols_) * static_cast<size_t>(rows_), nullptr);
        for (auto& c : cells_)
            for (int r = c->row; r < c->row + c->rows; ++r)
                for (int k = c->col; k < c->col + c->cols; ++k) slot(k, r) = c.get();
        dirty_ = true;
    }
    bool canGrow(int cols, int rows) const { return static_cast<long long>(cols) * rows <= kMaxSlots; }
    // The cell covering the slot, made 1 x 1 when there is none.
    Cell* cellAt(int col, int row) {
        Cell*& s = slot(col, row);
        if (!s) {
            cells_.emplace_back(new Cell(area_, col, row, 0));
            s = cells_.back().get();
            s->setDefault(defaultFor(col, row));
        }
        dirty_ = true;
        return s;
    }
    // The row or column style a cell at (col, row) takes its styles from.
    TextBoxImpl* defaultFor(int col, int row) {
        Cell* r = rowStyles_[static_cast<size_t>(row)].get();
        Cell* c = colStyles_[static_cast<size_t>(col)].get();
        if (r && c) return r->counter < c->counter ? r : c;
        if (r) return r;
        if (c) return c;
        return &style_;
    }
    void layoutIfNeeded() {
        if (dirty_) layout();
    }

    DrawArea* area_;
    Cell style_;
    int cols_ = 0, rows_ = 0;
    std::vector<std::unique_ptr<Cell>> cells_;
    std::vector<Cell*> grid_;
    std::vector<std::unique_ptr<Cell>> rowStyles_, colStyles_;
    std::unique_ptr<Cell> blank_;
    int x_ = 0, y_ = 0, alignment_ = Chart::TopLeft;
    int originX_ = 0, originY_ = 0;
    bool reverseRows_ = false, reverseCols_ = false;
    std::vector<int> colWidths_, rowHeights_;
    bool dirty_ = true;
    int nextCounter_ = 0x4fffffff;
};

int PVMLTableImpl::insertRow(int index) {
    if (index < 0 || index > rows_ || !canGrow(cols_, rows_ + 1)) return -1;
    for (auto& c : cells_) {
        if (c->row >= index) ++c->row;
        else if (c->row + c->rows > index) ++c->rows;  // a span across the new row covers it too
    }
    rowStyles_.insert(rowStyles_.begin() + index, nullptr);
    resize(cols_, rows_ + 1);
    return index;
}

int PVMLTableImpl::insertCol(int index) {
    if (index < 0 || index > cols_ || !canGrow(cols_ + 1, rows_)) return -1;
    for (auto& c : cells_) {
        if (c->col >= index) ++c->col;
        else if (c->col + c->cols > index) ++c->cols;
    }
    colStyles_.insert(colStyles_.begin() + index, nullptr);
    resize(cols_ + 1, rows_);
    return index;
}

TextBox* PVMLTableImpl::setCell(int col, int row, int width, int height, const char* text) {
    if (!inside(col, row)) return nullptr;
    int w = std::clamp(width, 1, cols_ - col), h = std::clamp(height, 1, rows_ - row);
    Cell* anchored = slot(col, row);
    if (anchored && (anchored->col != col || anchored->row != row)) anchored = nullptr;
    // Cells the new span overlaps give way to it.
    std::vector<Cell*> overlapped;
    for (int r = row; r < row + h; ++r)
        for (int k = col; k < col + w; ++k) {
            Cell* c = slot(k, r);
            if (c && c != anchored && std::find(overlapped.begin(), overlapped.end(), c) == overlapped.end())
                overlapped.push_back(c);
        }
    if (!overlapped.empty()) {
        cells_.erase(std::remove_if(cells_.begin(), cells_.end(),
                                    [&](const std::unique_ptr<Cell>& c) {
                                        return std::find(overlapped.begin(), overlapped.end(), c.get()) != overlapped.end();
                                    }),
                     cells_.end());
    }
    if (!anchored) {
        cells_.emplace_back(new Cell(area_, col, row, 0));
        anchored = cells_.back().get();
        anchored->setDefault(defaultFor(col, row));
    }
    anchored->cols = w;
    anchored->rows = h;
    anchored->setText(text ? text : "");
    if (!overlapped.empty() || w > 1 || h > 1) {
        rebuildGrid();
    } else {
        slot(col, row) = anchored;
    }
    dirty_ = true;
    return anchored;
}

TextBox* PVMLTableImpl::setText(int col, int row, const char* text) {
    if (!inside(col, row)) return nullptr;
    Cell* c = cellAt(col, row);
    c->setText(text ? text : "");
    return c;
}

TextBox* PVMLTableImpl::getCell(int col, int row) { return inside(col, row) ? cellAt(col, row) : nullptr; }

void PVMLTableImpl::layout() {
    std::vector<int> fixedCols(static_cast<size_t>(cols_), 0), fixedRows(static_cast<size_t>(rows_), 0);
    for (int k = 0; k < cols_; ++k)
        if (Cell* s = colStyles_[static_cast<size_t>(k)].get()) fixedCols[static_cast<size_t>(k)] = s->givenWidth();
    for (int r = 0; r < rows_; ++r)
        if (Cell* s = rowStyles_[static_cast<size_t>(r)].get()) fixedRows[static_cast<size_t>(r)] = s->givenHeight();
    // Spanning cells are taken in order of their first column (or row).
    std::vector<Cell*> order;
    order.reserve(cells_.size());
    for (auto& c : cells_) {
        c->setDefault(defaultFor(c->col, c->row));
        order.push_back(c.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const Cell* a, const Cell* b) { return a->col < b->col; });
    std::vector<Extent> extents;
    extents.reserve(order.size());
    for (Cell* c : order) extents.push_back({c->col, c->cols, c->naturalWidth()});
    colWidths_ = computeSizes(cols_, fixedCols, extents);
    std::stable_sort(order.begin(), order.end(), [](const Cell* a, const Cell* b) { return a->row < b->row; });
    extents.clear();
    for (Cell* c : order) extents.push_back({c->row, c->rows, c->naturalHeight()});
    rowHeights_ = computeSizes(rows_, fixedRows, extents);
    dirty_ = false;
}

void PVMLTableImpl::paint(DrawArea* d) {
    if (!d) return;
    layout();
    int width = sum(colWidths_), height = sum(rowHeights_);
    long long left = static_cast<long long>(x_) + originX_ - DrawArea::alignX(width, alignment_);
    long long top = static_cast<long long>(y_) + originY_ - DrawArea::alignY(height, alignment_);
    // Where each column and row starts, in the order they are drawn.
    auto starts = [](const std::vector<int>& sizes, bool reversed, long long origin) {
        std::vector<long long> at(sizes.size());
        long long pos = origin;
        for (size_t i = 0; i < sizes.size(); ++i) {
            size_t k = reversed ? sizes.size() - 1 - i : i;
            at[k] = pos;
            pos += sizes[k];
        }
        return at;
    };
    std::vector<long long> colX = starts(colWidths_, reverseCols_, left), rowY = starts(rowHeights_, reverseRows_, top);
    auto clampC = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -kMaxCoordinate, kMaxCoordinate)); };
    for (int i = 0; i < rows_; ++i) {
        int r = reverseRows_ ? rows_ - 1 - i : i;
        for (int j = 0; j < cols_; ++j) {
            int k = reverseCols_ ? cols_ - 1 - j : j;
            Cell* c = slot(k, r);
            if (c && (c->col != k || c->row != r)) continue;
            if (c) {
                long long w = 0, h = 0;
                for (int m = c->col; m < c->col + c->cols; ++m) w += colWidths_[static_cast<size_t>(m)];
                for (int m = c->row; m < c->row + c->rows; ++m) h += rowHeights_[static_cast<size_t>(m)];
                if (w < 1 || h < 1) continue;
                int lastCol = c->col + c->cols - 1, lastRow = c->row + c->rows - 1;
                long long x = reverseCols_ ? colX[static_cast<size_t>(lastCol)] : colX[static_cast<size_t>(c->col)];
                long long y = reverseRows_ ? rowY[static_cast<size_t>(lastRow)] : rowY[static_cast<size_t>(c->row)];
                c->paintBox(d, clampC(x), clampC(y), clampC(w), clampC(h));
                continue;
            }
            int w = colWidths_[static_cast<size_t>(k)], h = rowHeights_[static_cast<size_t>(r)];
            if (w < 1 || h < 1) continue;
            if (!blank_) blank_.reset(new Cell(area_, 0, 0, 0));
            blank_->setDefault(defaultFor(k, r));
            blank_->paintBox(d, clampC(colX[static_cast<size_t>(k)]), clampC(rowY[static_cast<size_t>(r)]), w, h);
        }
    }
}

}  // namespace

PVMLTable* newTable(DrawArea* d, TextBoxImpl* chartDefault, int x, int y, int alignment, int cols, int rows) {
    if (static_cast<long long>(std::max(0, cols)) * std::max(0, rows) > kMaxSlots) return nullptr;
    auto* t = new PVMLTableImpl(d, chartDefault, cols, rows);
    t->setPos(x, y, alignment);
    return t;
}

void setTableReversed(PVMLTable* table, bool rows, bool cols) {
    if (auto* t = dynamic_cast<PVMLTableImpl*>(table)) t->setReversed(rows, cols);
}

}  // namespace plotvane

#include "core/grid/grid_ctrl.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <utility>

#include "core/grid/grid_text.h"

namespace qv70 {

namespace {

constexpr int kBorderSlack = 3;  // pixels either side of a border that grab it

CellRange Single(CellId cell) { return {cell.row, cell.col, cell.row, cell.col}; }

CellRange Span(CellId a, CellId b) {
  return {std::min(a.row, b.row), std::min(a.col, b.col), std::max(a.row, b.row),
          std::max(a.col, b.col)};
}

CellRange Intersect(const CellRange& a, const CellRange& b) {
  return {std::max(a.minRow, b.minRow), std::max(a.minCol, b.minCol), std::min(a.maxRow, b.maxRow),
          std::min(a.maxCol, b.maxCol)};
}

int Sum(const std::vector<int>& sizes, int from, int to) {
  return std::accumulate(sizes.begin() + from, sizes.begin() + to, 0);
}

// The largest first scrolled index that still shows the last ones: the
// trailing cells that fit `avail` pixels, but never past the last cell.
int MaxFirst(const std::vector<int>& sizes, int fixed, int avail) {
  const int count = static_cast<int>(sizes.size());
  if (count <= fixed) return fixed;
  int first = count;
  int used = 0;
  while (first > fixed && used + sizes[first - 1] <= avail) used += sizes[--first];
  return std::min(first, count - 1);
}

// Cells [first, ...) placed from `start`: the last index that begins before
// `limit` (partly in view) or ends by it (fully in view); first - 1 for none.
int LastInView(const std::vector<int>& sizes, int first, int start, int limit, bool fully) {
  int last = first - 1;
  for (int i = first, pos = start; i < static_cast<int>(sizes.size()); ++i) {
    if (fully ? pos + sizes[i] > limit : pos >= limit) break;
    pos += sizes[i];
    last = i;
  }
  return last;
}

// Index under `pos` among the fixed cells, then the scrolled ones from `first`.
int IndexAt(const std::vector<int>& sizes, int fixed, int first, int pos) {
  if (pos < 0) return -1;
  int start = 0;
  for (int i = 0; i < fixed; ++i) {
    if (pos < start + sizes[i]) return i;
    start += sizes[i];
  }
  for (int i = first; i < static_cast<int>(sizes.size()); ++i) {
    if (pos < start + sizes[i]) return i;
    start += sizes[i];
  }
  return -1;
}

// Nearest border within the slack, among the ends of the fixed cells and the
// scrolled ones from `first`. On a tie the later cell wins, so a cell shrunk
// to nothing can be pulled open again.
int BorderNear(const std::vector<int>& sizes, int fixed, int first, int pos) {
  int best = -1;
  int bestDistance = kBorderSlack;
  int end = 0;
  auto consider = [&](int i) {
    end += sizes[i];
    const int distance = std::abs(pos - end);
    if (distance <= bestDistance) {
      best = i;
      bestDistance = distance;
    }
  };
  for (int i = 0; i < fixed; ++i) consider(i);
  for (int i = first; i < static_cast<int>(sizes.size()) && end <= pos + kBorderSlack; ++i) consider(i);
  return best;
}

// (index, start) pairs: the fixed cells that begin before `limit`, then the
// scrolled cells first..last placed after them.
using Placed = std::vector<std::pair<int, int>>;
void Place(const std::vector<int>& sizes, int fixed, int limit, int first, int last, Placed& fixedOut,
           Placed& scrolledOut) {
  int pos = 0;
  for (int i = 0; i < fixed; pos += sizes[i++])
    if (pos < limit) fixedOut.emplace_back(i, pos);
  for (int i = first; i <= last; pos += sizes[i++]) scrolledOut.emplace_back(i, pos);
}

}  // namespace

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols) {
  SetRowCount(rows);
  SetColumnCount(cols);
  SetFixedRows(fixedRows);
  SetFixedColumns(fixedCols);
}

bool CGridCtrl::Create(const GridTextMeasure& measure) {
  measure_ = &measure;
  margin_ = measure.SpaceWidth();
  defaultRowHeight_ = measure.LineHeight() + 2 * margin_;
  defaultColumnWidth_ = 12 * measure.AverageCharWidth() + 2 * margin_;
  std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
  std::fill(columnWidths_.begin(), columnWidths_.end(), defaultColumnWidth_);
  ClampScroll();
  return true;
}

bool CGridCtrl::SetRowCount(int rows) {
  if (rows < 0) return false;
  const int old = GetRowCount();
  const int cols = GetColumnCount();
  if (rows > old) {
    // Everything that can throw happens before the grid changes.
    std::vector<std::vector<GridCell>> added(rows - old, std::vector<GridCell>(cols));
    for (int r = std::max(old, 1); r < rows; ++r) {
      const std::vector<GridCell>& above = r - 1 < old ? cells_[r - 1] : added[r - 1 - old];
      for (int c = 0; c < cols; ++c) added[r - old][c].format = above[c].format;
    }
    cells_.reserve(rows);
    rowHeights_.reserve(rows);
    for (std::vector<GridCell>& row : added) cells_.push_back(std::move(row));
    rowHeights_.resize(rows, defaultRowHeight_);
  } else {
    cells_.resize(rows);
    rowHeights_.resize(rows);
  }
  fixedRows_ = std::min(fixedRows_, rows);
  ClampToGrid();
  return true;
}

bool CGridCtrl::SetColumnCount(int cols) {
  if (cols < 0) return false;
  if (cols > GetColumnCount()) {
    // Reserving first means the growth below cannot fail half way.
    for (std::vector<GridCell>& row : cells_) row.reserve(cols);
    columnWidths_.reserve(cols);
  }
  // The cell above a new cell is new as well, so every new format is 0.
  for (std::vector<GridCell>& row : cells_) row.resize(cols);
  columnWidths_.resize(cols, defaultColumnWidth_);
  fixedCols_ = std::min(fixedCols_, cols);
  ClampToGrid();
  return true;
}

bool CGridCtrl::SetFixedRows(int fixedRows) {
  if (fixedRows < 0) return false;
  if (GetRowCount() < fixedRows) SetRowCount(fixedRows);
  fixedRows_ = fixedRows;
  ClampToGrid();
  return true;
}

bool CGridCtrl::SetFixedColumns(int fixedCols) {
  if (fixedCols < 0) return false;
  if (GetColumnCount() < fixedCols) SetColumnCount(fixedCols);
  fixedCols_ = fixedCols;
  ClampToGrid();
  return true;
}

bool CGridCtrl::RemoveColumn(int col) {
  if (col < 0 || col >= GetColumnCount()) return false;
  for (std::vector<GridCell>& row : cells_) row.erase(row.begin() + col);
  columnWidths_.erase(columnWidths_.begin() + col);
  if (col < fixedCols_) --fixedCols_;
  auto shift = [col](CellId& cell) {
    if (!cell.IsSet() || cell.col < col) return;
    if (cell.col == col) cell = CellId{};
    else --cell.col;
  };
  shift(focus_);
  shift(selectionStart_);
  if (!selection_.IsEmpty()) {
    if (col < selection_.minCol) --selection_.minCol;
    if (col <= selection_.maxCol) --selection_.maxCol;
  }
  if (col < leftCol_) --leftCol_;
  ClampToGrid();
  return false;
}

bool CGridCtrl::IsValid(int row, int col) const {
  return row >= 0 && row < GetRowCount() && col >= 0 && col < GetColumnCount();
}

bool CGridCtrl::IsCellFixed(int row, int col) const {
  return IsValid(row, col) && (row < fixedRows_ || col < fixedCols_);
}

bool CGridCtrl::IsCellEditable(int row, int col) const {
  return editable_ && IsScrolledCell({row, col}) && !cells_[row][col].readOnly;
}

bool CGridCtrl::SetCellText(int row, int col, std::string_view text) {
  if (!IsValid(row, col)) return false;
  cells_[row][col].text.assign(text);
  return true;
}

const std::string& CGridCtrl::GetCellText(int row, int col) const {
  static const std::string kNone;
  return IsValid(row, col) ? cells_[row][col].text : kNone;
}

GridCell* CGridCtrl::GetCell(int row, int col) {
  return IsValid(row, col) ? &cells_[row][col] : nullptr;
}

const GridCell* CGridCtrl::GetCell(int row, int col) const {
  return IsValid(row, col) ? &cells_[row][col] : nullptr;
}

unsigned CGridCtrl::GetItemState(int row, int col) const {
  if (!IsValid(row, col)) return 0;
  unsigned state = cells_[row][col].readOnly ? grid_state::kReadOnly : 0;
  if (IsCellFixed(row, col)) state |= grid_state::kFixed;
  if (IsCellSelected(row, col)) state |= grid_state::kSelected;
  if (focus_ == CellId{row, col}) state |= grid_state::kFocused;
  return state;
}

GridColor CGridCtrl::CellTextColor(int row, int col) const {
  const GridCell* cell = GetCell(row, col);
  if (!cell) return colors_.text;
  if (IsCellSelected(row, col)) return GridColor::Of(GridColorRole::HighlightText);
  if (cell->textColor) return *cell->textColor;
  return IsCellFixed(row, col) ? colors_.fixedText : colors_.text;
}

GridColor CGridCtrl::CellBackColor(int row, int col) const {
  const GridCell* cell = GetCell(row, col);
  if (!cell) return colors_.back;
  if (IsCellSelected(row, col)) return GridColor::Of(GridColorRole::Highlight);
  if (cell->backColor) return *cell->backColor;
  return IsCellFixed(row, col) ? colors_.fixedBack : colors_.back;
}

int CGridCtrl::GetRowHeight(int row) const {
  return row >= 0 && row < GetRowCount() ? rowHeights_[row] : -1;
}

int CGridCtrl::GetColumnWidth(int col) const {
  return col >= 0 && col < GetColumnCount() ? columnWidths_[col] : -1;
}

bool CGridCtrl::SetRowHeight(int row, int height) {
  if (row < 0 || row >= GetRowCount() || height < 0) return false;
  rowHeights_[row] = height;
  ClampScroll();
  return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width) {
  if (col < 0 || col >= GetColumnCount() || width < 0) return false;
  columnWidths_[col] = width;
  ClampScroll();
  return true;
}

GridTextSize CGridCtrl::GetCellExtent(int row, int col) const {
  if (!measure_ || !IsValid(row, col)) return {};
  GridTextSize size = MeasureText(*measure_, cells_[row][col].text, IsCellFixed(row, col));
  size.width += 4 * margin_;
  size.height += 2 * margin_;
  return size;
}

bool CGridCtrl::FitColumnToText(int col) {
  if (!measure_ || col < 0 || col >= GetColumnCount()) return false;
  if (GetRowCount() == 0) return true;
  int width = 0;
  for (int r = 0; r < GetRowCount(); ++r) width = std::max(width, GetCellExtent(r, col).width);
  columnWidths_[col] = width;
  ClampScroll();
  return true;
}

bool CGridCtrl::FitRowToText(int row) {
  if (!measure_ || row < 0 || row >= GetRowCount()) return false;
  if (GetColumnCount() == 0) return true;
  int height = 0;
  for (int c = 0; c < GetColumnCount(); ++c) height = std::max(height, GetCellExtent(row, c).height);
  rowHeights_[row] = height;
  ClampScroll();
  return true;
}

void CGridCtrl::FitColumnsToText() {
  for (int c = 0; c < GetColumnCount(); ++c) FitColumnToText(c);
}

void CGridCtrl::FitToText() {
  FitColumnsToText();
  for (int r = 0; r < GetRowCount(); ++r) FitRowToText(r);
}

int CGridCtrl::GetFixedRowHeight() const { return Sum(rowHeights_, 0, fixedRows_); }
int CGridCtrl::GetFixedColumnWidth() const { return Sum(columnWidths_, 0, fixedCols_); }
int CGridCtrl::GetVirtualHeight() const { return Sum(rowHeights_, 0, GetRowCount()); }
int CGridCtrl::GetVirtualWidth() const { return Sum(columnWidths_, 0, GetColumnCount()); }

// ---- Viewport and scrolling

void CGridCtrl::SetViewportSize(int width, int height) {
  viewportWidth_ = std::max(0, width);
  viewportHeight_ = std::max(0, height);
  ClampScroll();
}

int CGridCtrl::MaxTopRow() const {
  return MaxFirst(rowHeights_, fixedRows_, viewportHeight_ - GetFixedRowHeight());
}

int CGridCtrl::MaxLeftCol() const {
  return MaxFirst(columnWidths_, fixedCols_, viewportWidth_ - GetFixedColumnWidth());
}

void CGridCtrl::ClampScroll() {
  topRow_ = std::clamp(topRow_, fixedRows_, MaxTopRow());
  leftCol_ = std::clamp(leftCol_, fixedCols_, MaxLeftCol());
}

CellRange CGridCtrl::GetVisibleNonFixedCellRange() const {
  return {topRow_, leftCol_,
          LastInView(rowHeights_, topRow_, GetFixedRowHeight(), viewportHeight_, false),
          LastInView(columnWidths_, leftCol_, GetFixedColumnWidth(), viewportWidth_, false)};
}

CellRange CGridCtrl::GetFullyVisibleNonFixedCellRange() const {
  return {topRow_, leftCol_,
          LastInView(rowHeights_, topRow_, GetFixedRowHeight(), viewportHeight_, true),
          LastInView(columnWidths_, leftCol_, GetFixedColumnWidth(), viewportWidth_, true)};
}

GridScrollBar CGridCtrl::GetScrollBar(GridAxis axis) const {
  const CellRange full = GetFullyVisibleNonFixedCellRange();
  if (axis == GridAxis::Vertical) return {topRow_ - fixedRows_, MaxTopRow() - fixedRows_, full.RowSpan()};
  return {leftCol_ - fixedCols_, MaxLeftCol() - fixedCols_, full.ColSpan()};
}

void CGridCtrl::SetScrollPos(GridAxis axis, int value) {
  // Clamped before adding, so a huge value cannot overflow.
  value = std::clamp(value, 0, std::max(GetRowCount(), GetColumnCount()));
  if (axis == GridAxis::Vertical) topRow_ = fixedRows_ + value;
  else leftCol_ = fixedCols_ + value;
  ClampScroll();
}

void CGridCtrl::ScrollBy(GridAxis axis, int cells) {
  const GridScrollBar bar = GetScrollBar(axis);
  SetScrollPos(axis, bar.value + std::clamp(cells, -bar.max, bar.max));
}

void CGridCtrl::OnMouseWheel(int notches) {
  ScrollBy(GridAxis::Vertical, -notches * wheelScrollLines_);
}

void CGridCtrl::EnsureVisible(int row, int col) {
  if (row >= fixedRows_ && row < GetRowCount()) {
    if (row < topRow_) {
      topRow_ = row;
    } else {
      const int avail = viewportHeight_ - GetFixedRowHeight();
      for (int used = Sum(rowHeights_, topRow_, row + 1); topRow_ < row && used > avail;)
        used -= rowHeights_[topRow_++];
    }
  }
  if (col >= fixedCols_ && col < GetColumnCount()) {
    if (col < leftCol_) {
      leftCol_ = col;
    } else {
      const int avail = viewportWidth_ - GetFixedColumnWidth();
      for (int used = Sum(columnWidths_, leftCol_, col + 1); leftCol_ < col && used > avail;)
        used -= columnWidths_[leftCol_++];
    }
  }
  ClampScroll();
}

// ---- Geometry

int CGridCtrl::ColumnLeft(int col) const {
  if (col < fixedCols_) return Sum(columnWidths_, 0, col);
  const int fixed = GetFixedColumnWidth();
  return col >= leftCol_ ? fixed + Sum(columnWidths_, leftCol_, col)
                         : fixed - Sum(columnWidths_, col, leftCol_);
}

int CGridCtrl::RowTop(int row) const {
  if (row < fixedRows_) return Sum(rowHeights_, 0, row);
  const int fixed = GetFixedRowHeight();
  return row >= topRow_ ? fixed + Sum(rowHeights_, topRow_, row)
                        : fixed - Sum(rowHeights_, row, topRow_);
}

int CGridCtrl::ColumnAt(int x) const { return IndexAt(columnWidths_, fixedCols_, leftCol_, x); }
int CGridCtrl::RowAt(int y) const { return IndexAt(rowHeights_, fixedRows_, topRow_, y); }

GridRect CGridCtrl::GetCellRect(int row, int col) const {
  if (!IsValid(row, col)) return {};
  return {ColumnLeft(col), RowTop(row), columnWidths_[col], rowHeights_[row]};
}

CellId CGridCtrl::GetCellFromPt(GridPoint point) const {
  const int row = RowAt(point.y);
  const int col = ColumnAt(point.x);
  if (row < 0 || col < 0) return {};
  return {row, col};
}

GridBorder CGridCtrl::GetBorderAt(GridPoint point) const {
  if (point.y >= 0 && point.y < GetFixedRowHeight()) {
    const int col = BorderNear(columnWidths_, fixedCols_, leftCol_, point.x);
    if (col >= 0) return {GridBorderKind::Column, col};
  }
  if (point.x >= 0 && point.x < GetFixedColumnWidth()) {
    const int row = BorderNear(rowHeights_, fixedRows_, topRow_, point.y);
    if (row >= 0) return {GridBorderKind::Row, row};
  }
  return {};
}

GridPaintList CGridCtrl::GetPaintList() const {
  const CellRange visible = GetVisibleNonFixedCellRange();
  Placed fixedRows, rows, fixedCols, cols;
  Place(rowHeights_, fixedRows_, viewportHeight_, visible.minRow, visible.maxRow, fixedRows, rows);
  Place(columnWidths_, fixedCols_, viewportWidth_, visible.minCol, visible.maxCol, fixedCols, cols);

  GridPaintList list;
  auto add = [this](std::vector<GridPaintCell>& out, const std::pair<int, int>& row,
                    const std::pair<int, int>& col) {
    const GridRect rect{col.second, row.second, columnWidths_[col.first], rowHeights_[row.first]};
    out.push_back({{row.first, col.first}, rect, GetItemState(row.first, col.first)});
  };
  for (const auto& row : fixedRows) {
    for (const auto& col : fixedCols) add(list.fixedCells, row, col);
    for (const auto& col : cols) add(list.fixedCells, row, col);
  }
  for (const auto& row : rows)
    for (const auto& col : fixedCols) add(list.fixedCells, row, col);
  for (const auto& row : rows)
    for (const auto& col : cols) add(list.scrolledCells, row, col);

  const int gridRight = GetFixedColumnWidth() + Sum(columnWidths_, leftCol_, GetColumnCount());
  const int gridBottom = GetFixedRowHeight() + Sum(rowHeights_, topRow_, GetRowCount());
  if (gridRight < viewportWidth_)
    list.outside.push_back({gridRight, 0, viewportWidth_ - gridRight, viewportHeight_});
  if (gridBottom < viewportHeight_ && gridRight > 0)
    list.outside.push_back(
        {0, gridBottom, std::min(gridRight, viewportWidth_), viewportHeight_ - gridBottom});
  return list;
}

std::optional<GridTitleTip> CGridCtrl::GetTitleTipAt(GridPoint point) const {
  const CellId cell = GetCellFromPt(point);
  if (!measure_ || !IsScrolledCell(cell)) return std::nullopt;
  const std::string& text = cells_[cell.row][cell.col].text;
  if (text.empty() || TextFitsCell(*measure_, text, columnWidths_[cell.col])) return std::nullopt;
  return GridTitleTip{cell, GetCellRect(cell.row, cell.col), text};
}

// ---- Focus and selection

bool CGridCtrl::IsScrolledCell(CellId cell) const {
  return cell.row >= fixedRows_ && cell.col >= fixedCols_ && IsValid(cell);
}

CellRange CGridCtrl::ScrolledArea() const {
  return {fixedRows_, fixedCols_, GetRowCount() - 1, GetColumnCount() - 1};
}

void CGridCtrl::ClampToGrid() {
  if (!IsScrolledCell(focus_)) focus_ = {};
  if (!IsScrolledCell(selectionStart_)) selectionStart_ = {};
  selection_ = Intersect(selection_, ScrolledArea());
  mouseMode_ = MouseMode::None;
  ClampScroll();
}

bool CGridCtrl::SetFocusCell(CellId cell) {
  if (cell.IsSet() && !IsScrolledCell(cell)) return false;
  focus_ = selectionStart_ = cell;
  selection_ = cell.IsSet() ? Single(cell) : CellRange{};
  return true;
}

void CGridCtrl::SetSelectionStart(CellId cell) {
  if (!cell.IsSet() || IsScrolledCell(cell)) selectionStart_ = cell;
}

void CGridCtrl::SelectAllCells() { selection_ = ScrolledArea(); }

int CGridCtrl::PageRows() const { return std::max(1, GetFullyVisibleNonFixedCellRange().RowSpan()); }

void CGridCtrl::MoveFocus(CellId next, bool extend) {
  if (extend) {
    if (!selectionStart_.IsSet()) selectionStart_ = focus_;
    selection_ = Span(selectionStart_, next);
  } else {
    selectionStart_ = next;
    selection_ = Single(next);
  }
  focus_ = next;
  EnsureVisible(next.row, next.col);
}

GridKeyResult CGridCtrl::OnKeyDown(GridKey key, unsigned modifiers) {
  if (!focus_.IsSet()) return GridKeyResult::Ignored;
  const bool shift = (modifiers & grid_modifier::kShift) != 0;
  if (modifiers & grid_modifier::kControl) {
    switch (key) {
      case GridKey::A: SelectAllCells(); return GridKeyResult::Handled;
      case GridKey::C: return GridKeyResult::Copy;
      case GridKey::X: return GridKeyResult::Cut;
      case GridKey::V: return GridKeyResult::Paste;
      default: break;
    }
  }
  const int lastRow = GetRowCount() - 1;
  const int lastCol = GetColumnCount() - 1;
  CellId next = focus_;
  switch (key) {
    case GridKey::Left: next.col = std::max(next.col - 1, fixedCols_); break;
    case GridKey::Right: next.col = std::min(next.col + 1, lastCol); break;
    case GridKey::Up: next.row = std::max(next.row - 1, fixedRows_); break;
    case GridKey::Down: next.row = std::min(next.row + 1, lastRow); break;
    case GridKey::PageUp:
    case GridKey::PageDown: {
      const int step = key == GridKey::PageDown ? PageRows() : -PageRows();
      ScrollBy(GridAxis::Vertical, step);
      next.row = std::clamp(next.row + step, fixedRows_, lastRow);
      break;
    }
    case GridKey::Home:
      SetScrollPos(GridAxis::Vertical, 0);
      next.row = fixedRows_;
      break;
    case GridKey::End:
      SetScrollPos(GridAxis::Vertical, GetRowCount());
      next.row = lastRow;
      break;
    case GridKey::Tab:
      if (!shift) {
        if (next.col < lastCol) ++next.col;
        else if (next.row < lastRow) next = {next.row + 1, fixedCols_};
      } else {
        if (next.col > fixedCols_) --next.col;
        else if (next.row > fixedRows_) next = {next.row - 1, lastCol};
      }
      break;
    case GridKey::Delete:
      if (IsCellEditable(focus_.row, focus_.col)) cells_[focus_.row][focus_.col].text.clear();
      return GridKeyResult::Handled;
    default:
      return GridKeyResult::Ignored;
  }
  MoveFocus(next, shift && key != GridKey::Tab);
  return GridKeyResult::Handled;
}

// ---- Clipboard text

std::string CGridCtrl::CopyText() const {
  std::string text;
  for (int r = selection_.minRow; r <= selection_.maxRow; ++r) {
    if (r > selection_.minRow) text += '\n';
    for (int c = selection_.minCol; c <= selection_.maxCol; ++c) {
      if (c > selection_.minCol) text += '\t';
      const std::string& cell = cells_[r][c].text;
      text += cell.empty() ? std::string(" ") : cell;
    }
  }
  return text;
}

std::string CGridCtrl::CutText() {
  std::string text = CopyText();
  for (int r = selection_.minRow; r <= selection_.maxRow; ++r)
    for (int c = selection_.minCol; c <= selection_.maxCol; ++c)
      if (IsCellEditable(r, c)) cells_[r][c].text.clear();
  return text;
}

void CGridCtrl::PasteAt(CellId origin, std::string_view text) {
  const std::vector<std::vector<std::string>> lines = SplitPasteText(text);
  for (std::size_t i = 0; i < lines.size() && origin.row + static_cast<int>(i) < GetRowCount(); ++i) {
    const int row = origin.row + static_cast<int>(i);
    for (std::size_t j = 0; j < lines[i].size() && origin.col + static_cast<int>(j) < GetColumnCount(); ++j) {
      const int col = origin.col + static_cast<int>(j);
      if (IsCellEditable(row, col)) cells_[row][col].text = lines[i][j];
    }
  }
}

bool CGridCtrl::PasteText(std::string_view text) {
  if (!focus_.IsSet() || !IsCellEditable(focus_.row, focus_.col)) return false;
  PasteAt(focus_, text);
  return true;
}

bool CGridCtrl::CanDropAt(CellId cell) const { return dragDrop_ && IsCellEditable(cell.row, cell.col); }

bool CGridCtrl::DropText(CellId cell, std::string_view text) {
  if (!CanDropAt(cell)) return false;
  PasteAt(cell, text);
  return true;
}

// ---- Mouse

GridPress CGridCtrl::OnLButtonDown(GridPoint point) {
  mouseMode_ = MouseMode::None;
  const GridBorder border = GetBorderAt(point);
  if (border.kind != GridBorderKind::None) {
    const bool column = border.kind == GridBorderKind::Column;
    mouseMode_ = column ? MouseMode::ResizeColumn : MouseMode::ResizeRow;
    resizeIndex_ = border.index;
    pressPos_ = column ? point.x : point.y;
    borderPos_ = column ? ColumnLeft(border.index) + columnWidths_[border.index]
                        : RowTop(border.index) + rowHeights_[border.index];
    trackPos_ = borderPos_;
    return column ? GridPress::ResizeColumn : GridPress::ResizeRow;
  }

  const CellId cell = GetCellFromPt(point);
  if (!IsValid(cell)) return GridPress::Nothing;
  const bool inFixedRow = cell.row < fixedRows_;
  const bool inFixedCol = cell.col < fixedCols_;
  const int lastRow = GetRowCount() - 1;
  const int lastCol = GetColumnCount() - 1;
  // A whole row or column needs scrolled cells across it to select.
  if ((inFixedRow && lastRow < fixedRows_) || (inFixedCol && lastCol < fixedCols_)) return GridPress::Nothing;
  pressCell_ = cell;

  if (inFixedRow && inFixedCol) {
    selection_ = ScrolledArea();
    selectionStart_ = {fixedRows_, fixedCols_};
    focus_ = {topRow_, leftCol_};
    mouseMode_ = MouseMode::All;
    return GridPress::All;
  }
  if (inFixedRow) {
    selection_ = {fixedRows_, cell.col, lastRow, cell.col};
    selectionStart_ = {fixedRows_, cell.col};
    focus_ = {topRow_, cell.col};
    mouseMode_ = MouseMode::Columns;
    return GridPress::Column;
  }
  if (inFixedCol) {
    selection_ = {cell.row, fixedCols_, cell.row, lastCol};
    selectionStart_ = {cell.row, fixedCols_};
    focus_ = {cell.row, leftCol_};
    mouseMode_ = MouseMode::Rows;
    return GridPress::Row;
  }
  if (dragDrop_ && IsCellSelected(cell.row, cell.col)) {
    // The selection stays for a drag; a release without one makes this a click.
    focus_ = cell;
    mouseMode_ = MouseMode::PendingDrag;
    return GridPress::PendingDrag;
  }
  focus_ = selectionStart_ = cell;
  selection_ = Single(cell);
  mouseMode_ = MouseMode::Cells;
  return GridPress::Cell;
}

void CGridCtrl::ExtendSelection(GridPoint point) {
  // The scrolled cell nearest the pointer, also when it is over the fixed
  // cells, past the last cell or outside the viewport.
  const CellRange visible = GetVisibleNonFixedCellRange();
  if (visible.IsEmpty()) return;
  auto nearest = [](int index, bool beforeScrolled, int first, int last) {
    if (beforeScrolled) return first;
    return index < 0 || index > last ? last : index;
  };
  const int row = nearest(RowAt(point.y), point.y < GetFixedRowHeight(), visible.minRow, visible.maxRow);
  const int col = nearest(ColumnAt(point.x), point.x < GetFixedColumnWidth(), visible.minCol, visible.maxCol);
  switch (mouseMode_) {
    case MouseMode::Cells:
      focus_ = {row, col};
      selection_ = Span(selectionStart_, focus_);
      break;
    case MouseMode::Columns:
      focus_.col = col;
      selection_ = {fixedRows_, std::min(selectionStart_.col, col), GetRowCount() - 1,
                    std::max(selectionStart_.col, col)};
      break;
    case MouseMode::Rows:
      focus_.row = row;
      selection_ = {std::min(selectionStart_.row, row), fixedCols_, std::max(selectionStart_.row, row),
                    GetColumnCount() - 1};
      break;
    default:
      break;
  }
}

bool CGridCtrl::IsSelecting() const {
  return mouseMode_ == MouseMode::Cells || mouseMode_ == MouseMode::Columns || mouseMode_ == MouseMode::Rows;
}

int CGridCtrl::ResizeTrackPos(int pointerPos) const {
  const int start = mouseMode_ == MouseMode::ResizeColumn ? ColumnLeft(resizeIndex_) : RowTop(resizeIndex_);
  return std::max(start, borderPos_ + pointerPos - pressPos_);
}

void CGridCtrl::OnMouseMove(GridPoint point) {
  if (mouseMode_ == MouseMode::ResizeColumn) trackPos_ = ResizeTrackPos(point.x);
  else if (mouseMode_ == MouseMode::ResizeRow) trackPos_ = ResizeTrackPos(point.y);
  else if (IsSelecting()) ExtendSelection(point);
}

void CGridCtrl::OnSelectionTimer(GridPoint point) {
  if (!IsSelecting()) return;
  if (point.x >= viewportWidth_) ScrollBy(GridAxis::Horizontal, 1);
  else if (point.x < GetFixedColumnWidth()) ScrollBy(GridAxis::Horizontal, -1);
  if (point.y >= viewportHeight_) ScrollBy(GridAxis::Vertical, 1);
  else if (point.y < GetFixedRowHeight()) ScrollBy(GridAxis::Vertical, -1);
  ExtendSelection(point);
}

void CGridCtrl::OnLButtonUp(GridPoint point) {
  switch (mouseMode_) {
    case MouseMode::ResizeColumn:
      SetColumnWidth(resizeIndex_, ResizeTrackPos(point.x) - ColumnLeft(resizeIndex_));
      break;
    case MouseMode::ResizeRow:
      SetRowHeight(resizeIndex_, ResizeTrackPos(point.y) - RowTop(resizeIndex_));
      break;
    case MouseMode::PendingDrag:
      focus_ = selectionStart_ = pressCell_;
      selection_ = Single(pressCell_);
      break;
    default:
      break;
  }
  mouseMode_ = MouseMode::None;
}

bool CGridCtrl::OnLButtonDblClk(GridPoint point) {
  const GridBorder border = GetBorderAt(point);
  if (border.kind == GridBorderKind::Column) return FitColumnToText(border.index);
  if (border.kind == GridBorderKind::Row) return FitRowToText(border.index);
  return false;
}

std::optional<GridTrackLine> CGridCtrl::GetTrackLine() const {
  if (mouseMode_ == MouseMode::ResizeColumn) return GridTrackLine{GridBorderKind::Column, trackPos_};
  if (mouseMode_ == MouseMode::ResizeRow) return GridTrackLine{GridBorderKind::Row, trackPos_};
  return std::nullopt;
}

std::string CGridCtrl::BeginDrag() {
  if (mouseMode_ != MouseMode::PendingDrag) return {};
  mouseMode_ = MouseMode::None;
  return CopyText();
}

}  // namespace qv70

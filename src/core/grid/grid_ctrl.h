#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/grid/grid_types.h"

namespace qv70 {

class GridTextMeasure;

struct GridCell {
  std::string text;
  unsigned format = 0;  // grid_format flags
  bool readOnly = false;
  std::optional<GridColor> textColor;  // empty: the grid's colour
  std::optional<GridColor> backColor;
};

struct GridColors {
  GridColor text = GridColor::Of(GridColorRole::WindowText);
  GridColor back = GridColor::Of(GridColorRole::Window);
  GridColor fixedText = GridColor::Of(GridColorRole::WindowText);
  GridColor fixedBack = GridColor::Of(GridColorRole::ButtonFace);
  GridColor outside = GridColor::Of(GridColorRole::ButtonShadow);
  GridColor gridLines = GridColor::FromRgb(0x000000);
};

// Scroll bars count cells, not pixels: value is the first visible scrolled row
// (or column) minus the fixed count, max the largest such value, page the
// number of scrolled cells fully in view.
struct GridScrollBar {
  int value = 0;
  int max = 0;
  int page = 0;
};

struct GridPaintCell {
  CellId cell;
  GridRect rect;   // may reach past the viewport; the painter clips
  unsigned state;  // grid_state flags
};

// What one paint of the viewport draws: fixed cells first, then the scrolled
// cells in view, then the area beyond the last row and column.
struct GridPaintList {
  std::vector<GridPaintCell> fixedCells;
  std::vector<GridPaintCell> scrolledCells;
  std::vector<GridRect> outside;
};

enum class GridBorderKind { None, Column, Row };

// A column border (to the right of column `index`) or a row border (below row
// `index`) under the pointer.
struct GridBorder {
  GridBorderKind kind = GridBorderKind::None;
  int index = -1;
};

// The inverted line shown while a border is dragged: at x = pos for a column,
// y = pos for a row, across the whole viewport.
struct GridTrackLine {
  GridBorderKind kind;
  int pos;
};

struct GridTitleTip {
  CellId cell;
  GridRect rect;
  std::string text;
};

// What a left-button press started. Anything but Nothing gives the grid the
// keyboard focus and captures the mouse until the release.
enum class GridPress { Nothing, Cell, Column, Row, All, ResizeColumn, ResizeRow, PendingDrag };

// Keys that need the clipboard come back as a request: the widget then calls
// CopyText, CutText or PasteText with the clipboard's text.
enum class GridKeyResult { Ignored, Handled, Copy, Cut, Paste };

// State and rules of a grid of text cells with fixed header rows and columns:
// sizes, selection, keyboard and mouse handling, scrolling, clipboard text and
// what to paint. It knows nothing of windows; its widget forwards input in
// viewport pixels, paints GetPaintList() and puts texts on the clipboard.
//
// Rows and columns count from 0; fixed rows and columns are the first ones.
// Operations given a cell outside the grid fail (false, -1 or an empty text)
// and change nothing. Growing the grid may throw std::bad_alloc; the grid is
// then left as it was.
class CGridCtrl {
 public:
  CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
  virtual ~CGridCtrl() = default;

  // Takes the widget's font (not owned; it must outlive the grid) and gives
  // every row the default height and every column the default width.
  bool Create(const GridTextMeasure& measure);
  // Width of one space; zero before Create.
  int GetMargin() const { return margin_; }
  int GetDefaultRowHeight() const { return defaultRowHeight_; }
  int GetDefaultColumnWidth() const { return defaultColumnWidth_; }

  bool SetRowCount(int rows);
  bool SetColumnCount(int cols);
  bool SetFixedRows(int fixedRows);
  bool SetFixedColumns(int fixedCols);
  int GetRowCount() const { return static_cast<int>(rowHeights_.size()); }
  int GetColumnCount() const { return static_cast<int>(columnWidths_.size()); }
  int GetFixedRowCount() const { return fixedRows_; }
  int GetFixedColumnCount() const { return fixedCols_; }
  // Removes the column with its cells; the result is false whatever happens.
  bool RemoveColumn(int col);

  bool IsValid(int row, int col) const;
  bool IsValid(CellId cell) const { return IsValid(cell.row, cell.col); }
  bool IsCellFixed(int row, int col) const;
  // A scrolled cell that is not read-only, in an editable grid.
  bool IsCellEditable(int row, int col) const;
  bool SetCellText(int row, int col, std::string_view text);
  const std::string& GetCellText(int row, int col) const;
  GridCell* GetCell(int row, int col);
  const GridCell* GetCell(int row, int col) const;
  // grid_state flags, with selection and focus as they are now; 0 outside.
  unsigned GetItemState(int row, int col) const;
  // Colours to paint a cell with: selection highlight, else its own, else the grid's.
  GridColor CellTextColor(int row, int col) const;
  GridColor CellBackColor(int row, int col) const;

  int GetRowHeight(int row) const;
  int GetColumnWidth(int col) const;
  bool SetRowHeight(int row, int height);
  bool SetColumnWidth(int col, int width);
  // Text extent in the cell's font (bold in fixed rows and columns) plus four
  // margins across and two down. Zero size before Create.
  GridTextSize GetCellExtent(int row, int col) const;
  // Each size becomes the largest cell extent along it. False outside the
  // grid and before Create; a column without rows (row without columns) stays.
  bool FitColumnToText(int col);
  bool FitRowToText(int row);
  void FitColumnsToText();
  void FitToText();
  int GetFixedRowHeight() const;
  int GetFixedColumnWidth() const;
  // Sum of all row heights and all column widths.
  int GetVirtualHeight() const;
  int GetVirtualWidth() const;

  const GridColors& GetColors() const { return colors_; }
  void SetOutsideColor(GridColor color) { colors_.outside = color; }
  void SetCellsEditable(bool editable) { editable_ = editable; }
  bool IsEditable() const { return editable_; }
  void SetDragDrop(bool enabled) { dragDrop_ = enabled; }
  bool IsDragDropEnabled() const { return dragDrop_; }
  // Rows scrolled by one wheel notch (the desktop's setting, 3 when unknown).
  void SetWheelScrollLines(int lines) { wheelScrollLines_ = lines; }

  // ---- Viewport and scrolling
  void SetViewportSize(int width, int height);
  // First visible scrolled row and column; row (or column) equals the count
  // when there are no scrolled rows (or columns).
  CellId GetTopleftNonFixedCell() const { return {topRow_, leftCol_}; }
  CellRange GetVisibleNonFixedCellRange() const;       // fully or partly in view
  CellRange GetFullyVisibleNonFixedCellRange() const;  // fully in view
  GridScrollBar GetScrollBar(GridAxis axis) const;
  void SetScrollPos(GridAxis axis, int value);
  void ScrollBy(GridAxis axis, int cells);
  // Positive notches turn the wheel away from the user and scroll up.
  void OnMouseWheel(int notches);
  // Scrolls as little as needed to show the cell fully, or from its start
  // when it is larger than the view. Fixed rows and columns never scroll.
  void EnsureVisible(int row, int col);

  // ---- Geometry in viewport pixels
  // Where the cell lies with the current scrolling, also when not in view.
  GridRect GetCellRect(int row, int col) const;
  // The cell under the point, partly shown cells included; unset outside cells.
  CellId GetCellFromPt(GridPoint point) const;
  // A border within 3 pixels of the point: column borders in a fixed row,
  // otherwise row borders in a fixed column.
  GridBorder GetBorderAt(GridPoint point) const;
  GridPaintList GetPaintList() const;
  // A tip for a scrolled cell under the point whose text does not fit it.
  std::optional<GridTitleTip> GetTitleTipAt(GridPoint point) const;

  // ---- Focus and selection (always scrolled cells)
  CellId GetFocusCell() const { return focus_; }
  // Moves focus and selection start to a scrolled cell, selecting only it;
  // an unset cell clears focus and selection. False for any other cell.
  bool SetFocusCell(CellId cell);
  CellId GetSelectionStart() const { return selectionStart_; }
  CellRange GetSelectedCellRange() const { return selection_; }
  bool IsCellSelected(int row, int col) const { return selection_.Contains(row, col); }
  void SelectAllCells();

  GridKeyResult OnKeyDown(GridKey key, unsigned modifiers);

  // ---- Clipboard text
  // The selected block row by row: tabs between cells, line feeds between
  // rows, a single space for an empty cell, no line feed at the end.
  std::string CopyText() const;
  // The copy text; then the selected editable cells are emptied.
  std::string CutText();
  // Pastes at the focus cell when it is editable; false otherwise.
  bool PasteText(std::string_view text);
  bool CanDropAt(CellId cell) const;
  // Drag and drop: dropped text is pasted at the cell.
  bool DropText(CellId cell, std::string_view text);

  // ---- Mouse, left button
  virtual GridPress OnLButtonDown(GridPoint point);
  // While the button is held: extends the selection or moves the track line.
  void OnMouseMove(GridPoint point);
  // Every 25 ms while selecting: scrolls one cell towards a pointer outside
  // the scrolled area, then extends the selection to it.
  void OnSelectionTimer(GridPoint point);
  void OnLButtonUp(GridPoint point);
  // On a border: fits that column or row to its text and returns true.
  bool OnLButtonDblClk(GridPoint point);
  std::optional<GridTrackLine> GetTrackLine() const;
  // After a press on a selected cell, a pointer that moves on starts a drag:
  // the copy text to offer. The press then no longer acts as a click.
  std::string BeginDrag();
  bool IsSelecting() const;

 protected:
  void SetSelectionStart(CellId cell);

 private:
  enum class MouseMode { None, Cells, Columns, Rows, All, ResizeColumn, ResizeRow, PendingDrag };

  bool IsScrolledCell(CellId cell) const;
  CellRange ScrolledArea() const;
  void ClampToGrid();
  void ClampScroll();
  int MaxTopRow() const;
  int MaxLeftCol() const;
  int ColumnLeft(int col) const;
  int RowTop(int row) const;
  int ColumnAt(int x) const;
  int RowAt(int y) const;
  int PageRows() const;
  void MoveFocus(CellId next, bool extend);
  void ExtendSelection(GridPoint point);
  int ResizeTrackPos(int pointerPos) const;
  void PasteAt(CellId origin, std::string_view text);

  std::vector<std::vector<GridCell>> cells_;  // [row][col]
  std::vector<int> rowHeights_;
  std::vector<int> columnWidths_;
  int fixedRows_ = 0;
  int fixedCols_ = 0;

  const GridTextMeasure* measure_ = nullptr;
  int margin_ = 0;
  int defaultRowHeight_ = 0;
  int defaultColumnWidth_ = 0;

  GridColors colors_;
  bool editable_ = true;
  bool dragDrop_ = false;
  int wheelScrollLines_ = 3;

  int viewportWidth_ = 0;
  int viewportHeight_ = 0;
  int topRow_ = 0;
  int leftCol_ = 0;

  CellId focus_;
  CellId selectionStart_;
  CellRange selection_;

  MouseMode mouseMode_ = MouseMode::None;
  CellId pressCell_;
  int pressPos_ = 0;     // pointer x or y where a resize started
  int borderPos_ = 0;    // the border's x or y then
  int resizeIndex_ = -1;
  int trackPos_ = 0;
};

}  // namespace qv70

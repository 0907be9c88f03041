#include "core/grid/grid_ctrl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/grid/grid_test_support.h"

namespace qv70 {
namespace {

// Texts of a block, cells joined by '|' and rows by '/'.
std::string Texts(const CGridCtrl& grid, CellRange r) {
  std::string out;
  for (int row = r.minRow; row <= r.maxRow; ++row) {
    if (row > r.minRow) out += '/';
    for (int col = r.minCol; col <= r.maxCol; ++col)
      out += (col > r.minCol ? "|" : "") + grid.GetCellText(row, col);
  }
  return out;
}

// Everything an operation that must fail could have touched.
std::string Snapshot(const CGridCtrl& grid) {
  std::string out = std::to_string(grid.GetRowCount()) + "x" + std::to_string(grid.GetColumnCount()) + "/" +
                    std::to_string(grid.GetFixedRowCount()) + std::to_string(grid.GetFixedColumnCount());
  for (int r = 0; r < grid.GetRowCount(); ++r) out += " " + std::to_string(grid.GetRowHeight(r));
  for (int c = 0; c < grid.GetColumnCount(); ++c) out += " " + std::to_string(grid.GetColumnWidth(c));
  return out + Texts(grid, {0, 0, grid.GetRowCount() - 1, grid.GetColumnCount() - 1});
}

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override { Build(grid); }
  void Fill(const char* a, const char* b, const char* c, const char* d) {
    grid.SetCellText(1, 1, a);
    grid.SetCellText(1, 2, b);
    grid.SetCellText(2, 1, c);
    grid.SetCellText(2, 2, d);
  }
  void Drag(GridPoint from, GridPoint to) {
    grid.OnLButtonDown(from);
    grid.OnMouseMove(to);
    grid.OnLButtonUp(to);
  }
  CGridCtrl grid;
};

TEST(GridIndexChecks, FailWithoutChange) {
  const struct { const char* name; std::function<bool(CGridCtrl&)> op; } cases[] = {
      {"SetCellText row 361 of 361", [](CGridCtrl& g) { return g.SetCellText(361, 1, "x"); }},
      {"SetCellText column 6 of 6", [](CGridCtrl& g) { return g.SetCellText(1, 6, "x"); }},
      {"SetCellText row -1", [](CGridCtrl& g) { return g.SetCellText(-1, 1, "x"); }},
      {"SetRowHeight -1", [](CGridCtrl& g) { return g.SetRowHeight(1, -1); }},
      {"SetRowHeight row 361", [](CGridCtrl& g) { return g.SetRowHeight(361, 5); }},
      {"SetColumnWidth -1", [](CGridCtrl& g) { return g.SetColumnWidth(1, -1); }},
      {"SetColumnWidth column 6", [](CGridCtrl& g) { return g.SetColumnWidth(6, 5); }},
      {"FitColumnToText column -1", [](CGridCtrl& g) { return g.FitColumnToText(-1); }},
      {"SetRowCount -1", [](CGridCtrl& g) { return g.SetRowCount(-1); }},
      {"SetFixedColumns -1", [](CGridCtrl& g) { return g.SetFixedColumns(-1); }},
      {"RemoveColumn 6", [](CGridCtrl& g) { return g.RemoveColumn(6); }},
      {"GetRowHeight row 361", [](CGridCtrl& g) { return g.GetRowHeight(361) != -1; }},
      {"GetRowHeight row -1", [](CGridCtrl& g) { return g.GetRowHeight(-1) != -1; }},
  };
  for (const auto& c : cases) {
    CGridCtrl grid;
    Build(grid, 361, 6);
    grid.SetCellText(360, 5, "last");
    const std::string before = Snapshot(grid);
    EXPECT_FALSE(c.op(grid)) << c.name;
    EXPECT_EQ(Snapshot(grid), before) << c.name;
  }
}

TEST_F(GridTest, ShrinkingDestroysCellsAndGrowingGivesFreshOnes) {
  grid.SetCellText(3, 4, "x");
  grid.GetCell(3, 4)->format = grid_format::kCenter;
  grid.SetColumnWidth(4, 200);
  grid.SetRowHeight(10, 50);
  grid.SetFocusCell({10, 5});
  grid.SetColumnCount(3);
  EXPECT_FALSE(grid.GetFocusCell().IsSet());
  grid.SetColumnCount(6);
  grid.SetRowCount(5);
  grid.SetRowCount(11);
  EXPECT_EQ(grid.GetCellText(3, 4), "");
  EXPECT_EQ(grid.GetCell(3, 4)->format, 0u);
  EXPECT_EQ(grid.GetColumnWidth(4), 80);
  EXPECT_EQ(grid.GetRowHeight(10), 24);

  // New rows copy the format of the cell above; fixed counts follow the row count.
  grid.GetCell(10, 2)->format = grid_format::kRight | grid_format::kVCenter;
  grid.SetRowCount(13);
  EXPECT_EQ(grid.GetCell(12, 2)->format, grid_format::kRight | grid_format::kVCenter);
  EXPECT_EQ(grid.GetCell(12, 1)->format, 0u);
  grid.SetFocusCell({2, 2});
  grid.SetFixedRows(3);
  EXPECT_FALSE(grid.GetFocusCell().IsSet());
  grid.SetRowCount(2);
  EXPECT_EQ(grid.GetFixedRowCount(), 2);
  grid.SetFixedRows(4);
  EXPECT_EQ(grid.GetRowCount(), 4);
}

TEST(GridRemoveColumn, ShiftsCellsAndFocus) {
  const struct { const char* name; int removed, focusCol, focusAfter, fixedAfter; } cases[] = {
      {"right of the focus", 4, 2, 2, 1},
      {"the focus column", 2, 2, -1, 1},
      {"left of the focus", 1, 3, 2, 1},
      {"the fixed column", 0, 1, 0, 0},
  };
  for (const auto& c : cases) {
    CGridCtrl grid;
    Build(grid);
    for (int col = 0; col < 6; ++col) grid.SetCellText(0, col, std::string(1, "abcdef"[col]));
    grid.SetFocusCell({1, c.focusCol});
    EXPECT_FALSE(grid.RemoveColumn(c.removed)) << c.name;
    EXPECT_EQ(grid.GetColumnCount(), 5) << c.name;
    EXPECT_EQ(grid.GetCellText(0, c.removed), std::string(1, "abcdef"[c.removed + 1])) << c.name;
    EXPECT_EQ(grid.GetFocusCell().col, c.focusAfter) << c.name;
    EXPECT_EQ(grid.GetFixedColumnCount(), c.fixedAfter) << c.name;
  }
}

TEST(GridFit, ExtentIsBoldInFixedCellsWidestLineAndMargins) {
  CGridCtrl grid;
  Build(grid, 3, 3);
  grid.SetCellText(0, 1, "ab\nc");  // bold: 16 by 26
  grid.SetCellText(1, 1, "abcde");  // 35 by 13
  grid.SetCellText(2, 0, "abcd");   // bold: 32 by 13
  EXPECT_EQ(grid.GetMargin(), 4);
  EXPECT_EQ(grid.GetRowHeight(1), 16 + 2 * 4);
  EXPECT_EQ(grid.GetColumnWidth(1), 12 * 6 + 2 * 4);
  grid.FitColumnToText(1);
  EXPECT_EQ(grid.GetColumnWidth(1), 35 + 16);
  EXPECT_EQ(grid.GetColumnWidth(0), 80);
  grid.FitToText();
  EXPECT_EQ(grid.GetColumnWidth(0), 32 + 16);
  EXPECT_EQ(grid.GetColumnWidth(2), 16);
  EXPECT_EQ(grid.GetRowHeight(0), 26 + 8);
  EXPECT_EQ(grid.GetRowHeight(2), 13 + 8);
}

TEST_F(GridTest, CopyGivesASpaceForAnEmptyCellAndNoFinalLineFeed) {
  Fill("A", "", "C", "D");
  Drag(Center(1, 1), Center(2, 2));
  EXPECT_EQ(grid.CopyText(), "A\t \nC\tD");
  grid.GetCell(2, 2)->readOnly = true;
  EXPECT_EQ(grid.CutText(), "A\t \nC\tD");
  EXPECT_EQ(Texts(grid, {1, 1, 2, 2}), "|/|D");
  grid.SetFocusCell({});
  EXPECT_EQ(grid.CopyText(), "");
}

TEST(GridPaste, WritesRightAndDownClippedAtTheEdge) {
  const struct {
    const char* name;
    CellId focus;
    const char* text;
    CellRange shown;
    const char* expected;
  } cases[] = {
      {"clipped at the last row and column", {9, 4}, "a\tb\tc\nd,,e\nf", {9, 4, 10, 5}, "a|b/d|e"},
      {"empty line keeps its row", {1, 1}, "a\n\nb", {1, 1, 3, 1}, "a/o/b"},
      {"read-only cell kept", {2, 1}, "x\ty", {2, 1, 2, 2}, "x|o"},
      {"read-only focus refuses", {2, 2}, "x", {2, 2, 2, 2}, "o"},
  };
  for (const auto& c : cases) {
    CGridCtrl grid;
    Build(grid);
    for (int r = 1; r < 11; ++r)
      for (int col = 1; col < 6; ++col) grid.SetCellText(r, col, "o");
    grid.GetCell(2, 2)->readOnly = true;
    grid.SetFocusCell(c.focus);
    grid.PasteText(c.text);
    EXPECT_EQ(Texts(grid, c.shown), c.expected) << c.name;
    EXPECT_EQ(grid.GetCellText(8, 4), "o") << c.name;
  }
  CGridCtrl grid;
  Build(grid);
  grid.SetFocusCell({1, 1});
  grid.SetCellsEditable(false);
  EXPECT_FALSE(grid.PasteText("x"));
}

TEST(GridKeyboard, MovesStayInsideTheScrolledCells) {
  const unsigned kShift = grid_modifier::kShift;
  const struct {
    const char* name;
    CellId from;
    GridKey key;
    unsigned modifiers;
    CellId to;
    CellRange selection;
    int topRow;
  } cases[] = {
      {"Left at the first scrolled column", {3, 1}, GridKey::Left, 0, {3, 1}, {3, 1, 3, 1}, 1},
      {"Right at the last column", {3, 5}, GridKey::Right, 0, {3, 5}, {3, 5, 3, 5}, 1},
      {"Up at the first scrolled row", {1, 2}, GridKey::Up, 0, {1, 2}, {1, 2, 1, 2}, 1},
      {"Down at the last row", {10, 2}, GridKey::Down, 0, {10, 2}, {10, 2, 10, 2}, 7},
      {"Down onto the partly shown row", {4, 2}, GridKey::Down, 0, {5, 2}, {5, 2, 5, 2}, 2},
      {"Shift+Down", {3, 2}, GridKey::Down, kShift, {4, 2}, {3, 2, 4, 2}, 1},
      {"Tab at the end of a row", {3, 5}, GridKey::Tab, 0, {4, 1}, {4, 1, 4, 1}, 1},
      {"Tab at the last cell", {10, 5}, GridKey::Tab, 0, {10, 5}, {10, 5, 10, 5}, 7},
      {"Shift+Tab at the start of a row", {4, 1}, GridKey::Tab, kShift, {3, 5}, {3, 5, 3, 5}, 1},
      {"Shift+Tab at the first cell", {1, 1}, GridKey::Tab, kShift, {1, 1}, {1, 1, 1, 1}, 1},
      {"PageDown", {2, 2}, GridKey::PageDown, 0, {6, 2}, {6, 2, 6, 2}, 5},
      {"PageDown near the end", {9, 2}, GridKey::PageDown, 0, {10, 2}, {10, 2, 10, 2}, 7},
      {"PageUp near the top", {3, 2}, GridKey::PageUp, 0, {1, 2}, {1, 2, 1, 2}, 1},
      {"Home", {7, 3}, GridKey::Home, 0, {1, 3}, {1, 3, 1, 3}, 1},
      {"End", {2, 3}, GridKey::End, 0, {10, 3}, {10, 3, 10, 3}, 7},
      {"Shift+End", {2, 3}, GridKey::End, kShift, {10, 3}, {2, 3, 10, 3}, 7},
  };
  for (const auto& c : cases) {
    CGridCtrl grid;
    Build(grid);
    grid.SetFocusCell(c.from);
    EXPECT_EQ(grid.OnKeyDown(c.key, c.modifiers), GridKeyResult::Handled) << c.name;
    EXPECT_EQ(grid.GetFocusCell(), c.to) << c.name;
    EXPECT_EQ(grid.GetSelectedCellRange(), c.selection) << c.name;
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, c.topRow) << c.name;
  }
}

TEST_F(GridTest, EditingKeysNeedAFocusCell) {
  const unsigned kCtrl = grid_modifier::kControl;
  EXPECT_EQ(grid.OnKeyDown(GridKey::Down, 0), GridKeyResult::Ignored);
  Fill("A", "B", "C", "D");
  grid.GetCell(2, 2)->readOnly = true;
  grid.SetFocusCell({2, 2});
  grid.OnKeyDown(GridKey::Delete, 0);
  grid.SetFocusCell({1, 1});
  grid.OnKeyDown(GridKey::Delete, 0);
  EXPECT_EQ(Texts(grid, {1, 1, 2, 2}), "|B/C|D");
  EXPECT_EQ(grid.OnKeyDown(GridKey::X, kCtrl), GridKeyResult::Cut);
  EXPECT_EQ(grid.OnKeyDown(GridKey::A, kCtrl), GridKeyResult::Handled);
  EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 1, 10, 5}));
}

TEST_F(GridTest, ScrollingStaysWithinTheGrid) {
  EXPECT_EQ(grid.GetVisibleNonFixedCellRange(), (CellRange{1, 1, 5, 4}));
  EXPECT_EQ(grid.GetFullyVisibleNonFixedCellRange(), (CellRange{1, 1, 4, 4}));
  const GridScrollBar vertical = grid.GetScrollBar(GridAxis::Vertical);
  EXPECT_EQ(vertical.max, 6);  // rows 7 to 10 fill the 106 pixels below the fixed row
  EXPECT_EQ(vertical.page, 4);
  EXPECT_EQ(grid.GetScrollBar(GridAxis::Horizontal).max, 1);
  grid.OnMouseWheel(-1);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 4);
  grid.OnMouseWheel(-5);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 7);
  grid.SetRowCount(6);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 2);
  grid.SetViewportSize(400, 500);
  EXPECT_EQ(grid.GetScrollBar(GridAxis::Vertical).max, 0);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1);
}

TEST(GridHitTest, CellsCountWhenPartlyShownBordersWithinThreePixels) {
  using K = GridBorderKind;
  const struct { const char* name; GridPoint point; CellId cell; K border; int index; } cases[] = {
      {"top-left fixed cell", {0, 0}, {0, 0}, K::None, -1},
      {"3 left of a column border", {77, 10}, {0, 0}, K::Column, 0},
      {"3 right of it", {83, 10}, {0, 1}, K::Column, 0},
      {"4 right of it", {84, 10}, {0, 1}, K::None, -1},
      {"last pixel of the fixed column", {79, 30}, {3, 0}, K::None, -1},
      {"a border in a scrolled row", {80, 30}, {3, 1}, K::None, -1},
      {"row border in the fixed column", {40, 46}, {3, 0}, K::Row, 3},
      {"partly shown bottom row", {100, 125}, {7, 1}, K::None, -1},
      {"last pixel of the last row", {100, 215}, {10, 1}, K::None, -1},
      {"below the last row", {100, 216}, {}, K::None, -1},
      {"right of the last column", {480, 30}, {}, K::None, -1},
      {"just past the last column in the fixed row", {482, 10}, {}, K::Column, 5},
      {"left of the grid", {-1, 30}, {}, K::None, -1},
  };
  for (const auto& c : cases) {
    CGridCtrl grid;
    Build(grid);
    grid.SetScrollPos(GridAxis::Vertical, 2);
    EXPECT_EQ(grid.GetCellFromPt(c.point), c.cell) << c.name;
    EXPECT_EQ(grid.GetBorderAt(c.point).kind, c.border) << c.name;
    EXPECT_EQ(grid.GetBorderAt(c.point).index, c.index) << c.name;
  }
  // A column shrunk to nothing can be pulled open again.
  CGridCtrl grid;
  Build(grid);
  grid.SetColumnWidth(2, 0);
  EXPECT_EQ(grid.GetBorderAt({161, 10}).index, 2);
}

TEST_F(GridTest, DraggingABorderResizesOnRelease) {
  EXPECT_EQ(grid.OnLButtonDown({81, 10}), GridPress::ResizeColumn);
  grid.OnMouseMove({121, 10});
  EXPECT_EQ(grid.GetTrackLine()->pos, 120);
  EXPECT_EQ(grid.GetColumnWidth(0), 80);
  grid.OnLButtonUp({121, 10});
  EXPECT_EQ(grid.GetColumnWidth(0), 120);
  EXPECT_FALSE(grid.GetTrackLine());

  EXPECT_EQ(grid.OnLButtonDown({40, 49}), GridPress::ResizeRow);
  grid.OnLButtonUp({40, 60});
  EXPECT_EQ(grid.GetRowHeight(1), 24 + 11);

  grid.SetCellText(3, 2, "abc");
  EXPECT_TRUE(grid.OnLButtonDblClk({282, 20}));  // column 2 ends at 120 + 80 + 80
  EXPECT_EQ(grid.GetColumnWidth(2), 21 + 16);
  EXPECT_FALSE(grid.OnLButtonDblClk({160, 20}));

  grid.OnLButtonDown({119, 10});
  grid.OnLButtonUp({-50, 10});
  EXPECT_EQ(grid.GetColumnWidth(0), 0);
}

TEST_F(GridTest, DragExtendsTheSelectionAndScrollsAtTheEdge) {
  grid.OnLButtonDown(Center(1, 2));
  grid.OnMouseMove(Center(3, 3));
  EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 2, 3, 3}));
  grid.OnMouseMove({10, 10});  // over the fixed cells: the nearest scrolled cell
  EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 1, 1, 2}));
  grid.OnSelectionTimer({250, 200});  // below the viewport
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 2);
  EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 2, 6, 3}));
  EXPECT_EQ(grid.GetFocusCell(), (CellId{6, 3}));
  grid.OnLButtonUp({250, 200});

  Drag({170, 10}, {330, 50});
  EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 2, 10, 4}));
}

TEST_F(GridTest, PaintListHoldsOnlyCellsInView) {
  grid.SetScrollPos(GridAxis::Vertical, 2);
  grid.SetFocusCell({3, 1});
  const GridPaintList big = grid.GetPaintList();
  EXPECT_EQ(big.fixedCells.size(), 5u + 5u);  // fixed row over 5 columns, fixed column beside rows 3 to 7
  ASSERT_EQ(big.scrolledCells.size(), 5u * 4u);
  EXPECT_EQ(big.scrolledCells.front().cell, (CellId{3, 1}));
  EXPECT_EQ(big.scrolledCells.front().rect, (GridRect{80, 24, 80, 24}));
  EXPECT_EQ(big.scrolledCells.front().state, grid_state::kSelected | grid_state::kFocused);
  EXPECT_EQ(big.scrolledCells.back().rect, (GridRect{320, 120, 80, 24}));
  EXPECT_TRUE(big.outside.empty());

  CGridCtrl small;
  Build(small, 3, 2);
  const GridPaintList list = small.GetPaintList();
  EXPECT_EQ(list.fixedCells.size() + list.scrolledCells.size(), 6u);
  ASSERT_EQ(list.outside.size(), 2u);
  EXPECT_EQ(list.outside[0], (GridRect{160, 0, 240, 130}));
  EXPECT_EQ(list.outside[1], (GridRect{0, 72, 160, 58}));
}

TEST_F(GridTest, TitleTipOnlyForScrolledTextTooWide) {
  grid.SetCellText(1, 1, "abcdefghijk");  // 77 + two spaces > 80
  grid.SetCellText(1, 2, "abcdefghij");   // 70 + 8 fits
  grid.SetCellText(0, 3, "abcdefghijklmn");
  EXPECT_EQ(grid.GetTitleTipAt(Center(1, 1)).value_or(GridTitleTip{}).rect, (GridRect{80, 24, 80, 24}));
  EXPECT_FALSE(grid.GetTitleTipAt(Center(1, 2)));
  EXPECT_FALSE(grid.GetTitleTipAt(Center(0, 3)));
}

TEST_F(GridTest, PressOnTheSelectionStartsADrag) {
  Fill("A", "", "C", "D");
  Drag(Center(1, 1), Center(2, 2));
  EXPECT_EQ(grid.OnLButtonDown(Center(1, 2)), GridPress::Cell);  // drag and drop is off
  Drag(Center(1, 1), Center(2, 2));
  grid.SetDragDrop(true);
  EXPECT_EQ(grid.OnLButtonDown(Center(1, 2)), GridPress::PendingDrag);
  EXPECT_EQ(grid.BeginDrag(), "A\t \nC\tD");
  grid.OnLButtonUp(Center(1, 2));
  EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 1, 2, 2}));
  grid.OnLButtonDown(Center(2, 1));
  grid.OnLButtonUp(Center(2, 1));  // no drag: a click
  EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{2, 1, 2, 1}));

  EXPECT_FALSE(grid.DropText({0, 3}, "x"));
  EXPECT_TRUE(grid.DropText({5, 4}, "x,y"));
  EXPECT_EQ(Texts(grid, {5, 4, 5, 5}), "x|y");
  grid.SetDragDrop(false);
  EXPECT_FALSE(grid.DropText({5, 4}, "z"));
}

}  // namespace
}  // namespace qv70

#pragma once

#include "core/grid/grid_ctrl.h"
#include "core/grid/grid_text.h"

namespace qv70 {

// A font where a space is 4 pixels and every other character 7 (8 in bold),
// a line 13 pixels high with 3 of external leading, 6 pixels on average.
// So the margin is 4, a new row 24 high and a new column 80 wide.
class FakeTextMeasure : public GridTextMeasure {
 public:
  GridTextSize LineExtent(std::string_view line, bool bold) const override {
    int width = 0;
    for (char c : line) width += c == ' ' ? 4 : bold ? 8 : 7;
    return {width, 13};
  }
  int LineHeight() const override { return 16; }
  int AverageCharWidth() const override { return 6; }
  int SpaceWidth() const override { return 4; }
};

inline const FakeTextMeasure kFont;

// Set up as the table pages do, with one fixed row and column. Cells are
// 80 x 24; the 400 x 130 viewport shows the fixed row and column, scrolled
// columns 1 to 4 and scrolled rows 1 to 4 fully, row 5 in part.
inline void Build(CGridCtrl& grid, int rows = 11, int cols = 6) {
  grid.Create(kFont);
  grid.SetColumnCount(cols);
  grid.SetRowCount(rows);
  grid.SetFixedRows(1);
  grid.SetFixedColumns(1);
  grid.SetViewportSize(400, 130);
}

// The middle of a cell while nothing is scrolled.
inline GridPoint Center(int row, int col) { return {80 * col + 40, 24 * row + 12}; }

}  // namespace qv70

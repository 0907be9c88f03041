#include "core/grid/record_grid_ctrl.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/grid/fake_text_measure.h"

namespace qv70 {
namespace {

TEST(RecordGridCtrl, ClickOnACellAsksForItsRecord) {
  const struct {
    const char* name;
    GridPoint point;
    GridPress press;
    std::vector<int> records;
  } cases[] = {
      {"cell of row 5", {170, 5 * 24 + 12}, GridPress::Cell, {4}},
      {"title row", {170, 10}, GridPress::Column, {-1}},
      {"column border in the title row", {81, 10}, GridPress::ResizeColumn, {}},
      {"row border in the label column", {40, 47}, GridPress::ResizeRow, {}},
      {"below the last row", {170, 300}, GridPress::Nothing, {}},
      {"just past the last column's border", {482, 10}, GridPress::Nothing, {}},
  };
  const FakeTextMeasure font;
  for (const auto& c : cases) {
    RecordGridCtrl grid;
    grid.Create(font);
    grid.SetColumnCount(6);
    grid.SetRowCount(11);
    grid.SetFixedRows(1);
    grid.SetFixedColumns(1);
    grid.SetViewportSize(600, 400);
    std::vector<int> records;
    grid.SetRecordClickHandler([&records](int record) { records.push_back(record); });
    EXPECT_EQ(grid.OnLButtonDown(c.point), c.press) << c.name;
    EXPECT_EQ(records, c.records) << c.name;
  }
}

TEST(RecordGridCtrl, ClickedCellBecomesSelectionStart) {
  const FakeTextMeasure font;
  RecordGridCtrl grid;
  EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount(), 0);
  grid.Create(font);
  grid.SetColumnCount(6);
  grid.SetRowCount(11);
  grid.SetFixedRows(1);
  grid.SetFixedColumns(1);
  grid.SetViewportSize(600, 400);
  grid.SetDragDrop(true);
  grid.SetFocusCell({5, 2});
  grid.OnKeyDown(GridKey::Down, grid_modifier::kShift);
  // A press on the selection would start a drag; the row still counts as clicked.
  int record = -2;
  grid.SetRecordClickHandler([&record](int r) { record = r; });
  EXPECT_EQ(grid.OnLButtonDown({170, 6 * 24 + 12}), GridPress::PendingDrag);
  EXPECT_EQ(record, 5);
  EXPECT_EQ(grid.GetSelectionStart(), (CellId{6, 2}));
}

}  // namespace
}  // namespace qv70

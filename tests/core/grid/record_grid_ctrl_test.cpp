#include "core/grid/record_grid_ctrl.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/grid/grid_test_support.h"

namespace qv70 {
namespace {

// Each press goes to a plain grid and to a record grid: both select alike,
// the record grid also reports the record of the clicked row.
TEST(GridPress, SelectsCellRowColumnOrAllAndReportsTheRecord) {
  const struct {
    const char* name;
    GridPoint point;
    GridPress press;
    CellRange selection;
    std::vector<int> records;
  } cases[] = {
      {"cell of row 5", Center(5, 2), GridPress::Cell, {5, 2, 5, 2}, {4}},
      {"title row", Center(0, 2), GridPress::Column, {1, 2, 10, 2}, {-1}},
      {"label column", Center(2, 0), GridPress::Row, {2, 1, 2, 5}, {1}},
      {"top-left cell", Center(0, 0), GridPress::All, {1, 1, 10, 5}, {-1}},
      {"column border in the title row", {81, 10}, GridPress::ResizeColumn, {}, {}},
      {"row border in the label column", {40, 47}, GridPress::ResizeRow, {}, {}},
      {"below the last row", {170, 300}, GridPress::Nothing, {}, {}},
  };
  for (const auto& c : cases) {
    CGridCtrl plain;
    RecordGridCtrl grid;
    std::vector<int> records;
    grid.SetRecordClickHandler([&records](int record) { records.push_back(record); });
    for (CGridCtrl* g : {&plain, static_cast<CGridCtrl*>(&grid)}) {
      Build(*g);
      g->SetViewportSize(600, 400);
      EXPECT_EQ(g->OnLButtonDown(c.point), c.press) << c.name;
      EXPECT_EQ(g->GetSelectedCellRange(), c.selection) << c.name;
    }
    EXPECT_EQ(records, c.records) << c.name;
  }
  // Outside every cell a record grid does nothing, not even grab the last border.
  RecordGridCtrl grid;
  EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount(), 0);
  Build(grid);
  EXPECT_EQ(grid.OnLButtonDown({482, 10}), GridPress::Nothing);
}

}  // namespace
}  // namespace qv70

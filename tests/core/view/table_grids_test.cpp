// How the table pages build and fill their grids, measured with a fixed font.
#include "core/view/table_grids.h"

#include <gtest/gtest.h>

#include "core/data/record_tables.h"
#include "core/grid/grid_test_support.h"
#include "core/grid/record_grid_ctrl.h"
#include "core/view/table_content.h"

namespace qv70 {
namespace {

TEST(TableGrids, AFilterChangeRebuildsTheColumnsEmptyAndSizedAgain) {
  RecordGridCtrl grid;
  grid.Create(kFont);
  BuildInitialManualGrid(grid, 6);
  EXPECT_EQ(grid.GetRowCount(), 11);
  EXPECT_EQ(grid.GetFixedRowCount(), 1);
  EXPECT_EQ(grid.GetCellText(10, 0), " H9");
  // Two title lines of 13 pixels and two margins of 4: more than the 30 asked for.
  EXPECT_EQ(grid.GetRowHeight(0), 34);
  EXPECT_EQ(grid.GetColumnWidth(33), kTableColumnWidth);
  EXPECT_EQ(grid.GetColumnWidth(0), grid.GetCellExtent(0, 0).width);

  grid.SetCellText(3, 20, "left over");
  BuildManualColumns(grid, kFilterTc);
  EXPECT_EQ(grid.GetColumnCount(), 13);
  EXPECT_EQ(grid.GetCellText(0, 12), " Table No. \n ");
  BuildManualColumns(grid, kFilterAll);
  EXPECT_EQ(grid.GetCellText(3, 20), "");     // grown again: empty cells
  EXPECT_EQ(grid.GetCellText(10, 0), " H9");  // the label column stays
  EXPECT_EQ(grid.GetColumnWidth(20), kTableColumnWidth);
  BuildManualColumns(grid, 7);  // no such filter: nothing changes
  EXPECT_EQ(grid.GetColumnCount(), 34);
}

TEST(TableGrids, LoggingRowsAreRewrittenWholeForEachSet) {
  RecordTables tables;
  tables.sampleCount[1] = 360;
  tables.sampleCount[2] = 2;
  for (int i = 0; i < 360; ++i) tables.Sample(RecordCopy::Display, 1, i, sample::kDate) = "d";
  RecordGridCtrl grid;
  grid.Create(kFont);
  BuildLoggingGrid(grid);
  EXPECT_EQ(grid.GetRowCount(), kLoggingTableRows);
  EXPECT_EQ(grid.GetRowHeight(360), kSampleRowHeight);
  EXPECT_GE(grid.GetRowHeight(0), grid.GetCellExtent(0, 4).height);  // both title lines show

  WriteLoggingRows(grid, tables, 1);
  EXPECT_EQ(grid.GetCellText(360, 0), "360");
  WriteLoggingRows(grid, tables, 2);
  EXPECT_EQ(grid.GetCellText(2, 0), "2");
  EXPECT_EQ(grid.GetCellText(3, 0), "");
  EXPECT_EQ(grid.GetCellText(360, 1), "");
}

}  // namespace
}  // namespace qv70

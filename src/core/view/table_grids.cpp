#include "core/view/table_grids.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/data/record_tables.h"
#include "core/grid/grid_ctrl.h"
#include "core/view/table_content.h"

namespace qv70 {

namespace {

constexpr int kManualTitleRowHeight = 30;
constexpr GridColor kWhite = GridColor::FromRgb(0xFFFFFF);

void WriteRow(CGridCtrl& grid, int row, const std::vector<std::string>& texts) {
  for (size_t column = 0; column < texts.size(); ++column) {
    grid.SetCellText(row, static_cast<int>(column), texts[column]);
  }
}

// The first column as wide as its contents, every other one the fixed width.
void SizeColumns(CGridCtrl& grid) {
  grid.FitColumnsToText();
  for (int column = 1; column < grid.GetColumnCount(); ++column) {
    grid.SetColumnWidth(column, kTableColumnWidth);
  }
}

// A title row never lower than its two lines need, whatever the font.
void SetTitleRowHeight(CGridCtrl& grid, int height) {
  grid.FitRowToText(0);
  grid.SetRowHeight(0, std::max(height, grid.GetRowHeight(0)));
}

void SetUpTable(CGridCtrl& grid, int rows, int columns) {
  grid.SetColumnCount(columns);
  grid.SetRowCount(rows);
  grid.SetFixedRows(1);
  grid.SetFixedColumns(1);
  grid.SetOutsideColor(kWhite);
  grid.SetCellsEditable(true);
  grid.SetDragDrop(true);
}

void WriteManualTitles(CGridCtrl& grid, int filter) {
  for (int column = 0; column < ManualColumnCount(filter); ++column) {
    grid.SetCellText(0, column, ManualColumnTitle(filter, column));
  }
}

}  // namespace

void BuildInitialManualGrid(CGridCtrl& grid, int group) {
  SetUpTable(grid, kManualTableRows, ManualColumnCount(kFilterAll));
  WriteManualTitles(grid, kFilterAll);
  for (int record = 0; record < kRecordsPerGroup; ++record) {
    grid.SetCellText(record + 1, 0, InitialRecordLabel(group, record));
  }
  SizeColumns(grid);
  SetTitleRowHeight(grid, kManualTitleRowHeight);
}

void BuildManualColumns(CGridCtrl& grid, int filter) {
  if (ManualColumnCount(filter) == 0) return;
  grid.SetColumnCount(1);
  grid.SetColumnCount(ManualColumnCount(filter));
  WriteManualTitles(grid, filter);
  SizeColumns(grid);
  grid.SetOutsideColor(kWhite);
  SetTitleRowHeight(grid, kManualTitleRowHeight);
}

void WriteManualRows(CGridCtrl& grid, const RecordTables& tables, int group, int filter) {
  if (group < 0 || group >= kGroupCount) return;
  for (int record = 0; record < kRecordsPerGroup; ++record) {
    const int row = record + 1;
    for (int column = 0; column < grid.GetColumnCount(); ++column) grid.SetCellText(row, column, "");
    WriteRow(grid, row, ManualRowTexts(tables, group, record, filter));
  }
}

void BuildLoggingGrid(CGridCtrl& grid) {
  SetUpTable(grid, kLoggingTableRows, kLoggingTableColumns);
  for (int column = 0; column < kLoggingTableColumns; ++column) {
    grid.SetCellText(0, column, LoggingColumnTitle(column));
  }
  SizeColumns(grid);
  // One and a half times the automatic height plus 3.
  const int automatic = grid.GetRowHeight(0);
  SetTitleRowHeight(grid, automatic + automatic / 2 + 3);
  for (int row = 1; row < kLoggingTableRows; ++row) grid.SetRowHeight(row, kSampleRowHeight);
}

void WriteLoggingRows(CGridCtrl& grid, const RecordTables& tables, int set) {
  for (int sampleIndex = 0; sampleIndex < kMaxSamples; ++sampleIndex) {
    WriteRow(grid, sampleIndex + 1, LoggingRowTexts(tables, set, sampleIndex));
  }
}

}  // namespace qv70

// The table pages as the operator sees them: which rows and columns each
// filter shows, the logging rows, the decimal comma, a click on a row, and
// Ctrl+C between the table's copy and Copy Graph.
#include <QApplication>
#include <QClipboard>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include "core/grid/record_grid_ctrl.h"
#include "core/view/table_content.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/pages/data_pages.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "shell_fixture.h"

namespace qv70 {
namespace {

using test::ShellTest;

constexpr int kGroupC = 2, kGroupH = 6, kSet = 4;

class TablePagesTest : public ShellTest {
 protected:
  // Group C: a normal test in slot 0, a TC test in slot 1; group H: a step test;
  // set 4: 120 samples.
  void Download() {
    RecordTables& tables = state.tables;
    const char* types[] = {"Normal Test", "TC Test"};
    for (int r = 0; r < 2; ++r) {
      for (int f = 2; f < kManualFieldCount; ++f) tables.Manual(RecordCopy::Converted, kGroupC, r, f) = "1.23";
      tables.Manual(RecordCopy::Converted, kGroupC, r, field::kTestType) = types[r];
      tables.Manual(RecordCopy::Raw, kGroupC, r, field::kTestType) = types[r];
    }
    tables.Manual(RecordCopy::Converted, kGroupC, 1, field::kRefTemperature) = "20.0";
    tables.Manual(RecordCopy::Converted, kGroupC, 1, field::kTableNo) = "7";
    tables.Manual(RecordCopy::Converted, kGroupH, 0, field::kTestType) = "Step Voltage Test";
    tables.Manual(RecordCopy::Raw, kGroupH, 0, field::kTestType) = "Step Voltage Test";
    tables.Manual(RecordCopy::Converted, kGroupH, 0, field::kStepInterval) = "1min0s";
    tables.recordCount[kGroupC] = 2;
    tables.recordCount[kGroupH] = 1;
    tables.sampleCount[kSet] = 120;
    for (int i = 0; i < 120; ++i) tables.Sample(RecordCopy::Converted, kSet, i, sample::kResistance) = "1.23";
    for (int f = 0; f < kHeaderFieldCount; ++f) tables.Header(RecordCopy::Converted, kSet, f) = "30";
    tables.dataState = DataState::Unsaved;
    View().ShowNewData(false);
  }
  RecordGridCtrl& ManualGrid(int position) { return View().ManualPage()->GridAt(position)->Grid(); }
  RecordGridCtrl& LoggingGrid(int position) { return View().LoggingPage()->GridAt(position)->Grid(); }
};

TEST_F(TablePagesTest, EachFilterShowsItsColumnsAndOnlyItsRecords) {
  Start();
  // Before any data: every table built for All, labelled with a blank first.
  EXPECT_EQ(ManualGrid(3).GetColumnCount(), 34);
  EXPECT_EQ(ManualGrid(3).GetCellText(1, 0), " D0");
  EXPECT_EQ(ManualGrid(0).GetCellText(0, 28), " Step3 Voltage \n[ kV]");
  Download();
  ASSERT_EQ(View().ManualPage()->GroupTabs()->Count(), 2);
  const struct {
    int filter;
    int tab;  // 0 GroupC, 1 GroupH
    int row;
    int column;
    const char* text;
  } rows[] = {
      {kFilterAll, 0, 1, 0, "C0"},      {kFilterAll, 0, 1, 9, "1.23"},    {kFilterAll, 0, 10, 0, "C9"},
      {kFilterAll, 0, 3, 1, ""},        {kFilterNormal, 0, 1, 19, "1.23"}, {kFilterNormal, 0, 2, 1, ""},
      {kFilterNormal, 0, 2, 0, "C1"},   {kFilterTc, 0, 2, 10, "20.0"},    {kFilterTc, 0, 2, 12, "7"},
      {kFilterTc, 0, 1, 10, ""},        {kFilterStepVoltage, 1, 1, 4, "1min0s"},
      {kFilterStepVoltage, 1, 1, 0, "H0"},
  };
  for (const auto& row : rows) {
    View().ApplyTestTypeFilter(row.filter);
    View().ManualPage()->GroupTabs()->Bar()->setCurrentIndex(row.tab);
    RecordGridCtrl& grid = ManualGrid(row.tab);
    EXPECT_EQ(grid.GetColumnCount(), ManualColumnCount(row.filter)) << row.filter;
    EXPECT_EQ(grid.GetCellText(row.row, row.column), row.text) << row.filter << " " << row.row << "," << row.column;
    EXPECT_TRUE(View().ManualPage()->GridAt(row.tab)->isVisible()) << row.filter;
  }
  // Widths: the first column fitted, the others 110; a title row that holds two lines.
  EXPECT_EQ(ManualGrid(0).GetColumnWidth(5), kTableColumnWidth);
  EXPECT_GE(ManualGrid(0).GetRowHeight(0), ManualGrid(0).GetCellExtent(0, 5).height);
}

TEST_F(TablePagesTest, LoggingRowsAndTheDecimalCommaComeFromTheDisplayCopy) {
  Start();
  Download();
  RecordGridCtrl& grid = LoggingGrid(0);
  EXPECT_EQ(grid.GetRowCount(), 361);
  EXPECT_EQ(grid.GetCellText(120, 0), "120");
  EXPECT_EQ(grid.GetCellText(120, 5), "1.23");
  EXPECT_EQ(grid.GetCellText(121, 0), "");
  EXPECT_EQ(grid.GetRowHeight(7), kSampleRowHeight);

  state.SetNumberFormat(1, 1);
  View().FillManualTable();
  View().FillLoggingTable();
  EXPECT_EQ(grid.GetCellText(120, 5), "1,23");
  EXPECT_EQ(ManualGrid(0).GetCellText(1, 9), "1,23");
  EXPECT_EQ(state.tables.Sample(RecordCopy::Converted, kSet, 119, sample::kResistance), "1.23");
}

TEST_F(TablePagesTest, AClickOnRowFivePicksRecordFourAndCtrlCFollowsTheSelection) {
  Start();
  Download();
  RecordGridWidget* widget = View().ManualPage()->GridAt(0);
  const GridRect cell = widget->Grid().GetCellRect(5, 2);
  const QPoint centre(cell.left + cell.width / 2, cell.top + cell.height / 2);
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, centre);
  EXPECT_EQ(View().presentation().selectedRecord, 4);

  // One cell selected: Ctrl+C is Copy Graph and leaves the clipboard text alone.
  QApplication::clipboard()->setText("before");
  QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "before");

  // Two cells: Ctrl+C copies them; Ctrl+V stays inert.
  QTest::keyClick(widget, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), " \t ");
  QApplication::clipboard()->setText("x,y");
  QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(widget->Grid().GetCellText(5, 2), "");
}

}  // namespace
}  // namespace qv70

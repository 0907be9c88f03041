// The graph panels of the two pages: what their charts show after new data,
// which clicks change them, Copy Graph on the page in front, and the report
// chart's builders.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include "core/graphs/graph_tables.h"
#include "core/view/commands.h"
#include "gui/chart/graph_chart_ctrl.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/pages/data_pages.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "shell_fixture.h"

namespace qv70 {
namespace {

using testing::ShellTest;

constexpr int kGroupC = 2, kGroupH = 6, kSet = 4;

class GraphPanelsTest : public ShellTest {
 protected:
  // Group C: C0 a step test at 2500 V with an over-range step, C1 a normal
  // test; group H: H0 a step test at 5000 V; set 4: 12 samples at 30 s.
  void Download() {
    RecordTables& t = state.tables;
    const std::array<std::string, 5> volts = {"500", "1000", "1500", "2000", "2500"};
    const std::array<std::string, 5> ohms = {"2000000000", "OF", "5000000000", "4000000000", "3000000000"};
    testing::PutStepRecord(t, kGroupC, 0, {"2500", volts, ohms});
    testing::PutStepRecord(t, kGroupC, 1, {"1000", volts, ohms, "Normal Test"});
    testing::PutStepRecord(t, kGroupH, 0, {"5000", volts, ohms});
    t.recordCount[kGroupC] = 2;
    t.recordCount[kGroupH] = 1;
    testing::PutLoggingSet(t, kSet, "30", testing::SameSamples(12, "1000", "3000000000"));
    t.dataState = DataState::Unsaved;
    View().ShowNewData(false);
  }

  GraphChartCtrl& StepChart() { return *View().ManualPage()->StepGraph()->Chart(); }
  GraphChartCtrl& LoggingChart() { return *View().LoggingPage()->LoggingGraph()->Chart(); }

  void ClickRow(DataPage* page, int row) {
    RecordGridWidget* widget = page->GridAt(page->Tabs()->Current());
    const GridRect cell = widget->Grid().GetCellRect(row, 1);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, {cell.left + cell.width / 2, cell.top + 2});
  }

  void ShowStepFilter() { QTest::mouseClick(View().ManualPage()->DataSelect()->FilterButton(3), Qt::LeftButton); }
};

TEST_F(GraphPanelsTest, BothPanelsShowTheirGraphAfterADownload) {
  Start();
  Download();
  // After a download the step graph is record 1 of the first group, a Normal Test: none.
  EXPECT_EQ(View().presentation().stepGraphReady, 0);
  EXPECT_EQ(StepChart().Chart().SeriesCount(), 0u);
  ChartCtrl& logging = LoggingChart().Chart();
  ASSERT_EQ(logging.SeriesCount(), 2u);
  EXPECT_EQ(logging.Series(0).Points().size(), 12u);
  EXPECT_EQ(logging.BottomAxis().Maximum(), 6.5);
  EXPECT_EQ(logging.LeftAxis().Caption().Text(), "Resistance[GOhms]");

  ClickRow(View().ManualPage(), 1);
  EXPECT_EQ(View().presentation().selectedRecord, 0);
  ASSERT_EQ(StepChart().Chart().SeriesCount(), 2u);
  EXPECT_EQ(StepChart().Chart().Series(0).Points().front(), (ChartPoint{0.5, 2}));
  EXPECT_EQ(StepChart().Chart().BottomAxis().Maximum(), 3);
  // The panel's chart fills it, less its margins.
  ShowStepFilter();
  const QSize panel = View().ManualPage()->StepGraph()->size();
  EXPECT_EQ(StepChart().geometry(), QRect(10, 10, panel.width() - 20, panel.height() - 20));
  EXPECT_LE(StepChart().Chart().PlotRect().right, StepChart().width() - 3);
}

TEST_F(GraphPanelsTest, TitleRowAndLoggingClicksLeaveTheGraphsAlone) {
  CMainFrame& main = Start();
  Download();
  ClickRow(View().ManualPage(), 1);
  ShowStepFilter();
  ASSERT_EQ(View().flags().graphShown, 1);
  const std::vector<ChartPoint> stepLine = StepChart().Chart().Series(0).Points();

  ClickRow(View().ManualPage(), 0);  // the title row
  EXPECT_EQ(View().flags().graphShown, 1);
  EXPECT_EQ(View().presentation().stepGraphReady, 1);
  EXPECT_EQ(View().presentation().selectedRecord, 0);
  EXPECT_EQ(StepChart().Chart().Series(0).Points(), stepLine);

  View().MainTabs()->Bar()->setCurrentIndex(kLoggingTab);
  ASSERT_EQ(View().flags().graphShown, 1);
  // Sample row 3 is no manual record: the selection moves, nothing else.
  ClickRow(View().LoggingPage(), 3);
  EXPECT_EQ(View().presentation().selectedRecord, 2);
  EXPECT_EQ(View().flags().graphShown, 1);
  EXPECT_TRUE(main.Action(kCmdCopyGraph)->isEnabled());
  EXPECT_EQ(StepChart().Chart().Series(0).Points(), stepLine);
  EXPECT_EQ(LoggingChart().Chart().SeriesCount(), 2u);
}

TEST_F(GraphPanelsTest, CopyGraphCopiesTheChartOfThePageInFront) {
  CMainFrame& main = Start();
  Download();
  const struct {
    const char* name;
    int tab;
    bool stepGraph;  // C0 clicked and the step filter chosen
    bool copies;
  } cases[] = {
      {"manual page without a step graph", kManualTab, false, false},
      {"manual page with the step graph", kManualTab, true, true},
      {"logging page", kLoggingTab, true, true},
  };
  for (const auto& c : cases) {
    if (c.stepGraph) {
      View().MainTabs()->Bar()->setCurrentIndex(kManualTab);
      ClickRow(View().ManualPage(), 1);
      ShowStepFilter();
    }
    View().MainTabs()->Bar()->setCurrentIndex(c.tab);
    QApplication::clipboard()->setText("before");
    QTest::keyClick(&main, Qt::Key_Insert, Qt::ControlModifier);
    const GraphChartCtrl& front = c.tab == kManualTab ? StepChart() : LoggingChart();
    EXPECT_EQ(QApplication::clipboard()->mimeData()->hasImage(), c.copies) << c.name;
    if (c.copies) {
      EXPECT_EQ(QApplication::clipboard()->image().size(), front.size()) << c.name;
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GraphPanelsTest, ReportChartBuildsHiddenOnWhite) {
  Start();
  Download();
  const struct {
    const char* name;
    double divisor;
    double built;
  } cases[] = {
      {"step resistance of C0", 1e9, View().PrepareStepResistanceChart(kGroupC, 0)},
      {"step current of C1", 1, View().PrepareStepCurrentChart(kGroupC, 1)},
      {"logging resistance", 1e9, View().PrepareLoggingResistanceChart(kSet)},
      {"logging current", 1, View().PrepareLoggingCurrentChart(kSet)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.built, c.divisor) << c.name;
  GraphChartCtrl& report = *View().ReportChart();
  EXPECT_FALSE(report.isVisible());
  EXPECT_EQ(report.Chart().SeriesCount(), 3u);
  EXPECT_EQ(report.Snapshot().pixel(1, 1), qRgb(255, 255, 255));
  const QSize view = View().size();
  EXPECT_EQ(report.geometry(), QRect(10, 25, view.width() - 20, view.height() / 3 - 25));
}

}  // namespace
}  // namespace qv70

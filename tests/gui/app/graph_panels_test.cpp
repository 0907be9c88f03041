// The graph panels of the two pages: what their charts show, which clicks
// change them, Copy Graph on the page in front, and the report chart.
#include <QApplication>
#include <QClipboard>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/graphs/graph_tables.h"
#include "core/picture/bmp_codec.h"
#include "core/view/commands.h"
#include "gui/chart/graph_chart_ctrl.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/pages/data_pages.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "shell_fixture.h"

namespace qv70 {
namespace {

using test::ShellTest;

constexpr int kGroupC = 2, kGroupH = 6, kSet = 4;

class GraphPanelsTest : public ShellTest {
 protected:
  // Group C: C0 a step test at 2500 V with an over-range step, C1 a normal
  // test; group H: H0 a step test at 5000 V; set 4: 12 samples at 30 s.
  void Download() {
    RecordTables& t = state.tables;
    const std::array<std::string, 5> volts = {"500", "1000", "1500", "2000", "2500"};
    const std::array<std::string, 5> ohms = {"2000000000", "OF", "5000000000", "4000000000", "3000000000"};
    test::PutStepRecord(t, kGroupC, 0, {"2500", volts, ohms});
    test::PutStepRecord(t, kGroupC, 1, {"1000", volts, ohms, "Normal Test"});
    test::PutStepRecord(t, kGroupH, 0, {"5000", volts, ohms});
    t.recordCount[kGroupC] = 2;
    t.recordCount[kGroupH] = 1;
    test::PutLoggingSet(t, kSet, "30", test::SameSamples(12, "1000", "3000000000"));
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

// The logging graph shows after the download; a click on C0 draws its step
// graph. The title row and a logging row then change no graph and leave
// Copy Graph enabled.
TEST_F(GraphPanelsTest, OnlyAManualRecordRowChangesTheStepGraph) {
  CMainFrame& main = Start();
  Download();
  ASSERT_EQ(LoggingChart().Chart().SeriesCount(), 2u);
  EXPECT_EQ(LoggingChart().Chart().Series(0).Points().size(), 12u);
  EXPECT_EQ(StepChart().Chart().SeriesCount(), 0u);  // record 1 of group C is a Normal Test
  ClickRow(View().ManualPage(), 1);
  ShowStepFilter();
  ASSERT_EQ(View().flags().graphShown, 1);
  ASSERT_EQ(StepChart().Chart().SeriesCount(), 2u);
  const std::vector<ChartPoint> stepLine = StepChart().Chart().Series(0).Points();
  EXPECT_EQ(stepLine.front(), (ChartPoint{0.5, 2}));

  ClickRow(View().ManualPage(), 0);  // the title row
  EXPECT_EQ(View().flags().graphShown, 1);
  EXPECT_EQ(View().presentation().stepGraphReady, 1);
  EXPECT_EQ(View().presentation().selectedRecord, 0);
  View().MainTabs()->Bar()->setCurrentIndex(kLoggingTab);
  ASSERT_EQ(View().flags().graphShown, 1);
  ClickRow(View().LoggingPage(), 3);
  EXPECT_EQ(View().presentation().selectedRecord, 2);
  EXPECT_EQ(View().flags().graphShown, 1);
  EXPECT_TRUE(main.Action(kCmdCopyGraph)->isEnabled());
  EXPECT_EQ(StepChart().Chart().Series(0).Points(), stepLine);
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
    const QSize front = (c.tab == kManualTab ? StepChart() : LoggingChart()).size();
    EXPECT_EQ(QApplication::clipboard()->image().size(), c.copies ? front : QSize(0, 0)) << c.name;
  }
  // The hidden report chart builds on white.
  EXPECT_EQ(View().PrepareStepResistanceChart(kGroupC, 0), 1e9);
  EXPECT_FALSE(View().ReportChart()->isVisible());
  EXPECT_EQ(View().ReportChart()->Snapshot().pixel(1, 1), qRgb(255, 255, 255));
}

TEST_F(GraphPanelsTest, GraphPictureCommandWritesTheReportChartIntoDat) {
  CMainFrame& main = Start();
  Download();
  View().ShowNewData(false);
  View().PrepareStepResistanceChart(kGroupC, 0);
  const std::string temp = dir.File("DAT/Temp.bmp");
  const struct {
    const char* name;
    const char* makeBefore;  // "" nothing, "dir" the DAT folder, "file" a file named DAT
    bool writes;
  } cases[] = {
      {"no DAT folder", "", false},
      {"DAT is a file", "file", false},
      {"DAT folder", "dir", true},
  };
  for (const auto& c : cases) {
    const std::string made = c.makeBefore;
    if (made == "dir") {
      std::remove(dir.File("DAT").c_str());
      ASSERT_EQ(mkdir(dir.File("DAT").c_str(), 0755), 0);
    }
    if (made == "file") test::WriteWholeFile(dir.File("DAT"), "x");
    ui.messages.clear();
    main.RunCommand(kCmdSaveReportPicture);
    EXPECT_TRUE(ui.messages.empty()) << c.name;
    const std::string bytes = test::ReadWholeFile(temp);
    EXPECT_EQ(!bytes.empty(), c.writes) << c.name;
    if (!c.writes) continue;
    const ResultOf<PictureImage> decoded = DecodeBmp(bytes);
    ASSERT_TRUE(decoded.ok) << decoded.message;
    const QImage shown = View().ReportChart()->Snapshot();
    EXPECT_EQ(decoded.value.Width(), shown.width());
    EXPECT_EQ(decoded.value.Height(), shown.height());
    EXPECT_EQ(decoded.value.BitsPerPixel(), 24);
    for (const QPoint at : {QPoint(1, 1), QPoint(shown.width() / 2, shown.height() / 2)}) {
      const QRgb pixel = shown.pixel(at);
      EXPECT_EQ(decoded.value.ColourAt(at.x(), at.y()),
                (Rgb{static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
                     static_cast<std::uint8_t>(qBlue(pixel))}));
    }
  }
}

}  // namespace
}  // namespace qv70

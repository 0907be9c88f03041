// The main view: its initialisation from the program folder, the page switch,
// the refresh after new data, the graph switches and the filter bar.
#include <QCheckBox>
#include <QPointer>
#include <QRadioButton>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/files/comment_file.h"
#include "core/files/data_file.h"
#include "core/view/commands.h"
#include "gui/chart/graph_chart_ctrl.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/pages/data_pages.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "gui/pages/table_panels.h"
#include "gui/report/report_pages.h"
#include "gui/report/set_report_dialog.h"
#include "shell_fixture.h"

namespace qv70 {
namespace {

using test::ShellTest;
using test::WriteWholeFile;

QStringList Tabs(TabFrame* tabs) {
  QStringList texts;
  for (int i = 0; i < tabs->Count(); ++i) texts << tabs->TabText(i);
  return texts;
}

// Records in groups C and H (H0 a step voltage test) and samples in set 4,
// as a download or an open leaves them.
void FillTables(RecordTables& tables, bool manual, bool logging) {
  if (manual) {
    tables.recordCount[2] = 3;
    tables.recordCount[6] = 1;
    for (int r = 0; r < 3; ++r) {
      tables.Manual(RecordCopy::Raw, 2, r, field::kTestType) = "Normal Test";
      tables.Manual(RecordCopy::Converted, 2, r, field::kTestType) = "Normal Test";
    }
    tables.Manual(RecordCopy::Raw, 6, 0, field::kTestType) = "Step Voltage Test";
    tables.Manual(RecordCopy::Converted, 6, 0, field::kTestType) = "Step Voltage Test";
  }
  if (logging) {
    tables.sampleCount[4] = 5;
    const char* header[kHeaderFieldCount] = {"L4", "Logging", "2026-12-01", "10:00:00", "30", "23.0", "45.0", "1000"};
    for (int f = 0; f < kHeaderFieldCount; ++f) {
      tables.Header(RecordCopy::Raw, 4, f) = header[f];
      tables.Header(RecordCopy::Converted, 4, f) = header[f];
    }
  }
}

void NewData(ProgramState& state, CMyQV70ProjectView& view, bool manual, bool logging, bool open) {
  FillTables(state.tables, manual, logging);
  state.tables.dataState = open ? DataState::Saved : DataState::Unsaved;
  view.ShowNewData(open);
}

TEST_F(ShellTest, ViewStartsWithTheManualPageInFrontAndNothingEnabled) {
  Start();
  CMyQV70ProjectView& view = View();
  EXPECT_EQ(Tabs(view.MainTabs()), (QStringList{"Manual Data", "Logging Data"}));
  EXPECT_EQ(view.FrontTab(), kManualTab);
  EXPECT_TRUE(view.ManualPage()->isVisible());
  EXPECT_FALSE(view.LoggingPage()->isVisible());
  EXPECT_EQ(Tabs(view.ManualPage()->GroupTabs()),
            (QStringList{"GroupA", "GroupB", "GroupC", "GroupD", "GroupE", "GroupF", "GroupH", "GroupJ",
                         "GroupN", "GroupP"}));
  EXPECT_EQ(Tabs(view.LoggingPage()->SetTabs()).size(), 10);
  EXPECT_EQ(view.LoggingPage()->SetTabs()->TabText(9), "Data Lr9");
  EXPECT_FALSE(view.ManualPage()->isEnabled());
  EXPECT_FALSE(view.LoggingPage()->isEnabled());
  EXPECT_FALSE(view.ManualPage()->GroupTabs()->isEnabled());
  EXPECT_FALSE(view.LoggingPage()->SetTabs()->isEnabled());
  EXPECT_FALSE(view.ManualPage()->DataSelect()->isEnabled());
  EXPECT_EQ(view.ManualPage()->DataSelect()->Choice(), -1);
  EXPECT_TRUE(view.LoggingPage()->LoggingGraphTicked());
  EXPECT_EQ(view.LoggingPage()->Header()->Shown().setVoltageUnit, "KV");
  EXPECT_EQ(state.tables.dataState, DataState::NoData);
  EXPECT_FALSE(view.ReportChart()->isVisible());
  const CommandFlags& flags = view.flags();
  EXPECT_EQ(flags.saveEnabled + flags.graphShown + flags.reportEnabled + flags.rtfEnabled, 0);
}

struct StartSettingsRow {
  const char* name;
  const char* config;  // null: no Config.ini
  int decimal, separator;
  const char* decimalChar;
  const char* company;
};

TEST_F(ShellTest, ViewReadsTheNumberFormatAndReportTextsAtStart) {
  const StartSettingsRow rows[] = {
      {"no settings file", nullptr, 0, 0, ".", ""},
      {"only WNDRECT", "[WNDRECT]\r\nLEFT=0\r\nTOP=0\r\nRIGHT=800\r\nBOTTOM=600\r\n", 0, 0, ".", ""},
      {"comma decimal forces semicolon", "[CUSTOMIZE]\r\nDECIMAL=1\r\nSEPARATOR=0\r\n", 1, 1, ",", ""},
      {"semicolon with period", "[CUSTOMIZE]\r\nDECIMAL=0\r\nSEPARATOR=1\r\n", 0, 1, ".", ""},
      {"report texts", "[INFO]\r\nCOMPANYNAME=Acme Test Lab\r\nAUTHOR=K. Sato\r\n", 0, 0, ".", "Acme Test Lab"},
  };
  for (const StartSettingsRow& row : rows) {
    test::FreshProgram fresh(clock, shell);
    auto& [folder, here, program, script, main] = fresh;
    if (row.config) WriteWholeFile(folder.File("Config.ini"), row.config);
    ASSERT_TRUE(main.Create());
    EXPECT_EQ(program.numberFormat.decimal, row.decimal) << row.name;
    EXPECT_EQ(program.numberFormat.separator, row.separator) << row.name;
    EXPECT_EQ(program.tables.decimalChar, row.decimalChar) << row.name;
    EXPECT_EQ(main.View()->reportStart().info.companyName, row.company) << row.name;
    EXPECT_TRUE(script.messages.empty()) << row.name;
    if (row.config) {
      // Reading changes nothing in the file: the forced separator stays in memory.
      EXPECT_EQ(test::ReadWholeFile(folder.File("Config.ini")), row.config) << row.name;
    }
  }
}

TEST_F(ShellTest, ViewLoadsTheSavedCommentAndTodaysDate) {
  const std::string rtf = "{\\rtf1 Tested at 500 V}";
  // Comment.inl holds the comment behind its length prefix.
  WriteWholeFile(dir.File("Comment.inl"), EncodeCommentFile(rtf));
  clock.Set(1765260000);  // 2025-12-09 06:00 UTC
  Start(false);
  EXPECT_TRUE(View().reportStart().commentLoaded);
  EXPECT_EQ(View().reportStart().comment, rtf);
  EXPECT_EQ(View().reportStart().dateText, ReportDateText(1765260000));
  EXPECT_EQ(ReportDateText(1765260000).substr(0, 7), "2025-12");  // no leading zeros, year first
}

TEST_F(ShellTest, ViewTakesTheCommentFromBehindItsLengthPrefix) {
  const std::string longComment(300, 'c');
  const struct {
    const char* name;
    const char* file;  // null: no Comment.inl
    std::string bytes;
    bool loaded;
    std::string comment;
  } rows[] = {
      {"no file", nullptr, "", false, ""},
      {"one-byte prefix", "Comment.inl", EncodeCommentFile("{\\rtf1 x}"), true, "{\\rtf1 x}"},
      {"three-byte prefix", "Comment.inl", EncodeCommentFile(longComment), true, longComment},
      {"empty comment", "Comment.inl", EncodeCommentFile(""), true, ""},
      {"cut short", "Comment.inl", EncodeCommentFile("{\\rtf1 x}").substr(0, 4), false, ""},
      {"empty file", "Comment.inl", "", false, ""},
  };
  for (const auto& row : rows) {
    test::FreshProgram fresh(clock, shell);
    auto& [folder, here, program, script, main] = fresh;
    if (row.file) WriteWholeFile(folder.File(row.file), row.bytes);
    ASSERT_TRUE(main.Create()) << row.name;
    EXPECT_EQ(main.View()->reportStart().commentLoaded, row.loaded) << row.name;
    EXPECT_EQ(main.View()->reportStart().comment, row.comment) << row.name;
    EXPECT_TRUE(script.messages.empty()) << row.name;
  }
}

TEST_F(ShellTest, AtStartEitherTabCanBeChosen) {
  Start();
  CMyQV70ProjectView& view = View();
  view.MainTabs()->Bar()->setCurrentIndex(kLoggingTab);
  EXPECT_EQ(view.FrontTab(), kLoggingTab);
  EXPECT_TRUE(view.LoggingPage()->isVisible());
  EXPECT_FALSE(view.ManualPage()->isVisible());
  EXPECT_EQ(view.flags().graphShown, 0);  // nothing downloaded: nothing to copy
  // The page in front is enabled; its set tabs wait for data.
  EXPECT_TRUE(view.LoggingPage()->isEnabled());
  EXPECT_FALSE(view.LoggingPage()->SetTabs()->isEnabledTo(view.LoggingPage()));
  view.MainTabs()->Bar()->setCurrentIndex(kManualTab);
  EXPECT_TRUE(view.ManualPage()->isVisible());
  EXPECT_FALSE(view.LoggingPage()->isVisible());
}

struct NewDataRow {
  const char* name;
  bool manual, logging, open;
  int frontBefore;
  int frontAfter;
  QStringList groupTabs;
  QStringList setTabs;
  int graphShown;
};

TEST_F(ShellTest, NewDataRebuildsTabsSwitchesPagesAndSetsFlags) {
  const NewDataRow rows[] = {
      {"open, both, manual front", true, true, true, kManualTab, kManualTab, {"GroupC", "GroupH"}, {"Data Lr4"}, 0},
      {"open, logging only, manual front", false, true, true, kManualTab, kLoggingTab, {}, {"Data Lr4"}, 1},
      {"open, manual only, logging front", true, false, true, kLoggingTab, kManualTab, {"GroupC", "GroupH"}, {}, 0},
      {"open, both, logging front", true, true, true, kLoggingTab, kLoggingTab, {"GroupC", "GroupH"}, {"Data Lr4"}, 1},
      {"download, both, logging front", true, true, false, kLoggingTab, kLoggingTab, {"GroupC", "GroupH"},
       {"Data Lr4"}, 0},
  };
  for (const NewDataRow& row : rows) {
    test::FreshProgram fresh(clock, shell);
    auto& [folder, here, program, script, main] = fresh;
    ASSERT_TRUE(main.Create());
    main.show();
    CMyQV70ProjectView& view = *main.View();
    view.MainTabs()->Bar()->setCurrentIndex(row.frontBefore);
    NewData(program, view, row.manual, row.logging, row.open);

    EXPECT_EQ(view.FrontTab(), row.frontAfter) << row.name;
    EXPECT_EQ(view.ManualPage()->isVisible(), row.frontAfter == kManualTab) << row.name;
    EXPECT_EQ(view.LoggingPage()->isVisible(), row.frontAfter == kLoggingTab) << row.name;
    EXPECT_EQ(Tabs(view.ManualPage()->GroupTabs()), row.groupTabs) << row.name;
    EXPECT_EQ(Tabs(view.LoggingPage()->SetTabs()), row.setTabs) << row.name;
    EXPECT_EQ(view.flags().saveEnabled, 1) << row.name;
    EXPECT_EQ(view.flags().reportEnabled, 1) << row.name;
    EXPECT_EQ(view.flags().rtfEnabled, 0) << row.name;
    EXPECT_EQ(view.flags().graphShown, row.graphShown) << row.name;
    EXPECT_TRUE(main.Action(kCmdSave)->isEnabled()) << row.name;
    EXPECT_TRUE(main.Action(kCmdSetReport)->isEnabled()) << row.name;
    EXPECT_EQ(main.Action(kCmdCopyGraph)->isEnabled(), row.graphShown == 1) << row.name;
    EXPECT_TRUE(view.ManualPage()->GroupTabs()->isEnabledTo(view.ManualPage())) << row.name;
    EXPECT_EQ(view.ManualPage()->DataSelect()->Choice(), 0) << row.name;
    program.tables.dataState = DataState::Saved;
    main.close();
  }
}

TEST_F(ShellTest, ChoosingAPageWithoutDataKeepsTheOther) {
  Start();
  CMyQV70ProjectView& view = View();
  NewData(state, view, true, false, true);
  view.MainTabs()->Bar()->setCurrentIndex(kLoggingTab);
  EXPECT_EQ(view.FrontTab(), kManualTab);
  EXPECT_TRUE(view.ManualPage()->isVisible());
  EXPECT_FALSE(view.LoggingPage()->isVisible());
}

TEST_F(ShellTest, TablePanelsAndLoggingInfoFollowTheTabInFront) {
  Start();
  CMyQV70ProjectView& view = View();
  NewData(state, view, true, true, true);
  // The first group with records is in front: group C with its 3 records.
  EXPECT_EQ(view.ManualPage()->FrontGroup(), 2);
  EXPECT_EQ(view.ManualPage()->Table(0)->shownIndex(), 2);
  EXPECT_EQ(view.ManualPage()->Table(0)->shownCount(), 3);
  view.ManualPage()->GroupTabs()->Bar()->setCurrentIndex(1);
  EXPECT_EQ(view.ManualPage()->Table(1)->shownIndex(), 6);
  EXPECT_TRUE(view.ManualPage()->Table(1)->isVisibleTo(view.ManualPage()));
  EXPECT_FALSE(view.ManualPage()->Table(0)->isVisibleTo(view.ManualPage()));

  EXPECT_EQ(view.LoggingPage()->Table(0)->shownIndex(), 4);
  EXPECT_EQ(view.LoggingPage()->Table(0)->shownCount(), 5);
  const LoggingHeaderPanel::Values shown = view.LoggingPage()->Header()->Shown();
  EXPECT_EQ(shown.interval, "30");
  EXPECT_EQ(shown.intervalUnit, "s");
  EXPECT_EQ(shown.setVoltageUnit, "kV");
  EXPECT_EQ(shown.temperature, "23.0");
  EXPECT_EQ(shown.humidity, "45.0");
}

// Each tab stands for its group or set whatever its caption says, and each
// of the ten table slots keeps the grid put into it at the slot's full size.
TEST_F(ShellTest, TabsCarryTheirGroupAndSlotsHoldTheirGrid) {
  Start();
  CMyQV70ProjectView& view = View();
  NewData(state, view, true, true, true);
  TabFrame* groups = view.ManualPage()->GroupTabs();
  ASSERT_EQ(groups->Count(), 2);
  EXPECT_EQ(groups->TabValue(0), 2);
  EXPECT_EQ(groups->TabValue(1), 6);
  EXPECT_EQ(groups->TabValue(2), -1);
  groups->Bar()->setTabText(1, "renamed");
  groups->Bar()->setCurrentIndex(1);
  EXPECT_EQ(view.ManualPage()->FrontGroup(), 6);
  EXPECT_EQ(view.ManualPage()->Table(1)->shownIndex(), 6);
  EXPECT_EQ(view.MainTabs()->CurrentValue(), kManualTab);

  ASSERT_TRUE(view.ManualPage()->Table(1)->isVisible());
  // Every slot holds the grid of its table.
  for (int position = 0; position < DataPage::kPanels; ++position) {
    EXPECT_NE(qobject_cast<RecordGridWidget*>(view.ManualPage()->Table(position)->Grid()), nullptr);
    EXPECT_NE(qobject_cast<RecordGridWidget*>(view.LoggingPage()->Table(position)->Grid()), nullptr);
  }

  TablePanel slot(TablePanel::Kind::ManualRecords, 0);
  slot.show();
  QPointer<QWidget> first = new QWidget;
  slot.SetGrid(first);
  EXPECT_EQ(first->parentWidget(), &slot);
  EXPECT_EQ(first->geometry(), slot.contentsRect());
  slot.resize(300, 200);
  EXPECT_EQ(first->geometry(), slot.contentsRect());
  auto* second = new QWidget;
  slot.SetGrid(second);
  EXPECT_TRUE(first.isNull());  // the slot owned the grid it replaced
  EXPECT_EQ(slot.Grid(), second);
}

TEST_F(ShellTest, LoggingInfoShowsTheDecimalComma) {
  state.SetNumberFormat(1, 1);
  Start();
  NewData(state, View(), false, true, true);
  EXPECT_EQ(View().LoggingPage()->Header()->Shown().temperature, "23,0");
  EXPECT_EQ(state.tables.Header(RecordCopy::Converted, 4, header::kTemperature), "23.0");
}

TEST_F(ShellTest, StepGraphFollowsTheFilterAndTheRecordClicked) {
  CMainFrame& main = Start();
  CMyQV70ProjectView& view = View();
  NewData(state, view, true, false, false);
  DataSelectBar* bar = view.ManualPage()->DataSelect();
  EXPECT_FALSE(bar->StepGraphBox()->isEnabled());
  EXPECT_FALSE(main.Action(kCmdCopyGraph)->isEnabled());  // after a download until a graph shows

  // Group H, record 0 is a step voltage test: its graph can be shown and copied.
  view.ManualPage()->GroupTabs()->Bar()->setCurrentIndex(1);
  view.ShowStepGraph(0);
  EXPECT_EQ(view.presentation().stepGraphReady, 1);
  QTest::mouseClick(bar->FilterButton(3), Qt::LeftButton);
  EXPECT_EQ(view.presentation().testTypeFilter, 3);
  EXPECT_TRUE(bar->StepGraphBox()->isEnabled());
  EXPECT_TRUE(bar->StepGraphBox()->isChecked());
  EXPECT_EQ(view.flags().graphShown, 1);
  EXPECT_TRUE(main.Action(kCmdCopyGraph)->isEnabled());
  EXPECT_GT(view.ManualPage()->StepGraph()->height(), 100);

  // A record that is not a step voltage test: nothing to copy any more.
  view.ShowStepGraph(1);
  EXPECT_EQ(view.flags().graphShown, 0);
  EXPECT_EQ(view.presentation().stepGraphReady, 0);
  EXPECT_FALSE(main.Action(kCmdCopyGraph)->isEnabled());
  view.ShowStepGraph(-1);  // the title row
  EXPECT_EQ(view.flags().graphShown, 0);

  QTest::mouseClick(bar->FilterButton(1), Qt::LeftButton);
  EXPECT_EQ(view.presentation().testTypeFilter, 1);
  EXPECT_FALSE(bar->StepGraphBox()->isEnabled());
  EXPECT_FALSE(bar->StepGraphBox()->isChecked());
  EXPECT_LE(view.ManualPage()->StepGraph()->height(), 1);
}

TEST_F(ShellTest, ResizingKeepsThePagesAndPanelsInPlace) {
  CMainFrame& main = Start();
  CMyQV70ProjectView& view = View();
  main.resize(1000, 760);
  QApplication::processEvents();
  const QSize client = view.size();
  const ViewLayout layout = LayoutView(client.width(), client.height());
  EXPECT_EQ(view.MainTabs()->geometry(), QRect(0, 0, client.width(), client.height()));
  EXPECT_EQ(view.ManualPage()->geometry(),
            QRect(layout.page.left, layout.page.top, layout.page.Width(), layout.page.Height()));
  const QSize page = view.ManualPage()->size();
  const ManualPageLayout manual = LayoutManualPage(page.width(), page.height(), false);
  EXPECT_EQ(view.ManualPage()->DataSelect()->geometry(),
            QRect(manual.dataSelect.left, manual.dataSelect.top, manual.dataSelect.Width(),
                  manual.dataSelect.Height()));
  EXPECT_EQ(view.ManualPage()->GroupTabs()->geometry().height(), page.height() - 60);

  // The logging graph is ticked at start: the graph takes the lower two fifths.
  view.MainTabs()->Bar()->setCurrentIndex(kLoggingTab);
  main.resize(1000, 800);
  QApplication::processEvents();
  const QSize logging = view.LoggingPage()->size();
  const LoggingPageLayout expected = LayoutLoggingPage(logging.width(), logging.height(), true);
  EXPECT_EQ(view.LoggingPage()->LoggingGraph()->geometry().top(), expected.loggingGraph.top);
  EXPECT_EQ(view.LoggingPage()->Header()->geometry().left(), logging.width() - 200);
  view.LoggingPage()->Header()->LoggingGraphBox()->click();
  EXPECT_EQ(view.LoggingPage()->LoggingGraph()->height(), 0);
  EXPECT_EQ(view.flags().graphShown, 0);
}

TEST_F(ShellTest, OpenThroughTheMenuShowsTheFileAndNeverAsksToSaveItAgain) {
  // A data file written from tables holding group C and logging set 4.
  ProgramState source;
  FillTables(source.tables, true, true);
  for (int s = 0; s < 5; ++s) {
    source.tables.Sample(RecordCopy::Raw, 4, s, sample::kOutputVoltage) = "1000";
    source.tables.Sample(RecordCopy::Raw, 4, s, sample::kResistance) = "2000000000";
  }
  source.tables.info.idn = "ZAVEL QV70 Ver1.00";
  source.tables.info.piT1 = "1";
  source.tables.info.piT2 = "10";
  source.tables.info.stepInterval = "1";
  const std::string path = dir.File("measured.csv");
  ASSERT_TRUE(WriteDataFile(path, source.tables, source.numberFormat).ok);

  CMainFrame& main = Start();
  ui.openNames.push_back(path);
  QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text;
  EXPECT_EQ(state.tables.dataState, DataState::Saved);
  EXPECT_EQ(Tabs(View().ManualPage()->GroupTabs()), (QStringList{"GroupC", "GroupH"}));
  EXPECT_EQ(Tabs(View().LoggingPage()->SetTabs()), (QStringList{"Data Lr4"}));
  EXPECT_TRUE(main.Action(kCmdSave)->isEnabled());
  EXPECT_TRUE(main.close());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ShellTest, SetReportFinishedEnablesRtfAndOpensThePreviewUntilNewData) {
  Start();
  CMyQV70ProjectView& view = View();
  NewData(state, view, true, false, false);
  int previews = 0;
  view.reportCommands().printPreview = [&] { ++previews; };
  enum class Then { Cancel, Finish, Download };
  struct Row {
    const char* name;
    Then then;
    int rtfEnabled, previews;
  };
  const Row rows[] = {
      {"cancelled", Then::Cancel, 0, 0},
      {"finished", Then::Finish, 1, 1},
      {"cancelled after a finish", Then::Cancel, 1, 1},
      {"a new download", Then::Download, 0, 1},
  };
  for (const Row& row : rows) {
    if (row.then == Then::Download) {
      NewData(state, view, true, false, false);
    } else {
      // The window runs modally: the clicks come from its event loop.
      QTimer::singleShot(0, &view, [&view, &row] {
        CSetReportDlg* dialog = view.SetReportDialog();
        ASSERT_NE(dialog, nullptr);
        if (row.then == Then::Cancel) {
          dialog->CancelButton()->click();
          return;
        }
        dialog->OkButton()->click();
        if (!dialog->ItemPage()->SelectAll()->isChecked()) dialog->ItemPage()->SelectAll()->click();
        dialog->OkButton()->click();
      });
      view.OnSetReport();
    }
    EXPECT_EQ(view.flags().rtfEnabled, row.rtfEnabled) << row.name;
    EXPECT_EQ(previews, row.previews) << row.name;
  }
  EXPECT_EQ(view.SetReportDialog()->Settings().normalCount, 3);
}

}  // namespace
}  // namespace qv70

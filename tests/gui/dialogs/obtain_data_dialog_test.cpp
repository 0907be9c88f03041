#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "core/data/program_state.h"
#include "core/instrument/messages.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "gui/dialogs/obtain_data_dialog.h"
#include "support/qt/application.h"
#include "support/qt/cursor_watch.h"
#include "support/sim_process.h"

namespace qv70 {
namespace {

using namespace instrument_message;

using test::SimProcess;

const char* const kBaseCaptions[20] = {
    "Group A",  "Group B",  "Group C",  "Group D",  "Group E",  "Group F",  "Group H",
    "Group J",  "Group N",  "Group P",  "Data Lr0", "Data Lr1", "Data Lr2", "Data Lr3",
    "Data Lr4", "Data Lr5", "Data Lr6", "Data Lr7", "Data Lr8", "Data Lr9"};

// The count a counted caption shows ("Group A ... 3" -> 3), or -1 without a suffix.
int CaptionCount(const QCheckBox* box) {
  static const QRegularExpression suffix(QStringLiteral(" \\.\\.\\. (\\d+)$"));
  const auto match = suffix.match(box->text());
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

class ObtainDataDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  std::unique_ptr<CObtainDataDlg> MakeDialog(const Environment& env) {
    return std::make_unique<CObtainDataDlg>(
        state, ui, env, [this](const std::string& text) { statusLine.push_back(text); },
        [this] {
          ++viewRefreshes;
          refreshedWithUnsaved = state.tables.dataState == DataState::Unsaved;
        });
  }
  std::unique_ptr<CObtainDataDlg> MakeDialog() { return MakeDialog(environment); }

  // Marks the tables with data from before the dialog, to see whether it survives.
  void FillOldData() {
    state.tables.Manual(RecordCopy::Raw, 0, 0, field::kDataNo) = "old";
    state.tables.Manual(RecordCopy::Converted, 0, 0, field::kDataNo) = "old";
    state.tables.recordCount[0] = 1;
    state.tables.info.idn = "old idn";
    state.tables.dataState = DataState::Saved;
  }
  void ExpectOldData() {
    EXPECT_EQ(state.tables.Manual(RecordCopy::Raw, 0, 0, field::kDataNo), "old");
    EXPECT_EQ(state.tables.Manual(RecordCopy::Converted, 0, 0, field::kDataNo), "old");
    EXPECT_EQ(state.tables.recordCount[0], 1);
    EXPECT_EQ(state.tables.info.idn, "old idn");
    EXPECT_EQ(state.tables.dataState, DataState::Saved);
  }

  // The first `n` boxes of groups (from 0) or sets (from 10) that hold data.
  std::vector<int> BoxesWithData(CObtainDataDlg& dialog, int from, int n) {
    std::vector<int> found;
    for (int index = from; index < from + 10 && static_cast<int>(found.size()) < n; ++index) {
      if (CaptionCount(dialog.DataBox(index)) > 0) found.push_back(index);
    }
    return found;
  }

  ProgramState state;
  ScriptedUiServices ui;
  Environment environment{QV70_BIN_DIR, nullptr};
  std::vector<std::string> statusLine;
  int viewRefreshes = 0;
  bool refreshedWithUnsaved = false;
};

TEST_F(ObtainDataDialogTest, OpensFreshWithOnlySelectDataAndCancel) {
  auto dialog = MakeDialog();
  EXPECT_EQ(dialog->windowTitle(), "Obtain Data");
  for (int index = 0; index < CObtainDataDlg::kBoxCount; ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(dialog->DataBox(index)->text(), kBaseCaptions[index]);
    EXPECT_FALSE(dialog->DataBox(index)->isEnabled());
    EXPECT_FALSE(dialog->DataBox(index)->isChecked());
  }
  const struct {
    QPushButton* button;
    const char* caption;
    bool enabled;
  } rows[] = {{dialog->SelectDataButton(), "Select Data", true},
              {dialog->SelectAllButton(), "Select All", false},
              {dialog->ReselectionButton(), "Reselection", false},
              {dialog->ObtainDataButton(), "Obtain Data", false},
              {dialog->CancelButton(), "Cancel", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.caption);
    EXPECT_EQ(row.button->text(), row.caption);
    EXPECT_EQ(row.button->isEnabled(), row.enabled);
  }
  EXPECT_TRUE(dialog->ProgressBar()->isHidden());
  EXPECT_EQ(dialog->ProgressBar()->maximum(), 100);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ObtainDataDialogTest, CancelEmptiesTheStatusLineAndCloses) {
  auto dialog = MakeDialog();
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  dialog->CancelButton()->click();
  EXPECT_EQ(finished.count(), 1);
  ASSERT_FALSE(statusLine.empty());
  EXPECT_EQ(statusLine.back(), "");
}

TEST_F(ObtainDataDialogTest, WithoutAnInstrumentSelectDataCloses) {
  struct Row {
    const char* name;
    bool library;                  // the library is in the program directory
    std::vector<std::string> sim;  // simulator arguments; empty: none runs
  };
  test::TempDir empty;
  std::vector<Row> rows = {{"no_library", false, {}}};
  if (test::SimMissing().empty()) rows.push_back({"instrument_absent", true, {"--fault", "absent"}});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ui.messages.clear();
    std::unique_ptr<SimProcess> sim;
    if (!row.sim.empty()) {
      sim = std::make_unique<SimProcess>();
      ASSERT_TRUE(sim->Start(row.sim)) << row.name;
    }
    Environment env{row.library ? QV70_BIN_DIR : empty.path(), nullptr};
    auto dialog = MakeDialog(env);
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    dialog->SelectDataButton()->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kNoInstrument);
    EXPECT_EQ(finished.count(), 1);
    if (sim) {
      EXPECT_TRUE(sim->Log().empty());
    }
  }
}

TEST_F(ObtainDataDialogTest, SelectDataCountsAndCaptionsTheBoxes) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  auto dialog = MakeDialog();
  dialog->SelectDataButton()->click();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(sim.Log(), std::vector<std::string>{":MEM:DATA? COUNT"});
  int total = 0;
  int withData = 0;
  for (int index = 0; index < CObtainDataDlg::kBoxCount; ++index) {
    SCOPED_TRACE(index);
    QCheckBox* box = dialog->DataBox(index);
    const int count = CaptionCount(box);
    ASSERT_GE(count, 0) << box->text().toStdString();
    EXPECT_EQ(box->text().toStdString(),
              std::string(kBaseCaptions[index]) + " ... " + std::to_string(count));
    EXPECT_EQ(box->isEnabled(), count > 0);
    EXPECT_FALSE(box->isChecked());
    total += count;
    withData += count > 0;
  }
  ASSERT_GT(withData, 0) << "the demo instrument holds data";
  EXPECT_TRUE(dialog->SelectAllButton()->isEnabled());
  EXPECT_TRUE(dialog->ReselectionButton()->isEnabled());
  EXPECT_TRUE(dialog->ObtainDataButton()->isEnabled());
  ASSERT_FALSE(statusLine.empty());
  EXPECT_EQ(statusLine.back(), std::string(kDataTotalText) + std::to_string(total));

  // A second count does not add a second suffix.
  dialog->SelectDataButton()->click();
  for (int index = 0; index < CObtainDataDlg::kBoxCount; ++index) {
    EXPECT_EQ(dialog->DataBox(index)->text().count("..."), 1) << index;
  }

  // The selection sum follows the ticks; Select All ticks every box with data.
  const std::vector<int> two = BoxesWithData(*dialog, 0, 2);
  ASSERT_EQ(two.size(), 2u);
  dialog->DataBox(two[0])->click();
  dialog->DataBox(two[1])->click();
  EXPECT_EQ(statusLine.back(),
            std::string(kSelectNumberText) + std::to_string(CaptionCount(dialog->DataBox(two[0])) +
                                                            CaptionCount(dialog->DataBox(two[1]))));
  dialog->DataBox(two[1])->click();
  EXPECT_EQ(statusLine.back(),
            std::string(kSelectNumberText) + std::to_string(CaptionCount(dialog->DataBox(two[0]))));
  dialog->SelectAllButton()->click();
  EXPECT_EQ(statusLine.back(), std::string(kSelectNumberText) + std::to_string(total));
  for (int index = 0; index < CObtainDataDlg::kBoxCount; ++index) {
    EXPECT_EQ(dialog->DataBox(index)->isChecked(), CaptionCount(dialog->DataBox(index)) > 0);
  }
  dialog->ReselectionButton()->click();
  EXPECT_EQ(statusLine.back(), std::string(kSelectNumberText) + "0");
  for (int index = 0; index < CObtainDataDlg::kBoxCount; ++index) {
    EXPECT_FALSE(dialog->DataBox(index)->isChecked());
  }
}

TEST_F(ObtainDataDialogTest, ObtainDataWithNothingTickedWarnsAndStays) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  auto dialog = MakeDialog();
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  dialog->SelectDataButton()->click();
  dialog->ObtainDataButton()->click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kNothingSelected);
  EXPECT_EQ(ui.messages[0].caption, kWarningCaption);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_EQ(sim.Log().size(), 1u);
  EXPECT_TRUE(dialog->ObtainDataButton()->isEnabled());
}

TEST_F(ObtainDataDialogTest, DownloadSendsExactlyTheChosenCommands) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  struct Row {
    const char* name;
    bool groups;
  };
  for (const Row& row : {Row{"only_data_lr2", false}, Row{"one_group_not_full", true}}) {
    SCOPED_TRACE(row.name);
    ui.messages.clear();
    viewRefreshes = 0;
    state.tables.Reset();
    auto dialog = MakeDialog();
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    dialog->SelectDataButton()->click();
    // "Data Lr2", or the first group holding fewer than ten records: its ten
    // record commands are sent whatever its count.
    int index = 12;
    if (row.groups) {
      for (index = 0; index < 10; ++index) {
        const int held = CaptionCount(dialog->DataBox(index));
        if (held > 0 && held < 10) break;
      }
      ASSERT_LT(index, 10) << "the demo instrument has a group that is not full";
    }
    const int count = CaptionCount(dialog->DataBox(index));
    ASSERT_GT(count, 0);
    ASSERT_TRUE(dialog->DataBox(index)->isEnabled());
    dialog->DataBox(index)->click();
    const size_t before = sim.Log().size();
    dialog->ObtainDataButton()->click();

    std::vector<std::string> expected;
    if (row.groups) {
      for (int record = 0; record < 10; ++record) {
        expected.push_back(std::string(":MEM:DATA? ") + GroupLetter(index) +
                           std::to_string(record));
      }
    } else {
      expected.push_back(":MEM:DATA? L" + std::to_string(index - 10));
    }
    for (const char* query : {"*IDN?", ":SERIAL?", ":SET:PI?", ":SET:STEP?"}) {
      expected.push_back(query);
    }
    EXPECT_EQ(sim.LogAfter(before), expected);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kAllReceived);
    EXPECT_EQ(ui.messages[0].caption, kDataReceiveCaption);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(viewRefreshes, 1);
    EXPECT_TRUE(refreshedWithUnsaved);
    EXPECT_EQ(statusLine.back(), "");
    // Only the chosen box keeps a count.
    for (int other = 0; other < 20; ++other) {
      const int held = other < 10 ? state.tables.recordCount[other]
                                  : state.tables.sampleCount[other - 10];
      EXPECT_EQ(held, other == index ? count : 0) << other;
    }
    EXPECT_FALSE(state.tables.info.idn.empty());
  }
}

TEST_F(ObtainDataDialogTest, ProgressAdvancesOncePerChosenBox) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  auto dialog = MakeDialog();
  dialog->SelectDataButton()->click();
  std::vector<int> chosen = BoxesWithData(*dialog, 0, 2);
  const auto set = BoxesWithData(*dialog, 10, 1);
  chosen.insert(chosen.end(), set.begin(), set.end());
  ASSERT_EQ(chosen.size(), 3u);
  for (int index : chosen) dialog->DataBox(index)->click();

  std::vector<int> positions;
  bool shownWhileRunning = true;
  bool buttonsHeld = true;
  QObject::connect(dialog->ProgressBar(), &QProgressBar::valueChanged, [&](int value) {
    positions.push_back(value);
    if (value > 0 && value < 100) {
      shownWhileRunning = shownWhileRunning && !dialog->ProgressBar()->isHidden();
      buttonsHeld = buttonsHeld && !dialog->CancelButton()->isEnabled() &&
                    !dialog->ObtainDataButton()->isEnabled();
    }
  });
  dialog->ObtainDataButton()->click();
  EXPECT_EQ(positions, (std::vector<int>{33, 66, 99, 100}));
  EXPECT_TRUE(shownWhileRunning);
  EXPECT_TRUE(buttonsHeld);
}

struct CursorCase {
  const char* name;
  std::vector<std::string> sim;
  bool download;      // count first, tick everything, then press "Obtain Data"
  bool exchanges;     // the pressed button talks to the instrument
};

// While the job talks to the instrument the wait cursor shows; afterwards the
// ordinary one, whichever way the job ended.
TEST_F(ObtainDataDialogTest, ExchangesRunUnderTheWaitCursor) {
  QV70_REQUIRE_SIM();
  const CursorCase cases[] = {
      {"count", {"--demo"}, false, true},
      {"count without an instrument", {"--fault", "absent"}, false, false},
      {"download", {"--demo"}, true, true},
      {"download failing half-way", {"--demo", "--fault", "silent::MEM:DATA? L"}, true, true},
  };
  for (const CursorCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimProcess sim;
    ASSERT_TRUE(sim.Start(c.sim)) << sim.Output();
    auto dialog = MakeDialog();
    if (c.download) {
      dialog->SelectDataButton()->click();
      dialog->SelectAllButton()->click();
    }
    std::vector<int> shapes;
    {
      test::OverrideCursorWatch watch;
      (c.download ? dialog->ObtainDataButton() : dialog->SelectDataButton())->click();
      shapes = watch.Shapes();
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(shapes.empty(), !c.exchanges);
    for (int shape : shapes) EXPECT_EQ(shape, Qt::WaitCursor);
  }
}

TEST_F(ObtainDataDialogTest, FaultMidDownloadKeepsTheOldData) {
  QV70_REQUIRE_SIM();
  // Find three groups with data first, then fail the third of them.
  std::vector<int> groups;
  {
    SimProcess probe;
    ASSERT_TRUE(probe.Start({"--demo"})) << probe.Output();
    auto dialog = MakeDialog();
    dialog->SelectDataButton()->click();
    groups = BoxesWithData(*dialog, 0, 3);
  }
  ASSERT_EQ(groups.size(), 3u);
  // The whole first command of that group: a bare ":MEM:DATA? C" would also
  // silence the count query.
  const std::string failing = std::string(":MEM:DATA? ") + GroupLetter(groups[2]) + "0";
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo", "--fault", "silent:" + failing})) << sim.Output();
  ui.messages.clear();
  FillOldData();
  auto dialog = MakeDialog();
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  dialog->SelectDataButton()->click();
  for (int index : groups) dialog->DataBox(index)->click();
  const size_t before = sim.Log().size();
  dialog->ObtainDataButton()->click();

  const auto sent = sim.LogAfter(before);
  ASSERT_EQ(sent.size(), 21u);  // two whole groups, then the first command that failed
  EXPECT_EQ(sent.back(), failing);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kEquipmentUnusual);
  EXPECT_EQ(ui.messages[0].caption, kObtainDataCaption);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(dialog->ProgressBar()->value(), 0);
  EXPECT_EQ(viewRefreshes, 0);
  ExpectOldData();
}

}  // namespace
}  // namespace qv70

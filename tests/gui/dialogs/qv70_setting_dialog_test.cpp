#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <gtest/gtest.h>

#include "core/data/program_state.h"
#include "core/instrument/messages.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "gui/dialogs/qv70_setting_dialog.h"
#include "support/qt/application.h"
#include "support/qt/cursor_watch.h"
#include "support/sim_process.h"
#include "support/local_time.h"

namespace qv70 {
namespace {

using namespace instrument_message;

using test::LocalTime;
using test::SimProcess;

class SettingDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  ProgramState state;
  ScriptedUiServices ui;
  FixedClock clock{LocalTime(2009, 3, 5, 14, 7, 9)};
  // The program directory holds the instrument library.
  Environment environment{QV70_BIN_DIR, &clock};
};

TEST_F(SettingDialogTest, OpensWithEveryControlInItsFirstState) {
  CInstrumentSettingDlg dialog(state, ui, environment);
  EXPECT_EQ(dialog.windowTitle(), "QV70 Setting");
  struct Row {
    const char* name;
    QAbstractButton* button;
    const char* caption;
  };
  const Row buttons[] = {
      {"date_box", dialog.DateTimeBox(), "Set Date time"},
      {"pi_box", dialog.PiBox(), "Set PI Test Time [min]"},
      {"step_box", dialog.StepBox(), "Step Voltage Test Time"},
      {"select_all", dialog.SelectAllButton(), "Select All"},
      {"apply", dialog.ApplyButton(), "Apply"},
      {"cancel", dialog.CancelButton(), "Cancel"},
  };
  for (const Row& row : buttons) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.button->text(), row.caption);
    EXPECT_TRUE(row.button->isEnabled());
    EXPECT_FALSE(row.button->isChecked());
  }
  for (QLineEdit* field : {dialog.DateTimeField(), static_cast<QLineEdit*>(dialog.T1Field()),
                           static_cast<QLineEdit*>(dialog.T2Field())}) {
    EXPECT_FALSE(field->isEnabled());
    EXPECT_TRUE(field->text().isEmpty());
  }
  EXPECT_EQ(dialog.T1Field()->maxLength(), 2);
  EXPECT_FALSE(dialog.StepList()->isEnabled());
  EXPECT_EQ(dialog.StepList()->currentIndex(), -1);
  ASSERT_EQ(dialog.StepList()->count(), 4);
  const char* entries[] = {"30s", "1min", "2min", "5min"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dialog.StepList()->itemText(i), entries[i]);
  EXPECT_TRUE(dialog.ApplyButton()->isDefault());
  EXPECT_FALSE(dialog.ClockTimer()->isActive());
  EXPECT_TRUE(ui.messages.empty());  // opening sends nothing and says nothing
}

TEST_F(SettingDialogTest, DigitFieldsTakeOnlyDigitsUpToTwo) {
  struct Row {
    const char* name;
    const char* before;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* after;
  };
  const Row rows[] = {
      {"digit", "", Qt::Key_7, Qt::NoModifier, "7"},
      {"second_digit", "1", Qt::Key_0, Qt::NoModifier, "10"},
      {"third_digit", "12", Qt::Key_3, Qt::NoModifier, "12"},
      {"keypad_digit", "", Qt::Key_5, Qt::KeypadModifier, "5"},
      {"letter", "1", Qt::Key_A, Qt::NoModifier, "1"},
      {"minus", "", Qt::Key_Minus, Qt::NoModifier, ""},
      {"blank", "1", Qt::Key_Space, Qt::NoModifier, "1"},
      {"period", "1", Qt::Key_Period, Qt::NoModifier, "1"},
      {"shifted_digit", "", Qt::Key_Exclam, Qt::ShiftModifier, ""},
      {"backspace", "12", Qt::Key_Backspace, Qt::NoModifier, "1"},
      {"delete_at_end", "12", Qt::Key_Delete, Qt::NoModifier, "12"},
      {"paste_shortcut", "", Qt::Key_V, Qt::ControlModifier, ""},
  };
  CInstrumentSettingDlg dialog(state, ui, environment);
  DigitField* field = dialog.T1Field();
  field->setEnabled(true);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    field->setText(QString::fromLatin1(row.before));
    field->end(false);
    QTest::keyClick(field, static_cast<Qt::Key>(row.key), row.modifiers);
    EXPECT_EQ(field->text().toStdString(), row.after);
  }
  // Left then Delete removes the character after the cursor.
  field->setText("12");
  field->end(false);
  QTest::keyClick(field, Qt::Key_Left);
  QTest::keyClick(field, Qt::Key_Delete);
  EXPECT_EQ(field->text(), "1");
  // Text put in by other means than keys is held to digits as well.
  field->setText("");
  field->insert("a1");
  EXPECT_EQ(field->text(), "");
}

TEST_F(SettingDialogTest, TabAndEnterStayInTheDigitField) {
  CInstrumentSettingDlg dialog(state, ui, environment);
  dialog.T1Field()->setEnabled(true);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.activateWindow();
  dialog.T1Field()->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), dialog.T1Field());
  for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter,
                      Qt::Key_Escape}) {
    QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(QApplication::focusWidget(), dialog.T1Field()) << key;
  }
  // Enter did not press Apply (kNeedSelect) and Escape did not close.
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(SettingDialogTest, ApplyWithNothingTickedAsksForAParameter) {
  CInstrumentSettingDlg dialog(state, ui, environment);
  QSignalSpy finished(&dialog, &QDialog::finished);
  dialog.ApplyButton()->click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kNeedSelect);
  EXPECT_EQ(ui.messages[0].caption, kSettingCaption);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(finished.count(), 0);
}

TEST_F(SettingDialogTest, WithoutTheInstrumentLibraryTickingCloses) {
  test::TempDir empty;
  Environment noLibrary{empty.path(), &clock};
  for (int box = 0; box < 3; ++box) {
    SCOPED_TRACE(box);
    ui.messages.clear();
    CInstrumentSettingDlg dialog(state, ui, noLibrary);
    QSignalSpy finished(&dialog, &QDialog::finished);
    QCheckBox* boxes[] = {dialog.DateTimeBox(), dialog.PiBox(), dialog.StepBox()};
    boxes[box]->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kNoInstrument);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(dialog.ClockTimer()->isActive());
  }
}

TEST_F(SettingDialogTest, ClockBoxRunsTheOneSecondClock) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  CInstrumentSettingDlg dialog(state, ui, environment);
  dialog.DateTimeBox()->click();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(dialog.ClockTimer()->isActive());
  EXPECT_EQ(dialog.ClockTimer()->interval(), 1000);
  EXPECT_TRUE(dialog.DateTimeField()->text().isEmpty());  // filled at the first tick
  QSignalSpy ticks(dialog.ClockTimer(), &QTimer::timeout);
  ASSERT_TRUE(ticks.wait(2500));
  EXPECT_EQ(dialog.DateTimeField()->text(), "2009-03-05 PM 02:07:09");
  clock.Set(LocalTime(2010, 12, 31, 0, 5, 6));
  ASSERT_TRUE(ticks.wait(2500));
  EXPECT_EQ(dialog.DateTimeField()->text(), "2010-12-31 AM 12:05:06");
  dialog.DateTimeBox()->click();
  EXPECT_FALSE(dialog.ClockTimer()->isActive());
  EXPECT_TRUE(dialog.DateTimeField()->text().isEmpty());
  // Only the presence check went to the instrument: no commands.
  EXPECT_TRUE(sim.Log().empty());
}

TEST_F(SettingDialogTest, ApplyChecksTheTestTimes) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  struct Row {
    const char* name;
    const char* t1;
    const char* t2;
    const char* message;  // nullptr: sent
  };
  const Row rows[] = {
      {"t1_empty", "", "10", kPiRange},      {"t2_empty", "5", "", kPiRange},
      {"t1_zero", "0", "10", kPiRange},      {"t2_above_30", "5", "31", kPiRange},
      {"equal", "5", "5", kPiOrder},         {"t1_above_t2", "20", "10", kPiOrder},
      {"leading_zero", "05", "10", nullptr}, {"one_and_ten", "1", "10", nullptr},
      {"edges", "29", "30", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ui.messages.clear();
    CInstrumentSettingDlg dialog(state, ui, environment);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.PiBox()->click();
    ASSERT_TRUE(dialog.T1Field()->isEnabled());
    const size_t before = sim.Log().size();
    dialog.T1Field()->clear();
    dialog.T2Field()->clear();
    QTest::keyClicks(dialog.T1Field(), row.t1);
    QTest::keyClicks(dialog.T2Field(), row.t2);
    dialog.ApplyButton()->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    if (row.message != nullptr) {
      EXPECT_EQ(ui.messages[0].text, row.message);
      EXPECT_EQ(ui.messages[0].caption, kSettingCaption);
      EXPECT_EQ(finished.count(), 0);
      EXPECT_TRUE(sim.LogAfter(before).empty());
    } else {
      EXPECT_EQ(ui.messages[0].text, kAllSent);
      EXPECT_EQ(ui.messages[0].caption, kSendingSuccessCaption);
      EXPECT_EQ(finished.count(), 1);
      EXPECT_EQ(sim.LogAfter(before),
                std::vector<std::string>{std::string(":SET:PI ") + row.t1 + ", " + row.t2});
    }
  }
}

TEST_F(SettingDialogTest, ApplySendsClockPiAndStepInOrder) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  CInstrumentSettingDlg dialog(state, ui, environment);
  QSignalSpy finished(&dialog, &QDialog::finished);
  dialog.SelectAllButton()->click();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(dialog.DateTimeBox()->isChecked());
  EXPECT_TRUE(dialog.PiBox()->isChecked());
  EXPECT_TRUE(dialog.StepBox()->isChecked());
  EXPECT_TRUE(dialog.StepList()->isEnabled());
  EXPECT_EQ(sim.Log(), (std::vector<std::string>{":SET:PI?", ":SET:STEP?"}));
  // The queried times are shown and kept as the instrument information.
  EXPECT_FALSE(dialog.T1Field()->text().isEmpty());
  EXPECT_EQ(dialog.T1Field()->text().toStdString(), state.tables.info.piT1);
  EXPECT_EQ(dialog.T2Field()->text().toStdString(), state.tables.info.piT2);

  dialog.T1Field()->clear();
  QTest::keyClicks(dialog.T1Field(), "1");
  dialog.T2Field()->clear();
  QTest::keyClicks(dialog.T2Field(), "10");
  dialog.StepList()->setCurrentIndex(2);
  dialog.ApplyButton()->click();
  EXPECT_EQ(sim.LogAfter(2), (std::vector<std::string>{":TIME 2009, 03, 05, 14, 07, 09",
                                                           ":SET:PI 1, 10", ":SET:STEP 02"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kAllSent);
  EXPECT_EQ(finished.count(), 1);
  EXPECT_FALSE(dialog.ClockTimer()->isActive());
}

TEST_F(SettingDialogTest, StepQuerySelectsTheEntryTheInstrumentHolds) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
  const char* entries[] = {"30s", "1min", "2min", "5min"};
  for (int entry : {3, 0, 1, 2}) {
    SCOPED_TRACE(entries[entry]);
    ui.messages.clear();
    {
      CInstrumentSettingDlg setter(state, ui, environment);
      setter.StepBox()->click();
      setter.StepList()->setCurrentIndex(entry);
      setter.ApplyButton()->click();
    }
    CInstrumentSettingDlg dialog(state, ui, environment);
    dialog.StepBox()->click();
    EXPECT_EQ(dialog.StepList()->currentText(), entries[entry]);
    EXPECT_TRUE(dialog.StepList()->isEnabled());
    dialog.StepBox()->click();  // unticked: no selection, disabled
    EXPECT_EQ(dialog.StepList()->currentIndex(), -1);
    EXPECT_FALSE(dialog.StepList()->isEnabled());
  }
}

// While the job talks to the instrument the wait cursor shows; afterwards the
// ordinary one, also after a refusal.
TEST_F(SettingDialogTest, ExchangesRunUnderTheWaitCursor) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo", "--fault", "nak::SET:STEP "})) << sim.Output();
  CInstrumentSettingDlg dialog(state, ui, environment);
  const struct {
    const char* name;
    QAbstractButton* button;
  } rows[] = {{"PI box", dialog.PiBox()}, {"step box", dialog.StepBox()}, {"refused apply", dialog.ApplyButton()}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<int> shapes;
    {
      test::OverrideCursorWatch watch;
      row.button->click();
      shapes = watch.Shapes();
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(shapes.empty());
    for (int shape : shapes) EXPECT_EQ(shape, Qt::WaitCursor);
  }
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kEquipmentUnusual);
}

TEST_F(SettingDialogTest, UnacknowledgedPiStopsBeforeTheStepCommand) {
  QV70_REQUIRE_SIM();
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo", "--fault", "nak::SET:PI "})) << sim.Output();
  CInstrumentSettingDlg dialog(state, ui, environment);
  QSignalSpy finished(&dialog, &QDialog::finished);
  dialog.SelectAllButton()->click();
  const size_t before = sim.Log().size();
  dialog.T1Field()->setText("2");
  dialog.T2Field()->setText("20");
  dialog.ApplyButton()->click();
  const auto sent = sim.LogAfter(before);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].rfind(":TIME ", 0), 0u);
  EXPECT_EQ(sent[1], ":SET:PI 2, 20");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kEquipmentUnusual);
  EXPECT_EQ(ui.messages[0].caption, kSettingCaption);
  EXPECT_EQ(finished.count(), 0);
  // The window stays usable: the instrument answers again after the fault.
  EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
}

}  // namespace
}  // namespace qv70

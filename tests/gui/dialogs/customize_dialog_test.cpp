#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "core/data/program_state.h"
#include "core/files/settings_file.h"
#include "core/platform/environment.h"
#include "gui/dialogs/customize_dialog.h"
#include "support/qt/application.h"
#include "support/temp_dir.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using test::TempDir;

enum class Button { DecimalPeriod, DecimalComma, SeparatorComma, SeparatorSemicolon };

QRadioButton* Radio(CCustomizeDlg& dialog, Button button) {
  switch (button) {
    case Button::DecimalPeriod: return dialog.DecimalPeriod();
    case Button::DecimalComma: return dialog.DecimalComma();
    case Button::SeparatorComma: return dialog.SeparatorComma();
    case Button::SeparatorSemicolon: return dialog.SeparatorSemicolon();
  }
  return nullptr;
}

// What the four radio buttons show: which decimal and separator are checked,
// and whether the separator's comma can be chosen.
struct Shown {
  int decimal;
  int separator;
  bool separatorCommaEnabled;
};

Shown Read(CCustomizeDlg& dialog) {
  EXPECT_NE(dialog.DecimalPeriod()->isChecked(), dialog.DecimalComma()->isChecked());
  EXPECT_NE(dialog.SeparatorComma()->isChecked(), dialog.SeparatorSemicolon()->isChecked());
  return {dialog.DecimalComma()->isChecked() ? 1 : 0,
          dialog.SeparatorSemicolon()->isChecked() ? 1 : 0,
          dialog.SeparatorComma()->isEnabled()};
}

class CustomizeDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  ProgramState state;
  TempDir dir;
  Environment environment{dir.path(), nullptr};
};

TEST_F(CustomizeDialogTest, RadioButtonsFollowTheChoiceRules) {
  struct Row {
    const char* name;
    int decimal, separator;     // settings when the window opens
    std::vector<Button> clicks;  // what the operator clicks
    Shown expected;
  };
  const Row rows[] = {
      {"period_comma_untouched", 0, 0, {}, {0, 0, true}},
      {"period_semicolon_untouched", 0, 1, {}, {0, 1, true}},
      {"comma_decimal_opens_on_semicolon", 1, 1, {}, {1, 1, false}},
      {"comma_decimal_chosen", 0, 0, {Button::DecimalComma}, {1, 1, false}},
      {"comma_then_period_keeps_semicolon", 0, 0, {Button::DecimalComma, Button::DecimalPeriod},
       {0, 1, true}},
      {"comma_period_then_separator_comma", 0, 0,
       {Button::DecimalComma, Button::DecimalPeriod, Button::SeparatorComma}, {0, 0, true}},
      {"separator_comma_refused_with_comma_decimal", 1, 1, {Button::SeparatorComma},
       {1, 1, false}},
      {"semicolon_alone", 0, 0, {Button::SeparatorSemicolon}, {0, 1, true}},
      {"period_again_on_period", 0, 1, {Button::DecimalPeriod}, {0, 1, true}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    state.SetNumberFormat(row.decimal, row.separator);
    CCustomizeDlg dialog(state, environment, {});
    for (Button button : row.clicks) Radio(dialog, button)->click();
    const Shown shown = Read(dialog);
    EXPECT_EQ(shown.decimal, row.expected.decimal);
    EXPECT_EQ(shown.separator, row.expected.separator);
    EXPECT_EQ(shown.separatorCommaEnabled, row.expected.separatorCommaEnabled);
    // Nothing is stored before OK.
    EXPECT_EQ(state.numberFormat.decimal, row.decimal);
  }
}

TEST_F(CustomizeDialogTest, OkStoresWritesAndRedrawsCancelChangesNothing) {
  struct Row {
    const char* name;
    bool configExists;
    Button choice;
    bool ok;
    int decimal, separator;  // the settings afterwards
    const char* decimalChar;
    const char* writtenDecimal;    // Config.ini CUSTOMIZE DECIMAL afterwards ("-" for absent)
    const char* writtenSeparator;
  };
  const Row rows[] = {
      {"ok_comma_with_config", true, Button::DecimalComma, true, 1, 1, ",", "1", "1"},
      {"ok_semicolon_with_config", true, Button::SeparatorSemicolon, true, 0, 1, ".", "0", "1"},
      {"ok_comma_without_config", false, Button::DecimalComma, true, 1, 1, ",", "-", "-"},
      {"cancel_comma_with_config", true, Button::DecimalComma, false, 0, 0, ".", "0", "0"},
      {"cancel_comma_without_config", false, Button::DecimalComma, false, 0, 0, ".", "-", "-"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir programDir;
    Environment env{programDir.path(), nullptr};
    SettingsFile settings = SettingsFile::InDirectory(programDir.path());
    if (row.configExists) {
      test::WriteWholeFile(settings.Path(),
                              "[CUSTOMIZE]\r\nDECIMAL=0\r\nSEPARATOR=0\r\n[INFO]\r\nNAME=x\r\n");
    }
    state.SetNumberFormat(0, 0);
    std::vector<std::string> redrawn;
    NumberRedraw redraw;
    redraw.fillManualTable = [&] { redrawn.push_back("FillManualTable"); };
    redraw.fillLoggingTable = [&] { redrawn.push_back("FillLoggingTable"); };
    redraw.showLoggingGraph = [&] { redrawn.push_back("ShowLoggingGraph"); };
    redraw.showStepGraph = [&] {
      // The redraw sees the new decimal character already.
      redrawn.push_back("ShowStepGraph" + state.tables.decimalChar);
    };
    redraw.showLoggingInfo = [&] { redrawn.push_back("ShowLoggingInfo"); };

    CCustomizeDlg dialog(state, env, redraw);
    QSignalSpy finished(&dialog, &QDialog::finished);
    Radio(dialog, row.choice)->click();
    (row.ok ? dialog.OkButton() : dialog.CancelButton())->click();

    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(dialog.result(), row.ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(state.numberFormat.decimal, row.decimal);
    EXPECT_EQ(state.numberFormat.separator, row.separator);
    EXPECT_EQ(state.tables.decimalChar, row.decimalChar);
    EXPECT_EQ(settings.Exists(), row.configExists);
    EXPECT_EQ(settings.Read("CUSTOMIZE", "DECIMAL", "-"), row.writtenDecimal);
    EXPECT_EQ(settings.Read("CUSTOMIZE", "SEPARATOR", "-"), row.writtenSeparator);
    if (row.configExists) {
      EXPECT_EQ(settings.Read("INFO", "NAME", ""), "x");
    }
    const std::vector<std::string> expectedRedraw =
        row.ok ? std::vector<std::string>{"FillManualTable", "FillLoggingTable",
                                          "ShowLoggingGraph",
                                          std::string("ShowStepGraph") + row.decimalChar,
                                          "ShowLoggingInfo"}
               : std::vector<std::string>{};
    EXPECT_EQ(redrawn, expectedRedraw);
  }
}

TEST_F(CustomizeDialogTest, EachUseStartsFromTheCurrentSettings) {
  state.SetNumberFormat(0, 0);
  {
    CCustomizeDlg first(state, environment, {});
    first.DecimalComma()->click();
    first.OkButton()->click();
  }
  CCustomizeDlg second(state, environment, {});
  EXPECT_TRUE(second.DecimalComma()->isChecked());
  EXPECT_TRUE(second.SeparatorSemicolon()->isChecked());
  EXPECT_FALSE(second.SeparatorComma()->isEnabled());
  second.DecimalPeriod()->click();
  second.reject();  // the close box
  EXPECT_EQ(state.numberFormat.decimal, 1);
  EXPECT_EQ(state.tables.decimalChar, ",");
}

TEST_F(CustomizeDialogTest, WindowHasItsCaptionsAndDefaultButton) {
  CCustomizeDlg dialog(state, environment, {});
  EXPECT_EQ(dialog.windowTitle(), "Customize");
  EXPECT_EQ(dialog.DecimalPeriod()->text(), ".(Period)");
  EXPECT_EQ(dialog.DecimalComma()->text(), ",(Comma)");
  EXPECT_EQ(dialog.SeparatorComma()->text(), ",(Comma)");
  EXPECT_EQ(dialog.SeparatorSemicolon()->text(), ";(Semicolon)");
  EXPECT_TRUE(dialog.OkButton()->isDefault());
  EXPECT_EQ(dialog.CancelButton()->text(), "Cancel");
  // 223 x 98 dialog units: wider than tall, and OK and Cancel inside the window.
  EXPECT_GT(dialog.width(), 2 * dialog.height());
  EXPECT_LE(dialog.CancelButton()->geometry().right(), dialog.width());
  EXPECT_LE(dialog.CancelButton()->geometry().bottom(), dialog.height());
}

}  // namespace
}  // namespace qv70

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/files/config_settings.h"
#include "core/files/data_file.h"
#include "core/files/number_format_settings.h"
#include "core/files/settings_file.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

enum class Click { DecimalPeriod, DecimalComma, SeparatorComma, SeparatorSemicolon };

struct ChoiceCase {
  const char* name;
  int decimal, separator;  // current settings when the window opens
  std::vector<Click> clicks;
  int wantDecimal, wantSeparator;
  bool commaEnabled;
};

TEST(CustomizeChoice, FollowsTheRadioButtonRules) {
  using C = Click;
  const std::vector<ChoiceCase> cases = {
      {"opens_with_period_comma", 0, 0, {}, 0, 0, true},
      {"opens_with_comma_decimal", 1, 1, {}, 1, 1, false},
      {"stored_comma_comma_opens_as_semicolon", 1, 0, {}, 1, 1, false},
      {"comma_decimal_selects_semicolon", 0, 0, {C::DecimalComma}, 1, 1, false},
      {"back_to_period_keeps_semicolon", 0, 0, {C::DecimalComma, C::DecimalPeriod}, 0, 1, true},
      {"then_comma_separator_again", 0, 0, {C::DecimalComma, C::DecimalPeriod, C::SeparatorComma}, 0, 0, true},
      {"disabled_comma_separator_ignored", 1, 1, {C::SeparatorComma}, 1, 1, false},
      {"period_semicolon", 0, 0, {C::SeparatorSemicolon}, 0, 1, true},
  };
  for (const auto& c : cases) {
    CustomizeChoice choice(c.decimal, c.separator);
    for (Click click : c.clicks) {
      switch (click) {
        case C::DecimalPeriod: choice.ChooseDecimal(0); break;
        case C::DecimalComma: choice.ChooseDecimal(1); break;
        case C::SeparatorComma: choice.ChooseSeparator(0); break;
        case C::SeparatorSemicolon: choice.ChooseSeparator(1); break;
      }
    }
    EXPECT_EQ(choice.Decimal(), c.wantDecimal) << c.name;
    EXPECT_EQ(choice.Separator(), c.wantSeparator) << c.name;
    EXPECT_EQ(choice.SeparatorCommaEnabled(), c.commaEnabled) << c.name;
  }
}

struct OkCase {
  const char* name;
  bool configExists;
  int decimal, separator;
  const char* decimalChar;
  const char* storedDecimal;    // "" when nothing was written
  const char* storedSeparator;
};

TEST(CustomizeOk, SetsWritesWhenTheFileExistsAndRedraws) {
  const std::vector<OkCase> cases = {
      {"comma_decimal_with_file", true, 1, 1, ",", "1", "1"},
      {"period_semicolon_with_file", true, 0, 1, ".", "0", "1"},
      {"comma_decimal_without_file", false, 1, 1, ",", "", ""},
      {"period_comma_without_file", false, 0, 0, ".", "", ""},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    SettingsFile settings(dir.File("Config.ini"));
    if (c.configExists) test::WriteWholeFile(settings.Path(), "[INFO]\r\nCOMPANYNAME=x\r\n");
    ProgramState state;
    state.SetNumberFormat(c.decimal == 1 ? 0 : 1, 1);
    CustomizeChoice choice(state.numberFormat.decimal, state.numberFormat.separator);
    choice.ChooseDecimal(c.decimal);
    choice.ChooseSeparator(c.separator);

    int redraws = 0;
    std::string charAtRedraw;
    EXPECT_TRUE(CustomizeOk(state, settings, choice, [&] {
      ++redraws;
      charAtRedraw = state.tables.decimalChar;
    })) << c.name;
    EXPECT_EQ(redraws, 1) << c.name;
    // The tables redraw with the new decimal symbol already in place.
    EXPECT_EQ(charAtRedraw, c.decimalChar) << c.name;
    EXPECT_EQ(state.numberFormat.decimal, c.decimal) << c.name;
    EXPECT_EQ(state.numberFormat.separator, c.separator) << c.name;
    EXPECT_EQ(settings.Exists(), c.configExists) << c.name;
    EXPECT_EQ(settings.Read("CUSTOMIZE", "DECIMAL", ""), c.storedDecimal) << c.name;
    EXPECT_EQ(settings.Read("CUSTOMIZE", "SEPARATOR", ""), c.storedSeparator) << c.name;

    // What was written is what the next start reads; without the file it is period and comma again.
    ProgramState next;
    ReadNumberFormat(settings, next);
    EXPECT_EQ(next.numberFormat.decimal, c.configExists ? c.decimal : 0) << c.name;
    EXPECT_EQ(next.numberFormat.separator, c.configExists ? c.separator : 0) << c.name;
  }
}

TEST(CustomizeOk, NextSavedFileUsesTheNewSettingsOnlyAfterOk) {
  test::TempDir dir;
  SettingsFile settings(dir.File("Config.ini"));
  ProgramState state;
  state.tables.recordCount[0] = 1;
  state.tables.Manual(RecordCopy::Raw, 0, 0, field::kTemperature) = "23.5";
  // Choosing without OK (Cancel) changes nothing.
  CustomizeChoice cancelled(state.numberFormat.decimal, state.numberFormat.separator);
  cancelled.ChooseDecimal(1);
  EXPECT_EQ(FormatDataFile(state.tables, state.numberFormat).find(";"), std::string::npos);

  ASSERT_TRUE(CustomizeOk(state, settings, cancelled, {}));
  const std::string text = FormatDataFile(state.tables, state.numberFormat);
  EXPECT_NE(text.find(";;;;23,5;"), std::string::npos);
  EXPECT_NE(text.find("0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0\r\n"), std::string::npos);
}

}  // namespace
}  // namespace qv70

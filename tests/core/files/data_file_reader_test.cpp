#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "core/files/messages.h"
#include "support/data_file_test_support.h"

namespace qv70 {
namespace {

using test::EditLines;
using test::ExamplePath;
using test::LineEdit;
using test::ReadWholeFile;

const std::string kCurrent = ExamplePath("current_comma_period.csv");
const std::string kSemicolonComma = ExamplePath("current_semicolon_comma.csv");
const std::string kOlder = ExamplePath("older_layout.csv");

std::string Example(const std::string& path) { return ReadWholeFile(path); }

// Working data that a refused open must leave alone: another file, opened.
void LoadOtherData(RecordTables& tables) {
  ASSERT_TRUE(ReadDataFile(kOlder, tables).ok);
  tables.dataState = DataState::Unsaved;
  tables.info.serialNumber = "before";
}

struct RefusalCase {
  const char* name;
  std::string base;  // file text before the edits
  std::vector<LineEdit> edits;
  std::string message;
};

const char* kHeaderTitle = "No.,Test Type,Date,Time,Test Interval[sec],Temperature[C],Humidity[%RH],Set Voltage[V]";
const char* kSampleTitleLine = "Data No.,Date,Time,Output Voltage[V],Resistance[Ohm]";
const std::string kManualTitleLine = test::SplitLines(Example(kCurrent))[23];

TEST(ReadDataFile, RefusesEachBrokenSectionAndKeepsTheWorkingData) {
  const std::string current = Example(kCurrent);
  const std::string semicolon = Example(kSemicolonComma);
  const std::string older = Example(kOlder);
  const std::vector<RefusalCase> cases = {
      {"current_tag_without_name",
       current,
       {{"ZAVEL.QV70EN V2.01 ", "ZAVEL QV70 V2.01 "}},
       open_message::kNotEnglishVersion},
      {"current_no_datanum", current, {{"0 datanum", "0 data"}}, open_message::kLackDatanum},
      {"current_no_logging", current, {{"1 logging", "1 loging"}}, open_message::kLackLogging},
      {"current_header_title", current, {{kHeaderTitle, "No.,Test Type"}}, open_message::kLackHeader},
      {"current_set_label",
       current,
       {{"L0,Logging,2009-12-31,23:59:30,60,23.5,45.0,1000",
         "L1,Logging,2009-12-31,23:59:30,60,23.5,45.0,1000"}},
       open_message::kInconsistentSet},
      {"current_sample_title", current, {{kSampleTitleLine, "Data No."}}, open_message::kLackHeader},
      {"current_no_manual", current, {{"2 manual", "2 manua"}}, open_message::kLackManual},
      {"current_manual_title",
       current,
       {{kManualTitleLine, "Data No.,Test Type"}},
       open_message::kLackManualHeader},
      {"current_no_time", current, {{"3 Time", "3 time"}}, open_message::kLackTime},
      {"current_no_idn", current, {{"4 IDN", "4 ID"}}, open_message::kLackIdn},
      {"current_idn_mark_split",
       current,
       {{"ZAVEL QV70 Ver1.10,0,0", "ZAVEL,QV70 Ver1.10,0"}},
       open_message::kLackVersion},
      {"current_idn_mark_in_fourth_field",
       current,
       {{"ZAVEL QV70 Ver1.10,0,0", "a,b,c,ZAVEL QV70 Ver1.10"}},
       open_message::kLackVersion},
      {"current_no_serial", current, {{"5 Serial Number", "5 Serial"}}, open_message::kLackSerial},
      {"current_no_pi", current, {{"6 PI", "6 P I"}}, open_message::kLackPi},
      {"current_pi_title", current, {{"t1[min],t2[min]", "t1[min], t2[min]"}}, open_message::kLackPiTitle},
      {"current_no_step", current, {{"7 one step interval", "7 step interval"}}, open_message::kLackStep},
      {"semicolon_header_title_with_commas",
       semicolon,
       {{"No.;Test Type;Date;Time;Test Interval[sec];Temperature[C];Humidity[%RH];Set Voltage[V]",
         kHeaderTitle}},
       open_message::kLackHeader},
      {"semicolon_pi_title_with_comma",
       semicolon,
       {{"t1[min];t2[min]", "t1[min],t2[min]"}},
       open_message::kLackPiTitle},
      {"current_group_count_11",
       current,
       {{"3,0,0,0,0,0,0,0,0,2,4,0,0,2,0,0,0,0,0,0", "11,0,0,0,0,0,0,0,0,2,4,0,0,2,0,0,0,0,0,0"}},
       open_message::GroupCountOutOfRange('A', 11, 10)},
      {"current_group_count_negative",
       current,
       {{"3,0,0,0,0,0,0,0,0,2,4,0,0,2,0,0,0,0,0,0", "3,0,0,0,0,0,0,0,0,-1,4,0,0,2,0,0,0,0,0,0"}},
       open_message::GroupCountOutOfRange('P', -1, 10)},
      {"current_sample_count_361",
       current,
       {{"3,0,0,0,0,0,0,0,0,2,4,0,0,2,0,0,0,0,0,0", "3,0,0,0,0,0,0,0,0,2,4,0,0,2,0,0,0,0,0,361"}},
       open_message::SetCountOutOfRange(9, 361, 360)},
      {"current_count_beyond_int",
       current,
       {{"3,0,0,0,0,0,0,0,0,2,4,0,0,2,0,0,0,0,0,0", "3,0,0,0,0,0,0,0,0,2,4,0,0,99999999999,0,0,0,0,0,0"}},
       open_message::SetCountOutOfRange(3, 2147483647, 360)},
      {"older_no_datanum", older, {{"0 datanum", "datanum"}}, open_message::kLackDatanum},
      {"older_no_logging", older, {{"1 logging", "logging"}}, open_message::kLackLogging},
      {"older_set_label",
       older,
       {{"L0,Logging,2009-12-31,23:59:30,60,23.5,45.0,1000",
         "L5,Logging,2009-12-31,23:59:30,60,23.5,45.0,1000"},
        {"1, 2009-12-31, 23:59:30, 1002, 5230000000", "L0, 2009-12-31, 23:59:30, 1002, 5230000000"}},
       open_message::kInconsistentSetOlder},
      {"older_no_manual", older, {{"2 manual", "manual"}}, open_message::kLackManual},
      {"older_group_letter",
       older,
       {{"a1,tc test,2009-12-01,11:00:00,60,22.0,50.0,500,501,2500000000,40.0,625000000,1",
         "B1,tc test,2009-12-01,11:00:00,60,22.0,50.0,500,501,2500000000,40.0,625000000,1"}},
       open_message::kInconsistentGroupOlder},
      {"older_no_time", older, {{"3 Time", "Time"}}, open_message::kLackTime},
      {"older_no_idn", older, {{"4 IDN", "IDN"}}, open_message::kLackIdn},
      {"older_idn_mark",
       older,
       {{"ZAVEL QV70 Ver1.10,0,0", "ZAVEL QV70,Ver1.10,0"}},
       open_message::kLackVersionOlder},
      {"older_no_serial", older, {{"5 Serial Number", "Serial Number"}}, open_message::kLackSerial},
      {"older_no_pi", older, {{"6 PI", "PI"}}, open_message::kLackPi},
      {"older_no_step", older, {{"7 one step interval", "step interval"}}, open_message::kLackStep},
      {"older_group_count_11",
       older,
       {{"3,2,0,0,0,0,0,0,0,0,2,3,0,0,0,0,0,0,0,0", "3,2,0,0,0,0,0,0,0,0,2,3,0,0,0,0,0,0,0,400"}},
       open_message::SetCountOutOfRange(9, 400, 360)},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    const std::string path = dir.File("case.csv");
    test::WriteWholeFile(path, EditLines(c.base, c.edits));
    RecordTables tables;
    LoadOtherData(tables);
    const test::WorkingSnapshot before(tables);
    Result outcome = ReadDataFile(path, tables);
    EXPECT_FALSE(outcome.ok) << c.name;
    EXPECT_EQ(outcome.message, c.message) << c.name;
    test::ExpectUnchanged(before, tables);
  }
}

struct CutCase {
  const char* name;
  std::string file;
  std::string lastLineKept;
  std::string message;
};

TEST(ReadDataFile, RefusesAFileCutShort) {
  const std::vector<CutCase> cases = {
      {"current_after_manual_blocks", kCurrent, "2 manual", open_message::kLackManualHeader},
      {"current_after_last_manual_block", kCurrent, "P9 is never a line", ""},
      {"current_after_tag", kCurrent, "ZAVEL.QV70EN V2.01 ", open_message::kLackDatanum},
      {"current_after_pi_section", kCurrent, "6 PI", open_message::kLackPiTitle},
      {"older_after_counts", kOlder, "3,2,0,0,0,0,0,0,0,0,2,3,0,0,0,0,0,0,0,0", open_message::kLackLogging},
      {"older_after_serial", kOlder, "09120345,", open_message::kLackPi},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = test::SplitLines(Example(c.file));
    if (c.message.empty()) {
      // Everything up to and including the manual blocks: the time section is missing.
      while (lines.back() != "3 Time") lines.pop_back();
      lines.pop_back();
    } else {
      while (!lines.empty() && lines.back() != c.lastLineKept) lines.pop_back();
      ASSERT_FALSE(lines.empty()) << c.name;
    }
    test::TempDir dir;
    test::WriteWholeFile(dir.File("cut.csv"), test::JoinLines(lines));
    RecordTables tables;
    Result outcome = ReadDataFile(dir.File("cut.csv"), tables);
    EXPECT_FALSE(outcome.ok) << c.name;
    EXPECT_EQ(outcome.message, c.message.empty() ? open_message::kLackTime : c.message) << c.name;
    EXPECT_EQ(tables.dataState, DataState::NoData) << c.name;
  }
}

TEST(ReadDataFile, RefusesMissingAndUnreadableFiles) {
  test::TempDir dir;
  RecordTables tables;
  LoadOtherData(tables);
  const test::WorkingSnapshot before(tables);

  const std::string missing = dir.File("missing.csv");
  EXPECT_EQ(ReadDataFile(missing, tables).message, open_message::FileNotFound(missing));
  // A folder exists but is no file to read.
  EXPECT_EQ(ReadDataFile(dir.path(), tables).message, open_message::FileNotReadable(dir.path()));
  // A name full of format directives is text, never a format.
  const std::string odd = dir.File("%s%n%d.csv");
  EXPECT_EQ(ReadDataFile(odd, tables).message, open_message::FileNotFound(odd));
  test::ExpectUnchanged(before, tables);
}

TEST(ReadDataFile, TakesTheSeparatorFromTheCountsLine) {
  // The same data in three forms reads to the same tables whatever the settings.
  ProgramState reference;
  ASSERT_TRUE(ReadDataFile(kCurrent, reference.tables).ok);
  for (const char* name : {"current_semicolon_period.csv", "current_semicolon_comma.csv"}) {
    for (int decimal : {0, 1}) {
      ProgramState state;
      state.SetNumberFormat(decimal, 0);
      reference.SetNumberFormat(decimal, 0);
      ASSERT_TRUE(ReadDataFile(ExamplePath(name), state.tables).ok) << name;
      InstallLoadedData(reference.tables);
      for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted, RecordCopy::Display})
        EXPECT_TRUE(test::SameCopy(state.tables.Copy(copy), reference.tables.Copy(copy))) << name;
      EXPECT_EQ(state.tables.Counts(), reference.tables.Counts()) << name;
      // Only the identification keeps the file's separators, as it is taken whole.
      EXPECT_EQ(state.tables.info.idn, "ZAVEL QV70 Ver1.10;0;0") << name;
      EXPECT_EQ(state.tables.info.serialNumber, reference.tables.info.serialNumber) << name;
    }
  }
}

TEST(ReadDataFile, KeepsDecimalCommasOnlyInTheLastFieldOfALine) {
  const std::string text = EditLines(
      Example(kSemicolonComma),
      {{"L0;Logging;2009-12-31;23:59:30;60;23,5;45,0;1000", "L0;Logging;2009-12-31;23:59:30;60;23,5;45,0;1,5"},
       {"2;2010-01-01;00:01:30;1001;OF", "2;2010-01-01;00:01:30;1,5;2,5"}});
  RecordTables tables;
  InstrumentInfo info;
  ASSERT_TRUE(ParseDataFile(text, tables, info).ok);
  const TableCopy& loaded = tables.Copy(RecordCopy::Loaded);
  EXPECT_EQ(loaded.headers[0][header::kTemperature], "23.5");
  EXPECT_EQ(loaded.headers[0][header::kSetVoltage], "1,5");
  EXPECT_EQ(loaded.samples[0][1][sample::kOutputVoltage], "1.5");
  EXPECT_EQ(loaded.samples[0][1][sample::kResistance], "2,5");
  EXPECT_EQ(loaded.manual[0][0][field::kDar15s], "2.83");
  EXPECT_EQ(loaded.manual[0][2][33], "3600000000");
  // Sample number, date and time columns are not kept: they are computed on install.
  EXPECT_EQ(loaded.samples[0][1][sample::kDate], "");
}

TEST(ReadDataFile, CurrentLayoutDoesNotCompareGroupLetters) {
  const std::string text =
      EditLines(Example(kCurrent), {{"P1,Normal Test,2009-12-02,09:05:00,90,19.9,E,250,248,123456,UF,123000,"
                                     "123456,1.00,1.00,1,125000,10,130000,1.04,,,,,,,,,,,,,,",
                                     "X1,Normal Test"}});
  RecordTables tables;
  InstrumentInfo info;
  ASSERT_TRUE(ParseDataFile(text, tables, info).ok);
  EXPECT_EQ(tables.Copy(RecordCopy::Loaded).manual[9][1][0], "X1");
  EXPECT_EQ(tables.Copy(RecordCopy::Loaded).manual[9][1][2], "");
}

TEST(ReadDataFile, IdentificationMarkMayBeSplitOverThreeFields) {
  const std::string text = EditLines(Example(kCurrent), {{"ZAVEL QV70 Ver1.10,0,0", "ZAVEL ,QV70 ,Ver9"}});
  RecordTables tables;
  InstrumentInfo info;
  ASSERT_TRUE(ParseDataFile(text, tables, info).ok);
  EXPECT_EQ(info.idn, "ZAVEL ,QV70 ,Ver9");
}

TEST(ReadDataFile, ALongLineIsReadAsTwo) {
  // A 1000-character serial number: its last character is read as the next
  // line, which must then be the empty line before "6 PI".
  std::string serial(1000, '7');
  RecordTables tables;
  InstrumentInfo info;
  Result outcome = ParseDataFile(EditLines(Example(kCurrent), {{"09120345", serial}}), tables, info);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.message, open_message::kLackPi);
  serial.pop_back();
  ASSERT_TRUE(ParseDataFile(EditLines(Example(kCurrent), {{"09120345", serial}}), tables, info).ok);
  EXPECT_EQ(info.serialNumber, serial);
}

struct StepUnitCase {
  const char* interval;
  const char* unit;
};

TEST(ReadDataFile, StepIntervalUnitFollowsTheInterval) {
  const std::vector<StepUnitCase> cases = {{"30", "[s]"}, {"1", "[min]"}, {"130", "[s]"}, {"", "[min]"}, {"3", "[min]"}};
  for (const auto& c : cases) {
    RecordTables tables;
    InstrumentInfo info;
    ASSERT_TRUE(ParseDataFile(EditLines(Example(kCurrent), {{"1,[min]", std::string(c.interval) + ",[s]"}}),
                              tables, info).ok);
    EXPECT_EQ(info.stepInterval, c.interval);
    EXPECT_EQ(info.stepIntervalUnit, c.unit) << c.interval;
  }
}

TEST(ReadDataFile, SuccessInstallsAndMarksSaved) {
  RecordTables tables;
  tables.dataState = DataState::Unsaved;
  ASSERT_TRUE(ReadDataFile(kCurrent, tables).ok);
  EXPECT_EQ(tables.dataState, DataState::Saved);
  EXPECT_EQ(tables.Counts(), (CountList{3, 0, 0, 0, 0, 0, 0, 0, 0, 2, 4, 0, 0, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(tables.info.idn, "ZAVEL QV70 Ver1.10,0,0");
  EXPECT_EQ(tables.info.serialNumber, "09120345");
  EXPECT_EQ(tables.info.piT1, "1");
  EXPECT_EQ(tables.info.piT2, "10");
  EXPECT_EQ(tables.info.stepInterval, "1");
  EXPECT_EQ(tables.info.stepIntervalUnit, "[min]");
  EXPECT_EQ(tables.Manual(RecordCopy::Converted, 0, 0, field::kResistance), "5.00");
}

// ---- The older layout ----

TEST(ReadOlderLayout, ReadsTheCompactOrderAndItsQuirks) {
  RecordTables tables;
  ASSERT_TRUE(ReadDataFile(kOlder, tables).ok);
  // Group B and set L1 have counts but no lines: they open empty.
  EXPECT_EQ(tables.Counts(), (CountList{3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const TableCopy& raw = tables.Copy(RecordCopy::Raw);
  const ManualRecord& tc = raw.manual[0][1];
  EXPECT_EQ(tc[field::kDataNo], "a1");
  EXPECT_EQ(tc[field::kRefTemperature], "40.0");
  EXPECT_EQ(tc[field::kTcResistance], "625000000");
  EXPECT_EQ(tc[field::kTableNo], "1");
  EXPECT_EQ(tc[field::kRes15s], "");
  EXPECT_EQ(tc[12], "");
  const ManualRecord& step = raw.manual[0][2];
  EXPECT_EQ(step[field::kStepInterval], "60");
  EXPECT_EQ(step[field::kElapsed], "");
  EXPECT_EQ(step[field::kStep1Voltage], "1000");
  EXPECT_EQ(step[33], "3600000000");
  EXPECT_EQ(step[field::kOutputVoltage], "");
  EXPECT_EQ(step[17], "");
  EXPECT_EQ(raw.manual[0][0][field::kPi], "2.88");
  // Blanks inside sample values are dropped.
  EXPECT_EQ(raw.samples[0][1][sample::kOutputVoltage], "1001");
  EXPECT_EQ(raw.samples[0][1][sample::kResistance], "OF");
  EXPECT_EQ(tables.info.idn, "ZAVEL QV70 Ver1.1000");
  EXPECT_EQ(tables.info.serialNumber, "09120345");
  EXPECT_EQ(tables.info.stepInterval, "30");
  EXPECT_EQ(tables.info.stepIntervalUnit, "[s]");
}

struct SlotCase {
  const char* name;
  std::vector<std::string> records;  // group A's lines; the count is their number
  int slot;
  std::string dataNo;
  std::string testType;
};

std::string OlderFile(const std::vector<std::string>& records) {
  std::vector<std::string> lines = {"ZAVEL.QV70EN", "0 datanum",
                                    std::to_string(records.size()) + ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
                                    "1 logging", "2 manual"};
  lines.insert(lines.end(), records.begin(), records.end());
  for (const char* line : {"3 Time", "4 IDN", "ZAVEL QV70 Ver1", "5 Serial Number", "1x", "6 PI", "1,10",
                           "7 one step interval", "1x"})
    lines.push_back(line);
  return test::JoinLines(lines);
}

TEST(ReadOlderLayout, RecordSlotRules) {
  const std::vector<SlotCase> cases = {
      {"digit_names_the_slot", {"A7,Normal Test"}, 7, "A7", "Normal Test"},
      // A lower-case label passes the letter check, but alone it would not mark the group present.
      {"lower_case_letter", {"A0,x", "a3,Normal Test"}, 3, "a3", "Normal Test"},
      {"no_digit_first_line_is_slot_0", {"AX,Normal Test"}, 0, "AX", "Normal Test"},
      {"no_digit_continues_previous_slot", {"A4,Normal", "A-, Test"}, 4, "A4A-", "Normal Test"},
      {"same_slot_twice_extends", {"A2,TC", "A2, Test"}, 2, "A2A2", "TC Test"},
  };
  for (const auto& c : cases) {
    RecordTables tables;
    InstrumentInfo info;
    Result outcome = ParseDataFile(OlderFile(c.records), tables, info);
    ASSERT_TRUE(outcome.ok) << c.name << ": " << outcome.message;
    const ManualRecord& record = tables.Copy(RecordCopy::Loaded).manual[0][c.slot];
    EXPECT_EQ(record[field::kDataNo], c.dataNo) << c.name;
    EXPECT_EQ(record[field::kTestType], c.testType) << c.name;
  }
}

TEST(ReadOlderLayout, ExpandsOnlyTheTypesItKnowsIgnoringCase) {
  RecordTables tables;
  InstrumentInfo info;
  ASSERT_TRUE(ParseDataFile(OlderFile({"A0,STEP VOLTAGE TEST,d,t,60,5,6,7,8,9,10,11,12,13,14,15,16,17",
                                       "A1,Normal Test,d,t,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19",
                                       "A2,Tc TEST,d,t,4,5,6,7,8,9,20,21,22"}),
                            tables, info).ok);
  const TableCopy& loaded = tables.Copy(RecordCopy::Loaded);
  EXPECT_EQ(loaded.manual[0][0][field::kStepInterval], "60");
  EXPECT_EQ(loaded.manual[0][0][24], "8");
  EXPECT_EQ(loaded.manual[0][0][33], "17");
  EXPECT_EQ(loaded.manual[0][0][8], "");
  for (int f = 4; f < 20; ++f) EXPECT_EQ(loaded.manual[0][1][f], std::to_string(f)) << f;
  EXPECT_EQ(loaded.manual[0][2][20], "20");
  EXPECT_EQ(loaded.manual[0][2][22], "22");
  EXPECT_EQ(loaded.manual[0][2][10], "");
}

TEST(ReadOlderLayout, SectionMayComeOneLineLater) {
  std::string text = OlderFile({"A0,Normal Test"});
  RecordTables tables;
  InstrumentInfo info;
  for (const char* section : {"5 Serial Number", "6 PI", "7 one step interval"}) {
    const std::string oneLater = EditLines(text, {{section, std::string("junk\r\n") + section}});
    EXPECT_TRUE(ParseDataFile(oneLater, tables, info).ok) << section;
    const std::string twoLater = EditLines(text, {{section, std::string("junk\r\njunk\r\n") + section}});
    EXPECT_FALSE(ParseDataFile(twoLater, tables, info).ok) << section;
  }
}

TEST(ReadOlderLayout, PresenceCheckLooksAtTheTextBeforeTheFirstComma) {
  // Group C's count says 2 and set L2's 1, but only "L2" has a line; "C" is
  // mentioned only inside a line and by a three-character label.
  const std::vector<std::string> lines = {
      "ZAVEL.QV70EN", "0 datanum", "0,0,2,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0,0", "1 logging",
      "L2,Logging,2010-01-01,00:00:00,10,1.0,2.0,3", "1,2010-01-01,00:00:10,100,200", "2 manual",
      "3 Time", "4 IDN", "x,C0,ZAVEL QV70 Ver", "CCC,1", "5 Serial Number", "1x", "6 PI", "1,10",
      "7 one step interval", "1x"};
  RecordTables tables;
  InstrumentInfo info;
  Result outcome = ParseDataFile(test::JoinLines(lines), tables, info);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(tables.LoadedCounts(), (CountList{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(tables.Copy(RecordCopy::Loaded).samples[2][0][sample::kResistance], "200");
  EXPECT_EQ(info.idn, "xC0ZAVEL QV70 Ver");
}

}  // namespace
}  // namespace qv70

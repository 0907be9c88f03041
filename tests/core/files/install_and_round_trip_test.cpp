#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "support/data_file_test_support.h"

namespace qv70 {
namespace {

using test::EditLines;
using test::ExamplePath;
using test::ReadWholeFile;

const std::string kCurrent = ExamplePath("current_comma_period.csv");

// ---- Install ----

TEST(InstallLoadedData, HeaderMarksAndRounding) {
  const std::string text = EditLines(
      ReadWholeFile(kCurrent),
      {{"L0,Logging,2009-12-31,23:59:30,60,23.5,45.0,1000", "L0,E,2009-12-31,23:59:30,60,E5,45.06,E"}});
  ProgramState state;
  state.SetNumberFormat(1, 1);
  ASSERT_TRUE(ParseDataFile(text, state.tables, state.tables.info).ok);
  InstallLoadedData(state.tables);
  struct Case {
    int field;
    const char* raw;
    const char* converted;
    const char* display;
  };
  const std::vector<Case> cases = {
      {header::kTestType, "E", "", ""},
      // Only a lone "E" is the mark; temperature "E5" reads as the number 0.
      {header::kTemperature, "E5", "0.0", "0,0"},
      {header::kHumidity, "45.06", "45.1", "45,1"},
      {header::kSetVoltage, "E", "", ""},
      {header::kInterval, "60", "60", "60"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(state.tables.Header(RecordCopy::Raw, 0, c.field), c.raw) << c.field;
    EXPECT_EQ(state.tables.Header(RecordCopy::Converted, 0, c.field), c.converted) << c.field;
    EXPECT_EQ(state.tables.Header(RecordCopy::Display, 0, c.field), c.display) << c.field;
  }
  // A header blank stays blank rather than becoming 0.0.
  EXPECT_EQ(state.tables.Header(RecordCopy::Converted, 3, header::kTemperature), "");
}

TEST(InstallLoadedData, SamplesConvertedWithTimesComputed) {
  const std::string text = EditLines(ReadWholeFile(kCurrent), {{"3,2010-01-01,00:02:30,1000,5210000000",
                                                                "3,2010-01-01,00:02:30,1000,xOFx"}});
  ProgramState state;
  state.SetNumberFormat(1, 1);
  ASSERT_TRUE(ParseDataFile(text, state.tables, state.tables.info).ok);
  InstallLoadedData(state.tables);
  struct Case {
    int sample;
    int field;
    const char* raw;
    const char* converted;
    const char* display;
  };
  const std::vector<Case> cases = {
      {0, sample::kDate, "2010-01-01", "2010-01-01", "2010-01-01"},
      {0, sample::kTime, "00:00:30", "00:00:30", "00:00:30"},
      {0, sample::kElapsed, "1min0s", "1min0s", "1min0s"},
      {0, sample::kOutputVoltage, "1002", "1.00", "1,00"},
      {0, sample::kResistance, "5230000000", "5.23", "5,23"},
      {1, sample::kResistance, "OF", "OF", "OF"},
      {2, sample::kResistance, "OF", "OF", "OF"},
      {2, sample::kTime, "00:02:30", "00:02:30", "00:02:30"},
      {2, sample::kElapsed, "3min0s", "3min0s", "3min0s"},
      {3, sample::kOutputVoltage, "998", "0.998", "0,998"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(state.tables.Sample(RecordCopy::Raw, 0, c.sample, c.field), c.raw) << c.sample << "/" << c.field;
    EXPECT_EQ(state.tables.Sample(RecordCopy::Converted, 0, c.sample, c.field), c.converted)
        << c.sample << "/" << c.field;
    EXPECT_EQ(state.tables.Sample(RecordCopy::Display, 0, c.sample, c.field), c.display)
        << c.sample << "/" << c.field;
  }
  // Beyond the count nothing is filled.
  EXPECT_EQ(state.tables.Sample(RecordCopy::Converted, 0, 4, sample::kDate), "");
}

TEST(InstallLoadedData, RecordsConvertedAndMarksKept) {
  ProgramState state;
  ASSERT_TRUE(ReadDataFile(kCurrent, state.tables).ok);
  struct Case {
    int group, record, field;
    const char* raw;
    const char* converted;
  };
  const std::vector<Case> cases = {
      {0, 0, field::kElapsed, "600", "10min0s"},
      {0, 0, field::kSetVoltage, "1000", "1.00"},
      {0, 0, field::kResistance, "5000000000", "5.00"},
      {0, 0, field::kDar15s, "3", "2.83"},
      {0, 0, field::kPi, "2.88", "2.88"},
      {0, 1, field::kRefTemperature, "40.0", "40.0"},
      {0, 1, field::kTcResistance, "625000000", "0.625"},
      {0, 2, 33, "3600000000", "3.60"},
      {9, 0, field::kResistance, "OF", "OF"},
      {9, 1, field::kHumidity, "E", ""},
      {9, 1, field::kRes15s, "UF", "UF"},
      {9, 1, field::kResistance, "123456", "0.000123"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(state.tables.Manual(RecordCopy::Raw, c.group, c.record, c.field), c.raw) << c.group << c.record;
    EXPECT_EQ(state.tables.Manual(RecordCopy::Converted, c.group, c.record, c.field), c.converted)
        << c.group << c.record << "/" << c.field;
  }
}

TEST(InstallLoadedData, ReplacesEverythingThatWasThere) {
  ProgramState state;
  ASSERT_TRUE(ReadDataFile(kCurrent, state.tables).ok);
  // The older file has group A only and set L0 with two samples.
  ASSERT_TRUE(ReadDataFile(ExamplePath("older_layout.csv"), state.tables).ok);
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted, RecordCopy::Display}) {
    for (int r = 0; r < kRecordsPerGroup; ++r)
      for (int f = 0; f < kManualFieldCount; ++f)
        EXPECT_EQ(state.tables.Manual(copy, 9, r, f), "") << r << "/" << f;
    for (int f = 0; f < kHeaderFieldCount; ++f) EXPECT_EQ(state.tables.Header(copy, 3, f), "");
    for (int f = 0; f < kSampleFieldCount; ++f) EXPECT_EQ(state.tables.Sample(copy, 0, 2, f), "");
  }
  EXPECT_EQ(state.tables.recordCount[9], 0);
}

// ---- Save, then open ----

struct FormatCase {
  const char* name;
  int decimal;
  int separator;
};

TEST(DataFileRoundTrip, SaveThenOpenGivesTheSameTables) {
  const std::vector<FormatCase> formats = {
      {"period_comma", 0, 0}, {"period_semicolon", 0, 1}, {"comma_semicolon", 1, 1}};
  for (const char* example : {"current_comma_period.csv", "current_semicolon_comma.csv", "older_layout.csv"}) {
    for (const auto& format : formats) {
      for (int shownDecimal : {0, 1}) {
        const std::string name = std::string(example) + "/" + format.name + "/" + std::to_string(shownDecimal);
        ProgramState first;
        first.SetNumberFormat(shownDecimal, 1);
        ASSERT_TRUE(ReadDataFile(ExamplePath(example), first.tables).ok) << name;
        NumberFormat written;
        written.decimal = format.decimal;
        written.separator = format.separator;
        test::TempDir dir;
        ASSERT_TRUE(WriteDataFile(dir.File("copy.csv"), first.tables, written).ok) << name;

        ProgramState second;
        second.SetNumberFormat(shownDecimal, 1);
        ASSERT_TRUE(ReadDataFile(dir.File("copy.csv"), second.tables).ok) << name;
        for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted, RecordCopy::Display})
          EXPECT_TRUE(test::SameCopy(first.tables.Copy(copy), second.tables.Copy(copy)))
              << name << " copy " << static_cast<int>(copy);
        EXPECT_EQ(first.tables.Counts(), second.tables.Counts()) << name;
        EXPECT_EQ(first.tables.info.serialNumber, second.tables.info.serialNumber) << name;
        EXPECT_EQ(first.tables.info.piT1, second.tables.info.piT1) << name;
        EXPECT_EQ(first.tables.info.piT2, second.tables.info.piT2) << name;
        EXPECT_EQ(first.tables.info.stepInterval, second.tables.info.stepInterval) << name;
        EXPECT_EQ(first.tables.info.stepIntervalUnit, second.tables.info.stepIntervalUnit) << name;
        // The identification comes back with the file's separator in place of "," and ";".
        std::string idn = first.tables.info.idn;
        for (char& c : idn)
          if (c == ',' || c == ';') c = format.separator == 1 || format.decimal == 1 ? ';' : ',';
        EXPECT_EQ(second.tables.info.idn, idn) << name;
        // Written again in the same format, the file is the same byte for byte.
        EXPECT_EQ(FormatDataFile(second.tables, written), ReadWholeFile(dir.File("copy.csv"))) << name;
      }
    }
  }
}

// A value too long for a line (only a malformed reply makes one) is cut so its
// line fits; the file opens again with every other value as it was.
TEST(DataFileRoundTrip, OverLongValueIsCutSoTheFileOpensAgain) {
  struct Case {
    const char* name;
    std::string& (*value)(RecordTables&);
  };
  const Case cases[] = {
      {"record field", [](RecordTables& t) -> std::string& { return t.Manual(RecordCopy::Raw, 0, 0, field::kTestType); }},
      {"logging header", [](RecordTables& t) -> std::string& { return t.Header(RecordCopy::Raw, 0, header::kTemperature); }},
      {"sample", [](RecordTables& t) -> std::string& { return t.Sample(RecordCopy::Raw, 0, 1, sample::kResistance); }},
      {"serial number", [](RecordTables& t) -> std::string& { return t.info.serialNumber; }},
      {"PI time t1", [](RecordTables& t) -> std::string& { return t.info.piT1; }},
      {"step interval", [](RecordTables& t) -> std::string& { return t.info.stepInterval; }},
  };
  for (const Case& c : cases) {
    for (size_t length : {size_t{998}, size_t{1000}, size_t{9999}}) {
      const std::string name = std::string(c.name) + "/" + std::to_string(length);
      ProgramState first;
      ASSERT_TRUE(ReadDataFile(kCurrent, first.tables).ok) << name;
      c.value(first.tables) = std::string(length, 'x');
      test::TempDir dir;
      ASSERT_TRUE(WriteDataFile(dir.File("long.csv"), first.tables, NumberFormat{}).ok) << name;
      ProgramState second;
      ASSERT_TRUE(ReadDataFile(dir.File("long.csv"), second.tables).ok) << name;
      const std::string& cut = c.value(second.tables);
      EXPECT_GT(cut.size(), 700u) << name;
      EXPECT_EQ(cut, std::string(cut.size(), 'x')) << name;
      c.value(second.tables) = c.value(first.tables);
      EXPECT_EQ(FormatDataFile(second.tables, NumberFormat{}), FormatDataFile(first.tables, NumberFormat{})) << name;
    }
  }
}

struct IdentificationCase {
  const char* name;
  std::string idn;
  bool readsBack;
};

// Whether a file saved with an identification opens again, in every format,
// and IdentificationReadsBack says so beforehand (a download checks it).
TEST(IdentificationReadsBack, ExactlyWhenTheSavedFileOpensAgain) {
  const IdentificationCase cases[] = {
      {"the instrument's own", "ZAVEL ,QV70 ,Ver1.00", true},
      {"in one field", "ZAVEL QV70 Ver1.10", true},
      {"with semicolons", "ZAVEL ;QV70 ;Ver1.00", true},
      {"with more fields after it", "ZAVEL ,QV70 ,Ver1.00,X,Y", true},
      {"empty", "", false},
      {"NG", "NG", false},
      {"fields without their blanks", "ZAVEL,QV70,Ver1.00", false},
      {"the mark after the third field", "X,ZAVEL ,QV70 ,Ver1.00", false},
      {"in lower case", "zavel qv70 ver1.00", false},
      {"as long as a line may be", "ZAVEL QV70 Ver" + std::string(kMaxLineLength - 14, 'x'), true},
      {"longer than a line may be", "ZAVEL QV70 Ver" + std::string(kMaxLineLength - 13, 'x'), false},
      {"the mark beyond the longest line", std::string(990, 'x') + "ZAVEL QV70 Ver", false},
  };
  for (const IdentificationCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IdentificationReadsBack(c.idn), c.readsBack);
    ProgramState saved;
    ASSERT_TRUE(ReadDataFile(ExamplePath("current_comma_period.csv"), saved.tables).ok);
    saved.tables.info.idn = c.idn;
    for (int separator : {0, 1}) {
      NumberFormat format;
      format.separator = separator;
      RecordTables reopened;
      InstrumentInfo info;
      EXPECT_EQ(ParseDataFile(FormatDataFile(saved.tables, format), reopened, info).ok, c.readsBack) << separator;
    }
  }
}

struct SetLabelCase {
  const char* number;
  int set;
  bool label;
};

TEST(IsSetLabel, LAndTheSetsDigitInEitherCase) {
  const SetLabelCase cases[] = {
      {"L0", 0, true},  {"l3", 3, true},  {"L9", 9, true},   {"L3", 2, false}, {"L", 0, false},
      {"L10", 1, false}, {"NG", 0, false}, {" L0", 0, false}, {"", 0, false},  {"L0", 10, false},
  };
  for (const SetLabelCase& c : cases) EXPECT_EQ(IsSetLabel(c.number, c.set), c.label) << c.number << " " << c.set;
}

}  // namespace
}  // namespace qv70

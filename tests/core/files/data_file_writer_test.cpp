#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "support/data_file_test_support.h"

namespace qv70 {
namespace {

using test::SplitLines;

NumberFormat Format(int decimal, int separator) {
  NumberFormat format;
  format.decimal = decimal;
  format.separator = separator;
  return format;
}

TEST(FormatDataFile, EmptyTablesGiveTheFullSkeleton) {
  RecordTables tables;
  const std::string expected =
      "ZAVEL.QV70EN V2.01 \r\n"
      "\r\n"
      "0 datanum\r\n"
      "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
      "\r\n"
      "1 logging\r\n"
      "\r\n"
      "2 manual\r\n"
      "\r\n"
      "3 Time\r\n"
      "\r\n"
      "4 IDN\r\n"
      "\r\n"
      "\r\n"
      "5 Serial Number\r\n"
      "\r\n"
      "\r\n"
      "6 PI\r\n"
      "t1[min],t2[min]\r\n"
      ",\r\n"
      "\r\n"
      "7 one step interval\r\n"
      ",\r\n";
  EXPECT_EQ(FormatDataFile(tables, Format(0, 0)), expected);
}

// Tables with one of everything the layout treats specially.
void FillTables(RecordTables& tables) {
  tables.recordCount[2] = 3;  // group C
  tables.sampleCount[4] = 2;  // set L4
  ManualRecord& raw = tables.Record(RecordCopy::Raw, 2, 0);
  ManualRecord& converted = tables.Record(RecordCopy::Converted, 2, 0);
  for (int f = 0; f < kManualFieldCount; ++f) raw[static_cast<size_t>(f)] = "r" + std::to_string(f);
  raw[field::kTemperature] = "23.5";
  raw[field::kResistance] = "OF";
  converted[field::kDar15s] = "1.52";
  converted[field::kDar30s] = "1.48";
  converted[field::kPi] = "2.88";
  for (int f = 0; f < kHeaderFieldCount; ++f) tables.Header(RecordCopy::Raw, 4, f) = "h" + std::to_string(f);
  tables.Header(RecordCopy::Raw, 4, header::kTemperature) = "21.5";
  for (int i = 0; i < 2; ++i) {
    tables.Sample(RecordCopy::Converted, 4, i, sample::kDate) = "2010-01-0" + std::to_string(i + 1);
    tables.Sample(RecordCopy::Converted, 4, i, sample::kTime) = "12:00:00";
    tables.Sample(RecordCopy::Raw, 4, i, sample::kDate) = "raw date not written";
    tables.Sample(RecordCopy::Raw, 4, i, sample::kOutputVoltage) = "1000";
    tables.Sample(RecordCopy::Raw, 4, i, sample::kResistance) = i == 0 ? "OF" : "5230000000";
  }
  tables.info.idn = "ZAVEL QV70 Ver1.10,a;b";
  tables.info.serialNumber = "S.1";
  tables.info.piT1 = "1.5";
  tables.info.piT2 = "10";
  tables.info.stepInterval = "30";
  tables.info.stepIntervalUnit = "[s]";
}

std::string ExpectedRecordLine(char sep) {
  std::string line;
  for (int f = 0; f < kManualFieldCount; ++f) {
    if (f > 0) line += sep;
    switch (f) {
      case field::kTemperature: line += "23.5"; break;
      case field::kResistance: line += "OF"; break;
      case field::kDar15s: line += "1.52"; break;
      case field::kDar30s: line += "1.48"; break;
      case field::kPi: line += "2.88"; break;
      default: line += "r" + std::to_string(f);
    }
  }
  return line;
}

struct LayoutCase {
  const char* name;
  int decimal;
  int separator;
  char sep;
};

TEST(FormatDataFile, WritesEveryLineOfTheLayout) {
  const std::vector<LayoutCase> cases = {
      {"period_comma", 0, 0, ','},
      {"period_semicolon", 0, 1, ';'},
      {"comma_semicolon", 1, 1, ';'},
      // A comma decimal could not be read back beside comma separators.
      {"comma_decimal_forces_semicolon", 1, 0, ';'},
      // A hand-edited DECIMAL of 2 shows commas on screen; files must match.
      {"decimal_other_than_zero_is_comma", 2, 0, ';'},
  };
  for (const auto& c : cases) {
    RecordTables tables;
    FillTables(tables);
    const std::string text = FormatDataFile(tables, Format(c.decimal, c.separator));
    const std::vector<std::string> lines = SplitLines(text);
    auto value = [&](std::string line) {
      if (c.decimal != 0)
        for (char& ch : line)
          if (ch == '.') ch = ',';
      return line;
    };
    const std::string s(1, c.sep);
    std::vector<std::string> expected = {
        "ZAVEL.QV70EN V2.01 ", "", "0 datanum",
        "0" + s + "0" + s + "3" + s + "0" + s + "0" + s + "0" + s + "0" + s + "0" + s + "0" + s + "0" + s +
            "0" + s + "0" + s + "0" + s + "0" + s + "2" + s + "0" + s + "0" + s + "0" + s + "0" + s + "0",
        "", "1 logging", "",
    };
    auto titled = [&](std::string title) {
      for (char& ch : title)
        if (ch == ',') ch = c.sep;
      return title;
    };
    expected.push_back(titled("No.,Test Type,Date,Time,Test Interval[sec],Temperature[C],Humidity[%RH],Set Voltage[V]"));
    expected.push_back(value("h0" + s + "h1" + s + "h2" + s + "h3" + s + "h4" + s + "21.5" + s + "h6" + s + "h7"));
    expected.push_back(titled("Data No.,Date,Time,Output Voltage[V],Resistance[Ohm]"));
    expected.push_back(value("1" + s + "2010-01-01" + s + "12:00:00" + s + "1000" + s + "OF"));
    expected.push_back(value("2" + s + "2010-01-02" + s + "12:00:00" + s + "1000" + s + "5230000000"));
    expected.push_back("");
    expected.push_back("2 manual");
    expected.push_back("");
    expected.push_back(titled(
        "Data No.,Test Type,Date,Time,Elapsed Time[sec],Temperature[C],Humidity[%RH],Set Voltage[V],"
        "Output Voltage[V],Resistance[Ohm],15sec Resistance[Ohm],30sec Resistance[Ohm],1min Resistance[Ohm],"
        "DAR 15s value[1min/15s],DAR 30s value[1min/30s],t1[min],t1 Resistance[Ohm], t2[min],"
        "t2 Resistance[Ohm],PI Value[t2/t1],Ref.Temperature[C],TC Resistance[Ohm],Table No.,"
        "Step Interval[sec],Step1 Voltage[V],Step1 Resistance[Ohm],Step2 Voltage[V],Step2 Resistance[Ohm],"
        "Step3 Voltage[V],Step3 Resistance[Ohm],Step4 Voltage[V],Step4 Resistance[Ohm],Step5 Voltage[V],"
        "Step5 Resistance[Ohm]"));
    expected.push_back(value(ExpectedRecordLine(c.sep)));
    for (int r = 1; r < kRecordsPerGroup; ++r) expected.push_back(std::string(33, c.sep));
    for (const char* line : {"", "3 Time", "", "4 IDN"}) expected.push_back(line);
    expected.push_back("ZAVEL QV70 Ver1.10" + s + "a" + s + "b");
    for (const char* line : {"", "5 Serial Number", "S.1", "", "6 PI"}) expected.push_back(line);
    expected.push_back("t1[min]" + s + "t2[min]");
    expected.push_back("1.5" + s + "10");
    expected.push_back("");
    expected.push_back("7 one step interval");
    expected.push_back("30" + s + "[s]");
    EXPECT_EQ(lines, expected) << c.name;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << c.name;
    // Every line end is CR LF.
    size_t lf = 0, crlf = 0;
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') {
        ++lf;
        if (i > 0 && text[i - 1] == '\r') ++crlf;
      }
    EXPECT_EQ(lf, crlf) << c.name;
  }
}

TEST(FormatDataFile, WritesNothingButDataState) {
  RecordTables tables;
  FillTables(tables);
  tables.dataState = DataState::Unsaved;
  const test::WorkingSnapshot before(tables);
  FormatDataFile(tables, Format(1, 1));
  test::ExpectUnchanged(before, tables);
}

TEST(FormatDataFile, SeparatorsAndLineBreaksInsideAValueNeverShiftTheFields) {
  // A malformed instrument reply can leave a list separator or a line break
  // inside a value.
  for (const NumberFormat& format : {Format(0, 0), Format(0, 1), Format(1, 1)}) {
    RecordTables tables;
    tables.info.idn = "ZAVEL ,QV70 ,Ver1.00";
    tables.recordCount[0] = 1;
    tables.sampleCount[0] = 1;
    tables.Manual(RecordCopy::Raw, 0, 0, field::kDataNo) = "A0,junk";
    tables.Manual(RecordCopy::Raw, 0, 0, field::kTestType) = "Normal Test";
    tables.Manual(RecordCopy::Raw, 0, 0, field::kResistance) = "12;34";
    tables.Header(RecordCopy::Raw, 0, header::kNo) = "L0";
    tables.Header(RecordCopy::Raw, 0, header::kTestType) = "LOG,GING";
    tables.Sample(RecordCopy::Raw, 0, 0, sample::kResistance) = "OF,";
    tables.Manual(RecordCopy::Raw, 0, 0, field::kTemperature) = "2\r\n3";
    tables.Sample(RecordCopy::Raw, 0, 0, sample::kOutputVoltage) = "5\n0";
    tables.info.serialNumber = "S1\r\nS2;3";
    tables.info.piT1 = "0,1";
    tables.info.piT2 = "1\n0";
    tables.info.stepInterval = "x;y,z";

    RecordTables reread;
    InstrumentInfo info;
    ASSERT_TRUE(ParseDataFile(FormatDataFile(tables, format), reread, info).ok);
    EXPECT_EQ(reread.Manual(RecordCopy::Loaded, 0, 0, field::kDataNo), "A0 junk");
    EXPECT_EQ(reread.Manual(RecordCopy::Loaded, 0, 0, field::kTestType), "Normal Test");
    EXPECT_EQ(reread.Manual(RecordCopy::Loaded, 0, 0, field::kResistance), "12 34");
    EXPECT_EQ(reread.Header(RecordCopy::Loaded, 0, header::kTestType), "LOG GING");
    EXPECT_EQ(reread.Sample(RecordCopy::Loaded, 0, 0, sample::kResistance).substr(0, 2), "OF");
    EXPECT_EQ(reread.Manual(RecordCopy::Loaded, 0, 0, field::kTemperature), "2  3");
    EXPECT_EQ(reread.Sample(RecordCopy::Loaded, 0, 0, sample::kOutputVoltage), "5 0");
    // The serial number is its whole line, separators and all.
    EXPECT_EQ(info.serialNumber, "S1  S2;3");
    EXPECT_EQ(info.piT1, "0 1");
    EXPECT_EQ(info.piT2, "1 0");
    EXPECT_EQ(info.stepInterval, "x y z");
  }
}

TEST(WriteDataFile, WritesTheFormattedFile) {
  test::TempDir dir;
  RecordTables tables;
  FillTables(tables);
  const std::string path = dir.File("out.csv");
  Result outcome = WriteDataFile(path, tables, Format(0, 1));
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(test::ReadWholeFile(path), FormatDataFile(tables, Format(0, 1)));
}

}  // namespace
}  // namespace qv70

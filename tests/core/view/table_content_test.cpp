// The texts of the table pages: titles per filter, rows per record type, and
// the logging rows, from the display copy.
#include "core/view/table_content.h"

#include <gtest/gtest.h>

#include "core/data/record_tables.h"

namespace qv70 {
namespace {

TEST(ManualTitles, FollowTheFilterWithTheAllTablesOwnSpellings) {
  const struct {
    int filter;
    int column;
    const char* title;
  } rows[] = {
      {kFilterAll, 0, " Data No."},
      {kFilterAll, 22, " Table No. \n"},
      {kFilterAll, 28, " Step3 Voltage \n[ kV]"},
      {kFilterAll, 33, " Step5 Resistance \n [GOhms]"},
      {kFilterNormal, 19, " PI Value \n [t2/t1]"},
      {kFilterTc, 10, " Ref. Temperature \n [C]"},
      {kFilterTc, 12, " Table No. \n "},
      {kFilterStepVoltage, 4, " Step Interval \n [sec]"},
      {kFilterStepVoltage, 12, " Step3 Voltage \n [kV]"},
      {kFilterStepVoltage, 17, " Step5 Resistance \n [GOhms]"},
      {kFilterStepVoltage, 18, ""},
      {kFilterTc, 13, ""},
      {4, 0, ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ManualColumnTitle(row.filter, row.column), row.title) << row.filter << "/" << row.column;
  }
  EXPECT_EQ(ManualColumnCount(kFilterAll), 34);
  EXPECT_EQ(ManualColumnCount(kFilterNormal), 20);
  EXPECT_EQ(ManualColumnCount(kFilterTc), 13);
  EXPECT_EQ(ManualColumnCount(kFilterStepVoltage), 18);
}

class TableRows : public ::testing::Test {
 protected:
  void SetUp() override {
    // Group C: a normal test, a TC test and a step test in slots 0 to 2.
    const char* types[] = {"Normal Test", "TC Test", "Step Voltage Test"};
    for (int r = 0; r < 3; ++r) {
      for (int f = 0; f < kManualFieldCount; ++f) {
        tables.Manual(RecordCopy::Converted, kGroupC, r, f) = "f" + std::to_string(f) + ".5";
      }
      tables.Manual(RecordCopy::Converted, kGroupC, r, field::kTestType) = types[r];
    }
    tables.Manual(RecordCopy::Converted, kGroupC, 2, field::kStepInterval) = "1min0s";
    tables.recordCount[kGroupC] = 3;
    tables.decimalChar = ",";
    tables.BuildDisplayRecords(kGroupC);
  }
  static constexpr int kGroupC = 2;
  RecordTables tables;
};

TEST_F(TableRows, ShowOnlyTheRecordsOfTheFilteredTypeInRecordOrder) {
  const struct {
    const char* name;
    int filter;
    int record;
    int column;
    const char* text;
  } rows[] = {
      {"all: label", kFilterAll, 0, 0, "C0"},
      {"all: decimal comma", kFilterAll, 0, 9, "f9,5"},
      {"all: last field", kFilterAll, 2, 33, "f33,5"},
      {"normal: its own record", kFilterNormal, 0, 19, "f19,5"},
      {"normal: a TC record keeps its label", kFilterNormal, 1, 0, "C1"},
      {"normal: a TC record is otherwise empty", kFilterNormal, 1, 1, ""},
      {"tc: reference temperature in 10", kFilterTc, 1, 10, "f20,5"},
      {"tc: table number in 12", kFilterTc, 1, 12, "f22,5"},
      {"tc: a normal record is empty", kFilterTc, 0, 10, ""},
      {"step: interval in 4", kFilterStepVoltage, 2, 4, "1min0s"},
      {"step: step 1 voltage in 8", kFilterStepVoltage, 2, 8, "f24,5"},
      {"step: step 5 resistance in 17", kFilterStepVoltage, 2, 17, "f33,5"},
      {"step: an empty slot keeps its label", kFilterStepVoltage, 5, 0, "C5"},
      {"all: an empty slot", kFilterAll, 5, 1, ""},
  };
  for (const auto& row : rows) {
    const std::vector<std::string> texts = ManualRowTexts(tables, kGroupC, row.record, row.filter);
    ASSERT_EQ(static_cast<int>(texts.size()), ManualColumnCount(row.filter)) << row.name;
    EXPECT_EQ(texts[static_cast<size_t>(row.column)], row.text) << row.name;
  }
  // The converted copy keeps its decimal point.
  EXPECT_EQ(tables.Manual(RecordCopy::Converted, kGroupC, 0, 9), "f9.5");
  EXPECT_EQ(InitialRecordLabel(0, 7), " A7");
}

TEST(LoggingRows, NumberTheSamplesAndLeaveTheRestEmpty) {
  RecordTables tables;
  tables.sampleCount[4] = 120;
  for (int i = 0; i < 120; ++i) tables.Sample(RecordCopy::Display, 4, i, sample::kResistance) = "1.23";
  EXPECT_EQ(LoggingRowTexts(tables, 4, 0)[0], "1");
  EXPECT_EQ(LoggingRowTexts(tables, 4, 119)[0], "120");
  EXPECT_EQ(LoggingRowTexts(tables, 4, 119)[5], "1.23");
  EXPECT_EQ(LoggingRowTexts(tables, 4, 120), std::vector<std::string>(6));
  EXPECT_EQ(LoggingRowTexts(tables, 10, 0), std::vector<std::string>(6));
  EXPECT_EQ(LoggingColumnTitle(4), " Output Voltage \n [kV]");
  EXPECT_EQ(LoggingColumnTitle(6), "");
}

}  // namespace
}  // namespace qv70

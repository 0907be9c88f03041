#include "core/data/record_tables.h"

#include <gtest/gtest.h>

#include "core/data/program_state.h"

namespace qv70 {
namespace {

TEST(Vocabulary, GroupLettersSetNamesAndTestTypes) {
  EXPECT_EQ(std::string(kGroupLetters), "ABCDEFHJNP");
  EXPECT_EQ(GroupLetter(6), 'H');
  EXPECT_EQ(GroupIndex('P'), 9);
  EXPECT_EQ(GroupIndex('G'), -1);
  EXPECT_EQ(SetDataName(3), "L3");
  EXPECT_EQ(SetScreenName(3), "Lr3");
  EXPECT_STREQ(TestTypeText(TestType::StepVoltage), "Step Voltage Test");
  EXPECT_STREQ(TestTypeCode(TestType::TC), "MT");
  EXPECT_EQ(TestTypeFromText("TC Test"), TestType::TC);
  EXPECT_FALSE(TestTypeFromText("tc test").has_value());
}

TEST(RecordTables, CopiesAreIndependent) {
  RecordTables tables;
  const RecordCopy copies[] = {RecordCopy::Raw, RecordCopy::Converted, RecordCopy::Loaded, RecordCopy::Display};
  for (int c = 0; c < 4; ++c) {
    tables.Manual(copies[c], 9, 9, 33) = "m" + std::to_string(c);
    tables.Header(copies[c], 9, 7) = "h" + std::to_string(c);
    tables.Sample(copies[c], 9, 359, 4) = "s" + std::to_string(c);
  }
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(tables.Manual(copies[c], 9, 9, 33), "m" + std::to_string(c));
    EXPECT_EQ(tables.Header(copies[c], 9, 7), "h" + std::to_string(c));
    EXPECT_EQ(tables.Sample(copies[c], 9, 359, 4), "s" + std::to_string(c));
  }
  tables.ClearLoadedCopy();
  EXPECT_EQ(tables.Manual(RecordCopy::Loaded, 9, 9, 33), "");
  EXPECT_EQ(tables.Sample(RecordCopy::Loaded, 9, 359, 4), "");
  EXPECT_EQ(tables.Manual(RecordCopy::Raw, 9, 9, 33), "m0");
}

TEST(RecordTables, CountListJoinsGroupsThenSets) {
  RecordTables tables;
  CountList counts{};
  for (int i = 0; i < kCountListSize; ++i) counts[static_cast<size_t>(i)] = i + 1;
  tables.SetCounts(counts);
  EXPECT_EQ(tables.recordCount[0], 1);
  EXPECT_EQ(tables.sampleCount[0], 11);
  EXPECT_EQ(tables.Counts(), counts);
  tables.SetLoadedCounts(counts);
  EXPECT_EQ(tables.loadedSampleCount[9], 20);
  tables.Reset();
  EXPECT_EQ(tables.Counts(), CountList{});
  EXPECT_EQ(tables.dataState, DataState::NoData);
}

TEST(DecimalSymbol, AppliesBothWaysToTheDisplayCopyOnly) {
  EXPECT_EQ(ApplyDecimalSymbol("1.25", ","), "1,25");
  EXPECT_EQ(ApplyDecimalSymbol("1,25", "."), "1.25");
  EXPECT_EQ(ApplyDecimalSymbol("OF", ","), "OF");

  ProgramState state;
  state.SetNumberFormat(1, 0);
  EXPECT_EQ(state.numberFormat.separator, 1);  // a comma decimal forces the semicolon
  EXPECT_EQ(state.tables.decimalChar, ",");
  state.tables.Manual(RecordCopy::Raw, 2, 0, 5) = "21.5";
  state.tables.Manual(RecordCopy::Converted, 2, 0, 5) = "21.5";
  state.tables.BuildDisplayRecords(2);
  EXPECT_EQ(state.tables.Manual(RecordCopy::Display, 2, 0, 5), "21,5");
  EXPECT_EQ(state.tables.Manual(RecordCopy::Raw, 2, 0, 5), "21.5");
  EXPECT_EQ(state.tables.Manual(RecordCopy::Converted, 2, 0, 5), "21.5");

  state.SetNumberFormat(0, 0);
  state.tables.Header(RecordCopy::Converted, 1, 5) = "3,5";
  state.tables.BuildDisplayHeader(1);
  EXPECT_EQ(state.tables.Header(RecordCopy::Display, 1, 5), "3.5");
}

}  // namespace
}  // namespace qv70

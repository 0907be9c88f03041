// Command texts and the reply grammars C, M, L, T, P, S, K.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/instrument/protocol.h"

namespace qv70 {
namespace {

const std::string kEnd = "\r\n";

std::string Join(const std::vector<std::string>& values) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + values[i];
  return text;
}

TEST(Commands, TextsAndLengths) {
  struct Row {
    const char* name;
    std::string command;
    std::string expected;
  } rows[] = {
      {"count", CountCommand(), ":MEM:DATA? COUNT\n"},
      {"record A0", MemoryRecordCommand(0, 0), ":MEM:DATA? A0\n"},
      {"record F9", MemoryRecordCommand(5, 9), ":MEM:DATA? F9\n"},
      {"record P4", MemoryRecordCommand(9, 4), ":MEM:DATA? P4\n"},
      {"logging 3", LoggingCommand(3), ":MEM:DATA? L3\n"},
      {"idn", IdentificationCommand(), "*IDN?\n"},
      {"serial", SerialCommand(), ":SERIAL?\n"},
      {"pi query", PiQueryCommand(), ":SET:PI?\n"},
      {"step query", StepQueryCommand(), ":SET:STEP?\n"},
      {"pi 1 10", PiSetCommand("1", "10"), ":SET:PI 1, 10\n"},
      {"pi 05 30 as typed", PiSetCommand("05", "30"), ":SET:PI 05, 30\n"},
      {"step 30s", StepSetCommand("30s"), ":SET:STEP 30\n"},
      {"step 1min", StepSetCommand("1min"), ":SET:STEP 01\n"},
      {"step 2min", StepSetCommand("2min"), ":SET:STEP 02\n"},
      {"step 5min", StepSetCommand("5min"), ":SET:STEP 05\n"},
      {"step no entry", StepSetCommand(""), ""},
  };
  for (const Row& row : rows) EXPECT_EQ(row.command, row.expected) << row.name;
}

TEST(Commands, ClockCommandIs31CharactersWithZeroPadding) {
  struct Row {
    const char* name;
    int year, month, day, hour, minute, second;
    const char* expected;
  } rows[] = {
      {"afternoon", 2009, 3, 5, 14, 7, 9, ":TIME 2009, 03, 05, 14, 07, 09\n"},
      {"midnight", 2026, 12, 31, 0, 0, 0, ":TIME 2026, 12, 31, 00, 00, 00\n"},
      {"last second", 2030, 1, 1, 23, 59, 59, ":TIME 2030, 01, 01, 23, 59, 59\n"},
  };
  for (const Row& row : rows) {
    std::tm when{};
    when.tm_year = row.year - 1900;
    when.tm_mon = row.month - 1;
    when.tm_mday = row.day;
    when.tm_hour = row.hour;
    when.tm_min = row.minute;
    when.tm_sec = row.second;
    std::string command = ClockCommand(when);
    EXPECT_EQ(command, row.expected) << row.name;
    EXPECT_EQ(command.size(), 31u) << row.name;
  }
}

TEST(Splitting, TakeNextValueAndCutTerminator) {
  std::string rest = "a,,b";
  EXPECT_EQ(TakeNextValue(rest), "a");
  EXPECT_EQ(TakeNextValue(rest), "");
  EXPECT_EQ(rest, "b");
  // No comma left: empty value, the remainder stays whole.
  EXPECT_EQ(TakeNextValue(rest), "");
  EXPECT_EQ(rest, "b");

  struct Row {
    const char* reply;
    const char* cut;
  } rows[] = {{"OK\r\n", "OK"}, {"\r\n", ""}, {"x", ""}, {"", ""}, {"abc", "a"}};
  for (const Row& row : rows) EXPECT_EQ(CutTerminator(row.reply), row.cut) << row.reply;
}

TEST(Splitting, ExponentValuesAreRewrittenWithSixDecimals) {
  struct Row {
    const char* value;
    const char* expected;
  } rows[] = {
      {"1.2e+03", "1200.000000"},  {"5.0e+09", "5000000000.000000"}, {"2.5e-01", "0.250000"},
      {"OF", "OF"},                {"1.5E+03", "1.5E+03"},           {"1200", "1200"},
      {"e", "0.000000"},           {"", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(ReformatExponent(row.value), row.expected) << row.value;
}

TEST(CountReply, TwentyCountsAndShortForms) {
  struct Row {
    const char* name;
    std::string reply;
    CountList expected;
  } rows[] = {
      {"example", "3,0,0,0,0,0,0,0,0,10,120,0,0,0,0,0,0,0,0,0" + kEnd,
       {3, 0, 0, 0, 0, 0, 0, 0, 0, 10, 120, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"all present", "10,9,8,7,6,5,4,3,2,1,360,1,2,3,4,5,6,7,8,9" + kEnd,
       {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 360, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"19 values: last from text after the 18th comma",
       "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19" + kEnd,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0}},
      {"18 values", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18" + kEnd,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0}},
      {"empty", "", {}},
      {"not numbers", "x,y,z" + kEnd, {}},
      {"surplus stays in the 20th", "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,7,8" + kEnd,
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseCounts(row.reply), row.expected) << row.name;
}

TEST(CountReply, LimitsBoundEveryCountToTheTables) {
  CountList counts{};
  counts[0] = 11;
  counts[1] = -4;
  counts[9] = 10;
  counts[10] = 361;
  counts[11] = 100000;
  counts[19] = -1;
  CountList limited = LimitCounts(counts);
  EXPECT_EQ(limited[0], 10);
  EXPECT_EQ(limited[1], 0);
  EXPECT_EQ(limited[9], 10);
  EXPECT_EQ(limited[10], 360);
  EXPECT_EQ(limited[11], 360);
  EXPECT_EQ(limited[19], 0);
}

TEST(ShortReplies, TextPiStepAndAcknowledgement) {
  EXPECT_EQ(ParseTextReply("ZAVEL,QV70,Ver1.00" + kEnd), "ZAVEL,QV70,Ver1.00");
  struct PiRow {
    std::string reply;
    const char* t1;
    const char* t2;
  } piRows[] = {{"01,10" + kEnd, "01", "10"},
                {"1,30" + kEnd, "1", "30"},
                {"5" + kEnd, "", "5"},
                {"", "", ""},
                {"1,2,3" + kEnd, "1", "2,3"}};
  for (const PiRow& row : piRows) {
    PiTimes pi = ParsePiReply(row.reply);
    EXPECT_EQ(pi.t1, row.t1) << row.reply;
    EXPECT_EQ(pi.t2, row.t2) << row.reply;
  }
  struct StepRow {
    std::string reply;
    const char* text;
    const char* unit;
    int entry;
  } stepRows[] = {{"30" + kEnd, "30", "[s]", 0},   {"01" + kEnd, "01", "[min]", 1},
                  {"02" + kEnd, "02", "[min]", 2}, {"05" + kEnd, "05", "[min]", 3},
                  {"13" + kEnd, "13", "[min]", 0}, {"NG" + kEnd, "NG", "[min]", -1},
                  {"", "", "[min]", -1}};
  for (const StepRow& row : stepRows) {
    std::string text = ParseStepReply(row.reply);
    EXPECT_EQ(text, row.text) << row.reply;
    EXPECT_EQ(StepIntervalUnit(text), row.unit) << row.reply;
    EXPECT_EQ(StepEntryForReply(text), row.entry) << row.reply;
  }
  struct AckRow {
    std::string reply;
    bool ok;
  } ackRows[] = {{"OK" + kEnd, true}, {"NG" + kEnd, false}, {"", false}, {"xOKx", true}, {"ok\r\n", false}};
  for (const AckRow& row : ackRows) EXPECT_EQ(IsAcknowledged(row.reply), row.ok) << row.reply;
}

TEST(MemoryReply, NormalRecordFillsFields0To19) {
  std::vector<std::string> values = {"A0", "MN",     "2009-03-05", "14:07:09", "60",      "23.5",   "45",
                                     "5000", "4980", "5.0e+09",    "1.2e+03",  "OF",      "UF",     "1.25",
                                     "1.5",  "1",    "3.0e+09",    "10",       "6.0e+09", "2.0"};
  ManualRecord record;
  ParseMemoryRecord(Join(values) + kEnd, record);
  for (int i = 0; i < 20; ++i) {
    std::string expected = values[i];
    if (expected == "5.0e+09") expected = "5000000000.000000";
    if (expected == "1.2e+03") expected = "1200.000000";
    if (expected == "3.0e+09") expected = "3000000000.000000";
    if (expected == "6.0e+09") expected = "6000000000.000000";
    EXPECT_EQ(record[i], expected) << "field " << i;
  }
  for (int i = 20; i < kManualFieldCount; ++i) EXPECT_EQ(record[i], "") << "field " << i;
}

TEST(MemoryReply, TcRecordMovesItsLastThreeValues) {
  std::vector<std::string> values = {"B1", "MT",   "2009-03-05", "14:07:09", "60",      "23.5", "45",
                                     "1000", "990", "5.0e+03",   "20",       "2.1e+03", "3"};
  ManualRecord record;
  ParseMemoryRecord(Join(values) + kEnd, record);
  EXPECT_EQ(record[9], "5000.000000");
  EXPECT_EQ(record[20], "20");
  EXPECT_EQ(record[21], "2100.000000");
  EXPECT_EQ(record[22], "3");
  for (int f : {10, 11, 12}) EXPECT_EQ(record[f], "") << "field " << f;
  EXPECT_EQ(record[1], "MT");
}

TEST(MemoryReply, StepRecordMovesIntervalAndSteps) {
  std::vector<std::string> values = {"C2",   "MS",   "2009-03-05", "14:07:09", "60",   "23.5",
                                     "45",   "5000", "1000",       "1.0e+10",  "2000", "2.0e+10",
                                     "3000", "OF",   "4000",       "4.0e+10",  "5000", "5.0e+10"};
  ManualRecord record;
  ParseMemoryRecord(Join(values) + kEnd, record);
  EXPECT_EQ(record[field::kStepInterval], "60");
  EXPECT_EQ(record[field::kElapsed], "");
  EXPECT_EQ(record[field::kSetVoltage], "5000");
  EXPECT_EQ(record[24], "1000");
  EXPECT_EQ(record[25], "10000000000.000000");
  EXPECT_EQ(record[29], "OF");
  EXPECT_EQ(record[33], "50000000000.000000");
  for (int f = 8; f <= 17; ++f) EXPECT_EQ(record[f], "") << "field " << f;
}

TEST(MemoryReply, TypeDetectionAndOddLengths) {
  struct Row {
    const char* name;
    std::string reply;
    int filledField;    // a field that must hold `filledValue`
    const char* filledValue;
    int emptyField;     // a field that must stay empty
  } rows[] = {
      // "MT" anywhere (here inside the date) and no "MN": 13 values.
      {"MT anywhere", "X,Y,MT,a,b,c,d,e,f,g,h,i,j" + kEnd, 21, "i", 10},
      // "MN" wins over "MT" even when "MT" comes first.
      {"MN beats MT", "MT,MN,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19" + kEnd, 19, "19", 20},
      {"empty slot", "NO DATA" + kEnd, 0, "NO DATA", 1},
      {"empty slot without terminator", "N", 0, "", 1},
      {"short normal reply", "A0,MN,2009" + kEnd, 0, "A0", 2},
      {"surplus stays in the last", "0,MS,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19" + kEnd, 33,
       "17,18,19", 4},
  };
  for (const Row& row : rows) {
    ManualRecord record;
    ParseMemoryRecord(row.reply, record);
    EXPECT_EQ(record[row.filledField], row.filledValue) << row.name;
    EXPECT_EQ(record[row.emptyField], "") << row.name;
  }
  // Fewer values than the type calls for: every value lands in order, the last
  // field takes the cut remainder (here everything, as no comma is left).
  ManualRecord shortRecord;
  ParseMemoryRecord("A0,MN,2009" + kEnd, shortRecord);
  EXPECT_EQ(shortRecord[0], "A0");
  EXPECT_EQ(shortRecord[1], "MN");
  EXPECT_EQ(shortRecord[19], "2009");
}

struct LoggingResult {
  LoggingHeader header;
  std::vector<LoggingSample> samples = std::vector<LoggingSample>(kMaxSamples);
};

LoggingResult ParseLogging(const std::string& reply, int count) {
  LoggingResult result;
  ParseLoggingSet(reply, count, result.header, result.samples.data());
  return result;
}

const std::string kLogHeader = "0,Logging,2009-03-05,14:07:09,30,23.5,45,5000,";

TEST(LoggingReply, HeaderAndSamples) {
  LoggingResult r = ParseLogging(kLogHeader + "4990,1.2e+03,4980,2.0e+09,4970,OF" + kEnd, 3);
  const char* header[] = {"0", "Logging", "2009-03-05", "14:07:09", "30", "23.5", "45", "5000"};
  for (int c = 0; c < kHeaderFieldCount; ++c) EXPECT_EQ(r.header[c], header[c]) << "header " << c;
  struct Row {
    int sample;
    const char* voltage;
    const char* resistance;
  } rows[] = {{0, "4990", "1200.000000"}, {1, "4980", "2000000000.000000"}, {2, "4970", "OF"}};
  for (const Row& row : rows) {
    EXPECT_EQ(r.samples[row.sample][sample::kOutputVoltage], row.voltage) << row.sample;
    EXPECT_EQ(r.samples[row.sample][sample::kResistance], row.resistance) << row.sample;
    EXPECT_EQ(r.samples[row.sample][sample::kDate], "") << "dates come later";
  }
  EXPECT_EQ(r.samples[3][sample::kOutputVoltage], "");
}

TEST(LoggingReply, OverRangeMarksAndCounts) {
  struct Row {
    const char* name;
    std::string body;  // after the header
    int count;
    int sampleIndex;
    const char* voltage;
    const char* resistance;
  } rows[] = {
      {"OF with two commas reads as one", "1,OF,,2,3.0e+09" + kEnd, 2, 1, "2", "3000000000.000000"},
      {"OF,, in the middle keeps its sample", "1,OF,,2,3" + kEnd, 2, 0, "1", "OF"},
      {"last OF is exactly OF", "1,2,3,OF" + kEnd, 2, 1, "3", "OF"},
      {"last OF with trailing junk is cut to OF", "1,OFxyz" + kEnd, 1, 0, "1", "OF"},
      {"last value without terminator", "1,2", 1, 0, "1", ""},
      {"fewer values than the count", "1,2" + kEnd, 3, 2, "", "2"},
      {"fewer values: middle sample empty", "1,2" + kEnd, 3, 1, "", ""},
      {"surplus stays in the last", "1,2,3,4" + kEnd, 1, 0, "1", "2,3,4"},
  };
  for (const Row& row : rows) {
    LoggingResult r = ParseLogging(kLogHeader + row.body, row.count);
    EXPECT_EQ(r.samples[row.sampleIndex][sample::kOutputVoltage], row.voltage) << row.name;
    EXPECT_EQ(r.samples[row.sampleIndex][sample::kResistance], row.resistance) << row.name;
  }
}

TEST(LoggingReply, CountsBeyondTheBufferNeverWritePastIt) {
  std::string body;
  for (int i = 0; i < 400; ++i) body += "1,2,";
  body += "1,2" + kEnd;
  LoggingResult r = ParseLogging(kLogHeader + body, 5000);
  ASSERT_EQ(r.samples.size(), static_cast<size_t>(kMaxSamples));
  EXPECT_EQ(r.samples[kMaxSamples - 1][sample::kOutputVoltage], "1");
  EXPECT_NE(r.samples[kMaxSamples - 1][sample::kResistance], "");
  LoggingResult none = ParseLogging(kLogHeader + "1,2" + kEnd, -3);
  EXPECT_EQ(none.samples[0][sample::kOutputVoltage], "");
  EXPECT_EQ(none.header[7], "5000");
}

// A line end inside a reply value would split a saved data file's line; every
// stored text comes out without one, whatever the reply carried.
TEST(LineEndsInReplies, NeverReachAStoredText) {
  struct TextRow {
    const char* name;
    std::string stored;
    const char* expected;
  } textRows[] = {
      {"identification", ParseTextReply("ZAVEL\n,QV70\r,Ver1.00" + kEnd), "ZAVEL,QV70,Ver1.00"},
      {"serial of line ends only", ParseTextReply("\n\r\n" + kEnd), ""},
      {"pi t1", ParsePiReply("0\n1,10" + kEnd).t1, "01"},
      {"pi t2", ParsePiReply("01,1\r0" + kEnd).t2, "10"},
      {"step", ParseStepReply("0\n5" + kEnd), "05"},
  };
  for (const TextRow& row : textRows) EXPECT_EQ(row.stored, row.expected) << row.name;

  struct MemoryRow {
    const char* name;
    std::string reply;
    int field;
    const char* expected;
  } memoryRows[] = {
      {"inside a middle value", "A\n0,MN,2009-03-05" + kEnd, 0, "A0"},
      {"inside an exponent value", "A0,MN,1,2,3,4,5,6,7,1.2e+0\r\n3,x" + kEnd, 9, "1200.000000"},
      {"last value keeps its text", Join(std::vector<std::string>(19, "MN")) + ",1.\n5" + kEnd, 19, "1.5"},
      {"empty slot", "NO\r\nDATA" + kEnd, 0, "NODATA"},
  };
  for (const MemoryRow& row : memoryRows) {
    ManualRecord record;
    ParseMemoryRecord(row.reply, record);
    EXPECT_EQ(record[row.field], row.expected) << row.name;
    for (int f = 0; f < kManualFieldCount; ++f) {
      EXPECT_EQ(record[f].find_first_of("\r\n"), std::string::npos) << row.name << " field " << f;
    }
  }

  LoggingResult r = ParseLogging("0,Log\nging,2009-03-05,14:07:09,30,23.5,45,5000,49\r90,1.2e+0\n3,4980,O\nF" + kEnd, 2);
  EXPECT_EQ(r.header[1], "Logging");
  EXPECT_EQ(r.samples[0][sample::kOutputVoltage], "4990");
  EXPECT_EQ(r.samples[0][sample::kResistance], "1200.000000");
  EXPECT_EQ(r.samples[1][sample::kResistance], "OF");
}

}  // namespace
}  // namespace qv70

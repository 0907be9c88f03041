#include "core/data/values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>

#include "core/data/record_tables.h"

namespace qv70 {
namespace {

struct TextCase {
  const char* input;
  const char* expected;
};

TEST(FormatThreeFigures, RoundsToThreeSignificantFigures) {
  const TextCase cases[] = {
      {"1234", "1230"},         {"1995", "2000"},          {"123.5", "124"},
      {"45", "45.0"},           {"12.345", "12.3"},        {"12.35", "12.4"},
      {"5", "5.00"},            {"1.245", "1.25"},         {"0.25", "0.250"},
      {"0.000123456", "0.000123"}, {"0", "0.000"},          {"", "0.000"},
      {"-2.5", "-2.50"},        {"99.95", "100.0"},        {"9.996", "10.00"},
      {"1.000000", "1.00"},     {"5.000000000000000", "5.00"}, {"0.3", "0.300"},
      {"0.000123", "0.000123"}, {"2000000", "2000000"},    {"123456789", "123000000"},
      {"999.5", "1000"},        {"0.0999999", "0.1000"},    {"1.52", "1.52"},
      {"36.6", "36.6"},         {"-0.25", "-0.250"},       {"abc", "0.000"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(FormatThreeFigures(c.input), c.expected) << c.input;
}

TEST(FormatThreeFigures, SurvivesValuesWithoutDigitsToRound) {
  // Huge and non-finite inputs come from damaged files; they must neither hang nor overrun.
  EXPECT_EQ(FormatThreeFigures("inf"), "inf");
  EXPECT_EQ(FormatThreeFigures("nan"), "nan");
  const std::string huge = FormatThreeFigures("1e300");
  EXPECT_GE(huge.size(), 300u);
  EXPECT_EQ(huge.find_first_not_of("0123456789"), std::string::npos);
  // Any minus sign marks the value negative, also an exponent's.
  EXPECT_EQ(FormatThreeFigures("1e-300"), "-0.000");
}

TEST(FormatElapsed, MinuteAndHourForms) {
  const struct {
    long long seconds;
    const char* minutes;
    const char* hours;
  } cases[] = {
      {0, "0s", ""},         {45, "45s", "45s"},           {60, "1min0s", "1min0s"},
      {75, "1min15s", "1min15s"}, {90, "1min30s", "1min30s"}, {3600, "60min0s", "1h0min0s"},
      {3630, "60min30s", "1h0min30s"}, {-5, "", ""},      {86400, "1440min0s", "24h0min0s"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatElapsedMinutes(static_cast<int>(c.seconds)), c.minutes) << c.seconds;
    EXPECT_EQ(FormatElapsedHours(c.seconds), c.hours) << c.seconds;
  }
}

class Conversion : public ::testing::Test {
 protected:
  // Puts the same received text into the raw and the converted copy, as a download does.
  void Receive(int group, int record, int field, const std::string& text) {
    tables.Manual(RecordCopy::Raw, group, record, field) = text;
    tables.Manual(RecordCopy::Converted, group, record, field) = text;
  }
  std::string Raw(int field) const { return tables.Manual(RecordCopy::Raw, 0, 0, field); }
  std::string Converted(int field) const { return tables.Manual(RecordCopy::Converted, 0, 0, field); }

  RecordTables tables;
};

TEST_F(Conversion, NormalTestRecord) {
  const struct {
    int field;
    const char* received;
    const char* raw;
    const char* converted;
  } fields[] = {
      {field::kDataNo, "A0", "A0", "A0"},
      {field::kTestType, "Normal Test", "Normal Test", "Normal Test"},
      {field::kDate, "2009-12-31", "2009-12-31", "2009-12-31"},
      {field::kElapsed, "75", "75", "1min15s"},
      {field::kTemperature, "23.46", "23.5", "23.5"},
      {field::kHumidity, "45", "45.0", "45.0"},
      {field::kSetVoltage, "1000", "1000", "1.00"},
      {field::kOutputVoltage, "1012.7", "1013", "1.01"},
      {field::kResistance, "5.0e+09", "5000000000", "5.00"},
      {field::kRes15s, "123456", "123456", "0.000123"},
      {field::kRes30s, "OF", "OF", "OF"},
      {field::kRes1min, "UF", "UF", "UF"},
      {field::kDar15s, "1.52", "2", "1.52"},
      {field::kDar30s, "E", "E", ""},
      {field::kT1, "1", "1", "1"},
      {field::kPi, "2.345", "2.345", "2.35"},
      {field::kRefTemperature, "", "", ""},
  };
  for (const auto& f : fields) Receive(0, 0, f.field, f.received);
  ConvertManualRecord(tables, 0, 0);
  for (const auto& f : fields) {
    EXPECT_EQ(Raw(f.field), f.raw) << "field " << f.field;
    EXPECT_EQ(Converted(f.field), f.converted) << "field " << f.field;
  }
}

TEST_F(Conversion, TcTestRoundsItsOwnFieldsOnly) {
  Receive(0, 0, field::kTestType, "TC Test");
  Receive(0, 0, field::kRefTemperature, "20");
  Receive(0, 0, field::kTcResistance, "2.5e+10");
  Receive(0, 0, field::kTableNo, "3");
  Receive(0, 0, field::kDar15s, "1.5");  // not a TC field: no rounding, no raw change
  ConvertManualRecord(tables, 0, 0);
  EXPECT_EQ(Converted(field::kRefTemperature), "20.0");
  EXPECT_EQ(Converted(field::kTcResistance), "25.0");
  EXPECT_EQ(Raw(field::kTcResistance), "25000000000");
  EXPECT_EQ(Converted(field::kTableNo), "3");
  EXPECT_EQ(Converted(field::kRes15s), "");
  EXPECT_EQ(Converted(field::kDar15s), "1.5");
  EXPECT_EQ(Raw(field::kDar15s), "1.5");
}

TEST_F(Conversion, StepVoltageRecordScalesEveryStep) {
  Receive(0, 0, field::kTestType, "Step Voltage Test");
  Receive(0, 0, field::kStepInterval, "60");
  for (int step = 0; step < 5; ++step) {
    Receive(0, 0, field::kStep1Voltage + 2 * step, std::to_string(500 * (step + 1)));
    Receive(0, 0, field::kStep1Voltage + 2 * step + 1, "1.2e+11");
  }
  ConvertManualRecord(tables, 0, 0);
  EXPECT_EQ(Converted(field::kStepInterval), "1min0s");
  EXPECT_EQ(Converted(24), "0.500");
  EXPECT_EQ(Converted(32), "2.50");
  EXPECT_EQ(Converted(33), "120");
  EXPECT_EQ(Raw(33), "120000000000");
}

TEST_F(Conversion, EmptyRecordStaysEmptyAndGroupELabelSurvives) {
  ConvertManualRecord(tables, 1, 1);
  for (int f = 0; f < kManualFieldCount; ++f) EXPECT_EQ(tables.Manual(RecordCopy::Converted, 1, 1, f), "");
  Receive(4, 3, field::kDataNo, "E3");
  Receive(4, 3, field::kTestType, "Normal Test");
  ConvertManualRecord(tables, 4, 3);
  EXPECT_EQ(tables.Manual(RecordCopy::Converted, 4, 3, field::kDataNo), "E3");
}

class LoggingConversion : public ::testing::Test {
 protected:
  void ReceiveHeader(int field, const std::string& text) {
    tables.Header(RecordCopy::Raw, 2, field) = text;
    tables.Header(RecordCopy::Converted, 2, field) = text;
  }
  void ReceiveSample(int index, int field, const std::string& text) {
    tables.Sample(RecordCopy::Raw, 2, index, field) = text;
    tables.Sample(RecordCopy::Converted, 2, index, field) = text;
  }
  RecordTables tables;
};

TEST_F(LoggingConversion, HeaderAndSamples) {
  tables.sampleCount[2] = 3;
  ReceiveHeader(header::kTemperature, "21.25");
  ReceiveHeader(header::kHumidity, "E");
  ReceiveHeader(header::kSetVoltage, "5000");
  ReceiveSample(0, sample::kOutputVoltage, "5012");
  ReceiveSample(0, sample::kResistance, "1.23e+11");
  ReceiveSample(1, sample::kResistance, "OF");
  ReceiveSample(2, sample::kResistance, "E");
  ReceiveSample(3, sample::kResistance, "4e9");  // beyond the count: untouched
  ConvertLoggingSet(tables, 2);
  EXPECT_EQ(tables.Header(RecordCopy::Converted, 2, header::kTemperature), "21.2");
  EXPECT_EQ(tables.Header(RecordCopy::Raw, 2, header::kTemperature), "21.2");
  EXPECT_EQ(tables.Header(RecordCopy::Converted, 2, header::kHumidity), "");
  EXPECT_EQ(tables.Header(RecordCopy::Raw, 2, header::kHumidity), "E");
  EXPECT_EQ(tables.Header(RecordCopy::Converted, 2, header::kSetVoltage), "5000");
  EXPECT_EQ(tables.Sample(RecordCopy::Converted, 2, 0, sample::kOutputVoltage), "5.01");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 2, 0, sample::kOutputVoltage), "5012");
  EXPECT_EQ(tables.Sample(RecordCopy::Converted, 2, 0, sample::kResistance), "123");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 2, 0, sample::kResistance), "123000000000");
  EXPECT_EQ(tables.Sample(RecordCopy::Converted, 2, 1, sample::kResistance), "OF");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 2, 1, sample::kResistance), "OF");
  EXPECT_EQ(tables.Sample(RecordCopy::Converted, 2, 2, sample::kResistance), "");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 2, 2, sample::kResistance), "E");
  EXPECT_EQ(tables.Sample(RecordCopy::Converted, 2, 3, sample::kResistance), "4e9");
}

TEST_F(LoggingConversion, UnitSwitchesOfTheInformationPanel) {
  const struct {
    const char* volts;
    const char* unit;
    const char* shown;
  } voltages[] = {{"5000", "kV", "5.00"}, {"1000", "kV", "1.00"}, {"999", " V", "999"}, {"250", " V", "250"}};
  for (const auto& v : voltages) {
    ReceiveHeader(header::kSetVoltage, v.volts);
    EXPECT_EQ(ApplySetVoltageUnit(tables, 2), v.unit) << v.volts;
    EXPECT_EQ(tables.Header(RecordCopy::Converted, 2, header::kSetVoltage), v.shown) << v.volts;
  }
  const struct {
    const char* seconds;
    const char* unit;
    const char* shown;
  } intervals[] = {{"90", "min", "1"}, {"600", "min", "10"}, {"30", "s", "30"}, {"0", "s", "0"}};
  for (const auto& i : intervals) {
    ReceiveHeader(header::kInterval, i.seconds);
    EXPECT_EQ(ApplyTestIntervalUnit(tables, 2), i.unit) << i.seconds;
    EXPECT_EQ(tables.Header(RecordCopy::Converted, 2, header::kInterval), i.shown) << i.seconds;
  }
}

class SampleTimes : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    savedTz_ = tz ? tz : "";
    hadTz_ = tz != nullptr;
    setenv("TZ", "UTC0", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", savedTz_.c_str(), 1); else unsetenv("TZ");
    tzset();
  }
  RecordTables tables;

 private:
  std::string savedTz_;
  bool hadTz_ = false;
};

TEST_F(SampleTimes, CrossYearAndMonthBoundaries) {
  tables.sampleCount[1] = 3;
  ComputeSampleTimes(tables, "2009-12-31", "23:59:30", 1, 60);
  const char* expected[][3] = {{"2010-01-01", "00:00:30", "1min0s"},
                               {"2010-01-01", "00:01:30", "2min0s"},
                               {"2010-01-01", "00:02:30", "3min0s"}};
  for (int i = 0; i < 3; ++i)
    for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted})
      for (int f = 0; f < 3; ++f) EXPECT_EQ(tables.Sample(copy, 1, i, f), expected[i][f]) << i << "," << f;

  tables.sampleCount[1] = 2;
  ComputeSampleTimes(tables, "2012-2-28", "12:00:00", 1, 86400);
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 1, 0, 0), "2012-02-29");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 1, 1, 0), "2012-03-01");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 1, 1, 2), "48h0min0s");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 2, 0, 0), "");  // other sets untouched
}

TEST_F(SampleTimes, FixedTimeZoneWithDaylightSaving) {
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  tables.sampleCount[0] = 2;
  // 2010-03-28 02:00 local time does not exist; the calendar arithmetic skips it.
  ComputeSampleTimes(tables, "2010-03-28", "01:30:00", 0, 1800);
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 0, 0, 1), "03:00:00");
  EXPECT_EQ(tables.Sample(RecordCopy::Raw, 0, 1, 1), "03:30:00");
}

TEST(Numbers, IndependentOfTheDesktopLocale) {
  const char* locales[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"};
  for (const char* name : locales) {
    if (std::setlocale(LC_ALL, name) == nullptr) continue;
    EXPECT_EQ(FormatText("%0.1f", 2.25), "2.2") << name;
    EXPECT_DOUBLE_EQ(TextToDouble("1.5"), 1.5) << name;
    EXPECT_EQ(FormatThreeFigures("1.245"), "1.25") << name;
  }
  std::setlocale(LC_ALL, "C");
}

TEST(Numbers, WholeNumbersAsPrintfWritesThem) {
  // The raw copy's "%.0lf" texts, whichever way they are produced.
  RecordTables tables;
  const char* inputs[] = {"5.0e+09", "123456", "1.25e+11", "-3", "-0", "0.5", "1.5", "2.5", "1e15",
                          "9.99999999999999e14", "1e20", "123.456", "007", "-0.4"};
  for (const char* input : inputs) {
    tables.Manual(RecordCopy::Raw, 0, 0, field::kResistance) = input;
    tables.Manual(RecordCopy::Converted, 0, 0, field::kResistance) = input;
    ConvertManualRecord(tables, 0, 0);
    EXPECT_EQ(tables.Manual(RecordCopy::Raw, 0, 0, field::kResistance),
              FormatText("%.0lf", TextToDouble(input)))
        << input;
  }
}

TEST(Numbers, FixedFormatMatchesPrintf) {
  // Sums of a few decimal digits, as the three-figure rounding builds them, and
  // values right at a tie, which must round exactly as printf does.
  unsigned seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int i = 0; i < 100000; ++i) {
    const int decimals = static_cast<int>(next() % 8);
    const double value = static_cast<double>(next() % 100000) / std::pow(10.0, next() % 10);
    ASSERT_EQ(FormatFixed(value, decimals), FormatText("%.*f", decimals, value)) << value << " " << decimals;
  }
  const struct {
    double value;
    int decimals;
  } ties[] = {{0.125, 2}, {2.5, 0}, {0.5, 0}, {1.005, 2}, {1e15, 1}, {-1.5, 1}, {0, 3}, {9.995, 2}};
  for (const auto& t : ties)
    EXPECT_EQ(FormatFixed(t.value, t.decimals), FormatText("%.*f", t.decimals, t.value)) << t.value;
}

TEST(Numbers, AtoiAndAtofSemantics) {
  EXPECT_EQ(TextToInt("  42abc"), 42);
  EXPECT_EQ(TextToInt("abc"), 0);
  EXPECT_EQ(TextToInt("-7"), -7);
  EXPECT_EQ(TextToInt("99999999999999"), 2147483647);
  EXPECT_DOUBLE_EQ(TextToDouble("5.0e+09"), 5e9);
  EXPECT_DOUBLE_EQ(TextToDouble("12kV"), 12);
  EXPECT_DOUBLE_EQ(TextToDouble("OF"), 0);
}

}  // namespace
}  // namespace qv70

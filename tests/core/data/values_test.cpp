#include "core/data/values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "core/data/record_tables.h"
#include "support/three_figures_by_printf.h"

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

TEST(FormatThreeFigures, AsAtofAndPrintfRoundOverASeededSweep) {
  // The "%lf" and "%0.15lf" texts of kilovolts and gigaohms as conversions
  // write them, plain decimals of every size, and values just below a carry.
  std::mt19937_64 random(1995);
  for (int i = 0; i < 100000; ++i) {
    const double volts = static_cast<double>(random() % 15000000) / std::pow(10.0, random() % 4);
    const double ohms = static_cast<double>(random() % 1000000000) * std::pow(10.0, static_cast<double>(random() % 9));
    const std::string texts[] = {
        FormatText("%lf", volts / 1000),
        FormatText("%lf", ohms / 1e9),
        FormatText("%0.15lf", ohms / 1e9),
        FormatText("%.*f", static_cast<int>(random() % 8), static_cast<double>(random() % 100000000) / 1000),
        FormatText("%.12f", (static_cast<double>(random() % 1000) + 0.9995) / std::pow(10.0, random() % 12)),
        (random() % 2 ? "-" : "") + FormatText("%.17g", static_cast<double>(random() % 100000) / 7),
        // From 10^-48 (the first figure far after the point) to 10^21 (beyond exact wholes).
        FormatText("%.52f", static_cast<double>(random() % 1000000) * std::pow(10.0, static_cast<int>(random() % 70) - 54)),
    };
    for (const std::string& text : texts) ASSERT_EQ(FormatThreeFigures(text), test::ThreeFiguresByPrintf(text)) << text;
  }
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

// The sample texts as the C library gives them: the first sample mktime's
// normalisation of the start plus the interval, each later one localtime_r of
// the instant before plus the interval, both written by strftime.
std::vector<std::string> LibrarySampleTimes(const std::string& date, const std::string& time, int interval,
                                            int count) {
  std::tm tm{};
  std::sscanf(date.c_str(), "%d-%d-%d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday);
  std::sscanf(time.c_str(), "%d:%d:%d", &tm.tm_hour, &tm.tm_min, &tm.tm_sec);
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  tm.tm_sec += interval;
  tm.tm_isdst = -1;
  std::time_t instant = std::mktime(&tm);
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i, instant += interval) {
    localtime_r(&instant, &tm);
    char text[32];
    std::strftime(text, sizeof text, "20%y-%m-%d %H:%M:%S", &tm);
    texts.push_back(text);
  }
  return texts;
}

TEST_F(SampleTimes, AsTheCLibraryWritesThem) {
  const struct {
    const char* name;
    const char* zone;
    const char* date;
    const char* time;
    int interval;
  } runs[] = {
      {"into a new year", "UTC0", "2009-12-31", "23:00:00", 10},
      {"through a leap day", "UTC0", "2012-02-28", "23:59:00", 600},
      {"through a leap century's leap day", "UTC0", "2000-02-28", "12:00:00", 3600},
      {"past a year without a leap day", "UTC0", "2099-02-27", "00:00:00", 3600},
      {"a year of days", "UTC0", "2015-06-30", "08:00:00", 86400},
      {"month ends by the minute", "UTC0", "2021-04-30", "23:55:00", 60},
      {"start written without leading zeros", "UTC0", "2010-1-9", "7:5:3", 5},
      {"start past the end of its month", "UTC0", "2010-02-30", "25:61:61", 30},
      {"into spring's missing hour", "CET-1CEST,M3.5.0,M10.5.0/3", "2010-03-28", "01:00:00", 15},
      {"through autumn's repeated hour", "CET-1CEST,M3.5.0,M10.5.0/3", "2010-10-31", "01:30:00", 20},
      {"over both changes of a year", "EST5EDT,M3.2.0,M11.1.0", "2011-01-01", "00:00:00", 86400},
      {"half an hour's change", "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", "2013-10-06", "01:00:00", 60},
      {"no interval", "UTC0", "2010-05-05", "05:05:05", 0},
      {"backwards", "UTC0", "2010-01-01", "00:10:00", -7},
  };
  for (const auto& run : runs) {
    setenv("TZ", run.zone, 1);
    tzset();
    tables.sampleCount[4] = kMaxSamples;
    ComputeSampleTimes(tables, run.date, run.time, 4, run.interval);
    const std::vector<std::string> expected = LibrarySampleTimes(run.date, run.time, run.interval, kMaxSamples);
    for (int i = 0; i < kMaxSamples; ++i) {
      ASSERT_EQ(tables.Sample(RecordCopy::Converted, 4, i, sample::kDate) + " " +
                    tables.Sample(RecordCopy::Converted, 4, i, sample::kTime),
                expected[static_cast<size_t>(i)])
          << run.name << ", sample " << i;
      ASSERT_EQ(tables.Sample(RecordCopy::Raw, 4, i, sample::kTime),
                tables.Sample(RecordCopy::Converted, 4, i, sample::kTime));
    }
  }
}

TEST_F(SampleTimes, AsTheCLibraryWritesThemOverASeededSweep) {
  const char* zones[] = {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0"};
  const int intervals[] = {5, 10, 15, 30, 60, 120, 600, 3600, 86400};
  std::mt19937 random(2009);
  for (int run = 0; run < 300; ++run) {
    setenv("TZ", zones[run % 3], 1);
    tzset();
    const std::string date = std::to_string(2000 + random() % 100) + "-" + std::to_string(1 + random() % 12) + "-" +
                             std::to_string(1 + random() % 31);
    const std::string time = std::to_string(random() % 24) + ":" + std::to_string(random() % 60) + ":" +
                             std::to_string(random() % 60);
    const int interval = intervals[random() % 9];
    tables.sampleCount[7] = kMaxSamples;
    ComputeSampleTimes(tables, date, time, 7, interval);
    const std::vector<std::string> expected = LibrarySampleTimes(date, time, interval, kMaxSamples);
    for (int i = 0; i < kMaxSamples; ++i)
      ASSERT_EQ(tables.Sample(RecordCopy::Raw, 7, i, sample::kDate) + " " +
                    tables.Sample(RecordCopy::Raw, 7, i, sample::kTime),
                expected[static_cast<size_t>(i)])
          << zones[run % 3] << ", " << date << " " << time << " every " << interval << " s, sample " << i;
  }
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

// The C library's own conversions, which the fast ones must equal everywhere.
std::string Printf(double value, int decimals) {
  char text[512];
  const int length = std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return std::string(text, static_cast<size_t>(length));
}

double Strtod(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

::testing::AssertionResult SameDouble(double got, double expected) {
  if (std::memcmp(&got, &expected, sizeof got) == 0 || (std::isnan(got) && std::isnan(expected)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << FormatText("%a", got) << " against strtod's " << FormatText("%a", expected);
}

TEST(Numbers, FixedFormatAsPrintfAtTheEdges) {
  const struct {
    const char* name;
    double value;
  } values[] = {
      {"zero", 0.0},
      {"negative zero", -0.0},
      {"half", 0.5},
      {"one and a half", 1.5},
      {"two and a half", 2.5},
      {"minus a half", -0.5},
      {"an eighth", 0.125},
      {"three eighths", 0.375},
      {"tie below zero", -0.125},
      {"1.005, just below its tie", 1.005},
      {"9.995", 9.995},
      {"0.15, whose tenfold rounds to a tie", 0.15},
      {"1.45", 1.45},
      {"2.675", 2.675},
      {"a tenth", 0.1},
      {"a little negative", -1e-7},
      {"half a millionth", 5e-7},
      {"2^53 + 2", 9007199254740994.0},
      {"10^15", 1e15},
      {"10^23", 1e23},
      {"10^300", 1e300},
      {"largest", 1.7976931348623157e308},
      {"smallest normal", 2.2250738585072014e-308},
      {"smallest subnormal", 4.9406564584124654e-324},
      {"gigaohms of 123456 ohms", 123456 / 1e9},
      {"kilovolts of 5012 volts", 5012 / 1000.0},
      {"largest below 2^63", 9223372036854774784.0},
      {"2^63", 9223372036854775808.0},
      {"2^51 and a half", 2251799813685248.5 - 1},
      {"a thousandth off a whole number of units", 1.001e-3},
      {"infinity", HUGE_VAL},
      {"minus infinity", -HUGE_VAL},
      {"not a number", std::nan("")},
      {"negative not a number", -std::nan("")},
  };
  for (const auto& v : values)
    for (int decimals = 0; decimals <= 70; ++decimals)
      ASSERT_EQ(FormatFixed(v.value, decimals), Printf(v.value, decimals)) << v.name << ", " << decimals;
}

TEST(Numbers, FixedFormatAsPrintfOverASeededSweep) {
  std::mt19937_64 random(97);
  auto decimalsOf = [&random] { return static_cast<int>(random() % 18); };
  for (int i = 0; i < 100000; ++i) {
    // Any bit pattern, decimal texts' values as the conversions scale them, and exact binary ties.
    std::uint64_t bits = random();
    double anyValue;
    std::memcpy(&anyValue, &bits, sizeof anyValue);
    const double scaled = static_cast<double>(random() % 100000000000ULL) / std::pow(10.0, random() % 16);
    const int tieDecimals = static_cast<int>(random() % 10);
    const double tie = (static_cast<double>(random() % 2000001) + 0.5) / std::pow(2.0, tieDecimals);
    for (double value : {anyValue, scaled, -scaled, scaled / 1000, scaled / 1e9, tie}) {
      const int decimals = value == tie ? tieDecimals : decimalsOf();
      ASSERT_EQ(FormatFixed(value, decimals), Printf(value, decimals)) << FormatText("%a", value) << ", " << decimals;
    }
  }
}

TEST(Numbers, TextToDoubleAsStrtodAtTheEdges) {
  const char* texts[] = {
      "", " 1.5", "\t2", "+1.5", "-1.5", "1e400", "-1e400", "1e-400", "4.9e-324", "2.4703282292062327e-324",
      "2.2250738585072011e-308", "1.7976931348623157e308", "1.7976931348623159e308", "0x1p3", "-0x10",
      "0X1", "0x", "inf", "-infinity", "INF", "nan", "nan(123)", "-nan", ".5", "-.5", "5.", "-", ".", "-.",
      "1e", "1e+", "1e-", "1.5e+09", "5.0e+09", "5.0E+09", "12kV", "OF", "UF", "E", "007", "-0", "0e0",
      "0.000000000000000000000000000001", "123456789012345678901234567890", "9007199254740993",
      "9007199254740993.000000000000000000001", "1,5", "1.5\n", "1.5 ", "0.1000000000000000055511151231257827",
      "1.25e+11", "123.456000", "00000000000000000000000000001.5", "1e0000000000000000000000000001",
      "10.05", "0.000123", "1.50", "1e22", "1e23", "1e-22", "9e-23", "123456789012345", "1234567890123456",
      "0.123456789012345", "0.1234567890123456", "1.2345678901234567e5", "123456789012345e7", "1.5e+",
      "1.5e-", "2.5E3x", "0.0e-0", "100000000000000000000000", "-0.000", "5e-1", "1.e2", ".e2",
  };
  for (const char* text : texts) EXPECT_TRUE(SameDouble(TextToDouble(text), Strtod(text))) << "\"" << text << "\"";
}

TEST(Numbers, TextToDoubleAsStrtodOverASeededSweep) {
  std::mt19937_64 random(31);
  auto digits = [&random](int most) {
    std::string text;
    for (int n = static_cast<int>(random() % static_cast<unsigned>(most)); n >= 0; --n)
      text += static_cast<char>('0' + random() % 10);
    return text;
  };
  for (int i = 0; i < 100000; ++i) {
    // Texts as an instrument, a file or a person could write them, and the
    // shortest and the printf texts of any double.
    std::string text = random() % 4 == 0 ? "-" : "";
    text += digits(random() % 3 == 0 ? 25 : 8);
    if (random() % 2) text += "." + digits(20);
    if (random() % 3 == 0) text += (random() % 2 ? "e" : "E") + std::string(random() % 2 ? "-" : "+") + digits(3);
    std::uint64_t bits = random();
    double anyValue;
    std::memcpy(&anyValue, &bits, sizeof anyValue);
    for (const std::string& t : {text, FormatText("%.17g", anyValue), FormatText("%lf", anyValue),
                                 FormatText("%.3e", anyValue)})
      ASSERT_TRUE(SameDouble(TextToDouble(t), Strtod(t))) << "\"" << t << "\"";
  }
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

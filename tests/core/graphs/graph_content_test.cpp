// The graphs as values: units, ranges, positions and the off-scale rule.
#include "core/graphs/graph_content.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "core/graphs/graph_tables.h"

namespace qv70 {

inline void PrintTo(const ChartPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const ValueRange& r, std::ostream* os) { *os << r.minimum << " to " << r.maximum; }

namespace {

using test::PutLoggingSet;
using test::PutStepRecord;
using test::SameSamples;

const std::array<std::string, 5> kStepVolts = {"500", "1000", "1500", "2000", "2500"};
// 2, over range, 5, 4 and 3 gigaohms.
const std::array<std::string, 5> kOverRangeSecond = {"2000000000", "OF", "5000000000", "4000000000",
                                                     "3000000000"};

struct ContentCase {
  const char* name;
  std::function<GraphContent(RecordTables&)> build;
  const char* leftCaption;
  ValueRange leftRange;
  ValueRange bottomRange;
  double divisor;
  std::vector<ChartPoint> line;  // empty: only its ends are checked below
  std::size_t marks;
  ChartPoint firstLinePoint;
  ChartPoint lastLinePoint;
};

GraphContent Step(RecordTables& tables, const test::StepRecordValues& record, GraphQuantity quantity,
                  GraphUse use) {
  PutStepRecord(tables, 2, 4, record);
  return StepGraphContent(tables, 2, 4, quantity, use);
}

GraphContent Logging(RecordTables& tables, const std::string& interval,
                     const std::vector<std::pair<std::string, std::string>>& samples, GraphQuantity quantity,
                     GraphUse use) {
  PutLoggingSet(tables, 7, interval, samples);
  return LoggingGraphContent(tables, 7, quantity, use);
}

constexpr auto kR = GraphQuantity::Resistance;
constexpr auto kI = GraphQuantity::LeakCurrent;
constexpr auto kScreen = GraphUse::Screen;
constexpr auto kReport = GraphUse::Report;

TEST(GraphContent, UnitsRangesPositionsAndOffScalePoints) {
  const std::array<std::string, 5> thousand = {"1000", "500", "0", "250", "1000"};
  const ContentCase cases[] = {
      {"2500 V, step 2 over range",
       [&](RecordTables& t) { return Step(t, {"2500", kStepVolts, kOverRangeSecond}, kR, kScreen); },
       "Resistance[GOhms]", {-0.5, 10}, {-0.05, 3.0}, 1e9,
       {{0.5, 2}, {0.5, 1009}, {1.5, 1009}, {1.5, 5}, {2.0, 4}, {2.5, 3}}, 4, {}, {}},
      {"5000 V, step 2 over range",
       [&](RecordTables& t) { return Step(t, {"5000", kStepVolts, kOverRangeSecond}, kR, kScreen); },
       "Resistance[GOhms]", {-0.5, 10}, {-0.05, 6.0}, 1e9,
       {{1, 2}, {1, 1009}, {3, 1009}, {3, 5}, {4, 4}, {5, 3}}, 4, {}, {}},
      {"step at exactly 1000 ohms",
       [&](RecordTables& t) { return Step(t, {"1000", kStepVolts, thousand}, kR, kScreen); },
       "Resistance[KOhms]", {-0.1, 2.0}, {-0.05, 3.0}, 1e3,
       {{0.5, 1}, {1.0, 0.5}, {1.5, 0}, {2.0, 0.25}, {2.5, 1}}, 5, {}, {}},
      {"report step at exactly 1000 ohms",
       [&](RecordTables& t) { return Step(t, {"1000", kStepVolts, thousand}, kR, kReport); },
       "Resistance[KOhms]", {-0.1, 2.0}, {-0.05, 3.0}, 1e3, {}, 5, {0.5, 1}, {2.5, 1}},
      {"logging at exactly 1000 ohms",
       [&](RecordTables& t) { return Logging(t, "60", SameSamples(3, "1000", "1000"), kR, kScreen); },
       "Resistance[Ohms]", {-100, 1650}, {0, 4}, 1, {{1, 1000}, {2, 1000}, {3, 1000}}, 3, {}, {}},
      {"report logging at exactly 1000 ohms",
       [&](RecordTables& t) { return Logging(t, "60", SameSamples(3, "1000", "1000"), kR, kReport); },
       "Resistance[Ohms]", {-100, 1650}, {0, 4}, 1, {}, 3, {1, 1000}, {3, 1000}},
      {"120 samples at 30 s",
       [&](RecordTables& t) { return Logging(t, "30", SameSamples(120, "1000", "5000000000"), kR, kScreen); },
       "Resistance[GOhms]", {-0.5, 8.25}, {0, 60.5}, 1e9, {}, 120, {0.5, 5}, {60, 5}},
      {"last sample over range",
       [&](RecordTables& t) {
         return Logging(t, "60", {{"1000", "1000000"}, {"1000", "2000000"}, {"1000", "OF"}}, kR, kScreen);
       },
       "Resistance[MOhms]", {-0.2, 3.3}, {0, 4}, 1e6, {{1, 1}, {2, 2}, {2, 1003}, {4, 1003}}, 2, {}, {}},
      {"below one ohm, the start value keeps the axis",
       [&](RecordTables& t) { return Logging(t, "60", SameSamples(2, "1000", "0"), kR, kScreen); },
       "Resistance[Ohms]", {-0.1, 1.65}, {0, 3}, 1, {{1, 0}, {2, 0}}, 2, {}, {}},
      {"report logging of zeros",
       [&](RecordTables& t) { return Logging(t, "60", SameSamples(2, "1000", "0"), kR, kReport); },
       "Resistance[Ohms]", {-0.1, 2.0}, {0, 3}, 1, {}, 2, {1, 0}, {2, 0}},
      {"step current of 0.4 nA in pA",
       [&](RecordTables& t) {
         return Step(t, {"500", {"500", "500", "500", "500", "500"}, {"1250000000000", "2500000000000",
                                                                        "5000000000000", "OF", "1250000000000"}},
                     kI, kReport);
       },
       "Leak Current[pA]", {-40, 540}, {0, 3.0}, 0.001,
       {{0.5, 400}, {1.0, 200}, {1.5, 100}, {2.0, 0}, {2.5, 400}}, 5, {}, {}},
      {"step currents all zero",
       [&](RecordTables& t) { return Step(t, {"1000", kStepVolts, {"OF", "OF", "OF", "OF", "OF"}}, kI, kReport); },
       "Leak Current[pA]", {-0.065, 1.35 * 0.65}, {0, 3.0}, 0.001, {}, 5, {0.5, 0}, {2.5, 0}},
      {"logging current in uA",
       [&](RecordTables& t) { return Logging(t, "120", SameSamples(4, "1000", "100000000"), kI, kReport); },
       "Leak Current[uA]", {-1, 13.5}, {0, 10}, 1e3, {}, 4, {2, 10}, {8, 10}},
      {"negative, NaN, infinite and empty values",
       [&](RecordTables& t) { return Step(t, {"1000", kStepVolts, {"-5", "nan", "1e999", "2000", ""}}, kR, kScreen); },
       "Resistance[KOhms]", {-0.2, 4}, {-0.05, 3.0}, 1e3,
       {{1.0, 1003}, {0.5, 1003}, {1.5, 1003}, {1.0, 1003}, {2.0, 1003}, {2.0, 2}, {2.5, 0}}, 2, {}, {}},
      {"a current whose resistance converts to 0 is off-scale",
       [&](RecordTables& t) {
         return Logging(t, "60", {{"1000", "400"}, {"1000", "1000000000"}}, kI, kReport);
       },
       "Leak Current[nA]", {-100, 1350}, {0, 3}, 1, {{2, 2999}, {2, 1000}}, 1, {}, {}},
  };
  for (const ContentCase& c : cases) {
    RecordTables tables;
    const GraphContent content = c.build(tables);
    EXPECT_EQ(content.leftCaption, c.leftCaption) << c.name;
    EXPECT_EQ(content.leftRange, c.leftRange) << c.name;
    EXPECT_EQ(content.bottomRange, c.bottomRange) << c.name;
    EXPECT_EQ(content.divisor, c.divisor) << c.name;
    EXPECT_EQ(content.marks.size(), c.marks) << c.name;
    if (!c.line.empty()) {
      EXPECT_EQ(content.line, c.line) << c.name;
    } else {
      ASSERT_FALSE(content.line.empty()) << c.name;
      EXPECT_EQ(content.line.front(), c.firstLinePoint) << c.name;
      EXPECT_EQ(content.line.back(), c.lastLinePoint) << c.name;
    }
    for (const ChartPoint& mark : content.marks) EXPECT_GE(mark.y, 0) << c.name;
  }
}

TEST(GraphUnit, ThresholdsOfEachTable) {
  const struct {
    const char* name;
    GraphUnit unit;
    const char* caption;
    double divisor;
  } cases[] = {
      {"1000 ohms, at least", ResistanceUnit(1000, UnitThreshold::AtLeast), "Resistance[KOhms]", 1e3},
      {"1000 ohms, above", ResistanceUnit(1000, UnitThreshold::Above), "Resistance[Ohms]", 1},
      {"10^6 ohms, above", ResistanceUnit(1e6, UnitThreshold::Above), "Resistance[KOhms]", 1e3},
      {"10^12 ohms, at least", ResistanceUnit(1e12, UnitThreshold::AtLeast), "Resistance[TOhms]", 1e12},
      {"10^12 ohms, above", ResistanceUnit(1e12, UnitThreshold::Above), "Resistance[GOhms]", 1e9},
      {"0.999 nA", LeakCurrentUnit(0.999), "Leak Current[pA]", 0.001},
      {"1 nA", LeakCurrentUnit(1), "Leak Current[nA]", 1},
      {"1000.5 nA", LeakCurrentUnit(1000.5), "Leak Current[uA]", 1e3},
      {"10^6 + 1 nA", LeakCurrentUnit(1e6 + 1), "Leak Current[mA]", 1e6},
      {"10^9 + 1 nA", LeakCurrentUnit(1e9 + 1), "Leak Current[A]", 1e9},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(c.unit.caption, c.caption) << c.name;
    EXPECT_EQ(c.unit.divisor, c.divisor) << c.name;
  }
}

TEST(GraphValues, LeakCurrentFromTheRawAndConvertedTexts) {
  const struct {
    const char* name;
    const char* raw;
    const char* kilovolts;
    const char* gigaohms;
    double current;
  } cases[] = {
      {"1 kV over 1 GOhm", "1000000000", "1.00", "1.00", 1000},
      {"over range", "OF", "1.00", "OF", 0},
      {"raw zero", "0", "1.00", "0.000", kOffScale},
      {"converted zero", "400", "1.00", "0.000", kOffScale},
      {"negative resistance", "-1000000000", "1.00", "-1.00", kOffScale},
      {"infinite resistance, no current", "1e999", "1.00", "inf", 0},
      {"huge voltage", "1", "1e308", "1e-300", kOffScale},
  };
  for (const auto& c : cases) EXPECT_EQ(LeakCurrentValue(c.raw, c.kilovolts, c.gigaohms), c.current) << c.name;
}

}  // namespace
}  // namespace qv70

// The demo instrument: the same for a seed, plausible and consistent, and in
// reply forms the program's parsers take apart correctly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>

#include "demo_memory.h"
#include "instrument.h"

namespace qv70::sim {
namespace {

bool InRange(const std::string& text) { return !text.empty() && text != "OF" && text != "UF" && text != "E"; }
double Number(const std::string& text) { return std::atof(text.c_str()); }

// Every memory and logging reply of a memory, in command order.
std::vector<std::string> AllReplies(const InstrumentMemory& memory) {
  std::vector<std::string> replies{CountReply(memory)};
  for (int g = 0; g < kGroups; ++g)
    for (int r = 0; r < kSlots; ++r) replies.push_back(RecordReply(memory.slots[g][r]));
  for (int s = 0; s < kSets; ++s) replies.push_back(LoggingReply(memory.sets[s]));
  return replies;
}

TEST(DemoMemory, SameSeedSameInstrumentOtherSeedOtherInstrument) {
  EXPECT_EQ(AllReplies(BuildDemoMemory(7)), AllReplies(BuildDemoMemory(7)));
  EXPECT_NE(AllReplies(BuildDemoMemory(7)), AllReplies(BuildDemoMemory(8)));
}

class DemoSeeds : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(DemoSeeds, CountsAndRecordTypes) {
  InstrumentMemory memory = BuildDemoMemory(GetParam());
  EXPECT_EQ(memory.recordCount[0], 10);
  EXPECT_EQ(memory.slots[0][0].values[1], "MN");
  EXPECT_EQ(memory.slots[0][1].values[1], "MT");
  EXPECT_EQ(memory.slots[0][2].values[1], "MS");
  for (int g = 0; g < kGroups; ++g) {
    EXPECT_GE(memory.recordCount[g], 3) << g;
    for (int r = 0; r < kSlots; ++r) {
      const MemorySlot& slot = memory.slots[g][r];
      // Records fill the slots from 0, as the count says.
      EXPECT_EQ(slot.HasRecord(), r < memory.recordCount[g]) << g << r;
      if (!slot.HasRecord()) continue;
      EXPECT_EQ(slot.values[0], SlotLabel(g, r));
      const std::string& type = slot.values[1];
      size_t expected = type == "MN" ? 20 : type == "MT" ? 13 : type == "MS" ? 18 : 0;
      EXPECT_EQ(slot.values.size(), expected) << slot.values[0];
    }
  }
  for (int s = 0; s < kSets; ++s) {
    EXPECT_EQ(memory.sets[s].points.size(), 360u) << s;
    EXPECT_EQ(memory.sets[s].header[0], "L" + std::to_string(s));
  }
}

// The program finds a record's type by searching the whole reply for "MN",
// then "MT", then "MS", and rewrites every value holding a lower-case "e" as a
// number; a reply that defeats either rule would be taken apart wrongly.
TEST_P(DemoSeeds, RepliesSurviveTheProgramsParsingRules) {
  InstrumentMemory memory = BuildDemoMemory(GetParam());
  static const std::regex kDate("\\d{4}-\\d{2}-\\d{2}"), kTime("\\d{2}:\\d{2}:\\d{2}");
  static const std::regex kExponent("\\d\\.\\d+e[+-]\\d{2}");
  for (int g = 0; g < kGroups; ++g) {
    for (int r = 0; r < memory.recordCount[g]; ++r) {
      const MemorySlot& slot = memory.slots[g][r];
      std::string reply = RecordReply(slot);
      const std::string& type = slot.values[1];
      if (type != "MN") {
        EXPECT_EQ(reply.find("MN"), std::string::npos) << reply;
      }
      if (type == "MS") {
        EXPECT_EQ(reply.find("MT"), std::string::npos) << reply;
      }
      EXPECT_TRUE(std::regex_match(slot.values[2], kDate)) << reply;
      EXPECT_TRUE(std::regex_match(slot.values[3], kTime)) << reply;
      for (const std::string& value : slot.values) {
        EXPECT_EQ(value.find(','), std::string::npos) << reply;
        if (value.find('e') != std::string::npos) {
          EXPECT_TRUE(std::regex_match(value, kExponent)) << value;
        }
      }
    }
  }
  for (int s = 0; s < kSets; ++s) {
    const LoggingMemory& set = memory.sets[s];
    EXPECT_TRUE(std::regex_match(set.header[2], kDate));
    EXPECT_TRUE(std::regex_match(set.header[3], kTime));
    for (const std::string& value : set.header) EXPECT_EQ(value.find('e'), std::string::npos) << value;
    // The program's reply buffer holds 9999 characters.
    EXPECT_LT(LoggingReply(set).size(), 10000u) << s;
    for (const LoggingPoint& point : set.points)
      if (InRange(point.resistance)) {
        EXPECT_TRUE(std::regex_match(point.resistance, kExponent)) << point.resistance;
      }
  }
}

TEST_P(DemoSeeds, NormalTestRatiosAgreeWithTheirResistances) {
  InstrumentMemory memory = BuildDemoMemory(GetParam());
  int checked = 0;
  for (int g = 0; g < kGroups; ++g) {
    for (int r = 0; r < memory.recordCount[g]; ++r) {
      const std::vector<std::string>& v = memory.slots[g][r].values;
      if (v[1] != "MN") continue;
      struct Ratio {
        int value, numerator, denominator;
      };
      // DAR 15 s = 1 min / 15 s, DAR 30 s = 1 min / 30 s, PI = t2 / t1.
      for (Ratio ratio : {Ratio{13, 12, 10}, Ratio{14, 12, 11}, Ratio{19, 18, 16}}) {
        if (!InRange(v[ratio.numerator]) || !InRange(v[ratio.denominator])) {
          EXPECT_EQ(v[ratio.value], "E") << v[0];
          continue;
        }
        double expected = Number(v[ratio.numerator]) / Number(v[ratio.denominator]);
        EXPECT_NEAR(Number(v[ratio.value]), expected, expected * 0.006) << v[0] << " value " << ratio.value;
        ++checked;
      }
      EXPECT_EQ(v[9], v[18]) << "the final resistance is the t2 reading, " << v[0];
      EXPECT_EQ(std::atoi(v[4].c_str()), std::atoi(v[17].c_str()) * 60) << "the test lasts until t2, " << v[0];
      EXPECT_LT(std::atoi(v[15].c_str()), std::atoi(v[17].c_str())) << v[0];
      if (InRange(v[10]) && InRange(v[12])) {
        EXPECT_GE(Number(v[12]), Number(v[10])) << "polarisation, " << v[0];
      }
    }
  }
  EXPECT_GT(checked, 0);
}

TEST_P(DemoSeeds, TcResistanceFollowsTheTemperature) {
  InstrumentMemory memory = BuildDemoMemory(GetParam());
  for (int g = 0; g < kGroups; ++g) {
    for (int r = 0; r < memory.recordCount[g]; ++r) {
      const std::vector<std::string>& v = memory.slots[g][r].values;
      if (v[1] != "MT" || !InRange(v[9]) || !InRange(v[11])) continue;
      double factor = std::pow(2.0, (Number(v[5]) - Number(v[10])) / 10.0);
      EXPECT_NEAR(Number(v[11]), Number(v[9]) * factor, Number(v[9]) * factor * 0.01) << v[0];
    }
  }
}

TEST_P(DemoSeeds, StepVoltagesRiseToTheSetVoltage) {
  InstrumentMemory memory = BuildDemoMemory(GetParam());
  for (int g = 0; g < kGroups; ++g) {
    for (int r = 0; r < memory.recordCount[g]; ++r) {
      const std::vector<std::string>& v = memory.slots[g][r].values;
      if (v[1] != "MS") continue;
      int interval = std::atoi(v[4].c_str());
      EXPECT_TRUE(interval == 30 || interval == 60 || interval == 120 || interval == 300) << v[0];
      for (int step = 1; step < 5; ++step) EXPECT_LT(Number(v[6 + 2 * step]), Number(v[8 + 2 * step])) << v[0];
      EXPECT_NEAR(Number(v[16]), Number(v[7]), Number(v[7]) * 0.03) << v[0];
    }
  }
}

TEST_P(DemoSeeds, LoggingSetsShowTheirTrends) {
  InstrumentMemory memory = BuildDemoMemory(GetParam());
  auto resistances = [&](int set) {
    std::vector<std::string> texts;
    for (const LoggingPoint& point : memory.sets[set].points) texts.push_back(point.resistance);
    return texts;
  };
  // Set 0 rises with polarisation and stays in range.
  std::vector<std::string> rising = resistances(0);
  for (const std::string& text : rising) ASSERT_TRUE(InRange(text)) << text;
  EXPECT_GT(Number(rising.back()), 1.5 * Number(rising.front()));
  // Set 1 runs over the range and stays there to its last sample.
  std::vector<std::string> toEnd = resistances(1);
  EXPECT_EQ(toEnd.back(), "OF");
  EXPECT_TRUE(InRange(toEnd.front()));
  EXPECT_NE(LoggingReply(memory.sets[1]).find("OF,\r\n"), std::string::npos);
  // Set 2 has a run of over-range samples in its middle.
  std::vector<std::string> run = resistances(2);
  auto first = std::find(run.begin(), run.end(), "OF");
  ASSERT_NE(first, run.end());
  auto after = std::find_if(first, run.end(), InRange);
  EXPECT_GE(after - first, 10);
  EXPECT_TRUE(InRange(run.back()));
  EXPECT_NE(LoggingReply(memory.sets[2]).find("OF,,"), std::string::npos);
  // Set 5 breaks down under range; set 9 has no temperature.
  EXPECT_EQ(resistances(5).back(), "UF");
  EXPECT_EQ(memory.sets[9].header[5], "E");
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoSeeds, ::testing::Values(1, 2, 3, 17, 123456789));

TEST(DemoMemory, SomeManualValuesAreOutOfRange) {
  int over = 0, under = 0, invalid = 0;
  for (std::uint64_t seed = 1; seed <= 3; ++seed) {
    InstrumentMemory memory = BuildDemoMemory(seed);
    for (int g = 0; g < kGroups; ++g)
      for (int r = 0; r < kSlots; ++r)
        for (const std::string& value : memory.slots[g][r].values) {
          over += value == "OF";
          under += value == "UF";
          invalid += value == "E";
        }
  }
  EXPECT_GT(over, 0);
  EXPECT_GT(under, 0);
  EXPECT_GT(invalid, 0);
}

}  // namespace
}  // namespace qv70::sim

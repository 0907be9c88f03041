#include "core/data/civil_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

namespace qv70 {
namespace {

std::string Strftime(const char* format, const std::tm& tm) {
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, format, &tm));
}

// The C library's own answer for an instant, in UTC or in local time.
::testing::AssertionResult SameAsLibrary(const CivilTime& time, std::time_t instant, bool local) {
  std::tm tm{};
  if ((local ? localtime_r(&instant, &tm) : gmtime_r(&instant, &tm)) == nullptr)
    return ::testing::AssertionFailure() << "the C library cannot convert " << instant;
  const std::string expected = Strftime("20%y-%m-%d %H:%M:%S", tm) + " " + std::to_string(tm.tm_year + 1900LL);
  const std::string got = SampleDateText(time) + " " + SampleTimeText(time) + " " + std::to_string(time.year);
  if (expected == got) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "at " << instant << ": " << got << ", the C library " << expected;
}

class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    const char* tz = std::getenv("TZ");
    had_ = tz != nullptr;
    saved_ = had_ ? tz : "";
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    if (had_) setenv("TZ", saved_.c_str(), 1); else unsetenv("TZ");
    tzset();
  }

 private:
  bool had_ = false;
  std::string saved_;
};

TEST(CivilTime, CalendarArithmeticAsGmtime) {
  const struct {
    const char* name;
    long long instant;
  } edges[] = {
      {"epoch", 0},
      {"second before the epoch", -1},
      {"leap day 2000", 951782400},
      {"day after leap day 2000", 951868800},
      {"1900-02-28 23:59:59 (no leap day)", -2203891201},
      {"2100-02-28 23:59:59 (no leap day)", 4107542399},
      {"2004-12-31 23:59:59", 1104537599},
      {"2038-01-19 03:14:08", 2147483648},
      {"1600-02-29 (leap century)", -11670998400},
      {"year 1 January 1", -62135596800},
      {"year 0 December 31", -62135596801},
      {"9999-12-31 23:59:59", 253402300799},
      {"far back, year -292000", -9276000000000},
  };
  for (const auto& edge : edges) {
    const CivilTime time = CivilTimeAt(edge.instant);
    EXPECT_TRUE(SameAsLibrary(time, static_cast<std::time_t>(edge.instant), false)) << edge.name;
    EXPECT_EQ(CivilSeconds(time), edge.instant) << edge.name;
  }
  std::mt19937_64 random(20240601);
  std::uniform_int_distribution<long long> instants(-10000000000000LL, 10000000000000LL);
  for (int i = 0; i < 100000; ++i) {
    const long long instant = instants(random);
    const CivilTime time = CivilTimeAt(instant);
    ASSERT_TRUE(SameAsLibrary(time, static_cast<std::time_t>(instant), false));
    ASSERT_EQ(CivilSeconds(time), instant);
  }
}

TEST(CivilTime, LocalTimesAsLocaltime) {
  // POSIX rules, so the test needs no time zone files: clocks moving by an hour
  // and by half an hour, north and south, and offsets of odd minutes.
  const char* zones[] = {
      "UTC0",
      "CET-1CEST,M3.5.0,M10.5.0/3",
      "EST5EDT,M3.2.0,M11.1.0",
      "NST3:30NDT,M3.2.0,M11.1.0",
      "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0",
      "AEST-10AEDT,M10.1.0,M4.1.0/3",
      "<+0545>-5:45",
  };
  const long long steps[] = {1, 5, 10, 60, 61, 600, 1799, 3600, 3601, 7200, 86400, 86401, 2592000, -60, -3600, 0};
  std::mt19937_64 random(7);
  // Starts within a year of 2010-03-01, so every run of the longer steps crosses clock changes.
  std::uniform_int_distribution<long long> starts(1267401600LL, 1267401600LL + 366 * 86400LL);
  for (const char* zone : zones) {
    ZoneScope scope(zone);
    for (long long step : steps) {
      for (int run = 0; run < 20; ++run) {
        const std::time_t first = static_cast<std::time_t>(starts(random));
        const int count = 1 + static_cast<int>(random() % 360);
        const std::vector<CivilTime> times = LocalTimesOf(first, step, count);
        ASSERT_EQ(static_cast<int>(times.size()), count) << zone;
        for (int i = 0; i < count; ++i)
          ASSERT_TRUE(SameAsLibrary(times[static_cast<size_t>(i)], first + step * i, true))
              << zone << ", step " << step << ", sample " << i;
      }
    }
  }
}

TEST(CivilTime, RunsThroughEveryClockChangeOfAYear) {
  // Ten-second samples right across each change, where the offset moves inside one probe.
  ZoneScope scope("CET-1CEST,M3.5.0,M10.5.0/3");
  const std::time_t changes[] = {1269738000, 1288486800};  // 2010-03-28 01:00 UTC, 2010-10-31 01:00 UTC
  for (std::time_t change : changes) {
    for (int before = 1; before < 400; before += 37) {
      const std::time_t first = change - 10 * before;
      const std::vector<CivilTime> times = LocalTimesOf(first, 10, 360);
      ASSERT_EQ(times.size(), 360u);
      for (int i = 0; i < 360; ++i) ASSERT_TRUE(SameAsLibrary(times[static_cast<size_t>(i)], first + 10 * i, true));
    }
  }
}

}  // namespace
}  // namespace qv70

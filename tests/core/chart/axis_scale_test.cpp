#include "core/chart/axis_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv70 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(NextTickStep, SmallestOneTwoFiveOrTenTimesAPowerOfTen) {
  const TickStep previous{7, 3};
  const struct {
    const char* name;
    double minimum, maximum;
    int length;
    bool horizontal;
    TickStep step;
  } cases[] = {
      {"0 to 3 on 400 across", 0, 3, 400, true, {0.2, 1}},
      {"0 to 10 on 300 across", 0, 10, 300, true, {1, 0}},
      {"0 to 10 on 400 upwards", 0, 10, -400, false, {0.5, 1}},
      {"0 to 100 on 100 across", 0, 100, 100, true, {50, 0}},
      {"-0.1 to 2 on 200 upwards", -0.1, 2, -200, false, {0.5, 1}},
      {"0 to 1e6 on 500 across", 0, 1e6, 500, true, {50000, 0}},
      {"0 to 0.02 on 250 across", 0, 0.02, 250, true, {0.002, 3}},
      {"0 to 1 on 20 upwards", 0, 1, -20, false, {1, 0}},
      // Shorter than one spacing: the previous step and decimals stay.
      {"0 to 1 on 24 across", 0, 1, 24, true, previous},
      {"0 to 1 on 19 upwards", 0, 1, -19, false, previous},
      {"0 to 1 on nothing", 0, 1, 0, true, previous},
      {"too wide to divide", -1e308, 1e308, 400, true, previous},
      {"just below overflow", 0, 1.7e308, 25, true, previous},
      {"empty range", 5, 5, 400, true, {0, 3}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NextTickStep(previous, c.minimum, c.maximum, c.length, c.horizontal), c.step) << c.name;
}

TEST(FirstTickValue, SmallestMultipleNotBelowTheMinimum) {
  const struct {
    double minimum, step, first;
  } cases[] = {
      {0, 0.2, 0}, {5, 0, 0}, {-0.5, 0.2, -0.4}, {0.5, 0.2, 0.6000000000000001}, {-0.05, 0.5, 0},
      {-0.065, 0.1, 0}, {-40, 50, 0}, {-60, 50, -50}, {7, 5, 10}, {-7, 5, -5}, {1e17, 1, 1e17},
  };
  for (const auto& c : cases) {
    const double first = FirstTickValue(c.minimum, c.step);
    EXPECT_EQ(first, c.first) << c.minimum << " by " << c.step;
    EXPECT_FALSE(std::signbit(first) && first == 0) << c.minimum << " gives a negative zero";
  }
}

TEST(TickLabel, DecimalsAndTheDecimalChar) {
  const struct {
    double value;
    int decimals;
    char decimalChar;
    const char* label;
  } cases[] = {
      {0.2, 1, '.', "0.2"},     {0.2, 1, ',', "0,2"},      {2.8000000000000007, 1, '.', "2.8"},
      {1234.5, 0, ',', "1234"}, {0.25, 1, '.', "0.2"},     {-0.5, 2, ',', "-0,50"},
      {-5e-17, 1, '.', "0.0"},  {-0.04, 1, ',', "0,0"},    {1e6, 0, '.', "1000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(TickLabel(c.value, c.decimals, c.decimalChar), c.label) << c.value;
}

TEST(GuessedDigits, ByTheLogarithm) {
  const struct {
    double value;
    int digits;
  } cases[] = {{0, 0}, {5, 1}, {10, 2}, {999, 3}, {-0.1, 3}, {0.5, 1}, {0.05, 2}, {-40, 3}, {1e300, 301}};
  for (const auto& c : cases) EXPECT_EQ(GuessedDigits(c.value), c.digits) << c.value;
}

TEST(AxisScale, MapsInDoubleAndNeverDividesByZero) {
  const AxisScale across{0, 3, 16, 416, true};
  const AxisScale upwards{-0.5, 10, 282, 9, false};
  const AxisScale empty{5, 5, 100, 301, true};
  const struct {
    const char* name;
    AxisScale scale;
    double value, position;
  } cases[] = {
      {"minimum at the start", across, 0, 16},
      {"rounded down", across, 0.2, 42},
      {"maximum at the end", across, 3, 416},
      {"beyond the maximum", across, 30, 4016},
      {"below the minimum", across, -3, -384},
      {"huge", across, 1e300, 16 + 400e300 / 3},
      {"upwards", upwards, 0, 269},
      {"upwards at the maximum", upwards, 10, 9},
      {"empty range, in range", empty, 5, 200},
      {"empty range, far off", empty, 1e300, 200},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.scale.Position(c.value), c.position) << c.name;
  EXPECT_TRUE(std::isnan(across.Position(kNaN)));
}

TEST(SaturatedPixel, StaysInsideInt) {
  EXPECT_EQ(SaturatedPixel(12.0), 12);
  EXPECT_EQ(SaturatedPixel(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(SaturatedPixel(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(SaturatedPixel(kNaN), 0);
}

}  // namespace
}  // namespace qv70

#pragma once

#include <string>

namespace qv70 {

// Pixels between ticks that the step aims for.
constexpr int kHorizontalTickSpacing = 25;
constexpr int kVerticalTickSpacing = 20;

struct TickStep {
  double step = 1.0;
  int decimals = 0;

  bool operator==(const TickStep& o) const { return step == o.step && decimals == o.decimals; }
};

// The tick step and label decimals for a range shown on `length` pixels (end
// minus start; the sign does not matter): the smallest of 1, 2, 5 and 10
// times a power of ten that makes ticks at least one spacing apart. An axis
// shorter than one spacing, or a range too wide to divide, keeps `previous`;
// an empty range (minimum = maximum) gets step 0 and keeps the decimals.
TickStep NextTickStep(const TickStep& previous, double minimum, double maximum, int length, bool horizontal);

// The first tick: 0 for a zero step or a zero minimum, else the smallest whole
// multiple of the step not below the minimum (never a negative zero).
double FirstTickValue(double minimum, double step);

// "%.*f" of the value, without the sign of a value that reads as zero; with
// ',' as the decimal character every '.' becomes ','.
std::string TickLabel(double value, int decimals, char decimalChar);

// A rough digit count for the widest label of a vertical axis:
// |trunc(log10 |v|)| + 1, one more for a negative value, and 0 for 0.
int GuessedDigits(double value);

// Values to pixels along one axis. `start` is where the minimum lies; a
// vertical axis runs upwards, from a larger y to a smaller one.
struct AxisScale {
  double minimum = 0.0;
  double maximum = 10.0;
  int start = 0;
  int end = 0;
  bool horizontal = true;

  // The pixel of a value, still in double: values beyond the range lie
  // beyond the axis ends, perhaps far beyond any int. With an empty range
  // every value maps to the middle of the axis.
  double Position(double value) const;
  int Middle() const;
};

// A position as an integer pixel, saturated at the int range; NaN gives 0.
int SaturatedPixel(double position);

}  // namespace qv70

#include "core/chart/axis_scale.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "core/draw/number_text.h"

namespace qv70 {

TickStep NextTickStep(const TickStep& previous, double minimum, double maximum, int length, bool horizontal) {
  const int spacing = horizontal ? kHorizontalTickSpacing : kVerticalTickSpacing;
  const int ticks = std::abs(length / spacing);
  if (ticks == 0) return previous;
  // log10(0) has no floor; such an axis shows one tick in its middle.
  if (minimum == maximum) return {0.0, previous.decimals};

  const double each = (maximum - minimum) / ticks;
  if (!std::isfinite(each) || each <= 0) return previous;
  const int power = static_cast<int>(std::floor(std::log10(each)));
  const double unit = std::pow(10.0, power);
  const int decimals = power < 0 ? -power : 0;
  TickStep next = previous;
  if (unit >= each) next = {unit, decimals};
  else if (2 * unit >= each) next = {2 * unit, decimals};
  else if (5 * unit >= each) next = {5 * unit, decimals};
  else if (10 * unit >= each) next = {10 * unit, decimals > 0 ? decimals - 1 : 0};
  // Near the top of the double range 10 * unit can overflow.
  return std::isfinite(next.step) ? next : previous;
}

double FirstTickValue(double minimum, double step) {
  if (step == 0 || minimum == 0) return 0.0;
  double first = std::trunc(minimum / step) * step;
  // trunc leaves the value within a step of the minimum; two rounds of
  // correction each way are plenty, and bound the loop where step is below
  // the value's precision.
  for (int i = 0; i < 2 && first < minimum; ++i) first += step;
  for (int i = 0; i < 2 && first - step >= minimum; ++i) first -= step;
  // trunc of a small negative quotient is -0, which would label as "-0.0".
  return first == 0 ? 0.0 : first;
}

std::string TickLabel(double value, int decimals, char decimalChar) {
  std::string label = FixedPointText(value, decimals);
  // A tick that repeated addition left a hair below zero is still the 0 tick.
  if (label[0] == '-' && label.find_first_not_of("-0.") == std::string::npos) label.erase(0, 1);
  if (decimalChar == ',')
    for (char& c : label)
      if (c == '.') c = ',';
  return label;
}

int GuessedDigits(double value) {
  if (value == 0) return 0;
  const int digits = std::abs(static_cast<int>(std::trunc(std::log10(std::fabs(value))))) + 1;
  return value < 0 ? digits + 1 : digits;
}

double AxisScale::Position(double value) const {
  if (maximum == minimum) return Middle();
  const double length = std::abs(static_cast<double>(end) - start);
  const double offset = std::floor(length * (value - minimum) / (maximum - minimum));
  return horizontal ? start + offset : start - offset;
}

int AxisScale::Middle() const {
  return static_cast<int>(std::llabs((static_cast<long long>(start) + end) / 2));
}

int SaturatedPixel(double position) {
  if (std::isnan(position)) return 0;
  if (position <= INT_MIN) return INT_MIN;
  if (position >= INT_MAX) return INT_MAX;
  return static_cast<int>(position);
}

}  // namespace qv70

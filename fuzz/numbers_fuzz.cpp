// Any bytes as a number text, and as a value with a count of decimals: the
// program's own readers and writers must give exactly what strtod and printf
// give, bit for bit and character for character, and its three-figure
// rounding what the same rounding written with atof and printf gives.
//
// Input: the whole of it is the text; with nine bytes or more, the first sets
// the decimals (0 to 70) and the next eight are the value.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/data/values.h"
#include "support/three_figures_by_printf.h"

namespace {

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string Printf(double value, int decimals) {
  char text[512];
  const int length = std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return length < 0 ? std::string() : std::string(text, static_cast<size_t>(length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double read = qv70::TextToDouble(text);
  if (!SameDouble(read, std::strtod(text.c_str(), nullptr))) std::abort();
  // As the rounding reads it: any minus sign marks the value negative, and
  // the first character goes.
  const bool negative = text.find('-') != std::string::npos;
  const double rounded = negative ? qv70::TextToDouble(text.substr(1)) : read;
  if (std::isfinite(rounded) && qv70::FormatThreeFigures(text) != qv70::test::ThreeFiguresByPrintf(text)) std::abort();
  if (size < 9) return 0;
  const int decimals = data[0] % 71;
  double value;
  std::memcpy(&value, data + 1, sizeof value);
  for (double v : {value, read})
    if (qv70::FormatFixed(v, decimals) != Printf(v, decimals)) std::abort();
  return 0;
}

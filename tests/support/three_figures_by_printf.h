#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv70::test {

// The rounding written out step by step with atof and printf, as the
// instrument's texts were first rounded: what the fast one must equal. Only
// for texts whose value is finite (an infinite one never leaves its loop).
inline std::string ThreeFiguresByPrintf(std::string text) {
  const bool negative = text.find('-') != std::string::npos;
  if (negative) text.erase(0, 1);
  const double x = std::atof(text.c_str());
  double whole = std::floor(x);
  double fraction = x - std::floor(x);
  int digit[400] = {};
  int frac[64] = {};
  int n = 0;
  int m = 0;
  while (whole > 0) {
    digit[n++] = static_cast<int>(std::fmod(whole, 10));
    whole = std::floor(whole / 10);
  }
  while (fraction > 0 && m < (n > 0 ? n + 3 : 50)) {
    frac[m] = static_cast<int>(fraction * 10);
    fraction = fraction * 10 - frac[m];
    ++m;
  }
  int k = 0;
  while (k < m && frac[k] == 0) ++k;
  if (k == m) k = 0;
  if (n == 3 && frac[1] == 9) frac[0] += 1;
  if (n == 2 && frac[2] == 9) frac[1] += 1;
  if (n == 1 && frac[3] == 9) frac[2] += 1;
  if (n == 0 && frac[k + 4] == 9) frac[k + 3] += 1;
  char out[512];
  if (n >= 4) {
    const double unit = std::pow(10.0, n - 3);
    double kept = (digit[n - 1] * 100.0 + digit[n - 2] * 10.0 + digit[n - 3]) * unit;
    if (digit[n - 4] >= 5) kept += unit;
    std::snprintf(out, sizeof out, "%.0f", kept);
  } else if (n == 3) {
    std::snprintf(out, sizeof out, "%.0f", digit[2] * 100.0 + digit[1] * 10.0 + digit[0] + (frac[0] >= 5 ? 1 : 0));
  } else if (n == 2) {
    double kept = digit[1] * 10.0 + digit[0] + frac[0] / 10.0;
    if (frac[1] >= 5) kept += 0.1;
    std::snprintf(out, sizeof out, "%.1f", kept);
  } else if (n == 1) {
    double kept = digit[0] + frac[0] / 10.0 + frac[1] / 100.0;
    if (frac[2] >= 5) kept += 0.01;
    std::snprintf(out, sizeof out, "%0.2f", kept);
  } else {
    const double place = std::pow(10.0, -(k + 1));
    double kept = frac[k] * place + frac[k + 1] * place / 10 + frac[k + 2] * place / 100;
    if (frac[k + 3] >= 5) kept += place / 100;
    std::snprintf(out, sizeof out, "%0.*f", k + 3, kept);
  }
  return negative ? std::string("-") + out : std::string(out);
}

}  // namespace qv70::test

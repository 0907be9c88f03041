#include "core/draw/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

namespace qv70 {
namespace {

std::string Printf(const char* format, double value, int precision) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, precision, value);
  return buffer;
}

TEST(NumberText, WritesAsPrintfInTheCLocale) {
  const double values[] = {0.0, -0.0, 2.25, 2.35, -0.04, 0.2 * 15, 3.0000000000000004, 1e300, -123456.789,
                           5e-324, 0.1};
  for (double v : values) {
    for (int decimals : {0, 1, 2, 17}) EXPECT_EQ(FixedPointText(v, decimals), Printf("%.*f", v, decimals)) << v;
    EXPECT_EQ(ExactText(v), Printf("%.*g", v, 17)) << v;
  }
}

TEST(NumberText, IndependentOfTheDesktopLocale) {
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"}) {
    if (std::setlocale(LC_ALL, name) == nullptr) continue;
    EXPECT_EQ(FixedPointText(2.5, 1), "2.5") << name;
    EXPECT_EQ(ExactText(0.1), "0.10000000000000001") << name;
  }
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace qv70

#include "core/grid/grid_text.h"

#include <gtest/gtest.h>

#include "core/grid/grid_test_support.h"

namespace qv70 {
namespace {

using Lines = std::vector<std::vector<std::string>>;

TEST(TextFitsCell, CountsASpaceEachSide) {
  // "abc" is 21 pixels, a space 4.
  EXPECT_TRUE(TextFitsCell(kFont, "abc", 29));
  EXPECT_FALSE(TextFitsCell(kFont, "abc", 28));
  EXPECT_TRUE(TextFitsCell(kFont, "", 8));
  // The spaces pad the text, not each line: " ab" and "cdef ".
  EXPECT_TRUE(TextFitsCell(kFont, "ab\ncdef", 32));
  EXPECT_FALSE(TextFitsCell(kFont, "ab\ncdef", 31));
}

TEST(SplitPasteText, RunsOfSeparatorsCountAsOne) {
  const struct { const char* text; Lines lines; } cases[] = {
      {"a\tb", {{"a", "b"}}},
      {"a\t\t,,b", {{"a", "b"}}},
      {",a,", {{"a"}}},
      {"a b,c", {{"a b", "c"}}},
      {"a\nb", {{"a"}, {"b"}}},
      {"a\n\nb", {{"a"}, {}, {"b"}}},
      {"a\n", {{"a"}}},
      {"a\r\nb\r\n", {{"a"}, {"b"}}},
      {"A\t \nC\tD", {{"A", " "}, {"C", "D"}}},
      {"", {{}}},
      {"\t,", {{}}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitPasteText(c.text), c.lines) << c.text;
}

}  // namespace
}  // namespace qv70

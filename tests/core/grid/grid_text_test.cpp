#include "core/grid/grid_text.h"

#include <gtest/gtest.h>

#include "core/grid/fake_text_measure.h"

namespace qv70 {
namespace {

using Lines = std::vector<std::vector<std::string>>;

TEST(MeasureText, WidestLineBySumOfLines) {
  const FakeTextMeasure font;
  const struct {
    const char* text;
    bool bold;
    int width, height;
  } cases[] = {
      {"", false, 0, 13},           {"abc", false, 21, 13},   {"abc", true, 24, 13},
      {"ab\ncdef", false, 28, 26},  {"a b", false, 18, 13},   {" Table No. \n", false, 68, 26},
      {"\n\n", false, 0, 39},
  };
  for (const auto& c : cases) {
    const GridTextSize size = MeasureText(font, c.text, c.bold);
    EXPECT_EQ(size.width, c.width) << c.text;
    EXPECT_EQ(size.height, c.height) << c.text;
  }
}

TEST(TextFitsCell, CountsASpaceEachSide) {
  const FakeTextMeasure font;
  // "abc" is 21 pixels, a space 4.
  EXPECT_TRUE(TextFitsCell(font, "abc", 29));
  EXPECT_FALSE(TextFitsCell(font, "abc", 28));
  EXPECT_TRUE(TextFitsCell(font, "", 8));
  // The spaces pad the text, not each line: " ab" and "cdef ".
  EXPECT_TRUE(TextFitsCell(font, "ab\ncdef", 32));
  EXPECT_FALSE(TextFitsCell(font, "ab\ncdef", 31));
}

TEST(SplitPasteText, RunsOfSeparatorsCountAsOne) {
  const struct {
    const char* text;
    Lines lines;
  } cases[] = {
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

#include "core/draw/text_layout.h"

#include <gtest/gtest.h>

#include "core/draw/fake_font_metrics.h"

namespace qv70 {
namespace {

using Lines = std::vector<std::string>;

// 8 points: characters 6 wide, lines 13 high.
const Font kFont = Font::Points("Arial", 80);
const TextMeasure kMeasure(kFakeMetrics, kFont, 96);

TEST(WrapText, BreaksAsAnEditControl) {
  const struct {
    const char* text;
    int width;
    Lines lines;
  } cases[] = {
      {"", 60, {}},
      {"one two three", 60, {"one two", "three"}},
      {"abcde fghij", 60, {"abcde", "fghij"}},
      {"abcde fghij", 66, {"abcde fghij"}},
      {"one   two", 24, {"one", "two"}},
      {"one two   ", 60, {"one two"}},
      {"  ab cd", 30, {"  ab", "cd"}},
      {"a\tb", 6, {"a", "b"}},
      // A word wider than the line is cut at a character, on a line of its own.
      {"abcdefghijklmnop", 30, {"abcde", "fghij", "klmno", "p"}},
      {"ab abcdefghij", 30, {"ab", "abcde", "fghij"}},
      {"ab", 0, {"a", "b"}},
      {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC", 18,
       {"\xC3\xA4\xC3\xB6\xC3\xBC", "\xC3\xA4\xC3\xB6\xC3\xBC"}},
      // Line ends always break; an empty paragraph is an empty line.
      {"a\r\nb\nc\rd", 60, {"a", "b", "c", "d"}},
      {"a\n\nb", 60, {"a", "", "b"}},
      {"a\n", 60, {"a", ""}},
      {"   ", 60, {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(WrapText(kMeasure, c.text, c.width), c.lines) << c.text;
}

TEST(LayOutText, PlacesEachCode) {
  // 100 x 40; "abc" is 18 x 13, so a centred line's cell starts 13 down.
  const Rect rect{10, 20, 110, 60};
  const struct {
    TextPlacement placement;
    const char* text;
    std::vector<PlacedLine> lines;
  } cases[] = {
      {TextPlacement::Left, "abc", {{{10, 33}, "abc"}}},
      {TextPlacement::Centre, "abc", {{{51, 33}, "abc"}}},
      {TextPlacement::Right, "abc", {{{92, 33}, "abc"}}},
      {TextPlacement::TopRight, "abc", {{{92, 20}, "abc"}}},
      {TextPlacement::TopLeft, "abc", {{{10, 20}, "abc"}}},
      {TextPlacement::Wrap, "abc def", {{{10, 20}, "abc def"}}},
      {TextPlacement::WrapCentred, "abc def", {{{39, 20}, "abc def"}}},
      // One-line codes keep a line end inside the line.
      {TextPlacement::Left, "a\nb", {{{10, 33}, "a\nb"}}},
      {TextPlacement::Centre, "", {}},
      {TextPlacement::Wrap, "", {}},
      // Lines past the bottom stay where they fall; the surface clips them.
      {TextPlacement::Wrap, "aaaaaaaaaaaaaaaaaaaa bbb ccc",
       {{{10, 20}, "aaaaaaaaaaaaaaaa"}, {{10, 33}, "aaaa bbb ccc"}}},
      {TextPlacement::Wrap, "a\nb\nc\nd", {{{10, 20}, "a"}, {{10, 33}, "b"}, {{10, 46}, "c"}, {{10, 59}, "d"}}},
      {TextPlacement::WrapCentred, "abcdefghijklm nop", {{{21, 20}, "abcdefghijklm"}, {{51, 33}, "nop"}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LayOutText(kMeasure, rect, c.text, c.placement), c.lines) << PlacementCode(c.placement) << " " << c.text;
}

TEST(LayOutText, CentresVerticallyInARectLowerThanTheLine) {
  EXPECT_EQ(LayOutText(kMeasure, {0, 20, 50, 25}, "x", TextPlacement::Left),
            (std::vector<PlacedLine>{{{0, 16}, "x"}}));
}

TEST(DashSegments, ThreeOnThreeOffFromTheFirstPoint) {
  const struct {
    const char* name;
    Point from, to;
    std::vector<Dash> dashes;
  } cases[] = {
      {"upwards, 12 long", {5, 20}, {5, 8}, {{{5, 20}, {5, 17}}, {{5, 14}, {5, 11}}}},
      {"upwards, 10 long", {0, 10}, {0, 0}, {{{0, 10}, {0, 7}}, {{0, 4}, {0, 1}}}},
      {"last dash cut", {0, 8}, {0, 0}, {{{0, 8}, {0, 5}}, {{0, 2}, {0, 0}}}},
      {"rightwards", {0, 0}, {7, 0}, {{{0, 0}, {3, 0}}, {{6, 0}, {7, 0}}}},
      {"leftwards", {7, 0}, {0, 0}, {{{7, 0}, {4, 0}}, {{1, 0}, {0, 0}}}},
      {"diagonal", {0, 0}, {6, 3}, {{{0, 0}, {3, 2}}}},
      {"a point", {4, 4}, {4, 4}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DashSegments(c.from, c.to), c.dashes) << c.name;
}

}  // namespace
}  // namespace qv70

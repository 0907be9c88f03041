#include "core/draw/recording_surface.h"

#include <gtest/gtest.h>

#include "core/draw/fake_font_metrics.h"

namespace qv70 {
namespace {

TEST(Surface, SelectingReturnsWhatWasCurrent) {
  RecordingSurface surface(kFakeMetrics);
  const Pen thick = Pen::Solid(2, kBlack);
  const Pen grid = Pen::Dotted(Color::Rgb(128, 128, 128));
  EXPECT_EQ(surface.SelectPen(thick), Pen::Solid(1, kBlack));
  EXPECT_EQ(surface.SelectPen(grid), thick);
  EXPECT_EQ(surface.CurrentPen(), grid);

  const Brush red = Brush::Solid(Color::Rgb(255, 0, 0));
  EXPECT_EQ(surface.SelectBrush(red), Brush::Solid(kWhite));
  EXPECT_EQ(surface.SelectBrush(Brush::Null()), red);

  const Font arial = Font::Points("Arial", 140);
  EXPECT_EQ(surface.SelectFont(arial), Font::Points("Microsoft Sans Serif", 80));
  EXPECT_EQ(surface.SelectFont(arial.Rotated(900)), arial);

  EXPECT_EQ(surface.SetTextColor(red.color), kBlack);
  EXPECT_EQ(surface.SetBackgroundColor(red.color), kWhite);
  EXPECT_EQ(surface.SetBackgroundMode(BackgroundMode::Transparent), BackgroundMode::Opaque);
  EXPECT_EQ(surface.SetClip(Rect{1, 2, 3, 4}), std::nullopt);
  EXPECT_EQ(surface.SetClip(std::nullopt), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(surface.SetMapping({{0, 0}, {96, 96}, {0, 0}, {600, 600}}), UnitMapping{});
}

TEST(RecordingSurface, DescribesEveryCallAsNumbers) {
  const struct {
    const char* name;
    void (*call)(RecordingSurface&);
    const char* line;
  } cases[] = {
      {"dotted pen", [](RecordingSurface& s) { s.SelectPen(Pen::Dotted(Color::Rgb(128, 128, 128))); },
       "pen dot 1 128 128 128"},
      {"null brush", [](RecordingSurface& s) { s.SelectBrush(Brush::Null()); }, "brush null 0 0 0"},
      {"cell font", [](RecordingSurface& s) { s.SelectFont(Font::Cell("Arial", 16, 4)); },
       "font 0 16 4 400 0 \"Arial\""},
      {"rotated font",
       [](RecordingSurface& s) { s.SelectFont(Font::Points("Microsoft Sans Serif", 80).Rotated(900)); },
       "font 80 0 0 400 900 \"Microsoft Sans Serif\""},
      {"transparent", [](RecordingSurface& s) { s.SetBackgroundMode(BackgroundMode::Transparent); },
       "background-mode transparent"},
      {"no clip", [](RecordingSurface& s) { s.SetClip(std::nullopt); }, "clip none"},
      {"mapping", [](RecordingSurface& s) { s.SetMapping({{0, 0}, {96, 96}, {10, 20}, {600, 600}}); },
       "mapping 0 0 96 96 10 20 600 600"},
      {"line", [](RecordingSurface& s) { s.DrawLine({-1, 2}, {3, 4}); }, "line -1 2 3 4"},
      {"frame", [](RecordingSurface& s) { s.DrawPolyline({{0, 0}, {5, 0}, {5, 5}}); }, "polyline 0 0 5 0 5 5"},
      {"ellipse", [](RecordingSurface& s) { s.DrawEllipse({8, 8, 12, 12}); }, "ellipse 8 8 12 12"},
      {"fill", [](RecordingSurface& s) { s.FillRect({0, 0, 680, 880}, kWhite); }, "fill 0 0 680 880 255 255 255"},
      {"page number", [](RecordingSurface& s) { s.DrawText({40, 1020, 730, 1040}, "7", TextPlacement::Centre); },
       "text CE 40 1020 730 1040 \"7\""},
      {"escaped text", [](RecordingSurface& s) { s.DrawTextAt({1, 2}, "a \"b\"\n\\"); },
       "text-at 1 2 \"a \\\"b\\\"\\n\\\\\""},
      {"empty text", [](RecordingSurface& s) { s.DrawText({0, 0, 1, 1}, "", TextPlacement::Wrap); },
       "text W 0 0 1 1 \"\""},
      {"bitmap", [](RecordingSurface& s) {
         static const std::uint8_t pixel[3] = {0, 0, 255};
         s.StretchBitmap({45, 75, 245, 175}, {1, 1, pixel, 3});
       },
       "bitmap 45 75 245 175 1 1"},
  };
  for (const auto& c : cases) {
    RecordingSurface surface(kFakeMetrics);
    c.call(surface);
    EXPECT_EQ(surface.Describe(), std::string(c.line) + "\n") << c.name;
  }
}

TEST(Surface, FontsResolveAtTheLogicalResolution) {
  // A 14-point font's cell: (140 * upi / 720 rounded) + 2 with the fake metrics.
  const struct {
    const char* name;
    Size pixelsPerInch;
    UnitMapping mapping;
    int unitsPerInch;
    int cellHeight;
  } cases[] = {
      {"display", {96, 96}, {}, 96, 21},
      {"printer, unmapped", {600, 600}, {}, 600, 119},
      {"printer in display units", {600, 600}, {{0, 0}, {96, 96}, {0, 0}, {600, 600}}, 96, 21},
      {"printer, y flipped", {600, 600}, {{0, 0}, {96, -96}, {0, 0}, {600, 600}}, 96, 21},
      {"degenerate mapping", {300, 300}, {{0, 0}, {0, 0}, {0, 0}, {300, 300}}, 300, 60},
  };
  for (const auto& c : cases) {
    RecordingSurface surface(kFakeMetrics, c.pixelsPerInch);
    surface.SetMapping(c.mapping);
    surface.SelectFont(Font::Points("Arial", 140));
    EXPECT_EQ(surface.LogicalUnitsPerInch(), c.unitsPerInch) << c.name;
    EXPECT_EQ(surface.TextExtent("ab").height, c.cellHeight) << c.name;
  }
}

TEST(Surface, WrapsInTheCurrentFont) {
  RecordingSurface surface(kFakeMetrics);
  surface.SelectFont(Font::Cell("Arial", 20, 10));
  const std::vector<PlacedLine> expected = {{{0, 0}, "abc"}, {{0, 20}, "def"}};
  EXPECT_EQ(surface.LayOutText({0, 0, 50, 100}, "abc def", TextPlacement::Wrap), expected);
}

}  // namespace
}  // namespace qv70

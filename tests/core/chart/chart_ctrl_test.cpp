#include "core/chart/chart_ctrl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "core/chart/chart_test_support.h"

namespace qv70 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const std::vector<std::string> kZeroToThree = {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0", "1.2", "1.4",
                                               "1.6", "1.8", "2.0", "2.2", "2.4", "2.6", "2.8"};

TEST(ChartCtrl, EmptyChartOnA300PixelAxis) {
  ChartCtrl chart;
  RecordingSurface layer(kFakeMetrics);
  // Labels "10" are 12 x 13: 22 pixels of left margin, 18 below, 9 right.
  chart.Refresh(layer, {0, 0, 337, 200});
  const ChartLayout& layout = chart.Layout();
  EXPECT_EQ(layout.plotRect, (Rect{25, 12, 325, 179}));
  const AxisLayout& bottom = layout.Axis(AxisSide::Bottom);
  EXPECT_EQ(bottom.step, 1);
  EXPECT_EQ(bottom.decimals, 0);
  EXPECT_EQ(Labels(bottom), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  const std::vector<int> every30 = {25, 55, 85, 115, 145, 175, 205, 235, 265, 295, 325};
  EXPECT_EQ(Pixels(bottom), every30);
  EXPECT_EQ(bottom.gridLines, every30);
  EXPECT_FALSE(layout.Axis(AxisSide::Top).drawn);
  EXPECT_FALSE(layout.Axis(AxisSide::Right).drawn);

  const std::vector<std::string> lines = DescribeAll(layer.Records());
  EXPECT_EQ(lines.front(), "background-color 240 240 240");
  EXPECT_EQ(lines[1], "fill 0 0 337 200 240 240 240");
  EXPECT_EQ(lines.back(), "polyline 25 12 325 12 325 179 25 179 25 12");
  // Bottom axis line, first tick and label, then the grid: dotted grey upwards.
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "pen dot 1 128 128 128"), 2);
  for (const char* line : {"line 25 180 325 180", "line 25 180 25 183", "text-at 22 184 \"0\"",
                           "line 325 179 325 12", "line 24 179 24 12", "line 25 12 325 12"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
}

TEST(ChartCtrl, ZeroToThreeOn400PixelsStopsBeforeThree) {
  const struct {
    char decimalChar;
    const char* first;
    const char* last;
  } cases[] = {{'.', "0.0", "2.8"}, {',', "0,0", "2,8"}};
  for (const auto& c : cases) {
    ChartCtrl chart;
    chart.SetDecimalChar(c.decimalChar);
    chart.BottomAxis().SetRange(0, 3);
    RecordingSurface page(kFakeMetrics);
    chart.DrawInto(page, {0, 0, 428, 300});
    const AxisLayout& bottom = chart.Layout().Axis(AxisSide::Bottom);
    EXPECT_EQ(chart.PlotRect(), (Rect{22, 9, 422, 282})) << c.decimalChar;
    EXPECT_EQ(bottom.endPixel - bottom.startPixel, 400);
    EXPECT_EQ(bottom.step, 0.2);
    EXPECT_EQ(bottom.decimals, 1);
    ASSERT_EQ(bottom.ticks.size(), 15u) << c.decimalChar;
    EXPECT_EQ(bottom.ticks.front().label, c.first);
    EXPECT_EQ(bottom.ticks.back().label, c.last);
    EXPECT_LT(bottom.ticks.back().value, 3);
    EXPECT_EQ(bottom.ticks[1].pixel, 22 + 26);
    EXPECT_EQ(bottom.ticks.back().pixel, 22 + 373);
    // 15 steps of 0.2 make 3.0000000000000004: its grid line still lands on
    // the right edge, though no tick is drawn there.
    EXPECT_EQ(bottom.gridLines.size(), 16u);
    EXPECT_EQ(bottom.gridLines.back(), 422);
  }
}

TEST(ChartCtrl, MarginsUseTheDecimalsOfThePreviousLayout) {
  ChartCtrl chart;
  chart.BottomAxis().SetRange(0, 3);
  RecordingSurface page(kFakeMetrics);
  // The first layout measures "3" (decimals 0 from before); it then finds 1
  // decimal, so the next ones measure "3.0", 12 pixels wider.
  const Rect expected[] = {{22, 9, 422, 282}, {22, 9, 416, 282}, {22, 9, 416, 282}};
  for (const Rect& plot : expected) {
    chart.DrawInto(page, {0, 0, 428, 300});
    EXPECT_EQ(chart.PlotRect(), plot);
    EXPECT_EQ(Labels(chart.Layout().Axis(AxisSide::Bottom)), kZeroToThree);
  }
}

TEST(ChartCtrl, CaptionsTakeTheirPlaceAndTheLeftOneReadsUpwards) {
  ChartCtrl chart;
  chart.BottomAxis().Caption().SetText("Time[min]");         // 54 x 13, padded 58 x 17
  chart.LeftAxis().Caption().SetText("Resistance[Ohms]");  // 96 x 13, padded and turned 17 x 100
  RecordingSurface page(kFakeMetrics);
  chart.DrawInto(page, {0, 0, 400, 300});
  const ChartLayout& layout = chart.Layout();
  EXPECT_EQ(layout.plotRect, (Rect{39, 9, 391, 265}));
  EXPECT_EQ(layout.Axis(AxisSide::Bottom).captionRect, (Rect{186, 284, 244, 301}));
  EXPECT_EQ(layout.Axis(AxisSide::Left).captionRect, (Rect{0, 187, 17, 287}));
  EXPECT_EQ(layout.Axis(AxisSide::Left).ticks.front().labelOrigin, (Point{21, 259}));

  const std::vector<std::string> lines = DescribeAll(page.Records());
  const auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line); };
  const auto upwards = at("font 80 0 0 400 900 \"Microsoft Sans Serif\"");
  ASSERT_NE(upwards, lines.end());
  EXPECT_EQ(*(upwards + 1), "text-at 2 187 \"Resistance[Ohms]\"");
  EXPECT_NE(at("text-at 186 286 \"Time[min]\""), lines.end());
}

TEST(PlotAxis, SetRangeTakesOnlyAnOrderedFiniteRange) {
  const struct {
    const char* name;
    double minimum, maximum;
    double shownMinimum, shownMaximum;
  } cases[] = {
      {"5, 1", 5, 1, 0, 10},          {"NaN, 1", kNaN, 1, 0, 10},   {"0, infinity", 0, kInf, 0, 10},
      {"-infinity, 0", -kInf, 0, 0, 10}, {"2, 2", 2, 2, 2, 2},    {"-1, 1", -1, 1, -1, 1},
  };
  for (const auto& c : cases) {
    ChartCtrl chart;
    chart.BottomAxis().SetRange(c.minimum, c.maximum);
    RecordingSurface page(kFakeMetrics);
    chart.DrawInto(page, {0, 0, 428, 300});
    const AxisLayout& bottom = chart.Layout().Axis(AxisSide::Bottom);
    EXPECT_EQ(bottom.minimum, c.shownMinimum) << c.name;
    EXPECT_EQ(bottom.maximum, c.shownMaximum) << c.name;
  }
}

TEST(PlotAxis, AnAxisShorterThanOneSpacingKeepsItsStep) {
  const struct {
    const char* name;
    AxisSide side;
    Rect first, shortened;
    int shortLength;
    TickStep step;
  } cases[] = {
      {"bottom, 6 pixels", AxisSide::Bottom, {0, 0, 428, 300}, {0, 0, 40, 300}, 6, {0.2, 1}},
      {"left, 13 pixels", AxisSide::Left, {0, 0, 400, 300}, {0, 0, 400, 40}, -13, {0.5, 1}},
  };
  for (const auto& c : cases) {
    ChartCtrl chart;
    chart.Axis(c.side).SetRange(0, 3);
    RecordingSurface page(kFakeMetrics);
    chart.DrawInto(page, c.first);
    chart.DrawInto(page, c.shortened);
    const AxisLayout& axis = chart.Layout().Axis(c.side);
    EXPECT_EQ(axis.endPixel - axis.startPixel, c.shortLength) << c.name;
    EXPECT_EQ(axis.step, c.step.step) << c.name;
    EXPECT_EQ(axis.decimals, c.step.decimals) << c.name;
    EXPECT_EQ(axis.ticks.front().label, c.step.decimals == 1 ? "0.0" : "0") << c.name;
  }
}

TEST(PlotAxis, TicksEndWhereTheStepCannotReach) {
  // 1e17 + 1 is 1e17 again: the step adds nothing.
  ChartCtrl precise;
  precise.BottomAxis().SetRange(1e17, 1e17 + 16);
  RecordingSurface page(kFakeMetrics);
  precise.DrawInto(page, {0, 0, 428, 300});
  EXPECT_EQ(precise.Layout().Axis(AxisSide::Bottom).ticks.size(), 1u);

  // Two short layouts in a row keep the fine step found on 400 pixels, also
  // for a range a billion times wider.
  ChartCtrl kept;
  kept.BottomAxis().SetRange(0, 1e-3);
  kept.DrawInto(page, {0, 0, 428, 300});
  kept.DrawInto(page, {0, 0, 40, 300});
  kept.BottomAxis().SetRange(0, 1e6);
  kept.DrawInto(page, {0, 0, 40, 300});
  const AxisLayout& bottom = kept.Layout().Axis(AxisSide::Bottom);
  EXPECT_LE(bottom.step, 1e-4);
  EXPECT_EQ(bottom.ticks.size(), 10000u);
}

TEST(PlotAxis, AnEmptyRangeShowsOneTickInTheMiddle) {
  ChartCtrl chart;
  chart.BottomAxis().SetRange(5, 5);
  PlotSeries* marks = chart.AddSeries(kPointSeries);
  for (double x : {5.0, 1e9, -3.0}) marks->AppendPoint(x, 5);
  RecordingSurface page(kFakeMetrics);
  chart.DrawInto(page, {0, 0, 428, 300});
  const AxisLayout& bottom = chart.Layout().Axis(AxisSide::Bottom);
  EXPECT_EQ(bottom.startPixel, 22);
  EXPECT_EQ(bottom.endPixel, 422);
  ASSERT_EQ(bottom.ticks.size(), 1u);
  EXPECT_EQ(bottom.ticks[0].label, "5");
  EXPECT_EQ(bottom.ticks[0].pixel, 222);
  EXPECT_EQ(bottom.gridLines, std::vector<int>{222});
  EXPECT_EQ(DescribeAll(page.RecordsOf(SurfaceOp::Ellipse)),
            std::vector<std::string>(3, "ellipse 220 144 224 148"));
}

// Default axes on (0, 0, 428, 300): plot (22, 9, 419, 282); (5, 5) at (220, 146).
TEST(PlotSeries, PointsBeyondTheAxesLandOnTheEdge) {
  const struct {
    const char* name;
    ChartPoint point;
    std::optional<Rect> mark;
  } cases[] = {
      {"inside", {5, 5}, Rect{218, 144, 222, 148}},
      {"above the maximum", {5, 12}, Rect{218, 7, 222, 11}},
      {"right of the maximum", {15, 5}, Rect{417, 144, 421, 148}},
      {"huge", {5, 1e300}, Rect{218, 7, 222, 11}},
      {"hugely negative", {5, -1e300}, Rect{218, 280, 222, 284}},
      {"largest double", {1.7e308, 5}, Rect{417, 144, 421, 148}},
      {"overflowing to minus infinity", {-1.7e308, 5}, Rect{20, 144, 24, 148}},
      {"NaN", {kNaN, 5}, std::nullopt},
      {"infinite", {5, kInf}, std::nullopt},
  };
  for (const auto& c : cases) {
    ChartCtrl chart;
    chart.AddSeries(kPointSeries)->AppendPoint(c.point.x, c.point.y);
    RecordingSurface page(kFakeMetrics);
    chart.DrawInto(page, {0, 0, 428, 300});
    const std::vector<SurfaceRecord> marks = page.RecordsOf(SurfaceOp::Ellipse);
    if (!c.mark) {
      EXPECT_TRUE(marks.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(marks.size(), 1u) << c.name;
    const Rect& m = *c.mark;
    EXPECT_EQ(marks[0].numbers, (std::vector<double>{double(m.left), double(m.top), double(m.right), double(m.bottom)}))
        << c.name;
  }
}

TEST(PlotSeries, LineEndsBeyondTheAxesLandOnTheEdge) {
  const struct {
    const char* name;
    ChartPoint to;
    std::vector<std::string> lines;
  } cases[] = {
      {"inside", {10, 0}, {"line 220 146 419 282"}},
      {"above the maximum", {5, 50}, {"line 220 146 220 9"}},
      {"huge both ways", {1e300, -1e300}, {"line 220 146 419 282"}},
      {"NaN", {kNaN, 0}, {}},
  };
  for (const auto& c : cases) {
    ChartCtrl chart;
    PlotSeries* line = chart.AddSeries(kLineSeries);
    line->AppendPoint(5, 5);
    line->AppendPoint(c.to.x, c.to.y);
    RecordingSurface page(kFakeMetrics);
    chart.DrawInto(page, {0, 0, 428, 300});
    // The series' lines follow its red pen; the axes' come before.
    std::vector<std::string> seriesLines;
    bool inSeries = false;
    for (const SurfaceRecord& r : page.Records()) {
      if (r.Describe() == "pen solid 1 255 0 0") inSeries = true;
      else if (inSeries && r.op == SurfaceOp::Line) seriesLines.push_back(r.Describe());
    }
    EXPECT_EQ(seriesLines, c.lines) << c.name;
  }
}

TEST(ChartCtrl, AddSeriesTakesTwoKindsAndTheColourTable) {
  ChartCtrl chart;
  EXPECT_EQ(chart.AddSeries(2), nullptr);
  EXPECT_EQ(chart.AddSeries(-1), nullptr);
  const Color expected[] = {Color::Rgb(255, 0, 0),   Color::Rgb(0, 150, 0),   Color::Rgb(0, 0, 255),
                            Color::Rgb(255, 255, 0), Color::Rgb(0, 255, 255), Color::Rgb(255, 128, 0),
                            Color::Rgb(128, 0, 128), Color::Rgb(128, 128, 0), Color::Rgb(255, 0, 255),
                            Color::Rgb(64, 128, 128), Color::Rgb(255, 0, 0)};
  for (std::size_t n = 0; n < std::size(expected); ++n) {
    const int kind = n % 2 == 0 ? kLineSeries : kPointSeries;
    PlotSeries* series = chart.AddSeries(kind);
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->Kind(), kind);
    EXPECT_EQ(series->GetColor(), expected[n]) << "series " << n;
  }
  EXPECT_EQ(chart.SeriesCount(), std::size(expected));
}

TEST(ChartCtrl, RemoveSeriesOnlyWithinTheList) {
  const struct {
    int index;
    std::size_t left;
    int refreshes;
    int firstKind;
  } cases[] = {{7, 2, 0, kLineSeries}, {2, 2, 0, kLineSeries}, {-1, 2, 0, kLineSeries},
               {0, 1, 1, kPointSeries}, {1, 1, 1, kLineSeries}};
  for (const auto& c : cases) {
    FakeChartHost host({0, 0, 337, 200});
    ChartCtrl chart;
    chart.SetHost(&host);
    chart.AddSeries(kLineSeries);
    chart.AddSeries(kPointSeries);
    chart.RemoveSeries(c.index);
    EXPECT_EQ(chart.SeriesCount(), c.left) << c.index;
    EXPECT_EQ(host.refreshes, c.refreshes) << c.index;
    EXPECT_EQ(chart.Series(0).Kind(), c.firstKind) << c.index;
  }
}

TEST(ChartCtrl, DrawIntoKeepsThatLayoutUntilTheNextRefresh) {
  FakeChartHost host({0, 0, 337, 200});
  ChartCtrl chart;
  chart.SetHost(&host);
  PlotSeries* line = chart.AddSeries(kLineSeries);
  chart.Refresh();
  const Rect screen{25, 12, 325, 179};
  ASSERT_EQ(chart.PlotRect(), screen);

  RecordingSurface page(kFakeMetrics);
  chart.DrawInto(page, {60, 670, 710, 980});
  const Rect onPage{82, 679, 701, 962};
  EXPECT_EQ(chart.PlotRect(), onPage);
  EXPECT_EQ(line->GetRect(), onPage);
  EXPECT_EQ(chart.Layout().Axis(AxisSide::Bottom).startPixel, 82);
  // No background on a page; the frame is drawn with the page's pen.
  EXPECT_TRUE(page.RecordsOf(SurfaceOp::FillRect).empty());
  EXPECT_EQ(page.Records().back().Describe(), "polyline 82 679 701 679 701 962 82 962 82 679");

  // The page's axis took 1 decimal, so the first relayout on screen measures
  // "10.0"; the one after is back to the screen's own decimals.
  chart.Refresh();
  EXPECT_EQ(chart.PlotRect(), (Rect{25, 12, 319, 179}));
  EXPECT_EQ(line->GetRect(), chart.PlotRect());
  chart.Refresh();
  EXPECT_EQ(chart.PlotRect(), screen);
}

TEST(PlotSeries, DrawNewDrawsOnlyWhatWasAppended) {
  const struct {
    int kind;
    std::vector<ChartPoint> points;
    std::vector<std::string> drawn;  // lines or ellipses on the window, in order
  } cases[] = {
      {kLineSeries, {{5, 5}, {10, 0}, {0, 10}}, {"line 175 96 325 179", "line 325 179 25 12"}},
      {kPointSeries, {{5, 5}, {10, 0}}, {"ellipse 173 94 177 98", "ellipse 323 177 327 181"}},
      // Unclamped, but cut far outside so the numbers stay ints.
      {kLineSeries, {{5, 5}, {5, 1e300}}, {"line 175 96 175 -65524"}},
      {kPointSeries, {{5, 1e300}, {kNaN, 5}}, {}},
  };
  for (const auto& c : cases) {
    FakeChartHost host({0, 0, 337, 200});
    ChartCtrl chart;
    chart.SetHost(&host);
    chart.Refresh();
    PlotSeries* series = chart.AddSeries(c.kind);
    for (const ChartPoint& p : c.points) series->AppendPoint(p.x, p.y);
    EXPECT_EQ(series->DrawnCount(), c.points.size());
    std::vector<std::string> drawn;
    for (const SurfaceRecord& r : host.window.Records())
      if (r.op == SurfaceOp::Line || r.op == SurfaceOp::Ellipse) drawn.push_back(r.Describe());
    EXPECT_EQ(drawn, c.drawn) << c.kind;
    EXPECT_EQ(host.window.Records().front().Describe(), "clip 25 12 325 179");
    EXPECT_EQ(host.window.Records().back().Describe(), "clip none");
  }
}

TEST(ChartCtrl, BackgroundFillsTheLayerOnly) {
  const struct {
    std::optional<Color> set;
    const char* fill;
  } cases[] = {{std::nullopt, "fill 0 0 337 200 240 240 240"}, {kWhite, "fill 0 0 337 200 255 255 255"}};
  for (const auto& c : cases) {
    ChartCtrl chart;
    if (c.set) chart.SetBackgroundColor(*c.set);
    RecordingSurface layer(kFakeMetrics);
    chart.Refresh(layer, {0, 0, 337, 200});
    EXPECT_EQ(DescribeAll(layer.RecordsOf(SurfaceOp::FillRect)), std::vector<std::string>{c.fill});
  }
}

TEST(ChartCtrl, NothingIsLaidOutOnASurfaceWithoutADevice) {
  ChartCtrl chart;
  chart.LeftAxis().Caption().SetText("Resistance[Ohms]");
  chart.AddSeries(kPointSeries)->AppendPoint(5, 5);
  RecordingSurface none(kFakeMetrics, {96, 96}, false);
  chart.DrawInto(none, {0, 0, 428, 300});
  EXPECT_FALSE(chart.Layout().Axis(AxisSide::Bottom).drawn);
  EXPECT_TRUE(chart.Layout().Axis(AxisSide::Bottom).ticks.empty());
  EXPECT_TRUE(none.RecordsOf(SurfaceOp::Ellipse).empty());
  EXPECT_TRUE(none.RecordsOf(SurfaceOp::TextAt).empty());
}

}  // namespace
}  // namespace qv70

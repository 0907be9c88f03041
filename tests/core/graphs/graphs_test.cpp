// The builders on a chart: what they leave in it, and how it is drawn.
#include "core/graphs/graphs.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/chart/chart_test_support.h"
#include "core/graphs/graph_tables.h"

namespace qv70 {
namespace {

using test::PutLoggingSet;
using test::PutStepRecord;
using test::SameSamples;

constexpr Color kRed = Color::Rgb(255, 0, 0);

const test::StepRecordValues kOverRangeRecord = {
    "2500", {"500", "1000", "1500", "2000", "2500"}, {"2000000000", "OF", "5000000000", "4000000000", "3000000000"}};

struct GraphChart {
  FakeChartHost host{{0, 0, 640, 400}};
  ChartCtrl chart;
  GraphChart() {
    chart.SetHost(&host);
    chart.Refresh();
  }
};

struct Tables {
  RecordTables tables;
  Tables() {
    PutStepRecord(tables, 0, 1, kOverRangeRecord);
    PutStepRecord(tables, 0, 2, {"1000", {}, {}, "Normal Test"});
    PutLoggingSet(tables, 3, "30", SameSamples(120, "1000", "5000000000"));
  }
};

std::vector<Color> SeriesColors(const ChartCtrl& chart) {
  std::vector<Color> colors;
  for (std::size_t i = 0; i < chart.SeriesCount(); ++i) colors.push_back(chart.Series(i).GetColor());
  return colors;
}

TEST(ReportGraphs, ReturnTheirDivisorAndFrameThePlot) {
  const struct {
    const char* name;
    std::function<double(ChartCtrl&, const RecordTables&)> build;
    double divisor;
    const char* leftCaption;
    std::size_t series;  // 3 when built: red line, red marks, black frame
  } cases[] = {
      {"step resistance", [](ChartCtrl& c, const RecordTables& t) { return PrepareStepResistanceChart(c, t, 0, 1); },
       1e9, "Resistance[GOhms]", 3},
      {"step current", [](ChartCtrl& c, const RecordTables& t) { return PrepareStepCurrentChart(c, t, 0, 1); },
       1, "Leak Current[nA]", 3},
      {"logging resistance",
       [](ChartCtrl& c, const RecordTables& t) { return PrepareLoggingResistanceChart(c, t, 3); }, 1e9,
       "Resistance[GOhms]", 3},
      {"logging current", [](ChartCtrl& c, const RecordTables& t) { return PrepareLoggingCurrentChart(c, t, 3); },
       1, "Leak Current[nA]", 3},
      {"step current of a Normal Test",
       [](ChartCtrl& c, const RecordTables& t) { return PrepareStepCurrentChart(c, t, 0, 2); }, 1,
       "Leak Current[nA]", 0},
      {"step resistance of slot -1",
       [](ChartCtrl& c, const RecordTables& t) { return PrepareStepResistanceChart(c, t, 0, -1); }, 1, "", 0},
      {"logging set without samples",
       [](ChartCtrl& c, const RecordTables& t) { return PrepareLoggingResistanceChart(c, t, 4); }, 1, "", 0},
  };
  Tables t;
  for (const auto& c : cases) {
    GraphChart g;
    EXPECT_EQ(c.build(g.chart, t.tables), c.divisor) << c.name;
    EXPECT_EQ(g.chart.LeftAxis().Caption().Text(), c.leftCaption) << c.name;
    ASSERT_EQ(g.chart.SeriesCount(), c.series) << c.name;
    if (c.series == 0) continue;
    EXPECT_EQ(SeriesColors(g.chart), (std::vector<Color>{kRed, kRed, kBlack})) << c.name;
    const double x0 = g.chart.BottomAxis().Minimum(), x1 = g.chart.BottomAxis().Maximum();
    const double y0 = g.chart.LeftAxis().Minimum(), y1 = g.chart.LeftAxis().Maximum();
    EXPECT_EQ(g.chart.Series(2).Points(),
              (std::vector<ChartPoint>{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}}))
        << c.name;
    // Built again, the previous frame does not stay behind.
    c.build(g.chart, t.tables);
    EXPECT_EQ(g.chart.SeriesCount(), 3u) << c.name;
  }
}

// A set without samples leaves the report chart as the last builder left it.
TEST(ReportGraphs, ASetWithoutSamplesKeepsThePreviousGraph) {
  Tables t;
  GraphChart g;
  PrepareStepCurrentChart(g.chart, t.tables, 0, 2);
  PrepareLoggingCurrentChart(g.chart, t.tables, 9);
  EXPECT_EQ(g.chart.BottomAxis().Caption().Text(), "Set Voltage[kV]");
  EXPECT_EQ(g.chart.BottomAxis().Maximum(), 3);
}

TEST(ScreenGraphs, StepGraphOnlyForAStepVoltageTest) {
  Tables t;
  GraphChart g;
  ASSERT_TRUE(ShowStepGraph(g.chart, t.tables, 0, 1));
  ASSERT_EQ(g.chart.SeriesCount(), 2u);
  const std::vector<ChartPoint> line = g.chart.Series(0).Points();
  const int refreshes = g.host.refreshes;
  for (int record : {2, 3, -1, 10}) {
    EXPECT_FALSE(ShowStepGraph(g.chart, t.tables, 0, record)) << record;
    EXPECT_EQ(g.chart.Series(0).Points(), line) << record;
  }
  EXPECT_FALSE(ShowStepGraph(g.chart, t.tables, -1, 1));
  EXPECT_EQ(g.host.refreshes, refreshes);
}

TEST(ScreenGraphs, LoggingSetWithoutSamplesGetsEmptyDefaultAxes) {
  Tables t;
  GraphChart g;
  ShowLoggingGraph(g.chart, t.tables, 3);
  EXPECT_EQ(g.chart.BottomAxis().Maximum(), 60.5);
  for (int set : {4, -1}) {
    ShowLoggingGraph(g.chart, t.tables, set);
    EXPECT_EQ(g.chart.SeriesCount(), 0u) << set;
    EXPECT_EQ(g.chart.LeftAxis().Caption().Text(), "Resistance[Ohms]") << set;
    EXPECT_EQ(g.chart.BottomAxis().Caption().Text(), "Time[min]") << set;
    EXPECT_EQ(g.chart.LeftAxis().Maximum(), 10) << set;
    EXPECT_EQ(g.chart.BottomAxis().Maximum(), 10) << set;
  }
}

// The over-range step is drawn as a rise to the top edge at 0.5 kV, a run
// along it and a fall at 1.5 kV; every mark lies inside the plot.
TEST(ScreenGraphs, OverRangeStepRunsAlongTheTopEdge) {
  Tables t;
  GraphChart g;
  ShowStepGraph(g.chart, t.tables, 0, 1);
  RecordingSurface window(kFakeMetrics);
  g.chart.Refresh(window, {0, 0, 640, 400});
  window.Clear();
  g.chart.DrawSeries(window);

  const Rect plot = g.chart.PlotRect();
  const AxisScale x = g.chart.BottomAxis().LaidOutScale();
  const AxisScale y = g.chart.LeftAxis().LaidOutScale();
  const auto px = [&](double v) { return static_cast<int>(x.Position(v)); };
  const auto py = [&](double v) { return static_cast<int>(y.Position(v)); };
  std::vector<std::string> lines;
  for (const SurfaceRecord& r : window.RecordsOf(SurfaceOp::Line)) lines.push_back(r.Describe());
  const auto line = [](int x0, int y0, int x1, int y1) {
    return "line " + std::to_string(x0) + " " + std::to_string(y0) + " " + std::to_string(x1) + " " +
           std::to_string(y1);
  };
  EXPECT_EQ(lines, (std::vector<std::string>{line(px(0.5), py(2), px(0.5), plot.top),
                                             line(px(0.5), plot.top, px(1.5), plot.top),
                                             line(px(1.5), plot.top, px(1.5), py(5)),
                                             line(px(1.5), py(5), px(2.0), py(4)),
                                             line(px(2.0), py(4), px(2.5), py(3))}));
  const auto marks = window.RecordsOf(SurfaceOp::Ellipse);
  ASSERT_EQ(marks.size(), 4u);
  EXPECT_EQ(marks[1].Describe(), "ellipse " + std::to_string(px(1.5) - 2) + " " + std::to_string(py(5) - 2) + " " +
                                     std::to_string(px(1.5) + 2) + " " + std::to_string(py(5) + 2));
  EXPECT_EQ(g.chart.Layout().Axis(AxisSide::Left).minimum, -0.5);
  EXPECT_EQ(g.chart.Layout().Axis(AxisSide::Left).maximum, 10);
}

}  // namespace
}  // namespace qv70

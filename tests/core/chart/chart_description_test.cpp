#include "core/chart/chart_description.h"

#include <gtest/gtest.h>

#include "core/chart/chart_test_support.h"

namespace qv70 {
namespace {

TEST(DescribeChart, LayoutAndSeriesAsTabSeparatedNumbers) {
  ChartCtrl chart;
  chart.SetDecimalChar(',');
  chart.BottomAxis().SetRange(-0.05, 0.1);
  chart.BottomAxis().Caption().SetText("Output voltage[kV]");
  chart.LeftAxis().SetRange(0, 2);
  PlotSeries* marks = chart.AddSeries(kPointSeries);
  marks->SetColor(Color::Rgb(255, 0, 0));
  marks->AppendPoint(0.05, 0.1);
  RecordingSurface page(kFakeMetrics);
  // The second layout measures with the decimals the first one found.
  chart.DrawInto(page, {0, 0, 100, 90});
  chart.DrawInto(page, {0, 0, 100, 90});
  EXPECT_EQ(DescribeChart(chart),
            "plot\t16\t9\t88\t55\n"
            "axis\tbottom\tOutput voltage[kV]\t-0.050000000000000003\t0.10000000000000001\t0.10000000000000001\t1\t0\n"
            "tick\tbottom\t0\t0,0\t39\n"
            "tick\tbottom\t0.10000000000000001\t0,1\t88\n"
            "axis\tleft\t\t0\t2\t1\t0\t0\n"
            "tick\tleft\t0\t0\t55\n"
            "tick\tleft\t1\t1\t32\n"
            "tick\tleft\t2\t2\t9\n"
            "series\t0\tpoints\t255,0,0\n"
            "point\t0.050000000000000003\t0.10000000000000001\n");
}

}  // namespace
}  // namespace qv70

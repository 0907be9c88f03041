#include "core/chart/chart_description.h"

#include <initializer_list>

#include "core/chart/chart_ctrl.h"
#include "core/draw/number_text.h"

namespace qv70 {
namespace {

std::string Line(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : "\t") + field;
  return line + "\n";
}

std::string Number(double value) { return ExactText(value); }

std::string ColorText(Color c) {
  return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

}  // namespace

std::string DescribeChart(const ChartCtrl& chart) {
  const ChartLayout& layout = chart.Layout();
  const Rect& p = layout.plotRect;
  std::string text = Line({"plot", Number(p.left), Number(p.top), Number(p.right), Number(p.bottom)});
  for (const AxisLayout& axis : layout.axes) {
    if (!axis.drawn) continue;
    const std::string side = AxisSideName(axis.side);
    text += Line({"axis", side, axis.caption, Number(axis.minimum), Number(axis.maximum), Number(axis.step),
                  Number(axis.decimals), Number(axis.firstTick)});
    for (const TickLayout& tick : axis.ticks)
      text += Line({"tick", side, Number(tick.value), tick.label, Number(tick.pixel)});
  }
  for (std::size_t i = 0; i < chart.SeriesCount(); ++i) {
    const PlotSeries& series = chart.Series(i);
    text += Line({"series", Number(double(i)), series.Kind() == kLineSeries ? "line" : "points",
                  ColorText(series.GetColor())});
    for (const ChartPoint& point : series.Points()) text += Line({"point", Number(point.x), Number(point.y)});
  }
  return text;
}

}  // namespace qv70
